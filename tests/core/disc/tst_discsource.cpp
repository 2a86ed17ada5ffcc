// SPDX-License-Identifier: GPL-3.0-or-later
#include "core/disc/DiscImport.h"
#include "core/disc/DiscSource.h"
#include "core/text/TextCodec.h"
#include "support/CoreTestSupport.h"
#include "support/DiscFixtures.h"

using DiscFixtures::BlockTexts;
using DiscFixtures::ImageTrack;

namespace {

QByteArray sjis(const char16_t *text) { return Cp932::encode(QString::fromUtf16(text)); }

// Three tracks of 60, 45 and 30 seconds.
std::vector<ImageTrack> threeTracks(const QList<QByteArray> &lines = {})
{
    std::vector<ImageTrack> tracks{{4500, true, {}}, {3375, true, {}}, {2250, true, {}}};
    for (int i = 0; i < lines.size(); ++i)
        tracks[i].lines = lines[i];
    return tracks;
}

// "title / performer / seconds" for the disc, then each track.
QStringList described(const ImportedDisc &disc)
{
    QStringList lines{disc.title + QStringLiteral(" / ") + disc.performer};
    for (const ImportedTrack &track : disc.tracks)
        lines << QStringLiteral("%1 %2 / %3 / %4").arg(track.number).arg(track.title, track.performer).arg(track.seconds);
    return lines;
}

const BlockTexts kEnglish{0x00, 0x09, {"Album", "One", "Two", "Three"}, {"Band", "Band", "Guest", "Band"}};
const BlockTexts kJapanese{0x80, 0x69,
                                {sjis(u"アルバム"), sjis(u"①夜明け～"), sjis(u"ｶﾞﾝﾊﾞﾚ"), sjis(u"三")},
                                {sjis(u"楽団"), sjis(u"楽団"), sjis(u"ｹﾞｽﾄ"), "\t\t"}};
const QByteArray kCdTextLine = "CDTEXTFILE \"disc.cdt\"\r\n";

}  // namespace

class DiscSourceTest : public QObject
{
    Q_OBJECT
private slots:
    void readsCueImages_data();
    void readsCueImages();
    void readsCdrdaoTocFiles();
    void unreadableSourcesSayWhy_data();
    void unreadableSourcesSayWhy();
    void jacketLinesAsDroppedFiles_data();
    void jacketLinesAsDroppedFiles();

private:
    QTemporaryDir m_dir;
};

void DiscSourceTest::readsCueImages_data()
{
    QTest::addColumn<QByteArray>("header");
    QTest::addColumn<QList<QByteArray>>("trackLines");
    QTest::addColumn<QByteArray>("cdt");  // null: none written
    QTest::addColumn<int>("language");
    QTest::addColumn<QStringList>("disc");
    QTest::addColumn<int>("cdTextProblem");  // -1: none

    const QByteArray sheetLines = "TITLE \"" + sjis(u"盤の題") + "\"\r\nPERFORMER \"" + sjis(u"盤の歌手") + "\"\r\n";
    const QList<QByteArray> trackTitles{"    TITLE \"" + sjis(u"一曲目") + "\"\r\n", {},
                                        "    TITLE \"Third\"\r\n    PERFORMER \"Solo\"\r\n"};
    const QStringList fromSheet{"盤の題 / 盤の歌手", "1 一曲目 /  / 60", "2  /  / 45", "3 Third / Solo / 30"};
    const QStringList japanese{"アルバム / 楽団", "1 ①夜明け～ / 楽団 / 60", "2 ｶﾞﾝﾊﾞﾚ / ｹﾞｽﾄ / 45",
                               "3 三 / ｹﾞｽﾄ / 30"};
    const QStringList english{"Album / Band", "1 One / Band / 60", "2 Two / Guest / 45", "3 Three / Band / 30"};
    const QByteArray both = DiscFixtures::cdTextPacks({kEnglish, kJapanese});

    QTest::newRow("the sheet's own lines") << sheetLines << trackTitles << QByteArray() << int(QLocale::Japanese)
                                           << fromSheet << -1;
    QTest::newRow("CD-TEXT file, Japanese block") << kCdTextLine << QList<QByteArray>{} << both
                                                  << int(QLocale::Japanese) << japanese << -1;
    QTest::newRow("CD-TEXT file, English block") << kCdTextLine << QList<QByteArray>{} << both
                                                 << int(QLocale::English) << english << -1;
    QTest::newRow("CD-TEXT file with its header") << kCdTextLine << QList<QByteArray>{}
                                                  << DiscFixtures::withHeader(both) << int(QLocale::Japanese)
                                                  << japanese << -1;
    // CD-TEXT first; what it leaves empty, the sheet's lines.
    const BlockTexts titlesOnly{0x00, 0x09, {"Album", "One", "Two", "Three"}, {}};
    QTest::newRow("CD-TEXT and the sheet together")
        << sheetLines + kCdTextLine << trackTitles << DiscFixtures::cdTextPacks({titlesOnly}) << int(QLocale::English)
        << QStringList{"Album / 盤の歌手", "1 One /  / 60", "2 Two /  / 45", "3 Three / Solo / 30"} << -1;
    QByteArray allBad = both;
    for (int i = 0; i < both.size() / 18; ++i)
        allBad = DiscFixtures::damaged(allBad, i);
    QTest::newRow("every CRC wrong: the sheet's lines") << sheetLines + kCdTextLine << trackTitles << allBad
                                                        << int(QLocale::Japanese) << fromSheet
                                                        << int(CdTextUnreadable::AllDamaged);
    QTest::newRow("CD-TEXT file missing") << sheetLines + kCdTextLine << trackTitles << QByteArray()
                                          << int(QLocale::Japanese) << fromSheet << int(CdTextUnreadable::NoPacks);
}

void DiscSourceTest::readsCueImages()
{
    QFETCH(QByteArray, header);
    QFETCH(QList<QByteArray>, trackLines);
    QFETCH(QByteArray, cdt);
    QFETCH(int, language);
    QFETCH(QStringList, disc);
    QFETCH(int, cdTextProblem);
    // The sheets are Shift-JIS; the folder's name is the file system's.
    const QString folder = m_dir.filePath(QStringLiteral("ディスク ") + QString::fromLatin1(QTest::currentDataTag()));
    QVERIFY(QDir().mkpath(folder));
    if (!cdt.isNull())
        TestSupport::writeFile(folder + QStringLiteral("/disc.cdt"), cdt);
    const QString cue = DiscFixtures::writeCueImage(folder, QStringLiteral("disc"), threeTracks(trackLines), header);
    DiscUnreadable why{};
    const auto contents = ReadDiscSource(cue, &why);
    QVERIFY2(contents, qPrintable(DiscReason(why)));
    QCOMPARE(contents->toc.leadOut, 4500 + 3375 + 2250);
    QCOMPARE(described(ImportedDiscOf(*contents, QLocale::Language(language))), disc);
    QCOMPARE(contents->cdTextProblem ? int(*contents->cdTextProblem) : -1, cdTextProblem);
}

void DiscSourceTest::readsCdrdaoTocFiles()
{
    const QString folder = m_dir.filePath(QStringLiteral("cdrdao"));
    QVERIFY(QDir().mkpath(folder));
    QFile bin(folder + QStringLiteral("/disc.bin"));
    QVERIFY(bin.open(QIODevice::WriteOnly) && bin.resize(qint64(4500 + 2250) * 2352));
    bin.close();
    TestSupport::writeFile(folder + QStringLiteral("/disc.toc"),
                           "CD_DA\n"
                           "TRACK AUDIO\nFILE \"disc.bin\" 0 01:00:00\n"
                           "TRACK AUDIO\nFILE \"disc.bin\" 01:00:00 00:30:00\n");
    DiscUnreadable why{};
    const auto contents = ReadDiscSource(folder + QStringLiteral("/disc.toc"), &why);
    QVERIFY2(contents, qPrintable(DiscReason(why)));
    QCOMPARE(MusicBrainzToc(contents->toc), QStringLiteral("1 2 6900 150 4650"));
    QVERIFY(!contents->cdText);
}

void DiscSourceTest::unreadableSourcesSayWhy_data()
{
    QTest::addColumn<QString>("source");
    QTest::addColumn<int>("why");
    const QString folder = m_dir.filePath(QStringLiteral("unreadable"));
    QDir().mkpath(folder);
    TestSupport::writeFile(folder + QStringLiteral("/notes.txt"), "FILE \"a.bin\" BINARY\n");
    const QString dataOnly = DiscFixtures::writeCueImage(folder, QStringLiteral("data"), {{4500, false, {}}});
    const QString noBin = DiscFixtures::writeCueImage(folder, QStringLiteral("nobin"), threeTracks());
    QFile::remove(folder + QStringLiteral("/nobin.bin"));
    TestSupport::writeFile(folder + QStringLiteral("/empty.cue"), "REM nothing\n");

    QTest::newRow("not an image") << folder + QStringLiteral("/notes.txt") << int(DiscUnreadable::NotADiscImage);
    QTest::newRow("no such cue sheet") << folder + QStringLiteral("/gone.cue") << int(DiscUnreadable::ImageUnreadable);
    QTest::newRow("data file missing") << noBin << int(DiscUnreadable::ImageUnreadable);
    QTest::newRow("no FILE") << folder + QStringLiteral("/empty.cue") << int(DiscUnreadable::ImageUnreadable);
    QTest::newRow("data disc") << dataOnly << int(DiscUnreadable::NoAudioTracks);
    QTest::newRow("a device that is no drive") << QStringLiteral("/dev/null") << int(DiscUnreadable::DriveUnreadable);
    QTest::newRow("no such drive") << QStringLiteral("/dev/sr97") << int(DiscUnreadable::DriveUnreadable);
}

void DiscSourceTest::unreadableSourcesSayWhy()
{
    QFETCH(QString, source);
    QFETCH(int, why);
    DiscUnreadable reason{};
    QVERIFY(!ReadDiscSource(source, &reason));
    QCOMPARE(int(reason), why);
    QSet<QString> texts;
    for (int each = int(DiscUnreadable::NoDisc); each <= int(DiscUnreadable::NoAudioTracks); ++each)
        texts.insert(DiscReason(DiscUnreadable(each)));
    QCOMPARE(texts.size(), int(DiscUnreadable::NoAudioTracks) + 1);
}

void DiscSourceTest::jacketLinesAsDroppedFiles_data()
{
    QTest::addColumn<bool>("addTime");
    QTest::addColumn<bool>("addArtist");
    QTest::addColumn<QString>("title");
    QTest::addColumn<QStringList>("lines");
    // Shaped as TrackLine shapes a dropped file's line, with the drop's prefix.
    QTest::newRow("time and artist") << true << true << QStringLiteral("盤  歌：楽団")
                                     << QStringList{"①夜明け～  (04:57)", "ｶﾞﾝﾊﾞﾚ  (100:05)  歌：ゲスト",
                                                    "トラック 3  (00:00)", "改行 あり  (01:00)  歌：二 人"};
    QTest::newRow("time only") << true << false << QStringLiteral("盤")
                               << QStringList{"①夜明け～  (04:57)", "ｶﾞﾝﾊﾞﾚ  (100:05)", "トラック 3  (00:00)",
                                              "改行 あり  (01:00)"};
    QTest::newRow("artist only") << false << true << QStringLiteral("盤  歌：楽団")
                                 << QStringList{"①夜明け～", "ｶﾞﾝﾊﾞﾚ  歌：ゲスト", "トラック 3", "改行 あり  歌：二 人"};
}

void DiscSourceTest::jacketLinesAsDroppedFiles()
{
    QFETCH(bool, addTime);
    QFETCH(bool, addArtist);
    QFETCH(QString, title);
    QFETCH(QStringList, lines);
    const ImportedDisc disc{QStringLiteral("盤"), QStringLiteral("楽団"),
                            {{1, QStringLiteral("①夜明け～"), QStringLiteral("楽団"), 297},
                             {2, QStringLiteral("ｶﾞﾝﾊﾞﾚ"), QStringLiteral("ゲスト"), 6005},
                             {3, QString(), QString(), 0},
                             {4, QStringLiteral("改行\nあり"), QStringLiteral("二\t人"), 60}}};
    const DropLineOptions options{true, true, addTime, addArtist, QStringLiteral("  歌：")};
    const DiscJacketText text = DiscJacketLines(disc, options);
    QCOMPARE(text.title, title);
    QCOMPARE(text.lines, lines);
}

PELORA_CORE_TEST_MAIN(DiscSourceTest)
#include "tst_discsource.moc"
