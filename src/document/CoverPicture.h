// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QByteArray>
#include <QImage>
#include <QSize>
#include <QString>
#include <QStringList>

#include <optional>

// The jacket's cover picture: the image file's bytes as they are (saved
// again without re-encoding), and the extension its format is kept under.
class CoverPicture
{
public:
    // No picture file is worth more than this.
    static constexpr qint64 kMostBytes = 64 * 1024 * 1024;

    CoverPicture() = default;

    // A picture Qt can read (JPEG, PNG, WebP, BMP, GIF), no larger than
    // kMostBytes, that decodes whole within Qt's image memory limit:
    // nothing otherwise (cut short, or a size its data cannot hold).
    static std::optional<CoverPicture> fromBytes(const QByteArray &bytes);

    bool isNull() const { return m_bytes.isEmpty(); }
    const QByteArray &bytes() const { return m_bytes; }
    const QString &suffix() const { return m_suffix; }
    bool operator==(const CoverPicture &other) const { return m_bytes == other.m_bytes; }

    // The picture made to cover `size`: scaled smoothly, centred and
    // cropped, never distorted, decoded from the original at that size.
    // Null when it cannot be decoded within Qt's image memory limit.
    QImage covering(QSize size) const;

private:
    CoverPicture(QByteArray bytes, QString suffix);

    QByteArray m_bytes;
    QString m_suffix;
};

// The picture of a jacket document lives beside it in a file only Pelora
// writes: the document's whole name and the picture's own extension
// (曲目.plr, 曲目.plr.jpg), as photo tools name their sidecars. A file of
// the document's plain base name (曲目.jpg) is the user's and never touched.
namespace CoverFile {

QString pathFor(const QString &documentPath, const QString &suffix);

// The document's picture files that are there, in the order they are looked for.
QStringList existing(const QString &documentPath);

struct Found
{
    std::optional<CoverPicture> picture;
    QString unreadable;  // a picture file that is there but no usable picture
};
// The first picture file beside the document.
Found find(const QString &documentPath);

// Writes the picture beside the document, replacing a file of that name
// only when complete; false when it cannot be written.
bool write(const QString &documentPath, const CoverPicture &picture);

}  // namespace CoverFile
