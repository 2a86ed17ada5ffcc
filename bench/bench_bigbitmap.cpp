// SPDX-License-Identifier: GPL-3.0-or-later
// The large bitmap's two costly paths, with their budgets:
//   tiled draw of a 2000 × 3000 24-bit picture into 600 × 9000 pixels ≤ 60 ms;
//   assignment from a 4000 × 4000 image (BMP round trip, bands) ≤ 150 ms.
#include "core/common/HeadlessRun.h"
#include "core/bitmap/BigBitmap.h"

#include <QGuiApplication>
#include <QImage>
#include <QPainter>

#include <benchmark/benchmark.h>

namespace {

QImage pattern(int w, int h)
{
    QImage image(w, h, QImage::Format_RGB32);
    for (int y = 0; y < h; ++y) {
        auto *row = reinterpret_cast<QRgb *>(image.scanLine(y));
        for (int x = 0; x < w; ++x)
            row[x] = qRgb(x * 7, y * 3, x ^ y);
    }
    return image;
}

void BM_TiledDraw2000x3000Into600x9000(benchmark::State &state)
{
    TBigBitmap picture;
    picture.SetDrawMode(1);
    picture.Assign(pattern(2000, 3000));
    QImage surface(600, 9000, QImage::Format_RGB32);
    for (auto _ : state) {
        QPainter painter(&surface);
        picture.Draw(painter, QRect(0, 0, 600, 9000));
        painter.end();
        benchmark::DoNotOptimize(surface.constBits());
    }
}
BENCHMARK(BM_TiledDraw2000x3000Into600x9000)->Unit(benchmark::kMillisecond)->MinTime(2.0);

void BM_Assign4000x4000(benchmark::State &state)
{
    const QImage image = pattern(4000, 4000);
    TBigBitmap picture;
    for (auto _ : state) {
        picture.Assign(image);
        benchmark::DoNotOptimize(picture.GetScanline(3999));
    }
}
BENCHMARK(BM_Assign4000x4000)->Unit(benchmark::kMillisecond)->MinTime(2.0);

}  // namespace

int main(int argc, char **argv)
{
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM"))
        qputenv("QT_QPA_PLATFORM", "offscreen");
    const auto runtime = HeadlessRun::provideRuntimeDirectory();
    QGuiApplication app(argc, argv);
    benchmark::Initialize(&argc, argv);
    benchmark::RunSpecifiedBenchmarks();
    benchmark::Shutdown();
    return 0;
}
