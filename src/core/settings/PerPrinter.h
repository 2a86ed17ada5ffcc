// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "core/files/ConfigLocation.h"
#include "core/settings/SettingsFile.h"

#include <QString>

// A record of settings kept for each printer destination (the paper, the
// print position), in a section of its own of the program's settings file:
// loaded and saved there by its own reader and writer.
namespace PerPrinter {

template <typename Record>
Record load(Record (*read)(const SettingsFile &, const QString &), const QString &destination)
{
    return read(SettingsFile::load(settingsFilePath()), destination);
}

// Whether it was written, and why not in `why`.
template <typename Record>
bool save(void (*write)(SettingsFile &, const QString &, const Record &), const QString &destination, const Record &record,
          QString *why)
{
    return SettingsFile::update(settingsFilePath(), [&](SettingsFile &file) { write(file, destination, record); }, why);
}

}  // namespace PerPrinter
