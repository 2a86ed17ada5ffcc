// SPDX-License-Identifier: GPL-3.0-or-later
#include "core/files/OutputFile.h"

#include "core/files/OwnedFiles.h"

#include <QCoreApplication>
#include <QFile>
#include <QFileInfo>

#include <fcntl.h>
#include <poll.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <optional>

namespace OutputFile {
namespace {

// The descriptor of this process that a name reaches through the links in
// /proc (/dev/stdout, /dev/fd/3, /proc/self/fd/3). Opened anew by its name,
// it would start at the beginning, without the shell's append mode, and
// QSaveFile would put a new file in place of the one the shell opened.
std::optional<int> ownDescriptor(const QString &path)
{
    const QString ownDescriptors = QStringLiteral("/proc/%1/fd").arg(::getpid());
    QFileInfo link(path);
    // The kernel's own limit of links in a row.
    for (int depth = 0; depth < 40 && link.isSymLink(); ++depth) {
        if (QFileInfo(link.absolutePath()).canonicalFilePath() == ownDescriptors) {
            bool number = false;
            const int descriptor = link.fileName().toInt(&number);
            return number ? std::optional<int>(descriptor) : std::nullopt;
        }
        link.setFile(link.symLinkTarget());
    }
    return std::nullopt;
}

bool isFifo(const QByteArray &name)
{
    struct stat st {};
    return ::stat(name.constData(), &st) == 0 && S_ISFIFO(st.st_mode);
}

int openPath(const QByteArray &name, int flags)
{
    int descriptor;
    do
        descriptor = ::open(name.constData(), flags);
    while (descriptor < 0 && errno == EINTR);
    return descriptor;
}

// Neither created nor cut to nothing: it stays what it is.
QString writeIntoExisting(const QString &path, const QByteArray &bytes, const std::function<void()> &waitingForReader)
{
    const QByteArray name = QFile::encodeName(path);
    const int flags = O_WRONLY | O_NOCTTY | O_CLOEXEC;
    // Without waiting first: a FIFO that nobody reads yet is told about
    // before the open waits for its reader.
    int descriptor = openPath(name, flags | O_NONBLOCK);
    if (descriptor < 0 && errno == ENXIO && isFifo(name)) {
        if (waitingForReader)
            waitingForReader();
        descriptor = openPath(name, flags);
    }
    if (descriptor < 0)
        return qt_error_string(errno);
    const QString error = writeInto(descriptor, bytes);
    ::close(descriptor);
    return error;
}

}  // namespace

QString write(const QString &path, const QByteArray &bytes, const std::function<void()> &waitingForReader)
{
    if (const std::optional<int> descriptor = ownDescriptor(path))
        return writeInto(*descriptor, bytes);
    const QFileInfo info(path);
    if (info.isDir())
        return QCoreApplication::translate("OutputFile", "フォルダです");
    if (info.exists() && !info.isFile())
        return writeIntoExisting(path, bytes, waitingForReader);
    return OwnedFiles::writeUsers(path, bytes);
}

// Every byte, however the descriptor was opened: a pipe that another
// program made non-blocking is waited on, not given up.
QString writeInto(int descriptor, const QByteArray &bytes)
{
    const char *data = bytes.constData();
    qint64 left = bytes.size();
    while (left > 0) {
        const ssize_t written = ::write(descriptor, data, size_t(left));
        if (written >= 0) {
            data += written;
            left -= written;
        } else if (errno == EAGAIN || errno == EWOULDBLOCK) {
            pollfd writable{descriptor, POLLOUT, 0};
            ::poll(&writable, 1, -1);
        } else if (errno != EINTR) {
            return qt_error_string(errno);
        }
    }
    return QString();
}

}  // namespace OutputFile
