#pragma once
// The four marker inputs: slider and edit following each other, the alert state of each input
// panel, the close and help buttons, "Initialiser les curseurs", and the interpretation shown
// in the result panels after every change of a value.

#include "MarkerWidgets.h"
#include "ProfileTypes.h"

#include <array>
#include <optional>
#include <string>
#include <string_view>

// ---- Alert thresholds of the input panels (>= and <= include the threshold) ----------------
inline constexpr long double kTriploLowBelow = 250; // N < 250 is Low
inline constexpr long double kAfpHighMoM = 2.5L;
inline constexpr long double kAfpLowMoM = 0.5L;
inline constexpr long double kHcgHighMoM = 2.0L;
inline constexpr long double kHcgLowMoM = 0.5L;
inline constexpr long double kHcgVeryLowMoM = 0.2L;
inline constexpr long double kE3HighMoM = 2.0L;
inline constexpr long double kE3LowMoM = 0.2L;

// ---- Caption colours (0x00BBGGRR or a system colour) ----------------------------------------
inline constexpr TColorValue kCaptionColorNormal = 0xFF000002u; // clActiveCaption
inline constexpr TColorValue kCaptionColorHigh = 0x0000FFu;     // red
inline constexpr TColorValue kCaptionColorLow = 0x0080FFu;      // orange, 33023
inline constexpr TColorValue kCaptionColorVeryLow = 0x000000u;  // black
// The colour the captions are designed with, shown until a value first changes (clBlue).
inline constexpr TColorValue kCaptionColorDesigned = 0xFF0000u;

TColorValue CaptionColor(MarkerAlert alert);

// The input lamps blink at this interval, in the lamp's default colours.
inline constexpr int kInputLedIntervalMs = 200;

// ---- The sliders ---------------------------------------------------------------------------
enum class TickStyle { tsAuto, tsManual };

struct SliderSettings {
    int Min;
    int Max;
    int Position; // at start
    int SelStart; // the highlighted band marks a range and constrains nothing
    int SelEnd;
    int Frequency;
    TickStyle Ticks;
    int LineSize;
    int PageSize;
};

// ---- One input panel ------------------------------------------------------------------------
struct MarkerDescription {
    MarkerKind kind;
    std::string_view caption;    // the panel's caption
    int scale;                   // a slider position stands for position / scale
    SliderSettings slider;
    long double defaultValue;    // close button and "Initialiser les curseurs"
    bool hasHighLed;             // the triple-test panel has only its low LED
    std::string_view helpTitle;  // help button: message box title
    std::array<std::string_view, 4> helpLines; // lines 2, 5, 7 and 9 of the help text
};

const MarkerDescription& Describe(MarkerKind kind);

// The help text of a panel: nine lines separated by a single carriage return, no line feed and
// no line break after the last line; lines 1 and 3 are bars of "=", lines 4, 6 and 8 empty.
inline constexpr std::size_t kHelpBarLength = 46;
std::string HelpText(MarkerKind kind);

// Shown once "Initialiser les curseurs" has set the default values.
inline constexpr std::string_view kDefaultsRestoredMessage = "Curseurs placés à leurs valeurs par défaut!";
// The window caption that "Initialiser les curseurs" sets.
inline constexpr std::string_view kDefaultsWindowCaption = "MoM";

// ---- The result panels ------------------------------------------------------------------------
struct CategoryDescription {
    FindingCategory category;
    std::string_view caption;
    int ledIntervalMs;
    std::optional<TColorValue> ledColorOff; // empty: the lamp's default unlit colour
};

const CategoryDescription& Describe(FindingCategory category);

// ---- The pure parts of the coupling and the alert state -------------------------------------

// round(value x scale), halves to the even neighbour, as a slider position. Saturating: a value
// beyond the int range, or infinite, gives the nearest int limit; NaN gives 0. The slider then
// limits the position to its own range.
int SliderPositionFor(long double value, int scale);

struct MarkerAssessment {
    MarkerAlert alert = MarkerAlert::Normal;
    bool highLedBlinks = false;
    bool lowLedBlinks = false;

    friend bool operator==(const MarkerAssessment&, const MarkerAssessment&) = default;
};

// The caption state and blinking lamps of a panel for its value.
MarkerAssessment AssessMarker(MarkerKind kind, long double value);

// ---- The window's marker logic --------------------------------------------------------------

struct MarkerPanelViews {
    TSliderView* slider = nullptr;
    TNumberEditView* edit = nullptr;
    TCaptionView* caption = nullptr;
    TLedView* lowLed = nullptr;
    TLedView* highLed = nullptr; // none for the triple-test panel
};

struct ResultPanelViews {
    TTextView* finding = nullptr;
    TTextView* action = nullptr;
    TLedView* led = nullptr;
};

struct MarkerWindowViews {
    std::array<MarkerPanelViews, kMarkerCount> markers;
    std::array<ResultPanelViews, kCategoryCount> results;
    TMessageView* messages = nullptr;
    TTextView* windowCaption = nullptr;
};

// The handlers of the marker inputs. The window binds each widget's change event to the
// matching method; every other change of a value goes through SetValue, which assigns the edit
// and lets its change event do the rest. Keeps no state of its own between events.
class TMarkerInputs {
public:
    // Every view is required, except the triple-test panel's high LED. Throws
    // std::invalid_argument when one is missing.
    explicit TMarkerInputs(const MarkerWindowViews& views);

    // The edit's change event: the slider follows, the panel takes its alert state and the
    // interpretation runs over the four current values.
    void EditChange(MarkerKind kind);
    // The slider's change event: the edit takes the position's value.
    void SliderChange(MarkerKind kind);
    // A caption button of an input panel: close restores the default value, help shows the
    // marker's information text. Other buttons do nothing.
    void PanelButtonClick(MarkerKind kind, int button);
    // "Initialiser les curseurs".
    void ResetToDefaults();

    // Sets a value from elsewhere: assigns the edit's value.
    void SetValue(MarkerKind kind, long double value);
    void SetWindowCaption(const std::string& caption);
    // The four values as the edits read them now.
    ProfileInputs CurrentInputs() const;

private:
    const MarkerPanelViews& Panel(MarkerKind kind) const { return FViews.markers[Index(kind)]; }
    void ShowFindings(const ProfileFindings& findings);

    MarkerWindowViews FViews;
};
