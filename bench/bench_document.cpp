// SPDX-License-Identifier: GPL-3.0-or-later
// Opening and saving a 100 000-line jacket document (about 4 MB) in both
// editing modes, the view refresh included.
#include "BenchMain.h"
#include "core/text/TextCodec.h"
#include "gui/widgets/ItemListBox.h"
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

void open(benchmark::State &state, bool editorMode)
{
    TForm1 form;
    if (editorMode)
        form.ToEditorMode();
    for (auto _ : state) {
        if (!form.ReadDocument(document())) {
            state.SkipWithError("the document did not open");
            break;
        }
        form.RefreshView();
        // Start the next round from an empty window, numbers included.
        state.PauseTiming();
        form.ClearDocument();
        state.ResumeTiming();
    }
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
