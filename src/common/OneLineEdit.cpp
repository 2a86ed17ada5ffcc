#include "OneLineEdit.h"

#include <QLineEdit>
#include <QPointer>

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
        // The new text is the old one with something put in between its
        // unchanged start and end: keep that something up to its line break.
        qsizetype start = 0;
        while (start < previous->size() && start < text.size() && (*previous)[start] == text[start])
            ++start;
        qsizetype end = 0;
        while (end < previous->size() - start && end < text.size() - start
               && (*previous)[previous->size() - 1 - end] == text[text.size() - 1 - end])
            ++end;
        QStringView inserted = QStringView(text).sliced(start, text.size() - start - end);
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
