// SPDX-License-Identifier: GPL-3.0-or-later
// The two editing modes: the item list in the list box, or as free text in
// the editor. Every switch copies the whole list across.
#include "gui/widgets/ItemListBox.h"
#include "gui/widgets/LineNumbers.h"
#include "gui/widgets/Memo.h"
#include "gui/widgets/NCPanel.h"
#include "gui/widgets/SPTimer.h"
#include "gui/mainwindow/MainWindow.h"
#include "gui/widgets/BusyCursor.h"
#include "gui/mainwindow/JacketHistory.h"

#include <QAction>
#include <QKeyEvent>
#include <QPushButton>
#include <QScrollBar>

void TForm1::ModeBtnClick()
{
    const BusyCursor busy;
    if (EditorMode)
        ToListMode();
    else
        ToEditorMode();
}

void TForm1::ToEditorMode()
{
    // The editor's own steps of an earlier stay leave with its text.
    History->settleEditor();
    EditorMode = true;
    MemoNum->follow(Memo1);
    // Shown before the lines come in: a width it took while hidden would
    // make it lay out every line again as it appears.
    Memo1->show();
    CopyListToEditor();
    ListBox1->hide();
    BtnUP->hide();
    BtnDown->hide();
    ListFuncPanel->hide();
    ItemMovePnl->hide();
    Memo1->setFocus();
    UpdateCaption();
    RefreshView();
}

void TForm1::ToListMode()
{
    History->settleEditor();
    CopyEditorToList();
    EditorMode = false;
    MemoNum->follow(ListBox1);
    ListBox1->show();
    Memo1->hide();
    // The list holds the lines now; the editor is filled anew from it.
    Memo1->clear();
    ListFuncPanel->show();
    ItemMovePnl->show();
    BtnUP->show();
    BtnDown->show();
    UpdateCaption();
    RefreshView();
}

void TForm1::CopyListToEditor() { ShowInEditor(ListBox1->items()); }

void TForm1::ShowInEditor(const QStringList &items)
{
    // The editor lays every line out again when its width changes: it takes
    // the width the new lines' numbers leave it while it is empty.
    const int numbers = int(items.size()) + 1;
    if (numberColumnWidth(numbers) != MemoNum->width()) {
        Memo1->clear();
        updateNumberColumnWidth(numbers);
    }
    if (items.isEmpty()) {
        Memo1->clear();
        return;
    }
    // Each item ends with a line break, so the last item is ended too and
    // trailing empty items survive the way back.
    Memo1->setPlainText(items.join(u'\n') + u'\n');
}

void TForm1::CopyEditorToList() { ListBox1->setItems(Memo1->lines()); }

void TForm1::HenshuMeClick() { BlankMe->setEnabled(!EditorMode); }

void TForm1::ListBox1Click() { RefreshView(); }

void TForm1::Memo1Click() { RefreshView(); }

void TForm1::Memo1DblClick() { RefreshView(); }

void TForm1::Memo1MouseUp(Qt::MouseButton button)
{
    if (button == Qt::LeftButton && Memo1->textCursor().hasSelection())
        RefreshView();
}

void TForm1::Memo1KeyDown(int key, Qt::KeyboardModifiers modifiers)
{
    const bool ctrl = modifiers.testFlag(Qt::ControlModifier);
    // These change lines or scroll only once the editor has handled them.
    if (key == Qt::Key_Return || key == Qt::Key_Enter || key == Qt::Key_Backspace || key == Qt::Key_Delete
        || (ctrl && (key == Qt::Key_Home || key == Qt::Key_End)))
        SPTimer->Start();
    if (ctrl && key == Qt::Key_A)
        Memo1->selectAll();
}

void TForm1::SPTimerTimer()
{
    RefreshView();
    SPTimer->Stop();
}

void TForm1::AppMessage(QObject *receiver, QEvent *event)
{
    if (event->type() != QEvent::Wheel)
        return;
    // The wheel reaches the list and the editor through their viewports, or
    // through their scroll bars when turned over them.
    for (QAbstractScrollArea *view : {static_cast<QAbstractScrollArea *>(ListBox1), static_cast<QAbstractScrollArea *>(Memo1)}) {
        if (receiver == view || receiver == view->viewport() || receiver == view->verticalScrollBar())
            SPTimer->Start();
    }
}
