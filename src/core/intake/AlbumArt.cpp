// SPDX-License-Identifier: GPL-3.0-or-later
#include "core/intake/AlbumArt.h"

#include "core/files/RegularFile.h"

#include <taglib/aifffile.h>
#include <taglib/apefile.h>
#include <taglib/apetag.h>
#include <taglib/asffile.h>
#include <taglib/attachedpictureframe.h>
#include <taglib/fileref.h>
#include <taglib/flacfile.h>
#include <taglib/id3v2header.h>
#include <taglib/id3v2tag.h>
#include <taglib/mp4file.h>
#include <taglib/mpcfile.h>
#include <taglib/mpegfile.h>
#include <taglib/oggfile.h>
#include <taglib/rifffile.h>
#include <taglib/tfilestream.h>
#include <taglib/trueaudiofile.h>
#include <taglib/wavfile.h>
#include <taglib/wavpackfile.h>
#include <taglib/xiphcomment.h>

#include <unistd.h>

namespace {

// The pictures within the limits, front covers first, each kind in the
// order the tags hold them.
class Choice
{
public:
    void add(const TagLib::ByteVector &bytes, bool front)
    {
        if (bytes.isEmpty() || bytes.size() > static_cast<unsigned int>(kMostAlbumArtBytes)
            || m_front.size() + m_other.size() >= kMostAlbumArtPictures)
            return;
        (front ? m_front : m_other).append(bytes);
    }

    QList<AlbumArt> result() const
    {
        QList<AlbumArt> pictures;
        for (const bool front : {true, false}) {
            for (const TagLib::ByteVector &bytes : front ? m_front : m_other)
                pictures.append(AlbumArt{QByteArray(bytes.data(), static_cast<qsizetype>(bytes.size())), front});
        }
        return pictures;
    }

private:
    // Shared with the tag's data until copied out.
    QList<TagLib::ByteVector> m_front;
    QList<TagLib::ByteVector> m_other;
};

void addId3v2(Choice &choice, const TagLib::ID3v2::Tag *tag)
{
    if (!tag)
        return;
    // Version 2.2 "PIC" frames come out of TagLib as "APIC" too.
    for (const TagLib::ID3v2::Frame *frame : tag->frameList("APIC")) {
        if (const auto *picture = dynamic_cast<const TagLib::ID3v2::AttachedPictureFrame *>(frame))
            choice.add(picture->picture(), picture->type() == TagLib::ID3v2::AttachedPictureFrame::FrontCover);
    }
}

void addFlacPictures(Choice &choice, const TagLib::List<TagLib::FLAC::Picture *> &pictures)
{
    for (const TagLib::FLAC::Picture *picture : pictures)
        choice.add(picture->data(), picture->type() == TagLib::FLAC::Picture::FrontCover);
}

void addXiph(Choice &choice, TagLib::Ogg::XiphComment *comment)
{
    if (comment)
        addFlacPictures(choice, comment->pictureList());
}

// APE binary items "Cover Art (Front)", "Cover Art (Back)", …: a file name,
// a NUL, then the picture. The item map is in key order, not the file's.
void addApe(Choice &choice, const TagLib::APE::Tag *tag)
{
    if (!tag)
        return;
    const TagLib::ByteVector nul(1, '\0');
    for (const auto &[key, item] : tag->itemListMap()) {
        if (item.type() != TagLib::APE::Item::Binary || !key.upper().startsWith("COVER ART ("))
            continue;
        const TagLib::ByteVector data = item.binaryData();
        const int end = data.find(nul);
        if (end >= 0)
            choice.add(data.mid(static_cast<unsigned int>(end) + 1), key.upper() == "COVER ART (FRONT)");
    }
}

void addMp4(Choice &choice, const TagLib::MP4::Tag *tag)
{
    if (!tag || !tag->contains("covr"))
        return;
    // "covr" holds no picture type; the first one is what players show.
    bool first = true;
    for (const TagLib::MP4::CoverArt &cover : tag->item("covr").toCoverArtList()) {
        choice.add(cover.data(), first);
        first = false;
    }
}

void addAsf(Choice &choice, const TagLib::ASF::Tag *tag)
{
    if (!tag)
        return;
    for (const TagLib::ASF::Attribute &attribute : tag->attribute("WM/Picture")) {
        const TagLib::ASF::Picture picture = attribute.toPicture();
        if (picture.isValid())
            choice.add(picture.picture(), picture.type() == TagLib::ASF::Picture::FrontCover);
    }
}

// Any file TagLib tells by its content.
void addFromContent(Choice &choice, TagLib::IOStream &stream)
{
    const TagLib::FileRef ref(&stream, false);
    if (ref.isNull())
        return;
    TagLib::File *file = ref.file();
    if (auto *mpeg = dynamic_cast<TagLib::MPEG::File *>(file)) {
        addId3v2(choice, mpeg->ID3v2Tag());
        addApe(choice, mpeg->APETag());
    } else if (auto *flac = dynamic_cast<TagLib::FLAC::File *>(file)) {
        addFlacPictures(choice, flac->pictureList());
        addXiph(choice, flac->xiphComment());
        addId3v2(choice, flac->ID3v2Tag());
    } else if (dynamic_cast<TagLib::Ogg::File *>(file)) {
        // Vorbis, Opus, Speex and Ogg FLAC alike.
        addXiph(choice, dynamic_cast<TagLib::Ogg::XiphComment *>(file->tag()));
    } else if (auto *mp4 = dynamic_cast<TagLib::MP4::File *>(file)) {
        addMp4(choice, mp4->tag());
    } else if (auto *asf = dynamic_cast<TagLib::ASF::File *>(file)) {
        addAsf(choice, asf->tag());
    } else if (auto *tta = dynamic_cast<TagLib::TrueAudio::File *>(file)) {
        addId3v2(choice, tta->ID3v2Tag());
    } else if (auto *aiff = dynamic_cast<TagLib::RIFF::AIFF::File *>(file)) {
        addId3v2(choice, aiff->hasID3v2Tag() ? aiff->tag() : nullptr);
    } else if (auto *ape = dynamic_cast<TagLib::APE::File *>(file)) {
        addApe(choice, ape->APETag());
    } else if (auto *wavPack = dynamic_cast<TagLib::WavPack::File *>(file)) {
        addApe(choice, wavPack->APETag());
    } else if (auto *mpc = dynamic_cast<TagLib::MPC::File *>(file)) {
        addApe(choice, mpc->APETag());
    }
}

// RIFF form RMP3: an MP3 stream in the "data" chunk, its ID3v2 tag (if any)
// at the chunk's start.
class RmpFile final : public TagLib::RIFF::File
{
public:
    explicit RmpFile(TagLib::IOStream *stream) : TagLib::RIFF::File(stream, LittleEndian) {}

    TagLib::Tag *tag() const override { return nullptr; }
    TagLib::AudioProperties *audioProperties() const override { return nullptr; }
    bool save() override { return false; }

    void addPictures(Choice &choice)
    {
        for (unsigned int i = 0; i < chunkCount(); ++i) {
            if (chunkName(i) != "data")
                continue;
            // TagLib's tag reader trusts the offset: make sure a tag is there.
            seek(chunkOffset(i));
            if (readBlock(3) == TagLib::ID3v2::Header::fileIdentifier()) {
                const TagLib::ID3v2::Tag tag(this, chunkOffset(i));
                addId3v2(choice, &tag);
            }
            return;
        }
    }
};

QList<AlbumArt> albumArtOf(const QString &path)
{
    // A FIFO or a device named x.mp3 is never read.
    qint64 size = 0;
    const int fd = openRegularFile(path, &size);
    if (fd < 0)
        return {};
    if (size == 0) {
        ::close(fd);
        return {};
    }
    TagLib::FileStream stream(fd, true);  // closes the descriptor from here on
    if (!stream.isOpen()) {
        ::close(fd);
        return {};
    }

    // RIFF files go the tag component's way: WAVE and RMP3 by their form,
    // any other form is no audio.
    Choice choice;
    const TagLib::ByteVector head = stream.readBlock(12);
    stream.seek(0);
    if (!head.startsWith("RIFF")) {
        addFromContent(choice, stream);
    } else if (head.mid(8) == "WAVE") {
        TagLib::RIFF::WAV::File wav(&stream, false);
        if (wav.isValid() && wav.hasID3v2Tag())
            addId3v2(choice, wav.ID3v2Tag());
    } else if (head.mid(8) == "RMP3") {
        // Chunks before one that claims more than the file holds still count.
        RmpFile rmp(&stream);
        rmp.addPictures(choice);
    }
    return choice.result();
}

}  // namespace

QList<AlbumArt> AlbumArtOf(const QString &path)
{
    try {
        return albumArtOf(path);
    } catch (...) {
        // Out of memory on a hostile size: no picture, as for any bad file.
        return {};
    }
}
