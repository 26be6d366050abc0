#include "dispclippingwidget.h"

#include "dispvideodecoder.h"
#include "medialog.h"
#include "rangeslider.h"
#include "scalelabel.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QHBoxLayout>
#include <QLabel>
#include <QPushButton>
#include <QTransform>
#include <QVBoxLayout>

dispClippingWidget::dispClippingWidget(int deviceWidth, int deviceHeight, QWidget* parent)
    : QWidget(parent, Qt::Window), m_device(deviceWidth, deviceHeight)
{
    setWindowTitle(tr("Video Editing"));
    setObjectName(QStringLiteral("dispClippingWidget"));
    setStyleSheet(
        QStringLiteral("QWidget#dispClippingWidget{background-color:#202020;} QLabel{color:white;}"));
    m_preview = ClipCommand::previewFor(m_device);
    m_encoder = new ClipEncoderProcess(this);
    connect(m_encoder, &ClipEncoderProcess::processFinished, this,
            &dispClippingWidget::handleProcessFinished);
    connect(m_encoder, &ClipEncoderProcess::finished, this, &dispClippingWidget::renderFinished);
    connect(m_encoder, &ClipEncoderProcess::progressChanged, this,
            [this](int percent) { m_status->setText(tr("Rendering... %1%").arg(percent)); });
    buildUi();
}

dispClippingWidget::~dispClippingWidget()
{
    stopPreview();
}

void dispClippingWidget::buildUi()
{
    m_area = new QWidget;
    m_area->setObjectName(QStringLiteral("clipArea"));
    // The device's frame: what lies outside it is cut off, what it does not
    // cover is black in the result.
    m_area->setStyleSheet(QStringLiteral("QWidget#clipArea{background-color:black;}"));
    m_area->setFixedSize(m_preview.area);
    m_frame = new scaleLabel(m_area);
    m_frame->setScaledContents(true);
    m_frame->setCursor(Qt::SizeAllCursor);

    const auto button = [this](const QString& text, void (dispClippingWidget::*action)()) {
        auto* b = new QPushButton(text);
        connect(b, &QPushButton::clicked, this, action);
        m_editControls << b;
        return b;
    };
    QPushButton* zoomInButton = button(tr("Zoom in"), &dispClippingWidget::zoomIn);
    QPushButton* zoomOutButton = button(tr("Zoom out"), &dispClippingWidget::zoomOut);
    QPushButton* rotateButton = button(tr("Rotate"), &dispClippingWidget::rotate);
    QPushButton* saveButton = button(tr("save"), &dispClippingWidget::render);
    m_play = new QPushButton(tr("Play"));
    m_play->setCheckable(true);
    connect(m_play, &QPushButton::toggled, this, &dispClippingWidget::setPlaying);
    m_editControls << m_play;
    auto* closeButton = new QPushButton(tr("Cancel"));
    connect(closeButton, &QPushButton::clicked, this, &dispClippingWidget::cancel);

    m_range = new RangeSlider(Qt::Horizontal, RangeSlider::DoubleHandles);
    connect(m_range, &RangeSlider::lowerValueChanged, this, &dispClippingWidget::lowerChanged);
    connect(m_range, &RangeSlider::upperValueChanged, this, &dispClippingWidget::upperChanged);
    m_editControls << m_range;
    m_lowerTime = new QLabel(QStringLiteral("00:00"));
    m_upperTime = new QLabel(QStringLiteral("00:00"));
    m_status = new QLabel;

    auto* tools = new QHBoxLayout;
    for (QWidget* w : {static_cast<QWidget*>(zoomInButton), static_cast<QWidget*>(zoomOutButton),
                       static_cast<QWidget*>(rotateButton), static_cast<QWidget*>(m_play)}) {
        tools->addWidget(w);
    }
    tools->addStretch();
    auto* timeRow = new QHBoxLayout;
    timeRow->addWidget(m_lowerTime);
    timeRow->addWidget(m_range, 1);
    timeRow->addWidget(m_upperTime);
    auto* actions = new QHBoxLayout;
    actions->addWidget(m_status, 1);
    actions->addWidget(saveButton);
    actions->addWidget(closeButton);

    auto* layout = new QVBoxLayout(this);
    layout->addWidget(m_area, 0, Qt::AlignHCenter);
    layout->addLayout(tools);
    layout->addLayout(timeRow);
    layout->addLayout(actions);
}

QLabel* dispClippingWidget::frameLabel() const
{
    return m_frame;
}

QSize dispClippingWidget::frameSize() const
{
    return m_frameSize;
}

QPoint dispClippingWidget::framePosition() const
{
    return m_frame->pos();
}

void dispClippingWidget::setFramePosition(const QPoint& position)
{
    m_frame->move(position);
}

bool dispClippingWidget::isRendering() const
{
    return m_encoder->isRunning();
}

void dispClippingWidget::open(int imageType, const QString& inputPath, const QString& outputPath,
                              const QSize& device)
{
    stopPreview();
    m_imageType = imageType;
    m_inputPath = inputPath;
    m_outputPath = outputPath;
    m_device = device;
    m_rotation = 0;
    m_playing = false;
    m_sourceFrame = QImage();
    m_status->clear();
    setEditing(true);
    const QString suffix = QFileInfo(inputPath).suffix().toLower();
    qCDebug(lcMedia).noquote() << "file ext is:" << suffix;
    m_kind = inputPath.isEmpty() ? NoMedia : ClipCommand::isStillSuffix(inputPath) ? StillMedia : VideoMedia;
    const bool video = m_kind == VideoMedia;
    for (QWidget* w : {static_cast<QWidget*>(m_play), static_cast<QWidget*>(m_range),
                       static_cast<QWidget*>(m_lowerTime), static_cast<QWidget*>(m_upperTime)}) {
        w->setVisible(video);
    }
    {
        const QSignalBlocker blocker(m_play);
        m_play->setChecked(false);
    }

    m_preview = ClipCommand::previewFor(device);
    m_area->setFixedSize(m_preview.area);
    m_frame->setAreaSize(m_preview.area.width(), m_preview.area.height());
    m_frame->move(0, 0);
    startPreview();
    show();
    raise();
}

void dispClippingWidget::startPreview()
{
    m_decoder = new DispVideoDecoder(this);
    connect(m_decoder, &DispVideoDecoder::frameUpdated, this, &dispClippingWidget::frameArrived);
    m_decoder->setPath(m_inputPath, true);
    const DispVideoDecoder::MediaInfo info = m_decoder->mediaInfo();
    if (!info.valid) {
        m_status->setText(tr("This file cannot be opened: %1").arg(QFileInfo(m_inputPath).fileName()));
    }
    if (m_frameSize.isEmpty() || m_sourceFrame.isNull()) {
        const QSize natural(info.width, info.height);
        m_frameSize = ClipCommand::evenSize(m_preview.zoom ? QSize(int(natural.width() * m_preview.factor),
                                                                   int(natural.height() * m_preview.factor))
                                                           : natural);
    }
    m_durationS = info.durationS;
    {
        const QSignalBlocker blocker(m_range);
        m_range->setRange(0, int(qMin<qint64>(m_durationS, INT_MAX)));
    }
    m_lowerS = 0;
    m_upperS = m_durationS;
    updateTimeLabels();
    m_decoder->start(QThread::InheritPriority);
    m_decoder->requestFrame();
}

void dispClippingWidget::stopPreview()
{
    if (m_decoder == nullptr) {
        return;
    }
    disconnect(m_decoder, nullptr, this, nullptr);
    m_decoder->stop();
    delete m_decoder;
    m_decoder = nullptr;
}

void dispClippingWidget::frameArrived()
{
    if (m_decoder == nullptr) {
        return;
    }
    m_sourceFrame = m_decoder->currentFrame();
    showFrame();
    if (m_playing) {
        m_decoder->requestFrame();
    }
}

void dispClippingWidget::showFrame()
{
    if (m_sourceFrame.isNull() || m_frameSize.isEmpty()) {
        return;
    }
    QTransform turn;
    turn.rotate(90 * m_rotation);
    const QImage turned = m_rotation == 0 ? m_sourceFrame : m_sourceFrame.transformed(turn);
    m_frame->setPixmap(
        QPixmap::fromImage(turned.scaled(m_frameSize, Qt::IgnoreAspectRatio, Qt::SmoothTransformation)));
    m_frame->resize(m_frameSize);
    m_frame->setItemSize(m_frameSize.width(), m_frameSize.height());
}

void dispClippingWidget::zoomIn()
{
    m_frameSize =
        ClipCommand::evenSize(QSize(qRound(m_frameSize.width() * 1.1), qRound(m_frameSize.height() * 1.1)));
    if (!m_playing) {
        showFrame();
    }
}

void dispClippingWidget::zoomOut()
{
    m_frameSize =
        ClipCommand::evenSize(QSize(qRound(m_frameSize.width() * 0.9), qRound(m_frameSize.height() * 0.9)));
    if (!m_playing) {
        showFrame();
    }
}

void dispClippingWidget::rotate()
{
    m_rotation = (m_rotation + 1) % 4;
    // The turned picture keeps its proportions: the frame turns with it.
    m_frameSize = ClipCommand::evenSize(m_frameSize.transposed());
    if (!m_playing) {
        showFrame();
    }
}

void dispClippingWidget::setPlaying(bool playing)
{
    qCDebug(lcMedia) << "play button state: " << playing;
    m_playing = playing && m_kind == VideoMedia;
    {
        const QSignalBlocker blocker(m_play);
        m_play->setChecked(m_playing);
    }
    m_play->setText(m_playing ? tr("Pause") : tr("Play"));
    if (m_playing && m_decoder != nullptr) {
        m_decoder->setLoopStart(m_lowerS);
        m_decoder->setLoopEnd(m_upperS);
        m_decoder->getFrameCount(m_lowerS, qMax(m_upperS, m_lowerS + 1));
        m_decoder->seekToSecond(m_lowerS);
        m_decoder->requestFrame();
    }
}

void dispClippingWidget::lowerChanged(int value)
{
    setPlaying(false);
    qCDebug(lcMedia) << "set lower value:" << value;
    m_lowerS = value;
    updateTimeLabels();
    seekPreview(value);
}

void dispClippingWidget::upperChanged(int value)
{
    setPlaying(false);
    qCDebug(lcMedia) << "set upper value:" << value;
    m_upperS = value;
    updateTimeLabels();
    seekPreview(value);
}

void dispClippingWidget::seekPreview(qint64 seconds)
{
    // A frame still on its way would land after the seek; the next move shows the place.
    if (m_decoder == nullptr || m_decoder->frameRequested()) {
        return;
    }
    m_decoder->seekToSecond(seconds);
    m_decoder->requestFrame();
}

void dispClippingWidget::updateTimeLabels()
{
    m_lowerTime->setText(ClipCommand::timeText(m_lowerS));
    m_upperTime->setText(ClipCommand::timeText(m_upperS));
}

QStringList dispClippingWidget::renderArguments() const
{
    ClipCommand::Request request;
    request.inputPath = m_inputPath;
    request.outputPath = m_outputPath;
    request.frameSize = m_frameSize;
    request.framePos = m_frame->pos();
    request.deviceSize = m_device;
    request.preview = m_preview;
    request.rotation = m_rotation;
    request.lowerS = m_lowerS;
    request.upperS = m_upperS;
    return ClipCommand::arguments(request);
}

void dispClippingWidget::setEditing(bool enabled)
{
    for (QWidget* w : qAsConst(m_editControls)) {
        w->setEnabled(enabled);
    }
    m_frame->setEnabled(enabled);
}

void dispClippingWidget::render()
{
    if (isRendering()) {
        return;
    }
    m_status->setText(tr("Rendering..."));
    setEditing(false);
    if (ClipCommand::classify(m_inputPath) == ClipCommand::InputKind::Unsupported) {
        m_status->setText(tr("Files of type \"%1\" cannot be rendered; choose an mp4, gif, h264, png, jpg, "
                             "bmp or webp file.")
                              .arg(QFileInfo(m_inputPath).suffix()));
        setEditing(true);
        return;
    }
    setPlaying(false);
    stopPreview();
    if (QFile::exists(m_outputPath)) {
        QFile::remove(m_outputPath);
    }
    QDir().mkpath(QFileInfo(m_outputPath).absolutePath());
    const QStringList arguments = renderArguments();
    qCDebug(lcMedia) << arguments;
    const bool video = ClipCommand::classify(m_inputPath) == ClipCommand::InputKind::Video;
    m_encoder->start(arguments, video ? qMax<qint64>(m_upperS - m_lowerS, 0) : 0);
}

void dispClippingWidget::handleProcessFinished(int exitCode, QProcess::ExitStatus status)
{
    if (status == QProcess::CrashExit) {
        qCDebug(lcMedia) << "dispClippingWidget::handleProcessFinished: encoder crashed";
    } else {
        qCDebug(lcMedia) << "dispClippingWidget::handleProcessFinished: exit code" << exitCode;
    }
}

void dispClippingWidget::renderFinished(ClipEncoderProcess::Outcome outcome, const QString& errorText)
{
    setEditing(true);
    if (outcome == ClipEncoderProcess::Outcome::Done && QFileInfo(m_outputPath).size() > 0) {
        m_status->clear();
        hide();
        emit updateBackgroundPath(m_imageType, m_outputPath);
        return;
    }
    if (outcome == ClipEncoderProcess::Outcome::Cancelled) {
        m_status->setText(tr("Rendering cancelled."));
    } else {
        m_status->setText(tr("Rendering failed: %1")
                              .arg(errorText.isEmpty() ? tr("the encoder wrote no file") : errorText));
    }
    // A partial file is never handed on.
    QFile::remove(m_outputPath);
    startPreview();
}

void dispClippingWidget::cancel()
{
    if (isRendering()) {
        m_encoder->cancel();
        return;
    }
    stopPreview();
    hide();
    emit updateBackgroundPath(m_imageType, m_inputPath);
}
