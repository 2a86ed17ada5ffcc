// SPDX-License-Identifier: GPL-3.0-or-later
#include "core/intake/PlayMp3.h"

#include "core/intake/AudioFixtures.h"
#include "core/text/TextCodec.h"
#include "support/CoreTestSupport.h"

#include <QDir>
#include <QFile>
#include <QProcess>
#include <QRandomGenerator>
#include <QStandardPaths>

#include <taglib/apetag.h>
#include <taglib/mpegfile.h>

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <algorithm>
#include <chrono>
#include <cstring>
#include <future>

using namespace AudioFixtures;

namespace {

struct Opened
{
    int32_t result;
    TagInfo info;
};

Opened openAudio(const QString &path)
{
    Opened out;
    std::memset(&out.info, 0x5A, sizeof out.info);  // stale bytes must not survive
    vbmp3_close();
    out.result = vbmp3_open(QFile::encodeName(path).constData(), &out.info);
    return out;
}

QByteArray text(const char (&field)[128]) { return QByteArray(field, qstrnlen(field, 128)); }
QByteArray sjis(const QString &s) { return Cp932::encode(s); }

// Runs one of the Debian tools that make the test audio; empty when it
// worked. Arguments go through printf in the shell so that they can hold
// any bytes, Shift-JIS included, which QProcess would take as UTF-8 text.
QString runTool(const QString &tool, const QList<QByteArray> &args, const QString &locale = QStringLiteral("C.UTF-8"))
{
    const QString program = QStandardPaths::findExecutable(tool);
    if (program.isEmpty())
        return QStringLiteral("%1 is not installed (Debian package \"%1\"): the tag tests make their files with it").arg(tool);
    QByteArray script = "exec \"$0\"";
    for (const QByteArray &arg : args) {
        script += " \"$(printf '";
        for (const char c : arg)
            script += '\\' + QByteArray::number(static_cast<unsigned char>(c), 8).rightJustified(3, '0');
        script += "')\"";
    }
    QProcess process;
    QProcessEnvironment env = QProcessEnvironment::systemEnvironment();
    env.insert(QStringLiteral("LC_ALL"), locale);
    process.setProcessEnvironment(env);
    process.start(QStringLiteral("/bin/sh"), {QStringLiteral("-c"), QString::fromLatin1(script), program});
    if (!process.waitForFinished(60000) || process.exitStatus() != QProcess::NormalExit || process.exitCode() != 0)
        return tool + QStringLiteral(" failed: ") + QString::fromLocal8Bit(process.readAllStandardError());
    return {};
}

#define RUN_TOOL(tool, ...)                                                                     \
    do {                                                                                        \
        const QString error = runTool(QStringLiteral(tool), __VA_ARGS__);                       \
        QVERIFY2(error.isEmpty(), qPrintable(error));                                           \
    } while (false)

}  // namespace

class PlayMp3Test : public QObject
{
    Q_OBJECT
private slots:
    void initTestCase();
    void cleanupTestCase();
    void readsTitleArtistAndTime_data();
    void readsTitleArtistAndTime();
    void cutsFieldsAtWholeCharactersIn128Bytes_data();
    void cutsFieldsAtWholeCharactersIn128Bytes();
    void failsOnFilesThatAreNotAudio_data();
    void failsOnFilesThatAreNotAudio();
    void refusesWhatIsNotARegularFileWithoutBlocking();
    void opensPathsOfAnyLength();
    void keepsToTheCallOrder();

private:
    QString path(const QString &name) const { return QDir(m_dir.path()).filePath(name); }  // a path stays itself
    QByteArray local(const QString &name) const { return QFile::encodeName(path(name)); }
    QString write(const QString &name, const QByteArray &bytes)
    {
        TestSupport::writeFile(path(name), bytes);
        return path(name);
    }

    QTemporaryDir m_dir;
    QByteArray m_mp3;  // 3 s of sine by lame, untagged
    QByteArray m_wav;  // 2 s stereo by sox
};

void PlayMp3Test::initTestCase()
{
    QVERIFY(m_dir.isValid());
    RUN_TOOL("sox", {"-n", "-r", "22050", "-c", "1", local("sine.wav"), "synth", "3", "sine", "440"});
    RUN_TOOL("sox", {"-n", "-r", "8000", "-c", "2", "-b", "16", local("stereo.wav"), "synth", "2", "sine", "300"});
    RUN_TOOL("lame", {"--quiet", "-b", "32", local("sine.wav"), local("plain.mp3")});
    RUN_TOOL("id3v2", {"--version"});
    m_mp3 = TestSupport::readFile(path("plain.mp3"));
    m_wav = TestSupport::readFile(path("stereo.wav"));
    QCOMPARE(m_mp3.size() % 2, 1);  // the RMP rows rely on an odd data chunk
    QVERIFY((vbmp3_init() & 0xFF) != 0);
}

void PlayMp3Test::cleanupTestCase()
{
    vbmp3_close();
    QVERIFY((vbmp3_free() & 0xFF) != 0);
}

void PlayMp3Test::readsTitleArtistAndTime_data()
{
    QTest::addColumn<QString>("file");
    QTest::addColumn<QString>("title");
    QTest::addColumn<QString>("artist");
    QTest::addColumn<int>("seconds");

    // MP3, made by the Debian tools.
    RUN_TOOL("lame", {"--quiet", "-b", "32", "--tt", "Hello World", "--ta", "The Band", local("sine.wav"), local("a.mp3")});
    QTest::newRow("ASCII, by lame") << path("a.mp3") << "Hello World" << "The Band" << 3;
    RUN_TOOL("lame", {"--quiet", "-b", "32", "--id3v2-utf16", "--tt", "日本語の歌", "--ta", "歌手①", local("sine.wav"),
                      local("u.mp3")});
    QTest::newRow("UTF-16, by lame") << path("u.mp3") << "日本語の歌" << "歌手①" << 3;
    RUN_TOOL("id3v2", {"-t", sjis("夜明けのうた"), "-a", sjis("ﾊﾞﾝﾄﾞ髙"), local(write("sjis.mp3", m_mp3))});
    QTest::newRow("Shift-JIS in Latin-1 frames, by id3v2") << path("sjis.mp3") << "夜明けのうた" << "ﾊﾞﾝﾄﾞ髙" << 3;
    RUN_TOOL("id3v2", {"-1", "-t", sjis("桜の花びら"), "-a", "Artist  ", local(write("v1.mp3", m_mp3))});
    QTest::newRow("Shift-JIS in ID3v1 only, by id3v2 -1") << path("v1.mp3") << "桜の花びら" << "Artist" << 3;
    // In the C locale id3v2 copies UTF-8 bytes into Latin-1 frames.
    RUN_TOOL("id3v2", {"-2", "-t", "東京の夜", "-a", "Café", local(write("utf8.mp3", m_mp3))}, QStringLiteral("C"));
    QTest::newRow("UTF-8 in Latin-1 frames, by id3v2") << path("utf8.mp3") << "東京の夜" << "Café" << 3;
    // "ö r" (F6 72) is also a user-defined Shift-JIS character: Latin-1 wins.
    RUN_TOOL("id3v2", {"-2", "-t", "Bj\xF6rk", "-a", "Sigur R\xF3s", local(write("latin1.mp3", m_mp3))});
    QTest::newRow("real Latin-1, by id3v2") << path("latin1.mp3") << "Björk" << "Sigur Rós" << 3;
    // ID3v1 by hand: leading spaces are the title's, and a full field may
    // end inside a Shift-JIS character, or hold half-width katakana.
    QTest::newRow("ID3v1, leading spaces")
        << write("spaces.mp3", m_mp3 + id3v1("  Intro", "Band   ")) << "  Intro" << "Band" << 3;
    QTest::newRow("ID3v1, full field cut inside a kanji")
        << write("cut.mp3", m_mp3 + id3v1(sjis(QString(14, u'桜')) + "A\x8D", sjis("ﾄｷﾒｷ"))) << QString(14, u'桜') + u'A'
        << "ﾄｷﾒｷ" << 3;
    RUN_TOOL("id3v2", {"-1", "-t", "Old Title", "-a", "V1 Artist", local(write("v2v1.mp3", m_mp3))});
    RUN_TOOL("id3v2", {"-2", "-t", "New Title", local("v2v1.mp3")});
    QTest::newRow("ID3v2 title, ID3v1 artist") << path("v2v1.mp3") << "New Title" << "V1 Artist" << 3;
    {
        TagLib::MPEG::File file(local(write("ape.mp3", m_mp3)).constData(), false);
        file.APETag(true)->setTitle("Ape Title");
        QVERIFY(file.save(TagLib::MPEG::File::APE, TagLib::File::StripNone));
    }
    QTest::newRow("APE only, by TagLib") << path("ape.mp3") << "Ape Title" << "" << 3;

    // MP3, tags by hand.
    QTest::newRow("ID3v2.2, Shift-JIS")
        << write("v22.mp3", id3v2(2, {{"TT2", 0, sjis("ｱﾆﾒ主題歌")}, {"TP1", 0, "Singer"}}) + m_mp3) << "ｱﾆﾒ主題歌"
        << "Singer" << 3;
    QTest::newRow("ID3v2.4, UTF-8 and UTF-16BE")
        << write("v24.mp3", id3v2(4, {{"TIT2", 3, QStringLiteral("雨の日").toUtf8()}, {"TPE1", 2, utf16("合唱団", true)}}) + m_mp3)
        << "雨の日" << "合唱団" << 3;

    // WAV: sox's audio in containers by hand.
    const QByteArray fmt = chunkOf(m_wav, "fmt ");
    const QByteArray data = chunkOf(m_wav, "data");
    QTest::newRow("WAV untagged, by sox") << write("sox.wav", m_wav) << "" << "" << 2;
    QTest::newRow("WAV, LIST/INFO in Shift-JIS")
        << write("info.wav", riff("WAVE", fmt + infoList({{"INAM", sjis("春の小川")}, {"IART", sjis("唱歌")}}) + data))
        << "春の小川" << "唱歌" << 2;
    QTest::newRow("WAV, LIST/INFO in UTF-8 after the data, odd sizes")
        << write("utf8.wav", riff("WAVE", fmt + data + infoList({{"INAM", QStringLiteral("風a").toUtf8()}, {"IART", "ab"}})))
        << "風a" << "ab" << 2;
    QTest::newRow("WAV, id3 chunk in UTF-16")
        << write("id3.wav", riff("WAVE", fmt + data + chunk("id3 ", id3v2(3, {{"TIT2", 1, utf16("波の音")}, {"TPE1", 1, utf16("海")}}))))
        << "波の音" << "海" << 2;
    QTest::newRow("WAV, id3 title, INFO artist")
        << write("both.wav", riff("WAVE", fmt + infoList({{"INAM", "Info"}, {"IART", sjis("歌い手")}}) + data
                                              + chunk("id3 ", id3v2(3, {{"TIT2", 0, sjis("題名")}}))))
        << "題名" << "歌い手" << 2;

    // RMP: lame's MP3 in RIFF containers by hand.
    const QByteArray info = infoList({{"INAM", sjis("ラジオの歌")}, {"IART", sjis("放送局")}});
    const QByteArray tagged = id3v2(3, {{"TIT2", 0, "Inside"}, {"TPE1", 0, "Stream Artist"}}) + m_mp3;
    QTest::newRow("RMP, data then INFO after the pad byte")
        << write("pad.rmp", riff("RMP3", chunk("data", m_mp3) + info)) << "ラジオの歌" << "放送局" << 3;
    QTest::newRow("RMP, data without its pad byte")
        << write("nopad.rmp", riff("RMP3", chunk("data", m_mp3, -1, false) + info)) << "ラジオの歌" << "放送局" << 3;
    QByteArray junk = riff("RMP3", info + chunk("JUNK", {}) + chunk("JUNK", {}) + chunk("fact", "abc") + chunk("data", m_mp3));
    junk.replace(4, 4, le32(0));
    QTest::newRow("RMP, INFO first, empty chunks, RIFF size 0") << write("junk.rmp", junk) << "ラジオの歌" << "放送局" << 3;
    QTest::newRow("RMP, INFO title, ID3 artist inside the data")
        << write("mixed.rmp", riff("RMP3", chunk("data", tagged) + infoList({{"INAM", "Info Title"}}))) << "Info Title"
        << "Stream Artist" << 3;
    QTest::newRow("RMP, data size past the end")
        << write("past.rmp", riff("RMP3", info + chunk("data", m_mp3, 0xFFFFFFF0u))) << "ラジオの歌" << "放送局" << 3;
}

void PlayMp3Test::readsTitleArtistAndTime()
{
    QFETCH(QString, file);
    QFETCH(QString, title);
    QFETCH(QString, artist);
    QFETCH(int, seconds);

    const Opened opened = openAudio(file);
    QCOMPARE(opened.result, 1);
    QCOMPARE(text(opened.info.Title), sjis(title));
    QCOMPARE(text(opened.info.Artist), sjis(artist));
    QCOMPARE(opened.info.TotalSeconds, seconds);
}

void PlayMp3Test::cutsFieldsAtWholeCharactersIn128Bytes_data()
{
    QTest::addColumn<QString>("tagText");
    QTest::addColumn<QByteArray>("field");

    const QByteArray kanji = sjis(QStringLiteral("漢"));
    QTest::newRow("1000 ASCII characters") << QString(1000, u'x') << QByteArray(128, 'x');
    QTest::newRow("127 bytes and a NUL") << QString(127, u'y') << QByteArray(127, 'y');
    QTest::newRow("double-byte characters fill 128 bytes") << QString(100, u'漢') << kanji.repeated(64);
    QTest::newRow("no half character at the end") << QStringLiteral("a") + QString(100, u'漢') << 'a' + kanji.repeated(63);
    QTest::newRow("half-width katakana") << QString(200, u'ｱ') << QByteArray(128, '\xB1');
    QTest::newRow("what Shift-JIS cannot hold") << QStringLiteral("曲🎵名한") << QByteArray("\x8B\xC8?\x96\xBC?");
    QTest::newRow("line breaks") << QStringLiteral("A\r\nB\tC") << QByteArray("A  B C");
}

void PlayMp3Test::cutsFieldsAtWholeCharactersIn128Bytes()
{
    QFETCH(QString, tagText);
    QFETCH(QByteArray, field);

    const Opened opened = openAudio(write("long.mp3", id3v2(3, {{"TIT2", 1, utf16(tagText)}, {"TPE1", 1, utf16(tagText)}}) + m_mp3));
    QCOMPARE(opened.result, 1);
    QCOMPARE(QByteArray(opened.info.Title, 128), field.leftJustified(128, '\0'));
    QCOMPARE(QByteArray(opened.info.Artist, 128), field.leftJustified(128, '\0'));
}

void PlayMp3Test::failsOnFilesThatAreNotAudio_data()
{
    QTest::addColumn<QString>("name");
    QTest::addColumn<QByteArray>("bytes");

    QByteArray noise(4096, '\0');
    QRandomGenerator random(20240601);
    std::generate(noise.begin(), noise.end(), [&] { return char(random.bounded(256)); });
    for (const char *extension : {".mp3", ".wav", ".rmp", ".flac", ".m4a"}) {
        QTest::addRow("empty %s", extension) << QStringLiteral("empty") + extension << QByteArray();
        QTest::addRow("random bytes %s", extension) << QStringLiteral("noise") + extension << noise;
    }
    // Other formats cut short inside their headers.
    for (const char *format : {"flac", "ogg", "opus", "m4a", "wma", "aiff", "ape", "wv", "mpc", "tta"}) {
        const QByteArray whole = TestSupport::readFile(TestSupport::dataPath(QStringLiteral("audio/fixture.") + format));
        QTest::addRow("%s cut short", format) << QStringLiteral("cut.") + format << whole.left(12);
    }
    const QByteArray wave = riff("WAVE", chunkOf(m_wav, "fmt ") + chunkOf(m_wav, "data"));
    QTest::newRow("MP3 cut inside its ID3 tag") << "cut.mp3" << (id3v2(3, {{"TIT2", 0, "Title"}}) + m_mp3).left(30);
    QTest::newRow("ID3 tag of 256 MB holding the audio") << "huge.mp3" << id3v2(4, {{"TIT2", 0, "Title"}}, 0x0FFFFFFF) + m_mp3;
    QTest::newRow("WAV cut inside its fmt chunk") << "cut.wav" << wave.left(30);
    QTest::newRow("WAV without fmt") << "nofmt.wav" << riff("WAVE", chunkOf(m_wav, "data"));
    QTest::newRow("WAV fmt size past the end") << "fmtpast.wav" << riff("WAVE", chunk("fmt ", chunkOf(m_wav, "fmt ").mid(8), 0x7FFFFFFF));
    QTest::newRow("other RIFF form") << "avi.wav" << riff("AVI ", chunk("data", m_mp3));
    QTest::newRow("RMP cut inside its header") << "cut.rmp" << riff("RMP3", chunk("data", m_mp3)).left(10);
    QTest::newRow("RMP without data") << "nodata.rmp" << riff("RMP3", infoList({{"INAM", "Title"}}));
    QTest::newRow("RMP whose data is not MP3") << "noise.rmp" << riff("RMP3", chunk("data", noise));
}

void PlayMp3Test::failsOnFilesThatAreNotAudio()
{
    QFETCH(QString, name);
    QFETCH(QByteArray, bytes);

    const Opened opened = openAudio(write(name, bytes));
    QCOMPARE(opened.result, 0);
    const auto *raw = reinterpret_cast<const char *>(&opened.info);
    QVERIFY(std::all_of(raw, raw + sizeof opened.info, [](char c) { return c == 0; }));
}

void PlayMp3Test::refusesWhatIsNotARegularFileWithoutBlocking()
{
    QVERIFY(QDir(m_dir.path()).mkdir("folder.mp3"));
    QCOMPARE(openAudio(path("folder.mp3")).result, 0);
    QVERIFY(QFile::link(path("nowhere.mp3"), path("dangling.mp3")));
    QCOMPARE(openAudio(path("dangling.mp3")).result, 0);
    QVERIFY(QFile::link("/dev/zero", path("zero.wav")));
    QCOMPARE(openAudio(path("zero.wav")).result, 0);
    QVERIFY(QFile::link(write("target.mp3", m_mp3), path("link.mp3")));
    QCOMPARE(openAudio(path("link.mp3")).result, 1);
    if (::geteuid() != 0) {  // root reads files whatever their permissions
        QVERIFY(QFile::setPermissions(write("locked.mp3", m_mp3), {}));
        QCOMPARE(openAudio(path("locked.mp3")).result, 0);
    }

    // Nobody writes into the FIFO. Should the open wait for a writer, the
    // test plays the writer to free it, and fails.
    QCOMPARE(::mkfifo(local("fifo.rmp").constData(), 0600), 0);
    auto pending = std::async(std::launch::async, [&] { return openAudio(path("fifo.rmp")).result; });
    const bool blocked = pending.wait_for(std::chrono::seconds(2)) == std::future_status::timeout;
    if (blocked)
        ::close(::open(local("fifo.rmp").constData(), O_WRONLY | O_NONBLOCK));
    QCOMPARE(pending.get(), 0);
    QVERIFY2(!blocked, "vbmp3_open waited on a FIFO");
}

void PlayMp3Test::opensPathsOfAnyLength()
{
    // Japanese folder names take three bytes a character in a UTF-8 locale.
    QString folder = m_dir.path();
    for (int i = 0; i < 10; ++i)
        folder += QStringLiteral("/とても長いフォルダの名前%1").arg(i);
    QVERIFY(QDir().mkpath(folder));
    const QString file = folder + QStringLiteral("/曲.mp3");
    TestSupport::writeFile(file, id3v2(3, {{"TIT2", 0, "Deep"}}) + m_mp3);
    QVERIFY(QFile::encodeName(file).size() > 400);

    const Opened opened = openAudio(file);
    QCOMPARE(opened.result, 1);
    QCOMPARE(text(opened.info.Title), QByteArray("Deep"));
}

void PlayMp3Test::keepsToTheCallOrder()
{
    const QByteArray first = local(write("first.mp3", id3v2(3, {{"TIT2", 0, "First"}}) + m_mp3));
    const QByteArray second = local(write("second.mp3", id3v2(3, {{"TIT2", 0, "Second"}}) + m_mp3));
    TagInfo info {};

    // An open without a close before it still reads the new file.
    QCOMPARE(vbmp3_open(first.constData(), &info), 1);
    QCOMPARE(vbmp3_open(second.constData(), &info), 1);
    QCOMPARE(text(info.Title), QByteArray("Second"));
    QCOMPARE(vbmp3_open(nullptr, &info), 0);
    QCOMPARE(vbmp3_open(first.constData(), nullptr), 0);
    QCOMPARE(vbmp3_close(), 1);
    QCOMPARE(vbmp3_close(), 1);

    // Nothing opens between free and the next init; a second free fails.
    QCOMPARE(vbmp3_free(), 1);
    QCOMPARE(vbmp3_free(), 0);
    QCOMPARE(vbmp3_open(first.constData(), &info), 0);
    QCOMPARE(vbmp3_init(), 1);
    QCOMPARE(vbmp3_init(), 1);
    QCOMPARE(vbmp3_open(first.constData(), &info), 1);
    QCOMPARE(text(info.Title), QByteArray("First"));
}

PELORA_CORE_TEST_MAIN(PlayMp3Test)
#include "tst_playmp3.moc"
