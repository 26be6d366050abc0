#pragma once

#include <QImage>
#include <QTime>
#include <QWidget>

#include <functional>

class QTimer;

// An analog clock drawn from four images: a dial and the hour, minute and
// second hands. Hands point to 12 o'clock unturned; a hand's pivot is how far
// its image's bottom edge reaches below the dial's centre. Looks at the time
// every 100 ms and repaints when the hands have moved (once a second).
class DispAnalogClock : public QWidget
{
    Q_OBJECT

public:
    static constexpr int kRepaintMs = 100;

    explicit DispAnalogClock(QWidget* parent = nullptr);

    // An empty path or an image that does not load gives the default image
    // (a hand then also its default pivot). The widget takes the dial's size.
    void setDialImage(const QString& path);
    void setHourHand(const QString& path, int pivot);
    void setMinuteHand(const QString& path, int pivot);
    void setSecondHand(const QString& path, int pivot);

    QString dialPath() const { return m_dialPath; }
    QString hourPath() const { return m_hands[Hour].path; }
    QString minutePath() const { return m_hands[Minute].path; }
    QString secondPath() const { return m_hands[Second].path; }
    int hourPivot() const { return m_hands[Hour].pivot; }
    int minutePivot() const { return m_hands[Minute].pivot; }
    int secondPivot() const { return m_hands[Second].pivot; }
    void setShowHourHand(bool show);
    void setShowMinuteHand(bool show);
    void setShowSecondHand(bool show);

    // Where the time comes from (the local clock by default).
    void setTimeSource(std::function<QTime()> source)
    {
        m_now = std::move(source);
        update();
    }

protected:
    void paintEvent(QPaintEvent* event) override;

private:
    enum HandKind
    {
        Hour,
        Minute,
        Second,
        HandCount
    };
    struct Hand
    {
        QString path;
        int pivot = 0;
        bool shown = true;
        QImage image;
    };
    void setHand(HandKind kind, const QString& path, int pivot);
    void drawHand(QPainter& painter, const Hand& hand, qreal degrees) const;
    // Timer: repaints only when the time shown has changed.
    void checkTime();

    QString m_dialPath;
    QImage m_dial;
    Hand m_hands[HandCount];
    QTimer* m_timer = nullptr;
    std::function<QTime()> m_now;
    // Seconds since midnight of the last painted time, -1 before the first.
    int m_shownSecond = -1;
};
