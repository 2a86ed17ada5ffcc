// SPDX-License-Identifier: GPL-3.0-or-later
#include "gui/app/MessageBoxes.h"

#include <QApplication>
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

}  // namespace

int show(const Messages::Request &request)
{
    const PointerForTheUser pointer;
    QMessageBox box(QApplication::activeWindow());
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
