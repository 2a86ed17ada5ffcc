// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QImage>
#include <QList>
#include <QString>

// A printed page as pixels, to measure where things landed on the sheet.
namespace PrintedPage {

// The PDF's first page rendered by pdftoppm at `dpi`, in gray unless
// `colour`, the sheet's top-left corner at pixel 0, 0; null when it cannot
// be rendered.
QImage render(const QString &pdf, int dpi, bool colour = false);

// The straight lines (solid or dashed) that cross the band from `from` to
// `to`: with Qt::Vertical the columns, otherwise the rows, more than half
// dark over the band. Each is given by its centre (pixel i spans i … i + 1),
// in order.
QList<double> linesAcross(const QImage &page, Qt::Orientation orientation, int from, int to);

// The print-position corrections the placement tests print with: columns
// queue, x, y (mm) and scale (percent); rows none, moved and scaled on an
// A4 queue without margins, and scaled on one with half-inch margins.
void addCorrectionRows(bool sheetWithMargins);

}  // namespace PrintedPage
