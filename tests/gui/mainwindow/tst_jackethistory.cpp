// SPDX-License-Identifier: GPL-3.0-or-later
// Every change of the jacket undone and redone, in either mode, and the
// question before a changed jacket goes.
#include "core/jacket/CoverPicture.h"
#include "core/jacket/JacketDocument.h"
#include "gui/mainwindow/JacketHistory.h"
#include "gui/dialogs/ItemEditDialog.h"
#include "gui/widgets/ItemListBox.h"
#include "gui/widgets/Memo.h"
#include "gui/mainwindow/MainWindow.h"
#include "support/MainWindowFixture.h"

#include <QAction>
#include <QComboBox>
#include <QLineEdit>
#include <QPushButton>
#include <QTimer>

#include <functional>

namespace {

// The jacket as Save writes it, with its picture.
QByteArray saved(const TForm1 &form)
{
    const QStringList lines = EditorMode ? form.Memo1->lines() : form.ListBox1->items();
    return JacketFormat::toBytes({form.EditTi->text(), lines}) + JacketCover.bytes();
}

void toEditor(TForm1 &form)
{
    form.ModeBtn->click();
    form.Memo1->setFocus();
}

}  // namespace

class JacketHistoryTest : public QObject
{
    Q_OBJECT
private slots:
    void init()
    {
        QVERIFY(m_window.start());
        QVERIFY(m_files.isValid());
    }
    void cleanup() { m_window.stop(); }

    void everyCommandIsOneStep_data();
    void everyCommandIsOneStep();
    void undoKeysActOnTheJacketWhereverTheFocusIs_data();
    void undoKeysActOnTheJacketWhereverTheFocusIs();
    void aHundredStepsAndOneTitleStepPerStay();
    void openAndNewStartANewHistory();
    void changedJacketsAreAskedAbout_data();
    void changedJacketsAreAskedAbout();

private:
    QString file(const QString &name) const { return m_files.filePath(name); }
    MainWindowFixture m_window;
    QTemporaryDir m_files;
};

using Command = std::function<void(TForm1 &, const QString &folder)>;
Q_DECLARE_METATYPE(Command)

void JacketHistoryTest::everyCommandIsOneStep_data()
{
    QTest::addColumn<Command>("command");
    QTest::addColumn<bool>("selectionBack");  // the list's selection comes back with the undo
    const auto editRow = [](TForm1 &form, const QString &) {
        form.ListBox1->setCurrentRow(1, QItemSelectionModel::NoUpdate);
        QTimer::singleShot(0, [] {
            if (auto *dialog = qobject_cast<TInputForm *>(QApplication::activeModalWidget())) {
                dialog->Edit->setText(QStringLiteral("edited"));
                dialog->OkBtn->click();
            }
        });
        form.ListBox1DblClick();
    };
    const auto chooseCover = [](TForm1 &form, const QString &folder) {
        DialogAnswers dialogs;
        TestSupport::writeFile(folder + "/art.png", TestSupport::pictureBytes("PNG"));
        dialogs.answers << folder + "/art.png";
        form.ChooseCoverMe->trigger();
    };
    QTest::newRow("blank row") << Command([](TForm1 &f, const QString &) { f.BlankBtn->click(); }) << true;
    QTest::newRow("delete") << Command([](TForm1 &f, const QString &) { f.DelBtn->click(); }) << true;
    QTest::newRow("delete all") << Command([](TForm1 &f, const QString &) { f.AllDelbtn->click(); }) << true;
    QTest::newRow("up") << Command([](TForm1 &f, const QString &) { f.BtnUP->click(); }) << true;
    QTest::newRow("down") << Command([](TForm1 &f, const QString &) { f.BtnDown->click(); }) << true;
    QTest::newRow("drag below the last row") << Command([](TForm1 &f, const QString &) {
        f.ListBox1DragDrop(f.ListBox1, 5, f.ListBox1->visualItemRect(f.ListBox1->item(4)).bottom() + 20);
    }) << true;
    QTest::newRow("edit a row") << Command(editRow) << true;
    QTest::newRow("drop two files") << Command([](TForm1 &f, const QString &folder) {
        TestSupport::writeFile(folder + "/one.txt", "1");
        TestSupport::writeFile(folder + "/two.txt", "2");
        f.WMDropFiles({folder + "/one.txt", folder + "/two.txt"});
    }) << true;
    QTest::newRow("type a title") << Command([](TForm1 &f, const QString &) {
        f.EditTi->setFocus();
        QTest::keyClicks(f.EditTi, QStringLiteral(" live"));
    }) << true;
    QTest::newRow("choose a cover") << Command(chooseCover) << true;
    QTest::newRow("type in the editor, back to the list") << Command([](TForm1 &f, const QString &) {
        toEditor(f);
        QTest::keyClicks(f.Memo1, QStringLiteral("new"));
        f.ModeBtn->click();
    }) << false;
    QTest::newRow("delete in the list, undo in the editor") << Command([](TForm1 &f, const QString &) {
        f.DelBtn->click();
        toEditor(f);
    }) << false;
    QTest::newRow("delete in the editor") << Command([](TForm1 &f, const QString &) {
        toEditor(f);
        f.Memo1->selectAll();
        f.DelBtn->click();
    }) << false;
}

// Each command of the jacket is one step: undone, the jacket is as it was
// (the list's selection too, where the list made the change) and no longer
// marked changed; redone, as the command left it. In whichever mode the
// window is by then.
void JacketHistoryTest::everyCommandIsOneStep()
{
    QFETCH(Command, command);
    QFETCH(bool, selectionBack);
    TForm1 &form = *m_window.form;
    MessageRecorder messages;
    fillRows(form, "ABCDE", "BD");
    form.EditTi->setText(QStringLiteral("Title"));
    form.History->startOver();
    const QByteArray before = saved(form);
    QVERIFY(!form.UndoMe->isEnabled());

    command(form, m_files.path());
    const QByteArray after = saved(form);
    QVERIFY(after != before);
    QVERIFY(form.windowTitle().startsWith(u'*'));
    form.UndoMe->trigger();
    QCOMPARE(saved(form), before);
    QVERIFY(!form.UndoMe->isEnabled());
    QVERIFY(!form.windowTitle().startsWith(u'*'));
    if (selectionBack)
        QCOMPARE(selectedLetters(form), QStringLiteral("BD"));
    form.RedoMe->trigger();
    QCOMPARE(saved(form), after);
    QVERIFY(!form.RedoMe->isEnabled());
}

// 全て削除, then the keys with the focus in a field: Ctrl+Z puts the jacket
// back, Ctrl+Y and Ctrl+Shift+Z take it away again. Typing in the field
// first is a step of its own: the first Ctrl+Z takes back only that.
void JacketHistoryTest::undoKeysActOnTheJacketWhereverTheFocusIs_data()
{
    QTest::addColumn<QString>("field");
    QTest::addColumn<QString>("typed");
    for (const char *field : {"EditTi", "ComboTFS", "comboFS", "ListBox1"})
        QTest::addRow("%s", field) << field << QString();
    QTest::newRow("EditTi, typed in") << "EditTi" << QStringLiteral("new");
    QTest::newRow("ComboTFS, typed in") << "ComboTFS" << QStringLiteral("2");
}

void JacketHistoryTest::undoKeysActOnTheJacketWhereverTheFocusIs()
{
    QFETCH(QString, field);
    QFETCH(QString, typed);
    TForm1 &form = *m_window.form;
    ConfirmDeleteAll = false;
    fillRows(form, "ABC", "B");
    form.EditTi->setText(QStringLiteral("Title"));
    form.History->startOver();
    const QByteArray before = saved(form);
    form.AllDelbtn->click();
    const QByteArray cleared = saved(form);
    QWidget *widget = form.findChild<QWidget *>(field);
    QVERIFY(widget);
    widget->setFocus();
    QWidget *focus = QApplication::focusWidget();
    QVERIFY(focus == widget || focus->parent() == widget);
    const QString sizeBefore = form.ComboTFS->currentText();
    if (!typed.isEmpty()) {
        QTest::keyClicks(focus, typed);
        QVERIFY(form.ComboTFS->currentText() != sizeBefore || form.EditTi->text() == typed);
        QTest::keyClick(focus, Qt::Key_Z, Qt::ControlModifier);
        QCOMPARE(saved(form), cleared);
        QCOMPARE(form.ComboTFS->currentText(), sizeBefore);
    }
    QTest::keyClick(focus, Qt::Key_Z, Qt::ControlModifier);
    QCOMPARE(saved(form), before);
    QCOMPARE(selectedLetters(form), QStringLiteral("B"));
    QTest::keyClick(focus, Qt::Key_Y, Qt::ControlModifier);
    QCOMPARE(saved(form), cleared);
    QTest::keyClick(focus, Qt::Key_Z, Qt::ControlModifier);
    QTest::keyClick(focus, Qt::Key_Z, Qt::ControlModifier | Qt::ShiftModifier);
    QCOMPARE(saved(form), cleared);
    QCOMPARE(form.ComboTFS->currentText(), sizeBefore);
}

// The history holds the last hundred steps; typing in the title is one
// step for each stay in the field.
void JacketHistoryTest::aHundredStepsAndOneTitleStepPerStay()
{
    TForm1 &form = *m_window.form;
    for (int i = 0; i < 105; ++i)
        form.BlankBtn->click();
    int undone = 0;
    for (; form.UndoMe->isEnabled(); ++undone)
        form.UndoMe->trigger();
    QCOMPARE(undone, 100);

    form.EditTi->setFocus();
    QTest::keyClicks(form.EditTi, QStringLiteral("ab"));
    form.ListBox1->setFocus();
    form.EditTi->setFocus();
    QTest::keyClicks(form.EditTi, QStringLiteral("cd"));
    form.UndoMe->trigger();
    QCOMPARE(form.EditTi->text(), QStringLiteral("ab"));
}

void JacketHistoryTest::openAndNewStartANewHistory()
{
    TForm1 &form = *m_window.form;
    DialogAnswers dialogs;
    MessageRecorder messages;
    TestSupport::writeFile(file("doc.plr"), "T\r\nA\r\n");
    fillRows(form, "AB", "A");
    form.DelBtn->click();
    messages.chooseNext(1);  // 保存しない
    dialogs.answers << file("doc.plr");
    form.Open1->trigger();
    QCOMPARE(messages.texts().last(), QStringLiteral("変更を保存しますか？"));
    QVERIFY(!form.UndoMe->isEnabled() && !form.RedoMe->isEnabled());
    QCOMPARE(form.windowTitle(), QStringLiteral("ペロラ - リストモード"));

    form.BlankBtn->click();
    messages.chooseNext(1);
    form.New1->trigger();
    QVERIFY(form.JacketIsEmpty());
    QVERIFY(!form.UndoMe->isEnabled());
}

// A changed jacket is asked about before New, Open or closing the window
// take it away; 保存する saves it first (and goes on only when it was
// saved), キャンセル keeps it. An unchanged one is never asked about.
void JacketHistoryTest::changedJacketsAreAskedAbout_data()
{
    QTest::addColumn<QString>("command");  // New, Open, Close
    QTest::addColumn<bool>("named");       // the jacket has its document
    QTest::addColumn<int>("answer");       // -1: unchanged, no question; else the button
    QTest::addColumn<bool>("goesOn");
    QTest::addColumn<QByteArray>("document");  // doc.plr afterwards
    const QByteArray old("T\r\nA\r\n");
    const QByteArray changed("T!\r\nA\r\n");
    for (const char *command : {"New", "Open", "Close"}) {
        QTest::addRow("%s, unchanged", command) << command << true << -1 << true << old;
        QTest::addRow("%s, 保存する", command) << command << true << 0 << true << changed;
        QTest::addRow("%s, 保存しない", command) << command << true << 1 << true << old;
        QTest::addRow("%s, キャンセル", command) << command << true << 2 << false << old;
    }
    // No document and Save As cancelled: nothing was saved, nothing goes.
    QTest::newRow("Close, 保存する without a document") << "Close" << false << 0 << false << old;
}

void JacketHistoryTest::changedJacketsAreAskedAbout()
{
    QFETCH(QString, command);
    QFETCH(bool, named);
    QFETCH(int, answer);
    QFETCH(bool, goesOn);
    QFETCH(QByteArray, document);
    TForm1 &form = *m_window.form;
    DialogAnswers dialogs;
    MessageRecorder messages;
    ConfirmDeleteAll = false;
    TestSupport::writeFile(file("doc.plr"), "T\r\nA\r\n");
    TestSupport::writeFile(file("other.plr"), "Other\r\n");
    if (named) {
        dialogs.answers << file("doc.plr");
        form.Open1->trigger();
    } else {
        form.ListBox1->setItems({"A"});
        form.EditTi->setText(QStringLiteral("T"));
        form.History->startOver();
    }
    if (answer >= 0) {
        form.EditTi->setFocus();
        QTest::keyClicks(form.EditTi, QStringLiteral("!"));
        messages.chooseNext(answer);
    }
    if (command == QLatin1String("New")) {
        form.New1->trigger();
    } else if (command == QLatin1String("Open")) {
        dialogs.answers << file("other.plr");
        form.Open1->trigger();
    } else {
        form.close();
    }

    QCOMPARE(messages.texts(), answer >= 0 ? QStringList{QStringLiteral("変更を保存しますか？")} : QStringList());
    if (answer >= 0)
        QCOMPARE(messages.shown().first().buttons, (QStringList{"保存する(&S)", "保存しない(&N)", "キャンセル(&C)"}));
    QCOMPARE(TestSupport::readFile(file("doc.plr")), document);
    const bool gone = command == QLatin1String("Close") ? !form.isVisible() : form.EditTi->text() != QStringLiteral("T!");
    QCOMPARE(gone, goesOn);
    ConfirmDeleteAll = true;
}

PELORA_TEST_MAIN(JacketHistoryTest)
#include "tst_jackethistory.moc"
