// SPDX-License-Identifier: GPL-3.0-or-later
#include "core/jacket/CoverPicture.h"

#include "core/jacket/WholePicture.h"

#include <QBuffer>
#include <QCoreApplication>
#include <QImageReader>

#include <algorithm>
#include <cmath>

namespace {

// What Qt's image readers call the formats, and the extension each is kept under.
struct Format
{
    const char *name;
    const char *suffix;
};
constexpr Format kFormats[] = {{"jpeg", "jpg"}, {"png", "png"}, {"webp", "webp"}, {"bmp", "bmp"}, {"gif", "gif"}};

// What decoding a picture may take: Qt's image memory limit.
qint64 decodeLimitBytes()
{
    const int megabytes = QImageReader::allocationLimit();
    return qint64(megabytes > 0 ? megabytes : 256) * 1024 * 1024;
}

}  // namespace

CoverPicture::CoverPicture(QByteArray bytes, QString suffix)
    : m_bytes(std::move(bytes))
    , m_suffix(std::move(suffix))
{
}

QStringList CoverPicture::suffixes()
{
    QStringList all;
    for (const Format &format : kFormats)
        all << QString::fromLatin1(format.suffix);
    return all;
}

QString CoverPicture::reason(Unusable why)
{
    switch (why) {
    case Unusable::NotAPicture:
        return QCoreApplication::translate("CoverPicture", "JPEG、PNG、WebP、BMP、GIF のどの画像でもありません");
    case Unusable::TooLarge:
        return QCoreApplication::translate("CoverPicture", "大きすぎます");
    case Unusable::Damaged:
        return QCoreApplication::translate("CoverPicture", "途中で切れているか、壊れています");
    }
    return QString();
}

std::optional<CoverPicture> CoverPicture::fromBytes(const QByteArray &bytes, Unusable *why)
{
    const auto refuse = [&](Unusable reason) {
        if (why)
            *why = reason;
        return std::nullopt;
    };
    if (bytes.size() > kMostBytes)
        return refuse(Unusable::TooLarge);
    if (bytes.isEmpty())
        return refuse(Unusable::NotAPicture);
    QByteArray data = bytes;
    QBuffer buffer(&data);
    buffer.open(QIODevice::ReadOnly);
    QImageReader reader(&buffer);
    const QByteArray format = reader.format();
    const auto known = std::find_if(std::begin(kFormats), std::end(kFormats), [&](const Format &f) { return format == f.name; });
    if (known == std::end(kFormats))
        return refuse(Unusable::NotAPicture);
    // Whole, as printed: within the decoding limit at its full size, and
    // with the data for every pixel its header promises.
    const QSize stored = reader.size();
    const qint64 limit = decodeLimitBytes();
    if (stored.isEmpty())
        return refuse(Unusable::Damaged);
    if (qint64(stored.width()) * stored.height() * 4 > limit)
        return refuse(Unusable::TooLarge);
    if (!WholePicture::isWhole(bytes, format, limit))
        return refuse(Unusable::Damaged);
    const CoverPicture picture(bytes, QString::fromLatin1(known->suffix));
    // Decoded small, which reads the whole picture without holding a large copy.
    if (picture.covering(QSize(16, 16)).isNull())
        return refuse(Unusable::Damaged);
    return picture;
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
