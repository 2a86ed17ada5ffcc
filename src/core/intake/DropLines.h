// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "core/intake/ListText.h"

#include <QString>
#include <QStringList>

#include <cstdint>
#include <optional>

// How a dropped file becomes an item line.
struct DropLineOptions
{
    bool readTags = true;        // audio files give title, time and artist
    bool stripExtension = true;  // names lose what follows their last "."
    bool addTime = true;
    bool addArtist = true;
    QString artistPrefix;
};

// mm:ss; minutes of 100 and more keep all their digits, and a negative time
// shows as 00:00.
QString FormatPlayTime(int32_t seconds);

// The file's own name (a folder's too), without its extension when asked.
QString NameLine(const QString &path, bool stripExtension);

// An audio file by its extension, in any letter case: MP3, WAV, RMP and
// every format TagLib reads.
bool IsAudioFileName(const QString &path);

// A line in the drop's format: the title, the time part when asked for and
// known, the artist part when asked for. Line breaks and other control
// characters become spaces, so that the line stays one line.
QString TrackLine(const QString &title, std::optional<int32_t> seconds, const QString &artist,
                  const DropLineOptions &options);

// The line for one dropped file. Audio files are read through the tag
// component (vbmp3_close, then vbmp3_open), which must have been started;
// a blank title (empty, or beginning with a space) gives the name line.
QString DropLine(const QString &path, const DropLineOptions &options);

// How the playlist and cue sheet readers make lines for a drop with these
// options.
ListLineMaker ListLineMakerFor(const DropLineOptions &options);

// The lines for one dropped file: a playlist or a cue sheet gives one line
// per track, any other file one line.
QStringList DropLines(const QString &path, const DropLineOptions &options);
