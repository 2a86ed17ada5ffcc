// SPDX-License-Identifier: GPL-3.0-or-later
#include "core/text/Translation.h"

#include <QCoreApplication>
#include <QLibraryInfo>
#include <QLocale>
#include <QTranslator>

#include <memory>
#include <vector>

namespace Translation {

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

Language ofThisRun() { return chosenFrom(QLocale::system().uiLanguages()); }

void install(Language language)
{
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
