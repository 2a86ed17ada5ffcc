// SPDX-License-Identifier: GPL-3.0-or-later
// The playlist and cue sheet readers on arbitrary bytes, without touching a
// file. The first byte picks the format (its low two bits: m3u, m3u8, pls,
// cue; the seeds use "<", "=", ">", "?") and the drop options (the next
// four bits); the rest is the file. Entries and tracks come out sane, times
// are never negative, and every line stays one line.
#include "FuzzCheck.h"
#include "core/intake/CueSheet.h"
#include "core/intake/DropLines.h"
#include "core/intake/PlaylistReader.h"

#include <cstdint>
#include <set>

namespace {

constexpr qsizetype kCap = 4096;  // CappedListText's length

void checkOneLine(const QString &line)
{
    for (const QChar c : line)
        check(c.unicode() >= 0x20 && c.unicode() != 0x7F);
}

void fuzzPlaylist(QByteArrayView bytes, PlaylistFormat format, const DropLineOptions &options)
{
    const std::vector<PlaylistEntry> entries = ParsePlaylist(bytes, format);
    // Each entry takes a byte at least.
    check(qsizetype(entries.size()) <= bytes.size());
    for (const PlaylistEntry &entry : entries) {
        check(!entry.location.isEmpty() && entry.location.size() <= kCap);
        check(entry.location == entry.location.trimmed());
        check(!entry.location.contains(u'\n') && !entry.location.contains(u'\r'));
        check(entry.title.size() <= kCap && entry.artist.size() <= kCap);
        check(entry.artist.isEmpty() || !entry.title.isEmpty());
        check(!entry.seconds || *entry.seconds >= 0);
        checkOneLine(UnresolvedEntryLine(entry, ListLineMakerFor(options)));
    }
}

void fuzzCueSheet(QByteArrayView bytes, const DropLineOptions &options)
{
    const CueSheetData sheet = ParseCueSheet(bytes);
    qsizetype audio = 0;
    for (const CueTrack &track : sheet.tracks) {
        check(track.file >= -1 && track.file < sheet.files.size());
        check(!track.start || *track.start >= 0);
        check(track.title.size() <= kCap && track.performer.size() <= kCap);
        audio += track.audio ? 1 : 0;
    }
    // File lengths made up from the names: unknown, negative, short or huge.
    std::set<qsizetype> asked;
    const CueFileSeconds lengths = [&](qsizetype file) -> std::optional<int64_t> {
        check(file >= 0 && file < sheet.files.size());
        check(asked.insert(file).second);  // once a file: only its last track asks
        const qsizetype n = sheet.files[file].size();
        if (n % 4 == 0)
            return std::nullopt;
        return n % 4 == 1 ? -int64_t(n) : n % 4 == 2 ? int64_t(n) * 60 : INT64_MAX / (n + 1);
    };
    const std::vector<std::optional<int32_t>> seconds = CueTrackSeconds(sheet, lengths);
    check(seconds.size() == sheet.tracks.size());
    for (const auto &s : seconds)
        check(!s || *s >= 0);
    asked.clear();
    const QStringList lines = CueSheetTrackLines(sheet, QStringLiteral("/fuzz/sheet.cue"), lengths, ListLineMakerFor(options));
    check(lines.size() == audio);
    for (const QString &line : lines)
        checkOneLine(line);
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t *data, size_t size)
{
    if (size == 0)
        return 0;
    const uint8_t pick = data[0];
    const QByteArrayView bytes(reinterpret_cast<const char *>(data + 1), qsizetype(size - 1));
    const DropLineOptions options{(pick & 4) != 0, (pick & 8) != 0, (pick & 16) != 0, (pick & 32) != 0,
                                  QStringLiteral("  歌：")};
    switch (pick & 3) {
    case 0: fuzzPlaylist(bytes, PlaylistFormat::M3u, options); break;
    case 1: fuzzPlaylist(bytes, PlaylistFormat::M3u8, options); break;
    case 2: fuzzPlaylist(bytes, PlaylistFormat::Pls, options); break;
    default: fuzzCueSheet(bytes, options); break;
    }
    return 0;
}
