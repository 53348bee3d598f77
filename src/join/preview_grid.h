#pragma once

#include <QAbstractTableModel>
#include <QTreeView>

#include "join/preview_table.h"

namespace veltrano {

// The preview grid's model: a view of the table it was filled with, never a copy of its
// cells. Columns are headed "Column 1" to "Column n".
class PreviewGridModel final : public QAbstractTableModel {
public:
    using QAbstractTableModel::QAbstractTableModel;

    // Replaces everything the grid shows.
    void setTable(PreviewTable table);
    const PreviewTable& table() const { return mTable; }

    int rowCount(const QModelIndex& parent = {}) const override;
    int columnCount(const QModelIndex& parent = {}) const override;
    QVariant data(const QModelIndex& index, int role = Qt::DisplayRole) const override;
    QVariant headerData(int section, Qt::Orientation orientation,
                        int role = Qt::DisplayRole) const override;

private:
    PreviewTable mTable;
};

// A list in report layout over a PreviewGridModel: rows in table order, no sorting, no
// editing. The join reads what it holds through table().
class PreviewGrid final : public QTreeView {
public:
    explicit PreviewGrid(QWidget* parent);

    void setTable(PreviewTable table) { mModel.setTable(std::move(table)); }
    const PreviewTable& table() const { return mModel.table(); }

private:
    PreviewGridModel mModel;
};

}  // namespace veltrano
