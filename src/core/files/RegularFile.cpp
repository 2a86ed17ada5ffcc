// SPDX-License-Identifier: GPL-3.0-or-later
#include "core/files/RegularFile.h"

#include <QCoreApplication>
#include <QFile>
#include <QFileInfo>

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

QString whyNotRead(const QString &path, qint64 limit)
{
    const QFileInfo info(path);
    const char *why = !info.exists() && !info.isSymLink() ? QT_TRANSLATE_NOOP("RegularFile", "ありません")
                    : info.isDir()                        ? QT_TRANSLATE_NOOP("RegularFile", "フォルダです")
                    : !info.isFile()                      ? QT_TRANSLATE_NOOP("RegularFile", "普通のファイルではありません")
                    : info.size() > limit                 ? QT_TRANSLATE_NOOP("RegularFile", "大きすぎます")
                                                          : QT_TRANSLATE_NOOP("RegularFile", "読めません");
    return QCoreApplication::translate("RegularFile", why);
}
