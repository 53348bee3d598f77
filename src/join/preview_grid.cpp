#include "join/preview_grid.h"

#include <QHeaderView>

#include "platform/qt/qt_text.h"

namespace veltrano {

void PreviewGridModel::setTable(PreviewTable table) {
    beginResetModel();
    mTable = std::move(table);
    endResetModel();
}

int PreviewGridModel::rowCount(const QModelIndex& parent) const {
    return parent.isValid() ? 0 : mTable.rowCount();
}

int PreviewGridModel::columnCount(const QModelIndex& parent) const {
    return parent.isValid() ? 0 : mTable.columnCount();
}

QVariant PreviewGridModel::data(const QModelIndex& index, int role) const {
    if (role != Qt::DisplayRole || !checkIndex(index, CheckIndexOption::IndexIsValid)) {
        return {};
    }
    return platform::toQString(mTable.cell(index.row(), index.column()));
}

QVariant PreviewGridModel::headerData(int section, Qt::Orientation orientation, int role) const {
    if (role != Qt::DisplayRole || orientation != Qt::Horizontal || section < 0 ||
        section >= mTable.columnCount()) {
        return {};
    }
    return QStringLiteral("Column %1").arg(section + 1);
}

PreviewGrid::PreviewGrid(QWidget* parent) : QTreeView(parent), mModel(this) {
    setModel(&mModel);
    setRootIsDecorated(false);
    setItemsExpandable(false);
    setUniformRowHeights(true);  // lets a million rows open and scroll at once
    setEditTriggers(QAbstractItemView::NoEditTriggers);
    setSortingEnabled(false);
    setAllColumnsShowFocus(true);
    setAlternatingRowColors(true);
    header()->setStretchLastSection(false);
    header()->setSectionsMovable(false);
}

}  // namespace veltrano
