#include "languageloader.h"
#include "languagetable.h"
#include "testfiles.h"

#include <QCoreApplication>
#include <QFile>
#include <QTemporaryDir>
#include <QtTest>

namespace {

QString qmDir()
{
    return QStringLiteral(PANELCAST_QM_DIR);
}

QString settingText()
{
    return QCoreApplication::translate("DispMainWIndow", "Setting");
}

} // namespace

class TestLanguageLoader : public QObject
{
    Q_OBJECT

private slots:
    void init();
    void presentFileLoadsAndMissingFileGivesBuiltInTexts();
    void switchingReplacesThePreviousTranslatorOrInstallsNothing();
    void brokenFileIsNotInstalled_data();
    void brokenFileIsNotInstalled();

private:
    void provide(const QString& name);

    std::unique_ptr<QTemporaryDir> m_dir;
    QObject m_owner;
};

void TestLanguageLoader::init()
{
    m_dir = std::make_unique<QTemporaryDir>();
    QVERIFY(m_dir->isValid());
    qputenv("PANELCAST_DATA_DIR", m_dir->path().toLocal8Bit());
}

void TestLanguageLoader::provide(const QString& name)
{
    QVERIFY2(QFile::copy(qmDir() + name, m_dir->path() + name), qPrintable(qmDir() + name));
}

void TestLanguageLoader::presentFileLoadsAndMissingFileGivesBuiltInTexts()
{
    // Every listed language is built.
    for (int index = 0; index < 13; ++index) {
        QVERIFY2(QFile::exists(qmDir() + LanguageTable::fileName(index)), LanguageTable::comboText(index));
    }
    provide("/de_DE.qm");
    LanguageLoader loader(&m_owner);
    QVERIFY(loader.switchLanguage(5));
    QCOMPARE(loader.loadedFile(), m_dir->path() + "/de_DE.qm");
    QCOMPARE(settingText(), QString::fromUtf8("Einstellungen"));
    QCOMPARE(QCoreApplication::translate("dispsettingwidget", "German"), QString("Deutsch"));

    QVERIFY(QFile::remove(m_dir->path() + "/de_DE.qm"));
    QVERIFY(!loader.switchLanguage(5));
    QCOMPARE(loader.loadedFile(), QString());
    QCOMPARE(settingText(), QString("Setting"));

    // The English row loads its own file too.
    QVERIFY(!loader.switchLanguage(0));
    provide("/zh_EN.qm");
    QVERIFY(loader.switchLanguage(0));
    QCOMPARE(loader.loadedFile(), m_dir->path() + "/zh_EN.qm");
    QCOMPARE(settingText(), QString("Setting"));
}

void TestLanguageLoader::switchingReplacesThePreviousTranslatorOrInstallsNothing()
{
    provide("/de_DE.qm");
    provide("/fr_FR.qm");
    QObject owner;
    LanguageLoader loader(&owner);
    QVERIFY(loader.switchLanguage(5));
    QVERIFY(loader.switchLanguage(6));
    QCOMPARE(settingText(), QString::fromUtf8("Paramètres"));
    // The German translator is gone, not merely shadowed: Italian has no
    // texts, so nothing but the built-in English may show.
    provide("/it_IT.qm");
    loader.switchLanguage(7);
    QCOMPARE(settingText(), QString("Setting"));
    // Translators are owned by the owner; only the current one is alive.
    QCOMPARE(owner.findChildren<QTranslator*>().size(), 1);
    // An index outside the table installs nothing and removes the current one.
    for (int index : {-1, 13}) {
        QVERIFY(loader.switchLanguage(6));
        QVERIFY(!loader.switchLanguage(index));
        QCOMPARE(LanguageTable::fileName(index), QString());
        QCOMPARE(settingText(), QString("Setting"));
    }
}

void TestLanguageLoader::brokenFileIsNotInstalled_data()
{
    QTest::addColumn<QByteArray>("content");
    const QByteArray magic("\x3c\xb8\x64\x18\xca\xef\x9c\x95\xcd\x21\x1c\xbf\x60\xa1\xbd\xdd", 16);
    QTest::newRow("text") << QByteArray("not a translation\n");
    QTest::newRow("empty") << QByteArray();
    QTest::newRow("block longer than the file")
        << magic + QByteArray("\x42\x7f\xff\xff\xff\x00\x01\x02\x03", 9);
}

void TestLanguageLoader::brokenFileIsNotInstalled()
{
    QFETCH(QByteArray, content);
    QVERIFY(TestFiles::writeFile(m_dir->path() + "/de_DE.qm", content));

    LanguageLoader loader(&m_owner);
    QVERIFY(!loader.switchLanguage(5));
    QCOMPARE(settingText(), QString("Setting"));
}

QTEST_GUILESS_MAIN(TestLanguageLoader)
#include "tst_languageloader.moc"
