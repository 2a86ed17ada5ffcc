#pragma once

#include <QByteArray>
#include <QString>

#include <optional>

// A picture stored in an audio file's tags, its bytes as stored (JPEG, PNG, …).
struct AlbumArt
{
    QByteArray bytes;
    bool frontCover = false;  // tagged as the front cover
};

// Pictures larger than this are passed over: no cover is worth it.
inline constexpr qsizetype kMostAlbumArtBytes = 32 * 1024 * 1024;

// The file's front cover, else its first picture; nothing for a file that is
// not readable audio, has no picture, or only pictures larger than the limit.
// Never blocks on a FIFO or device; never throws.
std::optional<AlbumArt> AlbumArtOf(const QString &path);
