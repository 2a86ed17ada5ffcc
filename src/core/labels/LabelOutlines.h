// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "core/labels/LabelProducts.h"

#include <QList>
#include <QRectF>

// Every label of a product on its sheet, for the pictures of the sheet in
// the paper dialog and the preview (millimetres from the sheet's corner).
struct LabelOutline
{
    QRectF box;
    bool round = false;  // round labels and discs: the ellipse in the box
};

inline QList<LabelOutline> LabelOutlines(const LabelProduct &product)
{
    QList<LabelOutline> outlines;
    for (const ProductLabel &label : product.labels) {
        const bool round = label.shape == ProductLabel::Round || label.shape == ProductLabel::Disc;
        for (const QPointF &corner : label.positions)
            outlines << LabelOutline{QRectF(corner, label.size), round};
    }
    return outlines;
}
