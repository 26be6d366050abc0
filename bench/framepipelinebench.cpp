#include "framepipelinebench.h"
#include "benchstats.h"

#include "h264encoder.h"

#include <QElapsedTimer>
#include <QImage>
#include <QPainter>

#include <algorithm>
#include <ctime>
#include <vector>

namespace {

double threadCpuMs()
{
    timespec ts{};
    clock_gettime(CLOCK_THREAD_CPUTIME_ID, &ts);
    return double(ts.tv_sec) * 1000.0 + double(ts.tv_nsec) / 1e6;
}

} // namespace

// A drifting gradient, a moving panel and lines of text, so both flat and
// busy areas are coded.
QImage FramePipelineBench::themeFrame(const QSize& size, int index)
{
    QImage image(size, QImage::Format_ARGB32);
    QPainter painter(&image);
    QLinearGradient gradient(0, 0, size.width(), size.height());
    gradient.setColorAt(0, QColor::fromHsv((index * 3) % 360, 160, 120));
    gradient.setColorAt(1, QColor::fromHsv((index * 3 + 120) % 360, 200, 60));
    painter.fillRect(image.rect(), gradient);
    const int box = qMin(size.width(), size.height()) / 3;
    painter.fillRect((index * 7) % qMax(1, size.width() - box), size.height() / 4, box, box,
                     QColor(240, 200, 40));
    painter.setPen(Qt::white);
    QFont font = painter.font();
    font.setPixelSize(qMax(10, size.width() / 24));
    painter.setFont(font);
    for (int line = 0; line < 6; ++line) {
        painter.drawText(
            10, size.height() / 2 + line * font.pixelSize() * 3 / 2,
            QStringLiteral("CPU %1 C  GPU %2 %").arg(40 + (index + line) % 50).arg((index * 3 + line) % 100));
    }
    return image;
}

FramePipelineBench::Row FramePipelineBench::measure(const QSize& size, int frames)
{
    Row row;
    row.size = size;
    auto encoder = H264Encoder::create(size.width(), size.height());
    if (!encoder) {
        return row;
    }
    row.codec = encoder->codecName();

    // Pictures are drawn up front so drawing is not measured.
    constexpr int kDistinctFrames = 30;
    std::vector<BgraImage> pictures;
    for (int i = 0; i < kDistinctFrames; ++i) {
        pictures.push_back(BgraImage::fromImage(themeFrame(size, i)));
    }

    std::vector<double> convertMs;
    std::vector<double> encodeMs;
    double bytesTotal = 0;
    const double cpuStart = threadCpuMs();
    QElapsedTimer timer;
    for (int i = 0; i < frames; ++i) {
        QByteArray out;
        timer.start();
        if (!encoder->convert(pictures[size_t(i % kDistinctFrames)])) {
            return row;
        }
        const qint64 converted = timer.nsecsElapsed();
        if (encoder->encodeConverted(out) != H264Encoder::Result::Ok) {
            return row;
        }
        const qint64 encoded = timer.nsecsElapsed();
        convertMs.push_back(double(converted) / 1e6);
        encodeMs.push_back(double(encoded - converted) / 1e6);
        bytesTotal += double(out.size());
        row.bytesMax = std::max(row.bytesMax, int(out.size()));
    }
    const double cpuPerFrameMs = (threadCpuMs() - cpuStart) / double(frames);

    row.convertMedianMs = percentile(convertMs, 0.5);
    row.convertP95Ms = percentile(convertMs, 0.95);
    row.encodeMedianMs = percentile(encodeMs, 0.5);
    row.encodeP95Ms = percentile(encodeMs, 0.95);
    row.bytesMean = bytesTotal / double(frames);
    row.cpuShareAt30Fps = cpuPerFrameMs * 30.0 / 10.0; // ms per second / 1000 ms, in percent
    row.ok = true;
    return row;
}

QString FramePipelineBench::table(const QList<Row>& rows)
{
    QString text;
    text += QStringLiteral("| Panel | Encoder | BGRA->YUV median ms | p95 ms | Encode median ms | p95 ms "
                           "| Bytes/frame mean | max | CPU of one core at 30 fps |\n");
    text += QStringLiteral("|---|---|---:|---:|---:|---:|---:|---:|---:|\n");
    for (const Row& row : rows) {
        if (!row.ok) {
            text += QStringLiteral("| %1x%2 | failed | | | | | | | |\n")
                        .arg(row.size.width())
                        .arg(row.size.height());
            continue;
        }
        text += QStringLiteral("| %1x%2 | %3 | %4 | %5 | %6 | %7 | %8 | %9 | %10 % |\n")
                    .arg(row.size.width())
                    .arg(row.size.height())
                    .arg(row.codec)
                    .arg(row.convertMedianMs, 0, 'f', 2)
                    .arg(row.convertP95Ms, 0, 'f', 2)
                    .arg(row.encodeMedianMs, 0, 'f', 2)
                    .arg(row.encodeP95Ms, 0, 'f', 2)
                    .arg(row.bytesMean, 0, 'f', 0)
                    .arg(row.bytesMax)
                    .arg(row.cpuShareAt30Fps, 0, 'f', 1);
    }
    return text;
}
