// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "core/jacket/CoverPicture.h"
#include "core/jacket/JacketDocument.h"

#include <QDateTime>
#include <QMutex>
#include <QString>
#include <QThreadPool>

#include <memory>
#include <optional>
#include <vector>

class QLockFile;

// What a recovery copy holds: the jacket's title, items and cover, and the
// document it came from.
struct RecoveryCopy
{
    Jacket jacket;
    QString sourcePath;  // empty: untitled
};

// A copy left by a run that ended without discarding it. Claimed while the
// object lives, so that no other run offers it at the same time; destroyed
// without remove(), it stays for the next start.
class LeftCopy
{
public:
    LeftCopy(LeftCopy &&) noexcept;
    LeftCopy &operator=(LeftCopy &&) noexcept;
    ~LeftCopy();

    RecoveryCopy copy;
    QDateTime savedAt;

    // Gone for good: restored elsewhere, or not wanted.
    void remove();
    // No longer claimed, so that another run can take it up.
    void letGo();

private:
    friend class RecoveryStore;
    LeftCopy(RecoveryCopy copy, QDateTime savedAt, QString slot, QString copyFolder, std::unique_ptr<QLockFile> claim);

    QString m_slot;
    QString m_copyFolder;
    std::unique_ptr<QLockFile> m_claim;
};

// Recovery copies of unsaved jackets, in a folder shared by every run and
// window, private to the user (0700, its files 0600). Each store owns a slot
// of its own, guarded by a lock file held for its whole life, so that no two
// stores write the same files and a live run's copy is never taken for one
// left behind:
//
//   <slot>.lock          the lock of the store that owns the slot
//   <slot>/pelora-slot   the mark that Pelora made the slot
//   <slot>/<n>/          the newest complete copy: jacket.plr (the document's
//                        bytes), source (the document's path, as the file
//                        system spells it; empty when untitled), cover.<suffix>
//   <slot>/<n>.part/     a copy being written
//
// A copy is written whole into its .part folder and then renamed to its
// number, which replaces the previous copy at once: a run that dies at any
// moment leaves the old copy or the new one, never a mix.
//
// Only what Pelora can tell it made is deleted, and only by the names it
// writes: a slot without its mark (slots of earlier versions, named by a
// UUID, excepted), a link, or anything else in the folder is left as it is,
// with a note. No copy is read whole that is larger than kMostCopyBytes.
class RecoveryStore
{
public:
    // A jacket of a hundred thousand long lines takes a few megabytes: a
    // copy's document larger than this is no copy of Pelora's.
    static constexpr qint64 kMostCopyBytes = 64 * 1024 * 1024;

    // In `folder` (recoveryDirectory() for the program), made when missing.
    explicit RecoveryStore(const QString &folder);
    // Waits for the write under way. A copy that was not discarded stays,
    // for the next start to find.
    ~RecoveryStore();
    RecoveryStore(const RecoveryStore &) = delete;
    RecoveryStore &operator=(const RecoveryStore &) = delete;

    // Writes the copy on a worker thread, the bytes made there too; a copy
    // asked for while one is written replaces any other still waiting.
    void keep(RecoveryCopy copy);
    void waitForWrites();
    // Removes this store's copy, after the write under way and instead of
    // any still waiting, so that it never comes back.
    void discard();

    // The copies of stores whose run is gone (their lock is free, or its
    // process is gone), newest first, each claimed. A slot with nothing to
    // restore is removed (with a note on standard error when a copy was there
    // but unusable); a cover picture that cannot be read is left out, with a
    // note. `only`: that slot alone.
    std::vector<LeftCopy> leftCopies(const QString &only = QString());
    // Makes a left copy this store's own, at once and whole (a rename), and
    // removes the rest of it; false, leaving it where it was, when it cannot.
    bool adopt(LeftCopy &left);

    // The name of a left copy's slot, for another run to take it up with
    // leftCopies(name) once this one has let it go.
    static QString slotName(const LeftCopy &left);

private:
    void writePending();
    void writeCopy(const RecoveryCopy &copy);
    bool makeSlot(QString *error);
    void removeAllBut(const QString &copyName);

    QString m_folder;
    QString m_slot;  // empty: no slot could be had, nothing is kept
    std::unique_ptr<QLockFile> m_lock;

    QMutex m_mutex;
    std::optional<RecoveryCopy> m_pending;
    bool m_writing = false;

    // The worker's own, or its waiter's.
    quint64 m_generation = 0;
    bool m_failureTold = false;

    QThreadPool m_worker;
};
