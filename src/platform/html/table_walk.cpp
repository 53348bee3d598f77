#include "platform/html/table_walk.h"

#include <vector>

#include <gumbo.h>

#include "platform/html/gumbo_tree.h"
#include "platform/html/html_document.h"

namespace veltrano::html {
namespace {

// The tables, rows and cells of one outermost table and everything nested in it, in
// document order. A table's rows, like a row's cells, are the ones found between its start and
// its end, so each is a range of the list below it.
class TableCollector final {
public:
    explicit TableCollector(TableVisitor& visitor) : mVisitor(visitor) {}

    void enter(const GumboNode& node, const InheritedStyle& inherited) {
        switch (node.v.element.tag) {
            case GUMBO_TAG_TABLE:
                mOpenTables.push_back(mTables.size());
                mTables.push_back({++mTableNumber, mRows.size(), 0});
                break;
            case GUMBO_TAG_TR:
                // A tr outside any table (an svg element of that name) is no row.
                if (!mOpenTables.empty()) {
                    mOpenRows.push_back({&node, mRows.size()});
                    mRows.push_back({mCells.size(), 0});
                }
                break;
            case GUMBO_TAG_TD:
                if (!mOpenRows.empty()) {
                    mCells.push_back({Element(&node), inherited});
                }
                break;
            default:
                break;
        }
    }

    void leave(const GumboNode& node) {
        switch (node.v.element.tag) {
            case GUMBO_TAG_TABLE:
                mTables[mOpenTables.back()].rowEnd = mRows.size();
                mOpenTables.pop_back();
                if (mOpenTables.empty()) {
                    deliver();
                }
                break;
            case GUMBO_TAG_TR:
                if (!mOpenRows.empty() && mOpenRows.back().node == &node) {
                    mRows[mOpenRows.back().index].cellEnd = mCells.size();
                    mOpenRows.pop_back();
                }
                break;
            default:
                break;
        }
    }

private:
    struct Table {
        std::int32_t number;
        std::size_t rowBegin;
        std::size_t rowEnd;
    };
    struct Row {
        std::size_t cellBegin;
        std::size_t cellEnd;
    };
    struct OpenRow {
        const GumboNode* node;
        std::size_t index;
    };

    void deliver() {
        for (const Table& table : mTables) {
            mVisitor.beginTable(table.number);
            for (std::size_t r = table.rowBegin; r < table.rowEnd; ++r) {
                const Row& row = mRows[r];
                mVisitor.beginRow(static_cast<std::int32_t>(row.cellEnd - row.cellBegin));
                for (std::size_t c = row.cellBegin; c < row.cellEnd; ++c) {
                    mVisitor.cell(mCells[c]);
                }
            }
            mVisitor.endTable();
        }
        mTables.clear();
        mRows.clear();
        mCells.clear();
    }

    TableVisitor& mVisitor;
    std::int32_t mTableNumber = 0;
    std::vector<Table> mTables;
    std::vector<Row> mRows;
    std::vector<CellRef> mCells;
    std::vector<std::size_t> mOpenTables;
    std::vector<OpenRow> mOpenRows;
};

}  // namespace

void walkTables(const HtmlDocument& document, TableVisitor& visitor) {
    TableCollector collector(visitor);
    // The style each open element passes to its children, so that every cell is handed over
    // with its ancestors' style already resolved.
    std::vector<InheritedStyle> styles{InheritedStyle{}};
    std::vector<WalkFrame> stack;
    walkBelow(
        document.documentNode(), stack,
        [&](const GumboNode& node) {
            if (!isElement(node)) {
                return false;
            }
            collector.enter(node, styles.back());
            styles.push_back(resolveStyle(node, styles.back()).inherited);
            return true;
        },
        [&](const GumboNode& node) {
            styles.pop_back();
            collector.leave(node);
        });
}

}  // namespace veltrano::html
