// SPDX-License-Identifier: GPL-3.0-or-later
// Editing one row of the item list in the small dialog.
#include "gui/widgets/ListRows.h"
#include "gui/dialogs/ItemEditDialog.h"
#include "gui/widgets/ItemListBox.h"
#include "gui/mainwindow/MainWindow.h"
#include "support/TestSupport.h"

#include <QClipboard>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QScreen>
#include <QTimer>
#include <QWindow>

class InputFormTest : public QObject
{
    Q_OBJECT
private slots:
    void init()
    {
        m_config = std::make_unique<ScopedConfigDir>();
        m_form = std::make_unique<TForm1>();
        m_form->ListBox1->setItems({"first", "second", "third"});
    }
    void cleanup()
    {
        m_form.reset();
        m_config.reset();
    }

    void showsTheCurrentRowSelected();
    void okWritesTheRowBack_data();
    void okWritesTheRowBack();
    void cancelAndCloseLeaveTheRow();
    void otherSelectedRowsStaySelected();
    void placedBelowTheMainWindowsMiddleButOnScreen();
    void doubleClickOpensOnlyWithACurrentRow();
    void keysAndRowsOfAnyLength();

private:
    std::unique_ptr<ScopedConfigDir> m_config;
    std::unique_ptr<TForm1> m_form;
};

void InputFormTest::showsTheCurrentRowSelected()
{
    m_form->ListBox1->setCurrentRow(0);
    TInputForm dialog(m_form->ListBox1, m_form.get());
    dialog.show();
    QCOMPARE(dialog.windowTitle(), QStringLiteral("ペロラ - 簡易編集ボックス"));
    QCOMPARE(dialog.size(), QSize(632, 85));
    QCOMPARE(dialog.Label1->text(), QStringLiteral("1番目のアイテムを編集します"));
    QCOMPARE(dialog.Edit->text(), QStringLiteral("first"));
    QCOMPARE(dialog.Edit->selectedText(), QStringLiteral("first"));
    QCOMPARE(dialog.Edit->geometry(), QRect(8, 32, 617, 20));
    QCOMPARE(dialog.OkBtn->geometry(), QRect(152, 56, 105, 25));
    QCOMPARE(dialog.CanBtn->text(), QStringLiteral("キャンセル"));
    // A window system that resizes it in spite of its size hints does not
    // change its frame.
    dialog.windowHandle()->setMaximumSize(QSize(900, 300));
    dialog.windowHandle()->resize(900, 300);
    QCoreApplication::processEvents();
    QTRY_COMPARE(dialog.size(), QSize(632, 85));
}

void InputFormTest::okWritesTheRowBack_data()
{
    QTest::addColumn<QString>("typed");
    QTest::addColumn<bool>("enter");
    QTest::newRow("unchanged, OK button") << QString() << false;
    QTest::newRow("new text, Enter") << QStringLiteral("3曲目") << true;
    QTest::newRow("emptied, Enter") << QStringLiteral("\b") << true;
}

void InputFormTest::okWritesTheRowBack()
{
    QFETCH(QString, typed);
    QFETCH(bool, enter);
    m_form->ListBox1->setCurrentRow(2);
    TInputForm dialog(m_form->ListBox1, m_form.get());
    dialog.show();
    QString expected = QStringLiteral("third");
    if (typed == QStringLiteral("\b")) {
        QTest::keyClick(dialog.Edit, Qt::Key_Backspace);
        expected.clear();
    } else if (!typed.isEmpty()) {
        dialog.Edit->insert(typed);
        expected = typed;
    }
    if (enter) {
        QTest::keyClick(dialog.Edit, Qt::Key_Return);
        // The Enter went to OK, not into the text.
        QCOMPARE(dialog.Edit->text(), expected);
    } else {
        dialog.OkBtn->click();
    }
    QCOMPARE(dialog.result(), int(QDialog::Accepted));
    QCOMPARE(m_form->ListBox1->count(), 3);
    QCOMPARE(m_form->ListBox1->item(2)->text(), expected);
    QVERIFY(m_form->ListBox1->item(2)->isSelected());
    QCOMPARE(m_form->ListBox1->currentRow(), 2);
}

void InputFormTest::cancelAndCloseLeaveTheRow()
{
    m_form->ListBox1->setCurrentRow(1);
    {
        TInputForm dialog(m_form->ListBox1, m_form.get());
        dialog.show();
        QTest::keyClicks(dialog.Edit, QStringLiteral("changed"));
        dialog.CanBtn->click();
        QCOMPARE(dialog.result(), int(QDialog::Rejected));
    }
    {
        TInputForm dialog(m_form->ListBox1, m_form.get());
        dialog.show();
        QTest::keyClicks(dialog.Edit, QStringLiteral("changed"));
        dialog.close();
    }
    QCOMPARE(m_form->ListBox1->items(), (QStringList{"first", "second", "third"}));
    QCOMPARE(ListRows::selectedRows(m_form->ListBox1), std::vector<int>{1});
}

void InputFormTest::otherSelectedRowsStaySelected()
{
    ListRows::select(m_form->ListBox1, {true, false, true});
    m_form->ListBox1->setCurrentRow(1, QItemSelectionModel::NoUpdate);
    TInputForm dialog(m_form->ListBox1, m_form.get());
    dialog.show();
    dialog.OkBtn->click();
    QCOMPARE(ListRows::selectedRows(m_form->ListBox1), (std::vector<int>{0, 1, 2}));
}

void InputFormTest::placedBelowTheMainWindowsMiddleButOnScreen()
{
    m_form->move(193, 107);
    m_form->ListBox1->setCurrentRow(0);
    {
        TInputForm dialog(m_form->ListBox1, m_form.get());
        QCOMPARE(dialog.pos(), QPoint(192, m_form->y() + m_form->height() / 2 - 56));
    }
    const QRect available = m_form->screen()->availableGeometry();
    m_form->move(193, available.bottom() - 60);
    TInputForm low(m_form->ListBox1, m_form.get());
    QCOMPARE(low.x(), 192);
    QVERIFY(low.y() + low.height() <= available.bottom());
}

void InputFormTest::doubleClickOpensOnlyWithACurrentRow()
{
    int opened = 0;
    auto closeAnyDialog = [&] {
        if (auto *dialog = qobject_cast<TInputForm *>(QApplication::activeModalWidget())) {
            ++opened;
            QCOMPARE(dialog->Label1->text(), QStringLiteral("2番目のアイテムを編集します"));
            dialog->Edit->setText(QStringLiteral("edited"));
            dialog->OkBtn->click();
        }
    };
    m_form->show();
    m_form->ListBox1->setCurrentRow(-1);
    m_form->ListBox1DblClick();
    QCOMPARE(opened, 0);

    m_form->ListBox1->setCurrentRow(1);
    QTimer::singleShot(0, this, closeAnyDialog);
    m_form->ListBox1DblClick();
    QCOMPARE(opened, 1);
    QCOMPARE(m_form->ListBox1->item(1)->text(), QStringLiteral("edited"));
}

// Enter presses the focused button, as on the platform; a row longer than
// the line edit's default limit comes back whole; a pasted text keeps what
// stands before its first line break.
void InputFormTest::keysAndRowsOfAnyLength()
{
    const QString longRow(40000, u'長');
    m_form->ListBox1->item(1)->setText(longRow);
    m_form->ListBox1->setCurrentRow(1);
    {
        TInputForm dialog(m_form->ListBox1, m_form.get());
        dialog.show();
        QTest::keyClicks(dialog.Edit, QStringLiteral("x"));
        dialog.CanBtn->setFocus();
        QTest::keyClick(dialog.CanBtn, Qt::Key_Return);
        QVERIFY(!dialog.isVisible());
        QCOMPARE(dialog.result(), int(QDialog::Rejected));
    }
    {
        TInputForm dialog(m_form->ListBox1, m_form.get());
        dialog.show();
        dialog.OkBtn->setFocus();
        QTest::keyClick(dialog.OkBtn, Qt::Key_Return);
        QCOMPARE(dialog.result(), int(QDialog::Accepted));
    }
    QCOMPARE(m_form->ListBox1->item(1)->text(), longRow);
    {
        TInputForm dialog(m_form->ListBox1, m_form.get());
        dialog.show();
        dialog.Edit->setText(QStringLiteral("ab"));
        dialog.Edit->setCursorPosition(1);
        QApplication::clipboard()->setText(QStringLiteral("X\r\nY"));
        QTest::keySequence(dialog.Edit, QKeySequence::Paste);
        QCOMPARE(dialog.Edit->text(), QStringLiteral("aXb"));
        QCOMPARE(dialog.Edit->cursorPosition(), 2);
        // Over a selection, even when the pasted lines end as the old text did.
        dialog.Edit->selectAll();
        QApplication::clipboard()->setText(QStringLiteral("Y\naXb"));
        QTest::keySequence(dialog.Edit, QKeySequence::Paste);
        QCOMPARE(dialog.Edit->text(), QStringLiteral("Y"));
    }
}

PELORA_TEST_MAIN(InputFormTest)
#include "tst_inputform.moc"
