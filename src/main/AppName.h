// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QString>

// The product name: in window captions and the version line, and the sample
// text whose height is the line height.
inline const QString AppName = QStringLiteral("ペロラ");
