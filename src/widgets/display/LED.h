#pragma once
// A small round lamp, lit in one colour and unlit in another, that can blink on a timer of its
// own. It has no background: outside the round shape its parent shows through.

#include "Align.h"
#include "Colors.h"
#include "Events.h"
#include "ExGraphicControl.h"

#include <QImage>
#include <cstdint>

class QPainter;
class QTimer;

class TCustomLED : public TExGraphicControl
{
    Q_OBJECT

public:
    explicit TCustomLED(QWidget* owner = nullptr);
    ~TCustomLED() override;

    bool Active() const { return FActive; }
    // Blinking on or off. Switching it on starts a fresh period; switching it on again while it
    // blinks does not restart the period; switching it off keeps the colour shown.
    void SetActive(bool active);
    bool Status() const { return FStatus; }
    // Lit (ColorOn) or unlit (ColorOff). Fires OnChange on every assignment, also of the same value.
    void SetStatus(bool status);
    TColor ColorOn() const { return FColorOn; }
    void SetColorOn(TColor color);
    TColor ColorOff() const { return FColorOff; }
    void SetColorOff(TColor color);
    // Milliseconds between two toggles; 0 keeps the lamp from toggling.
    std::uint32_t Interval() const { return FInterval; }
    void SetInterval(std::uint32_t interval);
    bool AutoSize() const { return FAutoSize; }
    // Fixes the size to the picture's while the lamp is not aligned to a side or the client.
    void SetAutoSize(bool on);
    void SetBounds(int left, int top, int width, int height);

    // The lamp picture as it is painted now, already coloured.
    const QImage& Picture() const { return FImgPict; }

    TNotifyEvent OnChange;

    static constexpr int kPictureSizePx = 17;
    static constexpr std::uint32_t kDefaultIntervalMs = 1000;

protected:
    // The colour is the lamp's state; only Status, ColorOn and ColorOff set it.
    using TExGraphicControl::SetColor;

    void ColorChanged() override;
    virtual void Paint(QPainter& painter);
    void paintEvent(QPaintEvent* event) override;
    // A press on the lamp is the lamp's; it does not reach the control under it.
    void mousePressEvent(QMouseEvent* event) override;

private:
    void Tick();
    void UpdateTimer(bool restart);

    QImage FImgPict;
    QImage FImgMask;
    QTimer* FTimer = nullptr;
    TColor FColorOn = clLime;
    TColor FColorOff = clRed;
    bool FActive = false;
    bool FStatus = false;
    std::uint32_t FInterval = kDefaultIntervalMs;
    bool FAutoSize = false;
};

class TLED : public TCustomLED
{
    Q_OBJECT

public:
    using TCustomLED::TCustomLED;
};
