#include "emuwindow.h"

#include <QGuiApplication>
#include <QPainter>
#include <QScreen>

#include <algorithm>

namespace {

constexpr QSize kDigitalWindowSize(480, 200);
constexpr int kScreenMargin = 24;

} // namespace

EmuWindow::EmuWindow(bool digital, const QSize& panelSize, const QString& title, QWidget* parent)
    : QWidget(parent), m_digital(digital), m_panelSize(panelSize)
{
    setWindowTitle(title);
    setAttribute(Qt::WA_OpaquePaintEvent);
    QSize size = digital ? kDigitalWindowSize : panelSize;
    const QScreen* screen = QGuiApplication::primaryScreen();
    if (screen != nullptr) {
        const QSize room = screen->availableSize() * 9 / 10;
        if (size.width() > room.width() || size.height() > room.height()) {
            size = size.scaled(room, Qt::KeepAspectRatio);
        }
    }
    setFixedSize(size);
    if (screen != nullptr) {
        // Near the right edge of the screen, where the application's window,
        // started next, does not hide it.
        const QRect area = screen->availableGeometry();
        move(std::max(area.left(), area.right() - size.width() - kScreenMargin), area.top() + kScreenMargin);
    }
}

void EmuWindow::showFrame(const QImage& image)
{
    m_frame = image;
    update();
}

void EmuWindow::showSegment(const SegmentPacket& packet)
{
    m_segment = packet;
    m_hasSegment = true;
    update();
}

void EmuWindow::setBrightness(int value)
{
    m_brightness = qBound(0, value, 255);
    update();
}

void EmuWindow::paintEvent(QPaintEvent*)
{
    QPainter painter(this);
    painter.fillRect(rect(), Qt::black);
    if (m_digital) {
        paintSegment(&painter);
    } else {
        paintDisplay(&painter);
    }
}

void EmuWindow::paintDisplay(QPainter* painter)
{
    if (m_frame.isNull()) {
        painter->setPen(Qt::gray);
        painter->drawText(rect(), Qt::AlignCenter, tr("waiting for frames"));
        return;
    }
    painter->setRenderHint(QPainter::SmoothPixmapTransform);
    // An encoder input wider than the panel is padding on the right.
    const QRect source(QPoint(0, 0), m_frame.size().boundedTo(m_panelSize));
    painter->drawImage(rect(), m_frame, source);
    if (m_brightness < 255) {
        painter->fillRect(rect(), QColor(0, 0, 0, 255 - m_brightness));
    }
}

void EmuWindow::paintSegment(QPainter* painter)
{
    if (!m_hasSegment) {
        painter->setPen(Qt::gray);
        painter->drawText(rect(), Qt::AlignCenter, tr("waiting for packets"));
        return;
    }
    const int zones = m_segment.colours.size();
    const int stripHeight = height() / 5;
    for (int i = 0; i < zones; ++i) {
        const QRect zone(i * width() / zones, 0, width() / zones, stripHeight);
        painter->fillRect(zone, QColor(m_segment.colours[i]));
    }

    QFont font = painter->font();
    font.setPixelSize(height() / 3);
    font.setBold(true);
    painter->setFont(font);
    const QColor ink = zones > 0 ? QColor(m_segment.colours[0]) : QColor(Qt::white);
    painter->setPen(ink.value() < 60 ? QColor(Qt::darkGray) : ink);
    const QRect body(0, stripHeight, width(), height() - stripHeight);
    const QRect left(body.left(), body.top(), body.width() / 2, body.height());
    const QRect right(body.center().x(), body.top(), body.width() / 2, body.height());
    painter->drawText(left, Qt::AlignCenter, QStringLiteral("%1°").arg(m_segment.temperature));
    painter->drawText(right, Qt::AlignCenter, QStringLiteral("%1%").arg(m_segment.usage));

    font.setPixelSize(height() / 12);
    font.setBold(false);
    painter->setFont(font);
    painter->setPen(Qt::gray);
    painter->drawText(body.adjusted(8, 0, -8, -4), Qt::AlignBottom | Qt::AlignLeft,
                      tr("mode %1").arg(m_segment.mode));
}
