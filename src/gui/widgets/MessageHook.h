// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QObject>

class TForm1;
class QScrollBar;

// Sees scroll-bar scrolls of the item list and the editor, and cut, paste
// and clear in the editor, after the control has acted on them, and then
// refreshes the line-number column. Wheel turns are left to the deferred
// refresh of the main window.
class TMessageHook : public QObject
{
    Q_OBJECT
public:
    explicit TMessageHook(TForm1 *form);

private:
    void watchScrollBar(QScrollBar *bar);
    void refreshAfterControl();

    TForm1 *m_form;
};
