#include "dispframewidget.h"

#include <QGuiApplication>
#include <QMouseEvent>
#include <QPainter>
#include <QRegion>
#include <QScreen>
#include <QWheelEvent>

namespace {

QSize primaryScreenSize()
{
    const QScreen* screen = QGuiApplication::primaryScreen();
    return screen != nullptr ? screen->size() : QSize(1920, 1080);
}

} // namespace

DispFrameWidget::DispFrameWidget(QWidget* parent)
    : QWidget(parent, Qt::Tool | Qt::FramelessWindowHint | Qt::WindowStaysOnTopHint)
{
    setAttribute(Qt::WA_TranslucentBackground);
    setWindowTitle(tr("Capture Area"));
    placeWindow(QPoint(0, 0));
}

QRectF DispFrameWidget::captureRect() const
{
    return QRectF(QPointF(pos() + QPoint(kBorder, kBorder)), m_frameRect.size());
}

void DispFrameWidget::placeWindow(const QPoint& captureTopLeft)
{
    const QSize inner = m_frameRect.size().toSize();
    const QRect outer(captureTopLeft - QPoint(kBorder, kBorder), inner + QSize(2 * kBorder, 2 * kBorder));
    setFixedSize(outer.size());
    move(outer.topLeft());
    setMask(QRegion(QRect(QPoint(0, 0), outer.size())) - QRegion(QRect(QPoint(kBorder, kBorder), inner)));
    update();
}

void DispFrameWidget::setFrameRect(const QRectF& rect)
{
    if (m_scaling)
        return;
    m_frameRect.setSize(rect.size());
    placeWindow(rect.topLeft().toPoint());
}

QSizeF DispFrameWidget::scaledSize(const QSizeF& size, int delta, const QSize& screen)
{
    const double factor = delta < 1 ? 0.9 : 1.1;
    return QSizeF(qMin(int(size.width() * factor), screen.width()),
                  qMin(int(size.height() * factor), screen.height()));
}

void DispFrameWidget::paintEvent(QPaintEvent* event)
{
    Q_UNUSED(event)
    QPainter painter(this);
    painter.setRenderHint(QPainter::Antialiasing);
    painter.setPen(QPen(Qt::red, kBorder));
    painter.setBrush(QColor(0, 0, 0, 1));
    const double half = kBorder / 2.0;
    painter.drawRoundedRect(m_frameRect.translated(half, half).adjusted(0, 0, kBorder, kBorder), 0, 0);
}

void DispFrameWidget::mousePressEvent(QMouseEvent* event)
{
    if (event->button() == Qt::LeftButton) {
        m_dragOffset = event->globalPos() - frameGeometry().topLeft();
        event->accept();
    }
}

void DispFrameWidget::mouseMoveEvent(QMouseEvent* event)
{
    if (!(event->buttons() & Qt::LeftButton))
        return;
    move(event->globalPos() - m_dragOffset);
    emit updateCaptureRect(captureRect());
}

void DispFrameWidget::mouseReleaseEvent(QMouseEvent* event)
{
    Q_UNUSED(event)
    m_scaling = false;
}

void DispFrameWidget::mouseDoubleClickEvent(QMouseEvent* event)
{
    Q_UNUSED(event)
    m_scaling = false;
    hide();
    emit closeFrame();
}

void DispFrameWidget::wheelEvent(QWheelEvent* event)
{
    m_scaling = true;
    const QPoint captureTopLeft = captureRect().topLeft().toPoint();
    m_frameRect.setSize(scaledSize(m_frameRect.size(), event->angleDelta().y(), primaryScreenSize()));
    placeWindow(captureTopLeft);
    emit updateCaptureRect(captureRect());
}

void DispFrameWidget::leaveEvent(QEvent* event)
{
    // A wheel turn without a click ends when the pointer leaves, so the panel's
    // spin boxes move the marker again.
    m_scaling = false;
    QWidget::leaveEvent(event);
}
