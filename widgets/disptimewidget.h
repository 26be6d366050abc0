#pragma once

#include "displabelwidget.h"

class QTimer;

// The current local time as a label, refreshed every second.
class DispTimeWidget : public DispLabelWidget
{
    Q_OBJECT

public:
    static constexpr int kRefreshMs = 1000;

    explicit DispTimeWidget(DispWidget* parent = nullptr, const QString& suffix = QString());

    QString format() const { return m_format; }
    QTimer* refreshTimer() const { return m_timer; }

public slots:
    void updateTime();

private:
    QString m_format;
    QTimer* m_timer = nullptr;
};
