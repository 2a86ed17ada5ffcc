// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "core/layout/DiscLabel.h"

#include <QString>

class SettingsFile;

// The paper each printer destination prints on, in a section of its own:
//
//   [Paper]
//   pelora-pdf.Product=Avery 8435B
//   pelora-pdf.Front=1
//   pelora-pdf.Back=2
//   pelora-pdf.Disc=1
//   pelora-pdf.DiscOuter=118
//   pelora-pdf.DiscInner=22
//
// Product names a pre-cut product of the label database ("Brand Part");
// Front, Back and Disc are the positions the next front, back and disc
// label go to, from 1. DiscOuter and DiscInner are the diameters a
// printable disc takes ink within, in millimetres (a tray's discs differ).
// A destination without a product, or with junk, prints on plain paper
// (one whose product the database no longer has prints nothing: StoredPaper);
// a position that is no whole number from 1 reads as 1, a diameter out of
// its range as the sticker's. Names are percent-encoded as the print
// positions' are.
struct PaperChoice
{
    QString product;  // empty: plain paper
    int frontPosition = 1;
    int backPosition = 1;
    int discPosition = 1;
    double discOuterMm = DiscRing::kStickerOuterMm;
    double discInnerMm = DiscRing::kStickerInnerMm;

    bool operator==(const PaperChoice &) const = default;
    bool plainPaper() const { return product.isEmpty(); }
    // The ring a printable disc takes ink within.
    DiscRing discRing() const { return DiscRing{discOuterMm, discInnerMm}; }
    // The next position of that kind of face.
    int &position(FaceKindId kind)
    {
        return kind == FaceKindId::Front ? frontPosition : kind == FaceKindId::Back ? backPosition : discPosition;
    }
};

namespace PaperChoices {

PaperChoice read(const SettingsFile &file, const QString &destination);
void write(SettingsFile &file, const QString &destination, const PaperChoice &choice);

// The same on the program's settings file; saving reports whether the file
// could be written.
PaperChoice load(const QString &destination);
bool save(const QString &destination, const PaperChoice &choice, QString *why = nullptr);

}  // namespace PaperChoices
