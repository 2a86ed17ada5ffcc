// SPDX-License-Identifier: GPL-3.0-or-later
#include "RegularFile.h"

#include <QCoreApplication>
#include <QFile>
#include <QFileInfo>
#include <QSaveFile>

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>

int openRegularFile(const QString &path, qint64 *size)
{
    const QByteArray name = QFile::encodeName(path);
    if (name.isEmpty() || name.contains('\0'))
        return -1;
    // O_NONBLOCK: opening a FIFO must not wait for a writer.
    const int fd = ::open(name.constData(), O_RDONLY | O_NONBLOCK | O_CLOEXEC | O_NOCTTY);
    if (fd < 0)
        return -1;
    struct stat st {};
    if (::fstat(fd, &st) != 0 || !S_ISREG(st.st_mode)) {
        ::close(fd);
        return -1;
    }
    if (size)
        *size = st.st_size;
    return fd;
}

std::optional<QByteArray> readRegularFile(const QString &path, qint64 limit)
{
    qint64 size = 0;
    const int fd = openRegularFile(path, &size);
    if (fd < 0)
        return std::nullopt;
    struct Closer
    {
        int fd;
        ~Closer() { ::close(fd); }
    } closer{fd};
    if (size > limit)
        return std::nullopt;
    QByteArray bytes;
    bytes.reserve(qsizetype(size));
    char buffer[65536];
    for (;;) {
        const ssize_t n = ::read(fd, buffer, sizeof buffer);
        if (n < 0 && errno == EINTR)
            continue;
        if (n < 0)
            return std::nullopt;
        if (n == 0)
            return bytes;
        // The file may have grown since fstat.
        if (bytes.size() + n > limit)
            return std::nullopt;
        bytes.append(buffer, qsizetype(n));
    }
}

namespace {

// Overwrites from the start and cuts the file to its new length only when
// every byte is in, so that the old content can be written back over its
// own blocks on a full disk.
bool writeInPlace(const QString &path, const QByteArray &bytes, QString *error)
{
    QFile file(path);
    if (!file.open(QIODevice::ReadWrite | QIODevice::Unbuffered))
        return false;
    const QByteArray old = file.readAll();
    if (file.error() == QFileDevice::NoError && file.seek(0) && file.write(bytes) == bytes.size() && file.flush()
        && file.resize(bytes.size()))
        return true;
    if (error)
        *error = file.errorString();
    file.unsetError();
    file.seek(0);
    file.write(old);
    file.flush();
    file.resize(old.size());
    return false;
}

}  // namespace

bool writeWholeFile(const QString &path, const QByteArray &bytes, QString *error)
{
    if (QFileInfo(path).isDir()) {
        if (error)
            *error = QCoreApplication::translate("OutputFile", "フォルダです");
        return false;
    }
    // commit() does not look at how its own last flush went, and a disk
    // that fills up there cuts the file short: the flush is made and
    // checked first.
    QSaveFile file(path);
    if (file.open(QIODevice::WriteOnly)) {
        if (file.write(bytes) == bytes.size() && file.flush() && file.commit())
            return true;
        if (error)
            *error = file.errorString();
        return false;
    }
    if (error)
        *error = file.errorString();
    return QFileInfo(path).isFile() && writeInPlace(path, bytes, error);
}
