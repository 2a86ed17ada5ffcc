// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QList>
#include <QRect>
#include <QSizeF>

#include <array>

class QPainter;
class TBigBitmap;
class TCanvas;
struct PlacedFace;
enum class PageFaces;

// The printed pieces of a jacket, as data. Each row says what the piece is
// like (its size; where its title, items, spine titles and cover go; its
// folds and outline), which labels of a pre-cut product it goes in, and the
// functions that draw it. The layout, the page planner, the label products,
// the drawing of every page and the preview read the rows; a new piece is
// a new row, and a layout of its own where its arrangement is new.
enum class FaceKindId { Front, Back, Disc, Obi };

// Which labels of a pre-cut product a piece goes in, by their size.
struct ProductPlace
{
    enum Shape {
        Square,     // a square label (or a booklet's panel that is one) of a side in [least, most], `slack` from square
        Rectangle,  // a label of `size`, within `slack` on each side (with or without its margin)
        Round,      // a round label of a diameter in [least, most]
        Nowhere,    // no label of any product: plain paper only
    };
    Shape shape;
    double leastMm = 0, mostMm = 0;
    QSizeF sizeMm;
    double slackMm = 0;
};

struct FaceKind
{
    FaceKindId id;
    const char *name;  // as tests and notes call it

    // In layout units (1/600 inch): the piece (a round one: its ring's
    // square), the block its title and items are centred in, and how far
    // right of the layout's origin its box begins (the back's, drawn as the
    // program always drew it, one spine's width in).
    int outerWidth = 0, outerHeight = 0;
    int innerWidth = 0, innerHeight = 0;
    int boxLeft = 0;
    // A spine at each side, in device pixels, with the title on each and a
    // fold at its inner edge; 0: no spines.
    int spineStrip = 0;

    enum class Cover {
        None,          // never covered
        InsteadOfText, // the picture fills the piece, which then carries no text
        UnderText,     // the picture fills the outline, the texts over it
    };
    Cover cover = Cover::None;
    // A ring (two circles) rather than a rectangle, and its diameters on
    // plain paper (a product or a disc tray has its own); the preview shows
    // its edge and hole even where they are not printed.
    bool round = false;
    double ringOuterMm = 0, ringInnerMm = 0;

    // How the preview shows it.
    enum class Preview {
        TextsAtScreenSizes,  // the layout's lines and texts, the fonts chosen by the printer's line heights
        PrintMadeSmall,      // drawn as printed, at the printer's resolution, then made small
    };
    Preview preview = Preview::TextsAtScreenSizes;

    ProductPlace place;

    // Draws a placed piece of this kind; where it puts ink (texts,
    // pictures; not its guide lines); its box, in its layout's coordinates.
    void (*draw)(TCanvas &canvas, const PlacedFace &face, const TBigBitmap &spine) = nullptr;
    QList<QRect> (*drawnAreas)(TCanvas &canvas, const PlacedFace &face) = nullptr;
    QRect (*box)(const PlacedFace &face) = nullptr;
    // For the preview: its outline where the print does not draw it (a
    // disc's edge and hole on pre-cut labels and in trays); may be none.
    void (*drawUnprintedOutline)(QPainter &painter, const PlacedFace &face) = nullptr;

    // The piece's size in millimetres.
    QSizeF millimetres() const;
};

namespace FaceKinds {

inline constexpr std::size_t kCount = 4;

const FaceKind &row(FaceKindId id);
const std::array<FaceKind, kCount> &all();

// The pieces a page holds, in drawing order.
QList<FaceKindId> onPage(PageFaces faces);

}  // namespace FaceKinds
