#include "AnalysisTestHelpers.h"
#include "ExampleProfiles.h"

#include <QtTest>

using namespace AnalysisTest;

namespace {

struct Recorder {
    QStringList commands;
    TMenuCommand command()
    {
        return [this](std::string_view entry) { commands << QString::fromUtf8(entry.data(), qsizetype(entry.size())); };
    }
};

// Chooses a profile by its menu entry, its caption read with an accelerator mark as the menu
// shows it. Returns the interpretations the choice ran.
int Choose(TMarkerWindowModel& w, Recorder& r, const QString& menuEntry)
{
    const PresetProfile* p = FindProfileByMenuEntry(menuEntry.toStdString());
    if (!p)
        qFatal("no profile %s", qPrintable(menuEntry));
    const int before = w.Runs();
    ChooseProfile(w.Inputs(), *p, "&" + std::string(p->caption), r.command());
    return w.Runs() - before;
}

QString AlertLetters(TMarkerWindowModel& w)
{
    QStringList letters;
    for (MarkerKind kind : kAllMarkers) {
        const TColorValue c = w.Caption(kind).Color;
        letters << (c == kCaptionColorHigh ? "H" : c == kCaptionColorLow ? "L" : c == kCaptionColorVeryLow ? "V"
                    : c == kCaptionColorNormal                                ? "N"
                                                                               : "?");
    }
    return letters.join(' ');
}

QString AlertingCategories(TMarkerWindowModel& w)
{
    QStringList names;
    const char* labels[] = {"fauxpo", "chromo", "malfo", "patho"};
    for (FindingCategory c : kAllCategories)
        if (w.ResultLed(c).Active)
            names << labels[Index(c)];
    return names.join(' ');
}

QString EditTexts(TMarkerWindowModel& w)
{
    QStringList texts;
    for (MarkerKind kind : kAllMarkers)
        texts << Q(w.Edit(kind).Text());
    return texts.join(" | ");
}

} // namespace

class TestExampleProfiles : public QObject
{
    Q_OBJECT

private slots:
    void fromStart_data();
    void fromStart();
    void inSequence_data();
    void inSequence();
    void menuOrderAndLookup();
};

void TestExampleProfiles::fromStart_data()
{
    QTest::addColumn<QString>("entry");
    QTest::addColumn<QString>("caption");
    QTest::addColumn<QString>("texts");    // the four edits afterwards, French
    QTest::addColumn<QString>("alerts");   // caption states: Normal, High, Low, VeryLow
    QTest::addColumn<QString>("chromo");   // the chromosomal finding
    QTest::addColumn<QString>("alerting"); // result panels whose LED blinks
    QTest::addColumn<int>("runs");

    // From the start state every value changes; 0.14 runs twice, the slider moving it to 0.1.
    QTest::newRow("Spina1") << "Spina1" << "DFTN, Rein, Paroi Abdo" << "700 | 2,5 | 1 | 1" << "N H N N" << ""
                            << "fauxpo malfo" << 4;
    QTest::newRow("T21") << "T21" << "T21" << "100 | 0,5 | 2 | 1" << "L L H N" << "T21"
                         << "fauxpo chromo malfo" << 4;
    QTest::newRow("RCIUT18T131") << "RCIUT18T131" << "RCIU, T18,T13" << "700 | 1 | 0,2 | 1" << "N N V N"
                                 << "T18,T13,Triploidie" << "chromo patho" << 4;
    QTest::newRow("HTARCIU1") << "HTARCIU1" << "HTA, TRIPLOIDIE" << "700 | 1 | 2,5 | 1" << "N N H N"
                              << "Triploidie, Turner (45 X0), Placenta (T16)" << "fauxpo chromo malfo patho" << 4;
    QTest::newRow("MFIURCIUMAPTRIPLOIDIEGG1") << "MFIURCIUMAPTRIPLOIDIEGG1" << "MFIU, RCIU, MAP, TRIPLOIDIE, GG"
                                              << "700 | 2,5 | 2 | 1" << "N H H N" << "Triploidie, T13"
                                              << "fauxpo chromo patho" << 4;
    QTest::newRow("MFIU1") << "MFIU1" << "MFIU" << "700 | 2,5 | 0,5 | 1" << "N H L N" << "" << "patho" << 4;
    QTest::newRow("RCIUT18T13TRIPLOIDIE1") << "RCIUT18T13TRIPLOIDIE1" << "RCIU,T18,T13, TRIPLOIDIE"
                                           << "700 | 0,5 | 0,5 | 1" << "N L L N" << "*T18* T13, Triploidie"
                                           << "chromo patho" << 4;
    QTest::newRow("SLO1") << "SLO1" << "SLO" << "700 | 1 | 1 | 0,1" << "N N N L" << "Ichtyose X" << "chromo malfo"
                          << 5;
}

void TestExampleProfiles::fromStart()
{
    QFETCH(QString, entry);
    QFETCH(QString, caption);
    QFETCH(QString, texts);
    QFETCH(QString, alerts);
    QFETCH(QString, chromo);
    QFETCH(QString, alerting);
    QFETCH(int, runs);

    TMarkerWindowModel w(NumberText::FrenchFormatSettings());
    Recorder r;
    QCOMPARE(Choose(w, r, entry), runs);
    QCOMPARE(Q(w.WindowCaption().Text), caption);
    QCOMPARE(EditTexts(w), texts);
    QCOMPARE(AlertLetters(w), alerts);
    QCOMPARE(Q(w.Finding(FindingCategory::chromo).Text), chromo);
    QCOMPARE(AlertingCategories(w), alerting);
    for (MarkerKind kind : kAllMarkers)
        CheckShowsCurrentValues(w, kind);
    QCOMPARE(r.commands, entry == "SLO1" ? QStringList{"mnu_SLO"} : QStringList{});
}

void TestExampleProfiles::inSequence_data()
{
    QTest::addColumn<QStringList>("entries");
    QTest::addColumn<QList<int>>("runs"); // per choice
    QTest::addColumn<QString>("texts");   // the four edits at the end

    QTest::newRow("SLO twice: 0.14 kept once the slider stands at 1")
        << QStringList{"SLO1", "SLO1"} << QList<int>{5, 1} << "700 | 1 | 1 | 0,14";
    QTest::newRow("SLO three times: the third changes nothing")
        << QStringList{"SLO1", "SLO1", "SLO1"} << QList<int>{5, 1, 0} << "700 | 1 | 1 | 0,14";
    QTest::newRow("the same profile twice runs nothing the second time")
        << QStringList{"T21", "T21"} << QList<int>{4, 0} << "100 | 0,5 | 2 | 1";
    QTest::newRow("T21 after SLO") << QStringList{"SLO1", "T21"} << QList<int>{5, 4} << "100 | 0,5 | 2 | 1";
    QTest::newRow("T21 after SLO twice") << QStringList{"SLO1", "SLO1", "T21"} << QList<int>{5, 1, 4}
                                         << "100 | 0,5 | 2 | 1";
    QTest::newRow("every profile in menu order")
        << QStringList{"Spina1", "T21", "RCIUT18T131", "HTARCIU1", "MFIURCIUMAPTRIPLOIDIEGG1", "MFIU1",
                       "RCIUT18T13TRIPLOIDIE1", "SLO1"}
        << QList<int>{4, 3, 3, 1, 2, 1, 1, 4} << "700 | 1 | 1 | 0,1";
}

void TestExampleProfiles::inSequence()
{
    QFETCH(QStringList, entries);
    QFETCH(QList<int>, runs);
    QFETCH(QString, texts);

    TMarkerWindowModel w(NumberText::FrenchFormatSettings());
    Recorder r;
    QList<int> ran;
    for (const QString& entry : entries)
        ran << Choose(w, r, entry);
    QCOMPARE(ran, runs);
    QCOMPARE(EditTexts(w), texts);
    // The caption is set by every choice, even one that changes no value.
    QCOMPARE(w.WindowCaption().Writes, int(entries.size()));
    QCOMPARE(Q(w.WindowCaption().Text), Q(std::string(FindProfileByMenuEntry(entries.last().toStdString())->caption)));
    QCOMPARE(r.commands.size(), entries.count("SLO1"));
    // The last run saw all four values as they are now.
    for (MarkerKind kind : kAllMarkers)
        CheckShowsCurrentValues(w, kind);
}

void TestExampleProfiles::menuOrderAndLookup()
{
    QStringList captions;
    for (const PresetProfile& p : ExampleProfiles())
        captions << Q(std::string(p.caption));
    QCOMPARE(captions, (QStringList{"DFTN, Rein, Paroi Abdo", "T21", "RCIU, T18,T13", "HTA, TRIPLOIDIE",
                                    "MFIU, RCIU, MAP, TRIPLOIDIE, GG", "MFIU", "RCIU,T18,T13, TRIPLOIDIE", "SLO"}));
    QCOMPARE(FindProfileByCaption("SLO")->handler, std::string_view("SLO1Click"));
    QVERIFY(!FindProfileByMenuEntry("mnu_SLO"));
    QCOMPARE(WithoutAccelerators("&MFIU, R&CIU && co"), std::string("MFIU, RCIU  co"));
}

QTEST_GUILESS_MAIN(TestExampleProfiles)
#include "tst_exampleprofiles.moc"
