// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QPlainTextEdit>

// The editor of the main window. Lines never wrap and are laid out at one
// fixed pitch shared with the item list, each drawn within its pitch. The
// control reports key presses before it acts on them, and clicks and
// clipboard edits after it has acted.
class TMemo : public QPlainTextEdit
{
    Q_OBJECT
public:
    explicit TMemo(QWidget *parent = nullptr);

    // Lines `pitch` pixels apart, the first one `top` pixels below the top
    // of the text area.
    void setLineGrid(int pitch, int top);

    // Number of lines: the text split at line breaks, a final empty line not
    // counted. An empty text has no lines.
    int lineCount() const;
    QStringList lines() const;
    // Where the lines stand, for the line numbers beside the editor.
    using QPlainTextEdit::blockBoundingGeometry;
    using QPlainTextEdit::contentOffset;
    using QPlainTextEdit::firstVisibleBlock;

    // The window's undo and redo, which the control's own keys and context
    // menu then run instead of its own.
    void setUndoActions(QAction *undo, QAction *redo);

signals:
    void keyDown(int key, Qt::KeyboardModifiers modifiers);
    void clicked();
    void doubleClicked();
    void mouseUp(Qt::MouseButton button);
    // A cut, paste or clear (delete of the selection) has been carried out.
    void clipboardEdited();

protected:
    bool event(QEvent *event) override;
    void keyPressEvent(QKeyEvent *event) override;
    void mouseReleaseEvent(QMouseEvent *event) override;
    void mouseDoubleClickEvent(QMouseEvent *event) override;
    void contextMenuEvent(QContextMenuEvent *event) override;
    void paintEvent(QPaintEvent *event) override;

private:
    bool undoKey(const QKeyEvent *event) const;

    QAction *m_undo = nullptr;
    QAction *m_redo = nullptr;
};
