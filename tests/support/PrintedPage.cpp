// SPDX-License-Identifier: GPL-3.0-or-later
#include "support/PrintedPage.h"

#include <QImageReader>
#include <QProcess>
#include <QTest>

namespace PrintedPage {

QImage render(const QString &pdf, int dpi, bool colour)
{
    QProcess pdftoppm;
    QStringList arguments{QStringLiteral("-r"), QString::number(dpi), QStringLiteral("-singlefile"), pdf};
    if (!colour)
        arguments.prepend(QStringLiteral("-gray"));
    pdftoppm.start(QStringLiteral("pdftoppm"), arguments);
    if (!pdftoppm.waitForFinished(60000) || pdftoppm.exitCode() != 0)
        return {};
    // A sheet at 600 per inch is more than the reader takes by default.
    const int limit = QImageReader::allocationLimit();
    QImageReader::setAllocationLimit(512);
    QImage page = QImage::fromData(pdftoppm.readAllStandardOutput(), colour ? "PPM" : "PGM")
                      .convertToFormat(colour ? QImage::Format_RGB32 : QImage::Format_Grayscale8);
    QImageReader::setAllocationLimit(limit);
    return page;
}

QList<double> linesAcross(const QImage &page, Qt::Orientation orientation, int from, int to)
{
    const bool vertical = orientation == Qt::Vertical;
    const int count = vertical ? page.width() : page.height();
    QList<int> dark(count);
    for (int y = vertical ? from : 0; y < (vertical ? to : page.height()); ++y) {
        const uchar *line = page.constScanLine(y);
        for (int x = vertical ? 0 : from; x < (vertical ? page.width() : to); ++x)
            dark[vertical ? x : y] += line[x] < 128 ? 1 : 0;
    }
    QList<double> lines;
    for (int i = 0; i < count;) {
        if (dark[i] * 2 <= to - from) {
            ++i;
            continue;
        }
        const int first = i;
        while (i < count && dark[i] * 2 > to - from)
            ++i;
        lines << (first + i) / 2.0;
    }
    return lines;
}

void addCorrectionRows(bool sheetWithMargins)
{
    QTest::addColumn<QString>("queue");
    QTest::addColumn<double>("x");
    QTest::addColumn<double>("y");
    QTest::addColumn<double>("scale");
    QTest::newRow("none") << "pelora-pdf" << 0.0 << 0.0 << 100.0;
    QTest::newRow("moved") << "pelora-pdf" << 2.0 << -1.5 << 100.0;
    QTest::newRow("scaled") << "pelora-pdf" << 0.0 << 0.0 << 102.0;
    // Half-inch margins: scaled about the sheet's corner, not the printable area's.
    if (sheetWithMargins)
        QTest::newRow("scaled, margins") << "pelora-margins" << 0.0 << 0.0 << 102.0;
}

}  // namespace PrintedPage
