// The commands on the rows of the item list: blank row, delete, delete all,
// move up and down, and their keys.
#include "DragItems.h"
#include "ListRows.h"
#include "common/Messages.h"
#include "main/ItemListBox.h"
#include "main/Memo.h"
#include "main/Unit1.h"

#include <QLineEdit>
#include <QScrollBar>

void TForm1::sendListLineUp()
{
    ListBox1->verticalScrollBar()->triggerAction(QAbstractSlider::SliderSingleStepSub);
}

void TForm1::BlankBtnClick()
{
    ListBox1->clearSelection();
    ListBox1->addItem(QString());
    ListBox1->item(ListBox1->count() - 1)->setSelected(true);
    sendListLineUp();
    RefreshView();
}

void TForm1::DelBtnClick()
{
    if (EditorMode) {
        QTextCursor cursor = Memo1->textCursor();
        if (!cursor.hasSelection())
            return;
        if (ConfirmDelete && !Messages::Confirm(QStringLiteral("選択したテキストを削除します。よろしいですか？")))
            return;
        cursor.removeSelectedText();
        Memo1->setTextCursor(cursor);
        RefreshView();
        return;
    }
    if (!ListBox1->selectionModel()->hasSelection())
        return;
    if (ConfirmDelete && !Messages::Confirm(QStringLiteral("選択したアイテムを削除します。よろしいですか？")))
        return;
    const RowState before = ListRows::read(ListBox1);
    RowState after = before;
    RowMoves::deleteSelected(after);
    ListRows::apply(ListBox1, before, after);
    sendListLineUp();
}

void TForm1::AllDelbtnClick()
{
    const bool contentEmpty = EditorMode ? Memo1->document()->isEmpty() : ListBox1->count() == 0;
    if (EditTi->text().isEmpty() && contentEmpty)
        return;
    if (ConfirmDeleteAll && !Messages::Confirm(QStringLiteral("タイトルと内容の全てを削除します。よろしいですか？")))
        return;
    ClearDocument();
}

void TForm1::ClearDocument()
{
    EditTi->clear();
    if (EditorMode)
        Memo1->clear();
    else
        ListBox1->clear();
    HasFileName = false;
    CurrentFileName = QStringLiteral("無題.plr");
    RefreshView();
}

void TForm1::BtnUPClick()
{
    RowState rows = ListRows::read(ListBox1);
    if (RowMoves::firstUnselected(rows) < 0 || std::find(rows.selected.begin(), rows.selected.end(), true) == rows.selected.end())
        return;
    const RowState before = rows;
    DragItems->TakeSelection(rows);
    RowMoves::moveUp(rows, *DragItems);
    ListRows::apply(ListBox1, before, rows);
    RefreshView();
}

void TForm1::BtnDownClick()
{
    RowState rows = ListRows::read(ListBox1);
    if (RowMoves::lastUnselected(rows) < 0 || std::find(rows.selected.begin(), rows.selected.end(), true) == rows.selected.end())
        return;
    const RowState before = rows;
    DragItems->TakeSelection(rows);
    RowMoves::moveDown(rows, *DragItems);
    ListRows::apply(ListBox1, before, rows);
    RefreshView();
}

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
