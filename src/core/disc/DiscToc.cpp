// SPDX-License-Identifier: GPL-3.0-or-later
#include "core/disc/DiscToc.h"

#include <QStringList>

#include <discid/discid.h>

#include <memory>

namespace {

constexpr int kMostTracks = 99;
// Far beyond any disc (a 100-minute CD has 450 000 sectors), far below overflow.
constexpr int32_t kMostSectors = 100'000'000;

// How many tracks the audio session holds: on an enhanced CD the data
// tracks after the last audio one are in a session of their own, which
// starts past a lead-out and a lead-in; data tracks too close for that are
// in the same session.
std::size_t audioSessionEnd(const DiscToc &toc)
{
    std::size_t end = toc.tracks.size();
    while (end > 0 && !toc.tracks[end - 1].audio)
        --end;
    if (end == 0 || end == toc.tracks.size()
        || toc.tracks[end].start - kSessionGapSectors <= toc.tracks[end - 1].start)
        return toc.tracks.size();
    return end;
}

int32_t audioSessionLeadOut(const DiscToc &toc, std::size_t end)
{
    return end < toc.tracks.size() ? toc.tracks[end].start - kSessionGapSectors : toc.leadOut;
}

// What MusicBrainz identifies: the audio session of an enhanced CD, the
// whole disc otherwise.
struct MusicBrainzView
{
    int first = 1;
    int last = 1;
    int32_t leadOut = 0;
    std::vector<int32_t> starts;
};

std::optional<MusicBrainzView> musicBrainzView(const DiscToc &toc)
{
    if (!toc.isValid())
        return std::nullopt;
    const std::size_t end = audioSessionEnd(toc);
    MusicBrainzView view;
    view.first = toc.tracks.front().number;
    view.last = toc.tracks[end - 1].number;
    view.leadOut = audioSessionLeadOut(toc, end) + kMusicBrainzOffset;
    for (std::size_t i = 0; i < end; ++i)
        view.starts.push_back(toc.tracks[i].start + kMusicBrainzOffset);
    return view;
}

}  // namespace

bool DiscToc::isValid() const
{
    if (tracks.empty() || tracks.size() > kMostTracks || tracks.front().number < 1
        || tracks.back().number > kMostTracks || leadOut > kMostSectors)
        return false;
    for (std::size_t i = 0; i < tracks.size(); ++i) {
        if (tracks[i].start < 0)
            return false;
        if (i > 0 && (tracks[i].number != tracks[i - 1].number + 1 || tracks[i].start <= tracks[i - 1].start))
            return false;
    }
    return leadOut > tracks.back().start;
}

std::optional<DiscToc> DiscToc::fromMusicBrainz(QStringView text)
{
    QList<int32_t> numbers;
    for (const QStringView part : text.split(u' ', Qt::SkipEmptyParts)) {
        for (const QStringView number : part.split(u'+', Qt::SkipEmptyParts)) {
            bool ok = false;
            const int value = number.toInt(&ok);
            if (!ok || value < 0 || value > kMostSectors)
                return std::nullopt;
            numbers << value;
        }
    }
    if (numbers.size() < 4 || numbers[1] < numbers[0]
        || numbers.size() != 3 + (numbers[1] - numbers[0] + 1))
        return std::nullopt;
    DiscToc toc;
    toc.leadOut = numbers[2] - kMusicBrainzOffset;
    for (int i = 3; i < numbers.size(); ++i)
        toc.tracks.push_back({numbers[0] + i - 3, numbers[i] - kMusicBrainzOffset, true});
    if (!toc.isValid())
        return std::nullopt;
    return toc;
}

std::vector<DiscAudioTrack> DiscAudioTracks(const DiscToc &toc)
{
    std::vector<DiscAudioTrack> audio;
    if (!toc.isValid())
        return audio;
    const std::size_t end = audioSessionEnd(toc);
    for (std::size_t i = 0; i < end; ++i) {
        const DiscTocTrack &track = toc.tracks[i];
        if (!track.audio)
            continue;
        const int32_t next = i + 1 < end ? toc.tracks[i + 1].start : audioSessionLeadOut(toc, end);
        audio.push_back({track.number, track.start, next - track.start});
    }
    return audio;
}

QString MusicBrainzToc(const DiscToc &toc, QChar separator)
{
    const auto view = musicBrainzView(toc);
    if (!view)
        return {};
    QStringList parts{QString::number(view->first), QString::number(view->last), QString::number(view->leadOut)};
    for (const int32_t start : view->starts)
        parts << QString::number(start);
    return parts.join(separator);
}

QString MusicBrainzDiscId(const DiscToc &toc)
{
    const auto view = musicBrainzView(toc);
    if (!view)
        return {};
    // libdiscid's offsets: the lead-out first, then tracks 1-99 by number.
    int offsets[kMostTracks + 1] = {};
    offsets[0] = view->leadOut;
    for (std::size_t i = 0; i < view->starts.size(); ++i)
        offsets[view->first + int(i)] = view->starts[i];
    const std::unique_ptr<DiscId, decltype(&discid_free)> disc(discid_new(), discid_free);
    if (!disc || !discid_put(disc.get(), view->first, view->last, offsets))
        return {};
    return QString::fromLatin1(discid_get_id(disc.get()));
}
