// SPDX-License-Identifier: GPL-3.0-or-later
// Whole-process time of the PDF export: the program started, the document
// read, the settings and the printer's sheet looked up, the jacket laid out
// and written, the program ended. Budgets: a 20-item back face within
// 150 ms (median), a 1000-item document within 400 ms.
//
// With the private CUPS of scripts/bench.sh the sheet comes from its default
// queue; without one the program asks a spooler that is not there and takes
// A4.
#include "BenchMain.h"
#include "core/text/TextCodec.h"

#include <QFile>
#include <QProcess>
#include <QTemporaryDir>

namespace {

QString writeDocument(const QTemporaryDir &dir, int items)
{
    QString text = QStringLiteral("ベンチマーク用のアルバム\r\n");
    for (int i = 0; i < items; ++i)
        text += QStringLiteral("夜明けのうた その%1  (03:25)  歌：アーティスト\r\n").arg(i + 1);
    const QString path = dir.filePath(QStringLiteral("jacket-%1.plr").arg(items));
    QFile file(path);
    if (file.open(QIODevice::WriteOnly))
        file.write(Cp932::encode(text));
    return path;
}

// `status` is what the program must end with: a face holds about 230 item
// lines at the smallest size, so 1000 items end with the message that
// nothing fits, after the layout has tried every size.
void exportBackFace(benchmark::State &state, int items, int status)
{
    QTemporaryDir dir;
    const QString document = writeDocument(dir, items);
    const QString pdf = dir.filePath(QStringLiteral("jacket.pdf"));
    for (auto _ : state) {
        QProcess process;
        process.start(QStringLiteral(PELORA_EXECUTABLE),
                      {QStringLiteral("--export-pdf"), pdf, QStringLiteral("--side"), QStringLiteral("back"), document});
        if (!process.waitForFinished(30000) || process.exitStatus() != QProcess::NormalExit || process.exitCode() != status) {
            const QByteArray error = "the export did not end as expected: " + process.readAllStandardError();
            state.SkipWithError(error.constData());
            break;
        }
    }
    state.counters["PDF bytes"] = double(QFile(pdf).size());
}

void ExportTwentyItemBackFace(benchmark::State &state) { exportBackFace(state, 20, 0); }
BENCHMARK(ExportTwentyItemBackFace)->Unit(benchmark::kMillisecond)->UseRealTime()->Iterations(5)->Repetitions(9);

void ExportTwoHundredItemBackFace(benchmark::State &state) { exportBackFace(state, 200, 0); }
BENCHMARK(ExportTwoHundredItemBackFace)->Unit(benchmark::kMillisecond)->UseRealTime()->Iterations(5)->Repetitions(9);

void ExportThousandItemDocument(benchmark::State &state) { exportBackFace(state, 1000, 1); }
BENCHMARK(ExportThousandItemDocument)->Unit(benchmark::kMillisecond)->UseRealTime()->Iterations(5)->Repetitions(9);

}  // namespace

PELORA_BENCHMARK_MAIN()
