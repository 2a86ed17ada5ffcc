// SPDX-License-Identifier: GPL-3.0-or-later
#include "core/files/OwnedFiles.h"

#include <QCoreApplication>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QRandomGenerator>

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>

namespace OwnedFiles {
namespace {

QString isLink() { return QCoreApplication::translate("OwnedFiles", "シンボリックリンクです"); }
QString isFolder() { return QCoreApplication::translate("OutputFile", "フォルダです"); }
QString isNoFile() { return QCoreApplication::translate("OwnedFiles", "普通のファイルではありません"); }
QString systemError(int error = errno) { return qt_error_string(error); }

QByteArray encoded(const QString &path) { return QFile::encodeName(path); }

template <typename Call>
auto retried(Call call)
{
    decltype(call()) result;
    do
        result = call();
    while (result < 0 && errno == EINTR);
    return result;
}

// lstat: what the name itself is, a link not followed.
bool statName(const QString &path, struct stat &st) { return ::lstat(encoded(path).constData(), &st) == 0; }

QString whyNot(const struct stat &st)
{
    if (S_ISLNK(st.st_mode))
        return isLink();
    if (S_ISDIR(st.st_mode))
        return isFolder();
    return S_ISREG(st.st_mode) ? QString() : isNoFile();
}

bool writeAll(int descriptor, const QByteArray &bytes)
{
    const char *data = bytes.constData();
    qint64 left = bytes.size();
    while (left > 0) {
        const ssize_t written = retried([&] { return ::write(descriptor, data, size_t(left)); });
        if (written == 0)
            errno = ENOSPC;
        if (written <= 0)
            return false;
        data += written;
        left -= written;
    }
    return true;
}

// The file a user's name stands for: its links followed, each relative to
// the folder it is in, as far as the kernel would.
QString followLinks(const QString &path)
{
    QFileInfo info(path);
    for (int depth = 0; depth < 40 && info.isSymLink(); ++depth)
        info.setFile(info.symLinkTarget());
    return info.filePath();
}

}  // namespace

Kind kindOf(const QString &path)
{
    struct stat st {};
    if (!statName(path, st))
        return Kind::Missing;
    return S_ISDIR(st.st_mode) ? Kind::Folder : S_ISREG(st.st_mode) ? Kind::File : Kind::Other;
}

QString whyNotOurs(const QString &path)
{
    struct stat st {};
    if (statName(path, st))
        return whyNot(st);
    return errno == ENOENT ? QString() : systemError();
}

struct Replacement::Pending
{
    int folder = -1;     // the target's folder, where the new file is made
    int descriptor = -1;  // the new file, or the target itself when in place
    QByteArray name;      // the target's name in its folder
    QByteArray newName;   // the new file's name; empty when in place
    QByteArray bytes;     // in place: what goes in
    QByteArray old;       // in place: what was there

    ~Pending()
    {
        if (descriptor >= 0)
            ::close(descriptor);
        if (!newName.isEmpty())
            ::unlinkat(folder, newName.constData(), 0);
        if (folder >= 0)
            ::close(folder);
    }
};

Replacement::Replacement(const QString &path, Owner owner, Access access)
    : m_target(owner == Owner::User ? followLinks(path) : path)
    , m_owner(owner)
    , m_access(access)
{
}

Replacement::~Replacement() = default;

QString Replacement::prepare(const QByteArray &bytes)
{
    m_pending.reset();
    struct stat st {};
    const bool exists = statName(m_target, st);
    if (!exists && errno != ENOENT)
        return systemError();
    if (exists) {
        if (const QString why = whyNot(st); !why.isEmpty())
            return why;
    }
    const QFileInfo target(m_target);
    auto pending = std::make_unique<Pending>();
    pending->name = encoded(target.fileName());
    pending->folder = retried([&] { return ::open(encoded(target.absolutePath()).constData(), O_RDONLY | O_DIRECTORY | O_CLOEXEC); });
    if (pending->folder < 0 || pending->name.isEmpty())
        return systemError();

    // The replaced file's permissions stay, as an editor keeps them.
    const mode_t mode = m_access == Access::Private ? 0600 : exists ? (st.st_mode & 07777) : 0666;
    int error = 0;
    for (int attempt = 0; attempt < 100; ++attempt) {
        const QByteArray name = '.' + pending->name + ".pelora-" + QByteArray::number(QRandomGenerator::global()->generate(), 36);
        pending->descriptor = retried([&] {
            return ::openat(pending->folder, name.constData(), O_WRONLY | O_CREAT | O_EXCL | O_NOFOLLOW | O_CLOEXEC, mode);
        });
        if (pending->descriptor >= 0) {
            pending->newName = name;
            break;
        }
        error = errno;
        if (error != EEXIST)
            break;
    }
    if (pending->descriptor >= 0) {
        // Exactly: the umask narrows what open gives, and a private file is
        // private whatever it says.
        if ((m_access == Access::Private || exists) && ::fchmod(pending->descriptor, mode) != 0)
            return systemError();
        if (!writeAll(pending->descriptor, bytes) || ::fdatasync(pending->descriptor) != 0)
            return systemError();
        m_pending = std::move(pending);
        return QString();
    }
    // A folder the user cannot add to may still hold a file the user can
    // write: the user's own file is then written where it is, at commit.
    if (m_owner != Owner::User || !exists)
        return systemError(error);
    pending->descriptor = retried([&] { return ::openat(pending->folder, pending->name.constData(), O_RDWR | O_NOFOLLOW | O_CLOEXEC); });
    if (pending->descriptor < 0)
        return systemError(error);
    QFile old;
    if (!old.open(pending->descriptor, QIODevice::ReadOnly, QFileDevice::DontCloseHandle))
        return systemError(error);
    pending->old = old.readAll();
    if (old.error() != QFileDevice::NoError)
        return old.errorString();
    pending->bytes = bytes;
    m_pending = std::move(pending);
    return QString();
}

QString Replacement::commit()
{
    if (!m_pending)
        return systemError(EINVAL);
    const std::unique_ptr<Pending> pending = std::move(m_pending);
    if (pending->newName.isEmpty()) {
        // In place: overwritten from the start and cut to its new length only
        // when every byte is in, so that on a full disk the old bytes can be
        // written back over their own blocks.
        const int fd = pending->descriptor;
        if (::lseek(fd, 0, SEEK_SET) == 0 && writeAll(fd, pending->bytes) && ::ftruncate(fd, pending->bytes.size()) == 0
            && ::fdatasync(fd) == 0)
            return QString();
        const QString why = systemError();
        if (::lseek(fd, 0, SEEK_SET) == 0 && writeAll(fd, pending->old))
            (void)::ftruncate(fd, pending->old.size());
        return why;
    }
    // Looked at again: what took the name since prepare() is not replaced.
    struct stat st {};
    if (::fstatat(pending->folder, pending->name.constData(), &st, AT_SYMLINK_NOFOLLOW) == 0) {
        if (const QString why = whyNot(st); !why.isEmpty())
            return why;
    } else if (errno != ENOENT) {
        return systemError();
    }
    if (::renameat(pending->folder, pending->newName.constData(), pending->folder, pending->name.constData()) != 0)
        return systemError();
    pending->newName.clear();
    return QString();
}

QString write(const QString &path, const QByteArray &bytes, Access access)
{
    Replacement replacement(path, Replacement::Owner::Pelora, access);
    QString why = replacement.prepare(bytes);
    return why.isEmpty() ? replacement.commit() : why;
}

QString writeUsers(const QString &path, const QByteArray &bytes)
{
    Replacement replacement(path, Replacement::Owner::User);
    QString why = replacement.prepare(bytes);
    return why.isEmpty() ? replacement.commit() : why;
}

QString remove(const QString &path)
{
    struct stat st {};
    if (!statName(path, st))
        return errno == ENOENT ? QString() : systemError();
    if (const QString why = whyNot(st); !why.isEmpty())
        return why;
    if (::unlink(encoded(path).constData()) != 0 && errno != ENOENT)
        return systemError();
    return QString();
}

QString makeFolder(const QString &path, Access access)
{
    const QString absolute = QDir::cleanPath(QDir(path).absolutePath());
    const QByteArray name = encoded(absolute);
    struct stat st {};
    if (!statName(absolute, st)) {
        if (errno != ENOENT)
            return systemError();
        // Only missing parents are made (and so made private): those that
        // are there stay as they are.
        const QString parent = QFileInfo(absolute).path();
        if (parent != absolute && !QFileInfo(parent).isDir()) {
            if (const QString why = makeFolder(parent, access); !why.isEmpty())
                return why;
        }
        if (::mkdir(name.constData(), access == Access::Private ? 0700 : 0777) != 0 && errno != EEXIST)
            return systemError();
        // Or made by another run at the same moment: checked as any other.
        if (!statName(absolute, st))
            return systemError();
    }
    if (!S_ISDIR(st.st_mode))
        return S_ISLNK(st.st_mode) ? isLink() : isNoFile();
    if (access == Access::Private && (st.st_mode & 07777) != 0700 && ::chmod(name.constData(), 0700) != 0)
        return systemError();
    return QString();
}

QString removeEmptyFolder(const QString &path)
{
    struct stat st {};
    if (!statName(path, st))
        return errno == ENOENT ? QString() : systemError();
    if (!S_ISDIR(st.st_mode))
        return S_ISLNK(st.st_mode) ? isLink() : isNoFile();
    if (::rmdir(encoded(path).constData()) != 0 && errno != ENOENT)
        return systemError();
    return QString();
}

}  // namespace OwnedFiles
