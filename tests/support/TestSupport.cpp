// SPDX-License-Identifier: GPL-3.0-or-later
#include "support/TestSupport.h"

DialogAnswers::DialogAnswers()
{
    FileDialogs::setHandler([this](const FileDialogs::Request &request) {
        asked.append(request);
        return answers.isEmpty() ? QString() : answers.takeFirst();
    });
}

DialogAnswers::~DialogAnswers() { TestSupport::refuseUnexpectedFileDialogs(); }

namespace TestSupport {

void refuseUnexpectedFileDialogs()
{
    FileDialogs::setHandler([](const FileDialogs::Request &request) -> QString {
        qFatal("unexpected file dialog for %s", qPrintable(request.fileName));
    });
}

}  // namespace TestSupport
