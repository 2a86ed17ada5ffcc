// SPDX-License-Identifier: GPL-3.0-or-later
#include "core/lookup/MusicBrainzReleases.h"

#include <QCoreApplication>
#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>

namespace MusicBrainzReleases {
namespace {

// MusicBrainz writes null for what it does not know; a missing or odd
// value reads as empty as well.
QString text(const QJsonObject &object, QLatin1StringView key) { return object.value(key).toString().trimmed(); }

int number(const QJsonObject &object, QLatin1StringView key) { return object.value(key).toInt(0); }

// "name" is the name as credited, which may differ from the artist's own.
QString artistCredit(const QJsonValue &credit)
{
    QString joined;
    for (const QJsonValue &credited : credit.toArray()) {
        const QJsonObject object = credited.toObject();
        QString name = object.value(QLatin1StringView("name")).toString();
        if (name.isEmpty())
            name = object.value(QLatin1StringView("artist")).toObject().value(QLatin1StringView("name")).toString();
        joined += name + object.value(QLatin1StringView("joinphrase")).toString();
    }
    return joined.trimmed();
}

QList<ReleaseTrack> tracksOf(const QJsonArray &tracks, const QString &releaseArtist)
{
    QList<ReleaseTrack> list;
    list.reserve(tracks.size());
    for (const QJsonValue &value : tracks) {
        const QJsonObject track = value.toObject();
        const QJsonObject recording = track.value(QLatin1StringView("recording")).toObject();
        ReleaseTrack item{text(track, QLatin1StringView("title")), artistCredit(track.value(QLatin1StringView("artist-credit")))};
        if (item.title.isEmpty())
            item.title = text(recording, QLatin1StringView("title"));
        if (item.artist.isEmpty())
            item.artist = artistCredit(recording.value(QLatin1StringView("artist-credit")));
        if (item.artist.isEmpty())
            item.artist = releaseArtist;
        list << item;
    }
    return list;
}

bool listsDisc(const QJsonObject &medium, const QString &discId)
{
    for (const QJsonValue &disc : medium.value(QLatin1StringView("discs")).toArray()) {
        if (disc.toObject().value(QLatin1StringView("id")).toString() == discId)
            return true;
    }
    return false;
}

// The medium the disc is: by its id, else by its number of tracks.
std::optional<std::pair<QJsonObject, bool>> mediumOf(const QJsonArray &media, const QString &discId, qsizetype audioTracks)
{
    if (!discId.isEmpty()) {
        for (const QJsonValue &medium : media) {
            if (listsDisc(medium.toObject(), discId))
                return std::pair(medium.toObject(), true);
        }
    }
    if (audioTracks > 0) {
        for (const QJsonValue &medium : media) {
            if (medium.toObject().value(QLatin1StringView("tracks")).toArray().size() == audioTracks)
                return std::pair(medium.toObject(), false);
        }
    }
    return std::nullopt;
}

std::optional<Release> releaseOf(const QJsonObject &object, const QString &discId, qsizetype audioTracks)
{
    const QJsonArray media = object.value(QLatin1StringView("media")).toArray();
    const auto medium = mediumOf(media, discId, audioTracks);
    if (!medium)
        return std::nullopt;
    const auto &[mediumObject, byId] = *medium;
    Release release;
    release.id = text(object, QLatin1StringView("id"));
    release.title = text(object, QLatin1StringView("title"));
    release.artist = artistCredit(object.value(QLatin1StringView("artist-credit")));
    release.country = text(object, QLatin1StringView("country"));
    release.date = text(object, QLatin1StringView("date"));
    release.mediumPosition = number(mediumObject, QLatin1StringView("position"));
    release.mediumCount = int(media.size());
    release.mediumTitle = text(mediumObject, QLatin1StringView("title"));
    release.mediumFormat = text(mediumObject, QLatin1StringView("format"));
    release.matchedByDiscId = byId;
    const QJsonValue front = object.value(QLatin1StringView("cover-art-archive")).toObject().value(QLatin1StringView("front"));
    if (front.isBool())
        release.frontCover = front.toBool();
    release.tracks = tracksOf(mediumObject.value(QLatin1StringView("tracks")).toArray(), release.artist);
    return release;
}

}  // namespace

std::optional<QList<Release>> parse(QByteArrayView json, const QString &discId, qsizetype audioTracks, QString *why)
{
    QJsonParseError error;
    const QJsonDocument document = QJsonDocument::fromJson(json.toByteArray(), &error);
    if (error.error != QJsonParseError::NoError) {
        if (why)
            *why = error.errorString();
        return std::nullopt;
    }
    const QJsonValue releases = document.object().value(QLatin1StringView("releases"));
    if (!releases.isArray()) {
        if (why)
            *why = QCoreApplication::translate("Lookup", "リリースの一覧がありません");
        return std::nullopt;
    }
    QList<Release> found;
    for (const QJsonValue &value : releases.toArray()) {
        if (auto release = releaseOf(value.toObject(), discId, audioTracks))
            found << std::move(*release);
    }
    return found;
}

}  // namespace MusicBrainzReleases
