#pragma once

#include <cstddef>
#include <memory>
#include <string_view>

namespace veltrano {

// The bytes of joined.html, built in place: each piece is appended already in the file's
// code page (see legacy_code_page.h), so the document is the one buffer that gets written.
// Every piece but the tail ends with CR LF.
class ResultDocument final {
public:
    // Exact sizes, so that a run can reserve its whole document before appending.
    static constexpr std::size_t kRowFrameSize = 6 + 7;  // row start and row end
    static constexpr std::size_t kFillerCellSize = 17;
    static std::size_t dataCellSize(std::string_view utf8Text);

    // Makes room for rows of rowBytes and the tail, so appending them never reallocates.
    void reserveRows(std::size_t rowBytes);

    void appendHead();
    void appendRowStart();
    // The cell's text escaped and converted, between "<td>" and "</td>".
    void appendDataCell(std::string_view utf8Text);
    // "<td>&nbsp;</td>": stands in for a cell of a row the shorter grid lacks.
    void appendFillerCell();
    void appendRowEnd();
    void appendTail();

    std::string_view bytes() const { return {mBytes.get(), mSize}; }

private:
    // Where the next `bytes` bytes go, after growing the buffer if it lacks room for them.
    char* room(std::size_t bytes);
    void append(std::string_view piece);
    void reallocate(std::size_t capacity);

    // Filled up to mSize; the rest of mCapacity is untouched, so a generous reservation costs
    // address space, not memory.
    std::unique_ptr<char[]> mBytes;
    std::size_t mSize = 0;
    std::size_t mCapacity = 0;
};

}  // namespace veltrano
