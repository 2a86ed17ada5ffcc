// SPDX-License-Identifier: GPL-3.0-or-later
#include "support/DiscFixtures.h"

#include "core/disc/CdText.h"

#include <QFile>

#include <array>

namespace DiscFixtures {
namespace {

constexpr int kTextSize = 12;
constexpr int kSizeInfo = 0x8F;

// The text packs of one type: strings run on from pack to pack; each pack
// names the track and the position in it of its first byte.
std::vector<QByteArray> typePacks(int type, const QList<QByteArray> &strings, bool doubleByte, int block, int &sequence)
{
    QByteArray stream;
    std::vector<int> trackAt;
    std::vector<int> positionAt;
    const QByteArray terminator = doubleByte ? QByteArray(2, '\0') : QByteArray(1, '\0');
    for (int track = 0; track < strings.size(); ++track) {
        const QByteArray text = strings[track] + terminator;
        // The characters begun before each byte: a pack that starts inside
        // a string, even inside a two-byte character, says so.
        int begun = 0;
        for (int i = 0; i < text.size(); ++i) {
            trackAt.push_back(track);
            positionAt.push_back(begun);
            const auto c = static_cast<unsigned char>(text[i]);
            const bool lead = doubleByte && ((c >= 0x81 && c <= 0x9F) || (c >= 0xE0 && c <= 0xFC));
            if (lead && i + 1 < text.size()) {
                trackAt.push_back(track);
                positionAt.push_back(begun + 1);
                ++i;
            }
            ++begun;
        }
        stream += text;
    }
    std::vector<QByteArray> packs;
    for (int at = 0; at < stream.size(); at += kTextSize) {
        const int blockByte = (doubleByte ? 0x80 : 0) | block << 4 | std::min(positionAt[at], 15);
        packs.push_back(pack(type, trackAt[at], sequence++ & 0xFF, blockByte, stream.mid(at, kTextSize)));
    }
    return packs;
}

}  // namespace

QByteArray pack(int type, int track, int sequence, int blockByte, QByteArray text)
{
    text.resize(kTextSize, '\0');
    QByteArray bytes;
    bytes += char(type);
    bytes += char(track);
    bytes += char(sequence);
    bytes += char(blockByte);
    bytes += text;
    const quint16 crc = CdTextPackCrc(bytes);
    bytes += char(crc >> 8);
    bytes += char(crc & 0xFF);
    return bytes;
}

QByteArray cdTextPacks(const std::vector<BlockTexts> &blocks)
{
    // Two rounds: the size info counts every block's packs.
    std::array<int, 8> lastSequence{};
    std::array<int, 8> languages{};
    QByteArray all;
    for (int round = 0; round < 2; ++round) {
        all.clear();
        int sequence = 0;
        for (int b = 0; b < int(blocks.size()); ++b) {
            const BlockTexts &block = blocks[b];
            const bool doubleByte = block.characterCode == 0x80;
            languages[b] = block.languageCode;
            std::array<int, 16> counts{};
            for (const auto &[type, strings] : {std::pair{0x80, block.titles}, std::pair{0x81, block.performers}}) {
                if (strings.isEmpty())
                    continue;
                const auto packs = typePacks(type, strings, doubleByte, b, sequence);
                counts[type - 0x80] = int(packs.size());
                for (const QByteArray &p : packs)
                    all += p;
            }
            counts[kSizeInfo - 0x80] = 3;
            const int tracks = int(std::max(block.titles.size(), block.performers.size())) - 1;
            QByteArray info;
            info += char(block.characterCode);
            info += char(1);
            info += char(std::max(tracks, 1));
            info += char(0);
            for (const int count : counts)
                info += char(count);
            for (const int last : lastSequence)
                info += char(last);
            for (const int language : languages)
                info += char(language);
            for (int part = 0; part < 3; ++part)
                all += pack(kSizeInfo, part, sequence++ & 0xFF, b << 4, info.mid(part * kTextSize, kTextSize));
            lastSequence[b] = (sequence - 1) & 0xFF;
        }
    }
    return all;
}

QByteArray withHeader(const QByteArray &packs)
{
    const int length = int(packs.size()) + 2;
    QByteArray bytes;
    bytes += char(length >> 8);
    bytes += char(length & 0xFF);
    bytes += QByteArray(2, '\0');
    return bytes + packs;
}

QByteArray damaged(QByteArray packs, int index)
{
    packs[index * 18 + 17] = char(packs[index * 18 + 17] ^ 0x5A);
    return packs;
}

QString writeCueImage(const QString &folder, const QString &name, const std::vector<ImageTrack> &tracks,
                      const QByteArray &header)
{
    QByteArray cue = header;
    cue += "FILE \"" + QFile::encodeName(name) + ".bin\" BINARY\r\n";
    qint64 sectors = 0;
    for (std::size_t i = 0; i < tracks.size(); ++i) {
        const int frames = int(sectors % 75);
        const int seconds = int(sectors / 75 % 60);
        const int minutes = int(sectors / 75 / 60);
        cue += QStringLiteral("  TRACK %1 %2\r\n").arg(i + 1, 2, 10, QChar(u'0'))
                   .arg(tracks[i].audio ? u"AUDIO" : u"MODE1/2352").toLatin1();
        cue += tracks[i].lines;
        cue += QStringLiteral("    INDEX 01 %1:%2:%3\r\n")
                   .arg(minutes, 2, 10, QChar(u'0'))
                   .arg(seconds, 2, 10, QChar(u'0'))
                   .arg(frames, 2, 10, QChar(u'0'))
                   .toLatin1();
        sectors += tracks[i].sectors;
    }
    QFile bin(folder + u'/' + name + QStringLiteral(".bin"));
    if (!bin.open(QIODevice::WriteOnly) || !bin.resize(sectors * 2352))
        return {};
    QFile sheet(folder + u'/' + name + QStringLiteral(".cue"));
    if (!sheet.open(QIODevice::WriteOnly) || sheet.write(cue) != cue.size())
        return {};
    return sheet.fileName();
}

}  // namespace DiscFixtures
