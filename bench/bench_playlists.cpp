// SPDX-License-Identifier: GPL-3.0-or-later
// Dropped lists: a 99-track cue sheet in Shift-JIS with its 66-minute WAV
// beside it (budget 50 ms), and a playlist of 100 000 missing files (no
// quadratic time: it should stay well under a second).
#include "BenchMain.h"
#include "core/text/TextCodec.h"
#include "core/intake/DropLines.h"
#include "core/intake/PlayMp3.h"

#include <QFile>
#include <QtEndian>

namespace {

constexpr int kTracks = 99;
constexpr int kTrackSeconds = 40;
const DropLineOptions kOptions{true, true, true, true, QStringLiteral("  歌：")};

QByteArray le(quint32 value, int width)
{
    QByteArray bytes(width, '\0');
    for (int i = 0; i < width; ++i, value >>= 8)
        bytes[i] = char(value & 0xFF);
    return bytes;
}

// Silence, 8-bit mono at 1 kHz: 4 MB for the whole disc.
QByteArray wave(quint32 seconds)
{
    const quint32 rate = 1000;
    const QByteArray format = le(1, 2) + le(1, 2) + le(rate, 4) + le(rate, 4) + le(1, 2) + le(8, 2);
    const QByteArray data(qsizetype(seconds * rate), char(0x80));
    const QByteArray chunks = "fmt " + le(quint32(format.size()), 4) + format + "data" + le(quint32(data.size()), 4) + data;
    return "RIFF" + le(quint32(4 + chunks.size()), 4) + "WAVE" + chunks;
}

QByteArray cueSheet()
{
    QString text = QStringLiteral("REM GENRE J-Pop\r\nPERFORMER \"歌手\"\r\nTITLE \"アルバム\"\r\nFILE \"アルバム.wav\" WAVE\r\n");
    for (int n = 1; n <= kTracks; ++n) {
        const int start = (n - 1) * kTrackSeconds;
        text += QStringLiteral("  TRACK %1 AUDIO\r\n    TITLE \"第%2曲 夜明けのうた\"\r\n    PERFORMER \"歌手%3\"\r\n"
                               "    INDEX 01 %4:%5:00\r\n")
                    .arg(n, 2, 10, QLatin1Char('0'))
                    .arg(n)
                    .arg(n % 7)
                    .arg(start / 60, 2, 10, QLatin1Char('0'))
                    .arg(start % 60, 2, 10, QLatin1Char('0'));
    }
    return Cp932::encode(text);
}

struct Lists
{
    QTemporaryDir dir;
    QString cue = dir.filePath(QStringLiteral("アルバム.cue"));
    QString m3u = dir.filePath(QStringLiteral("many.m3u"));
    bool written = false;

    Lists()
    {
        QByteArray many;
        for (int i = 0; i < 100'000; ++i)
            many += "#EXTINF:215,Band - Song " + QByteArray::number(i) + "\r\nMusic\\Band\\" + QByteArray::number(i) + ".mp3\r\n";
        written = write(dir.filePath(QStringLiteral("アルバム.wav")), wave(kTracks * kTrackSeconds + 30))
            && write(cue, cueSheet()) && write(m3u, many);
    }

    static bool write(const QString &path, const QByteArray &bytes)
    {
        QFile file(path);
        return file.open(QIODevice::WriteOnly) && file.write(bytes) == bytes.size();
    }
};

void readList(benchmark::State &state, const QString Lists::*which, qsizetype count, const QString &last)
{
    static Lists lists;
    if (!lists.written) {
        state.SkipWithError("cannot write the lists");
        return;
    }
    vbmp3_init();
    for (auto _ : state) {
        const QStringList lines = DropLines(lists.*which, kOptions);
        if (lines.size() != count || lines.last() != last) {
            state.SkipWithError("wrong lines");
            break;
        }
        benchmark::DoNotOptimize(lines);
    }
    vbmp3_free();
}

void CueSheet99Tracks(benchmark::State &state)
{
    readList(state, &Lists::cue, kTracks, QStringLiteral("第99曲 夜明けのうた  (01:10)  歌：歌手1"));
}
BENCHMARK(CueSheet99Tracks)->Unit(benchmark::kMillisecond);

void Playlist100000MissingFiles(benchmark::State &state)
{
    readList(state, &Lists::m3u, 100'000, QStringLiteral("Song 99999  (03:35)  歌：Band"));
}
BENCHMARK(Playlist100000MissingFiles)->Unit(benchmark::kMillisecond);

}  // namespace

PELORA_BENCHMARK_MAIN()
