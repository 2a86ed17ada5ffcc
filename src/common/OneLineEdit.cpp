// SPDX-License-Identifier: GPL-3.0-or-later
#include "OneLineEdit.h"

#include <QLineEdit>
#include <QPointer>

#include <algorithm>
#include <memory>

namespace {

qsizetype firstBreak(QStringView text)
{
    for (qsizetype i = 0; i < text.size(); ++i) {
        if (text[i] == u'\r' || text[i] == u'\n')
            return i;
    }
    return -1;
}

}  // namespace

void KeepOneLine(QLineEdit *edit)
{
    auto previous = std::make_shared<QString>(edit->text());
    QObject::connect(edit, &QLineEdit::textChanged, edit, [edit = QPointer<QLineEdit>(edit), previous](const QString &text) {
        if (firstBreak(text) < 0) {
            *previous = text;
            return;
        }
        // The new text is the old one with something put in where the
        // cursor now stands after it (typed, pasted, dropped, or the whole
        // text set): keep that something up to its line break. The part
        // after the cursor was there before; the start of the old text that
        // the new one still begins with was too.
        const qsizetype cursor = std::clamp<qsizetype>(edit->cursorPosition(), 0, text.size());
        const qsizetype end = qMin(text.size() - cursor, previous->size());
        qsizetype start = 0;
        while (start < previous->size() - end && start < cursor && (*previous)[start] == text[start])
            ++start;
        QStringView inserted = QStringView(text).sliced(start, cursor - start);
        inserted = inserted.first(qMax<qsizetype>(0, firstBreak(inserted)));
        QString kept = text.first(start) + inserted.toString() + text.last(end);
        // A break in the unchanged parts (a text set whole): cut there too.
        if (const qsizetype cut = firstBreak(kept); cut >= 0)
            kept.truncate(cut);
        *previous = kept;
        edit->setText(kept);
        edit->setCursorPosition(int(qMin(kept.size(), start + inserted.size())));
    });
}
