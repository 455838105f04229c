#include "CaptionPanel.h"

#include "SystemMetrics.h"

#include <QFontMetrics>
#include <QMouseEvent>
#include <QPaintEvent>
#include <QPainter>
#include <algorithm>

namespace {

// A caption button is sized from the desktop's caption height, never from CaptionHeight.
constexpr int kButtonWidthPx = SystemMetrics::kCaptionHeightPx - 3;
constexpr int kButtonHeightPx = SystemMetrics::kCaptionHeightPx - 5;

// The order of the buttons along the bar: restore comes before minimise.
constexpr std::array<TCapBtnStyle, 5> kPlacementOrder{capClose, capMax, capRestore, capMin, capHelp};

// A text without line breaks or tabs, which a plain drawing at a point shows exactly as the
// formatted drawing in a rectangle does.
bool IsOneLine(const QString& text)
{
    for (const QChar c : text)
        if (c == u'\n' || c == u'\r' || c == u'\t' || c == QChar::LineSeparator || c == QChar::ParagraphSeparator)
            return false;
    return true;
}

void Line(QPainter& p, int x, int y, int w, int h, const QColor& c)
{
    if (w > 0 && h > 0)
        p.fillRect(x, y, w, h, c);
}

// A window outline with a thick title edge, as on the maximise and restore glyphs.
void WindowGlyph(QPainter& p, const QRect& r, const QColor& c)
{
    Line(p, r.x(), r.y(), r.width(), 2, c);
    Line(p, r.x(), r.y(), 1, r.height(), c);
    Line(p, r.x() + r.width() - 1, r.y(), 1, r.height(), c);
    Line(p, r.x(), r.y() + r.height() - 1, r.width(), 1, c);
}

void DrawGlyph(QPainter& p, const QRect& box, TCapBtnStyle style, const QColor& c)
{
    const int x = box.x(), y = box.y(), s = box.width();
    switch (style) {
    case capClose:
        for (int i = 0; i < s; ++i) {
            Line(p, x + i, y + i, 2, 1, c);
            Line(p, x + s - 1 - i, y + i, 2, 1, c);
        }
        break;
    case capMax:
        WindowGlyph(p, QRect(x, y, s + 1, s), c);
        break;
    case capMin:
        Line(p, x + 1, y + s - 2, std::max(2, s - 3), 2, c);
        break;
    case capRestore: {
        const int w = std::max(3, s - 3);
        WindowGlyph(p, QRect(x + 3, y, w, w - 1), c);
        Line(p, x + 1, y + 4, w - 2, w - 3, ToQColor(clBtnFace));
        WindowGlyph(p, QRect(x, y + 3, w, w), c);
        break;
    }
    case capHelp: {
        QFont font(QStringLiteral("Liberation Sans"));
        font.setBold(true);
        font.setPixelSize(std::max(6, s + 3));
        p.setFont(font);
        p.setPen(c);
        p.drawText(QRect(x - 2, y - 2, s + 4, s + 4), Qt::AlignCenter, QStringLiteral("?"));
        break;
    }
    }
}

// Two rings of a 3-D edge just inside `r`.
void Edge(QPainter& p, const QRect& r, TColor outerTL, TColor outerBR, TColor innerTL, TColor innerBR)
{
    auto ring = [&](const QRect& q, TColor tl, TColor br) {
        Line(p, q.x(), q.y(), q.width(), 1, ToQColor(tl));
        Line(p, q.x(), q.y(), 1, q.height(), ToQColor(tl));
        Line(p, q.x(), q.y() + q.height() - 1, q.width(), 1, ToQColor(br));
        Line(p, q.x() + q.width() - 1, q.y(), 1, q.height(), ToQColor(br));
    };
    ring(r, outerTL, outerBR);
    ring(r.adjusted(1, 1, -1, -1), innerTL, innerBR);
}

} // namespace

// ---- TCapBtn ----

TCapBtn::TCapBtn(TCaptionPanel* owner)
    : TExGraphicControl(owner)
    , FOwner(owner)
{
    hide();
    resize(kButtonWidthPx, kButtonHeightPx);
}

void TCapBtn::SetStyle(TCapBtnStyle style)
{
    if (style == FStyle)
        return;
    FStyle = style;
    repaint();
}

void TCapBtn::SetFlat(bool flat)
{
    if (flat == FFlat)
        return;
    FFlat = flat;
    repaint();
}

void TCapBtn::DrawFace(QPainter& painter, const QRect& rect, TCapBtnStyle style, bool enabled, bool pushed,
                       bool flat)
{
    painter.fillRect(rect, ToQColor(clBtnFace));
    if (!flat && rect.width() > 4 && rect.height() > 4) {
        if (pushed)
            Edge(painter, rect, cl3DDkShadow, clBtnHighlight, clBtnShadow, cl3DLight);
        else
            Edge(painter, rect, cl3DLight, cl3DDkShadow, clBtnHighlight, clBtnShadow);
    }
    const int size = std::max(3, std::min(rect.width(), rect.height()) - 9);
    QRect box(rect.x() + (rect.width() - size) / 2, rect.y() + (rect.height() - size) / 2, size, size);
    if (pushed)
        box.translate(1, 1);
    if (enabled) {
        DrawGlyph(painter, box, style, ToQColor(clBtnText));
    } else {
        DrawGlyph(painter, box.translated(1, 1), style, ToQColor(clBtnHighlight));
        DrawGlyph(painter, box, style, ToQColor(clBtnShadow));
    }
}

void TCapBtn::paintEvent(QPaintEvent*)
{
    QPainter painter(this);
    const bool pushed = FDown && FMouseDown;
    DrawFace(painter, rect(), FStyle, isEnabled(), isEnabled() && pushed, FFlat);
    if (!FFlat)
        return;
    TColor topLeft = clBtnFace, bottomRight = clBtnFace;
    if (pushed) {
        topLeft = clBtnShadow;
        bottomRight = clBtnHighlight;
    } else if (FOver) {
        topLeft = clBtnHighlight;
        bottomRight = clBtnShadow;
    }
    const int w = width(), h = height();
    Line(painter, 0, 0, w, 1, ToQColor(topLeft));
    Line(painter, 0, 0, 1, h, ToQColor(topLeft));
    Line(painter, 0, h - 1, w, 1, ToQColor(bottomRight));
    Line(painter, w - 1, 0, 1, h, ToQColor(bottomRight));
}

void TCapBtn::MouseEnter()
{
    TExGraphicControl::MouseEnter();
    if (FOver)
        return;
    FOver = true;
    if (FFlat)
        repaint();
}

void TCapBtn::MouseLeave()
{
    TExGraphicControl::MouseLeave();
    if (!FOver)
        return;
    FOver = false;
    if (FFlat)
        repaint();
}

void TCapBtn::mousePressEvent(QMouseEvent* event)
{
    TExGraphicControl::mousePressEvent(event);
    event->accept();  // the press is the button's: the panel must not take it for a drag
    if (!isEnabled())
        return;
    if (event->button() == Qt::LeftButton)
        FClickArmed = true;
    if (FMouseDown)
        return;
    FMouseDown = true;
    FDown = true;
    repaint();
}

void TCapBtn::mouseMoveEvent(QMouseEvent* event)
{
    TExGraphicControl::mouseMoveEvent(event);
    if (!FMouseDown)
        return;
    const bool inside = rect().contains(event->position().toPoint());
    if (inside == FOver && inside == FDown)
        return;
    FOver = inside;
    FDown = inside;
    repaint();
}

void TCapBtn::mouseReleaseEvent(QMouseEvent* event)
{
    TExGraphicControl::mouseReleaseEvent(event);
    if (!isEnabled())
        return;
    // A left click, pressed and released on the button, is reported before the button
    // takes its raised look again.
    if (event->button() == Qt::LeftButton) {
        const bool click = FClickArmed && rect().contains(event->position().toPoint());
        FClickArmed = false;
        if (click)
            Click();
    }
    if (FMouseDown) {
        FMouseDown = false;
        FDown = false;
        repaint();
    }
}

void TCapBtn::Click()
{
    if (FOwner)
        FOwner->NotifyButtonClick(FStyle);
}

// ---- TCaptionPanel ----

TCaptionPanel::TCaptionPanel(QWidget* owner)
    : TBasePanel(owner)
{
    FCaptionFont = font();
    FCaptionFont.setPointSize(kDefaultCaptionFontPt);
    FCaptionFont.setBold(true);
    FCaptionFontColor = clWhite;

    FCaptionPosition = dpLeft;
    FAutoDrag = true;
    FOffset = kCaptionTextOffsetPx;
    FCaptionColor = clActiveCaption;
    FFlat = false;

    for (TCapBtnStyle kind : {capClose, capMax, capMin, capRestore, capHelp}) {
        auto* button = new TCapBtn(this);
        button->SetStyle(kind);
        button->SetFlat(FFlat);
        FButtonArray[kind] = button;
    }

    FButtons = {};
    FCaptionOffsetSmall = 2;
    FCaptionOffsetLarge = 3;
    FOutlookLook = false;
    FResizable = true;
    setMouseTracking(true);  // the sizing frame shows its cursor
    SetBorderStyle(bsSingle);
    RecreateFrame();
}

TCaptionPanel::~TCaptionPanel() = default;

void TCaptionPanel::SetButtons(TCapBtnStyles buttons)
{
    if (buttons == FButtons)
        return;
    FButtons = buttons;
    PlaceButtons();
    update();
}

void TCaptionPanel::SetCaption(const QString& caption)
{
    FCaption = caption;
    FCaptionTextReady = false;
    update();
}

void TCaptionPanel::SetCaptionColor(TColor color)
{
    if (color == FCaptionColor)
        return;
    FCaptionColor = color;
    // Only the bar changes. The caption buttons cover their part of it with their own face,
    // which does not depend on the bar's colour: they need no repaint either.
    QRegion bar(CaptionBarRect().ToQRect().translated(ClientOrigin()));
    for (const TCapBtn* button : FButtonArray)
        if (button->isVisibleTo(this))
            bar -= button->geometry();
    update(bar);
}

void TCaptionPanel::SetCaptionFont(const QFont& font, TColor color)
{
    FCaptionFont = font;
    FCaptionFontColor = color;
    FCaptionTextReady = false;
    update();
}

void TCaptionPanel::SetCaptionHeight(int height)
{
    if (height == FCaptionHeight)
        return;
    FCaptionHeight = height;
    update();
    Realign();
}

void TCaptionPanel::SetCaptionPosition(TDrawPosition position)
{
    if (position == FCaptionPosition)
        return;
    FCaptionPosition = position;
    RecreateFrame();
}

void TCaptionPanel::SetFlatButtons(bool flat)
{
    if (flat == FFlat)
        return;
    FFlat = flat;
    for (TCapBtn* button : FButtonArray)
        button->SetFlat(flat);
    PlaceButtons();
    update();
}

void TCaptionPanel::SetIcon(const QIcon& icon)
{
    FIcon = icon;
    update();
}

void TCaptionPanel::SetOutlookLook(bool on)
{
    FOutlookLook = on;
    FCaptionOffsetSmall = on ? 0 : 2;
    FCaptionOffsetLarge = on ? 0 : 3;
    update();
    // The child area depends on the offset: place the children now rather than leave them
    // where the old offset put them until something else realigns the panel.
    Realign();
}

void TCaptionPanel::SetResizable(bool on)
{
    if (on == FResizable)
        return;
    FResizable = on;
    setMouseTracking(on);
    RecreateFrame();
}

int TCaptionPanel::CaptionHeightPx() const
{
    return FCaptionHeight != 0 ? FCaptionHeight : SystemMetrics::kCaptionHeightPx;
}

int TCaptionPanel::FrameWidth() const
{
    if (BorderStyle() != bsSingle)
        return 0;
    return FResizable ? SystemMetrics::kSizingFrameWidthPx : SystemMetrics::kDialogFrameWidthPx;
}

void TCaptionPanel::AdjustClientRect(TRect& rect) const
{
    const long long room = static_cast<long long>(CaptionHeightPx()) + FCaptionOffsetSmall;
    switch (FCaptionPosition) {
    case dpLeft: rect = MakeRect(rect.Left + room, rect.Top, rect.Right, rect.Bottom); break;
    case dpTop: rect = MakeRect(rect.Left, rect.Top + room, rect.Right, rect.Bottom); break;
    case dpRight: rect = MakeRect(rect.Left, rect.Top, rect.Right - room, rect.Bottom); break;
    case dpBottom: rect = MakeRect(rect.Left, rect.Top, rect.Right, rect.Bottom - room); break;
    }
    TBasePanel::AdjustClientRect(rect);
}

TRect TCaptionPanel::CaptionBarRect() const
{
    const long long w = ClientWidth();
    const long long h = ClientHeight();
    const long long b = FCaptionOffsetSmall;
    long long bar = CaptionHeightPx();
    if (FOutlookLook) {
        bar -= FCaptionPosition == dpLeft ? 3 : FCaptionPosition == dpRight ? 4 : 5;
        if (FFlat)
            bar += 1;
    }
    switch (FCaptionPosition) {
    case dpLeft: return MakeRect(b, b, b + bar, h - b);
    case dpTop: return MakeRect(b, b, w - b, b + bar);
    case dpRight: return MakeRect(w - bar - b, b, w - b, h - b);
    case dpBottom: return MakeRect(b, h - bar - b, w - b, h - b);
    }
    return {};
}

TRect TCaptionPanel::ButtonRect(TCapBtnStyle kind) const
{
    const QPoint origin = ClientOrigin();
    return TRect::FromQRect(FButtonArray[kind]->geometry()).Translated(-origin.x(), -origin.y());
}

void TCaptionPanel::ChildrenRealigned()
{
    PlaceButtons();
}

void TCaptionPanel::PlaceButtons()
{
    const TRect bar = CaptionBarRect();
    const long long sw = kButtonWidthPx + (FFlat ? 1 : 0);
    const long long sh = kButtonHeightPx + (FFlat ? 1 : 0);
    const long long s = FCaptionOffsetSmall;
    const long long l = FCaptionOffsetLarge;
    long long x = 0, y = 0;
    switch (FCaptionPosition) {
    case dpTop:
    case dpBottom:
        x = bar.Right - sw - s;
        y = static_cast<long long>(bar.Top) + l;
        break;
    case dpLeft:
        x = static_cast<long long>(bar.Left) + s;
        y = static_cast<long long>(bar.Top) + s;
        break;
    case dpRight:
        x = static_cast<long long>(bar.Left) + s;
        y = bar.Bottom - sh - s;
        break;
    }
    const QPoint origin = ClientOrigin();
    for (TCapBtnStyle kind : kPlacementOrder) {
        TCapBtn* button = FButtonArray[kind];
        if (!FButtons.Contains(kind)) {
            button->hide();
            continue;
        }
        const QRect place(ClampCoord(x + origin.x()), ClampCoord(y + origin.y()), kButtonWidthPx, kButtonHeightPx);
        if (button->geometry() != place)
            button->setGeometry(place);
        button->show();
        const long long extra = kind == capClose ? s : 0;
        switch (FCaptionPosition) {
        case dpTop:
        case dpBottom: x -= sw + extra; break;
        case dpLeft: y += sh + extra; break;
        case dpRight: y -= sh + extra; break;
        }
    }
}

QSize TCaptionPanel::IconSize(int barHeight) const
{
    const QList<QSize> sizes = FIcon.availableSizes();
    if (sizes.isEmpty())
        return FIcon.actualSize(QSize(32, 32));
    QSize best;
    QSize smallest = sizes.front();
    for (const QSize& size : sizes) {
        if (size.height() < smallest.height())
            smallest = size;
        if (size.height() <= barHeight && size.height() > best.height())
            best = size;
    }
    return best.isValid() && !best.isEmpty() ? best : smallest;
}

void TCaptionPanel::Paint(QPainter& painter)
{
    painter.fillRect(ClientRect().ToQRect(), ToQColor(Color()));
    FBevel = FCaptionOffsetSmall;
    const TRect bar = CaptionBarRect();
    FCaptionRect = bar;

    const bool across = FCaptionPosition == dpTop || FCaptionPosition == dpBottom;
    const bool hasIcon = !FIcon.isNull();
    QSize icon;
    QPoint iconAt;
    if (hasIcon) {
        icon = IconSize(across ? bar.Height() : bar.Width());
        const long long iw = icon.width(), ih = icon.height();
        long long x = 0, y = 0;
        switch (FCaptionPosition) {
        case dpLeft:
            x = (static_cast<long long>(bar.Left) + bar.Right - iw) / 2;
            y = bar.Bottom - 1 - ih;
            break;
        case dpRight:
            x = (static_cast<long long>(bar.Left) + bar.Right - iw) / 2;
            y = static_cast<long long>(bar.Top) + 1;
            break;
        case dpTop:
        case dpBottom:
            x = static_cast<long long>(bar.Left) + 1;
            y = (static_cast<long long>(bar.Top) + bar.Bottom - ih) / 2;
            break;
        }
        iconAt = QPoint(ClampCoord(x), ClampCoord(y));
    }
    const bool hasText = !FCaption.isEmpty();
    const TCaptionTextPlace text = hasText ? CaptionTextPlace(bar, hasIcon, icon) : TCaptionTextPlace{};

    // A repaint that reaches neither the bar nor what overhangs it (a label or a lamp below it)
    // skips the icon and the caption text, which the clip would throw away anyway.
    if (FInPaintEvent) {
        QRect reach = bar.ToQRect();
        if (hasIcon)
            reach |= QRect(iconAt, icon);
        if (hasText)
            reach |= text.Clip.ToQRect();
        if (!FPaintRegion.intersects(reach.translated(ClientOrigin())))
            return;
    }

    painter.fillRect(bar.ToQRect(), ToQColor(FCaptionColor));
    if (hasIcon)
        painter.drawPixmap(iconAt, FIcon.pixmap(icon));
    if (hasText)
        DrawCaptionText(painter, text);
}

TCaptionPanel::TCaptionTextPlace TCaptionPanel::CaptionTextPlace(TRect bar, bool hasIcon, QSize icon) const
{
    const QFontMetrics metrics(FCaptionFont);
    const long long th = metrics.height();
    long long dy = (static_cast<long long>(bar.Height()) - th) / 2;
    long long dx = (static_cast<long long>(bar.Width()) - th) / 2;
    if (FOutlookLook) {
        --dy;
        --dx;
    }
    long long l = bar.Left, t = bar.Top, r = bar.Right, b = bar.Bottom;
    TCaptionTextPlace place;
    switch (FCaptionPosition) {
    case dpTop:
    case dpBottom:
        l += FOffset;
        r += FOffset;
        t += dy;
        b += dy;
        if (hasIcon)
            l += icon.width() + 2;
        place.Start = QPoint(ClampCoord(l), ClampCoord(t));
        break;
    case dpLeft:
        if (hasIcon)
            b -= icon.height() + 2;
        place.Start = QPoint(ClampCoord(l + dx), ClampCoord(b - FOffset));
        place.Angle = -90;  // reads upward
        break;
    case dpRight:
        if (hasIcon)
            t += icon.height() + 2;
        place.Start = QPoint(ClampCoord(r - dx), ClampCoord(t + FOffset));
        place.Angle = 90;  // reads downward
        break;
    }
    place.Clip = MakeRect(l, t, r, b);
    return place;
}

void TCaptionPanel::DrawCaptionText(QPainter& painter, const TCaptionTextPlace& place)
{
    if (place.Clip.Width() <= 0 || place.Clip.Height() <= 0)
        return;
    painter.save();
    painter.setClipRect(place.Clip.ToQRect(), Qt::IntersectClip);
    painter.translate(place.Start);
    painter.rotate(place.Angle);
    painter.setFont(FCaptionFont);
    painter.setPen(ToQColor(FCaptionFontColor));
    if (place.Angle == 0 && IsOneLine(FCaption)) {
        // The same glyphs at the same place as the formatted drawing below, laid out once for
        // as long as the caption and its font stay.
        if (!FCaptionTextReady) {
            FCaptionText.setText(FCaption);
            FCaptionText.setTextFormat(Qt::PlainText);
            FCaptionText.prepare(QTransform(), FCaptionFont);
            FCaptionTextReady = true;
        }
        painter.drawStaticText(0, 0, FCaptionText);
    } else {
        constexpr int kRoomPx = 1 << 15;
        painter.drawText(QRect(0, 0, kRoomPx, kRoomPx), Qt::AlignLeft | Qt::AlignTop | Qt::TextDontClip, FCaption);
    }
    painter.restore();
}

void TCaptionPanel::PaintFrame(QPainter& painter)
{
    const int frame = ClientOrigin().x();
    if (frame <= 0)
        return;
    // A raised frame: a light outer edge over a dark one, then the face colour.
    TRect rect = TRect::FromQRect(QWidget::rect());
    Frame3D(painter, rect, cl3DLight, cl3DDkShadow, 1);
    Frame3D(painter, rect, clBtnHighlight, clBtnShadow, 1);
    Frame3D(painter, rect, clBtnFace, clBtnFace, frame - 2);
}

void TCaptionPanel::NotifyButtonClick(TCapBtnStyle button)
{
    Fire(OnButtonClick, this, button);
}

bool TCaptionPanel::MayStartAutoDrag()
{
    bool allow = GetAlign(this) == alNone;
    Fire(OnStartAutoDrag, this, allow);
    return allow;
}

void TCaptionPanel::NotifyAutoDragEnd()
{
    Fire(OnEndAutoDrag, this);
}

int TCaptionPanel::SizingEdges(QPoint at) const
{
    if (!FResizable || BorderStyle() != bsSingle)
        return 0;
    const int frame = ClientOrigin().x();
    int edges = 0;
    if (at.x() < frame)
        edges |= 1;
    if (at.y() < frame)
        edges |= 2;
    if (at.x() >= width() - frame)
        edges |= 4;
    if (at.y() >= height() - frame)
        edges |= 8;
    return edges;
}

void TCaptionPanel::mousePressEvent(QMouseEvent* event)
{
    TBasePanel::mousePressEvent(event);
    const QPoint at = event->position().toPoint();
    if (event->button() == Qt::LeftButton) {
        if (const int edges = SizingEdges(at)) {
            FSizingEdges = edges;
            FSizingFrom = event->globalPosition().toPoint();
            FSizingStart = geometry();
            return;
        }
    }
    const QPoint client = at - ClientOrigin();
    if (FDragging || !FCaptionRect.Contains(client.x(), client.y()) || !FAutoDrag || !MayStartAutoDrag())
        return;
    raise();
    FDragging = true;
    grabMouse();
    FAnchorPos = client;
}

void TCaptionPanel::mouseMoveEvent(QMouseEvent* event)
{
    TBasePanel::mouseMoveEvent(event);
    const QPoint at = event->position().toPoint();
    if (FSizingEdges != 0) {
        const QPoint d = event->globalPosition().toPoint() - FSizingFrom;
        QRect g = FSizingStart;
        const int least = 2 * ClientOrigin().x();
        if (FSizingEdges & 1)
            g.setLeft(std::min(g.left() + d.x(), g.right() + 1 - least));
        if (FSizingEdges & 2)
            g.setTop(std::min(g.top() + d.y(), g.bottom() + 1 - least));
        if (FSizingEdges & 4)
            g.setRight(std::max(g.right() + d.x(), g.left() + least - 1));
        if (FSizingEdges & 8)
            g.setBottom(std::max(g.bottom() + d.y(), g.top() + least - 1));
        setGeometry(g);
        return;
    }
    if (FDragging) {
        const QPoint client = at - ClientOrigin();
        move(x() + client.x() - FAnchorPos.x(), y() + client.y() - FAnchorPos.y());
        return;
    }
    const int edges = SizingEdges(at);
    const bool horizontal = edges & (1 | 4);
    const bool vertical = edges & (2 | 8);
    if (edges == (1 | 2) || edges == (4 | 8))
        setCursor(Qt::SizeFDiagCursor);
    else if (edges == (4 | 2) || edges == (1 | 8))
        setCursor(Qt::SizeBDiagCursor);
    else if (horizontal)
        setCursor(Qt::SizeHorCursor);
    else if (vertical)
        setCursor(Qt::SizeVerCursor);
    else
        unsetCursor();
}

void TCaptionPanel::mouseReleaseEvent(QMouseEvent* event)
{
    TBasePanel::mouseReleaseEvent(event);
    FSizingEdges = 0;
    if (FDragging) {
        releaseMouse();
        NotifyAutoDragEnd();
    }
    FDragging = false;
}

void TCaptionPanel::paintEvent(QPaintEvent* event)
{
    FPaintRegion = event->region();
    FInPaintEvent = true;
    TBasePanel::paintEvent(event);
    FInPaintEvent = false;
}

void TCaptionPanel::resizeEvent(QResizeEvent* event)
{
    TBasePanel::resizeEvent(event);
    repaint();
}
