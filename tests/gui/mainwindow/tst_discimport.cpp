// SPDX-License-Identifier: GPL-3.0-or-later
// ファイル → CDから曲目を読み込む from a disc image with Japanese CD-TEXT,
// replacing the jacket or added after it, as one step of its history.
#include "core/disc/DiscSource.h"
#include "core/lookup/LookupSettings.h"
#include "core/text/TextCodec.h"
#include "gui/dialogs/DiscImportDialog.h"
#include "gui/mainwindow/JacketHistory.h"
#include "gui/mainwindow/MainWindow.h"
#include "gui/widgets/ItemListBox.h"
#include "support/DiscFixtures.h"
#include "support/MainWindowFixture.h"
#include "support/ReplayServer.h"

#include <QAction>
#include <QLineEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QScopeGuard>
#include <QTimer>

namespace {

// The import command on `image`, answered in its dialog as a user would.
void importFrom(TForm1 &form, const QString &image, bool append = false)
{
    DialogAnswers dialogs;
    dialogs.answers << image;
    QTimer::singleShot(0, &form, [append] {
        auto *dialog = qobject_cast<TDiscImportForm *>(QApplication::activeModalWidget());
        if (!dialog)
            return;
        dialog->ImageBtn->click();
        (append ? dialog->AppendBtn : dialog->ReplaceBtn)->setChecked(true);
        dialog->OkBtn->click();
    });
    form.ImportCdMe->trigger();
}

}  // namespace

class DiscImportTest : public QObject
{
    Q_OBJECT
private slots:
    void init() { QVERIFY(m_window.start()); }
    void cleanup() { m_window.stop(); }
    void importIsOneStep_data();
    void importIsOneStep();
    void offlineLookupChangesNothing();
    void lookupGivesTheReleaseAndItsCover();

private:
    MainWindowFixture m_window;
};

void DiscImportTest::importIsOneStep_data()
{
    QTest::addColumn<bool>("append");
    QTest::addColumn<QString>("title");
    QTest::addColumn<QStringList>("lines");
    // The disc's performer goes with its title; a track's equal to it is not repeated.
    const QStringList disc{QStringLiteral("曲①  (01:00)"), QStringLiteral("ｶﾅ～  (00:30)  歌：客演")};
    QTest::newRow("replaces") << false << QStringLiteral("盤①  歌：楽団") << disc;
    QTest::newRow("added after the lines") << true << QStringLiteral("Old") << QStringList{"A", "B"} + disc;
}

void DiscImportTest::importIsOneStep()
{
    QFETCH(bool, append);
    QFETCH(QString, title);
    QFETCH(QStringList, lines);
    TForm1 &form = *m_window.form;
    QTemporaryDir folder;
    DiscFixtures::BlockTexts japanese{0x80, 0x69, {}, {}};
    for (const char *text : {"盤①", "曲①", "ｶﾅ～"})
        japanese.titles << Cp932::encode(QString::fromUtf8(text));
    for (const char *text : {"楽団", "楽団", "客演"})
        japanese.performers << Cp932::encode(QString::fromUtf8(text));
    TestSupport::writeFile(folder.filePath(QStringLiteral("disc.cdt")), DiscFixtures::withHeader(DiscFixtures::cdTextPacks({japanese})));
    const QString image = DiscFixtures::writeCueImage(folder.path(), QStringLiteral("disc"), {{75 * 60}, {75 * 30}},
                                                      "CDTEXTFILE \"disc.cdt\"\n");
    form.EditTi->setText(QStringLiteral("Old"));
    form.ListBox1->setItems({"A", "B"});
    form.History->startOver();

    importFrom(form, image, append);
    QCOMPARE(form.EditTi->text(), title);
    QCOMPARE(form.ListBox1->items(), lines);
    form.UndoMe->trigger();
    QCOMPARE(form.EditTi->text(), QStringLiteral("Old"));
    QCOMPARE(form.ListBox1->items(), (QStringList{"A", "B"}));
    QVERIFY(!form.UndoMe->isEnabled());
}

// A disc without CD-TEXT is looked up; MusicBrainz out of reach (the tests'
// address is a closed port): the user is asked first, then told, and the
// jacket stays.
void DiscImportTest::offlineLookupChangesNothing()
{
    TForm1 &form = *m_window.form;
    QTemporaryDir folder;
    const QString image = DiscFixtures::writeCueImage(folder.path(), QStringLiteral("plain"), {{75 * 60}});
    form.EditTi->setText(QStringLiteral("Old"));
    form.History->startOver();
    MessageRecorder messages;
    messages.chooseNext(0);  // 送る
    importFrom(form, image);
    QCOMPARE(messages.texts().size(), 2);
    QVERIFY2(messages.texts()[0].contains(QStringLiteral("MusicBrainz（127.0.0.1）に送ります")), qPrintable(messages.texts()[0]));
    QVERIFY2(messages.texts()[1].contains(QStringLiteral("接続できません")), qPrintable(messages.texts()[1]));
    QVERIFY(form.LookupMe->isChecked());
    QCOMPARE(form.EditTi->text(), QStringLiteral("Old"));
    QVERIFY(!form.UndoMe->isEnabled());
}

// A disc without CD-TEXT, lookups allowed, a server replaying MusicBrainz
// and the Cover Art Archive: the release's title and tracks with the disc's
// own times, and its front cover, in one step.
void DiscImportTest::lookupGivesTheReleaseAndItsCover()
{
    TForm1 &form = *m_window.form;
    QTemporaryDir folder;
    const QString image = DiscFixtures::writeCueImage(folder.path(), QStringLiteral("plain"), std::vector<DiscFixtures::ImageTrack>(7, {75 * 65}));
    ReplayServer server;
    server.answer("/ws/2/discid/" + MusicBrainzDiscId(ReadDiscSource(image)->toc).toLatin1(),
                  {200, TestSupport::readFile(TestSupport::dataPath(QStringLiteral("musicbrainz/one-release.json")))});
    server.answer("/release/9bb7b7a0-537a-4dcc-adb8-b2ca24980315/front-500", {200, TestSupport::solidPng(Qt::red), "image/png"});
    const QByteArray address = server.url().toString().toLatin1();
    qputenv("PELORA_MUSICBRAINZ_URL", address);
    qputenv("PELORA_COVERART_URL", address);
    const auto back = qScopeGuard([] {
        qunsetenv("PELORA_MUSICBRAINZ_URL");
        qunsetenv("PELORA_COVERART_URL");
    });
    QVERIFY(LookupSettings::saveConsent(LookupConsent::Allowed));
    MessageRecorder messages;
    importFrom(form, image);
    QCOMPARE(messages.texts(), QStringList());
    QCOMPARE(form.EditTi->text(), QStringLiteral("潮騒のアトリエ"));
    QCOMPARE(form.ListBox1->count(), 7);
    QCOMPARE(form.ListBox1->items().first(), QStringLiteral("灯台の朝  (01:05)"));
    QVERIFY(!JacketCover.isNull());
    form.UndoMe->trigger();
    QVERIFY(JacketCover.isNull());
    QCOMPARE(form.ListBox1->count(), 0);
}

PELORA_TEST_MAIN(DiscImportTest)
#include "tst_discimport.moc"
