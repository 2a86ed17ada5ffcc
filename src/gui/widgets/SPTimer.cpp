// SPDX-License-Identifier: GPL-3.0-or-later
#include "gui/widgets/SPTimer.h"

TSPTimer::TSPTimer(QObject *parent)
    : QTimer(parent)
{
    setInterval(1000);
    start();
}

void TSPTimer::Start()
{
    if (!isActive())
        start();
}

void TSPTimer::Stop() { stop(); }
