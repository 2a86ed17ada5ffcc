// SPDX-License-Identifier: GPL-3.0-or-later
// Moves, drops and deletes on a 100 000-row list with many rows selected,
// and the undo and redo of a move and of a delete, whatever rows they took,
// until the window has painted them (budget 50 ms each).
#include "BenchMain.h"
#include "gui/widgets/DragItems.h"
#include "gui/widgets/ListRows.h"
#include "gui/widgets/ItemListBox.h"
#include "gui/mainwindow/MainWindow.h"

#include <QAction>

#include <functional>

namespace {

constexpr int kRows = 100000;

// Every tenth row selected, here and there: 10 000 rows.
std::vector<bool> scattered(int every)
{
    std::vector<bool> marks(kRows, false);
    for (int i = 3; i < kRows; i += every)
        marks[i] = true;
    return marks;
}

void prepare(TForm1 &form, const std::vector<bool> &marks)
{
    QStringList rows;
    rows.reserve(kRows);
    for (int i = 0; i < kRows; ++i)
        rows << QStringLiteral("row %1").arg(i);
    form.ListBox1->setItems(rows);
    form.ListBox1->doItemsLayout();
    ListRows::select(form.ListBox1, marks);
    form.RefreshView();
}

void MoveUp(benchmark::State &state)
{
    TForm1 form;
    prepare(form, scattered(10));
    for (auto _ : state)
        form.BtnUPClick();
}
BENCHMARK(MoveUp)->Unit(benchmark::kMillisecond)->Iterations(5);

void MoveDown(benchmark::State &state)
{
    TForm1 form;
    prepare(form, scattered(10));
    for (auto _ : state)
        form.BtnDownClick();
}
BENCHMARK(MoveDown)->Unit(benchmark::kMillisecond)->Iterations(5);

void DropOnARow(benchmark::State &state)
{
    TForm1 form;
    prepare(form, scattered(10));
    const QRect target = form.ListBox1->visualItemRect(form.ListBox1->item(2));
    for (auto _ : state)
        form.ListBox1DragDrop(form.ListBox1, target.center().x(), target.center().y());
}
BENCHMARK(DropOnARow)->Unit(benchmark::kMillisecond)->Iterations(5);

void DeleteHalf(benchmark::State &state)
{
    for (auto _ : state) {
        state.PauseTiming();
        auto form = std::make_unique<TForm1>();
        ConfirmDelete = false;
        prepare(*form, scattered(2));
        state.ResumeTiming();
        form->DelBtnClick();
        QCoreApplication::processEvents();
        state.PauseTiming();
        form.reset();
        state.ResumeTiming();
    }
}
BENCHMARK(DeleteHalf)->Unit(benchmark::kMillisecond)->Iterations(3);

// One row, a block of 50 001 rows, and every 1000th, tenth and second row.
std::vector<bool> oneRow()
{
    std::vector<bool> marks(kRows, false);
    marks[70000] = true;
    return marks;
}

std::vector<bool> block()
{
    std::vector<bool> marks(kRows, false);
    std::fill(marks.begin() + 25000, marks.begin() + 75001, true);
    return marks;
}

// Lets the shown window do what follows a command: the list's deferred
// layout, the width of the number column, the paint.
void settle()
{
    for (int i = 0; i < 2; ++i)
        QCoreApplication::processEvents();
}

// The undo or the redo of a command already made, timed on its own from the
// menu command until the shown window has painted it (the caption changes
// with the same step).
void undoOrRedo(benchmark::State &state, bool redo, const std::vector<bool> &marks,
                const std::function<void(TForm1 &)> &command)
{
    TForm1 form;
    form.show();
    ConfirmDelete = false;
    prepare(form, marks);
    command(form);
    settle();
    QAction *timed = redo ? form.RedoMe : form.UndoMe;
    QAction *back = redo ? form.UndoMe : form.RedoMe;
    if (redo) {
        back->trigger();
        settle();
    }
    for (auto _ : state) {
        timed->trigger();
        settle();
        state.PauseTiming();
        // Changed after the redo, as opened after the undo.
        if (form.windowTitle().startsWith(u'*') != redo) {
            state.SkipWithError("the caption did not change");
            break;
        }
        back->trigger();
        settle();
        state.ResumeTiming();
    }
}

void deleteRows(TForm1 &form) { form.DelBtnClick(); }
void moveUp(TForm1 &form) { form.BtnUPClick(); }

void UndoDelete(benchmark::State &state, const std::vector<bool> &marks) { undoOrRedo(state, false, marks, deleteRows); }
void RedoDelete(benchmark::State &state, const std::vector<bool> &marks) { undoOrRedo(state, true, marks, deleteRows); }
void UndoMove(benchmark::State &state, const std::vector<bool> &marks) { undoOrRedo(state, false, marks, moveUp); }
void RedoMove(benchmark::State &state, const std::vector<bool> &marks) { undoOrRedo(state, true, marks, moveUp); }

#define UNDO_REDO_SHAPES(bench)                                                                           \
    BENCHMARK_CAPTURE(bench, one_row, oneRow())->Unit(benchmark::kMillisecond)->Iterations(10);           \
    BENCHMARK_CAPTURE(bench, block, block())->Unit(benchmark::kMillisecond)->Iterations(10);              \
    BENCHMARK_CAPTURE(bench, every_1000th, scattered(1000))->Unit(benchmark::kMillisecond)->Iterations(10); \
    BENCHMARK_CAPTURE(bench, every_tenth, scattered(10))->Unit(benchmark::kMillisecond)->Iterations(10);  \
    BENCHMARK_CAPTURE(bench, every_second, scattered(2))->Unit(benchmark::kMillisecond)->Iterations(10)

UNDO_REDO_SHAPES(UndoDelete);
UNDO_REDO_SHAPES(RedoDelete);
UNDO_REDO_SHAPES(UndoMove);
UNDO_REDO_SHAPES(RedoMove);

}  // namespace

PELORA_BENCHMARK_MAIN()
