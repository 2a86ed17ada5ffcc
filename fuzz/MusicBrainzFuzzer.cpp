// SPDX-License-Identifier: GPL-3.0-or-later
// MusicBrainz's disc id answers from arbitrary bytes: refused with a
// reason, or releases whose medium is the disc (listed by its id, else of
// its number of tracks), and lines that stay one line each.
#include "FuzzCheck.h"
#include "core/lookup/MusicBrainzReleases.h"
#include "core/lookup/ReleaseLines.h"

#include <cstdint>

namespace {

// The seeds' disc: recorded answers for it.
const QString kDiscId = QStringLiteral("Xq3bT0vN9mRk2LwE7pYs_uHc4Jd-");
constexpr qsizetype kTracks = 7;

void checkOneLine(const QString &line)
{
    for (const QChar c : line)
        check(c.unicode() >= 0x20 && c.unicode() != 0x7F);
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t *data, size_t size)
{
    const QByteArrayView bytes(reinterpret_cast<const char *>(data), qsizetype(size));
    QString why;
    const std::optional<QList<Release>> releases = MusicBrainzReleases::parse(bytes, kDiscId, kTracks, &why);
    if (!releases) {
        check(!why.isEmpty());
        return 0;
    }
    const QList<int> seconds{296, 302, 335, 334, 311, 286, 329};
    for (const Release &release : *releases) {
        check(release.matchedByDiscId || release.tracks.size() == kTracks);
        check(release.mediumCount >= 1);
        const ReleaseText text = releaseText(release, seconds);
        check(text.lines.size() == release.tracks.size());
        checkOneLine(text.title);
        for (const QString &line : text.lines)
            checkOneLine(line);
    }
    return 0;
}
