#pragma once
// Small helpers shared by the tests of the marker inputs and the example profiles.

#include "MarkerModels.h"
#include "ProfileRules.h"

#include <QtTest>

Q_DECLARE_METATYPE(MarkerKind)

namespace AnalysisTest {

inline NumberText::TFormatSettings Settings(const QString& locale)
{
    return locale == "fr" ? NumberText::FrenchFormatSettings() : NumberText::CFormatSettings();
}

// Texts in the tables are written with "," for the decimal separator and " " for the digit
// group separator; this puts the locale's separators in their place.
inline std::u16string Localised(const QString& text, const NumberText::TFormatSettings& s)
{
    std::u16string out;
    for (QChar c : text) {
        if (c == u',')
            out += s.DecimalSeparator;
        else if (c == u' ')
            out += s.ThousandSeparator;
        else
            out += c.unicode();
    }
    return out;
}

inline QString Q(const std::u16string& s)
{
    return QString::fromStdU16String(s);
}

inline QString Q(const std::string& s)
{
    return QString::fromStdString(s);
}

// The lamps of a panel: whether each one blinks, and that a steady lamp is lit.
inline void CheckLamp(const TLedModel& led, bool blinks, const char* which)
{
    QVERIFY2(led.Active == blinks, which);
    QVERIFY2(led.Status, which);
}

// A panel shows the alert state of its current value; the result panels show the
// interpretation of the four current values.
inline void CheckShowsCurrentValues(TMarkerWindowModel& w, MarkerKind kind)
{
    const MarkerAssessment a = AssessMarker(kind, w.Edit(kind).Value());
    QCOMPARE(w.Caption(kind).Color, CaptionColor(a.alert));
    CheckLamp(w.LowLed(kind), a.lowLedBlinks, "low LED");
    if (Describe(kind).hasHighLed)
        CheckLamp(w.HighLed(kind), a.highLedBlinks, "high LED");
    const ProfileFindings expected = AnalyserProfil(w.Inputs().CurrentInputs());
    for (FindingCategory c : kAllCategories) {
        QCOMPARE(Q(w.Finding(c).Text), Q(expected[c].finding));
        QCOMPARE(Q(w.Action(c).Text), Q(expected[c].action));
        CheckLamp(w.ResultLed(c), expected[c].alert, "result LED");
    }
}

} // namespace AnalysisTest
