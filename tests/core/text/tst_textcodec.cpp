// SPDX-License-Identifier: GPL-3.0-or-later
#include "core/text/TextCodec.h"
#include "core/text/TextDetect.h"
#include "core/text/TextLines.h"
#include "support/CoreTestSupport.h"

class TextCodecTest : public QObject
{
    Q_OBJECT
private slots:
    void encodesWindowsCodePage932_data();
    void encodesWindowsCodePage932();
    void reportsAndReplacesWhatCannotBeHeld();
    void decodesInvalidBytesAsReplacementCharacters();
    void everyCharacterSurvivesARoundTrip();
    void splitsLines_data();
    void splitsLines();
    void textEndsAtTheFirstNul();
    void detectsTheEncodingOfUndeclaredBytes_data();
    void detectsTheEncodingOfUndeclaredBytes();
};

void TextCodecTest::encodesWindowsCodePage932_data()
{
    QTest::addColumn<QString>("text");
    QTest::addColumn<QByteArray>("bytes");
    QTest::newRow("song prefix") << QStringLiteral("  歌：") << QByteArray("\x20\x20\x89\xCC\x81\x46");
    QTest::newRow("wave dash as Windows maps it") << QStringLiteral("～") << QByteArray("\x81\x60");
    QTest::newRow("NEC circled digit") << QStringLiteral("①") << QByteArray("\x87\x40");
    QTest::newRow("IBM extension kanji") << QStringLiteral("髙") << QByteArray("\xFB\xFC");
    QTest::newRow("half-width katakana") << QStringLiteral("ｱｲ") << QByteArray("\xB1\xB2");
    QTest::newRow("backslash stays one byte") << QStringLiteral("a\\b") << QByteArray("a\\b");
    QTest::newRow("full-width minus") << QStringLiteral("－") << QByteArray("\x81\x7C");
    QTest::newRow("control codes stay themselves") << QStringLiteral("a\x1A\x1C\x7F\tb") << QByteArray("a\x1A\x1C\x7F\tb");
}

void TextCodecTest::encodesWindowsCodePage932()
{
    QFETCH(QString, text);
    QFETCH(QByteArray, bytes);
    QCOMPARE(Cp932::encode(text), bytes);
    QCOMPARE(Cp932::decode(bytes), text);
    QVERIFY(Cp932::canEncode(text));
}

void TextCodecTest::reportsAndReplacesWhatCannotBeHeld()
{
    const QString emoji = QStringLiteral("曲😀名");
    QCOMPARE(Cp932::firstUnencodable(emoji), 1);
    QCOMPARE(Cp932::encode(emoji), QByteArray("\x8B\xC8?\x96\xBC"));
    QCOMPARE(Cp932::firstUnencodable(QStringLiteral("한국어")), 0);
    QCOMPARE(Cp932::encode(QStringLiteral("a한b")), QByteArray("a?b"));
    // After a character that fails, the rest is encoded as before, control
    // codes included.
    QCOMPARE(Cp932::encode(QStringLiteral("😀歌\x7F\x1A")), QByteArray("?\x89\xCC\x7F\x1A"));
    QCOMPARE(Cp932::firstUnencodable(QStringLiteral("plain ascii")), -1);
    // Held means coming back as itself: the converter drops U+FEFF and
    // turns "¬" into "￢" without a word.
    QCOMPARE(Cp932::firstUnencodable(QStringLiteral("a\uFEFFb")), 1);
    QCOMPARE(Cp932::firstUnencodable(QStringLiteral("x¬")), 1);
    QCOMPARE(Cp932::firstUnencodable(QStringLiteral("x￢")), -1);
}

void TextCodecTest::decodesInvalidBytesAsReplacementCharacters()
{
    // A lone lead byte at the end, an undefined single byte, then good text.
    QCOMPARE(Cp932::decode(QByteArray("a\x81")), QStringLiteral("a\uFFFD"));
    QCOMPARE(Cp932::decode(QByteArray("x\xA0\x81\x40y")), QStringLiteral("x\uFFFD\u3000y"));
    // A lead byte followed by a byte that cannot be a trail byte: the second
    // byte is kept as itself.
    QCOMPARE(Cp932::decode(QByteArray("\x82" "A" "\x82\xA0")), QStringLiteral("\uFFFDAあ"));
    // Control codes read the same with or without a broken byte elsewhere.
    QCOMPARE(Cp932::decode(QByteArray("\x1A\x1C\x7F\xFF")), QStringLiteral("\x1A\x1C\x7F\uFFFD"));
}

void TextCodecTest::everyCharacterSurvivesARoundTrip()
{
    int characters = 0;
    for (int lead = 0x81; lead <= 0xFC; ++lead) {
        if (lead > 0x9F && lead < 0xE0)
            continue;
        for (int trail = 0x40; trail <= 0xFC; ++trail) {
            if (trail == 0x7F)
                continue;
            const char unit[2] = {char(lead), char(trail)};
            const QString text = Cp932::decode(QByteArrayView(unit, 2));
            if (text.contains(QChar::ReplacementCharacter))
                continue;
            ++characters;
            QVERIFY2(Cp932::canEncode(text), qPrintable(QString::number(lead * 256 + trail, 16)));
            QCOMPARE(Cp932::decode(Cp932::encode(text)), text);
        }
    }
    // JIS X 0208 with the NEC and IBM extensions and the user area.
    QVERIFY2(characters > 7900, qPrintable(QString::number(characters)));
}

void TextCodecTest::splitsLines_data()
{
    QTest::addColumn<QString>("text");
    QTest::addColumn<QStringList>("lines");
    QTest::newRow("empty") << QString() << QStringList();
    QTest::newRow("no break") << QStringLiteral("a") << QStringList{"a"};
    QTest::newRow("final break starts no line") << QStringLiteral("a\r\n") << QStringList{"a"};
    QTest::newRow("two final breaks") << QStringLiteral("a\r\n\r\n") << QStringList{"a", ""};
    QTest::newRow("only a break") << QStringLiteral("\r\n") << QStringList{""};
    QTest::newRow("lone CR and LF") << QStringLiteral("a\rb\nc") << QStringList{"a", "b", "c"};
    QTest::newRow("LF then CR is two breaks") << QStringLiteral("a\n\rb") << QStringList{"a", "", "b"};
}

void TextCodecTest::splitsLines()
{
    QFETCH(QString, text);
    QFETCH(QStringList, lines);
    QCOMPARE(TextLines::split(text), lines);
}

void TextCodecTest::textEndsAtTheFirstNul()
{
    const QByteArray bytes("title\r\nitem\0ignored\r\nmore", 25);
    QCOMPARE(TextLines::fromFileBytes(bytes), (QStringList{"title", "item"}));
    QCOMPARE(TextLines::fromFileBytes(QByteArray("\0abc", 4)), QStringList());
    QCOMPARE(TextLines::toFileBytes({"T", "A", "", "B"}), QByteArray("T\r\nA\r\n\r\nB\r\n"));
    QCOMPARE(TextLines::toFileBytes({""}), QByteArray("\r\n"));
}

// Bytes that declare no encoding (tags, playlists, cue sheets): the rule
// of TextDetect, case by case.
void TextCodecTest::detectsTheEncodingOfUndeclaredBytes_data()
{
    QTest::addColumn<QByteArray>("bytes");
    QTest::addColumn<bool>("mayBeCut");
    QTest::addColumn<QString>("text");
    QTest::newRow("ASCII") << QByteArray("  Intro ") << false << "  Intro ";
    QTest::newRow("half-width katakana, also valid UTF-8") << QByteArray("\xC4\xB7\xD2\xB7") << false << "ﾄｷﾒｷ";
    QTest::newRow("half-width and full-width, also valid UTF-8") << QByteArray("\xC3\x83\x41") << false << "ﾃア";
    QTest::newRow("half-width katakana") << QByteArray("\xBB\xB8\xD7") << false << "ｻｸﾗ";
    QTest::newRow("Japanese in UTF-8") << QByteArray("\xE6\x97\xA5\xE6\x9C\xAC\xE8\xAA\x9E") << false << "日本語";
    QTest::newRow("Japanese in Shift-JIS") << QByteArray("\x93\xFA\x96\x7B\x8C\xEA") << false << "日本語";
    QTest::newRow("Latin-1") << QByteArray("Bj\xF6rk") << false << "Björk";
    QTest::newRow("Latin-1 whose bytes make a kanji") << QByteArray("P\xE2t\xE9") << false << "Pâté";
    QTest::newRow("UTF-8 Latin") << QByteArray("Bj\xC3\xB6rk") << false << "Björk";
    QTest::newRow("UTF-8 capitals") << QByteArray("MOT\xC3\x96RHEAD") << false << "MOTÖRHEAD";
    QTest::newRow("UTF-8 Cyrillic") << QByteArray("\xD0\x9A\xD0\xB8\xD0\xBD\xD0\xBE") << false << "Кино";
    QTest::newRow("UTF-8 Hangul and emoji") << QByteArray("\xED\x95\x9C \xF0\x9F\x8E\xB5") << false << "한 🎵";
    QTest::newRow("0x5C trail bytes") << QByteArray("\x83\x5C\x94\x5C\x95\x5C") << false << "ソ能表";
    QTest::newRow("byte-order mark") << QByteArray("\xEF\xBB\xBF\xC3\x83" "A") << false << "ÃA";
    QTest::newRow("full field cut inside a kanji") << QByteArray("\x93\xFA\x96\x7B\x8C") << true << "日本";
    QTest::newRow("full field cut inside UTF-8") << QByteArray("\xE6\x97\xA5\xE6\x9C") << true << "日";
    QTest::newRow("Latin-1 letter at the end of a short field") << QByteArray("Caf\xE9") << false << "Café";
}

void TextCodecTest::detectsTheEncodingOfUndeclaredBytes()
{
    QFETCH(QByteArray, bytes);
    QFETCH(bool, mayBeCut);
    QFETCH(QString, text);
    QCOMPARE(TextDetect::decode(bytes, mayBeCut), text);
}

PELORA_CORE_TEST_MAIN(TextCodecTest)
#include "tst_textcodec.moc"
