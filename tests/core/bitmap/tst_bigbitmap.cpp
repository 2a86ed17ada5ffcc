// SPDX-License-Identifier: GPL-3.0-or-later
#include "core/bitmap/BigBitmap.h"
#include "core/bitmap/DIBUtils.h"

#include "support/CoreTestSupport.h"

#include <QBuffer>
#include <QPaintEngine>
#include <QPainter>
#include <QTemporaryFile>

#include <bit>
#include <functional>
#include <memory>

namespace {

QByteArray le(quint32 v, int bytes)
{
    QByteArray out;
    for (int i = 0; i < bytes; ++i)
        out.append(char(v >> (8 * i)));
    return out;
}

// A BMP file image made byte by byte; a negative height stores rows top first.
struct Bmp
{
    int headerSize = 40;
    qint32 width = 0;
    qint32 height = 0;
    int bits = 8;
    quint32 compression = DIB_RGB;
    quint32 colorsUsed = 0;
    QList<QRgb> palette;
    QList<quint32> masks;  // after a 40-byte header, inside a bigger one
    QByteArray data;

    QByteArray bytes() const
    {
        QByteArray info = headerSize == 12
            ? le(12, 4) + le(width, 2) + le(height, 2) + le(1, 2) + le(bits, 2)
            : le(headerSize, 4) + le(width, 4) + le(height, 4) + le(1, 2) + le(bits, 2) + le(compression, 4)
                + le(data.size(), 4) + le(2835, 4) + le(2835, 4) + le(colorsUsed, 4) + le(0, 4);
        QByteArray masksAndTable;
        for (quint32 m : masks)
            (headerSize >= 52 ? info : masksAndTable) += le(m, 4);
        if (headerSize != 12)
            info.resize(headerSize, '\0');
        for (QRgb c : palette)  // B, G, R (and a zero byte)
            masksAndTable += le(c & 0xFFFFFF, headerSize == 12 ? 3 : 4);
        const qsizetype offset = 14 + info.size() + masksAndTable.size();
        return "BM" + le(quint32(offset + data.size()), 4) + le(0, 4) + le(quint32(offset), 4) + info + masksAndTable + data;
    }
};

// Stored rows of a picture whose pixel (x, y), y = 0 at the top, is value(x, y).
QByteArray packRows(int w, int h, int bits, bool topDown, const std::function<quint32(int, int)> &value)
{
    const int stride = (bits * w + 31) / 32 * 4;
    QByteArray out(qsizetype(stride) * h, '\0');
    for (int y = 0; y < h; ++y) {
        auto *p = reinterpret_cast<uchar *>(out.data()) + qsizetype(topDown ? y : h - 1 - y) * stride;
        for (int x = 0; x < w; ++x) {
            const quint32 v = value(x, y);
            if (bits == 1)
                p[x / 8] |= v ? 0x80 >> (x % 8) : 0;
            else if (bits == 4)
                p[x / 2] |= x % 2 ? v : v << 4;
            else
                for (int k = 0; k < bits / 8; ++k)
                    p[x * bits / 8 + k] = uchar(v >> (8 * k));
        }
    }
    return out;
}

void load(TBigBitmap &picture, const QByteArray &bytes)
{
    QBuffer buffer;
    buffer.setData(bytes);
    buffer.open(QIODevice::ReadOnly);
    picture.LoadFromStream(buffer);
}

QRgb colourAt(const TBigBitmap &picture, int x, int y)
{
    const uchar *row = picture.GetScanline(y);
    switch (picture.PixelFormat()) {
    case 0: return picture.Palette().at((row[x / 8] >> (7 - x % 8)) & 1);
    case 3: return qRgb(row[3 * x], row[3 * x + 1], row[3 * x + 2]);
    default: return picture.Palette().at(row[x]);
    }
}

// Every pixel its own colour, for pictures up to 3839 pixels across, so
// kUntouched (blue 0xFF) never occurs in one.
QRgb coded(int x, int y)
{
    return qRgb(x & 255, y & 255, ((x >> 8) << 4 | (y >> 8)) & 255);
}
constexpr QRgb kUntouched = 0xFF1234FF;

QImage codedImage(int w, int h)
{
    QImage image(w, h, QImage::Format_RGB32);
    for (int y = 0; y < h; ++y)
        for (int x = 0; x < w; ++x)
            reinterpret_cast<QRgb *>(image.scanLine(y))[x] = coded(x, y);
    return image;
}

std::unique_ptr<TBigBitmap> tiledPicture(int w, int h)
{
    auto picture = std::make_unique<TBigBitmap>();
    picture->SetDrawMode(1);
    picture->Assign(codedImage(w, h));
    return picture;
}

QImage drawn(const TBigBitmap &picture, QSize surface, const QRect &rect)
{
    QImage out(surface, QImage::Format_RGB32);
    out.fill(kUntouched);
    QPainter painter(&out);
    picture.Draw(painter, rect);
    return out;
}

// Inside area every pixel has the coded colour of source(x, y); outside it
// is untouched.
void expectPixels(const QImage &out, const QRect &area, const std::function<QPoint(int, int)> &source)
{
    for (int y = 0; y < out.height(); ++y) {
        const auto *row = reinterpret_cast<const QRgb *>(out.constScanLine(y));
        for (int x = 0; x < out.width(); ++x) {
            const QPoint s = area.contains(x, y) ? source(x, y) : QPoint();
            const QRgb want = area.contains(x, y) ? coded(s.x(), s.y()) : kUntouched;
            if (row[x] != want)
                QFAIL(qPrintable(QStringLiteral("pixel %1,%2 is %3, wanted %4").arg(x).arg(y).arg(row[x], 0, 16).arg(want, 0, 16)));
        }
    }
}

// A 1-bit image, an 8-bit one with few colours (Qt writes it with 4 bits)
// and one with many, each with the pixel format code it becomes.
QList<std::pair<QImage, int>> indexedImages()
{
    QImage mono(37, 5, QImage::Format_Mono);
    mono.setColorTable({qRgb(10, 20, 30), qRgb(200, 210, 220)});
    QImage few(9, 4, QImage::Format_Indexed8);
    few.setColorTable({qRgb(1, 1, 1), qRgb(2, 2, 2), qRgb(3, 3, 3)});
    QImage many(9, 4, QImage::Format_Indexed8);
    for (int i = 0; i < 200; ++i)
        many.setColor(i, qRgb(i, 255 - i, i / 2));
    for (int y = 0; y < 5; ++y)
        for (int x = 0; x < 37; ++x) {
            mono.setPixel(x, y, (x * y + x) % 3 == 0);
            if (x < 9 && y < 4) {
                few.setPixel(x, y, (x + y) % 3);
                many.setPixel(x, y, (x * 7 + y * 31) % 200);
            }
        }
    return {{mono, 0}, {few, 1}, {many, 2}};
}

// A paint device that records every image the picture sends.
struct SentTile
{
    QRectF target;
    QRectF source;
    QSize imageSize;
    qint64 imageSerial;
    bool smooth;
};

class RecordingDevice : public QPaintDevice, public QPaintEngine
{
public:
    explicit RecordingDevice(QSize size) : QPaintEngine(AllFeatures), m_size(size) {}
    QPaintEngine *paintEngine() const override { return const_cast<RecordingDevice *>(this); }
    bool begin(QPaintDevice *) override { return true; }
    bool end() override { return true; }
    void updateState(const QPaintEngineState &) override {}
    void drawPixmap(const QRectF &, const QPixmap &, const QRectF &) override {}
    void drawImage(const QRectF &r, const QImage &image, const QRectF &sr, Qt::ImageConversionFlags) override
    {
        sent.append({r, sr, image.size(), image.cacheKey() >> 32, painter()->testRenderHint(QPainter::SmoothPixmapTransform)});
    }
    Type type() const override { return User; }
    int metric(PaintDeviceMetric m) const override
    {
        return m == PdmWidth ? m_size.width() : m == PdmHeight ? m_size.height() : m == PdmDevicePixelRatio ? 1
            : m == PdmDevicePixelRatioScaled ? int(devicePixelRatioFScale()) : 96;
    }
    QList<SentTile> sent;

private:
    QSize m_size;
};

QList<SentTile> record(const TBigBitmap &picture, QSize device, const QRect &rect, const QRect &clip = {})
{
    RecordingDevice dev(device);
    QPainter painter(&dev);
    painter.setRenderHint(QPainter::SmoothPixmapTransform, true);
    if (!clip.isNull())
        painter.setClipRect(clip);
    picture.Draw(painter, rect);
    if (!painter.testRenderHint(QPainter::SmoothPixmapTransform))
        dev.sent.append(SentTile{});  // the painter's hint was not given back
    return dev.sent;
}

QString errorOf(const std::function<void()> &f)
{
    try {
        f();
    } catch (const Exception &e) {
        return e.message();
    }
    return {};
}

}  // namespace

class TestBigBitmap : public QObject
{
    Q_OBJECT

private slots:
    void readsEveryDepth_data()
    {
        QTest::addColumn<int>("headerSize");
        QTest::addColumn<int>("bits");
        QTest::addColumn<QList<quint32>>("masks");  // bit-field compression when given
        QTest::addColumn<bool>("topDown");
        for (bool topDown : {false, true}) {
            const char *o = topDown ? "top-down" : "bottom-up";
            for (int bits : {1, 4, 8, 16, 24, 32})
                QTest::addRow("%d bit %s", bits, o) << 40 << bits << QList<quint32>() << topDown;
            QTest::addRow("16 bit 5-6-5 %s", o) << 40 << 16 << QList<quint32>{0xF800, 0x07E0, 0x001F} << topDown;
            QTest::addRow("32 bit 10-10-10 %s", o) << 40 << 32 << QList<quint32>{0x3FF, 0xFFC00, 0x3FF00000} << topDown;
        }
        QTest::addRow("masks in a 108-byte header") << 108 << 32 << QList<quint32>{0xFF00, 0xFF0000, 0xFF000000} << false;
        for (int bits : {1, 4, 8, 24})
            QTest::addRow("%d bit core header", bits) << 12 << bits << QList<quint32>() << false;
    }
    void readsEveryDepth()
    {
        QFETCH(int, headerSize);
        QFETCH(int, bits);
        QFETCH(QList<quint32>, masks);
        QFETCH(bool, topDown);
        const int w = 11, h = 3;
        Bmp bmp{headerSize, w, topDown ? -h : h, bits, masks.isEmpty() ? DIB_RGB : DIB_BITFIELDS};
        bmp.masks = masks;
        for (int i = 0; bits <= 8 && i < 1 << bits; ++i)
            bmp.palette.append(qRgb(i * 7 & 255, i * 13 & 255, 255 - i));

        // What each pixel stores, and the colour it must become.
        std::function<quint32(int, int)> stored;
        std::function<QRgb(int, int)> colour;
        if (bits <= 8) {
            stored = [=](int x, int y) { return quint32(x * 3 + y) % (1u << bits); };
            colour = [=](int x, int y) { return bmp.palette[(x * 3 + y) % (1 << bits)]; };
        } else if (bits == 24 || (bits == 32 && masks.isEmpty())) {
            stored = [](int x, int y) { return qRgb(x * 20, y * 80, 200 - x) & 0xFFFFFF; };
            colour = [](int x, int y) { return qRgb(x * 20, y * 80, 200 - x); };
        } else {
            const QList<quint32> m = masks.isEmpty() ? QList<quint32>{0x7C00, 0x03E0, 0x001F} : masks;
            const auto channels = [](int x, int y) { return std::array<int, 3>{x * 2, y * 10 + x % 3, 13 - x}; };
            stored = [=](int x, int y) {
                quint32 v = 0;
                for (int c = 0; c < 3; ++c)
                    v |= (quint32(channels(x, y)[c]) << std::countr_zero(m[c])) & m[c];
                return v;
            };
            colour = [=](int x, int y) {
                std::array<int, 3> v = channels(x, y);
                for (int c = 0; c < 3; ++c)
                    v[c] = v[c] * 255 / int(m[c] >> std::countr_zero(m[c]));
                return qRgb(v[0], v[1], v[2]);
            };
        }
        bmp.data = packRows(w, h, bits, topDown, stored);

        TBigBitmap picture;
        load(picture, bmp.bytes());
        QCOMPARE(picture.Width(), w);
        QCOMPARE(picture.Height(), h);
        QCOMPARE(picture.PixelFormat(), quint8(bits == 1 ? 0 : bits == 4 ? 1 : bits == 8 ? 2 : 3));
        for (int y = 0; y < h; ++y)
            for (int x = 0; x < w; ++x)
                QCOMPARE(colourAt(picture, x, y), colour(x, y));
    }

    void expandsRle()
    {
        auto rows = [](const TBigBitmap &p, int n) {
            QList<QByteArray> out;
            for (int y = 0; y < p.Height(); ++y)
                out.append(QByteArray(reinterpret_cast<const char *>(p.GetScanline(y)), n).toHex());
            return out;
        };
        // Run, padded literal, end of line, jump, run past the row's end, end of picture.
        Bmp rle8{40, 6, 4, 8, DIB_RLE8};
        rle8.data = QByteArray::fromHex("0305 000301020300 0000 00020201 0807 0000 0209 0001");
        TBigBitmap picture;
        load(picture, rle8.bytes());
        QCOMPARE(rows(picture, 6), QList<QByteArray>({"090900000000", "000007070707", "000000000000", "050505010203"}));

        Bmp rle4{40, 6, -2, 4, DIB_RLE4};
        rle4.data = QByteArray::fromHex("0512 00033450 0000 0005abcde000 0001");
        load(picture, rle4.bytes());
        QCOMPARE(picture.PixelFormat(), quint8(1));
        QCOMPARE(rows(picture, 6), QList<QByteArray>({"010201020103", "0a0b0c0d0e00"}));

        // Data that ends inside a literal, and a jump past the picture, are
        // read as far as they go.
        for (const char *hex : {"0305 00", "0005 ab", "0002 ffff 0301"}) {
            rle8.data = QByteArray::fromHex(hex);
            load(picture, rle8.bytes());
            QCOMPARE(rows(picture, 6).first(), QByteArray("000000000000"));
        }
    }

    void readsFromTheStreamPosition()
    {
        QByteArray bmp;
        QBuffer out(&bmp);
        out.open(QIODevice::WriteOnly);
        QVERIFY(codedImage(7, 5).save(&out, "BMP"));

        QBuffer buffer;
        buffer.setData("junk" + bmp);
        buffer.open(QIODevice::ReadOnly);
        buffer.seek(4);
        TBigBitmap picture;
        picture.LoadFromStream(buffer);
        QVERIFY(buffer.atEnd());
        QCOMPARE(colourAt(picture, 6, 4), coded(6, 4));

        QTemporaryFile file;  // not a memory stream: read through the device
        QVERIFY(file.open());
        file.write(bmp);
        file.seek(0);
        picture.LoadFromStream(file);
        QCOMPARE(colourAt(picture, 3, 2), coded(3, 2));
    }

    void toleratesOddColourTables()
    {
        // A count far above 256, and a table cut short by the data offset:
        // 256 entries at most, the missing ones black.
        Bmp bmp{40, 2, 1, 8, DIB_RGB, 0xFFFFFFFF, {qRgb(1, 2, 3), qRgb(4, 5, 6)}, {}, QByteArray::fromHex("00010000")};
        TBigBitmap picture;
        load(picture, bmp.bytes());
        QCOMPARE(picture.Palette().size(), 256);
        QCOMPARE(colourAt(picture, 1, 0), qRgb(4, 5, 6));
        QCOMPARE(picture.Palette()[2], qRgb(0, 0, 0));
    }

    void refusesMalformedFiles_data()
    {
        QTest::addColumn<QByteArray>("bytes");
        QTest::addColumn<QString>("message");
        const QByteArray ok = Bmp{40, 2, 2, 8, DIB_RGB, 0, {}, {}, QByteArray(8, '\0')}.bytes();
        auto patched = [&](int at, const QByteArray &patch) { return QByteArray(ok).replace(at, patch.size(), patch); };
        const QString dib = "LoadDIBFromStream: ", big = "TBigBitmap.LoadFromStream: ";
        QTest::newRow("type") << patched(0, "MB") << dib + "File type is invalid";
        QTest::newRow("three bytes") << QByteArray("BM\0", 3) << dib + "Unexpected End of Stream";
        QTest::newRow("header 16") << patched(14, le(16, 4)) << dib + "Invalid Bitmap Header Size";
        QTest::newRow("header 39") << patched(14, le(39, 4)) << dib + "Invalid Bitmap Header Size";
        QTest::newRow("header 4 GiB") << patched(14, le(0xFFFFFFFF, 4)) << dib + "Unexpected End of Stream";
        QTest::newRow("2 bits") << patched(28, le(2, 2)) << dib + "Invalid BitCout";
        QTest::newRow("core 16 bits") << Bmp{12, 1, 1, 16, DIB_RGB, 0, {}, {}, QByteArray(4, '\0')}.bytes() << big + "Invalid BitCount";
        QTest::newRow("zero mask") << Bmp{40, 1, 1, 16, DIB_BITFIELDS, 0, {}, {0xF800, 0, 0x1F}, QByteArray(4, '\0')}.bytes() << big + "Invalid Masks";
        QTest::newRow("22 000 wide") << Bmp{40, 22000, 1, 24, DIB_RGB, 0, {}, {}, QByteArray(66000, '\0')}.bytes()
                                     << big + "Too Big Width or Too Many Pixel Bits";
        QTest::newRow("negative width") << patched(18, le(quint32(-2), 4)) << dib + "Invalid Bitmap Size";
        QTest::newRow("RLE8 at 24 bits") << Bmp{40, 1, 1, 24, DIB_RLE8}.bytes() << dib + "Invalid Compression";
        QTest::newRow("JPEG") << patched(30, le(4, 4)) << dib + "Invalid Compression";
        QTest::newRow("offset past the end") << patched(10, le(0x7FFFFFFF, 4)) << dib + "Invalid Data Offset";
        QTest::newRow("last row cut") << ok.chopped(3) << dib + "Bitmap Data is Too Short";
        QTest::newRow("60 000 × 60 000") << patched(18, le(60000, 4) + le(60000, 4)) << dib + "Bitmap Data is Too Short";
        QTest::newRow("masks cut off") << Bmp{40, 1, 1, 16, DIB_BITFIELDS}.bytes() << dib + "Unexpected End of Stream";
        QTest::newRow("RLE 65 000 × 65 000") << Bmp{40, 65000, 65000, 8, DIB_RLE8, 0, {}, {}, QByteArray::fromHex("0001")}.bytes()
                                             << dib + "Too Big RLE Bitmap";
    }
    void refusesMalformedFiles()
    {
        QFETCH(QByteArray, bytes);
        QFETCH(QString, message);
        TBigBitmap picture;
        picture.Assign(codedImage(3, 2));
        try {
            load(picture, bytes);
            QFAIL("no exception");
        } catch (const Exception &e) {
            QCOMPARE(e.message(), message);
            const bool fromReader = message.startsWith(QLatin1String("LoadDIBFromStream"));
            QCOMPARE(dynamic_cast<const EDIBUtilsError *>(&e) != nullptr, fromReader);
            QCOMPARE(dynamic_cast<const EBigBitmapError *>(&e) != nullptr, !fromReader);
        }
        QCOMPARE(picture.Width(), 3);  // the old picture stays
        QCOMPARE(colourAt(picture, 2, 1), coded(2, 1));
    }

    void refusesBadRequests()
    {
        TBigBitmap picture;
        picture.Assign(codedImage(4, 3));
        QCOMPARE(errorOf([&] { picture.SetWidth(-1); }), "TBigBitmap.SetBitmaps: Negative Width");
        QCOMPARE(errorOf([&] { picture.SetHeight(-1); }), "TBigBitmap.SetBitmaps: Negative Height");
        QCOMPARE(errorOf([&] { picture.SetWidth(22000); }), "TBigBitmap.SetBitmaps: Too Big Width or Too Many Pixel Bits");
        QCOMPARE(errorOf([&] { picture.SetPixelFormat(4); }), "TBigBitmap.GetPixelBits: Invalid Pixel Format");
        QCOMPARE(errorOf([&] { picture.GetScanline(3); }), "TBigBitmap.GetScanline: Index is out of Range");
        QCOMPARE(errorOf([&] { picture.GetScanline(-1); }), "TBigBitmap.GetScanline: Index is out of Range");
        QCOMPARE(errorOf([] { TBigBitmap().GetScanline(0); }), "TBigBitmap.GetScanline: No Bitomaps");
        QCOMPARE(picture.Width(), 4);
        QCOMPARE(picture.PixelFormat(), quint8(3));
        QCOMPARE(colourAt(picture, 3, 2), coded(3, 2));
        picture.SetDrawMode(2);
        QCOMPARE(errorOf([&] { drawn(picture, {10, 10}, {0, 0, 10, 10}); }), "TBigBitmap.Draw: Unknown Mode");
    }

    void keepsBandsAndCopies()
    {
        QCOMPARE(TBigBitmap::BandLayout(21758, 1, 24)->stride, 65276);
        QVERIFY(!TBigBitmap::BandLayout(21759, 1, 24));  // stride 65 280
        QCOMPARE(TBigBitmap::BandLayout(130552, 1, 4)->stride, 65276);
        QVERIFY(!TBigBitmap::BandLayout(130553, 1, 4));

        TBigBitmap picture;
        int changes = 0;
        picture.SetOnChange([&] { ++changes; });
        picture.Assign(codedImage(4, 3));
        picture.SetDrawMode(1);
        picture.SetWidth(6);
        QCOMPARE(changes, 3);
        QCOMPARE(picture.Height(), 3);
        QCOMPARE(colourAt(picture, 5, 2), qRgb(255, 255, 255));  // new bands are white

        TBigBitmap copy;
        copy.Assign(&picture);
        QCOMPARE(copy.DrawMode(), quint8(1));
        copy.GetScanline(0)[0] = 7;  // the copy owns its pixels
        QCOMPARE(picture.GetScanline(0)[0], uchar(255));
        copy.Assign(static_cast<const TBigBitmap *>(nullptr));
        QVERIFY(copy.Empty());
        copy.Assign(indexedImages()[2].first);
        const QList<QRgb> palette = copy.Palette();
        copy.SetHeight(40);  // blank again, same palette
        QCOMPARE(copy.Palette(), palette);

        // Drawing on the picture reaches every band at its own offset.
        TBigBitmap tall;
        tall.Assign(codedImage(3000, 1000));  // stride 9000: bands of 932 rows
        QCOMPARE(tall.BandCount(), 2);
        tall.Canvas().Paint([](QPainter &p) { p.fillRect(QRect(10, 920, 5, 30), Qt::red); });
        for (int y : {919, 920, 931, 932, 949, 950})
            QCOMPARE(colourAt(tall, 12, y), y >= 920 && y < 950 ? qRgb(255, 0, 0) : coded(12, y));
    }

    void indexedPicturesStayExact()
    {
        for (const auto &[image, format] : indexedImages()) {
            TBigBitmap picture;
            picture.SetDrawMode(1);
            picture.Assign(image);
            QCOMPARE(picture.PixelFormat(), quint8(format));
            for (int y = 0; y < image.height(); ++y)
                for (int x = 0; x < image.width(); ++x)
                    QCOMPARE(colourAt(picture, x, y), image.pixel(x, y));
            const int w = image.width() * 2, h = image.height() * 2;
            for (const QRect &rect : {QRect(0, 0, w, h), QRect(w, 0, -w, h)}) {
                const QImage out = drawn(picture, {w, h}, rect);
                for (int y = 0; y < h; ++y)
                    for (int x = 0; x < w; ++x)
                        QCOMPARE(out.pixel(x, y), image.pixel((rect.width() > 0 ? x : w - 1 - x) / 2, y / 2));
            }
        }
    }

    void samplesNearestPixels()
    {
        const auto tall = tiledPicture(60, 900);
        expectPixels(drawn(*tall, {40, 460}, {0, 0, 30, 450}), {0, 0, 30, 450},
                     [](int x, int y) { return QPoint(x * 60 / 30, y * 900 / 450); });
        expectPixels(drawn(*tall, {600, 9000}, {0, 0, 600, 9000}), {0, 0, 600, 9000},  // fx = fy = 4
                     [](int x, int y) { return QPoint((x / 4) * 60 / 150, (y / 4) * 900 / 2250); });
        const auto square = tiledPicture(100, 100);
        expectPixels(drawn(*square, {300, 300}, {20, 10, 256, 256}), {20, 10, 256, 256},  // fx = 2, fy = 1
                     [](int x, int y) { return QPoint(((x - 20) / 2) * 100 / 128, (y - 10) * 100 / 256); });

        const auto banded = tiledPicture(2000, 3000);
        QCOMPARE(banded->BandCount(), 3);
        QCOMPARE(banded->Band(0).height(), 1398);
        QCOMPARE(banded->Band(1).height(), 1398);
        QCOMPARE(banded->Band(2).height(), 204);
        expectPixels(drawn(*banded, {600, 9000}, {0, 0, 600, 9000}), {0, 0, 600, 9000},  // fx = 1, fy = 2
                     [](int x, int y) { return QPoint(x * 2000 / 600, (y / 2) * 3000 / 4500); });
    }

    void mirrorsReversedRectangles()
    {
        const auto tall = tiledPicture(60, 900);
        expectPixels(drawn(*tall, {30, 450}, {30, 0, -30, 450}), {0, 0, 30, 450},
                     [](int x, int y) { return QPoint((29 - x) * 2, y * 2); });
        expectPixels(drawn(*tall, {30, 450}, {0, 450, 30, -450}), {0, 0, 30, 450},
                     [](int x, int y) { return QPoint(x * 2, (449 - y) * 2); });
        const auto square = tiledPicture(100, 100);
        expectPixels(drawn(*square, {256, 256}, {256, 256, -256, -256}), {0, 0, 256, 256},
                     [](int x, int y) { return QPoint(((255 - x) / 2) * 100 / 128, (255 - y) * 100 / 256); });
    }

    void sendsTiles()
    {
        QCOMPARE(TBigBitmap::SampleFactorX(255, 10, true), 1);
        QCOMPARE(TBigBitmap::SampleFactorX(300, 1000, true), 4);
        QCOMPARE(TBigBitmap::SampleFactorX(399, 100, false), 2);

        const auto tall = tiledPicture(60, 900);
        QList<SentTile> sent = record(*tall, {600, 9000}, {0, 0, 600, 9000});
        QCOMPARE(sent.size(), 9);
        for (int i = 0; i < 9; ++i) {
            QCOMPARE(sent[i].target, QRectF(0, i * 1024, 600, i < 8 ? 1024 : 808));
            QCOMPARE(sent[i].source, QRectF(0, 0, 150, i < 8 ? 256 : 202));
            QCOMPARE(sent[i].imageSize, QSize(256, 256));
            QCOMPARE(sent[i].imageSerial, sent[0].imageSerial);  // one tile image for the call
            QVERIFY(!sent[i].smooth);
        }

        // Column by column, each top to bottom; the last tile of a row is
        // widened to the end of the rectangle.
        const auto square = tiledPicture(100, 100);
        sent = record(*square, {4098, 2048}, {0, 0, 4098, 2048});
        QCOMPARE(sent.size(), 8);
        for (int i = 0; i < 8; ++i)
            QCOMPARE(sent[i].target, QRectF((i / 2) * 1024, (i % 2) * 1024, i < 6 ? 1024 : 1026, 1024));
        QCOMPARE(sent[7].source, QRectF(0, 0, 256, 256));
        const QImage out = drawn(*square, {2060, 1030}, {3, 2, 2050, 1023});
        for (int y = 0; y < out.height(); ++y)
            for (int x = 0; x < out.width(); ++x)
                QCOMPARE(out.pixel(x, y) == kUntouched, !QRect(3, 2, 2050, 1023).contains(x, y));

        sent = record(*square, {256, 256}, {0, 0, 256, 256});
        QCOMPARE(sent.size(), 1);
        QCOMPARE(sent[0].imageSize, QSize(512, 1024));
        QCOMPARE(sent[0].source, QRectF(0, 0, 128, 256));
    }

    void skipsTilesOutOfSight()
    {
        const auto tall = tiledPicture(60, 900);
        QCOMPARE(record(*tall, {600, 2000}, {0, 0, 600, 9000}).size(), 2);  // no clip: the device's edge
        QList<SentTile> sent = record(*tall, {600, 9000}, {0, 0, 600, 9000}, {0, 3000, 10, 10});
        QCOMPARE(sent.size(), 1);
        QCOMPARE(sent[0].target, QRectF(0, 2048, 600, 1024));
        QVERIFY(record(*tall, {600, 9000}, {0, 0, 600, 9000}, {600, 0, 10, 10}).isEmpty());
        sent = record(*tall, {600, 9000}, {600, 9000, -600, -9000}, {0, 0, 600, 100});
        QCOMPARE(sent.size(), 1);  // mirrored: the last tile is at the top
        QCOMPARE(sent[0].target, QRectF(0, 0, 600, 808));
        QVERIFY(record(*tall, {100, 100}, {0, 0, 0, 50}).isEmpty());
        TBigBitmap empty;
        empty.SetDrawMode(1);
        QVERIFY(record(empty, {100, 100}, {0, 0, 50, 50}).isEmpty());
    }

    void stretchesBandsInModeZero()
    {
        auto picture = tiledPicture(2000, 3000);
        picture->SetDrawMode(0);
        const QList<SentTile> sent = record(*picture, {1000, 1000}, {0, 0, 200, 300});
        QCOMPARE(sent.size(), 3);
        QCOMPARE(sent[0].target, QRectF(0, 0, 200, 139));
        QCOMPARE(sent[1].target, QRectF(0, 139, 200, 140));
        QCOMPARE(sent[2].target, QRectF(0, 279, 200, 21));
        QCOMPARE(sent[2].source, QRectF(0, 0, 2000, 204));

        picture = tiledPicture(60, 90);
        picture->SetDrawMode(0);
        expectPixels(drawn(*picture, {120, 180}, {0, 0, 120, 180}), {0, 0, 120, 180},
                     [](int x, int y) { return QPoint(x / 2, y / 2); });
        expectPixels(drawn(*picture, {60, 90}, {60, 0, -60, 90}), {0, 0, 60, 90},
                     [](int x, int y) { return QPoint(59 - x, y); });
        picture->SetPlainCopy(true);
        expectPixels(drawn(*picture, {100, 100}, {10, 5, 30, 30}), {10, 5, 60, 90},
                     [](int x, int y) { return QPoint(x - 10, y - 5); });
    }
};

PELORA_CORE_TEST_MAIN(TestBigBitmap)
#include "tst_bigbitmap.moc"
