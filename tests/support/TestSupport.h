// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "gui/app/Application.h"
#include "gui/dialogs/FileDialogs.h"
#include "support/CoreTestSupport.h"

// Chooses files for the file dialogs from a queue (empty: cancel) and
// records what each dialog offered, for the lifetime of the object.
class DialogAnswers
{
public:
    DialogAnswers();
    ~DialogAnswers();
    DialogAnswers(const DialogAnswers &) = delete;
    DialogAnswers &operator=(const DialogAnswers &) = delete;

    QStringList answers;
    QList<FileDialogs::Request> asked;
};

namespace TestSupport {

// File dialogs that no test answers end the test program with a message,
// instead of waiting for a click.
void refuseUnexpectedFileDialogs();

}  // namespace TestSupport

// The main of a test of the window and its dialogs.
#define PELORA_TEST_MAIN(TestObject)                                  \
    int main(int argc, char **argv)                                   \
    {                                                                 \
        const auto runtime = HeadlessRun::provideRuntimeDirectory();  \
        HeadlessRun::ignoreOffscreenSizeHints();                      \
        TApplication app(argc, argv);                                 \
        TestSupport::prepareEnvironment();                            \
        TestSupport::refuseUnexpectedFileDialogs();                   \
        TestObject tc;                                                \
        QTEST_SET_MAIN_SOURCE_PATH                                    \
        return QTest::qExec(&tc, argc, argv);                         \
    }
