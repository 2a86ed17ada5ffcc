// SPDX-License-Identifier: GPL-3.0-or-later
// Printer queries after the first one, budget 1 ms each (cached answers).
//
// Needs the private CUPS: scripts/bench.sh starts it, or run
//   eval "$(scripts/private-cups.sh start /tmp/pelora-bench-cups)"
// first. Without PELORA_PRIVATE_CUPS=1 the benchmarks stop with an error
// rather than ask the machine's own CUPS.
#include "BenchMain.h"
#include "printer/QdPrinters.h"

#include <QPrinter>

#include <chrono>

namespace {

// Made at the first benchmark (after the application object) and left to
// the end of the process: a QPrinter must not outlive the application.
TQdPrinter *warmFacade()
{
    static TQdPrinter *facade = [] {
        auto *made = new TQdPrinter();
        made->GetMaxCopies();
        made->GetPaperSize();
        return made;
    }();
    return facade;
}

template <typename Query>
void measure(benchmark::State &state, Query query)
{
    if (qEnvironmentVariable("PELORA_PRIVATE_CUPS") != QLatin1String("1")) {
        state.SkipWithError("no private CUPS: run scripts/bench.sh, or eval scripts/private-cups.sh start DIR");
        return;
    }
    TQdPrinter &facade = *warmFacade();
    // The mean hides the once-a-second comparison of the printer set; the
    // slowest single call shows it.
    double slowest = 0;
    for (auto _ : state) {
        const auto start = std::chrono::steady_clock::now();
        benchmark::DoNotOptimize(query(facade));
        const std::chrono::duration<double, std::micro> took = std::chrono::steady_clock::now() - start;
        slowest = std::max(slowest, took.count());
    }
    state.counters["slowest_us"] = slowest;
}

void GetPrinters(benchmark::State &state)
{
    measure(state, [](TQdPrinter &f) { return f.GetPrinters().size(); });
}
void GetPixelsPerInch(benchmark::State &state)
{
    measure(state, [](TQdPrinter &f) { return f.GetPixelsPerInch(); });
}
void GetPageOffset(benchmark::State &state)
{
    measure(state, [](TQdPrinter &f) { return f.GetPageOffset(); });
}
void GetScale(benchmark::State &state)
{
    measure(state, [](TQdPrinter &f) { return f.GetScale(); });
}
void GetPaperSize(benchmark::State &state)
{
    measure(state, [](TQdPrinter &f) { return f.GetPaperSize(); });
}
void GetAvailableFields(benchmark::State &state)
{
    measure(state, [](TQdPrinter &f) { return f.GetAvailableFields(); });
}
void GetOrientation(benchmark::State &state)
{
    measure(state, [](TQdPrinter &f) { return f.GetOrientation(); });
}
void GetMaxCopies(benchmark::State &state)
{
    measure(state, [](TQdPrinter &f) { return f.GetMaxCopies(); });
}
// The print command's copy handling: count set and written back to 1.
void SetCopiesSame(benchmark::State &state)
{
    measure(state, [](TQdPrinter &f) {
        f.SetCopies(1);
        f.ApplySettings();
        return f.PlatformPrinter().copyCount();
    });
}
// Not a cached query: what the throttle saves, for reference.
void CompareWithSpooler(benchmark::State &state)
{
    measure(state, [](TQdPrinter &f) {
        f.CheckPrinterChange();
        return f.Snapshot().Count();
    });
}

}  // namespace

BENCHMARK(GetPrinters)->Unit(benchmark::kMicrosecond)->MinTime(2.0);
BENCHMARK(GetPixelsPerInch)->Unit(benchmark::kMicrosecond)->MinTime(2.0);
BENCHMARK(GetPageOffset)->Unit(benchmark::kMicrosecond)->MinTime(2.0);
BENCHMARK(GetScale)->Unit(benchmark::kMicrosecond)->MinTime(2.0);
BENCHMARK(GetPaperSize)->Unit(benchmark::kMicrosecond)->MinTime(2.0);
BENCHMARK(GetAvailableFields)->Unit(benchmark::kMicrosecond)->MinTime(2.0);
BENCHMARK(GetOrientation)->Unit(benchmark::kMicrosecond)->MinTime(2.0);
BENCHMARK(GetMaxCopies)->Unit(benchmark::kMicrosecond)->MinTime(2.0);
BENCHMARK(SetCopiesSame)->Unit(benchmark::kMicrosecond)->MinTime(2.0);
BENCHMARK(CompareWithSpooler)->Unit(benchmark::kMicrosecond);

PELORA_BENCHMARK_MAIN();
