// SPDX-License-Identifier: GPL-3.0-or-later
#include "gui/widgets/UndoKeys.h"

#include <QAction>
#include <QComboBox>
#include <QContextMenuEvent>
#include <QKeyEvent>
#include <QLineEdit>
#include <QMenu>

namespace UndoKeys {

bool isUndoOrRedo(const QKeyEvent *event, const QAction *undo, const QAction *redo)
{
    const QKeySequence pressed(event->keyCombination());
    return undo->shortcuts().contains(pressed) || redo->shortcuts().contains(pressed) || event->matches(QKeySequence::Undo)
        || event->matches(QKeySequence::Redo);
}

void useWindowActions(QMenu *menu, QAction *undo, QAction *redo)
{
    const std::pair<const char *, QAction *> own[] = {{"edit-undo", undo}, {"edit-redo", redo}};
    for (const auto &[name, action] : own) {
        QAction *standard = menu->findChild<QAction *>(QLatin1String(name));
        if (standard && action) {
            menu->insertAction(standard, action);
            menu->removeAction(standard);
        }
    }
}

}  // namespace UndoKeys

FieldUndoKeys::FieldUndoKeys(QAction *undo, QAction *redo, QObject *parent)
    : QObject(parent)
    , m_undo(undo)
    , m_redo(redo)
{
}

void FieldUndoKeys::watch(QLineEdit *field) { field->installEventFilter(this); }

void FieldUndoKeys::watchTyping(QComboBox *box)
{
    // The box keeps the focus and hands its keys to its line edit; the
    // context menu is the line edit's.
    m_atFocus.insert(box, box->currentText());
    box->installEventFilter(this);
    watch(box->lineEdit());
}

bool FieldUndoKeys::typedSinceFocus(QComboBox *box) const
{
    const auto found = m_atFocus.constFind(box);
    return found != m_atFocus.cend() && box->currentText() != *found;
}

bool FieldUndoKeys::eventFilter(QObject *watched, QEvent *event)
{
    auto *box = qobject_cast<QComboBox *>(watched);
    switch (event->type()) {
    case QEvent::FocusIn:
        if (box)
            m_atFocus[box] = box->currentText();
        return false;
    case QEvent::ShortcutOverride: {
        auto *key = static_cast<QKeyEvent *>(event);
        if (!UndoKeys::isUndoOrRedo(key, m_undo, m_redo))
            return false;
        // Left unaccepted, the key goes to the window's action; accepted,
        // it comes to the field as a key press, below.
        key->setAccepted(key->matches(QKeySequence::Undo) && typedSinceFocus(box));
        return true;
    }
    case QEvent::KeyPress: {
        auto *key = static_cast<QKeyEvent *>(event);
        if (!UndoKeys::isUndoOrRedo(key, m_undo, m_redo))
            return false;
        // The field's typing, or nothing: with no step to undo, the
        // window's disabled action lets the key through to here.
        if (box && key->matches(QKeySequence::Undo) && typedSinceFocus(box))
            box->setEditText(m_atFocus.value(box));
        return true;
    }
    case QEvent::ContextMenu: {
        auto *field = qobject_cast<QLineEdit *>(watched);
        if (!field)
            return false;
        QMenu *menu = field->createStandardContextMenu();
        UndoKeys::useWindowActions(menu, m_undo, m_redo);
        menu->exec(static_cast<QContextMenuEvent *>(event)->globalPos());
        delete menu;
        return true;
    }
    default:
        return false;
    }
}
