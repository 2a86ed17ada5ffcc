// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

// A disc to take a track list from: an optical drive, or an image of a
// disc (a cue sheet with its data file, a cdrdao TOC file, a Nero image),
// read through libcdio. The CD-TEXT packs are decoded by the program's own
// reader; a cue sheet's CDTEXTFILE is read from the sheet's folder.
#include "core/disc/CdText.h"
#include "core/disc/DiscToc.h"

#include <QString>
#include <QStringList>

#include <optional>

// Why a source gave no disc.
enum class DiscUnreadable
{
    NoDisc,           // the drive's tray is empty or open, or the disc is blank
    DriveBusy,        // another program holds the drive, or it is not ready yet
    DriveUnreadable,  // no such drive, no permission, or not an optical drive
    NotADiscImage,    // a file of no image kind read here
    ImageUnreadable,  // the image, or the data file it names, is missing or cannot be read
    NoAudioTracks,    // a data disc
};

// The reason in the run's language, to go in a message.
QString DiscReason(DiscUnreadable why);

struct DiscContents
{
    DiscToc toc;
    // The CD-TEXT packs, decoded; nothing when there were none or none
    // could be read, and then why in cdTextProblem when there were some.
    std::optional<CdTextData> cdText;
    std::optional<CdTextUnreadable> cdTextProblem;
    // A cue sheet's own TITLE and PERFORMER lines, by track number.
    CdTextBlock sheetText;
};

// The optical drives libcdio finds ("/dev/sr0", …).
QStringList OpticalDrives();

// .cue, .toc or .nrg, in any letter case.
bool IsDiscImageFileName(const QString &path);

// The files that reading an image opens besides the image itself, those
// that are there: a cue sheet's data file and CD-TEXT file, a TOC file's
// data files. Nothing for a drive or a Nero image.
QStringList DiscImageFiles(const QString &image);

// The TOC and CD-TEXT of a drive (a device path) or a disc image file, with
// at least one audio track; nothing, and why in `why`, otherwise. Damaged
// CD-TEXT is no failure: the TOC comes with cdTextProblem set.
std::optional<DiscContents> ReadDiscSource(const QString &source, DiscUnreadable *why = nullptr);
