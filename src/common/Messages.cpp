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
        box.addButton(QStringLiteral("OK"), QMessageBox::AcceptRole);
        break;
    case Kind::Error:
        box.setIcon(QMessageBox::Critical);
        box.addButton(QStringLiteral("OK"), QMessageBox::AcceptRole);
        break;
    case Kind::Warning:
        box.setIcon(QMessageBox::Warning);
        box.addButton(QStringLiteral("OK"), QMessageBox::AcceptRole);
        break;
    case Kind::Question: {
        box.setIcon(QMessageBox::Question);
        QPushButton *yes = box.addButton(QStringLiteral("はい(&Y)"), QMessageBox::YesRole);
        QPushButton *no = box.addButton(QStringLiteral("いいえ(&N)"), QMessageBox::NoRole);
        box.setDefaultButton(yes);
        box.setEscapeButton(no);
        box.exec();
        return box.clickedButton() == yes;
    }
    }
    box.exec();
    return true;
}

bool ask(Kind kind, const QString &title, const QString &text)
{
    const Request request{kind, title, text};
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

void ShowMessage(const QString &text) { ask(Kind::Plain, applicationTitle(), text); }

void ShowError(const QString &text) { ask(Kind::Error, applicationTitle(), text); }

void ShowWarning(const QString &text) { ask(Kind::Warning, applicationTitle(), text); }

bool Confirm(const QString &text) { return ask(Kind::Question, QStringLiteral("確認"), text); }

}  // namespace Messages
