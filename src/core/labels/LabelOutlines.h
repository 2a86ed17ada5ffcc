// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "core/labels/LabelProducts.h"

#include <QList>
#include <QPainterPath>
#include <QRectF>

// The outline of a label in the box it fills: a rectangle, or an ellipse
// with the disc's hole (diameter holeMm, 0: none) cut out of it.
inline QPainterPath LabelShape(const QRectF &box, bool round, double holeMm = 0)
{
    QPainterPath path;
    path.setFillRule(Qt::OddEvenFill);
    if (!round) {
        path.addRect(box);
        return path;
    }
    path.addEllipse(box);
    if (holeMm > 0)
        path.addEllipse(box.center(), holeMm / 2, holeMm / 2);
    return path;
}

// Every label of a product on its sheet, for the pictures of the sheet in
// the paper dialog and the preview (millimetres from the sheet's corner).
inline QList<QPainterPath> LabelOutlines(const LabelProduct &product)
{
    QList<QPainterPath> outlines;
    for (const ProductLabel &label : product.labels) {
        const bool round = label.shape == ProductLabel::Round || label.shape == ProductLabel::Disc;
        const double hole = label.shape == ProductLabel::Disc ? 2 * label.holeMm : 0;
        for (const QPointF &corner : label.positions)
            outlines << LabelShape(QRectF(corner, label.size), round, hole);
    }
    return outlines;
}
