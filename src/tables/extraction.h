#pragma once

#include <cstdint>
#include <exception>
#include <string>
#include <vector>

#include "shell/guarded_steps.h"
#include "tables/table_store.h"

namespace veltrano {

// The step numbers a file's walk reports its failures with; file #2's walk runs the same
// steps 38 numbers further on.
struct WalkLines {
    int addCell;
    int appendRowList;
};
inline constexpr WalkLines kFile1Walk{138, 148};
inline constexpr WalkLines kFile2Walk{176, 186};

// Larger files are refused with a message instead of exhausting the memory: reading a page
// takes about twice its size, more for tables nested in tables.
inline constexpr std::uint64_t kMaximumFileBytes = std::uint64_t{1} << 30;

// Tells how far the work has come (0 to 1); may be called from any thread. Returning false
// asks the work to stop.
class ProgressReport {
public:
    virtual ~ProgressReport() = default;
    virtual bool progress(double fraction) = 0;
};

// For callers that neither show progress nor stop the work (tools, benchmarks).
class IgnoredProgress final : public ProgressReport {
public:
    bool progress(double /*fraction*/) override { return true; }
};

// The user stopped the work; nothing is reported and nothing has changed.
class ExtractionCancelled final : public std::exception {
public:
    const char* what() const noexcept override { return "cancelled"; }
};

// One file's tables, read away from the windows into containers of their own, ready to be
// put into the store as they are.
struct ExtractedFile {
    StoredFile tables;
    std::vector<std::int32_t> listedTables;  // numbers of the listed tables, in order
    FailureLog failures;                     // failures of the walk, with their step numbers
};

// Reads, decodes, parses and walks one file; the document is gone when this returns. Throws
// Failure (with the platform's description) when the file cannot be read, and
// ExtractionCancelled when progress asks to stop.
ExtractedFile extractTables(const std::string& path, const WalkLines& lines,
                            ProgressReport& progress);

// The same for a document's text already decoded, into any sink: every table, row and cell,
// in document order; returns the numbers of the listed tables. A step that fails (a cell whose
// text cannot be read or stored, a table that cannot be appended) goes to failures under its
// line and the walk goes on with the next cell or table.
std::vector<std::int32_t> extractTablesFromText(std::string html, const WalkLines& lines,
                                                TableSink& sink, FailureSink& failures,
                                                ProgressReport& progress);

}  // namespace veltrano
