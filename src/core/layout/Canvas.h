// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QFont>
#include <QFontMetrics>
#include <QPen>
#include <QPolygon>
#include <QString>
#include <QTransform>

class QImage;
class QPaintDevice;
class QPainter;
class QRect;

// A drawing surface as the layout and the preview use it: fonts are chosen
// by size only (the program's one face), text is measured and drawn one
// line at a time with its top-left corner given, lines are drawn with a
// plain or dashed pen, and pictures are stretched into rectangles (the
// spine pictures draw themselves on a canvas).
//
// Measuring needs only the device (its resolution); drawing needs a painter
// that is active on it, which the owner of the surface begins and ends.
class TCanvas
{
public:
    explicit TCanvas(QPaintDevice *device = nullptr);

    void setDevice(QPaintDevice *device);
    QPaintDevice *device() const { return m_device; }
    void setPainter(QPainter *painter);
    QPainter *painter() const { return m_painter; }

    // Positive: points at the device's own resolution. Negative: the font's
    // cell height (ascent plus descent) is -size points, that is
    // -size × ppi ÷ 72 pixels. 0 selects the surface's default height.
    void SetFontSize(int size);
    int FontSize() const { return m_fontSize; }
    QFont font() const { return m_font; }
    int PixelsPerInch() const;

    int TextWidth(const QString &text) const;
    int TextHeight(const QString &text) const;
    void TextOut(int x, int y, const QString &text);

    // Places what is drawn from now on until the painter ends (a face on
    // its sheet, with the printer's correction).
    void SetTransform(const QTransform &transform);

    void SetPenStyle(Qt::PenStyle style);
    void Polyline(const QPolygon &points);
    // The ellipse inside `rect`, outlined with the current pen, not filled.
    void Ellipse(const QRect &rect);
    void DrawImage(const QRect &rect, const QImage &image);
    void FillRect(const QRect &rect, const QColor &color);

    // The size a font has when nothing else is asked for.
    static constexpr int kDefaultPointSize = 10;
    static constexpr int kLargestPixelSize = 8000;

private:
    void applyFont();

    QPaintDevice *m_device = nullptr;
    QPainter *m_painter = nullptr;
    int m_fontSize = kDefaultPointSize;
    QFont m_font;
    QFontMetrics m_metrics;
    QPen m_pen;
};
