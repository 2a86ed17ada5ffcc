// SPDX-License-Identifier: GPL-3.0-or-later
#include "core/jacket/RecoveryKeeper.h"

#include "core/common/Messages.h"
#include "core/files/ConfigLocation.h"
#include "core/text/Translation.h"

#include <QCoreApplication>
#include <QFileInfo>

#include <utility>

namespace {

QString question(const LeftCopy &left, bool another)
{
    const QString name = left.copy.sourcePath.isEmpty() ? QCoreApplication::translate("RecoveryKeeper", "無題")
                                                        : QFileInfo(left.copy.sourcePath).fileName();
    const QString when = Translation::dateTime(left.savedAt.toLocalTime());
    return another ? QCoreApplication::translate("RecoveryKeeper",
                                                 "保存されずに終わった「%1」の内容も残っています（%2 時点）。\n新しいウィンドウで復元しますか？")
                         .arg(name, when)
                   : QCoreApplication::translate("RecoveryKeeper", "保存されずに終わった「%1」の内容が残っています（%2 時点）。\n復元しますか？")
                         .arg(name, when);
}

}  // namespace

RecoveryKeeper::RecoveryKeeper(Changed changed, Snapshot snapshot, QObject *parent)
    : RecoveryKeeper(std::move(changed), std::move(snapshot), recoveryDirectory(), kInterval, parent)
{
}

RecoveryKeeper::RecoveryKeeper(Changed changed, Snapshot snapshot, const QString &folder, std::chrono::milliseconds interval,
                               QObject *parent)
    : QObject(parent)
    , m_changed(std::move(changed))
    , m_snapshot(std::move(snapshot))
    , m_store(folder)
{
    m_clock.setSingleShot(true);
    m_clock.setInterval(interval);
    connect(&m_clock, &QTimer::timeout, this, &RecoveryKeeper::keepIfChanged);
}

void RecoveryKeeper::noteChange()
{
    // Changes while the clock runs do not put the copy off.
    if (!m_clock.isActive())
        m_clock.start();
}

void RecoveryKeeper::keepNow()
{
    m_clock.stop();
    keepIfChanged();
    // On disk before whatever comes next (a print) can bring the run down.
    m_store.waitForWrites();
}

void RecoveryKeeper::discard()
{
    m_clock.stop();
    m_store.discard();
}

bool RecoveryKeeper::hasLeftCopies()
{
    if (!m_left) {
        // Read once: a run this one starts must not take the copy again.
        const QString handedOver = qEnvironmentVariable(kHandedOver);
        qunsetenv(kHandedOver);
        m_handedOver = !handedOver.isEmpty();
        m_left = m_handedOver ? m_store.leftCopies(handedOver) : m_store.leftCopies();
    }
    return !m_left->empty();
}

bool RecoveryKeeper::offerLeftCopies(const std::function<void(const RecoveryCopy &)> &restore,
                                     const std::function<void(const QString &slot)> &restoreElsewhere)
{
    hasLeftCopies();
    std::vector<LeftCopy> offered = std::exchange(*m_left, {});
    bool restored = false;
    for (LeftCopy &left : offered) {
        // No Escape answer: a copy is not thrown away by accident.
        if (!m_handedOver
            && Messages::Choose(question(left, restored), {restored ? tr("新しいウィンドウで復元する(&R)") : tr("復元する(&R)"), tr("破棄する(&D)")}, 0, -1)
                   != 0) {
            left.remove();
            continue;
        }
        if (restored) {
            left.letGo();  // for the new run to claim
            restoreElsewhere(RecoveryStore::slotName(left));
            continue;
        }
        restore(left.copy);
        // Should it fail, the old copy stays for the next start.
        m_store.adopt(left);
        restored = true;
    }
    return restored;
}

void RecoveryKeeper::keepIfChanged()
{
    if (m_changed())
        m_store.keep(m_snapshot());
}
