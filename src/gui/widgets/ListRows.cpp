// SPDX-License-Identifier: GPL-3.0-or-later
#include "gui/widgets/ListRows.h"

#include <QItemSelection>
#include <QListWidget>
#include <QScrollBar>

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
    // new ranges, which costs the product of their counts.
    QItemSelectionModel *model = list->selectionModel();
    model->clearSelection();
    model->select(selection, QItemSelectionModel::Select);
}

void apply(QListWidget *list, const RowState &before, const RowState &after)
{
    if (before.texts.size() == after.texts.size()) {
        for (int i = 0; i < after.texts.size(); ++i) {
            if (before.texts[i] != after.texts[i])
                list->item(i)->setText(after.texts[i]);
        }
    } else {
        const int top = list->verticalScrollBar()->value();
        list->setUpdatesEnabled(false);
        list->clear();
        list->addItems(after.texts);
        list->doItemsLayout();
        list->verticalScrollBar()->setValue(top);
        list->setUpdatesEnabled(true);
    }
    select(list, after.selected);
}

}  // namespace ListRows
