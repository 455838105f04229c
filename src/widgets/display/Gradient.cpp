#include "Gradient.h"

#include <QPaintEvent>
#include <QPainter>
#include <algorithm>
#include <cmath>

namespace {

// Nearest integer, ties to even (the default rounding mode).
int RoundEven(double value)
{
    return static_cast<int>(std::nearbyint(value));
}

int Channel(TColor rgb, int shift)
{
    return static_cast<int>((rgb >> shift) & 0xFFu);
}

} // namespace

TGradient::TGradient(QWidget* owner)
    : TExGraphicControl(owner)
{
    setAttribute(Qt::WA_OpaquePaintEvent);
    FBufferWidth = 0;
    FBufferHeight = 0;
    FSteps = kDefaultSteps;
    FStyle = grHorizontal;
    FEndColor = clBlack;
    FStartColor = clBlue;
    SetAlign(this, alClient);
}

TGradient::~TGradient()
{
    FDestroying = true;
}

void TGradient::Invalidate()
{
    FBufferWidth = 0;
    update();
}

void TGradient::SetStyle(TGradientStyle style)
{
    if (style == FStyle)
        return;
    FStyle = style;
    Invalidate();
}

void TGradient::SetStartColor(TColor color)
{
    if (color == FStartColor)
        return;
    FStartColor = color;
    Invalidate();
}

void TGradient::SetEndColor(TColor color)
{
    if (color == FEndColor)
        return;
    FEndColor = color;
    Invalidate();
}

void TGradient::SetSteps(std::uint16_t steps)
{
    if (steps == FSteps)
        return;
    FSteps = steps;
    Invalidate();
}

void TGradient::SetLeft(int left)
{
    FLoadedLeft = left;
    move(left, y());
}

void TGradient::SetTop(int top)
{
    FLoadedTop = top;
    move(x(), top);
}

void TGradient::SetWidth(int width)
{
    FLoadedWidth = width;
    resize(std::max(0, width), height());
}

void TGradient::SetHeight(int height)
{
    FLoadedHeight = height;
    resize(width(), std::max(0, height));
}

void TGradient::Loaded()
{
    const TAlign align = GetAlign(this);
    if (align != alTop && align != alBottom && align != alLeft && align != alRight) {
        SetLeft(FLoadedLeft);
        SetTop(FLoadedTop);
    }
    if (align != alClient) {
        SetWidth(FLoadedWidth);
        SetHeight(FLoadedHeight);
    }
}

TColor TGradient::StepColor(TColor from, TColor to, int steps, int step)
{
    TColor result = 0;
    for (int shift : {0, 8, 16}) {
        const int c0 = Channel(from, shift);
        const double d = static_cast<double>(Channel(to, shift) - c0) / steps;
        const int value = std::clamp(RoundEven(c0 + step * d), 0, 255);
        result |= static_cast<TColor>(value) << shift;
    }
    return result;
}

void TGradient::DrawGradient(QPainter& painter, int w, int h, TColor c0, TColor c1) const
{
    auto colour = [&](int steps, int step) { return ToQColor(StepColor(c0, c1, steps, step)); };
    const int s = FSteps;
    switch (FStyle) {
    case grFilled:
        painter.fillRect(0, 0, w, h, ToQColor(c0));
        break;
    case grHorizontal:
    case grVertical: {
        const bool across = FStyle == grHorizontal;
        const int length = across ? w : h;
        const int steps = std::clamp(s, 1, length);
        const double band = static_cast<double>(length) / steps;
        for (int i = 0; i < steps; ++i) {
            const int from = RoundEven(i * band);
            const int to = RoundEven((i + 1) * band);
            if (across)
                painter.fillRect(from, 0, to - from, h, colour(steps, i));
            else
                painter.fillRect(0, from, w, to - from, colour(steps, i));
        }
        break;
    }
    case grEllipse:
    case grPyramid:
    case grMount: {
        painter.fillRect(0, 0, w, h, ToQColor(c0));
        int steps = s;
        if (w / 2 < steps)
            steps = w / 2;
        if (h / 2 < steps)
            steps = h / 2;
        steps = std::max(steps, 1);
        const double xs = static_cast<double>(w) / steps / 2;
        const double ys = static_cast<double>(h) / steps / 2;
        for (int i = 0; i <= steps; ++i) {
            int l = RoundEven(i * xs);
            int t = RoundEven(i * ys);
            int r = w - l;
            int b = h - t;
            const QColor c = colour(steps, i);
            if (FStyle == grPyramid) {
                // Right and bottom edges excluded; an empty or inverted rectangle fills nothing.
                if (r > l && b > t)
                    painter.fillRect(l, t, r - l, b - t, c);
                continue;
            }
            // The centre shape of an odd size can come out inverted: draw it the right way round.
            if (l > r)
                std::swap(l, r);
            if (t > b)
                std::swap(t, b);
            if (r - l <= 1 || b - t <= 1) {
                if (r > l && b > t)
                    painter.fillRect(l, t, r - l, b - t, c);
                continue;
            }
            painter.setPen(c);
            painter.setBrush(c);
            // The outline's pixels lie inside (l, t, r, b): the pen covers right and bottom edges
            // one pixel beyond the rectangle it is given.
            const QRect shape(l, t, r - l - 1, b - t - 1);
            if (FStyle == grEllipse)
                painter.drawEllipse(shape);
            else
                painter.drawRoundedRect(shape, ((r - l) / 2) / 2.0, ((b - t) / 2) / 2.0, Qt::AbsoluteSize);
        }
        break;
    }
    }
}

void TGradient::Paint(QPainter& painter)
{
    if (FDestroying)
        return;
    const int w = width();
    const int h = height();
    if (w != FBufferWidth || h != FBufferHeight) {
        const TColor c0 = ColorToRGB(FStartColor);
        const TColor c1 = ColorToRGB(FEndColor);
        FBufferWidth = w;
        FBufferHeight = h;
        if (w == 0 || h == 0)
            return;
        // A handler may draw anything over the ramp, so it gets the whole area. Without one,
        // bands across the area are the same all along them: one line holds them all.
        FBufferIsLine = !OnPaint && (FStyle == grFilled || FStyle == grHorizontal || FStyle == grVertical);
        if (FBufferIsLine) {
            const int lineWidth = FStyle == grHorizontal ? w : 1;
            const int lineHeight = FStyle == grVertical ? h : 1;
            FBuffer = QImage(lineWidth, lineHeight, QImage::Format_RGB32);
            if (FBuffer.isNull())
                return;
            QPainter canvas(&FBuffer);
            DrawGradient(canvas, lineWidth, lineHeight, c0, c1);
        } else {
            // Three bytes a pixel hold every colour the ramp and OnPaint can put there, in a
            // quarter less memory than four, and copying them to the screen takes no longer.
            FBuffer = QImage(w, h, QImage::Format_RGB888);
            if (FBuffer.isNull())
                return;  // too large to hold: nothing to show
            QPainter canvas(&FBuffer);
            DrawGradient(canvas, w, h, c0, c1);
            canvas.setPen(Qt::black);
            canvas.setBrush(Qt::NoBrush);
            Fire(OnPaint, this, &canvas);
        }
    }
    if (w <= 0 || h <= 0 || FBuffer.isNull())
        return;
    if (FBufferIsLine) {
        if (FExposed.isEmpty()) {
            PaintLine(painter, rect());
        } else {
            // A region is kept as rows of rectangles; one fill across each row is enough, since
            // the paint's own clip keeps out what lies between them.
            QRect row;
            for (const QRect& part : FExposed) {
                if (row.isValid() && (part.top() != row.top() || part.bottom() != row.bottom())) {
                    PaintLine(painter, row & rect());
                    row = QRect();
                }
                row = row.isValid() ? row.united(part) : part;
            }
            if (row.isValid())
                PaintLine(painter, row & rect());
        }
    } else {
        painter.drawImage(0, 0, FBuffer);
    }
}

// Each run of equal pixels of the line becomes one solid rectangle across the exposed part:
// the pixels are those of the line, and only the bands a repaint reaches are filled.
void TGradient::PaintLine(QPainter& painter, const QRect& exposed) const
{
    if (exposed.isEmpty())
        return;
    const bool across = FBuffer.height() == 1;  // one row: the bands follow each other across
    const int from = across ? exposed.left() : exposed.top();
    const int to = (across ? exposed.right() : exposed.bottom()) + 1;
    auto pixel = [&](int at) {
        return across ? FBuffer.pixel(std::min(at, FBuffer.width() - 1), 0) : FBuffer.pixel(0, at);
    };
    int start = from;
    QRgb colour = pixel(from);
    for (int at = from + 1; at <= to; ++at) {
        const QRgb next = at < to ? pixel(at) : ~colour;
        if (next == colour)
            continue;
        if (across)
            painter.fillRect(start, exposed.top(), at - start, exposed.height(), QColor(colour));
        else
            painter.fillRect(exposed.left(), start, exposed.width(), at - start, QColor(colour));
        start = at;
        colour = next;
    }
}

void TGradient::paintEvent(QPaintEvent* event)
{
    QPainter painter(this);
    FExposed = event->region();
    Paint(painter);
    FExposed = QRegion();
}
