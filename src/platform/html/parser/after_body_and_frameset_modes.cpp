// The insertion modes after the body and of framesets: "after body", "in frameset", "after
// frameset", "after after body" and "after after frameset".

#include "platform/html/parser/element_kinds.h"
#include "platform/html/parser/tree_builder.h"
#include "platform/html/parser/whitespace.h"

namespace veltrano::html::parser {

TreeBuilder::Step TreeBuilder::afterBodyMode(Token& token) {
    const KnownName tag = known(token.name);
    switch (token.kind) {
        case TokenKind::Characters:
            if (isAllWhitespace(textOf(token.text))) {
                return inBodyMode(token);
            }
            break;
        case TokenKind::Comment:
            insertComment(token.text, {mOpenElements[0].node, kNoNode, false});
            return Step::Done;
        case TokenKind::Doctype:
            return Step::Done;
        case TokenKind::StartTag:
            if (tag == KnownName::Html) {
                return inBodyMode(token);
            }
            break;
        case TokenKind::EndTag:
            if (tag == KnownName::Html) {
                mMode = InsertionMode::AfterAfterBody;
                return Step::Done;
            }
            break;
        case TokenKind::EndOfFile:
            stopParsing();
            return Step::Done;
        default:
            break;
    }
    // A run that starts with whitespace goes to "in body" whole: its whitespace would go
    // there through these rules too.
    mMode = InsertionMode::InBody;
    return Step::Reprocess;
}

TreeBuilder::Step TreeBuilder::inFramesetMode(Token& token) {
    const KnownName tag = known(token.name);
    switch (token.kind) {
        case TokenKind::Characters:
            forEachWhitespaceStretch(token.text, textOf(token.text),
                                     [&](TextRef text) { insertCharacters(text); });
            return Step::Done;
        case TokenKind::Comment:
            insertComment(token.text);
            return Step::Done;
        case TokenKind::StartTag:
            switch (tag) {
                case KnownName::Html:
                    return inBodyMode(token);
                case KnownName::Frameset:
                    insertHtmlElement(token);
                    return Step::Done;
                case KnownName::Frame:
                    insertHtmlElement(token);
                    popCurrentNode();
                    return Step::Done;
                case KnownName::Noframes:
                    return inHeadMode(token);
                default:
                    return Step::Done;
            }
        case TokenKind::EndTag:
            if (tag == KnownName::Frameset && !currentNodeIs(KnownName::Html)) {
                popCurrentNode();
                if (!currentNodeIs(KnownName::Frameset)) {
                    mMode = InsertionMode::AfterFrameset;
                }
            }
            return Step::Done;
        case TokenKind::EndOfFile:
            stopParsing();
            return Step::Done;
        default:
            return Step::Done;
    }
}

TreeBuilder::Step TreeBuilder::afterFramesetMode(Token& token) {
    const KnownName tag = known(token.name);
    switch (token.kind) {
        case TokenKind::Characters:
            forEachWhitespaceStretch(token.text, textOf(token.text),
                                     [&](TextRef text) { insertCharacters(text); });
            return Step::Done;
        case TokenKind::Comment:
            insertComment(token.text);
            return Step::Done;
        case TokenKind::StartTag:
            if (tag == KnownName::Html) {
                return inBodyMode(token);
            }
            if (tag == KnownName::Noframes) {
                return inHeadMode(token);
            }
            return Step::Done;
        case TokenKind::EndTag:
            if (tag == KnownName::Html) {
                mMode = InsertionMode::AfterAfterFrameset;
            }
            return Step::Done;
        case TokenKind::EndOfFile:
            stopParsing();
            return Step::Done;
        default:
            return Step::Done;
    }
}

TreeBuilder::Step TreeBuilder::afterAfterBodyMode(Token& token) {
    switch (token.kind) {
        case TokenKind::Comment:
            insertComment(token.text, {mTree.document(), kNoNode, false});
            return Step::Done;
        case TokenKind::Doctype:
            return inBodyMode(token);
        case TokenKind::Characters:
            if (isAllWhitespace(textOf(token.text))) {
                return inBodyMode(token);
            }
            break;
        case TokenKind::StartTag:
            if (token.name == nameId(KnownName::Html)) {
                return inBodyMode(token);
            }
            break;
        case TokenKind::EndOfFile:
            stopParsing();
            return Step::Done;
        default:
            break;
    }
    mMode = InsertionMode::InBody;
    return Step::Reprocess;
}

TreeBuilder::Step TreeBuilder::afterAfterFramesetMode(Token& token) {
    switch (token.kind) {
        case TokenKind::Comment:
            insertComment(token.text, {mTree.document(), kNoNode, false});
            return Step::Done;
        case TokenKind::Doctype:
            return inBodyMode(token);
        case TokenKind::Characters:
            forEachWhitespaceStretch(token.text, textOf(token.text), [&](TextRef text) {
                Token whitespace = token;
                whitespace.text = text;
                inBodyMode(whitespace);
            });
            return Step::Done;
        case TokenKind::StartTag:
            if (token.name == nameId(KnownName::Html)) {
                return inBodyMode(token);
            }
            if (token.name == nameId(KnownName::Noframes)) {
                return inHeadMode(token);
            }
            return Step::Done;
        case TokenKind::EndOfFile:
            stopParsing();
            return Step::Done;
        default:
            return Step::Done;
    }
}

}  // namespace veltrano::html::parser
