// SPDX-License-Identifier: GPL-3.0-or-later
#include "gui/app/MessageBoxes.h"

#include <QApplication>
#include <QMainWindow>
#include <QMessageBox>
#include <QPushButton>

#include <algorithm>
#include <iterator>

namespace MessageBoxes {
namespace {

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

// The window a question is about: the active one, else the program's main
// window, which the desktop may not have activated yet when a question
// comes as it opens. Without an owner the box would sit in the middle of
// the screen.
QWidget *owner()
{
    if (QWidget *active = QApplication::activeWindow())
        return active;
    const QWidgetList windows = QApplication::topLevelWidgets();
    const auto shown = std::find_if(windows.cbegin(), windows.cend(),
                                    [](const QWidget *window) { return window->isVisible() && qobject_cast<const QMainWindow *>(window); });
    return shown != windows.cend() ? *shown : nullptr;
}

}  // namespace

int show(const Messages::Request &request)
{
    const PointerForTheUser pointer;
    QMessageBox box(owner());
    box.setWindowTitle(request.title);
    box.setText(request.text);
    switch (request.kind) {
    case Messages::Kind::Plain:
        box.setIcon(QMessageBox::NoIcon);
        break;
    case Messages::Kind::Error:
        box.setIcon(QMessageBox::Critical);
        break;
    case Messages::Kind::Warning:
    case Messages::Kind::WarningQuestion:
        box.setIcon(QMessageBox::Warning);
        break;
    case Messages::Kind::Question:
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

}  // namespace MessageBoxes
