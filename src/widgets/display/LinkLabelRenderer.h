#pragma once
// Draws a node tree on a canvas within a rectangle: walks the spans, hands their text to a text
// handler in the styles and colour in force, and records where every area starts. Links are
// drawn in the link colour of their state and with the link style added.

#include "Align.h"
#include "Colors.h"
#include "LinkLabelTextHandler.h"
#include "LinkLabelTools.h"
#include "LinkLabelTree.h"

class IRenderer
{
public:
    virtual ~IRenderer() = default;
    // Draws the whole tree; the rectangle's top-left corner becomes the root's starting point
    // and the origin of every recorded position.
    virtual void RenderTree(TLinkLabelCanvas& canvas, const TRect& rect, TNodeTree& tree) = 0;
    // Draws one area again where the last full drawing put it, in its own colour (for a link:
    // the colour of its state). The origin is the root's starting point.
    virtual void RenderNode(TLinkLabelCanvas& canvas, const TRect& rect, TAreaNode& node) = 0;
    // The height of the text of the last drawing.
    virtual int GetTextHeight() const = 0;

    virtual TColor LinkColor() const = 0;
    virtual void SetLinkColor(TColor color) = 0;
    virtual TColor LinkColorClicked() const = 0;
    virtual void SetLinkColorClicked(TColor color) = 0;
    virtual TColor LinkColorHot() const = 0;
    virtual void SetLinkColorHot(TColor color) = 0;
    virtual TFontStyles LinkStyle() const = 0;
    virtual void SetLinkStyle(TFontStyles styles) = 0;
};

class TDefaultRenderer final : public IRenderer, private IStartingPosObserver
{
public:
    void RenderTree(TLinkLabelCanvas& canvas, const TRect& rect, TNodeTree& tree) override;
    void RenderNode(TLinkLabelCanvas& canvas, const TRect& rect, TAreaNode& node) override;
    int GetTextHeight() const override { return FTextHeight; }

    TColor LinkColor() const override { return FLinkColor; }
    void SetLinkColor(TColor color) override { FLinkColor = color; }
    TColor LinkColorClicked() const override { return FLinkColorClicked; }
    void SetLinkColorClicked(TColor color) override { FLinkColorClicked = color; }
    TColor LinkColorHot() const override { return FLinkColorHot; }
    void SetLinkColorHot(TColor color) override { FLinkColorHot = color; }
    TFontStyles LinkStyle() const override { return FLinkStyle; }
    void SetLinkStyle(TFontStyles styles) override { FLinkStyle = styles; }

    // A colour as drawn: the link markers become the link colours, any other colour stays.
    TColor ResolveColor(TColor color) const;

private:
    void StartingPosition(int x, int y, TAreaNode& node) override;
    void RenderChildren(ITextHandler& handler, TAreaNode& node, TFontStyles styles, TColor color);
    void RenderArea(ITextHandler& handler, TAreaNode& node, TFontStyles styles, TColor color);

    TColor FLinkColor = clBlue;
    TColor FLinkColorClicked = clRed;
    TColor FLinkColorHot = clPurple;
    TFontStyles FLinkStyle{fsUnderline};
    int FTextHeight = 0;
};
