// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "core/jacket/Jacket.h"
#include "core/layout/FaceKinds.h"

#include <QPoint>
#include <QPolygon>
#include <QRect>
#include <QSizeF>
#include <QStringList>

#include <cmath>
#include <optional>

class TCanvas;
class TBigBitmap;

// A rectangle by its four edges, as the spine pictures are placed.
struct TEdges
{
    int Left = 0;
    int Top = 0;
    int Right = 0;
    int Bottom = 0;
    QRect toRect() const { return QRect(Left, Top, Right - Left, Bottom - Top); }
};

// The placement of everything on one face of the jacket, in printer device
// pixels relative to the printable area's top-left corner. Fields that a
// layout does not compute keep their earlier values.
struct TJacketLayout
{
    double ScaleX = 0;
    double ScaleY = 0;
    int OuterWidth = 0;
    int OuterHeight = 0;
    int InnerWidth = 0;
    int InnerHeight = 0;
    int PanelLeft = 0;
    int Margin = 0;
    int TitleGap = 0;
    int TitleFontSize = 0;
    int ItemFontSize = 0;
    int SpineFontSize = 0;
    int TitleHeight = 0;
    int TitleIndent = 0;
    int ItemIndent = 0;
    QPoint TitleOrigin;
    QPoint ItemsOrigin;
    int WidestItemIndex = 0;
    QPolygon FrontCutLine;
    QPolygon LeftFoldLine;
    QPolygon RightFoldLine;
    QPolygon BackCutLine;
    TEdges SpineRectLeft;
    TEdges SpineRectRight;
    QPoint SpineTextOriginLeft;
    QPoint SpineTextOriginRight;
    int SpineColumnHeight = 0;
    bool TooSmallToPrint = false;
};

namespace JacketGeometry {

// The sizes of each kind of face are in its row of the face-kind table
// (FaceKinds.h); these hold for every face of the jacket's arrangement.
inline constexpr int kTitleGap = 100;          // layout units
inline constexpr int kSpineTextWidth = 148;    // device pixels
inline constexpr int kSpineTextLength = 2370;  // device pixels
inline constexpr int kSpineFontSize = 17;
inline constexpr int kVerticalSpineFontSize = 18;
inline constexpr int kSpineRenderSize = 50;    // points on a screen bitmap
inline constexpr int kDefaultTitleSize = 17;
inline constexpr int kDefaultItemSize = 14;

inline constexpr double kCropMarkGapMm = 3;      // from the face's corner
inline constexpr double kCropMarkLengthMm = 10;
inline constexpr double kBleedMm = 2;            // a picture beyond the crop marks

// Layout units (or points) at a page's scale, cut towards zero as the
// layout has always done.
inline int Scaled(int units, double scale) { return int(std::trunc(units * scale)); }

}  // namespace JacketGeometry

// What the printer page is like.
struct PageInfo
{
    QPoint pixelsPerInch{600, 600};
    int scalePercent = 100;
    QPoint offset;  // printable area from the sheet's corner, device pixels
};

// The pre-cut label a face is printed on, in the layout's coordinates
// (device pixels): the label's box, and where its own fold marks stand
// upright across it.
struct LabelGuides
{
    QRect box;
    QList<int> folds;
};

// What is laid out.
struct LayoutRequest
{
    FaceKindId face = FaceKindId::Front;
    QString title;
    QStringList items;
    QString titleSizeText;
    QString itemSizeText;
    bool numbering = true;
    QString numberSuffix;
    bool verticalSpine = false;
    QString lineHeightSample;  // the text whose height is the line height
    // On a pre-cut label, a face with spines folds at the label's marks
    // (those beside its text block, the nearest to its own folds), and its
    // spine titles and folds stay on the label. Nothing: plain paper.
    std::optional<LabelGuides> label;
};

// What the layout has to tell its caller besides the record.
struct LayoutOutcome
{
    bool titleShrunk = false;
    bool itemsShrunk = false;
    // The font-size boxes' texts afterwards (defaults written back when the
    // text was no number, or when nothing fits).
    QString titleSizeText;
    QString itemSizeText;
};

// Sets ScaleX and ScaleY from the page's resolution and print scale.
void ReadPageScale(TJacketLayout &layout, const PageInfo &page);

// Renders the text at 50 points on a screen bitmap, turns it 90° clockwise
// (it reads from top to bottom) and stores it in `picture`.
void MakeSpineImage(const QString &text, TBigBitmap &picture);

// Lays one face out, measuring on `canvas` (the printer's surface). The
// canvas's font is left at the last size set.
LayoutOutcome LayOutJacket(TJacketLayout &layout, const LayoutRequest &request, const PageInfo &page, TCanvas &canvas,
                           TBigBitmap &spinePicture);


// What is printed on a face besides the layout's positions.
struct JacketContent
{
    FaceKindId face = FaceKindId::Front;
    QString title;
    QStringList lines;  // the item lines as printed, numbers included
    bool verticalSpine = false;
    QString lineHeightSample;
    // A face that shares its sheet, laid out from its own corner (page
    // offset 0): its cut line goes all round it instead of the layout's.
    bool cutAllRound = false;
    // The page offset the face was laid out with.
    QPoint pageOffset;
    // On the front: the picture fills the face instead of the texts.
    CoverPicture cover;
    FaceMarks marks = FaceMarks::CutLines;
    // How far the cover picture reaches beyond the face on each side, so
    // that a cut a little off leaves no white edge; device pixels.
    QPoint bleed;
};

// The face's whole box, edge to edge, in the layout's coordinates.
QRect FaceBox(const TJacketLayout &layout, const JacketContent &content);

// Whether the face is a front covered by its picture.
bool HasCover(const JacketContent &content);

// The dashed fold and cut lines of a face, in drawing order.
QList<QPolygon> GuideLines(const TJacketLayout &layout, const JacketContent &content);

// The crop marks of a face (solid), when its marks are CropMarks.
QList<QLine> CropMarks(const TJacketLayout &layout, const JacketContent &content);
// The corner marks round a box of this size at a page's scales, as a
// face's: for pieces that are not faces (the disc label, the obi strip).
QList<QLine> CornerCropMarks(QSize box, double scaleX, double scaleY);

// Where the cover picture is drawn: the face's box and its bleed.
QRect CoverBox(const TJacketLayout &layout, const JacketContent &content);

// One text or picture of a laid-out face. Lines below the anchor are a
// line height apart, measured with the part's own font on the surface that
// draws it.
struct FacePart
{
    enum Kind { Title, ItemLine, SpineCharacter, SpinePicture };
    Kind kind;
    QPoint anchor;  // the title's origin, the first item line's, a spine column's top
    int line = 0;   // item lines and spine characters: lines below the anchor
    QString text;
    QRect rect;     // the spine picture's
};

// Every text and picture of a laid-out face, in drawing order.
QList<FacePart> FaceParts(const TJacketLayout &layout, const JacketContent &content);

// Draws one laid-out face: dashed guide lines, the title, the item lines
// and the spine titles. `canvas` has its painter active on the page.
void DrawJacketPage(TCanvas &canvas, const TJacketLayout &layout, const JacketContent &content, const TBigBitmap &spinePicture);

// Where DrawJacketPage puts ink (texts, spine and cover pictures, not the
// guide lines), in the layout's coordinates. Sets the canvas's font as drawing does.
QList<QRect> DrawnAreas(TCanvas &canvas, const TJacketLayout &layout, const JacketContent &content);

// The characters of a text as the user sees them (grapheme clusters).
QStringList UserCharacters(const QString &text);

// The printed text of each item line: with numbering, a pad of zeros, the
// number and the suffix before the item.
QStringList NumberedLines(const QStringList &items, bool numbering, const QString &suffix);

// A font-size box's text as a whole number, or nothing.
std::optional<int> FontSizeValue(const QString &text);
// The size a size box's text asks for, else `fallback`, which the box then
// shows (`textAfterwards`).
int TypedFontSize(const QString &text, int fallback, QString &textAfterwards);
