// SPDX-License-Identifier: GPL-3.0-or-later
#include "core/settings/SettingsFile.h"

#include "core/files/OwnedFiles.h"
#include "core/text/TextCodec.h"
#include "core/text/TextLines.h"

#include <QFile>
#include <QFileInfo>
#include <QUrl>

#include <optional>

namespace {

// What a key's twin, the lossless form of its value, is called after.
constexpr QLatin1StringView kTwin(".utf8");

QString twinOf(const QString &key) { return key + kTwin; }

// A value as its twin holds it: UTF-8, percent-encoded to plain ASCII
// (letters, digits and "-._~" stay as they are).
QString toTwin(const QString &value) { return QString::fromLatin1(QUrl::toPercentEncoding(value)); }

// Blanks and control characters, the characters trimmed from every line.
bool isBlank(QChar c) { return c.unicode() <= 0x20 || c.unicode() == 0x7F; }

// [begin, end) of `text` without surrounding blanks.
void trim(QStringView text, qsizetype &begin, qsizetype &end)
{
    while (begin < end && isBlank(text[begin]))
        ++begin;
    while (end > begin && isBlank(text[end - 1]))
        --end;
}

// A twin's value back, read as a plain one is: one line, without
// surrounding blanks. Bytes that are no UTF-8 (a hand edit) become U+FFFD.
QString fromTwin(QStringView twin)
{
    const QString text = TextLines::oneLine(QString::fromUtf8(QByteArray::fromPercentEncoding(twin.toUtf8())));
    qsizetype begin = 0;
    qsizetype end = text.size();
    trim(text, begin, end);
    return text.sliced(begin, end - begin);
}

// Case-insensitive equality. Keys are ASCII in practice, so that case is
// done inline; anything else is left to Qt's case folding.
bool sameName(QStringView a, QStringView b)
{
    if (a.size() != b.size())
        return false;
    for (qsizetype i = 0; i < a.size(); ++i) {
        const char16_t x = a[i].unicode();
        const char16_t y = b[i].unicode();
        if (x == y)
            continue;
        if (x >= 0x80 || y >= 0x80)
            return a.compare(b, Qt::CaseInsensitive) == 0;
        const auto lower = [](char16_t c) { return (c >= u'A' && c <= u'Z') ? char16_t(c + 32) : c; };
        if (lower(x) != lower(y))
            return false;
    }
    return true;
}

// Nonzero-ness of a whole number, or nothing when the text is not one. Only
// zero versus nonzero matters, but a number too large for 32 bits is treated
// as garbage rather than silently truncated.
std::optional<bool> wholeNumberIsNonZero(QStringView text)
{
    qsizetype i = 0;
    const qsizetype n = text.size();
    bool negative = false;
    if (i < n && (text[i] == u'+' || text[i] == u'-')) {
        negative = text[i] == u'-';
        ++i;
    }
    unsigned base = 10;
    if (i < n && text[i] == u'$') {
        base = 16;
        ++i;
    } else if (i + 1 < n && text[i] == u'0' && (text[i + 1] == u'x' || text[i + 1] == u'X')) {
        base = 16;
        i += 2;
    }
    if (i == n)
        return std::nullopt;
    // Hexadecimal is a bit pattern and may use all 32 bits.
    const quint64 limit = base == 16 ? 0xFFFFFFFFu : (negative ? 0x80000000u : 0x7FFFFFFFu);
    quint64 magnitude = 0;
    for (; i < n; ++i) {
        const char16_t c = text[i].unicode();
        unsigned digit;
        if (c >= u'0' && c <= u'9')
            digit = c - u'0';
        else if (base == 16 && c >= u'a' && c <= u'f')
            digit = c - u'a' + 10;
        else if (base == 16 && c >= u'A' && c <= u'F')
            digit = c - u'A' + 10;
        else
            return std::nullopt;
        magnitude = magnitude * base + digit;
        if (magnitude > limit)
            return std::nullopt;
    }
    return magnitude != 0;
}

}  // namespace

SettingsFile SettingsFile::fromBytes(QByteArrayView shiftJisBytes)
{
    SettingsFile file;
    file.m_text = Cp932::decode(TextLines::beforeFirstNul(shiftJisBytes));
    const QStringView text(file.m_text);
    const qsizetype n = text.size();

    // Walk the lines in place (CR LF, CR or LF) rather than splitting them
    // into strings: a big file would otherwise cost an allocation per line.
    qsizetype lineStart = 0;
    while (lineStart < n) {
        qsizetype lineEnd = lineStart;
        while (lineEnd < n && text[lineEnd] != u'\r' && text[lineEnd] != u'\n')
            ++lineEnd;
        qsizetype next = lineEnd + 1;
        if (lineEnd < n && text[lineEnd] == u'\r' && next < n && text[next] == u'\n')
            ++next;

        qsizetype b = lineStart;
        qsizetype e = lineEnd;
        lineStart = next;
        trim(text, b, e);
        if (b == e || text[b] == u';')
            continue;

        if (e - b >= 2 && text[b] == u'[' && text[e - 1] == u']') {
            qsizetype nb = b + 1;
            qsizetype ne = e - 1;
            trim(text, nb, ne);
            file.m_sections.append(Section{Span{nb, ne - nb}, {}});
            continue;
        }
        if (file.m_sections.isEmpty())
            continue;  // before the first section

        Line line;
        const qsizetype eq = text.sliced(b, e - b).indexOf(u'=');
        if (eq < 0) {
            line.key = Span{b, e - b};
            line.value = Span{-1, 0};
        } else {
            qsizetype kb = b;
            qsizetype ke = b + eq;
            qsizetype vb = b + eq + 1;
            qsizetype ve = e;
            trim(text, kb, ke);
            trim(text, vb, ve);
            line.key = Span{kb, ke - kb};
            line.value = Span{vb, ve - vb};
        }
        file.m_sections.last().lines.append(line);
    }
    return file;
}

SettingsFile SettingsFile::load(const QString &path)
{
    if (!QFileInfo(path).isFile())
        return {};
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly))
        return {};
    return fromBytes(file.readAll());
}

QByteArray SettingsFile::toBytes() const
{
    qsizetype total = 0;
    for (const Section &section : m_sections) {
        total += section.name.size + 6;
        for (const Line &line : section.lines)
            total += line.key.size + line.value.size + 3;
    }
    QString text;
    text.reserve(total);
    const QLatin1String crLf("\r\n");
    for (const Section &section : m_sections) {
        text += u'[';
        text += view(section.name);
        text += u']';
        text += crLf;
        for (const Line &line : section.lines) {
            text += view(line.key);
            if (line.isEntry()) {
                text += u'=';
                text += view(line.value);
            }
            text += crLf;
        }
        text += crLf;
    }
    return Cp932::encode(text);
}

bool SettingsFile::save(const QString &path, QString *why) const
{
    const QString error = OwnedFiles::write(path, toBytes());
    if (why)
        *why = error;
    return error.isEmpty();
}

bool SettingsFile::update(const QString &path, const std::function<void(SettingsFile &)> &change, QString *why)
{
    SettingsFile file = load(path);
    change(file);
    return file.save(path, why);
}

qsizetype SettingsFile::findSection(QStringView name) const
{
    for (qsizetype i = m_sections.size() - 1; i >= 0; --i) {
        if (sameName(view(m_sections[i].name), name))
            return i;
    }
    return -1;
}

qsizetype SettingsFile::findEntry(const Section &section, QStringView key) const
{
    for (qsizetype i = section.lines.size() - 1; i >= 0; --i) {
        const Line &line = section.lines[i];
        if (line.isEntry() && sameName(view(line.key), key))
            return i;
    }
    return -1;
}

std::optional<QString> SettingsFile::findValue(const QString &section, const QString &key) const
{
    const qsizetype s = findSection(section);
    if (s < 0)
        return std::nullopt;
    const Section &found = m_sections[s];
    if (const qsizetype l = findEntry(found, key); l >= 0)
        return view(found.lines[l].value).toString();
    if (const qsizetype l = findEntry(found, twinOf(key)); l >= 0)
        return fromTwin(view(found.lines[l].value));
    return std::nullopt;
}

bool SettingsFile::readBool(const QString &section, const QString &key, bool defaultValue) const
{
    const std::optional<QString> value = findValue(section, key);
    if (!value)
        return defaultValue;
    return wholeNumberIsNonZero(*value).value_or(defaultValue);
}

QString SettingsFile::readString(const QString &section, const QString &key, const QString &defaultValue) const
{
    return findValue(section, key).value_or(defaultValue);
}

void SettingsFile::writeBool(const QString &section, const QString &key, bool value)
{
    writeString(section, key, value ? QStringLiteral("1") : QStringLiteral("0"));
}

SettingsFile::Span SettingsFile::store(QStringView text)
{
    const Span span{m_text.size(), text.size()};
    m_text += text;
    return span;
}

void SettingsFile::writeString(const QString &section, const QString &key, const QString &value)
{
    const QString sectionName = TextLines::oneLine(section);
    const QString plainKey = TextLines::oneLine(key);
    QString valueText = TextLines::oneLine(value);
    // A U+FFFD too goes into the twin: written plain it would become "?".
    const bool plain = Cp932::canEncode(valueText);
    const QString twinKey = twinOf(plainKey);
    const QString &keyText = plain ? plainKey : twinKey;
    const QString &otherKey = plain ? twinKey : plainKey;
    if (!plain)
        valueText = toTwin(valueText);

    qsizetype s = findSection(sectionName);
    if (s < 0) {
        m_sections.append(Section{store(sectionName), {}});
        s = m_sections.size() - 1;
    }
    Section &target = m_sections[s];
    // The key's other form goes; the entry takes the place of its last one.
    qsizetype l = findEntry(target, keyText);
    for (qsizetype i = target.lines.size() - 1; i >= 0; --i) {
        const Line &line = target.lines[i];
        if (!line.isEntry() || !sameName(view(line.key), otherKey))
            continue;
        if (l < 0) {
            l = i;
            target.lines[i].key = store(keyText);
        } else {
            target.lines.removeAt(i);
            if (i < l)
                --l;
        }
    }
    if (l < 0) {
        const Span k = store(keyText);
        target.lines.append(Line{k, store(valueText)});
        return;
    }
    // Rewriting the same text again and again must not grow the buffer.
    Line &line = target.lines[l];
    if (view(line.key) != keyText)
        line.key = store(keyText);
    if (view(line.value) != valueText)
        line.value = store(valueText);
}
