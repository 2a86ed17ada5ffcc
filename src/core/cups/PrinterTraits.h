// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QList>
#include <QStringList>

#include <optional>

typedef struct _ipp_s ipp_t;

// Setting indices: index i is supported when the field mask has bit i of
// kQdFieldMaskBits (the printer settings record's traditional bit values).
namespace QdField {
enum : int { Orientation, PaperSize, PaperLength, PaperWidth, Scale, Copies, DefaultSource, PrintQuality, Color,
             Duplex, YResolution, TTOption, Collate, FormName, LogPixels, PanningWidth, PanningHeight, Count };
}
inline constexpr quint32 kQdFieldMaskBits[QdField::Count] = {
    0x1, 0x2, 0x4, 0x8, 0x10, 0x100, 0x200, 0x400, 0x800,
    0x1000, 0x2000, 0x4000, 0x8000, 0x10000, 0x20000, 0x8000000, 0x10000000,
};

// A set of setting indices 0 … 31.
class TQdFieldSet
{
public:
    static TQdFieldSet fromMask(quint32 fieldMask);
    bool contains(int index) const { return index >= 0 && index <= 31 && (m_bits >> index) & 1u; }
    QList<int> indices() const;

private:
    quint32 m_bits = 0;
};

// What a destination's IPP attributes tell the program.
struct TQdPrinterTraits
{
    quint32 Fields = 0;
    std::optional<int> MaxCopies;  // upper bound of copies-supported
    QStringList Members;           // member-names, for a class
};

// From a Get-Printer-Attributes response; a null message gives no traits.
TQdPrinterTraits QdPrinterTraitsFromIpp(ipp_t *attributes);
