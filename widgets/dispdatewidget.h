#pragma once

#include "displabelwidget.h"

class QTimer;

// The current local date (or time, or weekday: the format decides) as a
// label, refreshed every 999 ms. The format "week" shows the weekday in the
// user's language.
class DispDateWidget : public DispLabelWidget
{
    Q_OBJECT

public:
    static constexpr int kRefreshMs = 999;
    static constexpr const char* kWeekFormat = "week";

    explicit DispDateWidget(DispWidget* parent = nullptr, const QString& suffix = QString());
    ~DispDateWidget() override;

    void setFormat(const QString& format);
    QString format() const { return m_format; }
    QTimer* refreshTimer() const { return m_timer; }

    // The text for a moment: format applied, or the "week" rule with the
    // language index of the base settings (1 Chinese, anything else English).
    static QString dateText(const QDateTime& moment, const QString& format, int language);

public slots:
    void updateDate();

private:
    QString m_format;
    QTimer* m_timer = nullptr;
};
