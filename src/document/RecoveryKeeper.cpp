// SPDX-License-Identifier: GPL-3.0-or-later
#include "RecoveryKeeper.h"

#include "common/Messages.h"
#include "main/ConfigLocation.h"

#include <QCoreApplication>
#include <QFileInfo>

#include <utility>

namespace {

QString question(const LeftCopy &left)
{
    const QString name = left.copy.sourcePath.isEmpty() ? QCoreApplication::translate("RecoveryKeeper", "無題")
                                                        : QFileInfo(left.copy.sourcePath).fileName();
    return QCoreApplication::translate("RecoveryKeeper",
                                       "保存されずに終わった「%1」の内容が残っています（%2 時点）。\n復元しますか？")
        .arg(name, left.savedAt.toLocalTime().toString(QStringLiteral("yyyy/MM/dd HH:mm")));
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
    if (!m_left)
        m_left = m_store.leftCopies();
    return !m_left->empty();
}

bool RecoveryKeeper::offerLeftCopies(const std::function<void(const RecoveryCopy &)> &restore)
{
    hasLeftCopies();
    std::vector<LeftCopy> offered = std::exchange(*m_left, {});
    for (LeftCopy &left : offered) {
        // No Escape answer: a copy is not thrown away by accident.
        if (Messages::Choose(question(left), {tr("復元する"), tr("破棄する")}, 0, -1) != 0) {
            left.remove();
            continue;
        }
        restore(left.copy);
        // Should it fail, the old copy stays for the next start.
        m_store.adopt(left);
        return true;
    }
    return false;
}

void RecoveryKeeper::keepIfChanged()
{
    if (m_changed())
        m_store.keep(m_snapshot());
}
