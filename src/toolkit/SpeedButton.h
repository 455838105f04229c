#pragma once
// Windowless push buttons: they draw a caption or a picture on their parent's surface, show a
// pressed state while the left mouse button is held over them, and report a click when it is
// released over them.

#include "Colors.h"
#include "Events.h"
#include "ExGraphicControl.h"

#include <QList>
#include <QPixmap>
#include <QSize>
#include <cstdint>

class QPainter;

// The look of a raised button: bsWin31 a black outline with a thin bevel inside, bsNew the
// two-pixel 3-D edge.
enum TButtonStyle : std::uint8_t { bsAutoDetect, bsWin31, bsNew };

// Pictures of one size, shared by the buttons that show them.
class TImageList {
public:
    explicit TImageList(QSize size) : FSize(size) {}
    QSize Size() const { return FSize; }
    int Count() const { return static_cast<int>(FImages.size()); }
    // Adds a picture (scaled to the list's size if it differs) and returns its index.
    int Add(const QPixmap& picture);
    // The picture at `index`, or a null pixmap when there is none.
    QPixmap Image(int index) const;

private:
    QSize FSize;
    QList<QPixmap> FImages;
};

class TSpeedButton : public TExGraphicControl
{
    Q_OBJECT

public:
    explicit TSpeedButton(QWidget* parent = nullptr);

    QString Caption() const { return FCaption; }
    void SetCaption(const QString& caption);
    TColor CaptionColor() const { return FCaptionColor; }
    void SetCaptionColor(TColor color);
    TButtonStyle Style() const { return FStyle; }
    void SetStyle(TButtonStyle style);
    bool Flat() const { return FFlat; }
    void SetFlat(bool flat);
    QPixmap Glyph() const { return FGlyph; }
    void SetGlyph(const QPixmap& glyph);
    int Tag() const { return FTag; }
    void SetTag(int tag) { FTag = tag; }

    // Drawn pressed: while the left button is held over it, or when set from outside (a key
    // that presses the button visibly).
    bool Pressed() const { return FPressed; }
    void SetPressed(bool pressed);
    // Ends a press without a click (the platform's cancel mode).
    void CancelMode();

    // Runs the click: fires OnClick.
    virtual void Click();

    TNotifyEvent OnClick;

protected:
    // Paints the face (edges and background) and the content.
    virtual void Paint(QPainter& painter);
    // The caption or glyph inside `content`, already shifted while pressed.
    virtual void PaintContent(QPainter& painter, const QRect& content);
    // Draws the face for `style`; returns the content rectangle inside the edges.
    QRect PaintFace(QPainter& painter, TButtonStyle style, bool pressed);

    void paintEvent(QPaintEvent* event) override;
    void mousePressEvent(QMouseEvent* event) override;
    void mouseMoveEvent(QMouseEvent* event) override;
    void mouseReleaseEvent(QMouseEvent* event) override;
    void changeEvent(QEvent* event) override;

private:
    QString FCaption;
    TColor FCaptionColor = clBtnText;
    TButtonStyle FStyle = bsAutoDetect;
    bool FFlat = false;
    QPixmap FGlyph;
    int FTag = 0;
    bool FPressed = false;
    bool FTracking = false; // the left button went down on this button and is still held
};

// A speed button that shows a picture of an image list (or its glyph when it has no list).
class TImageSpeedButton : public TSpeedButton
{
    Q_OBJECT

public:
    using TSpeedButton::TSpeedButton;

    const TImageList* Images() const { return FImages; }
    void SetImages(const TImageList* images);
    int ImageIndex() const { return FImageIndex; }
    void SetImageIndex(int index);
    // The picture shown while disabled; -1 draws the normal picture greyed.
    int DisabledImageIndex() const { return FDisabledImageIndex; }
    void SetDisabledImageIndex(int index);

protected:
    void PaintContent(QPainter& painter, const QRect& content) override;

private:
    const TImageList* FImages = nullptr;
    int FImageIndex = -1;
    int FDisabledImageIndex = -1;
};
