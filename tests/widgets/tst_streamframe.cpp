#include "streamframe.h"

#include <QtTest>

using StreamFrame::Layout;
Q_DECLARE_METATYPE(Layout)

// A 2 x 2 picture in the stream's byte order: red, green / blue, white, with
// pad bytes after each row, and an alpha (or pad) byte of 0x10 that must not
// make the screen see-through.
static QByteArray buffer(Layout layout, int stride)
{
    const QColor pixels[4] = {Qt::red, Qt::green, Qt::blue, Qt::white};
    QByteArray bytes(stride * 2, char(0x77));
    for (int i = 0; i < 4; ++i) {
        const QColor& c = pixels[i];
        const bool bgr = layout == Layout::BGRx || layout == Layout::BGRA;
        char* p = bytes.data() + (i / 2) * stride + (i % 2) * 4;
        p[0] = char(bgr ? c.blue() : c.red());
        p[1] = char(c.green());
        p[2] = char(bgr ? c.red() : c.blue());
        p[3] = char(0x10);
    }
    return bytes;
}

class TestStreamFrame : public QObject
{
    Q_OBJECT

private slots:
    void buffersBecomeOpaqueImages_data();
    void buffersBecomeOpaqueImages();
    void badGeometryGivesNoImage_data();
    void badGeometryGivesNoImage();
};

void TestStreamFrame::buffersBecomeOpaqueImages_data()
{
    QTest::addColumn<Layout>("layout");
    QTest::addColumn<int>("stride");
    QTest::addColumn<int>("given"); // stride handed over; 0 means packed
    QTest::newRow("BGRx packed") << Layout::BGRx << 8 << 0;
    QTest::newRow("BGRA padded rows") << Layout::BGRA << 12 << 12;
    QTest::newRow("RGBx padded rows") << Layout::RGBx << 16 << 16;
    QTest::newRow("RGBA packed") << Layout::RGBA << 8 << 8;
}

void TestStreamFrame::buffersBecomeOpaqueImages()
{
    QFETCH(Layout, layout);
    QFETCH(int, stride);
    QFETCH(int, given);
    const QByteArray bytes = buffer(layout, stride);
    const QImage image = StreamFrame::toImage(layout, reinterpret_cast<const uchar*>(bytes.constData()),
                                              bytes.size(), QSize(2, 2), given);
    QCOMPARE(image.size(), QSize(2, 2));
    QCOMPARE(image.pixelColor(0, 0), QColor(Qt::red));
    QCOMPARE(image.pixelColor(1, 0), QColor(Qt::green));
    QCOMPARE(image.pixelColor(0, 1), QColor(Qt::blue));
    QCOMPARE(image.pixelColor(1, 1), QColor(Qt::white));
}

void TestStreamFrame::badGeometryGivesNoImage_data()
{
    QTest::addColumn<Layout>("layout");
    QTest::addColumn<QSize>("size");
    QTest::addColumn<int>("stride");
    QTest::addColumn<int>("available");
    QTest::newRow("unknown layout") << Layout::Unknown << QSize(2, 2) << 8 << 16;
    QTest::newRow("empty size") << Layout::BGRx << QSize(0, 2) << 8 << 16;
    QTest::newRow("huge size") << Layout::BGRx << QSize(20000, 1) << 0 << 16;
    QTest::newRow("stride shorter than a row") << Layout::BGRx << QSize(2, 2) << 4 << 16;
    QTest::newRow("last row cut short") << Layout::BGRx << QSize(2, 2) << 8 << 15;
    QTest::newRow("more rows than bytes") << Layout::RGBA << QSize(2, 3) << 8 << 16;
}

void TestStreamFrame::badGeometryGivesNoImage()
{
    QFETCH(Layout, layout);
    QFETCH(QSize, size);
    QFETCH(int, stride);
    QFETCH(int, available);
    const QByteArray bytes(64, char(0));
    QVERIFY(StreamFrame::toImage(layout, reinterpret_cast<const uchar*>(bytes.constData()), available, size,
                                 stride)
                .isNull());
}

QTEST_APPLESS_MAIN(TestStreamFrame)
#include "tst_streamframe.moc"
