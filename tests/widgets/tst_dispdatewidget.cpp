#include "baseinfo.h"
#include "dispdatetimecomp.h"
#include "dispdatewidget.h"
#include "disptimewidget.h"
#include "dispweekdaywidget.h"

#include <QDateTime>
#include <QTemporaryDir>
#include <QTimer>
#include <QtTest>

class TestDispDateWidget : public QObject
{
    Q_OBJECT

private slots:
    void initTestCase();
    void weekFormatFollowsLanguage_data();
    void weekFormatFollowsLanguage();
    void refreshReadsLanguageSetting_data();
    void refreshReadsLanguageSetting();
    void formatChoosesWhatIsShown();
    void timersRunAtTheirIntervals();
    void namesUseTheirOwnCounters();
    void compositeStacksThreeWidgets();

private:
    QTemporaryDir m_dataDir;
};

void TestDispDateWidget::initTestCase()
{
    QVERIFY(m_dataDir.isValid());
    qputenv("PANELCAST_DATA_DIR", m_dataDir.path().toUtf8());
}

void TestDispDateWidget::weekFormatFollowsLanguage_data()
{
    QTest::addColumn<int>("language");
    QTest::addColumn<QString>("expected");
    // 2 December 2026 is a Wednesday.
    QTest::newRow("English") << 0 << QStringLiteral("Wed");
    QTest::newRow("Chinese") << 1 << QStringLiteral("星期三");
    QTest::newRow("unlisted language") << 5 << QStringLiteral("Wed");
}

void TestDispDateWidget::weekFormatFollowsLanguage()
{
    QFETCH(int, language);
    QFETCH(QString, expected);
    const QDateTime moment(QDate(2026, 12, 2), QTime(23, 59, 30));
    QCOMPARE(DispDateWidget::dateText(moment, QStringLiteral("week"), language), expected);
    QCOMPARE(DispDateWidget::dateText(moment, QStringLiteral("yyyy/MM/dd"), language),
             QStringLiteral("2026/12/02"));
    QCOMPARE(DispDateWidget::dateText(moment, QStringLiteral("hh:mm"), language), QStringLiteral("23:59"));
}

void TestDispDateWidget::refreshReadsLanguageSetting_data()
{
    QTest::addColumn<int>("language");
    QTest::addColumn<int>("length");
    QTest::newRow("English") << 0 << 3;
    QTest::newRow("Chinese") << 1 << 3;
}

void TestDispDateWidget::refreshReadsLanguageSetting()
{
    QFETCH(int, language);
    QFETCH(int, length);
    BaseInfo::setLanguageType(language);
    DispDateWidget widget;
    widget.setFormat(QStringLiteral("week"));
    QCOMPARE(widget.text().size(), length);
    if (language == 1) {
        QVERIFY(widget.text().startsWith(QStringLiteral("星期")));
    } else {
        const QStringList days = {"Mon", "Tue", "Wed", "Thu", "Fri", "Sat", "Sun"};
        QVERIFY2(days.contains(widget.text()), qPrintable(widget.text()));
    }
}

void TestDispDateWidget::formatChoosesWhatIsShown()
{
    DispDateWidget date;
    QCOMPARE(date.format(), QStringLiteral("yyyy/MM/dd"));
    QVERIFY(QDate::fromString(date.text(), QStringLiteral("yyyy/MM/dd")).isValid());
    date.setFormat(QStringLiteral("hh:mm"));
    QVERIFY2(QTime::fromString(date.text(), QStringLiteral("hh:mm")).isValid(), qPrintable(date.text()));
    const QSize small = date.labelSize();
    date.setFormat(QStringLiteral("yyyy/MM/dd hh:mm:ss"));
    QVERIFY(date.labelSize().width() > small.width()); // resizes to fit

    DispTimeWidget time;
    QVERIFY(QTime::fromString(time.text(), QStringLiteral("hh:mm:ss")).isValid());
    DispWeekdayWidget weekday;
    const QStringList days = {"Monday", "Tuesday", "Wednesday", "Thursday", "Friday", "Saturday", "Sunday"};
    QVERIFY2(days.contains(weekday.text()), qPrintable(weekday.text()));
}

void TestDispDateWidget::timersRunAtTheirIntervals()
{
    DispDateWidget date;
    DispTimeWidget time;
    DispWeekdayWidget weekday;
    QCOMPARE(date.refreshTimer()->interval(), 999);
    QCOMPARE(time.refreshTimer()->interval(), 1000);
    QCOMPARE(weekday.refreshTimer()->interval(), 3600000);
    QVERIFY(date.refreshTimer()->isActive() && time.refreshTimer()->isActive() &&
            weekday.refreshTimer()->isActive());
    // A refresh replaces a text set by hand.
    time.setText(QStringLiteral("x"));
    time.updateTime();
    QVERIFY(time.text() != QStringLiteral("x"));
    weekday.setText(QStringLiteral("x"));
    weekday.updateWeekday();
    QVERIFY(weekday.text() != QStringLiteral("x"));
}

void TestDispDateWidget::namesUseTheirOwnCounters()
{
    DispDateWidget named(nullptr, QStringLiteral("_home_datetime"));
    QCOMPARE(named.objectName(), QStringLiteral("date_home_datetime"));
    DispTimeWidget time;
    DispTimeWidget nextTime;
    QVERIFY(time.objectName().startsWith(QLatin1String("time_")));
    const int first = time.objectName().mid(5).toInt();
    QCOMPARE(nextTime.objectName(), QStringLiteral("time_%1").arg(first + 1));
    DispWeekdayWidget weekday(nullptr, QStringLiteral("_x"));
    QCOMPARE(weekday.objectName(), QStringLiteral("weekday_x"));
}

void TestDispDateWidget::compositeStacksThreeWidgets()
{
    DispDateTimeComp comp(nullptr, QPointF(100, 40));
    QCOMPARE(comp.objectName(), QStringLiteral("data_time_comp"));
    QCOMPARE(comp.dateWidget()->pos(), QPointF(100, 40));
    QCOMPARE(comp.timeWidget()->pos(), QPointF(100, 68));
    QCOMPARE(comp.weekdayWidget()->pos(), QPointF(100, 96));
    comp.selectFirst();
    QVERIFY(comp.dateWidget()->isSelected());
    delete comp.dateWidget();
    delete comp.timeWidget();
    delete comp.weekdayWidget();
}

QTEST_MAIN(TestDispDateWidget)

#include "tst_dispdatewidget.moc"
