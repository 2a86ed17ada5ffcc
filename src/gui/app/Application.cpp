// SPDX-License-Identifier: GPL-3.0-or-later
#include "gui/app/Application.h"

#include "gui/app/MessageBoxes.h"
#include "core/common/Exception.h"
#include "core/common/ProgramSetup.h"
#include "core/layout/Fonts.h"
#include "core/common/Messages.h"

#include <QIcon>

TApplication::TApplication(int &argc, char **argv)
    : QApplication(argc, argv)
{
    ProgramSetup::prepare();
    // The windows carry the program's icon themselves (_NET_WM_ICON), for
    // window managers and task bars that do not look up the desktop entry.
    QIcon icon;
    for (const int size : {16, 32, 48, 64, 128, 256})
        icon.addFile(QStringLiteral(":/icons/pelora-%1.png").arg(size), QSize(size, size));
    setWindowIcon(icon);
    setFont(Fonts::uiFont(Fonts::WindowPixelSize));
    Messages::setBoxes(MessageBoxes::show);
}

bool TApplication::notify(QObject *receiver, QEvent *event)
{
    try {
        return QApplication::notify(receiver, event);
    } catch (const std::exception &e) {
        ShowException(e);
    }
    return false;
}

void TApplication::ShowException(const std::exception &e)
{
    if (const auto *own = dynamic_cast<const Exception *>(&e))
        Messages::ShowError(own->message());
    else
        Messages::ShowError(QString::fromLocal8Bit(e.what()));
}
