// SPDX-License-Identifier: GPL-3.0-or-later
#include "Messages.h"

#include <QApplication>
#include <QMessageBox>
#include <QPushButton>

#include <algorithm>
#include <iterator>

namespace Messages {
namespace {

Handler &currentHandler()
{
    static Handler handler;
    return handler;
}

// A box shown in the middle of a long command gets the ordinary pointer
// back while it waits for the user.
class PointerForTheUser
{
public:
    PointerForTheUser()
        : m_busy(QGuiApplication::overrideCursor() != nullptr)
    {
        if (m_busy)
            QGuiApplication::setOverrideCursor(Qt::ArrowCursor);
    }
    ~PointerForTheUser()
    {
        if (m_busy)
            QGuiApplication::restoreOverrideCursor();
    }
    PointerForTheUser(const PointerForTheUser &) = delete;
    PointerForTheUser &operator=(const PointerForTheUser &) = delete;

private:
    bool m_busy;
};

int showBox(const Request &request)
{
    const PointerForTheUser pointer;
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
        box.setIcon(QMessageBox::Question);
        break;
    }
    if (request.buttons.isEmpty()) {
        box.addButton(QStringLiteral("OK"), QMessageBox::AcceptRole);
        box.exec();
        return 0;
    }
    // Yes, no and cancel roles, so that the desktop orders them its way; a
    // question without an Escape answer has no "no" for the box to take.
    const QMessageBox::ButtonRole no = request.escapeButton < 0 ? QMessageBox::DestructiveRole : QMessageBox::NoRole;
    const QMessageBox::ButtonRole roles[] = {QMessageBox::YesRole, no, QMessageBox::RejectRole};
    QList<QPushButton *> buttons;
    for (qsizetype i = 0; i < request.buttons.size(); ++i)
        buttons << box.addButton(request.buttons[i], roles[std::min<qsizetype>(i, std::size(roles) - 1)]);
    box.setDefaultButton(buttons.value(request.defaultButton));
    if (request.escapeButton >= 0)
        box.setEscapeButton(buttons.value(request.escapeButton));
    box.exec();
    return int(buttons.indexOf(box.clickedButton()));
}

int ask(const Request &request)
{
    if (const Handler &handler = currentHandler())
        return handler(request);
    return showBox(request);
}

QString questionTitle() { return QCoreApplication::translate("Messages", "確認"); }

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
