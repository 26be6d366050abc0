#include "dispweekdaywidget.h"

#include "dispwidgetnames.h"

#include <QDateTime>
#include <QLocale>
#include <QTimer>

DispWeekdayWidget::DispWeekdayWidget(DispWidget* parent, const QString& suffix)
    : DispLabelWidget(parent), m_format(QStringLiteral("dddd"))
{
    setObjectName(DispWidgetNames::next(DispWidgetNames::Weekday, suffix));
    m_timer = new QTimer(this);
    connect(m_timer, &QTimer::timeout, this, &DispWeekdayWidget::updateWeekday);
    m_timer->start(kRefreshMs);
    updateWeekday();
}

void DispWeekdayWidget::updateWeekday()
{
    setText(QLocale(QLocale::English).toString(QDateTime::currentDateTime(), m_format));
}
