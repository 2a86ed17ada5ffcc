// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "core/lookup/MusicBrainzReleases.h"

#include <QList>
#include <QString>
#include <QStringList>

#include <cstdint>
#include <functional>
#include <optional>

// How a track becomes an item line; the window hands in the one its
// dropped files use, so that both follow the same options. `artist` is
// empty when the track is the release's own artist's.
using TrackLineFormat = std::function<QString(const QString &title, std::optional<int32_t> seconds, const QString &artist)>;

// The drop's line with its default options, with the artist only when
// there is one: "曲名  (04:57)  歌：誰か".
TrackLineFormat defaultTrackLineFormat();

// A release as a jacket's title and item lines.
struct ReleaseText
{
    QString title;
    QStringList lines;

    bool operator==(const ReleaseText &) const = default;
};

// The release's title (one line: control characters become spaces), and
// one line per track of the disc's medium, in order: the times are the disc's own (`trackSeconds`, the audio tracks'
// lengths as the drive reads them), since a release's may be rounded or
// missing; a track beyond them gets none.
ReleaseText releaseText(const Release &release, const QList<int> &trackSeconds, const TrackLineFormat &format = defaultTrackLineFormat());
