// The "in body" insertion mode.

#include <algorithm>
#include <initializer_list>

#include "platform/html/parser/element_kinds.h"
#include "platform/html/parser/tokenizer_state.h"
#include "platform/html/parser/tree_builder.h"
#include "platform/html/parser/whitespace.h"

namespace veltrano::html::parser {
namespace {

bool equalsIgnoringAsciiCase(std::string_view text, std::string_view lowerCase) {
    return text.size() == lowerCase.size() &&
           std::equal(text.begin(), text.end(), lowerCase.begin(), [](char a, char b) {
               return (a >= 'A' && a <= 'Z' ? static_cast<char>(a - 'A' + 'a') : a) == b;
           });
}

}  // namespace

TreeBuilder::Step TreeBuilder::inBodyMode(Token& token) {
    switch (token.kind) {
        case TokenKind::Characters:
            inBodyCharacters(token.text);
            return Step::Done;
        case TokenKind::NullCharacter:
        case TokenKind::Doctype:
            return Step::Done;
        case TokenKind::Comment:
            insertComment(token.text);
            return Step::Done;
        case TokenKind::StartTag:
            return inBodyStartTag(token);
        case TokenKind::EndTag:
            return inBodyEndTag(token);
        case TokenKind::EndOfFile:
            if (!mTemplateModes.empty()) {
                return inTemplateMode(token);
            }
            stopParsing();
            return Step::Done;
    }
    return Step::Done;
}

// "In body"'s rule for characters other than U+0000 (a run of them).
void TreeBuilder::inBodyCharacters(TextRef text) {
    reconstructActiveFormattingElements();
    insertCharacters(text);
    if (mFramesetOk && !isAllWhitespace(textOf(text))) {
        mFramesetOk = false;
    }
}

TreeBuilder::Step TreeBuilder::inBodyStartTag(Token& token) {
    const KnownName tag = known(token.name);
    switch (tag) {
        case KnownName::Html:
            if (!templateIsOpen()) {
                mTree.addMissingAttributes(mOpenElements[0].node, token.attributes);
            }
            return Step::Done;
        case KnownName::Base:
        case KnownName::Basefont:
        case KnownName::Bgsound:
        case KnownName::Link:
        case KnownName::Meta:
        case KnownName::Noframes:
        case KnownName::Script:
        case KnownName::Style:
        case KnownName::Template:
        case KnownName::Title:
            return inHeadMode(token);
        case KnownName::Body: {
            if (mOpenElements.size() < 2 || templateIsOpen()) {
                return Step::Done;
            }
            const OpenElement& body = mOpenElements[1];
            if (body.ns != Namespace::Html || body.name != nameId(KnownName::Body)) {
                return Step::Done;
            }
            mFramesetOk = false;
            mTree.addMissingAttributes(body.node, token.attributes);
            return Step::Done;
        }
        case KnownName::Frameset: {
            if (mOpenElements.size() < 2 || !mFramesetOk) {
                return Step::Done;
            }
            const OpenElement body = mOpenElements[1];
            if (body.ns != Namespace::Html || body.name != nameId(KnownName::Body)) {
                return Step::Done;
            }
            mTree.detach(body.node);
            while (mOpenElements.size() > 1) {
                popCurrentNode();
            }
            insertHtmlElement(token);
            mMode = InsertionMode::InFrameset;
            return Step::Done;
        }
        case KnownName::Address:
        case KnownName::Article:
        case KnownName::Aside:
        case KnownName::Blockquote:
        case KnownName::Center:
        case KnownName::Details:
        case KnownName::Dialog:
        case KnownName::Dir:
        case KnownName::Div:
        case KnownName::Dl:
        case KnownName::Fieldset:
        case KnownName::Figcaption:
        case KnownName::Figure:
        case KnownName::Footer:
        case KnownName::Header:
        case KnownName::Hgroup:
        case KnownName::Main:
        case KnownName::Menu:
        case KnownName::Nav:
        case KnownName::Ol:
        case KnownName::P:
        case KnownName::Search:
        case KnownName::Section:
        case KnownName::Summary:
        case KnownName::Ul:
            closePElementInButtonScope();
            insertHtmlElement(token);
            return Step::Done;
        case KnownName::H1:
        case KnownName::H2:
        case KnownName::H3:
        case KnownName::H4:
        case KnownName::H5:
        case KnownName::H6:
            closePElementInButtonScope();
            if (currentNodeIsAnyOf(kHeading)) {
                popCurrentNode();
            }
            insertHtmlElement(token);
            return Step::Done;
        case KnownName::Pre:
        case KnownName::Listing:
            closePElementInButtonScope();
            insertHtmlElement(token);
            mSkipNextLineFeed = true;
            mFramesetOk = false;
            return Step::Done;
        case KnownName::Form: {
            if (mFormElement != kNoNode && !templateIsOpen()) {
                return Step::Done;
            }
            closePElementInButtonScope();
            const NodeId form = insertHtmlElement(token);
            if (!templateIsOpen()) {
                mFormElement = form;
            }
            return Step::Done;
        }
        case KnownName::Li:
        case KnownName::Dd:
        case KnownName::Dt:
            inBodyListItemStartTag(token);
            return Step::Done;
        case KnownName::Plaintext:
            closePElementInButtonScope();
            insertHtmlElement(token);
            switchTokenizerTo(TokenizerState::Plaintext);
            return Step::Done;
        case KnownName::Button:
            if (hasInScope(KnownName::Button, Boundary::Scope)) {
                generateImpliedEndTags();
                popUntil(KnownName::Button);
            }
            reconstructActiveFormattingElements();
            insertHtmlElement(token);
            mFramesetOk = false;
            return Step::Done;
        case KnownName::A: {
            const std::ptrdiff_t index = mActiveFormatting.lastAfterMarker(token.name);
            if (index != ActiveFormattingList::kNone) {
                const NodeId element = mActiveFormatting[static_cast<std::size_t>(index)].node;
                if (!adoptionAgency(token)) {
                    inBodyAnyOtherEndTag(token);
                }
                if (const std::ptrdiff_t left = mActiveFormatting.indexOf(element);
                    left != ActiveFormattingList::kNone) {
                    mActiveFormatting.remove(static_cast<std::size_t>(left));
                }
                removeFromStack(element);
            }
            reconstructActiveFormattingElements();
            pushActiveFormattingElement(insertHtmlElement(token), token);
            return Step::Done;
        }
        case KnownName::B:
        case KnownName::Big:
        case KnownName::Code:
        case KnownName::Em:
        case KnownName::Font:
        case KnownName::I:
        case KnownName::S:
        case KnownName::Small:
        case KnownName::Strike:
        case KnownName::Strong:
        case KnownName::Tt:
        case KnownName::U:
            reconstructActiveFormattingElements();
            pushActiveFormattingElement(insertHtmlElement(token), token);
            return Step::Done;
        case KnownName::Nobr:
            reconstructActiveFormattingElements();
            if (hasInScope(KnownName::Nobr, Boundary::Scope)) {
                if (!adoptionAgency(token)) {
                    inBodyAnyOtherEndTag(token);
                }
                reconstructActiveFormattingElements();
            }
            pushActiveFormattingElement(insertHtmlElement(token), token);
            return Step::Done;
        case KnownName::Applet:
        case KnownName::Marquee:
        case KnownName::Object:
            reconstructActiveFormattingElements();
            insertHtmlElement(token);
            mActiveFormatting.pushMarker();
            mFramesetOk = false;
            return Step::Done;
        case KnownName::Table:
            if (mDocumentMode != DocumentMode::Quirks) {
                closePElementInButtonScope();
            }
            insertHtmlElement(token);
            mFramesetOk = false;
            mMode = InsertionMode::InTable;
            return Step::Done;
        case KnownName::Area:
        case KnownName::Br:
        case KnownName::Embed:
        case KnownName::Img:
        case KnownName::Keygen:
        case KnownName::Wbr:
            reconstructActiveFormattingElements();
            insertHtmlElement(token);
            popCurrentNode();
            mFramesetOk = false;
            return Step::Done;
        case KnownName::Input: {
            // An input closes an open select (the relaxed select parsing).
            if (hasInScope(KnownName::Select, Boundary::Scope)) {
                popUntil(KnownName::Select);
            }
            reconstructActiveFormattingElements();
            const NodeId input = insertHtmlElement(token);
            popCurrentNode();
            const auto type = mTree.attribute(input, nameId(KnownName::Type));
            if (!type || !equalsIgnoringAsciiCase(*type, "hidden")) {
                mFramesetOk = false;
            }
            return Step::Done;
        }
        case KnownName::Param:
        case KnownName::Source:
        case KnownName::Track:
            insertHtmlElement(token);
            popCurrentNode();
            return Step::Done;
        case KnownName::Hr:
            closePElementInButtonScope();
            if (hasInScope(KnownName::Select, Boundary::Scope)) {
                generateImpliedEndTags();
            }
            insertHtmlElement(token);
            popCurrentNode();
            mFramesetOk = false;
            return Step::Done;
        case KnownName::Image:
            token.name = nameId(KnownName::Img);
            return Step::Reprocess;
        case KnownName::Textarea:
            insertHtmlElement(token);
            mSkipNextLineFeed = true;
            switchTokenizerTo(TokenizerState::Rcdata);
            mOriginalMode = mMode;
            mFramesetOk = false;
            mMode = InsertionMode::Text;
            return Step::Done;
        case KnownName::Xmp:
            closePElementInButtonScope();
            reconstructActiveFormattingElements();
            mFramesetOk = false;
            genericTextElement(token, TokenizerState::Rawtext);
            return Step::Done;
        case KnownName::Iframe:
            mFramesetOk = false;
            genericTextElement(token, TokenizerState::Rawtext);
            return Step::Done;
        case KnownName::Noembed:
        case KnownName::Noscript:  // scripting is enabled
            genericTextElement(token, TokenizerState::Rawtext);
            return Step::Done;
        case KnownName::Select:
            // A select inside an open select closes it and is not inserted.
            if (hasInScope(KnownName::Select, Boundary::Scope)) {
                popUntil(KnownName::Select);
                return Step::Done;
            }
            reconstructActiveFormattingElements();
            insertHtmlElement(token);
            mFramesetOk = false;
            return Step::Done;
        case KnownName::Optgroup:
        case KnownName::Option:
            inBodyOptionStartTag(token);
            return Step::Done;
        case KnownName::Rb:
        case KnownName::Rtc:
            if (hasInScope(KnownName::Ruby, Boundary::Scope)) {
                generateImpliedEndTags();
            }
            insertHtmlElement(token);
            return Step::Done;
        case KnownName::Rp:
        case KnownName::Rt:
            if (hasInScope(KnownName::Ruby, Boundary::Scope)) {
                generateImpliedEndTags(nameId(KnownName::Rtc));
            }
            insertHtmlElement(token);
            return Step::Done;
        case KnownName::Math:
        case KnownName::Svg:
            reconstructActiveFormattingElements();
            insertForeignElementForToken(
                token, tag == KnownName::Math ? Namespace::MathMl : Namespace::Svg);
            if (token.selfClosing) {
                popCurrentNode();
            }
            return Step::Done;
        case KnownName::Caption:
        case KnownName::Col:
        case KnownName::Colgroup:
        case KnownName::Frame:
        case KnownName::Head:
        case KnownName::Tbody:
        case KnownName::Td:
        case KnownName::Tfoot:
        case KnownName::Th:
        case KnownName::Thead:
        case KnownName::Tr:
            return Step::Done;
        default:
            reconstructActiveFormattingElements();
            insertHtmlElement(token);
            return Step::Done;
    }
}

// The loop of the li, dd and dt start tags: the nearest list item of the same kind is closed
// unless a special element other than address, div and p lies above it.
void TreeBuilder::inBodyListItemStartTag(const Token& token) {
    mFramesetOk = false;
    std::ptrdiff_t position;
    if (token.name == nameId(KnownName::Li)) {
        position = mOpenElements.topmostHtml(nameId(KnownName::Li));
    } else {
        position = std::max(mOpenElements.topmostHtml(nameId(KnownName::Dd)),
                            mOpenElements.topmostHtml(nameId(KnownName::Dt)));
    }
    if (position != OpenElementStack::kNone &&
        position >= mOpenElements.nearest(Boundary::SpecialOtherThanAddressDivP)) {
        const OpenElement node = mOpenElements[static_cast<std::size_t>(position)];
        generateImpliedEndTags(node.name);
        popUntilNode(node.node);
    }
    closePElementInButtonScope();
    insertHtmlElement(token);
}

// option and optgroup: inside a select they close what the select holds open of options.
void TreeBuilder::inBodyOptionStartTag(const Token& token) {
    if (hasInScope(KnownName::Select, Boundary::Scope)) {
        generateImpliedEndTags(token.name == nameId(KnownName::Option) ? nameId(KnownName::Optgroup)
                                                                       : NameId{0});
    } else if (currentNodeIs(KnownName::Option)) {
        popCurrentNode();
    }
    reconstructActiveFormattingElements();
    insertHtmlElement(token);
}

TreeBuilder::Step TreeBuilder::inBodyEndTag(Token& token) {
    const KnownName tag = known(token.name);
    switch (tag) {
        case KnownName::Template:
            return inHeadMode(token);
        case KnownName::Body:
            if (hasInScope(KnownName::Body, Boundary::Scope)) {
                mMode = InsertionMode::AfterBody;
            }
            return Step::Done;
        case KnownName::Html:
            if (!hasInScope(KnownName::Body, Boundary::Scope)) {
                return Step::Done;
            }
            mMode = InsertionMode::AfterBody;
            return Step::Reprocess;
        case KnownName::Address:
        case KnownName::Article:
        case KnownName::Aside:
        case KnownName::Blockquote:
        case KnownName::Button:
        case KnownName::Center:
        case KnownName::Details:
        case KnownName::Dialog:
        case KnownName::Dir:
        case KnownName::Div:
        case KnownName::Dl:
        case KnownName::Fieldset:
        case KnownName::Figcaption:
        case KnownName::Figure:
        case KnownName::Footer:
        case KnownName::Header:
        case KnownName::Hgroup:
        case KnownName::Listing:
        case KnownName::Main:
        case KnownName::Menu:
        case KnownName::Nav:
        case KnownName::Ol:
        case KnownName::Pre:
        case KnownName::Search:
        case KnownName::Section:
        case KnownName::Select:
        case KnownName::Summary:
        case KnownName::Ul:
            if (hasInScope(tag, Boundary::Scope)) {
                generateImpliedEndTags();
                popUntil(tag);
            }
            return Step::Done;
        case KnownName::Form:
            if (!templateIsOpen()) {
                const NodeId node = mFormElement;
                mFormElement = kNoNode;
                if (node == kNoNode || !mOpenElements.hasNodeInScope(node, Boundary::Scope)) {
                    return Step::Done;
                }
                generateImpliedEndTags();
                removeFromStack(node);
            } else if (hasInScope(KnownName::Form, Boundary::Scope)) {
                generateImpliedEndTags();
                popUntil(KnownName::Form);
            }
            return Step::Done;
        case KnownName::P:
            if (!hasInScope(KnownName::P, Boundary::ButtonScope)) {
                insertHtmlElement(KnownName::P);
            }
            closePElement();
            return Step::Done;
        case KnownName::Li:
            if (hasInScope(KnownName::Li, Boundary::ListItemScope)) {
                generateImpliedEndTags(token.name);
                popUntil(KnownName::Li);
            }
            return Step::Done;
        case KnownName::Dd:
        case KnownName::Dt:
            if (hasInScope(tag, Boundary::Scope)) {
                generateImpliedEndTags(token.name);
                popUntil(tag);
            }
            return Step::Done;
        case KnownName::H1:
        case KnownName::H2:
        case KnownName::H3:
        case KnownName::H4:
        case KnownName::H5:
        case KnownName::H6: {
            const std::initializer_list<KnownName> headings{KnownName::H1, KnownName::H2,
                                                            KnownName::H3, KnownName::H4,
                                                            KnownName::H5, KnownName::H6};
            const bool anyInScope = std::any_of(headings.begin(), headings.end(), [&](KnownName h) {
                return hasInScope(h, Boundary::Scope);
            });
            if (anyInScope) {
                generateImpliedEndTags();
                popUntilAnyOf(kHeading);
            }
            return Step::Done;
        }
        case KnownName::A:
        case KnownName::B:
        case KnownName::Big:
        case KnownName::Code:
        case KnownName::Em:
        case KnownName::Font:
        case KnownName::I:
        case KnownName::Nobr:
        case KnownName::S:
        case KnownName::Small:
        case KnownName::Strike:
        case KnownName::Strong:
        case KnownName::Tt:
        case KnownName::U:
            if (!adoptionAgency(token)) {
                inBodyAnyOtherEndTag(token);
            }
            return Step::Done;
        case KnownName::Applet:
        case KnownName::Marquee:
        case KnownName::Object:
            if (hasInScope(tag, Boundary::Scope)) {
                generateImpliedEndTags();
                popUntil(tag);
                mActiveFormatting.clearToLastMarker();
            }
            return Step::Done;
        case KnownName::Br:
            // Acts as a br start tag without attributes.
            token.kind = TokenKind::StartTag;
            token.attributes = {};
            token.selfClosing = false;
            return inBodyStartTag(token);
        default:
            inBodyAnyOtherEndTag(token);
            return Step::Done;
    }
}

// The HTML Standard walks down from the current node to an element of the token's name and
// gives up at the first special element. The stack knows both positions, so no walk is needed:
// the element is closed when it lies at or above the nearest special element.
void TreeBuilder::inBodyAnyOtherEndTag(const Token& token) {
    const std::ptrdiff_t position = mOpenElements.topmostHtml(token.name);
    if (position == OpenElementStack::kNone ||
        position < mOpenElements.nearest(Boundary::Special)) {
        return;
    }
    const NodeId node = mOpenElements[static_cast<std::size_t>(position)].node;
    generateImpliedEndTags(token.name);
    popUntilNode(node);
}

}  // namespace veltrano::html::parser
