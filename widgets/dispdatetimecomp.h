#pragma once

#include <QObject>
#include <QPointF>
#include <QPointer>

class DispDateWidget;
class DispScene;
class DispTimeWidget;
class DispWeekdayWidget;

// The three widgets of a dropped "DateTime" tool, stacked vertically: date at
// the position, time 28 and weekday 56 below it. It only makes and places
// them; once in a scene they live there like any other item.
class DispDateTimeComp : public QObject
{
    Q_OBJECT

public:
    static constexpr int kTimeOffset = 28;
    static constexpr int kWeekdayOffset = 56;

    explicit DispDateTimeComp(QObject* parent = nullptr, const QPointF& position = QPointF());

    void addToScene(DispScene* scene);
    void selectFirst();

    DispDateWidget* dateWidget() const { return m_date; }
    DispTimeWidget* timeWidget() const { return m_time; }
    DispWeekdayWidget* weekdayWidget() const { return m_weekday; }

private:
    QPointer<DispDateWidget> m_date;
    QPointer<DispTimeWidget> m_time;
    QPointer<DispWeekdayWidget> m_weekday;
};
