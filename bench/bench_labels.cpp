// SPDX-License-Identifier: GPL-3.0-or-later
// Reading the label product database as installed (glabels-data, about
// 1700 products in 35 files, and the user's own): budget 150 ms, since the
// paper dialog and --print of a product read it before anything else.
#include "BenchMain.h"
#include "core/labels/LabelProducts.h"

namespace {

void LabelDatabaseInstalled(benchmark::State &state)
{
    qsizetype products = 0, jacketProducts = 0;
    for (auto _ : state) {
        const QList<LabelProduct> read = LabelProducts::ReadFolders(LabelProducts::TemplateFolders(), {});
        products = read.size();
        jacketProducts = LabelProducts::JacketProducts(read).size();
        benchmark::DoNotOptimize(read);
    }
    if (products < 1000)
        state.SkipWithError("glabels-data is not installed (scripts/install-deps.sh installs it)");
    state.counters["products"] = double(products);
    state.counters["jacket"] = double(jacketProducts);
}
BENCHMARK(LabelDatabaseInstalled)->Unit(benchmark::kMillisecond);

// Whether a template file changed since the database was read, which the
// paper dialog and the window's print and preview commands ask each time:
// budget 1 ms, so that none of them waits for it.
void LabelDatabaseUnchanged(benchmark::State &state)
{
    LabelProducts::Installed();
    for (auto _ : state)
        LabelProducts::Refresh();
}
BENCHMARK(LabelDatabaseUnchanged)->Unit(benchmark::kMicrosecond);

}  // namespace

PELORA_BENCHMARK_MAIN()
