#include "platform/html/document_tables.h"

#include <algorithm>
#include <cstring>
#include <filesystem>
#include <memory>
#include <optional>
#include <utility>
#include <vector>

#include "platform/file_system.h"
#include "platform/html/css/cascade.h"
#include "platform/html/css/document_style_sheets.h"
#include "platform/html/css/rule_set.h"
#include "platform/html/css/style_sheet_files.h"
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

// Where a document's linked style sheets are looked for.
struct StyleSheetPlace {
    std::filesystem::path document;  // empty: nowhere (the text came without a file)
    Encoding encoding = Encoding::Utf8;
};

// Whether a style or link start tag may be in the text; one inside a comment or a script only
// costs the slower way of reading.
bool mayHaveStyleSheets(std::string_view text) {
    const auto startsWith = [&](std::size_t at, std::string_view name) {
        if (text.size() - at < name.size()) {
            return false;
        }
        for (std::size_t i = 0; i < name.size(); ++i) {
            const char c = text[at + i];
            if ((c >= 'A' && c <= 'Z' ? static_cast<char>(c + 32) : c) != name[i]) {
                return false;
            }
        }
        return true;
    };
    for (const char* at = static_cast<const char*>(std::memchr(text.data(), '<', text.size()));
         at != nullptr;) {
        const auto next = static_cast<std::size_t>(at - text.data()) + 1;
        if (startsWith(next, "style") || startsWith(next, "link")) {
            return true;
        }
        at = static_cast<const char*>(std::memchr(text.data() + next, '<', text.size() - next));
    }
    return false;
}

// Feeds the table collector from the tree builder and lets the tree go of what the collector
// no longer needs. A document with style sheets is read whole first: a sheet may come after
// the tables it styles, and a selector may look at siblings not read yet (:last-child), so its
// cells are rendered once the tree is complete and every sheet known, from the events kept.
class CollectingObserver final : public parser::TreeObserver {
public:
    CollectingObserver(TableCollector& collector, bool deferred)
        : mCollector(collector), mDeferred(deferred) {}
    void setTreeBuilder(parser::TreeBuilder* builder) { mBuilder = builder; }
    void elementInserted(parser::NodeId element) override {
        if (mDeferred) {
            mEvents.push_back({element, true});
        } else {
            mCollector.elementStarted(element);
        }
    }
    void elementPopped(parser::NodeId element) override {
        if (mDeferred) {
            mEvents.push_back({element, false});
        } else if (mCollector.elementClosed(element)) {
            mBuilder->releaseChildren(element);
        }
    }

    void replay() {
        for (const Event& event : mEvents) {
            if (event.started) {
                mCollector.elementStarted(event.element);
            } else {
                mCollector.elementClosed(event.element);
            }
        }
        mEvents.clear();
    }

private:
    struct Event {
        parser::NodeId element;
        bool started;
    };

    TableCollector& mCollector;
    parser::TreeBuilder* mBuilder = nullptr;
    bool mDeferred;
    std::vector<Event> mEvents;
};

void parseTables(parser::TextStore& text, const StyleSheetPlace& place, TableVisitor& visitor,
                 ParseProgress& progress) {
    parser::NodeTree tree(text);
    TableCollector collector(tree, visitor);
    const bool deferred = mayHaveStyleSheets(text.input());
    CollectingObserver observer(collector, deferred);
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
    if (!deferred) {
        return;
    }
    css::RuleSet rules;
    css::StyleSheetFiles files(place.document, place.encoding);
    const auto linked = [&](std::string_view href) -> std::optional<css::StyleSheetSource> {
        if (place.document.empty()) {
            return std::nullopt;
        }
        return files.linked(href);
    };
    const auto imported = [&](std::string_view url, std::string_view from) {
        return files.imported(url, from);
    };
    css::addDocumentStyleSheets(tree, place.document.string(), rules, linked, imported);
    rules.finish();
    std::optional<css::Cascade> cascade;
    if (!rules.empty()) {
        cascade.emplace(rules, tree, builder.documentMode() == parser::DocumentMode::Quirks);
        collector.setCascade(&*cascade);
    }
    observer.replay();
}

}  // namespace

bool readTables(const std::string& path, std::uint64_t maxBytes, TableVisitor& visitor,
                ParseProgress& progress) {
    try {
        parser::TextStore text;
        StyleSheetPlace place{std::filesystem::absolute(path), Encoding::Utf8};
        {
            const std::unique_ptr<platform::FileReader> file =
                platform::fileSystem().openForReading(path, maxBytes);
            ReadingReport reading(progress);
            place.encoding = readDocumentText(*file, text.input(), reading);
        }
        parseTables(text, place, visitor, progress);
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
        parseTables(text, StyleSheetPlace{}, visitor, progress);
        return true;
    } catch (const Stopped&) {
        return false;
    }
}

}  // namespace veltrano::html
