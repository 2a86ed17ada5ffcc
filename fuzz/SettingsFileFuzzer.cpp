// SPDX-License-Identifier: GPL-3.0-or-later
// Settings file reader and writer on arbitrary bytes. Besides not crashing,
// checks that a read file saves to a fixed point (reading the saved bytes
// and saving again gives the same bytes) and that written values are found
// again after a save.
#include "core/settings/PrintPositions.h"
#include "core/settings/SettingsFile.h"

#include <QByteArray>
#include <QString>

#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include "FuzzCheck.h"


extern "C" int LLVMFuzzerTestOneInput(const uint8_t *data, size_t size)
{
    const QByteArrayView input(reinterpret_cast<const char *>(data), static_cast<qsizetype>(size));
    SettingsFile ini = SettingsFile::fromBytes(input);

    // What start-up reads.
    const QString upper = QStringLiteral("Opsion");
    const QString lower = QStringLiteral("opsion");
    const bool artist = ini.readBool(upper, QStringLiteral("artistplus"), true);
    const bool time = ini.readBool(upper, QStringLiteral("tsecplus"), true);
    const bool confirmAll = ini.readBool(upper, QStringLiteral("alldelconf"), true);
    const bool confirm = ini.readBool(upper, QStringLiteral("delconf"), true);
    const bool plusNum = ini.readBool(lower, QStringLiteral("plusnum"), true);
    const bool ext = ini.readBool(lower, QStringLiteral("ext"), true);
    const bool acqTag = ini.readBool(lower, QStringLiteral("acqtag"), true);
    const bool editor = ini.readBool(lower, QStringLiteral("ModeM"), false);
    const QString titleSize = ini.readString(lower, QStringLiteral("TFsize"), QStringLiteral("17"));
    const QString itemSize = ini.readString(lower, QStringLiteral("Fsize"), QStringLiteral("14"));
    // A printer's correction is always one the user could have entered, and
    // comes back as it was written.
    const QString printer = QStringLiteral("q/inst");
    const PrintCorrection correction = PrintPositions::read(ini, printer);
    check(PrintCorrection::offsetFrom(correction.offsetXMm) == correction.offsetXMm
          && PrintCorrection::offsetFrom(correction.offsetYMm) == correction.offsetYMm
          && PrintCorrection::scaleFrom(correction.scalePercent) == correction.scalePercent);

    const QByteArray saved = ini.toBytes();
    check(SettingsFile::fromBytes(saved).toBytes() == saved);

    // What shut-down writes; the read values go back unchanged.
    ini.writeBool(upper, QStringLiteral("artistplus"), artist);
    ini.writeBool(upper, QStringLiteral("tsecplus"), time);
    ini.writeString(upper, QStringLiteral("backofnum"), QStringLiteral(". "));
    ini.writeBool(upper, QStringLiteral("alldelconf"), confirmAll);
    ini.writeBool(upper, QStringLiteral("delconf"), confirm);
    ini.writeBool(upper, QStringLiteral("plusnum"), plusNum);
    ini.writeBool(upper, QStringLiteral("ext"), ext);
    ini.writeBool(upper, QStringLiteral("acqtag"), acqTag);
    ini.writeBool(lower, QStringLiteral("ModeM"), editor);
    ini.writeString(lower, QStringLiteral("TFsize"), titleSize);
    ini.writeString(lower, QStringLiteral("Fsize"), itemSize);
    PrintPositions::write(ini, printer, correction);

    const QByteArray written = ini.toBytes();
    const SettingsFile reread = SettingsFile::fromBytes(written);
    check(reread.readBool(upper, QStringLiteral("artistplus"), !artist) == artist);
    check(reread.readBool(lower, QStringLiteral("delconf"), !confirm) == confirm);
    check(reread.readBool(upper, QStringLiteral("ModeM"), !editor) == editor);
    check(reread.readString(lower, QStringLiteral("backofnum"), QString()) == QStringLiteral("."));
    check(PrintPositions::read(reread, printer) == correction);
    // Text read from the file is one line without surrounding blanks, so it
    // comes back exactly (a U+FFFD of broken bytes too, in the key's twin).
    check(reread.readString(upper, QStringLiteral("TFSIZE"), QString()) == titleSize);
    return 0;
}
