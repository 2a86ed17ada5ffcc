// SPDX-License-Identifier: GPL-3.0-or-later
// The label database readers on arbitrary bytes. The first byte's low bit
// picks the file (template file or paper sizes; the seeds use "<" and "=");
// the rest is the file. Every product read has a sheet, labels of a real
// size each with a place, no more places than the cap, and fits the jacket
// in no more slots than it has places.
#include "FuzzCheck.h"
#include "core/labels/LabelProducts.h"

#include <cmath>
#include <cstdint>

namespace {

bool finite(const QRectF &r) { return std::isfinite(r.x() + r.y() + r.width() + r.height()); }

void fuzzTemplates(const QByteArray &bytes)
{
    static const QHash<QString, QSizeF> kPaper{{"A4", QSizeF(210, 297)}, {"US-Letter", QSizeF(215.9, 279.4)}};
    static const QList<LabelProduct> kKnown = [] {
        LabelProduct known{"B", "Known", "inlet", "A4", QSizeF(210, 297), {"media"}, {ProductLabel{}}};
        known.labels[0].size = QSizeF(151, 118);
        known.labels[0].positions = {QPointF(29.5, 20)};
        return QList<LabelProduct>{known};
    }();
    QString error;
    const QList<LabelProduct> products = LabelProducts::ReadTemplates(bytes, kPaper, kKnown, &error);
    check(products.size() <= bytes.size());
    for (const LabelProduct &product : products) {
        check(!product.brand.isEmpty() && !product.part.isEmpty());
        check(!product.sheet.isEmpty() && finite(QRectF(QPointF(), product.sheet)));
        check(!product.labels.isEmpty());
        qsizetype places = 0;
        for (const ProductLabel &label : product.labels) {
            check(!label.size.isEmpty() && finite(QRectF(QPointF(), label.size)));
            check(label.wasteMm >= 0 && label.marginMm >= 0 && label.holeMm >= 0);
            check(!label.positions.isEmpty());
            places += label.positions.size();
        }
        check(places <= 5000);
        const ProductFit fit = LabelProducts::FitJacket(product);
        qsizetype taken = 0;
        for (const FaceKind &kind : FaceKinds::all()) {
            taken += fit.places(kind.id).size();
            for (const LabelSlot &slot : fit.places(kind.id))
                check(finite(slot.area) && !slot.area.isEmpty() && slot.bleedMm >= 0);
        }
        check(taken <= places);
        check(LabelProducts::Find(products, QStringLiteral(" %1  %2").arg(product.brand, product.part)) != nullptr);
    }
    if (!products.isEmpty())
        check(LabelProducts::CloseMatches(products, products.last().part, 3).size() >= 1);
}

void fuzzPaperSizes(const QByteArray &bytes)
{
    const QHash<QString, QSizeF> sizes = LabelProducts::ReadPaperSizes(bytes);
    check(sizes.size() <= bytes.size());
    for (auto it = sizes.cbegin(); it != sizes.cend(); ++it)
        check(!it.key().isEmpty() && !it->isEmpty() && finite(QRectF(QPointF(), *it)));
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t *data, size_t size)
{
    if (size == 0)
        return 0;
    const QByteArray bytes(reinterpret_cast<const char *>(data + 1), qsizetype(size - 1));
    if (data[0] & 1)
        fuzzPaperSizes(bytes);
    else
        fuzzTemplates(bytes);
    return 0;
}
