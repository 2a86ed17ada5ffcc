// SPDX-License-Identifier: GPL-3.0-or-later
#include "gui/widgets/DragItems.h"

#include "gui/widgets/ListRows.h"

#include <QListWidget>

#include <algorithm>
#include <utility>

void TDragItems::TakeSelection(const QListWidget *list)
{
    const QAbstractItemView::SelectionMode mode = list->selectionMode();
    if (mode != QAbstractItemView::ExtendedSelection && mode != QAbstractItemView::MultiSelection)
        return;
    const std::vector<int> rows = ListRows::selectedRows(list);
    Entries.clear();
    Entries.reserve(rows.size());
    for (int row : rows)
        Entries.push_back({row, list->item(row)->text()});
    EntryCount = int(Entries.size());
}

void TDragItems::TakeSelection(const RowState &rows)
{
    Entries.clear();
    for (int i = 0; i < rows.texts.size(); ++i) {
        if (rows.selected[i])
            Entries.push_back({i, rows.texts[i]});
    }
    EntryCount = int(Entries.size());
}

void TDragItems::DropAt(QListWidget *list, int X, int Y)
{
    const QPoint point(X, Y);
    const QModelIndex index = list->viewport()->rect().contains(point) ? list->indexAt(point) : QModelIndex();
    const RowState before = ListRows::read(list);
    RowState after = before;
    if (!index.isValid()) {
        if (list->count() == 0)
            return;
        const QRect lastRow = list->visualItemRect(list->item(list->count() - 1));
        if (Y <= lastRow.bottom())
            return;
        RowMoves::dropBelowLast(after, *this);
    } else {
        RowMoves::dropOnRow(after, *this, index.row());
    }
    ListRows::apply(list, before, after);
}

namespace RowMoves {

int firstUnselected(const RowState &rows)
{
    const auto it = std::find(rows.selected.begin(), rows.selected.end(), false);
    return it == rows.selected.end() ? -1 : int(it - rows.selected.begin());
}

int lastUnselected(const RowState &rows)
{
    for (int i = int(rows.selected.size()) - 1; i >= 0; --i) {
        if (!rows.selected[i])
            return i;
    }
    return -1;
}

void moveUp(RowState &rows, const TDragItems &snapshot)
{
    const int gap = firstUnselected(rows);
    if (gap < 0)
        return;
    for (int e = 0; e < snapshot.EntryCount; ++e) {
        const int i = snapshot.Entries[e].Index;
        if (i <= gap || i >= rows.texts.size())
            continue;
        rows.texts.swapItemsAt(i - 1, i);
        rows.selected[i] = false;
        rows.selected[i - 1] = true;
    }
}

void moveDown(RowState &rows, const TDragItems &snapshot)
{
    const int gap = lastUnselected(rows);
    if (gap < 0)
        return;
    for (int e = snapshot.EntryCount - 1; e >= 0; --e) {
        const int i = snapshot.Entries[e].Index;
        if (i >= gap || i < 0)
            continue;
        rows.texts.swapItemsAt(i, i + 1);
        rows.selected[i] = false;
        rows.selected[i + 1] = true;
    }
}

int dropOnRow(RowState &rows, TDragItems &snapshot, int target)
{
    const int total = int(rows.texts.size());
    // k: how many of the dragged rows stand above the target.
    const int k = int(std::count_if(snapshot.Entries.begin(), snapshot.Entries.begin() + snapshot.EntryCount,
                                     [target](const Tdragitem &entry) { return entry.Index < target; }));
    // The rows that stay, in order; then the block goes in at target − k,
    // the number of staying rows above the target. Built in one pass, so a
    // drop costs the same for any size of list or selection.
    std::vector<bool> dragged(total, false);
    for (int e = 0; e < snapshot.EntryCount; ++e) {
        if (snapshot.Entries[e].Index >= 0 && snapshot.Entries[e].Index < total)
            dragged[snapshot.Entries[e].Index] = true;
    }
    QStringList &work = snapshot.WorkList;
    work.clear();
    work.reserve(total);
    for (int i = 0; i < total; ++i) {
        if (!dragged[i])
            work.append(std::move(rows.texts[i]));
    }
    const int start = std::clamp(target - k, 0, int(work.size()));
    QStringList result;
    result.reserve(work.size() + snapshot.EntryCount);
    result.append(work.mid(0, start));
    for (int e = 0; e < snapshot.EntryCount; ++e)
        result.append(snapshot.Entries[e].Text);
    result.append(work.mid(start));
    rows.texts = std::move(result);
    rows.selected.assign(rows.texts.size(), false);
    for (int i = start; i < start + snapshot.EntryCount && i < int(rows.selected.size()); ++i)
        rows.selected[i] = true;
    return start;
}

void dropBelowLast(RowState &rows, const TDragItems &snapshot)
{
    deleteSelected(rows);
    for (int e = 0; e < snapshot.EntryCount; ++e) {
        rows.texts.append(snapshot.Entries[e].Text);
        rows.selected.push_back(true);
    }
}

void deleteSelected(RowState &rows)
{
    QStringList kept;
    kept.reserve(rows.texts.size());
    for (int i = 0; i < rows.texts.size(); ++i) {
        if (!rows.selected[i])
            kept.append(std::move(rows.texts[i]));
    }
    rows.texts = std::move(kept);
    rows.selected.assign(rows.texts.size(), false);
}

}  // namespace RowMoves
