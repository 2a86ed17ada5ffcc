// SPDX-License-Identifier: GPL-3.0-or-later
#include "core/common/Messages.h"

#include <QCoreApplication>

namespace Messages {
namespace {

Handler &currentHandler()
{
    static Handler handler;
    return handler;
}

Handler &boxes()
{
    static Handler handler;
    return handler;
}

int ask(const Request &request)
{
    if (const Handler &handler = currentHandler())
        return handler(request);
    if (const Handler &handler = boxes())
        return handler(request);
    // Without a window nobody can answer: the text is told on standard
    // error, and a question takes its Escape answer, else its default.
    qWarning("%s", qPrintable(request.text));
    return request.escapeButton >= 0 ? request.escapeButton : request.defaultButton;
}

QString questionTitle() { return QCoreApplication::translate("Messages", "確認"); }

QString &applicationTitle()
{
    static QString title;
    return title;
}

}  // namespace

void setHandler(Handler handler) { currentHandler() = std::move(handler); }

void setBoxes(Handler boxes) { Messages::boxes() = std::move(boxes); }

void setApplicationTitle(const QString &title) { applicationTitle() = title; }

void ShowMessage(const QString &text) { ask({Kind::Plain, applicationTitle(), text}); }

void ShowError(const QString &text) { ask({Kind::Error, applicationTitle(), text}); }

void ShowWarning(const QString &text) { ask({Kind::Warning, applicationTitle(), text}); }

bool Confirm(const QString &text)
{
    const QStringList buttons = {QCoreApplication::translate("Messages", "はい(&Y)"),
                                 QCoreApplication::translate("Messages", "いいえ(&N)")};
    return ask({Kind::Question, questionTitle(), text, buttons, 0, 1}) == 0;
}

bool ConfirmWarning(const QString &text, const QString &goOn, const QString &stop)
{
    // Enter on a warning stops: going on takes a deliberate choice.
    return ask({Kind::WarningQuestion, applicationTitle(), text, {goOn, stop}, 1, 1}) == 0;
}

int Choose(const QString &text, const QStringList &buttons, int defaultButton, int escapeButton)
{
    return ask({Kind::Question, questionTitle(), text, buttons, defaultButton, escapeButton});
}

}  // namespace Messages
