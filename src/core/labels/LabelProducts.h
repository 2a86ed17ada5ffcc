// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "core/layout/FaceKinds.h"

#include <QHash>
#include <QLineF>
#include <QList>
#include <QPointF>
#include <QRectF>
#include <QSizeF>
#include <QString>
#include <QStringList>

#include <array>
#include <functional>
#include <optional>

// Pre-cut papers people buy (jacket inlets, booklets, disc labels), read
// from the label template database that label designers share
// (/usr/share/libglabels-3.0/templates and the user's own templates).
// Every length here is in millimetres; positions are from the sheet's
// top-left corner, label shapes from the label's own top-left corner.

// One kind of label on a sheet, with every place it occurs.
struct ProductLabel
{
    enum Shape { Rectangle, Round, Disc, Other };
    Shape shape = Rectangle;
    QSizeF size;           // the label's bounding box
    double holeMm = 0;     // Disc: the hole's radius
    double wasteMm = 0;    // bleed beyond the cut the product allows on every side (waste, else the smaller of x_waste and y_waste)
    QSizeF sideWasteMm{0, 0};  // the same on the left and right sides (x_waste) and on the top and bottom (y_waste)
    double marginMm = 0;   // the product's safe margin inside the cut (Markup-margin)
    QList<QLineF> foldLines;     // Markup-line, in the label's coordinates
    QList<QPointF> positions;    // each label's top-left corner on the sheet, row by row
};

struct LabelProduct
{
    QString brand;
    QString part;
    QString description;
    QString paperId;       // as the database names it ("A4", "US-Letter", "Other")
    QSizeF sheet;          // the sheet's size
    QStringList categories;
    QList<ProductLabel> labels;

    // "Brand Part", the name the user types on the command line.
    QString name() const { return brand + u' ' + part; }
};

// Where one face can go on a product's sheet.
struct LabelSlot
{
    QRectF area;           // the cut-out (or the booklet panel) the face is centred in, on the sheet
    double bleedMm = 0;    // how far a picture should reach beyond the face's cut (waste, else margin)
    QList<QLineF> foldLines;  // the label's fold lines, on the sheet
    double wasteMm = 0;    // how far beyond the area the product lets ink go
    double holeMm = 0;     // a disc label's hole, by its diameter
    QRectF reach;          // where ink may go, on the sheet: the label and its waste, short of a booklet panel's fold
};

// The slots of a product for each kind of face, by the places the face
// kinds' rows name (the front: a square of 118–124 mm, or a booklet's right
// panel that is one; the back: within 3 mm of the tray card; the disc: round
// labels of 110–125 mm).
struct ProductFit
{
    const QList<LabelSlot> &places(FaceKindId kind) const { return m_slots[std::size_t(kind)]; }
    QList<LabelSlot> &places(FaceKindId kind) { return m_slots[std::size_t(kind)]; }
    bool fitsAny() const;
    // Whether it has a place for each of the faces.
    bool holds(const QList<FaceKindId> &kinds) const;

private:
    std::array<QList<LabelSlot>, FaceKinds::kCount> m_slots;
};

namespace LabelProducts {

// "12.5mm", "1in", "3pc", "0.5cm", "36pt", "36" (points): millimetres, or nothing.
// Signed (a label's markup may start left of it); sizes are checked by the readers.
std::optional<double> LengthMm(QStringView text);

// The sheet sizes of a paper-sizes.xml, by id. Broken input gives what was read before the fault.
QHash<QString, QSizeF> ReadPaperSizes(const QByteArray &xml, QString *error = nullptr);

// The products of one template file. Products named by `equiv` are resolved
// against the file's own products and `known` (products read before).
// Products of unknown sheet sizes, without labels or broken are left out;
// `error` gets the first fault of the document itself, and the products
// before it are returned.
QList<LabelProduct> ReadTemplates(const QByteArray &xml, const QHash<QString, QSizeF> &paperSizes,
                                  const QList<LabelProduct> &known = {}, QString *error = nullptr);

// The folders read, system ones first: a product in a later folder with the
// same name replaces the earlier one.
QStringList TemplateFolders();

// Reads every template file in `folders`: *.xml (the database's
// *-templates.xml among them) and *.template (one product each, as the
// label designer saves the user's own); paper-sizes.xml of the first folder
// that has one gives the sheet sizes. A file that cannot be read is skipped
// and `note` gets one line about it.
QList<LabelProduct> ReadFolders(const QStringList &folders, const std::function<void(const QString &)> &note);

// The installed database, read on first use (notes go to standard error).
// A product found in it stays valid until Refresh() reads it again.
const QList<LabelProduct> &Installed();

// Reads the installed database again when a template file was added,
// changed or removed since it was read, so that a product the user makes
// or changes while Pelora runs is there the next time a command looks for
// it; otherwise it only looks at the folders (well under a millisecond).
// Nothing when the database was never read. Commands call it before they
// look a product up, never while they hold one.
void Refresh();

// The product named "Brand Part" (case and spacing do not matter), or nothing.
const LabelProduct *Find(const QList<LabelProduct> &products, const QString &name);

// Up to `most` names of products close to `name`, closest first (for "did you mean").
QStringList CloseMatches(const QList<LabelProduct> &products, const QString &name, int most = 5);

// Where the faces of a jacket fit on the product.
ProductFit FitJacket(const LabelProduct &product);

// Only the products that fit some face, in database order.
QList<LabelProduct> JacketProducts(const QList<LabelProduct> &products);

}  // namespace LabelProducts
