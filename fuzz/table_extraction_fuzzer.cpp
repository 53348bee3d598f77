// Any bytes as a file given to "Next >": decoded, parsed, walked and stored. The walk of a
// small page must not fail a step, the store must list exactly the tables the walk listed,
// and every stored cell must be valid UTF-8.
#include <cstdint>
#include <memory>
#include <string>

#include "fuzz_check.h"
#include "platform/html/text_decoder.h"
#include "platform/html/utf8_decoder.h"
#include "tables/extraction.h"

using veltrano::fuzz::require;

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    using namespace veltrano;
    html::DecodedText decoded = html::decodeHtmlBytes(fuzz::bytesOf(data, size));
    require(html::isValidUtf8(decoded.utf8), "decoded text is valid UTF-8");

    const StoredFile file{std::make_shared<RowLists>(), std::make_shared<ColumnCounts>(),
                          std::make_shared<CellMap>()};
    TableStoreBuilder builder(file);
    FailureLog failures;
    IgnoredProgress progress;
    const std::vector<std::int32_t> listed =
        extractTablesFromText(std::move(decoded.utf8), kFile1Walk, builder, failures, progress);

    require(failures.entries().empty(), "no step of the walk fails");
    require(listed.size() == file.rows->count(), "one row list per listed table");
    require(listed.size() == file.columnCounts->count(), "one column count per listed table");
    std::int32_t previous = 0;
    for (std::size_t position = 1; position <= listed.size(); ++position) {
        const std::int32_t number = listed[position - 1];
        require(number > previous, "listed tables rise");
        previous = number;
        const CellMap::TableSpan span = file.cells->table(number);
        const std::int32_t rows = file.rows->item(position).rowCount();
        require(rows > 0 && span.rowCount <= rows, "cells lie in the table's rows");
        const std::int32_t columns = file.columnCounts->item(position);
        for (std::int32_t row = 1; row <= span.rowCount; ++row) {
            for (std::int32_t cell = 0; cell < columns; ++cell) {
                require(html::isValidUtf8(file.cells->item(span, row, cell)),
                        "stored cells are valid UTF-8");
            }
        }
    }
    return 0;
}
