// SPDX-License-Identifier: GPL-3.0-or-later
#include "core/text/TextLines.h"

#include "core/text/TextCodec.h"

#include <QStringDecoder>

namespace TextLines {

QStringList split(QStringView text)
{
    QStringList lines;
    forEach(text, [&lines](QStringView line) { lines.append(line.toString()); });
    return lines;
}

QByteArrayView beforeFirstNul(QByteArrayView bytes)
{
    const qsizetype nul = bytes.indexOf('\0');
    return nul < 0 ? bytes : bytes.first(nul);
}

namespace {
constexpr char kUtf8Bom[] = "\xEF\xBB\xBF";
}

QStringList fromFileBytes(QByteArrayView bytes)
{
    bytes = beforeFirstNul(bytes);
    if (bytes.startsWith(kUtf8Bom)) {
        // After the mark, a U+FEFF is a character of the text.
        QStringDecoder utf8(QStringConverter::Utf8, QStringConverter::Flag::ConvertInitialBom);
        return split(QString(utf8.decode(bytes.sliced(3))));
    }
    return split(Cp932::decode(bytes));
}

QString oneLine(const QString &text)
{
    QString out = text;
    for (QChar &c : out) {
        if (c == u'\r' || c == u'\n' || c == u'\0')
            c = u' ';
    }
    return out;
}

QString withoutControls(QString text)
{
    for (QChar &c : text) {
        if (c.unicode() < 0x20 || c.unicode() == 0x7F)
            c = u' ';
    }
    return text;
}

namespace {

QString joined(const QStringList &lines)
{
    QString text;
    qsizetype total = 0;
    for (const QString &line : lines)
        total += line.size() + 2;
    text.reserve(total);
    for (const QString &line : lines) {
        text += line;
        text += QLatin1String("\r\n");
    }
    return text;
}

}  // namespace

QByteArray toFileBytes(const QStringList &lines)
{
    const QString text = joined(lines);
    QString held = text;
    held.replace(QChar(QChar::ReplacementCharacter), u'?');
    if (Cp932::canEncode(held))
        return Cp932::encode(held);
    return kUtf8Bom + text.toUtf8();
}

QByteArray toUtf8FileBytes(const QStringList &lines) { return kUtf8Bom + joined(lines).toUtf8(); }

}  // namespace TextLines
