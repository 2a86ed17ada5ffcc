// SPDX-License-Identifier: GPL-3.0-or-later
#include "core/cups/PrinterTraits.h"

#include <cups/ipp.h>

#include <algorithm>

TQdFieldSet TQdFieldSet::fromMask(quint32 fieldMask)
{
    TQdFieldSet set;
    for (int i = 0; i < QdField::Count; ++i)
        set.m_bits |= (fieldMask & kQdFieldMaskBits[i]) ? 1u << i : 0u;
    return set;
}

QList<int> TQdFieldSet::indices() const
{
    QList<int> out;
    for (int i = 0; i <= 31; ++i) {
        if (contains(i))
            out << i;
    }
    return out;
}

// The settings the program asks about: orientation (0) from
// orientation-requested-supported, the paper (1, and 13 for its name) from
// named sizes in media-supported, copies (5) from copies-supported. Scale
// (4) stays out: nothing here scales a job by a setting of its own, so the
// jacket always goes out at its real size.
TQdPrinterTraits QdPrinterTraitsFromIpp(ipp_t *attributes)
{
    TQdPrinterTraits traits;
    if (!attributes)
        return traits;
    const auto strings = [attributes](const char *name) {
        QStringList out;
        ipp_attribute_t *attr = ippFindAttribute(attributes, name, IPP_TAG_ZERO);
        for (int i = 0; attr && i < ippGetCount(attr); ++i) {
            if (const char *value = ippGetString(attr, i, nullptr))
                out << QString::fromUtf8(value);
        }
        return out;
    };
    if (ipp_attribute_t *attr = ippFindAttribute(attributes, "orientation-requested-supported", IPP_TAG_ENUM);
        attr && ippGetCount(attr) > 0)
        traits.Fields |= kQdFieldMaskBits[QdField::Orientation];
    const QStringList media = strings("media-supported");
    if (std::any_of(media.begin(), media.end(), [](const QString &m) { return !m.startsWith(QLatin1String("custom_")); }))
        traits.Fields |= kQdFieldMaskBits[QdField::PaperSize] | kQdFieldMaskBits[QdField::FormName];
    if (ipp_attribute_t *attr = ippFindAttribute(attributes, "copies-supported", IPP_TAG_ZERO)) {
        traits.Fields |= kQdFieldMaskBits[QdField::Copies];
        int upper = 0;
        if (ippGetValueTag(attr) == IPP_TAG_RANGE)
            ippGetRange(attr, 0, &upper);
        else if (ippGetValueTag(attr) == IPP_TAG_INTEGER)
            upper = ippGetInteger(attr, 0);
        if (upper > 0)
            traits.MaxCopies = upper;
    }
    traits.Members = strings("member-names");
    return traits;
}
