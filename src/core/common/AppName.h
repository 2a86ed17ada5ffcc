// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QCoreApplication>
#include <QString>

// The product name, in window captions, message titles and the version line.
inline QString AppName() { return QCoreApplication::translate("Pelora", "ペロラ"); }

// The line that names the program and its version, in the about box and for
// --version: "ペロラ version 1.25", "Pelora version 1.25".
inline QString VersionLine() { return AppName() + QStringLiteral(" version " PELORA_VERSION); }

// The text whose height is the layout's line height: the Japanese name in
// every language, so that a jacket looks the same whoever prints it.
inline const QString LineHeightSample = QStringLiteral("ペロラ");
