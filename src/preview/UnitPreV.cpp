#include "UnitPreV.h"

#include "common/Application.h"
#include "common/Canvas.h"
#include "layout/JacketLayout.h"
#include "main/ItemListBox.h"
#include "main/RadioGroup.h"
#include "main/Unit1.h"
#include "preview/BigBitmap.h"
#include "printer/QdPrinters.h"

#include <QAction>
#include <QLineEdit>
#include <QPainter>
#include <QPushButton>
#include <QShowEvent>

#include <cmath>

TPreVForm *PreVForm = nullptr;

namespace {

// The screen's resolution, which the preview's fonts are sized for.
constexpr int kScreenDotsPerMeter = 3780;  // 96 pixels per inch

int toPreview(int value, double divisor) { return int(std::trunc(value / divisor)); }

QPoint toPreview(const QPoint &point, double divisor)
{
    return QPoint(toPreview(point.x(), divisor), toPreview(point.y(), divisor));
}

QPolygon toPreview(const QPolygon &points, double divisor)
{
    QPolygon out;
    for (const QPoint &p : points)
        out << toPreview(p, divisor);
    return out;
}

}  // namespace

TImage::TImage(const QSize &size, QWidget *parent)
    : QWidget(parent)
    , m_picture(size, QImage::Format_RGB32)
{
    m_picture.setDotsPerMeterX(kScreenDotsPerMeter);
    m_picture.setDotsPerMeterY(kScreenDotsPerMeter);
    m_picture.fill(Qt::white);
    m_canvas.setDevice(&m_picture);
    setFixedSize(size);
}

void TImage::Paint(const std::function<void(TCanvas &)> &draw)
{
    QPainter painter(&m_picture);
    m_canvas.setPainter(&painter);
    draw(m_canvas);
    m_canvas.setPainter(nullptr);
    update();
}

void TImage::Clear()
{
    m_picture.fill(Qt::white);
    update();
}

void TImage::paintEvent(QPaintEvent *)
{
    QPainter painter(this);
    painter.drawImage(0, 0, m_picture);
}

TPreVForm::TPreVForm(QWidget *parent)
    : QDialog(parent, Qt::Dialog | Qt::CustomizeWindowHint | Qt::WindowTitleHint | Qt::WindowCloseButtonHint)
{
    setObjectName(QStringLiteral("PreVForm"));
    resize(622, 480);
    move(192, 107);
    PrintBtn = new QPushButton(QStringLiteral("印刷"), this);
    PrintBtn->setObjectName(QStringLiteral("PrintBtn"));
    PrintBtn->setGeometry(552, 125, 57, 49);
    CanCelBtn = new QPushButton(QStringLiteral("戻る"), this);
    CanCelBtn->setObjectName(QStringLiteral("CanCelBtn"));
    CanCelBtn->setGeometry(552, 275, 57, 49);
    Image1 = new TImage(QSize(545, 449), this);
    Image1->setObjectName(QStringLiteral("Image1"));
    Image1->move(0, 0);
    // Printing can end with the printer facade's exceptions: shown before
    // they could pass through Qt (see RunHandler).
    connect(PrintBtn, &QPushButton::clicked, this, [this] { RunHandler([this] { PrintBtnClick(); }); });
    connect(CanCelBtn, &QPushButton::clicked, this, &TPreVForm::CanCelBtnClick);
    FormCreate();
}

void TPreVForm::FormCreate() { setWindowTitle(AppName + QStringLiteral(" - プレビュー")); }

int TPreVForm::PreviewFontSize(int printerLineHeight, double divisor, int ppi)
{
    const int t = toPreview(printerLineHeight, divisor);
    return -int(std::trunc(72.0 * t / ppi));
}

void TPreVForm::showEvent(QShowEvent *event)
{
    QDialog::showEvent(event);
    // Restoring the minimised window is no new showing: the picture stays.
    if (event->spontaneous())
        return;
    // The layout asks the printer, which may fail: the window shows all the
    // same, with the error box over it.
    RunHandler([this] { FormShow(); });
}

void TPreVForm::FormShow()
{
    if (QWidget *main = parentWidget()) {
        move(main->x() + (main->width() - width()) / 2, main->y() + (main->height() - height()) / 2);
    }
    PrintBtn->setFocus();
    Form1->ComputeLayout();
    if (JacketLayout.TooSmallToPrint)
        showWarning({QStringLiteral("文字が小さくなりすぎて印刷不可能です。")});
    else
        DrawPreview();
}

void TPreVForm::showWarning(const QStringList &lines)
{
    Image1->Clear();
    Image1->Paint([&](TCanvas &image) {
        image.SetFontSize(17);
        for (int i = 0; i < lines.size(); ++i)
            image.TextOut(10, 10 + 30 * i, lines[i]);
    });
}

void TPreVForm::DrawPreview()
{
    const TJacketLayout &L = JacketLayout;
    const bool back = Form1->RGTwoSides->ItemIndex() == 1;
    const QString title = Form1->EditTi->text();
    const QStringList items = Form1->ListBox1->items();
    const double divisor = PreviewDivisor(L.ScaleX);
    TCanvas &printer = QdPrinter->GetCanvas();
    const int ppi = Image1->Picture().logicalDpiY();

    // A preview line is as many pixels high as the printer's line, divided.
    auto previewSize = [&](int printerSize) {
        printer.SetFontSize(printerSize);
        return PreviewFontSize(printer.TextHeight(AppName), divisor, ppi);
    };
    const int titleSize = previewSize(L.TitleFontSize);
    const int itemSize = previewSize(L.ItemFontSize);
    const int spineSize = previewSize(L.SpineFontSize);
    if (titleSize == 0 || itemSize == 0 || spineSize == 0) {
        showWarning({QStringLiteral("文字が小さすぎてプレビュー不可能です。"), QStringLiteral("印刷は可能ですがおすすめできません。")});
        return;
    }

    Image1->Paint([&](TCanvas &image) {
        // The screen font is not as wide as the printer's: centre again.
        printer.SetFontSize(L.TitleFontSize);
        const int titleWidth = toPreview(printer.TextWidth(title), divisor);
        image.SetFontSize(titleSize);
        const int dT = (titleWidth - image.TextWidth(title)) / 2;
        const QString widest = items.value(L.WidestItemIndex);
        printer.SetFontSize(L.ItemFontSize);
        const int itemWidth = toPreview(printer.TextWidth(widest), divisor);
        image.SetFontSize(itemSize);
        const int dI = (itemWidth - image.TextWidth(widest)) / 2;
        const QPoint titleAt = toPreview(L.TitleOrigin, divisor) + QPoint(dT, 0);
        const QPoint itemsAt = toPreview(L.ItemsOrigin, divisor) + QPoint(dI, 0);

        image.SetPenStyle(Qt::DashLine);
        if (back) {
            image.Polyline(toPreview(L.LeftFoldLine, divisor));
            image.Polyline(toPreview(L.RightFoldLine, divisor));
            image.Polyline(toPreview(L.BackCutLine, divisor));
        } else {
            image.Polyline(toPreview(L.FrontCutLine, divisor));
        }
        if (!title.isEmpty()) {
            image.SetFontSize(titleSize);
            image.TextOut(titleAt.x(), titleAt.y(), title);
        }
        image.SetFontSize(itemSize);
        const int lineHeight = image.TextHeight(AppName);
        const QStringList lines = NumberedLines(items, Form1->PlusNum->isChecked(), NumberSuffix);
        for (int i = 0; i < lines.size(); ++i)
            image.TextOut(itemsAt.x(), itemsAt.y() + i * lineHeight, lines[i]);

        if (back && !title.isEmpty()) {
            if (VerticalSpineText) {
                image.SetFontSize(spineSize);
                const int spineLine = image.TextHeight(AppName);
                const QPoint left = toPreview(L.SpineTextOriginLeft, divisor);
                const QPoint right = toPreview(L.SpineTextOriginRight, divisor);
                const QStringList characters = UserCharacters(title);
                for (int k = 0; k < characters.size(); ++k) {
                    image.TextOut(left.x(), left.y() + k * spineLine, characters[k]);
                    image.TextOut(right.x(), right.y() + k * spineLine, characters[k]);
                }
            } else {
                auto edges = [&](const TEdges &e) {
                    return TEdges{toPreview(e.Left, divisor), toPreview(e.Top, divisor), toPreview(e.Right, divisor),
                                  toPreview(e.Bottom, divisor)};
                };
                image.StretchDraw(edges(L.SpineRectLeft).toRect(), *SpineBitmap);
                image.StretchDraw(edges(L.SpineRectRight).toRect(), *SpineBitmap);
            }
        }
    });
    printer.SetFontSize(L.ItemFontSize);
}

void TPreVForm::PrintBtnClick()
{
    Form1->Button1Click(PrintBtn);
    accept();
}

void TPreVForm::CanCelBtnClick() { reject(); }

void TPreVForm::FormClose() { Image1->Clear(); }

void TPreVForm::done(int result)
{
    FormClose();
    QDialog::done(result);
}
