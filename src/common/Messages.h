#pragma once

#include <QString>
#include <QStringList>

#include <functional>

// Every message box of the program goes through here, so that tests can
// answer the questions and record what was shown.
namespace Messages {

enum class Kind {
    Plain,     // title: the application title; one OK button
    Error,     // title: the application title; error icon; one OK button
    Warning,   // title: the application title; warning icon; one OK button; the work goes on
    Question,  // title "確認"; question icon; はい(&Y) / いいえ(&N), Yes default
    // title: the application title; warning icon; the two given buttons, go
    // on and stop, stopping the default and the Escape button
    WarningQuestion,
    // title "確認"; question icon; the two given buttons, the first the
    // default; no Escape button, so that neither is taken by accident
    Choice,
};

struct Request
{
    Kind kind;
    QString title;
    QString text;
    QStringList buttons = {};  // WarningQuestion: go on, stop; Choice: first, second
};

// A handler returns the answer (true = Yes, or go on; ignored for plain,
// error and warning boxes). An empty handler restores the real message
// boxes.
using Handler = std::function<bool(const Request &)>;
void setHandler(Handler handler);

// The title of plain and error boxes: the application title.
void setApplicationTitle(const QString &title);

void ShowMessage(const QString &text);
void ShowError(const QString &text);
void ShowWarning(const QString &text);
bool Confirm(const QString &text);
// Whether to go on despite the warning.
bool ConfirmWarning(const QString &text, const QString &goOn, const QString &stop);
// Whether the first of two answers was chosen.
bool Choose(const QString &text, const QString &first, const QString &second);

}  // namespace Messages
