// SPDX-License-Identifier: GPL-3.0-or-later
#include "core/text/Translation.h"

#include <QCoreApplication>
#include <QLibraryInfo>
#include <QLocale>
#include <QTranslator>

#include <memory>
#include <vector>

namespace Translation {
namespace {

Language installedLanguage = Language::Japanese;

}  // namespace

Environment Environment::ofThisRun()
{
    return {qEnvironmentVariable("LANGUAGE"), qEnvironmentVariable("LC_ALL"), qEnvironmentVariable("LC_MESSAGES"),
            qEnvironmentVariable("LANG")};
}

QStringList userLanguages(const Environment &environment)
{
    const QString messages = !environment.lcAll.isEmpty()      ? environment.lcAll
                           : !environment.lcMessages.isEmpty() ? environment.lcMessages
                                                               : environment.lang;
    const bool plain = messages.isEmpty() || messages == QLatin1String("C") || messages == QLatin1String("POSIX")
                    || messages.startsWith(QLatin1String("C."));
    if (plain)
        return {QStringLiteral("C")};
    // ja_JP.UTF-8@variant names the language ja_JP.
    return environment.language.split(u':', Qt::SkipEmptyParts) << messages.section(u'.', 0, 0).section(u'@', 0, 0);
}

Language chosenFrom(const QStringList &uiLanguages)
{
    for (const QString &name : uiLanguages) {
        const QLocale::Language language = QLocale(name).language();
        if (language == QLocale::Japanese)
            return Language::Japanese;
        if (language == QLocale::English)
            return Language::English;
    }
    return Language::English;
}

Language ofThisRun() { return chosenFrom(userLanguages(Environment::ofThisRun())); }

QString dateTime(const QDateTime &when)
{
    if (installedLanguage == Language::Japanese)
        return when.toString(QStringLiteral("yyyy/MM/dd HH:mm"));
    const QLocale system = QLocale::system();
    const QLocale english = system.language() == QLocale::English ? system : QLocale(QLocale::English, QLocale::UnitedStates);
    return english.toString(when, QLocale::ShortFormat);
}

void install(Language language)
{
    installedLanguage = language;
    static std::vector<std::unique_ptr<QTranslator>> installed;
    for (const auto &translator : installed)
        QCoreApplication::removeTranslator(translator.get());
    installed.clear();

    const auto load = [](const QString &name, const QString &folder) {
        auto translator = std::make_unique<QTranslator>();
        if (translator->load(name, folder) && QCoreApplication::installTranslator(translator.get()))
            installed.push_back(std::move(translator));
    };
    // The program's own texts need no translation in Japanese; Qt's own
    // dialogs (files, printer set-up) need none in English.
    if (language == Language::English)
        load(QStringLiteral("pelora_en"), QStringLiteral(":/i18n"));
    else
        load(QStringLiteral("qtbase_ja"), QLibraryInfo::path(QLibraryInfo::TranslationsPath));
}

}  // namespace Translation
