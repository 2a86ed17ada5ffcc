// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QTimer>

// A one-second timer that the main window uses for refreshes that must wait
// until a control has acted on an event. Running from its creation.
class TSPTimer : public QTimer
{
    Q_OBJECT
public:
    explicit TSPTimer(QObject *parent = nullptr);
    // Starting a running timer changes nothing, so the tick comes one
    // interval after the first Start.
    void Start();
    void Stop();
};
