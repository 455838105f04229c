#pragma once
// Turns a marked-up caption into a node tree. Tags are written between "<" and ">", end tags
// as "</...>"; "&lt;" and "&gt;" stand for the two angle brackets. Malformed mark-up is never
// an error: it always yields some tree.

#include "LinkLabelTree.h"

#include <QString>
#include <cstdint>
#include <memory>
#include <stdexcept>

class EParserError : public std::runtime_error
{
public:
    using std::runtime_error::runtime_error;
};

enum TElementKind : std::uint8_t { ekBeginTag, ekEndTag, ekString };

struct TElement {
    TElementKind Kind = ekString;
    QString Text;
    friend bool operator==(const TElement&, const TElement&) = default;
};

class IElementEnumerator
{
public:
    virtual ~IElementEnumerator() = default;
    virtual TElement PopNextElement() = 0;
    virtual TElement PeekNextElement() const = 0;
    virtual bool IsEndReached() const = 0;
};

// Cuts a text into tags and strings. Carriage-return-and-line-feed pairs are removed first.
class TElementEnumerator final : public IElementEnumerator
{
public:
    explicit TElementEnumerator(const QString& text);

    TElement PopNextElement() override;
    TElement PeekNextElement() const override;
    bool IsEndReached() const override { return FPos >= FText.size(); }

private:
    // The element at the current position and the position after it.
    TElement NextElement(qsizetype& next) const;

    QString FText;
    qsizetype FPos = 0;
};

// Answers the source of a dynamic part while a caption is parsed.
class IDynamicNodeHandler
{
public:
    virtual ~IDynamicNodeHandler() = default;
    virtual QString GetDynamicNodeSource(TDynamicNode& node) = 0;
};

class IParser
{
public:
    virtual ~IParser() = default;
    virtual std::unique_ptr<TNodeTree> Parse(const QString& text) = 0;
    virtual void SetDynamicNodeHandler(IDynamicNodeHandler* handler) = 0;
    // Parses `source` and appends its top-level nodes to the dynamic node's children.
    virtual void AddSourceTreeToDynamicNode(TDynamicNode& node, const QString& source) = 0;
};

class TDefaultParser final : public IParser
{
public:
    std::unique_ptr<TNodeTree> Parse(const QString& text) override;
    void SetDynamicNodeHandler(IDynamicNodeHandler* handler) override { FHandler = handler; }
    void AddSourceTreeToDynamicNode(TDynamicNode& node, const QString& source) override;

    // Spans nest at most this deep; a span tag deeper down shows its contents without its own
    // style, colour or link. Drawing and freeing a tree recurse along its depth, and a caption
    // of thousands of opening tags would otherwise exhaust the stack.
    static constexpr int kMaxSpanDepth = 64;

private:
    std::unique_ptr<TNodeTree> ParseAt(const QString& text, int depth);
    void ParseNode(IElementEnumerator& elements, TParentNode& parent, int depth);
    std::unique_ptr<TNode> MakeNode(const QString& tag) const;

    IDynamicNodeHandler* FHandler = nullptr;
    // Span tags past the depth limit whose end tags are still to come.
    int FFlattenedSpans = 0;
};
