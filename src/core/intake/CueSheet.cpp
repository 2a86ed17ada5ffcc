// SPDX-License-Identifier: GPL-3.0-or-later
#include "core/intake/CueSheet.h"

#include "core/intake/PlayMp3.h"
#include "core/files/RegularFile.h"
#include "core/text/TextLines.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>

#include <algorithm>
#include <limits>
#include <map>

namespace {

// A CD holds 99 tracks; the longest real sheets, REM lines and all, stay
// far below this.
constexpr qint64 kMaxCueBytes = qint64(4) << 20;
constexpr int64_t kFramesPerSecond = 75;

// The next word of `rest`, which loses it.
QStringView takeWord(QStringView &rest)
{
    rest = rest.trimmed();
    qsizetype end = 0;
    while (end < rest.size() && !rest[end].isSpace())
        ++end;
    const QStringView word = rest.first(end);
    rest = rest.sliced(end).trimmed();
    return word;
}

// A quoted value runs to the last quote of the line, so that a quote
// inside a title survives; a value left open runs to the end.
QStringView quoted(QStringView rest)
{
    const qsizetype close = rest.lastIndexOf(u'"');
    return (close > 0 ? rest.sliced(1, close - 1) : rest.sliced(1)).trimmed();
}

QStringView textValue(QStringView rest)
{
    rest = rest.trimmed();
    return rest.startsWith(u'"') ? quoted(rest) : rest;
}

// FILE's name, before its type ("WAVE", "MP3", "BINARY").
QStringView fileValue(QStringView rest)
{
    rest = rest.trimmed();
    if (rest.startsWith(u'"'))
        return quoted(rest);
    qsizetype space = rest.size();
    while (space > 0 && !rest[space - 1].isSpace())
        --space;
    return space > 0 ? rest.first(space).trimmed() : rest;
}

// mm:ss:ff; minutes may pass 99 on long files.
std::optional<int64_t> frames(QStringView time)
{
    const qsizetype first = time.indexOf(u':');
    const qsizetype second = first < 0 ? -1 : time.indexOf(u':', first + 1);
    if (second < 0)
        return std::nullopt;
    const auto minutes = ListNumber(time.first(first));
    const auto seconds = ListNumber(time.sliced(first + 1, second - first - 1));
    const auto rest = ListNumber(time.sliced(second + 1));
    if (!minutes || !seconds || !rest)
        return std::nullopt;
    return (*minutes * 60 + *seconds) * kFramesPerSecond + *rest;
}

// The audio file a FILE names: as written; else the same name in the folder
// it points to or beside the sheet (a sheet made on another machine names
// its folders); else the same base name with another audio extension
// there, as converted rips keep the sheet of the original.
class AudioFiles
{
public:
    AudioFiles(QString cueFolder, std::function<bool(const QString &name)> isAudioFileName)
        : m_cueFolder(std::move(cueFolder)), m_isAudioFileName(std::move(isAudioFileName))
    {
    }

    std::optional<QString> find(const QString &written)
    {
        if (const auto path = LocalEntryPath(m_cueFolder, written); path && QFileInfo(*path).isFile())
            return path;
        const QString path = WithForwardSlashes(written);
        const qsizetype slash = path.lastIndexOf(u'/');
        const QString name = path.sliced(slash + 1);
        if (name.isEmpty() || name.contains(QChar(0)))
            return std::nullopt;
        QStringList folders;
        if (slash > 0)
            folders << (path.startsWith(u'/') ? path.first(slash) : m_cueFolder + u'/' + path.first(slash));
        folders << m_cueFolder;
        const qsizetype dot = name.lastIndexOf(u'.');
        const QStringView base = dot > 0 ? QStringView(name).first(dot) : QStringView(name);
        for (const QString &folder : folders) {
            const QString same = folder + u'/' + name;
            if (QFileInfo(same).isFile())
                return same;
            for (const QString &other : listing(folder)) {
                if (other.size() > base.size() && other.startsWith(base) && other[base.size()] == u'.'
                    && other.indexOf(u'.', base.size() + 1) < 0 && m_isAudioFileName(other))
                    return folder + u'/' + other;
            }
        }
        return std::nullopt;
    }

private:
    const QStringList &listing(const QString &folder)
    {
        auto it = m_listings.find(folder);
        if (it == m_listings.end())
            it = m_listings.emplace(folder, QDir(folder).entryList(QDir::Files, QDir::Name)).first;
        return it->second;
    }

    QString m_cueFolder;
    std::function<bool(const QString &name)> m_isAudioFileName;
    std::map<QString, QStringList> m_listings;  // one listing a folder for the whole sheet
};

std::optional<int64_t> playingSeconds(const QString &path)
{
    vbmp3_close();
    TagInfo info{};
    const bool read = (vbmp3_open(QFile::encodeName(path).constData(), &info) & 0xFF) == 1;
    vbmp3_close();
    return read ? std::optional<int64_t>(info.TotalSeconds) : std::nullopt;
}

}  // namespace

bool IsCueSheetFileName(const QString &path)
{
    const QStringView name = QStringView(path).sliced(path.lastIndexOf(u'/') + 1);
    return name.endsWith(u".cue", Qt::CaseInsensitive);
}

CueSheetData ParseCueSheet(QByteArrayView bytes)
{
    CueSheetData sheet;
    const QString text = DecodeListText(bytes);
    TextLines::forEach(text, [&](QStringView line) {
        QStringView rest = line;
        const QStringView command = takeWord(rest);
        CueTrack *track = sheet.tracks.empty() ? nullptr : &sheet.tracks.back();
        const auto is = [&](QStringView name) { return command.compare(name, Qt::CaseInsensitive) == 0; };
        if (is(u"FILE")) {
            sheet.files << CappedListText(fileValue(rest));
        } else if (is(u"TRACK")) {
            takeWord(rest);  // the number: the sheet's order is the order
            const QStringView type = takeWord(rest);
            CueTrack added;
            added.file = sheet.files.size() - 1;
            added.audio = type.isEmpty() || type.compare(u"AUDIO", Qt::CaseInsensitive) == 0;
            sheet.tracks.push_back(std::move(added));
        } else if (is(u"TITLE")) {
            // Before the first track it is the disc's title, which is no line.
            (track ? track->title : sheet.title) = CappedListText(textValue(rest));
        } else if (is(u"CDTEXTFILE")) {
            sheet.cdTextFile = CappedListText(textValue(rest));
        } else if (is(u"PERFORMER")) {
            (track ? track->performer : sheet.performer) = CappedListText(textValue(rest));
        } else if (is(u"INDEX") && track && !track->start) {
            if (ListNumber(takeWord(rest)) == 1) {
                track->start = frames(takeWord(rest));
                // A track whose pause ends one file starts in the next.
                if (track->start)
                    track->file = sheet.files.size() - 1;
            }
        }
    });
    return sheet;
}

std::vector<std::optional<int32_t>> CueTrackSeconds(const CueSheetData &sheet, const CueFileSeconds &fileSeconds)
{
    const std::vector<CueTrack> &tracks = sheet.tracks;
    std::vector<std::optional<int32_t>> seconds(tracks.size());
    for (std::size_t i = 0; i < tracks.size(); ++i) {
        const CueTrack &track = tracks[i];
        if (!track.start)
            continue;
        std::optional<int64_t> end;
        if (i + 1 < tracks.size() && tracks[i + 1].file == track.file) {
            end = tracks[i + 1].start;
        } else if (track.file >= 0 && track.file < sheet.files.size()) {
            if (const auto length = fileSeconds(track.file))
                end = std::clamp<int64_t>(*length, -1, kListNumberClamp) * kFramesPerSecond;
        }
        if (end && *end >= *track.start)
            seconds[i] = int32_t(std::min<int64_t>((*end - *track.start) / kFramesPerSecond,
                                                   std::numeric_limits<int32_t>::max()));
    }
    return seconds;
}

QStringList CueSheetTrackLines(const CueSheetData &sheet, const QString &cuePath, const CueFileSeconds &fileSeconds,
                               const ListLineMaker &lines)
{
    const std::vector<std::optional<int32_t>> seconds =
        lines.addTime ? CueTrackSeconds(sheet, fileSeconds) : std::vector<std::optional<int32_t>>(sheet.tracks.size());
    QStringList trackLines;
    for (std::size_t i = 0; i < sheet.tracks.size(); ++i) {
        const CueTrack &track = sheet.tracks[i];
        if (!track.audio)
            continue;
        const bool hasFile = track.file >= 0 && track.file < sheet.files.size();
        const QString title = !track.title.isEmpty() ? track.title
            : hasFile ? lines.nameLine(WithForwardSlashes(sheet.files[track.file]))
                      : lines.nameLine(cuePath);
        trackLines << lines.trackLine(title, seconds[i], track.performer.isEmpty() ? sheet.performer : track.performer);
    }
    return trackLines;
}

QStringList CueSheetLines(const QString &path, const ListLineMaker &lines)
{
    const auto bytes = readRegularFile(path, kMaxCueBytes);
    if (!bytes)
        return {lines.fileLine(path)};
    const CueSheetData sheet = ParseCueSheet(*bytes);
    AudioFiles audioFiles(QFileInfo(path).absolutePath(), lines.isAudioFileName);
    const QStringList trackLines = CueSheetTrackLines(sheet, path, [&](qsizetype file) -> std::optional<int64_t> {
        const auto audio = audioFiles.find(sheet.files[file]);
        return audio ? playingSeconds(*audio) : std::nullopt;
    }, lines);
    return trackLines.isEmpty() ? QStringList{lines.fileLine(path)} : trackLines;
}
