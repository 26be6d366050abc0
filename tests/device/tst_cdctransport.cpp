#include "cdctransport.h"
#include "packets.h"
#include "ptypair.h"
#include "testfiles.h"

#include <QTemporaryDir>
#include <QThread>
#include <QtTest>

#include <termios.h>

class TestCdcTransport : public QObject
{
    Q_OBJECT

private slots:
    void opensAPseudoTerminalAt1MBaud8N1();
    void writesFromAnotherThreadArriveInOrder();
    void openFailureReportsOncePerCall_data();
    void openFailureReportsOncePerCall();
    void stalledDeviceBoundsTheWriteBacklog();
};

void TestCdcTransport::opensAPseudoTerminalAt1MBaud8N1()
{
    PtyPair pty;
    QVERIFY(pty.isValid());
    // Make sure the adapter sets every field rather than inheriting it.
    termios before{};
    QCOMPARE(tcgetattr(pty.slaveFd(), &before), 0);
    cfsetispeed(&before, B9600);
    cfsetospeed(&before, B9600);
    before.c_cflag = (before.c_cflag & ~CSIZE) | CS7 | PARENB | CSTOPB | CRTSCTS;
    QCOMPARE(tcsetattr(pty.slaveFd(), TCSANOW, &before), 0);

    cdcTransport adapter;
    QSignalSpy errors(&adapter, &cdcTransport::emitError);
    QSignalSpy states(&adapter, &cdcTransport::usbConnectState);
    QVERIFY(!adapter.openPort(QString())); // an empty name is refused without a report
    // A pseudo-terminal has no modem lines; dropping DTR and RTS there must
    // neither fail the open nor look like a port failure.
    QVERIFY(adapter.openPort(pty.slavePath()));
    // Opening again closes first, so the port's own lock does not refuse it.
    QVERIFY(adapter.openPort(pty.slavePath()));
    QVERIFY(adapter.isPortOpen());
    termios after{};
    QCOMPARE(tcgetattr(pty.slaveFd(), &after), 0);
    QCOMPARE(cfgetispeed(&after), speed_t(B1000000));
    QCOMPARE(cfgetospeed(&after), speed_t(B1000000));
    QCOMPARE(after.c_cflag & CSIZE, tcflag_t(CS8));
    QCOMPARE(after.c_cflag & PARENB, tcflag_t(0));
    QCOMPARE(after.c_cflag & CSTOPB, tcflag_t(0));
    QCOMPARE(after.c_cflag & CRTSCTS, tcflag_t(0));
    // Nothing to write is dropped quietly, and so is anything once closed.
    adapter.slotSendData(QByteArray());
    adapter.sendSearch();
    QCOMPARE(pty.readFromHost(9), Packets::search());
    adapter.closePort();
    QVERIFY(!adapter.isPortOpen());
    adapter.slotSendData(Packets::versionQuery());
    adapter.sendSearch();
    QVERIFY(pty.drainFromHost(100).isEmpty());
    QCoreApplication::processEvents();
    QCOMPARE(errors.count(), 0);
    QCOMPARE(states.count(), 0);
}

void TestCdcTransport::writesFromAnotherThreadArriveInOrder()
{
    PtyPair pty;
    cdcTransport adapter;
    QVERIFY(adapter.openPort(pty.slavePath()));

    // Buffers handed over from another thread, the way a display's
    // transport thread does.
    QByteArray expected;
    std::unique_ptr<QThread> worker(QThread::create([&adapter, &expected] {
        for (int i = 0; i < 50; ++i) {
            const QByteArray packet = Packets::frame(QByteArray(100 + i, char(i)));
            expected += packet;
            QMetaObject::invokeMethod(
                &adapter, [&adapter, packet] { adapter.slotSendData(packet); }, Qt::QueuedConnection);
        }
    }));
    worker->start();
    worker->wait();

    QVERIFY(pty.readFromHost(expected.size()) == expected);
}

void TestCdcTransport::openFailureReportsOncePerCall_data()
{
    QTest::addColumn<QString>("what");
    QTest::newRow("missing device") << "missing";
    QTest::newRow("plain file") << "file";
    QTest::newRow("directory") << "folder";
    QTest::newRow("port held by another adapter") << "held";
}

void TestCdcTransport::openFailureReportsOncePerCall()
{
    QFETCH(QString, what);
    QTemporaryDir dir;
    PtyPair pty;
    cdcTransport holder;
    QString path = dir.filePath(what);
    if (what == "folder") {
        QVERIFY(QDir(dir.path()).mkdir(what));
    } else if (what == "file") {
        QVERIFY(TestFiles::writeFile(path, QByteArray()));
    } else if (what == "held") {
        path = pty.slavePath();
        QVERIFY(holder.openPort(path));
    }

    cdcTransport adapter;
    QSignalSpy states(&adapter, &cdcTransport::usbConnectState);
    QVERIFY(!adapter.openPort(path));
    QVERIFY(!adapter.isPortOpen());
    QVERIFY(!adapter.openPort(path));
    QCOMPARE(states.count(), 2);
    QCOMPARE(states.at(0).at(0).toBool(), false);
    QCOMPARE(states.at(1).at(0).toBool(), false);

    // A failed open leaves nothing half-open to write to, and a holder keeps
    // working.
    adapter.slotSendData(Packets::versionQuery());
    adapter.sendSearch();
    holder.sendSearch();
    QCOMPARE(pty.drainFromHost(100), what == "held" ? Packets::search() : QByteArray());
}

void TestCdcTransport::stalledDeviceBoundsTheWriteBacklog()
{
    PtyPair pty;
    cdcTransport adapter;
    QVERIFY(adapter.openPort(pty.slavePath()));

    // The device stops reading: the pseudo-terminal fills up and the rest
    // would wait in the adapter, growing with every frame.
    constexpr int kPackets = 64;
    constexpr int kPayload = 256 * 1024;
    const int packetSize = Packets::kHeaderSize + kPayload;
    for (int i = 0; i < kPackets; ++i) {
        adapter.slotSendData(Packets::frame(QByteArray(kPayload, char(i))));
        QCoreApplication::processEvents();
    }
    QVERIFY2(adapter.pendingWriteBytes() <= cdcTransport::kMaxPendingWriteBytes + packetSize,
             qPrintable(QString::number(adapter.pendingWriteBytes())));

    // Once the device reads again, what went out is whole packets in order,
    // and new writes get through.
    QByteArray received;
    QDeadlineTimer deadline(10000);
    while (adapter.pendingWriteBytes() > 0 && !deadline.hasExpired()) {
        received += pty.drainFromHost(20);
    }
    received += pty.drainFromHost(50);
    QCOMPARE(adapter.pendingWriteBytes(), qint64(0));
    QCOMPARE(received.size() % packetSize, 0);
    int previous = -1;
    for (int at = 0; at < received.size(); at += packetSize) {
        const QByteArray packet = received.mid(at, packetSize);
        const int fill = uchar(packet.at(Packets::kHeaderSize));
        QVERIFY(fill > previous);
        QVERIFY(packet == Packets::frame(QByteArray(kPayload, char(fill))));
        previous = fill;
    }
    adapter.sendSearch();
    QCOMPARE(pty.readFromHost(9), Packets::search());
}

QTEST_GUILESS_MAIN(TestCdcTransport)
#include "tst_cdctransport.moc"
