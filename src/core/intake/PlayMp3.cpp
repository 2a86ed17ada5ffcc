// SPDX-License-Identifier: GPL-3.0-or-later
#include "core/intake/PlayMp3.h"

#include "core/text/TextCodec.h"
#include "core/text/TextDetect.h"
#include "core/text/TextLines.h"

#include <QByteArray>
#include <QString>
#include <QStringDecoder>

#include <taglib/apetag.h>
#include <taglib/audioproperties.h>
#include <taglib/fileref.h>
#include <taglib/id3v1tag.h>
#include <taglib/id3v2framefactory.h>
#include <taglib/id3v2tag.h>
#include <taglib/infotag.h>
#include <taglib/mpegfile.h>
#include <taglib/tbytevector.h>
#include <taglib/tbytevectorstream.h>
#include <taglib/tfilestream.h>
#include <taglib/wavfile.h>

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <algorithm>
#include <cerrno>
#include <cstring>
#include <mutex>
#include <optional>
#include <vector>

namespace {

// ---------------------------------------------------------------------------
// Text

bool isCp932LeadByte(unsigned char c) { return (c >= 0x81 && c <= 0x9F) || (c >= 0xE0 && c <= 0xFC); }

QByteArrayView upToNul(QByteArrayView bytes)
{
    const qsizetype nul = bytes.indexOf('\0');
    return nul < 0 ? bytes : bytes.first(nul);
}

QByteArrayView view(const TagLib::ByteVector &data)
{
    return QByteArrayView(data.data(), static_cast<qsizetype>(data.size()));
}

TagLib::String toTagLib(const QString &text)
{
    return TagLib::String(text.toStdString(), TagLib::String::UTF8);
}

QString fromTagLib(const TagLib::String &text)
{
    return QString::fromStdString(text.to8Bit(true));
}

// Bytes that a tag declares as Latin-1 (ID3) or leaves undeclared (RIFF
// INFO): Windows tools wrote the system code page there, Linux tools often
// UTF-8.
class Id3v2Latin1Decoder final : public TagLib::ID3v2::Latin1StringHandler
{
public:
    TagLib::String parse(const TagLib::ByteVector &data) const override
    {
        return toTagLib(TextDetect::decode(upToNul(view(data))));
    }
};

class Id3v1Decoder final : public TagLib::ID3v1::StringHandler
{
public:
    // ID3v1 fields are fixed-width and padded at the end with NULs or
    // spaces; a field with no padding may end inside a character. Spaces at
    // the start belong to the text.
    TagLib::String parse(const TagLib::ByteVector &data) const override
    {
        QByteArrayView bytes = view(data);
        const bool full = !bytes.isEmpty() && static_cast<unsigned char>(bytes.back()) > ' ';
        bytes = upToNul(bytes);
        while (!bytes.isEmpty() && static_cast<unsigned char>(bytes.back()) <= ' ')
            bytes.chop(1);
        return toTagLib(TextDetect::decode(bytes, full));
    }
};

class RiffInfoDecoder final : public TagLib::RIFF::Info::StringHandler
{
public:
    TagLib::String parse(const TagLib::ByteVector &data) const override
    {
        return toTagLib(TextDetect::decode(upToNul(view(data))));
    }
};

const Id3v2Latin1Decoder id3v2Decoder;
const Id3v1Decoder id3v1Decoder;
const RiffInfoDecoder riffInfoDecoder;

// Text into a fixed Shift-JIS field: at most its size, cut between
// characters, the rest NUL.
template <std::size_t N>
void writeField(char (&field)[N], const QString &text)
{
    std::memset(field, 0, N);
    const QByteArray bytes = Cp932::encode(text, '?');
    qsizetype length = 0;
    while (length < bytes.size()) {
        const qsizetype step = isCp932LeadByte(static_cast<unsigned char>(bytes[length])) ? 2 : 1;
        if (length + step > static_cast<qsizetype>(N))
            break;
        length += step;
    }
    length = std::min(length, bytes.size());
    std::memcpy(field, bytes.constData(), static_cast<std::size_t>(length));
}

// ---------------------------------------------------------------------------
// Files

// A read-only descriptor on a regular file. Opened without blocking and
// checked after opening, so that a FIFO or a device named x.mp3 is refused
// without being read, even if it replaced the file a moment before.
class RegularFile
{
public:
    explicit RegularFile(const char *path)
    {
        m_fd = ::open(path, O_RDONLY | O_NONBLOCK | O_CLOEXEC | O_NOCTTY);
        if (m_fd < 0)
            return;
        struct stat st {};
        if (::fstat(m_fd, &st) != 0 || !S_ISREG(st.st_mode)) {
            ::close(m_fd);
            m_fd = -1;
            return;
        }
        m_size = static_cast<std::int64_t>(st.st_size);
    }
    ~RegularFile()
    {
        if (m_fd >= 0)
            ::close(m_fd);
    }
    RegularFile(const RegularFile &) = delete;
    RegularFile &operator=(const RegularFile &) = delete;

    bool isOpen() const { return m_fd >= 0; }
    std::int64_t size() const { return m_size; }

    // Up to `length` bytes at `offset`; fewer at the end of the file.
    TagLib::ByteVector read(std::int64_t offset, unsigned int length) const
    {
        TagLib::ByteVector data(length, '\0');
        unsigned int done = 0;
        while (done < length) {
            const ssize_t n = ::pread(m_fd, data.data() + done, length - done, offset + done);
            if (n < 0 && errno == EINTR)
                continue;
            if (n <= 0)
                break;
            done += static_cast<unsigned int>(n);
        }
        data.resize(done);
        return data;
    }

    // Hands the descriptor over to TagLib, which closes it.
    int release()
    {
        const int fd = m_fd;
        m_fd = -1;
        return fd;
    }

private:
    int m_fd = -1;
    std::int64_t m_size = 0;
};

using TagGetter = TagLib::String (TagLib::Tag::*)() const;

// The first non-empty value among the tags, in the order given.
QString firstOf(const std::vector<const TagLib::Tag *> &tags, TagGetter get)
{
    for (const TagLib::Tag *tag : tags) {
        if (!tag)
            continue;
        const TagLib::String value = (tag->*get)();
        if (!value.isEmpty())
            return fromTagLib(value);
    }
    return {};
}

struct Read
{
    TagInfo info;
    TagText text;
};

std::optional<Read> makeInfo(const std::vector<const TagLib::Tag *> &tags, const TagLib::AudioProperties *audio)
{
    // Without a sample rate TagLib found no audio at all.
    if (!audio || audio->sampleRate() <= 0 || audio->channels() <= 0)
        return std::nullopt;
    Read read {};
    // A control character (a line break in a comment-like title, the NUL
    // between ID3v2.4 values) would break the item line.
    read.text = {TextLines::withoutControls(firstOf(tags, &TagLib::Tag::title)),
                 TextLines::withoutControls(firstOf(tags, &TagLib::Tag::artist))};
    writeField(read.info.Title, read.text.Title);
    writeField(read.info.Artist, read.text.Artist);
    read.info.Reserved1 = audio->bitrate();
    read.info.Reserved2 = audio->sampleRate();
    read.info.Reserved3 = audio->channels();
    read.info.TotalSeconds = std::max(0, audio->lengthInSeconds());
    return read;
}

std::vector<const TagLib::Tag *> mpegTags(TagLib::MPEG::File &mpeg)
{
    return {mpeg.ID3v2Tag(), mpeg.ID3v1Tag(), mpeg.APETag()};
}

std::optional<Read> readMpegStream(TagLib::IOStream &stream, std::vector<const TagLib::Tag *> tagsBefore = {})
{
    TagLib::MPEG::File mpeg(&stream, TagLib::ID3v2::FrameFactory::instance(), true,
                            TagLib::AudioProperties::Average);
    if (!mpeg.isValid())
        return std::nullopt;
    std::vector<const TagLib::Tag *> tags = std::move(tagsBefore);
    for (const TagLib::Tag *tag : mpegTags(mpeg))
        tags.push_back(tag);
    return makeInfo(tags, mpeg.audioProperties());
}

std::optional<Read> readWithFileStream(RegularFile &file, bool wave)
{
    const int fd = file.release();
    TagLib::FileStream stream(fd, true);
    if (!stream.isOpen()) {
        ::close(fd);
        return std::nullopt;
    }
    if (!wave) {
        // The stream has no name: TagLib goes by the content.
        const TagLib::FileRef ref(&stream, true, TagLib::AudioProperties::Average);
        if (ref.isNull())
            return std::nullopt;
        if (auto *mpeg = dynamic_cast<TagLib::MPEG::File *>(ref.file()))
            return makeInfo(mpegTags(*mpeg), mpeg->audioProperties());
        return makeInfo({ref.tag()}, ref.audioProperties());
    }

    TagLib::RIFF::WAV::File wav(&stream, true, TagLib::AudioProperties::Average);
    if (!wav.isValid())
        return std::nullopt;
    // TagLib's own tag() of a WAV is only the ID3v2 tag; INFO fills the gaps.
    const TagLib::Tag *id3 = wav.hasID3v2Tag() ? wav.ID3v2Tag() : nullptr;
    return makeInfo({id3, wav.InfoTag()}, wav.audioProperties());
}

std::uint32_t littleEndian32(const TagLib::ByteVector &data, unsigned int at)
{
    return data.toUInt(at, false);
}

// Limits for the RIFF walk of an RMP file: a real one has a handful of
// chunks, an INFO list of a few hundred bytes, and the MP3 data of one song.
constexpr int kMaxRiffChunks = 4096;
constexpr unsigned int kMaxInfoBytes = 1u << 20;
constexpr std::int64_t kMaxRmpData = std::int64_t(512) << 20;

// RIFF form "RMP3": the MP3 stream in the "data" chunk, text in LIST/INFO.
// Sizes that point past the end are cut to the file, so a file cut short
// still plays as far as it goes.
std::optional<Read> readRmp(const RegularFile &file)
{
    const std::int64_t end = file.size();
    std::int64_t pos = 12;
    std::optional<std::pair<std::int64_t, std::int64_t>> data;  // offset, length
    TagLib::ByteVector infoList;
    for (int chunk = 0; chunk < kMaxRiffChunks && pos + 8 <= end; ++chunk) {
        const TagLib::ByteVector header = file.read(pos, 8);
        if (header.size() < 8)
            break;
        const TagLib::ByteVector id = header.mid(0, 4);
        const std::int64_t size = littleEndian32(header, 4);
        const std::int64_t body = pos + 8;
        const std::int64_t present = std::min(size, end - body);

        if (id == "data" && !data) {
            data = std::make_pair(body, present);
        } else if (id == "LIST" && infoList.isEmpty() && present >= 4
                   && file.read(body, 4) == "INFO") {
            infoList = file.read(body, static_cast<unsigned int>(std::min<std::int64_t>(present, kMaxInfoBytes)));
        }

        std::int64_t next = body + size;
        // Chunks are padded to even sizes, but not every writer did so:
        // skip the pad byte only when it is there.
        if ((size & 1) && next < end && file.read(next, 1) == TagLib::ByteVector(1, '\0'))
            ++next;
        pos = next;
    }
    if (!data || data->second <= 0 || data->second > kMaxRmpData)
        return std::nullopt;

    const TagLib::ByteVector mp3 = file.read(data->first, static_cast<unsigned int>(data->second));
    TagLib::ByteVectorStream stream(mp3);
    const TagLib::RIFF::Info::Tag info(infoList);
    return readMpegStream(stream, {&info});
}

enum class Kind { Other, Wave, Rmp, OtherRiff };

// The content decides, not the name: an RMP renamed .mp3 or an MP3 stream
// named .wav is still read the way a player would read it.
Kind sniff(const RegularFile &file)
{
    const TagLib::ByteVector head = file.read(0, 12);
    if (head.size() < 12 || !head.startsWith("RIFF"))
        return Kind::Other;
    const TagLib::ByteVector form = head.mid(8, 4);
    if (form == "WAVE")
        return Kind::Wave;
    if (form == "RMP3")
        return Kind::Rmp;
    return Kind::OtherRiff;
}

std::optional<Read> readAudioFile(const char *path)
{
    RegularFile file(path);
    if (!file.isOpen() || file.size() == 0)
        return std::nullopt;
    switch (sniff(file)) {
    case Kind::Other:
        return readWithFileStream(file, false);
    case Kind::Wave:
        return readWithFileStream(file, true);
    case Kind::Rmp:
        return readRmp(file);
    case Kind::OtherRiff:
        break;
    }
    return std::nullopt;
}

// ---------------------------------------------------------------------------
// Component state

struct OpenedFile
{
    QByteArray path;
    Read read;
};

std::mutex stateMutex;
bool initialised = false;
std::optional<OpenedFile> opened;

}  // namespace

int32_t vbmp3_init()
{
    const std::lock_guard lock(stateMutex);
    if (!initialised) {
        TagLib::ID3v2::Tag::setLatin1StringHandler(&id3v2Decoder);
        TagLib::ID3v1::Tag::setStringHandler(&id3v1Decoder);
        TagLib::RIFF::Info::Tag::setStringHandler(&riffInfoDecoder);
        initialised = true;
    }
    return 1;
}

int32_t vbmp3_open(const char *path, TagInfo *info)
{
    if (info)
        std::memset(info, 0, sizeof *info);
    const std::lock_guard lock(stateMutex);
    if (!initialised || !path || !info)
        return 0;
    opened.reset();

    std::optional<Read> read;
    try {
        read = readAudioFile(path);
    } catch (...) {
        // Out of memory on a hostile size: the file is simply not readable.
        read.reset();
    }
    if (!read)
        return 0;
    *info = read->info;
    opened = OpenedFile {QByteArray(path), *read};
    return 1;
}

TagText vbmp3_text()
{
    const std::lock_guard lock(stateMutex);
    return opened ? opened->read.text : TagText();
}

int32_t vbmp3_close()
{
    const std::lock_guard lock(stateMutex);
    opened.reset();
    return 1;
}

int32_t vbmp3_free()
{
    const std::lock_guard lock(stateMutex);
    if (!initialised)
        return 0;
    opened.reset();
    TagLib::ID3v2::Tag::setLatin1StringHandler(nullptr);
    TagLib::ID3v1::Tag::setStringHandler(nullptr);
    TagLib::RIFF::Info::Tag::setStringHandler(nullptr);
    initialised = false;
    return 1;
}
