// SPDX-License-Identifier: GPL-3.0-or-later
#include "core/lookup/ReleaseLines.h"

#include "core/intake/DropLines.h"
#include "core/settings/DataFile.h"
#include "core/text/TextLines.h"

TrackLineFormat defaultTrackLineFormat()
{
    return [prefix = defaultDataFileValues().artistPrefix](const QString &title, std::optional<int32_t> seconds, const QString &artist) {
        DropLineOptions options;
        options.addArtist = !artist.isEmpty();
        options.artistPrefix = prefix;
        return TrackLine(title, seconds, artist, options);
    };
}

ReleaseText releaseText(const Release &release, const QList<int> &trackSeconds, const TrackLineFormat &format)
{
    ReleaseText text{TextLines::withoutControls(release.title), {}};
    for (qsizetype i = 0; i < release.tracks.size(); ++i) {
        const ReleaseTrack &track = release.tracks[i];
        const std::optional<int32_t> seconds = i < trackSeconds.size() && trackSeconds[i] >= 0 ? std::optional<int32_t>(trackSeconds[i]) : std::nullopt;
        text.lines << format(track.title, seconds, track.artist == release.artist ? QString() : track.artist);
    }
    return text;
}
