// SPDX-License-Identifier: GPL-3.0-or-later
#include "core/disc/DiscToc.h"
#include "support/CoreTestSupport.h"

Q_DECLARE_METATYPE(DiscToc)

namespace {

DiscToc toc(std::initializer_list<DiscTocTrack> tracks, int32_t leadOut) { return {tracks, leadOut}; }

}  // namespace

class DiscTocTest : public QObject
{
    Q_OBJECT
private slots:
    void timesAndDiscIds_data();
    void timesAndDiscIds();
    void musicBrainzTocText_data();
    void musicBrainzTocText();
};

void DiscTocTest::timesAndDiscIds_data()
{
    QTest::addColumn<DiscToc>("toc");
    QTest::addColumn<QList<int>>("numbers");  // audio tracks
    QTest::addColumn<QList<int>>("sectors");
    QTest::addColumn<QList<int>>("seconds");
    QTest::addColumn<QString>("mbToc");
    QTest::addColumn<QString>("discId");

    const QString vector = QStringLiteral("1 7 164900 150 22460 50197 80614 100828 133318 144712");
    QTest::newRow("MusicBrainz's example")
        << *DiscToc::fromMusicBrainz(vector) << QList<int>{1, 2, 3, 4, 5, 6, 7}
        << QList<int>{22310, 27737, 30417, 20214, 32490, 11394, 20188}
        << QList<int>{297, 369, 405, 269, 433, 151, 269} << vector << QStringLiteral("ybYRHGr1rfATUisnRFX8rjrtKec-");
    // The audio session ends 11 400 sectors before the data track.
    QTest::newRow("enhanced CD")
        << toc({{1, 0, true}, {2, 20000, true}, {3, 45000, true}, {4, 90000, false}}, 120000)
        << QList<int>{1, 2, 3} << QList<int>{20000, 25000, 33600} << QList<int>{266, 333, 448}
        << QStringLiteral("1 3 78750 150 20150 45150") << QStringLiteral("MpAZrHBpLa09PlH8bK_4ty15jJ0-");
    // A data track first is in the same session: no gap, and in the id.
    QTest::newRow("data track first")
        << toc({{1, 0, false}, {2, 30000, true}, {3, 50000, true}}, 70000) << QList<int>{2, 3}
        << QList<int>{20000, 20000} << QList<int>{266, 266} << QStringLiteral("1 3 70150 150 30150 50150")
        << QStringLiteral("Ipa2Fe2aS89XoYm70Xl6Ks2TAtI-");
    QTest::newRow("data track too close for a session of its own")
        << toc({{1, 0, true}, {2, 11400, false}}, 20000) << QList<int>{1} << QList<int>{11400} << QList<int>{152}
        << QStringLiteral("1 2 20150 150 11550") << QStringLiteral("VlJahISzHeSp6oRQf8ib0OoGQwU-");
    QTest::newRow("data alone") << toc({{1, 0, false}}, 9000) << QList<int>{} << QList<int>{} << QList<int>{}
                                << QStringLiteral("1 1 9150 150") << QStringLiteral("r1evawCKTmifgIr3LNXDHcD32Ow-");
    QTest::newRow("a second short of the next start")
        << toc({{1, 0, true}, {2, 149, true}}, 300) << QList<int>{1, 2} << QList<int>{149, 151}
        << QList<int>{1, 2} << QStringLiteral("1 2 450 150 299") << QStringLiteral("5yPpYJ8SE9ZsYVKUw_1GjGxiRi4-");
    QTest::newRow("starts not rising") << toc({{1, 0, true}, {2, 0, true}}, 300) << QList<int>{} << QList<int>{}
                                       << QList<int>{} << QString() << QString();
    QTest::newRow("lead-out before the last start") << toc({{1, 0, true}, {2, 500, true}}, 500) << QList<int>{}
                                                    << QList<int>{} << QList<int>{} << QString() << QString();
    QTest::newRow("numbers not rising by one") << toc({{1, 0, true}, {3, 500, true}}, 900) << QList<int>{}
                                               << QList<int>{} << QList<int>{} << QString() << QString();
    QTest::newRow("no track") << toc({}, 900) << QList<int>{} << QList<int>{} << QList<int>{} << QString()
                              << QString();
}

void DiscTocTest::timesAndDiscIds()
{
    QFETCH(DiscToc, toc);
    QFETCH(QList<int>, numbers);
    QFETCH(QList<int>, sectors);
    QFETCH(QList<int>, seconds);
    QFETCH(QString, mbToc);
    QFETCH(QString, discId);
    QList<int> gotNumbers;
    QList<int> gotSectors;
    QList<int> gotSeconds;
    for (const DiscAudioTrack &track : DiscAudioTracks(toc)) {
        gotNumbers << track.number;
        gotSectors << track.sectors;
        gotSeconds << track.seconds();
    }
    QCOMPARE(gotNumbers, numbers);
    QCOMPARE(gotSectors, sectors);
    QCOMPARE(gotSeconds, seconds);
    QCOMPARE(MusicBrainzToc(toc), mbToc);
    QCOMPARE(MusicBrainzToc(toc, u'+'), QString(mbToc).replace(u' ', u'+'));
    QCOMPARE(MusicBrainzDiscId(toc), discId);
}

void DiscTocTest::musicBrainzTocText_data()
{
    QTest::addColumn<QString>("text");
    QTest::addColumn<bool>("valid");
    QTest::addColumn<int>("firstStart");
    QTest::newRow("spaces") << QStringLiteral("1 2 900 150 500") << true << 0;
    QTest::newRow("plus signs, as in a URL") << QStringLiteral("1+2+900+150+500") << true << 0;
    QTest::newRow("starting at track 3") << QStringLiteral("3 3 900 300") << true << 150;
    QTest::newRow("a start missing") << QStringLiteral("1 2 900 150") << false << 0;
    QTest::newRow("a start too many") << QStringLiteral("1 1 900 150 500") << false << 0;
    QTest::newRow("last before first") << QStringLiteral("2 1 900 150") << false << 0;
    QTest::newRow("not a number") << QStringLiteral("1 1 9x0 150") << false << 0;
    QTest::newRow("negative") << QStringLiteral("1 1 900 -150") << false << 0;
    QTest::newRow("before the first pause") << QStringLiteral("1 1 900 149") << false << 0;
    QTest::newRow("track 0") << QStringLiteral("0 1 900 150 500") << false << 0;
}

void DiscTocTest::musicBrainzTocText()
{
    QFETCH(QString, text);
    QFETCH(bool, valid);
    QFETCH(int, firstStart);
    const auto toc = DiscToc::fromMusicBrainz(text);
    QCOMPARE(bool(toc), valid);
    if (toc) {
        QCOMPARE(toc->tracks.front().start, firstStart);
        QCOMPARE(MusicBrainzToc(*toc, text.contains(u'+') ? u'+' : u' '), text);
    }
}

PELORA_CORE_TEST_MAIN(DiscTocTest)
#include "tst_disctoc.moc"
