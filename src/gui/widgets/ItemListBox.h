// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QListWidget>

#include <functional>

class QDrag;

// The item list of the main window: one row per item, extended selection,
// rows at the same fixed pitch as the editor's lines, scrolling by rows.
// Key presses are reported before the list acts on them.
//
// Rows are dragged with the mouse to reorder them: a press on a selected row
// keeps the selection and arms a drag; any other press first acts as a click
// and arms a drag only without Ctrl or Shift. The drag starts once the mouse
// has moved 5 pixels; a release before that, or a refused or cancelled drop,
// acts as a plain click where the pointer is.
class ItemListBox : public QListWidget
{
    Q_OBJECT
public:
    explicit ItemListBox(QWidget *parent = nullptr);

    void setRowPitch(int pixels);
    int rowPitch() const { return m_rowPitch; }
    QStringList items() const;
    void setItems(const QStringList &texts);

    // Whether a drag from `source` may be dropped here, and the drop itself
    // at (x, y) in the viewport; set by the window that owns the list.
    std::function<bool(QObject *source)> onDragOver;
    std::function<void(QObject *source, int x, int y)> onDragDrop;

    // Runs a prepared drag and returns what the drop target did; the
    // default runs it with the mouse. Tests replace it.
    std::function<Qt::DropAction(QDrag *drag)> runDrag;

    // The data format of a drag of rows; never a file drop.
    static QString rowDragFormat();

signals:
    void keyDown(int key, Qt::KeyboardModifiers modifiers);
    void doubleClickedAnywhere();

protected:
    void keyPressEvent(QKeyEvent *event) override;
    void mousePressEvent(QMouseEvent *event) override;
    void mouseMoveEvent(QMouseEvent *event) override;
    void mouseReleaseEvent(QMouseEvent *event) override;
    void mouseDoubleClickEvent(QMouseEvent *event) override;
    void dragEnterEvent(QDragEnterEvent *event) override;
    void dragMoveEvent(QDragMoveEvent *event) override;
    void dragLeaveEvent(QDragLeaveEvent *event) override;
    void dropEvent(QDropEvent *event) override;

private:
    void plainClickAt(const QPoint &viewportPos);
    void startRowDrag();
    bool acceptsDrag(QDropEvent *event) const;

    int m_rowPitch = 16;
    bool m_dragArmed = false;
    QPoint m_pressPos;
};
