// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

// The print and preview benchmarks drive a real main window on the private
// CUPS's default printer; the caller fills the window in and names what
// prints.
#include "BenchCups.h"
#include "gui/mainwindow/MainWindow.h"
#include "gui/preview/PreviewWindow.h"
#include "printer/QdPrinters.h"

#include <QDeadlineTimer>
#include <QThread>

#include <functional>

// From the print command until CUPS reports the job completed; answers
// the last job's id.
inline int timePrinting(benchmark::State &state, const std::function<void(TForm1 &)> &fillIn,
                         const std::function<void(TForm1 &)> &print)
{
    if (!privateCups(state))
        return 0;
    int id = 0;
    QdPrinter = new TQdPrinter();
    {
        TForm1 form;
        fillIn(form);
        for (auto _ : state) {
            print(form);
            id = QdPrinter->LastJobId();
            const QDeadlineTimer deadline(30000);
            while (jobState(id) < IPP_JSTATE_CANCELED && !deadline.hasExpired())
                QThread::msleep(2);
        }
    }
    delete QdPrinter;
    QdPrinter = nullptr;
    return id;
}

// Showing the preview, layout included.
inline void timePreview(benchmark::State &state, const std::function<void(TForm1 &)> &fillIn)
{
    if (!privateCups(state))
        return;
    QdPrinter = new TQdPrinter();
    {
        TForm1 form;
        PreVForm = new TPreVForm(&form);
        fillIn(form);
        SuppressShrinkNotice = true;
        for (auto _ : state) {
            PreVForm->FormShow();
            state.PauseTiming();
            PreVForm->FormClose();
            state.ResumeTiming();
        }
        delete PreVForm;
        PreVForm = nullptr;
    }
    delete QdPrinter;
    QdPrinter = nullptr;
}
