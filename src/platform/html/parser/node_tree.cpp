#include "platform/html/parser/node_tree.h"

#include <algorithm>
#include <utility>

namespace veltrano::html::parser {

NodeTree::NodeTree(TextStore& text) : mText(text) {
    allocate(NodeKind::Fragment);  // number 0 stands for no node and is never handed out
    allocate(NodeKind::Document);
}

// Out of line, so that the inline allocate's usual path calls nothing.
void NodeTree::addBlock() {
    mBlocks.push_back(std::make_unique<Node[]>(kBlockSize));
}

void NodeTree::forgetAddedAttributes(NodeId id) {
    mAddedAttributes.erase(id);
}

void NodeTree::appendAttributes(std::span<const Attribute> attributes) {
    mAttributes.insert(mAttributes.end(), attributes.begin(), attributes.end());
}

NodeId NodeTree::createComment(TextRef text) {
    const NodeId id = allocate(NodeKind::Comment);
    nodeAt(id).a = text.offset;
    nodeAt(id).b = text.length;
    return id;
}

NodeId NodeTree::createDoctype(Doctype doctype) {
    const NodeId id = allocate(NodeKind::Doctype);
    nodeAt(id).a = static_cast<std::uint32_t>(mDoctypes.size());
    mDoctypes.push_back(std::move(doctype));
    return id;
}

NodeId NodeTree::templateContents(NodeId templateElement) {
    if (const auto it = mTemplateContents.find(templateElement); it != mTemplateContents.end()) {
        return it->second;
    }
    const NodeId fragment = allocate(NodeKind::Fragment);
    mTemplateContents.emplace(templateElement, fragment);
    mTemplates.emplace(fragment, templateElement);
    return fragment;
}

NodeId NodeTree::findTemplateContents(NodeId templateElement) const {
    const auto it = mTemplateContents.find(templateElement);
    return it == mTemplateContents.end() ? kNoNode : it->second;
}

NodeId NodeTree::templateOf(NodeId fragment) const {
    const auto it = mTemplates.find(fragment);
    return it == mTemplates.end() ? kNoNode : it->second;
}

void NodeTree::appendChild(NodeId parent, NodeId child) {
    insertBefore(parent, child, kNoNode);
}

void NodeTree::detach(NodeId id) {
    Node& node = nodeAt(id);
    if (node.parent == kNoNode) {
        return;
    }
    Node& container = nodeAt(node.parent);
    if (node.previousSibling == kNoNode) {
        container.firstChild = node.nextSibling;
    } else {
        nodeAt(node.previousSibling).nextSibling = node.nextSibling;
    }
    if (node.nextSibling == kNoNode) {
        container.lastChild = node.previousSibling;
    } else {
        nodeAt(node.nextSibling).previousSibling = node.previousSibling;
    }
    node.parent = node.previousSibling = node.nextSibling = kNoNode;
}

void NodeTree::moveChildren(NodeId from, NodeId to) {
    Node& source = nodeAt(from);
    if (source.firstChild == kNoNode) {
        return;
    }
    for (NodeId child = source.firstChild; child != kNoNode; child = nodeAt(child).nextSibling) {
        nodeAt(child).parent = to;
    }
    Node& target = nodeAt(to);
    if (target.lastChild == kNoNode) {
        target.firstChild = source.firstChild;
    } else {
        nodeAt(target.lastChild).nextSibling = source.firstChild;
        nodeAt(source.firstChild).previousSibling = target.lastChild;
    }
    target.lastChild = source.lastChild;
    source.firstChild = source.lastChild = kNoNode;
}

void NodeTree::appendText(NodeId textNode, TextRef more) {
    Node& node = nodeAt(textNode);
    if (!node.segmented) {
        TextRef text{node.a, node.b};
        if (text.isFollowedBy(more)) {
            node.b += more.length;
            return;
        }
        if (mText.endsMadeText(text) && (more.offset & TextRef::kMadeBit) == 0) {
            // Text the parser made grows in place when nothing was made after it.
            mText.extendMade(text, mText.view(more));
            node.b = text.length;
            return;
        }
        const auto first = static_cast<std::uint32_t>(mSegments.size());
        mSegments.push_back({text, first + 1});
        mSegments.push_back({more, kNoSegment});
        node.segmented = true;
        node.a = first;
        node.b = first + 1;
        return;
    }
    TextSegment& last = mSegments[node.b];
    if (last.text.isFollowedBy(more)) {
        last.text.length += more.length;
        return;
    }
    const auto index = static_cast<std::uint32_t>(mSegments.size());
    last.next = index;
    mSegments.push_back({more, kNoSegment});
    node.b = index;
}

void NodeTree::addMissingAttributes(NodeId element, std::span<const Attribute> attributes) {
    if (attributes.empty()) {
        return;
    }
    // Both lists are free of duplicate names, so a set of the names present is all it takes.
    const auto key = [](const Attribute& a) {
        return std::uint32_t{a.name} << 8 | static_cast<std::uint32_t>(a.ns);
    };
    const auto [it, first] = mAddedAttributes.try_emplace(element);
    AddedAttributes& added = it->second;
    Node& node = nodeAt(element);
    if (first) {
        for (const Attribute& attribute : this->attributes(element)) {
            added.names.insert(key(attribute));
        }
        added.capacity = node.b;
    }
    std::vector<Attribute> missing;
    for (const Attribute& attribute : attributes) {
        if (added.names.insert(key(attribute)).second) {
            missing.push_back(attribute);
        }
    }
    if (missing.empty()) {
        return;
    }
    if (node.b + missing.size() > added.capacity) {
        // Moves to the end with room for as many again, so that adding costs O(1) amortized.
        const auto start = static_cast<std::uint32_t>(mAttributes.size());
        added.capacity = 2 * static_cast<std::uint32_t>(node.b + missing.size());
        mAttributes.resize(std::size_t{start} + added.capacity);
        std::copy_n(mAttributes.begin() + node.a, node.b, mAttributes.begin() + start);
        node.a = start;
    }
    std::copy(missing.begin(), missing.end(), mAttributes.begin() + node.a + node.b);
    node.b += static_cast<std::uint32_t>(missing.size());
}

std::span<const Attribute> NodeTree::attributes(NodeId element) const {
    const Node& node = nodeAt(element);
    if (node.kind != NodeKind::Element) {
        return {};
    }
    return std::span<const Attribute>(mAttributes).subspan(node.a, node.b);
}

std::optional<std::string_view> NodeTree::attribute(NodeId element, NameId name) const {
    for (const Attribute& attribute : attributes(element)) {
        if (attribute.name == name && attribute.ns == AttributeNamespace::None) {
            return mText.view(attribute.value);
        }
    }
    return std::nullopt;
}

std::string NodeTree::textOf(NodeId node) const {
    std::string text;
    forEachTextPiece(node, [&](std::string_view piece) { text.append(piece); });
    return text;
}

void NodeTree::releaseChildren(NodeId element) {
    Node& root = nodeAt(element);
    NodeId node = root.firstChild;
    root.firstChild = root.lastChild = kNoNode;
    root.released = true;
    // Walks the subtree in tree order without a stack, freeing each node as it comes to it: the
    // free list links nodes by previousSibling, so the links the walk goes on by (first child,
    // next sibling, parent) are still there when it follows them. The free list's head and the
    // count are kept in locals, which writes to nodes cannot change, and stored back around a
    // template's contents, which are freed through the members.
    NodeId freeList = mFreeList;
    std::size_t freed = 0;
    while (node != kNoNode) {
        Node& current = nodeAt(node);
        if (current.kind == NodeKind::Element && current.name == nameId(KnownName::Template)) {
            mFreeList = freeList;
            mLiveNodes -= freed;
            freed = 0;
            releaseTemplateContents(node);
            freeList = mFreeList;
        }
        current.previousSibling = freeList;
        freeList = node;
        ++freed;
        NodeId next = current.firstChild;
        if (next == kNoNode) {
            next = current.nextSibling;
            for (NodeId up = node; next == kNoNode;) {
                up = nodeAt(up).parent;
                if (up == element) {
                    break;
                }
                next = nodeAt(up).nextSibling;
            }
        }
        node = next;
    }
    mFreeList = freeList;
    mLiveNodes -= freed;
}

// Template contents hang off their template, not below it; they go with it. Recursion is
// bounded by how deeply templates nest, which the tree's depth limit bounds.
void NodeTree::releaseTemplateContents(NodeId templateElement) {
    const auto it = mTemplateContents.find(templateElement);
    if (it == mTemplateContents.end()) {
        return;
    }
    const NodeId fragment = it->second;
    releaseChildren(fragment);
    mTemplates.erase(fragment);
    mTemplateContents.erase(it);
    nodeAt(fragment).previousSibling = mFreeList;
    mFreeList = fragment;
    --mLiveNodes;
}

}  // namespace veltrano::html::parser
