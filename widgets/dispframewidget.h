#pragma once

#include <QPoint>
#include <QRectF>
#include <QWidget>

// The on-screen marker of the captured area: a frameless top-level window
// that draws a red frame just outside the capture rectangle. Drag it by the
// frame; the wheel grows (away from the user) or shrinks (toward the user)
// the area by a tenth, never beyond the primary screen; a double click
// closes it.
//
// The window is shaped to the frame itself, so the marker never shows up in
// the capture and needs no compositor for its see-through middle.
class DispFrameWidget : public QWidget
{
    Q_OBJECT

public:
    static constexpr int kBorder = 4;

    explicit DispFrameWidget(QWidget* parent = nullptr);

    // (0, 0, width, height) of the capture rectangle.
    QRectF frameRect() const { return m_frameRect; }
    bool isScaling() const { return m_scaling; }
    // The capture rectangle in screen coordinates.
    QRectF captureRect() const;

    // Ignored while the wheel is resizing the marker.
    void setFrameRect(const QRectF& rect);

    // A wheel step: the size after it, limited to screen.
    static QSizeF scaledSize(const QSizeF& size, int delta, const QSize& screen);

signals:
    void updateCaptureRect(const QRectF& rect);
    void closeFrame();

protected:
    void paintEvent(QPaintEvent* event) override;
    void mousePressEvent(QMouseEvent* event) override;
    void mouseMoveEvent(QMouseEvent* event) override;
    void mouseReleaseEvent(QMouseEvent* event) override;
    void mouseDoubleClickEvent(QMouseEvent* event) override;
    void wheelEvent(QWheelEvent* event) override;
    void leaveEvent(QEvent* event) override;

private:
    void placeWindow(const QPoint& captureTopLeft);

    QRectF m_frameRect{0, 0, 480, 480};
    QPoint m_dragOffset;
    bool m_scaling = false;
};
