// SPDX-License-Identifier: GPL-3.0-or-later
#include "gui/widgets/ItemListBox.h"
#include "gui/widgets/Memo.h"
#include "gui/widgets/SPTimer.h"
#include "gui/mainwindow/MainWindow.h"
#include "support/TestSupport.h"

#include <QAbstractTextDocumentLayout>
#include <QAction>
#include <QClipboard>
#include <QMenu>
#include <QPushButton>
#include <QScrollBar>
#include <QTextBlock>
#include <QTextLayout>
#include <QWheelEvent>

namespace {

QStringList numbers(const TForm1 &form) { return form.MemoNum->lines(); }

QStringList oneTo(int n)
{
    QStringList out;
    for (int i = 1; i <= n; ++i)
        out << QString::number(i);
    return out;
}

QStringList rows(int n)
{
    QStringList out;
    for (int i = 0; i < n; ++i)
        out << QStringLiteral("row %1").arg(i + 1);
    return out;
}

// The pixel rows of `area` that hold text: those with a pixel at least half
// as dark as the darkest one, whatever the colours.
QList<int> textRows(const QImage &picture, const QRect &area)
{
    QList<int> darkest;
    int lightest = 0;
    for (int y = area.top(); y <= area.bottom(); ++y) {
        int dark = 255;
        for (int x = area.left(); x <= area.right(); ++x) {
            const int gray = qGray(picture.pixel(x, y));
            dark = qMin(dark, gray);
            lightest = qMax(lightest, gray);
        }
        darkest << dark;
    }
    const int threshold = (lightest + *std::min_element(darkest.begin(), darkest.end())) / 2;
    QList<int> out;
    for (int i = 0; i < darkest.size(); ++i) {
        if (darkest[i] < threshold)
            out << area.top() + i;
    }
    return out;
}

}  // namespace

class ViewRefreshTest : public QObject
{
    Q_OBJECT
private slots:
    void init() { m_config = std::make_unique<ScopedConfigDir>(); }
    void cleanup() { m_config.reset(); }

    void listModeNumbersEveryItem();
    void editorModeNumbersOneLineMore_data();
    void editorModeNumbersOneLineMore();
    void modeRoundTripKeepsEmptyItems();
    void editorModeHidesTheListCommands();
    void scrollBarScrollMovesNumbersAtOnce();
    void numbersFollowEveryScroll_data();
    void numbersFollowEveryScroll();
    void pasteRenumbersAtOnceReturnAfterTheTimer();
    void ctrlASelectsTheWholeText();
    void numbersStayLevelAtTheBottom_data();
    void numbersStayLevelAtTheBottom();
    void fallbackFacesKeepThePitch();
    void fourDigitNumbersWidenTheColumn();

private:
    std::unique_ptr<ScopedConfigDir> m_config;
};

void ViewRefreshTest::listModeNumbersEveryItem()
{
    TForm1 form;
    form.RefreshView();
    QCOMPARE(form.MemoNum->toPlainText(), QString());
    form.ListBox1->setItems(rows(5));
    form.RefreshView();
    QCOMPARE(numbers(form), oneTo(5));
    form.ListBox1->setItems(rows(2));
    form.RefreshView();
    QCOMPARE(numbers(form), oneTo(2));
    form.ListBox1->clear();
    form.RefreshView();
    QCOMPARE(form.MemoNum->lineCount(), 0);
}

void ViewRefreshTest::editorModeNumbersOneLineMore_data()
{
    QTest::addColumn<QString>("text");
    QTest::addColumn<int>("count");
    QTest::newRow("empty") << QString() << 1;
    QTest::newRow("no final break") << QStringLiteral("a\nb") << 3;
    QTest::newRow("final break") << QStringLiteral("a\nb\n") << 3;
    QTest::newRow("two final breaks") << QStringLiteral("a\nb\n\n") << 4;
}

void ViewRefreshTest::editorModeNumbersOneLineMore()
{
    QFETCH(QString, text);
    QFETCH(int, count);
    TForm1 form;
    form.ToEditorMode();
    form.Memo1->setPlainText(text);
    form.RefreshView();
    QCOMPARE(numbers(form), oneTo(count));
}

void ViewRefreshTest::modeRoundTripKeepsEmptyItems()
{
    TForm1 form;
    const QStringList items{"a", "", "b", ""};
    form.ListBox1->setItems(items);
    form.ToEditorMode();
    QCOMPARE(form.Memo1->toPlainText(), QStringLiteral("a\n\nb\n\n"));
    QCOMPARE(numbers(form), oneTo(5));
    form.ToListMode();
    QCOMPARE(form.ListBox1->items(), items);
    QCOMPARE(numbers(form), oneTo(4));

    // No items: an empty editor, and back to no items.
    form.ListBox1->clear();
    form.ToEditorMode();
    QCOMPARE(form.Memo1->toPlainText(), QString());
    form.ToListMode();
    QCOMPARE(form.ListBox1->count(), 0);
}

void ViewRefreshTest::editorModeHidesTheListCommands()
{
    TForm1 form;
    form.show();
    QVERIFY(QTest::qWaitForWindowActive(&form));
    form.ModeBtn->click();
    QVERIFY(form.Memo1->isVisible());
    QVERIFY(!form.ListBox1->isVisible());
    QVERIFY(!form.BtnUP->isVisible() && !form.BtnDown->isVisible() && !form.BlankBtn->isVisible());
    QVERIFY(form.DelBtn->isVisible() && form.AllDelbtn->isVisible() && form.ModeBtn->isVisible());
    QTRY_VERIFY(form.Memo1->hasFocus());
    emit form.HenshuMe->aboutToShow();
    QVERIFY(!form.BlankMe->isEnabled());
    QVERIFY(form.DeleteMe->isEnabled() && form.AllDelMe->isEnabled());

    form.ModeBtn->click();
    QVERIFY(form.ListBox1->isVisible() && form.BtnUP->isVisible() && form.BlankBtn->isVisible());
    emit form.HenshuMe->aboutToShow();
    QVERIFY(form.BlankMe->isEnabled());
}

void ViewRefreshTest::scrollBarScrollMovesNumbersAtOnce()
{
    TForm1 form;
    form.show();
    QVERIFY(QTest::qWaitForWindowExposed(&form));
    form.ListBox1->setItems(rows(300));
    QCoreApplication::processEvents();
    form.RefreshView();
    form.SPTimer->Stop();
    QScrollBar *bar = form.ListBox1->verticalScrollBar();
    bar->setValue(118);
    bar->triggerAction(QAbstractSlider::SliderSingleStepAdd);
    QCOMPARE(form.ListBox1->topIndex(), 119);
    QTRY_COMPARE(form.MemoNum->firstVisibleLine(), 119);
    QVERIFY(!form.SPTimer->isActive());
    const QTextBlock top = form.MemoNum->document()->findBlockByNumber(form.MemoNum->firstVisibleLine());
    QCOMPARE(top.text(), QStringLiteral("120"));
}

// However the list or the editor scrolls, the numbers are level with it
// before the next paint; the wheel still starts the deferred refresh.
void ViewRefreshTest::numbersFollowEveryScroll_data()
{
    QTest::addColumn<bool>("editor");
    QTest::addColumn<QString>("how");
    for (const char *how : {"wheel over the rows", "wheel over the scroll bar", "PageDown", "End", "type-ahead",
                            "Shift-drag below the rows", "program"})
        QTest::addRow("list: %s", how) << false << QString::fromLatin1(how);
    for (const char *how : {"wheel over the scroll bar", "arrow keys", "program"})
        QTest::addRow("editor: %s", how) << true << QString::fromLatin1(how);
}

void ViewRefreshTest::numbersFollowEveryScroll()
{
    QFETCH(bool, editor);
    QFETCH(QString, how);
    TForm1 form;
    form.show();
    QVERIFY(QTest::qWaitForWindowActive(&form));
    form.ListBox1->setItems(rows(100));
    if (editor)
        form.ToEditorMode();
    QCoreApplication::processEvents();
    form.RefreshView();
    form.SPTimer->Stop();
    QAbstractScrollArea *view = editor ? static_cast<QAbstractScrollArea *>(form.Memo1) : form.ListBox1;
    QScrollBar *bar = view->verticalScrollBar();
    view->setFocus();
    form.ListBox1->setCurrentRow(0);
    const auto wheelOn = [](QWidget *widget) {
        const QPointF at(5, 5);
        QWheelEvent wheel(at, widget->mapToGlobal(at), QPoint(), QPoint(0, -120), Qt::NoButton, Qt::NoModifier,
                          Qt::NoScrollPhase, false);
        QApplication::sendEvent(widget, &wheel);
    };
    if (how == u"wheel over the rows")
        wheelOn(view->viewport());
    else if (how == u"wheel over the scroll bar")
        wheelOn(bar);
    else if (how == u"PageDown")
        QTest::keyClick(view, Qt::Key_PageDown), QTest::keyClick(view, Qt::Key_PageDown);
    else if (how == u"End")
        QTest::keyClick(view, Qt::Key_End);
    else if (how == u"type-ahead")
        QTest::keyClicks(view, QStringLiteral("row 90"));
    else if (how == u"Shift-drag below the rows") {
        // Press on a row with Shift held and drag to the bottom edge: the list
        // scrolls by itself.
        const QPoint start = form.ListBox1->visualItemRect(form.ListBox1->item(0)).center();
        const QPoint edge(start.x(), view->viewport()->height() - 3);
        QTest::mousePress(view->viewport(), Qt::LeftButton, Qt::ShiftModifier, start);
        QTest::mouseMove(view->viewport(), edge);
        QTest::mouseMove(view->viewport(), edge + QPoint(1, 0));
        QTRY_VERIFY(bar->value() > 3);
        QTest::mouseRelease(view->viewport(), Qt::LeftButton, Qt::ShiftModifier, edge);
    } else if (how == u"arrow keys") {
        for (int i = 0; i < 40; ++i)
            QTest::keyClick(view, Qt::Key_Down);
    } else {
        bar->setValue(37);
    }
    // A list scrolls to its new current row when it next lays itself out.
    QTRY_VERIFY2(bar->value() > 0, "the view did not scroll");
    QCOMPARE(form.MemoNum->firstVisibleLine(), bar->value());
    if (how == u"wheel over the rows")
        QVERIFY(form.SPTimer->isActive());
}

void ViewRefreshTest::pasteRenumbersAtOnceReturnAfterTheTimer()
{
    TForm1 form;
    form.show();
    QVERIFY(QTest::qWaitForWindowActive(&form));
    form.ToEditorMode();
    form.SPTimer->Stop();
    QApplication::clipboard()->setText(QStringLiteral("x\ny\nz\n"));
    QTest::keySequence(form.Memo1, QKeySequence::Paste);
    QCOMPARE(form.Memo1->lineCount(), 3);
    QCOMPARE(numbers(form), oneTo(4));
    QVERIFY(!form.SPTimer->isActive());

    QTest::keyClick(form.Memo1, Qt::Key_Return);
    QCOMPARE(form.Memo1->lineCount(), 4);
    QCOMPARE(numbers(form), oneTo(4));
    QVERIFY(form.SPTimer->isActive());
    QTRY_COMPARE_WITH_TIMEOUT(numbers(form), oneTo(5), 3000);
}

void ViewRefreshTest::ctrlASelectsTheWholeText()
{
    TForm1 form;
    form.ToEditorMode();
    form.Memo1->setPlainText(QStringLiteral("one\ntwo\n"));
    QTest::keyClick(form.Memo1, Qt::Key_A, Qt::ControlModifier);
    QCOMPARE(form.Memo1->textCursor().selectedText(), QStringLiteral("one\u2029two\u2029"));
}

void ViewRefreshTest::numbersStayLevelAtTheBottom_data()
{
    QTest::addColumn<bool>("editor");
    QTest::newRow("list") << false;
    QTest::newRow("editor") << true;
}

// Rows, lines and numbers are 16 px apart, and each number stands level
// with its row to the pixel, however far the view has scrolled.
void ViewRefreshTest::numbersStayLevelAtTheBottom()
{
    QFETCH(bool, editor);
    TForm1 form;
    form.show();
    QVERIFY(QTest::qWaitForWindowExposed(&form));
    // Each row starts with its own number. A wide row brings up the list's
    // horizontal scroll bar; one near the end has fallback faces.
    QStringList items = oneTo(200);
    items[3] += QString(300, u'W');
    items[195] += QStringLiteral(" 한국🎵");
    form.ListBox1->setItems(items);
    if (editor) {
        form.ToEditorMode();
        form.Memo1->setPlainText(items.join(u'\n'));  // no empty line after the last number
    }
    QCoreApplication::processEvents();
    form.RefreshView();
    QAbstractScrollArea *view = editor ? static_cast<QAbstractScrollArea *>(form.Memo1) : form.ListBox1;
    QScrollBar *bar = view->verticalScrollBar();
    bar->triggerAction(QAbstractSlider::SliderToMaximum);
    QTRY_COMPARE(form.MemoNum->firstVisibleLine(), bar->value());
    QVERIFY(bar->value() > 150);

    const QTextDocument *column = form.MemoNum->document();
    QCOMPARE(column->documentLayout()->blockBoundingRect(column->firstBlock()).height(), 16);
    const auto inClient = [&form](const QWidget *viewport) {
        return QRect(viewport->mapTo(form.Client, QPoint()), viewport->size());
    };
    const QRect numbers = inClient(form.MemoNum->viewport());
    QRect rows = inClient(view->viewport());
    rows.setWidth(numbers.width());
    rows.setTop(qMax(rows.top(), numbers.top()));
    rows.setBottom(qMin(rows.bottom(), numbers.bottom()));
    rows.setHeight(rows.height() / 16 * 16);  // whole rows: below its last line the column shows one number more
    const QImage window = form.Client->grab().toImage();
    const QList<int> textOfRows = textRows(window, rows);
    QVERIFY(textOfRows.size() > 200);
    QCOMPARE(textRows(window, rows.translated(numbers.left() - rows.left(), 0)), textOfRows);
}

// A character from a fallback face (Hangul, emoji) is taller than the
// Gothic face's: its row and its line keep the 16 px pitch and nothing of
// them reaches into the rows and lines beside them.
void ViewRefreshTest::fallbackFacesKeepThePitch()
{
    TForm1 form;
    form.show();
    QVERIFY(QTest::qWaitForWindowExposed(&form));
    const QStringList items{QStringLiteral("Ab"), QStringLiteral("Ab 한국🎵"), QStringLiteral("Ab")};
    form.ListBox1->setItems(items);
    const int pitch = 16;
    QCOMPARE(form.ListBox1->visualItemRect(form.ListBox1->item(1)).height(), pitch);
    const auto keepsToItsBand = [pitch](QWidget *viewport) {
        const QImage picture = viewport->grab().toImage();
        // The same "Ab" in each band, one pitch apart; the bands around the
        // middle one alike across their whole width.
        const QRect ab(0, 0, 24, pitch);
        QCOMPARE(picture.copy(ab.translated(0, pitch)), picture.copy(ab));
        const QRect band(0, 0, picture.width(), pitch);
        QCOMPARE(picture.copy(band.translated(0, 2 * pitch)), picture.copy(band));
    };
    keepsToItsBand(form.ListBox1->viewport());
    if (QTest::currentTestFailed())
        return;

    form.ToEditorMode();
    form.Memo1->moveCursor(QTextCursor::End);  // the caret off the three lines
    keepsToItsBand(form.Memo1->viewport());
}

void ViewRefreshTest::fourDigitNumbersWidenTheColumn()
{
    TForm1 form;
    form.show();
    QVERIFY(QTest::qWaitForWindowExposed(&form));
    const int listRight = form.ListBox1->geometry().right();
    form.ListBox1->setItems(rows(12000));
    form.RefreshView();
    const QFontMetrics metrics(form.MemoNum->font());
    QVERIFY(form.MemoNum->viewport()->width() >= metrics.horizontalAdvance(QStringLiteral("12000")));
    // The list gives up the room; its right edge stays.
    QCOMPARE(form.ListBox1->x() - form.MemoNum->geometry().right(), 90 - 88);
    QCOMPARE(form.ListBox1->geometry().right(), listRight);
    // Emptied, the list has its room back at once.
    form.ListBox1->clear();
    form.RefreshView();
    QCOMPARE(form.MemoNum->width(), 33);
    QCOMPARE(form.ListBox1->x(), 90);
}

PELORA_TEST_MAIN(ViewRefreshTest)
#include "tst_viewrefresh.moc"
