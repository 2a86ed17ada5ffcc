// SPDX-License-Identifier: GPL-3.0-or-later
// Looking a disc up on MusicBrainz and fetching its cover from the Cover Art
// Archive, against a server on 127.0.0.1 that replays recorded answers
// (tests/data/musicbrainz); the releases read from them and the lines they
// make; the user's consent and the services' addresses in the settings.
#include "core/lookup/CoverArt.h"
#include "core/lookup/LookupSettings.h"
#include "core/lookup/MusicBrainz.h"
#include "core/lookup/RateGate.h"
#include "core/lookup/ReleaseLines.h"
#include "core/settings/SettingsFile.h"
#include "support/CoreTestSupport.h"
#include "support/ReplayServer.h"

#include <QElapsedTimer>
#include <QRegularExpression>

using namespace std::chrono_literals;

namespace {

const QString kDiscId = QStringLiteral("Xq3bT0vN9mRk2LwE7pYs_uHc4Jd-");
const QString kToc = QStringLiteral("1 7 164900 150 22460 45120 70315 95400 118760 140230");
// The disc's own lengths, a second or so off MusicBrainz's.
const QList<int> kSeconds{296, 302, 335, 334, 311, 286, 329};
const QByteArray kDiscPath = "/ws/2/discid/" + kDiscId.toLatin1();

const QString kAlbum = QStringLiteral("9bb7b7a0-537a-4dcc-adb8-b2ca24980315");
const QString kBest = QStringLiteral("20cc5fc1-f2cc-48cf-a025-a855573431e2");
const QString kWorldwide = QStringLiteral("cce63f13-24b9-4ed1-958b-a1c783ec7cad");
const QString kLive = QStringLiteral("7457353c-4d35-4e05-b80d-f080814e5d66");

const QStringList kTitles{"灯台の朝", "午後三時の波", "ガラスの貝殻", "潮騒のアトリエ", "ふたりの防波堤", "夕凪", "星降る港"};
const QString kMinato = QStringLiteral("青葉ミナト");
const QString kDuet = QStringLiteral("青葉ミナト & 白石ソラ");

QByteArray recorded(const QString &name) { return TestSupport::readFile(TestSupport::dataPath(QStringLiteral("musicbrainz/") + name)); }

DiscQuery disc() { return DiscQuery{kDiscId, kToc, kSeconds}; }

QList<Release> releasesIn(const QString &file)
{
    return MusicBrainzReleases::parse(recorded(file), kDiscId, kSeconds.size()).value_or(QList<Release>());
}

// A port of 127.0.0.1 that nothing listens on.
quint16 closedPort()
{
    QTcpServer server;
    server.listen(QHostAddress::LocalHost, 0);
    return server.serverPort();
}

// Starts the lookup and waits for its one answer.
MusicBrainzAnswer lookUp(MusicBrainzLookup &lookup, const DiscQuery &query)
{
    QSignalSpy spy(&lookup, &MusicBrainzLookup::finished);
    lookup.start(query);
    if (!spy.wait(5000))
        qFatal("the lookup gave no answer");
    return spy.takeFirst().at(0).value<MusicBrainzAnswer>();
}

CoverArtAnswer fetch(CoverArtFetch &fetch, const QString &releaseId)
{
    QSignalSpy spy(&fetch, &CoverArtFetch::finished);
    fetch.start(releaseId);
    if (!spy.wait(5000))
        qFatal("the cover fetch gave no answer");
    return spy.takeFirst().at(0).value<CoverArtAnswer>();
}

QStringList idsOf(const QList<Release> &releases)
{
    QStringList ids;
    for (const Release &release : releases)
        ids << release.id;
    return ids;
}

}  // namespace

class LookupTest : public QObject
{
    Q_OBJECT
private slots:
    void initTestCase();
    void gateTurns_data();
    void gateTurns();
    void gateSpacesRequests_data();
    void gateSpacesRequests();
    void requestNamesDiscAndProgram();
    void requestUrl_data();
    void requestUrl();
    void answers_data();
    void answers();
    void releaseAndMedium_data();
    void releaseAndMedium();
    void jacketLines_data();
    void jacketLines();
    void cancel_data();
    void cancel();
    void cover_data();
    void cover();
    void consent_data();
    void consent();
    void consentInSettingsFile();
    void baseFrom_data();
    void baseFrom();
    void baseFromEnvironmentAndSettings();

private:
    RateGate m_noGate{0ms};
};

void LookupTest::initTestCase()
{
    // Qt's network stack starts on the first request: done here, so that
    // the gate's timing is not thrown off by it.
    ReplayServer server;
    server.answer(kDiscPath, {200, recorded(QStringLiteral("none.json"))});
    MusicBrainzLookup lookup;
    lookup.setBaseUrl(server.url());
    lookup.setRateGate(&m_noGate);
    QCOMPARE(lookUp(lookup, disc()).outcome, LookupOutcome::NoneFound);
}

void LookupTest::gateTurns_data()
{
    QTest::addColumn<QStringList>("hosts");
    QTest::addColumn<QList<int>>("atMs");     // when each asks
    QTest::addColumn<QList<int>>("waitsMs");  // how long each waits

    QTest::newRow("one host, at once") << QStringList{"a", "a", "a"} << QList<int>{0, 0, 0} << QList<int>{0, 1000, 2000};
    QTest::newRow("two hosts") << QStringList{"a", "b", "a", "b"} << QList<int>{0, 0, 0, 10} << QList<int>{0, 0, 1000, 990};
    QTest::newRow("letter case aside") << QStringList{"MusicBrainz.org", "musicbrainz.org"} << QList<int>{0, 0} << QList<int>{0, 1000};
    QTest::newRow("a turn booked ahead") << QStringList{"a", "a", "a"} << QList<int>{0, 400, 2500} << QList<int>{0, 600, 0};
    QTest::newRow("just at its turn") << QStringList{"a", "a"} << QList<int>{0, 1000} << QList<int>{0, 0};
    QTest::newRow("a millisecond early") << QStringList{"a", "a"} << QList<int>{0, 999} << QList<int>{0, 1};
}

void LookupTest::gateTurns()
{
    QFETCH(QStringList, hosts);
    QFETCH(QList<int>, atMs);
    QFETCH(QList<int>, waitsMs);
    std::chrono::steady_clock::time_point now{};
    RateGate gate(1s, [&now] { return now; });
    QList<int> waits;
    for (qsizetype i = 0; i < hosts.size(); ++i) {
        now = std::chrono::steady_clock::time_point(std::chrono::milliseconds(atMs[i]));
        waits << int(gate.book(hosts[i]).count());
    }
    QCOMPARE(waits, waitsMs);
}

void LookupTest::gateSpacesRequests_data()
{
    QTest::addColumn<int>("intervalMs");
    QTest::newRow("no interval") << 0;
    QTest::newRow("300 ms") << 300;
}

void LookupTest::gateSpacesRequests()
{
    QFETCH(int, intervalMs);
    // A disc and a cover asked for at once: both services are on one host here.
    ReplayServer server;
    server.answer(kDiscPath, {200, recorded(QStringLiteral("none.json"))});
    server.answer("/release/" + kAlbum.toLatin1() + "/front-500", {404});
    RateGate gate{std::chrono::milliseconds(intervalMs)};
    MusicBrainzLookup lookup;
    lookup.setBaseUrl(server.url());
    lookup.setRateGate(&gate);
    CoverArtFetch cover;
    cover.setBaseUrl(server.url());
    cover.setRateGate(&gate);
    QSignalSpy discDone(&lookup, &MusicBrainzLookup::finished);
    QSignalSpy coverDone(&cover, &CoverArtFetch::finished);
    lookup.start(disc());
    cover.start(kAlbum);
    QTRY_COMPARE_WITH_TIMEOUT(discDone.size() + coverDone.size(), 2, 5000);
    QCOMPARE(server.requests().size(), 2);
    const qint64 gap = server.requests()[1].receivedMs - server.requests()[0].receivedMs;
    // Each request's way to the server takes a few milliseconds of its own.
    if (intervalMs > 0)
        QVERIFY2(gap >= intervalMs - 30, qPrintable(QString::number(gap)));
    else
        QVERIFY2(gap < 150, qPrintable(QString::number(gap)));
}

void LookupTest::requestNamesDiscAndProgram()
{
    ReplayServer server;
    server.answer(kDiscPath, {200, recorded(QStringLiteral("one-release.json"))});
    MusicBrainzLookup lookup;
    lookup.setBaseUrl(server.url());
    lookup.setRateGate(&m_noGate);
    QCOMPARE(lookUp(lookup, disc()).outcome, LookupOutcome::Found);
    QCOMPARE(server.requests().size(), 1);
    const ReplayServer::Request &request = server.requests()[0];
    QCOMPARE(request.method, "GET");
    QCOMPARE(request.path, kDiscPath);
    QCOMPARE(request.query, "toc=1+7+164900+150+22460+45120+70315+95400+118760+140230&inc=recordings+artist-credits&fmt=json");
    QCOMPARE(request.headers.value("accept"), "application/json");
    QCOMPARE(request.headers.value("user-agent"), WebLookup::userAgent());
    QVERIFY2(QRegularExpression(QStringLiteral("^Pelora/" PELORA_VERSION " \\( https?://\\S+ \\)$")).match(QString::fromLatin1(WebLookup::userAgent())).hasMatch(),
             WebLookup::userAgent().constData());
}

void LookupTest::requestUrl_data()
{
    QTest::addColumn<QString>("base");
    QTest::addColumn<QString>("discId");
    QTest::addColumn<QString>("toc");
    QTest::addColumn<QString>("url");

    const QString tail = QStringLiteral("?toc=1+7+164900+150+22460+45120+70315+95400+118760+140230&inc=recordings+artist-credits&fmt=json");
    QTest::newRow("the real service") << "https://musicbrainz.org" << kDiscId << kToc << "https://musicbrainz.org/ws/2/discid/" + kDiscId + tail;
    QTest::newRow("a mirror under a path") << "http://127.0.0.1:5000/mb/" << kDiscId << kToc << "http://127.0.0.1:5000/mb/ws/2/discid/" + kDiscId + tail;
    QTest::newRow("no disc id: by the TOC alone") << "https://musicbrainz.org" << "../../x" << kToc << "https://musicbrainz.org/ws/2/discid/-" + tail;
    QTest::newRow("a TOC with a track too few") << "https://musicbrainz.org" << kDiscId << "1 7 164900 150 22460 45120 70315 95400 118760"
                                                << "https://musicbrainz.org/ws/2/discid/" + kDiscId + "?inc=recordings+artist-credits&fmt=json";
    QTest::newRow("a TOC with words") << "https://musicbrainz.org" << kDiscId << "1 1 9000 150&fmt=xml"
                                      << "https://musicbrainz.org/ws/2/discid/" + kDiscId + "?inc=recordings+artist-credits&fmt=json";
    QTest::newRow("a one-track TOC, spaced twice") << "https://musicbrainz.org" << kDiscId << " 1  1 9000 150 "
                                                   << "https://musicbrainz.org/ws/2/discid/" + kDiscId + "?toc=1+1+9000+150&inc=recordings+artist-credits&fmt=json";
}

void LookupTest::requestUrl()
{
    QFETCH(QString, base);
    QFETCH(QString, discId);
    QFETCH(QString, toc);
    QFETCH(QString, url);
    QCOMPARE(MusicBrainzLookup::requestUrl(QUrl(base), DiscQuery{discId, toc, {}}).toString(QUrl::FullyEncoded), url);
}

void LookupTest::answers_data()
{
    QTest::addColumn<QString>("file");  // the answer's body; "closed": no server
    QTest::addColumn<int>("status");
    QTest::addColumn<int>("delayMs");
    QTest::addColumn<LookupOutcome>("outcome");
    QTest::addColumn<QStringList>("ids");
    QTest::addColumn<QString>("reason");  // "…" at its end: the start of the reason

    const QString none = QStringLiteral("MusicBrainz にこのディスクは登録されていません。");
    QTest::newRow("one release") << "one-release.json" << 200 << 0 << LookupOutcome::Found << QStringList{kAlbum} << "";
    QTest::newRow("three releases") << "several-releases.json" << 200 << 0 << LookupOutcome::Found << QStringList{kAlbum, kBest, kWorldwide} << "";
    QTest::newRow("by the TOC: the release without a 7-track medium left out")
        << "fuzzy.json" << 200 << 0 << LookupOutcome::Found << QStringList{kLive} << "";
    QTest::newRow("by the TOC: none") << "none.json" << 200 << 0 << LookupOutcome::NoneFound << QStringList() << none;
    QTest::newRow("unknown disc id, no TOC match") << "not-found.json" << 404 << 0 << LookupOutcome::NoneFound << QStringList() << none;
    QTest::newRow("rate limited") << "rate-limited.json" << 503 << 0 << LookupOutcome::Refused << QStringList()
                                  << "MusicBrainz が問い合わせを断りました（HTTP 503）。しばらく待ってからもう一度試してください。";
    QTest::newRow("bad request") << "not-found.json" << 400 << 0 << LookupOutcome::Refused << QStringList()
                                 << "MusicBrainz が問い合わせを断りました（HTTP 400）。";
    QTest::newRow("too slow") << "one-release.json" << 200 << 3000 << LookupOutcome::TimedOut << QStringList()
                              << "MusicBrainz から 0.25 秒待っても答えがありません。";
    QTest::newRow("cut short") << "cut-short.json" << 200 << 0 << LookupOutcome::Unreadable << QStringList() << "MusicBrainz の答えを読めません（…";
    QTest::newRow("no list of releases") << "not-found.json" << 200 << 0 << LookupOutcome::Unreadable << QStringList()
                                         << "MusicBrainz の答えを読めません（リリースの一覧がありません）。";
    QTest::newRow("nobody listening") << "closed" << 0 << 0 << LookupOutcome::Unreachable << QStringList() << "MusicBrainz に接続できません（…";
}

void LookupTest::answers()
{
    QFETCH(QString, file);
    QFETCH(int, status);
    QFETCH(int, delayMs);
    QFETCH(LookupOutcome, outcome);
    QFETCH(QStringList, ids);
    QFETCH(QString, reason);
    ReplayServer server;
    MusicBrainzLookup lookup;
    lookup.setRateGate(&m_noGate);
    lookup.setTimeout(250ms);
    if (file == QLatin1String("closed")) {
        lookup.setBaseUrl(QUrl(QStringLiteral("http://127.0.0.1:%1").arg(closedPort())));
    } else {
        server.answer(kDiscPath, {status, recorded(file), "application/json", {}, std::chrono::milliseconds(delayMs)});
        lookup.setBaseUrl(server.url());
    }
    const MusicBrainzAnswer answer = lookUp(lookup, disc());
    QCOMPARE(answer.outcome, outcome);
    QCOMPARE(idsOf(answer.releases), ids);
    QCOMPARE(answer.httpStatus, outcome == LookupOutcome::TimedOut ? 0 : status);
    if (reason.endsWith(u'…')) {
        QVERIFY2(answer.reason.startsWith(reason.chopped(1)) && answer.reason.endsWith(QStringLiteral("）。"))
                     && answer.reason.size() > reason.size() + 2,
                 qPrintable(answer.reason));
    } else {
        QCOMPARE(answer.reason, reason);
    }
    QVERIFY(!lookup.isRunning());
}

void LookupTest::releaseAndMedium_data()
{
    QTest::addColumn<QString>("file");
    QTest::addColumn<int>("index");
    QTest::addColumn<QString>("id");
    QTest::addColumn<QString>("title");
    QTest::addColumn<QString>("artist");
    QTest::addColumn<QString>("countryAndDate");
    QTest::addColumn<QString>("medium");  // position/count, by id or by tracks, title, format
    QTest::addColumn<int>("frontCover");  // -1 unknown
    QTest::addColumn<QStringList>("titles");
    QTest::addColumn<QStringList>("artists");

    const QStringList artists{kMinato, kMinato, kMinato, kMinato, kDuet, kMinato, kMinato};
    QTest::newRow("the album") << "one-release.json" << 0 << kAlbum << "潮騒のアトリエ" << kMinato << "JP 2019-08-21" << "1/1 id  CD" << 1
                               << kTitles << artists;
    // Its first medium has seven tracks too: the disc id decides.
    QTest::newRow("the best-of's second disc") << "several-releases.json" << 1 << kBest << "青葉ミナト ベスト 2015-2024" << kMinato
                                               << "JP 2024-03-06" << "2/2 id 潮騒のアトリエ CD" << 1 << kTitles << artists;
    const QString aoba = QStringLiteral("Minato Aoba");
    QTest::newRow("credited names, join phrase, no cover")
        << "several-releases.json" << 2 << kWorldwide << "Shiosai no Atelier" << aoba << "XW 2020" << "1/1 id  Digital Media" << 0
        << QStringList{"Lighthouse Morning", "Waves at Three", "Glass Shells", "Shiosai no Atelier", "Our Breakwater", "Evening Calm", "Harbour of Falling Stars"}
        << QStringList{aoba, aoba, aoba, aoba, "Minato Aoba feat. Sora Shiraishi", aoba, aoba};
    QTest::newRow("by the TOC: the medium with seven tracks")
        << "fuzzy.json" << 0 << kLive << "Live at 港の見える丘 2022" << kMinato << "JP 2022-12-14" << "2/2 tracks  CD" << 1
        << QStringList{"午後三時の波 (Live)", "ガラスの貝殻 (Live)", "潮騒のアトリエ (Live)", "ふたりの防波堤 (Live)", "星降る港 (Live)", "アンコール", "またね (Live)"}
        << QStringList{kMinato, kMinato, kMinato, kDuet, kMinato, kMinato, kMinato};
}

void LookupTest::releaseAndMedium()
{
    QFETCH(QString, file);
    QFETCH(int, index);
    QFETCH(QString, id);
    QFETCH(QString, title);
    QFETCH(QString, artist);
    QFETCH(QString, countryAndDate);
    QFETCH(QString, medium);
    QFETCH(int, frontCover);
    QFETCH(QStringList, titles);
    QFETCH(QStringList, artists);
    const QList<Release> releases = releasesIn(file);
    QVERIFY(index < releases.size());
    const Release &release = releases[index];
    QCOMPARE(release.id, id);
    QCOMPARE(release.title, title);
    QCOMPARE(release.artist, artist);
    QCOMPARE(release.country + u' ' + release.date, countryAndDate);
    QCOMPARE(QStringLiteral("%1/%2 %3 %4 %5")
                 .arg(release.mediumPosition)
                 .arg(release.mediumCount)
                 .arg(release.matchedByDiscId ? QStringLiteral("id") : QStringLiteral("tracks"), release.mediumTitle, release.mediumFormat),
             medium);
    QCOMPARE(release.frontCover.has_value() ? int(*release.frontCover) : -1, frontCover);
    QStringList gotTitles, gotArtists;
    for (const ReleaseTrack &track : release.tracks) {
        gotTitles << track.title;
        gotArtists << track.artist;
    }
    QCOMPARE(gotTitles, titles);
    QCOMPARE(gotArtists, artists);
}

void LookupTest::jacketLines_data()
{
    QTest::addColumn<QString>("file");
    QTest::addColumn<int>("index");
    QTest::addColumn<QList<int>>("seconds");
    QTest::addColumn<bool>("plainFormat");  // "title|seconds|artist" instead of the drop's line
    QTest::addColumn<QString>("title");
    QTest::addColumn<QStringList>("lines");

    QTest::newRow("the drop's lines: the artist only where it differs")
        << "one-release.json" << 0 << kSeconds << false << "潮騒のアトリエ"
        << QStringList{"灯台の朝  (04:56)", "午後三時の波  (05:02)", "ガラスの貝殻  (05:35)", "潮騒のアトリエ  (05:34)",
                       "ふたりの防波堤  (05:11)  歌：青葉ミナト & 白石ソラ", "夕凪  (04:46)", "星降る港  (05:29)"};
    QTest::newRow("what the caller's format gets")
        << "one-release.json" << 0 << kSeconds << true << "潮騒のアトリエ"
        << QStringList{"灯台の朝|296|", "午後三時の波|302|", "ガラスの貝殻|335|", "潮騒のアトリエ|334|", "ふたりの防波堤|311|青葉ミナト & 白石ソラ",
                       "夕凪|286|", "星降る港|329|"};
    QTest::newRow("fewer lengths than tracks") << "one-release.json" << 0 << QList<int>{61, -1} << true << "潮騒のアトリエ"
                                               << QStringList{"灯台の朝|61|", "午後三時の波|-|", "ガラスの貝殻|-|", "潮騒のアトリエ|-|",
                                                              "ふたりの防波堤|-|青葉ミナト & 白石ソラ", "夕凪|-|", "星降る港|-|"};
    QTest::newRow("the best-of's second disc") << "several-releases.json" << 1 << kSeconds << true << "青葉ミナト ベスト 2015-2024"
                                               << QStringList{"灯台の朝|296|", "午後三時の波|302|", "ガラスの貝殻|335|", "潮騒のアトリエ|334|",
                                                              "ふたりの防波堤|311|青葉ミナト & 白石ソラ", "夕凪|286|", "星降る港|329|"};
}

void LookupTest::jacketLines()
{
    QFETCH(QString, file);
    QFETCH(int, index);
    QFETCH(QList<int>, seconds);
    QFETCH(bool, plainFormat);
    QFETCH(QString, title);
    QFETCH(QStringList, lines);
    const QList<Release> releases = releasesIn(file);
    QVERIFY(index < releases.size());
    const TrackLineFormat plain = [](const QString &track, std::optional<int32_t> length, const QString &artist) {
        return track + u'|' + (length ? QString::number(*length) : QStringLiteral("-")) + u'|' + artist;
    };
    const ReleaseText text = plainFormat ? releaseText(releases[index], seconds, plain) : releaseText(releases[index], seconds);
    QCOMPARE(text.title, title);
    QCOMPARE(text.lines, lines);
}

void LookupTest::cancel_data()
{
    QTest::addColumn<bool>("sent");
    QTest::newRow("waiting for its turn") << false;
    QTest::newRow("waiting for the answer") << true;
}

void LookupTest::cancel()
{
    QFETCH(bool, sent);
    ReplayServer server;
    server.answer(kDiscPath, {200, recorded(QStringLiteral("one-release.json")), "application/json", {}, 3s});
    RateGate gate(10s);
    if (!sent)
        gate.book(server.url().host());
    MusicBrainzLookup lookup;
    lookup.setBaseUrl(server.url());
    lookup.setRateGate(&gate);
    QSignalSpy done(&lookup, &MusicBrainzLookup::finished);
    lookup.start(disc());
    if (sent)
        QVERIFY(QSignalSpy(&server, &ReplayServer::requestReceived).wait(5000));
    QVERIFY(lookup.isRunning());
    lookup.abort();
    QCOMPARE(done.size(), 1);
    const auto answer = done.takeFirst().at(0).value<MusicBrainzAnswer>();
    QCOMPARE(answer.outcome, LookupOutcome::Cancelled);
    QCOMPARE(answer.reason, QStringLiteral("問い合わせを取り消しました。"));
    QVERIFY(answer.releases.isEmpty());
    QVERIFY(!lookup.isRunning());
    QCOMPARE(server.requests().size(), sent ? 1 : 0);
    // Aborting again reports nothing more.
    lookup.abort();
    QCOMPARE(done.size(), 0);
}

void LookupTest::cover_data()
{
    QTest::addColumn<QString>("releaseId");
    QTest::addColumn<int>("status");          // the archive's answer
    QTest::addColumn<QByteArray>("picture");  // on the host it redirects to; empty: no redirect
    QTest::addColumn<LookupOutcome>("outcome");
    QTest::addColumn<QStringList>("paths");   // asked for, in order
    QTest::addColumn<QString>("reason");      // CoverPictureOf's; empty: a cover picture

    const QByteArray jpeg = TestSupport::pictureBytes("JPEG", QSize(50, 50));
    const QString front = QStringLiteral("/release/%1/front-500").arg(kAlbum);
    const QString noCover = QStringLiteral("Cover Art Archive にこのリリースの表紙の画像はありません。");
    QTest::newRow("through a redirect") << kAlbum << 307 << jpeg << LookupOutcome::Found << QStringList{front, "/images/front-500.jpg"} << "";
    QTest::newRow("no front cover") << kAlbum << 404 << QByteArray() << LookupOutcome::NoneFound << QStringList{front} << noCover;
    QTest::newRow("not a picture") << kAlbum << 307 << QByteArray("<html><body>Moved</body></html>") << LookupOutcome::Found
                                   << QStringList{front, "/images/front-500.jpg"}
                                   << "Cover Art Archive の画像を使えません（JPEG、PNG、WebP、BMP、GIF のどの画像でもありません）。";
    QTest::newRow("busy") << kAlbum << 503 << QByteArray() << LookupOutcome::Refused << QStringList{front}
                          << "Cover Art Archive が問い合わせを断りました（HTTP 503）。しばらく待ってからもう一度試してください。";
    QTest::newRow("no MBID: nothing asked") << "../../../ws/2" << 0 << QByteArray() << LookupOutcome::NoneFound << QStringList() << noCover;
}

void LookupTest::cover()
{
    QFETCH(QString, releaseId);
    QFETCH(int, status);
    QFETCH(QByteArray, picture);
    QFETCH(LookupOutcome, outcome);
    QFETCH(QStringList, paths);
    QFETCH(QString, reason);
    ReplayServer server;
    const QByteArray front = "/release/" + releaseId.toLatin1() + "/front-500";
    const QByteArray image = "/images/front-500.jpg";
    server.answer(front, {status, QByteArray(), "text/plain", status == 307 ? server.url().toEncoded() + image : QByteArray()});
    server.answer(image, {200, picture, "image/jpeg"});
    CoverArtFetch cover;
    cover.setBaseUrl(server.url());
    cover.setRateGate(&m_noGate);
    const CoverArtAnswer answer = fetch(cover, releaseId);
    QCOMPARE(answer.outcome, outcome);
    QCOMPARE(answer.bytes, outcome == LookupOutcome::Found ? picture : QByteArray());
    QCOMPARE(answer.httpStatus, status == 307 ? 200 : status);
    QStringList asked;
    for (const ReplayServer::Request &request : server.requests()) {
        asked << QString::fromLatin1(request.path);
        QCOMPARE(request.headers.value("user-agent"), WebLookup::userAgent());
    }
    QCOMPARE(asked, paths);
    QString why;
    const std::optional<CoverPicture> cover500 = CoverPictureOf(answer, &why);
    QCOMPARE(cover500.has_value(), reason.isEmpty());
    QCOMPARE(why, reason);
    if (cover500)
        QCOMPARE(cover500->suffix(), QStringLiteral("jpg"));
}

void LookupTest::consent_data()
{
    QTest::addColumn<QByteArray>("before");
    QTest::addColumn<LookupConsent>("read");
    QTest::addColumn<LookupConsent>("written");
    QTest::addColumn<QByteArray>("after");

    const QByteArray other = "[Opsion]\r\nmarks=crop\r\n\r\n";
    QTest::newRow("unasked: not written") << other << LookupConsent::Unasked << LookupConsent::Unasked << other;
    QTest::newRow("allowed") << other << LookupConsent::Unasked << LookupConsent::Allowed << QByteArray("[Opsion]\r\nmarks=crop\r\nlookup=yes\r\n\r\n");
    QTest::newRow("refused") << QByteArray() << LookupConsent::Unasked << LookupConsent::Refused << QByteArray("[Opsion]\r\nlookup=no\r\n\r\n");
    QTest::newRow("allowed, then refused") << QByteArray("[Opsion]\r\nlookup=yes\r\n") << LookupConsent::Allowed << LookupConsent::Refused
                                           << QByteArray("[Opsion]\r\nlookup=no\r\n\r\n");
    QTest::newRow("refused, then unasked again") << QByteArray("[opsion]\r\nLookup=no\r\n") << LookupConsent::Refused << LookupConsent::Unasked
                                                 << QByteArray("[opsion]\r\nlookup=ask\r\n\r\n");
    QTest::newRow("junk reads as unasked") << QByteArray("[Opsion]\r\nlookup=1\r\n") << LookupConsent::Unasked << LookupConsent::Allowed
                                           << QByteArray("[Opsion]\r\nlookup=yes\r\n\r\n");
}

void LookupTest::consent()
{
    QFETCH(QByteArray, before);
    QFETCH(LookupConsent, read);
    QFETCH(LookupConsent, written);
    QFETCH(QByteArray, after);
    SettingsFile file = SettingsFile::fromBytes(before);
    QCOMPARE(LookupSettings::readConsent(file), read);
    LookupSettings::writeConsent(file, written);
    QCOMPARE(file.toBytes(), after);
    QCOMPARE(LookupSettings::readConsent(file), written);
}

void LookupTest::consentInSettingsFile()
{
    ScopedConfigDir config;
    QCOMPARE(LookupSettings::consent(), LookupConsent::Unasked);
    QString why;
    QVERIFY2(LookupSettings::saveConsent(LookupConsent::Allowed, &why), qPrintable(why));
    QCOMPARE(LookupSettings::consent(), LookupConsent::Allowed);
    QCOMPARE(TestSupport::readFile(config.filePath(QStringLiteral("Pelora.ini"))), QByteArray("[Opsion]\r\nlookup=yes\r\n\r\n"));
}

void LookupTest::baseFrom_data()
{
    QTest::addColumn<QString>("environment");
    QTest::addColumn<QString>("setting");
    QTest::addColumn<QString>("base");

    const QString fallback = QStringLiteral("https://musicbrainz.org");
    QTest::newRow("neither") << "" << "" << fallback;
    QTest::newRow("the environment first") << "http://127.0.0.1:8080" << "https://mirror.example.org/mb" << "http://127.0.0.1:8080";
    QTest::newRow("the setting") << "" << "https://mirror.example.org/mb" << "https://mirror.example.org/mb";
    QTest::newRow("no web address in the environment") << "ftp://mirror.example.org" << " https://mirror.example.org " << "https://mirror.example.org";
    QTest::newRow("no host") << "https://" << "mirror.example.org" << fallback;
}

void LookupTest::baseFrom()
{
    QFETCH(QString, environment);
    QFETCH(QString, setting);
    QFETCH(QString, base);
    QCOMPARE(LookupSettings::baseFrom(environment, setting, LookupSettings::kMusicBrainzDefault).toString(), base);
}

void LookupTest::baseFromEnvironmentAndSettings()
{
    ScopedConfigDir config;
    TestSupport::writeFile(config.filePath(QStringLiteral("Pelora.ini")),
                           "[Opsion]\r\nmburl=https://mb.example.org\r\ncaaurl=https://caa.example.org\r\n");
    const QByteArray musicBrainz = qgetenv("PELORA_MUSICBRAINZ_URL");
    const QByteArray coverArt = qgetenv("PELORA_COVERART_URL");
    qputenv("PELORA_MUSICBRAINZ_URL", "http://127.0.0.1:7");
    qunsetenv("PELORA_COVERART_URL");
    const QUrl mbBase = MusicBrainzLookup().baseUrl();
    const QUrl caaBase = CoverArtFetch().baseUrl();
    qputenv("PELORA_MUSICBRAINZ_URL", musicBrainz);
    qputenv("PELORA_COVERART_URL", coverArt);
    QCOMPARE(mbBase, QUrl(QStringLiteral("http://127.0.0.1:7")));
    QCOMPARE(caaBase, QUrl(QStringLiteral("https://caa.example.org")));
}

PELORA_CORE_TEST_MAIN(LookupTest)
#include "tst_lookup.moc"
