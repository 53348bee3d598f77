#include "platform/html/table_collector.h"

#include <exception>

#include "platform/html/tree_walk.h"

namespace veltrano::html {

TableCollector::TableCollector(const NodeTree& tree, TableVisitor& visitor)
    : mTree(tree), mVisitor(visitor), mBudget(tree.text().input().size()) {}

TableCollector::Kind TableCollector::kindOf(const Node& node, bool& tracked) const {
    tracked = true;
    if (node.name == parser::nameId(KnownName::Table)) {
        return Kind::Table;
    }
    if (node.name == parser::nameId(KnownName::Tr)) {
        return Kind::Row;
    }
    if (node.name == parser::nameId(KnownName::Td)) {
        return Kind::Cell;
    }
    tracked = false;
    return Kind::Cell;
}

// The record of the nearest ancestor being tracked; kNone when there is none, then inTemplate
// tells whether the element is in a template's contents. stop is that ancestor's node.
std::uint32_t TableCollector::nearestTrackedAncestor(NodeId element, bool& inTemplate,
                                                     NodeId& stop) const {
    inTemplate = false;
    for (NodeId node = mTree[element].parent; node != parser::kNoNode; node = mTree[node].parent) {
        if (const std::uint32_t record = recordOf(node); record != kNone) {
            stop = node;
            return record;
        }
        if (mTree[node].kind == NodeKind::Fragment) {
            inTemplate = true;
            break;
        }
    }
    stop = parser::kNoNode;
    return kNone;
}

void TableCollector::elementStarted(NodeId element) {
    const Node& node = mTree[element];
    bool tracked = false;
    const Kind kind = kindOf(node, tracked);
    if (!tracked || !isElement(node)) {
        return;
    }
    bool inTemplate = false;
    NodeId stop = parser::kNoNode;
    const std::uint32_t parent = nearestTrackedAncestor(element, inTemplate, stop);
    if (inTemplate) {
        return;
    }
    // A row counts only inside a table, a cell only inside a row.
    bool insideTable = false;
    bool insideRow = false;
    bool insideCell = false;
    for (std::uint32_t r = parent; r != kNone; r = mRecords[r].parent) {
        insideTable = insideTable || mRecords[r].kind == Kind::Table;
        insideRow = insideRow || mRecords[r].kind == Kind::Row;
        insideCell = insideCell || mRecords[r].kind == Kind::Cell;
    }
    if ((kind == Kind::Row && !insideTable) || (kind == Kind::Cell && !insideRow)) {
        return;
    }
    const InheritedStyle fromStop = parent == kNone ? InheritedStyle() : passedDownBy(parent);
    const auto index = static_cast<std::uint32_t>(mRecords.size());
    Record& record = mRecords.emplace_back();
    record.kind = kind;
    record.node = element;
    record.parent = parent;
    record.insideCell = insideCell;
    record.inherited = inheritedStyleAbove(mTree, element, stop, fromStop, mCascade);
    setRecordOf(element, index);
    switch (kind) {
        case Kind::Table:
            record.tableNumber = ++mTableCount;
            if (parent == kNone) {
                mVisitor.beginTable(record.tableNumber);
            }
            break;
        case Kind::Row:
            for (std::uint32_t r = parent; r != kNone; r = mRecords[r].parent) {
                if (mRecords[r].kind == Kind::Table) {
                    mRecords[r].members.push_back(index);
                }
            }
            break;
        case Kind::Cell:
            for (std::uint32_t r = parent; r != kNone; r = mRecords[r].parent) {
                if (mRecords[r].kind == Kind::Row) {
                    mRecords[r].members.push_back(index);
                }
            }
            break;
    }
}

bool TableCollector::elementClosed(NodeId element) {
    const std::uint32_t index = recordOf(element);
    if (index == kNone) {
        return false;
    }
    setRecordOf(element, kNone);
    Record& record = mRecords[index];
    record.closed = true;
    switch (record.kind) {
        case Kind::Cell:
            closeCell(record);
            return false;
        case Kind::Row:
            if (!record.insideCell) {
                deliverRows(mRecords.front());
            }
            return !record.insideCell;
        case Kind::Table:
            if (record.parent == kNone) {
                finishGroup();
            }
            return false;
    }
    return false;
}

// Resolved when first asked: most elements tracked (cells) have nothing tracked inside.
const InheritedStyle& TableCollector::passedDownBy(std::uint32_t index) {
    Record& record = mRecords[index];
    if (!record.passesKnown) {
        record.passes = resolveStyle(mTree, record.node, record.inherited, mCascade).inherited;
        record.passesKnown = true;
    }
    return record.passes;
}

void TableCollector::closeCell(Record& cell) {
    const std::size_t begin = mTexts.size();
    try {
        mTexts.append(mRenderer.text(mTree, cell.node, cell.inherited, mCascade));
    } catch (const std::exception& e) {
        mTexts.resize(begin);
        mTexts.append(e.what());
        cell.failed = true;
    }
    mBudget.chargeRendered(mTexts.size() - begin);
    cell.textBegin = begin;
    cell.textEnd = mTexts.size();
}

// Hands over the table's rows that are closed and follow only rows already handed over.
void TableCollector::deliverRows(Record& table) {
    while (table.delivered < table.members.size()) {
        const Record& row = mRecords[table.members[table.delivered]];
        if (!row.closed) {
            return;
        }
        mVisitor.beginRow(static_cast<std::int32_t>(row.members.size()));
        for (const std::uint32_t member : row.members) {
            const Record& cell = mRecords[member];
            const std::string_view text =
                std::string_view(mTexts).substr(cell.textBegin, cell.textEnd - cell.textBegin);
            mBudget.chargeHandedOver(text.size());
            if (cell.failed) {
                mVisitor.unreadableCell(text);
            } else {
                mVisitor.cell(text);
            }
        }
        ++table.delivered;
    }
    // A table without nested tables needs nothing it has handed over: start afresh, so that
    // memory stays that of a few rows however long the table is.
    if (mRecords.size() > 1 && table.delivered == table.members.size() &&
        &table == &mRecords.front() && mTableCount == table.tableNumber) {
        mRecords.resize(1);
        mRecords.front().members.clear();
        mRecords.front().delivered = 0;
        mTexts.clear();
    }
}

void TableCollector::finishGroup() {
    deliverRows(mRecords.front());
    mVisitor.endTable();
    for (std::size_t i = 1; i < mRecords.size(); ++i) {
        Record& table = mRecords[i];
        if (table.kind != Kind::Table) {
            continue;
        }
        mVisitor.beginTable(table.tableNumber);
        deliverRows(table);
        mVisitor.endTable();
    }
    mRecords.clear();
    mTexts.clear();
}

void TableCollector::setRecordOf(NodeId node, std::uint32_t record) {
    if (node >= mRecordOf.size()) {
        mRecordOf.resize(std::max<std::size_t>(node + 1, mRecordOf.size() * 2), kNone);
    }
    mRecordOf[node] = record;
}

}  // namespace veltrano::html
