// SPDX-License-Identifier: GPL-3.0-or-later
// Playlists and cue sheets dropped as files: one line per track, through
// the drop's own entry point, and the times of cue tracks without audio.
#include "core/text/TextCodec.h"
#include "core/intake/CueSheet.h"
#include "core/intake/DropLines.h"
#include "core/intake/PlayMp3.h"
#include "support/CoreTestSupport.h"

#include <QDir>
#include <QFileInfo>
#include <QProcess>
#include <QStringEncoder>
#include <QUrl>

#include <sys/stat.h>

namespace {

const QString kPrefix = QStringLiteral("  歌：");
const DropLineOptions kTagsOn{true, true, true, true, kPrefix};

QByteArray sjis(const char *text) { return Cp932::encode(QString::fromUtf8(text)); }

}  // namespace

class PlaylistsTest : public QObject
{
    Q_OBJECT
private slots:
    void initTestCase();
    void cleanupTestCase() { vbmp3_free(); }
    void listsGiveALinePerTrack_data();
    void listsGiveALinePerTrack();
    void cueTrackSeconds_data();
    void cueTrackSeconds();
    void badInputsGiveNamesOrWhatTheyCan_data();
    void badInputsGiveNamesOrWhatTheyCan();

private:
    QString path(const QString &name) const { return m_dir.filePath(name); }
    void dropCase(const DropLineOptions &options);
    QTemporaryDir m_dir;
};

void PlaylistsTest::initTestCase()
{
    QVERIFY(m_dir.isValid());
    for (const char *folder : {"music", "sub", "disc", "rips", "folder.m3u", "folder.cue"})
        QVERIFY(QDir(m_dir.path()).mkpath(QString::fromUtf8(folder)));
    // 200 s of silence: long enough for every time below to differ.
    QProcess sox;
    sox.start(QStringLiteral("sox"), {"-n", "-r", "1000", "-c", "1", "-b", "8", path("music/tone.wav"), "trim", "0", "200"});
    QVERIFY2(sox.waitForFinished(60000) && sox.exitCode() == 0, "sox failed (install it with scripts/install-deps.sh)");
    QVERIFY(QFile::copy(path("music/tone.wav"), path("disc/アルバム.wav")));
    QVERIFY(QFile::copy(path("music/tone.wav"), path("rips/one.wav")));
    TestSupport::writeFile(path("sub/notes.txt"), "text");
    TestSupport::writeFile(path("a b 曲.txt"), "text");
    for (const char *fifo : {"fifo.m3u", "fifo.cue"})
        QCOMPARE(::mkfifo(QFile::encodeName(path(QString::fromUtf8(fifo))).constData(), 0600), 0);
    QVERIFY(vbmp3_init() & 0xFF);
}

// The current row's file, dropped: its name, bytes and lines.
void PlaylistsTest::dropCase(const DropLineOptions &options)
{
    QFETCH(QString, name);
    QFETCH(QByteArray, bytes);
    QFETCH(QStringList, lines);
    // Null bytes: a file initTestCase made (a FIFO, a folder).
    if (!bytes.isNull())
        TestSupport::writeFile(path(name), bytes);
    QCOMPARE(DropLines(path(name), options), lines);
}

void PlaylistsTest::listsGiveALinePerTrack_data()
{
    QTest::addColumn<QString>("name");
    QTest::addColumn<QByteArray>("bytes");
    QTest::addColumn<bool>("readTags");
    QTest::addColumn<bool>("addTime");
    QTest::addColumn<QStringList>("lines");

    const QByteArray url = QUrl::fromLocalFile(path("a b 曲.txt")).toEncoded();
    QVERIFY(url.contains("%20"));
    QTest::newRow("m3u: relative, absolute, file URL, backslashes")
        << "paths.m3u" << "#EXTM3U\nmusic/tone.wav\n" + QFile::encodeName(path("sub/notes.txt")) + "\n\n" + url + "\r\nsub\\notes.txt\n"
        << true << true << QStringList{"tone  (03:20)  歌：", "notes", "a b 曲", "notes"};
    const QByteArray missing = "#EXTINF:245,Band - Song\ngone/song.mp3\n#EXTINF:-1,Just A Title\nC:\\Music\\other.mp3\n"
                               "http://radio.example/live%20one.mp3\n#EXTINF:61,Streamed\nhttps://radio.example/stream\n";
    QTest::newRow("m3u: missing files with EXTINF")
        << "missing.m3u" << missing << true << true
        << QStringList{"Song  (04:05)  歌：Band", "Just A Title  歌：", "live one", "Streamed  (01:01)  歌："};
    QTest::newRow("m3u: missing files, tags off")
        << "missing.m3u" << missing << false << true << QStringList{"song", "other", "live one", "stream"};
    QTest::newRow("m3u8: UTF-8 with BOM")
        << "utf8.M3U8" << QByteArray("\xEF\xBB\xBF#EXTINF:10,歌手 - 曲名\nない.mp3\n") << true << true << QStringList{"曲名  (00:10)  歌：歌手"};
    QTest::newRow("m3u: Shift-JIS")
        << "sjis.m3u" << sjis("#EXTINF:10,歌手 - 曲名\r\nない.mp3\r\n") << true << true << QStringList{"曲名  (00:10)  歌：歌手"};
    QTest::newRow("pls: numbers decide the order, keys in any case")
        << "ORDER.PLS"
        << QByteArray("[playlist]\r\nNumberOfEntries=3\r\nFile10=music/tone.wav\r\nfile2=gone/b.mp3\r\nTITLE2=Band - Second\r\n"
                      "Length2=75\r\nFile1=gone/a.mp3\r\nTitle1=First\r\nLength1=-1\r\nVersion=2\r\n")
        << true << true << QStringList{"First  歌：", "Second  (01:15)  歌：Band", "tone  (03:20)  歌："};
    QTest::newRow("lists in a list are names, itself included")
        << "self.m3u" << QByteArray("self.m3u\n#EXTINF:5,Titled\nmore.m3u8\nmusic/other.CUE\nlist.pls\n") << true << true
        << QStringList{"self", "more", "other", "list"};

    // Track 2 runs from 01:05:37 to 02:30:00, 84.5 s; track 3 to the end of
    // the 200 s file.
    const QByteArray album = sjis("REM GENRE J-Pop\r\nPERFORMER \"歌手\"\r\nTITLE \"アルバム\"\r\nFILE \"アルバム.wav\" WAVE\r\n"
                                  "  TRACK 01 AUDIO\r\n    TITLE \"一曲目\"\r\n    INDEX 01 00:00:00\r\n"
                                  "  TRACK 02 AUDIO\r\n    TITLE \"二曲目\"\r\n    PERFORMER \"ゲスト\"\r\n"
                                  "    INDEX 00 01:03:00\r\n    INDEX 01 01:05:37\r\n"
                                  "\ttrack 03 audio\r\n\t\ttitle \"\"\r\n\t\tindex 01 02:30:00\r\n");
    const QStringList timed{"一曲目  (01:05)  歌：歌手", "二曲目  (01:24)  歌：ゲスト", "アルバム  (00:50)  歌：歌手"};
    QTest::newRow("Shift-JIS, three tracks") << "disc/アルバム.CUE" << album << true << true << timed;
    QTest::newRow("tags off: the sheet is the list") << "disc/アルバム.cue" << album << false << true << timed;
    QTest::newRow("no times") << "disc/アルバム.cue" << album << true << false
                              << QStringList{"一曲目  歌：歌手", "二曲目  歌：ゲスト", "アルバム  歌：歌手"};

    // one.flac is not there, one.wav is; two.wav is missing; the data track
    // gives no line but ends the track before it.
    QTest::newRow("two FILEs, converted rip, data track")
        << "rips/rips.cue"
        << QByteArray("FILE \"one.flac\" WAVE\nTRACK 01 AUDIO\nINDEX 01 00:00:00\nTRACK 02 AUDIO\nTITLE Unquoted Title\n"
                      "INDEX 01 02:00:00\nFILE two.wav WAVE\nTRACK 03 AUDIO\nTITLE \"Three\"\nINDEX 01 00:00:00\n"
                      "TRACK 04 MODE1/2352\nINDEX 01 00:30:00\n")
        << true << true << QStringList{"one  (02:00)  歌：", "Unquoted Title  (01:20)  歌：", "Three  (00:30)  歌："};
    QTest::newRow("UTF-16 with its mark")
        << "utf16.cue" << "\xFF\xFE" + QByteArray(QStringEncoder(QStringConverter::Utf16LE)(QStringLiteral("TRACK 01 AUDIO\nTITLE \"Ünï\"\n")))
        << true << true << QStringList{"Ünï  歌："};
}

void PlaylistsTest::listsGiveALinePerTrack()
{
    QFETCH(bool, readTags);
    QFETCH(bool, addTime);
    dropCase({readTags, true, addTime, true, kPrefix});
}

// Times from the INDEX points alone; every FILE lasts 200 s.
void PlaylistsTest::cueTrackSeconds_data()
{
    QTest::addColumn<QByteArray>("sheet");
    QTest::addColumn<QList<int>>("seconds");  // -1: unknown

    QTest::newRow("zero-length track") << QByteArray("FILE a WAVE\nTRACK 01 AUDIO\nINDEX 01 00:10:00\nTRACK 02 AUDIO\nINDEX 01 00:10:00\n")
                                       << QList<int>{0, 190};
    QTest::newRow("a pause ends one FILE, INDEX 01 in the next")
        << QByteArray("FILE a WAVE\nTRACK 01 AUDIO\nINDEX 01 03:00:00\nTRACK 02 AUDIO\nINDEX 00 03:10:00\nFILE b WAVE\n"
                      "INDEX 01 00:00:00\nTRACK 03 AUDIO\nINDEX 01 01:00:00\n") << QList<int>{20, 60, 140};
    QTest::newRow("the first INDEX 01 counts") << QByteArray("FILE a WAVE\nTRACK 01 AUDIO\nINDEX 01 00:00:00\nINDEX 01 01:00:00\n")
                                               << QList<int>{200};
    // Negative, then out of order, then 3:00 to a minute count past any
    // integer, then past the end of its file.
    QTest::newRow("bad INDEX times")
        << QByteArray("FILE none.wav WAVE\nTRACK 01 AUDIO\nINDEX 01 -1:00:00\nTRACK 02 AUDIO\nINDEX 01 05:00:00\n"
                      "TRACK 03 AUDIO\nINDEX 01 03:00:00\nTRACK 04 AUDIO\nINDEX 01 99999999999999999999999:00:00\n")
        << QList<int>{-1, -1, INT32_MAX, -1};
}

void PlaylistsTest::cueTrackSeconds()
{
    QFETCH(QByteArray, sheet);
    QFETCH(QList<int>, seconds);
    QList<int> found;
    for (const std::optional<int32_t> s : CueTrackSeconds(ParseCueSheet(sheet), [](qsizetype) { return std::optional<int64_t>(200); }))
        found << s.value_or(-1);
    QCOMPARE(found, seconds);
}

void PlaylistsTest::badInputsGiveNamesOrWhatTheyCan_data()
{
    QTest::addColumn<QString>("name");
    QTest::addColumn<QByteArray>("bytes");
    QTest::addColumn<QStringList>("lines");

    QTest::newRow("empty m3u") << "empty.m3u" << QByteArray("") << QStringList{"empty"};
    QTest::newRow("empty cue") << "empty.cue" << QByteArray("") << QStringList{"empty"};
    QTest::newRow("pls without entries") << "none.pls" << QByteArray("[playlist]\nNumberOfEntries=0\n") << QStringList{"none"};
    QTest::newRow("cue without tracks") << "none.cue" << QByteArray("FILE \"a.wav\" WAVE\nREM nothing\n") << QStringList{"none"};
    QTest::newRow("FIFO m3u") << "fifo.m3u" << QByteArray() << QStringList{"fifo"};
    QTest::newRow("FIFO cue") << "fifo.cue" << QByteArray() << QStringList{"fifo"};
    QTest::newRow("folder m3u") << "folder.m3u" << QByteArray() << QStringList{"folder"};
    QTest::newRow("folder cue") << "folder.cue" << QByteArray() << QStringList{"folder"};
    QTest::newRow("entry is a folder") << "dir.m3u" << QByteArray("sub\n") << QStringList{"sub"};
    QTest::newRow("truncated cue") << "cut.cue" << QByteArray("FILE \"x.wav\" WAVE\n TRACK 01 AUDIO\n  TITLE \"Cut")
                                   << QStringList{"Cut  歌："};
    QTest::newRow("huge pls length") << "huge.pls" << QByteArray("File1=gone.mp3\nTitle1=Long\nLength1=99999999999999999999999\n")
                                     << QStringList{"Long  (35791394:07)  歌："};
    const char nul[] = "#EXTINF:5,A\0B\nfirst.mp3\nx\0y.mp3\n";
    QTest::newRow("NUL bytes") << "nul.m3u" << QByteArray(nul, sizeof nul - 1)
                               << QStringList{"A B  (00:05)  歌：", "x y"};
    QTest::newRow("invalid bytes") << "bytes.m3u" << QByteArray("\x80\xFF.mp3\n") << QStringList{QString::fromLatin1("\x80\xFF")};
    QTest::newRow("absurdly long line") << "long.m3u" << QByteArray(1'000'000, 'x') + ".mp3" << QStringList{QString(4096, u'x')};

    QByteArray many;
    QStringList names;
    for (int i = 0; i < 100'000; ++i) {
        many += "gone/" + QByteArray::number(i) + ".mp3\n";
        names << QString::number(i);
    }
    QTest::newRow("100 000 entries") << "many.m3u" << many << names;
}

void PlaylistsTest::badInputsGiveNamesOrWhatTheyCan() { dropCase(kTagsOn); }

PELORA_CORE_TEST_MAIN(PlaylistsTest)
#include "tst_playlists.moc"
