// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QString>

// Where the settings file and the data file live: $PELORA_CONFIG_DIR when
// set; else the executable's folder when it is writable and not the folder
// the program is installed to (a build keeps its files beside itself); else $XDG_CONFIG_HOME/pelora, by default
// ~/.config/pelora. The folder is created when missing. The executable's
// folder is known only once the QCoreApplication exists.
QString configDirectory();

// Where recovery copies of unsaved jackets are kept: $XDG_STATE_HOME/pelora/recovery,
// by default ~/.local/state/pelora/recovery. Not created here.
QString recoveryDirectory();

// "Pelora.ini" in configDirectory().
QString settingsFilePath();

// "Pelora.dat" in configDirectory().
QString dataFilePath();
