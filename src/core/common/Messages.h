// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QString>
#include <QStringList>

#include <functional>

// Every message box of the program goes through here, so that tests can
// answer the questions and record what was shown, and so that code without
// a window can tell and ask too.
namespace Messages {

enum class Kind {
    Plain,     // title: the application title; one OK button
    Error,     // title: the application title; error icon; one OK button
    Warning,   // title: the application title; warning icon; one OK button; the work goes on
    Question,  // title "確認"; question icon; its buttons (はい(&Y) / いいえ(&N) for Confirm)
    // title: the application title; warning icon; the two given buttons, go
    // on and stop, stopping the default and the Escape button
    WarningQuestion,
};

struct Request
{
    Kind kind;
    QString title;
    QString text;
    QStringList buttons = {};  // a question's answers, left to right
    int defaultButton = 0;     // Enter
    int escapeButton = -1;     // Escape; -1: Escape and the close button do nothing
};

// A handler returns the index of the chosen button of a question (ignored
// for plain, error and warning boxes). An empty handler restores the real
// message boxes.
using Handler = std::function<int(const Request &)>;
void setHandler(Handler handler);
// The real message boxes, which the window's application installs. Without
// them (and without a handler) a message goes to standard error and a
// question takes its Escape answer, else its default.
void setBoxes(Handler boxes);

// The title of plain and error boxes: the application title.
void setApplicationTitle(const QString &title);

void ShowMessage(const QString &text);
void ShowError(const QString &text);
void ShowWarning(const QString &text);
bool Confirm(const QString &text);
// Whether to go on despite the warning.
bool ConfirmWarning(const QString &text, const QString &goOn, const QString &stop);
// A question of more answers: the index of the button chosen.
int Choose(const QString &text, const QStringList &buttons, int defaultButton, int escapeButton);

}  // namespace Messages
