// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QStringList>

// The program's texts are written in Japanese; every other language gets
// the English translation. Which one a run speaks is decided once, from the
// user's languages as the desktop gives them (LANGUAGE, then LC_ALL,
// LC_MESSAGES, LANG), and holds for the window, its dialogs, Qt's own
// dialogs and the command line alike.
namespace Translation {

enum class Language { Japanese, English };

// The first of Japanese or English among the languages, in the user's
// order of preference; English when neither is there.
Language chosenFrom(const QStringList &uiLanguages);

// The language of this run, from the system locale.
Language ofThisRun();

// Installs the translators of the language on the running application,
// replacing those installed before.
void install(Language language);

}  // namespace Translation
