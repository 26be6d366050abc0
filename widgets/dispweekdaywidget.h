#pragma once

#include "displabelwidget.h"

class QTimer;

// The current weekday in English as a label, refreshed once an hour.
class DispWeekdayWidget : public DispLabelWidget
{
    Q_OBJECT

public:
    static constexpr int kRefreshMs = 3600000;

    explicit DispWeekdayWidget(DispWidget* parent = nullptr, const QString& suffix = QString());

    QString format() const { return m_format; }
    QTimer* refreshTimer() const { return m_timer; }

public slots:
    void updateWeekday();

private:
    QString m_format;
    QTimer* m_timer = nullptr;
};
