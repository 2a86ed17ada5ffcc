// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QByteArray>
#include <QString>

#include <memory>

// Every file Pelora writes or deletes goes through here, by one rule.
//
// Pelora's own files (the cover beside a document, recovery copies, the
// settings and data files) are written and deleted only as what they are:
// never through a symbolic link, never in place of anything that is not a
// regular file, and always whole (the new bytes are written beside the file
// and renamed over it once complete). A name that holds a link, a folder, a
// FIFO or a device is "not ours": it is left as it is, and the caller is
// told why. Private files are the owner's alone (0600, folders 0700),
// whatever the umask.
//
// The user's own files (the document itself, a PDF export) are the user's
// to name: a link there is followed to the file it names, which is replaced
// whole, and a folder or other non-file is refused.
//
// Every function returns why it did nothing, or an empty text when it did
// what it was asked: the system's own words (disk full, read-only, …) or
// the program's when the name is not ours.
namespace OwnedFiles {

enum class Access
{
    Shared,   // as the umask allows, or as the file it replaces was
    Private,  // the owner's alone
};

// What a name holds, a link not followed (a link is Other).
enum class Kind
{
    Missing,
    Folder,
    File,
    Other,
};
Kind kindOf(const QString &path);

// Why Pelora may not write or delete its own file at `path`: a link, or
// anything but a regular file. Empty when a regular file or nothing is there.
QString whyNotOurs(const QString &path);

// A new content for a file, written beside it and put in place only by
// commit(): until then (and after a failed prepare), the file is as it was.
// Destroyed uncommitted, it leaves nothing behind.
class Replacement
{
public:
    enum class Owner
    {
        Pelora,  // Pelora's own file: by the rule above
        User,    // the user's: a link is followed, and a folder that cannot
                 // take a new file is written in place, the old bytes put
                 // back should that fail
    };

    Replacement(const QString &path, Owner owner, Access access = Access::Shared);
    ~Replacement();
    Replacement(const Replacement &) = delete;
    Replacement &operator=(const Replacement &) = delete;

    // Writes every byte to a new file beside the target and makes it durable.
    QString prepare(const QByteArray &bytes);
    // Puts the prepared file in place of the target, at once.
    QString commit();

    // The file that commit() replaces (a user's link resolved).
    const QString &target() const { return m_target; }

private:
    struct Pending;
    QString m_target;
    Owner m_owner;
    Access m_access;
    std::unique_ptr<Pending> m_pending;
};

// Replaces Pelora's own file whole.
QString write(const QString &path, const QByteArray &bytes, Access access = Access::Shared);
// Replaces the user's file whole (a link followed to its target).
QString writeUsers(const QString &path, const QByteArray &bytes);

// Deletes Pelora's own file: a regular file, never a link's target.
// Nothing there is no failure.
QString remove(const QString &path);

// Makes the folder and any missing parents. Private folders that are made
// get 0700, and so does the last one when it is there already (it is ours);
// a link or non-folder at the last name is refused.
QString makeFolder(const QString &path, Access access = Access::Shared);
// Deletes Pelora's own folder when it is empty; one that holds anything
// (or is a link) is left.
QString removeEmptyFolder(const QString &path);

}  // namespace OwnedFiles
