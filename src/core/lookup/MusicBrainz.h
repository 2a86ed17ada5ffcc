// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "core/lookup/MusicBrainzReleases.h"
#include "core/lookup/WebLookup.h"

#include <QList>
#include <QString>
#include <QUrl>

// A disc as the drive reads it, for a lookup.
struct DiscQuery
{
    QString discId;          // MusicBrainz's disc id, "Xq3bT0vN9mRk2LwE7pYs_uHc4Jd-"
    QString toc;             // "1 7 164900 150 22460 …": first and last track, lead-out, the tracks' offsets
    QList<int> trackSeconds; // the audio tracks' lengths, in order
};

struct MusicBrainzAnswer
{
    LookupOutcome outcome = LookupOutcome::Cancelled;
    QList<Release> releases;  // Found: one at least, in MusicBrainz's order
    int httpStatus = 0;       // the answer's HTTP status; 0 when none came
    QString reason;           // why nothing was found, for a message; empty for Found
};

// Asks MusicBrainz which releases hold a disc:
//   GET <base>/ws/2/discid/<id>?toc=<toc>&inc=recordings+artist-credits&fmt=json
// With the TOC, MusicBrainz answers for a disc id it does not know with
// the releases whose tracks fit the TOC (their medium is then the one with
// the disc's number of tracks). The caller must have the user's consent.
class MusicBrainzLookup : public WebLookup
{
    Q_OBJECT
public:
    // An answer larger than this is no disc's.
    static constexpr qint64 kMostBytes = 16 * 1024 * 1024;

    // On LookupSettings::musicBrainzBase().
    explicit MusicBrainzLookup(QObject *parent = nullptr);

    // A lookup that runs is cancelled first. An id that is no disc id is
    // sent as "-", which asks by the TOC alone; a TOC that is not whole
    // numbers that fit together is left out.
    void start(const DiscQuery &disc);

    static QUrl requestUrl(const QUrl &base, const DiscQuery &disc);

signals:
    void finished(const MusicBrainzAnswer &answer);

protected:
    void replied(const Reply &reply) override;

private:
    DiscQuery m_disc;
};
