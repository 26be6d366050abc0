#pragma once

#include "clipcommand.h"
#include "clipencoderprocess.h"

#include <QImage>
#include <QProcess>
#include <QSize>
#include <QString>
#include <QWidget>

class DispVideoDecoder;
class QLabel;
class QPushButton;
class RangeSlider;
class scaleLabel;

// "Video Editing": fits a chosen picture or video to the device before it
// becomes a background. The user drags the frame inside a preview of the
// device's size, zooms, turns it by quarter turns and, for videos, picks a
// time range; "save" renders the result with the ffmpeg program into the
// output path and hands that path back with updateBackgroundPath.
class dispClippingWidget : public QWidget
{
    Q_OBJECT

public:
    enum MediaKind
    {
        NoMedia = -1,
        VideoMedia = 0,
        StillMedia = 1
    };

    explicit dispClippingWidget(int deviceWidth = 480, int deviceHeight = 480, QWidget* parent = nullptr);
    ~dispClippingWidget() override;

    // Shows the tool for input; output is where the result is written for a
    // device of the given size. imageType is handed back unchanged.
    void open(int imageType, const QString& inputPath, const QString& outputPath, const QSize& device);

    // The controls, for the page that hosts the tool and for tests.
    void zoomIn();
    void zoomOut();
    void rotate();
    void setPlaying(bool playing);
    void render();
    // Close button: cancels a running render, else hands back the input unchanged.
    void cancel();

    MediaKind mediaKind() const { return m_kind; }
    ClipCommand::Preview preview() const { return m_preview; }
    QSize frameSize() const;
    QPoint framePosition() const;
    void setFramePosition(const QPoint& position);
    int rotationIndex() const { return m_rotation; }
    bool isPlaying() const { return m_playing; }
    bool isRendering() const;
    RangeSlider* rangeSlider() const { return m_range; }
    QLabel* statusLabel() const { return m_status; }
    QLabel* frameLabel() const;
    // The encoder's arguments for the current frame, as "save" passes them.
    QStringList renderArguments() const;

signals:
    void updateBackgroundPath(int _imageType, QString path);

public slots:
    void handleProcessFinished(int exitCode, QProcess::ExitStatus status);

private:
    void buildUi();
    void startPreview();
    void stopPreview();
    void frameArrived();
    void showFrame();
    void lowerChanged(int value);
    void upperChanged(int value);
    void seekPreview(qint64 seconds);
    void updateTimeLabels();
    void renderFinished(ClipEncoderProcess::Outcome outcome, const QString& errorText);
    void setEditing(bool enabled);

    int m_imageType = 0;
    QString m_inputPath;
    QString m_outputPath;
    QSize m_device;
    MediaKind m_kind = NoMedia;
    ClipCommand::Preview m_preview;
    int m_rotation = 0;
    QSize m_frameSize;
    QImage m_sourceFrame;
    qint64 m_durationS = 0;
    qint64 m_lowerS = 0;
    qint64 m_upperS = 0;
    bool m_playing = false;

    DispVideoDecoder* m_decoder = nullptr;
    ClipEncoderProcess* m_encoder = nullptr;
    QWidget* m_area = nullptr;
    scaleLabel* m_frame = nullptr;
    RangeSlider* m_range = nullptr;
    QLabel* m_lowerTime = nullptr;
    QLabel* m_upperTime = nullptr;
    QLabel* m_status = nullptr;
    QPushButton* m_play = nullptr;
    QList<QWidget*> m_editControls;
};
