#pragma once

#include "dispwidget.h"

#include <QRectF>

class QLabel;
class QTimer;
class ScreenGrabber;

// A live region of the PC screen on the scene: every 33 ms the capture
// rectangle (screen coordinates) is grabbed and scaled, quickly and without
// keeping the aspect, to the label's size.
class DispScreenCaptureWidget : public DispWidget
{
    Q_OBJECT

public:
    static constexpr int kCaptureIntervalMs = 33;

    explicit DispScreenCaptureWidget(DispWidget* parent = nullptr, const QString& suffix = QString());

    void setCapturing(bool capturing);
    bool isCapturing() const;

    QRectF captureRect() const { return m_captureRect; }
    void setCaptureRect(const QRectF& rect);
    void setCaptureLeft(double left);
    void setCaptureTop(double top);
    // Sizes of 0 or less are stored as -1: nothing is grabbed then.
    void setCaptureWidth(double width);
    void setCaptureHeight(double height);

    // Label size := the rectangle's size (truncated); the item moves to its top-left.
    void setItemGeometry(const QRectF& rect);

    QLabel* pictureLabel() const { return m_label; }
    // Null means the grabber of the session.
    void setGrabber(ScreenGrabber* grabber) { m_grabber = grabber; }

public slots:
    // One capture: grab, scale, show.
    void grabOnce();

protected:
    void wheelEvent(QGraphicsSceneWheelEvent* event) override;

private:
    QLabel* m_label = nullptr;
    QTimer* m_timer = nullptr;
    QRectF m_captureRect{0, 0, -1, -1};
    ScreenGrabber* m_grabber = nullptr;
};
