#include "dispdatetimecomp.h"

#include "dispdatewidget.h"
#include "dispscene.h"
#include "disptimewidget.h"
#include "dispweekdaywidget.h"
#include "dispwidgetnames.h"

DispDateTimeComp::DispDateTimeComp(QObject* parent, const QPointF& position) : QObject(parent)
{
    setObjectName(QLatin1String(kDateTimeCompName));
    m_date = new DispDateWidget(nullptr, QString());
    m_date->setPos(position);
    m_time = new DispTimeWidget(nullptr, QString());
    m_time->setPos(position + QPointF(0, kTimeOffset));
    m_weekday = new DispWeekdayWidget(nullptr, QString());
    m_weekday->setPos(position + QPointF(0, kWeekdayOffset));
}

void DispDateTimeComp::addToScene(DispScene* scene)
{
    if (scene == nullptr) {
        return;
    }
    if (m_date != nullptr) {
        scene->addItem(m_date);
    }
    if (m_time != nullptr) {
        scene->addItem(m_time);
    }
    if (m_weekday != nullptr) {
        scene->addItem(m_weekday);
    }
}

void DispDateTimeComp::selectFirst()
{
    if (m_date != nullptr) {
        m_date->setSelected(true);
    } else if (m_time != nullptr) {
        m_time->setSelected(true);
    } else if (m_weekday != nullptr) {
        m_weekday->setSelected(true);
    }
}
