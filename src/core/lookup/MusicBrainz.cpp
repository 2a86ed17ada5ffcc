// SPDX-License-Identifier: GPL-3.0-or-later
#include "core/lookup/MusicBrainz.h"

#include "core/lookup/LookupSettings.h"

#include <QCoreApplication>
#include <QRegularExpression>

namespace {

const QString kService = QStringLiteral("MusicBrainz");

// Disc ids are 28 characters of a URL-safe Base64 ("." "_" "-").
bool isDiscId(const QString &id)
{
    static const QRegularExpression pattern(QStringLiteral("^[A-Za-z0-9._-]{28}$"));
    return pattern.match(id).hasMatch();
}

// The TOC's numbers joined by "+", as MusicBrainz writes it; empty when they
// are not first track, last track, lead-out and one offset per track.
QString tocParameter(const QString &toc)
{
    const QStringList numbers = toc.split(u' ', Qt::SkipEmptyParts);
    static const QRegularExpression digits(QStringLiteral("^[0-9]{1,9}$"));
    for (const QString &number : numbers) {
        if (!digits.match(number).hasMatch())
            return QString();
    }
    if (numbers.size() < 4)
        return QString();
    const int first = numbers[0].toInt();
    const int last = numbers[1].toInt();
    if (first < 1 || last < first || last > 99 || numbers.size() != 3 + last - first + 1)
        return QString();
    return numbers.join(u'+');
}

}  // namespace

MusicBrainzLookup::MusicBrainzLookup(QObject *parent)
    : WebLookup(LookupSettings::musicBrainzBase(), parent)
{
}

QUrl MusicBrainzLookup::requestUrl(const QUrl &base, const DiscQuery &disc)
{
    QUrl url = UrlUnder(base, QStringLiteral("ws/2/discid/") + (isDiscId(disc.discId) ? disc.discId : QStringLiteral("-")));
    QString query;
    const QString toc = tocParameter(disc.toc);
    if (!toc.isEmpty())
        query = QStringLiteral("toc=") + toc + u'&';
    query += QStringLiteral("inc=recordings+artist-credits&fmt=json");
    url.setQuery(query, QUrl::StrictMode);
    return url;
}

void MusicBrainzLookup::start(const DiscQuery &disc)
{
    m_disc = disc;
    get(requestUrl(baseUrl(), disc), QByteArrayLiteral("application/json"), kMostBytes);
}

void MusicBrainzLookup::replied(const Reply &reply)
{
    MusicBrainzAnswer answer;
    answer.httpStatus = reply.httpStatus;
    if (const auto common = commonOutcome(reply, kService, timeout())) {
        std::tie(answer.outcome, answer.reason) = *common;
    } else if (reply.httpStatus == 404) {
        // An unknown disc id, and no release fits the TOC.
        answer.outcome = LookupOutcome::NoneFound;
    } else {
        QString why;
        if (auto releases = MusicBrainzReleases::parse(reply.body, m_disc.discId, m_disc.trackSeconds.size(), &why)) {
            answer.releases = std::move(*releases);
            answer.outcome = answer.releases.isEmpty() ? LookupOutcome::NoneFound : LookupOutcome::Found;
        } else {
            answer.outcome = LookupOutcome::Unreadable;
            answer.reason = QCoreApplication::translate("Lookup", "%1 の答えを読めません（%2）。").arg(kService, why);
        }
    }
    if (answer.outcome == LookupOutcome::NoneFound)
        answer.reason = QCoreApplication::translate("Lookup", "MusicBrainz にこのディスクは登録されていません。");
    emit finished(answer);
}
