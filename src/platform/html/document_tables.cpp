#include "platform/html/document_tables.h"

#include <algorithm>
#include <memory>
#include <utility>

#include "platform/file_system.h"
#include "platform/html/document_text.h"
#include "platform/html/parser/interrupt.h"
#include "platform/html/parser/node_tree.h"
#include "platform/html/parser/text_store.h"
#include "platform/html/parser/tokenizer.h"
#include "platform/html/parser/tree_builder.h"
#include "platform/html/parser/tree_observer.h"
#include "platform/html/table_collector.h"

namespace veltrano::html {
namespace {

// Reading and decoding take about a tenth of the time, parsing the rest.
constexpr double kReadingShare = 0.1;
// The tokenizer is given this much text at a time, a few milliseconds' work, between reports.
constexpr std::size_t kSliceBytes = std::size_t{256} << 10;

// Thrown through the parser when progress asks to stop; everything on the way is freed.
struct Stopped {};

class ReadingReport final : public ReadingProgress {
public:
    explicit ReadingReport(ParseProgress& progress) : mProgress(progress) {}
    void bytesRead(std::uint64_t done, std::uint64_t total) override {
        const double fraction = total == 0 ? 1.0 : static_cast<double>(done) / total;
        if (!mProgress.progress(kReadingShare * std::min(fraction, 1.0))) {
            throw Stopped();
        }
    }

private:
    ParseProgress& mProgress;
};

// Reports how much of the text the tokenizer has read; asked also within long tokens.
class ParsingReport final : public parser::Interrupt {
public:
    ParsingReport(ParseProgress& progress, std::size_t textSize)
        : mProgress(progress), mTextSize(std::max<std::size_t>(textSize, 1)) {}
    void setTokenizer(const parser::Tokenizer* tokenizer) { mTokenizer = tokenizer; }
    void poll() override {
        const double parsed = static_cast<double>(mTokenizer->position()) / mTextSize;
        if (!mProgress.progress(kReadingShare + (1 - kReadingShare) * std::min(parsed, 1.0))) {
            throw Stopped();
        }
    }

private:
    ParseProgress& mProgress;
    std::size_t mTextSize;
    const parser::Tokenizer* mTokenizer = nullptr;
};

// Feeds the table collector from the tree builder and lets the tree go of what the collector
// no longer needs.
class CollectingObserver final : public parser::TreeObserver {
public:
    explicit CollectingObserver(TableCollector& collector) : mCollector(collector) {}
    void setTreeBuilder(parser::TreeBuilder* builder) { mBuilder = builder; }
    void elementInserted(parser::NodeId element) override { mCollector.elementStarted(element); }
    void elementPopped(parser::NodeId element) override {
        if (mCollector.elementClosed(element)) {
            mBuilder->releaseChildren(element);
        }
    }

private:
    TableCollector& mCollector;
    parser::TreeBuilder* mBuilder = nullptr;
};

void parseTables(parser::TextStore& text, TableVisitor& visitor, ParseProgress& progress) {
    parser::NodeTree tree(text);
    TableCollector collector(tree, visitor);
    CollectingObserver observer(collector);
    ParsingReport report(progress, text.input().size());
    parser::TreeBuilder builder(text, tree, &observer);
    parser::Tokenizer tokenizer(text, tree.names(), builder);
    builder.setTokenizer(&tokenizer);
    observer.setTreeBuilder(&builder);
    report.setTokenizer(&tokenizer);
    tokenizer.setInterrupt(&report);
    while (tokenizer.run(tokenizer.position() + kSliceBytes)) {
        report.poll();
    }
}

}  // namespace

bool readTables(const std::string& path, std::uint64_t maxBytes, TableVisitor& visitor,
                ParseProgress& progress) {
    try {
        parser::TextStore text;
        {
            const std::unique_ptr<platform::FileReader> file =
                platform::fileSystem().openForReading(path, maxBytes);
            ReadingReport reading(progress);
            readDocumentText(*file, text.input(), reading);
        }
        parseTables(text, visitor, progress);
        return true;
    } catch (const Stopped&) {
        return false;
    }
}

bool readTablesFromText(std::string decoded, TableVisitor& visitor, ParseProgress& progress) {
    try {
        parser::TextStore text;
        text.input() = std::move(decoded);
        bool afterCr = false;
        normalizeNewlines(text.input(), 0, afterCr);
        parseTables(text, visitor, progress);
        return true;
    } catch (const Stopped&) {
        return false;
    }
}

}  // namespace veltrano::html
