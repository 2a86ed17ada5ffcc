// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "CommandLineOptions.h"

namespace CommandLine {

// Runs a command other than Window: help, version and errors at once;
// the export and the print on an application object of their own, always
// on the offscreen platform, once their paths are not mixed up (usage
// errors, found in the file system). Returns the exit status.
int run(const Options &options, char *program);

}  // namespace CommandLine
