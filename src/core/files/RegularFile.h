// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QByteArray>
#include <QString>

#include <optional>

// A read-only descriptor on a regular file, opened without waiting (a FIFO
// or device is refused, even if it replaced the file a moment before), and
// its size; -1 for anything else. The caller closes it.
int openRegularFile(const QString &path, qint64 *size = nullptr);

// The bytes of a regular file of at most `limit` bytes; nothing for anything
// else (a folder, a FIFO, a device, a file that cannot be read). A FIFO is
// refused without waiting for a writer.
std::optional<QByteArray> readRegularFile(const QString &path, qint64 limit);

// Why readRegularFile() gave nothing for `path`, in the user's words: it
// does not exist, is a folder, is not a regular file, is over `limit`
// bytes, or cannot be read.
QString whyNotRead(const QString &path, qint64 limit);
