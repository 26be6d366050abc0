#pragma once

#include "segmentframer.h"

#include <QImage>
#include <QWidget>

// The "virtual display": shows what the host sends, live. For a display,
// the decoded frames at the panel's size (scaled down only when the screen
// is smaller); for a seven-segment panel, its colours and two numbers.
class EmuWindow : public QWidget
{
    Q_OBJECT

public:
    EmuWindow(bool digital, const QSize& panelSize, const QString& title, QWidget* parent = nullptr);

    void showFrame(const QImage& image);
    void showSegment(const SegmentPacket& packet);
    // Dims the shown frames like the panel's backlight (255: full).
    void setBrightness(int value);

protected:
    void paintEvent(QPaintEvent* event) override;

private:
    void paintDisplay(QPainter* painter);
    void paintSegment(QPainter* painter);

    bool m_digital = false;
    QSize m_panelSize;
    QImage m_frame;
    SegmentPacket m_segment;
    bool m_hasSegment = false;
    int m_brightness = 255;
};
