#pragma once

#include <cstdint>
#include <span>

#include "platform/html/parser/names.h"
#include "platform/html/parser/node_tree.h"
#include "platform/html/parser/text_store.h"

namespace veltrano::html::parser {

enum class TokenKind : std::uint8_t {
    Doctype,
    StartTag,
    EndTag,
    Comment,
    // A run of characters, never empty; the tokenizer emits as long a run as it can.
    Characters,
    // One U+0000 read in the data state or a CDATA section, which the tree builder handles
    // differently from other characters in each insertion mode.
    NullCharacter,
    EndOfFile,
};

// A token as the tokenizer hands it to the tree builder. Everything it refers to is valid
// until the tree builder returns: texts are references into the document's TextStore (which
// lives as long as the document), attributes a span of the tokenizer's buffer.
struct Token {
    TokenKind kind = TokenKind::EndOfFile;
    // Tags: the tag name, lower-cased, as a number of the document's NameTable.
    NameId name = 0;
    bool selfClosing = false;
    // Start tags: the attributes in source order, duplicates already dropped (end tags never
    // carry attributes to the tree builder).
    std::span<const Attribute> attributes;
    // Characters and comments.
    TextRef text;
    // Doctypes: name, public and system identifiers (missing ones unset), and the
    // force-quirks flag.
    const Doctype* doctype = nullptr;
    bool forceQuirks = false;
};

// Receives the tokenizer's tokens: the tree builder. The tokenizer also asks it whether a
// CDATA section may start ("<![CDATA[" is a CDATA section only in foreign content). A token is
// the sink's to change while it processes it (the tree builder's rules rewrite a few in place);
// the tokenizer makes a new one for each.
class TokenSink {
public:
    virtual ~TokenSink() = default;
    virtual void processToken(Token& token) = 0;
    virtual bool adjustedCurrentNodeIsForeign() const = 0;
};

}  // namespace veltrano::html::parser
