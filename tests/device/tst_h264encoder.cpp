// The host's encoder against the emulator's decoder: every image becomes one
// access unit that decodes in place to the same picture, at every panel
// width (1080 and 462 wide pictures once made the decoder's conversion write
// past a tightly sized buffer).
#include "h264decoder.h"
#include "h264encoder.h"
#include "pixels.h"
#include "yuvconverter.h"

#include <QPainter>
#include <QtTest>

namespace {

// Four flat quadrants whose colours rotate with the frame index, so a stale
// or swapped picture is caught, and a white last row and column, where a
// picture cut short or a wrong stride shows.
QImage quadrants(int width, int height, int index)
{
    static const QRgb colours[] = {qRgb(220, 30, 30), qRgb(30, 200, 40), qRgb(30, 40, 220),
                                   qRgb(100, 100, 100)};
    QImage image(width, height, QImage::Format_ARGB32);
    QPainter painter(&image);
    const int w = width / 2;
    const int h = height / 2;
    painter.fillRect(0, 0, w, h, QColor(colours[index % 4]));
    painter.fillRect(w, 0, width - w, h, QColor(colours[(index + 1) % 4]));
    painter.fillRect(0, h, w, height - h, QColor(colours[(index + 2) % 4]));
    painter.fillRect(w, h, width - w, height - h, QColor(colours[(index + 3) % 4]));
    painter.fillRect(0, height - 16, width, 16, Qt::white);
    painter.fillRect(width - 16, 0, 16, height, Qt::white);
    return image;
}

} // namespace

class TestH264Encoder : public QObject
{
    Q_OBJECT

private slots:
    void initTestCase() { av_log_set_level(AV_LOG_FATAL); }
    void everyImageYieldsItsOwnDecodablePacket_data();
    void everyImageYieldsItsOwnDecodablePacket();
    void libyuvGivesTheSwscalePlanes_data();
    void libyuvGivesTheSwscalePlanes();
};

void TestH264Encoder::everyImageYieldsItsOwnDecodablePacket_data()
{
    QTest::addColumn<QSize>("size");
    QTest::addColumn<int>("format");
    QTest::newRow("320x240") << QSize(320, 240) << int(QImage::Format_ARGB32);
    QTest::newRow("420x960") << QSize(420, 960) << int(QImage::Format_ARGB32_Premultiplied);
    QTest::newRow("440x1920") << QSize(440, 1920) << int(QImage::Format_RGB32);
    QTest::newRow("462x1920") << QSize(462, 1920) << int(QImage::Format_RGB32);
    QTest::newRow("480x480 from RGB888") << QSize(480, 480) << int(QImage::Format_RGB888);
    QTest::newRow("1080x1920") << QSize(1080, 1920) << int(QImage::Format_ARGB32);
}

void TestH264Encoder::everyImageYieldsItsOwnDecodablePacket()
{
    QFETCH(QSize, size);
    QFETCH(int, format);
    const int w = size.width();
    const int h = size.height();
    int status = 0;
    QVERIFY(!H264Encoder::create(0, 0, &status));
    QCOMPARE(status, int(H264Encoder::SetupOpenFailed));
    auto encoder = H264Encoder::create(w, h, &status);
    QVERIFY(encoder);
    QCOMPARE(status, 0);
    // Pictures of another size, or none, are refused.
    QByteArray refused;
    QCOMPARE(encoder->encode(BgraImage::fromImage(quadrants(w - 60, h, 0)), refused),
             H264Encoder::Result::ConvertFailed);
    QCOMPARE(encoder->encode(BgraImage(), refused), H264Encoder::Result::ConvertFailed);
    QVERIFY(refused.isEmpty());
    QVERIFY(encoder->codecName() == "libopenh264" || encoder->codecName() == "libx264");
    H264Decoder decoder;
    QVERIFY2(decoder.isOpen(), qPrintable(decoder.openError()));
    // More than one GOP, so pictures predicted from earlier ones are covered.
    for (int i = 0; i < H264Encoder::kGopSize + 3; ++i) {
        const QImage expected = quadrants(w, h, i);
        QByteArray out;
        QCOMPARE(encoder->encode(BgraImage::fromImage(expected.convertToFormat(QImage::Format(format))), out),
                 H264Encoder::Result::Ok);
        QImage decoded;
        QString error;
        QVERIFY2(decoder.decode(out, &decoded, &error) == H264Decoder::Picture,
                 qPrintable(QString("packet %1 did not decode in place: %2").arg(i).arg(error)));
        QCOMPARE(decoded.size(), size);
        for (const QPoint& p : {QPoint(w / 4, h / 4), QPoint(3 * w / 4 - 8, h / 4),
                                QPoint(w / 4, 3 * h / 4 - 8), QPoint(3 * w / 4 - 8, 3 * h / 4 - 8),
                                QPoint(w / 4, h - 1), QPoint(w - 1, h / 4), QPoint(w - 1, h - 1)}) {
            QVERIFY2(Pixels::near(decoded.pixel(p), expected.pixel(p), 23),
                     qPrintable(QString("image %1 at %2,%3").arg(i).arg(p.x()).arg(p.y())));
        }
    }
}

void TestH264Encoder::libyuvGivesTheSwscalePlanes_data()
{
    QTest::addColumn<QSize>("size");
    QTest::newRow("320x240") << QSize(320, 240);
    QTest::newRow("462x128 (a narrow panel's width)") << QSize(462, 128);
}

void TestH264Encoder::libyuvGivesTheSwscalePlanes()
{
    QFETCH(QSize, size);
    if (YuvConverter::bestBackend() != YuvConverter::Backend::LibYuv) {
        QSKIP("this build converts through swscale only");
    }
    // Detail in every channel: gradients crossed with a pixel-sized pattern.
    QImage source(size, QImage::Format_ARGB32);
    for (int y = 0; y < size.height(); ++y) {
        for (int x = 0; x < size.width(); ++x) {
            source.setPixel(x, y,
                            qRgb((x * 255) / size.width(), (y * 255) / size.height(), ((x ^ y) & 1) * 255));
        }
    }
    std::vector<FFmpeg::FramePtr> frames;
    for (const auto backend : {YuvConverter::Backend::LibYuv, YuvConverter::Backend::Swscale}) {
        auto converter = YuvConverter::create(size.width(), size.height(), backend);
        QVERIFY(converter);
        FFmpeg::FramePtr frame(av_frame_alloc());
        frame->format = AV_PIX_FMT_YUV420P;
        frame->width = size.width();
        frame->height = size.height();
        QVERIFY(av_frame_get_buffer(frame.get(), 0) >= 0);
        QVERIFY(converter->convert(BgraImage::fromImage(source), frame.get()));
        frames.push_back(std::move(frame));
    }
    for (int plane = 0; plane < 3; ++plane) {
        const int w = plane == 0 ? size.width() : size.width() / 2;
        const int h = plane == 0 ? size.height() : size.height() / 2;
        int worst = 0;
        for (int y = 0; y < h; ++y) {
            for (int x = 0; x < w; ++x) {
                worst = qMax(worst, qAbs(frames[0]->data[plane][y * frames[0]->linesize[plane] + x] -
                                         frames[1]->data[plane][y * frames[1]->linesize[plane] + x]));
            }
        }
        QVERIFY2(worst <= 2, qPrintable(QString("plane %1 differs by up to %2").arg(plane).arg(worst)));
    }
}

QTEST_APPLESS_MAIN(TestH264Encoder)
#include "tst_h264encoder.moc"
