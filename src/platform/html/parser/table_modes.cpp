// The table insertion modes: "in table", "in table text", "in caption", "in column group",
// "in table body", "in row" and "in cell".

#include <algorithm>

#include "platform/html/parser/element_kinds.h"
#include "platform/html/parser/tree_builder.h"
#include "platform/html/parser/whitespace.h"

namespace veltrano::html::parser {
namespace {

using K = KnownName;

bool isOneOf(KnownName tag, std::initializer_list<KnownName> names) {
    return std::find(names.begin(), names.end(), tag) != names.end();
}

bool isHiddenInput(const Token& token, const TextStore& text) {
    for (const Attribute& attribute : token.attributes) {
        if (attribute.name == nameId(K::Type) && attribute.ns == AttributeNamespace::None) {
            const std::string_view value = text.view(attribute.value);
            return value.size() == 6 &&
                   std::equal(value.begin(), value.end(), "hidden", [](char a, char b) {
                       return (a >= 'A' && a <= 'Z' ? static_cast<char>(a - 'A' + 'a') : a) == b;
                   });
        }
    }
    return false;
}

}  // namespace

TreeBuilder::Step TreeBuilder::inTableMode(Token& token) {
    const KnownName tag = known(token.name);
    switch (token.kind) {
        case TokenKind::Characters:
        case TokenKind::NullCharacter:
            if (currentNodeIsAnyOf(kFosterParentingTarget) || currentNodeIs(K::Template)) {
                mPendingTableText.clear();
                mPendingTableTextIsWhitespace = true;
                mOriginalMode = mMode;
                mMode = InsertionMode::InTableText;
                return Step::Reprocess;
            }
            break;
        case TokenKind::Comment:
            insertComment(token.text);
            return Step::Done;
        case TokenKind::Doctype:
            return Step::Done;
        case TokenKind::StartTag:
            switch (tag) {
                case K::Caption:
                    clearStackBackTo(kTableContext);
                    mActiveFormatting.pushMarker();
                    insertHtmlElement(token);
                    mMode = InsertionMode::InCaption;
                    return Step::Done;
                case K::Colgroup:
                    clearStackBackTo(kTableContext);
                    insertHtmlElement(token);
                    mMode = InsertionMode::InColumnGroup;
                    return Step::Done;
                case K::Col:
                    clearStackBackTo(kTableContext);
                    insertHtmlElement(K::Colgroup);
                    mMode = InsertionMode::InColumnGroup;
                    return Step::Reprocess;
                case K::Tbody:
                case K::Tfoot:
                case K::Thead:
                    clearStackBackTo(kTableContext);
                    insertHtmlElement(token);
                    mMode = InsertionMode::InTableBody;
                    return Step::Done;
                case K::Td:
                case K::Th:
                case K::Tr:
                    clearStackBackTo(kTableContext);
                    insertHtmlElement(K::Tbody);
                    mMode = InsertionMode::InTableBody;
                    return Step::Reprocess;
                case K::Table:
                    if (!hasInScope(K::Table, Boundary::TableScope)) {
                        return Step::Done;
                    }
                    popUntil(K::Table);
                    resetInsertionModeAppropriately();
                    return Step::Reprocess;
                case K::Style:
                case K::Script:
                case K::Template:
                    return inHeadMode(token);
                case K::Input:
                    if (!isHiddenInput(token, mText)) {
                        break;
                    }
                    insertHtmlElement(token);
                    popCurrentNode();
                    return Step::Done;
                case K::Form:
                    if (templateIsOpen() || mFormElement != kNoNode) {
                        return Step::Done;
                    }
                    mFormElement = insertHtmlElement(token);
                    popCurrentNode();
                    return Step::Done;
                default:
                    break;
            }
            break;
        case TokenKind::EndTag:
            switch (tag) {
                case K::Table:
                    if (hasInScope(K::Table, Boundary::TableScope)) {
                        popUntil(K::Table);
                        resetInsertionModeAppropriately();
                    }
                    return Step::Done;
                case K::Body:
                case K::Caption:
                case K::Col:
                case K::Colgroup:
                case K::Html:
                case K::Tbody:
                case K::Td:
                case K::Tfoot:
                case K::Th:
                case K::Thead:
                case K::Tr:
                    return Step::Done;
                case K::Template:
                    return inHeadMode(token);
                default:
                    break;
            }
            break;
        case TokenKind::EndOfFile:
            return inBodyMode(token);
    }
    return inTableAnythingElse(token);
}

// "Anything else" in "in table": the rules of "in body", with foster parenting.
TreeBuilder::Step TreeBuilder::inTableAnythingElse(Token& token) {
    mFosterParenting = true;
    const Step step = inBodyMode(token);
    mFosterParenting = false;
    return step;
}

TreeBuilder::Step TreeBuilder::inTableTextMode(Token& token) {
    if (token.kind == TokenKind::NullCharacter) {
        return Step::Done;
    }
    if (token.kind == TokenKind::Characters) {
        mPendingTableText.push_back(token.text);
        mPendingTableTextIsWhitespace =
            mPendingTableTextIsWhitespace && isAllWhitespace(textOf(token.text));
        return Step::Done;
    }
    for (const TextRef text : mPendingTableText) {
        if (mPendingTableTextIsWhitespace) {
            insertCharacters(text);
        } else {
            Token characters;
            characters.kind = TokenKind::Characters;
            characters.text = text;
            inTableAnythingElse(characters);
        }
    }
    mPendingTableText.clear();
    mMode = mOriginalMode;
    return Step::Reprocess;
}

TreeBuilder::Step TreeBuilder::inCaptionMode(Token& token) {
    const KnownName tag = known(token.name);
    const bool endCaption = token.kind == TokenKind::EndTag && tag == K::Caption;
    const bool closesCaption = (token.kind == TokenKind::StartTag &&
                                isOneOf(tag, {K::Caption, K::Col, K::Colgroup, K::Tbody, K::Td,
                                              K::Tfoot, K::Th, K::Thead, K::Tr})) ||
                               (token.kind == TokenKind::EndTag && tag == K::Table);
    if (endCaption || closesCaption) {
        if (!hasInScope(K::Caption, Boundary::TableScope)) {
            return Step::Done;
        }
        generateImpliedEndTags();
        popUntil(K::Caption);
        mActiveFormatting.clearToLastMarker();
        mMode = InsertionMode::InTable;
        return endCaption ? Step::Done : Step::Reprocess;
    }
    if (token.kind == TokenKind::EndTag &&
        isOneOf(tag, {K::Body, K::Col, K::Colgroup, K::Html, K::Tbody, K::Td, K::Tfoot, K::Th,
                      K::Thead, K::Tr})) {
        return Step::Done;
    }
    return inBodyMode(token);
}

TreeBuilder::Step TreeBuilder::inColumnGroupMode(Token& token) {
    const KnownName tag = known(token.name);
    switch (token.kind) {
        case TokenKind::Characters: {
            const std::string_view text = textOf(token.text);
            if (!currentNodeIs(K::Colgroup)) {
                // Inside a template: each other character is dropped, yet the white space
                // between them is still inserted.
                forEachWhitespaceStretch(token.text, text,
                                         [&](TextRef stretch) { insertCharacters(stretch); });
                return Step::Done;
            }
            if (insertLeadingWhitespace(token)) {
                return Step::Done;
            }
            break;
        }
        case TokenKind::Comment:
            insertComment(token.text);
            return Step::Done;
        case TokenKind::Doctype:
            return Step::Done;
        case TokenKind::StartTag:
            if (tag == K::Html) {
                return inBodyMode(token);
            }
            if (tag == K::Col) {
                insertHtmlElement(token);
                popCurrentNode();
                return Step::Done;
            }
            if (tag == K::Template) {
                return inHeadMode(token);
            }
            break;
        case TokenKind::EndTag:
            if (tag == K::Colgroup) {
                if (currentNodeIs(K::Colgroup)) {
                    popCurrentNode();
                    mMode = InsertionMode::InTable;
                }
                return Step::Done;
            }
            if (tag == K::Col) {
                return Step::Done;
            }
            if (tag == K::Template) {
                return inHeadMode(token);
            }
            break;
        case TokenKind::EndOfFile:
            return inBodyMode(token);
        default:
            break;
    }
    if (!currentNodeIs(K::Colgroup)) {
        return Step::Done;
    }
    popCurrentNode();
    mMode = InsertionMode::InTable;
    return Step::Reprocess;
}

TreeBuilder::Step TreeBuilder::inTableBodyMode(Token& token) {
    const KnownName tag = known(token.name);
    const auto anySectionInTableScope = [&] {
        return hasInScope(K::Tbody, Boundary::TableScope) ||
               hasInScope(K::Thead, Boundary::TableScope) ||
               hasInScope(K::Tfoot, Boundary::TableScope);
    };
    if (token.kind == TokenKind::StartTag) {
        switch (tag) {
            case K::Tr:
                clearStackBackTo(kTableBodyContext);
                insertHtmlElement(token);
                mMode = InsertionMode::InRow;
                return Step::Done;
            case K::Th:
            case K::Td:
                clearStackBackTo(kTableBodyContext);
                insertHtmlElement(K::Tr);
                mMode = InsertionMode::InRow;
                return Step::Reprocess;
            case K::Caption:
            case K::Col:
            case K::Colgroup:
            case K::Tbody:
            case K::Tfoot:
            case K::Thead:
                if (!anySectionInTableScope()) {
                    return Step::Done;
                }
                clearStackBackTo(kTableBodyContext);
                popCurrentNode();
                mMode = InsertionMode::InTable;
                return Step::Reprocess;
            default:
                break;
        }
    } else if (token.kind == TokenKind::EndTag) {
        switch (tag) {
            case K::Tbody:
            case K::Tfoot:
            case K::Thead:
                if (hasInScope(tag, Boundary::TableScope)) {
                    clearStackBackTo(kTableBodyContext);
                    popCurrentNode();
                    mMode = InsertionMode::InTable;
                }
                return Step::Done;
            case K::Table:
                if (!anySectionInTableScope()) {
                    return Step::Done;
                }
                clearStackBackTo(kTableBodyContext);
                popCurrentNode();
                mMode = InsertionMode::InTable;
                return Step::Reprocess;
            case K::Body:
            case K::Caption:
            case K::Col:
            case K::Colgroup:
            case K::Html:
            case K::Td:
            case K::Th:
            case K::Tr:
                return Step::Done;
            default:
                break;
        }
    }
    return inTableMode(token);
}

TreeBuilder::Step TreeBuilder::inRowMode(Token& token) {
    const KnownName tag = known(token.name);
    // "</tr>", and what closes the row first and is then processed again.
    const auto closeTheRow = [&](Step then) {
        if (!hasInScope(K::Tr, Boundary::TableScope)) {
            return Step::Done;
        }
        clearStackBackTo(kTableRowContext);
        popCurrentNode();
        mMode = InsertionMode::InTableBody;
        return then;
    };
    if (token.kind == TokenKind::StartTag) {
        switch (tag) {
            case K::Th:
            case K::Td:
                startCell(token);
                return Step::Done;
            case K::Caption:
            case K::Col:
            case K::Colgroup:
            case K::Tbody:
            case K::Tfoot:
            case K::Thead:
            case K::Tr:
                return closeTheRow(Step::Reprocess);
            default:
                break;
        }
    } else if (token.kind == TokenKind::EndTag) {
        switch (tag) {
            case K::Tr:
                return closeTheRow(Step::Done);
            case K::Table:
                return closeTheRow(Step::Reprocess);
            case K::Tbody:
            case K::Tfoot:
            case K::Thead:
                if (!hasInScope(tag, Boundary::TableScope)) {
                    return Step::Done;
                }
                return closeTheRow(Step::Reprocess);
            case K::Body:
            case K::Caption:
            case K::Col:
            case K::Colgroup:
            case K::Html:
            case K::Td:
            case K::Th:
                return Step::Done;
            default:
                break;
        }
    }
    return inTableMode(token);
}

// "In row"'s rule for the "td" and "th" start tags.
void TreeBuilder::startCell(const Token& token) {
    clearStackBackTo(kTableRowContext);
    insertHtmlElement(token);
    mMode = InsertionMode::InCell;
    mActiveFormatting.pushMarker();
}

// "In cell"'s rule for the "td" and "th" end tags.
void TreeBuilder::endCell(KnownName tag) {
    if (!hasInScope(tag, Boundary::TableScope)) {
        return;
    }
    generateImpliedEndTags();
    popUntil(tag);
    mActiveFormatting.clearToLastMarker();
    mMode = InsertionMode::InRow;
}

// A short cut for processToken, which calls it for a token that goes to the insertion mode: the
// rules that inRowMode and inCellMode pick for a cell's start tag, end tag and text, which are
// nearly all of a large table's tokens, taken without the way through processInMode. False for
// every other token.
bool TreeBuilder::tookCellToken(Token& token) {
    const KnownName tag = known(token.name);
    if (mMode == InsertionMode::InRow) {
        if (token.kind == TokenKind::StartTag && (tag == K::Td || tag == K::Th)) {
            startCell(token);
            return true;
        }
    } else if (mMode == InsertionMode::InCell) {
        if (token.kind == TokenKind::EndTag && (tag == K::Td || tag == K::Th)) {
            endCell(tag);
            return true;
        }
        if (token.kind == TokenKind::Characters) {
            // "Anything else" in cell: the rule of "in body".
            inBodyCharacters(token.text);
            return true;
        }
    }
    return false;
}

TreeBuilder::Step TreeBuilder::inCellMode(Token& token) {
    const KnownName tag = known(token.name);
    if (token.kind == TokenKind::EndTag) {
        switch (tag) {
            case K::Td:
            case K::Th:
                endCell(tag);
                return Step::Done;
            case K::Body:
            case K::Caption:
            case K::Col:
            case K::Colgroup:
            case K::Html:
                return Step::Done;
            case K::Table:
            case K::Tbody:
            case K::Tfoot:
            case K::Thead:
            case K::Tr:
                if (!hasInScope(tag, Boundary::TableScope)) {
                    return Step::Done;
                }
                closeTheCell();
                return Step::Reprocess;
            default:
                break;
        }
    } else if (token.kind == TokenKind::StartTag) {
        switch (tag) {
            case K::Caption:
            case K::Col:
            case K::Colgroup:
            case K::Tbody:
            case K::Td:
            case K::Tfoot:
            case K::Th:
            case K::Thead:
            case K::Tr:
                if (!hasInScope(K::Td, Boundary::TableScope) &&
                    !hasInScope(K::Th, Boundary::TableScope)) {
                    return Step::Done;
                }
                closeTheCell();
                return Step::Reprocess;
            default:
                break;
        }
    }
    return inBodyMode(token);
}

}  // namespace veltrano::html::parser
