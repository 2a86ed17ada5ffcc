// SPDX-License-Identifier: GPL-3.0-or-later
// The settings file, the data file and where both live.
#include "support/CoreTestSupport.h"

#include "core/text/TextCodec.h"
#include "core/files/ConfigLocation.h"
#include "core/settings/DataFile.h"
#include "core/settings/SettingsFile.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QRandomGenerator>
#include <QTemporaryDir>

#include <unistd.h>

namespace {

// Test texts are written in UTF-8 with "\n"; files are Shift-JIS with CR LF.
QByteArray sjis(const char *text)
{
    return Cp932::encode(QString::fromUtf8(text).replace(u'\n', QLatin1String("\r\n")));
}

QByteArray readAll(const QString &path)
{
    QFile file(path);
    return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray();
}

bool writeAll(const QString &path, const QByteArray &bytes)
{
    QFile file(path);
    return file.open(QIODevice::WriteOnly) && file.write(bytes) == bytes.size();
}

// What the program writes at shut-down, in its order and with its section
// spellings, here with the default values.
void writeShutdownKeys(SettingsFile &ini, bool confirmDelete = true)
{
    ini.writeBool("Opsion", "artistplus", true);
    ini.writeBool("Opsion", "tsecplus", true);
    ini.writeString("Opsion", "backofnum", ". ");
    ini.writeBool("Opsion", "alldelconf", true);
    ini.writeBool("Opsion", "delconf", confirmDelete);
    ini.writeBool("Opsion", "plusnum", true);
    ini.writeBool("Opsion", "ext", true);
    ini.writeBool("Opsion", "acqtag", true);
    ini.writeBool("opsion", "ModeM", false);
    ini.writeString("opsion", "TFsize", "17");
    ini.writeString("opsion", "Fsize", "14");
}

QByteArray firstRunFile()
{
    return sjis("[Opsion]\nartistplus=1\ntsecplus=1\nbackofnum=. \nalldelconf=1\ndelconf=1\n"
                "plusnum=1\next=1\nacqtag=1\nModeM=0\nTFsize=17\nFsize=14\n\n");
}

}  // namespace

class TestSettingsFile : public QObject
{
    Q_OBJECT

private slots:
    void firstAndLaterRuns();
    void handWrittenLowerCaseSection();
    void readBool_data();
    void readBool();
    void trimmingAndHandEdits();
    void laterDuplicateIsFoundAndReplaced();
    void namesMatchInAnyCase();
    void writtenLineBreaksCannotInjectLines();
    void shiftJisInvalidBytesAndNul();
    void anyValueReadsBackAsWritten_data();
    void anyValueReadsBackAsWritten();
    void handWrittenTwinReadsAsOneLine();
    void badPaths();
    void saveCutShortKeepsTheOldFile();
    void largeHostileFile();
    void dataFileParse_data();
    void dataFileParse();
    void dataFileRoundTrip();
    void configDirectory();
};

void TestSettingsFile::firstAndLaterRuns()
{
    QTemporaryDir dir;
    const QString path = dir.filePath("Pelora.ini");

    // Start-up: nothing to read, saved back at once as an empty file.
    SettingsFile ini = SettingsFile::load(path);
    QVERIFY(ini.readBool("Opsion", "artistplus", true));
    QCOMPARE(ini.readString("opsion", "TFsize", "17"), QString("17"));
    QVERIFY(ini.save(path));
    QCOMPARE(QFileInfo(path).size(), 0);

    // Shut-down: read again, write every key, save.
    ini = SettingsFile::load(path);
    writeShutdownKeys(ini);
    QVERIFY(ini.save(path));
    QCOMPARE(readAll(path), firstRunFile());

    // Next run: the start-up save loses the space after backofnum's value
    // (values are read trimmed); the shut-down write puts it back in place.
    ini = SettingsFile::load(path);
    QVERIFY(ini.save(path));
    QCOMPARE(readAll(path), firstRunFile().replace("backofnum=. ", "backofnum=."));
    ini = SettingsFile::load(path);
    writeShutdownKeys(ini);
    QCOMPARE(ini.toBytes(), firstRunFile());
}

void TestSettingsFile::handWrittenLowerCaseSection()
{
    SettingsFile ini = SettingsFile::fromBytes("[opsion]\r\ndelconf=0\r\n");
    const bool confirmDelete = ini.readBool("Opsion", "delconf", true);
    QVERIFY(!confirmDelete);
    writeShutdownKeys(ini, confirmDelete);
    QCOMPARE(ini.toBytes(), sjis("[opsion]\ndelconf=0\nartistplus=1\ntsecplus=1\nbackofnum=. \nalldelconf=1\n"
                                 "plusnum=1\next=1\nacqtag=1\nModeM=0\nTFsize=17\nFsize=14\n\n"));
}

void TestSettingsFile::readBool_data()
{
    QTest::addColumn<QByteArray>("value");
    QTest::addColumn<bool>("defaultValue");
    QTest::addColumn<bool>("expected");

    QTest::newRow("0x0") << QByteArray("0x0") << true << false;
    QTest::newRow("yes") << QByteArray("yes") << true << true;
    QTest::newRow("yes, default false") << QByteArray("yes") << false << false;
    QTest::newRow("$1F") << QByteArray("$1F") << false << true;
    QTest::newRow("0X1a") << QByteArray("0X1a") << false << true;
    QTest::newRow("0") << QByteArray("0") << true << false;
    QTest::newRow("-1") << QByteArray("-1") << false << true;
    QTest::newRow("-0") << QByteArray("-0") << true << false;
    QTest::newRow("empty") << QByteArray("") << true << true;
    QTest::newRow("prefix only") << QByteArray("0x") << true << true;
    QTest::newRow("sign only") << QByteArray("-") << true << true;
    QTest::newRow("hex without prefix") << QByteArray("1F") << false << false;
    QTest::newRow("trailing garbage") << QByteArray("0abc") << true << true;
    QTest::newRow("leading zeros") << QByteArray("0000000000000000000000001") << false << true;
    QTest::newRow("int max") << QByteArray("2147483647") << false << true;
    QTest::newRow("above int max") << QByteArray("2147483648") << false << false;
    QTest::newRow("32 hex bits") << QByteArray("$FFFFFFFF") << false << true;
    QTest::newRow("33 hex bits") << QByteArray("0x100000000") << false << false;
    QTest::newRow("full-width digit") << sjis("１") << false << false;
}

void TestSettingsFile::readBool()
{
    QFETCH(QByteArray, value);
    QFETCH(bool, defaultValue);
    QFETCH(bool, expected);
    const SettingsFile ini = SettingsFile::fromBytes("[Opsion]\r\nartistplus=" + value + "\r\n");
    QCOMPARE(ini.readBool("Opsion", "artistplus", defaultValue), expected);
    QCOMPARE(ini.readBool("Opsion", "tsecplus", defaultValue), defaultValue);
}

void TestSettingsFile::trimmingAndHandEdits()
{
    SettingsFile ini = SettingsFile::fromBytes(sjis(
        "; written by hand\n"
        "stray line before any section\n"
        "TFsize=before\n"
        "\n"
        "  [  opsion  ]  \n"
        "\t; indented comment\n"
        "  TFsize  =  abc  \n"
        "just some words\n"
        "\x01\x02" "Fsize=\x7f\n"
        "k = a=b\n"));
    QCOMPARE(ini.readString("opsion", "TFsize", "17"), QString("abc"));
    QCOMPARE(ini.readString("opsion", "Fsize", "14"), QString());  // present but empty
    QCOMPARE(ini.readString("opsion", "k", ""), QString("a=b"));
    // A line without "=" never matches a key, even its own text.
    QCOMPARE(ini.readString("opsion", "just some words", "none"), QString("none"));

    ini.writeString("opsion", "TFsize", ini.readString("opsion", "TFsize", "17"));
    QCOMPARE(ini.toBytes(), sjis("[opsion]\nTFsize=abc\njust some words\nFsize=\nk=a=b\n\n"));
}

void TestSettingsFile::laterDuplicateIsFoundAndReplaced()
{
    SettingsFile ini = SettingsFile::fromBytes(sjis("[a]\nonly=first\nk=1\n[b]\nk=b\n[A]\nk=2\nk=3\nj=4\n"));
    QCOMPARE(ini.readString("a", "k", ""), QString("3"));
    QCOMPARE(ini.readString("a", "j", ""), QString("4"));
    // The later section is the section: the earlier one's keys are hidden.
    QCOMPARE(ini.readString("a", "only", "hidden"), QString("hidden"));

    ini.writeString("a", "k", "new");
    ini.writeString("a", "added", "x");
    ini.writeString("b", "k", "B");
    ini.writeString("c", "k", "C");
    QCOMPARE(ini.toBytes(), sjis("[a]\nonly=first\nk=1\n\n[b]\nk=B\n\n[A]\nk=2\nk=new\nj=4\nadded=x\n\n[c]\nk=C\n\n"));

    // Beside a twin, a plain entry was written later by a program that
    // knows no twins, or by hand: it is the value, wherever it stands.
    ini = SettingsFile::fromBytes("[s]\r\nk=later\r\nk.utf8=%C3%A9\r\nflag.utf8=1\r\nflag=0\r\n");
    QCOMPARE(ini.readString("s", "k", ""), QString("later"));
    QVERIFY(!ini.readBool("s", "flag", true));
    QVERIFY(SettingsFile::fromBytes("[s]\r\nflag.utf8=1\r\n").readBool("s", "flag", false));
}

void TestSettingsFile::namesMatchInAnyCase()
{
    SettingsFile ini = SettingsFile::fromBytes(sjis("[OPSION]\nARTISTPLUS=0\nmodem=1\n[ＡＢＣ]\nｋ=v\n"));
    QVERIFY(!ini.readBool("Opsion", "artistplus", true));
    QVERIFY(ini.readBool("opsion", "ModeM", false));
    QCOMPARE(ini.readString("ａｂｃ", "Ｋ", ""), QString("v"));
    QCOMPARE(ini.readString("OPSION", "ARTISTPLUs_", "d"), QString("d"));
    QCOMPARE(ini.readString("OPSIO[", "ARTISTPLUS", "d"), QString("d"));

    // The key takes the spelling of the write; the section keeps its own.
    ini.writeBool("opsion", "ArtistPlus", true);
    ini.writeBool("Opsion", "ModeM", false);
    QCOMPARE(ini.toBytes(), sjis("[OPSION]\nArtistPlus=1\nModeM=0\n\n[ＡＢＣ]\nｋ=v\n\n"));
}

void TestSettingsFile::writtenLineBreaksCannotInjectLines()
{
    SettingsFile ini;
    ini.writeString("s", "k", QString("a\r\n[evil]\nx=1") + QChar(u'\0') + "z");
    ini.writeString("s", "next", "2");
    const SettingsFile reread = SettingsFile::fromBytes(ini.toBytes());
    QCOMPARE(reread.readString("evil", "x", "absent"), QString("absent"));
    QCOMPARE(reread.readString("s", "next", ""), QString("2"));
}

void TestSettingsFile::shiftJisInvalidBytesAndNul()
{
    // 0x89 0xCC is "歌"; 0x89 before CR is a broken character that must not
    // swallow the line break nor spoil what follows.
    const QByteArray bytes = QByteArray("[s]\r\nbroken=a\x89\r\nafter=\x89\xCC\r\nnul=1\r\n")
                             + QByteArray(1, '\0') + "hidden=1\r\n";
    SettingsFile ini = SettingsFile::fromBytes(bytes);
    QCOMPARE(ini.readString("s", "broken", ""), QString("a") + QChar(QChar::ReplacementCharacter));
    QCOMPARE(ini.readString("s", "after", ""), QString("歌"));
    QVERIFY(ini.readBool("s", "nul", false));
    QCOMPARE(ini.readString("s", "hidden", "cut"), QString("cut"));

    // Names are written as Shift-JIS; a value it cannot hold goes whole into the key's twin.
    ini = SettingsFile();
    ini.writeString("節", "歌", QStringLiteral("：😀："));
    QCOMPARE(ini.toBytes(), QByteArray("[\x90\xDF]\r\n\x89\xCC.utf8=%EF%BC%9A%F0%9F%98%80%EF%BC%9A\r\n\r\n"));
}

// Whatever a value holds, it reads back as written: in Shift-JIS as always
// when that holds it, else in the key's twin, percent-encoded UTF-8. A key
// has one form at a time, the new one where the old one stood.
void TestSettingsFile::anyValueReadsBackAsWritten_data()
{
    QTest::addColumn<QByteArray>("before");
    QTest::addColumn<QString>("value");
    QTest::addColumn<QByteArray>("after");  // empty: the plain form exactly when Shift-JIS holds the value

    QTest::newRow("Shift-JIS as always") << QByteArray() << QStringLiteral("歌 = a;b ?100%")
                                         << sjis("[s]\nk=歌 = a;b ?100%\n\n");
    QTest::newRow("a product outside Shift-JIS") << QByteArray() << QStringLiteral("Müller CD-2")
                                                 << QByteArray("[s]\r\nk.utf8=M%C3%BCller%20CD-2\r\n\r\n");
    QTest::newRow("outside the BMP, and the form's own characters")
        << QByteArray() << QStringLiteral("😀 %=;?[]") << QByteArray("[s]\r\nk.utf8=%F0%9F%98%80%20%25%3D%3B%3F%5B%5D\r\n\r\n");
    QTest::newRow("replacement character") << QByteArray() << QString(QChar::ReplacementCharacter)
                                           << QByteArray("[s]\r\nk.utf8=%EF%BF%BD\r\n\r\n");
    QTest::newRow("blanks inside a twin") << QByteArray() << QStringLiteral("한 \t한") << QByteArray("[s]\r\nk.utf8=%ED%95%9C%20%09%ED%95%9C\r\n\r\n");
    QTest::newRow("twin in the plain entries' place") << QByteArray("[s]\r\na=1\r\nK=old\r\nb=2\r\nk=older\r\nc=3\r\n")
                                                      << QStringLiteral("é")
                                                      << QByteArray("[s]\r\na=1\r\nb=2\r\nk.utf8=%C3%A9\r\nc=3\r\n\r\n");
    QTest::newRow("plain in the twin's place") << QByteArray("[s]\r\nk.UTF8=%C3%A9\r\nb=2\r\n") << QStringLiteral("星★")
                                               << sjis("[s]\nk=星★\nb=2\n\n");
    QTest::newRow("twin rewritten in place") << QByteArray("[s]\r\nk.utf8=%C3%A9\r\nb=2\r\n") << QStringLiteral("ü")
                                             << QByteArray("[s]\r\nk.utf8=%C3%BC\r\nb=2\r\n\r\n");

    // Random texts of what the forms could trip over; the ends are no
    // blanks, which a plain entry loses.
    const QStringList pieces{"a", "Z", "0", " ", "?", "%", "%2", "=", ";", "[", "]", "+", "歌", "ｶ", "　", "é", "ü", "한",
                             "★", "😀", "𠮷", QString(QChar::ReplacementCharacter), QString(QChar(0x2028)), "\t"};
    QRandomGenerator random(20240611);
    for (int row = 0; row < 300; ++row) {
        QString value;
        for (int n = int(random.bounded(1, 12)); n > 0; --n)
            value += pieces[random.bounded(int(pieces.size()))];
        if (value.front().unicode() <= 0x20)
            value.front() = u'x';
        if (value.back().unicode() <= 0x20)
            value.back() = u'x';
        QTest::addRow("random %d", row) << QByteArray() << value << QByteArray();
    }
}

void TestSettingsFile::anyValueReadsBackAsWritten()
{
    QFETCH(QByteArray, before);
    QFETCH(QString, value);
    QFETCH(QByteArray, after);
    SettingsFile ini = SettingsFile::fromBytes(before);
    ini.writeString("s", "k", value);
    const QByteArray bytes = ini.toBytes();
    if (!after.isEmpty())
        QCOMPARE(bytes, after);
    else if (Cp932::canEncode(value))
        QCOMPARE(bytes, "[s]\r\nk=" + Cp932::encode(value) + "\r\n\r\n");
    else
        QVERIFY2(bytes.startsWith("[s]\r\nk.utf8=") && bytes.count(' ') == 0 && QString::fromLatin1(bytes) == QString::fromUtf8(bytes),
                 bytes.constData());
    const SettingsFile reread = SettingsFile::fromBytes(bytes);
    QCOMPARE(reread.readString("s", "k", "absent"), value);
    QVERIFY(reread.contains("S", "K"));
}

// A twin written by hand reads as a plain entry would: one line, trimmed.
void TestSettingsFile::handWrittenTwinReadsAsOneLine()
{
    const SettingsFile ini = SettingsFile::fromBytes("[s]\r\nk.utf8=%20a%0D%0Ab%00c%09\r\nbad.utf8=%FF%C3\r\n");
    QCOMPARE(ini.readString("s", "k", ""), QString("a  b c"));
    QCOMPARE(ini.readString("s", "bad", ""), QString(2, QChar::ReplacementCharacter));
}

void TestSettingsFile::badPaths()
{
    QTemporaryDir dir;
    SettingsFile ini;
    writeShutdownKeys(ini);

    // Reading: missing, a folder, no name at all.
    QCOMPARE(SettingsFile::load(dir.filePath("missing.ini")).toBytes(), QByteArray());
    QCOMPARE(SettingsFile::load(dir.path()).toBytes(), QByteArray());
    QCOMPARE(SettingsFile::load(QString()).toBytes(), QByteArray());
    QCOMPARE(readDataFile(dir.path()), defaultDataFileValues());

    // Writing onto a folder or below a plain file fails and harms neither.
    const QString folder = dir.filePath("folder");
    QVERIFY(QDir().mkpath(folder + "/inside"));
    const QString plain = dir.filePath("plain");
    QVERIFY(writeAll(plain, "keep"));
    QVERIFY(!ini.save(folder));
    QVERIFY(!writeDataFile(folder, defaultDataFileValues()));
    QVERIFY(!ini.save(plain + "/Pelora.ini"));
    QVERIFY(!writeDataFile(plain + "/Pelora.dat", defaultDataFileValues()));
    QVERIFY(QFileInfo(folder + "/inside").isDir());
    QCOMPARE(readAll(plain), QByteArray("keep"));
    // A link at their names is not theirs to write through, and is told so.
    QVERIFY(QFile::link(plain, dir.filePath("linked")));
    QString why;
    QVERIFY(!ini.save(dir.filePath("linked"), &why));
    QCOMPARE(why, QStringLiteral("シンボリックリンクです"));
    QVERIFY(!writeDataFile(dir.filePath("linked"), defaultDataFileValues(), &why));
    QCOMPARE(why, QStringLiteral("シンボリックリンクです"));
    QCOMPARE(readAll(plain), QByteArray("keep"));
    QVERIFY(QFile::remove(dir.filePath("linked")));

    // A good save replaces a longer file whole and leaves no temporary behind.
    QVERIFY(writeAll(dir.filePath("good.ini"), QByteArray(5000, 'x')));
    QVERIFY(ini.save(dir.filePath("good.ini")));
    QCOMPARE(readAll(dir.filePath("good.ini")), firstRunFile());
    QStringList left = QDir(dir.path()).entryList(QDir::AllEntries | QDir::NoDotAndDotDot | QDir::Hidden);
    left.sort();
    QCOMPARE(left, QStringList({"folder", "good.ini", "plain"}));

    if (::geteuid() == 0)
        QSKIP("file permissions do not hold back root");
    QVERIFY(QFile::setPermissions(plain, QFile::WriteOwner));
    QCOMPARE(SettingsFile::load(plain).toBytes(), QByteArray());
    QCOMPARE(readDataFile(plain), defaultDataFileValues());
    const QString locked = dir.filePath("locked");
    QVERIFY(QDir().mkpath(locked));
    QVERIFY(writeAll(locked + "/Pelora.ini", "old"));
    QVERIFY(QFile::setPermissions(locked, QFile::ReadOwner | QFile::ExeOwner));
    QVERIFY(!ini.save(locked + "/Pelora.ini"));
    QVERIFY(!writeDataFile(locked + "/Pelora.dat", defaultDataFileValues()));
    QCOMPARE(readAll(locked + "/Pelora.ini"), QByteArray("old"));
    QFile::setPermissions(locked, QFile::ReadOwner | QFile::WriteOwner | QFile::ExeOwner);
}

void TestSettingsFile::saveCutShortKeepsTheOldFile()
{
    QTemporaryDir dir;
    QVERIFY(writeAll(dir.filePath("Pelora.ini"), "[Opsion]\r\nplusnum=0\r\n"));
    QVERIFY(writeAll(dir.filePath("Pelora.dat"), "old\r\nold\r\n"));
    // A little over the limit, so that the end goes to the disk in one
    // piece when the file is finished.
    SettingsFile ini;
    ini.writeString("opsion", "TFsize", QString(6000, u'x'));
    const DataFileValues values{QString(6000, u'y'), QStringLiteral(". ")};
    {
        ScopedFileSizeLimit limit(4096);
        QVERIFY(limit.active());
        QVERIFY(!ini.save(dir.filePath("Pelora.ini")));
        QVERIFY(!writeDataFile(dir.filePath("Pelora.dat"), values));
    }
    QCOMPARE(readAll(dir.filePath("Pelora.ini")), QByteArray("[Opsion]\r\nplusnum=0\r\n"));
    QCOMPARE(readAll(dir.filePath("Pelora.dat")), QByteArray("old\r\nold\r\n"));
    QStringList left = QDir(dir.path()).entryList(QDir::Files | QDir::Hidden);
    left.sort();
    QCOMPARE(left, QStringList({"Pelora.dat", "Pelora.ini"}));
    // With room again, both are written.
    QVERIFY(ini.save(dir.filePath("Pelora.ini")));
    QVERIFY(writeDataFile(dir.filePath("Pelora.dat"), values));
    QCOMPARE(readDataFile(dir.filePath("Pelora.dat")), values);
}

void TestSettingsFile::largeHostileFile()
{
    // About 50 MB: a million entries over a thousand sections, a 10 MB line,
    // and the real section last. (Broken Shift-JIS is left to the small
    // cases: it sends the codec down its slow path.)
    QByteArray bytes;
    bytes.reserve(52 << 20);
    for (int i = 0; i < 1000000; ++i) {
        if (i % 1000 == 0)
            bytes += "[opsion" + QByteArray::number(i) + "]\r\n";
        bytes += "some.key.number." + QByteArray::number(i) + " = and its fairly long value\r\n";
    }
    bytes += "[Opsion]\r\n" + QByteArray(10 << 20, 'x') + "\r\n[opsion]\r\nModeM=1\r\n";
    QVERIFY(bytes.size() > 50'000'000);

    SettingsFile ini = SettingsFile::fromBytes(bytes);
    QVERIFY(ini.readBool("Opsion", "ModeM", false));
    QCOMPARE(ini.readString("opsion1000", "some.key.number.1500", ""), QString("and its fairly long value"));
    writeShutdownKeys(ini);
    QVERIFY(ini.toBytes().endsWith(sjis("[opsion]\nModeM=0\nartistplus=1\ntsecplus=1\nbackofnum=. \nalldelconf=1\n"
                                        "delconf=1\nplusnum=1\next=1\nacqtag=1\nTFsize=17\nFsize=14\n\n")));
}

void TestSettingsFile::dataFileParse_data()
{
    QTest::addColumn<QByteArray>("bytes");
    QTest::addColumn<QString>("prefix");
    QTest::addColumn<QString>("suffix");

    const DataFileValues def = defaultDataFileValues();
    QTest::newRow("empty") << QByteArray() << def.artistPrefix << def.numberSuffix;
    QTest::newRow("one line") << QByteArray("abc") << QString("abc") << def.numberSuffix;
    QTest::newRow("one empty line") << QByteArray("\r\n") << QString() << def.numberSuffix;
    QTest::newRow("spaces kept") << sjis("  歌： \n\t. \t\nignored\n") << QString("  歌： ") << QString("\t. \t");
    QTest::newRow("CR CR LF is two breaks") << QByteArray("a\r\r\nb") << QString("a") << QString();
    QTest::newRow("LF and CR") << QByteArray("a\nb\rc") << QString("a") << QString("b");
    QTest::newRow("NUL ends the text") << QByteArray("a\0b\r\nc\r\n", 8) << QString("a") << def.numberSuffix;
    QTest::newRow("broken Shift-JIS") << QByteArray("\x89\r\n\xFF\r\n") << QString(QChar::ReplacementCharacter)
                                     << QString(QChar::ReplacementCharacter);
}

void TestSettingsFile::dataFileParse()
{
    QFETCH(QByteArray, bytes);
    QFETCH(QString, prefix);
    QFETCH(QString, suffix);
    const DataFileValues values = parseDataFile(bytes);
    QCOMPARE(values.artistPrefix, prefix);
    QCOMPARE(values.numberSuffix, suffix);
}

void TestSettingsFile::dataFileRoundTrip()
{
    QTemporaryDir dir;
    const QString path = dir.filePath("Pelora.dat");
    QCOMPARE(readDataFile(path), defaultDataFileValues());
    QVERIFY(writeDataFile(path, defaultDataFileValues()));
    QCOMPARE(readAll(path), QByteArray("  \x89\xCC\x81\x46\r\n. \r\n"));  // "  歌：", ". "

    const DataFileValues odd{" \t 前 ", ""};
    QVERIFY(writeDataFile(path, odd));
    QCOMPARE(readDataFile(path), odd);

    // What Shift-JIS cannot hold makes the file UTF-8, after its mark.
    const DataFileValues hangul{QStringLiteral("  노래："), QStringLiteral("★ ")};
    QVERIFY(writeDataFile(path, hangul));
    QCOMPARE(readAll(path), QByteArray("\xEF\xBB\xBF  \xEB\x85\xB8\xEB\x9E\x98\xEF\xBC\x9A\r\n\xE2\x98\x85 \r\n"));
    QCOMPARE(readDataFile(path), hangul);

    // A line break in a value must not push the suffix out of its line.
    QVERIFY(writeDataFile(path, {"a\r\nb", "c"}));
    QCOMPARE(readDataFile(path).numberSuffix, QString("c"));
}

void TestSettingsFile::configDirectory()
{
    const QByteArray savedConfig = qgetenv("PELORA_CONFIG_DIR");
    const QByteArray savedXdg = qgetenv("XDG_CONFIG_HOME");
    QTemporaryDir dir;
    const QString nested = dir.filePath("a/b");
    qputenv("PELORA_CONFIG_DIR", nested.toLocal8Bit());
    const QString overridden = ::configDirectory();
    const QString ini = settingsFilePath();
    const QString dat = dataFilePath();

    // Without the override: the program's own folder when writable, else the
    // XDG configuration folder.
    qunsetenv("PELORA_CONFIG_DIR");
    qputenv("XDG_CONFIG_HOME", dir.path().toLocal8Bit());
    const QString fallback = ::configDirectory();
    qputenv("PELORA_CONFIG_DIR", savedConfig);
    if (savedXdg.isNull())
        qunsetenv("XDG_CONFIG_HOME");
    else
        qputenv("XDG_CONFIG_HOME", savedXdg);

    QCOMPARE(overridden, nested);
    QVERIFY(QFileInfo(nested).isDir());
    QCOMPARE(ini, nested + "/Pelora.ini");
    QCOMPARE(dat, nested + "/Pelora.dat");
    const QString appDir = QCoreApplication::applicationDirPath();
    QCOMPARE(fallback, QFileInfo(appDir).isWritable() ? appDir : dir.filePath("pelora"));
}

PELORA_CORE_TEST_MAIN(TestSettingsFile)
#include "tst_settingsfile.moc"
