#pragma once
// Models of the widgets the marker inputs drive, following the rules the real widgets keep:
// a slider limits an assigned position and reports only a real change; a numeric edit writes
// its number in the edit format (",0.##", empty for 0), reads its text back through the same
// number conversion as the real edit, and reports exactly the changes of its text. Change
// events are raised synchronously from inside the assignment, as the widgets raise them.

#include "MarkerInputs.h"
#include "NumberText.h"

#include <functional>
#include <memory>
#include <string>
#include <vector>

class TSliderModel : public TSliderView {
public:
    TSliderModel(int min, int max, int position);
    int Position() const override { return FPosition; }
    void SetPosition(int position) override;
    int Min() const { return FMin; }
    int Max() const { return FMax; }

    std::function<void()> OnChange;

private:
    int FMin;
    int FMax;
    int FPosition;
};

class TNumberEditModel : public TNumberEditView {
public:
    explicit TNumberEditModel(NumberText::TFormatSettings settings);
    long double Value() const override;
    void SetValue(long double value) override;
    std::u16string Text() const override { return FText; }
    // The user replaces the whole text; a change is raised when it differs.
    void TypeText(std::u16string_view text);

    std::function<void()> OnChange;

private:
    void WriteText(std::u16string text);

    NumberText::TFormatSettings FSettings;
    NumberText::TNumberLimits FLimits; // the edit's defaults: two decimals, no limits
    std::u16string FText;
};

class TCaptionModel : public TCaptionView {
public:
    void SetCaptionColor(TColorValue color) override { Color = color; }
    TColorValue Color = kCaptionColorDesigned;
};

class TLedModel : public TLedView {
public:
    void SetActive(bool active) override;
    void SetStatus(bool status) override { Status = status; }

    bool Active = false;
    bool Status = true;
    int BlinkStarts = 0;       // times blinking was switched on
    bool LastStartLit = false; // whether the lamp was lit when blinking last started
};

class TTextModel : public TTextView {
public:
    explicit TTextModel(std::string text = {}) : Text(std::move(text)) {}
    void SetText(const std::string& text) override;
    std::string Text;
    int Writes = 0;
    std::function<void()> OnWrite; // called after each write
};

struct ShownMessage {
    bool information = false; // the "Informations" dialog, otherwise the titled message box
    std::string text;
    std::string title;
    int flags = 0;
};

class TMessageModel : public TMessageView {
public:
    void ShowInformation(const std::string& text) override;
    void ShowMessageBox(const std::string& text, const std::string& title, int flags) override;
    std::vector<ShownMessage> Shown;
    // Called while a message is "open", to look at the state the user sees behind it.
    std::function<void(const ShownMessage&)> OnShow;
};

// The window's marker inputs and result panels as models, in their start state, with each
// widget's change event bound to the handlers of TMarkerInputs as the window binds them.
class TMarkerWindowModel {
public:
    explicit TMarkerWindowModel(const NumberText::TFormatSettings& settings);

    TSliderModel& Slider(MarkerKind kind) { return *FSliders[Index(kind)]; }
    TNumberEditModel& Edit(MarkerKind kind) { return *FEdits[Index(kind)]; }
    TCaptionModel& Caption(MarkerKind kind) { return FCaptions[Index(kind)]; }
    TLedModel& LowLed(MarkerKind kind) { return FLowLeds[Index(kind)]; }
    TLedModel& HighLed(MarkerKind kind) { return FHighLeds[Index(kind)]; } // unused for triplo
    TTextModel& Finding(FindingCategory c) { return FFindings[Index(c)]; }
    TTextModel& Action(FindingCategory c) { return FActions[Index(c)]; }
    TLedModel& ResultLed(FindingCategory c) { return FResultLeds[Index(c)]; }
    TMessageModel& Messages() { return FMessages; }
    TTextModel& WindowCaption() { return FWindowCaption; }
    TMarkerInputs& Inputs() { return *FInputs; }

    // How many times the interpretation has been shown: each run writes every finding label once.
    int Runs() const { return FFindings[0].Writes; }
    // What the result panels show now.
    ProfileFindings ShownFindings() const;

private:
    std::array<std::unique_ptr<TSliderModel>, kMarkerCount> FSliders;
    std::array<std::unique_ptr<TNumberEditModel>, kMarkerCount> FEdits;
    std::array<TCaptionModel, kMarkerCount> FCaptions;
    std::array<TLedModel, kMarkerCount> FLowLeds;
    std::array<TLedModel, kMarkerCount> FHighLeds;
    std::array<TTextModel, kCategoryCount> FFindings;
    std::array<TTextModel, kCategoryCount> FActions;
    std::array<TLedModel, kCategoryCount> FResultLeds;
    TMessageModel FMessages;
    TTextModel FWindowCaption;
    std::unique_ptr<TMarkerInputs> FInputs;
};
