#pragma once
// A windowless label whose caption is written in a small mark-up: <b>, <i>, <u>, <color=...>,
// <link=...>, <br>, <p> and <dynamic> (parts the owner fills in). It wraps its text at word
// boundaries over its width, can follow the text with its height, shows links under the
// pointer in their hot and clicked colours and reports link clicks.
//
// The text is composed in an off-screen image and drawn in one go. A transparent label fills
// nothing: Qt paints the parent's drawing under a widget that does not claim to be opaque, and
// the image carries only the glyphs. A change of a link's state asks Qt to repaint just the
// region of that link's text; Qt then restores the parent's drawing there (or the label fills
// it with its colour when opaque) and the label draws that one link again.

#include "Colors.h"
#include "Events.h"
#include "ExGraphicControl.h"
#include "LinkLabelParser.h"
#include "LinkLabelRenderer.h"
#include "LinkLabelTools.h"
#include "LinkLabelTree.h"

#include <QRegion>
#include <QString>
#include <QStringList>
#include <cstdint>
#include <functional>
#include <memory>
#include <stdexcept>
#include <vector>

class ELinkLabelError : public std::runtime_error
{
public:
    using std::runtime_error::runtime_error;
};

enum TTextLayout : std::uint8_t { tlTop, tlCenter, tlBottom };

using TLinkClickEvent =
    std::function<void(TObject* Sender, int LinkNumber, const QString& LinkText, const QString& LinkParam)>;
using TDynamicTagInitEvent = std::function<void(TObject* Sender, QString& Source, int Number)>;

class TCustomLinkLabel : public TExGraphicControl, private IDynamicNodeHandler
{
    Q_OBJECT

public:
    explicit TCustomLinkLabel(QWidget* owner = nullptr);
    ~TCustomLinkLabel() override;

    QString Caption() const { return FCaption; }
    // Parses the new caption into a new tree and repaints; the same caption again does nothing.
    void SetCaption(const QString& caption);
    // The caption as its one line (empty before the first caption).
    QStringList Text() const { return FText; }
    // Joins the lines, each followed by CR LF, into the caption. The parser drops every CR LF,
    // so the lines run together without a space.
    void SetText(const QStringList& lines);

    bool Transparent() const { return FTransparent; }
    void SetTransparent(bool on);
    TTextLayout Layout() const { return FLayout; }
    void SetLayout(TTextLayout layout);
    TColor LinkColor() const;
    void SetLinkColor(TColor color);
    TColor LinkColorClicked() const;
    void SetLinkColorClicked(TColor color);
    TColor LinkColorHot() const;
    void SetLinkColorHot(TColor color);
    Qt::CursorShape LinkCursor() const { return FLinkCursor; }
    void SetLinkCursor(Qt::CursorShape cursor) { FLinkCursor = cursor; }
    TFontStyles LinkStyle() const;
    void SetLinkStyle(TFontStyles styles);
    bool HotLinks() const { return FHotLinks; }
    void SetHotLinks(bool on);
    bool AutoHeight() const { return FAutoHeight; }
    void SetAutoHeight(bool on);
    int MarginWidth() const { return FMarginWidth; }
    // Margins below 0 count as 0.
    void SetMarginWidth(int pixels);
    int MarginHeight() const { return FMarginHeight; }
    void SetMarginHeight(int pixels);
    // The colour of the font (a QFont has none): the text outside coloured spans and links.
    TColor FontColor() const { return FFontColor; }
    void SetFontColor(TColor color);
    // Whether the background colour follows the parent's; setting a colour turns it off.
    bool ParentColor() const { return FParentColor; }
    void SetParentColor(bool on);

    // Replaces the contents of the outermost dynamic part numbered `Number` with `Source`
    // parsed, and repaints at once.
    void UpdateDynamicTag(int Number, const QString& Source);
    // The text of the Number-th outermost dynamic part, counted from 0 in document order.
    QString GetDynamicTagContents(int Number) const;

    // After the owner has set the properties: the cursor the label has now is shown whenever
    // the pointer is not over a link.
    void Loaded();

    const TNodeTree& NodeTree() const { return *FNodeTree; }
    // The link that is hot or clicked, or null.
    TLinkNode* ActiveLinkNode() const { return FActiveLinkNode; }
    // Where the text was placed by the last paint; pointer tests are made relative to it.
    QPoint Origin() const { return FNodeTree->Root().StartingPoint; }

    TNotifyEvent OnCaptionChanged;
    TLinkClickEvent OnLinkClick;
    TDynamicTagInitEvent OnDynamicTagInit;

    static constexpr int kDefaultWidthPx = 160;
    static constexpr int kDefaultHeightPx = 17;

protected:
    virtual std::unique_ptr<IParser> MakeParser();
    virtual std::unique_ptr<IRenderer> MakeRenderer();
    virtual void NotifyCaptionChanged();
    virtual void NotifyLinkClick(int LinkNumber, const QString& LinkText, const QString& LinkParam);
    // Empties `Source`, then lets OnDynamicTagInit fill it.
    virtual void NotifyDynamicTagInit(QString& Source, int Number);
    // Paints the whole label.
    virtual void Paint(QPainter& painter);

    void ColorChanged() override;
    void MouseLeave() override;

    void paintEvent(QPaintEvent* event) override;
    void changeEvent(QEvent* event) override;
    void mousePressEvent(QMouseEvent* event) override;
    void mouseMoveEvent(QMouseEvent* event) override;
    void mouseReleaseEvent(QMouseEvent* event) override;

private:
    QString GetDynamicNodeSource(TDynamicNode& node) override;
    IParser& Parser();
    IRenderer& Renderer();
    const IRenderer& Renderer() const;

    void ApplyFontToRoot();
    // Asks for a paint of the whole label.
    void Invalidate();
    TColor EffectiveColor() const;
    TRect TextArea(QPoint origin) const;
    QRegion LinkRegion(const TLinkNode& link) const;
    void SetClientHeight(int height);

    TLinkNode* LinkAt(QPoint pos) const;
    bool IsOverLink(QPoint pos) const;
    void PointerMoved(QPoint pos, bool changeCursor);
    void MakeLinkState(TLinkNode* link, TLinkState state);
    void ReturnActiveLinkToNormal();
    void RedrawLink(TLinkNode* link);
    void DrawLink(QPainter& painter, TLinkNode& link);
    void ForgetLinks();

    QStringList FText;
    mutable std::unique_ptr<IRenderer> FRenderer;
    TLinkNode* FActiveLinkNode = nullptr;
    bool FHotLinks = false;
    Qt::CursorShape FLinkCursor = Qt::PointingHandCursor;
    bool FAutoHeight = true;
    int FMarginWidth = 0;
    int FMarginHeight = 0;
    Qt::CursorShape FOriginalCursor = Qt::ArrowCursor;
    std::unique_ptr<IParser> FParser;
    TTextLayout FLayout = tlTop;
    QString FCaption;
    std::unique_ptr<TNodeTree> FNodeTree;

    bool FTransparent = false;
    TColor FFontColor = clWindowText;
    bool FParentColor = true;
    // Links waiting to be drawn again by themselves, and the region they cover.
    std::vector<TLinkNode*> FLinksToRedraw;
    QRegion FLinkRegion;
    bool FFullPaintPending = true;
};

class TLinkLabel : public TCustomLinkLabel
{
    Q_OBJECT

public:
    using TCustomLinkLabel::TCustomLinkLabel;
};
