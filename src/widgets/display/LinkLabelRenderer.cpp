#include "LinkLabelRenderer.h"

TColor TDefaultRenderer::ResolveColor(TColor color) const
{
    switch (color) {
    case kLinkColorNormal: return FLinkColor;
    case kLinkColorClicked: return FLinkColorClicked;
    case kLinkColorHot: return FLinkColorHot;
    default: return color;
    }
}

void TDefaultRenderer::StartingPosition(int x, int y, TAreaNode& node)
{
    node.StartingPoint = QPoint(x, y);
}

void TDefaultRenderer::RenderTree(TLinkLabelCanvas& canvas, const TRect& rect, TNodeTree& tree)
{
    TRootNode& root = tree.Root();
    root.StartingPoint = QPoint(rect.Left, rect.Top);
    TTextHandler handler(canvas, rect, root.StartingPoint, QPoint(0, 0));
    const TColor color = ResolveColor(root.GetColor());
    root.SetColor(color);
    RenderChildren(handler, root, root.Styles(), color);
    handler.EmptyBuffer();
    FTextHeight = handler.GetTextHeight();
    root.RetrieveRectsOfTLinkNodeChildren();
}

void TDefaultRenderer::RenderNode(TLinkLabelCanvas& canvas, const TRect& rect, TAreaNode& node)
{
    TRootNode* root = node.RootNode();
    const QPoint origin = root ? root->StartingPoint : QPoint(0, 0);
    // The root's own starting point is the origin itself.
    const QPoint pen = &node == root ? QPoint(0, 0) : node.StartingPoint;
    TTextHandler handler(canvas, rect, origin, pen);
    RenderChildren(handler, node, node.Styles(), ResolveColor(node.GetColor()));
    handler.EmptyBuffer();
    FTextHeight = handler.GetTextHeight();
}

void TDefaultRenderer::RenderArea(ITextHandler& handler, TAreaNode& node, TFontStyles styles, TColor color)
{
    if (handler.IsPosCurrent())
        node.StartingPoint = handler.PenPos();
    else
        handler.AddStartingPosObserver(*this, node);
    node.SetStyles(styles);
    node.SetColor(color);
    RenderChildren(handler, node, styles, color);
}

void TDefaultRenderer::RenderChildren(ITextHandler& handler, TAreaNode& node, TFontStyles styles, TColor color)
{
    for (TNode* child : node.Children()) {
        TFontStyles childStyles = styles;
        TColor childColor = color;
        if (auto* style = dynamic_cast<TStyleNode*>(child)) {
            childStyles = childStyles.With(style->Style());
        } else if (auto* colored = dynamic_cast<TColorNode*>(child)) {
            childColor = ResolveColor(colored->TextColor());
        } else if (dynamic_cast<TLinkNode*>(child)) {
            // A full drawing shows every link in the normal link colour; the colours of the
            // other states appear when the label draws that one link again.
            childStyles = childStyles | FLinkStyle;
            childColor = ResolveColor(kLinkColorNormal);
        } else if (auto* text = dynamic_cast<TStringNode*>(child)) {
            handler.TextOut(*text, childStyles, childColor);
        } else if (auto* action = dynamic_cast<TActionNode*>(child)) {
            if (action->Action() == atParagraphBreak)
                handler.DoParagraphBreak();
            else
                handler.DoLineBreak();
        }
        if (auto* area = dynamic_cast<TAreaNode*>(child))
            RenderArea(handler, *area, childStyles, childColor);
    }
}
