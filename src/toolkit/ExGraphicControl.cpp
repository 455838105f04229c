#include "ExGraphicControl.h"

TExGraphicControl::TExGraphicControl(QWidget* parent)
    : QWidget(parent)
{
    setAutoFillBackground(false);
}

void TExGraphicControl::SetColor(TColor color)
{
    if (color == FColor)
        return;
    FColor = color;
    ColorChanged();
}

void TExGraphicControl::ColorChanged()
{
    update();
}

void TExGraphicControl::MouseEnter()
{
    Fire(OnMouseEnter, this);
}

void TExGraphicControl::MouseLeave()
{
    Fire(OnMouseLeave, this);
}

void TExGraphicControl::enterEvent(QEnterEvent* event)
{
    QWidget::enterEvent(event);
    MouseEnter();
}

void TExGraphicControl::leaveEvent(QEvent* event)
{
    QWidget::leaveEvent(event);
    MouseLeave();
}
