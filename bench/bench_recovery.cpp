// SPDX-License-Identifier: GPL-3.0-or-later
// Recovery copies of a 100 000-line jacket (about 4 MB): what a request
// costs the UI thread (budget 20 ms: typing never waits longer), with and
// without the window's snapshot of its jacket, and what the worker takes to
// write the copy.
#include "BenchMain.h"
#include "core/jacket/RecoveryStore.h"
#include "gui/widgets/ItemListBox.h"
#include "gui/widgets/Memo.h"
#include "gui/mainwindow/MainWindow.h"

#include <QLineEdit>

namespace {

Jacket longJacket()
{
    Jacket document{QStringLiteral("長いアルバム"), {}};
    document.items.reserve(100000);
    for (int i = 0; i < 100000; ++i)
        document.items << QStringLiteral("%1 曲目  (03:25)  歌：アーティスト名").arg(i + 1);
    return document;
}

// The request alone, with the jacket already taken; the worker writes meanwhile.
void KeepRequest(benchmark::State &state)
{
    QTemporaryDir folder;
    RecoveryStore store(folder.path());
    const RecoveryCopy copy{longJacket(), QStringLiteral("/music/長いアルバム.plr")};
    for (auto _ : state)
        store.keep(copy);
    store.waitForWrites();
}
BENCHMARK(KeepRequest)->Unit(benchmark::kMicrosecond);

// A request as the clock makes it: the window's snapshot of its jacket,
// handed to the store.
void requestFromWindow(benchmark::State &state, bool editorMode)
{
    QTemporaryDir folder;
    TForm1 form;
    if (editorMode)
        form.ToEditorMode();
    const Jacket document = longJacket();
    form.EditTi->setText(document.title);
    if (editorMode)
        form.Memo1->setPlainText(document.items.join(u'\n'));
    else
        form.ListBox1->setItems(document.items);
    RecoveryStore store(folder.path());
    for (auto _ : state)
        store.keep({form.ShownJacket(), CurrentFileName});
    store.waitForWrites();
}

void KeepRequestListMode(benchmark::State &state) { requestFromWindow(state, false); }
BENCHMARK(KeepRequestListMode)->Unit(benchmark::kMillisecond);
void KeepRequestEditorMode(benchmark::State &state) { requestFromWindow(state, true); }
BENCHMARK(KeepRequestEditorMode)->Unit(benchmark::kMillisecond);

// The worker's part: bytes made, files written, the copy put in place.
void WriteCopy(benchmark::State &state)
{
    QTemporaryDir folder;
    RecoveryStore store(folder.path());
    const RecoveryCopy copy{longJacket(), QStringLiteral("/music/長いアルバム.plr")};
    for (auto _ : state) {
        store.keep(copy);
        store.waitForWrites();
    }
}
BENCHMARK(WriteCopy)->Unit(benchmark::kMillisecond);

}  // namespace

PELORA_BENCHMARK_MAIN()
