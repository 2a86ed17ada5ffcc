#include "DropLines.h"

#include "PlayMp3.h"
#include "common/TextCodec.h"

#include <QFile>

#include <cstring>

namespace {

QString twoDigitsAtLeast(qint64 value)
{
    return value < 10 ? QStringLiteral("0") + QString::number(value) : QString::number(value);
}

QString fileName(const QString &path)
{
    // A folder may come with a final "/": its name is the part before it.
    QStringView trimmed(path);
    while (trimmed.size() > 1 && trimmed.endsWith(u'/'))
        trimmed.chop(1);
    return trimmed.sliced(trimmed.lastIndexOf(u'/') + 1).toString();
}

// A text field of the tag record: up to its first NUL, or all 128 bytes.
QString fieldText(const char (&field)[128])
{
    const void *nul = std::memchr(field, '\0', sizeof field);
    const qsizetype length = nul ? static_cast<const char *>(nul) - field : qsizetype(sizeof field);
    return Cp932::decode(QByteArrayView(field, length));
}

}  // namespace

QString FormatPlayTime(int32_t seconds)
{
    if (seconds < 0)
        return QStringLiteral("00:00");
    return twoDigitsAtLeast(seconds / 60) + u':' + twoDigitsAtLeast(seconds % 60);
}

QString NameLine(const QString &path, bool stripExtension)
{
    QString name = fileName(path);
    if (stripExtension) {
        const qsizetype dot = name.lastIndexOf(u'.');
        if (dot >= 0)
            name.truncate(dot);
    }
    return name;
}

bool IsAudioFileName(const QString &path)
{
    const QString name = fileName(path);
    const qsizetype dot = name.lastIndexOf(u'.');
    if (dot < 0)
        return false;
    const QStringView extension = QStringView(name).sliced(dot);
    return extension == u".mp3" || extension == u".wav" || extension == u".rmp";
}

QString TagLine(const QString &path, const TagInfo &info, const DropLineOptions &options)
{
    QString line = (info.Title[0] == '\0' || info.Title[0] == ' ') ? NameLine(path, options.stripExtension) : fieldText(info.Title);
    if (options.addTime)
        line += QStringLiteral("  (") + FormatPlayTime(info.TotalSeconds) + u')';
    if (options.addArtist)
        line += options.artistPrefix + fieldText(info.Artist);
    return line;
}

QString DropLine(const QString &path, const DropLineOptions &options)
{
    if (!options.readTags || !IsAudioFileName(path))
        return NameLine(path, options.stripExtension);
    vbmp3_close();
    TagInfo info{};
    if ((vbmp3_open(QFile::encodeName(path).constData(), &info) & 0xFF) != 1)
        return NameLine(path, options.stripExtension);
    return TagLine(path, info, options);
}
