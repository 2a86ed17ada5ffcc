// SPDX-License-Identifier: GPL-3.0-or-later
#include "gui/widgets/ListRows.h"

#include <QItemSelection>
#include <QListWidget>
#include <QScrollBar>
#include <QSignalBlocker>

#include <algorithm>

namespace ListRows {

std::vector<int> selectedRows(const QListWidget *list)
{
    std::vector<int> rows;
    const QItemSelection selection = list->selectionModel()->selection();
    for (const QItemSelectionRange &range : selection) {
        for (int row = range.top(); row <= range.bottom(); ++row)
            rows.push_back(row);
    }
    std::sort(rows.begin(), rows.end());
    rows.erase(std::unique(rows.begin(), rows.end()), rows.end());
    return rows;
}

RowState read(const QListWidget *list)
{
    RowState state;
    const int n = list->count();
    state.texts.reserve(n);
    for (int i = 0; i < n; ++i)
        state.texts.append(list->item(i)->text());
    state.selected.assign(n, false);
    for (int row : selectedRows(list))
        state.selected[row] = true;
    return state;
}

void select(QListWidget *list, const std::vector<bool> &selected)
{
    QItemSelection selection;
    QAbstractItemModel *items = list->model();
    const int n = int(std::min<size_t>(selected.size(), size_t(list->count())));
    for (int i = 0; i < n;) {
        if (!selected[i]) {
            ++i;
            continue;
        }
        int end = i;
        while (end + 1 < n && selected[end + 1])
            ++end;
        selection.append(QItemSelectionRange(items->index(i, 0), items->index(end, 0)));
        i = end + 1;
    }
    // Clearing first spares the selection model a comparison of the old and
    // new ranges, which costs the product of their counts. A shown list
    // would work out the place of every range it repaints; it repaints the
    // rows it shows once instead.
    QItemSelectionModel *model = list->selectionModel();
    const bool updates = list->updatesEnabled();
    list->setUpdatesEnabled(false);
    model->clearSelection();
    model->select(selection, QItemSelectionModel::Select);
    list->setUpdatesEnabled(updates);
}

void apply(QListWidget *list, const RowState &before, const RowState &after)
{
    // The list repaints the rows it shows once, at the end, instead of
    // working out where each changed row and selection range lies.
    const bool updates = list->updatesEnabled();
    list->setUpdatesEnabled(false);
    const int top = list->verticalScrollBar()->value();
    // The selection is made anew below; gone first, it has no ranges to
    // carry along while rows go.
    list->selectionModel()->clearSelection();
    const int kept = int(std::min(before.texts.size(), after.texts.size()));
    // The rows that stay are rewritten where they differ, quietly: told one
    // by one, the views would look each row up. Rows are added or removed at
    // the end, so that no row changes its place (the list would have to
    // search for a row that did).
    int first = kept;
    int last = -1;
    {
        const QSignalBlocker quiet(list->model());
        for (int i = 0; i < kept; ++i) {
            if (before.texts[i] != after.texts[i]) {
                list->item(i)->setText(after.texts[i]);
                first = std::min(first, i);
                last = i;
            }
        }
    }
    QAbstractItemModel *rows = list->model();
    if (last >= 0)
        emit rows->dataChanged(rows->index(first, 0), rows->index(last, 0), {Qt::DisplayRole, Qt::EditRole});
    if (after.texts.size() > kept)
        list->addItems(after.texts.mid(kept));
    // Some at a time from the end: the list closes the gap after each row it
    // takes out, which costs the square of the rows taken at once, and looks
    // through every place a selection ever held at each removal.
    constexpr int kChunk = 1024;
    for (int end = int(before.texts.size()); end > kept;) {
        const int count = std::min(end - kept, kChunk);
        end -= count;
        rows->removeRows(end, count);
    }
    // A current row taken out passes to its neighbour, and the list scrolls
    // after it; the first row shown stays where it was.
    if (before.texts.size() != after.texts.size()) {
        list->doItemsLayout();
        list->verticalScrollBar()->setValue(top);
    }
    select(list, after.selected);
    list->setUpdatesEnabled(updates);
}

}  // namespace ListRows
