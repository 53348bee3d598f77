#include "join/preview_grid.h"

#include <QClipboard>
#include <QGuiApplication>
#include <QHeaderView>
#include <QHelpEvent>
#include <QKeyEvent>
#include <QStyle>
#include <QToolTip>

#include <algorithm>
#include <vector>

#include "join/grid_text.h"
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
    setSelectionMode(QAbstractItemView::ExtendedSelection);
    setSelectionBehavior(QAbstractItemView::SelectRows);
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

QString PreviewGrid::cellToolTip(const QModelIndex& index) const {
    if (!index.isValid()) {
        return {};
    }
    const QString text = index.data().toString();
    // The grid shows one line of a cell, within the column less the item view's text margins.
    const int margin = style()->pixelMetric(QStyle::PM_FocusFrameHMargin, nullptr, this) + 1;
    const int room = visualRect(index).width() - 2 * margin;
    const bool cutOff = text.contains(QLatin1Char('\n')) || text.contains(QLatin1Char('\r')) ||
                        fontMetrics().horizontalAdvance(text) > room;
    if (!cutOff) {
        return {};
    }
    if (text.size() <= kToolTipLength) {
        return text;
    }
    qsizetype length = kToolTipLength;
    if (text.at(length - 1).isHighSurrogate()) {
        --length;  // never half a character
    }
    return text.left(length) + QChar(0x2026);
}

void PreviewGrid::copySelectedRows() const {
    std::vector<int> rows;
    for (const QItemSelectionRange& range : selectionModel()->selection()) {
        for (int row = range.top(); row <= range.bottom(); ++row) {
            rows.push_back(row);
        }
    }
    if (rows.empty()) {
        return;
    }
    std::sort(rows.begin(), rows.end());
    rows.erase(std::unique(rows.begin(), rows.end()), rows.end());
    QGuiApplication::clipboard()->setText(platform::toQString(tabSeparatedRows(table(), rows)));
}

bool PreviewGrid::viewportEvent(QEvent* event) {
    if (event->type() != QEvent::ToolTip) {
        return QTreeView::viewportEvent(event);
    }
    const auto* help = static_cast<QHelpEvent*>(event);
    const QModelIndex index = indexAt(help->pos());
    const QString tip = cellToolTip(index);
    if (tip.isEmpty()) {
        QToolTip::hideText();
    } else {
        // As rich text with the text escaped, so that a cell's own markup characters show as
        // they are; its blanks and line breaks are kept and long lines still wrap.
        QToolTip::showText(help->globalPos(),
                           QStringLiteral("<p style='white-space:pre-wrap'>") +
                               tip.toHtmlEscaped() + QStringLiteral("</p>"),
                           viewport(), visualRect(index));
    }
    return true;
}

void PreviewGrid::keyPressEvent(QKeyEvent* event) {
    if (event->matches(QKeySequence::Copy)) {
        copySelectedRows();
        event->accept();
        return;
    }
    QTreeView::keyPressEvent(event);
}

}  // namespace veltrano
