#include "dispanalogclock.h"

#include "resourceinit.h"

#include <QPainter>
#include <QTimer>

namespace {

struct HandDefault
{
    const char* image;
    int pivot;
};
const HandDefault kHandDefaults[] = {
    {":/images/widgets/clock/hour_handle.png", 30},
    {":/images/widgets/clock/minute_handle.png", 40},
    {":/images/widgets/clock/second_handle.png", 60},
};
const char* const kDefaultDial = ":/images/widgets/clock/clock_dial.png";

// User images come from theme folders: anything past this size is refused.
constexpr int kLargestSide = 4096;

QImage loadImage(const QString& path)
{
    if (path.isEmpty()) {
        return QImage();
    }
    QImage image(path);
    if (image.width() > kLargestSide || image.height() > kLargestSide) {
        return QImage();
    }
    return image;
}

} // namespace

DispAnalogClock::DispAnalogClock(QWidget* parent)
    : QWidget(parent), m_now([] { return QTime::currentTime(); })
{
    initPanelcastResources(); // the default images
    setAttribute(Qt::WA_TranslucentBackground);
    setDialImage(QString());
    setHourHand(QString(), 10);
    setMinuteHand(QString(), 10);
    setSecondHand(QString(), 10);
    m_timer = new QTimer(this);
    connect(m_timer, &QTimer::timeout, this, &DispAnalogClock::checkTime);
    m_timer->start(kRepaintMs);
}

void DispAnalogClock::setDialImage(const QString& path)
{
    m_dialPath = path;
    m_dial = loadImage(path);
    if (m_dial.isNull()) {
        m_dial = QImage(QLatin1String(kDefaultDial));
    }
    resize(m_dial.size());
    update();
}

void DispAnalogClock::setHand(HandKind kind, const QString& path, int pivot)
{
    Hand& hand = m_hands[kind];
    hand.path = path;
    hand.pivot = pivot;
    hand.image = loadImage(path);
    if (hand.image.isNull()) {
        hand.image = QImage(QLatin1String(kHandDefaults[kind].image));
        hand.pivot = kHandDefaults[kind].pivot;
    }
    update();
}

void DispAnalogClock::setHourHand(const QString& path, int pivot)
{
    setHand(Hour, path, pivot);
}

void DispAnalogClock::setMinuteHand(const QString& path, int pivot)
{
    setHand(Minute, path, pivot);
}

void DispAnalogClock::setSecondHand(const QString& path, int pivot)
{
    setHand(Second, path, pivot);
}

void DispAnalogClock::setShowHourHand(bool show)
{
    m_hands[Hour].shown = show;
    update();
}

void DispAnalogClock::setShowMinuteHand(bool show)
{
    m_hands[Minute].shown = show;
    update();
}

void DispAnalogClock::setShowSecondHand(bool show)
{
    m_hands[Second].shown = show;
    update();
}

void DispAnalogClock::drawHand(QPainter& painter, const Hand& hand, qreal degrees) const
{
    if (!hand.shown) {
        return;
    }
    painter.save();
    painter.rotate(degrees);
    painter.drawImage(QPoint(-hand.image.width() / 2, hand.pivot - hand.image.height()), hand.image);
    painter.restore();
}

void DispAnalogClock::checkTime()
{
    const QTime now = m_now();
    if (now.isValid() && now.msecsSinceStartOfDay() / 1000 != m_shownSecond) {
        update();
    }
}

void DispAnalogClock::paintEvent(QPaintEvent* event)
{
    Q_UNUSED(event)
    QPainter painter(this);
    painter.setRenderHint(QPainter::Antialiasing);
    painter.setRenderHint(QPainter::SmoothPixmapTransform);
    const int w = width();
    const int h = height();
    painter.translate(w / 2, h / 2);
    // The dial is taken as square: its top edge sits at -w/2 as well.
    painter.drawImage(QPoint(-w / 2, -w / 2), m_dial);
    const QTime now = m_now();
    m_shownSecond = now.isValid() ? now.msecsSinceStartOfDay() / 1000 : -1;
    drawHand(painter, m_hands[Hour], (now.hour() + now.minute() / 60.0) * 30.0);
    drawHand(painter, m_hands[Minute], now.minute() * 6.0);
    drawHand(painter, m_hands[Second], now.second() * 6.0);
}
