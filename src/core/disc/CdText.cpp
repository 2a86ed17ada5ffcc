// SPDX-License-Identifier: GPL-3.0-or-later
#include "core/disc/CdText.h"

#include "core/text/TextCodec.h"

#include <QCoreApplication>
#include <QStringDecoder>

#include <array>

namespace {

constexpr qsizetype kPackSize = 18;
constexpr int kTitle = 0x80;
constexpr int kLastTextType = 0x85;  // message; the other types hold no text for a jacket
constexpr int kSizeInfo = 0x8F;
constexpr int kBlocks = 8;
constexpr int kMostTracks = 99;

struct Pack
{
    int type;
    int track;
    int sequence;
    bool doubleByte;
    int block;
    int characterPosition;
    QByteArrayView text;  // 12 bytes
};

Pack packAt(QByteArrayView bytes)
{
    const auto byte = [&](int i) { return int(static_cast<unsigned char>(bytes[i])); };
    return {byte(0), byte(1), byte(2), (byte(3) & 0x80) != 0, (byte(3) >> 4) & 7, byte(3) & 0x0F,
            bytes.sliced(4, 12)};
}

bool crcMatches(QByteArrayView pack)
{
    const quint16 stored = quint16(static_cast<unsigned char>(pack[16]) << 8 | static_cast<unsigned char>(pack[17]));
    return CdTextPackCrc(pack.first(16)) == stored;
}

int packsWithGoodCrc(QByteArrayView bytes, qsizetype from)
{
    int good = 0;
    for (qsizetype at = from; at + kPackSize <= bytes.size(); at += kPackSize)
        good += crcMatches(bytes.sliced(at, kPackSize)) ? 1 : 0;
    return good;
}

QString decodeText(QByteArrayView bytes, int characterCode)
{
    switch (characterCode) {
    case CdTextBlock::kMsJis:
        return Cp932::decode(bytes);
    case CdTextBlock::kKorean:
    case CdTextBlock::kMandarin: {
        QStringDecoder decoder(characterCode == CdTextBlock::kKorean ? "EUC-KR" : "GBK");
        if (decoder.isValid())
            return decoder.decode(bytes);
        break;
    }
    default:
        break;
    }
    return QString::fromLatin1(bytes);
}

QString &fieldOf(CdTextEntry &entry, int type)
{
    switch (type) {
    case 0x81: return entry.performer;
    case 0x82: return entry.songwriter;
    case 0x83: return entry.composer;
    case 0x84: return entry.arranger;
    case 0x85: return entry.message;
    default: return entry.title;
    }
}

bool isRepeatMark(QByteArrayView text) { return text == "\t" || text == "\t\t"; }

// One pack type of one block: the strings as they run through its packs.
class FieldReader
{
public:
    FieldReader(CdTextBlock &block, int type) : m_block(block), m_type(type) {}

    void feed(const Pack &pack)
    {
        const bool gap = m_lastSequence < 0 || pack.sequence != ((m_lastSequence + 1) & 0xFF);
        m_lastSequence = pack.sequence;
        // Where the header says the pack starts, when that is not where the
        // last pack left off: a pack went missing, and a string it cut is
        // dropped rather than glued to another's end.
        if (gap || pack.track != m_track) {
            const bool atBoundary = !gap && m_buffer.isEmpty() && !m_skipping && pack.characterPosition == 0;
            if (!atBoundary) {
                m_buffer.clear();
                m_nulPair = false;
                m_skipping = pack.characterPosition != 0;
            }
            m_track = pack.track;
        }
        m_doubleByte = pack.doubleByte;
        for (const char c : pack.text)
            feed(static_cast<unsigned char>(c));
    }

private:
    void feed(unsigned char c)
    {
        if (m_nulPair) {
            m_nulPair = false;
            if (c == 0)
                return;
        }
        if (c == 0) {
            endString();
            m_nulPair = m_doubleByte;
            return;
        }
        // No byte of a two-byte Shift-JIS character is NUL: the text needs
        // no decoding to be cut into strings.
        if (!m_skipping)
            m_buffer.append(char(c));
    }

    void endString()
    {
        if (!m_skipping && m_track >= 0 && m_track <= kMostTracks)
            store();
        m_skipping = false;
        m_buffer.clear();
        ++m_track;
    }

    void store()
    {
        QString text;
        if (isRepeatMark(m_buffer)) {
            CdTextEntry previous = m_track == 1 ? m_block.album : m_block.track(m_track - 1);
            text = fieldOf(previous, m_type);
        } else {
            text = decodeText(m_buffer, m_block.characterCode);
        }
        if (text.isEmpty())
            return;
        fieldOf(m_track == 0 ? m_block.album : m_block.tracks[m_track], m_type) = text;
    }

    CdTextBlock &m_block;
    int m_type;
    bool m_doubleByte = false;
    int m_lastSequence = -1;
    int m_track = 0;
    QByteArray m_buffer;
    bool m_skipping = false;      // the string lost its start
    bool m_nulPair = false;       // a double-byte NUL wants its second byte
};

const std::map<int, QLocale::Language> &languageCodes()
{
    static const std::map<int, QLocale::Language> codes{
        {0x06, QLocale::Czech},      {0x07, QLocale::Danish},     {0x08, QLocale::German},
        {0x09, QLocale::English},    {0x0A, QLocale::Spanish},    {0x0F, QLocale::French},
        {0x15, QLocale::Italian},    {0x1B, QLocale::Hungarian},  {0x1D, QLocale::Dutch},
        {0x1E, QLocale::NorwegianBokmal}, {0x20, QLocale::Polish}, {0x21, QLocale::Portuguese},
        {0x27, QLocale::Finnish},    {0x28, QLocale::Swedish},    {0x29, QLocale::Turkish},
        {0x56, QLocale::Russian},    {0x65, QLocale::Korean},     {0x69, QLocale::Japanese},
        {0x70, QLocale::Greek},      {0x75, QLocale::Chinese},
    };
    return codes;
}

}  // namespace

quint16 CdTextPackCrc(QByteArrayView first16)
{
    quint16 crc = 0;
    for (const char c : first16) {
        crc ^= quint16(static_cast<unsigned char>(c) << 8);
        for (int bit = 0; bit < 8; ++bit)
            crc = (crc & 0x8000) ? quint16((crc << 1) ^ 0x1021) : quint16(crc << 1);
    }
    return quint16(~crc);
}

CdTextEntry CdTextBlock::track(int number) const
{
    const auto found = tracks.find(number);
    return found == tracks.end() ? CdTextEntry{} : found->second;
}

QLocale::Language CdTextBlock::language() const
{
    const auto found = languageCodes().find(languageCode);
    return found == languageCodes().end() ? QLocale::AnyLanguage : found->second;
}

const CdTextBlock &CdTextData::blockFor(QLocale::Language preferred) const
{
    for (const CdTextBlock &block : blocks) {
        if (block.language() == preferred)
            return block;
    }
    return blocks.front();
}

QLocale::Language CdTextLanguageFor(Translation::Language language)
{
    return language == Translation::Language::Japanese ? QLocale::Japanese : QLocale::English;
}

QString CdTextReason(CdTextUnreadable why)
{
    switch (why) {
    case CdTextUnreadable::AllDamaged:
        return QCoreApplication::translate("CdText", "CD-TEXT が壊れています（どのパックも CRC が合いません）");
    case CdTextUnreadable::NoText:
        return QCoreApplication::translate("CdText", "CD-TEXT に文字がありません");
    case CdTextUnreadable::NoPacks:
        break;
    }
    return QCoreApplication::translate("CdText", "CD-TEXT がありません");
}

std::optional<CdTextData> ReadCdText(QByteArrayView bytes, CdTextUnreadable *why)
{
    const auto refuse = [&](CdTextUnreadable reason) {
        if (why)
            *why = reason;
        return std::nullopt;
    };
    // With or without the header: whichever way more packs check out.
    const int bare = packsWithGoodCrc(bytes, 0);
    const qsizetype from = bytes.size() >= 4 && packsWithGoodCrc(bytes, 4) > bare ? 4 : 0;
    if (bytes.size() - from < kPackSize)
        return refuse(CdTextUnreadable::NoPacks);

    CdTextData data;
    std::array<std::vector<Pack>, kBlocks> textPacks;
    std::array<std::array<std::optional<QByteArrayView>, 3>, kBlocks> sizeInfo;
    std::array<bool, kBlocks> doubleByte{};
    int good = 0;
    for (qsizetype at = from; at + kPackSize <= bytes.size(); at += kPackSize) {
        const QByteArrayView raw = bytes.sliced(at, kPackSize);
        if (!crcMatches(raw)) {
            ++data.damagedPacks;
            continue;
        }
        ++good;
        const Pack pack = packAt(raw);
        if (pack.type == kSizeInfo && pack.track < 3)
            sizeInfo[pack.block][pack.track] = pack.text;
        else if (pack.type >= kTitle && pack.type <= kLastTextType && (pack.track & 0x80) == 0)
            textPacks[pack.block].push_back(pack);
        doubleByte[pack.block] = doubleByte[pack.block] || pack.doubleByte;
    }
    if (good == 0)
        return refuse(CdTextUnreadable::AllDamaged);

    // Every block's size info lists the languages of all eight.
    std::array<int, kBlocks> languages{};
    for (const auto &info : sizeInfo) {
        if (info[2]) {
            for (int i = 0; i < kBlocks; ++i)
                languages[i] = static_cast<unsigned char>((*info[2])[4 + i]);
            break;
        }
    }
    for (int b = 0; b < kBlocks; ++b) {
        if (textPacks[b].empty())
            continue;
        CdTextBlock block;
        block.number = b;
        block.languageCode = languages[b];
        if (sizeInfo[b][0])
            block.characterCode = static_cast<unsigned char>((*sizeInfo[b][0])[0]);
        else if (doubleByte[b])
            block.characterCode = CdTextBlock::kMsJis;
        std::map<int, FieldReader> readers;
        for (const Pack &pack : textPacks[b]) {
            auto reader = readers.find(pack.type);
            if (reader == readers.end())
                reader = readers.try_emplace(pack.type, block, pack.type).first;
            reader->second.feed(pack);
        }
        if (block.album != CdTextEntry{} || !block.tracks.empty())
            data.blocks.push_back(std::move(block));
    }
    if (data.blocks.empty())
        return refuse(CdTextUnreadable::NoText);
    return data;
}
