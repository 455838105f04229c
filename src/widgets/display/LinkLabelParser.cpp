#include "LinkLabelParser.h"

#include <array>
#include <optional>

namespace {

enum class TTagKind : std::uint8_t { Bold, Italic, Underline, Color, Link, LineBreak, Paragraph, Dynamic };

struct TTagName {
    const char* Name;
    TTagKind Kind;
};

// Tried in this order. A name ending in "=" matches every tag that starts with the letters
// before the "=", whatever follows them; the others match the whole tag text.
constexpr std::array kTagNames{
    TTagName{"B", TTagKind::Bold},       TTagName{"I", TTagKind::Italic},
    TTagName{"U", TTagKind::Underline},  TTagName{"COLOR=", TTagKind::Color},
    TTagName{"LINK=", TTagKind::Link},   TTagName{"BR", TTagKind::LineBreak},
    TTagName{"P", TTagKind::Paragraph},  TTagName{"DYNAMIC", TTagKind::Dynamic},
};

bool TagMatches(const QString& tag, const char* name)
{
    const QLatin1String n(name);
    if (n.endsWith(u'='))
        return tag.startsWith(n.chopped(1), Qt::CaseInsensitive);
    return tag.compare(n, Qt::CaseInsensitive) == 0;
}

QString TagParam(const QString& tag)
{
    const qsizetype eq = tag.indexOf(u'=');
    return eq < 0 ? QString() : tag.mid(eq + 1);
}

std::optional<TTagKind> MatchTag(const QString& tag)
{
    for (const TTagName& name : kTagNames)
        if (TagMatches(tag, name.Name))
            return name.Kind;
    return std::nullopt;
}

bool IsSpanTag(TTagKind kind)
{
    return kind == TTagKind::Bold || kind == TTagKind::Italic || kind == TTagKind::Underline
           || kind == TTagKind::Color || kind == TTagKind::Link;
}

} // namespace

TElementEnumerator::TElementEnumerator(const QString& text)
    : FText(text)
{
    FText.remove(QLatin1String("\r\n"));
}

TElement TElementEnumerator::NextElement(qsizetype& next) const
{
    if (IsEndReached())
        throw EParserError("TElementEnumerator.GetNextElement: No more elements to return");
    const qsizetype length = FText.size();
    if (FText[FPos] == u'<') {
        const bool endTag = FPos + 1 < length && FText[FPos + 1] == u'/';
        const qsizetype start = FPos + (endTag ? 2 : 1);
        const qsizetype close = FText.indexOf(u'>', start);
        TElement element{endTag ? ekEndTag : ekBeginTag, {}};
        if (close < 0) {
            // An unclosed tag runs to the end of the text, short of its last character.
            element.Text = FText.mid(start, std::max<qsizetype>(0, length - start - 1));
            next = length;
        } else {
            element.Text = FText.mid(start, close - start);
            next = close + 1;
        }
        return element;
    }
    qsizetype end = FText.indexOf(u'<', FPos);
    if (end < 0)
        end = length;
    next = end;
    return {ekString, FText.mid(FPos, end - FPos)};
}

TElement TElementEnumerator::PopNextElement()
{
    qsizetype next = 0;
    TElement element = NextElement(next);
    FPos = next;
    return element;
}

TElement TElementEnumerator::PeekNextElement() const
{
    qsizetype next = 0;
    return NextElement(next);
}

std::unique_ptr<TNodeTree> TDefaultParser::Parse(const QString& text)
{
    return ParseAt(text, 0);
}

std::unique_ptr<TNodeTree> TDefaultParser::ParseAt(const QString& text, int depth)
{
    auto tree = std::make_unique<TNodeTree>();
    TElementEnumerator elements(text);
    FFlattenedSpans = 0;
    ParseNode(elements, tree->Root(), depth);
    return tree;
}

void TDefaultParser::AddSourceTreeToDynamicNode(TDynamicNode& node, const QString& source)
{
    // The separate tree starts at the dynamic node's depth, so that the depth limit holds for
    // the tree the nodes end up in.
    std::unique_ptr<TNodeTree> tree = ParseAt(source, node.Depth());
    tree->Root().SetOwnsChildren(false);
    node.TakeChildrenFrom(tree->Root());
}

std::unique_ptr<TNode> TDefaultParser::MakeNode(const QString& tag) const
{
    const std::optional<TTagKind> kind = MatchTag(tag);
    if (!kind)
        return std::make_unique<TUnknownNode>(tag);
    switch (*kind) {
    case TTagKind::Bold: return std::make_unique<TStyleNode>(fsBold);
    case TTagKind::Italic: return std::make_unique<TStyleNode>(fsItalic);
    case TTagKind::Underline: return std::make_unique<TStyleNode>(fsUnderline);
    case TTagKind::Color: return std::make_unique<TColorNode>(StringToColor(TagParam(tag)).value_or(clBlack));
    case TTagKind::Link: return std::make_unique<TLinkNode>(TagParam(tag));
    case TTagKind::LineBreak: return std::make_unique<TActionNode>(atLineBreak);
    case TTagKind::Paragraph: return std::make_unique<TActionNode>(atParagraphBreak);
    case TTagKind::Dynamic: return std::make_unique<TDynamicNode>();
    }
    return std::make_unique<TUnknownNode>(tag);
}

void TDefaultParser::ParseNode(IElementEnumerator& elements, TParentNode& parent, int depth)
{
    for (;;) {
        if (elements.IsEndReached())
            return;
        if (elements.PeekNextElement().Kind == ekEndTag) {
            if (FFlattenedSpans > 0) {
                // Closes a span that was flattened into this level.
                elements.PopNextElement();
                --FFlattenedSpans;
                continue;
            }
            // Any end tag closes the innermost open span; at the top level it ends the text.
            if (&parent != parent.RootNode())
                elements.PopNextElement();
            return;
        }
        const TElement element = elements.PopNextElement();
        if (element.Kind == ekString) {
            parent.AddChild(std::make_unique<TStringNode>(ReplaceEntities(element.Text)));
            continue;
        }

        if (depth >= kMaxSpanDepth) {
            // Too deep for another span: keep the tag as an invisible node, and let the span's
            // end tag close nothing but the flattened span.
            const std::optional<TTagKind> kind = MatchTag(element.Text);
            if (kind && (*kind == TTagKind::Dynamic || IsSpanTag(*kind))) {
                if (IsSpanTag(*kind))
                    ++FFlattenedSpans;
                parent.AddChild(std::make_unique<TUnknownNode>(element.Text));
                continue;
            }
        }
        TNode* node = parent.AddChild(MakeNode(element.Text));
        if (auto* dynamic = dynamic_cast<TDynamicNode*>(node)) {
            if (FHandler) {
                const QString source = FHandler->GetDynamicNodeSource(*dynamic);
                if (!source.isEmpty()) {
                    // A parser of its own, asking no handler: a part cannot bring further parts.
                    TDefaultParser inner;
                    inner.AddSourceTreeToDynamicNode(*dynamic, source);
                }
            }
            continue;
        }
        if (auto* span = dynamic_cast<TParentNode*>(node))
            ParseNode(elements, *span, depth + 1);
    }
}
