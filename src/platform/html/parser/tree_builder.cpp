#include "platform/html/parser/tree_builder.h"

#include <algorithm>

#include "platform/html/parser/element_kinds.h"
#include "platform/html/parser/tokenizer.h"
#include "platform/html/parser/tree_observer.h"
#include "platform/html/parser/whitespace.h"

namespace veltrano::html::parser {

TreeBuilder::TreeBuilder(TextStore& text, NodeTree& tree, TreeObserver* observer)
    : mText(text), mTree(tree), mObserver(observer), mActiveFormatting(text) {}

TreeBuilder::~TreeBuilder() = default;

void TreeBuilder::processToken(Token& token) {
    if (mStopped) {
        return;
    }
    if (mSkipNextLineFeed) {
        mSkipNextLineFeed = false;
        if (token.kind == TokenKind::Characters && textOf(token.text).front() == '\n') {
            ++token.text.offset;
            --token.text.length;
            if (token.text.empty()) {
                return;
            }
        }
    }
    // A cell's tags and its text take a short cut to their rules (tookCellToken).
    if (useHtmlContentRules(token) && tookCellToken(token)) {
        return;
    }
    Step step = Step::Reprocess;
    while (step != Step::Done) {
        if (step == Step::ReprocessInHtmlContent || useHtmlContentRules(token)) {
            step = processInMode(mMode, token);
        } else {
            step = foreignContent(token);
        }
    }
}

bool TreeBuilder::adjustedCurrentNodeIsForeign() const {
    return !mOpenElements.empty() && mOpenElements.current().ns != Namespace::Html;
}

// The tree construction dispatcher's rules for a foreign current node (the adjusted current
// node, as the engine parses whole documents only): whether the token goes to the insertion
// mode rather than to the rules for foreign content.
bool TreeBuilder::foreignNodeTakesHtmlContentRules(const Token& token) const {
    const OpenElement& node = mOpenElements.current();
    const bool startTag = token.kind == TokenKind::StartTag;
    const bool character =
        token.kind == TokenKind::Characters || token.kind == TokenKind::NullCharacter;
    if ((node.kinds & kMathMlTextIntegrationPoint) != 0) {
        if (character || (startTag && token.name != nameId(KnownName::Mglyph) &&
                          token.name != nameId(KnownName::Malignmark))) {
            return true;
        }
    }
    if (node.ns == Namespace::MathMl && node.name == nameId(KnownName::AnnotationXml) && startTag &&
        token.name == nameId(KnownName::Svg)) {
        return true;
    }
    if (node.htmlIntegrationPoint && (startTag || character)) {
        return true;
    }
    return token.kind == TokenKind::EndOfFile;
}

TreeBuilder::Step TreeBuilder::processInMode(InsertionMode mode, Token& token) {
    switch (mode) {
        case InsertionMode::Initial:
            return initialMode(token);
        case InsertionMode::BeforeHtml:
            return beforeHtmlMode(token);
        case InsertionMode::BeforeHead:
            return beforeHeadMode(token);
        case InsertionMode::InHead:
            return inHeadMode(token);
        case InsertionMode::AfterHead:
            return afterHeadMode(token);
        case InsertionMode::InBody:
            return inBodyMode(token);
        case InsertionMode::Text:
            return textMode(token);
        case InsertionMode::InTable:
            return inTableMode(token);
        case InsertionMode::InTableText:
            return inTableTextMode(token);
        case InsertionMode::InCaption:
            return inCaptionMode(token);
        case InsertionMode::InColumnGroup:
            return inColumnGroupMode(token);
        case InsertionMode::InTableBody:
            return inTableBodyMode(token);
        case InsertionMode::InRow:
            return inRowMode(token);
        case InsertionMode::InCell:
            return inCellMode(token);
        case InsertionMode::InTemplate:
            return inTemplateMode(token);
        case InsertionMode::AfterBody:
            return afterBodyMode(token);
        case InsertionMode::InFrameset:
            return inFramesetMode(token);
        case InsertionMode::AfterFrameset:
            return afterFramesetMode(token);
        case InsertionMode::AfterAfterBody:
            return afterAfterBodyMode(token);
        case InsertionMode::AfterAfterFrameset:
            return afterAfterFramesetMode(token);
    }
    return Step::Done;
}

// Inserting nodes.

// "Insert a foreign element", with Chromium's depth limit: past kMaximumTreeDepth open
// elements a new element goes into its intended parent's parent (foster parenting and
// template contents, whose fragment has no parent, are left as they are).
NodeId TreeBuilder::insertForeignElement(const Token& token, NameId name, Namespace ns,
                                         std::span<const Attribute> attributes) {
    InsertionLocation location = appropriatePlaceForInsertingNode();
    const NodeId element = mTree.createElement(name, ns, attributes);
    if (!location.fosterParented && mOpenElements.size() > kMaximumTreeDepth) {
        const NodeId grandparent = mTree[location.parent].parent;
        if (grandparent != kNoNode) {
            location = {grandparent, kNoNode, false};
        }
    }
    insertElementAt(location, element);
    // An HTML element is never an HTML integration point: no need to ask.
    pushOpenElement(element, token.name,
                    ns != Namespace::Html && isHtmlIntegrationPoint(name, ns, attributes));
    return element;
}

NodeId TreeBuilder::insertHtmlElement(const Token& token) {
    return insertForeignElement(token, token.name, Namespace::Html, token.attributes);
}

NodeId TreeBuilder::insertHtmlElement(KnownName name) {
    Token token;
    token.kind = TokenKind::StartTag;
    token.name = nameId(name);
    return insertHtmlElement(token);
}

void TreeBuilder::insertElementAt(InsertionLocation location, NodeId element) {
    mTree.insertBefore(location.parent, element, location.before);
    notifyInserted(element);
}

// "Insert a character", for a whole run: text merges into a text node just before the place.
bool TreeBuilder::insertLeadingWhitespace(Token& token) {
    const auto whitespace = static_cast<std::uint32_t>(leadingWhitespace(textOf(token.text)));
    if (whitespace > 0) {
        insertCharacters({token.text.offset, whitespace});
    }
    token.text.offset += whitespace;
    token.text.length -= whitespace;
    return token.text.empty();
}

void TreeBuilder::insertCharacters(TextRef text) {
    const InsertionLocation location = appropriatePlaceForInsertingNode();
    if (mTree[location.parent].kind == NodeKind::Document) {
        return;
    }
    const NodeId previous = location.before == kNoNode ? mTree[location.parent].lastChild
                                                       : mTree[location.before].previousSibling;
    if (previous != kNoNode && mTree[previous].kind == NodeKind::Text) {
        mTree.appendText(previous, text);
        return;
    }
    mTree.insertBefore(location.parent, mTree.createText(text), location.before);
}

void TreeBuilder::insertComment(TextRef text, InsertionLocation location) {
    mTree.insertBefore(location.parent, mTree.createComment(text), location.before);
}

void TreeBuilder::insertComment(TextRef text) {
    insertComment(text, appropriatePlaceForInsertingNode());
}

// The generic raw text and RCDATA element parsing algorithms (and script data, PLAINTEXT's
// element is inserted by the caller).
void TreeBuilder::genericTextElement(const Token& token, TokenizerState state) {
    insertHtmlElement(token);
    switchTokenizerTo(state);
    mOriginalMode = mMode;
    mMode = InsertionMode::Text;
}

void TreeBuilder::switchTokenizerTo(TokenizerState state) {
    if (mTokenizer != nullptr) {
        mTokenizer->switchTo(state);
    }
}

void TreeBuilder::notifyInserted(NodeId element) {
    const Node& node = mTree[element];
    if (node.ns == Namespace::Html) {
        if (node.name == nameId(KnownName::Selectedcontent)) {
            noteSelectContentInserted(element);
        } else if (node.name == nameId(KnownName::Option) && !mSelects.empty()) {
            noteOptionInserted(element);
        }
    }
    if (mObserver != nullptr) {
        mObserver->elementInserted(element);
    }
}

// The stack of open elements.

// An element's Boundary bits are its kinds' low byte (element_kinds.h).
static_assert(kScopeBoundary == boundaryBit(Boundary::Scope) &&
              kListItemScopeBoundary == boundaryBit(Boundary::ListItemScope) &&
              kButtonScopeBoundary == boundaryBit(Boundary::ButtonScope) &&
              kTableScopeBoundary == boundaryBit(Boundary::TableScope) &&
              kSpecial == boundaryBit(Boundary::Special) &&
              kSpecialOtherThanAddressDivP == boundaryBit(Boundary::SpecialOtherThanAddressDivP) &&
              kHtmlElement == boundaryBit(Boundary::HtmlElement) &&
              kInsertionModeAnchor == boundaryBit(Boundary::InsertionModeAnchor) &&
              kBoundaryKinds == (1u << kBoundaryCount) - 1);

void TreeBuilder::pushOpenElement(NodeId element, NameId tagName, bool htmlIntegrationPoint) {
    const Node& node = mTree[element];
    const std::uint32_t kinds = elementKinds(node.name, node.ns);
    const auto boundaries = static_cast<std::uint16_t>(kinds & kBoundaryKinds);
    mOpenElements.push(
        {element, node.name, tagName, node.ns, htmlIntegrationPoint, boundaries, kinds});
}

void TreeBuilder::popCurrentNode() {
    notePopped(mOpenElements.pop().node);
}

void TreeBuilder::popUntil(KnownName name) {
    while (!mOpenElements.empty()) {
        const OpenElement popped = mOpenElements.pop();
        notePopped(popped.node);
        if (popped.ns == Namespace::Html && popped.name == nameId(name)) {
            return;
        }
    }
}

void TreeBuilder::popUntilAnyOf(std::uint32_t kinds) {
    while (!mOpenElements.empty()) {
        const OpenElement popped = mOpenElements.pop();
        notePopped(popped.node);
        if (popped.ns == Namespace::Html && (popped.kinds & kinds) != 0) {
            return;
        }
    }
}

void TreeBuilder::popUntilNode(NodeId node) {
    while (!mOpenElements.empty()) {
        const NodeId popped = mOpenElements.pop().node;
        notePopped(popped);
        if (popped == node) {
            return;
        }
    }
}

void TreeBuilder::removeFromStack(NodeId node) {
    const std::ptrdiff_t position = mOpenElements.positionOf(node);
    if (position == OpenElementStack::kNone) {
        return;
    }
    const std::vector<OpenElement> above =
        mOpenElements.takeFrom(static_cast<std::size_t>(position));
    for (std::size_t i = 1; i < above.size(); ++i) {
        mOpenElements.push(above[i]);
    }
    notePopped(node);
}

void TreeBuilder::notePopped(NodeId element) {
    const Node& node = mTree[element];
    if (!mSelects.empty() && node.ns == Namespace::Html && node.name == nameId(KnownName::Option)) {
        maybeCloneOptionIntoSelectedContent(element);
    }
    if (mObserver != nullptr) {
        mObserver->elementPopped(element);
    }
}

void TreeBuilder::generateAllImpliedEndTagsThoroughly() {
    while (currentNodeIsAnyOf(kImpliedEndTagThoroughly)) {
        popCurrentNode();
    }
}

void TreeBuilder::closePElement() {
    generateImpliedEndTags(nameId(KnownName::P));
    popUntil(KnownName::P);
}

void TreeBuilder::closePElementInButtonScope() {
    if (hasInScope(KnownName::P, Boundary::ButtonScope)) {
        closePElement();
    }
}

void TreeBuilder::closeTheCell() {
    generateImpliedEndTags();
    popUntilAnyOf(kTableCell);
    mActiveFormatting.clearToLastMarker();
    mMode = InsertionMode::InRow;
}

// The stack keeps the nearest element that decides the mode, so no walk down it is needed.
void TreeBuilder::resetInsertionModeAppropriately() {
    const std::ptrdiff_t position = mOpenElements.nearest(Boundary::InsertionModeAnchor);
    if (position == OpenElementStack::kNone) {
        mMode = InsertionMode::InBody;
        return;
    }
    const bool last = position == 0;
    switch (known(mOpenElements[static_cast<std::size_t>(position)].name)) {
        case KnownName::Td:
        case KnownName::Th:
            mMode = last ? InsertionMode::InBody : InsertionMode::InCell;
            return;
        case KnownName::Tr:
            mMode = InsertionMode::InRow;
            return;
        case KnownName::Tbody:
        case KnownName::Thead:
        case KnownName::Tfoot:
            mMode = InsertionMode::InTableBody;
            return;
        case KnownName::Caption:
            mMode = InsertionMode::InCaption;
            return;
        case KnownName::Colgroup:
            mMode = InsertionMode::InColumnGroup;
            return;
        case KnownName::Table:
            mMode = InsertionMode::InTable;
            return;
        case KnownName::Template:
            mMode = mTemplateModes.empty() ? InsertionMode::InBody : mTemplateModes.back();
            return;
        case KnownName::Head:
            mMode = last ? InsertionMode::InBody : InsertionMode::InHead;
            return;
        case KnownName::Frameset:
            mMode = InsertionMode::InFrameset;
            return;
        case KnownName::Html:
            mMode = mHeadElement == kNoNode ? InsertionMode::BeforeHead : InsertionMode::AfterHead;
            return;
        default:
            mMode = InsertionMode::InBody;
            return;
    }
}

void TreeBuilder::stopParsing() {
    while (!mOpenElements.empty()) {
        popCurrentNode();
    }
    mStopped = true;
}

// The list of active formatting elements.

// The rest of reconstructActiveFormattingElements, once its first steps found the last entry
// neither a marker nor open.
void TreeBuilder::reconstructFromLastEntry() {
    const std::size_t count = mActiveFormatting.size();
    const auto markerOrOpen = [&](std::size_t index) {
        const FormattingEntry& entry = mActiveFormatting[index];
        return entry.isMarker() || mOpenElements.contains(entry.node);
    };
    std::size_t index = count - 1;
    while (index > 0 && !markerOrOpen(index - 1)) {
        --index;
    }
    for (; index < count; ++index) {
        Token token;
        token.kind = TokenKind::StartTag;
        token.name = mActiveFormatting[index].name;
        token.attributes = mActiveFormatting[index].attributes;
        const NodeId element = insertHtmlElement(token);
        mActiveFormatting.replaceNode(index, element);
    }
}

void TreeBuilder::pushActiveFormattingElement(NodeId element, const Token& token) {
    mActiveFormatting.pushElement(element, token.name, token.attributes);
}

// Templates, which both "in head" and "in body" (through "in head") open and close.

void TreeBuilder::startTemplate(const Token& token) {
    insertHtmlElement(token);
    mActiveFormatting.pushMarker();
    mFramesetOk = false;
    mMode = InsertionMode::InTemplate;
    mTemplateModes.push_back(InsertionMode::InTemplate);
}

void TreeBuilder::endTemplate() {
    if (!templateIsOpen()) {
        return;
    }
    generateAllImpliedEndTagsThoroughly();
    popUntil(KnownName::Template);
    mActiveFormatting.clearToLastMarker();
    mTemplateModes.pop_back();
    resetInsertionModeAppropriately();
}

// Letting go of closed subtrees.

// The node's parent, or for a template's contents their template: the way up that the walk
// down in releaseChildren takes the other way.
NodeId TreeBuilder::parentOrTemplate(NodeId node) const {
    const Node& current = mTree[node];
    return current.kind == NodeKind::Fragment ? mTree.templateOf(node) : current.parent;
}

// Whether node lies inside element's subtree (template contents included).
bool TreeBuilder::isInside(NodeId node, NodeId element) const {
    if (node == kNoNode || node == kReleasedNode) {
        return false;
    }
    for (NodeId up = parentOrTemplate(node); up != kNoNode; up = parentOrTemplate(up)) {
        if (up == element) {
            return true;
        }
    }
    return false;
}

// Whether an open element lies inside element's subtree, which is not open itself: asked from
// each open element up. A walk up that meets another open element stops there, as that one
// answers for it (the two are inside element or outside it together); when each open element's
// parent is the one below it, as in a table's rows, every walk is one step.
bool TreeBuilder::anyOpenElementInside(NodeId element) const {
    for (std::size_t position = 0; position < mOpenElements.size(); ++position) {
        for (NodeId up = parentOrTemplate(mOpenElements[position].node);
             up != kNoNode && !mOpenElements.contains(up); up = parentOrTemplate(up)) {
            if (up == element) {
                return true;
            }
        }
    }
    return false;
}

void TreeBuilder::releaseChildren(NodeId element) {
    if (mOpenElements.contains(element) || insideOptionToBeCopied(element)) {
        return;
    }
    const bool anyFormattingElement = mActiveFormatting.size() > mActiveFormatting.markerCount();
    if (!anyFormattingElement && mSelects.empty() && mOpenElements.size() <= kOpenElementsAskedUp) {
        // Only open elements and the form pointer can point inside: they are asked from their
        // side, which with few open elements costs less than the walk below over every node
        // released, and finds the same.
        if (anyOpenElementInside(element)) {
            return;
        }
        if (isInside(mFormElement, element)) {
            mFormElement = kReleasedNode;
        }
        mTree.releaseChildren(element);
        return;
    }
    // One walk over the subtree and the contents of templates in it, without recursion: an
    // open element inside forbids the release; the form pointer and formatting entries that
    // point inside are made to point nowhere. The lists stay empty, and so allocate nothing,
    // unless there is something to note.
    const bool anySelect = !mSelects.empty();
    const NodeId formElement = mFormElement;
    std::vector<std::size_t> formattingInside;
    bool formInside = false;
    std::vector<NodeId> inside;
    std::vector<NodeId> templateContents;  // still to walk
    for (NodeId root = element; root != kNoNode;) {
        NodeId node = mTree[root].firstChild;
        while (node != kNoNode) {
            if (mOpenElements.contains(node)) {
                return;
            }
            if (anyFormattingElement) {
                if (const std::ptrdiff_t index = mActiveFormatting.indexOf(node);
                    index != ActiveFormattingList::kNone) {
                    formattingInside.push_back(static_cast<std::size_t>(index));
                }
            }
            formInside = formInside || node == formElement;
            if (anySelect) {
                inside.push_back(node);
            }
            const Node& current = mTree[node];
            if (current.kind == NodeKind::Element && current.ns == Namespace::Html &&
                current.name == nameId(KnownName::Template)) {
                if (const NodeId contents = mTree.findTemplateContents(node); contents != kNoNode) {
                    templateContents.push_back(contents);
                }
            }
            if (current.firstChild != kNoNode) {
                node = current.firstChild;
                continue;
            }
            // The next node in tree order: the next sibling of the node or of its nearest
            // ancestor below root that has one.
            NodeId next = current.nextSibling;
            for (NodeId up = node; next == kNoNode;) {
                up = mTree[up].parent;
                if (up == root) {
                    break;
                }
                next = mTree[up].nextSibling;
            }
            node = next;
        }
        root = kNoNode;
        if (!templateContents.empty()) {
            root = templateContents.back();
            templateContents.pop_back();
        }
    }
    for (const std::size_t index : formattingInside) {
        mActiveFormatting.replaceNode(index, kReleasedNode);
    }
    if (formInside) {
        mFormElement = kReleasedNode;
    }
    if (!mSelects.empty()) {
        forgetSelectedContentNode(element);
        for (const NodeId node : inside) {
            forgetSelectedContentNode(node);
        }
    }
    mTree.releaseChildren(element);
}

}  // namespace veltrano::html::parser
