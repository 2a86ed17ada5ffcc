// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "gui/widgets/ListRows.h"
#include "core/jacket/Jacket.h"

#include <QObject>
#include <QString>
#include <QStringList>

#include <functional>

class QTextDocument;
class QUndoCommand;
class QUndoStack;
class EditorEdit;

// The jacket as a step of its history restores it: its title, items and
// cover picture, the list's selection, and the document it belongs to.
struct JacketState
{
    Jacket jacket;
    std::vector<bool> selected;
    QString fileName;  // empty: a step that leaves the document's name as it is
    bool hasFileName = false;

    RowState rows() const { return {jacket.items, selected}; }
    bool operator==(const JacketState &other) const;
};

// One history of the jacket's changes for both editing modes, on Qt's undo
// framework. A command that changes the jacket runs through record() and
// becomes one step; typing in the title becomes one step per stay in the
// field; the editor's own edits are steps as the editor groups them, taken
// from the editor's document and undone by it while its text is the one
// they were made in. Before that text is replaced (a switch of mode, a
// step shown in editor mode), settleEditor() turns them into steps of
// their own.
class JacketHistory : public QObject
{
    Q_OBJECT
public:
    // How the history reads and shows the jacket in the window.
    struct View
    {
        std::function<JacketState()> capture;
        std::function<void(const JacketState &)> show;
        std::function<void(const QStringList &)> showLines;  // the editor's text, as lines
        std::function<QStringList()> editorLines;
        std::function<QString()> title;
        std::function<void(const QString &)> showTitle;
    };

    JacketHistory(View view, QTextDocument *editor, QObject *parent = nullptr);
    ~JacketHistory() override;

    QUndoStack *stack() const { return m_stack; }

    // Runs `change`, which edits the jacket through the window, as one step
    // named `text`; no step when nothing changed.
    void record(const QString &text, const std::function<void()> &change);
    // The title field's text changed (by the user).
    void titleEdited();
    // The user left the title field: the next typing is a step of its own.
    void endTitleStay();
    void settleEditor();

    // A jacket opened or made new: a history of its own, unchanged.
    void startOver();
    // A jacket put back from a recovery copy: a history of its own, changed.
    void startOverChanged();
    // Saved as it is now.
    void markSaved();
    // Changed since it was opened, saved or made new.
    bool changed() const;
    // While the history itself shows a step, the window's edits are not new steps.
    bool showing() const { return m_showing > 0; }

    // Used by the steps.
    void show(const JacketState &state);
    void showLines(const QStringList &lines);
    void showTitle(const QString &title);
    void editorUndo();
    void editorRedo();
    void forget(EditorEdit *edit);

signals:
    void changedChanged(bool changed);

private:
    class Showing;
    void push(QUndoCommand *step);
    void editorStepAdded();

    View m_view;
    QTextDocument *m_editor;
    QUndoStack *m_stack;
    QString m_title;  // the title as the history last knew it
    int m_titleStay = 0;
    int m_showing = 0;
    QList<EditorEdit *> m_editorEdits;  // steps still undone by the editor, oldest first
};
