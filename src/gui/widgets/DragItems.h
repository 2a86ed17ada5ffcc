// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "gui/widgets/ListRows.h"

#include <QStringList>

#include <vector>

class QListWidget;

// One selected row as it was when the snapshot was taken.
struct Tdragitem
{
    int Index = 0;
    QString Text;
};

// The snapshot of the selected rows that the moves and the drag reordering
// share. It holds every selected row, in ascending row order, whatever the
// size of the list or of the selection.
class TDragItems
{
public:
    TDragItems() = default;
    virtual ~TDragItems() = default;

    // Fills the snapshot from the list's selection. A list that does not
    // allow multiple selection leaves the snapshot unchanged.
    void TakeSelection(const QListWidget *list);
    void TakeSelection(const RowState &rows);

    // Moves the snapshot's rows to the drop point (X, Y) in the list's
    // viewport.
    void DropAt(QListWidget *list, int X, int Y);

    QStringList WorkList;
    std::vector<Tdragitem> Entries;
    int EntryCount = 0;
};

// The algorithms behind the commands, on plain rows. `snapshot` is the
// selection taken just before, in ascending order.
namespace RowMoves {

// The first unselected row, or -1 when every row is selected.
int firstUnselected(const RowState &rows);
int lastUnselected(const RowState &rows);

// Every selected row not in the block at the top moves up by one row; the
// selection follows the moved texts.
void moveUp(RowState &rows, const TDragItems &snapshot);
void moveDown(RowState &rows, const TDragItems &snapshot);

// The block of snapshot rows lands in front of the first unselected row at
// or after `target`; returns the row where the block starts. Only the moved
// rows are selected afterwards.
int dropOnRow(RowState &rows, TDragItems &snapshot, int target);

// The block goes to the end of the list.
void dropBelowLast(RowState &rows, const TDragItems &snapshot);

// Removes every selected row; nothing is selected afterwards.
void deleteSelected(RowState &rows);

}  // namespace RowMoves
