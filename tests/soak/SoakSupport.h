// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QElapsedTimer>
#include <QFile>
#include <QRegularExpression>
#include <QString>

// What the long runs measure: the process's memory and the time of a step.
namespace Soak {

struct Memory
{
    qint64 peakKiB = 0;     // VmHWM: the most resident memory so far
    qint64 currentKiB = 0;  // VmRSS
};

inline Memory memory()
{
    QFile status(QStringLiteral("/proc/self/status"));
    Memory result;
    if (!status.open(QIODevice::ReadOnly))
        return result;
    const QString text = QString::fromLatin1(status.readAll());
    const auto field = [&text](const char *name) {
        const QRegularExpression pattern(QStringLiteral("^%1:\\s+(\\d+) kB").arg(QLatin1String(name)),
                                         QRegularExpression::MultilineOption);
        return pattern.match(text).captured(1).toLongLong();
    };
    result.peakKiB = field("VmHWM");
    result.currentKiB = field("VmRSS");
    return result;
}

// Starts the high-water mark anew from the current resident size, so that
// one phase's peak is not hidden by an earlier one's (Linux 4.0 and later).
inline bool resetPeak()
{
    QFile clear(QStringLiteral("/proc/self/clear_refs"));
    return clear.open(QIODevice::WriteOnly) && clear.write("5") == 1;
}

inline QString describe(const Memory &m)
{
    return QStringLiteral("peak %1 MiB, resident %2 MiB")
        .arg(m.peakKiB / 1024.0, 0, 'f', 1)
        .arg(m.currentKiB / 1024.0, 0, 'f', 1);
}

// Runs a step and returns its wall-clock time in milliseconds.
template <typename Step>
qint64 timed(Step &&step)
{
    QElapsedTimer clock;
    clock.start();
    step();
    return clock.elapsed();
}

}  // namespace Soak
