// SPDX-License-Identifier: GPL-3.0-or-later
#include "gui/widgets/OneLineEdit.h"

#include <QAbstractSpinBox>
#include <QLineEdit>
#include <QPointer>
#include <QValidator>

#include <algorithm>

namespace OneLine {

qsizetype firstBreak(QStringView text)
{
    const auto found = std::find_if(text.begin(), text.end(), isBreak);
    return found == text.end() ? -1 : found - text.begin();
}

}  // namespace OneLine

namespace {

// Cuts what is put into the field at its first line break before the field
// takes it, then asks the field's own validator (a number box's), if any.
// A line edit hands its validator every new text, with the cursor after
// what was put in, and takes the text as the validator leaves it.
class OneLineValidator : public QValidator
{
public:
    explicit OneLineValidator(QLineEdit *edit)
        : QValidator(edit)
        , m_own(edit->validator())
        , m_previous(edit->text())
    {
    }

    State validate(QString &input, int &pos) const override
    {
        if (OneLine::firstBreak(input) >= 0)
            keepFirstLine(input, pos);
        const State state = m_own ? m_own->validate(input, pos) : Acceptable;
        // A refused text is undone: the field holds the previous one still.
        if (state != Invalid)
            m_previous = input;
        return state;
    }

    void fixup(QString &input) const override
    {
        if (m_own)
            m_own->fixup(input);
    }

private:
    // The new text is the previous one with something put in where the
    // cursor now stands after it (typed, pasted, dropped, or the whole text
    // set): keep that something up to its line break. The part after the
    // cursor was there before; the start of the previous text that the new
    // one still begins with was too.
    void keepFirstLine(QString &input, int &pos) const
    {
        const qsizetype cursor = std::clamp<qsizetype>(pos, 0, input.size());
        const qsizetype end = qMin(input.size() - cursor, m_previous.size());
        qsizetype start = 0;
        while (start < m_previous.size() - end && start < cursor && m_previous[start] == input[start])
            ++start;
        QStringView inserted = QStringView(input).sliced(start, cursor - start);
        if (const qsizetype cut = OneLine::firstBreak(inserted); cut >= 0)
            inserted.truncate(cut);
        QString kept = input.first(start);
        kept.append(inserted).append(QStringView(input).last(end));
        // A break in the parts taken as unchanged (a text set whole): cut there too.
        if (const qsizetype cut = OneLine::firstBreak(kept); cut >= 0)
            kept.truncate(cut);
        pos = int(qMin(kept.size(), start + inserted.size()));
        input = kept;
    }

    QPointer<const QValidator> m_own;
    mutable QString m_previous;
};

}  // namespace

void KeepOneLine(QLineEdit *edit)
{
    if (edit)
        edit->setValidator(new OneLineValidator(edit));
}

void KeepOneLine(QAbstractSpinBox *box)
{
    // The box's editor is its own, with the box's validator.
    KeepOneLine(box->findChild<QLineEdit *>(QString(), Qt::FindDirectChildrenOnly));
}
