#pragma once

namespace veltrano::html::parser {

// Lets whoever parses a document stop it. The tokenizer calls poll() every few milliseconds of
// work at most, also within one long token; poll() throws to abandon the parse (the throw
// passes through the tokenizer, which leaks nothing) and otherwise returns at once.
class Interrupt {
public:
    virtual ~Interrupt() = default;
    virtual void poll() = 0;
};

}  // namespace veltrano::html::parser
