// SPDX-License-Identifier: GPL-3.0-or-later
#include "gui/preview/PreviewWindow.h"

#include "gui/app/Application.h"
#include "core/layout/Canvas.h"
#include "core/layout/JacketLayout.h"
#include "core/layout/Units.h"
#include "core/labels/LabelOutlines.h"
#include "core/layout/SheetPlacement.h"
#include "gui/widgets/ItemListBox.h"
#include "gui/widgets/RadioGroup.h"
#include "gui/mainwindow/MainWindow.h"
#include "core/bitmap/BigBitmap.h"
#include "printer/JacketPrinting.h"
#include "printer/QdPrinters.h"

#include <QAction>
#include <QLineEdit>
#include <QPainter>
#include <QPushButton>
#include <QScopeGuard>
#include <QShowEvent>

#include <algorithm>
#include <cmath>
#include <optional>

TPreVForm *PreVForm = nullptr;

namespace {

// The screen's resolution, which the preview's fonts are sized for.
constexpr int kScreenDotsPerMeter = 3780;  // 96 pixels per inch

int toPreview(int value, double divisor) { return int(std::trunc(value / divisor)); }

QPoint toPreview(const QPoint &point, double divisor)
{
    return QPoint(toPreview(point.x(), divisor), toPreview(point.y(), divisor));
}

// Edge by edge, as the printer's rectangle ends on its right and bottom edges.
QRect toPreview(const QRect &rect, double divisor)
{
    const QPoint from = toPreview(rect.topLeft(), divisor);
    const QPoint to = toPreview(rect.topLeft() + QPoint(rect.width(), rect.height()), divisor);
    return QRect(from, QSize(to.x() - from.x(), to.y() - from.y()));
}

QPolygon toPreview(const QPolygon &points, double divisor)
{
    QPolygon out;
    for (const QPoint &p : points)
        out << toPreview(p, divisor);
    return out;
}

struct FaceFonts
{
    int title, item, spine;
};

// The sheet's edge, and grey where the printer cannot print.
void drawSheet(TCanvas &image, const SheetGeometry &sheet, double divisor)
{
    const QRect whole(QPoint(), QSize(toPreview(sheet.sheet.width(), divisor), toPreview(sheet.sheet.height(), divisor)));
    const QRect printable(toPreview(sheet.printable.topLeft(), divisor), toPreview(sheet.printable.bottomRight(), divisor));
    const QColor unreachable(232, 232, 232);
    image.FillRect(QRect(whole.topLeft(), QPoint(whole.right(), printable.top() - 1)), unreachable);
    image.FillRect(QRect(QPoint(whole.left(), printable.bottom() + 1), whole.bottomRight()), unreachable);
    image.FillRect(QRect(QPoint(whole.left(), printable.top()), QPoint(printable.left() - 1, printable.bottom())), unreachable);
    image.FillRect(QRect(QPoint(printable.right() + 1, printable.top()), QPoint(whole.right(), printable.bottom())), unreachable);
    image.SetPenStyle(Qt::SolidLine);
    image.Polyline(QPolygon(whole, true));
}

// How much wider the printed text is than the preview font draws it.
double stretchOf(int printedWidth, int previewWidth)
{
    return printedWidth > 0 && previewWidth > 0 ? double(printedWidth) / previewWidth : 1.0;
}

// A pre-cut product's labels in light grey, where the paper has them.
void drawLabels(TCanvas &image, const SheetGeometry &sheet, const LabelProduct &product, double divisor)
{
    QPainter *painter = image.painter();
    painter->save();
    painter->setPen(QPen(QColor(200, 200, 200), 0));
    painter->setBrush(Qt::NoBrush);
    const double across = Units::pixelsPerMm(sheet.pixelsPerInch.x()) / divisor;
    const double down = Units::pixelsPerMm(sheet.pixelsPerInch.y()) / divisor;
    const QTransform toPicture = QTransform::fromScale(across, down);
    for (const QPainterPath &outline : LabelOutlines(product))
        painter->drawPath(toPicture.map(outline));
    painter->restore();
}

// A piece drawn as the printer draws it, on a picture of the printer's
// resolution made small: its fonts, lines and clipped cover are the printed
// ones (a disc's hole left blank).
void drawPrintMadeSmall(TCanvas &image, TCanvas &printer, const PlacedFace &face, const SheetGeometry &sheet, const QPointF &at,
                        double divisor)
{
    const FaceKind &kind = FaceKinds::row(face.kind);
    // The piece's box and all its ink, a cover's bleed beyond the box too.
    QRect area = kind.box(face);
    for (const QRect &ink : kind.drawnAreas(printer, face))
        area |= ink;
    const QTransform small(face.transform.m11() / divisor, 0, 0, face.transform.m22() / divisor, 0, 0);
    const QRect shown = small.mapRect(area).adjusted(0, 0, 2, 2);
    QImage picture(shown.size(), QImage::Format_ARGB32_Premultiplied);
    constexpr double kInchesPerMetre = 1 / 0.0254;
    picture.setDotsPerMeterX(int(std::lround(sheet.pixelsPerInch.x() * kInchesPerMetre)));
    picture.setDotsPerMeterY(int(std::lround(sheet.pixelsPerInch.y() * kInchesPerMetre)));
    picture.fill(Qt::transparent);
    {
        QPainter painter(&picture);
        painter.setRenderHint(QPainter::Antialiasing);
        TCanvas canvas(&picture);
        canvas.setPainter(&painter);
        canvas.SetTransform(small * QTransform::fromTranslate(-shown.x(), -shown.y()));
        kind.draw(canvas, face, *SpineBitmap);
        if (kind.drawUnprintedOutline)
            kind.drawUnprintedOutline(painter, face);
        canvas.setPainter(nullptr);
    }
    QPainter *painter = image.painter();
    const QTransform kept = painter->worldTransform();
    painter->setWorldTransform(QTransform());
    painter->drawImage(at + QPointF(shown.topLeft()), picture);
    painter->setWorldTransform(kept);
}

// One face as the printer would print it, drawn small: every printer
// coordinate divided, fonts chosen by the printer's line heights, and the
// texts centred again since the screen font is not as wide as the
// printer's. On a whole sheet the fonts are so small that they fall far
// short of the printed widths: there the title and the items are stretched
// across to those widths instead, so that the preview agrees with the page.
void drawFace(TCanvas &image, TCanvas &printer, const PlacedFace &face, const FaceFonts &sizes, const QString &widest,
              double divisor, bool stretchTexts)
{
    const TJacketLayout &L = face.layout;
    const JacketContent &content = face.content;
    printer.SetFontSize(L.TitleFontSize);
    const int titleWidth = toPreview(printer.TextWidth(content.title), divisor);
    image.SetFontSize(sizes.title);
    const int dT = stretchTexts ? 0 : (titleWidth - image.TextWidth(content.title)) / 2;
    const double titleStretch = stretchTexts ? stretchOf(titleWidth, image.TextWidth(content.title)) : 1.0;
    printer.SetFontSize(L.ItemFontSize);
    const int itemWidth = toPreview(printer.TextWidth(widest), divisor);
    image.SetFontSize(sizes.item);
    const int dI = stretchTexts ? 0 : (itemWidth - image.TextWidth(widest)) / 2;
    const double itemStretch = stretchTexts ? stretchOf(itemWidth, image.TextWidth(widest)) : 1.0;

    if (HasCover(content)) {
        const QRect shown = toPreview(CoverBox(L, content), divisor);
        image.DrawImage(shown, content.cover.covering(shown.size()));
    }
    image.SetPenStyle(Qt::DashLine);
    for (const QPolygon &line : GuideLines(L, content))
        image.Polyline(toPreview(line, divisor));
    image.SetPenStyle(Qt::SolidLine);
    for (const QLine &mark : CropMarks(L, content))
        image.Polyline(toPreview(QPolygon({mark.p1(), mark.p2()}), divisor));
    // The layout's parts at the preview's own sizes and line heights.
    const int fontSizes[] = {sizes.title, sizes.item, sizes.spine};
    const QPoint shifts[] = {QPoint(dT, 0), QPoint(dI, 0), QPoint()};
    const double stretches[] = {titleStretch, itemStretch, 1.0};
    const QTransform face0 = image.painter()->worldTransform();
    int lineHeight = 0;
    std::optional<FacePart::Kind> fontFor;
    for (const FacePart &part : FaceParts(L, content)) {
        if (part.kind == FacePart::SpinePicture) {
            // Where the layout put it: the stretch of the texts before it is theirs alone.
            image.SetTransform(face0);
            SpineBitmap->Draw(image, toPreview(part.rect, divisor));
            continue;
        }
        if (part.kind != fontFor) {
            image.SetFontSize(fontSizes[part.kind]);
            lineHeight = image.TextHeight(LineHeightSample);
            fontFor = part.kind;
        }
        const QPoint at = toPreview(part.anchor, divisor) + shifts[part.kind] + QPoint(0, part.line * lineHeight);
        const double stretch = stretches[part.kind];
        image.SetTransform(QTransform(stretch, 0, 0, 1, at.x() * (1 - stretch), 0) * face0);
        image.TextOut(at.x(), at.y(), part.text);
    }
    image.SetTransform(face0);
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
    PrintBtn = new QPushButton(tr("印刷"), this);
    PrintBtn->setObjectName(QStringLiteral("PrintBtn"));
    PrintBtn->setGeometry(552, 125, 57, 49);
    CanCelBtn = new QPushButton(tr("戻る"), this);
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

void TPreVForm::FormCreate() { setWindowTitle(AppName() + QStringLiteral(" - ") + tr("プレビュー")); }

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
    setWindowTitle(AppName() + QStringLiteral(" - ") + tr("プレビュー") + QStringLiteral(" - ") + Form1->PrintDestination());
    Form1->ComputeLayout(Faces);
    if (JacketLayout.TooSmallToPrint) {
        showWarning({tr("文字が小さくなりすぎて印刷不可能です。")});
        return;
    }
    // The commands check the paper first; nothing planned is nothing shown.
    if (PagePlan.isEmpty())
        return;
    DrawPreview();
    Form1->TellWhatIsBeyondReach();
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
    const SheetGeometry sheet = TForm1::Printing().Sheet();
    const QStringList items = Form1->ListBox1->items();
    TCanvas &printer = QdPrinter->GetCanvas();
    const int ppi = Image1->Picture().logicalDpiY();
    // A face alone is shown from the printable area's corner at the fixed
    // factor; the whole sheet is made small enough to fit.
    double divisor = PreviewDivisor(PagePlan.first().layout.ScaleX);
    if (WholeSheet) {
        divisor = std::max({divisor, double(sheet.sheet.width()) / Image1->Picture().width(),
                            double(sheet.sheet.height()) / Image1->Picture().height()});
    }

    // A preview line is as many pixels high as the printer's line, divided.
    auto previewSize = [&](int printerSize) {
        printer.SetFontSize(printerSize);
        return PreviewFontSize(printer.TextHeight(LineHeightSample), divisor, ppi);
    };
    QList<FaceFonts> fonts;
    for (const PlacedFace &face : std::as_const(PagePlan)) {
        if (FaceKinds::row(face.kind).preview != FaceKind::Preview::TextsAtScreenSizes) {
            fonts << FaceFonts{};
            continue;
        }
        const FaceFonts sizes{previewSize(face.layout.TitleFontSize), previewSize(face.layout.ItemFontSize),
                              previewSize(face.layout.SpineFontSize)};
        if (sizes.title == 0 || sizes.item == 0 || sizes.spine == 0) {
            showWarning({tr("文字が小さすぎてプレビュー不可能です。"), tr("印刷は可能ですがおすすめできません。")});
            return;
        }
        fonts << sizes;
    }

    Image1->Paint([&](TCanvas &image) {
        QPoint origin;
        if (WholeSheet) {
            origin = sheet.printable.topLeft();
            drawSheet(image, sheet, divisor);
            if (const LabelProduct *product = TForm1::Printing().Product())
                drawLabels(image, sheet, *product, divisor);
        }
        for (qsizetype i = 0; i < PagePlan.size(); ++i) {
            const PlacedFace &face = PagePlan[i];
            const QTransform &t = face.transform;
            if (FaceKinds::row(face.kind).preview == FaceKind::Preview::PrintMadeSmall) {
                drawPrintMadeSmall(image, printer, face, sheet, QPointF((t.dx() + origin.x()) / divisor, (t.dy() + origin.y()) / divisor),
                                   divisor);
                continue;
            }
            // The face's placement, in preview pixels.
            image.SetTransform(QTransform(t.m11(), 0, 0, t.m22(), (t.dx() + origin.x()) / divisor, (t.dy() + origin.y()) / divisor));
            drawFace(image, printer, face, fonts[i], items.value(face.layout.WidestItemIndex), divisor, WholeSheet);
        }
        image.SetTransform(QTransform());
    });
    printer.SetFontSize(JacketLayout.ItemFontSize);
}

void TPreVForm::PrintBtnClick()
{
    // Closed however the print ended: what to do about a failure is done
    // in the main window.
    const auto close = qScopeGuard([this] { accept(); });
    Form1->PrintPages(PrintBtn, Faces);
}

void TPreVForm::CanCelBtnClick() { reject(); }

void TPreVForm::FormClose() { Image1->Clear(); }

void TPreVForm::done(int result)
{
    FormClose();
    QDialog::done(result);
}
