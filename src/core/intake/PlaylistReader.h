// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

// Playlists dropped on the window: each entry becomes a line, read as if its
// file had been dropped itself.
//
// .m3u / .m3u8: one entry a line; "#" lines are comments, except
//   "#EXTINF:<seconds>,<text>", which describes the next entry (text is
//   often "Artist - Title"; -1 seconds means unknown). .m3u8 is UTF-8.
// .pls: an INI-like "[playlist]" section with FileN=, TitleN=, LengthN=
//   (-1 unknown) and NumberOfEntries=; the entries go by N.
// Entries are paths relative to the playlist's folder, absolute paths or
// URLs; Windows-made lists use "\" between folders.
#include "core/intake/ListText.h"

#include <QByteArray>
#include <QByteArrayView>
#include <QStringList>

#include <optional>
#include <vector>

enum class PlaylistFormat { M3u, M3u8, Pls };

// By the extension, in any letter case.
std::optional<PlaylistFormat> PlaylistFormatOf(const QString &path);

// .m3u, .m3u8 and .pls, in any letter case.
bool IsPlaylistFileName(const QString &path);

struct PlaylistEntry
{
    QString location;                 // as written: a path or a URL
    QString title;                    // what the playlist calls it; empty when nothing
    QString artist;
    std::optional<int32_t> seconds;   // when the playlist gives a length of 0 or more
};

// The entries of a playlist's bytes, in its order; past a million entries
// the rest is left out (a jacket lists a few dozen). Touches no file.
std::vector<PlaylistEntry> ParsePlaylist(QByteArrayView bytes, PlaylistFormat format);

// The line of an entry whose file is not on this machine: the playlist's
// title when tags are read and it gave one, else the entry's name line (for
// a URL, its last path segment). Touches no file.
QString UnresolvedEntryLine(const PlaylistEntry &entry, const ListLineMaker &lines);

// The line of an entry of a playlist in `folder`: the line of its file
// when that exists; another playlist or a cue sheet gives only its name.
QString PlaylistEntryLine(const PlaylistEntry &entry, const QString &folder, const ListLineMaker &lines);

// One line per entry of the playlist at `path`, in its order; the
// playlist's own line when it cannot be read or holds no entry.
QStringList PlaylistLines(const QString &path, const ListLineMaker &lines);
