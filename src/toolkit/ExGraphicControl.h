#pragma once
// The windowless control: no window surface of its own to fill, painted on its parent after the
// parent. Colour, colour-changed notification, pointer enter/leave and a hint colour.

#include "Colors.h"
#include "Events.h"

#include <QWidget>

class TExGraphicControl : public QWidget
{
    Q_OBJECT

public:
    explicit TExGraphicControl(QWidget* parent = nullptr);

    TColor Color() const { return FColor; }
    // Stores a new colour and runs ColorChanged(); the same colour again does nothing at all.
    void SetColor(TColor color);

    TColor HintColor() const { return FHintColor; }
    void SetHintColor(TColor color) { FHintColor = color; }

    TNotifyEvent OnMouseEnter;
    TNotifyEvent OnMouseLeave;

protected:
    // The colour-changed notification; the default invalidates the control.
    virtual void ColorChanged();
    // Pointer notifications; the defaults fire OnMouseEnter and OnMouseLeave.
    virtual void MouseEnter();
    virtual void MouseLeave();

    void enterEvent(QEnterEvent* event) override;
    void leaveEvent(QEvent* event) override;

private:
    TColor FColor = clBtnFace;
    TColor FHintColor = clDefault;
};
