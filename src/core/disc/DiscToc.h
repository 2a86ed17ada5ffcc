// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

// A disc's table of contents: where each track starts, and what follows.
// Addresses are sectors (75 a second) from the start of the program area,
// as a drive counts them: the first track of most discs starts at 0, and
// MusicBrainz counts 150 more (the two seconds of the first pause).
#include <QString>
#include <QStringView>

#include <cstdint>
#include <optional>
#include <vector>

struct DiscTocTrack
{
    int number = 1;
    int32_t start = 0;  // sector
    bool audio = true;

    bool operator==(const DiscTocTrack &) const = default;
};

struct DiscToc
{
    std::vector<DiscTocTrack> tracks;  // in order, numbers rising by one
    int32_t leadOut = 0;               // sector where the last session's lead-out starts

    bool operator==(const DiscToc &) const = default;

    // Tracks numbered 1-99 and rising by one, starts rising, the lead-out after them.
    bool isValid() const;

    // A TOC as MusicBrainz writes it: first and last track, the lead-out
    // and each track's start, all 150 sectors later, separated by spaces or
    // "+". Every track is taken for audio.
    static std::optional<DiscToc> fromMusicBrainz(QStringView text);
};

// On an enhanced CD, the audio session ends this far before the data
// track: its lead-out (6750), the data session's lead-in (4500) and the
// data track's first pause (150).
inline constexpr int32_t kSessionGapSectors = 11'400;
inline constexpr int32_t kSectorsPerSecond = 75;
// MusicBrainz's addresses are this much later than the drive's.
inline constexpr int32_t kMusicBrainzOffset = 150;

struct DiscAudioTrack
{
    int number = 1;
    int32_t start = 0;    // sector
    int32_t sectors = 0;  // up to the next track, the lead-out, or the end of the audio session
    int32_t seconds() const { return sectors / kSectorsPerSecond; }

    bool operator==(const DiscAudioTrack &) const = default;
};

// The audio tracks and their lengths; data tracks are left out. The last
// audio track ends at the lead-out, or, on an enhanced CD (data tracks after
// the last audio one), kSessionGapSectors before the first of those.
std::vector<DiscAudioTrack> DiscAudioTracks(const DiscToc &toc);

// The TOC MusicBrainz takes in its toc= parameter: "1 7 164900 150 22460 …"
// (first, last, lead-out, starts; 150 sectors later than the drive's). On an
// enhanced CD, the audio session alone. Empty for an invalid TOC.
QString MusicBrainzToc(const DiscToc &toc, QChar separator = u' ');

// The MusicBrainz disc id of the same TOC, from libdiscid; empty when
// libdiscid refuses the TOC.
QString MusicBrainzDiscId(const DiscToc &toc);
