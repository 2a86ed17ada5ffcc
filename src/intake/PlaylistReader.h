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
#include "DropLines.h"

#include <QByteArray>
#include <QByteArrayView>

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
QString UnresolvedEntryLine(const PlaylistEntry &entry, const DropLineOptions &options);

// The line of an entry of a playlist in `folder`: the drop line of its file
// when that exists; another playlist or a cue sheet gives only its name.
QString PlaylistEntryLine(const PlaylistEntry &entry, const QString &folder, const DropLineOptions &options);

// One line per entry of the playlist at `path`, in its order; the
// playlist's own line when it cannot be read or holds no entry.
QStringList PlaylistLines(const QString &path, const DropLineOptions &options);

// Shared with the cue sheets.

// The existing file or folder a written location names: a path relative to
// `folder` or absolute (tried as written, then with "\" as "/"), or a
// file:// URL of this machine.
std::optional<QString> LocalEntryPath(const QString &folder, const QString &written);

// Text of undeclared encoding: a UTF-16 or UTF-32 byte-order mark decides,
// else TextDetect (UTF-8, Shift-JIS or Latin-1).
QString DecodeListText(QByteArrayView bytes);

// A text taken from a list, cut to a length that still fits any path
// (PATH_MAX), so that absurd input cannot make absurd lines.
QString CappedListText(QStringView text);
