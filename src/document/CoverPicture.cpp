#include "CoverPicture.h"

#include "common/RegularFile.h"

#include <QBuffer>
#include <QDir>
#include <QFileInfo>
#include <QImageReader>
#include <QSaveFile>

#include <cmath>

namespace {

// What Qt's image readers call the formats, and the extension each is kept under.
struct Format
{
    const char *name;
    const char *suffix;
};
constexpr Format kFormats[] = {{"jpeg", "jpg"}, {"png", "png"}, {"webp", "webp"}, {"bmp", "bmp"}, {"gif", "gif"}};

}  // namespace

CoverPicture::CoverPicture(QByteArray bytes, QString suffix)
    : m_bytes(std::move(bytes))
    , m_suffix(std::move(suffix))
{
}

const QStringList &CoverPicture::suffixes()
{
    static const QStringList all{QStringLiteral("jpg"), QStringLiteral("jpeg"), QStringLiteral("png"), QStringLiteral("webp"),
                                 QStringLiteral("bmp"), QStringLiteral("gif")};
    return all;
}

std::optional<CoverPicture> CoverPicture::fromBytes(const QByteArray &bytes)
{
    if (bytes.isEmpty() || bytes.size() > kMostBytes)
        return std::nullopt;
    QByteArray data = bytes;
    QBuffer buffer(&data);
    buffer.open(QIODevice::ReadOnly);
    QImageReader reader(&buffer);
    const QByteArray format = reader.format();
    for (const Format &known : kFormats) {
        if (format != known.name)
            continue;
        const CoverPicture picture(bytes, QString::fromLatin1(known.suffix));
        // Decoded small, which reads the whole picture (a cut-off or broken
        // file fails here) without holding a large copy.
        if (picture.covering(QSize(16, 16)).isNull())
            return std::nullopt;
        return picture;
    }
    return std::nullopt;
}

QImage CoverPicture::covering(QSize size) const
{
    if (isNull() || size.isEmpty())
        return {};
    QByteArray data = m_bytes;
    QBuffer buffer(&data);
    buffer.open(QIODevice::ReadOnly);
    QImageReader reader(&buffer);
    reader.setAutoTransform(true);
    QSize stored = reader.size();
    if (stored.isEmpty())
        return {};
    // Cropping and scaling apply to the picture as stored, before it is turned upright.
    const bool turned = reader.transformation().testFlag(QImageIOHandler::TransformationRotate90);
    const QSize wanted = turned ? size.transposed() : size;
    const double scale = std::max(double(wanted.width()) / stored.width(), double(wanted.height()) / stored.height());
    const QSize used(std::min(stored.width(), int(std::lround(wanted.width() / scale))),
                     std::min(stored.height(), int(std::lround(wanted.height() / scale))));
    reader.setClipRect(QRect(QPoint((stored.width() - used.width()) / 2, (stored.height() - used.height()) / 2), used));
    reader.setScaledSize(wanted);
    QImage image = reader.read();
    if (image.isNull())
        return {};
    return image.size() == size ? image : image.scaled(size, Qt::IgnoreAspectRatio, Qt::SmoothTransformation);
}

namespace CoverFile {

QString pathFor(const QString &documentPath, const QString &suffix)
{
    const QFileInfo document(documentPath);
    return document.dir().filePath(document.completeBaseName() + u'.' + suffix);
}

QStringList existing(const QString &documentPath)
{
    const QFileInfo document(documentPath);
    const QDir dir = document.dir();
    const QString base = document.completeBaseName();
    // Files made by other programs may use capitals (曲目.JPG).
    const QStringList names = dir.entryList(QDir::Files | QDir::Hidden, QDir::Name);
    QStringList found;
    for (const QString &suffix : CoverPicture::suffixes()) {
        for (const QString &name : names) {
            if (name.compare(base + u'.' + suffix, Qt::CaseInsensitive) == 0)
                found << dir.filePath(name);
        }
    }
    return found;
}

Found find(const QString &documentPath)
{
    const QStringList files = existing(documentPath);
    if (files.isEmpty())
        return {};
    const std::optional<QByteArray> bytes = readRegularFile(files.first(), CoverPicture::kMostBytes);
    std::optional<CoverPicture> picture = bytes ? CoverPicture::fromBytes(*bytes) : std::nullopt;
    if (!picture)
        return Found{std::nullopt, files.first()};
    return Found{std::move(picture), QString()};
}

bool write(const QString &documentPath, const CoverPicture &picture)
{
    const QString path = pathFor(documentPath, picture.suffix());
    QSaveFile file(path);
    return !QFileInfo(path).isDir() && file.open(QIODevice::WriteOnly)
        && file.write(picture.bytes()) == picture.bytes().size() && file.flush() && file.commit();
}

}  // namespace CoverFile
