// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "support/TestSupport.h"
#include "gui/mainwindow/MainWindow.h"

#include <memory>

// A main window with fresh settings files, made anew for each test function.
class MainWindowFixture
{
public:
    // Makes the window; `shown` also shows it and waits until it is active.
    bool start(bool shown = true);
    void stop();

    std::unique_ptr<TForm1> form;

private:
    std::unique_ptr<ScopedConfigDir> m_config;
};

// Fills the item list with one row per letter and selects the rows whose
// letters are in `selected`.
void fillRows(TForm1 &form, const QString &letters, const QString &selected);
// The rows, and the selected rows, as letters.
QString rowLetters(const TForm1 &form);
QString selectedLetters(const TForm1 &form);
