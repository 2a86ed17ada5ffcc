// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QString>
#include <QUrl>

class SettingsFile;

// Nothing about a disc leaves the machine before the user agrees: the
// answer is kept in the settings file (SettingsKeys::kLookups).
enum class LookupConsent { Unasked, Allowed, Refused };

namespace LookupSettings {

inline const QUrl kMusicBrainzDefault{QStringLiteral("https://musicbrainz.org")};
inline const QUrl kCoverArtDefault{QStringLiteral("https://coverartarchive.org")};

// Anything but "yes" or "no" reads as Unasked.
LookupConsent readConsent(const SettingsFile &file);
// Written once it differs from the default, as the other options are.
void writeConsent(SettingsFile &file, LookupConsent consent);

// The same on the program's settings file; saving reports whether the file
// could be written, and why not.
LookupConsent consent();
bool saveConsent(LookupConsent consent, QString *why = nullptr);

// The first of the environment's value and the setting's that is an
// http or https address with a host, else the fallback.
QUrl baseFrom(const QString &environment, const QString &setting, const QUrl &fallback);
// $PELORA_MUSICBRAINZ_URL, else the settings file's "mburl", else https://musicbrainz.org.
QUrl musicBrainzBase();
// $PELORA_COVERART_URL, else the settings file's "caaurl", else https://coverartarchive.org.
QUrl coverArtBase();

}  // namespace LookupSettings
