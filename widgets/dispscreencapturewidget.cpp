#include "dispscreencapturewidget.h"

#include "dispwidgetnames.h"
#include "screengrabber.h"

#include <QGraphicsSceneWheelEvent>
#include <QLabel>
#include <QPixmap>
#include <QTimer>

DispScreenCaptureWidget::DispScreenCaptureWidget(DispWidget* parent, const QString& suffix)
    : DispWidget(parent)
{
    setObjectName(DispWidgetNames::next(DispWidgetNames::ScreenCapture, suffix));
    m_label = new QLabel;
    m_label->setScaledContents(true);
    m_label->setMargin(0);
    m_label->setStyleSheet(QStringLiteral("background-color: transparent;"));
    setContentWidget(m_label);

    m_timer = new QTimer(this);
    connect(m_timer, &QTimer::timeout, this, &DispScreenCaptureWidget::grabOnce);
    m_timer->start(kCaptureIntervalMs);
}

void DispScreenCaptureWidget::setCapturing(bool capturing)
{
    if (capturing)
        m_timer->start(kCaptureIntervalMs);
    else
        m_timer->stop();
}

bool DispScreenCaptureWidget::isCapturing() const
{
    return m_timer->isActive();
}

void DispScreenCaptureWidget::setCaptureRect(const QRectF& rect)
{
    m_captureRect = rect;
    update();
}

void DispScreenCaptureWidget::setCaptureLeft(double left)
{
    m_captureRect.moveLeft(left);
}

void DispScreenCaptureWidget::setCaptureTop(double top)
{
    m_captureRect.moveTop(top);
}

void DispScreenCaptureWidget::setCaptureWidth(double width)
{
    m_captureRect.setWidth(width <= 0 ? -1 : width);
}

void DispScreenCaptureWidget::setCaptureHeight(double height)
{
    m_captureRect.setHeight(height <= 0 ? -1 : height);
}

void DispScreenCaptureWidget::setItemGeometry(const QRectF& rect)
{
    prepareGeometryChange();
    m_label->setFixedSize(int(rect.width()), int(rect.height()));
    setPos(rect.topLeft());
    updateGeometry();
}

void DispScreenCaptureWidget::grabOnce()
{
    // The initial rectangle (and any without area) grabs nothing: asking the
    // screen for a size of -1 would read it to its edge.
    const QRect area(int(m_captureRect.x()), int(m_captureRect.y()), int(m_captureRect.width()),
                     int(m_captureRect.height()));
    if (area.width() <= 0 || area.height() <= 0 || m_label->width() <= 0 || m_label->height() <= 0)
        return;
    ScreenGrabber* grabber = m_grabber != nullptr ? m_grabber : ScreenGrabber::forSession();
    const QImage picture = grabber->grab(area);
    if (picture.isNull())
        return;
    m_label->setPixmap(
        QPixmap::fromImage(picture.scaled(m_label->size(), Qt::IgnoreAspectRatio, Qt::FastTransformation)));
}

void DispScreenCaptureWidget::wheelEvent(QGraphicsSceneWheelEvent* event)
{
    event->ignore();
}
