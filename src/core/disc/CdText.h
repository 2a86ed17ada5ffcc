// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

// CD-TEXT: the titles a disc carries in its lead-in, as 18-byte packs.
//
//   byte 0     pack type: 0x80 title, 0x81 performer, 0x82 songwriter,
//              0x83 composer, 0x84 arranger, 0x85 message, 0x8F size info
//   byte 1     track number (0 the whole disc; bit 7 an extension pack)
//   byte 2     sequence number
//   byte 3     bit 7 double-byte text, bits 4-6 block, bits 0-3 how many
//              characters of the current string came in earlier packs
//   bytes 4-15 text: NUL-terminated strings (two NULs in double-byte text)
//              running from pack to pack, one a track; a TAB (two in
//              double-byte text) repeats the previous track's
//   bytes 16-17 CRC-16 (CCITT, 0x1021) of bytes 0-15, inverted, big endian
//
// A block is one language's set of texts (up to 8); its size-info packs
// give its character code and every block's language.
#include "core/text/Translation.h"

#include <QByteArrayView>
#include <QLocale>
#include <QString>

#include <map>
#include <optional>
#include <vector>

// The texts of the disc or of one track.
struct CdTextEntry
{
    QString title;
    QString performer;
    QString songwriter;
    QString composer;
    QString arranger;
    QString message;

    bool operator==(const CdTextEntry &) const = default;
};

struct CdTextBlock
{
    // Character codes of the size info.
    static constexpr int kLatin1 = 0x00;
    static constexpr int kAscii = 0x01;
    static constexpr int kMsJis = 0x80;
    static constexpr int kKorean = 0x81;
    static constexpr int kMandarin = 0x82;
    // Language codes (EBU) of the two languages the program speaks.
    static constexpr int kEnglish = 0x09;
    static constexpr int kJapanese = 0x69;

    int number = 0;                  // 0-7
    int characterCode = kLatin1;     // as the size info says; MS-JIS for double-byte packs without one
    int languageCode = 0;            // 0: not told
    CdTextEntry album;               // track number 0
    std::map<int, CdTextEntry> tracks;  // by track number, 1-99; only tracks with some text

    // The track's texts; empty ones for a track without.
    CdTextEntry track(int number) const;
    // The language code as a language; AnyLanguage for codes not known here.
    QLocale::Language language() const;
};

// Why bytes gave no CD-TEXT.
enum class CdTextUnreadable
{
    NoPacks,     // not one whole pack
    AllDamaged,  // no pack's CRC matches
    NoText,      // sound packs, but no text in them
};

struct CdTextData
{
    std::vector<CdTextBlock> blocks;  // by block number, only blocks with text
    int damagedPacks = 0;             // skipped for their CRC

    // The block in `preferred`, else the first.
    const CdTextBlock &blockFor(QLocale::Language preferred) const;
};

// The packs of a drive's raw read or of a CD-TEXT file (.cdt), with or
// without their 4-byte header (big-endian length, 2 reserved bytes); bytes
// after the last whole pack are ignored. Packs whose CRC does not match are
// skipped, and a string they cut is dropped rather than spliced, as is one
// left without its NUL at the end. Nothing,
// and why in `why`, when no text could be read.
std::optional<CdTextData> ReadCdText(QByteArrayView bytes, CdTextUnreadable *why = nullptr);

// The reason in the run's language, to go in a message.
QString CdTextReason(CdTextUnreadable why);

// The CRC a pack carries in its last two bytes, of its first 16 bytes.
quint16 CdTextPackCrc(QByteArrayView first16);

// The block language for the run's language: Japanese on a Japanese
// desktop, English otherwise.
QLocale::Language CdTextLanguageFor(Translation::Language language);
