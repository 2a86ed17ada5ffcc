#include "TextCodec.h"

#include <QStringDecoder>
#include <QStringEncoder>

#include <memory>

namespace Cp932 {
namespace {

constexpr auto kCodecName = "CP932";

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

// The bytes of one character, or nothing when code page 932 cannot hold it.
// A fresh encoder each time: after a failure the converter's error stays.
QByteArray encodeCharacter(QStringView ch)
{
    if (ch.size() == 1 && ch[0].unicode() < 0x80)
        return QByteArray(1, static_cast<char>(ch[0].unicode()));
    QStringEncoder encoder(kCodecName, QStringConverter::Flag::Stateless);
    QByteArray bytes = encoder.encode(ch);
    if (encoder.hasError())
        return {};
    return bytes;
}

}  // namespace

QString decode(QByteArrayView bytes)
{
    QStringDecoder decoder(kCodecName, QStringConverter::Flag::Stateless);
    QString text = decoder.decode(bytes);
    if (!decoder.hasError())
        return text;
    return decodeUnitByUnit(bytes);
}

QByteArray encode(QStringView text, char replacement)
{
    QStringEncoder encoder(kCodecName, QStringConverter::Flag::Stateless);
    QByteArray bytes = encoder.encode(text);
    if (!encoder.hasError())
        return bytes;

    // Some character cannot be held: encode character by character and put
    // the replacement in place of each one that fails.
    bytes.clear();
    bytes.reserve(text.size() * 2);
    for (qsizetype i = 0; i < text.size();) {
        const QStringView ch = characterAt(text, i);
        const QByteArray one = encodeCharacter(ch);
        if (one.isEmpty())
            bytes += replacement;
        else
            bytes += one;
        i += ch.size();
    }
    return bytes;
}

qsizetype firstUnencodable(QStringView text)
{
    QStringEncoder encoder(kCodecName, QStringConverter::Flag::Stateless);
    const QByteArray whole = encoder.encode(text);
    if (!encoder.hasError())
        return -1;
    for (qsizetype i = 0; i < text.size();) {
        const QStringView ch = characterAt(text, i);
        if (encodeCharacter(ch).isEmpty())
            return i;
        i += ch.size();
    }
    return -1;
}

}  // namespace Cp932
