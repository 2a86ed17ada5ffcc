// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QStringList>

#include <vector>

class QListWidget;

// The rows of a list and which of them are selected: what the moves and the
// drop work on, without a widget.
struct RowState
{
    QStringList texts;
    std::vector<bool> selected;
};

// Reading and writing a list widget's rows and selection in bulk: changed
// texts only, and the selection as ranges, so that large lists stay fast.
namespace ListRows {

RowState read(const QListWidget *list);

// Selected rows in ascending order.
std::vector<int> selectedRows(const QListWidget *list);

// Writes `after` into a list that holds `before`: only the texts that differ
// are set, and rows are added or removed at the end. The selection becomes
// that of `after` (the selection of `before` is not read); the first visible
// row and the current-row marker stay where they are while there are rows
// for them.
void apply(QListWidget *list, const RowState &before, const RowState &after);

void select(QListWidget *list, const std::vector<bool> &selected);

}  // namespace ListRows
