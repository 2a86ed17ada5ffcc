// The disc label: laying out and drawing a 30-item label at 600 pixels per
// inch on a picture (budget: well under 100 ms).
#include "BenchMain.h"
#include "common/Canvas.h"
#include "layout/DiscLabel.h"

#include <QImage>
#include <QPainter>

namespace {

void LayOutAndDrawThirtyItemDisc(benchmark::State &state)
{
    QStringList items;
    for (int i = 0; i < 30; ++i)
        items << QStringLiteral("夜明けのうた その%1  (03:25)  歌：アーティスト").arg(i + 1);
    DiscRequest request;
    request.title = QStringLiteral("ベンチマーク用のアルバム");
    request.lines = NumberedLines(items, true, QStringLiteral(". "));
    request.titleSizeText = QStringLiteral("17");
    request.itemSizeText = QStringLiteral("14");
    request.lineHeightSample = QStringLiteral("ペロラ");

    const int side = int(DiscRing::kStickerOuterMm / 25.4 * 600) + 1;
    QImage page(side, side, QImage::Format_RGB32);
    page.setDotsPerMeterX(23622);
    page.setDotsPerMeterY(23622);
    page.fill(Qt::white);
    TCanvas canvas(&page);
    DiscLayout layout;
    for (auto _ : state) {
        LayOutDisc(layout, request, PageInfo{}, canvas);
        QPainter painter(&page);
        canvas.setPainter(&painter);
        DrawDisc(canvas, layout, request);
        canvas.setPainter(nullptr);
    }
    state.counters["item size"] = layout.itemFontSize;
    state.counters["columns"] = layout.columns;
}
BENCHMARK(LayOutAndDrawThirtyItemDisc)->Unit(benchmark::kMillisecond);

}  // namespace

PELORA_BENCHMARK_MAIN()
