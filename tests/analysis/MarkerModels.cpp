#include "MarkerModels.h"

#include <algorithm>

TSliderModel::TSliderModel(int min, int max, int position)
    : FMin(min), FMax(max), FPosition(std::clamp(position, min, max))
{
}

void TSliderModel::SetPosition(int position)
{
    const int limited = std::clamp(position, FMin, FMax);
    if (limited == FPosition)
        return;
    FPosition = limited;
    if (OnChange)
        OnChange();
}

TNumberEditModel::TNumberEditModel(NumberText::TFormatSettings settings)
    : FSettings(std::move(settings))
{
}

long double TNumberEditModel::Value() const
{
    long double value = 0;
    if (!NumberText::TryConvert(NumberText::NormaliseNumberText(FText, FSettings), FSettings, value))
        return FLimits.MinValue;
    return NumberText::ApplyLimits(value, FLimits, false, FSettings);
}

void TNumberEditModel::SetValue(long double value)
{
    const long double limited = NumberText::ApplyLimits(value, FLimits, false, FSettings);
    // ZeroEmpty: the value 0 is written as an empty text.
    WriteText(limited == 0 ? std::u16string()
                           : NumberText::FormatFloat(NumberText::EditingFormat(FLimits.DecimalPlaces, false),
                                                     limited, FSettings));
}

void TNumberEditModel::TypeText(std::u16string_view text)
{
    WriteText(std::u16string(text));
}

void TNumberEditModel::WriteText(std::u16string text)
{
    if (text == FText)
        return;
    FText = std::move(text);
    if (OnChange)
        OnChange();
}

void TLedModel::SetActive(bool active)
{
    if (active && !Active) {
        ++BlinkStarts;
        LastStartLit = Status;
    }
    Active = active;
}

void TTextModel::SetText(const std::string& text)
{
    Text = text;
    ++Writes;
    if (OnWrite)
        OnWrite();
}

void TMessageModel::ShowInformation(const std::string& text)
{
    Shown.push_back({true, text, "Informations", 0});
    if (OnShow)
        OnShow(Shown.back());
}

void TMessageModel::ShowMessageBox(const std::string& text, const std::string& title, int flags)
{
    Shown.push_back({false, text, title, flags});
    if (OnShow)
        OnShow(Shown.back());
}

TMarkerWindowModel::TMarkerWindowModel(const NumberText::TFormatSettings& settings)
{
    // The result panels show their design-time texts until the first interpretation.
    for (std::size_t i = 0; i < kCategoryCount; ++i) {
        FFindings[i].Text = "Dgic";
        FActions[i].Text = "CAT";
    }
    MarkerWindowViews views;
    for (MarkerKind kind : kAllMarkers) {
        const std::size_t i = Index(kind);
        const SliderSettings& s = Describe(kind).slider;
        FSliders[i] = std::make_unique<TSliderModel>(s.Min, s.Max, s.Position);
        FEdits[i] = std::make_unique<TNumberEditModel>(settings);
        views.markers[i] = {FSliders[i].get(), FEdits[i].get(), &FCaptions[i], &FLowLeds[i],
                            Describe(kind).hasHighLed ? &FHighLeds[i] : nullptr};
    }
    for (std::size_t i = 0; i < kCategoryCount; ++i)
        views.results[i] = {&FFindings[i], &FActions[i], &FResultLeds[i]};
    views.messages = &FMessages;
    views.windowCaption = &FWindowCaption;
    FInputs = std::make_unique<TMarkerInputs>(views);

    for (MarkerKind kind : kAllMarkers) {
        FSliders[Index(kind)]->OnChange = [this, kind] { FInputs->SliderChange(kind); };
        FEdits[Index(kind)]->OnChange = [this, kind] { FInputs->EditChange(kind); };
    }
}

ProfileFindings TMarkerWindowModel::ShownFindings() const
{
    ProfileFindings shown;
    for (FindingCategory c : kAllCategories) {
        const std::size_t i = Index(c);
        shown[c] = {FFindings[i].Text, FActions[i].Text, FResultLeds[i].Active};
    }
    return shown;
}
