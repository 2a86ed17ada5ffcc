// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QStringList>

#include <QDateTime>
#include <QString>

// The program's texts are written in Japanese; every other language gets
// the English translation. Which one a run speaks is decided once, from the
// user's languages as the desktop gives them, and holds for the window, its
// dialogs, Qt's own dialogs and the command line alike.
namespace Translation {

enum class Language { Japanese, English };

// The variables that name the user's languages.
struct Environment
{
    QString language;  // LANGUAGE: a list, "fr:ja"
    QString lcAll;
    QString lcMessages;
    QString lang;

    static Environment ofThisRun();
};

// The user's languages by the desktop's rule: the locale for messages is
// LC_ALL, else LC_MESSAGES, else LANG; LANGUAGE comes before it, but only
// when that locale is not C or POSIX (scripts set LC_ALL=C to get plain
// output whatever LANGUAGE says).
QStringList userLanguages(const Environment &environment);

// The first of Japanese or English among the languages, in the user's
// order of preference; English when neither is there.
Language chosenFrom(const QStringList &uiLanguages);

// The language of this run, from its environment.
Language ofThisRun();

// Installs the translators of the language on the running application,
// replacing those installed before.
void install(Language language);

// A date and time as the language installed last (Japanese, the texts'
// own, before any) writes them: 2026/12/08 01:02, or in
// the user's own English (12/8/26 1:02 AM; en_GB 08/12/2026 01:02).
QString dateTime(const QDateTime &when);

}  // namespace Translation
