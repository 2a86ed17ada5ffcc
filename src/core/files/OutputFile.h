// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QByteArray>
#include <QString>

#include <functional>

// Puts the finished bytes of a file where a command was told to write them.
//
// A regular file, or a name that does not exist yet, is replaced only once
// every byte is written (OwnedFiles::writeUsers), so that a failure keeps the old file.
// Anything else that is there already (a FIFO, a terminal, /dev/null, this
// process's own descriptors as /dev/stdout or /dev/fd/N name them) is
// written into as it is: replacing it would take the pipe or the device
// away from whoever else uses it, and a descriptor keeps its position and
// its append mode.
namespace OutputFile {

// Why the bytes were not written; empty when they were. `waitingForReader`
// is called before the wait for a FIFO that nobody reads yet.
QString write(const QString &path, const QByteArray &bytes, const std::function<void()> &waitingForReader = {});

// Into a descriptor this process has open, such as standard output.
QString writeInto(int descriptor, const QByteArray &bytes);

}  // namespace OutputFile
