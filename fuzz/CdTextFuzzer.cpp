// SPDX-License-Identifier: GPL-3.0-or-later
// CD-TEXT packs as a drive or a .cdt file gives them. The first byte's low
// bit asks for every pack's CRC to be set right first (after a 4-byte
// header when its next bit is set), so that the fuzzer gets past the CRCs
// into the strings; the rest is the packs. Blocks come out numbered and in
// order, tracks within 1-99, and every reason has its words.
#include "core/disc/CdText.h"

#include <QByteArray>

#include <cstdint>
// Last: its macro would clash with names in Qt's headers.
#include "FuzzCheck.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t *data, size_t size)
{
    if (size == 0)
        return 0;
    const uint8_t mode = data[0];
    QByteArray bytes(reinterpret_cast<const char *>(data + 1), qsizetype(size - 1));
    if (mode & 1) {
        for (qsizetype at = (mode & 2) ? 4 : 0; at + 18 <= bytes.size(); at += 18) {
            const quint16 crc = CdTextPackCrc(QByteArrayView(bytes).sliced(at, 16));
            bytes[at + 16] = char(crc >> 8);
            bytes[at + 17] = char(crc & 0xFF);
        }
    }
    CdTextUnreadable why = CdTextUnreadable(-1);
    const auto text = ReadCdText(bytes, &why);
    if (!text) {
        check(why == CdTextUnreadable::NoPacks || why == CdTextUnreadable::AllDamaged || why == CdTextUnreadable::NoText);
        check(!CdTextReason(why).isEmpty());
        return 0;
    }
    check(!text->blocks.empty() && text->blocks.size() <= 8);
    check(text->damagedPacks >= 0 && text->damagedPacks <= bytes.size() / 18);
    int previous = -1;
    for (const CdTextBlock &block : text->blocks) {
        check(block.number > previous && block.number < 8);
        previous = block.number;
        check(block.album != CdTextEntry{} || !block.tracks.empty());
        for (const auto &[number, entry] : block.tracks) {
            check(number >= 1 && number <= 99);
            check(entry != CdTextEntry{});
        }
    }
    const CdTextBlock &chosen = text->blockFor(QLocale::Japanese);
    check(&chosen >= &text->blocks.front() && &chosen <= &text->blocks.back());
    return 0;
}
