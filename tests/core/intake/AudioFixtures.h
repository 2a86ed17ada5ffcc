// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

// Writers for what no Debian tool makes: RIFF containers (WAV with LIST/INFO
// or an "id3 " chunk, RMP3) and ID3v2 tags of a chosen version and text
// encoding. The audio inside them comes from sox and lame.

#include <QByteArray>
#include <QList>
#include <QStringEncoder>
#include <QtEndian>

#include <utility>

namespace AudioFixtures {

inline QByteArray le32(quint32 value)
{
    QByteArray bytes(4, '\0');
    qToLittleEndian(value, bytes.data());
    return bytes;
}

// `size` overrides the size field; `pad` false leaves out the pad byte after
// an odd body, as careless writers did.
inline QByteArray chunk(QByteArrayView id, const QByteArray &body, qint64 size = -1, bool pad = true)
{
    const QByteArray bytes = id.toByteArray() + le32(quint32(size < 0 ? body.size() : size)) + body;
    return pad && body.size() % 2 ? bytes + '\0' : bytes;
}

inline QByteArray riff(QByteArrayView form, const QByteArray &chunks)
{
    return "RIFF" + le32(quint32(4 + chunks.size())) + form.toByteArray() + chunks;
}

// LIST/INFO with NUL-terminated texts, as Windows wrote them.
inline QByteArray infoList(const QList<std::pair<QByteArray, QByteArray>> &fields)
{
    QByteArray body = "INFO";
    for (const auto &[id, text] : fields)
        body += chunk(id, text + '\0');
    return chunk("LIST", body);
}

// One chunk of sox's WAV ("fmt ", "data"), header included.
inline QByteArray chunkOf(const QByteArray &file, QByteArrayView id)
{
    for (qsizetype pos = 12; pos + 8 <= file.size();) {
        const quint32 size = qFromLittleEndian<quint32>(file.constData() + pos + 4);
        if (QByteArrayView(file).sliced(pos, 4) == id)
            return chunk(id, file.mid(pos + 8, size));
        pos += 8 + size + (size & 1);
    }
    return {};
}

// Big-endian with 8 bits a byte, or 7 ("sync-safe").
inline QByteArray bigEndian(quint32 value, int width, int bits = 8)
{
    QByteArray bytes(width, '\0');
    for (int i = width - 1; i >= 0; --i, value >>= bits)
        bytes[i] = char(value & ((1u << bits) - 1));
    return bytes;
}

inline QByteArray utf16(const QString &text, bool bigEndianWithoutBom = false)
{
    if (bigEndianWithoutBom)
        return QStringEncoder(QStringConverter::Utf16BE)(text);
    return "\xFF\xFE" + QByteArray(QStringEncoder(QStringConverter::Utf16LE)(text));
}

// encoding: 0 Latin-1, 1 UTF-16 with BOM, 2 UTF-16BE, 3 UTF-8.
struct Id3Frame
{
    QByteArray id;  // "TIT2", "TPE1"; "TT2", "TP1" in version 2
    char encoding;
    QByteArray text;
};

// An ID3v2.`major` tag; `declaredSize` overrides the tag's size.
inline QByteArray id3v2(int major, const QList<Id3Frame> &frames, qint64 declaredSize = -1)
{
    QByteArray body;
    for (const Id3Frame &frame : frames) {
        const QByteArray content = frame.encoding + frame.text;
        body += frame.id + bigEndian(quint32(content.size()), major == 2 ? 3 : 4, major == 4 ? 7 : 8)
            + QByteArray(major == 2 ? 0 : 2, '\0') + content;
    }
    body += QByteArray(16, '\0');  // padding, as taggers leave it
    return "ID3" + QByteArray(1, char(major)) + QByteArray(2, '\0')
        + bigEndian(quint32(declaredSize < 0 ? body.size() : declaredSize), 4, 7) + body;
}

// An ID3v2.3 APIC frame's body after its text encoding; type 3 is the front cover.
inline QByteArray apic(char type, const QByteArray &picture) { return "image/png" + QByteArray(1, '\0') + type + '\0' + picture; }

// An ID3v1 tag: fixed fields padded with NULs (a full field has none).
inline QByteArray id3v1(const QByteArray &title, const QByteArray &artist)
{
    const auto field = [](const QByteArray &text, int width) { return text.left(width).leftJustified(width, '\0'); };
    return "TAG" + field(title, 30) + field(artist, 30) + field({}, 30) + field({}, 4) + field({}, 30) + '\xFF';
}

}  // namespace AudioFixtures
