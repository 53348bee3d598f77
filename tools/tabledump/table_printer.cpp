#include "table_printer.h"

#include <cstdint>

#include "tables/cell_key.h"
#include "tables/extraction.h"

namespace veltrano {
namespace {

// Calls cell(row, index, text) for every stored cell of the listed table at position (from 1)
// and row(r) before each row's cells; a row's cells are those stored from index 0 on.
template <class Row, class Cell>
void forEachCell(const ExtractedFile& extracted, std::size_t position, Row&& row, Cell&& cell) {
    const std::int32_t number = extracted.listedTables[position - 1];
    const std::int32_t rowCount = extracted.tables.rows->item(position).rowCount();
    const CellMap& cells = *extracted.tables.cells;
    for (std::int32_t r = 1; r <= rowCount; ++r) {
        row(r);
        for (std::int32_t c = 0; cells.exists({number, r, c}); ++c) {
            cell(r, c, cells.item({number, r, c}));
        }
    }
}

// As JavaScript's JSON.stringify writes a string.
void appendJsonString(std::string& out, std::string_view text) {
    static constexpr char kHex[] = "0123456789abcdef";
    out += '"';
    for (const char c : text) {
        switch (c) {
            case '"':
                out += "\\\"";
                break;
            case '\\':
                out += "\\\\";
                break;
            case '\b':
                out += "\\b";
                break;
            case '\f':
                out += "\\f";
                break;
            case '\n':
                out += "\\n";
                break;
            case '\r':
                out += "\\r";
                break;
            case '\t':
                out += "\\t";
                break;
            default:
                if (static_cast<unsigned char>(c) < 0x20) {
                    out += "\\u00";
                    out += kHex[static_cast<unsigned char>(c) >> 4];
                    out += kHex[static_cast<unsigned char>(c) & 0xF];
                } else {
                    out += c;
                }
        }
    }
    out += '"';
}

void appendEscapedLine(std::string& out, std::string_view text) {
    for (const char c : text) {
        switch (c) {
            case '\n':
                out += "\\n";
                break;
            case '\r':
                out += "\\r";
                break;
            case '\t':
                out += "\\t";
                break;
            case '\\':
                out += "\\\\";
                break;
            default:
                out += c;
        }
    }
}

}  // namespace

void appendJson(std::string& out, std::string_view file, const ExtractedFile& extracted) {
    out += "{\"file\":";
    appendJsonString(out, file);
    out += ",\"tables\":[";
    for (std::size_t position = 1; position <= extracted.listedTables.size(); ++position) {
        if (position > 1) {
            out += ',';
        }
        out += "{\"number\":" + std::to_string(extracted.listedTables[position - 1]) +
               ",\"columnCount\":" + std::to_string(extracted.tables.columnCounts->item(position)) +
               ",\"rows\":[";
        forEachCell(
            extracted, position, [&](std::int32_t row) { out += row == 1 ? "[" : "],["; },
            [&](std::int32_t, std::int32_t cell, std::string_view text) {
                if (cell > 0) {
                    out += ',';
                }
                appendJsonString(out, text);
            });
        out += "]]}";  // a listed table has a row
    }
    out += "]}\n";
}

void appendLines(std::string& out, const ExtractedFile& extracted) {
    for (std::size_t position = 1; position <= extracted.listedTables.size(); ++position) {
        const std::int32_t number = extracted.listedTables[position - 1];
        forEachCell(
            extracted, position, [](std::int32_t) {},
            [&](std::int32_t row, std::int32_t cell, std::string_view text) {
                out += CellKey{number, row, cell}.text();
                out += '\t';
                appendEscapedLine(out, text);
                out += '\n';
            });
    }
}

}  // namespace veltrano
