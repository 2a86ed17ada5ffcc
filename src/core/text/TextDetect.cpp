// SPDX-License-Identifier: GPL-3.0-or-later
#include "core/text/TextDetect.h"

#include "core/text/TextCodec.h"

#include <QStringDecoder>

#include <algorithm>
#include <optional>

// The rule, in order:
//  1. A UTF-8 byte-order mark: UTF-8. Only ASCII: ASCII.
//  2. In a fixed-width field that is full (ID3v1's 30 bytes), a character
//     cut at the very end is dropped before either reading is tried.
//  3. Strict UTF-8 and strict Shift-JIS (code page 932, and only when it
//     gives ordinary characters: no user-defined area, no C1 control) are
//     both tried. When just one of them reads the bytes, it is that one;
//     when neither does, Latin-1.
//  4. When both do: UTF-8 with a character from U+0800 up (kana, kanji and
//     the rest of its three- and four-byte forms) is UTF-8; Shift-JIS text
//     almost never forms those. Otherwise the UTF-8 reading is made of
//     two-byte characters only, which Shift-JIS half-width katakana (bytes
//     A1-DF) also make, "ﾄｷﾒｷ" = C4 B7 D2 B7 = "ķҷ". UTF-8 is then believed
//     only when it reads like European words: every non-ASCII character a
//     letter of one script (Latin, Greek or Cyrillic), in a text with a
//     word of three letters or more ("Björk", "Кино", but not "ķҷ" nor "ÃA",
//     which is "ﾃア"). Else the bytes are Shift-JIS.
namespace TextDetect {
namespace {

bool isAscii(QByteArrayView bytes)
{
    return std::all_of(bytes.begin(), bytes.end(), [](char c) { return static_cast<unsigned char>(c) < 0x80; });
}

// The bytes without a character that the end cut in two: a Shift-JIS lead
// byte, or the start of a UTF-8 sequence, missing the rest.
QByteArrayView withoutCutSjisEnd(QByteArrayView bytes)
{
    qsizetype i = 0;
    while (i < bytes.size()) {
        const auto c = static_cast<unsigned char>(bytes[i]);
        const bool lead = (c >= 0x81 && c <= 0x9F) || (c >= 0xE0 && c <= 0xFC);
        if (lead && i + 1 == bytes.size())
            return bytes.first(i);
        i += lead ? 2 : 1;
    }
    return bytes;
}

QByteArrayView withoutCutUtf8End(QByteArrayView bytes)
{
    // Back over at most three continuation bytes to the start of the last
    // sequence, and drop it when it announces more bytes than are there.
    qsizetype start = bytes.size();
    for (int back = 0; back < 4 && start > 0; ++back) {
        const auto c = static_cast<unsigned char>(bytes[--start]);
        if ((c & 0xC0) != 0x80) {
            const int length = c >= 0xF0 ? 4 : c >= 0xE0 ? 3 : c >= 0xC0 ? 2 : 1;
            return bytes.size() - start < length ? bytes.first(start) : bytes;
        }
    }
    return bytes;
}

std::optional<QString> strictUtf8(QByteArrayView bytes)
{
    QStringDecoder utf8(QStringDecoder::Utf8, QStringConverter::Flag::Stateless);
    QString text = utf8.decode(bytes);
    if (utf8.hasError())
        return std::nullopt;
    return text;
}

std::optional<QString> strictSjis(QByteArrayView bytes)
{
    QString text = Cp932::decode(bytes);
    for (const QChar c : text) {
        const char16_t u = c.unicode();
        if (u == QChar::ReplacementCharacter || (u >= 0x80 && u <= 0x9F) || (u >= 0xE000 && u <= 0xF8FF))
            return std::nullopt;
    }
    return text;
}

enum class Script { None, Latin, Greek, Cyrillic };

Script scriptOf(QChar c)
{
    const char16_t u = c.unicode();
    if (!c.isLetter())
        return Script::None;
    if ((u >= 0xC0 && u <= 0x24F) && u != 0xD7 && u != 0xF7)
        return Script::Latin;
    if (u >= 0x370 && u <= 0x3FF)
        return Script::Greek;
    if (u >= 0x400 && u <= 0x4FF)
        return Script::Cyrillic;
    return Script::None;
}

bool readsLikeEuropeanWords(const QString &text)
{
    Script script = Script::None;
    qsizetype word = 0;
    qsizetype longest = 0;
    for (const QChar c : text) {
        if (c.unicode() >= 0x80) {
            const Script s = scriptOf(c);
            if (s == Script::None || (script != Script::None && s != script))
                return false;
            script = s;
        }
        word = c.isLetter() ? word + 1 : 0;
        longest = std::max(longest, word);
    }
    return longest >= 3;
}

}  // namespace

QString decode(QByteArrayView bytes, bool mayBeCut)
{
    if (bytes.startsWith("\xEF\xBB\xBF")) {
        QStringDecoder utf8(QStringConverter::Utf8, QStringConverter::Flag::ConvertInitialBom);
        return QString(utf8.decode(bytes.sliced(3)));
    }
    if (isAscii(bytes))
        return QString::fromLatin1(bytes);

    const std::optional<QString> utf8 = strictUtf8(mayBeCut ? withoutCutUtf8End(bytes) : bytes);
    const std::optional<QString> sjis = strictSjis(mayBeCut ? withoutCutSjisEnd(bytes) : bytes);
    if (utf8 && sjis) {
        const bool wide = std::any_of(utf8->begin(), utf8->end(), [](QChar c) { return c.unicode() >= 0x800; });
        return wide || readsLikeEuropeanWords(*utf8) ? *utf8 : *sjis;
    }
    if (utf8)
        return *utf8;
    if (sjis)
        return *sjis;
    return QString::fromLatin1(bytes);
}

}  // namespace TextDetect
