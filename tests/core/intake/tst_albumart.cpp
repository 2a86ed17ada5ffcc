// SPDX-License-Identifier: GPL-3.0-or-later
#include "core/intake/AlbumArt.h"
#include "core/intake/PlayMp3.h"

#include "core/intake/AudioFixtures.h"
#include "support/CoreTestSupport.h"

#include <QDir>
#include <QFileInfo>

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <algorithm>
#include <chrono>
#include <future>

using namespace AudioFixtures;

namespace {

// Made by scripts/make-album-art-fixtures.sh.
QString art(const QString &name) { return TestSupport::dataPath("audio/art/" + name); }
QByteArray artBytes(const QString &name) { return TestSupport::readFile(art(name)); }

}  // namespace

class AlbumArtTest : public QObject
{
    Q_OBJECT
private slots:
    void initTestCase();
    void findsTheFrontCoverElseTheFirstPicture_data();
    void findsTheFrontCoverElseTheFirstPicture();
    void givesNothingAtOnceForBadFiles_data();
    void givesNothingAtOnceForBadFiles();

private:
    QString write(const QString &name, const QByteArray &bytes)
    {
        TestSupport::writeFile(m_dir.filePath(name), bytes);
        return m_dir.filePath(name);
    }

    QTemporaryDir m_dir;
    const QByteArray m_mp3 = artBytes("plain.mp3");
    const QByteArray m_huge = QByteArray(kMostAlbumArtBytes + 1, 'x');
};

void AlbumArtTest::initTestCase()
{
    QVERIFY(m_dir.isValid());
    // As in the program: the tag component's text decoders are in place.
    QCOMPARE(vbmp3_init(), 1);
}

void AlbumArtTest::findsTheFrontCoverElseTheFirstPicture_data()
{
    QTest::addColumn<QString>("file");
    QTest::addColumn<QByteArray>("picture");
    QTest::addColumn<bool>("front");

    // NAME.EXT holds NAME.jpg or NAME.png; mp3.mp3 an "other" picture before
    // it; back.mp3 and ape.ape ("Cover Art (Other)") no front cover.
    for (const char *file : {"mp3.mp3", "back.mp3", "mp2.mp2", "tta.tta", "aiff.aiff", "wav.wav", "rmp.rmp", "flac.flac",
                             "oga.oga", "ogg.ogg", "opus.opus", "spx.spx", "m4a.m4a", "wma.wma", "wv.wv", "mpc.mpc", "ape.ape"}) {
        const QString name = QFileInfo(file).completeBaseName();
        const QString picture = name + (QFileInfo::exists(art(name + ".jpg")) ? ".jpg" : ".png");
        QTest::newRow(file) << art(file) << artBytes(picture) << (name != "back" && name != "ape");
    }
    const QByteArray png = artBytes("mp2.png");
    const QByteArray pic = "PNG\x03" "cover" + QByteArray(1, '\0') + png;
    QTest::newRow("ID3v2.2 PIC") << write("v22.mp3", id3v2(2, {{"PIC", 0, pic}}) + m_mp3) << png << true;
    QTest::newRow("the first of two front covers")
        << write("fronts.mp3", id3v2(3, {{"APIC", 0, apic(3, png)}, {"APIC", 0, apic(3, "later")}}) + m_mp3) << png << true;
    QTest::newRow("front cover over the limit, then the first other picture")
        << write("big.mp3", id3v2(3, {{"APIC", 0, apic(3, m_huge)}, {"APIC", 0, apic(0, png)}, {"APIC", 0, apic(0, "later")}}) + m_mp3)
        << png << false;
}

void AlbumArtTest::findsTheFrontCoverElseTheFirstPicture()
{
    QFETCH(QString, file);
    QFETCH(QByteArray, picture);
    QFETCH(bool, front);

    const QList<AlbumArt> found = AlbumArtOf(file);
    QVERIFY(!found.isEmpty());
    QCOMPARE(found.first().bytes, picture);
    QCOMPARE(found.first().frontCover, front);
    // The others follow, for when the first does not decode.
    QVERIFY(std::is_partitioned(found.cbegin(), found.cend(), [](const AlbumArt &a) { return a.frontCover; }));
}

void AlbumArtTest::givesNothingAtOnceForBadFiles_data()
{
    QTest::addColumn<QString>("file");

    const QByteArray tagged = artBytes("mp3.mp3");
    QTest::newRow("no picture") << art("noart.mp3");
    QTest::newRow("cut in half") << write("cut.mp3", tagged.left(tagged.size() / 2));
    QTest::newRow("only a picture over the limit") << write("huge.mp3", id3v2(3, {{"APIC", 0, apic(3, m_huge)}}) + m_mp3);
    QVERIFY(QDir(m_dir.path()).mkdir("folder.mp3"));
    QTest::newRow("folder") << m_dir.filePath("folder.mp3");
    QCOMPARE(::mkfifo(QFile::encodeName(m_dir.filePath("fifo.mp3")).constData(), 0600), 0);
    QTest::newRow("FIFO") << m_dir.filePath("fifo.mp3");
}

void AlbumArtTest::givesNothingAtOnceForBadFiles()
{
    QFETCH(QString, file);

    // Should the read wait on the FIFO, the test plays the writer to free it, and fails.
    auto pending = std::async(std::launch::async, &AlbumArtOf, file);
    const bool blocked = pending.wait_for(std::chrono::seconds(10)) == std::future_status::timeout;
    if (blocked)
        ::close(::open(QFile::encodeName(file).constData(), O_WRONLY | O_NONBLOCK));
    QVERIFY(pending.get().isEmpty());
    QVERIFY2(!blocked, "AlbumArtOf waited");
}

PELORA_CORE_TEST_MAIN(AlbumArtTest)
#include "tst_albumart.moc"
