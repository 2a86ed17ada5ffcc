#pragma once

// main() for benchmarks that need the application object: the offscreen
// platform unless a display is asked for, and a throw-away settings folder.
#include "common/Application.h"
#include "common/Messages.h"

#include <QTemporaryDir>

#include <benchmark/benchmark.h>

#define PELORA_BENCHMARK_MAIN()                                              \
    int main(int argc, char **argv)                                          \
    {                                                                        \
        if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM"))                  \
            qputenv("QT_QPA_PLATFORM", "offscreen");                         \
        TApplication app(argc, argv);                                        \
        Messages::setApplicationTitle(QStringLiteral("ペロラ"));             \
        QTemporaryDir config;                                                \
        qputenv("PELORA_CONFIG_DIR", config.path().toLocal8Bit());           \
        benchmark::Initialize(&argc, argv);                                  \
        benchmark::RunSpecifiedBenchmarks();                                 \
        benchmark::Shutdown();                                               \
        return 0;                                                            \
    }
