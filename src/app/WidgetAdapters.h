#pragma once
// The real slider and numeric edit behind the widget-neutral interfaces of the marker inputs.
// The adapters hold references: the window owns the widgets and keeps them alive as long as
// the adapters.

#include "MarkerWidgets.h"

#include <string>

class TTrackBar;
class TCustomNumEdit;

class TTrackBarView : public TSliderView {
public:
    explicit TTrackBarView(TTrackBar& slider) : FSlider(slider) {}
    int Position() const override;
    // The slider limits the position to its range and raises its OnChange only on a real change.
    void SetPosition(int position) override;
    TTrackBar& Slider() const { return FSlider; }

private:
    TTrackBar& FSlider;
};

class TNumEditView : public TNumberEditView {
public:
    explicit TNumEditView(TCustomNumEdit& edit) : FEdit(edit) {}
    long double Value() const override;
    // Raises the edit's OnChange exactly when its text changes.
    void SetValue(long double value) override;
    std::u16string Text() const override;
    TCustomNumEdit& Edit() const { return FEdit; }

private:
    TCustomNumEdit& FEdit;
};
