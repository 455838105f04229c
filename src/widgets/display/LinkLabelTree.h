#pragma once
// The node tree of a marked-up caption: spans (bold, italic, underline, colour, link, dynamic
// part) hold text, breaks and unrecognised tags in document order. The tree also keeps what the
// last drawing found out: where each area starts, the styles and colour in force there, where
// each piece of text went, and the measured word widths.

#include "Align.h"
#include "Colors.h"
#include "LinkLabelTools.h"

#include <QPoint>
#include <QString>
#include <cstdint>
#include <memory>
#include <stdexcept>
#include <vector>

class ENodeError : public std::runtime_error
{
public:
    using std::runtime_error::runtime_error;
};

enum TNodeType : std::uint8_t {
    ntNode,
    ntParentNode,
    ntAreaNode,
    ntStyleNode,
    ntColorNode,
    ntLinkNode,
    ntDynamicNode,
    ntRootNode,
    ntStringNode,
    ntActionNode,
    ntUnknownNode,
};

enum TLinkState : std::uint8_t { lsNormal, lsClicked, lsHot };
enum TActionType : std::uint8_t { atLineBreak, atParagraphBreak };

// A link's colour is one of these markers, resolved by the renderer to the link colour of the
// link's state.
inline constexpr TColor kLinkColorNormal = 0x80000400u;
inline constexpr TColor kLinkColorClicked = 0x80000401u;
inline constexpr TColor kLinkColorHot = 0x80000402u;

class TRootNode;
class TParentNode;

class INodeEnumerator
{
public:
    virtual ~INodeEnumerator() = default;
    virtual bool HasNext() const = 0;
    virtual class TNode* GetNext() = 0;
    virtual void Reset() = 0;
};

class IRectEnumerator
{
public:
    virtual ~IRectEnumerator() = default;
    virtual bool HasNext() const = 0;
    virtual TRect GetNext() = 0;
    virtual void Reset() = 0;
};

class TNode
{
public:
    TNode() = default;
    TNode(const TNode&) = delete;
    TNode& operator=(const TNode&) = delete;
    virtual ~TNode() = default;

    TParentNode* Parent() const { return FParent; }
    TRootNode* RootNode() const { return FRootNode; }
    void SetParent(TParentNode* parent) { FParent = parent; }
    void SetRootNode(TRootNode* root) { FRootNode = root; }

    // The class of the node among the known ones; a class of its own raises ENodeError.
    TNodeType GetNodeType() const;
    // Whether the node is of the class `type` or of a class derived from it.
    bool IsOfClass(TNodeType type) const;
    // Number of parent nodes above this one.
    int Depth() const;

private:
    TParentNode* FParent = nullptr;
    TRootNode* FRootNode = nullptr;
};

class TParentNode : public TNode
{
public:
    ~TParentNode() override;

    const std::vector<TNode*>& Children() const { return FChildren; }
    // Appends a child and makes this node its parent; the child shares this node's root.
    TNode* AddChild(std::unique_ptr<TNode> child);
    // Destroys the children (or drops them, when this node does not own them).
    void DestroyChildren();
    // Moves every child of `source` to the end of this node's children, which then belong to
    // this node; `source` keeps none.
    void TakeChildrenFrom(TParentNode& source);

    bool OwnsChildren() const { return FOwnsChildren; }
    void SetOwnsChildren(bool owns) { FOwnsChildren = owns; }

    // The outermost nodes of class `type` below this node, in document order: it does not look
    // inside the nodes it yields.
    std::unique_ptr<INodeEnumerator> GetTopLevelNodeEnumerator(TNodeType type) const;

private:
    std::vector<TNode*> FChildren;
    bool FOwnsChildren = true;
};

class TAreaNode : public TParentNode
{
public:
    // Where the node's first text starts, relative to the drawing origin.
    QPoint StartingPoint;

    TFontStyles Styles() const { return FStyles; }
    void SetStyles(TFontStyles styles) { FStyles = styles; }
    // The text colour in force at the node.
    virtual TColor GetColor() const { return FColor; }
    void SetColor(TColor color) { FColor = color; }

    // The texts of the outermost string nodes below, joined without separator.
    QString GetText() const;
    // Every rectangle where text below this node was drawn (relative to the drawing origin).
    std::unique_ptr<IRectEnumerator> GetRectEnumerator() const;
    std::vector<TRect> TextRects() const;

private:
    TFontStyles FStyles;
    TColor FColor = clWindowText;
};

class TRootNode final : public TAreaNode
{
public:
    TRootNode();

    // Refills the cache of the text rectangles of all outermost links.
    void RetrieveRectsOfTLinkNodeChildren();
    const std::vector<TRect>& LinkRects() const { return FLinkRects; }
    void ClearLinkRects() { FLinkRects.clear(); }

    // Whether the point lies on text of an outermost node of class `type`. For links the cache
    // answers when it holds anything.
    bool IsPointInNodeClass(QPoint point, TNodeType type) const;
    // The outermost node of class `type` whose text rectangles contain the point, or null.
    TAreaNode* GetNodeAtPointOfClass(QPoint point, TNodeType type) const;

private:
    std::vector<TRect> FLinkRects;
};

class TStyleNode final : public TAreaNode
{
public:
    explicit TStyleNode(TFontStyle style) : FStyle(style) {}
    TFontStyle Style() const { return FStyle; }

private:
    TFontStyle FStyle;
};

class TColorNode final : public TAreaNode
{
public:
    explicit TColorNode(TColor color) : FTextColor(color) {}
    // The colour the tag gives its contents.
    TColor TextColor() const { return FTextColor; }

private:
    TColor FTextColor;
};

class TLinkNode final : public TAreaNode
{
public:
    explicit TLinkNode(QString param);

    int Number() const { return FNumber; }
    QString GetParam() const { return FParam; }
    TLinkState State() const { return FState; }
    void SetState(TLinkState state) { FState = state; }
    // The marker of the link's state (kLinkColorNormal, ...), never an RGB value.
    TColor GetColor() const override;

    // Links are numbered 0, 1, 2... in the order they are made; the label restarts the count
    // for each caption.
    static void ResetNumbering() { NextNumber = 0; }

private:
    static inline int NextNumber = 0;
    int FNumber;
    QString FParam;
    TLinkState FState = lsNormal;
};

class TDynamicNode final : public TAreaNode
{
public:
    TDynamicNode();
    int Number() const { return FNumber; }
    static void ResetNumbering() { NextNumber = 0; }

private:
    static inline int NextNumber = 0;
    int FNumber;
};

// What one word of a string node measures, kept until the font changes.
struct TSpaceInfo {
    bool LastWordEndsWithSpace = false;
    int SpaceWidth = 0;
};
struct TWordInfo : TSpaceInfo {
    int Width = 0;
};

class TStringNode : public TNode
{
public:
    explicit TStringNode(QString text) : FText(std::move(text)) {}

    const QString& Text() const { return FText; }

    const std::vector<TRect>& Rects() const { return FRects; }
    void AddRect(const TRect& rect) { FRects.push_back(rect); }
    void ClearRects() { FRects.clear(); }

    int WordInfoCount() const { return static_cast<int>(FWordInfoArray.size()); }
    // Raises ENodeError for a word not measured yet.
    const TWordInfo& GetWordInfo(int index) const;
    void AddWordInfo(const TWordInfo& info) { FWordInfoArray.push_back(info); }
    void ClearWordInfo()
    {
        FWordInfoArray.clear();
        FWordInfoRetrieved = false;
    }
    bool WordInfoRetrieved() const { return FWordInfoRetrieved; }
    void SetWordInfoRetrieved(bool on) { FWordInfoRetrieved = on; }

    // Its first word was measured together with the text before it.
    bool FirstWordWidthRetrieved() const { return FFirstWordWidthRetrieved; }
    void SetFirstWordWidthRetrieved(bool on) { FFirstWordWidthRetrieved = on; }

private:
    QString FText;
    std::vector<TRect> FRects;
    std::vector<TWordInfo> FWordInfoArray;
    bool FWordInfoRetrieved = false;
    bool FFirstWordWidthRetrieved = false;
};

class TActionNode final : public TNode
{
public:
    explicit TActionNode(TActionType action) : FAction(action) {}
    TActionType Action() const { return FAction; }

private:
    TActionType FAction;
};

class TUnknownNode final : public TNode
{
public:
    explicit TUnknownNode(QString text) : FText(std::move(text)) {}
    const QString& Text() const { return FText; }

private:
    QString FText;
};

class TNodeTree
{
public:
    TNodeTree();
    TRootNode& Root() { return *FRoot; }
    const TRootNode& Root() const { return *FRoot; }
    // Forgets every measured word width (the font changed).
    void ClearWordInfo();

private:
    std::unique_ptr<TRootNode> FRoot;
};

// Walks a list gathered once; asking past its end raises ENodeError.
class TTopLevelNodeEnumerator final : public INodeEnumerator
{
public:
    TTopLevelNodeEnumerator(const TParentNode& start, TNodeType type);
    bool HasNext() const override { return FIndex < FNodes.size(); }
    TNode* GetNext() override;
    void Reset() override { FIndex = 0; }

private:
    std::vector<TNode*> FNodes;
    std::size_t FIndex = 0;
};

class TRectEnumerator final : public IRectEnumerator
{
public:
    explicit TRectEnumerator(std::vector<TRect> rects) : FRects(std::move(rects)) {}
    bool HasNext() const override { return FIndex < FRects.size(); }
    TRect GetNext() override;
    void Reset() override { FIndex = 0; }

private:
    std::vector<TRect> FRects;
    std::size_t FIndex = 0;
};
