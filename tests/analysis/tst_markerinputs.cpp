#include "AnalysisTestHelpers.h"

#include <QtTest>
#include <cfloat>
#include <climits>
#include <cmath>
#include <cstdlib>

using namespace AnalysisTest;

namespace {

constexpr auto triplo = MarkerKind::triplo;
constexpr auto afp = MarkerKind::afp;
constexpr auto hcg = MarkerKind::hcg;
constexpr auto e3 = MarkerKind::e3;

// One step of a row's script:
//   "@p"  the user drags the slider to position p
//   "=v"  the value v (C notation) is assigned to the edit from elsewhere
//   "x"   the panel's close button, "?" its help button
//   else  the user types this text into the edit (placeholders as in Localised)
void Perform(TMarkerWindowModel& w, MarkerKind kind, const QString& step, const NumberText::TFormatSettings& s)
{
    if (step.startsWith('@'))
        w.Slider(kind).SetPosition(step.mid(1).toInt());
    else if (step.startsWith('='))
        w.Inputs().SetValue(kind, std::strtold(step.mid(1).toLatin1().constData(), nullptr));
    else if (step == "x")
        w.Inputs().PanelButtonClick(kind, kCaptionButtonClose);
    else if (step == "?")
        w.Inputs().PanelButtonClick(kind, kCaptionButtonHelp);
    else
        w.Edit(kind).TypeText(Localised(step, s));
}

} // namespace

class TestMarkerInputs : public QObject
{
    Q_OBJECT

private slots:
    void sliderPosition_data();
    void sliderPosition();
    void alertState_data();
    void alertState();
    void coupling_data();
    void coupling();
    void helpButton_data();
    void helpButton();
    void resetToDefaults();
    void firstChangeLeavesOtherPanelsAlone();
    void everyRunRestartsBlinkingFromLit();
    void missingViewIsRefused();
};

void TestMarkerInputs::sliderPosition_data()
{
    QTest::addColumn<QByteArray>("value"); // read with strtold: "inf", "nan" and 1e999 included
    QTest::addColumn<int>("scale");
    QTest::addColumn<int>("position");

    QTest::newRow("12.5 goes to the even 12") << QByteArray("12.5") << 1 << 12;
    QTest::newRow("13.5 goes to the even 14") << QByteArray("13.5") << 1 << 14;
    QTest::newRow("1.25 MoM is 12") << QByteArray("1.25") << 10 << 12;
    QTest::newRow("1.26 MoM is 13") << QByteArray("1.26") << 10 << 13;
    QTest::newRow("0.14 MoM is 1") << QByteArray("0.14") << 10 << 1;
    QTest::newRow("-0.5 goes to 0") << QByteArray("-0.5") << 1 << 0;
    QTest::newRow("-1.5 goes to -2") << QByteArray("-1.5") << 1 << -2;
    QTest::newRow("-0 is 0") << QByteArray("-0") << 10 << 0;
    QTest::newRow("just below the int limit rounds down") << QByteArray("2147483646.5") << 1 << INT_MAX - 1;
    QTest::newRow("the int limit itself") << QByteArray("2147483647") << 1 << INT_MAX;
    QTest::newRow("just past the int limit saturates") << QByteArray("2147483647.6") << 1 << INT_MAX;
    QTest::newRow("forty digits saturate") << QByteArray("1234567890123456789012345678901234567890") << 10 << INT_MAX;
    QTest::newRow("1e999 saturates") << QByteArray("1e999") << 1 << INT_MAX;
    QTest::newRow("-1e999 saturates") << QByteArray("-1e999") << 10 << INT_MIN;
    QTest::newRow("the largest long double times 10 saturates") << QByteArray("1.18e4932") << 10 << INT_MAX;
    QTest::newRow("infinity saturates") << QByteArray("inf") << 1 << INT_MAX;
    QTest::newRow("minus infinity saturates") << QByteArray("-inf") << 1 << INT_MIN;
    QTest::newRow("NaN is 0") << QByteArray("nan") << 10 << 0;
}

void TestMarkerInputs::sliderPosition()
{
    QFETCH(QByteArray, value);
    QFETCH(int, scale);
    QFETCH(int, position);
    QCOMPARE(SliderPositionFor(std::strtold(value.constData(), nullptr), scale), position);
}

void TestMarkerInputs::alertState_data()
{
    QTest::addColumn<MarkerKind>("kind");
    QTest::addColumn<QString>("typed");
    QTest::addColumn<uint>("color");
    QTest::addColumn<bool>("highBlinks");
    QTest::addColumn<bool>("lowBlinks");

    const uint normal = kCaptionColorNormal, red = 0x0000FF, orange = 33023, black = 0;
    QTest::newRow("N 249 is low") << triplo << "249" << orange << false << true;
    QTest::newRow("N 250 is normal") << triplo << "250" << normal << false << false;
    QTest::newRow("N 5000 is normal") << triplo << "5000" << normal << false << false;
    QTest::newRow("A 0.5 is low") << afp << "0,5" << orange << false << true;
    QTest::newRow("A 0.51 is normal") << afp << "0,51" << normal << false << false;
    QTest::newRow("A 2.49 is normal") << afp << "2,49" << normal << false << false;
    QTest::newRow("A 2.5 is high") << afp << "2,5" << red << true << false;
    QTest::newRow("H 2.0 is high") << hcg << "2" << red << true << false;
    QTest::newRow("H 1.99 is normal") << hcg << "1,99" << normal << false << false;
    QTest::newRow("H 0.5 is low") << hcg << "0,5" << orange << false << true;
    QTest::newRow("H 0.21 is low") << hcg << "0,21" << orange << false << true;
    QTest::newRow("H 0.2 is very low, low lamp blinking") << hcg << "0,2" << black << false << true;
    QTest::newRow("H empty is very low") << hcg << "" << black << false << true;
    QTest::newRow("E 0.2 is low") << e3 << "0,2" << orange << false << true;
    QTest::newRow("E 0.21 is normal") << e3 << "0,21" << normal << false << false;
    QTest::newRow("E 2.0 is high") << e3 << "2" << red << true << false;
    QTest::newRow("E 2.5 is high") << e3 << "2,5" << red << true << false;
}

void TestMarkerInputs::alertState()
{
    QFETCH(MarkerKind, kind);
    QFETCH(QString, typed);
    QFETCH(uint, color);
    QFETCH(bool, highBlinks);
    QFETCH(bool, lowBlinks);

    for (const char* locale : {"fr", "C"}) {
        const auto s = Settings(locale);
        TMarkerWindowModel w(s);
        // Typed twice, so that a value off the slider's grid is kept the second time: the slider
        // then already stands at its rounded position.
        w.Edit(kind).TypeText(u"1");
        w.Edit(kind).TypeText(Localised(typed, s));
        w.Edit(kind).TypeText(Localised(typed, s));
        QCOMPARE(Q(w.Edit(kind).Text()), Q(Localised(typed, s)));
        QCOMPARE(uint(w.Caption(kind).Color), color);
        CheckLamp(w.LowLed(kind), lowBlinks, "low LED");
        if (Describe(kind).hasHighLed)
            CheckLamp(w.HighLed(kind), highBlinks, "high LED");
    }
}

void TestMarkerInputs::coupling_data()
{
    QTest::addColumn<QString>("locale");
    QTest::addColumn<MarkerKind>("kind");
    QTest::addColumn<QStringList>("setup");   // not counted
    QTest::addColumn<QStringList>("actions"); // steps as in Perform
    QTest::addColumn<QString>("text");        // the edit's text afterwards
    QTest::addColumn<int>("position");        // the slider's position afterwards
    QTest::addColumn<int>("runs");            // interpretations run by the actions

    const QString fortyDigits = "1234567890123456789012345678901234567890";
    const QString beyondLongDouble = "1" + QString(5000, '0');

    for (const QString locale : {"fr", "C"}) {
        auto row = [&](const char* name, MarkerKind kind, QStringList setup, QStringList actions, QString text,
                       int position, int runs) {
            QTest::addRow("%s %s", qPrintable(locale), name)
                << locale << kind << setup << actions << text << position << runs;
        };
        row("uE3 0.14 with its slider at 10 becomes 0.1", e3, {}, {"0,14"}, "0,1", 1, 2);
        row("uE3 0.14 with its slider at 1 stays 0.14", e3, {"@1"}, {"0,14"}, "0,14", 1, 1);
        row("uE3 0.14 assigned off the grid runs twice", e3, {}, {"=0.14"}, "0,1", 1, 2);
        row("uE3 2.5 assigned on the grid runs once", e3, {}, {"=2.5"}, "2,5", 25, 1);
        row("AFP 4 with its slider at 12 becomes 3.5", afp, {"@12"}, {"4"}, "3,5", 35, 2);
        row("AFP 4 with its slider at 35 stays 4", afp, {"@35"}, {"4"}, "4", 35, 1);
        row("denominator typed past 5000 becomes 5000", triplo, {}, {"6", "60", "600", "6000"}, "5 000", 5000,
            1 + 1 + 1 + 2);
        row("denominator 1000 is regrouped and runs twice", triplo, {}, {"1000"}, "1 000", 1000, 2);
        row("denominator 1 000 typed grouped runs once", triplo, {}, {"1 000"}, "1 000", 1000, 1);
        row("denominator emptied becomes 1", triplo, {"@700"}, {""}, "1", 1, 2);
        row("MoM emptied stays empty", afp, {"@12"}, {""}, "", 0, 1);
        row("MoM 0 typed first empties the edit", hcg, {}, {"0"}, "", 0, 2);
        row("MoM 0 typed with its slider at 0 stays", hcg, {"@0"}, {"0"}, "0", 0, 1);
        row("denominator 0 typed first becomes 1", triplo, {}, {"0"}, "1", 1, 2);
        // The alert state is that of the replaced value, not of the typed one.
        row("hCG 0.25 lands on the even 0.2 and is very low", hcg, {}, {"0,25"}, "0,2", 2, 2);
        row("AFP 2.46 lands on 2.5 and is high", afp, {}, {"2,46"}, "2,5", 25, 2);
        row("AFP 1.2 then 1.25 stays 1.25", afp, {}, {"1,2", "1,25"}, "1,25", 12, 2);
        row("AFP 1.2 then 1.26 becomes 1.3", afp, {}, {"1,2", "1,26"}, "1,3", 13, 3);
        row("assigning the shown value runs nothing", afp, {"=2.5"}, {"=2.5"}, "2,5", 25, 0);
        row("dragging a slider runs once", hcg, {}, {"@7"}, "0,7", 7, 1);
        row("dragging the denominator to 1000 shows it grouped at once", triplo, {}, {"@1000"}, "1 000", 1000, 1);
        row("close gives 700 whatever the slider", triplo, {"@42"}, {"x"}, "700", 700, 1);
        row("close gives 1.0", e3, {"@3"}, {"x"}, "1", 10, 1);
        row("close on the default does nothing", afp, {"=1"}, {"x"}, "1", 10, 0);
        row("help changes nothing", afp, {"@3"}, {"?"}, "0,3", 3, 0);
        row("forty digits become 3.5", afp, {}, {fortyDigits}, "3,5", 35, 2);
        row("1e999 assigned becomes 5000", triplo, {}, {"=1e999"}, "5 000", 5000, 2);
        row("a number beyond the long double range reads 0 and becomes 1", triplo, {"@700"}, {beyondLongDouble},
            "1", 1, 2);
        row("a number beyond the long double range empties a MoM edit", afp, {"@12"}, {beyondLongDouble}, "", 0, 2);
    }
}

void TestMarkerInputs::coupling()
{
    QFETCH(QString, locale);
    QFETCH(MarkerKind, kind);
    QFETCH(QStringList, setup);
    QFETCH(QStringList, actions);
    QFETCH(QString, text);
    QFETCH(int, position);
    QFETCH(int, runs);

    const auto s = Settings(locale);
    TMarkerWindowModel w(s);
    for (const QString& step : setup)
        Perform(w, kind, step, s);
    const int before = w.Runs();
    for (const QString& step : actions)
        Perform(w, kind, step, s);

    QCOMPARE(Q(w.Edit(kind).Text()), Q(Localised(text, s)));
    QCOMPARE(w.Slider(kind).Position(), position);
    QCOMPARE(w.Runs() - before, runs);
    if (w.Runs() > 0)
        CheckShowsCurrentValues(w, kind);
}

void TestMarkerInputs::helpButton_data()
{
    QTest::addColumn<MarkerKind>("kind");
    QTest::addColumn<QString>("title");
    QTest::addColumn<QStringList>("lines"); // lines 2, 5, 7 and 9

    QTest::newRow("triplo") << triplo << "Triplo test"
                            << QStringList{"NOM: Triplo-Test des Marqueurs sériques",
                                           "MEDLINE: Triple-Marker Test, Maternal Serum Screening",
                                           "ORIGINE: Algorithme Bayésien protégé par l'industrie",
                                           "NORMES: Seuil d'intervention au delà de 1/250"};
    QTest::newRow("afp") << afp << "AFP"
                         << QStringList{"NOM: Alfpha Foeto Protéine", "MEDLINE: Alpha-Fetoproteins, Fetuin, Fetoprotein,",
                                        "ORIGINE: Foetus", "NORMES: 0,5 -> 2,5 MoM"};
    QTest::newRow("hcg") << hcg << "Bêta-HCG"
                         << QStringList{"NOM: Fraction bêta de l'Hormone Gonadotrophine Chorionique",
                                        "MESH: Chorionic Gonadotropin, beta Subunit, Human",
                                        "ORIGINE: Trophoblaste, Placenta", "NORMES: 0,5 - 2 MoM"};
    QTest::newRow("e3") << e3 << "U-E3"
                        << QStringList{"NOM: Estriol non conjugué", "MESH: Unconjugated Estriol", "ORIGINE: Placenta",
                                       "NORMES: > 0,2 MoM"};
}

void TestMarkerInputs::helpButton()
{
    QFETCH(MarkerKind, kind);
    QFETCH(QString, title);
    QFETCH(QStringList, lines);

    TMarkerWindowModel w(NumberText::FrenchFormatSettings());
    w.Inputs().PanelButtonClick(kind, kCaptionButtonHelp);
    w.Inputs().PanelButtonClick(kind, 1); // a button the panel does not show: nothing
    QCOMPARE(w.Messages().Shown.size(), std::size_t(1));
    const ShownMessage& m = w.Messages().Shown[0];
    QVERIFY(!m.information);
    QCOMPARE(m.flags, 64);
    QCOMPARE(Q(m.title), title);

    const QString text = Q(m.text);
    QVERIFY(!text.contains('\n'));
    const QString bar(46, '=');
    QCOMPARE(text.split('\r'), (QStringList{bar, lines[0], bar, "", lines[1], "", lines[2], "", lines[3]}));
    QCOMPARE(w.Runs(), 0);
    QCOMPARE(Q(w.Edit(kind).Text()), QString());
}

void TestMarkerInputs::resetToDefaults()
{
    TMarkerWindowModel w(NumberText::FrenchFormatSettings());
    int runsWhenCaptionSet = -1;
    w.WindowCaption().OnWrite = [&] { runsWhenCaptionSet = w.Runs(); };
    QStringList textsBehindMessage;
    w.Messages().OnShow = [&](const ShownMessage&) {
        for (MarkerKind kind : kAllMarkers)
            textsBehindMessage << Q(w.Edit(kind).Text());
    };

    // From the start state every value changes: the edits holding 0 become 700, 1, 1 and 1.
    w.Inputs().ResetToDefaults();
    QCOMPARE(Q(w.WindowCaption().Text), QString("MoM"));
    QCOMPARE(runsWhenCaptionSet, 0);
    QCOMPARE(textsBehindMessage, (QStringList{"700", "1", "1", "1"}));
    QCOMPARE(w.Messages().Shown.size(), std::size_t(1));
    QVERIFY(w.Messages().Shown[0].information);
    QCOMPARE(Q(w.Messages().Shown[0].text), QString("Curseurs placés à leurs valeurs par défaut!"));
    QCOMPARE(w.Runs(), 4);
    const int positions[] = {700, 10, 10, 10};
    for (MarkerKind kind : kAllMarkers) {
        QCOMPARE(w.Slider(kind).Position(), positions[Index(kind)]);
        QCOMPARE(w.Caption(kind).Color, kCaptionColorNormal);
        CheckShowsCurrentValues(w, kind);
    }
    QCOMPARE(Q(w.Finding(FindingCategory::fauxpo).Text), QString("..."));
    QVERIFY(w.ResultLed(FindingCategory::fauxpo).Active);

    // Again: no value changes, but the caption and the message come again.
    w.WindowCaption().Text = "T21";
    w.Inputs().ResetToDefaults();
    QCOMPARE(w.Runs(), 4);
    QCOMPARE(Q(w.WindowCaption().Text), QString("MoM"));
    QCOMPARE(w.Messages().Shown.size(), std::size_t(2));
}

void TestMarkerInputs::firstChangeLeavesOtherPanelsAlone()
{
    // The user's first act after start: the AFP slider to 1.1, the other edits still empty.
    TMarkerWindowModel w(NumberText::FrenchFormatSettings());
    QCOMPARE(Q(w.Finding(FindingCategory::chromo).Text), QString("Dgic"));
    w.Slider(afp).SetPosition(11);

    QCOMPARE(w.Runs(), 1);
    QCOMPARE(Q(w.Edit(afp).Text()), QString("1,1"));
    QCOMPARE(w.Caption(afp).Color, kCaptionColorNormal);
    // (0, 1.1, 0, 0): rules 1, 10 and 11, rule 11 showing.
    QCOMPARE(Q(w.Finding(FindingCategory::chromo).Text), QString("Ichtyose X"));
    QCOMPARE(Q(w.Finding(FindingCategory::malfo).Text), QString("Syndrome de Smith-Lemli-Opitz (SLO)"));
    QCOMPARE(Q(w.Finding(FindingCategory::fauxpo).Text), QString());
    QVERIFY(!w.ResultLed(FindingCategory::fauxpo).Active);
    QVERIFY(w.ResultLed(FindingCategory::malfo).Active);
    for (MarkerKind other : {triplo, hcg, e3}) {
        QCOMPARE(w.Caption(other).Color, kCaptionColorDesigned);
        QVERIFY(!w.LowLed(other).Active);
        QCOMPARE(w.Slider(other).Position(), Describe(other).slider.Position);
    }
}

void TestMarkerInputs::everyRunRestartsBlinkingFromLit()
{
    TMarkerWindowModel w(NumberText::FrenchFormatSettings());
    w.Edit(afp).TypeText(u"3");
    // A blinking lamp that happens to be dark when the next run starts.
    w.HighLed(afp).Status = false;
    w.ResultLed(FindingCategory::patho).Status = false;
    w.Edit(afp).TypeText(u"3,2");

    QCOMPARE(w.Runs(), 2);
    QCOMPARE(w.HighLed(afp).BlinkStarts, 2);
    QVERIFY(w.HighLed(afp).LastStartLit);
    // (0, 3.2, 0, 0): rule 5, the obstetric panel alerting.
    QCOMPARE(Q(w.Finding(FindingCategory::patho).Text), QString("Mort Foetale in Utéro (MFIU)"));
    QCOMPARE(w.ResultLed(FindingCategory::patho).BlinkStarts, 2);
    QVERIFY(w.ResultLed(FindingCategory::patho).LastStartLit);

    // A value that leaves the text as it was restarts nothing.
    w.Inputs().SetValue(afp, 3.2L);
    QCOMPARE(w.HighLed(afp).BlinkStarts, 2);
}

void TestMarkerInputs::missingViewIsRefused()
{
    MarkerWindowViews views;
    QVERIFY_THROWS_EXCEPTION(std::invalid_argument, TMarkerInputs{views});
}

QTEST_GUILESS_MAIN(TestMarkerInputs)
#include "tst_markerinputs.moc"
