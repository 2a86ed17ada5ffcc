#include "Messages.h"

#include <QApplication>
#include <QMessageBox>
#include <QPushButton>

namespace Messages {
namespace {

Handler &currentHandler()
{
    static Handler handler;
    return handler;
}

bool showBox(const Request &request)
{
    QMessageBox box(QApplication::activeWindow());
    box.setWindowTitle(request.title);
    box.setText(request.text);
    switch (request.kind) {
    case Kind::Plain:
        box.setIcon(QMessageBox::NoIcon);
        break;
    case Kind::Error:
        box.setIcon(QMessageBox::Critical);
        break;
    case Kind::Warning:
    case Kind::WarningQuestion:
        box.setIcon(QMessageBox::Warning);
        break;
    case Kind::Question:
    case Kind::Choice:
        box.setIcon(QMessageBox::Question);
        break;
    }
    if (request.kind == Kind::Choice) {
        // Neither role makes a button the Escape one, so that Escape and
        // the close button do nothing.
        QPushButton *first = box.addButton(request.buttons.value(0), QMessageBox::AcceptRole);
        box.addButton(request.buttons.value(1), QMessageBox::DestructiveRole);
        box.setDefaultButton(first);
        box.exec();
        return box.clickedButton() == first;
    }
    if (request.kind != Kind::Question && request.kind != Kind::WarningQuestion) {
        box.addButton(QStringLiteral("OK"), QMessageBox::AcceptRole);
        box.exec();
        return true;
    }
    const bool question = request.kind == Kind::Question;
    QPushButton *yes = box.addButton(question ? QStringLiteral("はい(&Y)") : request.buttons.value(0), QMessageBox::YesRole);
    QPushButton *no = box.addButton(question ? QStringLiteral("いいえ(&N)") : request.buttons.value(1), QMessageBox::NoRole);
    // Enter on a warning stops: going on takes a deliberate choice.
    box.setDefaultButton(question ? yes : no);
    box.setEscapeButton(no);
    box.exec();
    return box.clickedButton() == yes;
}

bool ask(const Request &request)
{
    if (const Handler &handler = currentHandler())
        return handler(request);
    return showBox(request);
}

QString &applicationTitle()
{
    static QString title;
    return title;
}

}  // namespace

void setHandler(Handler handler) { currentHandler() = std::move(handler); }

void setApplicationTitle(const QString &title) { applicationTitle() = title; }

void ShowMessage(const QString &text) { ask({Kind::Plain, applicationTitle(), text}); }

void ShowError(const QString &text) { ask({Kind::Error, applicationTitle(), text}); }

void ShowWarning(const QString &text) { ask({Kind::Warning, applicationTitle(), text}); }

bool Confirm(const QString &text) { return ask({Kind::Question, QStringLiteral("確認"), text}); }

bool ConfirmWarning(const QString &text, const QString &goOn, const QString &stop)
{
    return ask({Kind::WarningQuestion, applicationTitle(), text, {goOn, stop}});
}

bool Choose(const QString &text, const QString &first, const QString &second)
{
    return ask({Kind::Choice, QStringLiteral("確認"), text, {first, second}});
}

}  // namespace Messages
