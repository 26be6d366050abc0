#include "disptimewidget.h"

#include "dispwidgetnames.h"

#include <QDateTime>
#include <QTimer>

DispTimeWidget::DispTimeWidget(DispWidget* parent, const QString& suffix)
    : DispLabelWidget(parent), m_format(QStringLiteral("hh:mm:ss"))
{
    setObjectName(DispWidgetNames::next(DispWidgetNames::Time, suffix));
    m_timer = new QTimer(this);
    connect(m_timer, &QTimer::timeout, this, &DispTimeWidget::updateTime);
    m_timer->start(kRefreshMs);
    setText(QDateTime::currentDateTime().toString(m_format));
}

void DispTimeWidget::updateTime()
{
    setText(QDateTime::currentDateTime().toString(m_format));
}
