// SPDX-License-Identifier: GPL-3.0-or-later
// Jackets with a cover picture: printing and previewing a front covered by
// a 3000 × 3000 JPEG (budgets 300 ms to CUPS completion, 150 ms), and a
// drop of 100 MP3 files whose tags carry album art (budget 500 ms). Taking
// that JPEG as a cover, which decodes it whole to be sure it is, is timed
// beside them.
//
// The print and preview benchmarks need the private CUPS (scripts/bench.sh
// starts one).
#include "BenchMain.h"
#include "BenchWindow.h"
#include "core/jacket/CoverPicture.h"
#include "gui/widgets/ItemListBox.h"
#include "gui/widgets/RadioGroup.h"
#include "gui/mainwindow/MainWindow.h"

#include <QBuffer>
#include <QFile>
#include <QImage>
#include <QLineEdit>
#include <QPainter>
#include <QProcess>
#include <QRandomGenerator>

#include <taglib/attachedpictureframe.h>
#include <taglib/id3v2tag.h>

namespace {

// A photograph-like picture: soft colour gradients with grain, as JPEG.
QByteArray photo(int side, int quality)
{
    QImage image(side, side, QImage::Format_RGB32);
    QRandomGenerator grain(7);
    for (int y = 0; y < side; ++y) {
        auto *line = reinterpret_cast<QRgb *>(image.scanLine(y));
        for (int x = 0; x < side; ++x) {
            const int noise = int(grain.bounded(24u)) - 12;
            line[x] = qRgb(qBound(0, x * 255 / side + noise, 255), qBound(0, y * 255 / side + noise, 255),
                           qBound(0, 128 + noise * 2, 255));
        }
    }
    QByteArray bytes;
    QBuffer buffer(&bytes);
    buffer.open(QIODevice::WriteOnly);
    image.save(&buffer, "JPEG", quality);
    return bytes;
}

// A chosen picture is checked: read, sized and decoded whole.
void TakePicture3000(benchmark::State &state)
{
    const QByteArray bytes = photo(3000, 90);
    for (auto _ : state) {
        if (!CoverPicture::fromBytes(bytes))
            state.SkipWithError("the picture was refused");
    }
}
BENCHMARK(TakePicture3000)->Unit(benchmark::kMillisecond);

// A covered front, from the print button until CUPS reports the job completed.
void PrintFrontWithCover3000(benchmark::State &state)
{
    const std::optional<CoverPicture> cover = CoverPicture::fromBytes(photo(3000, 90));
    timePrinting(
        state,
        [&](TForm1 &form) {
            form.EditTi->setText(QStringLiteral("ベンチマーク盤"));
            form.ListBox1->setItems({QStringLiteral("一曲目"), QStringLiteral("二曲目")});
            form.SetCover(*cover);
        },
        [](TForm1 &form) { form.Button1Click(form.Print1); });
}
BENCHMARK(PrintFrontWithCover3000)->Unit(benchmark::kMillisecond)->Iterations(5);

// Showing the preview of a covered front, layout included.
void ShowPreviewWithCover3000(benchmark::State &state)
{
    const std::optional<CoverPicture> cover = CoverPicture::fromBytes(photo(3000, 90));
    timePreview(state, [&](TForm1 &form) {
        form.EditTi->setText(QStringLiteral("ベンチマーク盤"));
        form.ListBox1->setItems({QStringLiteral("一曲目")});
        form.SetCover(*cover);
    });
}
BENCHMARK(ShowPreviewWithCover3000)->Unit(benchmark::kMillisecond);

// 100 copies of a short MP3 whose ID3v2 tag holds a 600 × 600 front cover.
struct FilesWithArt
{
    QTemporaryDir dir;
    QStringList paths;
    QString error;

    FilesWithArt()
    {
        const QString wav = dir.filePath(QStringLiteral("tone.wav"));
        const QString mp3 = dir.filePath(QStringLiteral("tone.mp3"));
        QProcess sox;
        sox.start(QStringLiteral("sox"), {QStringLiteral("-n"), QStringLiteral("-r"), QStringLiteral("44100"), wav,
                                          QStringLiteral("synth"), QStringLiteral("2"), QStringLiteral("sine"), QStringLiteral("440")});
        QProcess lame;
        if (sox.waitForFinished(60000) && sox.exitCode() == 0) {
            lame.start(QStringLiteral("lame"), {QStringLiteral("--quiet"), wav, mp3});
            lame.waitForFinished(60000);
        }
        QFile audio(mp3);
        if (!audio.open(QIODevice::ReadOnly)) {
            error = QStringLiteral("sox and lame are needed");
            return;
        }
        const QByteArray sound = audio.readAll();
        TagLib::ID3v2::Tag tag;
        auto *picture = new TagLib::ID3v2::AttachedPictureFrame;
        const QByteArray art = photo(600, 85);
        picture->setMimeType("image/jpeg");
        picture->setType(TagLib::ID3v2::AttachedPictureFrame::FrontCover);
        picture->setPicture(TagLib::ByteVector(art.constData(), static_cast<unsigned int>(art.size())));
        tag.addFrame(picture);
        const TagLib::ByteVector rendered = tag.render();
        const QByteArray header(rendered.data(), static_cast<qsizetype>(rendered.size()));
        for (int i = 0; i < 100; ++i) {
            const QString path = dir.filePath(QStringLiteral("%1.mp3").arg(i, 3, 10, QLatin1Char('0')));
            QFile file(path);
            if (!file.open(QIODevice::WriteOnly) || file.write(header + sound) != header.size() + sound.size()) {
                error = QStringLiteral("cannot write ") + path;
                return;
            }
            paths << path;
        }
    }
};

void DropHundredFilesWithArt(benchmark::State &state)
{
    const FilesWithArt files;
    if (!files.error.isEmpty()) {
        state.SkipWithError(qPrintable(files.error));
        return;
    }
    TForm1 form;
    for (auto _ : state) {
        form.WMDropFiles(files.paths);
        state.PauseTiming();
        if (JacketCover.isNull())
            state.SkipWithError("no cover taken from the drop");
        form.ListBox1->clear();
        form.SetCover(CoverPicture());
        state.ResumeTiming();
    }
}
BENCHMARK(DropHundredFilesWithArt)->Unit(benchmark::kMillisecond);

}  // namespace

PELORA_BENCHMARK_MAIN()
