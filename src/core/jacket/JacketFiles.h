// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "core/jacket/Jacket.h"

#include <QString>
#include <QStringList>

#include <optional>

// A jacket on disk: the document the user names, and its cover picture in a
// file of Pelora's own beside it, named after the document's whole name
// with the picture's own extension (曲目.plr → 曲目.plr.jpg), as photo tools
// name their sidecars.
//
// Only a document whose name ends in ".plr" has a cover file: for any other
// name (曲目.txt, Tour 2024.08) the name plus an extension could be a
// picture of the user's, so nothing beside it is read, written or deleted.
// A file of the document's plain base name (曲目.jpg) is always the user's.
namespace JacketFiles {

// Whether the document keeps its cover beside it: its name ends in ".plr",
// in any case.
bool keepsCover(const QString &documentPath);

// The cover file of that document for a picture of that extension.
QString coverPath(const QString &documentPath, const QString &suffix);

// The document's cover files that are there (regular files only: a link or
// folder of that name is not Pelora's), in the order they are looked for.
QStringList coverFiles(const QString &documentPath);

struct FoundCover
{
    std::optional<CoverPicture> picture;
    QString unreadable;  // a cover file that is there but no usable picture
    QString why;         // and why, in the run's language
};
// The first cover file beside the document.
FoundCover findCover(const QString &documentPath);

struct Saved
{
    // Why nothing was saved, and the file it is about; empty when saved.
    QString failure;
    QString failedPath;
    // The jacket has a cover but the document's name keeps none.
    bool coverLeftOut = false;
    // Old cover files that could not be deleted: each "path (why)".
    QStringList notDeleted;

    bool ok() const { return failure.isEmpty(); }
};

// Saves the jacket's document and its cover as one: both new files are
// written in full before either replaces what is there, so a failure (a full disk, a
// read-only folder, a cover name that is a link or a folder) leaves the old
// document and the old cover as they were. Then the document's other cover
// files (another extension, or a cover taken off) are deleted.
Saved save(const QString &documentPath, const Jacket &jacket);

}  // namespace JacketFiles
