// SPDX-License-Identifier: GPL-3.0-or-later
#include "core/intake/PlaylistReader.h"

#include "core/intake/CueSheet.h"
#include "core/files/RegularFile.h"
#include "core/text/TextLines.h"

#include <QFileInfo>
#include <QUrl>

#include <algorithm>
#include <limits>
#include <map>
#include <utility>

namespace {

constexpr qint64 kMaxPlaylistBytes = qint64(64) << 20;
constexpr std::size_t kMaxEntries = 1'000'000;

QString extensionOf(const QString &path)
{
    const QStringView name = QStringView(path).sliced(path.lastIndexOf(u'/') + 1);
    const qsizetype dot = name.lastIndexOf(u'.');
    return dot < 0 ? QString() : name.sliced(dot + 1).toString().toLower();
}

// The digits at the start of `text`, after an optional sign, clamped;
// nothing when there is no digit. "215.6" is 215.
std::optional<int64_t> leadingNumber(QStringView text)
{
    text = text.trimmed();
    const bool negative = text.startsWith(u'-');
    if (negative || text.startsWith(u'+'))
        text = text.sliced(1);
    const auto digits = std::find_if_not(text.begin(), text.end(), IsAsciiDigit);
    const std::optional<int64_t> value = ListNumber(text.first(digits - text.begin()));
    return negative && value ? std::optional<int64_t>(-*value) : value;
}

std::optional<int32_t> knownSeconds(std::optional<int64_t> value)
{
    if (!value || *value < 0)
        return std::nullopt;
    return int32_t(std::min<int64_t>(*value, std::numeric_limits<int32_t>::max()));
}

// "Artist - Title", as players write it, or only a title.
void setTitle(PlaylistEntry &entry, QStringView text)
{
    text = text.trimmed();
    const qsizetype dash = text.indexOf(u" - ");
    if (dash > 0) {
        const QStringView artist = text.first(dash).trimmed();
        const QStringView title = text.sliced(dash + 3).trimmed();
        if (!artist.isEmpty() && !title.isEmpty()) {
            entry.artist = CappedListText(artist);
            entry.title = CappedListText(title);
            return;
        }
    }
    entry.title = CappedListText(text);
}

// "#EXTINF:" is already gone: "<seconds>[ attributes],<text>". Attribute
// values (IPTV lists) are quoted and may hold commas.
PlaylistEntry extinf(QStringView rest)
{
    qsizetype comma = -1;
    bool quoted = false;
    for (qsizetype i = 0; i < rest.size() && comma < 0; ++i) {
        if (rest[i] == u'"')
            quoted = !quoted;
        else if (rest[i] == u',' && !quoted)
            comma = i;
    }
    if (comma < 0)
        comma = rest.indexOf(u',');
    PlaylistEntry entry;
    entry.seconds = knownSeconds(leadingNumber(comma < 0 ? rest : rest.first(comma)));
    if (comma >= 0)
        setTitle(entry, rest.sliced(comma + 1));
    return entry;
}

std::vector<PlaylistEntry> parseM3u(QStringView text)
{
    std::vector<PlaylistEntry> entries;
    PlaylistEntry pending;
    TextLines::forEach(text, [&](QStringView line) {
        line = line.trimmed();
        if (line.isEmpty())
            return;
        if (line.startsWith(u'#')) {
            if (line.startsWith(u"#EXTINF:", Qt::CaseInsensitive))
                pending = extinf(line.sliced(8));
            return;
        }
        if (entries.size() == kMaxEntries)
            return;
        pending.location = CappedListText(line);
        entries.push_back(std::move(pending));
        pending = {};
    });
    return entries;
}

// "File12" → 12 for the prefix "file", in any letter case.
std::optional<int64_t> plsIndex(QStringView key, QStringView prefix)
{
    if (!key.startsWith(prefix, Qt::CaseInsensitive))
        return std::nullopt;
    return ListNumber(key.sliced(prefix.size()));
}

std::vector<PlaylistEntry> parsePls(QStringView text)
{
    enum class Field { File, Title, Length };
    struct Numbered
    {
        QString file;
        QStringView title;
        std::optional<int64_t> length;
    };
    // Each "[...]" header starts a block, so that two lists pasted into one
    // file keep both; within a block the numbers decide and the last
    // duplicate wins, as in any INI file.
    std::map<std::pair<int, int64_t>, Numbered> numbered;
    int block = 0;
    TextLines::forEach(text, [&](QStringView line) {
        line = line.trimmed();
        if (line.isEmpty() || line.startsWith(u';'))
            return;
        if (line.startsWith(u'[')) {
            ++block;
            return;
        }
        const qsizetype equals = line.indexOf(u'=');
        if (equals <= 0)
            return;
        const QStringView key = line.first(equals).trimmed();
        const QStringView value = line.sliced(equals + 1).trimmed();
        Field field = Field::File;
        std::optional<int64_t> n = plsIndex(key, u"file");
        if (!n && (n = plsIndex(key, u"title")))
            field = Field::Title;
        else if (!n && (n = plsIndex(key, u"length")))
            field = Field::Length;
        if (!n || (numbered.size() == kMaxEntries && !numbered.contains({block, *n})))
            return;
        Numbered &entry = numbered[{block, *n}];
        switch (field) {
        case Field::File: entry.file = CappedListText(value); break;
        case Field::Title: entry.title = value; break;
        case Field::Length: entry.length = leadingNumber(value); break;
        }
    });
    std::vector<PlaylistEntry> entries;
    entries.reserve(numbered.size());
    for (const auto &[at, found] : numbered) {
        if (found.file.isEmpty())
            continue;
        PlaylistEntry entry;
        entry.location = found.file;
        setTitle(entry, found.title);
        entry.seconds = knownSeconds(found.length);
        entries.push_back(std::move(entry));
    }
    return entries;
}

// What the entry is called: a URL's last path segment, percent-decoded (or
// its host), else the path with "\" as a separator.
QString entryName(const QString &location, bool *isHost = nullptr)
{
    if (!UrlSchemeOf(location).isEmpty()) {
        const QUrl url(location);
        const QStringList segments = url.path(QUrl::FullyDecoded).split(u'/', Qt::SkipEmptyParts);
        if (!segments.isEmpty())
            return segments.last();
        if (!url.host().isEmpty()) {
            if (isHost)
                *isHost = true;
            return url.host();
        }
        return location;
    }
    return WithForwardSlashes(location);
}

QString entryNameLine(const QString &location, const ListLineMaker &lines)
{
    bool isHost = false;
    const QString name = entryName(location, &isHost);
    // A bare host keeps its dots: "radio.example.org" has no extension.
    return isHost ? TextLines::withoutControls(name) : lines.nameLine(name);
}

}  // namespace

std::optional<PlaylistFormat> PlaylistFormatOf(const QString &path)
{
    const QString extension = extensionOf(path);
    if (extension == u"m3u")
        return PlaylistFormat::M3u;
    if (extension == u"m3u8")
        return PlaylistFormat::M3u8;
    if (extension == u"pls")
        return PlaylistFormat::Pls;
    return std::nullopt;
}

bool IsPlaylistFileName(const QString &path) { return PlaylistFormatOf(path).has_value(); }

std::vector<PlaylistEntry> ParsePlaylist(QByteArrayView bytes, PlaylistFormat format)
{
    switch (format) {
    case PlaylistFormat::M3u8:
        return parseM3u(QString::fromUtf8(bytes.startsWith("\xEF\xBB\xBF") ? bytes.sliced(3) : bytes));
    case PlaylistFormat::M3u:
        return parseM3u(DecodeListText(bytes));
    case PlaylistFormat::Pls:
        return parsePls(DecodeListText(bytes));
    }
    return {};
}

QString UnresolvedEntryLine(const PlaylistEntry &entry, const ListLineMaker &lines)
{
    if (lines.readTags && !entry.title.isEmpty())
        return lines.trackLine(entry.title, entry.seconds, entry.artist);
    return entryNameLine(entry.location, lines);
}

QString PlaylistEntryLine(const PlaylistEntry &entry, const QString &folder, const ListLineMaker &lines)
{
    // No nesting: a list inside a list, itself included, is only a name.
    const QString name = entryName(entry.location);
    if (IsPlaylistFileName(name) || IsCueSheetFileName(name))
        return entryNameLine(entry.location, lines);
    if (const auto path = LocalEntryPath(folder, entry.location))
        return lines.fileLine(*path);
    return UnresolvedEntryLine(entry, lines);
}

QStringList PlaylistLines(const QString &path, const ListLineMaker &lines)
{
    const auto format = PlaylistFormatOf(path);
    const auto bytes = format ? readRegularFile(path, kMaxPlaylistBytes) : std::nullopt;
    const std::vector<PlaylistEntry> entries = bytes ? ParsePlaylist(*bytes, *format) : std::vector<PlaylistEntry>();
    if (entries.empty())
        return {lines.fileLine(path)};
    const QString folder = QFileInfo(path).absolutePath();
    QStringList entryLines;
    entryLines.reserve(qsizetype(entries.size()));
    for (const PlaylistEntry &entry : entries)
        entryLines << PlaylistEntryLine(entry, folder, lines);
    return entryLines;
}
