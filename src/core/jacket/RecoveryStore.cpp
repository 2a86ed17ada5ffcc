// SPDX-License-Identifier: GPL-3.0-or-later
#include "core/jacket/RecoveryStore.h"

#include "core/files/OwnedFiles.h"
#include "core/files/RegularFile.h"

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
const QString kMark = QStringLiteral("pelora-slot");
const QByteArray kMarkBytes = "Pelora recovery slot\n";
const QString kDocumentFile = QStringLiteral("jacket.plr");
const QString kSourceFile = QStringLiteral("source");
const QString kCoverStem = QStringLiteral("cover.");
// PATH_MAX: no path is longer.
constexpr qint64 kMostSourceBytes = 4096;

using OwnedFiles::Access;
using OwnedFiles::Kind;
using OwnedFiles::kindOf;

// Held for a run's whole life: never taken for stale by its age, only when
// its process is gone. A file system without native locks (NFS) would
// otherwise hand a live run's copy to the next one after half a minute.
std::unique_ptr<QLockFile> slotLock(const QString &folder, const QString &slotName)
{
    auto lock = std::make_unique<QLockFile>(QDir(folder).filePath(slotName + kLockSuffix));
    lock->setStaleLockTime(0);
    return lock;
}

void privateLock(const QString &folder, const QString &slotName)
{
    const QString path = QDir(folder).filePath(slotName + kLockSuffix);
    if (kindOf(path) == Kind::File)
        QFile::setPermissions(path, QFileDevice::ReadOwner | QFileDevice::WriteOwner);
}

bool isCopyNumber(const QString &name, quint64 *number = nullptr)
{
    bool ok = !name.isEmpty() && std::all_of(name.begin(), name.end(), [](QChar c) { return c >= u'0' && c <= u'9'; });
    const quint64 value = ok ? name.toULongLong(&ok) : 0;
    if (number)
        *number = value;
    return ok;
}

bool isCopyFolderName(const QString &name)
{
    return isCopyNumber(name) || (name.endsWith(kPartSuffix) && isCopyNumber(name.chopped(kPartSuffix.size())));
}

// The entries of a folder of Pelora's, links and hidden names included.
QStringList entriesOf(const QString &folder)
{
    return QDir(folder).entryList(QDir::AllEntries | QDir::System | QDir::Hidden | QDir::NoDotAndDotDot, QDir::Name);
}

// The number of the newest complete copy in a slot.
std::optional<quint64> newestCopy(const QString &slot)
{
    std::optional<quint64> newest;
    for (const QString &name : entriesOf(slot)) {
        quint64 number = 0;
        if (isCopyNumber(name, &number) && kindOf(QDir(slot).filePath(name)) == Kind::Folder && (!newest || number > *newest))
            newest = number;
    }
    return newest;
}

void note(const QString &path, const char *what)
{
    qWarning("pelora: %s %s", qPrintable(QDir::toNativeSeparators(path)), what);
}

void noteCopy(const QString &slot, const char *what)
{
    qWarning("pelora: the recovery copy in %s %s", qPrintable(QDir::toNativeSeparators(slot)), what);
}

// A copy folder, by the names Pelora writes in it. Whatever else is there
// keeps the folder.
void removeCopyFolder(const QString &path)
{
    if (kindOf(path) != Kind::Folder)
        return;
    const QDir copy(path);
    QStringList names{kDocumentFile, kSourceFile};
    for (const QString &suffix : CoverPicture::suffixes())
        names << kCoverStem + suffix;
    for (const QString &name : std::as_const(names))
        OwnedFiles::remove(copy.filePath(name));
    OwnedFiles::removeEmptyFolder(path);
}

// A slot, by the names Pelora writes in it; one that holds anything else
// stays, with a note.
void removeSlot(const QString &slot)
{
    if (kindOf(slot) != Kind::Folder)
        return;
    for (const QString &name : entriesOf(slot)) {
        if (isCopyFolderName(name))
            removeCopyFolder(QDir(slot).filePath(name));
    }
    OwnedFiles::remove(QDir(slot).filePath(kMark));
    if (!OwnedFiles::removeEmptyFolder(slot).isEmpty())
        note(slot, "holds files that are not Pelora's, and is left as it is");
}

// Whether Pelora made the slot: its mark, or the UUID name earlier
// versions gave their slots before they were marked.
bool isSlot(const QString &slot)
{
    if (kindOf(slot) != Kind::Folder)
        return false;
    const QString mark = QDir(slot).filePath(kMark);
    if (kindOf(mark) == Kind::File)
        return readRegularFile(mark, kMarkBytes.size()).value_or(QByteArray()) == kMarkBytes;
    return !QUuid::fromString(QFileInfo(slot).fileName()).isNull() && kindOf(mark) == Kind::Missing;
}

struct SlotContent
{
    RecoveryCopy copy;
    QDateTime savedAt;
    QString copyFolder;
};

enum class SlotState { Usable, Empty, TooLarge };

// The newest complete copy of a slot; nothing when there is none to restore.
std::optional<SlotContent> readSlot(const QString &slotPath, SlotState &state)
{
    state = SlotState::Empty;
    const std::optional<quint64> newest = newestCopy(slotPath);
    if (!newest) {
        const QStringList entries = entriesOf(slotPath);
        if (std::any_of(entries.begin(), entries.end(), [](const QString &name) { return name.endsWith(kPartSuffix); }))
            noteCopy(slotPath, "was cut short before it was complete, and is removed");
        return std::nullopt;
    }
    const QDir copy(QDir(slotPath).filePath(QString::number(*newest)));
    const QString documentPath = copy.filePath(kDocumentFile);
    if (kindOf(documentPath) == Kind::File && QFileInfo(documentPath).size() > RecoveryStore::kMostCopyBytes) {
        state = SlotState::TooLarge;
        noteCopy(slotPath, "is larger than 64 MiB, which no jacket of Pelora's is: it is not read, and is left as it is");
        return std::nullopt;
    }
    const std::optional<QByteArray> documentBytes =
        kindOf(documentPath) == Kind::File ? readRegularFile(documentPath, RecoveryStore::kMostCopyBytes) : std::nullopt;
    std::optional<Jacket> document = documentBytes ? JacketFormat::fromBytes(*documentBytes) : std::nullopt;
    if (!document) {
        noteCopy(slotPath, "holds no readable document, and is removed");
        return std::nullopt;
    }
    SlotContent content;
    content.copyFolder = copy.path();
    content.copy.jacket = std::move(*document);
    const QString sourcePath = copy.filePath(kSourceFile);
    if (kindOf(sourcePath) == Kind::File)
        content.copy.sourcePath = QFile::decodeName(readRegularFile(sourcePath, kMostSourceBytes).value_or(QByteArray()));
    content.savedAt = QFileInfo(documentPath).lastModified();
    for (const QString &suffix : CoverPicture::suffixes()) {
        const QString coverPath = copy.filePath(kCoverStem + suffix);
        if (kindOf(coverPath) != Kind::File)
            continue;
        const std::optional<QByteArray> coverBytes = readRegularFile(coverPath, CoverPicture::kMostBytes);
        if (std::optional<CoverPicture> cover = coverBytes ? CoverPicture::fromBytes(*coverBytes) : std::nullopt)
            content.copy.jacket.cover = std::move(*cover);
        else
            noteCopy(slotPath, "has a cover picture that cannot be read, and is offered without it");
        break;
    }
    state = SlotState::Usable;
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
    removeSlot(m_slot);
    m_claim.reset();
}

void LeftCopy::letGo() { m_claim.reset(); }

RecoveryStore::RecoveryStore(const QString &folder)
    : m_folder(folder)
{
    m_worker.setMaxThreadCount(1);
    // The lock before the folder: a slot folder is never there unlocked
    // while its run lives.
    const QString name = QUuid::createUuid().toString(QUuid::WithoutBraces);
    std::unique_ptr<QLockFile> lock = slotLock(folder, name);
    const QString why = OwnedFiles::makeFolder(folder, Access::Private);
    if (!why.isEmpty() || !lock->tryLock(0)) {
        qWarning("pelora: no recovery copies can be kept in %s%s", qPrintable(QDir::toNativeSeparators(folder)),
                 qPrintable(why.isEmpty() ? QString() : QStringLiteral(": ") + why));
        return;
    }
    privateLock(folder, name);
    m_lock = std::move(lock);
    m_slot = QDir(folder).filePath(name);
}

RecoveryStore::~RecoveryStore()
{
    waitForWrites();
    if (!m_slot.isEmpty() && !newestCopy(m_slot))
        removeSlot(m_slot);
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
    removeSlot(m_slot);
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

bool RecoveryStore::makeSlot(QString *error)
{
    *error = OwnedFiles::makeFolder(m_slot, Access::Private);
    if (error->isEmpty() && kindOf(QDir(m_slot).filePath(kMark)) != Kind::File)
        *error = OwnedFiles::write(QDir(m_slot).filePath(kMark), kMarkBytes, Access::Private);
    return error->isEmpty();
}

void RecoveryStore::writeCopy(const RecoveryCopy &copy)
{
    QDir slot(m_slot);
    const QString name = QString::number(++m_generation);
    const QString part = slot.filePath(name + kPartSuffix);
    const QDir partDir(part);
    QString error;
    const auto wrote = [&](const QString &file, const QByteArray &bytes) {
        error = OwnedFiles::write(partDir.filePath(file), bytes, Access::Private);
        return error.isEmpty();
    };
    const bool written = makeSlot(&error) && (error = OwnedFiles::makeFolder(part, Access::Private)).isEmpty()
                         && wrote(kDocumentFile, JacketFormat::toBytes(copy.jacket)) && wrote(kSourceFile, QFile::encodeName(copy.sourcePath))
                         && (copy.jacket.cover.isNull() || wrote(kCoverStem + copy.jacket.cover.suffix(), copy.jacket.cover.bytes()))
                         && slot.rename(name + kPartSuffix, name);
    if (!written) {
        removeCopyFolder(part);
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
    for (const QString &other : entriesOf(m_slot)) {
        if (other != copyName && isCopyFolderName(other))
            removeCopyFolder(QDir(m_slot).filePath(other));
    }
}

std::vector<LeftCopy> RecoveryStore::leftCopies(const QString &only)
{
    // A slot can be a lock file alone (a run that kept nothing) or a
    // folder alone (a run that ended and left its copy).
    QSet<QString> slotNames;
    for (const QString &entry : entriesOf(m_folder)) {
        const QString path = QDir(m_folder).filePath(entry);
        const QString name = entry.endsWith(kLockSuffix) ? entry.chopped(kLockSuffix.size()) : entry;
        const Kind kind = kindOf(path);
        if (entry.endsWith(kLockSuffix) ? kind == Kind::File : isSlot(path))
            slotNames.insert(name);
        else if (!entry.endsWith(kLockSuffix) || kind != Kind::File)
            note(path, "is not Pelora's, and is left as it is");
    }
    slotNames.remove(QFileInfo(m_slot).fileName());
    if (!only.isNull())
        slotNames = slotNames.contains(only) ? QSet<QString>{only} : QSet<QString>();

    std::vector<LeftCopy> found;
    for (const QString &name : std::as_const(slotNames)) {
        const QString slot = QDir(m_folder).filePath(name);
        // A lock whose slot is something else, or a slot whose lock is, is
        // not Pelora's to take: the lock's claim would follow a link.
        const Kind lock = kindOf(slot + kLockSuffix);
        if ((kindOf(slot) != Kind::Missing && !isSlot(slot)) || (lock != Kind::Missing && lock != Kind::File))
            continue;
        std::unique_ptr<QLockFile> claim = slotLock(m_folder, name);
        if (!claim->tryLock(0))
            continue;  // its run is alive
        privateLock(m_folder, name);
        SlotState state = SlotState::Empty;
        std::optional<SlotContent> content = kindOf(slot) == Kind::Folder ? readSlot(slot, state) : std::nullopt;
        if (!content) {
            if (state != SlotState::TooLarge)
                removeSlot(slot);
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
    QString error;
    if (!makeSlot(&error) || !QDir().rename(left.m_copyFolder, QDir(m_slot).filePath(name)))
        return false;
    removeAllBut(name);
    left.remove();
    return true;
}

QString RecoveryStore::slotName(const LeftCopy &left) { return QFileInfo(left.m_slot).fileName(); }
