// SPDX-License-Identifier: GPL-3.0-or-later
#include "core/text/TextCodec.h"

#include <QStringDecoder>
#include <QStringEncoder>

#include <memory>

namespace Cp932 {
namespace {

constexpr auto kCodecName = "CP932";

// The converter behind "CP932" is IBM's, which swaps three control codes
// (0x1A, 0x1C, 0x7F) around; Windows keeps every byte below 0x80 as itself.
bool hasSwappedControls(QByteArrayView bytes)
{
    return bytes.contains('\x1A') || bytes.contains('\x1C') || bytes.contains('\x7F');
}

bool hasSwappedControls(QStringView text)
{
    return text.contains(QChar(0x1A)) || text.contains(QChar(0x1C)) || text.contains(QChar(0x7F));
}

// What the converter made of 0x1A, 0x1C and 0x7F, back to themselves.
void restoreDecodedControls(QString &text)
{
    for (QChar &c : text) {
        switch (c.unicode()) {
        case 0x1C: c = QChar(0x1A); break;
        case 0x7F: c = QChar(0x1C); break;
        case 0x1A: c = QChar(0x7F); break;
        default: break;
        }
    }
}

// The characters the converter turns into 0x1A, 0x1C and 0x7F.
QString prepareControlsForEncoding(QStringView text)
{
    QString out = text.toString();
    for (QChar &c : out) {
        switch (c.unicode()) {
        case 0x1A: c = QChar(0x1C); break;
        case 0x1C: c = QChar(0x7F); break;
        case 0x7F: c = QChar(0x1A); break;
        default: break;
        }
    }
    return out;
}

bool isLeadByte(unsigned char c) { return (c >= 0x81 && c <= 0x9F) || (c >= 0xE0 && c <= 0xFC); }
bool isTrailByte(unsigned char c) { return c >= 0x40 && c <= 0xFC && c != 0x7F; }

// Length of the code unit that starts at bytes[i]: 2 for a lead byte with a
// proper trail byte, else 1.
qsizetype unitLength(QByteArrayView bytes, qsizetype i)
{
    const auto c = static_cast<unsigned char>(bytes[i]);
    if (isLeadByte(c) && i + 1 < bytes.size() && isTrailByte(static_cast<unsigned char>(bytes[i + 1])))
        return 2;
    return 1;
}

// Slow path, used only when the whole-buffer decode reported an error:
// decode unit by unit so that only the faulty units become U+FFFD.
QString decodeUnitByUnit(QByteArrayView bytes)
{
    QString out;
    out.reserve(bytes.size());
    auto decoder = std::make_unique<QStringDecoder>(kCodecName, QStringConverter::Flag::Stateless);
    qsizetype i = 0;
    while (i < bytes.size()) {
        const auto c = static_cast<unsigned char>(bytes[i]);
        if (c < 0x80) {
            qsizetype run = i + 1;
            while (run < bytes.size() && static_cast<unsigned char>(bytes[run]) < 0x80)
                ++run;
            out += QString::fromLatin1(bytes.sliced(i, run - i));
            i = run;
            continue;
        }
        if (c >= 0xA1 && c <= 0xDF) {  // half-width katakana
            out += QChar(0xFF61 + (c - 0xA1));
            ++i;
            continue;
        }
        if (unitLength(bytes, i) == 1) {  // a lone lead byte or an undefined byte
            out += QChar::ReplacementCharacter;
            ++i;
            continue;
        }
        const QString unit = decoder->decode(bytes.sliced(i, 2));
        if (decoder->hasError() || unit.size() != 1 || unit[0] == QChar(0x1A)) {
            out += QChar::ReplacementCharacter;
            // An ASCII second byte is a character of its own, not part of
            // the broken pair.
            i += static_cast<unsigned char>(bytes[i + 1]) < 0x80 ? 1 : 2;
            decoder = std::make_unique<QStringDecoder>(kCodecName, QStringConverter::Flag::Stateless);
            continue;
        }
        out += unit;
        i += 2;
    }
    return out;
}

// One character at i: a whole surrogate pair, or one code unit.
QStringView characterAt(QStringView text, qsizetype i)
{
    const bool pair = text[i].isHighSurrogate() && i + 1 < text.size() && text[i + 1].isLowSurrogate();
    return text.sliced(i, pair ? 2 : 1);
}

// Encodes one character at a time, for texts that hold something code page
// 932 cannot: ASCII is copied as it is, and the converter is replaced only
// after a failure, since its error state stays set.
class CharacterEncoder
{
public:
    // Appends the character's bytes; false when it cannot be held.
    bool append(QStringView ch, QByteArray &out)
    {
        if (ch.size() == 1 && ch[0].unicode() < 0x80) {
            out += static_cast<char>(ch[0].unicode());
            return true;
        }
        const QByteArray bytes = m_encoder->encode(ch);
        if (m_encoder->hasError() || bytes.isEmpty() || decode(bytes) != ch) {
            m_encoder = std::make_unique<QStringEncoder>(kCodecName, QStringConverter::Flag::Stateless);
            return false;
        }
        out += bytes;
        return true;
    }

private:
    std::unique_ptr<QStringEncoder> m_encoder =
        std::make_unique<QStringEncoder>(kCodecName, QStringConverter::Flag::Stateless);
};

// Encodes the whole text at once; false when something cannot be held. A
// character is held when it comes back as itself: the converter drops some
// (U+FEFF) and maps others to a look-alike ("¬" to "￢") without an error.
bool encodeWhole(QStringView text, QByteArray &out)
{
    QStringEncoder encoder(kCodecName, QStringConverter::Flag::Stateless);
    out = hasSwappedControls(text) ? QByteArray(encoder.encode(prepareControlsForEncoding(text)))
                                   : QByteArray(encoder.encode(text));
    return !encoder.hasError() && decode(out) == text;
}

}  // namespace

QString decode(QByteArrayView bytes)
{
    QStringDecoder decoder(kCodecName, QStringConverter::Flag::Stateless);
    QString text = decoder.decode(bytes);
    if (decoder.hasError())
        return decodeUnitByUnit(bytes);
    if (hasSwappedControls(bytes))
        restoreDecodedControls(text);
    return text;
}

QByteArray encode(QStringView text, char replacement)
{
    QByteArray bytes;
    if (encodeWhole(text, bytes))
        return bytes;
    // Some character cannot be held: put the replacement in its place.
    bytes.clear();
    bytes.reserve(text.size() * 2);
    CharacterEncoder encoder;
    for (qsizetype i = 0; i < text.size();) {
        const QStringView ch = characterAt(text, i);
        if (!encoder.append(ch, bytes))
            bytes += replacement;
        i += ch.size();
    }
    return bytes;
}

qsizetype firstUnencodable(QStringView text)
{
    QByteArray bytes;
    if (encodeWhole(text, bytes))
        return -1;
    CharacterEncoder encoder;
    for (qsizetype i = 0; i < text.size();) {
        const QStringView ch = characterAt(text, i);
        if (!encoder.append(ch, bytes))
            return i;
        i += ch.size();
    }
    return -1;
}

}  // namespace Cp932
