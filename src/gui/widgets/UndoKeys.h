// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QHash>
#include <QObject>
#include <QPointer>
#include <QString>

class QAction;
class QComboBox;
class QKeyEvent;
class QLineEdit;
class QMenu;

// The window's undo and redo act on the whole jacket; a text field would
// take their keys (Ctrl+Z, Ctrl+Y, Ctrl+Shift+Z) and its context menu's
// items for its own typing alone.
namespace UndoKeys {

// Whether the key is one of the undo or redo actions' or the platform's.
bool isUndoOrRedo(const QKeyEvent *event, const QAction *undo, const QAction *redo);
// Puts the window's undo and redo in place of a standard context menu's.
void useWindowActions(QMenu *menu, QAction *undo, QAction *redo);

}  // namespace UndoKeys

// Gives one-line fields the window's undo and redo: their keys and
// context-menu items run the window's actions, wherever the focus is.
class FieldUndoKeys : public QObject
{
public:
    FieldUndoKeys(QAction *undo, QAction *redo, QObject *parent);

    // A field whose typing is a step of the jacket's history already.
    void watch(QLineEdit *field);
    // A field whose typing the history does not hold (a font size, which
    // is a setting, not part of the document): undo first puts back what
    // the field held when the focus came to it, as one step of its own.
    void watchTyping(QComboBox *box);

protected:
    bool eventFilter(QObject *watched, QEvent *event) override;

private:
    bool typedSinceFocus(QComboBox *box) const;

    QAction *m_undo;
    QAction *m_redo;
    QHash<QComboBox *, QString> m_atFocus;  // by what each held when the focus came
};
