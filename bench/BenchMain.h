// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

// main() for benchmarks that need the application object: the offscreen
// platform unless a display is asked for, quiet without a desktop session,
// throw-away settings and state folders, and message boxes written to
// standard error instead of waiting for a click.
#include "gui/app/Application.h"
#include "core/common/HeadlessRun.h"
#include "core/common/Messages.h"

#include <QFile>
#include <QTemporaryDir>

#include <cstdio>

#include <benchmark/benchmark.h>

#define PELORA_BENCHMARK_MAIN()                                              \
    int main(int argc, char **argv)                                          \
    {                                                                        \
        if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM"))                  \
            qputenv("QT_QPA_PLATFORM", "offscreen");                         \
        const auto runtime = HeadlessRun::provideRuntimeDirectory();         \
        HeadlessRun::ignoreOffscreenSizeHints();                             \
        TApplication app(argc, argv);                                        \
        Messages::setApplicationTitle(QStringLiteral("ペロラ"));             \
        Messages::setHandler([](const Messages::Request &request) {          \
            std::fprintf(stderr, "message: %s\n", qPrintable(request.text)); \
            return 0;                                                        \
        });                                                                  \
        QTemporaryDir config;                                                \
        qputenv("PELORA_CONFIG_DIR", config.path().toLocal8Bit());           \
        QTemporaryDir state;                                                 \
        qputenv("XDG_STATE_HOME", QFile::encodeName(state.path()));          \
        benchmark::Initialize(&argc, argv);                                  \
        benchmark::RunSpecifiedBenchmarks();                                 \
        benchmark::Shutdown();                                               \
        return 0;                                                            \
    }
