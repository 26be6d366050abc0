#include "dispcapturebox.h"

#include "dispframewidget.h"
#include "dispscreencapturewidget.h"
#include "panelslog.h"
#include "screengrabber.h"
#include "themerecordreader.h"
#include "themetags.h"

#include <QCheckBox>
#include <QDataStream>
#include <QGridLayout>
#include <QLabel>
#include <QSpinBox>
#include <QToolButton>
#include <QVBoxLayout>

namespace {
const QString kShowFrame = QStringLiteral("showFrame");
const QString kRect = QStringLiteral("rect");
const QRect kDefaultRect(0, 0, 480, 480);
} // namespace

dispcapturebox::dispcapturebox(QWidget* parent, ScreenGrabber* grabber)
    : QWidget(parent), m_link(CaptureStore, {}, {}), m_grabber(grabber)
{
    setAttribute(Qt::WA_StyledBackground);
    setStyleSheet(QStringLiteral(
        "dispcapturebox { background: #030303; border-radius: 8px; }"
        "QLabel, QCheckBox { color: white; font-family: 'Arial'; font-size: 13px; }"
        "QSpinBox { color: white; background: #202020; border: 1px solid #3a3a3a; border-radius: 4px; }"));
    auto* layout = new QVBoxLayout(this);
    layout->setContentsMargins(4, 8, 4, 8);

    auto* header = new QHBoxLayout;
    m_header = new QToolButton(this);
    m_header->setObjectName(QStringLiteral("captureHeader"));
    m_header->setFixedSize(32, 32);
    m_header->setIconSize(QSize(32, 32));
    auto* title = new QLabel(tr("Capture Display"), this);
    title->setStyleSheet(QStringLiteral("font-size: 16px;"));
    header->addWidget(m_header);
    header->addWidget(title);
    header->addStretch();
    layout->addLayout(header);

    auto* grid = new QGridLayout;
    const QString captions[4] = {tr("X:"), tr("Y:"), tr("W:"), tr("H:")};
    for (int i = 0; i < 4; ++i) {
        m_spins[i] = new QSpinBox(this);
        m_spins[i]->setRange(0, kMaxCoordinate);
        grid->addWidget(new QLabel(captions[i], this), i / 2, (i % 2) * 2);
        grid->addWidget(m_spins[i], i / 2, (i % 2) * 2 + 1);
        connect(m_spins[i], QOverload<int>::of(&QSpinBox::valueChanged), this,
                [this, i](int value) { spinChanged(i, value); });
    }
    layout->addLayout(grid);

    m_showFrame = new QCheckBox(tr("show frame"), this);
    layout->addWidget(m_showFrame);
    connect(m_showFrame, &QCheckBox::toggled, this, &dispcapturebox::showFrameToggled);

    m_note = new QLabel(this);
    m_note->setObjectName(QStringLiteral("captureNote"));
    m_note->setWordWrap(true);
    m_note->setStyleSheet(QStringLiteral("color: #ffb040;"));
    layout->addWidget(m_note);
    layout->addStretch();

    m_frame = new DispFrameWidget;
    connect(m_frame, &DispFrameWidget::updateCaptureRect, this, &dispcapturebox::frameMoved);
    connect(m_frame, &DispFrameWidget::closeFrame, this, [this] {
        QSignalBlocker block(m_showFrame);
        m_showFrame->setChecked(false);
        m_link.store().values.insert(kShowFrame, false);
    });
    m_header->setToolTip(tr("Show the captured region instead of the background"));
    connect(m_header, &QToolButton::clicked, this, [this] {
        emit activationRequested(!isActive());
        updateAttribute();
    });
    connect(this->grabber(), &ScreenGrabber::statusChanged, this, &dispcapturebox::updateNote);
    syncControls();
}

dispcapturebox::~dispcapturebox()
{
    delete m_frame;
}

ScreenGrabber* dispcapturebox::grabber() const
{
    return m_grabber != nullptr ? m_grabber : ScreenGrabber::forSession();
}

qint32 dispcapturebox::themeTag() const
{
    return CaptureTag;
}

DispScreenCaptureWidget* dispcapturebox::captureWidget() const
{
    DispScene* scene = m_link.scene();
    if (scene == nullptr)
        return nullptr;
    return qobject_cast<DispScreenCaptureWidget*>(scene->findWidgetByName(kWidgetName));
}

void dispcapturebox::ensureWidget()
{
    DispScene* scene = m_link.scene();
    if (scene == nullptr || captureWidget() != nullptr)
        return;
    DispScreenCaptureWidget* widget =
        scene->addScreenCaptureWidget(QStringLiteral("_display"), QPointF(0, 0));
    if (widget == nullptr)
        return;
    widget->setGrabber(m_grabber);
    widget->setFlag(QGraphicsItem::ItemIsMovable, false);
    widget->setFlag(QGraphicsItem::ItemIsSelectable, false);
    widget->setSelected(false);
    widget->setVisible(false);
    widget->setCapturing(false);
    widget->setZValue(-1.0);
    widget->setItemGeometry(scene->sceneRect());
}

QRect dispcapturebox::spinRect() const
{
    return QRect(m_spins[0]->value(), m_spins[1]->value(), m_spins[2]->value(), m_spins[3]->value());
}

bool dispcapturebox::isActive()
{
    return m_link.store().shown;
}

void dispcapturebox::syncControls()
{
    DispScene::PanelStore& store = m_link.store();
    const QRect rect = store.values.value(kRect, kDefaultRect).toRect();
    for (int i = 0; i < 4; ++i) {
        QSignalBlocker block(m_spins[i]);
        const int values[4] = {rect.x(), rect.y(), rect.width(), rect.height()};
        m_spins[i]->setValue(values[i]);
    }
    {
        QSignalBlocker block(m_showFrame);
        m_showFrame->setChecked(store.values.value(kShowFrame).toBool());
    }
    const bool active = store.shown;
    m_header->setIcon(QIcon(active ? QStringLiteral(":/images/home/capture_bg_pressed.png")
                                   : QStringLiteral(":/images/home/capture_bg.png")));
    if (!active || !m_showFrame->isChecked())
        m_frame->hide();
    updateNote();
}

void dispcapturebox::updateNote()
{
    QStringList lines;
    if (!grabber()->placesMarker())
        lines << tr("This desktop (Wayland) does not let applications place a frame on the screen: set the "
                    "area with the numbers above, in screen pixels.");
    if (isActive() && !grabber()->status().isEmpty())
        lines << grabber()->status();
    m_note->setText(lines.join(QLatin1Char('\n')));
    m_note->setVisible(!lines.isEmpty());
    m_showFrame->setEnabled(grabber()->placesMarker());
}

void dispcapturebox::attachScene(DispScene* scene)
{
    m_link.attach(scene);
    ensureWidget();
    syncControls();
}

void dispcapturebox::pointAtScene(DispScene* scene)
{
    m_link.point(scene);
}

void dispcapturebox::clearTheme()
{
    ensureWidget();
}

void dispcapturebox::setActive(bool active)
{
    m_link.store().shown = active;
    if (DispScreenCaptureWidget* widget = captureWidget()) {
        widget->setVisible(active);
        // An inactive capture grabs nothing (and asks no portal).
        widget->setCapturing(active);
        if (active)
            widget->setCaptureRect(spinRect());
    }
    if (active)
        grabber()->retry();
    syncControls();
}

void dispcapturebox::fitToScene()
{
    DispScene* scene = m_link.scene();
    if (DispScreenCaptureWidget* widget = captureWidget())
        widget->setItemGeometry(scene->sceneRect());
}

void dispcapturebox::spinChanged(int index, int value)
{
    m_link.store().values.insert(kRect, spinRect());
    DispScreenCaptureWidget* widget = captureWidget();
    if (!isActive() || widget == nullptr)
        return;
    switch (index) {
    case 0:
        widget->setCaptureLeft(value);
        break;
    case 1:
        widget->setCaptureTop(value);
        break;
    case 2:
        widget->setCaptureWidth(value);
        break;
    default:
        widget->setCaptureHeight(value);
        break;
    }
    m_frame->setFrameRect(widget->captureRect());
    m_link.edited();
}

void dispcapturebox::frameMoved(const QRectF& rect)
{
    const int values[4] = {int(rect.x()), int(rect.y()), int(rect.width()), int(rect.height())};
    for (int i = 0; i < 4; ++i) {
        QSignalBlocker block(m_spins[i]);
        m_spins[i]->setValue(values[i]);
    }
    m_link.store().values.insert(kRect, spinRect());
    if (DispScreenCaptureWidget* widget = captureWidget(); widget != nullptr && isActive())
        widget->setCaptureRect(spinRect());
    m_link.edited();
}

void dispcapturebox::showFrameToggled(bool checked)
{
    if (!isActive() || !grabber()->placesMarker()) {
        QSignalBlocker block(m_showFrame);
        m_showFrame->setChecked(false);
        return;
    }
    m_link.store().values.insert(kShowFrame, checked);
    if (checked) {
        m_frame->setFrameRect(spinRect());
        m_frame->show();
        m_frame->raise();
    } else {
        m_frame->hide();
    }
}

void dispcapturebox::updateAttribute()
{
    // The header: show where the capture lies on the scene.
    if (DispScene* scene = m_link.scene())
        scene->startDeselectCountdown();
    syncControls();
}

void dispcapturebox::writeThemeRecord(QDataStream& out, const QString& resourceFolder)
{
    Q_UNUSED(resourceFolder)
    const QRect rect = spinRect();
    const DispScreenCaptureWidget* widget = captureWidget();
    out << m_showFrame->isChecked() << qint32(rect.x()) << qint32(rect.y()) << qint32(rect.width())
        << qint32(rect.height()) << (widget != nullptr && widget->isVisible());
}

void dispcapturebox::readThemeRecord(ThemeRecordReader& in, const QString& themeFolder)
{
    Q_UNUSED(themeFolder)
    bool showFrame = false;
    bool storedVisible = false;
    qint32 x = 0, y = 0, w = 0, h = 0;
    if (!in.readBool(showFrame) || !in.readInt32(x) || !in.readInt32(y) || !in.readInt32(w) ||
        !in.readInt32(h) || !in.readBool(storedVisible))
        return;
    // The background's stored visibility decides which panel is active, not this flag.
    Q_UNUSED(storedVisible)
    const auto bounded = [](qint32 v) { return qBound(0, v, kMaxCoordinate); };
    const QRect rect(bounded(x), bounded(y), bounded(w), bounded(h));
    DispScene::PanelStore& store = m_link.store();
    store.values.insert(kShowFrame, showFrame);
    store.values.insert(kRect, rect);
    syncControls();

    DispScene* scene = m_link.scene();
    const DispWidget* background =
        scene != nullptr ? scene->findWidgetByName(QStringLiteral("image_background")) : nullptr;
    DispScreenCaptureWidget* widget = captureWidget();
    if (background != nullptr && !background->isVisible() && widget != nullptr) {
        widget->setVisible(true);
        widget->setCaptureRect(rect);
    }
}
