#include "baseinfo.h"
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
    void formatChoosesWhatIsShown();
    void timersRunAndRefreshReplacesText();

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
    // A widget reads the language from the settings.
    BaseInfo::setLanguageType(language);
    DispDateWidget widget;
    widget.setFormat(QStringLiteral("week"));
    const QStringList english = {"Mon", "Tue", "Wed", "Thu", "Fri", "Sat", "Sun"};
    QVERIFY2(language == 1 ? widget.text().startsWith(QStringLiteral("星期")) && widget.text().size() == 3
                           : english.contains(widget.text()),
             qPrintable(widget.text()));
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

void TestDispDateWidget::timersRunAndRefreshReplacesText()
{
    DispDateWidget date;
    DispTimeWidget time;
    DispWeekdayWidget weekday;
    QVERIFY(date.refreshTimer()->isActive() && time.refreshTimer()->isActive() &&
            weekday.refreshTimer()->isActive());
    // A refresh replaces a text set by hand.
    time.setText(QStringLiteral("x"));
    time.updateTime();
    weekday.setText(QStringLiteral("x"));
    weekday.updateWeekday();
    QVERIFY(time.text() != QStringLiteral("x") && weekday.text() != QStringLiteral("x"));
}

QTEST_MAIN(TestDispDateWidget)

#include "tst_dispdatewidget.moc"
