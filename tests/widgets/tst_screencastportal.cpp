// The screen-cast portal client against a stand-in portal on a private
// session bus (a dbus-daemon started by the test), and the stream's buffers
// turned into images.
#include "screencastportal.h"
#include "streamframe.h"

#include <QDBusConnection>
#include <QDBusMessage>
#include <QDBusObjectPath>
#include <QProcess>
#include <QTemporaryDir>
#include <QTimer>
#include <QtTest>

#include <unistd.h>

static const QString kPortalService = QStringLiteral("org.freedesktop.portal.Desktop");
static const QString kPortalPath = QStringLiteral("/org/freedesktop/portal/desktop");

using StreamFrame::Layout;
Q_DECLARE_METATYPE(Layout)

// A 2 x 2 picture in the stream's byte order: red, green / blue, white, with
// pad bytes after each row, and an alpha (or pad) byte of 0x10 that must not
// make the screen see-through.
static const QColor kPixels[4] = {Qt::red, Qt::green, Qt::blue, Qt::white};

static QByteArray buffer(Layout layout, int stride)
{
    QByteArray bytes(stride * 2, char(0x77));
    for (int i = 0; i < 4; ++i) {
        const QColor& c = kPixels[i];
        const bool bgr = layout == Layout::BGRx || layout == Layout::BGRA;
        char* p = bytes.data() + (i / 2) * stride + (i % 2) * 4;
        p[0] = char(bgr ? c.blue() : c.red());
        p[1] = char(c.green());
        p[2] = char(bgr ? c.red() : c.blue());
        p[3] = char(0x10);
    }
    return bytes;
}

// Answers like the desktop's portal: each request's result comes as a
// Response signal on the request object the caller's token names.
class StandInPortal : public QObject
{
    Q_OBJECT
    Q_CLASSINFO("D-Bus Interface", "org.freedesktop.portal.ScreenCast")

public:
    explicit StandInPortal(const QDBusConnection& bus) : m_bus(bus) {}
    uint startAnswer = 0; // 0 granted, 1 refused by the user, 2 other
    QVariantMap lastSelectOptions;

public slots:
    QDBusObjectPath CreateSession(const QVariantMap& options, const QDBusMessage& call)
    {
        return respond(call, options, 0,
                       {{QStringLiteral("session_handle"), kPortalPath + QStringLiteral("/session/1")}});
    }
    QDBusObjectPath SelectSources(const QDBusObjectPath&, const QVariantMap& options,
                                  const QDBusMessage& call)
    {
        lastSelectOptions = options;
        return respond(call, options, 0, {});
    }
    QDBusObjectPath Start(const QDBusObjectPath&, const QString&, const QVariantMap& options,
                          const QDBusMessage& call)
    {
        PortalStream stream;
        stream.nodeId = 42;
        const QVariantMap results{
            {QStringLiteral("streams"), QVariant::fromValue(QList<PortalStream>{stream})},
            {QStringLiteral("restore_token"), QStringLiteral("token-%1").arg(++m_starts)}};
        return respond(call, options, startAnswer, startAnswer == 0 ? results : QVariantMap());
    }
    QDBusUnixFileDescriptor OpenPipeWireRemote(const QDBusObjectPath&, const QVariantMap&)
    {
        int fds[2];
        if (pipe(fds) != 0)
            return QDBusUnixFileDescriptor();
        QDBusUnixFileDescriptor remote(fds[0]); // duplicates
        ::close(fds[0]);
        ::close(fds[1]);
        return remote;
    }

private:
    QDBusObjectPath respond(const QDBusMessage& call, const QVariantMap& options, uint answer,
                            const QVariantMap& results)
    {
        QString sender = call.service().mid(1);
        sender.replace(QLatin1Char('.'), QLatin1Char('_'));
        const QString path = kPortalPath + QStringLiteral("/request/") + sender + QLatin1Char('/') +
                             options.value(QStringLiteral("handle_token")).toString();
        QTimer::singleShot(0, this, [this, path, answer, results] {
            QDBusMessage signal = QDBusMessage::createSignal(
                path, QStringLiteral("org.freedesktop.portal.Request"), QStringLiteral("Response"));
            signal << answer << results;
            m_bus.send(signal);
        });
        return QDBusObjectPath(path);
    }

    QDBusConnection m_bus;
    int m_starts = 0;
};

class TestScreenCastPortal : public QObject
{
    Q_OBJECT

private slots:
    void initTestCase();
    void cleanupTestCase();
    void portalAnswers_data();
    void portalAnswers();
    void buffersBecomeOpaqueImagesOrNone_data();
    void buffersBecomeOpaqueImagesOrNone();

private:
    QProcess m_daemon;
    QString m_address;
};

void TestScreenCastPortal::initTestCase()
{
    m_daemon.start(QStringLiteral("dbus-daemon"),
                   {"--session", "--nofork", "--nopidfile", "--print-address"});
    QVERIFY2(m_daemon.waitForStarted(5000), "dbus-daemon is missing (scripts/install-deps installs it)");
    QTRY_VERIFY(m_daemon.canReadLine());
    m_address = QString::fromUtf8(m_daemon.readLine()).trimmed();
    QVERIFY(!m_address.isEmpty());
    ScreenCastPortal::registerTypes();
}

void TestScreenCastPortal::cleanupTestCase()
{
    m_daemon.terminate();
    m_daemon.waitForFinished(5000);
}

void TestScreenCastPortal::portalAnswers_data()
{
    QTest::addColumn<bool>("portalPresent");
    QTest::addColumn<uint>("answer");
    QTest::addColumn<QString>("message"); // part of the failure text; empty for a stream
    QTest::newRow("granted") << true << 0u << QString();
    QTest::newRow("refused by the user") << true << 1u << QStringLiteral("declined");
    QTest::newRow("ended by the desktop") << true << 2u << QStringLiteral("ended");
    QTest::newRow("no portal on the bus") << false << 0u << QStringLiteral("no screen-cast portal");
}

void TestScreenCastPortal::portalAnswers()
{
    QFETCH(bool, portalPresent);
    QFETCH(uint, answer);
    QFETCH(QString, message);
    const QString tag = QString::fromLatin1(QTest::currentDataTag());
    QDBusConnection portalBus = QDBusConnection::connectToBus(m_address, QStringLiteral("portal ") + tag);
    QDBusConnection clientBus = QDBusConnection::connectToBus(m_address, QStringLiteral("client ") + tag);
    QVERIFY(portalBus.isConnected() && clientBus.isConnected());
    StandInPortal portal(portalBus);
    portal.startAnswer = answer;
    if (portalPresent) {
        QVERIFY(portalBus.registerService(kPortalService));
        QVERIFY(portalBus.registerObject(kPortalPath, &portal, QDBusConnection::ExportAllSlots));
    }

    QTemporaryDir dir;
    const QString tokenFile = dir.filePath(QStringLiteral("screencast.cfg"));
    ScreenCastPortal client(clientBus, tokenFile);
    QSignalSpy ready(&client, &ScreenCastPortal::streamReady);
    QSignalSpy failed(&client, &ScreenCastPortal::failed);
    client.start();
    QCOMPARE(client.state(), ScreenCastPortal::State::Asking);
    QTRY_VERIFY(!ready.isEmpty() || !failed.isEmpty());
    if (message.isEmpty()) {
        QCOMPARE(ready.first().at(1).toUInt(), 42u);
        QVERIFY(ready.first().at(0).value<QDBusUnixFileDescriptor>().isValid());
        QCOMPARE(client.state(), ScreenCastPortal::State::Streaming);
        QCOMPARE(client.restoreToken(), QStringLiteral("token-1"));
        QCOMPARE(portal.lastSelectOptions.value(QStringLiteral("types")).toUInt(), 1u);
        QCOMPARE(portal.lastSelectOptions.value(QStringLiteral("persist_mode")).toUInt(), 2u);
        QVERIFY(!portal.lastSelectOptions.contains(QStringLiteral("restore_token")));
        // A later run (a new client) hands the kept token back and keeps the portal's newest one.
        ScreenCastPortal later(clientBus, tokenFile);
        QSignalSpy again(&later, &ScreenCastPortal::streamReady);
        later.start();
        QVERIFY(again.wait(5000));
        QCOMPARE(portal.lastSelectOptions.value(QStringLiteral("restore_token")).toString(),
                 QStringLiteral("token-1"));
        QCOMPARE(later.restoreToken(), QStringLiteral("token-2"));
    } else {
        QVERIFY2(failed.first().first().toString().contains(message),
                 qPrintable(failed.first().first().toString()));
        QCOMPARE(client.state(), ScreenCastPortal::State::Failed);
        QVERIFY(client.restoreToken().isEmpty());
    }
    portalBus.unregisterService(kPortalService);
    QDBusConnection::disconnectFromBus(portalBus.name());
    QDBusConnection::disconnectFromBus(clientBus.name());
}

void TestScreenCastPortal::buffersBecomeOpaqueImagesOrNone_data()
{
    QTest::addColumn<Layout>("layout");
    QTest::addColumn<QSize>("size");
    QTest::addColumn<int>("stride"); // stride handed over; 0 means packed
    QTest::addColumn<int>("available");
    QTest::addColumn<bool>("image");
    QTest::newRow("BGRx packed") << Layout::BGRx << QSize(2, 2) << 0 << 16 << true;
    QTest::newRow("BGRA padded rows") << Layout::BGRA << QSize(2, 2) << 12 << 24 << true;
    QTest::newRow("RGBx padded rows") << Layout::RGBx << QSize(2, 2) << 16 << 32 << true;
    QTest::newRow("RGBA packed") << Layout::RGBA << QSize(2, 2) << 8 << 16 << true;
    QTest::newRow("unknown layout") << Layout::Unknown << QSize(2, 2) << 8 << 16 << false;
    QTest::newRow("empty size") << Layout::BGRx << QSize(0, 2) << 8 << 16 << false;
    QTest::newRow("huge size") << Layout::BGRx << QSize(20000, 1) << 0 << 16 << false;
    QTest::newRow("stride shorter than a row") << Layout::BGRx << QSize(2, 2) << 4 << 16 << false;
    QTest::newRow("last row cut short") << Layout::BGRx << QSize(2, 2) << 8 << 15 << false;
    QTest::newRow("more rows than bytes") << Layout::RGBA << QSize(2, 3) << 8 << 16 << false;
}

void TestScreenCastPortal::buffersBecomeOpaqueImagesOrNone()
{
    QFETCH(Layout, layout);
    QFETCH(QSize, size);
    QFETCH(int, stride);
    QFETCH(int, available);
    QFETCH(bool, image);
    QByteArray bytes = image ? buffer(layout, available / 2) : QByteArray();
    bytes.append(QByteArray(64 - bytes.size(), '\0'));
    const QImage made = StreamFrame::toImage(layout, reinterpret_cast<const uchar*>(bytes.constData()),
                                             available, size, stride);
    QCOMPARE(made.isNull(), !image);
    if (image) {
        QCOMPARE(made.size(), QSize(2, 2));
        for (int i = 0; i < 4; ++i) {
            QCOMPARE(made.pixelColor(i % 2, i / 2), kPixels[i]);
        }
    }
}

QTEST_GUILESS_MAIN(TestScreenCastPortal)
#include "tst_screencastportal.moc"
