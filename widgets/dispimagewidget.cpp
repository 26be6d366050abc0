#include "dispimagewidget.h"

#include "dispvideodecoder.h"
#include "dispwidgetnames.h"

#include <QLabel>
#include <QPixmap>

DispImageWidget::DispImageWidget(DispWidget* parent, const QString& suffix) : DispWidget(parent)
{
    setObjectName(DispWidgetNames::next(DispWidgetNames::Image, suffix));
    m_label = new QLabel;
    m_label->resize(50, 50);
    m_label->setScaledContents(true);
    m_label->setMargin(0);
    m_label->setAttribute(Qt::WA_TranslucentBackground);
    m_label->setStyleSheet(QStringLiteral("background:transparent;"));
    setContentWidget(m_label);

    m_decoder = new DispVideoDecoder(this);
    connect(m_decoder, &DispVideoDecoder::frameUpdated, this, &DispImageWidget::handleFrameUpdated);
    m_decoder->start(QThread::InheritPriority);
}

DispImageWidget::~DispImageWidget()
{
    // Owners stop the decoder first; this only covers the forgetful ones so
    // the thread never outlives its widget.
    stopDecoder();
}

void DispImageWidget::setMediaPath(const QString& path, bool force)
{
    m_mediaPath = path;
    m_decoder->setPath(path, force);
    m_decoder->requestFrame();
}

void DispImageWidget::reloadMediaPath(const QString& path)
{
    m_mediaPath = path;
    m_decoder->reSetPath(path);
    m_decoder->requestFrame();
}

void DispImageWidget::fillColor(const QColor& color)
{
    QPixmap pixmap(m_label->size());
    pixmap.fill(color);
    m_label->setPixmap(pixmap);
}

void DispImageWidget::setImageGeometry(const QRectF& rect)
{
    prepareGeometryChange();
    m_label->setFixedSize(int(rect.width()), int(rect.height()));
    moveBy(rect.x(), rect.y());
    updateGeometry();
}

QSize DispImageWidget::imageSize() const
{
    return m_label->size();
}

void DispImageWidget::closeMedia()
{
    m_decoder->closeMediaLocked();
}

void DispImageWidget::stopDecoder()
{
    if (m_closing) {
        return;
    }
    m_closing = true;
    disconnect(m_decoder, &DispVideoDecoder::frameUpdated, this, &DispImageWidget::handleFrameUpdated);
    m_decoder->stop();
}

void DispImageWidget::handleFrameUpdated()
{
    if (m_closing) {
        return;
    }
    const QImage frame = m_decoder->currentFrame();
    if (!m_hold && !frame.isNull()) {
        const QRect area(QPoint(0, 0), m_label->size());
        // Outside the frame QImage::copy fills with 0: transparent pixels.
        const QImage shown = frame.rect() == area ? frame : frame.copy(area);
        m_label->setPixmap(QPixmap::fromImage(shown));
    }
    m_decoder->requestFrame();
}
