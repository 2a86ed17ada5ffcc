// SPDX-License-Identifier: GPL-3.0-or-later
// The line-number column: numbered 1..n in step with the visible control and
// scrolled level with it. It is only ever changed at its end, so a refresh
// after a small change touches only the lines that differ.
#include "gui/widgets/ItemListBox.h"
#include "gui/widgets/Memo.h"
#include "gui/mainwindow/MainWindow.h"

#include <QTextBlock>
#include <QTextCursor>

namespace {

int lastNumber(const TMemo *column)
{
    return column->document()->lastBlock().text().toInt();
}

// Makes the column hold `target` lines (target >= 1), appending numbers after
// the last one or removing lines from the end.
void renumberTo(TMemo *column, int target)
{
    QTextDocument *doc = column->document();
    int lines = column->lineCount();
    if (lines == 0) {
        column->setPlainText(QStringLiteral("1"));
        lines = 1;
    }
    if (lines < target) {
        QString tail;
        tail.reserve((target - lines) * 7);
        for (int number = lastNumber(column) + 1, n = lines; n < target; ++n, ++number) {
            tail += u'\n';
            tail += QString::number(number);
        }
        QTextCursor cursor(doc);
        cursor.movePosition(QTextCursor::End);
        cursor.insertText(tail);
    } else if (lines > target) {
        const QTextBlock keptLast = doc->findBlockByNumber(target - 1);
        QTextCursor cursor(doc);
        cursor.setPosition(keptLast.position() + keptLast.length() - 1);
        cursor.movePosition(QTextCursor::End, QTextCursor::KeepAnchor);
        cursor.removeSelectedText();
    }
}

}  // namespace

void TForm1::RefreshView()
{
    if (!EditorMode) {
        const int n = ListBox1->count();
        if (n == 0) {
            MemoNum->clear();
            updateNumberColumnWidth(0);
            return;
        }
        renumberTo(MemoNum, n);
        updateNumberColumnWidth(n);
    } else {
        const int target = Memo1->lineCount() + 1;
        if (MemoNum->lineCount() == 0)
            MemoNum->clear();
        renumberTo(MemoNum, target);
        updateNumberColumnWidth(target);
    }
    LevelNumbers();
}

void TForm1::LevelNumbers()
{
    const int top = EditorMode ? Memo1->firstVisibleLine() : ListBox1->topIndex();
    MemoNum->scrollLines(top - MemoNum->firstVisibleLine());
}
