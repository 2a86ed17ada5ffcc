#include "Memo.h"

#include <QAction>
#include <QFontMetricsF>
#include <QKeyEvent>
#include <QMenu>
#include <QPlainTextDocumentLayout>
#include <QScrollBar>
#include <QTextBlock>
#include <QTextLayout>

#include <cmath>

namespace {

// Every line at the pitch of the editor's own font, its baseline where that
// font puts it: a character drawn from a fallback face (Hangul, emoji) is
// taller and would make its line taller and lower, and the line numbers
// beside it would no longer stand level.
class FixedPitchLayout : public QPlainTextDocumentLayout
{
public:
    using QPlainTextDocumentLayout::QPlainTextDocumentLayout;

    QRectF blockBoundingRect(const QTextBlock &block) const override
    {
        const QRectF natural = QPlainTextDocumentLayout::blockBoundingRect(block);  // lays the block out
        if (!block.isVisible())
            return natural;
        const QFontMetricsF font(document()->defaultFont());
        const qreal pitch = std::ceil(font.ascent() + font.descent() + qMax<qreal>(0, font.leading()));
        QTextLayout *layout = block.layout();
        for (int i = 0; i < layout->lineCount(); ++i) {
            QTextLine line = layout->lineAt(i);
            line.setPosition(QPointF(line.x(), i * pitch + font.ascent() - line.ascent()));
        }
        return QRectF(natural.topLeft(), QSizeF(natural.width(), pitch * qMax(1, layout->lineCount())));
    }
};

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

int TMemo::lineCount() const
{
    const QTextDocument *doc = document();
    const int blocks = doc->blockCount();
    return doc->lastBlock().length() <= 1 ? blocks - 1 : blocks;
}

QStringList TMemo::lines() const
{
    QStringList out;
    const int n = lineCount();
    out.reserve(n);
    QTextBlock block = document()->firstBlock();
    for (int i = 0; i < n && block.isValid(); ++i, block = block.next())
        out.append(block.text());
    return out;
}

int TMemo::firstVisibleLine() const { return verticalScrollBar()->value(); }

void TMemo::scrollLines(int delta)
{
    QScrollBar *bar = verticalScrollBar();
    bar->setValue(bar->value() + delta);
}

void TMemo::setUndoActions(QAction *undo, QAction *redo)
{
    m_undo = undo;
    m_redo = redo;
}

bool TMemo::undoKey(const QKeyEvent *event) const
{
    if (!m_undo)
        return false;
    const QKeySequence pressed(event->keyCombination());
    return m_undo->shortcuts().contains(pressed) || m_redo->shortcuts().contains(pressed)
        || event->matches(QKeySequence::Undo) || event->matches(QKeySequence::Redo);
}

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
    const std::pair<const char *, QAction *> own[] = {{"edit-undo", m_undo}, {"edit-redo", m_redo}};
    for (const auto &[name, action] : own) {
        QAction *standard = menu->findChild<QAction *>(QLatin1String(name));
        if (standard && action) {
            menu->insertAction(standard, action);
            menu->removeAction(standard);
        }
    }
    // Connected after the control's own handlers, so these run once the
    // edit has been made.
    for (const char *name : {"edit-cut", "edit-paste", "edit-delete"}) {
        if (QAction *action = menu->findChild<QAction *>(QLatin1String(name)))
            connect(action, &QAction::triggered, this, &TMemo::clipboardEdited);
    }
    menu->exec(event->globalPos());
    delete menu;
}
