// SPDX-License-Identifier: GPL-3.0-or-later
#include "core/layout/Canvas.h"

#include "core/layout/Fonts.h"

#include <QFontMetrics>
#include <QPaintDevice>
#include <QPainter>

#include <algorithm>

TCanvas::TCanvas(QPaintDevice *device)
    : m_device(device)
    , m_metrics(m_font)
    , m_pen(Qt::black, 1)
{
    applyFont();
}

void TCanvas::setDevice(QPaintDevice *device)
{
    m_device = device;
    applyFont();
}

void TCanvas::setPainter(QPainter *painter)
{
    m_painter = painter;
    if (m_painter) {
        m_painter->setFont(m_font);
        // A painter passes on only a pen that differs from its own, and its
        // own is this one: the PDF engine would then never learn it and draw
        // the first lines with its own hairline (strokes of 0.004 mm).
        m_painter->setPen(Qt::NoPen);
        m_painter->setPen(m_pen);
    }
}

int TCanvas::PixelsPerInch() const { return m_device ? m_device->logicalDpiY() : 96; }

void TCanvas::SetFontSize(int size)
{
    m_fontSize = size;
    applyFont();
}

void TCanvas::applyFont()
{
    m_font = Fonts::uiFont(Fonts::ContentPixelSize);
    const qint64 size = m_fontSize == 0 ? kDefaultPointSize : m_fontSize;
    const qint64 ppi = PixelsPerInch();
    if (size > 0) {
        // Font metrics break down for glyphs of tens of thousands of pixels;
        // beyond the largest reliable size text is measured and drawn at it.
        if (size * ppi / 72 > kLargestPixelSize)
            m_font.setPixelSize(kLargestPixelSize);
        else
            m_font.setPointSize(int(size));
    } else {
        // The largest pixel size whose cell height fits the asked height.
        const int cell = int(std::clamp<qint64>(-size * ppi / 72, 1, kLargestPixelSize));
        m_font.setPixelSize(cell);
        const int height = qMax(1, QFontMetrics(m_font, m_device).height());
        int pixels = qMax(1, int(qint64(cell) * cell / height));
        m_font.setPixelSize(pixels);
        while (pixels > 1 && QFontMetrics(m_font, m_device).height() > cell)
            m_font.setPixelSize(--pixels);
    }
    m_metrics = QFontMetrics(m_font, m_device);
    if (m_painter)
        m_painter->setFont(m_font);
}

int TCanvas::TextWidth(const QString &text) const { return m_metrics.horizontalAdvance(text); }

int TCanvas::TextHeight(const QString &) const { return m_metrics.height(); }

void TCanvas::TextOut(int x, int y, const QString &text)
{
    if (!m_painter)
        return;
    m_painter->drawText(QPoint(x, y + m_metrics.ascent()), text);
}

void TCanvas::SetTransform(const QTransform &transform)
{
    if (m_painter)
        m_painter->setWorldTransform(transform);
}

void TCanvas::SetPenStyle(Qt::PenStyle style)
{
    m_pen.setStyle(style);
    // Dashes of 18 and gaps of 6 device pixels, as a one-pixel dashed pen
    // draws them on screens and printers alike.
    if (style == Qt::DashLine)
        m_pen.setDashPattern({18, 6});
    if (m_painter)
        m_painter->setPen(m_pen);
}

void TCanvas::Polyline(const QPolygon &points)
{
    if (m_painter)
        m_painter->drawPolyline(points);
}

void TCanvas::Ellipse(const QRect &rect)
{
    if (!m_painter)
        return;
    m_painter->save();
    m_painter->setBrush(Qt::NoBrush);
    m_painter->drawEllipse(rect);
    m_painter->restore();
}

void TCanvas::DrawImage(const QRect &rect, const QImage &image)
{
    if (!m_painter || image.isNull())
        return;
    m_painter->save();
    m_painter->setRenderHint(QPainter::SmoothPixmapTransform);
    m_painter->drawImage(rect, image);
    m_painter->restore();
}

void TCanvas::FillRect(const QRect &rect, const QColor &color)
{
    if (m_painter)
        m_painter->fillRect(rect, color);
}
