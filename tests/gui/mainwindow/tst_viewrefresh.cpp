// SPDX-License-Identifier: GPL-3.0-or-later
#include "gui/widgets/ItemListBox.h"
#include "gui/widgets/LineNumbers.h"
#include "gui/widgets/ListRows.h"
#include "gui/widgets/Memo.h"
#include "gui/widgets/SPTimer.h"
#include "gui/mainwindow/JacketHistory.h"
#include "gui/mainwindow/MainWindow.h"
#include "support/TestSupport.h"

#include <QAction>
#include <QClipboard>
#include <QLineEdit>
#include <QMenu>
#include <QPushButton>
#include <QScrollBar>
#include <QUndoStack>
#include <QTextBlock>
#include <QWheelEvent>

namespace {

QStringList numbers(const TForm1 &form) { return form.MemoNum->shownNumbers(); }

QStringList oneTo(int n, int first = 1)
{
    QStringList out;
    for (int i = first; i <= n; ++i)
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

// The visible view (the list or the editor), its rows' band in the client
// area, and the band of number n in the column.
QAbstractScrollArea *shownView(const TForm1 &form)
{
    return EditorMode ? static_cast<QAbstractScrollArea *>(form.Memo1) : form.ListBox1;
}

QRect inClient(const TForm1 &form, const QWidget *widget, const QRect &rect)
{
    return rect.translated(widget->mapTo(form.Client, QPoint()));
}

QRect rowInClient(const TForm1 &form, int row)
{
    if (EditorMode) {
        const QTextBlock block = form.Memo1->document()->findBlockByNumber(row);
        const QRectF line = form.Memo1->blockBoundingGeometry(block).translated(form.Memo1->contentOffset());
        return inClient(form, form.Memo1->viewport(), line.toAlignedRect());
    }
    return inClient(form, form.ListBox1->viewport(), form.ListBox1->visualItemRect(form.ListBox1->item(row)));
}

// The top of a band and the baseline of the digits in it (their last pixel
// row, the same for every digit): a row's text starts with digits too.
QList<int> level(const QImage &client, const QRect &band)
{
    const QList<int> dark = textRows(client, band);
    return {band.top(), dark.isEmpty() ? -1 : dark.last()};
}

QList<int> numberLevel(const TForm1 &form, const QImage &client, int number)
{
    return level(client, inClient(form, form.MemoNum, form.MemoNum->numberRect(number)));
}

QList<int> rowLevel(const TForm1 &form, const QImage &client, int row)
{
    QRect firstDigit = rowInClient(form, row);
    firstDigit.setWidth(10);
    return level(client, firstDigit);
}

// The client area as the window last painted it, once it has painted what
// is due: a grab of the widgets would paint them anew.
QImage painted(const TForm1 &form)
{
    QCoreApplication::processEvents();
    const QRect client(form.Client->mapTo(&form, QPoint()), form.Client->size());
    return form.screen()->grabWindow(form.winId(), client.x(), client.y(), client.width(), client.height()).toImage();
}

// The number column as the window shows it, and as it paints itself for the
// view as the view is now.
QImage columnShown(const TForm1 &form)
{
    return painted(form).copy(inClient(form, form.MemoNum, form.MemoNum->rect())).convertToFormat(QImage::Format_RGB32);
}

QImage columnNow(const TForm1 &form) { return form.MemoNum->grab().toImage().convertToFormat(QImage::Format_RGB32); }

}  // namespace

class ViewRefreshTest : public QObject
{
    Q_OBJECT
private slots:
    void init()
    {
        // The window of many rows serves each row of its own test only:
        // windows share the program's state.
        if (qstrcmp(QTest::currentTestFunction(), "numbersFollowUndoAndRedo") != 0)
            m_longWindow.reset();
        m_config = std::make_unique<ScopedConfigDir>();
    }
    void cleanup() { m_config.reset(); }
    void cleanupTestCase() { m_longWindow.reset(); }

    void listModeNumbersEveryItem();
    void editorModeNumbersOneLineMore_data();
    void editorModeNumbersOneLineMore();
    void modeRoundTripKeepsEmptyItems();
    void editorModeHidesTheListCommands();
    void numbersFollowEveryScroll_data();
    void numbersFollowEveryScroll();
    void numbersFollowUndoAndRedo_data();
    void numbersFollowUndoAndRedo();
    void pasteAndReturnRenumberAtOnce();
    void ctrlASelectsTheWholeText();
    void numbersStayLevelAtTheBottom_data();
    void numbersStayLevelAtTheBottom();
    void fallbackFacesKeepThePitch();
    void fourDigitNumbersWidenTheColumn();

private:
    std::unique_ptr<ScopedConfigDir> m_config;
    std::unique_ptr<TForm1> m_longWindow;
};

void ViewRefreshTest::listModeNumbersEveryItem()
{
    TForm1 form;
    QCOMPARE(numbers(form), QStringList());
    form.ListBox1->setItems(rows(5));
    QCOMPARE(numbers(form), oneTo(5));
    form.ListBox1->setItems(rows(2));
    QCOMPARE(numbers(form), oneTo(2));
    form.ListBox1->clear();
    QCOMPARE(numbers(form), QStringList());
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

// However the list or the editor scrolls, the numbers stand level with its
// rows before the next paint; the wheel still starts the deferred refresh.
void ViewRefreshTest::numbersFollowEveryScroll_data()
{
    QTest::addColumn<bool>("editor");
    QTest::addColumn<QString>("how");
    for (const char *how : {"wheel over the rows", "wheel over the scroll bar", "scroll bar arrow", "PageDown", "End",
                            "type-ahead", "Shift-drag below the rows", "program"})
        QTest::addRow("list: %s", how) << false << QString::fromLatin1(how);
    for (const char *how : {"wheel over the scroll bar", "scroll bar arrow", "arrow keys", "program"})
        QTest::addRow("editor: %s", how) << true << QString::fromLatin1(how);
}

void ViewRefreshTest::numbersFollowEveryScroll()
{
    QFETCH(bool, editor);
    QFETCH(QString, how);
    TForm1 form;
    form.show();
    QVERIFY(QTest::qWaitForWindowActive(&form));
    form.ListBox1->setItems(oneTo(100));
    if (editor)
        form.ToEditorMode();
    QCoreApplication::processEvents();
    form.SPTimer->Stop();
    QAbstractScrollArea *view = shownView(form);
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
    else if (how == u"scroll bar arrow")
        bar->triggerAction(QAbstractSlider::SliderSingleStepAdd);
    else if (how == u"PageDown")
        QTest::keyClick(view, Qt::Key_PageDown), QTest::keyClick(view, Qt::Key_PageDown);
    else if (how == u"End")
        QTest::keyClick(view, Qt::Key_End);
    else if (how == u"type-ahead")
        QTest::keyClicks(view, QStringLiteral("90"));
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
    const QImage column = columnShown(form);
    QCOMPARE(column, columnNow(form));
    const int top = bar->value();
    QCOMPARE(numbers(form).first(), QString::number(top + 1));
    form.EditTi->setFocus();  // no caret or focus frame on the rows
    form.ListBox1->clearSelection();
    const QImage client = painted(form);
    QCOMPARE(numberLevel(form, client, top + 1), rowLevel(form, client, top));
    if (how == u"wheel over the rows")
        QVERIFY(form.SPTimer->isActive());
}

// Undo and redo of a delete in 100 000 rows, in either mode, whatever rows
// it took: the column numbers the lines there are, each number level with
// its row, at the top, in the middle and at the end.
void ViewRefreshTest::numbersFollowUndoAndRedo_data()
{
    QTest::addColumn<bool>("editor");
    QTest::addColumn<QString>("shape");
    for (bool editor : {false, true}) {
        for (const char *shape : {"every second row", "one row", "a block"})
            QTest::addRow("%s, %s", editor ? "editor" : "list", shape) << editor << QString::fromLatin1(shape);
    }
}

void ViewRefreshTest::numbersFollowUndoAndRedo()
{
    QFETCH(bool, editor);
    QFETCH(QString, shape);
    constexpr int kRows = 100000;
    static const QStringList all = oneTo(kRows);  // each row starts with digits
    // One window for every row here, back to all rows and no history: the
    // editor takes a while to lay out so many lines.
    if (!m_longWindow) {
        m_longWindow = std::make_unique<TForm1>();
        m_longWindow->show();
        QVERIFY(QTest::qWaitForWindowActive(m_longWindow.get()));
        m_longWindow->ListBox1->setItems(all);
    }
    TForm1 &form = *m_longWindow;
    ConfirmDelete = false;
    form.History->stack()->setIndex(0);
    form.History->startOver();
    std::vector<bool> marks(kRows, false);
    for (int row = 0; row < kRows; ++row)
        marks[row] = shape == u"one row" ? row == 70000 : shape == u"a block" ? row >= 25000 && row <= 75000 : row % 2 == 1;
    QStringList rest;
    for (int row = 0; row < kRows; ++row) {
        if (!marks[row])
            rest << all[row];
    }
    // The editor deletes one run of lines; every second row is deleted in
    // the list, and undone and redone in the editor.
    if (shape == u"every second row" || !editor) {
        if (EditorMode)
            form.ToListMode();
        ListRows::select(form.ListBox1, marks);
        form.DelBtnClick();
    }
    if (editor && !EditorMode)
        form.ToEditorMode();
    if (editor && shape != u"every second row") {
        const auto first = std::find(marks.begin(), marks.end(), true) - marks.begin();
        const auto end = std::find(marks.rbegin(), marks.rend(), true).base() - marks.begin();
        QTextCursor cursor(form.Memo1->document()->findBlockByNumber(int(first)));
        cursor.setPosition(form.Memo1->document()->findBlockByNumber(int(end)).position(), QTextCursor::KeepAnchor);
        form.Memo1->setTextCursor(cursor);
        form.DelBtnClick();
    }
    const auto numbersBeside = [&form, editor](const QStringList &lines) {
        // No caret, focus frame or selection on the rows.
        form.EditTi->setFocus();
        form.ListBox1->clearSelection();
        QTextCursor plain = form.Memo1->textCursor();
        plain.clearSelection();
        form.Memo1->setTextCursor(plain);
        const QImage column = columnShown(form);
        QCOMPARE(column, columnNow(form));
        QCOMPARE(editor ? form.Memo1->lines() : form.ListBox1->items(), lines);
        const int count = int(lines.size()) + (editor ? 1 : 0);  // and the line after the last break
        QCOMPARE(form.MemoNum->count(), count);
        QScrollBar *bar = shownView(form)->verticalScrollBar();
        const int perPage = shownView(form)->viewport()->height() / 16;
        QCoreApplication::processEvents();  // the list lays its rows out anew
        for (int at : {0, bar->maximum() / 2, bar->maximum()}) {
            bar->setValue(at);
            const QImage client = painted(form);
            const int top = bar->value();
            const QStringList shown = numbers(form);
            QVERIFY(shown.size() >= qMin(perPage, count - top));
            QCOMPARE(shown, oneTo(top + int(shown.size()), top + 1));
            if (top == bar->maximum())
                QCOMPARE(shown.last(), QString::number(count));
            for (int row : {top, qMin(top + perPage, int(lines.size())) - 1})
                QCOMPARE(numberLevel(form, client, row + 1), rowLevel(form, client, row));
        }
    };
    for (QAction *step : {form.UndoMe, form.RedoMe}) {
        step->trigger();
        numbersBeside(step == form.UndoMe ? all : rest);
        if (QTest::currentTestFailed()) {
            qInfo("after %s", qPrintable(step->text()));
            return;
        }
    }
}

void ViewRefreshTest::pasteAndReturnRenumberAtOnce()
{
    TForm1 form;
    form.show();
    QVERIFY(QTest::qWaitForWindowActive(&form));
    form.ToEditorMode();
    // Whether the window shows a number in the fifth line's band.
    const auto fifthPainted = [&form] {
        QRect band = rowInClient(form, 0).translated(0, 4 * 16);
        const QRect column = inClient(form, form.MemoNum, form.MemoNum->contentsRect());
        band.setLeft(column.left());
        band.setRight(column.right());
        return !textRows(painted(form), band).isEmpty();
    };
    QApplication::clipboard()->setText(QStringLiteral("x\ny\nz\n"));
    QTest::keySequence(form.Memo1, QKeySequence::Paste);
    QCOMPARE(form.Memo1->lineCount(), 3);
    QCOMPARE(numbers(form), oneTo(4));
    QVERIFY(!fifthPainted());
    QTest::keyClick(form.Memo1, Qt::Key_Return);
    QCOMPARE(numbers(form), oneTo(5));
    QVERIFY(fifthPainted());
    // The editor's own step undone takes its number back.
    form.UndoMe->trigger();
    QCOMPARE(numbers(form), oneTo(4));
    QVERIFY(!fifthPainted());
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
    QAbstractScrollArea *view = shownView(form);
    QScrollBar *bar = view->verticalScrollBar();
    bar->triggerAction(QAbstractSlider::SliderToMaximum);
    QVERIFY(bar->value() > 150);
    QCOMPARE(numbers(form).first(), QString::number(bar->value() + 1));

    const QRect column = inClient(form, form.MemoNum, form.MemoNum->contentsRect());
    QRect rows = inClient(form, view->viewport(), view->viewport()->rect());
    rows.setWidth(column.width());
    rows.setBottom(qMin(rows.bottom(), column.bottom()));
    rows.setHeight(rows.height() / 16 * 16);  // whole rows: below its last line the column shows one number more
    const QImage window = form.Client->grab().toImage();
    const QList<int> textOfRows = textRows(window, rows);
    QVERIFY(textOfRows.size() > 200);
    QCOMPARE(textRows(window, rows.translated(column.left() - rows.left(), 0)), textOfRows);
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
    QCoreApplication::processEvents();
    const QFontMetrics metrics(form.MemoNum->font());
    QVERIFY(form.MemoNum->contentsRect().width() >= metrics.horizontalAdvance(QStringLiteral("12000")));
    // The list gives up the room; its right edge stays.
    QCOMPARE(form.ListBox1->x() - form.MemoNum->geometry().right(), 90 - 88);
    QCOMPARE(form.ListBox1->geometry().right(), listRight);
    // Emptied, the list has its room back at once.
    form.ListBox1->clear();
    QCoreApplication::processEvents();
    QCOMPARE(form.MemoNum->width(), 33);
    QCOMPARE(form.ListBox1->x(), 90);
}

PELORA_TEST_MAIN(ViewRefreshTest)
#include "tst_viewrefresh.moc"
