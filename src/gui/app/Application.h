// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QApplication>

#include <exception>
#include <utility>

// The application object. An exception that leaves an event handler is
// shown in an error box with its message, and the program goes on.
class TApplication : public QApplication
{
    Q_OBJECT
public:
    TApplication(int &argc, char **argv);
    bool notify(QObject *receiver, QEvent *event) override;

    // The error box for an exception that ended a handler.
    static void ShowException(const std::exception &e);
};

// Runs a handler that Qt calls (a slot, an event handler). Qt's own code is
// not built for exceptions passing through it: its frames between the
// handler and notify() would be left without their clean-up (leaked
// events, senders and guards left set). So the handlers that can fail run
// through here, and their exception is shown right away, in the same error
// box as notify() shows.
template <typename Handler>
void RunHandler(Handler &&handler)
{
    try {
        std::forward<Handler>(handler)();
    } catch (const std::exception &e) {
        TApplication::ShowException(e);
    }
}
