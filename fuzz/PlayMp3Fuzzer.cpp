// SPDX-License-Identifier: GPL-3.0-or-later
// Tag reading on arbitrary bytes: the first input byte picks the file's
// extension (.mp3, .wav or .rmp), the rest is the file, whose content
// decides how it is read (any format TagLib knows). Never crashes or hangs,
// and a successful open fills sane fields.
#include "core/intake/PlayMp3.h"

#include <QByteArray>
#include <QDir>
#include <QFile>
#include <QFileInfo>

#include <unistd.h>

#include <array>
#include <cstdint>
#include <cstdlib>
#include <cstring>

namespace {

struct Scratch
{
    std::array<QByteArray, 3> paths;  // local 8-bit names, as the drop handler passes them

    Scratch()
    {
        // Shared memory when there is some: the file is rewritten millions of times.
        const QString folder = QFileInfo(QStringLiteral("/dev/shm")).isWritable() ? QStringLiteral("/dev/shm")
                                                                                 : QDir::tempPath();
        const QString base = QStringLiteral("%1/pelora-fuzz-playmp3-%2").arg(folder).arg(::getpid());
        const char *extensions[] = {".mp3", ".wav", ".rmp"};
        for (std::size_t i = 0; i < paths.size(); ++i)
            paths[i] = QFile::encodeName(base + QLatin1String(extensions[i]));
        if (!(vbmp3_init() & 0xFF))
            std::abort();
    }
    ~Scratch()
    {
        vbmp3_close();
        vbmp3_free();
        for (const QByteArray &path : paths)
            ::unlink(path.constData());
    }
};

bool writeAll(const QByteArray &path, const uint8_t *data, size_t size)
{
    QFile file(QFile::decodeName(path));
    if (!file.open(QIODevice::WriteOnly | QIODevice::Truncate))
        return false;
    return file.write(reinterpret_cast<const char *>(data), static_cast<qint64>(size)) == static_cast<qint64>(size);
}

// A field is Shift-JIS bytes; when it is shorter than 128 bytes, NULs fill
// the rest, and it never ends in half a double-byte character.
void checkField(const char (&field)[128])
{
    std::size_t length = 0;
    while (length < 128 && field[length] != '\0')
        ++length;
    for (std::size_t i = length; i < 128; ++i) {
        if (field[i] != '\0')
            std::abort();
    }
    for (std::size_t i = 0; i < length; ++i) {
        const auto c = static_cast<unsigned char>(field[i]);
        if ((c >= 0x81 && c <= 0x9F) || (c >= 0xE0 && c <= 0xFC)) {
            if (++i >= length)
                std::abort();
        }
    }
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t *data, size_t size)
{
    static Scratch scratch;
    if (size == 0)
        return 0;
    const QByteArray &path = scratch.paths[data[0] % scratch.paths.size()];
    if (!writeAll(path, data + 1, size - 1))
        std::abort();

    TagInfo info;
    std::memset(&info, 0xA5, sizeof info);
    vbmp3_close();
    const int32_t result = vbmp3_open(path.constData(), &info);
    if (result != 0 && result != 1)
        std::abort();
    if (result == 1) {
        checkField(info.Title);
        checkField(info.Artist);
        if (info.TotalSeconds < 0)
            std::abort();
        const TagText text = vbmp3_text();
        for (const QChar c : text.Title + text.Artist) {
            if (c.unicode() < 0x20)
                std::abort();
        }
    }
    return 0;
}
