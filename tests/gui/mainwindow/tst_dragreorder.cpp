// SPDX-License-Identifier: GPL-3.0-or-later
// Reordering rows by dragging them with the mouse. The offscreen platform
// cannot run a real drag, so the drag itself is replaced by a drop at a
// chosen place, sent as the events a real one would send.
#include "gui/widgets/ListRows.h"
#include "gui/widgets/ItemListBox.h"
#include "gui/widgets/LineNumbers.h"
#include "gui/widgets/Memo.h"
#include "gui/mainwindow/MainWindow.h"
#include "support/MainWindowFixture.h"

#include <QDrag>
#include <QMimeData>

namespace {

// Rows as letters with a current row, as a press on the list leaves it.
void fill(TForm1 &form, const QString &letters, const QString &selected)
{
    fillRows(form, letters, selected);
    form.ListBox1->setCurrentRow(0, QItemSelectionModel::NoUpdate);
}

QPoint rowCenter(const TForm1 &form, int row) { return form.ListBox1->visualItemRect(form.ListBox1->item(row)).center(); }

}  // namespace

class DragReorderTest : public QObject
{
    Q_OBJECT
private slots:
    void init() { QVERIFY(m_window.start()); }
    void cleanup() { m_window.stop(); }

    void dropPlacesTheBlock_data();
    void dropPlacesTheBlock();
    void dropOutsideTheRowsChangesNothing();
    void acceptsOnlyItsOwnRowsWithACurrentRow();
    void pressOnASelectedRowKeepsTheSelection();
    void dragStartsAfterFivePixels();
    void ctrlClickNeverStartsADrag();
    void dragOfAnUnselectedRowMovesItAlone();
    void dropEventsReachTheDropHandler();

private:
    MainWindowFixture m_window;
};

void DragReorderTest::dropPlacesTheBlock_data()
{
    QTest::addColumn<QString>("rows");
    QTest::addColumn<QString>("selected");
    QTest::addColumn<int>("target");  // -1: the empty space below the last row
    QTest::addColumn<QString>("result");
    QTest::newRow("on A") << "ABCDE" << "BD" << 0 << "BDACE";
    QTest::newRow("on E") << "ABCDE" << "BD" << 4 << "ACBDE";
    QTest::newRow("on D") << "ABCDE" << "BD" << 3 << "ACBDE";
    QTest::newRow("on B") << "ABCDE" << "BD" << 1 << "ABDCE";
    QTest::newRow("below E") << "ABCDE" << "BD" << -1 << "ACEBD";
    QTest::newRow("B on C") << "ABCDE" << "B" << 2 << "ABCDE";
    QTest::newRow("blank last row") << "AB " << "A" << -1 << "B A";
}

void DragReorderTest::dropPlacesTheBlock()
{
    QFETCH(QString, rows);
    QFETCH(QString, selected);
    QFETCH(int, target);
    QFETCH(QString, result);
    TForm1 &form = *m_window.form;
    fill(form, rows, selected);
    const QPoint at = target >= 0 ? rowCenter(form, target) : rowCenter(form, rows.size() - 1) + QPoint(0, 40);
    form.ListBox1DragDrop(form.ListBox1, at.x(), at.y());
    QCOMPARE(rowLetters(form), result);
    QCOMPARE(selectedLetters(form), selected);
    QCOMPARE(form.MemoNum->shownNumbers().size(), rows.size());
}

void DragReorderTest::dropOutsideTheRowsChangesNothing()
{
    TForm1 &form = *m_window.form;
    fill(form, "ABCDE", "BD");
    form.ListBox1DragDrop(form.ListBox1, -5, 3);
    QCOMPARE(rowLetters(form), QStringLiteral("ABCDE"));
    form.ListBox1->clear();
    form.ListBox1DragDrop(form.ListBox1, 10, 10);
    QCOMPARE(form.ListBox1->count(), 0);
}

void DragReorderTest::acceptsOnlyItsOwnRowsWithACurrentRow()
{
    TForm1 &form = *m_window.form;
    fill(form, "ABC", "A");
    QVERIFY(form.ListBox1DragOver(form.ListBox1));
    QVERIFY(!form.ListBox1DragOver(form.Memo1));
    QVERIFY(!form.ListBox1DragOver(nullptr));
    form.ListBox1->setCurrentRow(-1);
    QVERIFY(!form.ListBox1DragOver(form.ListBox1));
}

void DragReorderTest::pressOnASelectedRowKeepsTheSelection()
{
    TForm1 &form = *m_window.form;
    fill(form, "ABCDE", "BD");
    QWidget *viewport = form.ListBox1->viewport();
    QTest::mousePress(viewport, Qt::LeftButton, Qt::NoModifier, rowCenter(form, 1));
    QCOMPARE(selectedLetters(form), QStringLiteral("BD"));
    // Released without moving: a plain click on that row.
    QTest::mouseRelease(viewport, Qt::LeftButton, Qt::NoModifier, rowCenter(form, 1));
    QCOMPARE(selectedLetters(form), QStringLiteral("B"));
    QCOMPARE(form.ListBox1->currentRow(), 1);
}

void DragReorderTest::dragStartsAfterFivePixels()
{
    TForm1 &form = *m_window.form;
    fill(form, "ABCDE", "BD");
    int started = 0;
    form.ListBox1->runDrag = [&](QDrag *drag) {
        ++started;
        // A drag of rows is never taken for dropped files.
        if (drag->mimeData()->hasUrls())
            ++started;
        return Qt::IgnoreAction;
    };
    QWidget *viewport = form.ListBox1->viewport();
    const QPoint start = rowCenter(form, 3);
    QTest::mousePress(viewport, Qt::LeftButton, Qt::NoModifier, start);
    QMouseEvent nearMove(QEvent::MouseMove, start + QPoint(4, 4), viewport->mapToGlobal(start + QPoint(4, 4)), Qt::NoButton,
                         Qt::LeftButton, Qt::NoModifier);
    QApplication::sendEvent(viewport, &nearMove);
    QCOMPARE(started, 0);
    QMouseEvent farMove(QEvent::MouseMove, start + QPoint(0, 5), viewport->mapToGlobal(start + QPoint(0, 5)), Qt::NoButton,
                        Qt::LeftButton, Qt::NoModifier);
    QApplication::sendEvent(viewport, &farMove);
    QCOMPARE(started, 1);
    QTest::mouseRelease(viewport, Qt::LeftButton, Qt::NoModifier, start);
    QCOMPARE(rowLetters(form), QStringLiteral("ABCDE"));
}

void DragReorderTest::ctrlClickNeverStartsADrag()
{
    TForm1 &form = *m_window.form;
    fill(form, "ABCDE", "B");
    int started = 0;
    form.ListBox1->runDrag = [&](QDrag *) {
        ++started;
        return Qt::IgnoreAction;
    };
    QWidget *viewport = form.ListBox1->viewport();
    const QPoint start = rowCenter(form, 3);
    QTest::mousePress(viewport, Qt::LeftButton, Qt::ControlModifier, start);
    QCOMPARE(selectedLetters(form), QStringLiteral("BD"));
    QMouseEvent move(QEvent::MouseMove, start + QPoint(0, 30), viewport->mapToGlobal(start + QPoint(0, 30)), Qt::NoButton,
                     Qt::LeftButton, Qt::ControlModifier);
    QApplication::sendEvent(viewport, &move);
    QTest::mouseRelease(viewport, Qt::LeftButton, Qt::ControlModifier, start + QPoint(0, 30));
    QCOMPARE(started, 0);
}

void DragReorderTest::dragOfAnUnselectedRowMovesItAlone()
{
    TForm1 &form = *m_window.form;
    fill(form, "ABCDE", "B");
    QWidget *viewport = form.ListBox1->viewport();
    form.ListBox1->runDrag = [&](QDrag *) {
        // The press selected the row; the drop on A puts it first.
        form.ListBox1DragDrop(form.ListBox1, rowCenter(form, 0).x(), rowCenter(form, 0).y());
        return Qt::MoveAction;
    };
    const QPoint start = rowCenter(form, 3);
    QTest::mousePress(viewport, Qt::LeftButton, Qt::NoModifier, start);
    QCOMPARE(selectedLetters(form), QStringLiteral("D"));
    QMouseEvent move(QEvent::MouseMove, start - QPoint(0, 40), viewport->mapToGlobal(start - QPoint(0, 40)), Qt::NoButton,
                     Qt::LeftButton, Qt::NoModifier);
    QApplication::sendEvent(viewport, &move);
    QCOMPARE(rowLetters(form), QStringLiteral("DABCE"));
    QCOMPARE(selectedLetters(form), QStringLiteral("D"));
}

void DragReorderTest::dropEventsReachTheDropHandler()
{
    TForm1 &form = *m_window.form;
    fill(form, "ABCDE", "BD");
    // Without a drag of our own, the source is unknown: the drop is refused.
    QMimeData data;
    data.setData(ItemListBox::rowDragFormat(), QByteArray());
    QDropEvent drop(QPointF(rowCenter(form, 0)), Qt::MoveAction, &data, Qt::LeftButton, Qt::NoModifier);
    QApplication::sendEvent(form.ListBox1->viewport(), &drop);
    QVERIFY(!drop.isAccepted());
    QCOMPARE(rowLetters(form), QStringLiteral("ABCDE"));
}

PELORA_TEST_MAIN(DragReorderTest)
#include "tst_dragreorder.moc"
