// SPDX-License-Identifier: GPL-3.0-or-later
// Dragging the selected rows of the item list to a new place in it.
#include "gui/widgets/DragItems.h"
#include "gui/mainwindow/JacketHistory.h"
#include "gui/dialogs/ItemEditDialog.h"
#include "gui/widgets/ItemListBox.h"
#include "gui/mainwindow/MainWindow.h"

bool TForm1::ListBox1DragOver(QObject *source)
{
    return source == ListBox1 && ListBox1->currentRow() != -1;
}

void TForm1::ListBox1DragDrop(QObject *, int X, int Y)
{
    History->record(tr("移動"), [&] {
        DragItems->TakeSelection(ListBox1);
        DragItems->DropAt(ListBox1, X, Y);
        RefreshView();
    });
}

void TForm1::ListBox1DblClick()
{
    if (ListBox1->count() == 0 || ListBox1->currentRow() == -1)
        return;
    History->record(tr("1行の編集"), [this] {
        TInputForm dialog(ListBox1, this);
        dialog.exec();
    });
}
