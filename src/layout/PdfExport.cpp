#include "PdfExport.h"

#include "JacketLayout.h"
#include "common/Canvas.h"
#include "common/Exception.h"
#include "main/PrintPositions.h"
#include "preview/BigBitmap.h"
#include "printer/QdPrinters.h"

#include <QBuffer>
#include <QCoreApplication>
#include <QPainter>
#include <QPdfWriter>
#include <QPrinter>

ExportSheet FallbackSheet()
{
    return ExportSheet{QPageLayout(QPageSize(QPageSize::A4), QPageLayout::Portrait, QMarginsF()), 100, QString()};
}

ExportSheet PrinterSheet(TQdPrinter &printer)
{
    try {
        // Asked first: it fails, as printing would, when there is nothing to
        // print on (no printer, no answer, a class without printers).
        printer.GetPaperSize();
        const QPrinter &platform = printer.PlatformPrinter();
        return ExportSheet{platform.pageLayout(), printer.GetScale(), platform.printerName(),
                           PrintPositions::load(platform.printerName())};
    } catch (const Exception &) {
        return FallbackSheet();
    }
}

ExportOutcome ExportJacketPdf(const JacketExport &jacket, const ExportSheet &sheet)
{
    using Status = ExportOutcome::Status;
    // Made whole in memory: a failure half-way must write nothing, not even
    // into a pipe, which cannot take back what it was given.
    QBuffer pdf;
    pdf.open(QIODevice::WriteOnly);

    // One layout unit is one device pixel, as on the printer.
    QPdfWriter writer(&pdf);
    writer.setResolution(JacketGeometry::kLayoutUnitsPerInch);
    writer.setPageLayout(sheet.pageLayout);
    writer.setTitle(jacket.title);
    writer.setCreator(QCoreApplication::applicationName() + u' ' + QCoreApplication::applicationVersion());

    // The painter draws from the printable area's corner, as a printer's
    // does; the layout takes that offset off its positions.
    const int dpi = writer.resolution();
    const SheetGeometry geometry{QPoint(writer.logicalDpiX(), writer.logicalDpiY()),
                                 sheet.pageLayout.fullRectPixels(dpi).size(), sheet.pageLayout.paintRectPixels(dpi)};

    TCanvas canvas(&writer);
    TBigBitmap spine;
    spine.SetDrawMode(1);
    QPainter painter;
    const auto fail = [&](Status status, const QString &error = QString()) {
        canvas.setPainter(nullptr);
        if (painter.isActive())
            painter.end();
        return ExportOutcome{status, error};
    };

    // Each page: one face alone, or both on one sheet.
    QList<QList<FaceSpot>> pages;
    if (jacket.oneSheet) {
        const std::optional<QList<FaceSpot>> both = SheetPlacement::BothOnOneSheet(geometry);
        if (!both)
            return fail(Status::SheetTooSmall);
        pages << *both;
    } else {
        for (const bool back : jacket.backFaces)
            pages << QList<FaceSpot>{SheetPlacement::Alone(back)};
    }
    const LayoutRequest jacketRequest{false,
                                      jacket.title,
                                      jacket.items,
                                      jacket.titleSizeText,
                                      jacket.itemSizeText,
                                      jacket.numbering,
                                      jacket.numberSuffix,
                                      jacket.verticalSpine,
                                      jacket.lineHeightSample};
    bool beyondReach = false;
    for (qsizetype i = 0; i < pages.size(); ++i) {
        QList<PlacedFace> faces;
        for (const FaceSpot &spot : pages[i]) {
            const LayoutRequest request = SheetPlacement::FaceRequest(jacketRequest, spot, jacket.cover);
            const PageInfo page{geometry.pixelsPerInch, sheet.scalePercent, SheetPlacement::LayoutOffset(geometry, spot)};
            TJacketLayout layout;
            LayOutJacket(layout, request, page, canvas, spine);
            if (layout.TooSmallToPrint)
                return fail(Status::TooSmallToPrint);
            // A face alone starts at the sheet's corner and must end on it.
            if (!spot.shared
                && (layout.PanelLeft + layout.OuterWidth > geometry.sheet.width() || layout.OuterHeight > geometry.sheet.height()))
                return fail(Status::SheetTooSmall);
            faces << PlacedFace{layout, SheetPlacement::FaceContent(request, spot, geometry, jacket.cover),
                                SheetPlacement::FaceTransform(geometry, sheet.correction, spot)};
        }
        beyondReach = beyondReach || SheetPlacement::ReachesBeyond(canvas, faces, geometry);

        if (i == 0) {
            if (!painter.begin(&writer))
                return fail(Status::CannotWrite, QStringLiteral("cannot start the PDF"));
        } else if (!writer.newPage()) {
            return fail(Status::CannotWrite, QStringLiteral("cannot start a new page"));
        }
        canvas.setPainter(&painter);
        SheetPlacement::DrawFaces(canvas, faces, spine);
    }
    canvas.setPainter(nullptr);
    if (painter.isActive() && !painter.end())
        return fail(Status::CannotWrite, QStringLiteral("cannot finish the PDF"));
    return ExportOutcome{Status::Written, QString(), beyondReach, pdf.data()};
}
