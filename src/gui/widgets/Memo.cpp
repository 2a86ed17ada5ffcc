// SPDX-License-Identifier: GPL-3.0-or-later
#include "gui/widgets/Memo.h"

#include "core/layout/Fonts.h"
#include "gui/widgets/UndoKeys.h"

#include <QAbstractTextDocumentLayout>
#include <QAction>
#include <QKeyEvent>
#include <QMenu>
#include <QPainter>
#include <QPlainTextDocumentLayout>
#include <QTextBlock>
#include <QTextLayout>

namespace {

// Every line at the memo's pitch, its baseline where the item list puts its
// rows' baselines: a character drawn from a fallback face (Hangul, emoji) is
// taller and would make its line taller and lower, and the line numbers
// beside it would no longer stand level.
class FixedPitchLayout : public QPlainTextDocumentLayout
{
public:
    using QPlainTextDocumentLayout::QPlainTextDocumentLayout;

    int pitch = 16;

    QRectF blockBoundingRect(const QTextBlock &block) const override
    {
        const QRectF natural = QPlainTextDocumentLayout::blockBoundingRect(block);  // lays the block out
        if (!block.isVisible())
            return natural;
        const int baseline = Fonts::baselineInLine(document()->defaultFont(), pitch);
        QTextLayout *layout = block.layout();
        for (int i = 0; i < layout->lineCount(); ++i) {
            QTextLine line = layout->lineAt(i);
            line.setPosition(QPointF(line.x(), i * pitch + baseline - line.ascent()));
        }
        return QRectF(natural.topLeft(), QSizeF(natural.width(), pitch * qMax(1, layout->lineCount())));
    }
};

// The parts of `selections` that lie in `block`, counted from its start.
QList<QTextLayout::FormatRange> selectionsIn(const QTextBlock &block,
                                             const QList<QAbstractTextDocumentLayout::Selection> &selections)
{
    QList<QTextLayout::FormatRange> ranges;
    for (const QAbstractTextDocumentLayout::Selection &selection : selections) {
        const int start = qMax(0, selection.cursor.selectionStart() - block.position());
        const int end = qMin(block.length(), selection.cursor.selectionEnd() - block.position());
        if (start < end)
            ranges.append({start, end - start, selection.format});
    }
    return ranges;
}

// Where the caret of a paint context stands in `block`, or -1. A position
// below -1 puts it inside the input method's unfinished text, which only the
// block that holds the cursor shows.
int caretIn(const QTextBlock &block, int paintPosition)
{
    const QTextLayout *layout = block.layout();
    if (paintPosition < -1)
        return layout->preeditAreaText().isEmpty() ? -1 : layout->preeditAreaPosition() - (paintPosition + 2);
    const int inBlock = paintPosition - block.position();
    return paintPosition >= 0 && inBlock >= 0 && inBlock < block.length() ? inBlock : -1;
}

}  // namespace

TMemo::TMemo(QWidget *parent)
    : QPlainTextEdit(parent)
{
    auto *text = new QTextDocument(this);
    text->setDocumentLayout(new FixedPitchLayout(text));
    setDocument(text);
    setLineWrapMode(QPlainTextEdit::NoWrap);
    document()->setDocumentMargin(0);
}

void TMemo::setLineGrid(int pitch, int top)
{
    static_cast<FixedPitchLayout *>(document()->documentLayout())->pitch = pitch;
    setViewportMargins(0, top, 0, 0);
    // The strip above the first line is in the colour of the text area.
    setBackgroundRole(QPalette::Base);
    setAutoFillBackground(true);
}

int TMemo::lineCount() const
{
    const QTextDocument *doc = document();
    const int blocks = doc->blockCount();
    return doc->lastBlock().length() <= 1 ? blocks - 1 : blocks;
}

QStringList TMemo::lines() const
{
    // The blocks' texts from one copy of the whole text, cut at the block
    // separators: several times quicker on a long text than asking block
    // after block, and quick enough to take while the user types.
    QStringList out = document()->toRawText().split(QChar::ParagraphSeparator);
    if (out.last().isEmpty())
        out.removeLast();
    return out;
}

void TMemo::setUndoActions(QAction *undo, QAction *redo)
{
    m_undo = undo;
    m_redo = redo;
}

bool TMemo::undoKey(const QKeyEvent *event) const { return m_undo && UndoKeys::isUndoOrRedo(event, m_undo, m_redo); }

bool TMemo::event(QEvent *event)
{
    // The editor would take Ctrl+Z and Ctrl+Y for its own undo; they are
    // left to the window's, which knows every step of the jacket.
    if (event->type() == QEvent::ShortcutOverride && undoKey(static_cast<QKeyEvent *>(event))) {
        event->ignore();
        return false;
    }
    return QPlainTextEdit::event(event);
}

void TMemo::keyPressEvent(QKeyEvent *event)
{
    // With nothing to undo the window's shortcut lets the key through.
    if (undoKey(event))
        return;
    emit keyDown(event->key(), event->modifiers());
    const bool clipboardKey = event->matches(QKeySequence::Cut) || event->matches(QKeySequence::Paste)
        || (event->key() == Qt::Key_Delete && textCursor().hasSelection() && event->modifiers() == Qt::NoModifier);
    QPlainTextEdit::keyPressEvent(event);
    if (clipboardKey)
        emit clipboardEdited();
}

void TMemo::mouseReleaseEvent(QMouseEvent *event)
{
    const Qt::MouseButton button = event->button();
    QPlainTextEdit::mouseReleaseEvent(event);
    // A middle click pastes the X11 selection.
    if (button == Qt::MiddleButton && !isReadOnly())
        emit clipboardEdited();
    emit clicked();
    emit mouseUp(button);
}

void TMemo::mouseDoubleClickEvent(QMouseEvent *event)
{
    QPlainTextEdit::mouseDoubleClickEvent(event);
    emit doubleClicked();
}

void TMemo::contextMenuEvent(QContextMenuEvent *event)
{
    QMenu *menu = createStandardContextMenu(event->pos());
    UndoKeys::useWindowActions(menu, m_undo, m_redo);
    // Connected after the control's own handlers, so these run once the
    // edit has been made.
    for (const char *name : {"edit-cut", "edit-paste", "edit-delete"}) {
        if (QAction *action = menu->findChild<QAction *>(QLatin1String(name)))
            connect(action, &QAction::triggered, this, &TMemo::clipboardEdited);
    }
    menu->exec(event->globalPos());
    delete menu;
}

// Qt draws a line's text, selection and caret as tall as the tallest face in
// it, which is more than the pitch: each line is cut to its own pitch here,
// so that nothing of it reaches into the lines above and below.
void TMemo::paintEvent(QPaintEvent *event)
{
    QPainter painter(viewport());
    const QAbstractTextDocumentLayout::PaintContext context = getPaintContext();
    painter.setPen(context.palette.text().color());
    const QRect dirty = event->rect();
    QPointF offset = contentOffset();
    for (QTextBlock block = firstVisibleBlock(); block.isValid() && offset.y() <= dirty.bottom(); block = block.next()) {
        const QRectF band(dirty.left(), offset.y(), dirty.width(), blockBoundingRect(block).height());
        if (band.bottom() >= dirty.top()) {
            QTextLayout *layout = block.layout();
            painter.setClipRect(band);
            layout->draw(&painter, offset, selectionsIn(block, context.selections), band);
            const int caret = caretIn(block, context.cursorPosition);
            if (caret >= 0)
                layout->drawCursor(&painter, offset, caret, cursorWidth());
        }
        offset.ry() += band.height();
    }
}
