// SPDX-License-Identifier: GPL-3.0-or-later
// A drop of 1 000 tagged MP3 files: the tag reading alone (vbmp3_close +
// vbmp3_open on each), and the whole drop on the main window with tag
// reading on (budget 1.5 s) and off (budget 100 ms); and of 1 000 tagged
// FLAC files with tag reading on (budget 1.5 s).
#include "BenchMain.h"
#include "core/text/TextCodec.h"
#include "core/intake/PlayMp3.h"
#include "gui/widgets/ItemListBox.h"
#include "gui/mainwindow/MainWindow.h"

#include <QAction>

#include <QDir>
#include <QFile>
#include <QProcess>
#include <QStringList>

#include <taglib/fileref.h>
#include <taglib/id3v2tag.h>
#include <taglib/tag.h>
#include <taglib/textidentificationframe.h>

#include <vector>

namespace {

constexpr int kFiles = 1000;

// Runs a tool with the given arguments; empty when it worked.
QString run(const QString &program, const QStringList &args)
{
    QProcess process;
    process.start(program, args);
    if (!process.waitForFinished(60000) || process.exitStatus() != QProcess::NormalExit || process.exitCode() != 0)
        return program + QStringLiteral(" failed (is it installed?): ") + process.errorString() + u' '
            + QString::fromLocal8Bit(process.readAllStandardError());
    return {};
}

// An ID3v2.3 tag as Japanese taggers left them: the title in UTF-16, the
// artist as Shift-JIS bytes in a Latin-1 frame.
QByteArray tagFor(int n)
{
    TagLib::ID3v2::Tag tag;
    auto *title = new TagLib::ID3v2::TextIdentificationFrame("TIT2", TagLib::String::UTF16);
    title->setText(TagLib::String(QStringLiteral("第%1曲 夜明けのうた").arg(n).toStdString(), TagLib::String::UTF8));
    tag.addFrame(title);
    const QByteArray artist = Cp932::encode(QStringLiteral("歌手%1").arg(n % 37));
    auto *performer = new TagLib::ID3v2::TextIdentificationFrame("TPE1", TagLib::String::Latin1);
    performer->setText(TagLib::String(TagLib::ByteVector(artist.constData(), static_cast<unsigned int>(artist.size())),
                                      TagLib::String::Latin1));
    tag.addFrame(performer);
    const TagLib::ByteVector bytes = tag.render(TagLib::ID3v2::v3);
    return QByteArray(bytes.data(), static_cast<qsizetype>(bytes.size()));
}

// 1 000 copies of one short lame-made MP3 or sox-made FLAC, each with its
// own tag; made once.
struct TaggedFiles
{
    QTemporaryDir dir;
    std::vector<QByteArray> paths;
    QString error;

    explicit TaggedFiles(bool flac = false)
    {
        const QString wav = dir.filePath(QStringLiteral("sine.wav"));
        const QString mp3 = dir.filePath(QStringLiteral("sine.mp3"));
        const QString encoded = flac ? dir.filePath(QStringLiteral("sine.flac")) : mp3;
        error = run(QStringLiteral("sox"), {QStringLiteral("-n"), QStringLiteral("-r"), QStringLiteral("44100"),
                                            QStringLiteral("-c"), QStringLiteral("2"), flac ? encoded : wav,
                                            QStringLiteral("synth"), QStringLiteral("2"), QStringLiteral("sine"),
                                            QStringLiteral("440")});
        if (error.isEmpty() && !flac)
            error = run(QStringLiteral("lame"), {QStringLiteral("--quiet"), QStringLiteral("-b"), QStringLiteral("128"), wav, mp3});
        if (!error.isEmpty())
            return;
        QFile source(encoded);
        if (!source.open(QIODevice::ReadOnly)) {
            error = QStringLiteral("cannot read ") + encoded;
            return;
        }
        const QByteArray audio = source.readAll();
        for (int n = 0; n < kFiles; ++n) {
            const QString path = dir.filePath(QStringLiteral("%1 トラック.%2").arg(n, 4, 10, QLatin1Char('0')).arg(flac ? "FLAC" : "mp3"));
            QFile file(path);
            if (!file.open(QIODevice::WriteOnly) || file.write(flac ? audio : tagFor(n) + audio) < 0) {
                error = QStringLiteral("cannot write ") + path;
                return;
            }
            file.close();
            if (flac) {
                TagLib::FileRef ref(QFile::encodeName(path).constData());
                ref.tag()->setTitle(TagLib::String(QStringLiteral("第%1曲 夜明けのうた").arg(n).toStdString(), TagLib::String::UTF8));
                ref.tag()->setArtist(TagLib::String(QStringLiteral("歌手%1").arg(n % 37).toStdString(), TagLib::String::UTF8));
                if (!ref.save()) {
                    error = QStringLiteral("cannot tag ") + path;
                    return;
                }
            }
            paths.push_back(QFile::encodeName(path));
        }
    }
};

const TaggedFiles &mp3s()
{
    static const TaggedFiles files;
    return files;
}

void OpenThousandTaggedMp3s(benchmark::State &state)
{
    const TaggedFiles &files = mp3s();
    if (!files.error.isEmpty()) {
        state.SkipWithError(qPrintable(files.error));
        return;
    }
    vbmp3_init();
    TagInfo info;
    for (auto _ : state) {
        for (const QByteArray &path : files.paths) {
            vbmp3_close();
            if (vbmp3_open(path.constData(), &info) != 1) {
                state.SkipWithError("a tagged file did not open");
                break;
            }
            benchmark::DoNotOptimize(info);
        }
    }
    vbmp3_close();
    vbmp3_free();
    state.counters["files"] = static_cast<double>(files.paths.size());
}
BENCHMARK(OpenThousandTaggedMp3s)->Unit(benchmark::kMillisecond);

void dropThousandFiles(benchmark::State &state, const TaggedFiles &files, bool readTags)
{
    if (!files.error.isEmpty()) {
        state.SkipWithError(qPrintable(files.error));
        return;
    }
    QStringList paths;
    for (const QByteArray &path : files.paths)
        paths << QFile::decodeName(path);
    TForm1 form;
    form.AcqTag->setChecked(readTags);
    for (auto _ : state) {
        form.WMDropFiles(paths);
        state.PauseTiming();
        form.ListBox1->clear();
        state.ResumeTiming();
    }
}

void DropThousandTaggedMp3s(benchmark::State &state) { dropThousandFiles(state, mp3s(), true); }
BENCHMARK(DropThousandTaggedMp3s)->Unit(benchmark::kMillisecond);

void DropThousandFilesTagsOff(benchmark::State &state) { dropThousandFiles(state, mp3s(), false); }
BENCHMARK(DropThousandFilesTagsOff)->Unit(benchmark::kMillisecond);

void DropThousandTaggedFlacs(benchmark::State &state)
{
    static const TaggedFiles flacs(true);
    dropThousandFiles(state, flacs, true);
}
BENCHMARK(DropThousandTaggedFlacs)->Unit(benchmark::kMillisecond);

}  // namespace

PELORA_BENCHMARK_MAIN()
