#include "dispallsensorinfo.h"
#include "sensorfixtures.h"

#include <QCheckBox>
#include <QLineEdit>
#include <QSettings>
#include <QTableWidget>
#include <QTemporaryDir>
#include <QtTest>

class TestDispAllSensorInfo : public QObject
{
    Q_OBJECT

private slots:
    void init();
    void firstRunStoresEveryDeviceName();
    void cancelRestoresSaveStoresTheNames();
    void valuesFollowEachPass();

private:
    QString configPath() const { return m_dir->filePath(QStringLiteral("sensorName.cfg")); }
    std::unique_ptr<QTemporaryDir> m_dir;
};

void TestDispAllSensorInfo::init()
{
    m_dir = std::make_unique<QTemporaryDir>();
    qputenv("PANELCAST_DATA_DIR", m_dir->path().toUtf8());
}

void TestDispAllSensorInfo::firstRunStoresEveryDeviceName()
{
    auto manager = SensorFixtures::replayManager(QStringLiteral("amd-amd"));
    const QVector<SensorReading> catalogue = manager->catalogue();
    dispAllSensorInfo dialog(manager.get());
    QCOMPARE(dialog.windowTitle(), QStringLiteral("Parameter Setting"));
    QCOMPARE(dialog.table()->rowCount(), catalogue.size());
    QCOMPARE(dialog.table()->horizontalHeaderItem(2)->text(), QStringLiteral("Remarks"));
    QCOMPARE(dialog.selectedIndex(), 0);
    QVERIFY(qobject_cast<QCheckBox*>(dialog.table()->cellWidget(0, 0))->isChecked());

    QSettings file(configPath(), QSettings::IniFormat);
    QCOMPARE(file.childGroups().size(), catalogue.size());
    for (int row = 0; row < catalogue.size(); ++row) {
        QCOMPARE(file.value(QStringLiteral("%1/group").arg(row)).toString(), catalogue.at(row).deviceName);
        QCOMPARE(qobject_cast<QCheckBox*>(dialog.table()->cellWidget(row, 0))->text(),
                 catalogue.at(row).label);
        QCOMPARE(dialog.table()->item(row, 1)->text(),
                 QString::number(catalogue.at(row).value, 'g', 6) + catalogue.at(row).unit);
        QVERIFY(!(dialog.table()->item(row, 1)->flags() & Qt::ItemIsEditable));
    }
}

void TestDispAllSensorInfo::cancelRestoresSaveStoresTheNames()
{
    {
        QSettings file(configPath(), QSettings::IniFormat);
        file.setValue(QStringLiteral("3/group"), QStringLiteral("Radeon"));
    }
    auto manager = SensorFixtures::replayManager(QStringLiteral("amd-amd"));
    dispAllSensorInfo dialog(manager.get());
    QSignalSpy selected(&dialog, &dispAllSensorInfo::updateSelectIndex);
    // A stored name is shown; the others are filled in from the catalogue.
    QCOMPARE(dialog.nameEditor(3)->text(), QStringLiteral("Radeon"));
    const QString stored = manager->catalogue().at(1).deviceName;
    QCOMPARE(dialog.nameEditor(1)->text(), stored);

    dialog.show();
    dialog.nameEditor(1)->setText(QStringLiteral("typed, then cancelled"));
    dialog.cancelBtnSlot();
    QVERIFY(!dialog.isVisible());
    QCOMPARE(dialog.nameEditor(1)->text(), stored);
    QCOMPARE(selected.count(), 0);
    QCOMPARE(QSettings(configPath(), QSettings::IniFormat).value(QStringLiteral("1/group")).toString(),
             stored);

    // Rows outside the table are not selectable.
    dialog.select(4);
    dialog.select(999);
    dialog.select(-1);
    QCOMPARE(dialog.selectedIndex(), 4);
    dialog.nameEditor(4)->setText(QStringLiteral("Package"));
    dialog.saveBtnSlot();
    QCOMPARE(selected.count(), 1);
    QCOMPARE(selected.at(0), (QVariantList{4, QStringLiteral("Package")}));
    QCOMPARE(QSettings(configPath(), QSettings::IniFormat).value(QStringLiteral("4/group")).toString(),
             QStringLiteral("Package"));
    // A new dialog (next start) shows the saved name.
    dispAllSensorInfo again(manager.get());
    QCOMPARE(again.nameEditor(4)->text(), QStringLiteral("Package"));
}

void TestDispAllSensorInfo::valuesFollowEachPass()
{
    auto manager = SensorFixtures::replayManager(QStringLiteral("intel-nvidia"));
    dispAllSensorInfo dialog(manager.get());
    int die = -1;
    const QVector<SensorReading> catalogue = manager->catalogue();
    for (int i = 0; i < catalogue.size(); ++i) {
        if (catalogue.at(i).sensorName.endsWith(QLatin1String(": DTS"))) {
            die = i;
        }
    }
    QVERIFY(die >= 0);
    QCOMPARE(dialog.table()->item(die, 1)->text(), QStringLiteral("52°C"));
    manager->runLoopPass();
    QCOMPARE(dialog.table()->item(die, 1)->text(), QStringLiteral("54°C"));
}

QTEST_MAIN(TestDispAllSensorInfo)
#include "tst_dispallsensorinfo.moc"
