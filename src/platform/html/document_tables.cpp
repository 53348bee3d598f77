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

// Where style and link start tags may be in the text, as far as tables go. One inside a
// comment or a script is counted too: it only costs the slower way of reading.
struct StyleSheetTags {
    bool any = false;
    bool allBeforeTables = true;  // every one comes before the first table start tag
};

// Tags are found through the letters "y" of "style" and "k" of "link", which are rare in
// markup, so that a document of tables is skimmed at memchr's pace rather than stopped at each
// of its tags.
StyleSheetTags findStyleSheetTags(std::string_view text) {
    const auto isAt = [&](std::size_t at, std::string_view name) {
        if (at > text.size() || text.size() - at < name.size()) {
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
    StyleSheetTags tags;
    std::size_t lastSheet = 0;
    const auto find = [&](char letter, std::size_t offset, std::string_view tag) {
        for (const char* at =
                 static_cast<const char*>(std::memchr(text.data(), letter, text.size()));
             at != nullptr;) {
            const auto position = static_cast<std::size_t>(at - text.data());
            if (position >= offset && isAt(position - offset, tag)) {
                tags.any = true;
                lastSheet = std::max(lastSheet, position - offset);
            }
            at = static_cast<const char*>(std::memchr(at + 1, letter, text.size() - position - 1));
        }
    };
    find('y', 3, "<style");
    find('Y', 3, "<style");
    find('k', 4, "<link");
    find('K', 4, "<link");
    if (!tags.any) {
        return tags;
    }
    for (const char* at = static_cast<const char*>(std::memchr(text.data(), '<', text.size()));
         at != nullptr;) {
        const auto position = static_cast<std::size_t>(at - text.data());
        if (isAt(position, "<table")) {
            tags.allBeforeTables = lastSheet < position;
            break;
        }
        at = static_cast<const char*>(std::memchr(at + 1, '<', text.size() - position - 1));
    }
    return tags;
}

// The style sheets of a document being read, gathered from its tree so far.
class DocumentStyles final {
public:
    explicit DocumentStyles(const StyleSheetPlace& place)
        : mPlace(place), mFiles(place.document, place.encoding) {}

    // The cascade of the sheets, nullptr when they have no rule that changes text.
    css::Cascade* gather(const parser::NodeTree& tree, bool quirksMode) {
        const auto linked = [&](std::string_view href) -> std::optional<css::StyleSheetSource> {
            if (mPlace.document.empty()) {
                return std::nullopt;
            }
            return mFiles.linked(href);
        };
        const auto imported = [&](std::string_view url, std::string_view from) {
            return mFiles.imported(url, from);
        };
        css::addDocumentStyleSheets(tree, mPlace.document.string(), mRules, linked, imported);
        mRules.finish();
        if (mRules.empty()) {
            return nullptr;
        }
        mCascade.emplace(mRules, tree, quirksMode);
        return &*mCascade;
    }

    bool looksForward() const { return mRules.looksForward(); }

private:
    const StyleSheetPlace& mPlace;
    css::StyleSheetFiles mFiles;
    css::RuleSet mRules;
    std::optional<css::Cascade> mCascade;
};

// Feeds the table collector from the tree builder and lets the tree go of what the collector
// no longer needs.
//
// Style sheets change how this goes. When every style and link tag comes before the first
// table, the sheets are gathered as that table starts, and reading streams on with them, unless
// a rule looks at siblings not read yet (:last-child). Otherwise (a sheet may come after the
// tables it styles, or a rule looks ahead) the document is read whole first and its cells are
// rendered, from the events kept, once the tree is complete and every sheet known.
class CollectingObserver final : public parser::TreeObserver {
public:
    CollectingObserver(const parser::NodeTree& tree, TableCollector& collector,
                       const StyleSheetPlace& place, StyleSheetTags tags)
        : mTree(tree),
          mCollector(collector),
          mStyles(place),
          mTags(tags),
          mDeferred(tags.any && !tags.allBeforeTables) {}
    void setTreeBuilder(parser::TreeBuilder* builder) { mBuilder = builder; }

    void elementInserted(parser::NodeId element) override {
        if (mTags.any && !mGathered && !mDeferred &&
            mTree[element].name == parser::nameId(parser::KnownName::Table)) {
            mGathered = true;
            mCascade = mStyles.gather(mTree, quirksMode());
            mDeferred = mCascade != nullptr && mStyles.looksForward();
            mCollector.setCascade(mCascade);
        }
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
            if (mCascade != nullptr) {
                mCascade->childrenReleased(element);
            }
        }
    }

    // Renders the cells of a document read whole, with all its sheets; asks progress now and
    // then whether to go on (a Stopped is thrown if not).
    void finish(ParseProgress& progress) {
        if (!mDeferred) {
            return;
        }
        if (!mGathered) {
            mCascade = mStyles.gather(mTree, quirksMode());
            mCollector.setCascade(mCascade);
        }
        constexpr std::size_t kEventsBetweenReports = 1u << 14;
        for (std::size_t i = 0; i < mEvents.size(); ++i) {
            const Event& event = mEvents[i];
            if (i % kEventsBetweenReports == 0 && !progress.progress(1.0)) {
                throw Stopped();
            }
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

    bool quirksMode() const { return mBuilder->documentMode() == parser::DocumentMode::Quirks; }

    const parser::NodeTree& mTree;
    TableCollector& mCollector;
    parser::TreeBuilder* mBuilder = nullptr;
    DocumentStyles mStyles;
    StyleSheetTags mTags;
    bool mDeferred;
    bool mGathered = false;
    css::Cascade* mCascade = nullptr;
    std::vector<Event> mEvents;
};

void parseTables(parser::TextStore& text, const StyleSheetPlace& place, TableVisitor& visitor,
                 ParseProgress& progress) {
    parser::NodeTree tree(text);
    TableCollector collector(tree, visitor);
    CollectingObserver observer(tree, collector, place, findStyleSheetTags(text.input()));
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
    observer.finish(progress);
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
