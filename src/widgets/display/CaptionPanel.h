#pragma once
// A container panel with a coloured caption bar along one of its sides: an optional icon, the
// caption text in its own font and up to five small caption buttons. A click on a button only
// reports its kind; the owner decides what it means. An unaligned panel can be moved by
// dragging its bar.

#include "Align.h"
#include "Colors.h"
#include "Events.h"
#include "ExGraphicControl.h"
#include "ExPanel.h"

#include <QFont>
#include <QIcon>
#include <QPoint>
#include <QRegion>
#include <QStaticText>
#include <QString>
#include <array>
#include <cstdint>
#include <functional>
#include <initializer_list>

class QPainter;

enum TCapBtnStyle : std::uint8_t { capClose = 0, capMax = 1, capMin = 2, capRestore = 3, capHelp = 4 };

// A set of caption button kinds, one bit per kind ([capClose, capHelp] is 0x11).
class TCapBtnStyles
{
public:
    constexpr TCapBtnStyles() = default;
    constexpr TCapBtnStyles(std::initializer_list<TCapBtnStyle> kinds)
    {
        for (TCapBtnStyle kind : kinds)
            FBits = static_cast<std::uint8_t>(FBits | Bit(kind));
    }
    static constexpr TCapBtnStyles FromBits(std::uint8_t bits)
    {
        TCapBtnStyles set;
        set.FBits = static_cast<std::uint8_t>(bits & 0x1F);
        return set;
    }
    constexpr bool Contains(TCapBtnStyle kind) const { return (FBits & Bit(kind)) != 0; }
    constexpr bool Empty() const { return FBits == 0; }
    constexpr std::uint8_t Bits() const { return FBits; }
    friend constexpr bool operator==(TCapBtnStyles, TCapBtnStyles) = default;

private:
    static constexpr std::uint8_t Bit(TCapBtnStyle kind) { return static_cast<std::uint8_t>(1u << kind); }
    std::uint8_t FBits = 0;
};

enum TDrawPosition : std::uint8_t { dpLeft = 0, dpTop = 1, dpRight = 2, dpBottom = 3 };

// Sender is the panel, not the button.
using TCapBtnEvent = std::function<void(TObject* Sender, TCapBtnStyle Button)>;
using TAutoDragStartEvent = std::function<void(TObject* Sender, bool& AllowDrag)>;

class TCaptionPanel;

// One caption button: a windowless control drawn as a small window-caption button.
class TCapBtn : public TExGraphicControl
{
    Q_OBJECT

public:
    explicit TCapBtn(TCaptionPanel* owner);

    TCapBtnStyle Style() const { return FStyle; }
    void SetStyle(TCapBtnStyle style);
    bool Flat() const { return FFlat; }
    void SetFlat(bool flat);
    // Shown pressed; a press held on the button; the pointer over it.
    bool Down() const { return FDown; }
    bool MouseHeld() const { return FMouseDown; }
    bool Over() const { return FOver; }

    // The face and glyph of a caption button of `style` in `rect`.
    static void DrawFace(QPainter& painter, const QRect& rect, TCapBtnStyle style, bool enabled, bool pushed,
                         bool flat);

protected:
    virtual void Click();
    void MouseEnter() override;
    void MouseLeave() override;
    void paintEvent(QPaintEvent* event) override;
    void mousePressEvent(QMouseEvent* event) override;
    void mouseMoveEvent(QMouseEvent* event) override;
    void mouseReleaseEvent(QMouseEvent* event) override;

private:
    TCaptionPanel* FOwner;
    TCapBtnStyle FStyle = capClose;
    bool FMouseDown = false;
    bool FDown = false;
    bool FFlat = false;
    bool FOver = false;
    bool FClickArmed = false;  // a left press began on the button and is still held
};

class TBasePanel : public TExCustomPanel
{
    Q_OBJECT

public:
    using TExCustomPanel::TExCustomPanel;
};

class TCaptionPanel : public TBasePanel
{
    Q_OBJECT

public:
    explicit TCaptionPanel(QWidget* owner = nullptr);
    ~TCaptionPanel() override;

    bool AutoDrag() const { return FAutoDrag; }
    void SetAutoDrag(bool on) { FAutoDrag = on; }
    TCapBtnStyles Buttons() const { return FButtons; }
    void SetButtons(TCapBtnStyles buttons);
    QString Caption() const { return FCaption; }
    void SetCaption(const QString& caption);
    TColor CaptionColor() const { return FCaptionColor; }
    void SetCaptionColor(TColor color);
    QFont CaptionFont() const { return FCaptionFont; }
    TColor CaptionFontColor() const { return FCaptionFontColor; }
    void SetCaptionFont(const QFont& font, TColor color);
    // 0 takes the desktop's caption height.
    int CaptionHeight() const { return FCaptionHeight; }
    void SetCaptionHeight(int height);
    TDrawPosition CaptionPosition() const { return FCaptionPosition; }
    void SetCaptionPosition(TDrawPosition position);
    bool FlatButtons() const { return FFlat; }
    void SetFlatButtons(bool flat);
    QIcon Icon() const { return FIcon; }
    void SetIcon(const QIcon& icon);
    bool OutlookLook() const { return FOutlookLook; }
    void SetOutlookLook(bool on);
    bool Resizable() const { return FResizable; }
    void SetResizable(bool on);

    TCapBtnEvent OnButtonClick;
    TAutoDragStartEvent OnStartAutoDrag;
    TNotifyEvent OnEndAutoDrag;

    // The caption height in use (h0).
    int CaptionHeightPx() const;
    // The caption bar for the present size and settings, and as the last paint drew it (empty
    // before the first paint); client coordinates.
    TRect CaptionBarRect() const;
    TRect CaptionRect() const { return FCaptionRect; }
    TCapBtn* Button(TCapBtnStyle kind) const { return FButtonArray[kind]; }
    // A button's place in client coordinates.
    TRect ButtonRect(TCapBtnStyle kind) const;
    bool Dragging() const { return FDragging; }
    // The icon picture shown in a bar of the given height: the largest stored size that fits,
    // else the smallest.
    QSize IconSize(int barHeight) const;

    virtual void NotifyButtonClick(TCapBtnStyle button);

    static constexpr int kDefaultCaptionFontPt = 10;
    static constexpr int kCaptionTextOffsetPx = 8;

protected:
    virtual bool MayStartAutoDrag();
    virtual void NotifyAutoDragEnd();

    int FrameWidth() const override;
    void AdjustClientRect(TRect& rect) const override;
    void ChildrenRealigned() override;
    void Paint(QPainter& painter) override;
    void PaintFrame(QPainter& painter) override;

    void paintEvent(QPaintEvent* event) override;
    void mousePressEvent(QMouseEvent* event) override;
    void mouseMoveEvent(QMouseEvent* event) override;
    void mouseReleaseEvent(QMouseEvent* event) override;
    void resizeEvent(QResizeEvent* event) override;

private:
    void PlaceButtons();
    // Where the caption text starts, its angle (clockwise on the screen, in degrees) and the
    // rectangle it is clipped to; client coordinates.
    struct TCaptionTextPlace {
        QPoint Start;
        int Angle = 0;
        TRect Clip;
    };
    TCaptionTextPlace CaptionTextPlace(TRect bar, bool hasIcon, QSize icon) const;
    void DrawCaptionText(QPainter& painter, const TCaptionTextPlace& place);
    // Which frame edges a point in widget coordinates grabs (bit 0 left, 1 top, 2 right, 3 bottom).
    int SizingEdges(QPoint at) const;

    std::array<TCapBtn*, 5> FButtonArray{};
    TDrawPosition FCaptionPosition = dpLeft;
    int FOffset = kCaptionTextOffsetPx;
    TCapBtnStyles FButtons;
    bool FAutoDrag = true;
    TRect FCaptionRect;
    QString FCaption;
    TColor FCaptionColor = clActiveCaption;
    bool FFlat = false;
    int FBevel = 0;
    bool FDragging = false;
    QFont FCaptionFont;
    TColor FCaptionFontColor = clWhite;
    bool FOutlookLook = false;
    int FCaptionOffsetSmall = 2;
    int FCaptionOffsetLarge = 3;
    QIcon FIcon;
    QPoint FAnchorPos;
    bool FResizable = true;
    int FCaptionHeight = 0;
    int FSizingEdges = 0;  // frame edges being dragged, 0 when not resizing
    QPoint FSizingFrom;    // pointer position, in the parent, when the resize began
    QRect FSizingStart;    // geometry when the resize began
    // What the paint event under way asks for, in widget coordinates (Paint outside a paint
    // event draws everything).
    QRegion FPaintRegion;
    bool FInPaintEvent = false;
    // The caption laid out for drawing, while FCaptionTextReady.
    QStaticText FCaptionText;
    bool FCaptionTextReady = false;
};
