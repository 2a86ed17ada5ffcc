// SPDX-License-Identifier: GPL-3.0-or-later
#include "core/settings/DataFile.h"

#include "core/files/OwnedFiles.h"
#include "core/text/TextCodec.h"
#include "core/text/TextLines.h"

#include <QCoreApplication>
#include <QFile>
#include <QFileInfo>

namespace {

// The bytes up to and including the second line break. CR and LF never
// occur inside a Shift-JIS or UTF-8 character, so the bytes can be cut
// before decoding, and a huge file costs no more than its first two lines.
QByteArrayView firstTwoLines(QByteArrayView bytes)
{
    int breaks = 0;
    for (qsizetype i = 0; i < bytes.size(); ++i) {
        const char c = bytes[i];
        if (c != '\r' && c != '\n')
            continue;
        if (c == '\r' && i + 1 < bytes.size() && bytes[i + 1] == '\n')
            ++i;
        if (++breaks == 2)
            return bytes.first(i + 1);
    }
    return bytes;
}

}  // namespace

DataFileValues defaultDataFileValues()
{
    // The prefix is the desktop's language ("  by " in English) until the
    // user picks one; a saved choice is kept as it is.
    return {QCoreApplication::translate("DataFile", "  歌："), QStringLiteral(". ")};
}

DataFileValues parseDataFile(QByteArrayView bytes)
{
    const QStringList lines = TextLines::fromFileBytes(firstTwoLines(TextLines::beforeFirstNul(bytes)));
    DataFileValues values = defaultDataFileValues();
    if (lines.size() >= 1)
        values.artistPrefix = lines[0];
    if (lines.size() >= 2)
        values.numberSuffix = lines[1];
    return values;
}

DataFileValues readDataFile(const QString &path)
{
    if (!QFileInfo(path).isFile())
        return defaultDataFileValues();
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly))
        return defaultDataFileValues();
    return parseDataFile(file.readAll());
}

bool writeDataFile(const QString &path, const DataFileValues &values, QString *why)
{
    const QString error =
        OwnedFiles::write(path, TextLines::toFileBytes({TextLines::oneLine(values.artistPrefix), TextLines::oneLine(values.numberSuffix)}));
    if (why)
        *why = error;
    return error.isEmpty();
}
