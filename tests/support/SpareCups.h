// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QStringList>
#include <QTemporaryDir>

#include <sys/types.h>

// The queues of the private CUPS (and of every spare one) that take jobs.
inline const QStringList kAcceptingQueues{"pelora-a5",  "pelora-card", "pelora-class",  "pelora-disc",   "pelora-ep801a",
                                          "pelora-ip7200", "pelora-margins", "pelora-pdf", "pelora-raw", "pelora-scaled"};

// A scheduler of a test's own, started with scripts/private-cups.sh and so
// with the same queues as the private CUPS, for tests that add, reject and
// remove queues, or stop, kill or freeze the scheduler.
class SpareCups
{
public:
    SpareCups();
    ~SpareCups() { stop(); }
    SpareCups(const SpareCups &) = delete;
    SpareCups &operator=(const SpareCups &) = delete;

    bool start();
    bool stop();
    QString socket() const { return path(QStringLiteral("cups.sock")); }
    QString path(const QString &name) const { return m_dir.filePath(name); }
    pid_t pid() const;

    // Runs a CUPS tool against this scheduler; false when it fails or takes
    // over a minute (`quiet`: without a warning, for putting things back).
    bool tool(const QString &program, const QStringList &arguments, bool quiet = false);
    // The scheduler dies at once, as after a crash.
    bool kill();
    // A queue like pelora-pdf under another name, and removing one.
    bool addQueue(const QString &name);
    bool removeQueue(const QString &name, bool quiet = false);

private:
    QTemporaryDir m_dir;
};
