// SPDX-License-Identifier: GPL-3.0-or-later
// The line-number column numbers the rows of the visible control by itself
// at every paint; a refresh fits its width to the highest number.
#include "gui/widgets/LineNumbers.h"
#include "gui/mainwindow/MainWindow.h"

void TForm1::RefreshView()
{
    fitNumberColumn();
    MemoNum->update();
}
