#include "MarkerInputs.h"

#include "ProfileRules.h"

#include <cmath>
#include <limits>
#include <stdexcept>

namespace {

const MarkerDescription kMarkers[kMarkerCount] = {
    {MarkerKind::triplo, "TRIPLO-TEST", 1,
     {1, 5000, 500, 250, 1000, 100, TickStyle::tsManual, 10, 100},
     700, false, "Triplo test",
     {"NOM: Triplo-Test des Marqueurs sériques",
      "MEDLINE: Triple-Marker Test, Maternal Serum Screening",
      "ORIGINE: Algorithme Bayésien protégé par l'industrie",
      "NORMES: Seuil d'intervention au delà de 1/250"}},
    {MarkerKind::afp, "AFP", 10,
     {0, 35, 10, 5, 25, 5, TickStyle::tsAuto, 1, 2},
     1.0L, true, "AFP",
     {"NOM: Alfpha Foeto Protéine",
      "MEDLINE: Alpha-Fetoproteins, Fetuin, Fetoprotein,",
      "ORIGINE: Foetus",
      "NORMES: 0,5 -> 2,5 MoM"}},
    {MarkerKind::hcg, "B-HCG", 10,
     {0, 35, 10, 5, 20, 5, TickStyle::tsAuto, 1, 2},
     1.0L, true, "Bêta-HCG",
     {"NOM: Fraction bêta de l'Hormone Gonadotrophine Chorionique",
      "MESH: Chorionic Gonadotropin, beta Subunit, Human",
      "ORIGINE: Trophoblaste, Placenta",
      "NORMES: 0,5 - 2 MoM"}},
    {MarkerKind::e3, "Estriol", 10,
     {0, 35, 10, 2, 25, 5, TickStyle::tsAuto, 1, 2},
     1.0L, true, "U-E3",
     {"NOM: Estriol non conjugué",
      "MESH: Unconjugated Estriol",
      "ORIGINE: Placenta",
      "NORMES: > 0,2 MoM"}},
};

const CategoryDescription kCategories[kCategoryCount] = {
    {FindingCategory::fauxpo, "Faux positifs", 1500, 0x4080FFu},
    {FindingCategory::chromo, "Aberrations chromosomiques", 500, std::nullopt},
    {FindingCategory::malfo, "Malformations", 500, std::nullopt},
    {FindingCategory::patho, "Pathologie Obstétricale", 500, std::nullopt},
};

// Puts a lamp in the normal state: steady and lit.
void Settle(TLedView* led)
{
    if (!led)
        return;
    led->SetActive(false);
    led->SetStatus(true);
}

void Require(const void* view, const char* what)
{
    if (!view)
        throw std::invalid_argument(std::string("TMarkerInputs: missing view: ") + what);
}

} // namespace

TColorValue CaptionColor(MarkerAlert alert)
{
    switch (alert) {
    case MarkerAlert::High: return kCaptionColorHigh;
    case MarkerAlert::Low: return kCaptionColorLow;
    case MarkerAlert::VeryLow: return kCaptionColorVeryLow;
    case MarkerAlert::Normal: break;
    }
    return kCaptionColorNormal;
}

const MarkerDescription& Describe(MarkerKind kind)
{
    return kMarkers[Index(kind)];
}

const CategoryDescription& Describe(FindingCategory category)
{
    return kCategories[Index(category)];
}

std::string HelpText(MarkerKind kind)
{
    const MarkerDescription& d = Describe(kind);
    const std::string bar(kHelpBarLength, '=');
    std::string text;
    text.append(bar).append("\r");
    text.append(d.helpLines[0]).append("\r");
    text.append(bar).append("\r");
    text.append("\r");
    text.append(d.helpLines[1]).append("\r");
    text.append("\r");
    text.append(d.helpLines[2]).append("\r");
    text.append("\r");
    text.append(d.helpLines[3]);
    return text;
}

int SliderPositionFor(long double value, int scale)
{
    const long double scaled = value * scale;
    if (std::isnan(scaled))
        return 0;
    // Limit before converting: converting a long double outside the int range is undefined.
    constexpr long double lowest = std::numeric_limits<int>::min();
    constexpr long double highest = std::numeric_limits<int>::max();
    if (scaled <= lowest)
        return std::numeric_limits<int>::min();
    if (scaled >= highest)
        return std::numeric_limits<int>::max();
    // Nearest integer, an exact half to the even neighbour.
    const long double below = std::floor(scaled);
    const long double fraction = scaled - below;
    long double rounded = below;
    if (fraction > 0.5L || (fraction == 0.5L && std::fmod(below, 2.0L) != 0))
        rounded = below + 1;
    return static_cast<int>(std::min(rounded, highest));
}

MarkerAssessment AssessMarker(MarkerKind kind, long double v)
{
    // Each test runs independently, in this order; a later one overrides the caption.
    MarkerAssessment a;
    switch (kind) {
    case MarkerKind::triplo:
        if (v < kTriploLowBelow) {
            a.alert = MarkerAlert::Low;
            a.lowLedBlinks = true;
        }
        break;
    case MarkerKind::afp:
        if (v >= kAfpHighMoM) {
            a.alert = MarkerAlert::High;
            a.highLedBlinks = true;
        }
        if (v <= kAfpLowMoM) {
            a.alert = MarkerAlert::Low;
            a.lowLedBlinks = true;
        }
        break;
    case MarkerKind::hcg:
        if (v >= kHcgHighMoM) {
            a.alert = MarkerAlert::High;
            a.highLedBlinks = true;
        }
        if (v <= kHcgLowMoM) {
            a.alert = MarkerAlert::Low;
            a.lowLedBlinks = true;
        }
        if (v <= kHcgVeryLowMoM)
            a.alert = MarkerAlert::VeryLow; // the lamps stay as the low test left them
        break;
    case MarkerKind::e3:
        if (v >= kE3HighMoM) {
            a.alert = MarkerAlert::High;
            a.highLedBlinks = true;
        }
        if (v <= kE3LowMoM) {
            a.alert = MarkerAlert::Low;
            a.lowLedBlinks = true;
        }
        break;
    }
    return a;
}

TMarkerInputs::TMarkerInputs(const MarkerWindowViews& views)
    : FViews(views)
{
    for (MarkerKind kind : kAllMarkers) {
        const MarkerPanelViews& p = Panel(kind);
        Require(p.slider, "slider");
        Require(p.edit, "numeric edit");
        Require(p.caption, "caption panel");
        Require(p.lowLed, "low LED");
        if (Describe(kind).hasHighLed)
            Require(p.highLed, "high LED");
    }
    for (const ResultPanelViews& r : FViews.results) {
        Require(r.finding, "finding label");
        Require(r.action, "action label");
        Require(r.led, "result LED");
    }
    Require(FViews.messages, "message boxes");
    Require(FViews.windowCaption, "window caption");
}

void TMarkerInputs::EditChange(MarkerKind kind)
{
    const MarkerPanelViews& p = Panel(kind);
    const MarkerDescription& d = Describe(kind);

    // The slider follows. If it moves, its change event writes the position's value back into
    // the edit, which may run this handler again, nested, for the replaced value; that run
    // completes before this one goes on, so nothing read before this line may be used after it.
    p.slider->SetPosition(SliderPositionFor(p.edit->Value(), d.scale));

    p.caption->SetCaptionColor(kCaptionColorNormal);
    Settle(p.highLed);
    Settle(p.lowLed);

    const MarkerAssessment a = AssessMarker(kind, p.edit->Value());
    p.caption->SetCaptionColor(CaptionColor(a.alert));
    // The lamps were stopped and lit just above: blinking restarts from the lit state.
    if (a.highLedBlinks && p.highLed)
        p.highLed->SetActive(true);
    if (a.lowLedBlinks)
        p.lowLed->SetActive(true);

    ShowFindings(AnalyserProfil(CurrentInputs()));
}

void TMarkerInputs::SliderChange(MarkerKind kind)
{
    const MarkerPanelViews& p = Panel(kind);
    p.edit->SetValue(static_cast<long double>(p.slider->Position()) / Describe(kind).scale);
}

void TMarkerInputs::PanelButtonClick(MarkerKind kind, int button)
{
    const MarkerDescription& d = Describe(kind);
    if (button == kCaptionButtonClose)
        SetValue(kind, d.defaultValue);
    else if (button == kCaptionButtonHelp)
        FViews.messages->ShowMessageBox(HelpText(kind), std::string(d.helpTitle), kMbIconInformation | kMbOk);
}

void TMarkerInputs::ResetToDefaults()
{
    SetWindowCaption(std::string(kDefaultsWindowCaption));
    for (MarkerKind kind : kAllMarkers)
        SetValue(kind, Describe(kind).defaultValue);
    FViews.messages->ShowInformation(std::string(kDefaultsRestoredMessage));
}

void TMarkerInputs::SetValue(MarkerKind kind, long double value)
{
    Panel(kind).edit->SetValue(value);
}

void TMarkerInputs::SetWindowCaption(const std::string& caption)
{
    FViews.windowCaption->SetText(caption);
}

ProfileInputs TMarkerInputs::CurrentInputs() const
{
    ProfileInputs inputs;
    for (MarkerKind kind : kAllMarkers)
        inputs[kind] = Panel(kind).edit->Value();
    return inputs;
}

void TMarkerInputs::ShowFindings(const ProfileFindings& findings)
{
    for (FindingCategory category : kAllCategories) {
        const ResultPanelViews& r = FViews.results[Index(category)];
        const CategoryFinding& f = findings[category];
        r.finding->SetText(f.finding);
        r.action->SetText(f.action);
        // Stopped and lit first, so that an alerting lamp restarts its blinking on every run.
        Settle(r.led);
        if (f.alert)
            r.led->SetActive(true);
    }
}
