// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QByteArray>
#include <QList>
#include <QString>

#include <functional>
#include <optional>

// The settings file "Pelora.ini": sections of key=value lines in Shift-JIS,
// held whole in memory, changed there and rewritten whole on save.
//
// Section names and keys compare without regard to letter case; when one
// occurs twice, the later one is found (and is the one a write replaces).
// Reading never fails: a missing file, a missing key or a value that makes
// no sense gives the caller's default.
//
// A value Shift-JIS cannot hold (a product "Müller CD-2", an emoji) is kept
// whole in a twin of its key: "key.utf8=" and the value's UTF-8 bytes
// percent-encoded, so the line stays ASCII:
//
//   [Paper]
//   pelora-pdf.Product.utf8=M%C3%BCller%20CD-2
//
// So a value reads back exactly as written, whatever characters it holds,
// as long as it is one line without surrounding blanks (which are lost in
// either form). A key holds its value in one form only: writing a value Shift-JIS can
// hold writes "key=value" exactly as it always was written and removes a
// twin; writing any other value writes the twin and removes "key=", so
// that a reader that knows no twins (an earlier version) skips the entry
// and takes its default, instead of a value with "?" for what was lost.
// When a file holds both forms of a key, the plain one was written after
// the twin by such a reader or by hand, and is the one read. Keys ending
// in ".utf8" are taken for twins. Section names and keys themselves are
// written in Shift-JIS ("?" for what it cannot hold); the program's are ASCII.
class SettingsFile
{
public:
    SettingsFile() = default;

    // Bytes after the first NUL are ignored; bytes that are not valid
    // Shift-JIS become U+FFFD.
    static SettingsFile fromBytes(QByteArrayView shiftJisBytes);
    // A missing or unreadable file, or a folder, gives a file with no entries.
    static SettingsFile load(const QString &path);

    // Each section as "[name]", its lines, then an empty line; CR LF after
    // every line. A file with no sections is empty.
    QByteArray toBytes() const;
    // Replaces the file atomically, never through a link; false, with the
    // reason in `why`, when it cannot be written.
    bool save(const QString &path, QString *why = nullptr) const;
    // Loads the file, lets `change` write into it and saves it: the other
    // entries stay as they are.
    static bool update(const QString &path, const std::function<void(SettingsFile &)> &change, QString *why = nullptr);

    // A whole number, decimal or hexadecimal ("0x", "0X" or "$" before the
    // digits), optionally signed, that fits in 32 bits: nonzero is true.
    // Anything else gives the default.
    bool readBool(const QString &section, const QString &key, bool defaultValue) const;
    // Whether the section holds the key, in either form.
    bool contains(const QString &section, const QString &key) const { return findValue(section, key).has_value(); }
    // The value as stored, trimmed of surrounding blanks (a twin's too).
    QString readString(const QString &section, const QString &key, const QString &defaultValue) const;

    // "1" or "0".
    void writeBool(const QString &section, const QString &key, bool value);
    // Replaces the entry where it stands (taking this write's spelling of the
    // key), else the entry of its other form, else appends it to the
    // section, else appends a new section at the end of the file. Line
    // breaks and NULs in the texts become spaces, since they could not be
    // read back from a plain entry.
    void writeString(const QString &section, const QString &key, const QString &value);

private:
    // A piece of m_text. Parsed lines point into the decoded file; written
    // keys and values are appended to it, so a huge file costs no more than
    // its text plus a few words per line.
    struct Span
    {
        qsizetype pos = 0;
        qsizetype size = 0;
    };
    // An entry, or (value.pos < 0) a line without "=" kept as it was.
    struct Line
    {
        Span key;
        Span value;
        bool isEntry() const { return value.pos >= 0; }
    };
    struct Section
    {
        Span name;
        QList<Line> lines;
    };

    QStringView view(Span span) const { return QStringView(m_text).sliced(span.pos, span.size); }
    Span store(QStringView text);
    qsizetype findSection(QStringView name) const;
    qsizetype findEntry(const Section &section, QStringView key) const;
    // The value of the key's plain entry, else of its twin, decoded.
    std::optional<QString> findValue(const QString &section, const QString &key) const;

    QString m_text;
    QList<Section> m_sections;
};
