// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "core/common/Messages.h"

namespace MessageBoxes {

// Shows the request in a QMessageBox over the active window: the chosen
// button's index (0 for a box without buttons).
int show(const Messages::Request &request);

}  // namespace MessageBoxes
