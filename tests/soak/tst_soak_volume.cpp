// SPDX-License-Identifier: GPL-3.0-or-later
// Volume: ten thousand files in one drop, and a document of two hundred
// thousand lines opened, edited in both modes and saved. Every step ends
// within a generous bound (a step that grew quadratic would take hours),
// and what ends up in the list and on disk is exactly right.
#include "soak/SoakSupport.h"

#include "gui/dialogs/FileDialogs.h"
#include "core/jacket/JacketDocument.h"
#include "gui/widgets/ItemListBox.h"
#include "gui/widgets/LineNumbers.h"
#include "gui/widgets/Memo.h"
#include "gui/mainwindow/MainWindow.h"
#include "support/TestSupport.h"

#include <QAction>
#include <QDir>
#include <QLineEdit>
#include <QTextBlock>

namespace {

// Far above what a step takes on a slow machine; a step beyond it makes
// the program unusable.
constexpr qint64 kStepBoundMs = 60000;

}  // namespace

class SoakVolumeTest : public QObject
{
    Q_OBJECT
private slots:
    void init()
    {
        m_config = std::make_unique<ScopedConfigDir>();
        m_form = std::make_unique<TForm1>();
    }
    void cleanup()
    {
        m_form.reset();
        m_config.reset();
    }

    void tenThousandFilesInOneDrop();
    void twoHundredThousandLineDocument();

private:
    void step(const char *what, qint64 milliseconds)
    {
        qInfo("%-40s %7lld ms  %s", what, milliseconds, qPrintable(Soak::describe(Soak::memory())));
        QVERIFY2(milliseconds < kStepBoundMs, qPrintable(QStringLiteral("%1 took %2 ms").arg(QLatin1String(what)).arg(milliseconds)));
    }

    std::unique_ptr<ScopedConfigDir> m_config;
    std::unique_ptr<TForm1> m_form;
};

void SoakVolumeTest::tenThousandFilesInOneDrop()
{
    constexpr int kFiles = 10000;
    QTemporaryDir folder;
    QVERIFY(folder.isValid());
    QStringList paths;
    QStringList expected;
    for (int i = 0; i < kFiles; ++i) {
        QString name;
        QString line;
        switch (i % 5) {
        case 0: name = QStringLiteral("曲%1.txt").arg(i); line = QStringLiteral("曲%1").arg(i); break;
        // Audio names that hold no audio: the tag reading finds nothing and
        // the name stands in.
        case 1: name = QStringLiteral("Track %1.mp3").arg(i); line = QStringLiteral("Track %1").arg(i); break;
        case 2: name = QStringLiteral("no-extension-%1").arg(i); line = name; break;
        case 3: name = QStringLiteral("two.dots.%1.wav.bak").arg(i); line = QStringLiteral("two.dots.%1.wav").arg(i); break;
        case 4: name = QStringLiteral("アルバム %1.mp3").arg(i); line = QStringLiteral("アルバム %1").arg(i); break;
        }
        const QString path = folder.filePath(name);
        TestSupport::writeFile(path, QByteArray("not audio, only text ") + QByteArray::number(i) + '\n');
        paths << path;
        expected << line;
    }
    m_form->AcqTag->setChecked(true);
    m_form->n1->setChecked(true);
    m_form->ListBox1->setItems({QStringLiteral("already there")});
    expected.prepend(QStringLiteral("already there"));

    MessageRecorder messages;
    step("drop of 10000 files", Soak::timed([&] { m_form->WMDropFiles(paths); }));
    QVERIFY2(messages.shown().isEmpty(), qPrintable(messages.texts().join(u'\n')));
    QCOMPARE(m_form->ListBox1->count(), kFiles + 1);
    QCOMPARE(m_form->ListBox1->items(), expected);
    QCOMPARE(m_form->MemoNum->count(), kFiles + 1);

    // The same drop in editor mode appends below the editor's text.
    m_form->ToEditorMode();
    step("drop of 10000 files in editor mode", Soak::timed([&] { m_form->WMDropFiles(paths); }));
    QCOMPARE(m_form->Memo1->lines(), expected + expected.mid(1));
    QVERIFY(messages.shown().isEmpty());
}

void SoakVolumeTest::twoHundredThousandLineDocument()
{
    constexpr int kLines = 200000;
    QTemporaryDir folder;
    QVERIFY(folder.isValid());
    const QString path = folder.filePath(QStringLiteral("長い文書.plr"));
    const QString title = QStringLiteral("二十万行の文書");
    QStringList items;
    items.reserve(kLines);
    for (int i = 1; i <= kLines; ++i)
        items << QStringLiteral("項目 %1 - Item %1").arg(i);
    TestSupport::writeFile(path, JacketFormat::toBytes({title, items}));
    qInfo("document of %d lines, %lld bytes", kLines + 1, QFileInfo(path).size());

    MessageRecorder messages;
    FileDialogs::setHandler([&path](const FileDialogs::Request &request) { return request.save ? QString() : path; });

    step("open", Soak::timed([&] { m_form->Open1Click(); }));
    QVERIFY(messages.shown().isEmpty());
    QCOMPARE(m_form->EditTi->text(), title);
    QCOMPARE(m_form->ListBox1->count(), kLines);
    QCOMPARE(m_form->MemoNum->count(), kLines);
    QVERIFY(HasFileName);

    step("add a blank line", Soak::timed([&] { m_form->BlankBtnClick(); }));
    QStringList expected = items;
    expected << QString();
    QCOMPARE(m_form->ListBox1->count(), kLines + 1);
    QVERIFY(m_form->ListBox1->item(kLines)->isSelected());

    // One row deep inside, chosen and deleted (the question answered Yes).
    constexpr int kRow = 123456;
    m_form->ListBox1->clearSelection();
    m_form->ListBox1->item(kRow)->setSelected(true);
    step("delete a selected line", Soak::timed([&] { m_form->DelBtnClick(); }));
    QCOMPARE(messages.texts(), QStringList{QStringLiteral("選択したアイテムを削除します。よろしいですか？")});
    messages.clear();
    expected.removeAt(kRow);
    QCOMPARE(m_form->ListBox1->count(), kLines);
    QCOMPARE(m_form->ListBox1->item(kRow)->text(), items.at(kRow + 1));

    step("to editor mode", Soak::timed([&] { m_form->ModeBtnClick(); }));
    QVERIFY(EditorMode);
    QCOMPARE(m_form->Memo1->lineCount(), kLines);
    step("back to list mode", Soak::timed([&] { m_form->ModeBtnClick(); }));
    QVERIFY(!EditorMode);
    QCOMPARE(m_form->ListBox1->items(), expected);

    step("save", Soak::timed([&] { m_form->Save1Click(); }));
    QVERIFY2(messages.shown().isEmpty(), qPrintable(messages.texts().join(u'\n')));
    QCOMPARE(TestSupport::readFile(path), JacketFormat::toBytes({title, expected}));

    // Saved again from editor mode, the bytes are the same.
    m_form->ToEditorMode();
    step("save in editor mode", Soak::timed([&] { m_form->Save1Click(); }));
    QCOMPARE(TestSupport::readFile(path), JacketFormat::toBytes({title, expected}));
    QVERIFY(messages.shown().isEmpty());
}

PELORA_TEST_MAIN(SoakVolumeTest)
#include "tst_soak_volume.moc"
