// SPDX-License-Identifier: GPL-3.0-or-later
#include "core/layout/PdfExport.h"

#include "core/layout/JacketLayout.h"
#include "core/layout/Canvas.h"
#include "core/layout/Units.h"
#include "core/common/Exception.h"
#include "core/bitmap/BigBitmap.h"

#include <QBuffer>
#include <QCoreApplication>
#include <QPainter>
#include <QPdfWriter>

ExportSheet FallbackSheet()
{
    return ExportSheet{QPageLayout(QPageSize(QPageSize::A4), QPageLayout::Portrait, QMarginsF()), 100, QString()};
}

ExportSheet ProductSheet(const LabelProduct &product, const ExportSheet &printerSheet)
{
    ExportSheet sheet = printerSheet;
    sheet.pageLayout = QPageLayout(QPageSize(product.sheet, QPageSize::Millimeter), QPageLayout::Portrait, QMarginsF());
    return sheet;
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
    writer.setResolution(Units::kLayoutUnitsPerInch);
    writer.setPageLayout(sheet.pageLayout);
    writer.setTitle(jacket.jacket.title);
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

    PageRequest request{jacket.jacket, PageFaces::Front, geometry, sheet.correction, sheet.scalePercent, jacket.product};
    request.discRing = jacket.discRing;
    request.discTray = jacket.discTray;
    TJacketLayout layout;
    bool beyondReach = false;
    for (qsizetype i = 0; i < jacket.pages.size(); ++i) {
        request.faces = jacket.pages[i];
        const PlannedPage page = PlanPage(request, canvas, layout, spine);
        if (page.status == PlannedPage::TooSmallToPrint)
            return fail(Status::TooSmallToPrint);
        if (page.status == PlannedPage::SheetTooSmall || page.status == PlannedPage::NoPlaceOnProduct || page.pastTheSheet)
            return fail(Status::SheetTooSmall);
        beyondReach = beyondReach || SheetPlacement::ReachesBeyond(canvas, page.faces, geometry);

        if (i == 0) {
            if (!painter.begin(&writer))
                return fail(Status::CannotWrite, QCoreApplication::translate("PdfExport", "PDF を書き始められません"));
        } else if (!writer.newPage()) {
            return fail(Status::CannotWrite, QCoreApplication::translate("PdfExport", "PDF の次のページを始められません"));
        }
        canvas.setPainter(&painter);
        SheetPlacement::DrawFaces(canvas, page.faces, spine);
    }
    canvas.setPainter(nullptr);
    if (painter.isActive() && !painter.end())
        return fail(Status::CannotWrite, QCoreApplication::translate("PdfExport", "PDF を書き終えられません"));
    return ExportOutcome{Status::Written, QString(), beyondReach, pdf.data()};
}
