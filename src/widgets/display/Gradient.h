#pragma once
// An opaque background that fills its area with a colour ramp from StartColor to EndColor in
// Steps flat bands, in one of six layouts. The ramp is drawn once into an off-screen image and
// drawn again only after a change of size or of a gradient property; other repaints copy it.
// Bands that run straight across the whole area (and a single colour) need only one line of
// that image: without an OnPaint handler to draw over it, only that line is kept, and a repaint
// fills the part it exposes band by band from it.

#include "Align.h"
#include "Colors.h"
#include "Events.h"
#include "ExGraphicControl.h"

#include <QImage>
#include <QRegion>
#include <cstdint>
#include <functional>

class QPainter;

enum TGradientStyle : std::uint8_t { grFilled, grEllipse, grHorizontal, grVertical, grPyramid, grMount };

// Called after each rebuild with a painter on the off-screen image; what it draws stays in
// the image until the next rebuild.
using TGradientPaintEvent = std::function<void(TObject* Sender, QPainter* Canvas)>;

class TGradient : public TExGraphicControl
{
    Q_OBJECT

public:
    explicit TGradient(QWidget* owner = nullptr);
    ~TGradient() override;

    TGradientStyle Style() const { return FStyle; }
    void SetStyle(TGradientStyle style);
    TColor StartColor() const { return FStartColor; }
    void SetStartColor(TColor color);
    TColor EndColor() const { return FEndColor; }
    void SetEndColor(TColor color);
    std::uint16_t Steps() const { return FSteps; }
    void SetSteps(std::uint16_t steps);

    // The bounds; writing one also records it for Loaded().
    int Left() const { return x(); }
    void SetLeft(int left);
    int Top() const { return y(); }
    void SetTop(int top);
    int Width() const { return width(); }
    void SetWidth(int width);
    int Height() const { return height(); }
    void SetHeight(int height);
    // After the stored properties have been set: gives back the recorded position unless the
    // alignment decides it, and the recorded size unless the gradient fills its parent.
    void Loaded();

    TGradientPaintEvent OnPaint;

    // The off-screen image as last built: the whole area, or the one line that stands for it
    // (BufferIsLine).
    const QImage& Buffer() const { return FBuffer; }
    bool BufferIsLine() const { return FBufferIsLine; }

    // The colour of band `step` of `steps` between two RGB values (0x00BBGGRR), each channel
    // rounded to the nearest integer, ties to even.
    static TColor StepColor(TColor from, TColor to, int steps, int step);

    static constexpr std::uint16_t kDefaultSteps = 100;

protected:
    virtual void Paint(QPainter& painter);
    void paintEvent(QPaintEvent* event) override;

private:
    void Invalidate();
    void DrawGradient(QPainter& painter, int w, int h, TColor c0, TColor c1) const;
    void PaintLine(QPainter& painter, const QRect& exposed) const;

    TGradientStyle FStyle = grHorizontal;
    TColor FStartColor = clBlue;
    TColor FEndColor = clBlack;
    std::uint16_t FSteps = kDefaultSteps;
    QImage FBuffer;
    int FBufferWidth = 0;
    int FBufferHeight = 0;
    bool FBufferIsLine = false;
    QRegion FExposed;  // during a paint event: what it repaints
    int FLoadedLeft = 0;
    int FLoadedTop = 0;
    int FLoadedWidth = 0;
    int FLoadedHeight = 0;
    bool FDestroying = false;
};
