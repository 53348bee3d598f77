#pragma once

#include <cstdint>
#include <deque>
#include <string>
#include <string_view>
#include <vector>

#include "platform/html/element_style.h"
#include "platform/html/parser/node_tree.h"
#include "platform/html/rendered_text.h"
#include "platform/html/table_walk.h"
#include "platform/html/text_budget.h"

namespace veltrano::html {

// Gathers a document's tables, rows and cells as the tree grows and hands them to a visitor in
// the order of the tables' numbers, each cell as its rendered text.
//
// It is told when an element has entered the tree (its ancestors are then final) and when it
// is closed (its subtree is then final). Tables are numbered as they start; a table's rows are
// the tr below it, a row's cells the td below it, in the order they start, whatever their
// namespace; th never counts. A cell's text is rendered as it closes. The rows of an outermost
// table go to the visitor as soon as they and every row before them are closed; tables nested
// in it wait until it ends.
//
// What the cells make is held to a budget that follows the size of the document's text (see
// TextBudget): past it, Failure is thrown from the call that went over.
class TableCollector final {
public:
    TableCollector(const parser::NodeTree& tree, TableVisitor& visitor);

    // The document's style sheets, for every element started from now on; nullptr for none.
    void setCascade(css::Cascade* cascade) { mCascade = cascade; }

    void elementStarted(parser::NodeId element);
    // Returns whether the element's subtree is no longer needed (a row that no cell's text
    // contains, all handed over): then the tree may let it go.
    bool elementClosed(parser::NodeId element);

private:
    enum class Kind : std::uint8_t { Table, Row, Cell };

    static constexpr std::uint32_t kNone = 0xFFFFFFFFu;

    struct Record {
        Kind kind;
        parser::NodeId node;
        std::uint32_t parent;      // the nearest tracked ancestor's record, or kNone
        InheritedStyle inherited;  // what the element's parent passes down to it
        InheritedStyle passes;     // what the element passes down to its children, once known
        bool passesKnown = false;
        std::int32_t tableNumber = 0;
        bool closed = false;
        bool insideCell = false;  // a cell's text will contain this element's text
        // Table: its rows' records; row: its cells' records.
        std::vector<std::uint32_t> members;
        std::size_t delivered = 0;  // table: rows handed to the visitor so far
        std::size_t textBegin = 0;  // cell: its text in mTexts
        std::size_t textEnd = 0;
        bool failed = false;  // cell: its text could not be made; mTexts holds why
    };

    Kind kindOf(const parser::Node& node, bool& tracked) const;
    std::uint32_t nearestTrackedAncestor(parser::NodeId element, bool& inTemplate,
                                         parser::NodeId& stop) const;
    void closeCell(Record& cell);
    const InheritedStyle& passedDownBy(std::uint32_t record);
    void deliverRows(Record& table);
    void finishGroup();
    void setRecordOf(parser::NodeId node, std::uint32_t record);
    std::uint32_t recordOf(parser::NodeId node) const {
        return node < mRecordOf.size() ? mRecordOf[node] : kNone;
    }

    const parser::NodeTree& mTree;
    TableVisitor& mVisitor;
    css::Cascade* mCascade = nullptr;
    RenderedText mRenderer;
    TextBudget mBudget;
    std::int32_t mTableCount = 0;
    // The records of the outermost table being read and everything in it; cleared when it ends.
    std::vector<Record> mRecords;
    std::string mTexts;                    // the texts of the group's cells
    std::vector<std::uint32_t> mRecordOf;  // by node number: its open record, kNone if none
};

}  // namespace veltrano::html
