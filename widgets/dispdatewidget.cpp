#include "dispdatewidget.h"

#include "baseinfo.h"
#include "dispwidgetnames.h"

#include <QDateTime>
#include <QLocale>
#include <QTimer>

DispDateWidget::DispDateWidget(DispWidget* parent, const QString& suffix)
    : DispLabelWidget(parent), m_format(QStringLiteral("yyyy/MM/dd"))
{
    setObjectName(DispWidgetNames::next(DispWidgetNames::Date, suffix));
    m_timer = new QTimer(this);
    connect(m_timer, &QTimer::timeout, this, &DispDateWidget::updateDate);
    m_timer->start(kRefreshMs);
    updateDate();
}

DispDateWidget::~DispDateWidget()
{
    // No refresh may reach a label that is being torn down.
    m_timer->stop();
    m_timer->disconnect();
}

void DispDateWidget::setFormat(const QString& format)
{
    m_format = format;
    updateDate();
    update();
}

QString DispDateWidget::dateText(const QDateTime& moment, const QString& format, int language)
{
    if (format != QLatin1String(kWeekFormat)) {
        return moment.toString(format);
    }
    if (language == 1) {
        return QLocale(QLocale::Chinese).toString(moment.date(), QStringLiteral("dddd"));
    }
    return QLocale(QLocale::English).toString(moment.date(), QStringLiteral("dddd")).left(3);
}

void DispDateWidget::updateDate()
{
    const int language = m_format == QLatin1String(kWeekFormat) ? BaseInfo::languageType() : 0;
    setText(dateText(QDateTime::currentDateTime(), m_format, language));
}
