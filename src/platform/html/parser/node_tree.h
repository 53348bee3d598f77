#pragma once

#include <array>
#include <cstdint>
#include <memory>
#include <optional>
#include <span>
#include <string>
#include <unordered_map>
#include <unordered_set>
#include <vector>

#include "platform/html/parser/names.h"
#include "platform/html/parser/text_store.h"

namespace veltrano::html::parser {

// Nodes are numbered; 0 is no node.
using NodeId = std::uint32_t;
inline constexpr NodeId kNoNode = 0;

enum class NodeKind : std::uint8_t { Document, Fragment, Doctype, Element, Text, Comment };

struct Attribute {
    NameId name = 0;
    AttributeNamespace ns = AttributeNamespace::None;
    TextRef value;
};

struct Doctype {
    std::string name;
    std::optional<std::string> publicId;
    std::optional<std::string> systemId;
};

// One node, 32 bytes. Children form a doubly linked list, so that inserting before a node
// (foster parenting) and taking a node out (the adoption agency) cost the same as appending.
struct Node {
    NodeId parent = kNoNode;
    NodeId firstChild = kNoNode;
    NodeId lastChild = kNoNode;
    NodeId previousSibling = kNoNode;
    NodeId nextSibling = kNoNode;
    NameId name = 0;  // an element's local name
    NodeKind kind : 3 = NodeKind::Element;
    Namespace ns : 2 = Namespace::Html;
    bool segmented : 1 = false;  // a text node whose text is a chain of segments
    bool released : 1 = false;   // an element whose children have been let go
    // Element: its attributes are [a, a + b) of the tree's attribute list. Text and comment:
    // the text (offset, length), or for segmented text the first and last segment. Doctype:
    // the index of its data.
    std::uint32_t a = 0;
    std::uint32_t b = 0;
};

// The tree of one document, built by the tree builder: nodes in blocks of 65,536, linked by
// number; texts and attribute values as references into the document's TextStore. Nodes whose
// subtree has been released are reused. The document node is created with the tree.
class NodeTree final {
public:
    explicit NodeTree(TextStore& text);
    NodeTree(const NodeTree&) = delete;
    NodeTree& operator=(const NodeTree&) = delete;

    NodeId document() const { return 1; }
    const Node& operator[](NodeId id) const { return nodeAt(id); }
    const TextStore& text() const { return mText; }

    NodeId createElement(NameId name, Namespace ns, std::span<const Attribute> attributes);
    NodeId createText(TextRef text);
    NodeId createComment(TextRef text);
    NodeId createDoctype(Doctype doctype);
    // A template's contents: a fragment of its own, made on first asking.
    NodeId templateContents(NodeId templateElement);
    // The template's contents if it has been asked for them, else kNoNode (for readers of a
    // finished tree, which must not change it).
    NodeId findTemplateContents(NodeId templateElement) const;
    // The template whose contents a fragment is (kNoNode for any other node).
    NodeId templateOf(NodeId fragment) const;

    // child must have no parent.
    void appendChild(NodeId parent, NodeId child);
    // Inserts child before reference, a child of parent (kNoNode: at the end).
    void insertBefore(NodeId parent, NodeId child, NodeId reference);
    // Takes a node out of its parent's children (nothing when it has no parent).
    void detach(NodeId node);
    // Appends all children of from, in order, to to's children.
    void moveChildren(NodeId from, NodeId to);
    // Appends more text to a text node.
    void appendText(NodeId textNode, TextRef more);
    // Adds to an element those attributes whose names it does not have yet. Costs what the
    // element has once, then only what is added (the html and body elements take every later
    // html and body tag's attributes).
    void addMissingAttributes(NodeId element, std::span<const Attribute> attributes);

    std::span<const Attribute> attributes(NodeId element) const;
    // The attribute's value, or nothing (attributes in no namespace only).
    std::optional<std::string_view> attribute(NodeId element, NameId name) const;
    std::string_view nameText(NameId name) const { return mNames.text(name); }
    NameTable& names() { return mNames; }
    const Doctype& doctype(NodeId node) const { return mDoctypes[nodeAt(node).a]; }

    // Calls visit(std::string_view) for each piece of a text or comment node's text, in order.
    template <class Visit>
    void forEachTextPiece(NodeId node, Visit&& visit) const {
        const Node& n = nodeAt(node);
        if (!n.segmented) {
            visit(mText.view({n.a, n.b}));
            return;
        }
        for (std::uint32_t s = n.a; s != kNoSegment; s = mSegments[s].next) {
            visit(mText.view(mSegments[s].text));
        }
    }
    // The whole text of a text or comment node.
    std::string textOf(NodeId node) const;

    // Lets go of every node below element, which keeps its place and attributes but is marked
    // released; the nodes are reused by later creations.
    void releaseChildren(NodeId element);

    // How many nodes are in use (for tests and measurements).
    std::size_t liveNodeCount() const { return mLiveNodes; }

private:
    static constexpr std::uint32_t kBlockBits = 16;
    static constexpr std::uint32_t kBlockSize = 1u << kBlockBits;
    static constexpr std::uint32_t kNoSegment = 0xFFFFFFFFu;

    struct TextSegment {
        TextRef text;
        std::uint32_t next;
    };

    Node& nodeAt(NodeId id) { return mBlocks[id >> kBlockBits][id & (kBlockSize - 1)]; }
    const Node& nodeAt(NodeId id) const { return mBlocks[id >> kBlockBits][id & (kBlockSize - 1)]; }
    NodeId allocate(NodeKind kind);
    void addBlock();
    void forgetAddedAttributes(NodeId id);
    void appendAttributes(std::span<const Attribute> attributes);
    void releaseTemplateContents(NodeId templateElement);

    TextStore& mText;
    NameTable mNames;
    std::vector<std::unique_ptr<Node[]>> mBlocks;
    NodeId mNextUnused = 0;      // nodes from here on have never been used
    NodeId mFreeList = kNoNode;  // released nodes, linked by previousSibling
    std::size_t mLiveNodes = 0;
    std::vector<Attribute> mAttributes;
    std::vector<TextSegment> mSegments;
    std::vector<Doctype> mDoctypes;
    // Elements that have had attributes added: the names they have, and room for more after
    // their attributes, which have moved to the end of the list.
    struct AddedAttributes {
        std::unordered_set<std::uint32_t> names;
        std::uint32_t capacity = 0;
    };
    std::unordered_map<NodeId, AddedAttributes> mAddedAttributes;
    std::unordered_map<NodeId, NodeId> mTemplateContents;  // template -> fragment
    std::unordered_map<NodeId, NodeId> mTemplates;         // fragment -> template
};

// The calls made for every node the tree builder creates are inline.

inline NodeId NodeTree::allocate(NodeKind kind) {
    NodeId id = mFreeList;
    if (id != kNoNode) {
        mFreeList = nodeAt(id).previousSibling;
        if (!mAddedAttributes.empty()) {
            forgetAddedAttributes(id);  // a reused node has no attributes added yet
        }
    } else {
        id = mNextUnused++;
        if ((id & (kBlockSize - 1)) == 0) {
            addBlock();
        }
    }
    Node& node = nodeAt(id);
    node = Node{};
    node.kind = kind;
    ++mLiveNodes;
    return id;
}

inline NodeId NodeTree::createElement(NameId name, Namespace ns,
                                      std::span<const Attribute> attributes) {
    const NodeId id = allocate(NodeKind::Element);
    Node& node = nodeAt(id);
    node.name = name;
    node.ns = ns;
    node.a = static_cast<std::uint32_t>(mAttributes.size());
    node.b = static_cast<std::uint32_t>(attributes.size());
    if (!attributes.empty()) {
        appendAttributes(attributes);
    }
    return id;
}

inline NodeId NodeTree::createText(TextRef text) {
    const NodeId id = allocate(NodeKind::Text);
    nodeAt(id).a = text.offset;
    nodeAt(id).b = text.length;
    return id;
}

inline void NodeTree::insertBefore(NodeId parent, NodeId child, NodeId reference) {
    Node& node = nodeAt(child);
    Node& container = nodeAt(parent);
    node.parent = parent;
    node.nextSibling = reference;
    if (reference == kNoNode) {
        node.previousSibling = container.lastChild;
        container.lastChild = child;
    } else {
        Node& next = nodeAt(reference);
        node.previousSibling = next.previousSibling;
        next.previousSibling = child;
    }
    if (node.previousSibling == kNoNode) {
        container.firstChild = child;
    } else {
        nodeAt(node.previousSibling).nextSibling = child;
    }
}

}  // namespace veltrano::html::parser
