// SPDX-License-Identifier: GPL-3.0-or-later
// The disc label: laying out and drawing a 30-item label at 600 pixels per
// inch on a picture (budget: well under 100 ms).
#include "BenchMain.h"
#include "BenchWindow.h"
#include "core/layout/Canvas.h"
#include "core/layout/DiscLabel.h"
#include "gui/widgets/ItemListBox.h"

#include <QAction>
#include <QLineEdit>

#include <QImage>
#include <QPainter>

namespace {

QStringList thirtyItems()
{
    QStringList items;
    for (int i = 0; i < 30; ++i)
        items << QStringLiteral("夜明けのうた その%1  (03:25)  歌：アーティスト").arg(i + 1);
    return items;
}

void LayOutAndDrawThirtyItemDisc(benchmark::State &state)
{
    const QStringList items = thirtyItems();
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

void fillInThirtyItemLabel(TForm1 &form)
{
    form.EditTi->setText(QStringLiteral("ベンチマーク用のアルバム"));
    form.ListBox1->setItems(thirtyItems());
}

// From レーベルを印刷 until CUPS reports the job completed (budget 100 ms).
void PrintThirtyItemLabel(benchmark::State &state)
{
    timePrinting(state, fillInThirtyItemLabel, [](TForm1 &form) { form.LabelPrintClick(form.LabelPrintMe); });
}
BENCHMARK(PrintThirtyItemLabel)->Unit(benchmark::kMillisecond)->Iterations(5);

// The label's preview, layout included (budget 100 ms).
void ShowThirtyItemLabelPreview(benchmark::State &state)
{
    timePreview(state, [](TForm1 &form) {
        fillInThirtyItemLabel(form);
        PreVForm->Faces = PageFaces::Label;
        PreVForm->WholeSheet = true;
    });
}
BENCHMARK(ShowThirtyItemLabelPreview)->Unit(benchmark::kMillisecond);

}  // namespace

PELORA_BENCHMARK_MAIN()
