#include "ExPanel.h"

#include "SystemMetrics.h"

#include <QChildEvent>
#include <QPainter>
#include <QResizeEvent>
#include <algorithm>

namespace {
constexpr int kDefaultPanelWidthPx = 185;
constexpr int kDefaultPanelHeightPx = 41;
} // namespace

TExCustomPanel::TExCustomPanel(QWidget* parent)
    : QWidget(parent)
{
    setAutoFillBackground(false);
    // The frame and the client area's fill cover every pixel: Qt need not paint what lies
    // behind the panel first.
    setAttribute(Qt::WA_OpaquePaintEvent, !FParentBackground);
    resize(kDefaultPanelWidthPx, kDefaultPanelHeightPx);
}

void TExCustomPanel::SetColor(TColor color)
{
    if (color == FColor)
        return;
    FColor = color;
    update();
}

void TExCustomPanel::SetParentBackground(bool on)
{
    if (on == FParentBackground)
        return;
    FParentBackground = on;
    setAttribute(Qt::WA_OpaquePaintEvent, !on);
    update();
}

void TExCustomPanel::SetBevelOuter(TPanelBevel bevel)
{
    if (bevel == FBevelOuter)
        return;
    FBevelOuter = bevel;
    Realign();
    update();
}

void TExCustomPanel::SetBevelInner(TPanelBevel bevel)
{
    if (bevel == FBevelInner)
        return;
    FBevelInner = bevel;
    Realign();
    update();
}

void TExCustomPanel::SetBevelWidth(int width)
{
    width = std::clamp(width, 1, kCoordLimit);
    if (width == FBevelWidth)
        return;
    FBevelWidth = width;
    Realign();
    update();
}

void TExCustomPanel::SetBorderWidth(int width)
{
    width = std::clamp(width, 0, kCoordLimit);
    if (width == FBorderWidth)
        return;
    FBorderWidth = width;
    Realign();
    update();
}

void TExCustomPanel::SetBorderStyle(TBorderStyle style)
{
    if (style == FBorderStyle)
        return;
    FBorderStyle = style;
    RecreateFrame();
}

void TExCustomPanel::SetPadding(TMargins padding)
{
    if (padding == FPadding)
        return;
    FPadding = padding;
    Realign();
}

TRect TExCustomPanel::ClientRect() const
{
    return MakeRect(0, 0, static_cast<long long>(width()) - 2LL * FFrameWidth,
                    static_cast<long long>(height()) - 2LL * FFrameWidth);
}

TRect TExCustomPanel::AlignRect() const
{
    TRect rect = ClientRect();
    AdjustClientRect(rect);
    return rect;
}

void TExCustomPanel::AdjustClientRect(TRect& rect) const
{
    long long inset = FBorderWidth;
    if (FBevelOuter != bvNone)
        inset += FBevelWidth;
    if (FBevelInner != bvNone)
        inset += FBevelWidth;
    rect = MakeRect(static_cast<long long>(rect.Left) + FPadding.Left + inset,
                    static_cast<long long>(rect.Top) + FPadding.Top + inset,
                    static_cast<long long>(rect.Right) - FPadding.Right - inset,
                    static_cast<long long>(rect.Bottom) - FPadding.Bottom - inset);
}

void TExCustomPanel::Realign()
{
    if (FAligning)
        return;
    FAligning = true;
    AlignChildren(this, AlignRect().Translated(FFrameWidth, FFrameWidth));
    ChildrenRealigned();
    FAligning = false;
}

int TExCustomPanel::FrameWidth() const
{
    return FBorderStyle == bsSingle ? SystemMetrics::kClientEdgeWidthPx : 0;
}

void TExCustomPanel::RecreateFrame()
{
    FFrameWidth = std::max(0, FrameWidth());
    setContentsMargins(FFrameWidth, FFrameWidth, FFrameWidth, FFrameWidth);
    Realign();
    update();
}

void TExCustomPanel::Frame3D(QPainter& painter, TRect& rect, TColor topLeft, TColor bottomRight, int width)
{
    const QColor tl = ToQColor(topLeft);
    const QColor br = ToQColor(bottomRight);
    for (int i = 0; i < width && rect.Width() > 0 && rect.Height() > 0; ++i) {
        const int w = rect.Width();
        const int h = rect.Height();
        painter.fillRect(rect.Left, rect.Top, w, 1, tl);
        painter.fillRect(rect.Left, rect.Top, 1, h, tl);
        painter.fillRect(rect.Left, rect.Bottom - 1, w, 1, br);
        painter.fillRect(rect.Right - 1, rect.Top, 1, h, br);
        rect = {rect.Left + 1, rect.Top + 1, rect.Right - 1, rect.Bottom - 1};
    }
}

void TExCustomPanel::Paint(QPainter& painter)
{
    TRect rect = ClientRect();
    if (!FParentBackground)
        painter.fillRect(rect.ToQRect(), ToQColor(FColor));
    auto bevel = [&](TPanelBevel kind) {
        if (kind == bvNone)
            return;
        if (kind == bvSpace) {
            Frame3D(painter, rect, FColor, FColor, FBevelWidth);
            return;
        }
        const bool raised = kind == bvRaised;
        Frame3D(painter, rect, raised ? clBtnHighlight : clBtnShadow, raised ? clBtnShadow : clBtnHighlight,
                FBevelWidth);
    };
    bevel(FBevelOuter);
    if (!FParentBackground)
        Frame3D(painter, rect, FColor, FColor, FBorderWidth);
    else
        rect = {rect.Left + FBorderWidth, rect.Top + FBorderWidth, rect.Right - FBorderWidth, rect.Bottom - FBorderWidth};
    bevel(FBevelInner);
}

void TExCustomPanel::PaintFrame(QPainter& painter)
{
    if (FFrameWidth <= 0)
        return;
    // The sunken client edge of a plain panel.
    TRect rect = TRect::FromQRect(QWidget::rect());
    Frame3D(painter, rect, clBtnShadow, clBtnHighlight, 1);
    Frame3D(painter, rect, cl3DDkShadow, cl3DLight, FFrameWidth - 1);
}

void TExCustomPanel::paintEvent(QPaintEvent*)
{
    QPainter painter(this);
    PaintFrame(painter);
    painter.save();
    painter.translate(ClientOrigin());
    painter.setClipRect(ClientRect().ToQRect());
    Paint(painter);
    painter.restore();
}

void TExCustomPanel::resizeEvent(QResizeEvent* event)
{
    QWidget::resizeEvent(event);
    Realign();
    Fire(OnResize, this);
}

bool TExCustomPanel::event(QEvent* event)
{
    switch (event->type()) {
    case QEvent::LayoutRequest:
        Realign();
        return true;
    case QEvent::ChildAdded:
        if (auto* child = qobject_cast<QWidget*>(static_cast<QChildEvent*>(event)->child()))
            child->installEventFilter(this);
        break;
    case QEvent::ChildRemoved:
        if (auto* child = qobject_cast<QWidget*>(static_cast<QChildEvent*>(event)->child())) {
            child->removeEventFilter(this);
            Realign();
        }
        break;
    default:
        break;
    }
    return QWidget::event(event);
}

bool TExCustomPanel::eventFilter(QObject* watched, QEvent* event)
{
    // A child that moves, changes its size or shows or hides itself is placed again with its
    // aligned siblings.
    switch (event->type()) {
    case QEvent::Move:
    case QEvent::Resize:
    case QEvent::Show:
    case QEvent::Hide:
        if (watched->parent() == this && !FAligning)
            Realign();
        break;
    default:
        break;
    }
    return QWidget::eventFilter(watched, event);
}
