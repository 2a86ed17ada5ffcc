// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QByteArray>
#include <QString>

// The data file "Pelora.dat": two lines taken verbatim, the artist prefix
// and the number suffix, in Shift-JIS, or UTF-8 after a byte-order mark
// when Shift-JIS cannot hold them (TextLines::toFileBytes). Nothing is
// trimmed; spaces at either end belong to the values.
struct DataFileValues
{
    QString artistPrefix;
    QString numberSuffix;

    friend bool operator==(const DataFileValues &, const DataFileValues &) = default;
};

// "  歌：" ("  by " in English) and ". ".
DataFileValues defaultDataFileValues();

// Line 1 is the prefix and line 2 the suffix; a value whose line is missing
// keeps its default, and further lines are ignored. Bytes after the first
// NUL are ignored.
DataFileValues parseDataFile(QByteArrayView bytes);

// A missing or unreadable file gives the defaults.
DataFileValues readDataFile(const QString &path);

// Both values, each followed by CR LF, replacing the file atomically; false
// when it cannot be written. A line break inside a value becomes a space.
bool writeDataFile(const QString &path, const DataFileValues &values, QString *why = nullptr);
