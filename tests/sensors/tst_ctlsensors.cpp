#include "processrun.h"
#include "sensorfixtures.h"

#include <QtTest>

namespace {

ProcessRun ctl(const QStringList& arguments, const QString& replay)
{
    return ProcessRun::of(QStringLiteral(PANELCAST_CTL), arguments, {{"PANELCAST_SENSOR_REPLAY", replay}});
}

} // namespace

class TestCtlSensors : public QObject
{
    Q_OBJECT

private slots:
    void bindingsListEveryDisplayTypeWithItsRecord();
    void watchPrintsEverySecondUntilStopped();
    void badUseIsRefused_data();
    void badUseIsRefused();
};

void TestCtlSensors::bindingsListEveryDisplayTypeWithItsRecord()
{
    const ProcessRun run = ctl({QStringLiteral("sensors"), QStringLiteral("--bindings")},
                               SensorFixtures::replayPath(QStringLiteral("intel-nvidia")));
    QCOMPARE(run.exitCode, 0);
    QVERIFY(run.out.startsWith(QLatin1String("type  name")));
    auto lineOf = [&run](int type) {
        const QRegularExpression line(QStringLiteral("\n +%1  (.*)\n").arg(type));
        return QString::number(type) + ' ' + line.match(run.out).captured(1).simplified();
    };
    for (int type = 0; type < DisplayTypes::kCount; ++type) {
        QVERIFY2(lineOf(type).size() > 3, qPrintable(QStringLiteral("type %1 missing").arg(type)));
    }
    QVERIFY(lineOf(7).startsWith(QLatin1String("7 GPU Temperature #")));
    QVERIFY(lineOf(7).endsWith(QStringLiteral("GPU [#0]: NVIDIA GeForce RTX 3070 / GPU Temperature 61°C")));
    QCOMPARE(lineOf(12), QStringLiteral("12 GPU Memory Clock none - no reading qualifies, shows 0 0"));
    QCOMPARE(lineOf(21), QStringLiteral("21 Total memory sum of types 19 and 20 32001MB"));
    QCOMPARE(lineOf(22), QStringLiteral("22 Memory Name fixed text Corsair"));
    QVERIFY(run.out.contains(QLatin1String("network sensor: \"Network: enp5s0\"")));
    // Each motherboard fan with the rule that classified it.
    QVERIFY2(run.out.contains(QRegularExpression("\\n  \\S+ / \\S.*: sub-class \\d+, \\w")),
             qPrintable(run.out));
}

void TestCtlSensors::watchPrintsEverySecondUntilStopped()
{
    // Output that is not a terminal separates the refreshes with "----".
    const ProcessRun run =
        ProcessRun::of(QStringLiteral(PANELCAST_CTL), {"sensors", "--watch"},
                       {{"PANELCAST_SENSOR_REPLAY", SensorFixtures::replayPath("intel-nvidia")}}, 4000);
    const QByteArray out = run.out.toUtf8();
    QVERIFY2(out.count("----\n") >= 2, out.constData());
    // The DTS die steps through its replayed values, one per second.
    QVERIFY(out.contains("reading: 010  CPU Die\nvalue:   54\xc2\xb0"
                         "C"));
    QVERIFY(out.contains("reading: 010  CPU Die\nvalue:   56\xc2\xb0"
                         "C"));
}

void TestCtlSensors::badUseIsRefused_data()
{
    QTest::addColumn<QStringList>("arguments");
    QTest::addColumn<QString>("replay");
    QTest::addColumn<int>("exitCode");
    QTest::addColumn<QString>("message");
    const QString good = SensorFixtures::replayPath(QStringLiteral("no-sensors"));
    QTest::newRow("no command") << QStringList{} << good << 2 << "usage: panelcast-ctl";
    QTest::newRow("unknown command") << QStringList{"sensorz"} << good << 2 << "unknown command 'sensorz'";
    QTest::newRow("unknown option") << QStringList{"sensors", "--fast"} << good << 2
                                    << "unknown option '--fast'";
    QTest::newRow("two modes") << QStringList{"sensors", "--watch", "--bindings"} << good << 2
                               << "do not go together";
    QTest::newRow("missing snapshot") << QStringList{"sensors"} << good + QStringLiteral(".missing") << 1
                                      << "no sensor source could be started";
}

void TestCtlSensors::badUseIsRefused()
{
    QFETCH(QStringList, arguments);
    QFETCH(QString, replay);
    QFETCH(int, exitCode);
    QFETCH(QString, message);
    const ProcessRun run = ctl(arguments, replay);
    QCOMPARE(run.exitCode, exitCode);
    QVERIFY2(run.err.contains(message), qPrintable(run.err));
}

QTEST_GUILESS_MAIN(TestCtlSensors)
#include "tst_ctlsensors.moc"
