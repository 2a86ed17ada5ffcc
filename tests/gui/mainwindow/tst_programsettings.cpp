// SPDX-License-Identifier: GPL-3.0-or-later
#include "core/text/TextCodec.h"
#include "gui/widgets/LineNumbers.h"
#include "gui/mainwindow/MainWindow.h"
#include "support/TestSupport.h"

#include <QAction>
#include <QComboBox>
#include <QDir>

class ProgramSettingsTest : public QObject
{
    Q_OBJECT
private slots:
    void firstRunWritesTheDefaults();
    void storedEditorModeOpensInEditorMode();
    void handWrittenLowerCaseSectionIsFound();
    void fontSizeTextsAreKeptAsTyped();
    void settingsChangedInARunAreStoredAtExit();
    void unusableFilesDoNotStopStartOrExit();
};

void ProgramSettingsTest::firstRunWritesTheDefaults()
{
    ScopedConfigDir config;
    const QString ini = config.filePath(QStringLiteral("Pelora.ini"));
    const QString dat = config.filePath(QStringLiteral("Pelora.dat"));
    {
        TForm1 form;
        QVERIFY(QFile::exists(ini));
        QCOMPARE(QFileInfo(ini).size(), 0);
        QVERIFY(!QFile::exists(dat));
        QCOMPARE(TagPlus.ArtistPrefix, QStringLiteral("  歌："));
        QCOMPARE(NumberSuffix, QStringLiteral(". "));
    }
    QCOMPARE(TestSupport::readFile(ini),
             QByteArray("[Opsion]\r\n"
                        "artistplus=1\r\n"
                        "tsecplus=1\r\n"
                        "backofnum=. \r\n"
                        "alldelconf=1\r\n"
                        "delconf=1\r\n"
                        "plusnum=1\r\n"
                        "ext=1\r\n"
                        "acqtag=1\r\n"
                        "ModeM=0\r\n"
                        "TFsize=17\r\n"
                        "Fsize=14\r\n"
                        "\r\n"));
    QCOMPARE(TestSupport::readFile(dat), QByteArray("  \x89\xCC\x81\x46\r\n. \r\n"));
}

void ProgramSettingsTest::storedEditorModeOpensInEditorMode()
{
    ScopedConfigDir config;
    TestSupport::writeFile(config.filePath(QStringLiteral("Pelora.ini")), "[opsion]\r\nModeM=1\r\n");
    TForm1 form;
    QCOMPARE(form.windowTitle(), QStringLiteral("ペロラ - リストモード"));
    form.show();
    QCOMPARE(form.windowTitle(), QStringLiteral("ペロラ - エディタモード"));
    QVERIFY(EditorMode);
    QCOMPARE(form.MemoNum->shownNumbers(), QStringList{"1"});
}

void ProgramSettingsTest::handWrittenLowerCaseSectionIsFound()
{
    ScopedConfigDir config;
    const QString ini = config.filePath(QStringLiteral("Pelora.ini"));
    TestSupport::writeFile(ini, "; my settings\r\n[opsion]\r\ndelconf = 0\r\nmarks=tombo\r\n");
    {
        TForm1 form;
        QVERIFY(!ConfirmDelete);
        QVERIFY(ConfirmDeleteAll);
        QVERIFY(form.MarksDashedMe->isChecked());  // junk reads as the default
    }
    const QByteArray written = TestSupport::readFile(ini);
    QVERIFY2(written.startsWith("[opsion]\r\ndelconf=0\r\nmarks=dashed\r\nartistplus=1\r\ntsecplus=1\r\nbackofnum=. \r\n"), written.constData());
    QVERIFY(!written.contains("my settings"));
    QVERIFY(!written.contains("[Opsion]"));
}

void ProgramSettingsTest::fontSizeTextsAreKeptAsTyped()
{
    ScopedConfigDir config;
    const QString ini = config.filePath(QStringLiteral("Pelora.ini"));
    TestSupport::writeFile(ini, "[Opsion]\r\nTFsize=abc\r\nFsize=\r\nartistplus=0x0\r\ntsecplus=yes\r\n");
    {
        TForm1 form;
        QCOMPARE(form.ComboTFS->currentText(), QStringLiteral("abc"));
        QCOMPARE(form.comboFS->currentText(), QString());
        QVERIFY(!TagPlus.AddArtist);
        QVERIFY(TagPlus.AddTime);
    }
    const QByteArray written = TestSupport::readFile(ini);
    QVERIFY(written.contains("TFsize=abc\r\n"));
    QVERIFY(written.contains("Fsize=\r\n"));
}

void ProgramSettingsTest::settingsChangedInARunAreStoredAtExit()
{
    ScopedConfigDir config;
    {
        TForm1 form;
        form.show();
        form.n1->setChecked(false);
        form.CoverArtMe->setChecked(false);
        form.MarksCropMe->setChecked(true);
        form.ComboTFS->setCurrentText(QStringLiteral("20"));
        TagPlus.ArtistPrefix = QStringLiteral("  by ");
        form.ModeBtnClick();
    }
    {
        TForm1 form;
        QVERIFY(!form.n1->isChecked());
        QVERIFY(!form.CoverArtMe->isChecked());
        QVERIFY(form.MarksCropMe->isChecked());
        QVERIFY(form.AcqTag->isChecked());
        QCOMPARE(form.ComboTFS->currentText(), QStringLiteral("20"));
        QCOMPARE(TagPlus.ArtistPrefix, QStringLiteral("  by "));
        QVERIFY(EditorMode);
    }
}

void ProgramSettingsTest::unusableFilesDoNotStopStartOrExit()
{
    ScopedConfigDir config;
    // Folders where the files should be: nothing can be read or written.
    QVERIFY(QDir(config.path()).mkdir(QStringLiteral("Pelora.ini")));
    QVERIFY(QDir(config.path()).mkdir(QStringLiteral("Pelora.dat")));
    {
        TForm1 form;
        QCOMPARE(form.windowTitle(), QStringLiteral("ペロラ - リストモード"));
        QCOMPARE(TagPlus.ArtistPrefix, QStringLiteral("  歌："));
        QCOMPARE(CurrentFileName, QStringLiteral("無題.plr"));
    }
    QVERIFY(QFileInfo(config.filePath(QStringLiteral("Pelora.ini"))).isDir());
}

PELORA_TEST_MAIN(ProgramSettingsTest)
#include "tst_programsettings.moc"
