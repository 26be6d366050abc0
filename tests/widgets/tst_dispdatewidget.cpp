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

QTEST_MAIN(TestDispDateWidget)

#include "tst_dispdatewidget.moc"
