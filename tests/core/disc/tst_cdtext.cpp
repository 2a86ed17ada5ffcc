// SPDX-License-Identifier: GPL-3.0-or-later
#include "core/disc/CdText.h"
#include "core/text/TextCodec.h"
#include "support/CoreTestSupport.h"
#include "support/DiscFixtures.h"

#include <QRandomGenerator>

using DiscFixtures::BlockTexts;

namespace {

QByteArray sjis(const char16_t *text) { return Cp932::encode(QString::fromUtf16(text)); }

// "N title / performer" for the disc (0) and each track with text.
QStringList described(const CdTextBlock &block)
{
    QStringList lines;
    const auto add = [&](int number, const CdTextEntry &entry) {
        lines << QStringLiteral("%1 %2 / %3").arg(number).arg(entry.title, entry.performer);
    };
    add(0, block.album);
    for (const auto &[number, entry] : block.tracks)
        add(number, entry);
    return lines;
}

const BlockTexts kEnglish{0x00, 0x09, {"Album", "Song One", "Song Two"}, {"Band", "Band", "Guest"}};
const BlockTexts kJapanese{0x80, 0x69,
                                {sjis(u"アルバム"), sjis(u"①夜明け～"), sjis(u"ｶﾞﾝﾊﾞﾚ 歌")},
                                {sjis(u"楽団"), sjis(u"楽団"), sjis(u"ｹﾞｽﾄ")}};
const QStringList kEnglishLines{"0 Album / Band", "1 Song One / Band", "2 Song Two / Guest"};
const QStringList kJapaneseLines{"0 アルバム / 楽団", "1 ①夜明け～ / 楽団", "2 ｶﾞﾝﾊﾞﾚ 歌 / ｹﾞｽﾄ"};

}  // namespace

class CdTextTest : public QObject
{
    Q_OBJECT
private slots:
    void packCrcIsInvertedCcitt();
    void readsTheBlockOfALanguage_data();
    void readsTheBlockOfALanguage();
    void unreadableBytesSayWhy_data();
    void unreadableBytesSayWhy();
    void languageOfTheRunChoosesTheBlock();
    void randomTextsComeBackWholeOrNotAtAll();
};

void CdTextTest::packCrcIsInvertedCcitt()
{
    // CRC-16 of polynomial 0x1021 from 0, inverted: its check value.
    QCOMPARE(CdTextPackCrc("123456789"), quint16(0xCE3C));
}

void CdTextTest::readsTheBlockOfALanguage_data()
{
    QTest::addColumn<QByteArray>("bytes");
    QTest::addColumn<int>("language");  // QLocale::Language asked for
    QTest::addColumn<int>("languageCode");
    QTest::addColumn<QStringList>("lines");
    QTest::addColumn<int>("damagedPacks");

    const QByteArray both = DiscFixtures::cdTextPacks({kEnglish, kJapanese});
    QTest::newRow("Japanese block of two") << both << int(QLocale::Japanese) << 0x69 << kJapaneseLines << 0;
    QTest::newRow("English block of two") << both << int(QLocale::English) << 0x09 << kEnglishLines << 0;
    QTest::newRow("no German block: the first") << both << int(QLocale::German) << 0x09 << kEnglishLines << 0;
    QTest::newRow("file with its header") << DiscFixtures::withHeader(both) << int(QLocale::Japanese) << 0x69
                                          << kJapaneseLines << 0;
    QTest::newRow("header and a trailing NUL")
        << DiscFixtures::withHeader(both) + '\0' << int(QLocale::English) << 0x09 << kEnglishLines << 0;
    // The next round of a read of the lead-in makes up for a pack lost in the first.
    QTest::newRow("packs read over again") << DiscFixtures::damaged(both, 1) + both << int(QLocale::English) << 0x09
                                           << kEnglishLines << 1;

    const BlockTexts latin{0x00, 0x08, {"\xC9t\xE9", "Caf\xE9"}, {}};
    QTest::newRow("ISO-8859-1") << DiscFixtures::cdTextPacks({latin}) << int(QLocale::German) << 0x08
                                << QStringList{"0 Été / ", "1 Café / "} << 0;
    const BlockTexts tabs{0x00, 0x09, {"A", "Same", "\t", "Other"}, {"P", "\t", "Q", "\t"}};
    QTest::newRow("TAB repeats the previous track") << DiscFixtures::cdTextPacks({tabs}) << int(QLocale::English)
                                                    << 0x09
                                                    << QStringList{"0 A / P", "1 Same / P", "2 Same / Q", "3 Other / Q"}
                                                    << 0;
    const BlockTexts jtabs{0x80, 0x69, {sjis(u"盤"), sjis(u"ｱ"), "\t\t"}, {}};
    QTest::newRow("double TAB in double-byte text") << DiscFixtures::cdTextPacks({jtabs}) << int(QLocale::Japanese)
                                                    << 0x69 << QStringList{"0 盤 / ", "1 ｱ / ", "2 ｱ / "} << 0;

    // Titles: "Album\0Song One\0Song Two\0" in packs 0-2. Losing pack 1
    // loses the strings it holds part of; the others stay.
    const QByteArray english = DiscFixtures::cdTextPacks({kEnglish});
    QTest::newRow("bad CRC in the middle of a string")
        << DiscFixtures::damaged(english, 1) << int(QLocale::English) << 0x09
        << QStringList{"0 Album / Band", "1  / Band", "2  / Guest"} << 1;
    QTest::newRow("bad CRC of the first pack")
        << DiscFixtures::damaged(english, 0) << int(QLocale::English) << 0x09
        << QStringList{"0  / Band", "1  / Band", "2 Song Two / Guest"} << 1;
    // Without size info the language is not known, and double-byte text is MS-JIS.
    QTest::newRow("no size info") << english.first(english.size() - 3 * 18) << int(QLocale::English) << 0
                                  << kEnglishLines << 0;
    const QByteArray japanese = DiscFixtures::cdTextPacks({kJapanese});
    QTest::newRow("no size info, double-byte") << japanese.first(japanese.size() - 3 * 18) << int(QLocale::Japanese)
                                               << 0 << kJapaneseLines << 0;
}

void CdTextTest::readsTheBlockOfALanguage()
{
    QFETCH(QByteArray, bytes);
    QFETCH(int, language);
    QFETCH(int, languageCode);
    QFETCH(QStringList, lines);
    QFETCH(int, damagedPacks);
    CdTextUnreadable why{};
    const auto data = ReadCdText(bytes, &why);
    QVERIFY(data);
    const CdTextBlock &block = data->blockFor(QLocale::Language(language));
    QCOMPARE(block.languageCode, languageCode);
    QCOMPARE(described(block), lines);
    QCOMPARE(data->damagedPacks, damagedPacks);
}

void CdTextTest::unreadableBytesSayWhy_data()
{
    QTest::addColumn<QByteArray>("bytes");
    QTest::addColumn<int>("why");
    const QByteArray english = DiscFixtures::cdTextPacks({kEnglish});
    QByteArray allBad = english;
    for (int i = 0; i < english.size() / 18; ++i)
        allBad = DiscFixtures::damaged(allBad, i);
    QTest::newRow("nothing") << QByteArray() << int(CdTextUnreadable::NoPacks);
    QTest::newRow("less than a pack") << english.first(17) << int(CdTextUnreadable::NoPacks);
    QTest::newRow("header alone") << DiscFixtures::withHeader({}) << int(CdTextUnreadable::NoPacks);
    QTest::newRow("every CRC wrong") << allBad << int(CdTextUnreadable::AllDamaged);
    QTest::newRow("size info alone") << english.last(3 * 18) << int(CdTextUnreadable::NoText);
    QTest::newRow("empty strings") << DiscFixtures::cdTextPacks({{0x00, 0x09, {"", ""}, {}}})
                                   << int(CdTextUnreadable::NoText);
}

void CdTextTest::unreadableBytesSayWhy()
{
    QFETCH(QByteArray, bytes);
    QFETCH(int, why);
    CdTextUnreadable reason{};
    QVERIFY(!ReadCdText(bytes, &reason));
    QCOMPARE(int(reason), why);
    // Each reason has its own words.
    QSet<QString> texts;
    for (const auto each : {CdTextUnreadable::NoPacks, CdTextUnreadable::AllDamaged, CdTextUnreadable::NoText})
        texts.insert(CdTextReason(each));
    QCOMPARE(texts.size(), 3);
}

void CdTextTest::languageOfTheRunChoosesTheBlock()
{
    QCOMPARE(CdTextLanguageFor(Translation::Language::Japanese), QLocale::Japanese);
    QCOMPARE(CdTextLanguageFor(Translation::Language::English), QLocale::English);
}

void CdTextTest::randomTextsComeBackWholeOrNotAtAll()
{
    // Texts of every kind the codes hold, through the packs and back; then
    // with one pack broken, every text is its own or missing, never spliced.
    QRandomGenerator random(20260214);
    const QString japanese = QStringLiteral("あア漢字①～ｱｶﾞﾟ ｰ髙ABC123");
    const QString latin = QStringLiteral("AbcÉéüß 09-!");
    for (int run = 0; run < 300; ++run) {
        std::vector<BlockTexts> made;
        std::vector<std::pair<QStringList, QStringList>> texts;
        const int blocks = 1 + random.bounded(3);
        const int tracks = 1 + random.bounded(run % 10 == 0 ? 99 : 12);
        for (int b = 0; b < blocks; ++b) {
            const bool sj = random.bounded(2) == 1;
            const QString &alphabet = sj ? japanese : latin;
            BlockTexts block{sj ? 0x80 : 0x00, sj ? 0x69 : 0x09 + b, {}, {}};
            QStringList titles;
            QStringList performers;
            for (int t = 0; t <= tracks; ++t) {
                QString title;
                QString performer;
                for (int n = 1 + random.bounded(20); n > 0; --n)
                    title += alphabet[random.bounded(int(alphabet.size()))];
                for (int n = random.bounded(6); n > 0; --n)
                    performer += alphabet[random.bounded(int(alphabet.size()))];
                titles << title;
                performers << performer;
                block.titles << (sj ? Cp932::encode(title) : title.toLatin1());
                block.performers << (sj ? Cp932::encode(performer) : performer.toLatin1());
            }
            made.push_back(block);
            texts.emplace_back(titles, performers);
        }
        const QByteArray packs = DiscFixtures::cdTextPacks(made);
        const int broken = random.bounded(int(packs.size() / 18));
        for (const bool damage : {false, true}) {
            const auto data = ReadCdText(damage ? DiscFixtures::damaged(packs, broken) : packs);
            QVERIFY(data);
            QCOMPARE(data->blocks.size(), std::size_t(blocks));
            for (int b = 0; b < blocks; ++b) {
                const CdTextBlock &block = data->blocks[b];
                QCOMPARE(block.number, b);
                for (int t = 0; t <= tracks; ++t) {
                    const CdTextEntry entry = t == 0 ? block.album : block.track(t);
                    const QString &title = texts[b].first[t];
                    const QString &performer = texts[b].second[t];
                    if (!damage) {
                        QCOMPARE(entry.title, title);
                        QCOMPARE(entry.performer, performer);
                    } else {
                        QVERIFY2(entry.title.isEmpty() || entry.title == title, qPrintable(entry.title));
                        QVERIFY2(entry.performer.isEmpty() || entry.performer == performer, qPrintable(entry.performer));
                    }
                }
            }
        }
    }
}

PELORA_CORE_TEST_MAIN(CdTextTest)
#include "tst_cdtext.moc"
