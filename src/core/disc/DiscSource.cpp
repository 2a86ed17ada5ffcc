// SPDX-License-Identifier: GPL-3.0-or-later
#include "core/disc/DiscSource.h"

#include "core/files/RegularFile.h"
#include "core/intake/CueSheet.h"
#include "core/intake/ListText.h"
#include "core/text/TextLines.h"

#include <QCoreApplication>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QTemporaryDir>
#include <QTemporaryFile>

#include <cdio/cdio.h>
#include <cdio/logging.h>
#include <cdio/memory.h>

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>
#ifdef __linux__
#include <linux/cdrom.h>
#include <sys/ioctl.h>
#endif

#include <cerrno>
#include <memory>
#include <mutex>

namespace {

// A cue sheet is text of a few kilobytes; CD-TEXT at most 8 blocks of 256
// packs of 18 bytes.
constexpr qint64 kMostCueBytes = qint64(4) << 20;
constexpr qint64 kMostCdTextBytes = qint64(1) << 20;

using Cdio = std::unique_ptr<CdIo_t, decltype(&cdio_destroy)>;

// libcdio writes its warnings to standard error; the reasons here say it
// in the user's words instead.
void quietLibcdio()
{
    static std::once_flag once;
    std::call_once(once, [] { cdio_log_set_handler([](cdio_log_level_t, const char *) {}); });
}

std::nullopt_t refuse(DiscUnreadable reason, DiscUnreadable *why)
{
    if (why)
        *why = reason;
    return std::nullopt;
}

bool isDevice(const QString &path)
{
    struct stat info {};
    if (::stat(QFile::encodeName(path).constData(), &info) == 0)
        return S_ISBLK(info.st_mode) || S_ISCHR(info.st_mode);
    return path.startsWith(u"/dev/");
}

// What the drive says before libcdio touches it: an open tray or an empty
// one is told apart from a drive in another program's hands.
std::optional<DiscUnreadable> driveState(const QString &device)
{
    const int fd = ::open(QFile::encodeName(device).constData(), O_RDONLY | O_NONBLOCK | O_CLOEXEC);
    if (fd < 0) {
        if (errno == EBUSY)
            return DiscUnreadable::DriveBusy;
        return errno == ENOMEDIUM ? DiscUnreadable::NoDisc : DiscUnreadable::DriveUnreadable;
    }
#ifdef __linux__
    const int status = ::ioctl(fd, CDROM_DRIVE_STATUS, CDSL_CURRENT);
    ::close(fd);
    switch (status) {
    case CDS_NO_DISC:
    case CDS_TRAY_OPEN:
        return DiscUnreadable::NoDisc;
    case CDS_DRIVE_NOT_READY:
        return DiscUnreadable::DriveBusy;
    case CDS_DISC_OK:
    case CDS_NO_INFO:
        return std::nullopt;
    default:
        return DiscUnreadable::DriveUnreadable;  // no optical drive: the ioctl fails
    }
#else
    ::close(fd);
    return std::nullopt;
#endif
}

std::optional<DiscToc> tocOf(CdIo_t *cdio)
{
    const track_t first = cdio_get_first_track_num(cdio);
    const track_t last = cdio_get_last_track_num(cdio);
    if (first == CDIO_INVALID_TRACK || last == CDIO_INVALID_TRACK || last < first)
        return std::nullopt;
    DiscToc toc;
    for (track_t number = first; number <= last; ++number) {
        const lsn_t start = cdio_get_track_lsn(cdio, number);
        if (start == CDIO_INVALID_LSN)
            return std::nullopt;
        toc.tracks.push_back({number, start, cdio_get_track_format(cdio, number) == TRACK_FORMAT_AUDIO});
    }
    toc.leadOut = cdio_get_track_lsn(cdio, CDIO_CDROM_LEADOUT_TRACK);
    if (toc.leadOut == CDIO_INVALID_LSN || !toc.isValid())
        return std::nullopt;
    return toc;
}

// The packs as a drive returns them: a 4-byte header whose first two bytes
// count what follows them.
QByteArray rawCdText(CdIo_t *cdio)
{
    uint8_t *raw = cdio_get_cdtext_raw(cdio);
    if (!raw)
        return {};
    const int length = (raw[0] << 8 | raw[1]) + 2;
    QByteArray bytes(reinterpret_cast<const char *>(raw), length);
    cdio_free(raw);
    return bytes;
}

void takeCdText(DiscContents &contents, QByteArrayView bytes)
{
    CdTextUnreadable problem{};
    contents.cdText = ReadCdText(bytes, &problem);
    if (!contents.cdText)
        contents.cdTextProblem = problem;
}

// The cue sheet libcdio is given, in a folder of its own beside a link to
// the data file: libcdio's reader takes the data from NAME.bin beside
// NAME.cue whatever FILE says, refuses a whole image for a CDTEXTFILE it
// cannot read, and decodes texts by its own rules (they are read here).
// Only what lays out the tracks is kept.
struct CueCopy
{
    QTemporaryDir folder;
    QString sheet;
};

std::unique_ptr<CueCopy> cueCopy(QByteArrayView bytes, const CueSheetData &sheet, const QString &cueFolder)
{
    // One data file: an image, not a rip of a file a track.
    if (sheet.files.size() != 1)
        return nullptr;
    const auto data = LocalEntryPath(cueFolder, sheet.files.front());
    if (!data || !QFileInfo(*data).isFile())
        return nullptr;
    QByteArray layout = "FILE \"disc.bin\" BINARY\n";
    TextLines::forEach(DecodeListText(bytes), [&](QStringView line) {
        line = line.trimmed();
        const qsizetype space = line.indexOf(u' ');
        const QStringView command = space < 0 ? line : line.first(space);
        for (const QStringView kept : {u"TRACK", u"INDEX", u"PREGAP", u"POSTGAP", u"FLAGS"}) {
            if (command.compare(kept, Qt::CaseInsensitive) == 0)
                layout += line.toLatin1() + '\n';
        }
    });
    auto copy = std::make_unique<CueCopy>();
    copy->sheet = copy->folder.filePath(QStringLiteral("disc.cue"));
    QFile file(copy->sheet);
    if (!copy->folder.isValid() || !QFile::link(QFileInfo(*data).absoluteFilePath(), copy->folder.filePath(QStringLiteral("disc.bin")))
        || !file.open(QIODevice::WriteOnly) || file.write(layout) != layout.size() || !file.flush())
        return nullptr;
    return copy;
}

// A line of a cdrdao TOC file that names a data file: FILE, AUDIOFILE or
// DATAFILE, the name as written, and what follows it.
struct TocFileLine
{
    QByteArray command;
    QString name;
    QByteArray rest;
};

std::optional<TocFileLine> tocFileLine(const QByteArray &line)
{
    const QByteArray trimmed = line.trimmed();
    const qsizetype open = trimmed.indexOf('"');
    const qsizetype close = open < 0 ? -1 : trimmed.indexOf('"', open + 1);
    const QByteArray command = trimmed.first(open < 0 ? 0 : open).trimmed().toUpper();
    if (close > open && (command == "FILE" || command == "AUDIOFILE" || command == "DATAFILE"))
        return TocFileLine{command, QFile::decodeName(trimmed.sliced(open + 1, close - open - 1)), trimmed.sliced(close + 1)};
    return std::nullopt;
}

// A cdrdao TOC file with its data files' paths made absolute: libcdio
// takes relative ones from the working folder, not the file's.
std::unique_ptr<QTemporaryFile> tocCopy(const QString &path)
{
    const auto bytes = readRegularFile(path, kMostCueBytes);
    if (!bytes)
        return nullptr;
    const QDir folder = QFileInfo(path).absoluteDir();
    QByteArray out;
    for (const QByteArray &line : bytes->split('\n')) {
        if (const auto file = tocFileLine(line)) {
            out += file->command + " \"" + QFile::encodeName(folder.absoluteFilePath(file->name)) + '"' + file->rest + '\n';
        } else {
            out += line + '\n';
        }
    }
    auto copy = std::make_unique<QTemporaryFile>(QDir::tempPath() + QStringLiteral("/pelora-XXXXXX.toc"));
    if (!copy->open() || copy->write(out) != out.size() || !copy->flush())
        return nullptr;
    return copy;
}

CdTextBlock sheetTexts(const CueSheetData &sheet)
{
    CdTextBlock block;
    block.album.title = sheet.title;
    block.album.performer = sheet.performer;
    for (std::size_t i = 0; i < sheet.tracks.size(); ++i) {
        if (!sheet.tracks[i].title.isEmpty() || !sheet.tracks[i].performer.isEmpty())
            block.tracks[int(i) + 1] = {sheet.tracks[i].title, sheet.tracks[i].performer};
    }
    return block;
}

std::optional<DiscContents> readCueImage(const QString &path, DiscUnreadable *why)
{
    const auto bytes = readRegularFile(path, kMostCueBytes);
    if (!bytes)
        return refuse(DiscUnreadable::ImageUnreadable, why);
    const CueSheetData sheet = ParseCueSheet(*bytes);
    const QString folder = QFileInfo(path).absolutePath();
    const auto copy = cueCopy(*bytes, sheet, folder);
    if (!copy)
        return refuse(DiscUnreadable::ImageUnreadable, why);
    const Cdio cdio(cdio_open(QFile::encodeName(copy->sheet).constData(), DRIVER_BINCUE), cdio_destroy);
    const auto toc = cdio ? tocOf(cdio.get()) : std::nullopt;
    if (!toc)
        return refuse(DiscUnreadable::ImageUnreadable, why);
    DiscContents contents;
    contents.toc = *toc;
    contents.sheetText = sheetTexts(sheet);
    if (!sheet.cdTextFile.isEmpty()) {
        const auto cdtPath = LocalEntryPath(folder, sheet.cdTextFile);
        const auto cdt = cdtPath ? readRegularFile(*cdtPath, kMostCdTextBytes) : std::nullopt;
        if (cdt)
            takeCdText(contents, *cdt);
        else
            contents.cdTextProblem = CdTextUnreadable::NoPacks;
    }
    return contents;
}

std::optional<DiscContents> readThroughLibcdio(const QString &source, driver_id_t driver, DiscUnreadable *why)
{
    const bool drive = driver == DRIVER_DEVICE;
    const Cdio cdio(cdio_open(QFile::encodeName(source).constData(), driver), cdio_destroy);
    if (!cdio)
        return refuse(drive ? DiscUnreadable::DriveUnreadable : DiscUnreadable::ImageUnreadable, why);
    const auto toc = tocOf(cdio.get());
    if (!toc)
        return refuse(drive ? DiscUnreadable::NoDisc : DiscUnreadable::ImageUnreadable, why);
    DiscContents contents;
    contents.toc = *toc;
    if (const QByteArray packs = rawCdText(cdio.get()); !packs.isEmpty())
        takeCdText(contents, packs);
    return contents;
}

}  // namespace

QString DiscReason(DiscUnreadable why)
{
    switch (why) {
    case DiscUnreadable::NoDisc:
        return QCoreApplication::translate("DiscSource", "ドライブにディスクがありません");
    case DiscUnreadable::DriveBusy:
        return QCoreApplication::translate("DiscSource", "ドライブが使用中か、まだ準備ができていません");
    case DiscUnreadable::DriveUnreadable:
        return QCoreApplication::translate("DiscSource", "CD ドライブとして読めません");
    case DiscUnreadable::NotADiscImage:
        return QCoreApplication::translate("DiscSource", "ディスクイメージではありません（.cue、.toc、.nrg を読めます）");
    case DiscUnreadable::ImageUnreadable:
        return QCoreApplication::translate("DiscSource", "ディスクイメージか、そのデータファイルを読めません");
    case DiscUnreadable::NoAudioTracks:
        break;
    }
    return QCoreApplication::translate("DiscSource", "音楽のトラックがありません");
}

QStringList OpticalDrives()
{
    quietLibcdio();
    QStringList drives;
    char **devices = cdio_get_devices(DRIVER_DEVICE);
    for (char **device = devices; device && *device; ++device)
        drives << QFile::decodeName(*device);
    if (devices)
        cdio_free_device_list(devices);
    return drives;
}

bool IsDiscImageFileName(const QString &path)
{
    const QStringView name = QStringView(path).sliced(path.lastIndexOf(u'/') + 1);
    return name.endsWith(u".cue", Qt::CaseInsensitive) || name.endsWith(u".toc", Qt::CaseInsensitive)
        || name.endsWith(u".nrg", Qt::CaseInsensitive);
}

QStringList DiscImageFiles(const QString &image)
{
    QStringList files;
    const auto bytes = IsCueSheetFileName(image) || image.endsWith(u".toc", Qt::CaseInsensitive)
        ? readRegularFile(image, kMostCueBytes)
        : std::nullopt;
    if (!bytes)
        return files;
    const QString folder = QFileInfo(image).absolutePath();
    QStringList written;
    if (IsCueSheetFileName(image)) {
        const CueSheetData sheet = ParseCueSheet(*bytes);
        written = sheet.files;
        if (!sheet.cdTextFile.isEmpty())
            written << sheet.cdTextFile;
    } else {
        for (const QByteArray &line : bytes->split('\n')) {
            if (const auto file = tocFileLine(line))
                written << QDir(folder).absoluteFilePath(file->name);
        }
    }
    for (const QString &name : std::as_const(written)) {
        const auto path = LocalEntryPath(folder, name);
        if (path && !files.contains(*path))
            files << *path;
    }
    return files;
}

std::optional<DiscContents> ReadDiscSource(const QString &source, DiscUnreadable *why)
{
    quietLibcdio();
    std::optional<DiscContents> contents;
    if (!QFileInfo(source).isFile() && isDevice(source)) {
        if (const auto state = driveState(source))
            return refuse(*state, why);
        contents = readThroughLibcdio(source, DRIVER_DEVICE, why);
    } else if (!IsDiscImageFileName(source)) {
        return refuse(DiscUnreadable::NotADiscImage, why);
    } else if (!QFileInfo(source).isFile()) {
        return refuse(DiscUnreadable::ImageUnreadable, why);
    } else if (IsCueSheetFileName(source)) {
        contents = readCueImage(source, why);
    } else if (source.endsWith(u".nrg", Qt::CaseInsensitive)) {
        contents = readThroughLibcdio(source, DRIVER_NRG, why);
    } else {
        const auto copy = tocCopy(source);
        if (!copy)
            return refuse(DiscUnreadable::ImageUnreadable, why);
        contents = readThroughLibcdio(copy->fileName(), DRIVER_CDRDAO, why);
    }
    if (contents && DiscAudioTracks(contents->toc).empty())
        return refuse(DiscUnreadable::NoAudioTracks, why);
    return contents;
}
