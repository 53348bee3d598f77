#pragma once

#include <cstddef>
#include <cstdint>
#include <string>

#include "platform/html/encoding.h"

namespace veltrano::platform {
class FileReader;
}

namespace veltrano::html {

// Told how far reading a document has come, after each piece; may throw to stop the reading
// (the exception passes through unchanged).
class ReadingProgress {
public:
    virtual ~ReadingProgress() = default;
    virtual void bytesRead(std::uint64_t done, std::uint64_t total) = 0;
};

// Reads a document file piece by piece into text as the tokenizer reads it: decoded as a
// browser decodes a file (the encoding of the byte order mark, else the one the prescan finds
// declared, else UTF-8 when the whole file is valid UTF-8, else windows-1252) with CR LF and
// lone CR turned into LF. Returns the encoding. Throws veltrano::Failure when the file cannot
// be read or its text would not fit the engine's offsets.
Encoding readDocumentText(platform::FileReader& file, std::string& text, ReadingProgress& progress);

// The input stream preprocessing of the HTML Standard on text from `from` on: CR LF and lone CR
// become LF. afterCr carries a CR that ended the previous piece (an LF starting this one is
// then dropped) and tells whether this piece ends with one.
void normalizeNewlines(std::string& text, std::size_t from, bool& afterCr);

}  // namespace veltrano::html
