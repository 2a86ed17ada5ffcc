#pragma once

#include <QByteArray>
#include <QString>

#include <optional>

// The bytes of a regular file of at most `limit` bytes; nothing for anything
// else (a folder, a FIFO, a device, a file that cannot be read). A FIFO is
// refused without waiting for a writer.
std::optional<QByteArray> readRegularFile(const QString &path, qint64 limit);
