// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "core/layout/Canvas.h"
#include "core/common/Exception.h"

#include <QBrush>
#include <QFont>
#include <QImage>
#include <QList>
#include <QPainter>
#include <QPen>
#include <QRegion>
#include <QRgb>

#include <functional>
#include <memory>
#include <optional>

class QIODevice;
class QRect;
class TBigBitmap;

// Failures of the picture itself; the picture is left as it was.
class EBigBitmapError : public Exception
{
public:
    using Exception::Exception;
};

// Drawing state shared by all bands of a picture. Drawing through Paint
// reaches every band, each band shifted up by its first row, so the
// picture can be drawn on as if it were one image.
class TBigBitmapCanvas
{
public:
    explicit TBigBitmapCanvas(TBigBitmap *owner) : m_owner(owner) {}

    TBigBitmap *Owner() const { return m_owner; }

    // Runs draw once per band with a painter set up from this state.
    // Indexed bands are painted through a true-colour copy and mapped back
    // to their palette.
    void Paint(const std::function<void(QPainter &)> &draw);

    QFont font;
    QBrush brush{Qt::white};  // new bands are filled with it
    QPen pen{Qt::black};
    QPainter::CompositionMode copyMode = QPainter::CompositionMode_Source;
    std::optional<QRegion> clipRegion;

private:
    TBigBitmap *m_owner;
};

// Row stride, band height and band count of a picture. Bands hold at most
// 8 MiB of rows each.
struct TBandLayout
{
    int stride = 0;      // bytes per row at the picture's bits per pixel, 32-bit aligned
    int bandHeight = 0;  // rows of every band but the last
    int bandCount = 0;
};

// An off-screen picture of any size, held in horizontal bands of at most
// 8 MiB (each band a QImage of the full width). Pixel format codes:
// 0 = 1 bit (Format_Mono), 1 = 4 bits (held one index per byte in
// Format_Indexed8), 2 = 8 bits (Format_Indexed8), 3 = 24 bits
// (Format_RGB888). Indexed bands always carry a full palette (2, 16 or 256
// entries), so that no stored index can fall outside it.
class TBigBitmap
{
public:
    TBigBitmap();
    ~TBigBitmap();
    TBigBitmap(const TBigBitmap &) = delete;
    TBigBitmap &operator=(const TBigBitmap &) = delete;

    // Replaces the picture by a copy of image, which goes through an
    // in-memory BMP file image and LoadFromStream. A null image empties
    // the picture.
    void Assign(const QImage &image);
    // Copies bands, size, pixel format and draw mode; nullptr empties the
    // picture.
    void Assign(const TBigBitmap *source);

    // Reads a BMP file image from the device's position to its end.
    // Throws EDIBUtilsError or EBigBitmapError; the picture stays as it was.
    void LoadFromStream(QIODevice &stream);

    // Draws the picture stretched into rect on canvas. rect.x() + rect.width()
    // is the right edge, excluded; a negative width or height mirrors the
    // picture. Throws "TBigBitmap.Draw: Unknown Mode" for a draw mode other
    // than 0 (band stretch) or 1 (tiled).
    void Draw(QPainter &canvas, const QRect &rect) const;
    // The same on a canvas's page; nothing while it has no painter.
    void Draw(TCanvas &canvas, const QRect &rect) const;

    bool Empty() const { return m_width == 0 || m_height == 0; }
    int Width() const { return m_width; }
    int Height() const { return m_height; }
    // Both re-create every band blank (filled with the canvas brush) at the
    // new size, keeping pixel format and palette.
    void SetWidth(int width);
    void SetHeight(int height);

    // The first band's colour table; empty for an empty or 24-bit picture.
    QList<QRgb> Palette() const;
    void SetPalette(const QList<QRgb> &palette);

    quint8 PixelFormat() const { return m_pixelFormat; }
    // Re-creates the bands blank in the new format.
    void SetPixelFormat(quint8 pixelFormat);
    // 1, 4, 8 or 24; "TBigBitmap.GetPixelBits: Invalid Pixel Format" above 3.
    static int GetPixelBits(quint8 pixelFormat);

    quint8 DrawMode() const { return m_drawMode; }
    void SetDrawMode(quint8 mode);
    bool ForceFactor4() const { return m_forceFactor4; }
    void SetForceFactor4(bool on) { m_forceFactor4 = on; }
    bool PlainCopy() const { return m_plainCopy; }
    void SetPlainCopy(bool on) { m_plainCopy = on; }

    // Row memory of picture row row (0 = top) in its band's layout.
    uchar *GetScanline(int row);
    const uchar *GetScanline(int row) const;

    TBigBitmapCanvas &Canvas() { return *m_canvas; }
    int BandCount() const { return int(m_bands.size()); }
    const QImage &Band(int index) const { return m_bands.at(index); }

    // Called whenever the picture changes.
    void SetOnChange(std::function<void()> onChange) { m_onChange = std::move(onChange); }

    // Band arithmetic; nullopt when the row stride reaches 65 280 bytes.
    static std::optional<TBandLayout> BandLayout(int width, int height, int bitsPerPixel);
    // Tiled drawing: the destination pixels per sample across (a width
    // below 256 keeps 1) and down (a height up to 256 keeps 1).
    static int SampleFactorX(qint64 destWidth, int width, bool forceFactor4);
    static int SampleFactorY(qint64 destHeight, int height, bool forceFactor4);

private:
    friend class TBigBitmapCanvas;

    void SetBitmaps(int width, int height, quint8 pixelFormat);
    int bandHeight() const { return m_bands.isEmpty() ? 0 : m_bands.first().height(); }
    void drawBands(QPainter &canvas, const QRect &rect) const;
    void drawTiled(QPainter &canvas, const QRect &rect) const;
    void changed();

    QList<QImage> m_bands;
    quint8 m_pixelFormat = 2;
    qint32 m_width = 0;
    qint32 m_height = 0;
    std::unique_ptr<TBigBitmapCanvas> m_canvas;
    quint8 m_drawMode = 0;
    bool m_forceFactor4 = false;
    bool m_plainCopy = false;
    std::function<void()> m_onChange;
};
