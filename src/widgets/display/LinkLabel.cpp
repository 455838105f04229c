#include "LinkLabel.h"

#include "Align.h"
#include "ExPanel.h"

#include <QEvent>
#include <QImage>
#include <QMouseEvent>
#include <QPaintEvent>
#include <QPainter>
#include <algorithm>

TCustomLinkLabel::TCustomLinkLabel(QWidget* owner)
    : TExGraphicControl(owner)
    , FNodeTree(std::make_unique<TNodeTree>())
{
    SetColor(clWindow);
    FParentColor = true;
    setMouseTracking(true);
    resize(kDefaultWidthPx, kDefaultHeightPx);
    FOriginalCursor = cursor().shape();
    ApplyFontToRoot();
}

TCustomLinkLabel::~TCustomLinkLabel() = default;

std::unique_ptr<IParser> TCustomLinkLabel::MakeParser()
{
    return std::make_unique<TDefaultParser>();
}

std::unique_ptr<IRenderer> TCustomLinkLabel::MakeRenderer()
{
    return std::make_unique<TDefaultRenderer>();
}

IParser& TCustomLinkLabel::Parser()
{
    if (!FParser) {
        FParser = MakeParser();
        FParser->SetDynamicNodeHandler(this);
    }
    return *FParser;
}

IRenderer& TCustomLinkLabel::Renderer()
{
    if (!FRenderer)
        FRenderer = const_cast<TCustomLinkLabel*>(this)->MakeRenderer();
    return *FRenderer;
}

const IRenderer& TCustomLinkLabel::Renderer() const
{
    return const_cast<TCustomLinkLabel*>(this)->Renderer();
}

void TCustomLinkLabel::NotifyCaptionChanged()
{
    Fire(OnCaptionChanged, this);
}

void TCustomLinkLabel::NotifyLinkClick(int LinkNumber, const QString& LinkText, const QString& LinkParam)
{
    Fire(OnLinkClick, this, LinkNumber, LinkText, LinkParam);
}

void TCustomLinkLabel::NotifyDynamicTagInit(QString& Source, int Number)
{
    Source.clear();
    Fire(OnDynamicTagInit, this, Source, Number);
}

QString TCustomLinkLabel::GetDynamicNodeSource(TDynamicNode& node)
{
    QString source;
    NotifyDynamicTagInit(source, node.Number());
    return source;
}

void TCustomLinkLabel::SetCaption(const QString& caption)
{
    if (caption == FCaption)
        return;
    FText = QStringList{caption};
    FCaption = caption;
    ForgetLinks();
    // The old tree goes; an empty one stands in while the caption is parsed, since a handler
    // of the dynamic parts may let the label paint or take the pointer meanwhile.
    FNodeTree = std::make_unique<TNodeTree>();
    ApplyFontToRoot();
    TLinkNode::ResetNumbering();
    TDynamicNode::ResetNumbering();
    try {
        FNodeTree = Parser().Parse(caption);
    } catch (...) {
        // A handler of the dynamic parts failed: the label still needs a tree to paint.
        FNodeTree = std::make_unique<TNodeTree>();
        ApplyFontToRoot();
        Invalidate();
        throw;
    }
    ApplyFontToRoot();
    Invalidate();
    NotifyCaptionChanged();
}

void TCustomLinkLabel::SetText(const QStringList& lines)
{
    QString caption;
    for (const QString& line : lines)
        caption += line + QLatin1String("\r\n");
    SetCaption(caption);
}

void TCustomLinkLabel::SetTransparent(bool on)
{
    if (on == FTransparent)
        return;
    FTransparent = on;
    Invalidate();
}

void TCustomLinkLabel::SetLayout(TTextLayout layout)
{
    if (layout == FLayout)
        return;
    FLayout = layout;
    Invalidate();
}

TColor TCustomLinkLabel::LinkColor() const
{
    return Renderer().LinkColor();
}

void TCustomLinkLabel::SetLinkColor(TColor color)
{
    if (color == LinkColor())
        return;
    Renderer().SetLinkColor(color);
    Invalidate();
}

TColor TCustomLinkLabel::LinkColorClicked() const
{
    return Renderer().LinkColorClicked();
}

void TCustomLinkLabel::SetLinkColorClicked(TColor color)
{
    if (color == LinkColorClicked())
        return;
    Renderer().SetLinkColorClicked(color);
    Invalidate();
}

TColor TCustomLinkLabel::LinkColorHot() const
{
    return Renderer().LinkColorHot();
}

void TCustomLinkLabel::SetLinkColorHot(TColor color)
{
    if (color == LinkColorHot())
        return;
    Renderer().SetLinkColorHot(color);
    Invalidate();
}

TFontStyles TCustomLinkLabel::LinkStyle() const
{
    return Renderer().LinkStyle();
}

void TCustomLinkLabel::SetLinkStyle(TFontStyles styles)
{
    if (styles == LinkStyle())
        return;
    Renderer().SetLinkStyle(styles);
    // The words of links were measured in the old style.
    FNodeTree->ClearWordInfo();
    Invalidate();
}

void TCustomLinkLabel::SetHotLinks(bool on)
{
    if (on == FHotLinks)
        return;
    FHotLinks = on;
    if (!on && FActiveLinkNode && FActiveLinkNode->State() == lsHot)
        ReturnActiveLinkToNormal();
}

void TCustomLinkLabel::SetAutoHeight(bool on)
{
    if (on == FAutoHeight)
        return;
    FAutoHeight = on;
    Invalidate();
}

void TCustomLinkLabel::SetMarginWidth(int pixels)
{
    pixels = std::max(0, pixels);
    if (pixels == FMarginWidth)
        return;
    FMarginWidth = pixels;
    Invalidate();
}

void TCustomLinkLabel::SetMarginHeight(int pixels)
{
    pixels = std::max(0, pixels);
    if (pixels == FMarginHeight)
        return;
    FMarginHeight = pixels;
    Invalidate();
}

void TCustomLinkLabel::SetFontColor(TColor color)
{
    if (color == FFontColor)
        return;
    FFontColor = color;
    ApplyFontToRoot();
    Invalidate();
}

void TCustomLinkLabel::SetParentColor(bool on)
{
    if (on == FParentColor)
        return;
    FParentColor = on;
    Invalidate();
}

void TCustomLinkLabel::ColorChanged()
{
    FParentColor = false;
    Invalidate();
}

TColor TCustomLinkLabel::EffectiveColor() const
{
    if (!FParentColor)
        return Color();
    const QWidget* parent = parentWidget();
    if (!parent)
        return Color();
    if (auto* panel = qobject_cast<const TExCustomPanel*>(parent))
        return panel->Color();
    if (auto* control = qobject_cast<const TExGraphicControl*>(parent))
        return control->Color();
    return FromQColor(parent->palette().color(parent->backgroundRole()));
}

void TCustomLinkLabel::Loaded()
{
    FOriginalCursor = cursor().shape();
}

void TCustomLinkLabel::ApplyFontToRoot()
{
    TRootNode& root = FNodeTree->Root();
    root.SetStyles(StylesOfFont(font()));
    root.SetColor(FFontColor);
}

void TCustomLinkLabel::Invalidate()
{
    FFullPaintPending = true;
    update();
}

void TCustomLinkLabel::UpdateDynamicTag(int Number, const QString& Source)
{
    TRootNode& root = FNodeTree->Root();
    TTopLevelNodeEnumerator parts(root, ntDynamicNode);
    while (parts.HasNext()) {
        auto* part = static_cast<TDynamicNode*>(parts.GetNext());
        if (part->Number() != Number)
            continue;
        // The active link may be among the nodes about to be destroyed.
        for (const TNode* n = FActiveLinkNode; n; n = n->Parent())
            if (n == part) {
                FActiveLinkNode = nullptr;
                break;
            }
        FLinksToRedraw.clear();
        FLinkRegion = QRegion();
        part->DestroyChildren();
        std::unique_ptr<IParser> parser = MakeParser();
        parser->AddSourceTreeToDynamicNode(*part, Source);
        // The cached link rectangles may describe links that no longer exist.
        root.ClearLinkRects();
        FFullPaintPending = true;
        repaint();
        return;
    }
    throw ELinkLabelError("TCustomLinkLabel.UpdateDynamicTag: Tag not found");
}

QString TCustomLinkLabel::GetDynamicTagContents(int Number) const
{
    TTopLevelNodeEnumerator parts(FNodeTree->Root(), ntDynamicNode);
    for (int i = 0; parts.HasNext(); ++i) {
        auto* part = static_cast<TDynamicNode*>(parts.GetNext());
        if (i == Number)
            return part->GetText();
    }
    throw ELinkLabelError("Unable to locate specified node");
}

void TCustomLinkLabel::changeEvent(QEvent* event)
{
    TExGraphicControl::changeEvent(event);
    if (event->type() == QEvent::FontChange) {
        ApplyFontToRoot();
        FNodeTree->ClearWordInfo();
        Invalidate();
    }
}

TRect TCustomLinkLabel::TextArea(QPoint origin) const
{
    return {origin.x(), origin.y(), width() - FMarginWidth, std::max(origin.y(), height() - FMarginHeight)};
}

void TCustomLinkLabel::SetClientHeight(int height)
{
    height = std::clamp(height, 0, QWIDGETSIZE_MAX);
    if (GetAlign(this) == alBottom)
        setGeometry(x(), y() + this->height() - height, width(), height);
    else
        resize(width(), height);
}

void TCustomLinkLabel::Paint(QPainter& painter)
{
    const TColor background = EffectiveColor();
    if (!FTransparent)
        painter.fillRect(rect(), ToQColor(background));

    // The picture is one pixel larger than the area inside the margins, and the text is laid
    // out up to its last column: text wraps at the client width less the margins.
    const int pictureWidth = std::max(1, width() - 2 * FMarginWidth + 1);
    const int pictureHeight = std::max(1, height() - 2 * FMarginHeight + 1);
    const qreal ratio = devicePixelRatioF();
    QImage picture(QSize(pictureWidth, pictureHeight) * ratio, QImage::Format_ARGB32_Premultiplied);
    if (picture.isNull())
        return;
    picture.setDevicePixelRatio(ratio);
    // The same resolution as the label, so that fonts given in points measure alike.
    picture.setDotsPerMeterX(qRound(logicalDpiX() / 0.0254));
    picture.setDotsPerMeterY(qRound(logicalDpiY() / 0.0254));
    picture.fill(FTransparent ? QColor(Qt::transparent) : ToQColor(background));
    {
        QPainter picturePainter(&picture);
        picturePainter.setFont(font());
        TPainterCanvas canvas(picturePainter, font());
        Renderer().RenderTree(canvas, TRect{0, 0, pictureWidth - 1, pictureHeight - 1}, *FNodeTree);
    }
    const int textHeight = Renderer().GetTextHeight();

    const TAlign align = GetAlign(this);
    if (FAutoHeight && (align == alNone || align == alTop || align == alBottom)) {
        const long long wanted = static_cast<long long>(textHeight) + 2LL * FMarginHeight;
        if (wanted != height() && wanted <= QWIDGETSIZE_MAX) {
            // The resize brings a new paint at the new size.
            SetClientHeight(static_cast<int>(wanted));
            return;
        }
    }

    const int top = FMarginHeight;
    const int bottom = height() - FMarginHeight;
    int y = top;
    if (FLayout == tlCenter)
        y = top + (bottom - top - textHeight) / 2;
    else if (FLayout == tlBottom)
        y = bottom - textHeight;
    const QPoint origin(FMarginWidth, std::max(y, FMarginHeight));
    FNodeTree->Root().StartingPoint = origin;

    // A hot or clicked link keeps its colour through a full paint: the picture shows it in the
    // normal link colour, so it is left out there and drawn by itself.
    TLinkNode* active = FActiveLinkNode && FActiveLinkNode->State() != lsNormal ? FActiveLinkNode : nullptr;
    const QRegion activeRegion = active ? LinkRegion(*active) : QRegion();
    if (!activeRegion.isEmpty())
        painter.setClipRegion(QRegion(rect()) - activeRegion);
    painter.drawImage(origin, picture);
    painter.setClipping(false);
    if (!activeRegion.isEmpty())
        DrawLink(painter, *active);
}

void TCustomLinkLabel::paintEvent(QPaintEvent* event)
{
    QPainter painter(this);
    const bool linksOnly = !FFullPaintPending && !FLinksToRedraw.empty() && (event->region() - FLinkRegion).isEmpty();
    std::vector<TLinkNode*> links;
    links.swap(FLinksToRedraw);
    FLinkRegion = QRegion();
    if (linksOnly) {
        for (TLinkNode* link : links)
            DrawLink(painter, *link);
        return;
    }
    FFullPaintPending = false;
    Paint(painter);
}

QRegion TCustomLinkLabel::LinkRegion(const TLinkNode& link) const
{
    const QPoint origin = Origin();
    QRegion region;
    for (const TRect& r : link.TextRects())
        region += r.Translated(origin.x(), origin.y()).ToQRect();
    return region & rect();
}

void TCustomLinkLabel::DrawLink(QPainter& painter, TLinkNode& link)
{
    const QRegion region = LinkRegion(link);
    if (region.isEmpty())
        return;
    painter.save();
    painter.setClipRegion(region);
    // Transparent: Qt has already put the parent's drawing back under the region.
    if (!FTransparent)
        painter.fillRect(region.boundingRect(), ToQColor(EffectiveColor()));
    painter.setFont(font());
    TPainterCanvas canvas(painter, font());
    Renderer().RenderNode(canvas, TextArea(Origin()), link);
    painter.restore();
}

void TCustomLinkLabel::RedrawLink(TLinkNode* link)
{
    const QRegion region = LinkRegion(*link);
    if (region.isEmpty())
        return;
    if (std::find(FLinksToRedraw.begin(), FLinksToRedraw.end(), link) == FLinksToRedraw.end())
        FLinksToRedraw.push_back(link);
    FLinkRegion += region;
    update(region);
}

void TCustomLinkLabel::ForgetLinks()
{
    FActiveLinkNode = nullptr;
    FLinksToRedraw.clear();
    FLinkRegion = QRegion();
}

void TCustomLinkLabel::MakeLinkState(TLinkNode* link, TLinkState state)
{
    if (FActiveLinkNode == link && link->State() == state)
        return;
    if (FActiveLinkNode != link)
        ReturnActiveLinkToNormal();
    link->SetState(state);
    FActiveLinkNode = link;
    RedrawLink(link);
}

void TCustomLinkLabel::ReturnActiveLinkToNormal()
{
    if (!FActiveLinkNode)
        return;
    TLinkNode* link = FActiveLinkNode;
    FActiveLinkNode = nullptr;
    link->SetState(lsNormal);
    RedrawLink(link);
}

bool TCustomLinkLabel::IsOverLink(QPoint pos) const
{
    return FNodeTree->Root().IsPointInNodeClass(pos - Origin(), ntLinkNode);
}

TLinkNode* TCustomLinkLabel::LinkAt(QPoint pos) const
{
    if (!IsOverLink(pos))
        return nullptr;
    return static_cast<TLinkNode*>(FNodeTree->Root().GetNodeAtPointOfClass(pos - Origin(), ntLinkNode));
}

void TCustomLinkLabel::PointerMoved(QPoint pos, bool changeCursor)
{
    const bool clicked = FActiveLinkNode && FActiveLinkNode->State() == lsClicked;
    if (IsOverLink(pos)) {
        if (changeCursor && cursor().shape() != FLinkCursor)
            setCursor(FLinkCursor);
        if (FHotLinks && !clicked)
            if (TLinkNode* link = LinkAt(pos))
                MakeLinkState(link, lsHot);
        return;
    }
    if (changeCursor && cursor().shape() != FOriginalCursor)
        setCursor(FOriginalCursor);
    if (FHotLinks && !clicked)
        ReturnActiveLinkToNormal();
}

void TCustomLinkLabel::mouseMoveEvent(QMouseEvent* event)
{
    TExGraphicControl::mouseMoveEvent(event);
    PointerMoved(event->position().toPoint(), true);
}

void TCustomLinkLabel::mousePressEvent(QMouseEvent* event)
{
    TExGraphicControl::mousePressEvent(event);
    event->accept();  // the press is the label's, not the parent's under it
    if (TLinkNode* link = LinkAt(event->position().toPoint()))
        MakeLinkState(link, lsClicked);
}

void TCustomLinkLabel::mouseReleaseEvent(QMouseEvent* event)
{
    TExGraphicControl::mouseReleaseEvent(event);
    if (TLinkNode* link = LinkAt(event->position().toPoint())) {
        const int number = link->Number();
        const QString text = link->GetText();
        const QString param = link->GetParam();
        try {
            NotifyLinkClick(number, text, param);
        } catch (...) {
            ReturnActiveLinkToNormal();
            throw;
        }
    }
    ReturnActiveLinkToNormal();
}

void TCustomLinkLabel::MouseLeave()
{
    const bool clicked = FActiveLinkNode && FActiveLinkNode->State() == lsClicked;
    if (FHotLinks && !clicked)
        ReturnActiveLinkToNormal();
    TExGraphicControl::MouseLeave();
}
