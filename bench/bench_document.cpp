// SPDX-License-Identifier: GPL-3.0-or-later
// Opening and saving a 100 000-line jacket document (about 4 MB) in both
// editing modes, the shown window's refresh included (budget for opening:
// 300 ms).
#include "BenchMain.h"
#include "core/text/TextCodec.h"
#include "gui/dialogs/FileDialogs.h"
#include "gui/mainwindow/JacketHistory.h"
#include "gui/widgets/ItemListBox.h"
#include "gui/widgets/LineNumbers.h"
#include "gui/mainwindow/MainWindow.h"

#include <QDir>
#include <QFile>

namespace {

const QString &document()
{
    static QTemporaryDir dir;
    static const QString path = [] {
        const QString file = dir.filePath(QStringLiteral("long.plr"));
        QString text = QStringLiteral("長いアルバム\r\n");
        for (int i = 0; i < 100000; ++i)
            text += QStringLiteral("%1 曲目  (03:25)  歌：アーティスト名\r\n").arg(i + 1);
        QFile out(file);
        if (out.open(QIODevice::WriteOnly))
            out.write(Cp932::encode(text));
        return file;
    }();
    return path;
}

// From ファイル → 開く, the file chosen, until the shown window has painted
// the document: its lines, the number column, the caption.
void open(benchmark::State &state, bool editorMode)
{
    TForm1 form;
    form.show();
    if (editorMode)
        form.ToEditorMode();
    FileDialogs::setHandler([](const FileDialogs::Request &request) { return request.save ? QString() : document(); });
    for (auto _ : state) {
        form.Open1Click();
        QCoreApplication::processEvents();
        QCoreApplication::processEvents();
        if (form.MemoNum->count() < 100000) {
            state.SkipWithError("the document did not open");
            break;
        }
        // Start the next round from an empty, unchanged window.
        state.PauseTiming();
        form.ClearDocument();
        form.History->startOver();
        QCoreApplication::processEvents();
        state.ResumeTiming();
    }
    FileDialogs::setHandler(nullptr);
    state.counters["MB"] = QFile(document()).size() / 1e6;
}

void save(benchmark::State &state, bool editorMode)
{
    TForm1 form;
    if (editorMode)
        form.ToEditorMode();
    form.ReadDocument(document());
    const QString target = QDir::temp().filePath(QStringLiteral("pelora-bench-save.plr"));
    for (auto _ : state) {
        if (!form.WriteDocument(target)) {
            state.SkipWithError("the document was not saved");
            break;
        }
    }
    if (QFile(target).size() != QFile(document()).size())
        state.SkipWithError("the saved bytes differ in size from the opened ones");
    QFile::remove(target);
}

void OpenListMode(benchmark::State &state) { open(state, false); }
BENCHMARK(OpenListMode)->Unit(benchmark::kMillisecond);
void SaveListMode(benchmark::State &state) { save(state, false); }
BENCHMARK(SaveListMode)->Unit(benchmark::kMillisecond);
void OpenEditorMode(benchmark::State &state) { open(state, true); }
BENCHMARK(OpenEditorMode)->Unit(benchmark::kMillisecond);
void SaveEditorMode(benchmark::State &state) { save(state, true); }
BENCHMARK(SaveEditorMode)->Unit(benchmark::kMillisecond);

}  // namespace

PELORA_BENCHMARK_MAIN()
