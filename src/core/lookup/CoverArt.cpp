// SPDX-License-Identifier: GPL-3.0-or-later
#include "core/lookup/CoverArt.h"

#include "core/lookup/LookupSettings.h"

#include <QCoreApplication>
#include <QRegularExpression>

namespace {

const QString kService = QStringLiteral("Cover Art Archive");

bool isMbid(const QString &id)
{
    static const QRegularExpression pattern(QStringLiteral("^[0-9a-f]{8}-[0-9a-f]{4}-[0-9a-f]{4}-[0-9a-f]{4}-[0-9a-f]{12}$"));
    return pattern.match(id).hasMatch();
}

QString noCoverReason() { return QCoreApplication::translate("Lookup", "Cover Art Archive にこのリリースの表紙の画像はありません。"); }

}  // namespace

CoverArtFetch::CoverArtFetch(QObject *parent)
    : WebLookup(LookupSettings::coverArtBase(), parent)
{
}

QUrl CoverArtFetch::requestUrl(const QUrl &base, const QString &releaseId)
{
    return UrlUnder(base, QStringLiteral("release/%1/front-500").arg(releaseId));
}

void CoverArtFetch::start(const QString &releaseId)
{
    m_noSuchRelease = !isMbid(releaseId);
    if (m_noSuchRelease) {
        endWithoutSending(Reply{Ending::Answered, 404});
        return;
    }
    get(requestUrl(baseUrl(), releaseId), QByteArrayLiteral("image/*"), CoverPicture::kMostBytes);
}

void CoverArtFetch::replied(const Reply &reply)
{
    CoverArtAnswer answer;
    answer.httpStatus = reply.httpStatus;
    if (const auto common = commonOutcome(reply, kService, timeout())) {
        std::tie(answer.outcome, answer.reason) = *common;
    } else if (reply.httpStatus == 404) {
        answer.outcome = LookupOutcome::NoneFound;
        answer.reason = noCoverReason();
        if (m_noSuchRelease)
            answer.httpStatus = 0;
    } else {
        answer.outcome = LookupOutcome::Found;
        answer.bytes = reply.body;
    }
    emit finished(answer);
}

std::optional<CoverPicture> CoverPictureOf(const CoverArtAnswer &answer, QString *why)
{
    if (answer.outcome != LookupOutcome::Found) {
        if (why)
            *why = answer.reason;
        return std::nullopt;
    }
    CoverPicture::Unusable unusable{};
    auto picture = CoverPicture::fromBytes(answer.bytes, &unusable);
    if (!picture && why)
        *why = QCoreApplication::translate("Lookup", "%1 の画像を使えません（%2）。").arg(kService, CoverPicture::reason(unusable));
    return picture;
}
