// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

// A disc's track list as the jacket takes it: the same lines a drop of its
// tracks as audio files would give.
#include "core/disc/DiscSource.h"
#include "core/intake/DropLines.h"

#include <QLocale>
#include <QString>
#include <QStringList>

#include <cstdint>
#include <vector>

struct ImportedTrack
{
    int number = 1;
    QString title;      // empty when the disc does not tell
    QString performer;  // empty when the disc does not tell
    int32_t seconds = 0;

    bool operator==(const ImportedTrack &) const = default;
};

struct ImportedDisc
{
    QString title;
    QString performer;
    std::vector<ImportedTrack> tracks;  // the audio tracks, in order

    bool operator==(const ImportedDisc &) const = default;
};

// The audio tracks with their times, and the texts of the CD-TEXT block in
// `preferred` (else the first block); what that block leaves empty, a cue
// sheet's own TITLE and PERFORMER lines fill in.
ImportedDisc ImportedDiscOf(const DiscContents &contents, QLocale::Language preferred);

struct DiscJacketText
{
    QString title;
    QStringList lines;
};

// The jacket's title and item lines, shaped by the drop's options as
// TrackLine shapes a dropped file's (time, artist prefix and artist; the
// jacket numbers the lines itself). The title is the disc's, with its
// performer as a line has its artist; a track's performer is left out when
// it is the disc's or unknown; a track without a title is "トラック N".
DiscJacketText DiscJacketLines(const ImportedDisc &disc, const DropLineOptions &options);
