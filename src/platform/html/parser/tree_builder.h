#pragma once

#include <cstddef>
#include <cstdint>
#include <span>
#include <string_view>
#include <unordered_map>
#include <vector>

#include "platform/html/parser/active_formatting_list.h"
#include "platform/html/parser/element_kinds.h"
#include "platform/html/parser/node_tree.h"
#include "platform/html/parser/open_element_stack.h"
#include "platform/html/parser/quirks_mode.h"
#include "platform/html/parser/text_store.h"
#include "platform/html/parser/token.h"

namespace veltrano::html::parser {

class Tokenizer;
class TreeObserver;
enum class TokenizerState : std::uint8_t;

// The HTML Standard's tree construction stage for a whole document, as a browser with
// scripting enabled builds it (noscript holds raw text; scripts are not run). Parse errors are
// not reported. Where Chromium limits the tree, so does this: an element inserted while more
// than kMaximumTreeDepth elements are open goes beside its intended parent instead of into it.
//
// No token walks the stack of open elements or the list of active formatting elements: a
// token costs time in proportion to the nodes it creates or moves and the entries it pushes or
// pops, and, for the rare edits in the middle of either list (the adoption agency, "</form>",
// the head reopened), to the entries above the edit. What the HTML Standard itself creates
// can outgrow the input, as in browsers: reconstructing the active formatting elements copies
// every one not open, and formatting elements with distinct attributes escape the Noah's Ark
// clause, so misnested markup can make a tree quadratic in the input's size.
class TreeBuilder final : public TokenSink {
public:
    // Chromium's kMaximumHTMLParserDOMTreeDepth.
    static constexpr std::size_t kMaximumTreeDepth = 512;

    // text (the document's, which the tree refers to), tree and observer (which may be
    // nullptr) must outlive the tree builder.
    TreeBuilder(TextStore& text, NodeTree& tree, TreeObserver* observer = nullptr);
    TreeBuilder(const TreeBuilder&) = delete;
    TreeBuilder& operator=(const TreeBuilder&) = delete;
    ~TreeBuilder() override;

    // The tokenizer the tree builder switches to RCDATA, RAWTEXT, script data and PLAINTEXT
    // as start tags call for; set before the first token.
    void setTokenizer(Tokenizer* tokenizer) { mTokenizer = tokenizer; }

    void processToken(Token& token) override;
    bool adjustedCurrentNodeIsForeign() const override;

    // Lets go of the subtree below element, a closed element whose content no later token can
    // change, through NodeTree::releaseChildren. Pointers the tree builder keeps into the
    // subtree (the form element pointer, formatting elements to be reconstructed, a
    // selectedcontent element) are first made to match no node, so that reused node numbers
    // are never mistaken for them. Does nothing while element or an element inside it is still
    // open (the HTML Standard leaves elements open inside a form that "</form>" has closed), or
    // while element lies inside a selected option that is still to be copied.
    void releaseChildren(NodeId element);

    DocumentMode documentMode() const { return mDocumentMode; }
    // Whether the end-of-file token has been processed.
    bool stopped() const { return mStopped; }

private:
    enum class InsertionMode : std::uint8_t {
        Initial,
        BeforeHtml,
        BeforeHead,
        InHead,
        AfterHead,
        InBody,
        Text,
        InTable,
        InTableText,
        InCaption,
        InColumnGroup,
        InTableBody,
        InRow,
        InCell,
        InTemplate,
        AfterBody,
        InFrameset,
        AfterFrameset,
        AfterAfterBody,
        AfterAfterFrameset,
    };
    // What a rule asks after it has run: nothing, or that the token be processed again, by the
    // tree construction dispatcher or (from foreign content) by the current insertion mode.
    enum class Step : std::uint8_t { Done, Reprocess, ReprocessInHtmlContent };

    struct InsertionLocation {
        NodeId parent = kNoNode;
        NodeId before = kNoNode;  // kNoNode: after the parent's last child
        bool fosterParented = false;
    };

    // The tree construction dispatcher and the insertion modes (tree_builder.cpp and one file
    // per group of modes).
    bool useHtmlContentRules(const Token& token) const {
        // An HTML current node, the usual case, needs no look at the token.
        return mOpenElements.empty() || mOpenElements.current().ns == Namespace::Html ||
               foreignNodeTakesHtmlContentRules(token);
    }
    bool foreignNodeTakesHtmlContentRules(const Token& token) const;
    Step processInMode(InsertionMode mode, Token& token);
    Step initialMode(Token& token);
    Step beforeHtmlMode(Token& token);
    Step beforeHeadMode(Token& token);
    Step inHeadMode(Token& token);
    Step afterHeadMode(Token& token);
    Step inBodyMode(Token& token);
    Step inBodyStartTag(Token& token);
    Step inBodyEndTag(Token& token);
    void inBodyCharacters(TextRef text);
    Step textMode(Token& token);
    Step inTableMode(Token& token);
    Step inTableAnythingElse(Token& token);
    Step inTableTextMode(Token& token);
    Step inCaptionMode(Token& token);
    Step inColumnGroupMode(Token& token);
    Step inTableBodyMode(Token& token);
    Step inRowMode(Token& token);
    Step inCellMode(Token& token);
    bool tookCellToken(Token& token);
    void startCell(const Token& token);
    void endCell(KnownName tag);
    Step inTemplateMode(Token& token);
    Step afterBodyMode(Token& token);
    Step inFramesetMode(Token& token);
    Step afterFramesetMode(Token& token);
    Step afterAfterBodyMode(Token& token);
    Step afterAfterFramesetMode(Token& token);
    Step foreignContent(Token& token);

    // In-body rules shared by several tags.
    void inBodyAnyOtherEndTag(const Token& token);
    void inBodyListItemStartTag(const Token& token);
    void inBodyOptionStartTag(const Token& token);
    bool adoptionAgency(const Token& token);
    void startTemplate(const Token& token);
    void endTemplate();

    // Inserting nodes.
    InsertionLocation appropriatePlaceForInsertingNode(NodeId overrideTarget = kNoNode);
    InsertionLocation fosterParentingLocation();
    NodeId insertForeignElement(const Token& token, NameId name, Namespace ns,
                                std::span<const Attribute> attributes);
    NodeId insertHtmlElement(const Token& token);
    NodeId insertHtmlElement(KnownName name);
    void insertElementAt(InsertionLocation location, NodeId element);
    void insertCharacters(TextRef text);
    // Inserts the white space a run of characters starts with and drops it from the token;
    // true when nothing is left.
    bool insertLeadingWhitespace(Token& token);
    void insertComment(TextRef text, InsertionLocation location);
    void insertComment(TextRef text);
    void genericTextElement(const Token& token, TokenizerState state);
    void switchTokenizerTo(TokenizerState state);

    // The stack of open elements.
    void pushOpenElement(NodeId element, NameId tagName, bool htmlIntegrationPoint);
    void popCurrentNode();
    void popUntil(KnownName name);
    void popUntilAnyOf(std::uint32_t kinds);
    void popUntilNode(NodeId node);
    void removeFromStack(NodeId node);
    void notePopped(NodeId element);
    bool currentNodeIs(KnownName name) const;
    bool currentNodeIsAnyOf(std::uint32_t kinds) const;
    bool hasInScope(KnownName name, Boundary scope) const;
    bool templateIsOpen() const;
    void generateImpliedEndTags(NameId except = 0);
    void generateAllImpliedEndTagsThoroughly();
    void closePElement();
    void closePElementInButtonScope();
    void closeTheCell();
    void clearStackBackTo(std::uint32_t kinds);
    void resetInsertionModeAppropriately();
    void stopParsing();

    // The list of active formatting elements.
    void reconstructActiveFormattingElements();
    void reconstructFromLastEntry();
    void pushActiveFormattingElement(NodeId element, const Token& token);

    // Foreign content (foreign_content.cpp).
    std::span<const Attribute> adjustedForeignAttributes(const Token& token, Namespace ns);
    NodeId insertForeignElementForToken(const Token& token, Namespace ns);
    bool isHtmlIntegrationPoint(NameId name, Namespace ns,
                                std::span<const Attribute> attributes) const;

    // selectedcontent (selected_content.cpp).
    void noteSelectContentInserted(NodeId element);
    void noteOptionInserted(NodeId option);
    void maybeCloneOptionIntoSelectedContent(NodeId option);
    bool insideOptionToBeCopied(NodeId element) const;
    void forgetSelectedContentNode(NodeId node);
    NodeId nearestAncestorSelect(NodeId node) const;
    void replaceChildrenWithCopies(NodeId from, NodeId to);
    void reportCopiedSubtree(NodeId root);

    void notifyInserted(NodeId element);
    std::string_view textOf(TextRef ref) const { return mTree.text().view(ref); }

    // Letting go of closed subtrees. Up to this many open elements, releaseChildren asks them
    // whether they lie inside rather than walking the subtree.
    static constexpr std::size_t kOpenElementsAskedUp = 32;
    NodeId parentOrTemplate(NodeId node) const;
    bool isInside(NodeId node, NodeId element) const;
    bool anyOpenElementInside(NodeId element) const;

    TextStore& mText;
    NodeTree& mTree;
    TreeObserver* mObserver;
    Tokenizer* mTokenizer = nullptr;

    InsertionMode mMode = InsertionMode::Initial;
    InsertionMode mOriginalMode = InsertionMode::Initial;
    std::vector<InsertionMode> mTemplateModes;
    OpenElementStack mOpenElements;
    ActiveFormattingList mActiveFormatting;
    NodeId mHeadElement = kNoNode;
    NodeId mFormElement = kNoNode;  // kReleasedNode once the form has been let go
    bool mFramesetOk = true;
    bool mFosterParenting = false;
    bool mSkipNextLineFeed = false;
    bool mStopped = false;
    DocumentMode mDocumentMode = DocumentMode::NoQuirks;
    std::vector<TextRef> mPendingTableText;
    bool mPendingTableTextIsWhitespace = true;
    std::vector<Attribute> mAdjustedAttributes;  // scratch for foreign elements' attributes
    TextRef mReplacementCharacter;               // U+FFFD, made on first need

    // selectedcontent: per select that has one, the selectedcontent element and the selected
    // option; and for each of those two nodes, its select.
    struct SelectState {
        NodeId selectedOption = kNoNode;
        NodeId selectedContent = kNoNode;
    };
    std::unordered_map<NodeId, SelectState> mSelects;
    std::unordered_map<NodeId, NodeId> mSelectOf;
};

// What nearly every token asks, inline.

inline bool TreeBuilder::currentNodeIs(KnownName name) const {
    const OpenElement& node = mOpenElements.current();
    return node.ns == Namespace::Html && node.name == nameId(name);
}

inline bool TreeBuilder::currentNodeIsAnyOf(std::uint32_t kinds) const {
    const OpenElement& node = mOpenElements.current();
    return node.ns == Namespace::Html && (node.kinds & kinds) != 0;
}

inline bool TreeBuilder::hasInScope(KnownName name, Boundary scope) const {
    return mOpenElements.hasInScope(name, scope);
}

inline bool TreeBuilder::templateIsOpen() const {
    return mOpenElements.topmostHtml(nameId(KnownName::Template)) != OpenElementStack::kNone;
}

inline void TreeBuilder::generateImpliedEndTags(NameId except) {
    while (currentNodeIsAnyOf(kImpliedEndTag) && mOpenElements.current().name != except) {
        popCurrentNode();
    }
}

// "Reconstruct the active formatting elements": inline, since all text asks for it, and the
// answer is nearly always in its first steps (an empty list, or a marker or open element last).
inline void TreeBuilder::reconstructActiveFormattingElements() {
    if (mActiveFormatting.empty()) {
        return;
    }
    const FormattingEntry& last = mActiveFormatting[mActiveFormatting.size() - 1];
    if (last.isMarker() || mOpenElements.contains(last.node)) {
        return;
    }
    reconstructFromLastEntry();
}

// "Clear the stack back to a table context" and its table body and table row variants: kinds
// is kTableContext, kTableBodyContext or kTableRowContext.
inline void TreeBuilder::clearStackBackTo(std::uint32_t kinds) {
    while (!currentNodeIsAnyOf(kinds)) {
        popCurrentNode();
    }
}

// "The appropriate place for inserting a node"; where foster parenting puts it is
// fosterParentingLocation's (foster_parenting.cpp).
inline TreeBuilder::InsertionLocation TreeBuilder::appropriatePlaceForInsertingNode(
    NodeId overrideTarget) {
    NodeId target = overrideTarget;
    std::uint32_t targetKinds = 0;
    if (target == kNoNode) {
        // The current node, whose kinds the stack keeps.
        target = mOpenElements.current().node;
        targetKinds = mOpenElements.current().kinds;
    } else {
        targetKinds = elementKinds(mTree[target].name, mTree[target].ns);
    }
    InsertionLocation location{target, kNoNode, false};
    // The target's kinds tell whether it is a template; where foster parenting puts the node,
    // the tree does.
    bool intoTemplate = (targetKinds & kTemplate) != 0;
    if (mFosterParenting && (targetKinds & kFosterParentingTarget) != 0) {
        location = fosterParentingLocation();
        const Node& parent = mTree[location.parent];
        intoTemplate = parent.kind == NodeKind::Element && parent.ns == Namespace::Html &&
                       parent.name == nameId(KnownName::Template);
    }
    if (intoTemplate) {
        location.parent = mTree.templateContents(location.parent);
        location.before = kNoNode;
    }
    return location;
}

}  // namespace veltrano::html::parser
