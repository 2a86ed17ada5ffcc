#include "PlaylistReader.h"

#include "CueSheet.h"
#include "common/RegularFile.h"
#include "common/TextDetect.h"
#include "common/TextLines.h"

#include <QFile>
#include <QFileInfo>
#include <QStringDecoder>
#include <QUrl>

#include <algorithm>
#include <limits>
#include <map>
#include <utility>

namespace {

constexpr qint64 kMaxPlaylistBytes = qint64(64) << 20;
constexpr std::size_t kMaxEntries = 1'000'000;
constexpr qsizetype kMaxTextLength = 4096;
// Numbers are clamped here, far below overflow even after "* 10 + 9".
constexpr int64_t kNumberClamp = 1'000'000'000'000'000;

QString extensionOf(const QString &path)
{
    const QStringView name = QStringView(path).sliced(path.lastIndexOf(u'/') + 1);
    const qsizetype dot = name.lastIndexOf(u'.');
    return dot < 0 ? QString() : name.sliced(dot + 1).toString().toLower();
}

bool isAsciiLetter(QChar c) { return (c >= u'a' && c <= u'z') || (c >= u'A' && c <= u'Z'); }
bool isDigit(QChar c) { return c >= u'0' && c <= u'9'; }

// The digits at the start of `text`, after an optional sign, clamped;
// nothing when there is no digit. "215.6" is 215.
std::optional<int64_t> leadingNumber(QStringView text)
{
    text = text.trimmed();
    const bool negative = text.startsWith(u'-');
    if (negative || text.startsWith(u'+'))
        text = text.sliced(1);
    int64_t value = 0;
    qsizetype digits = 0;
    while (digits < text.size() && isDigit(text[digits])) {
        value = std::min(value * 10 + (text[digits].unicode() - u'0'), kNumberClamp);
        ++digits;
    }
    if (digits == 0)
        return std::nullopt;
    return negative ? -value : value;
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
    if (key.size() <= prefix.size() || !key.startsWith(prefix, Qt::CaseInsensitive))
        return std::nullopt;
    const QStringView digits = key.sliced(prefix.size());
    if (!std::all_of(digits.begin(), digits.end(), isDigit))
        return std::nullopt;
    return leadingNumber(digits);
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

// The scheme of a URL, in lower case; empty for a path. A drive letter
// ("C:\") is no scheme, nor is a colon in a file name ("a:b.mp3"): URLs
// other than file: come with "//".
QString urlScheme(QStringView location)
{
    qsizetype end = 0;
    while (end < location.size()
           && (isAsciiLetter(location[end]) || (end > 0 && (isDigit(location[end]) || location[end] == u'+'
                                                            || location[end] == u'-' || location[end] == u'.'))))
        ++end;
    if (end < 2 || end >= location.size() || location[end] != u':')
        return {};
    const QString scheme = location.first(end).toString().toLower();
    if (scheme == u"file" || location.sliced(end + 1).startsWith(u"//"))
        return scheme;
    return {};
}

// The local path of a file: URL of this machine.
std::optional<QString> fileUrlPath(const QString &location)
{
    const QUrl url(location);
    if (!url.isValid() || !url.isLocalFile())
        return std::nullopt;
    const QString host = url.host();
    if (!host.isEmpty() && host.compare(u"localhost", Qt::CaseInsensitive) != 0)
        return std::nullopt;
    const QString path = url.path(QUrl::FullyDecoded);
    return path.isEmpty() ? std::nullopt : std::optional<QString>(path);
}

std::optional<QString> existing(const QString &folder, const QString &path)
{
    if (path.isEmpty() || path.contains(QChar(0)))
        return std::nullopt;
    // Never a path that starts with ":", which Qt would look up in its resources.
    QString full = path.startsWith(u'/') ? path : folder + u'/' + path;
    if (!QFileInfo::exists(full))
        return std::nullopt;
    return full;
}

// What the entry is called: a URL's last path segment, percent-decoded (or
// its host), else the path with "\" as a separator.
QString entryName(const QString &location, bool *isHost = nullptr)
{
    if (!urlScheme(location).isEmpty()) {
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
    return QString(location).replace(u'\\', u'/');
}

QString entryNameLine(const QString &location, bool stripExtension)
{
    bool isHost = false;
    const QString name = entryName(location, &isHost);
    // A bare host keeps its dots: "radio.example.org" has no extension.
    return NameLine(name, stripExtension && !isHost);
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

QString UnresolvedEntryLine(const PlaylistEntry &entry, const DropLineOptions &options)
{
    if (options.readTags && !entry.title.isEmpty())
        return TrackLine(entry.title, entry.seconds, entry.artist, options);
    return entryNameLine(entry.location, options.stripExtension);
}

QString PlaylistEntryLine(const PlaylistEntry &entry, const QString &folder, const DropLineOptions &options)
{
    // No nesting: a list inside a list, itself included, is only a name.
    const QString name = entryName(entry.location);
    if (IsPlaylistFileName(name) || IsCueSheetFileName(name))
        return entryNameLine(entry.location, options.stripExtension);
    if (const auto path = LocalEntryPath(folder, entry.location))
        return DropLine(*path, options);
    return UnresolvedEntryLine(entry, options);
}

QStringList PlaylistLines(const QString &path, const DropLineOptions &options)
{
    const auto format = PlaylistFormatOf(path);
    const auto bytes = format ? readRegularFile(path, kMaxPlaylistBytes) : std::nullopt;
    const std::vector<PlaylistEntry> entries = bytes ? ParsePlaylist(*bytes, *format) : std::vector<PlaylistEntry>();
    if (entries.empty())
        return {DropLine(path, options)};
    const QString folder = QFileInfo(path).absolutePath();
    QStringList lines;
    lines.reserve(qsizetype(entries.size()));
    for (const PlaylistEntry &entry : entries)
        lines << PlaylistEntryLine(entry, folder, options);
    return lines;
}

std::optional<QString> LocalEntryPath(const QString &folder, const QString &written)
{
    const QString scheme = urlScheme(written);
    if (scheme == u"file") {
        const auto path = fileUrlPath(written);
        return path ? existing(folder, *path) : std::nullopt;
    }
    if (!scheme.isEmpty())
        return std::nullopt;
    if (auto path = existing(folder, written))
        return path;
    if (written.contains(u'\\'))
        return existing(folder, QString(written).replace(u'\\', u'/'));
    return std::nullopt;
}

QString DecodeListText(QByteArrayView bytes)
{
    // Notepad's "Unicode" is UTF-16 with its mark; the UTF-8 mark is TextDetect's.
    const auto encoding = QStringConverter::encodingForData(bytes);
    if (encoding && *encoding != QStringConverter::Utf8) {
        QStringDecoder decoder(*encoding);
        return decoder.decode(bytes);
    }
    return TextDetect::decode(bytes);
}

QString CappedListText(QStringView text)
{
    if (text.size() <= kMaxTextLength)
        return text.toString();
    qsizetype length = kMaxTextLength;
    if (text[length - 1].isHighSurrogate())
        --length;
    return text.first(length).toString();
}
