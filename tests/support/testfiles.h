#pragma once

#include <QByteArray>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QImage>
#include <QPainter>
#include <QString>

#include <cmath>

// Bytes, files and pictures made by the tests that upload or stream them, and
// the luma comparison of a decoded frame with the picture sent.
namespace TestFiles {

inline QByteArray hex(const char* text)
{
    return QByteArray::fromHex(QByteArray(text).replace(' ', ""));
}

// size bytes that repeat late and differ between seeds.
inline QByteArray patterned(int size, int seed)
{
    QByteArray data(size, Qt::Uninitialized);
    for (int i = 0; i < size; ++i) {
        data[i] = char((i * 131 + seed) ^ (i >> 7));
    }
    return data;
}

// Writes data to path, making its folder first.
inline bool writeFile(const QString& path, const QByteArray& data)
{
    QDir().mkpath(QFileInfo(path).absolutePath());
    QFile file(path);
    return file.open(QIODevice::WriteOnly) && file.write(data) == data.size();
}

// The whole file, or nothing when it cannot be read.
inline QByteArray readAll(const QString& path)
{
    QFile file(path);
    return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray();
}

// A picture with smooth areas, hard edges and fine detail, as a theme has.
inline QImage testPicture(const QSize& size)
{
    QImage image(size, QImage::Format_RGB32);
    QPainter painter(&image);
    QLinearGradient gradient(0, 0, size.width(), size.height());
    gradient.setColorAt(0, QColor(20, 40, 160));
    gradient.setColorAt(0.5, QColor(230, 200, 40));
    gradient.setColorAt(1, QColor(160, 20, 60));
    painter.fillRect(image.rect(), gradient);
    painter.setRenderHint(QPainter::Antialiasing);
    for (int i = 0; i < 8; ++i) {
        const int y = size.height() * i / 8;
        painter.setBrush(QColor::fromHsv(i * 45, 200, 230));
        painter.setPen(QPen(Qt::white, 3));
        painter.drawEllipse(QRect(size.width() / 8 + (i % 2) * size.width() / 3, y + 10, size.width() / 3,
                                  size.height() / 10));
        painter.fillRect(QRect(size.width() * 3 / 4, y + 20, size.width() / 6, size.height() / 20),
                         Qt::black);
    }
    return image;
}

// A plain JPEG, padded with bytes after its end marker to padTo bytes (the
// picture stays the same, the file grows); the path, or empty on failure.
inline QString writeJpeg(const QString& path, const QSize& size, qint64 padTo = 0)
{
    QImage image(size, QImage::Format_RGB32);
    image.fill(Qt::darkCyan);
    if (!image.save(path, "JPG")) {
        return QString();
    }
    QFile file(path);
    if (padTo > 0 && file.open(QIODevice::Append)) {
        file.write(QByteArray(int(qMax<qint64>(0, padTo - file.size())), '\0'));
    }
    return path;
}

inline double luma(QRgb rgb)
{
    return 0.299 * qRed(rgb) + 0.587 * qGreen(rgb) + 0.114 * qBlue(rgb);
}

// Peak signal-to-noise ratio of the luma of actual at offset against expected.
inline double lumaPsnr(const QImage& expected, const QImage& actual, const QPoint& offset)
{
    double squares = 0;
    for (int y = 0; y < expected.height(); ++y) {
        for (int x = 0; x < expected.width(); ++x) {
            const double d = luma(expected.pixel(x, y)) - luma(actual.pixel(x + offset.x(), y + offset.y()));
            squares += d * d;
        }
    }
    const double mse = squares / (double(expected.width()) * expected.height());
    return mse <= 0 ? 99.0 : 10.0 * std::log10(255.0 * 255.0 / mse);
}

} // namespace TestFiles
