// SPDX-License-Identifier: GPL-3.0-or-later
// The commands on the rows of the item list: blank row, delete, delete all,
// move up and down, and their keys.
#include "gui/widgets/DragItems.h"
#include "gui/mainwindow/JacketHistory.h"
#include "gui/widgets/ListRows.h"
#include "core/common/Messages.h"
#include "core/jacket/CoverPicture.h"
#include "gui/widgets/ItemListBox.h"
#include "gui/widgets/Memo.h"
#include "gui/mainwindow/MainWindow.h"

#include <QLineEdit>
#include <QPushButton>
#include <QScrollBar>

void TForm1::sendListLineUp()
{
    ListBox1->verticalScrollBar()->triggerAction(QAbstractSlider::SliderSingleStepSub);
}

void TForm1::BlankBtnClick()
{
    History->record(BlankBtn->text(), [this] {
        ListBox1->clearSelection();
        ListBox1->addItem(QString());
        ListBox1->item(ListBox1->count() - 1)->setSelected(true);
        sendListLineUp();
        RefreshView();
    });
}

void TForm1::DelBtnClick()
{
    if (EditorMode) {
        QTextCursor cursor = Memo1->textCursor();
        if (!cursor.hasSelection())
            return;
        if (ConfirmDelete && !Messages::Confirm(tr("選択したテキストを削除します。よろしいですか？")))
            return;
        cursor.removeSelectedText();
        Memo1->setTextCursor(cursor);
        RefreshView();
        return;
    }
    if (!ListBox1->selectionModel()->hasSelection())
        return;
    if (ConfirmDelete && !Messages::Confirm(tr("選択したアイテムを削除します。よろしいですか？")))
        return;
    History->record(DelBtn->text(), [this] {
        const RowState before = ListRows::read(ListBox1);
        RowState after = before;
        RowMoves::deleteSelected(after);
        ListRows::apply(ListBox1, before, after);
        sendListLineUp();
    });
}

bool TForm1::JacketIsEmpty() const
{
    const bool contentEmpty = EditorMode ? Memo1->document()->isEmpty() : ListBox1->count() == 0;
    return EditTi->text().isEmpty() && contentEmpty && JacketCover.isNull();
}

void TForm1::AllDelbtnClick()
{
    if (JacketIsEmpty())
        return;
    if (ConfirmDeleteAll && !Messages::Confirm(tr("タイトルと内容の全てを削除します。よろしいですか？")))
        return;
    History->record(AllDelbtn->text(), [this] { ClearDocument(); });
}

void TForm1::ClearDocument()
{
    EditTi->clear();
    if (EditorMode)
        Memo1->clear();
    else
        ListBox1->clear();
    HasFileName = false;
    CurrentFileName = tr("無題.plr");
    SetCover(CoverPicture());
    RefreshView();
}

void TForm1::moveSelectedRows(bool up)
{
    RowState rows = ListRows::read(ListBox1);
    const bool anySelected = std::find(rows.selected.begin(), rows.selected.end(), true) != rows.selected.end();
    // Nothing selected, or every row: nothing moves, and no refresh follows.
    const int gap = up ? RowMoves::firstUnselected(rows) : RowMoves::lastUnselected(rows);
    if (!anySelected || gap < 0)
        return;
    History->record(up ? tr("上へ移動") : tr("下へ移動"), [&] {
        const RowState before = rows;
        DragItems->TakeSelection(rows);
        if (up)
            RowMoves::moveUp(rows, *DragItems);
        else
            RowMoves::moveDown(rows, *DragItems);
        ListRows::apply(ListBox1, before, rows);
        RefreshView();
    });
}

void TForm1::BtnUPClick() { moveSelectedRows(true); }

void TForm1::BtnDownClick() { moveSelectedRows(false); }

void TForm1::FormKeyDown(int key, Qt::KeyboardModifiers modifiers)
{
    if (!modifiers.testFlag(Qt::AltModifier))
        return;
    if (key == Qt::Key_Up)
        BtnUPClick();
    else if (key == Qt::Key_Down)
        BtnDownClick();
}

void TForm1::ListBox1KeyDown(int key, Qt::KeyboardModifiers)
{
    if (key != Qt::Key_Up && key != Qt::Key_Down)
        return;
    sendListLineUp();
    RefreshView();
}
