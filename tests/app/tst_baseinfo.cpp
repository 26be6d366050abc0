#include "baseinfo.h"
#include "datadir.h"
#include "testfiles.h"

#include <QFile>
#include <QSettings>
#include <QTemporaryDir>
#include <QtTest>

class TestBaseInfo : public QObject
{
    Q_OBJECT

private slots:
    void init();
    void valuesRoundTripThroughTheIniFile();
    void themePathIsKeptPerPanelSize();
    void everyReadSeesTheFileAsItIsNowUnreadableValuesGiveDefaults();
    void officialThemesComeFromThePackageOnlyWhenInstalled_data();
    void officialThemesComeFromThePackageOnlyWhenInstalled();

private:
    std::unique_ptr<QTemporaryDir> m_dir;
};

void TestBaseInfo::init()
{
    m_dir = std::make_unique<QTemporaryDir>();
    QVERIFY(m_dir->isValid());
    qputenv("PANELCAST_DATA_DIR", m_dir->path().toLocal8Bit());
}

void TestBaseInfo::valuesRoundTripThroughTheIniFile()
{
    BaseInfo::setAutoRunState(true);
    BaseInfo::setBrightness(37);
    BaseInfo::setLanguageType(5);
    BaseInfo::setMinimizeState(true);
    BaseInfo::setTempUnit(1);
    QCOMPARE(BaseInfo::autoRunState(), true);
    QCOMPARE(BaseInfo::brightness(), 37);
    QCOMPARE(BaseInfo::languageType(), 5);
    QCOMPARE(BaseInfo::minimizeState(), true);
    QCOMPARE(BaseInfo::tempUnit(), 1);

    // Each value sits under the documented group and key of an INI file.
    QCOMPARE(BaseInfo::filePath(), m_dir->path() + "/baseInfo.cfg");
    QSettings file(BaseInfo::filePath(), QSettings::IniFormat);
    QCOMPARE(file.value("autoRun/state").toString(), QString("true"));
    QCOMPARE(file.value("brightness/value").toString(), QString("37"));
    QCOMPARE(file.value("language/type").toString(), QString("5"));
    QCOMPARE(file.value("minimize/state").toString(), QString("true"));
    QCOMPARE(file.value("temp/uint").toString(), QString("1"));
}

void TestBaseInfo::themePathIsKeptPerPanelSize()
{
    QCOMPARE(BaseInfo::sizeGroup(360, 960), QString("360960"));
    QCOMPARE(BaseInfo::sizeGroup(480, 1920), QString("4801920"));

    const QString small = m_dir->path() + "/themes/360960/personal/theme_a/a.theme";
    const QString tall = m_dir->path() + "/themes/4801920/personal/theme_b/b.theme";
    BaseInfo::setThemePath(BaseInfo::sizeGroup(360, 960), small);
    BaseInfo::setThemePath(BaseInfo::sizeGroup(480, 1920), tall);

    QCOMPARE(BaseInfo::themePath("360960"), small);
    QCOMPARE(BaseInfo::themePath("4801920"), tall);
    QCOMPARE(BaseInfo::themePath("3201240"), QString());

    QSettings file(BaseInfo::filePath(), QSettings::IniFormat);
    QCOMPARE(file.value("360960/path").toString(), small);
}

void TestBaseInfo::everyReadSeesTheFileAsItIsNowUnreadableValuesGiveDefaults()
{
    BaseInfo::setBrightness(10);
    QCOMPARE(BaseInfo::brightness(), 10);
    {
        // Another writer (a second page, or the user with an editor).
        QSettings other(BaseInfo::filePath(), QSettings::IniFormat);
        other.setValue("brightness/value", 80);
    }
    QCOMPARE(BaseInfo::brightness(), 80);

    QVERIFY(TestFiles::writeFile(
        BaseInfo::filePath(),
        "[brightness]\nvalue=bright\n[language]\ntype=\n[temp]\nuint=1x\n\x01\x02\xff garbage [[\n"));
    QCOMPARE(BaseInfo::brightness(), 0);
    QCOMPARE(BaseInfo::languageType(), 0);
    QCOMPARE(BaseInfo::tempUnit(), 0);
    QCOMPARE(BaseInfo::minimizeState(), false);

    // Gone: defaults, and reading never creates the file.
    QVERIFY(QFile::remove(BaseInfo::filePath()));
    QCOMPARE(BaseInfo::autoRunState(), false);
    QCOMPARE(BaseInfo::themePath("4801920"), QString());
    QVERIFY(!QFile::exists(BaseInfo::filePath()));
}

void TestBaseInfo::officialThemesComeFromThePackageOnlyWhenInstalled_data()
{
    QTest::addColumn<QString>("dataDir");
    QTest::addColumn<bool>("packageThemesExist");
    QTest::addColumn<QString>("expected");
    // The program lives in <root>/bin; the package's themes in <root>/share/panelcast/themes.
    QTest::newRow("installed") << "home/.local/share/panelcast" << true << "share/panelcast/themes";
    QTest::newRow("installed, no official themes shipped")
        << "home/.local/share/panelcast" << false << "home/.local/share/panelcast/themes";
    QTest::newRow("portable executable folder") << "bin" << true << "bin/themes";
}

void TestBaseInfo::officialThemesComeFromThePackageOnlyWhenInstalled()
{
    QFETCH(QString, dataDir);
    QFETCH(bool, packageThemesExist);
    QFETCH(QString, expected);
    const QString root = m_dir->path() + "/";
    QVERIFY(QDir().mkpath(root + "bin") && QDir().mkpath(root + dataDir));
    if (packageThemesExist) {
        QVERIFY(QDir().mkpath(root + "share/panelcast/themes"));
    }
    QCOMPARE(Panelcast::officialThemesDirectory(root + dataDir, root + "bin",
                                                root + "bin/../share/panelcast/themes"),
             root + expected);
}

QTEST_GUILESS_MAIN(TestBaseInfo)
#include "tst_baseinfo.moc"
