#include "clipencoderprocess.h"

#include <QTemporaryDir>
#include <QtTest>

Q_DECLARE_METATYPE(ClipEncoderProcess::Outcome)

class TestClipEncoderProcess : public QObject
{
    Q_OBJECT

private slots:
    void initTestCase();
    void progressLinesGivePercent_data();
    void progressLinesGivePercent();
    void failuresCarryTheirReason_data();
    void failuresCarryTheirReason();
    void cancelledRunIsNoResult();

private:
    QTemporaryDir m_dir;
};

void TestClipEncoderProcess::initTestCase()
{
    qRegisterMetaType<ClipEncoderProcess::Outcome>();
}

void TestClipEncoderProcess::progressLinesGivePercent_data()
{
    QTest::addColumn<QByteArray>("lines");
    QTest::addColumn<qint64>("durationS");
    QTest::addColumn<int>("percent");
    QTest::newRow("half way") << QByteArray("frame=50\nout_time_us=2000000\nprogress=continue\n") << qint64(4)
                              << 50;
    QTest::newRow("last line counts")
        << QByteArray("out_time_us=1000000\nout_time_us=3000000\n") << qint64(4) << 75;
    QTest::newRow("end") << QByteArray("out_time_us=3900000\nprogress=end\n") << qint64(4) << 100;
    QTest::newRow("past the end is 100") << QByteArray("out_time_us=9000000\n") << qint64(4) << 100;
    QTest::newRow("unknown length") << QByteArray("out_time_us=9000000\n") << qint64(0) << -1;
    QTest::newRow("no time yet") << QByteArray("out_time_us=N/A\nbitrate=N/A\n") << qint64(4) << -1;
}

void TestClipEncoderProcess::progressLinesGivePercent()
{
    QFETCH(QByteArray, lines);
    QFETCH(qint64, durationS);
    QFETCH(int, percent);
    QCOMPARE(ClipEncoderProcess::progressPercent(lines, durationS), percent);
}

void TestClipEncoderProcess::failuresCarryTheirReason_data()
{
    QTest::addColumn<QString>("program");
    QTest::addColumn<QString>("input");
    QTest::addColumn<QString>("reason");
    QTest::newRow("missing encoder") << "panelcast-no-such-encoder"
                                     << "in.mp4"
                                     << "could not be started";
    QTest::newRow("missing input") << "ffmpeg"
                                   << "absent.mp4"
                                   << "No such file or directory";
}

void TestClipEncoderProcess::failuresCarryTheirReason()
{
    QFETCH(QString, program);
    QFETCH(QString, input);
    QFETCH(QString, reason);
    ClipEncoderProcess encoder(nullptr, program);
    QSignalSpy finished(&encoder, &ClipEncoderProcess::finished);
    encoder.start({"-i", m_dir.filePath(input), m_dir.filePath(QStringLiteral("out.mp4"))}, 2);
    QVERIFY(finished.wait(30000));
    QCOMPARE(finished.first().at(0).value<ClipEncoderProcess::Outcome>(),
             ClipEncoderProcess::Outcome::Failed);
    QVERIFY2(finished.first().at(1).toString().contains(reason),
             qPrintable(finished.first().at(1).toString()));
}

void TestClipEncoderProcess::cancelledRunIsNoResult()
{
    ClipEncoderProcess encoder;
    QSignalSpy finished(&encoder, &ClipEncoderProcess::finished);
    // Reads a never-ending source until killed.
    encoder.start({"-re", "-f", "lavfi", "-i", "testsrc2=s=64x48:r=25", "-f", "null", "-"}, 0);
    QTRY_VERIFY(encoder.isRunning());
    encoder.cancel();
    QVERIFY(finished.wait(10000));
    QCOMPARE(finished.first().at(0).value<ClipEncoderProcess::Outcome>(),
             ClipEncoderProcess::Outcome::Cancelled);
}

QTEST_GUILESS_MAIN(TestClipEncoderProcess)
#include "tst_clipencoderprocess.moc"
