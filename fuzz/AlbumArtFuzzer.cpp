// SPDX-License-Identifier: GPL-3.0-or-later
// Album art on arbitrary bytes: the input is the file, whose content decides
// how it is read (any format TagLib knows, WAV and RMP). Never crashes or
// hangs, and the pictures found are neither empty nor over the limits.
#include "core/intake/AlbumArt.h"
#include "core/intake/PlayMp3.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>

// After Qt's headers, which use the word too.
#include "FuzzCheck.h"

#include <unistd.h>

#include <cstdint>

namespace {

struct Scratch
{
    QString path;

    Scratch()
    {
        // Shared memory when there is some: the file is rewritten millions of times.
        const QString folder = QFileInfo(QStringLiteral("/dev/shm")).isWritable() ? QStringLiteral("/dev/shm")
                                                                                 : QDir::tempPath();
        path = QStringLiteral("%1/pelora-fuzz-albumart-%2.mp3").arg(folder).arg(::getpid());
        // As in the program, the tag component's text decoders read the
        // pictures' descriptions.
        check(vbmp3_init() == 1);
    }
    ~Scratch()
    {
        vbmp3_free();
        QFile::remove(path);
    }
};

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t *data, size_t size)
{
    static const Scratch scratch;
    QFile file(scratch.path);
    check(file.open(QIODevice::WriteOnly | QIODevice::Truncate));
    check(file.write(reinterpret_cast<const char *>(data), static_cast<qint64>(size)) == static_cast<qint64>(size));
    file.close();

    const QList<AlbumArt> pictures = AlbumArtOf(scratch.path);
    check(pictures.size() <= kMostAlbumArtPictures);
    for (const AlbumArt &art : pictures)
        check(!art.bytes.isEmpty() && art.bytes.size() <= kMostAlbumArtBytes);
    return 0;
}
