// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

class TForm1;

// Loads the program settings from the settings file and the data file at
// start-up and stores them there at shut-down.
namespace ProgramSettings {

void ReadDataFile();
void ReadSettingsFile(TForm1 &form);
void WriteSettingsFile(TForm1 &form);
void WriteDataFile();

}  // namespace ProgramSettings
