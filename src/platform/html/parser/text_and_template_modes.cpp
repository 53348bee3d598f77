// The "text" and "in template" insertion modes.

#include "platform/html/parser/element_kinds.h"
#include "platform/html/parser/tree_builder.h"

namespace veltrano::html::parser {

TreeBuilder::Step TreeBuilder::textMode(Token& token) {
    switch (token.kind) {
        case TokenKind::Characters:
            insertCharacters(token.text);
            return Step::Done;
        case TokenKind::EndOfFile:
            popCurrentNode();
            mMode = mOriginalMode;
            return Step::Reprocess;
        case TokenKind::EndTag:
            // Scripts are not run: "</script>" closes its element like any other end tag.
            popCurrentNode();
            mMode = mOriginalMode;
            return Step::Done;
        default:
            return Step::Done;
    }
}

TreeBuilder::Step TreeBuilder::inTemplateMode(Token& token) {
    const KnownName tag = known(token.name);
    const auto switchTemplateMode = [&](InsertionMode mode) {
        mTemplateModes.back() = mode;
        mMode = mode;
        return Step::Reprocess;
    };
    switch (token.kind) {
        case TokenKind::Characters:
        case TokenKind::NullCharacter:
        case TokenKind::Comment:
        case TokenKind::Doctype:
            return inBodyMode(token);
        case TokenKind::StartTag:
            switch (tag) {
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
                case KnownName::Caption:
                case KnownName::Colgroup:
                case KnownName::Tbody:
                case KnownName::Tfoot:
                case KnownName::Thead:
                    return switchTemplateMode(InsertionMode::InTable);
                case KnownName::Col:
                    return switchTemplateMode(InsertionMode::InColumnGroup);
                case KnownName::Tr:
                    return switchTemplateMode(InsertionMode::InTableBody);
                case KnownName::Td:
                case KnownName::Th:
                    return switchTemplateMode(InsertionMode::InRow);
                default:
                    return switchTemplateMode(InsertionMode::InBody);
            }
        case TokenKind::EndTag:
            if (tag == KnownName::Template) {
                return inHeadMode(token);
            }
            return Step::Done;
        case TokenKind::EndOfFile:
            if (!templateIsOpen()) {
                stopParsing();
                return Step::Done;
            }
            popUntil(KnownName::Template);
            mActiveFormatting.clearToLastMarker();
            mTemplateModes.pop_back();
            resetInsertionModeAppropriately();
            return Step::Reprocess;
    }
    return Step::Done;
}

}  // namespace veltrano::html::parser
