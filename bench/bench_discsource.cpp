// SPDX-License-Identifier: GPL-3.0-or-later
// A disc image's TOC and CD-TEXT, read and made into jacket lines: a cue
// sheet of 12 four-minute tracks with a two-language CD-TEXT file
// (budget: 50 ms).
#include "core/disc/DiscImport.h"
#include "core/disc/DiscSource.h"
#include "core/text/TextCodec.h"
#include "support/DiscFixtures.h"

#include <QCoreApplication>
#include <QFile>
#include <QTemporaryDir>

#include <benchmark/benchmark.h>

namespace {

constexpr int kTracks = 12;

QString makeImage(const QTemporaryDir &dir)
{
    DiscFixtures::BlockTexts english{0x00, 0x09, {"Benchmark Album"}, {"Benchmark Band"}};
    DiscFixtures::BlockTexts japanese{0x80, 0x69, {Cp932::encode(u"ベンチマークのアルバム")},
                                           {Cp932::encode(u"楽団")}};
    std::vector<DiscFixtures::ImageTrack> tracks;
    for (int i = 1; i <= kTracks; ++i) {
        english.titles << QByteArray("Song number ") + QByteArray::number(i);
        english.performers << "\t";
        japanese.titles << Cp932::encode(QStringLiteral("夜明けのうた その%1 ①～ｱｲｳ").arg(i));
        japanese.performers << "\t\t";
        tracks.push_back({75 * 240, true, {}});
    }
    QFile cdt(dir.filePath(QStringLiteral("disc.cdt")));
    const QByteArray packs = DiscFixtures::withHeader(DiscFixtures::cdTextPacks({english, japanese}));
    if (!cdt.open(QIODevice::WriteOnly) || cdt.write(packs) != packs.size())
        return {};
    cdt.close();
    return DiscFixtures::writeCueImage(dir.path(), QStringLiteral("disc"), tracks, "CDTEXTFILE \"disc.cdt\"\r\n");
}

void BM_ReadCueImageWithCdText(benchmark::State &state)
{
    const QTemporaryDir dir;
    const QString cue = makeImage(dir);
    const DropLineOptions options{true, true, true, true, QStringLiteral("  歌：")};
    for (auto _ : state) {
        DiscUnreadable why{};
        const auto contents = ReadDiscSource(cue, &why);
        if (!contents) {
            state.SkipWithError(qPrintable(DiscReason(why)));
            break;
        }
        const DiscJacketText text = DiscJacketLines(ImportedDiscOf(*contents, QLocale::Japanese), options);
        if (text.lines.size() != kTracks) {
            state.SkipWithError("not every track");
            break;
        }
        benchmark::DoNotOptimize(text.lines.constData());
    }
}
BENCHMARK(BM_ReadCueImageWithCdText)->Unit(benchmark::kMillisecond)->MinTime(1.0);

}  // namespace

int main(int argc, char **argv)
{
    QCoreApplication app(argc, argv);
    benchmark::Initialize(&argc, argv);
    benchmark::RunSpecifiedBenchmarks();
    benchmark::Shutdown();
    return 0;
}
