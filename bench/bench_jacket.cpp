// SPDX-License-Identifier: GPL-3.0-or-later
// Laying out, printing and previewing jackets.
//
// The print and preview benchmarks need the private CUPS (scripts/bench.sh
// starts one); the layout benchmarks measure on a 600-dpi surface alone.
#include "BenchMain.h"
#include "BenchWindow.h"
#include "core/layout/Canvas.h"
#include "core/layout/JacketLayout.h"
#include "gui/widgets/ItemListBox.h"
#include "gui/widgets/RadioGroup.h"
#include "gui/mainwindow/MainWindow.h"
#include "core/bitmap/BigBitmap.h"

#include <QFileInfo>
#include <QPushButton>
#include <QImage>
#include <QLineEdit>


namespace {

QStringList tracks(int n)
{
    QStringList items;
    for (int i = 0; i < n; ++i)
        items << QStringLiteral("夜明けのうた その%1  (03:25)  歌：アーティスト").arg(i + 1);
    return items;
}

void layout(benchmark::State &state, int items)
{
    QImage surface(1, 1, QImage::Format_RGB888);
    surface.setDotsPerMeterX(23622);
    surface.setDotsPerMeterY(23622);
    TCanvas canvas(&surface);
    TBigBitmap spine;
    LayoutRequest request;
    request.face = FaceKindId::Back;
    request.title = QStringLiteral("ベンチマーク用のアルバム");
    request.items = tracks(items);
    request.titleSizeText = QStringLiteral("17");
    request.itemSizeText = QStringLiteral("50");
    request.numberSuffix = QStringLiteral(". ");
    request.lineHeightSample = QStringLiteral("ペロラ");
    TJacketLayout result;
    for (auto _ : state)
        LayOutJacket(result, request, PageInfo{}, canvas, spine);
    state.counters["item size"] = result.ItemFontSize;
}

void LayoutThousandItemsFromSize50(benchmark::State &state) { layout(state, 1000); }
BENCHMARK(LayoutThousandItemsFromSize50)->Unit(benchmark::kMillisecond);

void LayoutTenThousandItemsFromSize50(benchmark::State &state) { layout(state, 10000); }
BENCHMARK(LayoutTenThousandItemsFromSize50)->Unit(benchmark::kMillisecond);

// A 99-item back face, from the print button until CUPS reports the job
// completed; and the size of the PDF the file queue made.
void fillInNinetyNineItemBackFace(TForm1 &form)
{
    form.EditTi->setText(QStringLiteral("ベンチマーク盤"));
    form.ListBox1->setItems(tracks(99));
    form.RGTwoSides->setItemIndex(1);
}

void PrintNinetyNineItemBackFace(benchmark::State &state)
{
    const int id = timePrinting(state, fillInNinetyNineItemBackFace, [](TForm1 &form) { form.Button1Click(form.Button1); });
    const QString pdf = qEnvironmentVariable("PELORA_PDF_OUT_DIR") + QStringLiteral("/pelora-pdf/job-%1.pdf").arg(id);
    state.counters["pdf KB"] = QFileInfo(pdf).size() / 1024.0;
}
BENCHMARK(PrintNinetyNineItemBackFace)->Unit(benchmark::kMillisecond)->Iterations(5);

// Showing the preview of a 99-item back face with the spine picture,
// layout included.
void ShowPreviewOfNinetyNineItemBackFace(benchmark::State &state)
{
    timePreview(state, fillInNinetyNineItemBackFace);
}
BENCHMARK(ShowPreviewOfNinetyNineItemBackFace)->Unit(benchmark::kMillisecond);

}  // namespace

PELORA_BENCHMARK_MAIN()
