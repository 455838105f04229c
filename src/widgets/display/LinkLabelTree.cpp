#include "LinkLabelTree.h"

#include <typeinfo>
#include <utility>

namespace {

// Visits the nodes below `start` in document order. `visit` returns whether to look inside a
// parent node. An explicit stack keeps deep trees off the call stack.
template <typename Visit>
void Walk(const TParentNode& start, Visit visit)
{
    std::vector<std::pair<const TParentNode*, std::size_t>> stack{{&start, 0}};
    while (!stack.empty()) {
        auto& [parent, index] = stack.back();
        if (index >= parent->Children().size()) {
            stack.pop_back();
            continue;
        }
        TNode* node = parent->Children()[index++];
        if (visit(node))
            if (auto* inner = dynamic_cast<const TParentNode*>(node))
                stack.emplace_back(inner, 0);
    }
}

void SetRootBelow(TParentNode& node, TRootNode* root)
{
    Walk(node, [root](TNode* n) {
        n->SetRootNode(root);
        return true;
    });
}

} // namespace

TNodeType TNode::GetNodeType() const
{
    const std::type_info& type = typeid(*this);
    if (type == typeid(TNode))
        return ntNode;
    if (type == typeid(TParentNode))
        return ntParentNode;
    if (type == typeid(TAreaNode))
        return ntAreaNode;
    if (type == typeid(TStyleNode))
        return ntStyleNode;
    if (type == typeid(TColorNode))
        return ntColorNode;
    if (type == typeid(TLinkNode))
        return ntLinkNode;
    if (type == typeid(TDynamicNode))
        return ntDynamicNode;
    if (type == typeid(TRootNode))
        return ntRootNode;
    if (type == typeid(TStringNode))
        return ntStringNode;
    if (type == typeid(TActionNode))
        return ntActionNode;
    if (type == typeid(TUnknownNode))
        return ntUnknownNode;
    throw ENodeError("TNode.GetNodeType: Unknown class");
}

bool TNode::IsOfClass(TNodeType type) const
{
    switch (type) {
    case ntNode: return true;
    case ntParentNode: return dynamic_cast<const TParentNode*>(this) != nullptr;
    case ntAreaNode: return dynamic_cast<const TAreaNode*>(this) != nullptr;
    case ntStyleNode: return dynamic_cast<const TStyleNode*>(this) != nullptr;
    case ntColorNode: return dynamic_cast<const TColorNode*>(this) != nullptr;
    case ntLinkNode: return dynamic_cast<const TLinkNode*>(this) != nullptr;
    case ntDynamicNode: return dynamic_cast<const TDynamicNode*>(this) != nullptr;
    case ntRootNode: return dynamic_cast<const TRootNode*>(this) != nullptr;
    case ntStringNode: return dynamic_cast<const TStringNode*>(this) != nullptr;
    case ntActionNode: return dynamic_cast<const TActionNode*>(this) != nullptr;
    case ntUnknownNode: return dynamic_cast<const TUnknownNode*>(this) != nullptr;
    }
    return false;
}

int TNode::Depth() const
{
    int depth = 0;
    for (const TParentNode* p = FParent; p; p = p->Parent())
        ++depth;
    return depth;
}

TParentNode::~TParentNode()
{
    DestroyChildren();
}

TNode* TParentNode::AddChild(std::unique_ptr<TNode> child)
{
    child->SetParent(this);
    child->SetRootNode(RootNode());
    if (auto* parent = dynamic_cast<TParentNode*>(child.get()))
        SetRootBelow(*parent, RootNode());
    FChildren.push_back(child.release());
    return FChildren.back();
}

void TParentNode::DestroyChildren()
{
    // Children are taken off the list first, so the list never holds a destroyed node.
    std::vector<TNode*> children;
    children.swap(FChildren);
    if (FOwnsChildren)
        for (TNode* child : children)
            delete child;
}

void TParentNode::TakeChildrenFrom(TParentNode& source)
{
    std::vector<TNode*> moved;
    moved.swap(source.FChildren);
    for (TNode* child : moved)
        AddChild(std::unique_ptr<TNode>(child));
}

std::unique_ptr<INodeEnumerator> TParentNode::GetTopLevelNodeEnumerator(TNodeType type) const
{
    return std::make_unique<TTopLevelNodeEnumerator>(*this, type);
}

QString TAreaNode::GetText() const
{
    QString text;
    TTopLevelNodeEnumerator strings(*this, ntStringNode);
    while (strings.HasNext())
        text += static_cast<TStringNode*>(strings.GetNext())->Text();
    return text;
}

std::vector<TRect> TAreaNode::TextRects() const
{
    std::vector<TRect> rects;
    TTopLevelNodeEnumerator strings(*this, ntStringNode);
    while (strings.HasNext()) {
        const auto& r = static_cast<TStringNode*>(strings.GetNext())->Rects();
        rects.insert(rects.end(), r.begin(), r.end());
    }
    return rects;
}

std::unique_ptr<IRectEnumerator> TAreaNode::GetRectEnumerator() const
{
    return std::make_unique<TRectEnumerator>(TextRects());
}

TRootNode::TRootNode()
{
    SetRootNode(this);
}

void TRootNode::RetrieveRectsOfTLinkNodeChildren()
{
    FLinkRects.clear();
    TTopLevelNodeEnumerator links(*this, ntLinkNode);
    while (links.HasNext()) {
        const auto rects = static_cast<TAreaNode*>(links.GetNext())->TextRects();
        FLinkRects.insert(FLinkRects.end(), rects.begin(), rects.end());
    }
}

bool TRootNode::IsPointInNodeClass(QPoint point, TNodeType type) const
{
    if (type == ntLinkNode && !FLinkRects.empty()) {
        for (const TRect& r : FLinkRects)
            if (r.Contains(point.x(), point.y()))
                return true;
        return false;
    }
    return GetNodeAtPointOfClass(point, type) != nullptr;
}

TAreaNode* TRootNode::GetNodeAtPointOfClass(QPoint point, TNodeType type) const
{
    TTopLevelNodeEnumerator nodes(*this, type);
    while (nodes.HasNext()) {
        auto* area = dynamic_cast<TAreaNode*>(nodes.GetNext());
        if (!area)
            continue;
        for (const TRect& r : area->TextRects())
            if (r.Contains(point.x(), point.y()))
                return area;
    }
    return nullptr;
}

TLinkNode::TLinkNode(QString param)
    : FNumber(NextNumber++)
    , FParam(std::move(param))
{
}

TColor TLinkNode::GetColor() const
{
    switch (FState) {
    case lsClicked: return kLinkColorClicked;
    case lsHot: return kLinkColorHot;
    case lsNormal: break;
    }
    return kLinkColorNormal;
}

TDynamicNode::TDynamicNode()
    : FNumber(NextNumber++)
{
}

const TWordInfo& TStringNode::GetWordInfo(int index) const
{
    if (index < 0 || index >= WordInfoCount())
        throw ENodeError("TStringNode.GetWordInfo: Index out of bounds");
    return FWordInfoArray[static_cast<std::size_t>(index)];
}

TNodeTree::TNodeTree()
    : FRoot(std::make_unique<TRootNode>())
{
}

void TNodeTree::ClearWordInfo()
{
    Walk(*FRoot, [](TNode* n) {
        if (auto* s = dynamic_cast<TStringNode*>(n))
            s->ClearWordInfo();
        return true;
    });
}

TTopLevelNodeEnumerator::TTopLevelNodeEnumerator(const TParentNode& start, TNodeType type)
{
    Walk(start, [&](TNode* n) {
        if (n->IsOfClass(type)) {
            FNodes.push_back(n);
            return false;
        }
        return true;
    });
}

TNode* TTopLevelNodeEnumerator::GetNext()
{
    if (!HasNext())
        throw ENodeError("No more nodes to return");
    return FNodes[FIndex++];
}

TRect TRectEnumerator::GetNext()
{
    if (!HasNext())
        throw ENodeError("No more records to return");
    return FRects[FIndex++];
}
