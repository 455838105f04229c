#include "PlainLabel.h"

#include <QEvent>
#include <QMouseEvent>
#include <QPainter>

TLabel::TLabel(QWidget* owner)
    : TExGraphicControl(owner)
{
    FitHeightToFont();
}

void TLabel::SetCaption(const QString& caption)
{
    if (caption == FCaption)
        return;
    FCaption = caption;
    update();
}

void TLabel::SetFontColor(TColor color)
{
    if (color == FFontColor)
        return;
    FFontColor = color;
    update();
}

void TLabel::FitHeightToFont()
{
    const int lineHeight = fontMetrics().height();
    if (height() != lineHeight)
        resize(width(), lineHeight);
}

void TLabel::paintEvent(QPaintEvent*)
{
    QPainter painter(this);
    painter.setFont(font());
    painter.setPen(ToQColor(FFontColor));
    // Drawn within the label's own rectangle, so a long text is cut off at its right edge.
    painter.drawText(rect(), Qt::AlignLeft | Qt::AlignTop | Qt::TextSingleLine | Qt::TextShowMnemonic, FCaption);
}

void TLabel::changeEvent(QEvent* event)
{
    TExGraphicControl::changeEvent(event);
    if (event->type() == QEvent::FontChange) {
        FitHeightToFont();
        update();
    }
}

void TLabel::mousePressEvent(QMouseEvent* event)
{
    if (event->button() == Qt::LeftButton)
        FPressed = true;
    event->accept();  // the press belongs to the label, not to the panel under it
}

void TLabel::mouseReleaseEvent(QMouseEvent* event)
{
    const bool click = FPressed && event->button() == Qt::LeftButton && rect().contains(event->position().toPoint());
    if (event->button() == Qt::LeftButton)
        FPressed = false;
    event->accept();
    if (click)
        Fire(OnClick, this);
}
