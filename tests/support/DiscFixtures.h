// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

// Discs made up for tests and benchmarks: CD-TEXT packs with their CRCs, as
// a drive or a .cdt file gives them, and silent disc images.
#include <QByteArray>
#include <QList>
#include <QString>

#include <vector>

namespace DiscFixtures {

// One block's texts as bytes in its character code: [0] the disc's, [n]
// track n's. A string "\t" (or "\t\t" in double-byte text) repeats the
// previous one.
struct BlockTexts
{
    int characterCode = 0x00;  // 0x80 MS-JIS: double-byte packs
    int languageCode = 0x09;
    QList<QByteArray> titles;
    QList<QByteArray> performers;
};

// One pack: header, the 12 text bytes (padded with NULs), its CRC.
QByteArray pack(int type, int track, int sequence, int blockByte, QByteArray text);

// The packs of the blocks, in order (text packs, then three size-info packs
// a block), sequence numbers running on across blocks.
QByteArray cdTextPacks(const std::vector<BlockTexts> &blocks);

// As a drive returns them and cdrecord writes them: the length of what
// follows the first two bytes, big endian, and two reserved bytes.
QByteArray withHeader(const QByteArray &packs);

// Pack `index` with a wrong CRC.
QByteArray damaged(QByteArray packs, int index);

// A silent image in `folder`: NAME.bin with the tracks' sectors (2352 bytes
// each) and NAME.cue laying them out (INDEX 01 at each track's start), its
// `header` lines first (TITLE, CDTEXTFILE, …), each track's `trackLines`
// after its TRACK line when given. Data tracks are MODE1/2352. Returns the
// cue sheet's path.
struct ImageTrack
{
    int sectors = 75 * 60;
    bool audio = true;
    QByteArray lines;  // after the TRACK line
};
QString writeCueImage(const QString &folder, const QString &name, const std::vector<ImageTrack> &tracks,
                      const QByteArray &header = {});

}  // namespace DiscFixtures
