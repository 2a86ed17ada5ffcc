// SPDX-License-Identifier: GPL-3.0-or-later
// The row commands of the main window, driven through its buttons, menus
// and keys.
#include "gui/widgets/ListRows.h"
#include "gui/widgets/ItemListBox.h"
#include "gui/widgets/LineNumbers.h"
#include "gui/widgets/Memo.h"
#include "gui/mainwindow/MainWindow.h"
#include "support/MainWindowFixture.h"

#include <QAction>
#include <QComboBox>
#include <QLineEdit>
#include <QPushButton>

namespace {

}  // namespace

class ItemCommandsTest : public QObject
{
    Q_OBJECT
private slots:
    void init() { QVERIFY(m_window.start()); }
    void cleanup() { m_window.stop(); }

    void movesKeepTheSelectionAndTheCurrentRow();
    void everyRowSelectedMovesNothing();
    void altArrowsMoveWhateverHasTheFocus();
    void deleteAsksUnlessTurnedOff();
    void deleteInEditorModeRemovesTheSelectedText();
    void deleteAllOnAnEmptyDocumentAsksNothing();
    void deleteAllWithOnlyATitle();
    void blankRowBecomesTheOnlySelectedRow();
    void quickOptionsToggle();
    void upKeyInTheListRefreshes();

private:
    MainWindowFixture m_window;
};

void ItemCommandsTest::movesKeepTheSelectionAndTheCurrentRow()
{
    TForm1 &form = *m_window.form;
    fillRows(form, "ABCDE", "BD");
    form.ListBox1->setCurrentRow(2, QItemSelectionModel::NoUpdate);
    form.BtnUP->click();
    QCOMPARE(rowLetters(form), QStringLiteral("BADCE"));
    QCOMPARE(selectedLetters(form), QStringLiteral("BD"));
    QCOMPARE(form.ListBox1->currentRow(), 2);

    fillRows(form, "ABCDE", "AC");
    form.BtnDown->click();
    QCOMPARE(rowLetters(form), QStringLiteral("BADCE"));
    QCOMPARE(selectedLetters(form), QStringLiteral("AC"));

    // Pressed again once the selection is a block at the top: nothing moves.
    fillRows(form, "ABCDE", "ABD");
    form.BtnUP->click();
    QCOMPARE(rowLetters(form), QStringLiteral("ABDCE"));
    form.BtnUP->click();
    QCOMPARE(rowLetters(form), QStringLiteral("ABDCE"));
    QCOMPARE(selectedLetters(form), QStringLiteral("ABD"));
}

void ItemCommandsTest::everyRowSelectedMovesNothing()
{
    TForm1 &form = *m_window.form;
    fillRows(form, "ABC", "ABC");
    form.BtnUP->click();
    form.BtnDown->click();
    QCOMPARE(rowLetters(form), QStringLiteral("ABC"));
    QCOMPARE(selectedLetters(form), QStringLiteral("ABC"));
}

void ItemCommandsTest::altArrowsMoveWhateverHasTheFocus()
{
    TForm1 &form = *m_window.form;
    fillRows(form, "ABCDE", "BD");
    form.EditTi->setFocus();
    QTRY_VERIFY(form.EditTi->hasFocus());
    QTest::keyClick(form.EditTi, Qt::Key_Up, Qt::AltModifier);
    QCOMPARE(rowLetters(form), QStringLiteral("BADCE"));
    form.ListBox1->setFocus();
    QTRY_VERIFY(form.ListBox1->hasFocus());
    QTest::keyClick(form.ListBox1, Qt::Key_Down, Qt::AltModifier);
    QCOMPARE(rowLetters(form), QStringLiteral("ABCDE"));
    // The list does not turn Alt+arrow into a selection change of its own.
    QCOMPARE(selectedLetters(form), QStringLiteral("BD"));
}

void ItemCommandsTest::deleteAsksUnlessTurnedOff()
{
    TForm1 &form = *m_window.form;
    MessageRecorder messages;
    fillRows(form, "ABCDE", "BD");
    messages.answerNext(false);
    form.DelBtn->click();
    QCOMPARE(rowLetters(form), QStringLiteral("ABCDE"));
    QCOMPARE(messages.shown().size(), 1);
    QCOMPARE(messages.shown()[0].kind, Messages::Kind::Question);
    QCOMPARE(messages.shown()[0].title, QStringLiteral("確認"));
    QCOMPARE(messages.shown()[0].text, QStringLiteral("選択したアイテムを削除します。よろしいですか？"));

    messages.answerNext(true);
    form.DeleteMe->trigger();
    QCOMPARE(rowLetters(form), QStringLiteral("ACE"));
    QCOMPARE(selectedLetters(form), QString());
    QCOMPARE(form.MemoNum->shownNumbers(), (QStringList{"1", "2", "3"}));

    ConfirmDelete = false;
    messages.clear();
    fillRows(form, "ABC", "C");
    form.DelBtn->click();
    QCOMPARE(rowLetters(form), QStringLiteral("AB"));
    QVERIFY(messages.shown().isEmpty());

    // Nothing selected: nothing happens.
    form.DelBtn->click();
    QCOMPARE(rowLetters(form), QStringLiteral("AB"));
}

void ItemCommandsTest::deleteInEditorModeRemovesTheSelectedText()
{
    TForm1 &form = *m_window.form;
    MessageRecorder messages;
    form.ToEditorMode();
    form.Memo1->setPlainText(QStringLiteral("one\ntwo\nthree\n"));
    form.DelBtn->click();
    QCOMPARE(form.Memo1->toPlainText(), QStringLiteral("one\ntwo\nthree\n"));
    QVERIFY(messages.shown().isEmpty());

    QTextCursor cursor = form.Memo1->textCursor();
    cursor.setPosition(4);
    cursor.setPosition(8, QTextCursor::KeepAnchor);
    form.Memo1->setTextCursor(cursor);
    form.DelBtn->click();
    QCOMPARE(messages.texts(), QStringList{QStringLiteral("選択したテキストを削除します。よろしいですか？")});
    QCOMPARE(form.Memo1->toPlainText(), QStringLiteral("one\nthree\n"));
    QCOMPARE(form.MemoNum->shownNumbers(), (QStringList{"1", "2", "3"}));
}

void ItemCommandsTest::deleteAllOnAnEmptyDocumentAsksNothing()
{
    TForm1 &form = *m_window.form;
    MessageRecorder messages;
    CurrentFileName = QStringLiteral("/tmp/kept.plr");
    HasFileName = true;
    form.AllDelbtn->click();
    QVERIFY(messages.shown().isEmpty());
    QCOMPARE(CurrentFileName, QStringLiteral("/tmp/kept.plr"));
    QVERIFY(HasFileName);

    // Items only in the hidden list do not count in editor mode.
    form.ListBox1->setItems({"stale"});
    form.ToEditorMode();
    form.Memo1->clear();
    form.New1->trigger();
    QVERIFY(messages.shown().isEmpty());
}

void ItemCommandsTest::deleteAllWithOnlyATitle()
{
    TForm1 &form = *m_window.form;
    MessageRecorder messages;
    form.EditTi->setText(QStringLiteral("題名"));
    CurrentFileName = QStringLiteral("/tmp/jacket.plr");
    HasFileName = true;
    messages.answerNext(false);
    form.AllDelMe->trigger();
    QCOMPARE(form.EditTi->text(), QStringLiteral("題名"));
    QVERIFY(HasFileName);

    messages.answerNext(true);
    form.AllDelbtn->click();
    QCOMPARE(messages.texts().last(), QStringLiteral("タイトルと内容の全てを削除します。よろしいですか？"));
    QCOMPARE(form.EditTi->text(), QString());
    QVERIFY(!HasFileName);
    QCOMPARE(CurrentFileName, QStringLiteral("無題.plr"));

    // Without confirmation the content goes at once; the mode stays.
    ConfirmDeleteAll = false;
    messages.clear();
    form.ToEditorMode();
    form.Memo1->setPlainText(QStringLiteral("x\n"));
    form.ComboTFS->setCurrentText(QStringLiteral("30"));
    form.AllDelbtn->click();
    QVERIFY(messages.shown().isEmpty());
    QCOMPARE(form.Memo1->toPlainText(), QString());
    QVERIFY(EditorMode);
    QCOMPARE(form.ComboTFS->currentText(), QStringLiteral("30"));
}

void ItemCommandsTest::blankRowBecomesTheOnlySelectedRow()
{
    TForm1 &form = *m_window.form;
    fillRows(form, "ABC", "AB");
    form.BlankBtn->click();
    QCOMPARE(form.ListBox1->count(), 4);
    QCOMPARE(form.ListBox1->item(3)->text(), QString());
    QCOMPARE(ListRows::selectedRows(form.ListBox1), std::vector<int>{3});
    QCOMPARE(form.MemoNum->shownNumbers(), (QStringList{"1", "2", "3", "4"}));
    form.BlankMe->trigger();
    QCOMPARE(ListRows::selectedRows(form.ListBox1), std::vector<int>{4});
}

void ItemCommandsTest::quickOptionsToggle()
{
    TForm1 &form = *m_window.form;
    for (QAction *option : {form.n1, form.AcqTag, form.PlusNum}) {
        QVERIFY(option->isChecked());
        option->trigger();
        QVERIFY(!option->isChecked());
        option->trigger();
        QVERIFY(option->isChecked());
    }
}

void ItemCommandsTest::upKeyInTheListRefreshes()
{
    TForm1 &form = *m_window.form;
    fillRows(form, "ABC", "B");
    form.ListBox1->setCurrentRow(1);
    form.ListBox1->setFocus();
    QTRY_VERIFY(form.ListBox1->hasFocus());
    QTest::keyClick(form.ListBox1, Qt::Key_Down);
    QCOMPARE(form.MemoNum->shownNumbers(), (QStringList{"1", "2", "3"}));
    QCOMPARE(form.ListBox1->currentRow(), 2);
}

PELORA_TEST_MAIN(ItemCommandsTest)
#include "tst_itemcommands.moc"
