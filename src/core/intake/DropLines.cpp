// SPDX-License-Identifier: GPL-3.0-or-later
#include "core/intake/DropLines.h"

#include "core/intake/CueSheet.h"
#include "core/intake/PlayMp3.h"
#include "core/intake/PlaylistReader.h"
#include "core/text/TextLines.h"

#include <QFile>
#include <QSet>

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
    return TextLines::withoutControls(name);
}

bool IsAudioFileName(const QString &path)
{
    static const QSet<QString> audio{
        QStringLiteral("mp3"), QStringLiteral("wav"),  QStringLiteral("rmp"),  QStringLiteral("mp2"),
        QStringLiteral("flac"), QStringLiteral("ogg"), QStringLiteral("oga"),  QStringLiteral("opus"),
        QStringLiteral("spx"), QStringLiteral("m4a"),  QStringLiteral("m4b"),  QStringLiteral("mp4"),
        QStringLiteral("wma"), QStringLiteral("asf"),  QStringLiteral("aif"),  QStringLiteral("aiff"),
        QStringLiteral("aifc"), QStringLiteral("ape"), QStringLiteral("wv"),   QStringLiteral("mpc"),
        QStringLiteral("mpp"), QStringLiteral("mp+"),  QStringLiteral("tta"),
    };
    const QString name = fileName(path);
    const qsizetype dot = name.lastIndexOf(u'.');
    return dot >= 0 && audio.contains(name.sliced(dot + 1).toLower());
}

QString TrackLine(const QString &title, std::optional<int32_t> seconds, const QString &artist,
                  const DropLineOptions &options)
{
    QString line = TextLines::withoutControls(title);
    if (options.addTime && seconds)
        line += QStringLiteral("  (") + FormatPlayTime(*seconds) + u')';
    if (options.addArtist)
        line += options.artistPrefix + TextLines::withoutControls(artist);
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
    // The record holds at most 128 Shift-JIS bytes of each; the line gets
    // every character.
    const TagText text = vbmp3_text();
    const bool blank = text.Title.isEmpty() || text.Title.front() == u' ';
    return TrackLine(blank ? NameLine(path, options.stripExtension) : text.Title, info.TotalSeconds, text.Artist,
                     options);
}

ListLineMaker ListLineMakerFor(const DropLineOptions &options)
{
    return {options.readTags,
            options.addTime,
            [options](const QString &path) { return DropLine(path, options); },
            [strip = options.stripExtension](const QString &path) { return NameLine(path, strip); },
            [options](const QString &title, std::optional<int32_t> seconds, const QString &artist) {
                return TrackLine(title, seconds, artist, options);
            },
            IsAudioFileName};
}

QStringList DropLines(const QString &path, const DropLineOptions &options)
{
    if (IsPlaylistFileName(path))
        return PlaylistLines(path, ListLineMakerFor(options));
    if (IsCueSheetFileName(path))
        return CueSheetLines(path, ListLineMakerFor(options));
    return {DropLine(path, options)};
}
