// SPDX-License-Identifier: GPL-3.0-or-later
// The jacket's history in the window: what a step reads and restores, and
// the undo and redo commands.
#include "gui/mainwindow/JacketHistory.h"
#include "gui/widgets/ListRows.h"
#include "gui/widgets/BusyCursor.h"
#include "gui/widgets/ItemListBox.h"
#include "gui/widgets/Memo.h"
#include "gui/widgets/UndoKeys.h"
#include "gui/mainwindow/MainWindow.h"

#include <QAction>
#include <QComboBox>
#include <QLineEdit>
#include <QUndoStack>

void TForm1::SetUpHistory()
{
    JacketHistory::View view;
    view.capture = [this] { return CurrentJacket(); };
    view.show = [this](const JacketState &state) { ShowJacket(state); };
    view.showLines = [this](const QStringList &lines) { ShowLines(lines); };
    view.editorLines = [this] { return Memo1->lines(); };
    view.title = [this] { return EditTi->text(); };
    view.showTitle = [this](const QString &title) { EditTi->setText(title); };
    History = new JacketHistory(std::move(view), Memo1->document(), this);
    QUndoStack *stack = History->stack();
    UndoMe->setEnabled(false);
    RedoMe->setEnabled(false);
    connect(stack, &QUndoStack::canUndoChanged, UndoMe, &QAction::setEnabled);
    connect(stack, &QUndoStack::canRedoChanged, RedoMe, &QAction::setEnabled);
    // A long list takes a moment to put back.
    connect(UndoMe, &QAction::triggered, stack, [stack] {
        const BusyCursor busy;
        stack->undo();
    });
    connect(RedoMe, &QAction::triggered, stack, [stack] {
        const BusyCursor busy;
        stack->redo();
    });
    connect(History, &JacketHistory::changedChanged, this, &TForm1::UpdateCaption);
    connect(EditTi, &QLineEdit::textChanged, History, &JacketHistory::titleEdited);
    Memo1->setUndoActions(UndoMe, RedoMe);
    // The title's typing is a step of the history; the font sizes are
    // settings, so their typing is put back on its own first.
    auto *fieldKeys = new FieldUndoKeys(UndoMe, RedoMe, this);
    fieldKeys->watch(EditTi);
    fieldKeys->watchTyping(ComboTFS);
    fieldKeys->watchTyping(comboFS);
}

Jacket TForm1::ShownJacket() const
{
    Jacket jacket{EditTi->text(), EditorMode ? Memo1->lines() : ListBox1->items(), JacketCover};
    jacket.titleSizeText = ComboTFS->currentText();
    jacket.itemSizeText = comboFS->currentText();
    jacket.numbering = PlusNum->isChecked();
    jacket.numberSuffix = NumberSuffix;
    jacket.verticalSpine = VerticalSpineText;
    jacket.marks = ChosenMarks();
    return jacket;
}

void TForm1::ShowContent(const Jacket &jacket)
{
    EditTi->setText(jacket.title);
    if (EditorMode)
        ShowInEditor(jacket.items);
    else
        ListBox1->setItems(jacket.items);
}

JacketState TForm1::CurrentJacket() const
{
    // The rows are read once: a long list takes a moment.
    JacketState state{{EditTi->text(), {}, JacketCover}, {}, CurrentFileName, HasFileName};
    if (EditorMode) {
        state.jacket.items = Memo1->lines();
        state.selected.assign(size_t(state.jacket.items.size()), false);
    } else {
        RowState rows = ListRows::read(ListBox1);
        state.jacket.items = std::move(rows.texts);
        state.selected = std::move(rows.selected);
    }
    return state;
}

void TForm1::ShowJacket(const JacketState &state)
{
    if (EditTi->text() != state.jacket.title)
        EditTi->setText(state.jacket.title);
    if (!(JacketCover == state.jacket.cover))
        SetCover(state.jacket.cover);
    if (!state.fileName.isEmpty()) {
        CurrentFileName = state.fileName;
        HasFileName = state.hasFileName;
    }
    if (EditorMode) {
        // The list is filled from the editor when it is next shown.
        if (Memo1->lines() != state.jacket.items)
            ShowInEditor(state.jacket.items);
    } else {
        ListRows::apply(ListBox1, {ListBox1->items(), {}}, state.rows());
    }
    RefreshView();
}

void TForm1::ShowLines(const QStringList &lines)
{
    JacketState state = CurrentJacket();
    state.jacket.items = lines;
    state.selected.assign(size_t(lines.size()), false);
    state.fileName.clear();
    ShowJacket(state);
}

bool TForm1::JacketChanged() const { return History && History->changed(); }
