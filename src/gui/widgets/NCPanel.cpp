// SPDX-License-Identifier: GPL-3.0-or-later
#include "gui/widgets/NCPanel.h"

TNCPanel::TNCPanel(QWidget *parent, bool bevelled)
    : QFrame(parent)
{
    if (bevelled) {
        setFrameStyle(QFrame::Panel | QFrame::Raised);
        setLineWidth(1);
    } else {
        setFrameStyle(QFrame::NoFrame);
    }
}
