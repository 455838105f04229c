#pragma once
// The windowed panel: a container with an outer and an inner bevel, a border between them, an
// optional frame around its client area, and children placed by their alignment.
//
// The frame (if any) lies inside the widget, so the client area starts at ClientOrigin() in
// widget coordinates; "client coordinates" below are relative to that point. Aligned children
// are placed within AlignRect() and keep widget coordinates like any Qt child.

#include "Align.h"
#include "Colors.h"
#include "Events.h"

#include <QWidget>
#include <cstdint>

class QPainter;

enum TPanelBevel : std::uint8_t { bvNone, bvLowered, bvRaised, bvSpace };
enum TBorderStyle : std::uint8_t { bsNone, bsSingle };

class TExCustomPanel : public QWidget
{
    Q_OBJECT

public:
    explicit TExCustomPanel(QWidget* parent = nullptr);

    TColor Color() const { return FColor; }
    void SetColor(TColor color);
    // With a parent background the panel fills nothing itself: whatever lies behind it shows.
    bool ParentBackground() const { return FParentBackground; }
    void SetParentBackground(bool on);

    TPanelBevel BevelOuter() const { return FBevelOuter; }
    void SetBevelOuter(TPanelBevel bevel);
    TPanelBevel BevelInner() const { return FBevelInner; }
    void SetBevelInner(TPanelBevel bevel);
    int BevelWidth() const { return FBevelWidth; }
    void SetBevelWidth(int width);
    int BorderWidth() const { return FBorderWidth; }
    void SetBorderWidth(int width);
    TBorderStyle BorderStyle() const { return FBorderStyle; }
    void SetBorderStyle(TBorderStyle style);
    // Inner margins kept free of aligned children.
    TMargins Padding() const { return FPadding; }
    void SetPadding(TMargins padding);

    // The client area: (0, 0, client width, client height), and its top-left corner in the widget.
    TRect ClientRect() const;
    QPoint ClientOrigin() const { return {FFrameWidth, FFrameWidth}; }
    int ClientWidth() const { return ClientRect().Width(); }
    int ClientHeight() const { return ClientRect().Height(); }
    // The rectangle aligned children share, in client coordinates.
    TRect AlignRect() const;
    // Places the aligned children again.
    void Realign();

    TNotifyEvent OnResize;

protected:
    // Width of the frame on each side, outside the client area.
    virtual int FrameWidth() const;
    // Narrows the client rectangle to the area for aligned children: padding, border width and
    // each bevel that is not none.
    virtual void AdjustClientRect(TRect& rect) const;
    // Runs after each realignment (still inside it): for children the panel places itself.
    virtual void ChildrenRealigned() {}
    // Paints the client area; the painter's origin is the client origin.
    virtual void Paint(QPainter& painter);
    // Paints the frame outside the client area, in widget coordinates.
    virtual void PaintFrame(QPainter& painter);
    // Takes a new frame width after a change of the frame's settings: realigns and repaints.
    void RecreateFrame();
    // A raised or lowered edge of `width` pixels just inside `rect`, which shrinks by it.
    static void Frame3D(QPainter& painter, TRect& rect, TColor topLeft, TColor bottomRight, int width);

    void paintEvent(QPaintEvent* event) override;
    void resizeEvent(QResizeEvent* event) override;
    bool event(QEvent* event) override;
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    TColor FColor = clBtnFace;
    bool FParentBackground = false;
    TPanelBevel FBevelOuter = bvRaised;
    TPanelBevel FBevelInner = bvNone;
    int FBevelWidth = 1;
    int FBorderWidth = 0;
    TBorderStyle FBorderStyle = bsNone;
    TMargins FPadding{0, 0, 0, 0};
    int FFrameWidth = 0;
    bool FAligning = false;
};

class TExPanel : public TExCustomPanel
{
    Q_OBJECT

public:
    using TExCustomPanel::TExCustomPanel;
};
