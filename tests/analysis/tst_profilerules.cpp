#include "ProfileRules.h"

#include "NumberText.h"

#include <QtTest>
#include <sstream>

namespace {

// Values are written as text and read as an edit reads them, so that 0.2 is the same
// extended-precision number the edit would hold.
ProfileInputs Read(const char* values)
{
    std::istringstream in(values);
    std::string n, a, h, e;
    in >> n >> a >> h >> e;
    const auto c = NumberText::CFormatSettings();
    auto v = [&](const std::string& s) { return NumberText::convert(NumberText::FromUtf8(s), c); };
    return {v(n), v(a), v(h), v(e)};
}

struct Expected {
    const char* fauxpo[2];
    const char* chromo[2];
    const char* malfo[2];
    const char* patho[2];
};

void Row(const char* name, const char* values, const Expected& x)
{
    QStringList texts;
    for (const auto* pair : {x.fauxpo, x.chromo, x.malfo, x.patho})
        texts << QString::fromUtf8(pair[0]) << QString::fromUtf8(pair[1]);
    QTest::newRow(name) << QByteArray(values) << texts;
}

const Expected kBlank = {{"...", ""}, {"", ""}, {"", ""}, {"", ""}};
const Expected kRule1Alone = {{"Erreur de calcul", "Vérifiez l'âge gestationnel+++"},
                              {" Trisomie 21", " Caryotype"}, {"", ""}, {"", ""}};
const Expected kRule2 = {{"Métrorragies", ""}, {"", ""},
                         {"Spina, Anencéphalie, Laparoschosis, Omphalocèle", "Contrôle écho, Crâne, Rachis, Ombilic, Reins"},
                         {"", ""}};
const Expected kRule3 = {{"Gémellaire", "Echographie"}, {"Triploidie, T13", "Caryotype"}, {"", ""},
                         {"MFIU, RCIU, MPA, Oligoamnios", "Echographie"}};
const Expected kRule4 = {{"Gémellaire, Erreur de terme", "Dynamique des MS sur second prélèvement"},
                         {"Triploidie, T16 Mosaique", "Caryotype"}, {"", ""}, {"", ""}};
const Expected kRule5 = {{"", ""}, {"", ""}, {"", ""}, {"Mort Foetale in Utéro (MFIU)", "Echographie"}};
const Expected kRule6 = {{"", ""}, {"T21", "Caryotype"}, {"", ""}, {"", ""}};
const Expected kRule7 = {{"Déficit congénital en AFP", "Pas de conséquence foetale"}, {"T21", "Caryotype"},
                         {"Syndrôme de Williams", "Echo Cardio"}, {"", ""}};
const Expected kRule8 = {{"", ""}, {"*T18* T13, Triploidie", "Caryotype"}, {"", ""},
                         {"RCIU", "Echographie, Biométrie, Doppler"}};
const Expected kRule9 = {{"Jumeaux, Ins.Rénale Mater.", "Echographie, Biologie"},
                         {"Triploidie, Turner (45 X0), Placenta (T16)", "Caryotype"}, {"Môle", "Echographie"},
                         {"HTA,HELLP,LUPUS", "Echographie, Biométrie, Dopplers Art.U, Biologie"}};
const Expected kRule10 = {{"", ""}, {"T18,T13,Triploidie", "Caryotype"}, {"", ""},
                          {"RCIU", "Echographie, Biométrie, Dopplers"}};
const Expected kRule11 = {{"", ""}, {"Ichtyose X", ""}, {"Syndrome de Smith-Lemli-Opitz (SLO)", "Echographie"},
                          {"", ""}};

} // namespace

class TestProfileRules : public QObject
{
    Q_OBJECT

private slots:
    void interpretation_data();
    void interpretation();
};

void TestProfileRules::interpretation_data()
{
    QTest::addColumn<QByteArray>("values");
    // Finding and action of fauxpo, chromo, malfo and patho.
    QTest::addColumn<QStringList>("expected");

    // Profiles with the values they end with once loaded.
    Row("all defaults", "700 1.0 1.0 1.0", kBlank);
    Row("T21: rules 1, 6, 7", "100 0.5 2.0 1.0", kRule7);
    Row("DFTN, Rein, Paroi Abdo: rule 2", "700 2.5 1.0 1.0", kRule2);
    Row("MFIU, RCIU, MAP, TRIPLOIDIE, GG: rules 2, 3", "700 2.5 2.0 1.0", kRule3);
    Row("MFIU: rules 2, 5", "700 2.5 0.5 1.0", kRule5);
    Row("RCIU,T18,T13, TRIPLOIDIE: rules 7, 8", "700 0.5 0.5 1.0", kRule8);
    Row("HTA, TRIPLOIDIE: rule 9", "700 1.0 2.5 1.0", kRule9);
    Row("RCIU, T18,T13: rule 10", "700 1.0 0.2 1.0", kRule10);
    Row("SLO at 0.1: rule 11", "700 1.0 1.0 0.1", kRule11);
    Row("SLO at 0.14: rule 11", "700 1.0 1.0 0.14", kRule11);
    Row("low denominator only: rule 1 with leading spaces", "100 1.0 1.0 1.0", kRule1Alone);
    Row("first change after start, AFP 1.1: rules 1, 10, 11", "0 1.1 0 0", kRule11);

    // Bounds and the order of the rules.
    Row("N 249 is below the risk threshold", "249 1.0 1.0 1.0", kRule1Alone);
    Row("N 250 is not", "250 1.0 1.0 1.0", kBlank);
    Row("N 100 with rule 2: nothing of rule 1 remains", "100 2.5 1.0 1.0", kRule2);
    Row("A 2.5 H 2.5: rules 3, 4, 9, rule 9 wins", "700 2.5 2.5 1.0", kRule9);
    Row("A 3.0 H 2.5: rules 3, 4, empty patho", "700 3.0 2.5 1.0", kRule4);
    Row("A 3.5 H 0.1 E 0.1: rule 5", "700 3.5 0.1 0.1", kRule5);
    Row("A 1.0 H 0.2 counts as at most 0.2", "700 1.0 0.2 1.0", kRule10);
    Row("A 1.0 H 0.21 is not", "700 1.0 0.21 1.0", kBlank);
    Row("A 1.0 E 0.2: rule 11", "700 1.0 1.0 0.2", kRule11);
    Row("A 1.0 H 0.1 E 0.1: rules 10, 11, empty patho", "700 1.0 0.1 0.1", kRule11);
    Row("A 3.0 H 1.0 E 0.1: the low E is not reported", "700 3.0 1.0 0.1", kRule2);
    Row("A 0.5 H 2.5: rules 6, 9, rule 9 wins", "700 0.5 2.5 1.0", kRule9);
    Row("A 2.51 H 0.5: rules 2, 5", "700 2.51 0.5 1.0", kRule5);
    Row("A 0.49 H 1.0 E 0.1: rule 7, the low E is not reported", "700 0.49 1.0 0.1", kRule7);
    Row("a high E changes nothing", "700 1.0 1.0 3.5", kBlank);
    Row("all zero: rules 1, 8", "0 0 0 0", kRule8);
}

void TestProfileRules::interpretation()
{
    QFETCH(QByteArray, values);
    QFETCH(QStringList, expected);
    const ProfileFindings f = AnalyserProfil(Read(values.constData()));
    for (FindingCategory c : kAllCategories) {
        const CategoryFinding& got = f[c];
        const auto i = static_cast<qsizetype>(2 * Index(c));
        QCOMPARE(QString::fromStdString(got.finding), expected[i]);
        QCOMPARE(QString::fromStdString(got.action), expected[i + 1]);
        QCOMPARE(got.alert, !got.finding.empty());
    }
}

QTEST_GUILESS_MAIN(TestProfileRules)
#include "tst_profilerules.moc"
