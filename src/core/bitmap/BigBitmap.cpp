// SPDX-License-Identifier: GPL-3.0-or-later
#include "core/bitmap/BigBitmap.h"

#include "core/bitmap/DIBUtils.h"

#include <QBuffer>
#include <QPaintDevice>
#include <QRect>
#include <QTransform>

#include <algorithm>
#include <climits>
#include <cmath>
#include <cstring>
#include <new>
#include <vector>

namespace {

constexpr int kMaxBandBytes = 8 * 1024 * 1024;
constexpr int kMaxStride = 0xFF00;
constexpr int kMaxTileSamples = 1024;

[[noreturn]] void fail(const char *what)
{
    throw EBigBitmapError(QLatin1StringView(what));
}

QImage::Format formatOf(int bits)
{
    switch (bits) {
    case 1:
        return QImage::Format_Mono;
    case 24:
        return QImage::Format_RGB888;
    default:
        return QImage::Format_Indexed8;
    }
}

quint8 pixelFormatOf(int bits)
{
    switch (bits) {
    case 1:
        return 0;
    case 4:
        return 1;
    case 8:
        return 2;
    default:
        return 3;
    }
}

// A table covering every index the format can store; missing entries are
// black.
QList<QRgb> fullPalette(QList<QRgb> table, int bits)
{
    if (bits > 8)
        return {};
    table.resize(qsizetype(1) << bits, qRgb(0, 0, 0));
    for (QRgb &c : table)
        c |= 0xFF000000u;
    return table;
}

// For blank pictures that have no palette yet.
QList<QRgb> defaultPalette(int bits)
{
    QList<QRgb> table;
    if (bits == 1) {
        table = {qRgb(0, 0, 0), qRgb(255, 255, 255)};
    } else if (bits == 4) {
        table = {qRgb(0, 0, 0),       qRgb(128, 0, 0),   qRgb(0, 128, 0),   qRgb(128, 128, 0),
                 qRgb(0, 0, 128),     qRgb(128, 0, 128), qRgb(0, 128, 128), qRgb(192, 192, 192),
                 qRgb(128, 128, 128), qRgb(255, 0, 0),   qRgb(0, 255, 0),   qRgb(255, 255, 0),
                 qRgb(0, 0, 255),     qRgb(255, 0, 255), qRgb(0, 255, 255), qRgb(255, 255, 255)};
    } else if (bits == 8) {
        // 6 × 6 × 6 colour cube, then a grey ramp.
        for (int r = 0; r < 6; ++r)
            for (int g = 0; g < 6; ++g)
                for (int b = 0; b < 6; ++b)
                    table.append(qRgb(r * 51, g * 51, b * 51));
        for (int i = 0; i < 40; ++i)
            table.append(qRgb(8 + i * 6, 8 + i * 6, 8 + i * 6));
    }
    return table;
}

uint nearestIndex(const QList<QRgb> &table, QRgb colour)
{
    uint best = 0;
    int bestDistance = INT_MAX;
    for (qsizetype i = 0; i < table.size(); ++i) {
        const int dr = qRed(table[i]) - qRed(colour);
        const int dg = qGreen(table[i]) - qGreen(colour);
        const int db = qBlue(table[i]) - qBlue(colour);
        const int distance = dr * dr + dg * dg + db * db;
        if (distance < bestDistance) {
            bestDistance = distance;
            best = uint(i);
        }
    }
    return best;
}

// Allocating a band can fail for a huge picture; Qt answers with a null
// image, which is the toolkit's way of saying it ran out of memory.
QImage newBand(int width, int rows, int bits, const QList<QRgb> &palette)
{
    QImage band(width, rows, formatOf(bits));
    if (band.isNull())
        throw std::bad_alloc();
    if (bits <= 8)
        band.setColorTable(palette);
    return band;
}

// Restores the painter's smooth-scaling hint when the draw ends, also by
// an exception.
class SmoothScalingOff
{
public:
    SmoothScalingOff(QPainter &painter, bool active)
        : m_painter(painter), m_active(active), m_was(painter.testRenderHint(QPainter::SmoothPixmapTransform))
    {
        if (m_active)
            m_painter.setRenderHint(QPainter::SmoothPixmapTransform, false);
    }
    ~SmoothScalingOff()
    {
        if (m_active)
            m_painter.setRenderHint(QPainter::SmoothPixmapTransform, m_was);
    }
    SmoothScalingOff(const SmoothScalingOff &) = delete;
    SmoothScalingOff &operator=(const SmoothScalingOff &) = delete;

private:
    QPainter &m_painter;
    bool m_active;
    bool m_was;
};

// The part of the painter's coordinate space that can show anything: the
// clip's bounding box, else the whole device. nullopt when nothing can.
std::optional<QRectF> visibleBox(const QPainter &painter)
{
    if (painter.hasClipping())
        return painter.clipBoundingRect();
    const QPaintDevice *device = painter.device();
    if (!device)
        return std::nullopt;
    bool invertible = false;
    const QTransform toLogical = painter.combinedTransform().inverted(&invertible);
    if (!invertible)
        return std::nullopt;
    return toLogical.mapRect(QRectF(0, 0, device->width(), device->height()));
}

// One axis of a tiled draw: how the destination splits into samples and
// the samples into tiles.
struct TileAxis
{
    qint64 dest = 0;      // destination pixels, |R.right − R.left|
    int factor = 1;       // destination pixels per sample
    qint64 samples = 0;   // dest div factor
    int tileSamples = 0;  // samples per full tile
    qint64 tiles = 0;

    TileAxis(qint64 destSize, int factorIn)
        : dest(destSize), factor(factorIn), samples(destSize / factorIn), tileSamples(kMaxTileSamples / factorIn),
          tiles((samples + tileSamples - 1) / tileSamples)
    {
    }
    qint64 firstSample(qint64 tile) const { return tile * tileSamples; }
    int sampleCount(qint64 tile) const { return int(std::min<qint64>(tileSamples, samples - firstSample(tile))); }
    qint64 offset(qint64 tile) const { return firstSample(tile) * factor; }
    // The last tile is widened to reach the end of the destination.
    qint64 extent(qint64 tile) const
    {
        return tile == tiles - 1 ? dest - offset(tile) : qint64(sampleCount(tile)) * factor;
    }
    qint64 tileAt(qint64 offsetIn) const { return std::min(offsetIn / (qint64(tileSamples) * factor), tiles - 1); }

    // Tiles that meet the visible destination offsets [from, to).
    bool visibleTiles(qint64 from, qint64 to, qint64 &first, qint64 &last) const
    {
        from = std::max<qint64>(from, 0);
        to = std::min(to, dest);
        if (from >= to)
            return false;
        first = tileAt(from);
        last = tileAt(to - 1);
        return true;
    }
};

// Visible destination offsets along one axis, for an edge at `start` going
// in direction sign, given the visible box's [low, high).
void visibleOffsets(qint64 start, int sign, qreal low, qreal high, qint64 &from, qint64 &to)
{
    // Clamp before converting: a box can be huge or infinite.
    constexpr qreal limit = 1e15;
    const qint64 lo = qint64(std::floor(std::clamp<qreal>(low, -limit, limit)));
    const qint64 hi = qint64(std::ceil(std::clamp<qreal>(high, -limit, limit)));
    if (sign > 0) {
        from = lo - start;
        to = hi - start;
    } else {
        from = start - hi;
        to = start - lo;
    }
}

}  // namespace

// ---------------------------------------------------------------------------
// TBigBitmapCanvas

void TBigBitmapCanvas::Paint(const std::function<void(QPainter &)> &draw)
{
    TBigBitmap &picture = *m_owner;
    const int bandHeight = picture.bandHeight();
    for (qsizetype i = 0; i < picture.m_bands.size(); ++i) {
        QImage &band = picture.m_bands[i];
        // QPainter cannot paint on indexed images.
        const bool indexed = band.format() == QImage::Format_Indexed8;
        QImage trueColour = indexed ? band.convertToFormat(QImage::Format_RGB32) : QImage();
        {
            QPainter painter(indexed ? &trueColour : &band);
            painter.translate(0, -qreal(i) * bandHeight);
            painter.setFont(font);
            painter.setBrush(brush);
            painter.setPen(pen);
            painter.setCompositionMode(copyMode);
            if (clipRegion)
                painter.setClipRegion(*clipRegion);
            draw(painter);
        }
        if (indexed)
            band = trueColour.convertToFormat(QImage::Format_Indexed8, band.colorTable(), Qt::ThresholdDither);
    }
    picture.changed();
}

// ---------------------------------------------------------------------------
// TBigBitmap

TBigBitmap::TBigBitmap() : m_canvas(std::make_unique<TBigBitmapCanvas>(this)) {}

TBigBitmap::~TBigBitmap() = default;

std::optional<TBandLayout> TBigBitmap::BandLayout(int width, int height, int bitsPerPixel)
{
    const qint64 stride = DIBRowStride(std::max(width, 0), bitsPerPixel);
    if (stride >= kMaxStride)
        return std::nullopt;
    TBandLayout layout;
    layout.stride = int(stride);
    if (stride > 0 && height > 0) {
        layout.bandHeight = std::min(kMaxBandBytes / layout.stride, height);
        layout.bandCount = int((qint64(height) + layout.bandHeight - 1) / layout.bandHeight);
    }
    return layout;
}

int TBigBitmap::GetPixelBits(quint8 pixelFormat)
{
    switch (pixelFormat) {
    case 0:
        return 1;
    case 1:
        return 4;
    case 2:
        return 8;
    case 3:
        return 24;
    default:
        fail("TBigBitmap.GetPixelBits: Invalid Pixel Format");
    }
}

void TBigBitmap::changed()
{
    if (m_onChange)
        m_onChange();
}

void TBigBitmap::SetBitmaps(int width, int height, quint8 pixelFormat)
{
    if (width < 0)
        fail("TBigBitmap.SetBitmaps: Negative Width");
    if (height < 0)
        fail("TBigBitmap.SetBitmaps: Negative Height");
    const int bits = GetPixelBits(pixelFormat);
    const std::optional<TBandLayout> layout = BandLayout(width, height, bits);
    if (!layout)
        fail("TBigBitmap.SetBitmaps: Too Big Width or Too Many Pixel Bits");

    QList<QRgb> palette;
    if (bits <= 8) {
        palette = !m_bands.isEmpty() && m_pixelFormat == pixelFormat ? m_bands.first().colorTable()
                                                                     : defaultPalette(bits);
    }
    const QColor fillColour = m_canvas->brush.color();
    QList<QImage> bands;
    bands.reserve(layout->bandCount);
    for (int i = 0; i < layout->bandCount; ++i) {
        const int rows = std::min(layout->bandHeight, height - i * layout->bandHeight);
        QImage band = newBand(width, rows, bits, palette);
        if (bits <= 8)
            band.fill(nearestIndex(palette, fillColour.rgb()));
        else
            band.fill(fillColour);
        bands.append(std::move(band));
    }
    m_bands = std::move(bands);
    m_width = width;
    m_height = height;
    m_pixelFormat = pixelFormat;
    changed();
}

void TBigBitmap::SetWidth(int width)
{
    SetBitmaps(width, m_height, m_pixelFormat);
}

void TBigBitmap::SetHeight(int height)
{
    SetBitmaps(m_width, height, m_pixelFormat);
}

void TBigBitmap::SetPixelFormat(quint8 pixelFormat)
{
    SetBitmaps(m_width, m_height, pixelFormat);
}

QList<QRgb> TBigBitmap::Palette() const
{
    return m_bands.isEmpty() ? QList<QRgb>() : m_bands.first().colorTable();
}

void TBigBitmap::SetPalette(const QList<QRgb> &palette)
{
    const int bits = GetPixelBits(m_pixelFormat);
    if (bits > 8 || m_bands.isEmpty())
        return;
    const QList<QRgb> table = fullPalette(palette, bits);
    for (QImage &band : m_bands)
        band.setColorTable(table);
    changed();
}

void TBigBitmap::SetDrawMode(quint8 mode)
{
    m_drawMode = mode;
    changed();
}

void TBigBitmap::Assign(const TBigBitmap *source)
{
    if (source == this)
        return;
    if (!source) {
        m_bands.clear();
        m_width = 0;
        m_height = 0;
        changed();
        return;
    }
    m_bands = source->m_bands;  // shared until either side writes
    m_width = source->m_width;
    m_height = source->m_height;
    m_pixelFormat = source->m_pixelFormat;
    m_drawMode = source->m_drawMode;
    changed();
}

void TBigBitmap::Assign(const QImage &image)
{
    if (image.isNull()) {
        Assign(static_cast<const TBigBitmap *>(nullptr));
        return;
    }
    // The BMP round trip is the one way in for pixels, so an assigned
    // picture is exactly what a file with the same pixels would give.
    QByteArray bytes;
    bytes.reserve(qsizetype(1078) + DIBRowStride(image.width(), std::min(image.depth(), 24)) * image.height());
    QBuffer buffer(&bytes);
    buffer.open(QIODevice::WriteOnly);
    if (!image.save(&buffer, "BMP"))
        throw std::bad_alloc();
    buffer.close();
    buffer.open(QIODevice::ReadOnly);
    LoadFromStream(buffer);
}

void TBigBitmap::LoadFromStream(QIODevice &stream)
{
    const TDIBData dib = LoadDIBFromStream(stream);
    const bool trueColour = dib.bitCount == 16 || dib.bitCount == 32;
    if (dib.coreHeader && trueColour)
        fail("TBigBitmap.LoadFromStream: Invalid BitCount");
    if (trueColour && !DIBChannelMasks(dib).valid())
        fail("TBigBitmap.LoadFromStream: Invalid Masks");

    const int bits = DIBPictureBits(dib.bitCount);
    const std::optional<TBandLayout> layout = BandLayout(dib.width, dib.height, bits);
    if (!layout)
        fail("TBigBitmap.LoadFromStream: Too Big Width or Too Many Pixel Bits");

    // Built aside: if a band cannot be made the old picture stays.
    const QList<QRgb> palette = fullPalette(dib.colorTable, bits);
    const bool rle = dib.compression == DIB_RLE8 || dib.compression == DIB_RLE4;
    QList<QImage> bands;
    bands.reserve(layout->bandCount);
    for (int i = 0; i < layout->bandCount; ++i) {
        const int rows = std::min(layout->bandHeight, dib.height - i * layout->bandHeight);
        QImage band = newBand(dib.width, rows, bits, palette);
        if (rle)
            band.fill(0);  // pixels the runs skip are index 0
        bands.append(std::move(band));
    }
    const int bandHeight = layout->bandHeight;
    DecodeDIBPixels(dib, [&](int row) { return bands[row / bandHeight].scanLine(row % bandHeight); });

    m_bands = std::move(bands);
    m_width = dib.width;
    m_height = dib.height;
    m_pixelFormat = pixelFormatOf(bits);
    changed();
}

uchar *TBigBitmap::GetScanline(int row)
{
    if (m_bands.isEmpty())
        fail("TBigBitmap.GetScanline: No Bitomaps");
    if (row < 0 || row >= m_height)
        fail("TBigBitmap.GetScanline: Index is out of Range");
    const int bh = bandHeight();
    return m_bands[row / bh].scanLine(row % bh);
}

const uchar *TBigBitmap::GetScanline(int row) const
{
    if (m_bands.isEmpty())
        fail("TBigBitmap.GetScanline: No Bitomaps");
    if (row < 0 || row >= m_height)
        fail("TBigBitmap.GetScanline: Index is out of Range");
    const int bh = bandHeight();
    return m_bands[row / bh].constScanLine(row % bh);
}

int TBigBitmap::SampleFactorX(qint64 destWidth, int width, bool forceFactor4)
{
    if (destWidth < 256)
        return 1;
    if (forceFactor4)
        return 4;
    if (destWidth <= width)
        return 1;
    if (destWidth >= 4 * qint64(width))
        return 4;
    if (destWidth >= 2 * qint64(width))
        return 2;
    return 1;
}

int TBigBitmap::SampleFactorY(qint64 destHeight, int height, bool forceFactor4)
{
    // Unlike the width, a height of exactly 256 keeps factor 1.
    return destHeight <= 256 ? 1 : SampleFactorX(destHeight, height, forceFactor4);
}

void TBigBitmap::Draw(TCanvas &canvas, const QRect &rect) const
{
    if (QPainter *painter = canvas.painter())
        Draw(*painter, rect);
}

void TBigBitmap::Draw(QPainter &canvas, const QRect &rect) const
{
    switch (m_drawMode) {
    case 0:
        drawBands(canvas, rect);
        break;
    case 1:
        drawTiled(canvas, rect);
        break;
    default:
        fail("TBigBitmap.Draw: Unknown Mode");
    }
}

// Each band is stretched into its share of the rectangle's height. A
// mirrored rectangle is handled by a mirroring transform.
void TBigBitmap::drawBands(QPainter &canvas, const QRect &rect) const
{
    if (Empty() || rect.width() == 0 || rect.height() == 0 || !canvas.isActive())
        return;
    const qint64 destWidth = std::abs(qint64(rect.width()));
    const qint64 destHeight = std::abs(qint64(rect.height()));
    const int bh = bandHeight();
    const SmoothScalingOff smoothOff(canvas, !m_plainCopy);

    if (m_plainCopy) {
        const int left = rect.width() > 0 ? rect.x() : rect.x() + rect.width();
        const int top = rect.height() > 0 ? rect.y() : rect.y() + rect.height();
        for (qsizetype i = 0; i < m_bands.size(); ++i)
            canvas.drawImage(QPoint(left, top + int(i) * bh), m_bands[i]);
        return;
    }

    const QTransform previous = canvas.worldTransform();
    canvas.setWorldTransform(
        QTransform(rect.width() > 0 ? 1 : -1, 0, 0, rect.height() > 0 ? 1 : -1, rect.x(), rect.y()), true);
    for (qsizetype i = 0; i < m_bands.size(); ++i) {
        const qint64 y0 = qint64(i) * bh;
        const qint64 y1 = y0 + m_bands[i].height();
        const qint64 top = y0 * destHeight / m_height;
        const qint64 bottom = y1 * destHeight / m_height;
        if (bottom > top)
            canvas.drawImage(QRectF(0, top, destWidth, bottom - top), m_bands[i], m_bands[i].rect());
    }
    canvas.setWorldTransform(previous);
}

// The destination is covered by tiles of at most 1024 × 1024 samples,
// column by column, each column top to bottom. A sample stands for fx × fy
// destination pixels that the device replicates, so an enlargement sends
// few samples. One tile image serves the whole call; tiles that cannot be
// seen are neither sampled nor sent.
void TBigBitmap::drawTiled(QPainter &canvas, const QRect &rect) const
{
    if (Empty() || rect.width() == 0 || rect.height() == 0 || !canvas.isActive())
        return;
    const int sx = rect.width() > 0 ? 1 : -1;
    const int sy = rect.height() > 0 ? 1 : -1;
    const TileAxis across(std::abs(qint64(rect.width())), SampleFactorX(std::abs(qint64(rect.width())), m_width, m_forceFactor4));
    const TileAxis down(std::abs(qint64(rect.height())), SampleFactorY(std::abs(qint64(rect.height())), m_height, m_forceFactor4));

    const std::optional<QRectF> box = visibleBox(canvas);
    if (!box || box->isEmpty())
        return;
    qint64 fromX = 0, toX = 0, fromY = 0, toY = 0;
    visibleOffsets(rect.x(), sx, box->left(), box->right(), fromX, toX);
    visibleOffsets(rect.y(), sy, box->top(), box->bottom(), fromY, toY);
    qint64 firstColumn = 0, lastColumn = 0, firstRow = 0, lastRow = 0;
    if (!across.visibleTiles(fromX, toX, firstColumn, lastColumn) || !down.visibleTiles(fromY, toY, firstRow, lastRow))
        return;

    const QImage &first = m_bands.first();
    QImage tile(across.tileSamples, down.tileSamples, first.format());
    if (tile.isNull())
        throw std::bad_alloc();
    if (first.format() != QImage::Format_RGB888)
        tile.setColorTable(first.colorTable());
    const SmoothScalingOff smoothOff(canvas, !m_plainCopy);

    const int bh = bandHeight();
    const int bytesPerPixel = first.format() == QImage::Format_RGB888 ? 3 : 1;
    std::vector<int> sourceColumn(across.tileSamples);

    for (qint64 column = firstColumn; column <= lastColumn; ++column) {
        const int n = across.sampleCount(column);
        const qint64 s0 = across.firstSample(column);
        // Tile column i samples picture column (sample × W div samples);
        // a mirrored tile is filled right to left.
        for (int i = 0; i < n; ++i) {
            const int x = int((s0 + i) * m_width / across.samples);
            sourceColumn[sx > 0 ? i : n - 1 - i] = first.format() == QImage::Format_Mono ? x : x * bytesPerPixel;
        }
        const qint64 ox = across.offset(column);
        const qint64 dw = across.extent(column);
        const qint64 dx = sx > 0 ? rect.x() + ox : rect.x() - ox - dw;

        for (qint64 row = firstRow; row <= lastRow; ++row) {
            const int m = down.sampleCount(row);
            const qint64 t0 = down.firstSample(row);
            const qint64 oy = down.offset(row);
            const qint64 dh = down.extent(row);
            const qint64 dy = sy > 0 ? rect.y() + oy : rect.y() - oy - dh;

            for (int r = 0; r < m; ++r) {
                const int y = int((t0 + r) * m_height / down.samples);
                const uchar *src = m_bands[y / bh].constScanLine(y % bh);
                uchar *dst = tile.scanLine(sy > 0 ? r : m - 1 - r);
                switch (first.format()) {
                case QImage::Format_Mono:
                    // Bits are OR-ed in, so the row is cleared first.
                    std::memset(dst, 0, size_t(n + 7) / 8);
                    for (int i = 0; i < n; ++i) {
                        const int x = sourceColumn[i];
                        if (src[x >> 3] & (0x80 >> (x & 7)))
                            dst[i >> 3] |= uchar(0x80 >> (i & 7));
                    }
                    break;
                case QImage::Format_RGB888:
                    for (int i = 0; i < n; ++i, dst += 3) {
                        const uchar *p = src + sourceColumn[i];
                        dst[0] = p[0];
                        dst[1] = p[1];
                        dst[2] = p[2];
                    }
                    break;
                default:
                    for (int i = 0; i < n; ++i)
                        dst[i] = src[sourceColumn[i]];
                    break;
                }
            }
            canvas.drawImage(QRectF(qreal(dx), qreal(dy), qreal(dw), qreal(dh)), tile, QRectF(0, 0, n, m));
        }
    }
}
