// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "core/jacket/RecoveryStore.h"

#include <QObject>
#include <QTimer>

#include <chrono>
#include <functional>
#include <optional>
#include <vector>

// Keeps a recovery copy of the window's jacket while it has unsaved changes:
// at most once an interval, the first change starting the clock; at once
// when asked (before a print); none once the jacket is saved or closed on
// purpose. At start it offers the copies of runs that ended without closing.
class RecoveryKeeper : public QObject
{
    Q_OBJECT
public:
    // Whether the jacket has unsaved changes.
    using Changed = std::function<bool()>;
    // The jacket as it is now; called on this thread, so keep it cheap (the
    // lists are shared, not copied).
    using Snapshot = std::function<RecoveryCopy()>;

    static constexpr std::chrono::milliseconds kInterval = std::chrono::seconds(10);

    RecoveryKeeper(Changed changed, Snapshot snapshot, QObject *parent = nullptr);
    RecoveryKeeper(Changed changed, Snapshot snapshot, const QString &folder, std::chrono::milliseconds interval,
                   QObject *parent = nullptr);

    // After every change of the jacket.
    void noteChange();
    // The copy now, if the jacket has unsaved changes, and written when
    // this returns.
    void keepNow();
    // Saved, closed, or its changes thrown away: no copy.
    void discard();

    // The variable that hands a left copy (its slot's name) to a new run,
    // which restores it without asking.
    static constexpr char kHandedOver[] = "PELORA_RESTORE_SLOT";

    // Whether runs that ended without closing left copies, which are then
    // claimed for this one to offer; or whether the copy handed over to
    // this run is there.
    bool hasLeftCopies();
    // Asks about each left copy, newest first. The first one the user
    // wants back is given to `restore`, which puts it into the window, and
    // becomes this run's copy; each further one is let go and its slot's
    // name given to `restoreElsewhere`, which starts a run to restore it.
    // A copy not wanted is removed. A copy handed over to this run is
    // restored without a question. Whether one was restored here.
    bool offerLeftCopies(const std::function<void(const RecoveryCopy &)> &restore,
                         const std::function<void(const QString &slot)> &restoreElsewhere);

private:
    void keepIfChanged();

    Changed m_changed;
    Snapshot m_snapshot;
    RecoveryStore m_store;
    std::optional<std::vector<LeftCopy>> m_left;  // claimed, not yet offered
    bool m_handedOver = false;
    QTimer m_clock;
};
