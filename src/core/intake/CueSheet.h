// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

// Cue sheets dropped on the window: one line per audio track.
//
// A cue sheet is one command a line, in any letter case and indentation:
//   PERFORMER "Band"             before the first TRACK: the whole disc's
//   CDTEXTFILE "disc.cdt"        the disc's CD-TEXT packs, for an image of it
//   FILE "disc.wav" WAVE         the audio file the next tracks are in
//     TRACK 01 AUDIO
//       TITLE "Song"
//       PERFORMER "Singer"
//       INDEX 01 03:25:40        where the track starts: mm:ss:ff, 75 frames a second
//   REM ...                      a comment
// Values may be quoted or not. A track runs until the next track's INDEX 01
// in the same file, or to the end of its file.
#include "core/intake/ListText.h"

#include <QByteArrayView>
#include <QStringList>

#include <functional>
#include <optional>
#include <vector>

// .cue, in any letter case.
bool IsCueSheetFileName(const QString &path);

struct CueTrack
{
    qsizetype file = -1;            // index in CueSheetData::files; -1 before any FILE
    QString title;
    QString performer;
    std::optional<int64_t> start;   // INDEX 01 in frames
    bool audio = true;              // false for data tracks (MODE1/2048 and the like)
};

struct CueSheetData
{
    QString title;                  // the disc's
    QString performer;              // the disc's
    QString cdTextFile;             // as written
    QStringList files;              // as written
    std::vector<CueTrack> tracks;
};

// The commands of a cue sheet's bytes (Shift-JIS, UTF-8 or Latin-1). Touches
// no file.
CueSheetData ParseCueSheet(QByteArrayView bytes);

// Whole seconds of each track, in the order of `sheet.tracks`, when known.
// `fileSeconds(i)` is the length of FILE i, asked only for files whose last
// track has its start.
using CueFileSeconds = std::function<std::optional<int64_t>(qsizetype file)>;
std::vector<std::optional<int32_t>> CueTrackSeconds(const CueSheetData &sheet, const CueFileSeconds &fileSeconds);

// The line of each audio track: its title (else its file's name line), its
// time, its performer (else the disc's). Touches no file but through
// `fileSeconds`, and only when times are asked for.
QStringList CueSheetTrackLines(const CueSheetData &sheet, const QString &cuePath, const CueFileSeconds &fileSeconds,
                               const ListLineMaker &lines);

// One line per audio track of the cue sheet at `path`, in its order, with or
// without tag reading; the sheet's own line when it cannot be read or has
// no audio track. The lengths of its audio files come from the tag component.
QStringList CueSheetLines(const QString &path, const ListLineMaker &lines);
