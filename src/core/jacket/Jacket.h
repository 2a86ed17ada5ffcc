// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "core/jacket/CoverPicture.h"

#include <QString>
#include <QStringList>

// The lines that show where a face is cut and folded.
enum class FaceMarks {
    CutLines,       // dashed cut and fold lines on the face's edges
    CropMarks,      // corner marks outside the face, and the folds marked above and below it
    FoldLinesOnly,  // pre-cut paper: only the dashed fold lines
    None,
};

// The jacket: what is printed, and the choices that shape the print. A
// document keeps the title and the items (and the cover beside it); the
// window shows every part in its controls, the undo history and the
// recovery copy hold it, the page planner lays it out, and the command line
// makes one from a document, the settings and its options.
struct Jacket
{
    QString title;
    QStringList items;
    CoverPicture cover;  // none: the front is all text

    // The font-size boxes' texts, as typed (the layout reads them).
    QString titleSizeText = QStringLiteral("17");
    QString itemSizeText = QStringLiteral("14");
    bool numbering = true;
    QString numberSuffix = QStringLiteral(". ");
    bool verticalSpine = false;
    FaceMarks marks = FaceMarks::CutLines;  // on plain paper
};
