// SPDX-License-Identifier: GPL-3.0-or-later
#include "app/CommandLine.h"
#include "gui/mainwindow/MainWindow.h"
#include "gui/preview/PreviewWindow.h"
#include "printer/QdPrinters.h"
#include "gui/app/Application.h"
#include "core/common/HeadlessRun.h"
#include "core/common/Messages.h"

int main(int argc, char **argv)
{
    // Exporting, printing, help and version run without the window; no
    // argument or document paths alone open it as always.
    const QStringList arguments = CommandLine::argumentsOf(argc, argv);
    if (CommandLine::parse(arguments).command != CommandLine::Command::Window) {
        // Headless runs stay quiet without a session's runtime folder; the
        // window keeps Qt's own fallback, which outlives it for the programs
        // it starts (a browser for the README).
        const auto runtime = HeadlessRun::provideRuntimeDirectory();
        return CommandLine::run(arguments, argv[0]);
    }

    TApplication app(argc, argv);
    Messages::setApplicationTitle(AppName());
    ProgramArguments = app.arguments().mid(1);

    // The printer comes first and goes last; the preview window is made
    // once, after the main window, and stays hidden until used.
    QdPrinter = new TQdPrinter();
    auto *form = new TForm1();
    PreVForm = new TPreVForm(form);
    form->show();
    const int status = app.exec();
    delete PreVForm;
    PreVForm = nullptr;
    delete form;
    delete QdPrinter;
    QdPrinter = nullptr;
    return status;
}
