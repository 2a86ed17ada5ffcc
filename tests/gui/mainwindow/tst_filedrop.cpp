// SPDX-License-Identifier: GPL-3.0-or-later
// Files dropped on the main window: the line each file gives, and the drop
// in both editing modes, over any control.
#include "core/jacket/CoverPicture.h"
#include "core/intake/DropLines.h"
#include "core/intake/PlayMp3.h"
#include "gui/widgets/ListRows.h"
#include "gui/widgets/ItemListBox.h"
#include "gui/widgets/LineNumbers.h"
#include "gui/widgets/Memo.h"
#include "gui/mainwindow/MainWindow.h"
#include "support/MainWindowFixture.h"

#include "core/intake/AudioFixtures.h"

#include <QAction>
#include <QDir>
#include <QLineEdit>
#include <QMimeData>
#include <QProcess>
#include <QPushButton>
#include <QScrollBar>

namespace {

QString runTool(const QString &program, const QStringList &args)
{
    QProcess process;
    process.start(program, args);
    if (!process.waitForFinished(60000) || process.exitCode() != 0)
        return program + QStringLiteral(" failed (install it with scripts/install-deps.sh): ") + process.errorString();
    return {};
}

QMimeData *urlsOf(const QStringList &paths)
{
    auto *data = new QMimeData;
    QList<QUrl> urls;
    for (const QString &path : paths)
        urls << QUrl::fromLocalFile(path);
    data->setUrls(urls);
    return data;
}

// Sends a file manager's drag enter and drop to a widget of the window.
bool dropOn(QWidget *widget, const QStringList &paths)
{
    std::unique_ptr<QMimeData> data(urlsOf(paths));
    const QPointF at(5, 5);
    QDragEnterEvent enter(at.toPoint(), Qt::CopyAction, data.get(), Qt::LeftButton, Qt::NoModifier);
    QApplication::sendEvent(widget, &enter);
    if (!enter.isAccepted())
        return false;
    QDropEvent drop(at, Qt::CopyAction, data.get(), Qt::LeftButton, Qt::NoModifier);
    QApplication::sendEvent(widget, &drop);
    return drop.isAccepted();
}

}  // namespace

class FileDropTest : public QObject
{
    Q_OBJECT
private slots:
    void initTestCase();
    void cleanupTestCase() { vbmp3_free(); }
    void init() { QVERIFY(m_window.start()); }
    void cleanup()
    {
        m_window.stop();
        // The window stopped the tag component; the line tests need it.
        vbmp3_init();
    }

    void formatsPlayingTimes_data();
    void formatsPlayingTimes();
    void nameLines_data();
    void nameLines();
    void tagLinesFollowTheOptions_data();
    void tagLinesFollowTheOptions();
    void everyFormatGivesItsTagLine_data();
    void everyFormatGivesItsTagLine();
    void dropAppendsInTheGivenOrderAndKeepsTheSelection();
    void dropInEditorModeFollowsTheLastLine();
    void dropsOverAnyControlAreFileDrops();
    void otherDragsAreNotFileDrops();
    void albumArtBecomesTheCover_data();
    void albumArtBecomesTheCover();

private:
    QString file(const QString &name) const { return m_files.filePath(name); }
    QTemporaryDir m_files;
    MainWindowFixture m_window;
};

void FileDropTest::initTestCase()
{
    const QString tone = file(QStringLiteral("tone.wav"));
    QString failure = runTool(QStringLiteral("sox"), {"-n", "-r", "22050", "-c", "1", tone, "synth", "3.2", "sine", "440"});
    QVERIFY2(failure.isEmpty(), qPrintable(failure));
    failure = runTool(QStringLiteral("lame"), {"--quiet", "--tt", "Song", "--ta", "Band", tone, file(QStringLiteral("tagged.mp3"))});
    QVERIFY2(failure.isEmpty(), qPrintable(failure));
    failure = runTool(QStringLiteral("lame"), {"--quiet", tone, file(QStringLiteral("untagged.mp3"))});
    QVERIFY2(failure.isEmpty(), qPrintable(failure));
    failure = runTool(QStringLiteral("lame"), {"--quiet", "--tt", " Blank", "--ta", "Band", tone, file(QStringLiteral("spaced.mp3"))});
    QVERIFY2(failure.isEmpty(), qPrintable(failure));
    QVERIFY(QFile::copy(file(QStringLiteral("tagged.mp3")), file(QStringLiteral("Track.MP3"))));
    TestSupport::writeFile(file(QStringLiteral("x.tar.wav")), "not a wave at all");
    QVERIFY(vbmp3_init() & 0xFF);
}

void FileDropTest::formatsPlayingTimes_data()
{
    QTest::addColumn<int>("seconds");
    QTest::addColumn<QString>("text");
    QTest::newRow("0") << 0 << "00:00";
    QTest::newRow("59") << 59 << "00:59";
    QTest::newRow("60") << 60 << "01:00";
    QTest::newRow("245") << 245 << "04:05";
    QTest::newRow("3599") << 3599 << "59:59";
    QTest::newRow("100 minutes keep their digits") << 6000 << "100:00";
    QTest::newRow("123:45") << 7425 << "123:45";
    QTest::newRow("negative") << -5 << "00:00";
}

void FileDropTest::formatsPlayingTimes()
{
    QFETCH(int, seconds);
    QFETCH(QString, text);
    QCOMPARE(FormatPlayTime(seconds), text);
}

void FileDropTest::nameLines_data()
{
    QTest::addColumn<QString>("path");
    QTest::addColumn<bool>("strip");
    QTest::addColumn<QString>("line");
    QTest::newRow("stripped") << "/music/a.mp3" << true << "a";
    QTest::newRow("kept") << "/music/a.mp3" << false << "a.mp3";
    QTest::newRow("last dot only") << "/m/x.tar.gz" << true << "x.tar";
    QTest::newRow("no dot") << "/m/README" << true << "README";
    QTest::newRow("only a leading dot") << "/home/u/.profile" << true << "";
    QTest::newRow("folder") << "/home/u/アルバム" << true << "アルバム";
    QTest::newRow("folder with final slash") << "/home/u/My.Album/" << false << "My.Album";
    QTest::newRow("root") << "/" << true << "";
    QTest::newRow("dot in a folder name") << "/a.b/c" << true << "c";
}

void FileDropTest::nameLines()
{
    QFETCH(QString, path);
    QFETCH(bool, strip);
    QFETCH(QString, line);
    QCOMPARE(NameLine(path, strip), line);
}

void FileDropTest::tagLinesFollowTheOptions_data()
{
    QTest::addColumn<QString>("name");
    QTest::addColumn<bool>("time");
    QTest::addColumn<bool>("artist");
    QTest::addColumn<QString>("line");
    QTest::newRow("both") << "tagged.mp3" << true << true << "Song  (00:03)  歌：Band";
    QTest::newRow("time only") << "tagged.mp3" << true << false << "Song  (00:03)";
    QTest::newRow("artist only") << "tagged.mp3" << false << true << "Song  歌：Band";
    QTest::newRow("bare title") << "tagged.mp3" << false << false << "Song";
    QTest::newRow("no title, no artist") << "untagged.mp3" << true << true << "untagged  (00:03)  歌：";
    QTest::newRow("title starting with a blank") << "spaced.mp3" << false << true << "spaced  歌：Band";
    QTest::newRow("capital extension") << "Track.MP3" << true << true << "Song  (00:03)  歌：Band";
    // What the library cannot read gives its name line; the whole path is used, however long.
    QTest::newRow("not a wave") << "x.tar.wav" << true << true << "x.tar";
    QTest::newRow("missing") << "missing.mp3" << true << true << "missing";
    QVERIFY(QDir(m_files.path()).mkdir(QStringLiteral("folder.mp3")));
    QTest::newRow("folder") << "folder.mp3" << true << true << "folder";
    const QString deep = QString(200, u'd') + u'/' + QString(120, u'e');
    QVERIFY(QDir(m_files.path()).mkpath(deep));
    QVERIFY(QFile::copy(file(QStringLiteral("tagged.mp3")), file(deep + QStringLiteral("/long.mp3"))));
    QTest::newRow("a long path") << deep + "/long.mp3" << true << true << "Song  (00:03)  歌：Band";
}

void FileDropTest::tagLinesFollowTheOptions()
{
    QFETCH(QString, name);
    QFETCH(bool, time);
    QFETCH(bool, artist);
    QFETCH(QString, line);
    const DropLineOptions options{true, true, time, artist, QStringLiteral("  歌：")};
    QCOMPARE(DropLine(file(name), options), line);
    // With tag reading off every file gives its name line.
    QCOMPARE(DropLine(file(name), {false, false, time, artist, QStringLiteral("  歌：")}), name.section(u'/', -1));
}

// Every format TagLib reads, made by the tools a user has
// (scripts/make-audio-fixtures.sh), under any letter case of its extension.
void FileDropTest::everyFormatGivesItsTagLine_data()
{
    QTest::addColumn<QString>("extension");
    QTest::addColumn<QString>("line");  // all options on
    QTest::newRow("FLAC") << "flac" << "夜明けのうた  (00:02)  歌：Björk";
    QTest::newRow("Ogg Vorbis") << "ogg" << "사랑해요  (00:02)  歌：Beyoncé";
    QTest::newRow("Ogg FLAC") << "oga" << "Ogg FLAC の歌  (00:02)  歌：Motörhead";
    QTest::newRow("Opus") << "opus" << "Song 🎵  (00:02)  歌：小さな楽団";
    QTest::newRow("Speex") << "spx" << "Speex Talk  (00:02)  歌：";
    QTest::newRow("AAC") << "m4a" << "AAC の曲  (00:02)  歌：Sigur Rós";
    QTest::newRow("ALAC") << "m4b" << "Apple Lossless 曲  (00:02)  歌：Sigur Rós";
    QTest::newRow("WMA") << "wma" << "Windows の曲  (00:02)  歌：楽団";
    QTest::newRow("AIFF") << "aiff" << "AIFF の歌  (00:02)  歌：Artist";
    QTest::newRow("AIFF-C") << "aifc" << "AIFF の歌  (00:02)  歌：Artist";
    QTest::newRow("WavPack") << "wv" << "WavPack 曲  (00:02)  歌：APE Artist";
    QTest::newRow("Musepack") << "mpc" << "Musepack 曲  (00:01)  歌：APE Artist";
    QTest::newRow("Monkey's Audio") << "ape" << "Monkey の曲  (00:02)  歌：APE Artist";
    QTest::newRow("TrueAudio") << "tta" << "TTA の曲  (00:02)  歌：TTA Artist";
    QTest::newRow("MP2") << "mp2" << "MP2 の曲  (00:01)  歌：MP2 Artist";
}

void FileDropTest::everyFormatGivesItsTagLine()
{
    QFETCH(QString, extension);
    QFETCH(QString, line);
    const QString fixture = TestSupport::dataPath(QStringLiteral("audio/fixture.") + extension);
    const DropLineOptions all{true, true, true, true, QStringLiteral("  歌：")};
    for (const QString &name : {QStringLiteral("t.") + extension, QStringLiteral("T.") + extension.toUpper()}) {
        QFile::remove(file(name));
        QVERIFY(QFile::copy(fixture, file(name)));
        QCOMPARE(DropLine(file(name), all), line);
        QCOMPARE(DropLine(file(name), {true, true, false, false, {}}), line.section(QStringLiteral("  ("), 0, 0));
        QCOMPARE(DropLine(file(name), {false, true, true, true, {}}), name.section(u'.', 0, 0));
    }
    // The extension says it is audio; the content decides how it is read.
    QVERIFY(QFile::copy(fixture, file(QStringLiteral("renamed.") + extension + QStringLiteral(".mp3"))));
    QCOMPARE(DropLine(file(QStringLiteral("renamed.") + extension + QStringLiteral(".mp3")), all), line);
}

void FileDropTest::dropAppendsInTheGivenOrderAndKeepsTheSelection()
{
    TForm1 &form = *m_window.form;
    QStringList rows;
    for (int i = 0; i < 60; ++i)
        rows << QStringLiteral("row %1").arg(i);
    form.ListBox1->setItems(rows);
    QCoreApplication::processEvents();
    ListRows::select(form.ListBox1, std::vector<bool>{false, true, true});
    form.ListBox1->verticalScrollBar()->setValue(10);
    form.WMDropFiles({file(QStringLiteral("untagged.mp3")), file(QStringLiteral("tagged.mp3")), file(QStringLiteral("x.tar.wav"))});
    const QStringList items = form.ListBox1->items();
    QCOMPARE(items.size(), 63);
    QCOMPARE(items.mid(60), (QStringList{"untagged  (00:03)  歌：", "Song  (00:03)  歌：Band", "x.tar"}));
    QCOMPARE(ListRows::selectedRows(form.ListBox1), (std::vector<int>{1, 2}));
    QCOMPARE(form.ListBox1->verticalScrollBar()->value(), 10);
    QCOMPARE(form.MemoNum->shownNumbers().first(), QStringLiteral("11"));

    // The quick options are read at each drop.
    form.AcqTag->trigger();
    form.n1->trigger();
    form.WMDropFiles({file(QStringLiteral("tagged.mp3"))});
    QCOMPARE(form.ListBox1->items().last(), QStringLiteral("tagged.mp3"));
}

void FileDropTest::dropInEditorModeFollowsTheLastLine()
{
    TForm1 &form = *m_window.form;
    form.ToEditorMode();
    form.Memo1->setPlainText(QStringLiteral("first\nsecond"));
    form.EditTi->setFocus();
    TagPlus.AddArtist = false;
    form.WMDropFiles({file(QStringLiteral("tagged.mp3"))});
    QCOMPARE(form.Memo1->toPlainText(), QStringLiteral("first\nsecond\nSong  (00:03)\n"));
    QCOMPARE(form.MemoNum->shownNumbers(), (QStringList{"1", "2", "3", "4"}));
    QTRY_VERIFY(form.Memo1->hasFocus());
}

void FileDropTest::dropsOverAnyControlAreFileDrops()
{
    TForm1 &form = *m_window.form;
    QVERIFY(dropOn(form.EditTi, {file(QStringLiteral("a.txt"))}));
    QVERIFY(dropOn(form.ListBox1->viewport(), {file(QStringLiteral("b.txt"))}));
    QVERIFY(dropOn(form.Button1, {file(QStringLiteral("c.txt"))}));
    QCOMPARE(form.ListBox1->items(), (QStringList{"a", "b", "c"}));
    QCOMPARE(form.EditTi->text(), QString());
    form.ToEditorMode();
    QVERIFY(dropOn(form.Memo1->viewport(), {file(QStringLiteral("d.txt"))}));
    QCOMPARE(form.Memo1->toPlainText(), QStringLiteral("a\nb\nc\nd\n"));
}

void FileDropTest::otherDragsAreNotFileDrops()
{
    TForm1 &form = *m_window.form;
    QMimeData text;
    text.setText(QStringLiteral("just text"));
    QDragEnterEvent enter(QPoint(5, 5), Qt::CopyAction, &text, Qt::LeftButton, Qt::NoModifier);
    QApplication::sendEvent(form.ListBox1->viewport(), &enter);
    QVERIFY(!enter.isAccepted());
    // Web addresses are no files either.
    QMimeData web;
    web.setUrls({QUrl(QStringLiteral("https://example.org/song.mp3"))});
    QDragEnterEvent webEnter(QPoint(5, 5), Qt::CopyAction, &web, Qt::LeftButton, Qt::NoModifier);
    QApplication::sendEvent(form.ListBox1->viewport(), &webEnter);
    QVERIFY(!webEnter.isAccepted());
    QCOMPARE(form.ListBox1->count(), 0);
}

// A drop on a jacket without a picture takes the first front cover in drop
// order, else the first picture; the quick option turns that off, and a
// jacket's own picture stays. Picture files themselves give name lines.
void FileDropTest::albumArtBecomesTheCover_data()
{
    QTest::addColumn<QStringList>("dropped");
    QTest::addColumn<bool>("option");
    QTest::addColumn<QString>("before");  // the jacket's picture before the drop
    QTest::addColumn<QString>("after");
    QTest::newRow("a later front cover") << QStringList{"back.mp3", "flac.flac"} << true << "" << "flac.jpg";
    QTest::newRow("no front cover") << QStringList{"noart.mp3", "back.mp3", "plain.mp3"} << true << "" << "back.jpg";
    QTest::newRow("front among others") << QStringList{"mp3.mp3"} << true << "" << "mp3.jpg";
    QTest::newRow("option off") << QStringList{"flac.flac"} << false << "" << "";
    QTest::newRow("own picture stays") << QStringList{"flac.flac"} << true << "m4a.png" << "m4a.png";
    QTest::newRow("a picture file") << QStringList{"flac.jpg"} << true << "" << "";
    // A front cover that does not decode whole gives way to the next picture.
    const QDir art(QStringLiteral(PELORA_TEST_DATA_DIR "/audio/art"));
    const QByteArray jpeg = TestSupport::pictureBytes("JPEG", QSize(64, 64));
    TestSupport::writeFile(file("cut.mp3"), AudioFixtures::id3v2(3, {{"APIC", 0, AudioFixtures::apic(3, jpeg.first(jpeg.size() * 2 / 3))},
                                                                  {"APIC", 0, AudioFixtures::apic(0, TestSupport::readFile(art.filePath("mp2.png")))}})
                                                + TestSupport::readFile(art.filePath("plain.mp3")));
    QTest::newRow("a cut-off front cover") << QStringList{file("cut.mp3")} << true << "" << "mp2.png";
}

void FileDropTest::albumArtBecomesTheCover()
{
    QFETCH(QStringList, dropped);
    QFETCH(bool, option);
    QFETCH(QString, before);
    QFETCH(QString, after);
    const QDir art(QStringLiteral(PELORA_TEST_DATA_DIR "/audio/art"));
    const auto picture = [&](const QString &name) {
        return name.isEmpty() ? CoverPicture() : *CoverPicture::fromBytes(TestSupport::readFile(art.filePath(name)));
    };
    TForm1 &form = *m_window.form;
    form.CoverArtMe->setChecked(option);
    form.SetCover(picture(before));
    QStringList paths;
    for (const QString &name : dropped)
        paths << art.filePath(name);
    QVERIFY(dropOn(form.ListBox1, paths));
    QCOMPARE(form.ListBox1->count(), dropped.size());
    QVERIFY(JacketCover == picture(after));
}

PELORA_TEST_MAIN(FileDropTest)
#include "tst_filedrop.moc"
