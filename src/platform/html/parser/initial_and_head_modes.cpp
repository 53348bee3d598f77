// The insertion modes up to the body: "initial", "before html", "before head", "in head" and
// "after head".

#include "platform/html/parser/element_kinds.h"
#include "platform/html/parser/tokenizer_state.h"
#include "platform/html/parser/tree_builder.h"
#include "platform/html/parser/whitespace.h"

namespace veltrano::html::parser {
namespace {

// Drops the whitespace a run starts with; true when nothing is left.
bool skipLeadingWhitespace(Token& token, std::string_view text) {
    const auto skip = static_cast<std::uint32_t>(leadingWhitespace(text));
    token.text.offset += skip;
    token.text.length -= skip;
    return token.text.empty();
}

}  // namespace

TreeBuilder::Step TreeBuilder::initialMode(Token& token) {
    switch (token.kind) {
        case TokenKind::Characters:
            if (skipLeadingWhitespace(token, textOf(token.text))) {
                return Step::Done;
            }
            break;
        case TokenKind::Comment:
            insertComment(token.text, {mTree.document(), kNoNode, false});
            return Step::Done;
        case TokenKind::Doctype:
            mTree.appendChild(mTree.document(), mTree.createDoctype(*token.doctype));
            mDocumentMode = documentModeFor(*token.doctype, token.forceQuirks);
            mMode = InsertionMode::BeforeHtml;
            return Step::Done;
        default:
            break;
    }
    mDocumentMode = DocumentMode::Quirks;
    mMode = InsertionMode::BeforeHtml;
    return Step::Reprocess;
}

TreeBuilder::Step TreeBuilder::beforeHtmlMode(Token& token) {
    const KnownName tag = known(token.name);
    switch (token.kind) {
        case TokenKind::Doctype:
            return Step::Done;
        case TokenKind::Comment:
            insertComment(token.text, {mTree.document(), kNoNode, false});
            return Step::Done;
        case TokenKind::Characters:
            if (skipLeadingWhitespace(token, textOf(token.text))) {
                return Step::Done;
            }
            break;
        case TokenKind::StartTag:
            if (tag == KnownName::Html) {
                const NodeId html =
                    mTree.createElement(token.name, Namespace::Html, token.attributes);
                insertElementAt({mTree.document(), kNoNode, false}, html);
                pushOpenElement(html, token.name, false);
                mMode = InsertionMode::BeforeHead;
                return Step::Done;
            }
            break;
        case TokenKind::EndTag:
            if (tag != KnownName::Head && tag != KnownName::Body && tag != KnownName::Html &&
                tag != KnownName::Br) {
                return Step::Done;
            }
            break;
        default:
            break;
    }
    const NodeId html = mTree.createElement(nameId(KnownName::Html), Namespace::Html, {});
    insertElementAt({mTree.document(), kNoNode, false}, html);
    pushOpenElement(html, nameId(KnownName::Html), false);
    mMode = InsertionMode::BeforeHead;
    return Step::Reprocess;
}

TreeBuilder::Step TreeBuilder::beforeHeadMode(Token& token) {
    const KnownName tag = known(token.name);
    switch (token.kind) {
        case TokenKind::Characters:
            if (skipLeadingWhitespace(token, textOf(token.text))) {
                return Step::Done;
            }
            break;
        case TokenKind::Comment:
            insertComment(token.text);
            return Step::Done;
        case TokenKind::Doctype:
            return Step::Done;
        case TokenKind::StartTag:
            if (tag == KnownName::Html) {
                return inBodyMode(token);
            }
            if (tag == KnownName::Head) {
                mHeadElement = insertHtmlElement(token);
                mMode = InsertionMode::InHead;
                return Step::Done;
            }
            break;
        case TokenKind::EndTag:
            if (tag != KnownName::Head && tag != KnownName::Body && tag != KnownName::Html &&
                tag != KnownName::Br) {
                return Step::Done;
            }
            break;
        default:
            break;
    }
    mHeadElement = insertHtmlElement(KnownName::Head);
    mMode = InsertionMode::InHead;
    return Step::Reprocess;
}

TreeBuilder::Step TreeBuilder::inHeadMode(Token& token) {
    const KnownName tag = known(token.name);
    switch (token.kind) {
        case TokenKind::Characters:
            if (insertLeadingWhitespace(token)) {
                return Step::Done;
            }
            break;
        case TokenKind::Comment:
            insertComment(token.text);
            return Step::Done;
        case TokenKind::Doctype:
            return Step::Done;
        case TokenKind::StartTag:
            switch (tag) {
                case KnownName::Html:
                    return inBodyMode(token);
                case KnownName::Base:
                case KnownName::Basefont:
                case KnownName::Bgsound:
                case KnownName::Link:
                case KnownName::Meta:
                    insertHtmlElement(token);
                    popCurrentNode();
                    return Step::Done;
                case KnownName::Title:
                    genericTextElement(token, TokenizerState::Rcdata);
                    return Step::Done;
                case KnownName::Noscript:  // scripting is enabled
                case KnownName::Noframes:
                case KnownName::Style:
                    genericTextElement(token, TokenizerState::Rawtext);
                    return Step::Done;
                case KnownName::Script:
                    genericTextElement(token, TokenizerState::ScriptData);
                    return Step::Done;
                case KnownName::Template:
                    startTemplate(token);
                    return Step::Done;
                case KnownName::Head:
                    return Step::Done;
                default:
                    break;
            }
            break;
        case TokenKind::EndTag:
            switch (tag) {
                case KnownName::Head:
                    popCurrentNode();
                    mMode = InsertionMode::AfterHead;
                    return Step::Done;
                case KnownName::Body:
                case KnownName::Html:
                case KnownName::Br:
                    break;
                case KnownName::Template:
                    endTemplate();
                    return Step::Done;
                default:
                    return Step::Done;
            }
            break;
        default:
            break;
    }
    popCurrentNode();
    mMode = InsertionMode::AfterHead;
    return Step::Reprocess;
}

TreeBuilder::Step TreeBuilder::afterHeadMode(Token& token) {
    const KnownName tag = known(token.name);
    switch (token.kind) {
        case TokenKind::Characters:
            if (insertLeadingWhitespace(token)) {
                return Step::Done;
            }
            break;
        case TokenKind::Comment:
            insertComment(token.text);
            return Step::Done;
        case TokenKind::Doctype:
            return Step::Done;
        case TokenKind::StartTag:
            switch (tag) {
                case KnownName::Html:
                    return inBodyMode(token);
                case KnownName::Body:
                    insertHtmlElement(token);
                    mFramesetOk = false;
                    mMode = InsertionMode::InBody;
                    return Step::Done;
                case KnownName::Frameset:
                    insertHtmlElement(token);
                    mMode = InsertionMode::InFrameset;
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
                case KnownName::Title: {
                    // The head, closed already, takes these; it comes off the stack again
                    // wherever it then lies on it.
                    pushOpenElement(mHeadElement, nameId(KnownName::Head), false);
                    const Step step = inHeadMode(token);
                    removeFromStack(mHeadElement);
                    return step;
                }
                case KnownName::Head:
                    return Step::Done;
                default:
                    break;
            }
            break;
        case TokenKind::EndTag:
            if (tag == KnownName::Template) {
                return inHeadMode(token);
            }
            if (tag != KnownName::Body && tag != KnownName::Html && tag != KnownName::Br) {
                return Step::Done;
            }
            break;
        default:
            break;
    }
    insertHtmlElement(KnownName::Body);
    mMode = InsertionMode::InBody;
    return Step::Reprocess;
}

}  // namespace veltrano::html::parser
