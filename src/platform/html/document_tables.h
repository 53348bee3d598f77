#pragma once

#include <cstdint>
#include <string>

namespace veltrano::html {

class TableVisitor;

// How far reading a document's tables has come, 0 to 1, told every few milliseconds of work;
// returning false asks the work to stop.
class ParseProgress {
public:
    virtual ~ParseProgress() = default;
    virtual bool progress(double fraction) = 0;
};

// Reads the file piece by piece, decodes and parses it, and hands its tables to the visitor as
// they are completed (see TableVisitor): the tree holds only the part of the document that can
// still change, so memory stays near the size of the text. Returns false when progress asked
// to stop: the visitor may have been given some tables, nothing more follows, and everything
// read is freed. Throws veltrano::Failure when the file cannot be read.
bool readTables(const std::string& path, std::uint64_t maxBytes, TableVisitor& visitor,
                ParseProgress& progress);

// The same for a document's text already decoded (newlines need not be normalized).
bool readTablesFromText(std::string text, TableVisitor& visitor, ParseProgress& progress);

}  // namespace veltrano::html
