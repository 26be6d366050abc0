#include "autorun.h"
#include "baseinfo.h"
#include "dispsettingwidget.h"
#include "resourceinit.h"

#include <QCheckBox>
#include <QComboBox>
#include <QFile>
#include <QLabel>
#include <QSlider>
#include <QTemporaryDir>
#include <QtTest>

class TestDispSettingWidget : public QObject
{
    Q_OBJECT

private slots:
    void initTestCase();
    void init();
    void firstStartRegistersAutoRun();
    void untickedAutoRunStaysRemoved();
    void movedProgramShowsAutoRunUnticked();
    void preferencesAreStoredWhenChanged();
    void brightnessIsSetBeforeItIsWatched();
    void startMinimisedFollowsTheStoredFlag_data();
    void startMinimisedFollowsTheStoredFlag();
    void languageChoiceRetranslatesThePage();
    void dragsOnlyByTheTitleBar_data();
    void dragsOnlyByTheTitleBar();

private:
    template <typename T>
    static T* child(QWidget* page, const char* name)
    {
        return page->findChild<T*>(QString::fromLatin1(name));
    }

    std::unique_ptr<QTemporaryDir> m_dir;
};

void TestDispSettingWidget::initTestCase()
{
    initPanelcastResources();
}

void TestDispSettingWidget::init()
{
    m_dir = std::make_unique<QTemporaryDir>();
    QVERIFY(m_dir->isValid());
    qputenv("PANELCAST_DATA_DIR", (m_dir->path() + "/data").toLocal8Bit());
    qputenv("XDG_CONFIG_HOME", (m_dir->path() + "/config").toLocal8Bit());
}

void TestDispSettingWidget::firstStartRegistersAutoRun()
{
    QVERIFY(!QFile::exists(BaseInfo::filePath()));
    dispsettingwidget page;
    QCOMPARE(BaseInfo::autoRunState(), true);
    QVERIFY(AutoRun::isRegistered());
    QVERIFY(child<QCheckBox>(&page, "autoRunBox")->isChecked());
    QCOMPARE(BaseInfo::brightness(), 0);
    QCOMPARE(BaseInfo::languageType(), 0);
    QCOMPARE(BaseInfo::tempUnit(), 0);
    QCOMPARE(page.size(), QSize(602, 617));
}

void TestDispSettingWidget::untickedAutoRunStaysRemoved()
{
    {
        dispsettingwidget page;
        child<QCheckBox>(&page, "autoRunBox")->setChecked(false);
        QVERIFY(!AutoRun::isRegistered());
        QVERIFY(!QFile::exists(AutoRun::autostartFilePath()));
    }
    dispsettingwidget again;
    QVERIFY(!AutoRun::isRegistered());
    QVERIFY(!child<QCheckBox>(&again, "autoRunBox")->isChecked());

    child<QCheckBox>(&again, "autoRunBox")->setChecked(true);
    QVERIFY(AutoRun::isRegistered());
}

void TestDispSettingWidget::movedProgramShowsAutoRunUnticked()
{
    BaseInfo::setAutoRunState(true);
    QVERIFY(AutoRun::setRegistered(true, m_dir->path() + "/elsewhere/panelcast"));
    dispsettingwidget page;
    QVERIFY(!child<QCheckBox>(&page, "autoRunBox")->isChecked());
}

void TestDispSettingWidget::preferencesAreStoredWhenChanged()
{
    dispsettingwidget page;
    child<QCheckBox>(&page, "minimizeBox")->setChecked(true);
    QCOMPARE(BaseInfo::minimizeState(), true);
    child<QComboBox>(&page, "unitBox")->setCurrentIndex(1);
    QCOMPARE(BaseInfo::tempUnit(), 1);

    QSignalSpy spy(&page, &dispsettingwidget::brightnessChanged);
    child<QSlider>(&page, "brightnessSlider")->setValue(37);
    QCOMPARE(child<QLabel>(&page, "brightnessValue")->text(), QString("37%"));
    QCOMPARE(BaseInfo::brightness(), 37);
    QCOMPARE(spy.count(), 1);
    QCOMPARE(spy.at(0).at(0).toInt(), 37);
}

void TestDispSettingWidget::brightnessIsSetBeforeItIsWatched()
{
    BaseInfo::setBrightness(64);
    BaseInfo::setTempUnit(1);
    dispsettingwidget page;
    QCOMPARE(child<QSlider>(&page, "brightnessSlider")->value(), 64);
    QCOMPARE(child<QLabel>(&page, "brightnessValue")->text(), QString("64%"));
    QCOMPARE(child<QComboBox>(&page, "unitBox")->currentIndex(), 1);
    // Rebuilding stored nothing new.
    QCOMPARE(BaseInfo::brightness(), 64);
}

void TestDispSettingWidget::startMinimisedFollowsTheStoredFlag_data()
{
    QTest::addColumn<bool>("stored");
    QTest::newRow("minimised") << true;
    QTest::newRow("shown") << false;
}

void TestDispSettingWidget::startMinimisedFollowsTheStoredFlag()
{
    QFETCH(bool, stored);
    BaseInfo::setMinimizeState(stored);
    dispsettingwidget page;
    QCOMPARE(page.startMinimised(), stored);
    QCOMPARE(child<QCheckBox>(&page, "minimizeBox")->isChecked(), stored);
    QCOMPARE(BaseInfo::minimizeState(), stored);
}

void TestDispSettingWidget::languageChoiceRetranslatesThePage()
{
    const QString data = m_dir->path() + "/data";
    QDir().mkpath(data);
    QVERIFY(QFile::copy(QStringLiteral(PANELCAST_QM_DIR) + "/de_DE.qm", data + "/de_DE.qm"));

    dispsettingwidget page;
    auto* languages = child<QComboBox>(&page, "languageBox");
    QCOMPARE(languages->count(), 13);
    QCOMPARE(languages->itemText(5), QString("German"));

    languages->setCurrentIndex(5);
    QCOMPARE(BaseInfo::languageType(), 5);
    QTRY_COMPARE(child<QLabel>(&page, "languageCaption")->text(), QString("Sprache:"));
    QCOMPARE(languages->itemText(5), QString("Deutsch"));
    QCOMPARE(languages->itemText(1), QString("Simplified Chinese"));

    // A new page starts in the stored language.
    languages->setCurrentIndex(0);
    QTRY_COMPARE(child<QLabel>(&page, "languageCaption")->text(), QString("Language:"));
    BaseInfo::setLanguageType(5);
    dispsettingwidget next;
    QTRY_COMPARE(child<QLabel>(&next, "languageCaption")->text(), QString("Sprache:"));
}

void TestDispSettingWidget::dragsOnlyByTheTitleBar_data()
{
    QTest::addColumn<int>("pressY");
    QTest::addColumn<bool>("moves");
    QTest::newRow("top edge") << 0 << false;
    QTest::newRow("title") << 17 << true;
    QTest::newRow("last title row") << 34 << true;
    QTest::newRow("body") << 35 << false;
}

void TestDispSettingWidget::dragsOnlyByTheTitleBar()
{
    QFETCH(int, pressY);
    QFETCH(bool, moves);
    dispsettingwidget page;
    page.move(50, 50);
    const QPoint start = page.pos();
    const QPoint press(300, pressY);
    auto send = [&page](QEvent::Type type, const QPoint& local, Qt::MouseButton button,
                        Qt::MouseButtons buttons) {
        QMouseEvent event(type, local, page.pos() + local, button, buttons, Qt::NoModifier);
        QApplication::sendEvent(&page, &event);
    };
    send(QEvent::MouseButtonPress, press, Qt::LeftButton, Qt::LeftButton);
    send(QEvent::MouseMove, press + QPoint(30, 20), Qt::NoButton, Qt::LeftButton);
    send(QEvent::MouseButtonRelease, press + QPoint(30, 20), Qt::LeftButton, Qt::NoButton);
    QCOMPARE(page.pos(), moves ? start + QPoint(30, 20) : start);
}

QTEST_MAIN(TestDispSettingWidget)
#include "tst_dispsettingwidget.moc"
