// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "core/jacket/CoverPicture.h"
#include "core/lookup/WebLookup.h"

#include <QByteArray>
#include <QString>
#include <QUrl>

#include <optional>

struct CoverArtAnswer
{
    LookupOutcome outcome = LookupOutcome::Cancelled;
    QByteArray bytes;     // Found: the picture file as the archive gave it
    int httpStatus = 0;   // the last answer's HTTP status; 0 when none came
    QString reason;       // empty for Found
};

// Fetches a release's front cover, 500 pixels wide, from the Cover Art
// Archive:
//   GET <base>/release/<mbid>/front-500
// which redirects to the picture on another host. The caller must have the
// user's consent.
class CoverArtFetch : public WebLookup
{
    Q_OBJECT
public:
    // On LookupSettings::coverArtBase().
    explicit CoverArtFetch(QObject *parent = nullptr);

    // A fetch that runs is cancelled first. An id that is no MBID asks
    // nothing and ends as NoneFound.
    void start(const QString &releaseId);

    static QUrl requestUrl(const QUrl &base, const QString &releaseId);

signals:
    void finished(const CoverArtAnswer &answer);

protected:
    void replied(const Reply &reply) override;

private:
    bool m_noSuchRelease = false;
};

// The answer's picture as a cover picture, by CoverPicture's own checks;
// nothing, with the reason in `why`, when there is none or it is unusable.
std::optional<CoverPicture> CoverPictureOf(const CoverArtAnswer &answer, QString *why = nullptr);
