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
    // The blocks' texts from one copy of the whole text, cut at the block
    // separators: several times quicker on a long text than asking block
    // after block, and quick enough to take while the user types.
    QStringList out = document()->toRawText().split(QChar::ParagraphSeparator);
    if (out.last().isEmpty())
        out.removeLast();
    return out;
}

int TMemo::firstVisibleLine() const { return verticalScrollBar()->value(); }

void TMemo::scrollLines(int delta)
{
    QScrollBar *bar = verticalScrollBar();
    bar->setValue(bar->value() + delta);
}

void TMemo::keyPressEvent(QKeyEvent *event)
{
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
    // Connected after the control's own handlers, so these run once the
    // edit has been made.
    for (const char *name : {"edit-cut", "edit-paste", "edit-delete"}) {
        if (QAction *action = menu->findChild<QAction *>(QLatin1String(name)))
            connect(action, &QAction::triggered, this, &TMemo::clipboardEdited);
    }
    menu->exec(event->globalPos());
    delete menu;
}
