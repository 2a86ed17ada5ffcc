// SPDX-License-Identifier: GPL-3.0-or-later
#include "core/common/ProgramSetup.h"

#include "core/layout/Fonts.h"
#include "core/text/Translation.h"

#include <QGuiApplication>

namespace ProgramSetup {

void prepare()
{
    QCoreApplication::setApplicationName(QStringLiteral("pelora"));
    QCoreApplication::setApplicationVersion(QStringLiteral(PELORA_VERSION));
    QGuiApplication::setDesktopFileName(QStringLiteral("pelora"));
    Fonts::install();
    Translation::install(Translation::ofThisRun());
}

}  // namespace ProgramSetup
