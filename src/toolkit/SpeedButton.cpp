#include "SpeedButton.h"

#include "PainterLines.h"

#include <QEvent>
#include <QMouseEvent>
#include <QPainter>
#include <QStyle>

int TImageList::Add(const QPixmap& picture)
{
    FImages.push_back(picture.size() == FSize ? picture : picture.scaled(FSize));
    return Count() - 1;
}

QPixmap TImageList::Image(int index) const
{
    if (index < 0 || index >= Count())
        return {};
    return FImages[index];
}

TSpeedButton::TSpeedButton(QWidget* parent)
    : TExGraphicControl(parent)
{
    resize(23, 22);
}

void TSpeedButton::SetCaption(const QString& caption)
{
    if (caption == FCaption)
        return;
    FCaption = caption;
    update();
}

void TSpeedButton::SetCaptionColor(TColor color)
{
    if (color == FCaptionColor)
        return;
    FCaptionColor = color;
    update();
}

void TSpeedButton::SetStyle(TButtonStyle style)
{
    if (style == FStyle)
        return;
    FStyle = style;
    update();
}

void TSpeedButton::SetFlat(bool flat)
{
    if (flat == FFlat)
        return;
    FFlat = flat;
    update();
}

void TSpeedButton::SetGlyph(const QPixmap& glyph)
{
    FGlyph = glyph;
    update();
}

void TSpeedButton::SetPressed(bool pressed)
{
    if (pressed == FPressed)
        return;
    FPressed = pressed;
    update();
}

void TSpeedButton::CancelMode()
{
    FTracking = false;
    SetPressed(false);
}

void TSpeedButton::Click()
{
    Fire(OnClick, this);
}

void TSpeedButton::paintEvent(QPaintEvent*)
{
    QPainter painter(this);
    Paint(painter);
}

void TSpeedButton::Paint(QPainter& painter)
{
    QRect content = PaintFace(painter, FStyle == bsAutoDetect ? bsNew : FStyle, FPressed);
    if (FPressed)
        content.translate(1, 1);
    PaintContent(painter, content);
}

QRect TSpeedButton::PaintFace(QPainter& painter, TButtonStyle style, bool pressed)
{
    const int w = width(), h = height();
    painter.fillRect(rect(), ToQColor(clBtnFace));
    auto edge = [&](int inset, TColor topLeft, TColor bottomRight) {
        const int l = inset, t = inset, r = w - 1 - inset, b = h - 1 - inset;
        if (r < l || b < t)
            return;
        painter.setPen(ToQColor(topLeft));
        DrawAxisLine(painter, l, t, r - 1, t);
        DrawAxisLine(painter, l, t, l, b - 1);
        painter.setPen(ToQColor(bottomRight));
        DrawAxisLine(painter, l, b, r, b);
        DrawAxisLine(painter, r, t, r, b);
    };

    if (FFlat) {
        if (pressed)
            edge(0, clBtnShadow, clBtnHighlight);
        return rect().adjusted(1, 1, -1, -1);
    }
    if (style == bsWin31) {
        // A black outline without its corner pixels, then a thin bevel inside.
        painter.setPen(ToQColor(clWindowFrame));
        DrawAxisLine(painter, 1, 0, w - 2, 0);
        DrawAxisLine(painter, 1, h - 1, w - 2, h - 1);
        DrawAxisLine(painter, 0, 1, 0, h - 2);
        DrawAxisLine(painter, w - 1, 1, w - 1, h - 2);
        if (pressed) {
            painter.setPen(ToQColor(clBtnShadow));
            DrawAxisLine(painter, 1, 1, w - 2, 1);
            DrawAxisLine(painter, 1, 1, 1, h - 2);
        } else {
            edge(1, clBtnHighlight, clBtnShadow);
            painter.setPen(ToQColor(clBtnShadow));
            DrawAxisLine(painter, 2, h - 3, w - 3, h - 3);
            DrawAxisLine(painter, w - 3, 2, w - 3, h - 3);
        }
        return rect().adjusted(2, 2, -2, -2);
    }
    if (pressed) {
        edge(0, cl3DDkShadow, clBtnHighlight);
        edge(1, clBtnShadow, cl3DLight);
    } else {
        edge(0, clBtnHighlight, cl3DDkShadow);
        edge(1, cl3DLight, clBtnShadow);
    }
    return rect().adjusted(2, 2, -2, -2);
}

void TSpeedButton::PaintContent(QPainter& painter, const QRect& content)
{
    if (!FGlyph.isNull()) {
        const QPoint at(content.left() + (content.width() - FGlyph.width()) / 2,
                        content.top() + (content.height() - FGlyph.height()) / 2);
        if (isEnabled())
            painter.drawPixmap(at, FGlyph);
        else
            painter.drawPixmap(at, style()->generatedIconPixmap(QIcon::Disabled, FGlyph, nullptr));
        return;
    }
    if (FCaption.isEmpty())
        return;
    painter.setFont(font());
    painter.setPen(ToQColor(isEnabled() ? FCaptionColor : clGrayText));
    painter.drawText(content, Qt::AlignCenter | Qt::TextSingleLine, FCaption);
}

void TSpeedButton::mousePressEvent(QMouseEvent* event)
{
    if (event->button() != Qt::LeftButton) {
        event->ignore();
        return;
    }
    FTracking = true;
    SetPressed(true);
}

void TSpeedButton::mouseMoveEvent(QMouseEvent* event)
{
    if (FTracking)
        SetPressed(rect().contains(event->position().toPoint()));
}

void TSpeedButton::mouseReleaseEvent(QMouseEvent* event)
{
    if (event->button() != Qt::LeftButton || !FTracking) {
        event->ignore();
        return;
    }
    FTracking = false;
    const bool inside = rect().contains(event->position().toPoint());
    SetPressed(false);
    if (inside)
        Click();
}

void TSpeedButton::changeEvent(QEvent* event)
{
    if (event->type() == QEvent::EnabledChange) {
        if (!isEnabled())
            CancelMode();
        update();
    }
    TExGraphicControl::changeEvent(event);
}

void TImageSpeedButton::SetImages(const TImageList* images)
{
    FImages = images;
    update();
}

void TImageSpeedButton::SetImageIndex(int index)
{
    if (index == FImageIndex)
        return;
    FImageIndex = index;
    update();
}

void TImageSpeedButton::SetDisabledImageIndex(int index)
{
    if (index == FDisabledImageIndex)
        return;
    FDisabledImageIndex = index;
    update();
}

void TImageSpeedButton::PaintContent(QPainter& painter, const QRect& content)
{
    if (!FImages) {
        TSpeedButton::PaintContent(painter, content);
        return;
    }
    QPixmap picture;
    if (!isEnabled() && FDisabledImageIndex >= 0)
        picture = FImages->Image(FDisabledImageIndex);
    else {
        picture = FImages->Image(FImageIndex);
        if (!isEnabled() && !picture.isNull())
            picture = style()->generatedIconPixmap(QIcon::Disabled, picture, nullptr);
    }
    if (picture.isNull())
        return;
    const QPoint at(content.left() + (content.width() - picture.width()) / 2,
                    content.top() + (content.height() - picture.height()) / 2);
    painter.drawPixmap(at, picture);
}
