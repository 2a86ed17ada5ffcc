// SPDX-License-Identifier: GPL-3.0-or-later
// The main window's list and number column with very long lists.
#include "BenchMain.h"
#include "gui/widgets/ItemListBox.h"
#include "gui/widgets/Memo.h"
#include "gui/mainwindow/MainWindow.h"

namespace {

QStringList manyRows(int n)
{
    QStringList rows;
    rows.reserve(n);
    for (int i = 0; i < n; ++i)
        rows << QStringLiteral("%1 曲目のタイトル  (03:25)  歌：アーティスト").arg(i + 1);
    return rows;
}

void FillAndRefresh100k(benchmark::State &state)
{
    TForm1 form;
    const QStringList rows = manyRows(100000);
    for (auto _ : state) {
        form.ListBox1->clear();
        form.RefreshView();
        form.ListBox1->setItems(rows);
        form.RefreshView();
    }
}
BENCHMARK(FillAndRefresh100k)->Unit(benchmark::kMillisecond);

void RefreshAfterAppendingOne(benchmark::State &state)
{
    TForm1 form;
    form.ListBox1->setItems(manyRows(100000));
    form.RefreshView();
    for (auto _ : state) {
        form.ListBox1->addItem(QStringLiteral("one more"));
        form.RefreshView();
        state.PauseTiming();
        delete form.ListBox1->takeItem(form.ListBox1->count() - 1);
        form.RefreshView();
        state.ResumeTiming();
    }
}
BENCHMARK(RefreshAfterAppendingOne)->Unit(benchmark::kMicrosecond);

void ModeRoundTrip100k(benchmark::State &state)
{
    TForm1 form;
    const QStringList rows = manyRows(100000);
    form.ListBox1->setItems(rows);
    for (auto _ : state) {
        form.ToEditorMode();
        form.ToListMode();
    }
    if (form.ListBox1->items() != rows)
        state.SkipWithError("items changed in the round trip");
}
BENCHMARK(ModeRoundTrip100k)->Unit(benchmark::kMillisecond);

void CreateAndShowMainWindow(benchmark::State &state)
{
    for (auto _ : state) {
        TForm1 form;
        form.show();
        QCoreApplication::processEvents();
    }
}
BENCHMARK(CreateAndShowMainWindow)->Unit(benchmark::kMillisecond);

}  // namespace

PELORA_BENCHMARK_MAIN()
