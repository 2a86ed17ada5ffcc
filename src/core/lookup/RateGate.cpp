// SPDX-License-Identifier: GPL-3.0-or-later
#include "core/lookup/RateGate.h"

#include <algorithm>

RateGate::RateGate(std::chrono::milliseconds interval, Clock clock)
    : m_interval(interval)
    , m_clock(std::move(clock))
{
}

RateGate &RateGate::shared()
{
    static RateGate gate;
    return gate;
}

std::chrono::milliseconds RateGate::book(const QString &host)
{
    const auto now = m_clock();
    auto &next = m_nextTurn[host.toLower()];
    const auto turn = std::max(now, next);
    next = turn + m_interval;
    // Rounded up: a turn is never taken early.
    return std::chrono::ceil<std::chrono::milliseconds>(turn - now);
}
