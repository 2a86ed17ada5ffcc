// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

// What every run of Pelora sets up once its application object exists,
// with a window or without: the program's name and version, the Japanese
// Gothic face for every text, and the run's language.
namespace ProgramSetup {

void prepare();

}  // namespace ProgramSetup
