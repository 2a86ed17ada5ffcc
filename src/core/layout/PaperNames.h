// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QSizeF>
#include <QString>

// A sheet as a user knows it: the name of a common size (A4, Letter,
// ハガキ, …) when it is within a millimetre of it either way up, else its
// millimetres. Drivers report sizes rounded to points, so A4 arrives as
// 209.9 × 297.0 mm.
QString PaperName(const QSizeF &mm);
