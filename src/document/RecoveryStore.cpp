// SPDX-License-Identifier: GPL-3.0-or-later
#include "RecoveryStore.h"

#include "common/RegularFile.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QLockFile>
#include <QSet>
#include <QUuid>

#include <algorithm>

namespace {

const QString kLockSuffix = QStringLiteral(".lock");
const QString kPartSuffix = QStringLiteral(".part");
const QString kDocumentFile = QStringLiteral("jacket.plr");
const QString kSourceFile = QStringLiteral("source");
const QString kCoverStem = QStringLiteral("cover.");
// PATH_MAX: no path is longer.
constexpr qint64 kMostSourceBytes = 4096;

// Held for a run's whole life: never taken for stale by its age, only when
// its process is gone.
std::unique_ptr<QLockFile> slotLock(const QString &folder, const QString &slotName)
{
    auto lock = std::make_unique<QLockFile>(QDir(folder).filePath(slotName + kLockSuffix));
    lock->setStaleLockTime(0);
    return lock;
}

// The number of the newest complete copy in a slot.
std::optional<quint64> newestCopy(const QDir &slot)
{
    std::optional<quint64> newest;
    for (const QString &name : slot.entryList(QDir::Dirs | QDir::NoDotAndDotDot)) {
        bool isNumber = false;
        const quint64 number = name.toULongLong(&isNumber);
        if (isNumber && (!newest || number > *newest))
            newest = number;
    }
    return newest;
}

void note(const QString &slot, const char *what)
{
    qWarning("pelora: the recovery copy in %s %s", qPrintable(QDir::toNativeSeparators(slot)), what);
}

struct SlotContent
{
    RecoveryCopy copy;
    QDateTime savedAt;
    QString copyFolder;
};

// The newest complete copy of a slot; nothing when there is none to restore.
std::optional<SlotContent> readSlot(const QString &slotPath)
{
    const QDir slot(slotPath);
    const std::optional<quint64> newest = newestCopy(slot);
    if (!newest) {
        if (!slot.entryList({u'*' + kPartSuffix}, QDir::Dirs).isEmpty())
            note(slotPath, "was cut short before it was complete, and is removed");
        return std::nullopt;
    }
    const QDir copy(slot.filePath(QString::number(*newest)));
    const QString documentPath = copy.filePath(kDocumentFile);
    const std::optional<QByteArray> documentBytes = readRegularFile(documentPath, JacketFormat::kMostBytes);
    std::optional<JacketDocument> document = documentBytes ? JacketFormat::fromBytes(*documentBytes) : std::nullopt;
    if (!document) {
        note(slotPath, "holds no readable document, and is removed");
        return std::nullopt;
    }
    SlotContent content;
    content.copyFolder = copy.path();
    content.copy.document = std::move(*document);
    content.copy.sourcePath = QFile::decodeName(readRegularFile(copy.filePath(kSourceFile), kMostSourceBytes).value_or(QByteArray()));
    content.savedAt = QFileInfo(documentPath).lastModified();
    const QStringList covers = copy.entryList({kCoverStem + u'*'}, QDir::Files);
    if (!covers.isEmpty()) {
        const std::optional<QByteArray> coverBytes = readRegularFile(copy.filePath(covers.first()), CoverPicture::kMostBytes);
        if (std::optional<CoverPicture> cover = coverBytes ? CoverPicture::fromBytes(*coverBytes) : std::nullopt)
            content.copy.cover = std::move(*cover);
        else
            note(slotPath, "has a cover picture that cannot be read, and is offered without it");
    }
    return content;
}

}  // namespace

LeftCopy::LeftCopy(RecoveryCopy copy, QDateTime savedAt, QString slot, QString copyFolder, std::unique_ptr<QLockFile> claim)
    : copy(std::move(copy))
    , savedAt(std::move(savedAt))
    , m_slot(std::move(slot))
    , m_copyFolder(std::move(copyFolder))
    , m_claim(std::move(claim))
{
}

LeftCopy::LeftCopy(LeftCopy &&) noexcept = default;
LeftCopy &LeftCopy::operator=(LeftCopy &&) noexcept = default;
LeftCopy::~LeftCopy() = default;

void LeftCopy::remove()
{
    if (!m_claim)
        return;
    // The folder while it is still claimed, so that no other run takes it
    // up half removed.
    QDir(m_slot).removeRecursively();
    m_claim.reset();
}

RecoveryStore::RecoveryStore(const QString &folder)
    : m_folder(folder)
{
    m_worker.setMaxThreadCount(1);
    // The lock before the folder: a slot folder is never there unlocked
    // while its run lives.
    const QString name = QUuid::createUuid().toString(QUuid::WithoutBraces);
    std::unique_ptr<QLockFile> lock = slotLock(folder, name);
    if (!QDir().mkpath(folder) || !lock->tryLock(0)) {
        qWarning("pelora: no recovery copies can be kept in %s", qPrintable(QDir::toNativeSeparators(folder)));
        return;
    }
    m_lock = std::move(lock);
    m_slot = QDir(folder).filePath(name);
}

RecoveryStore::~RecoveryStore()
{
    waitForWrites();
    if (!m_slot.isEmpty() && !newestCopy(QDir(m_slot)))
        QDir(m_slot).removeRecursively();
}

void RecoveryStore::keep(RecoveryCopy copy)
{
    if (m_slot.isEmpty())
        return;
    const QMutexLocker locker(&m_mutex);
    m_pending = std::move(copy);
    if (m_writing)
        return;
    m_writing = true;
    m_worker.start([this] { writePending(); });
}

void RecoveryStore::waitForWrites() { m_worker.waitForDone(); }

void RecoveryStore::discard()
{
    if (m_slot.isEmpty())
        return;
    {
        const QMutexLocker locker(&m_mutex);
        m_pending.reset();
    }
    waitForWrites();
    QDir(m_slot).removeRecursively();
}

void RecoveryStore::writePending()
{
    for (;;) {
        std::optional<RecoveryCopy> copy;
        {
            const QMutexLocker locker(&m_mutex);
            if (!m_pending) {
                m_writing = false;
                return;
            }
            copy.swap(m_pending);
        }
        writeCopy(*copy);
    }
}

void RecoveryStore::writeCopy(const RecoveryCopy &copy)
{
    QDir slot(m_slot);
    const QString name = QString::number(++m_generation);
    const QString part = slot.filePath(name + kPartSuffix);
    const QDir partDir(part);
    QString error;
    const bool written = QDir().mkpath(part)
                         && writeWholeFile(partDir.filePath(kDocumentFile), JacketFormat::toBytes(copy.document), &error)
                         && writeWholeFile(partDir.filePath(kSourceFile), QFile::encodeName(copy.sourcePath), &error)
                         && (copy.cover.isNull() || writeWholeFile(partDir.filePath(kCoverStem + copy.cover.suffix()), copy.cover.bytes(), &error))
                         && slot.rename(name + kPartSuffix, name);
    if (!written) {
        QDir(part).removeRecursively();
        // Told once: the next copies would only say it again.
        if (!std::exchange(m_failureTold, true))
            qWarning("pelora: the recovery copy cannot be written in %s: %s", qPrintable(QDir::toNativeSeparators(m_slot)),
                     qPrintable(error.isEmpty() ? QStringLiteral("its folder cannot be written") : error));
        return;
    }
    removeAllBut(name);
}

void RecoveryStore::removeAllBut(const QString &copyName)
{
    const QDir slot(m_slot);
    for (const QString &other : slot.entryList(QDir::Dirs | QDir::NoDotAndDotDot)) {
        if (other != copyName)
            QDir(slot.filePath(other)).removeRecursively();
    }
}

std::vector<LeftCopy> RecoveryStore::leftCopies()
{
    const QDir folder(m_folder);
    // A slot can be a lock file alone (a run that kept nothing) or a
    // folder alone (a run that ended and left its copy).
    QSet<QString> slotNames;
    for (const QString &lock : folder.entryList({u'*' + kLockSuffix}, QDir::Files))
        slotNames.insert(lock.chopped(kLockSuffix.size()));
    for (const QString &slot : folder.entryList(QDir::Dirs | QDir::NoDotAndDotDot))
        slotNames.insert(slot);
    slotNames.remove(QFileInfo(m_slot).fileName());

    std::vector<LeftCopy> found;
    for (const QString &name : std::as_const(slotNames)) {
        std::unique_ptr<QLockFile> claim = slotLock(m_folder, name);
        if (!claim->tryLock(0))
            continue;  // its run is alive
        const QString slot = folder.filePath(name);
        std::optional<SlotContent> content = readSlot(slot);
        if (!content) {
            QDir(slot).removeRecursively();
            continue;  // the claim's end removes the lock file too
        }
        found.push_back(LeftCopy(std::move(content->copy), content->savedAt, slot, content->copyFolder, std::move(claim)));
    }
    std::sort(found.begin(), found.end(), [](const LeftCopy &a, const LeftCopy &b) { return a.savedAt > b.savedAt; });
    return found;
}

bool RecoveryStore::adopt(LeftCopy &left)
{
    if (m_slot.isEmpty() || !left.m_claim)
        return false;
    waitForWrites();
    const QString name = QString::number(++m_generation);
    if (!QDir().mkpath(m_slot) || !QDir().rename(left.m_copyFolder, QDir(m_slot).filePath(name)))
        return false;
    removeAllBut(name);
    left.remove();
    return true;
}
