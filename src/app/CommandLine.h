// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "app/CommandLineOptions.h"

namespace CommandLine {

// Runs the arguments of a command other than Window on an application
// object of its own, always on the offscreen platform, so that every line
// is in the run's language: help, version and usage errors at once; the
// export and the print once their paths are not mixed up (usage errors,
// found in the file system). Returns the exit status.
int run(const QStringList &arguments, char *program);

}  // namespace CommandLine
