// SPDX-License-Identifier: GPL-3.0-or-later
#include "core/lookup/LookupSettings.h"

#include "core/files/ConfigLocation.h"
#include "core/settings/SettingsFile.h"
#include "core/settings/SettingsKeys.h"

namespace LookupSettings {

using namespace SettingsKeys;

namespace {

QString nameOf(LookupConsent consent)
{
    switch (consent) {
    case LookupConsent::Allowed:
        return QStringLiteral("yes");
    case LookupConsent::Refused:
        return QStringLiteral("no");
    case LookupConsent::Unasked:
        break;
    }
    return kLookups.defaultValue;
}

QUrl baseFromSettings(const char *variable, const Text &key, const QUrl &fallback)
{
    return baseFrom(qEnvironmentVariable(variable), key.readFrom(SettingsFile::load(settingsFilePath()), kUpperSection), fallback);
}

}  // namespace

LookupConsent readConsent(const SettingsFile &file)
{
    const QString value = kLookups.readFrom(file, kUpperSection);
    if (value == nameOf(LookupConsent::Allowed))
        return LookupConsent::Allowed;
    if (value == nameOf(LookupConsent::Refused))
        return LookupConsent::Refused;
    return LookupConsent::Unasked;
}

void writeConsent(SettingsFile &file, LookupConsent consent)
{
    const QString value = nameOf(consent);
    if (value != kLookups.defaultValue || file.contains(kUpperSection, kLookups.key))
        file.writeString(kUpperSection, kLookups.key, value);
}

LookupConsent consent() { return readConsent(SettingsFile::load(settingsFilePath())); }

bool saveConsent(LookupConsent consent, QString *why)
{
    return SettingsFile::update(settingsFilePath(), [consent](SettingsFile &file) { writeConsent(file, consent); }, why);
}

QUrl baseFrom(const QString &environment, const QString &setting, const QUrl &fallback)
{
    for (const QString &text : {environment, setting}) {
        const QUrl url(text.trimmed(), QUrl::StrictMode);
        if (url.isValid() && (url.scheme() == QLatin1String("https") || url.scheme() == QLatin1String("http")) && !url.host().isEmpty())
            return url;
    }
    return fallback;
}

QUrl musicBrainzBase() { return baseFromSettings("PELORA_MUSICBRAINZ_URL", kMusicBrainzUrl, kMusicBrainzDefault); }

QUrl coverArtBase() { return baseFromSettings("PELORA_COVERART_URL", kCoverArtUrl, kCoverArtDefault); }

}  // namespace LookupSettings
