// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QByteArray>
#include <QList>
#include <QString>


// A picture stored in an audio file's tags, its bytes as stored (JPEG, PNG, …).
struct AlbumArt
{
    QByteArray bytes;
    bool frontCover = false;  // tagged as the front cover
};

// Pictures larger than this are passed over: no cover is worth it. A file
// with more pictures than the second limit offers its first ones.
inline constexpr qsizetype kMostAlbumArtBytes = 32 * 1024 * 1024;
inline constexpr qsizetype kMostAlbumArtPictures = 8;

// The file's pictures within the limits: its front covers, then the others,
// each in the order of its tags; none for a file that is not readable audio
// or has no picture. Never blocks on a FIFO or device; never throws.
QList<AlbumArt> AlbumArtOf(const QString &path);
