// SPDX-License-Identifier: GPL-3.0-or-later
// Jacket documents: the format, and New, Open, Save and Save As in the
// window, with the file dialogs answered by the test.
#include "core/text/TextCodec.h"
#include "core/jacket/CoverPicture.h"
#include "gui/dialogs/FileDialogs.h"
#include "core/jacket/JacketFiles.h"
#include "core/jacket/JacketDocument.h"
#include "gui/mainwindow/JacketHistory.h"
#include "gui/widgets/ItemListBox.h"
#include "gui/widgets/LineNumbers.h"
#include "gui/widgets/Memo.h"
#include "gui/mainwindow/MainWindow.h"
#include "support/TestSupport.h"

#include <QAction>
#include <QDir>
#include <QLineEdit>

#include <sys/stat.h>

namespace {

using TestSupport::pictureBytes;

// A PNG that says it is 20 000 pixels square: decoding it would take 1.6 GB.
QByteArray hugePngHeader()
{
    QByteArray ihdr("IHDR");
    for (const quint32 side : {20000u, 20000u})
        ihdr += QByteArray::fromHex(QByteArray::number(side, 16).rightJustified(8, '0'));
    ihdr += QByteArray::fromHex("0802000000");
    quint32 crc = 0xFFFFFFFFu;
    for (const char byte : std::as_const(ihdr)) {
        crc ^= quint8(byte);
        for (int bit = 0; bit < 8; ++bit)
            crc = (crc >> 1) ^ (0xEDB88320u & (0u - (crc & 1u)));
    }
    const QByteArray check = QByteArray::fromHex(QByteArray::number(~crc, 16).rightJustified(8, '0'));
    return QByteArray::fromHex("89504E470D0A1A0A0000000D") + ihdr + check + QByteArray::fromHex("0000000049454E44AE426082");
}

// A JPEG whose frame header claims another size than its data holds.
QByteArray jpegClaiming(QSize size)
{
    QByteArray jpeg = pictureBytes("JPEG", QSize(16, 16));
    const qsizetype frame = jpeg.indexOf("\xFF\xC0");
    for (const auto &[at, value] : {std::pair{frame + 5, size.height()}, std::pair{frame + 7, size.width()}}) {
        jpeg[at] = char(value >> 8);
        jpeg[at + 1] = char(value & 0xFF);
    }
    return jpeg;
}

QByteArray twoThirds(const QByteArray &bytes) { return bytes.first(bytes.size() * 2 / 3); }

}  // namespace

class FileCommandsTest : public QObject
{
    Q_OBJECT
private slots:
    void init()
    {
        m_config = std::make_unique<ScopedConfigDir>();
        m_form = std::make_unique<TForm1>();
        m_dir = std::make_unique<QTemporaryDir>();
    }
    void cleanup()
    {
        m_form.reset();
        m_config.reset();
        m_dir.reset();
        ProgramArguments.clear();
    }

    void formatIsShiftJisOrUtf8WithCrLf();
    void readingSplitsEveryKindOfLineEnd_data();
    void readingSplitsEveryKindOfLineEnd();
    void saveInEditorModeCountsLinesLikeTheEditor_data();
    void saveInEditorModeCountsLinesLikeTheEditor();
    void saveAsOffersTheNameAndAddsTheSuffix();
    void saveWritesDirectlyOnceNamed();
    void cancellingChangesNothing();
    void openInBothModes();
    void openErrorsLeaveTheDocument();
    void failedSaveKeepsTheOldFileWhole();
    void coverIsKeptOnlyBesideAPlrName();
    void saveCutShortKeepsTheOldFileWhole();
    void readOnlyFolderIsSavedInPlace();
    void documentsKeepEveryCharacter();
    void commandLineDocumentIsOpenedAtFirstShow();
    void unreadableCommandLineDocumentStartsUntitled();
    void everyCharacterSurvivesSaveAndOpen();
    void coverTravelsWithTheDocument();
    void userPicturesBesideTheDocumentAreNeverTouched();
    void unusablePicturesAreRefused_data();
    void unusablePicturesAreRefused();

private:
    QString path(const QString &name) const { return m_dir->filePath(name); }
    std::unique_ptr<ScopedConfigDir> m_config;
    std::unique_ptr<TForm1> m_form;
    std::unique_ptr<QTemporaryDir> m_dir;
};

void FileCommandsTest::formatIsShiftJisOrUtf8WithCrLf()
{
    QCOMPARE(JacketFormat::toBytes({QStringLiteral("T"), {"A", "", "B"}}), QByteArray("T\r\nA\r\n\r\nB\r\n"));
    QCOMPARE(JacketFormat::toBytes({QString(), {}}), QByteArray("\r\n"));
    QCOMPARE(JacketFormat::toBytes({QStringLiteral("歌"), {QStringLiteral("①")}}), QByteArray("\x89\xCC\r\n\x87\x40\r\n"));
    // A title that would read as the start of a PDF or a PNG is kept as text.
    for (const QString &title : {QStringLiteral("%PDF-1.7 の手引き"), QStringLiteral("臼NG")}) {
        const QByteArray bytes = JacketFormat::toBytes({title, {}});
        QVERIFY(bytes.startsWith("\xEF\xBB\xBF"));
        QCOMPARE(JacketFormat::fromBytes(bytes).value_or(Jacket()).title, title);
    }
    const auto empty = JacketFormat::fromBytes("\r\n");
    QVERIFY(empty);
    QCOMPARE(empty->title, QString());
    QVERIFY(empty->items.isEmpty());
    QVERIFY(!JacketFormat::fromBytes(QByteArray()));
    QVERIFY(!JacketFormat::fromBytes(QByteArray("\0title\r\n", 8)));
    // What Shift-JIS cannot hold: the whole file in UTF-8 after a byte-order mark.
    QCOMPARE(JacketFormat::toBytes({QStringLiteral("한"), {"a", QStringLiteral("😀")}}),
             QByteArray("\xEF\xBB\xBF\xED\x95\x9C\r\na\r\n\xF0\x9F\x98\x80\r\n"));
    // Whatever put a line break into a line, the file keeps one line per item.
    QCOMPARE(JacketFormat::toBytes({QStringLiteral("T\r\nx"), {"a\nb"}}), QByteArray("T  x\r\na b\r\n"));
    // U+FFFD, left by bytes that were no Shift-JIS, stays "?" in Shift-JIS.
    QCOMPARE(JacketFormat::toBytes({QStringLiteral("\uFFFD"), {}}), QByteArray("?\r\n"));
}

void FileCommandsTest::readingSplitsEveryKindOfLineEnd_data()
{
    QTest::addColumn<QByteArray>("bytes");
    QTest::addColumn<QStringList>("items");
    QTest::newRow("CR LF") << QByteArray("T\r\na\r\nb\r\n") << QStringList{"a", "b"};
    QTest::newRow("LF only") << QByteArray("T\na\nb\n") << QStringList{"a", "b"};
    QTest::newRow("CR only") << QByteArray("T\ra\rb") << QStringList{"a", "b"};
    QTest::newRow("LF CR is two breaks") << QByteArray("T\na\n\rb") << QStringList{"a", "", "b"};
    QTest::newRow("broken Shift-JIS kept around") << QByteArray("T\r\n\x82\xA0\xFF\x82\xA2\r\n") << QStringList{QStringLiteral("あ\uFFFDい")};
    QTest::newRow("UTF-8, LF only") << QByteArray("\xEF\xBB\xBFT\na\n\xED\x95\x9C\n") << QStringList{"a", QStringLiteral("한")};
    QTest::newRow("UTF-8, CR and LF CR") << QByteArray("\xEF\xBB\xBFT\ra\n\r\xF0\x9F\x8E\xB5") << QStringList{"a", "", QStringLiteral("🎵")};
}

void FileCommandsTest::readingSplitsEveryKindOfLineEnd()
{
    QFETCH(QByteArray, bytes);
    QFETCH(QStringList, items);
    TestSupport::writeFile(path("in.plr"), bytes);
    MessageRecorder messages;
    QVERIFY(m_form->ReadDocument(path("in.plr")));
    QCOMPARE(m_form->EditTi->text(), QStringLiteral("T"));
    QCOMPARE(m_form->ListBox1->items(), items);
    // Saved again, every line ends in CR LF.
    QVERIFY(m_form->WriteDocument(path("out.plr")));
    QCOMPARE(TestSupport::readFile(path("out.plr")), JacketFormat::toBytes({QStringLiteral("T"), items}));
    QVERIFY(messages.shown().isEmpty());
}

void FileCommandsTest::saveInEditorModeCountsLinesLikeTheEditor_data()
{
    QTest::addColumn<QString>("text");
    QTest::addColumn<QByteArray>("bytes");
    QTest::newRow("no final break") << QStringLiteral("a\nb") << QByteArray("T\r\na\r\nb\r\n");
    QTest::newRow("final break") << QStringLiteral("a\nb\n") << QByteArray("T\r\na\r\nb\r\n");
    QTest::newRow("two final breaks") << QStringLiteral("a\nb\n\n") << QByteArray("T\r\na\r\nb\r\n\r\n");
    QTest::newRow("a 10 000-byte line stays whole") << QString(5000, u'あ') << QByteArray("T\r\n") + QByteArray("\x82\xA0").repeated(5000) + "\r\n";
}

void FileCommandsTest::saveInEditorModeCountsLinesLikeTheEditor()
{
    QFETCH(QString, text);
    QFETCH(QByteArray, bytes);
    m_form->ToEditorMode();
    m_form->EditTi->setText(QStringLiteral("T"));
    m_form->Memo1->setPlainText(text);
    QVERIFY(m_form->WriteDocument(path("e.plr")));
    QCOMPARE(TestSupport::readFile(path("e.plr")), bytes);
}

void FileCommandsTest::saveAsOffersTheNameAndAddsTheSuffix()
{
    DialogAnswers dialogs;
    m_form->EditTi->setText(QStringLiteral("題"));
    dialogs.answers << path("named");
    m_form->Save1->trigger();
    QCOMPARE(dialogs.asked.size(), 1);
    QVERIFY(dialogs.asked[0].save);
    QCOMPARE(dialogs.asked[0].fileName, QStringLiteral("無題.plr"));
    QCOMPARE(dialogs.asked[0].filters, QStringList{QStringLiteral("ペロラ用ファイル(*.plr)")});
    QCOMPARE(dialogs.asked[0].defaultSuffix, QStringLiteral("plr"));
    QCOMPARE(TestSupport::readFile(path("named.plr")), QByteArray("\x91\xE8\r\n"));
    QVERIFY(HasFileName);
    QCOMPARE(CurrentFileName, path("named.plr"));

    // An existing file is replaced without a question; the dialog is preset
    // to the current name.
    MessageRecorder messages;
    dialogs.answers << path("named.plr");
    m_form->ListBox1->setItems({"x"});
    m_form->SaveAs1->trigger();
    QCOMPARE(dialogs.asked[1].fileName, path("named.plr"));
    QCOMPARE(TestSupport::readFile(path("named.plr")), QByteArray("\x91\xE8\r\nx\r\n"));
    QVERIFY(messages.shown().isEmpty());

    // A name with a dot of its own still gets the suffix; one that ends in
    // it, in any case, does not.
    for (const QString &typed : {QStringLiteral("Best of 2024 Vol.2"), QStringLiteral("Op.27.PLR")}) {
        dialogs.answers << path(typed);
        m_form->SaveAs1->trigger();
        QCOMPARE(CurrentFileName, path(typed.endsWith(QLatin1String(".PLR")) ? typed : typed + ".plr"));
    }
    QCOMPARE(dialogs.asked.size(), 4);

    // After New, Save asks again and proposes the untitled name.
    ConfirmDeleteAll = false;
    m_form->New1->trigger();
    QVERIFY(!HasFileName);
    m_form->Save1->trigger();
    QCOMPARE(dialogs.asked.size(), 5);
    QCOMPARE(dialogs.asked[4].fileName, QStringLiteral("無題.plr"));
}

void FileCommandsTest::saveWritesDirectlyOnceNamed()
{
    DialogAnswers dialogs;
    TestSupport::writeFile(path("doc.plr"), "old\r\n");
    dialogs.answers << path("doc.plr");
    m_form->Open1->trigger();
    QCOMPARE(dialogs.asked[0].filters, (QStringList{QStringLiteral("ペロラ用ファイル(*.plr)"), QStringLiteral("全てのファイル(*)")}));
    QVERIFY(!dialogs.asked[0].save);
    m_form->EditTi->setText(QStringLiteral("new"));
    m_form->Save1->trigger();
    QCOMPARE(dialogs.asked.size(), 1);
    QCOMPARE(TestSupport::readFile(path("doc.plr")), QByteArray("new\r\n"));
}

void FileCommandsTest::cancellingChangesNothing()
{
    DialogAnswers dialogs;
    m_form->EditTi->setText(QStringLiteral("kept"));
    m_form->Open1->trigger();
    m_form->SaveAs1->trigger();
    QCOMPARE(dialogs.asked.size(), 2);
    QCOMPARE(m_form->EditTi->text(), QStringLiteral("kept"));
    QVERIFY(!HasFileName);
    QCOMPARE(CurrentFileName, QStringLiteral("無題.plr"));
    QVERIFY(QDir(m_dir->path()).isEmpty());
}

void FileCommandsTest::openInBothModes()
{
    DialogAnswers dialogs;
    TestSupport::writeFile(path("three.plr"), "\xEF\xBB\xBFT\r\na\r\n\xED\x95\x9C\r\nc\r\n");
    TestSupport::writeFile(path("title.plr"), "only a title\r\n");
    m_form->ToEditorMode();
    dialogs.answers << path("three.plr") << path("title.plr");
    m_form->Open1->trigger();
    QCOMPARE(m_form->Memo1->toPlainText(), QStringLiteral("a\n한\nc\n"));
    QCOMPARE(m_form->MemoNum->shownNumbers(), (QStringList{"1", "2", "3", "4"}));
    QVERIFY(HasFileName);
    m_form->Open1->trigger();
    QCOMPARE(m_form->EditTi->text(), QStringLiteral("only a title"));
    QCOMPARE(m_form->Memo1->toPlainText(), QString());
    QCOMPARE(m_form->MemoNum->shownNumbers(), QStringList{"1"});

    m_form->ToListMode();
    dialogs.answers << path("three.plr");
    m_form->Open1->trigger();
    QCOMPARE(m_form->ListBox1->items(), (QStringList{"a", QStringLiteral("한"), "c"}));
    QCOMPARE(m_form->MemoNum->shownNumbers(), (QStringList{"1", "2", "3"}));
}

void FileCommandsTest::openErrorsLeaveTheDocument()
{
    DialogAnswers dialogs;
    MessageRecorder messages;
    TestSupport::writeFile(path("empty.plr"), QByteArray());
    TestSupport::writeFile(path("nul.plr"), QByteArray("T\r\na\0b\r\n", 8));
    // Not text: whatever follows is never shown as a jacket.
    TestSupport::writeFile(path("picture.plr"), pictureBytes("PNG"));
    TestSupport::writeFile(path("pdf.plr"), "%PDF-1.4\n%\xE2\xE3\xCF\xD3\n");
    QVERIFY(QDir(m_dir->path()).mkdir(QStringLiteral("folder.plr")));
    // A FIFO would wait for a writer for ever: refused at once.
    QCOMPARE(::mkfifo(QFile::encodeName(path("fifo.plr")).constData(), 0600), 0);
    m_form->EditTi->setText(QStringLiteral("mine"));
    m_form->ListBox1->setItems({"row"});
    m_form->History->startOver();  // as opened: nothing to save first
    dialogs.answers << path("missing.plr") << path("folder.plr") << path("fifo.plr") << path("empty.plr") << path("nul.plr")
                    << path("picture.plr") << path("pdf.plr");
    for (int i = 0; i < 7; ++i)
        m_form->Open1->trigger();
    QCOMPARE(messages.texts(), (QStringList{QStringLiteral("ファイル %1 は開けません（ありません）。").arg(path("missing.plr")),
                                            QStringLiteral("ファイル %1 は開けません（フォルダです）。").arg(path("folder.plr")),
                                            QStringLiteral("ファイル %1 は開けません（普通のファイルではありません）。").arg(path("fifo.plr")),
                                            QStringLiteral("リストのインデックスが範囲を超えています (0)"),
                                            QStringLiteral("ファイル %1 はジャケットの文書ではありません（テキストではありません）。").arg(path("nul.plr")),
                                            QStringLiteral("ファイル %1 はジャケットの文書ではありません（テキストではありません）。").arg(path("picture.plr")),
                                            QStringLiteral("ファイル %1 はジャケットの文書ではありません（テキストではありません）。").arg(path("pdf.plr"))}));
    for (const auto &shown : messages.shown())
        QCOMPARE(shown.kind, Messages::Kind::Error);
    QCOMPARE(m_form->EditTi->text(), QStringLiteral("mine"));
    QCOMPARE(m_form->ListBox1->items(), QStringList{"row"});
    QCOMPARE(CurrentFileName, QStringLiteral("無題.plr"));
    QVERIFY(!HasFileName);
}

// Nothing is saved when any part cannot be: the message names the cause.
void FileCommandsTest::failedSaveKeepsTheOldFileWhole()
{
    DialogAnswers dialogs;
    MessageRecorder messages;
    TestSupport::writeFile(path("doc.plr"), "original\r\n");
    TestSupport::writeFile(path("photo.png"), "the user's photo");
    QVERIFY(QFile::link(path("photo.png"), path("doc.plr.png")));
    QVERIFY(QDir(m_dir->path()).mkdir(QStringLiteral("taken.plr")));
    m_form->EditTi->setText(QStringLiteral("new"));
    dialogs.answers << path("taken.plr") << path("no/such/folder/x.plr");
    m_form->SaveAs1->trigger();
    m_form->SaveAs1->trigger();
    // A cover file that is a link is not Pelora's to write.
    TestSupport::writeFile(path("cover.png"), pictureBytes("PNG"));
    dialogs.answers << path("cover.png") << path("doc.plr");
    m_form->ChooseCoverMe->trigger();
    m_form->SaveAs1->trigger();
    QCOMPARE(messages.texts(),
             (QStringList{QStringLiteral("ファイル %1 を作成できません（フォルダです）。").arg(path("taken.plr")),
                          QStringLiteral("ファイル %1 を作成できません（%2）。").arg(path("no/such/folder/x.plr"), qt_error_string(ENOENT)),
                          QStringLiteral("表紙の画像を %1 に保存できないので、文書も保存していません（シンボリックリンクです）。").arg(path("doc.plr.png"))}));
    QVERIFY(!HasFileName);
    QCOMPARE(CurrentFileName, QStringLiteral("無題.plr"));
    QVERIFY(QFileInfo(path("taken.plr")).isDir());
    QCOMPARE(TestSupport::readFile(path("doc.plr")), QByteArray("original\r\n"));
    QCOMPARE(TestSupport::readFile(path("photo.png")), QByteArray("the user's photo"));
    QVERIFY(m_form->JacketChanged());
}

// A document whose name does not end in .plr has no cover file: its name
// with a picture's extension may be a picture of the user's.
void FileCommandsTest::coverIsKeptOnlyBesideAPlrName()
{
    DialogAnswers dialogs;
    MessageRecorder messages;
    const QByteArray photo = pictureBytes("JPEG");
    TestSupport::writeFile(path("Tour 2024.08"), "T\r\n");
    TestSupport::writeFile(path("Tour 2024.08.jpg"), photo);
    dialogs.answers << path("Tour 2024.08");
    m_form->Open1->trigger();
    QVERIFY(JacketCover.isNull());
    TestSupport::writeFile(path("cover.png"), pictureBytes("PNG"));
    dialogs.answers << path("cover.png");
    m_form->ChooseCoverMe->trigger();
    m_form->Save1->trigger();
    QCOMPARE(messages.texts(), QStringList{QStringLiteral("文書 %1 の名前は .plr で終わらないので、表紙の画像はいっしょに保存されません。"
                                                          "表紙の画像も残すには、「名前を付けて保存」で .plr で終わる名前を付けてください。")
                                               .arg(path("Tour 2024.08"))});
    // The lines are saved; the cover is not, so the jacket still has changes.
    QCOMPARE(TestSupport::readFile(path("Tour 2024.08")), QByteArray("T\r\n"));
    QVERIFY(m_form->JacketChanged());
    QCOMPARE(QDir(m_dir->path()).entryList(QDir::Files).size(), 3);
    QCOMPARE(TestSupport::readFile(path("Tour 2024.08.jpg")), photo);
}

void FileCommandsTest::saveCutShortKeepsTheOldFileWhole()
{
    DialogAnswers dialogs;
    MessageRecorder messages;
    TestSupport::writeFile(path("doc.plr"), "original\r\n");
    QStringList items;
    for (int i = 0; i < 1000; ++i)
        items << QStringLiteral("曲 %1").arg(i);
    m_form->ListBox1->setItems(items);
    const QByteArray edited = JacketFormat::toBytes({QString(), items});
    // Past the limit but small enough to be written in one piece at the end.
    QVERIFY(edited.size() > 4096 && edited.size() < 16384);
    dialogs.answers << path("doc.plr");
    {
        // The disk takes the first 4 KiB and then no more.
        ScopedFileSizeLimit limit(4096);
        QVERIFY(limit.active());
        m_form->SaveAs1->trigger();
    }
    QCOMPARE(messages.texts(), QStringList{QStringLiteral("ファイル %1 を作成できません（%2）。").arg(path("doc.plr"), qt_error_string(EFBIG))});
    QCOMPARE(TestSupport::readFile(path("doc.plr")), QByteArray("original\r\n"));
    QCOMPARE(QDir(m_dir->path()).entryList(QDir::Files | QDir::Hidden), QStringList{QStringLiteral("doc.plr")});
    QVERIFY(!HasFileName);
}

// A writable document in a folder that takes no new file is written in
// place; a write that fails there puts the old content back.
void FileCommandsTest::readOnlyFolderIsSavedInPlace()
{
    DialogAnswers dialogs;
    MessageRecorder messages;
    const QString folder = path("locked");
    const QString document = folder + "/doc.plr";
    QVERIFY(QDir().mkdir(folder));
    TestSupport::writeFile(document, "original\r\n");
    // Read and write for everyone; read and search for everyone.
    QVERIFY(QFile::setPermissions(document, QFileDevice::Permissions(0x6666)));
    QVERIFY(QFile::setPermissions(folder, QFileDevice::Permissions(0x5555)));
    QVERIFY(QFile::setPermissions(m_dir->path(), QFileDevice::Permissions(0x7555)));
    {
        const ScopedOtherUser user;
        m_form->EditTi->setText(QStringLiteral("new"));
        dialogs.answers << document;
        m_form->SaveAs1->trigger();
        QCOMPARE(TestSupport::readFile(document), QByteArray("new\r\n"));

        QStringList items;
        for (int i = 0; i < 1000; ++i)
            items << QStringLiteral("曲 %1").arg(i);
        m_form->ListBox1->setItems(items);
        const ScopedFileSizeLimit limit(4096);
        QVERIFY(limit.active());
        m_form->Save1->trigger();
    }
    QFile::setPermissions(folder, QFileDevice::Permissions(0x7700));
    QCOMPARE(messages.texts(), QStringList{QStringLiteral("ファイル %1 を作成できません（%2）。").arg(document, qt_error_string(EFBIG))});
    QCOMPARE(TestSupport::readFile(document), QByteArray("new\r\n"));
    QCOMPARE(QDir(folder).entryList(QDir::Files | QDir::Hidden), QStringList{QStringLiteral("doc.plr")});
}

// An old Shift-JIS document saves back to the same bytes; a dropped Hangul
// title and an emoji are saved without a question and come back whole.
void FileCommandsTest::documentsKeepEveryCharacter()
{
    DialogAnswers dialogs;
    MessageRecorder messages;
    const QByteArray sample = TestSupport::readFile(QStringLiteral(PELORA_EXAMPLES_DIR "/サンプル.plr"));
    TestSupport::writeFile(path("old.plr"), sample);
    QVERIFY(m_form->ReadDocument(path("old.plr")));
    QVERIFY(m_form->WriteDocument(path("old.plr")));
    QCOMPARE(TestSupport::readFile(path("old.plr")), sample);

    QVERIFY(QFile::copy(TestSupport::dataPath(QStringLiteral("audio/fixture.ogg")), path("k.ogg")));
    m_form->ListBox1->clear();
    m_form->WMDropFiles({path("k.ogg")});
    m_form->EditTi->setText(QStringLiteral("K-POP 😀"));
    dialogs.answers << path("k.plr");
    m_form->SaveAs1->trigger();
    QVERIFY(messages.shown().isEmpty());
    QVERIFY(TestSupport::readFile(path("k.plr")).startsWith("\xEF\xBB\xBFK-POP \xF0\x9F\x98\x80\r\n"));
    m_form->ListBox1->clear();
    QVERIFY(m_form->ReadDocument(path("k.plr")));
    QCOMPARE(m_form->EditTi->text(), QStringLiteral("K-POP 😀"));
    QCOMPARE(m_form->ListBox1->items(), QStringList{QStringLiteral("사랑해요  (00:02)  歌：Beyoncé")});
}

void FileCommandsTest::commandLineDocumentIsOpenedAtFirstShow()
{
    DialogAnswers dialogs;
    TestSupport::writeFile(path("arg.plr"), Cp932::encode(QStringLiteral("タイトル\nA\nB\n")));
    m_form.reset();
    ProgramArguments = {path("arg.plr")};
    m_form = std::make_unique<TForm1>();
    m_form->show();
    QCOMPARE(m_form->EditTi->text(), QStringLiteral("タイトル"));
    QCOMPARE(m_form->ListBox1->items(), (QStringList{"A", "B"}));
    QCOMPARE(m_form->MemoNum->shownNumbers(), (QStringList{"1", "2"}));
    QCOMPARE(m_form->windowTitle(), QStringLiteral("ペロラ - リストモード"));
    QCOMPARE(CurrentFileName, path("arg.plr"));
    QVERIFY(!HasFileName);
    // The first Save asks, preset to that path.
    dialogs.answers << path("arg.plr");
    m_form->Save1->trigger();
    QCOMPARE(dialogs.asked.size(), 1);
    QCOMPARE(dialogs.asked[0].fileName, path("arg.plr"));
    QCOMPARE(TestSupport::readFile(path("arg.plr")), Cp932::encode(QStringLiteral("タイトル\r\nA\r\nB\r\n")));
}

void FileCommandsTest::unreadableCommandLineDocumentStartsUntitled()
{
    MessageRecorder messages;
    m_form.reset();
    ProgramArguments = {path("gone.plr")};
    m_form = std::make_unique<TForm1>();
    m_form->show();
    QCOMPARE(messages.texts(), QStringList{QStringLiteral("ファイル %1 は開けません（ありません）。").arg(path("gone.plr"))});
    QCOMPARE(CurrentFileName, QStringLiteral("無題.plr"));
    QCOMPARE(m_form->ListBox1->count(), 0);
    QVERIFY(m_form->isVisible());
}

void FileCommandsTest::everyCharacterSurvivesSaveAndOpen()
{
    // Every character of code page 932, 94 to a line.
    QStringList items;
    QString line;
    for (int lead = 0x81; lead <= 0xFC; ++lead) {
        if (lead > 0x9F && lead < 0xE0)
            continue;
        for (int trail = 0x40; trail <= 0xFC; ++trail) {
            const char unit[2] = {char(lead), char(trail)};
            const QString ch = Cp932::decode(QByteArrayView(unit, 2));
            if (ch.size() != 1 || ch[0] == QChar::ReplacementCharacter)
                continue;
            line += ch;
            if (line.size() == 94) {
                items << line;
                line.clear();
            }
        }
    }
    items << line << QStringLiteral("ｱｲｳｴｵ ~\\");
    m_form->EditTi->setText(QStringLiteral("全角・半角"));
    m_form->ListBox1->setItems(items);
    MessageRecorder messages;
    QVERIFY(m_form->WriteDocument(path("all.plr")));
    QVERIFY(messages.shown().isEmpty());
    m_form->ListBox1->clear();
    QVERIFY(m_form->ReadDocument(path("all.plr")));
    QCOMPARE(m_form->ListBox1->items(), items);
}

// The picture chosen for the jacket goes with it: kept from the moment it is
// chosen, written beside the document on Save As, found again by Open,
// forgotten by New.
void FileCommandsTest::coverTravelsWithTheDocument()
{
    DialogAnswers dialogs;
    MessageRecorder messages;
    const QByteArray webp = pictureBytes("WEBP");
    TestSupport::writeFile(path("chosen.webp"), webp);
    m_form->EditTi->setText(QStringLiteral("題"));
    dialogs.answers << path("chosen.webp");
    m_form->ChooseCoverMe->trigger();
    QCOMPARE(dialogs.asked.last().title, QStringLiteral("表紙の画像を選ぶ"));
    QCOMPARE(m_form->windowTitle(), QStringLiteral("*ペロラ - リストモード - 表紙画像あり"));
    QVERIFY(m_form->RemoveCoverMe->isEnabled());
    QVERIFY(QFile::remove(path("chosen.webp")));

    dialogs.answers << path("jacket.plr");
    m_form->SaveAs1->trigger();
    QCOMPARE(TestSupport::readFile(path("jacket.plr.webp")), webp);
    ConfirmDeleteAll = false;
    m_form->New1->trigger();
    QCOMPARE(m_form->windowTitle(), QStringLiteral("ペロラ - リストモード"));
    QVERIFY(!m_form->RemoveCoverMe->isEnabled());
    dialogs.answers << path("jacket.plr");
    m_form->Open1->trigger();
    QCOMPARE(JacketCover.bytes(), webp);
    QVERIFY(messages.shown().isEmpty());
}

// The jacket's picture lives in files only Pelora writes (cover.plr.png);
// the user's pictures beside the document, whatever their names, are
// never adopted, written, moved or deleted, and nothing goes to the trash.
void FileCommandsTest::userPicturesBesideTheDocumentAreNeverTouched()
{
    DialogAnswers dialogs;
    MessageRecorder messages;
    ConfirmDeleteAll = false;
    qputenv("XDG_DATA_HOME", QFile::encodeName(path("data")));
    TestSupport::writeFile(path("cover.plr"), "T\r\nA\r\n");
    QHash<QString, QByteArray> users;
    for (const char *name : {"cover.jpg", "cover.JPG", "cover.jpeg", "cover.png", "Cover.PNG", "cover.plr.JPG", "cover.plr.jpeg"}) {
        users[name] = pictureBytes(QByteArray(name).toLower().endsWith("png") ? "PNG" : "JPEG") + name;
        TestSupport::writeFile(path(name), users[name]);
    }
    const auto open = [&] {
        m_form->New1->trigger();
        dialogs.answers << path("cover.plr");
        m_form->Open1->trigger();
    };
    open();
    QVERIFY(JacketCover.isNull());
    m_form->Save1->trigger();

    // Its own picture of another kind is replaced; one taken off goes.
    const QByteArray bmp = pictureBytes("BMP");
    TestSupport::writeFile(path("cover.plr.bmp"), bmp);
    open();
    QCOMPARE(JacketCover.bytes(), bmp);
    TestSupport::writeFile(path("new.png"), pictureBytes("PNG"));
    dialogs.answers << path("new.png");
    m_form->ChooseCoverMe->trigger();
    m_form->Save1->trigger();
    QCOMPARE(JacketFiles::coverFiles(path("cover.plr")), QStringList{path("cover.plr.png")});
    m_form->RemoveCoverMe->trigger();
    m_form->Save1->trigger();
    QCOMPARE(JacketFiles::coverFiles(path("cover.plr")), QStringList());

    for (auto it = users.cbegin(); it != users.cend(); ++it)
        QCOMPARE(TestSupport::readFile(path(it.key())), it.value());
    QVERIFY(!QFileInfo::exists(path("data")));
    QVERIFY(messages.shown().isEmpty());
    qunsetenv("XDG_DATA_HOME");
}

void FileCommandsTest::unusablePicturesAreRefused_data()
{
    QTest::addColumn<QByteArray>("bytes");
    QTest::addColumn<QString>("why");
    const QString none = QStringLiteral("JPEG、PNG、WebP、BMP、GIF のどの画像でもありません");
    const QString large = QStringLiteral("大きすぎます");
    const QString damaged = QStringLiteral("途中で切れているか、壊れています");
    QTest::newRow("empty") << QByteArray() << none;
    QTest::newRow("text") << QByteArray("not a picture") << none;
    QTest::newRow("PNG cut short") << twoThirds(pictureBytes("PNG", QSize(64, 64))) << damaged;
    // Its header alone, which Qt does not even size: nothing to print.
    QTest::newRow("PNG of 20000 x 20000") << hugePngHeader() << damaged;
    QTest::newRow("JPEG cut short") << twoThirds(pictureBytes("JPEG", QSize(64, 64))) << damaged;
    QTest::newRow("JPEG claiming 20000 x 20000") << jpegClaiming(QSize(20000, 20000)) << large;
    QTest::newRow("JPEG claiming 2000 x 2000") << jpegClaiming(QSize(2000, 2000)) << damaged;
    QTest::newRow("BMP cut short") << twoThirds(pictureBytes("BMP", QSize(64, 64))) << damaged;
    QTest::newRow("GIF cut short") << twoThirds(TestSupport::readFile(TestSupport::dataPath("pictures/gradient.gif"))) << damaged;
}

// The reader's reason reaches the message, chosen or found beside a document.
void FileCommandsTest::unusablePicturesAreRefused()
{
    QFETCH(QByteArray, bytes);
    QFETCH(QString, why);
    DialogAnswers dialogs;
    MessageRecorder messages;
    TestSupport::writeFile(path("bad.png"), bytes);
    dialogs.answers << path("bad.png");
    m_form->ChooseCoverMe->trigger();
    QVERIFY(JacketCover.isNull());

    TestSupport::writeFile(path("doc.plr"), "T\r\n");
    QVERIFY(QFile::rename(path("bad.png"), path("doc.plr.png")));
    dialogs.answers << path("doc.plr");
    m_form->Open1->trigger();
    QCOMPARE(messages.texts(), (QStringList{QStringLiteral("%1 は表紙にできる画像ではありません（%2）。").arg(path("bad.png"), why),
                                            QStringLiteral("表紙の画像 %1 を使えないので、表紙の画像なしで開きます（%2）。").arg(path("doc.plr.png"), why)}));
    QCOMPARE(messages.shown().last().kind, Messages::Kind::Warning);
    QCOMPARE(m_form->EditTi->text(), QStringLiteral("T"));
    QVERIFY(JacketCover.isNull());
}

PELORA_TEST_MAIN(FileCommandsTest)
#include "tst_filecommands.moc"
