#include "WidgetAdapters.h"

#include "NumEdits.h"
#include "TrackBar.h"

int TTrackBarView::Position() const
{
    return FSlider.Position();
}

void TTrackBarView::SetPosition(int position)
{
    FSlider.SetPosition(position);
}

long double TNumEditView::Value() const
{
    return FEdit.Value();
}

void TNumEditView::SetValue(long double value)
{
    FEdit.SetValue(value);
}

std::u16string TNumEditView::Text() const
{
    return FEdit.Text().toStdU16String();
}
