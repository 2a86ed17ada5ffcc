// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QHash>
#include <QString>

#include <chrono>
#include <functional>

// Spaces the requests to each host: MusicBrainz asks for one a second at
// most, and blocks a client that sends more. Each request books the next
// free turn of its host and waits until then.
class RateGate
{
public:
    using Clock = std::function<std::chrono::steady_clock::time_point()>;

    explicit RateGate(std::chrono::milliseconds interval = std::chrono::seconds(1), Clock clock = &std::chrono::steady_clock::now);

    // The gate every lookup of the run goes through unless told otherwise.
    static RateGate &shared();

    // Books the next turn for the host (letter case aside) and returns how
    // long until it comes.
    std::chrono::milliseconds book(const QString &host);

private:
    std::chrono::milliseconds m_interval;
    Clock m_clock;
    QHash<QString, std::chrono::steady_clock::time_point> m_nextTurn;
};
