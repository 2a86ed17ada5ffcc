// SPDX-License-Identifier: GPL-3.0-or-later
// Moves, drops and deletes on a 100 000-row list with many rows selected,
// and the undo and redo of a move and of a delete (budget 50 ms each).
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

// Undo, then redo, of a command already made: each timed on its own.
void undoAndRedo(benchmark::State &state, const std::vector<bool> &marks, const std::function<void(TForm1 &)> &command)
{
    TForm1 form;
    ConfirmDelete = false;
    prepare(form, marks);
    command(form);
    bool undo = true;
    for (auto _ : state) {
        (undo ? form.UndoMe : form.RedoMe)->trigger();
        undo = !undo;
    }
}

void UndoRedoMove(benchmark::State &state) { undoAndRedo(state, scattered(10), [](TForm1 &f) { f.BtnUPClick(); }); }
BENCHMARK(UndoRedoMove)->Unit(benchmark::kMillisecond)->Iterations(10);

void UndoRedoDelete(benchmark::State &state)
{
    undoAndRedo(state, scattered(int(state.range(0))), [](TForm1 &f) { f.DelBtnClick(); });
}
// Every 1000th, every tenth and every second row deleted.
BENCHMARK(UndoRedoDelete)->Arg(1000)->Arg(10)->Arg(2)->Unit(benchmark::kMillisecond)->Iterations(10);

}  // namespace

PELORA_BENCHMARK_MAIN()
