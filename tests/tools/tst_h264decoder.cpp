// The emulator's decoder turns each access unit back into the picture it
// carries, at every panel size, including widths where the pixel format
// conversion writes whole blocks past the end of a row.
#include "h264decoder.h"
#include "testh264encoder.h"

#include <QPainter>
#include <QtTest>

namespace {

// Quadrants of distinct colours, with a white last row and last column, so
// a picture cut short or shifted shows at the edges.
QImage pattern(const QSize& size, int frame)
{
    QImage image(size, QImage::Format_RGB32);
    const int w = size.width();
    const int h = size.height();
    QPainter painter(&image);
    painter.fillRect(0, 0, w / 2, h / 2, QColor(200, 40, 40));
    painter.fillRect(w / 2, 0, w - w / 2, h / 2, QColor(40, 200, 40));
    painter.fillRect(0, h / 2, w / 2, h - h / 2, QColor(40, 40, 200));
    painter.fillRect(w / 2, h / 2, w - w / 2, h - h / 2, QColor(20 * frame, 20 * frame, 20 * frame));
    painter.fillRect(0, h - 16, w, 16, Qt::white);
    painter.fillRect(w - 16, 0, 16, h, Qt::white);
    return image;
}

bool near(const QColor& a, const QColor& b)
{
    return qAbs(a.red() - b.red()) < 24 && qAbs(a.green() - b.green()) < 24 && qAbs(a.blue() - b.blue()) < 24;
}

} // namespace

class TestH264Decoder : public QObject
{
    Q_OBJECT

private slots:
    void initTestCase();
    void decodesEveryFrameAtPanelSizes_data();
    void decodesEveryFrameAtPanelSizes();
};

void TestH264Decoder::initTestCase()
{
    av_log_set_level(AV_LOG_FATAL);
}

void TestH264Decoder::decodesEveryFrameAtPanelSizes_data()
{
    QTest::addColumn<QSize>("size");
    // 1080 and 462 wide pictures made the conversion overrun a tightly sized
    // buffer and corrupt the heap within a few frames.
    QTest::newRow("1080x1920") << QSize(1080, 1920);
    QTest::newRow("462x1920") << QSize(462, 1920);
    QTest::newRow("440x1920") << QSize(440, 1920);
    QTest::newRow("420x960") << QSize(420, 960);
}

void TestH264Decoder::decodesEveryFrameAtPanelSizes()
{
    QFETCH(QSize, size);
    TestH264Encoder encoder(size);
    QVERIFY2(encoder.isOpen(), qPrintable(encoder.error()));
    H264Decoder decoder;
    QVERIFY2(decoder.isOpen(), qPrintable(decoder.openError()));

    const int w = size.width();
    const int h = size.height();
    for (int frame = 0; frame < 6; ++frame) {
        const QByteArray unit = encoder.encode(pattern(size, frame));
        QVERIFY(!unit.isEmpty());
        QImage image;
        QString error;
        QCOMPARE(decoder.decode(unit, &image, &error), H264Decoder::Picture);
        QCOMPARE(image.size(), size);
        QCOMPARE(image.format(), QImage::Format_RGB32);
        QVERIFY(near(image.pixelColor(w / 4, h / 4), QColor(200, 40, 40)));
        QVERIFY(near(image.pixelColor(3 * w / 4 - 8, h / 4), QColor(40, 200, 40)));
        QVERIFY(near(image.pixelColor(w / 4, 3 * h / 4 - 8), QColor(40, 40, 200)));
        QVERIFY(
            near(image.pixelColor(3 * w / 4 - 8, 3 * h / 4 - 8), QColor(20 * frame, 20 * frame, 20 * frame)));
        // Last row and last column, where an overrun or a wrong stride shows.
        QVERIFY(near(image.pixelColor(w / 4, h - 1), Qt::white));
        QVERIFY(near(image.pixelColor(w - 1, h / 4), Qt::white));
        QVERIFY(near(image.pixelColor(w - 1, h - 1), Qt::white));
        // The picture outlives the decoder's next call and a copy of it.
        const QImage copy = image.copy();
        QCOMPARE(copy, image);
    }
}

QTEST_GUILESS_MAIN(TestH264Decoder)
#include "tst_h264decoder.moc"
