// SPDX-License-Identifier: GPL-3.0-or-later
#include "gui/mainwindow/JacketHistory.h"

#include <QCoreApplication>
#include <QTextDocument>
#include <QUndoCommand>
#include <QUndoStack>

#include <algorithm>
#include <optional>
#include <utility>

namespace {

// Undo steps kept: a step holds the rows before and after it, so a long
// list's history is memory-bound more than anything.
constexpr int kMostSteps = 100;

enum StepId { kTitleEdit = 1 };

}  // namespace

bool JacketState::operator==(const JacketState &other) const
{
    return jacket.title == other.jacket.title && jacket.items == other.jacket.items && selected == other.selected
        && jacket.cover == other.jacket.cover && fileName == other.fileName && hasFileName == other.hasFileName;
}

// Marks the history as showing a step, so that the window's edits it makes
// are not taken for new ones.
class JacketHistory::Showing
{
public:
    explicit Showing(JacketHistory &history) : m_history(history) { ++m_history.m_showing; }
    ~Showing() { --m_history.m_showing; }
    Showing(const Showing &) = delete;
    Showing &operator=(const Showing &) = delete;

private:
    JacketHistory &m_history;
};

// Every step is pushed once its change has been made: its first redo does nothing.
class Step : public QUndoCommand
{
public:
    Step(JacketHistory &history, const QString &text) : QUndoCommand(text), m_history(history) {}

    void redo() final
    {
        if (m_pushed)
            m_pushed = false;
        else
            redoStep();
    }

protected:
    virtual void redoStep() = 0;
    JacketHistory &m_history;

private:
    bool m_pushed = true;
};

// A command of the window: the whole jacket before and after. The document
// it belongs to is restored only by a step that changed it (全て削除).
class JacketChange final : public Step
{
public:
    JacketChange(JacketHistory &history, const QString &text, JacketState before, JacketState after)
        : Step(history, text)
        , m_before(std::move(before))
        , m_after(std::move(after))
    {
    }
    void undo() override { m_history.show(withFile(m_before)); }

private:
    void redoStep() override { m_history.show(withFile(m_after)); }
    JacketState withFile(JacketState state) const
    {
        if (m_before.fileName == m_after.fileName && m_before.hasFileName == m_after.hasFileName) {
            state.fileName.clear();
            state.hasFileName = false;
        }
        return state;
    }

    JacketState m_before;
    JacketState m_after;
};

// Typing in the title field, one step for each stay in it.
class TitleEdit final : public Step
{
public:
    TitleEdit(JacketHistory &history, QString before, QString after, int stay)
        : Step(history, QCoreApplication::translate("JacketHistory", "タイトル"))
        , m_before(std::move(before))
        , m_after(std::move(after))
        , m_stay(stay)
    {
    }
    int id() const override { return kTitleEdit; }
    bool mergeWith(const QUndoCommand *other) override
    {
        const auto *later = static_cast<const TitleEdit *>(other);
        if (later->m_stay != m_stay)
            return false;
        m_after = later->m_after;
        setObsolete(m_after == m_before);
        return true;
    }
    void undo() override { m_history.showTitle(m_before); }

private:
    void redoStep() override { m_history.showTitle(m_after); }

    QString m_before;
    QString m_after;
    int m_stay;
};

// An edit of the editor, as the editor grouped it: undone and redone by
// the editor's document while it holds its text, by the lines before and
// after it once settled.
class EditorEdit final : public Step
{
public:
    explicit EditorEdit(JacketHistory &history) : Step(history, QCoreApplication::translate("JacketHistory", "編集")) {}
    ~EditorEdit() override { m_history.forget(this); }

    void settle(QStringList before, QStringList after) { m_lines = {std::move(before), std::move(after)}; }
    void undo() override
    {
        if (m_lines)
            m_history.showLines(m_lines->first);
        else
            m_history.editorUndo();
    }

private:
    void redoStep() override
    {
        if (m_lines)
            m_history.showLines(m_lines->second);
        else
            m_history.editorRedo();
    }

    std::optional<std::pair<QStringList, QStringList>> m_lines;
};

JacketHistory::JacketHistory(View view, QTextDocument *editor, QObject *parent)
    : QObject(parent)
    , m_view(std::move(view))
    , m_editor(editor)
    , m_stack(new QUndoStack(this))
{
    m_stack->setUndoLimit(kMostSteps);
    m_title = m_view.title();
    connect(m_stack, &QUndoStack::cleanChanged, this, [this](bool clean) { emit changedChanged(!clean); });
    connect(m_editor, &QTextDocument::undoCommandAdded, this, &JacketHistory::editorStepAdded);
}

JacketHistory::~JacketHistory()
{
    // Its steps tell the history when they go.
    delete m_stack;
    m_stack = nullptr;
}

void JacketHistory::push(QUndoCommand *step)
{
    m_stack->push(step);
    // Typing in the editor after this is a step of its own, not more of the
    // editor's last one.
    m_editor->setModified(false);
}

void JacketHistory::record(const QString &text, const std::function<void()> &change)
{
    settleEditor();
    JacketState before = m_view.capture();
    {
        const Showing showing(*this);
        change();
    }
    JacketState after = m_view.capture();
    m_title = after.jacket.title;
    if (!(after == before))
        push(new JacketChange(*this, text, std::move(before), std::move(after)));
}

void JacketHistory::titleEdited()
{
    if (showing())
        return;
    const QString title = m_view.title();
    if (title == m_title)
        return;
    push(new TitleEdit(*this, m_title, title, m_titleStay));
    m_title = title;
}

void JacketHistory::endTitleStay() { ++m_titleStay; }

void JacketHistory::editorStepAdded()
{
    if (showing())
        return;
    auto *edit = new EditorEdit(*this);
    m_stack->push(edit);
    m_editorEdits << edit;
}

void JacketHistory::settleEditor()
{
    if (m_editorEdits.isEmpty())
        return;
    const Showing showing(*this);
    // The editor's steps are those the stack holds, the done ones first.
    qsizetype done = 0;
    for (int i = 0; i < m_stack->index(); ++i) {
        const QUndoCommand *step = m_stack->command(i);
        done += std::count_if(m_editorEdits.cbegin(), m_editorEdits.cend(), [step](const QUndoCommand *e) { return e == step; });
    }
    const qsizetype all = m_editorEdits.size();
    // The editor's text after 0, 1, … of its steps: back to before the
    // first, forward past the last, and back to where it was.
    QList<QStringList> texts(all + 1);
    texts[done] = m_view.editorLines();
    for (qsizetype k = done; k > 0; --k) {
        m_editor->undo();
        texts[k - 1] = m_view.editorLines();
    }
    for (qsizetype k = 0; k < all; ++k) {
        m_editor->redo();
        if (k + 1 > done)
            texts[k + 1] = m_view.editorLines();
    }
    for (qsizetype k = all; k > done; --k)
        m_editor->undo();
    const QList<EditorEdit *> edits = std::exchange(m_editorEdits, {});
    for (qsizetype k = 0; k < all; ++k)
        edits[k]->settle(texts[k], texts[k + 1]);
}

void JacketHistory::startOver()
{
    m_stack->clear();
    m_editorEdits.clear();
    m_title = m_view.title();
    m_editor->setModified(false);
}

void JacketHistory::startOverChanged()
{
    startOver();
    m_stack->resetClean();
}

void JacketHistory::markSaved()
{
    m_stack->setClean();
    m_editor->setModified(false);
}

bool JacketHistory::changed() const { return !m_stack->isClean(); }

void JacketHistory::show(const JacketState &state)
{
    settleEditor();
    const Showing showing(*this);
    m_view.show(state);
    m_title = state.jacket.title;
}

void JacketHistory::showLines(const QStringList &lines)
{
    settleEditor();
    const Showing showing(*this);
    m_view.showLines(lines);
}

void JacketHistory::showTitle(const QString &title)
{
    const Showing showing(*this);
    m_view.showTitle(title);
    m_title = title;
}

void JacketHistory::editorUndo()
{
    const Showing showing(*this);
    m_editor->undo();
}

void JacketHistory::editorRedo()
{
    const Showing showing(*this);
    m_editor->redo();
}

void JacketHistory::forget(EditorEdit *edit) { m_editorEdits.removeOne(edit); }
