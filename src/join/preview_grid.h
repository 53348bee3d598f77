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
// editing. The join reads what it holds through table(). A cell whose text is cut off shows
// its whole text as a tooltip, and Ctrl+C copies the selected rows as tab-separated text.
class PreviewGrid final : public QTreeView {
public:
    explicit PreviewGrid(QWidget* parent);

    void setTable(PreviewTable table) { mModel.setTable(std::move(table)); }
    const PreviewTable& table() const { return mModel.table(); }

    // The tooltip of a cell as plain text: its whole text (up to kToolTipLength characters)
    // when the grid shows only part of it, nothing when it shows all of it.
    QString cellToolTip(const QModelIndex& index) const;
    static constexpr qsizetype kToolTipLength = 4000;

    // Puts the selected rows, in grid order, on the clipboard; nothing when none is selected.
    void copySelectedRows() const;

protected:
    bool viewportEvent(QEvent* event) override;
    void keyPressEvent(QKeyEvent* event) override;

private:
    PreviewGridModel mModel;
};

}  // namespace veltrano
