#include "colorselection.h"

#include "digitallogging.h"

#include <QConicalGradient>
#include <QGuiApplication>
#include <QMouseEvent>
#include <QPainter>
#include <QPainterPath>
#include <QScreen>

#include <cmath>

namespace {

constexpr int kPressMin = 40;
constexpr int kPressMax = 250;
constexpr double kInnerFraction = 0.9;
constexpr double kMarkerFraction = 0.8;
constexpr double kMarkerRadiusFraction = 0.06;

double radians(double degrees)
{
    return degrees * M_PI / 180.0;
}

} // namespace

ColorSelection::ColorSelection(QWidget* parent) : QWidget(parent)
{
    setFixedSize(kSide, kSide);
    setPalette(QPalette(Qt::white));
}

double ColorSelection::outerRadius() const
{
    const int side = qMin(width(), height());
    return side / 2 - side * 0.1;
}

QPointF ColorSelection::markerCentre() const
{
    const double r = outerRadius() * kMarkerFraction;
    const QPointF centre(width() / 2.0, height() / 2.0);
    return centre + QPointF(std::cos(radians(m_angle)) * r, std::sin(radians(m_angle)) * r);
}

void ColorSelection::paintEvent(QPaintEvent*)
{
    QPainter painter(this);
    painter.setRenderHint(QPainter::Antialiasing, true);
    const QPointF centre(width() / 2.0, height() / 2.0);
    const double r = outerRadius();

    QConicalGradient gradient(centre, 0);
    const QColor stops[] = {Qt::red, Qt::yellow, Qt::green, Qt::cyan, Qt::blue, Qt::magenta};
    for (int i = 0; i < 6; ++i) {
        gradient.setColorAt(i / 6.0, stops[i]);
    }
    gradient.setColorAt(1.0, Qt::red);

    QPainterPath ring;
    ring.addEllipse(centre, r, r);
    ring.addEllipse(centre, r * kInnerFraction, r * kInnerFraction);
    painter.setPen(Qt::NoPen);
    painter.setBrush(gradient);
    painter.drawPath(ring);

    painter.setBrush(Qt::NoBrush);
    painter.setPen(QColor(Qt::lightGray));
    const double marker = r * kMarkerRadiusFraction;
    painter.drawEllipse(markerCentre(), marker, marker);
}

void ColorSelection::setAngle(double degrees)
{
    m_angle = degrees;
    update();
}

void ColorSelection::setAngleFrom(const QPoint& pos)
{
    m_angle = std::atan2(pos.y() - height() / 2.0, pos.x() - width() / 2.0) * 180.0 / M_PI;
    update();
}

void ColorSelection::mousePressEvent(QMouseEvent* event)
{
    const QPoint pos = event->pos();
    if (event->button() != Qt::LeftButton || pos.x() < kPressMin || pos.x() > kPressMax ||
        pos.y() < kPressMin || pos.y() > kPressMax) {
        return;
    }
    m_pressed = true;
    setAngleFrom(pos);
}

void ColorSelection::mouseMoveEvent(QMouseEvent* event)
{
    if (m_pressed) {
        setAngleFrom(event->pos());
    }
}

void ColorSelection::mouseReleaseEvent(QMouseEvent*)
{
    if (!m_pressed) {
        return;
    }
    m_pressed = false;
    const QPoint global = mapToGlobal(markerCentre().toPoint());
    m_currentColor = colorAt(global);
    emit currentColorChanged(m_currentColor);
}

QColor ColorSelection::colorAt(const QPoint& globalPos) const
{
    // Only X11 lets an application read the screen; elsewhere (Wayland,
    // offscreen) the window's own rendering holds the same pixel.
    if (QGuiApplication::platformName() == QLatin1String("xcb")) {
        QScreen* screen = QGuiApplication::screenAt(globalPos);
        if (!screen) {
            screen = QGuiApplication::primaryScreen();
        }
        if (screen) {
            const QPoint onScreen = globalPos - screen->geometry().topLeft();
            const QImage pixel = screen->grabWindow(0, onScreen.x(), onScreen.y(), 1, 1).toImage();
            if (!pixel.isNull()) {
                return pixel.pixelColor(0, 0);
            }
        }
        qCDebug(lcDigital) << "ColorSelection::colorAt: screen grab failed, using the window's rendering";
    }
    QWidget* top = window();
    const QPoint inTop = top->mapFromGlobal(globalPos);
    const QImage pixel = top->grab(QRect(inTop, QSize(1, 1))).toImage();
    return pixel.isNull() ? QColor() : pixel.pixelColor(0, 0);
}
