#include "TrackBar.h"

#include "Colors.h"
#include "PainterLines.h"

#include <QPainter>
#include <QStyle>
#include <QStyleOptionSlider>
#include <algorithm>

namespace {
constexpr int kChannelHeightPx = 6;
constexpr int kTickLengthPx = 3;
constexpr int kTickGapPx = 2; // between the thumb's bottom and the tick marks
} // namespace

TTrackBar::TTrackBar(QWidget* parent)
    : QSlider(Qt::Horizontal, parent)
{
    setRange(0, 10);
    // The layout reserves room below the thumb for the tick marks, which are drawn here.
    setTickPosition(QSlider::TicksBelow);
    setFocusPolicy(Qt::StrongFocus);
    connect(this, &QSlider::valueChanged, this, [this] { Fire(OnChange, this); });
}

void TTrackBar::SetMin(int min)
{
    setMinimum(min);
    update();
}

void TTrackBar::SetMax(int max)
{
    setMaximum(max);
    update();
}

void TTrackBar::SetPosition(int position)
{
    setValue(position);
}

void TTrackBar::SetSelStart(int position)
{
    if (position == FSelStart)
        return;
    FSelStart = position;
    update();
}

void TTrackBar::SetSelEnd(int position)
{
    if (position == FSelEnd)
        return;
    FSelEnd = position;
    update();
}

void TTrackBar::SetFrequency(int frequency)
{
    if (frequency == FFrequency)
        return;
    FFrequency = frequency;
    update();
}

void TTrackBar::SetTickStyle(TTickStyle style)
{
    if (style == FTickStyle)
        return;
    FTickStyle = style;
    update();
}

QList<int> TTrackBar::TickPositions() const
{
    QList<int> ticks;
    const int lo = minimum(), hi = maximum();
    if (FTickStyle == tsNone)
        return ticks;
    ticks.push_back(lo);
    if (FTickStyle == tsAuto && FFrequency > 0) {
        for (long long p = static_cast<long long>(lo) + FFrequency; p < hi; p += FFrequency)
            ticks.push_back(static_cast<int>(p));
    }
    if (hi != lo)
        ticks.push_back(hi);
    return ticks;
}

int TTrackBar::PositionToX(int position) const
{
    QStyleOptionSlider option;
    initStyleOption(&option);
    option.sliderPosition = std::clamp(position, minimum(), maximum());
    return style()->subControlRect(QStyle::CC_Slider, &option, QStyle::SC_SliderHandle, this).center().x();
}

QRect TTrackBar::ChannelRect() const
{
    QStyleOptionSlider option;
    initStyleOption(&option);
    const QRect handle = style()->subControlRect(QStyle::CC_Slider, &option, QStyle::SC_SliderHandle, this);
    const int left = PositionToX(minimum()) - handle.width() / 2;
    const int right = PositionToX(maximum()) + handle.width() / 2;
    const int top = handle.center().y() - kChannelHeightPx / 2;
    return QRect(left, top, right - left + 1, kChannelHeightPx);
}

QRect TTrackBar::BandRect() const
{
    if (FSelEnd <= FSelStart)
        return {};
    const QRect channel = ChannelRect().adjusted(2, 2, -2, -2);
    const int left = PositionToX(FSelStart), right = PositionToX(FSelEnd);
    return QRect(left, channel.top(), right - left + 1, channel.height());
}

void TTrackBar::paintEvent(QPaintEvent*)
{
    QPainter painter(this);

    // The channel: a sunken two-pixel edge around the window colour. It is drawn here rather
    // than by the style, whose groove fills up to the thumb and would hide the band.
    const QRect channel = ChannelRect();
    painter.fillRect(channel, ToQColor(clWindow));
    const int l = channel.left(), t = channel.top(), r = channel.right(), b = channel.bottom();
    painter.setPen(ToQColor(clBtnShadow));
    DrawAxisLine(painter, l, t, r - 1, t);
    DrawAxisLine(painter, l, t, l, b - 1);
    painter.setPen(ToQColor(cl3DDkShadow));
    DrawAxisLine(painter, l + 1, t + 1, r - 2, t + 1);
    DrawAxisLine(painter, l + 1, t + 1, l + 1, b - 2);
    painter.setPen(ToQColor(cl3DLight));
    DrawAxisLine(painter, l + 1, b - 1, r - 1, b - 1);
    DrawAxisLine(painter, r - 1, t + 1, r - 1, b - 1);
    painter.setPen(ToQColor(clBtnHighlight));
    DrawAxisLine(painter, l, b, r, b);
    DrawAxisLine(painter, r, t, r, b);

    const QRect band = BandRect();
    if (!band.isEmpty())
        painter.fillRect(band, ToQColor(clHighlight));

    QStyleOptionSlider option;
    initStyleOption(&option);
    const QRect handle = style()->subControlRect(QStyle::CC_Slider, &option, QStyle::SC_SliderHandle, this);
    painter.setPen(ToQColor(clBtnText));
    const int tickTop = handle.bottom() + kTickGapPx;
    for (int p : TickPositions()) {
        const int x = PositionToX(p);
        DrawAxisLine(painter, x, tickTop, x, tickTop + kTickLengthPx - 1);
    }

    option.subControls = QStyle::SC_SliderHandle;
    style()->drawComplexControl(QStyle::CC_Slider, &option, &painter, this);
}
