// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QByteArrayView>
#include <QList>
#include <QString>

#include <optional>

// What MusicBrainz knows of a disc: the releases that hold it, each with
// the medium the disc is and that medium's tracks.
struct ReleaseTrack
{
    QString title;
    QString artist;  // the track's artist credit, else the release's

    bool operator==(const ReleaseTrack &) const = default;
};

struct Release
{
    QString id;       // the release's MBID, which the Cover Art Archive knows it by
    QString title;
    QString artist;   // the artist credit: the names with their join phrases
    QString country;  // "JP"; empty when unknown
    QString date;     // "1999-03-10", "1999-03", "1999" or empty
    int mediumPosition = 0;  // the disc's medium, from 1
    int mediumCount = 0;
    QString mediumTitle;     // "Bonus Disc"; usually empty
    QString mediumFormat;    // "CD", "Enhanced CD", …
    bool matchedByDiscId = false;  // else by its number of tracks, from a lookup by the TOC
    std::optional<bool> frontCover;  // whether the Cover Art Archive has a front cover
    QList<ReleaseTrack> tracks;      // the medium's audio tracks, in order

    bool operator==(const Release &) const = default;
};

namespace MusicBrainzReleases {

// The releases of a disc id lookup's JSON answer (`inc=recordings+artist-credits`),
// found by the disc id or, when MusicBrainz did not know it, by the TOC. The
// disc is the medium that lists `discId` among its discs, else the first
// whose number of tracks is `audioTracks`; a release without such a medium
// is left out. Nothing, with the reason in `why`, when the bytes are no
// such answer (not JSON, or no list of releases). An empty list is an
// answer: no release holds the disc.
std::optional<QList<Release>> parse(QByteArrayView json, const QString &discId, qsizetype audioTracks, QString *why = nullptr);

}  // namespace MusicBrainzReleases
