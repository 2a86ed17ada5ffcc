// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QString>
#include <QStringList>

#include <functional>

class QWidget;

// The open and save dialogs of the file commands, behind one seam that
// tests replace to choose a file (or cancel) and to see what was offered.
namespace FileDialogs {

struct Request
{
    bool save = false;
    QString fileName;       // preset name
    QStringList filters;    // the first one is selected
    QString defaultSuffix;  // added on save when the typed name does not end in it
    QString title;          // empty: the dialog's own ("Open", "Save As")
};

// Returns the chosen path, or an empty text when the user cancelled.
using Handler = std::function<QString(const Request &)>;
void setHandler(Handler handler);

QString chooseFile(QWidget *parent, const Request &request);

}  // namespace FileDialogs
