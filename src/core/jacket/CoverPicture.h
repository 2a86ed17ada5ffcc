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

    // Why bytes are no cover picture.
    enum class Unusable {
        NotAPicture,  // of no format Qt reads here
        TooLarge,     // more than kMostBytes, or too many pixels to decode
        Damaged,      // cut short, or a size its data cannot hold
    };
    // The reason in the run's language, to go in a message.
    static QString reason(Unusable why);

    // A picture Qt can read (JPEG, PNG, WebP, BMP, GIF), no larger than
    // kMostBytes, that decodes whole within Qt's image memory limit:
    // nothing otherwise, and why in `why`.
    static std::optional<CoverPicture> fromBytes(const QByteArray &bytes, Unusable *why = nullptr);

    // The extensions pictures are kept under, one per format, in the
    // order a cover file is looked for.
    static QStringList suffixes();

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
