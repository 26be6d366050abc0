#pragma once

#include "dispwidget.h"

#include <QColor>
#include <QRectF>
#include <QSize>
#include <QString>

class DispVideoDecoder;
class QLabel;

// A picture on the scene: a still, an animated GIF or WebP, or a video, all
// decoded by the widget's own DispVideoDecoder thread. Frames are shown at
// their own pixel size in the label, cropped or padded with transparency to
// the label's size. The owner calls stopDecoder() before deleting the widget.
class DispImageWidget : public DispWidget
{
    Q_OBJECT

public:
    explicit DispImageWidget(DispWidget* parent = nullptr, const QString& suffix = QString());
    ~DispImageWidget() override;

    void setMediaPath(const QString& path, bool force);
    void reloadMediaPath(const QString& path);
    // While held, new frames are not shown (a plain colour stays up).
    void setHold(bool hold) { m_hold = hold; }
    bool hold() const { return m_hold; }
    void fillColor(const QColor& color);
    // Label size := the rectangle's size; the item moves by its top-left.
    void setImageGeometry(const QRectF& rect);

    QString mediaPath() const { return m_mediaPath; }
    QSize imageSize() const;
    DispVideoDecoder* decoder() const { return m_decoder; }
    QLabel* pictureLabel() const { return m_label; }
    void closeMedia();
    void stopDecoder() override;

public slots:
    void handleFrameUpdated();

private:
    QLabel* m_label = nullptr;
    DispVideoDecoder* m_decoder = nullptr;
    QString m_mediaPath;
    bool m_hold = false;
    bool m_closing = false;
};
