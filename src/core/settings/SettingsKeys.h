// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "core/settings/SettingsFile.h"
#include "core/layout/JacketLayout.h"

#include <QString>
#include <QUrl>

#include <optional>

// The program settings in the settings file: their keys and the values a
// file without them gives. The window reads and writes them all; the
// command line reads those that shape a jacket, as the window starts with.
namespace SettingsKeys {

// The file's one section, in the two spellings its keys have always been
// read and written with; section names compare without regard to case.
inline const QString kUpperSection = QStringLiteral("Opsion");
inline const QString kLowerSection = QStringLiteral("opsion");

struct Flag
{
    QString key;
    bool defaultValue;
    bool readFrom(const SettingsFile &file, const QString &section) const { return file.readBool(section, key, defaultValue); }
};

struct Text
{
    QString key;
    QString defaultValue;
    QString readFrom(const SettingsFile &file, const QString &section) const { return file.readString(section, key, defaultValue); }
};

inline const Flag kArtistPlus{QStringLiteral("artistplus"), true};
inline const Flag kTimePlus{QStringLiteral("tsecplus"), true};
// Written only: the number suffix is read from the data file.
inline const QString kNumberSuffix = QStringLiteral("backofnum");
inline const Flag kConfirmDeleteAll{QStringLiteral("alldelconf"), true};
inline const Flag kConfirmDelete{QStringLiteral("delconf"), true};
inline const Flag kPlusNum{QStringLiteral("plusnum"), true};
inline const Flag kExtension{QStringLiteral("ext"), true};
inline const Flag kAcquireTags{QStringLiteral("acqtag"), true};
inline const Flag kCoverArt{QStringLiteral("coverart"), true};
inline const Flag kEditorMode{QStringLiteral("ModeM"), false};
inline const Text kTitleSize{QStringLiteral("TFsize"), QString::number(JacketGeometry::kDefaultTitleSize)};
inline const Text kItemSize{QStringLiteral("Fsize"), QString::number(JacketGeometry::kDefaultItemSize)};
// How plain paper shows where to cut: written once it differs from the default.
inline const Text kMarks{QStringLiteral("marks"), QStringLiteral("dashed")};
// Whether discs may be looked up on MusicBrainz and the Cover Art Archive:
// "ask" until the user answers, then "yes" or "no"; written once it
// differs from the default.
inline const Text kLookups{QStringLiteral("lookup"), QStringLiteral("ask")};
// The two services' addresses, for a mirror: read only, and
// PELORA_MUSICBRAINZ_URL and PELORA_COVERART_URL come first.
inline const Text kMusicBrainzUrl{QStringLiteral("mburl"), QString()};
inline const Text kCoverArtUrl{QStringLiteral("caaurl"), QString()};

// The marks on plain paper by the names the settings file and the command line use.
inline std::optional<FaceMarks> marksNamed(const QString &name)
{
    if (name == QLatin1String("dashed"))
        return FaceMarks::CutLines;
    if (name == QLatin1String("crop"))
        return FaceMarks::CropMarks;
    if (name == QLatin1String("none"))
        return FaceMarks::None;
    return std::nullopt;
}
inline QString nameOf(FaceMarks marks)
{
    return marks == FaceMarks::CropMarks ? QStringLiteral("crop") : marks == FaceMarks::None ? QStringLiteral("none") : kMarks.defaultValue;
}
// A key of one destination's value in a section of destinations: the
// name percent-encoded (its "/" before an instance kept) so that any name makes a key.
inline QString destinationKey(const QString &destination, const char *field)
{
    return QString::fromLatin1(QUrl::toPercentEncoding(destination, "/")) + u'.' + QLatin1String(field);
}

// The stored marks; anything else reads as the default.
inline FaceMarks readMarks(const SettingsFile &file) { return marksNamed(kMarks.readFrom(file, kUpperSection)).value_or(FaceMarks::CutLines); }

}  // namespace SettingsKeys
