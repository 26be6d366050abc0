// The widgets that need the display (Xvfb in `make test`): the capture
// widget, where a window painted with four known colours at a known place is
// captured and, streamed, must show up on panelcast-emu, and how the marker's
// wheel scales it; and the 3D text, which needs an OpenGL context. With them
// the screen-cast portal client against a stand-in portal on a private
// session bus (a dbus-daemon started by the test), and the stream's buffers
// turned into images.
#include "disp3d.h"
#include "disp3dsurfaces.h"
#include "disp3dwidget.h"
#include "dispframewidget.h"
#include "dispscene.h"
#include "dispscreencapturewidget.h"
#include "dispstandardwidgetfactory.h"
#include "pixels.h"
#include "screencastportal.h"
#include "screengrabber.h"
#include "streamframe.h"
#include "testemulator.h"
#include "transport.h"

#include <QDBusConnection>
#include <QDBusMessage>
#include <QDBusObjectPath>
#include <QGuiApplication>
#include <QPainter>
#include <QProcess>
#include <QTemporaryDir>
#include <QTimer>
#include <QtTest>

#include <unistd.h>

namespace {

const QRect kPatternArea(200, 150, 160, 120);
const QColor kQuadrants[4] = {QColor(220, 30, 30), QColor(30, 200, 40), QColor(40, 60, 220),
                              QColor(240, 220, 20)};

// A borderless window with four coloured quadrants.
class PatternWindow : public QWidget
{
public:
    PatternWindow() : QWidget(nullptr, Qt::FramelessWindowHint | Qt::X11BypassWindowManagerHint) {}
    int shift = 0; // rotates the colours, to see the capture follow
protected:
    void paintEvent(QPaintEvent*) override
    {
        QPainter painter(this);
        const int w = width() / 2, h = height() / 2;
        for (int i = 0; i < 4; ++i)
            painter.fillRect(QRect((i % 2) * w, (i / 2) * h, w, h), kQuadrants[(i + shift) % 4]);
    }
};

} // namespace

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

class TestDispScreenCaptureWidget : public QObject
{
    Q_OBJECT

private slots:
    void initTestCase();
    void cleanupTestCase();
    void capturedRegionStreamsToTheDevice();
    void wheelScalesTheMarker();
    void glyphsAreSolidWithOpenHoles_data();
    void glyphsAreSolidWithOpenHoles();
    void readingShowsAsCentredText();
    void portalAnswers_data();
    void portalAnswers();
    void buffersBecomeOpaqueImagesOrNone_data();
    void buffersBecomeOpaqueImagesOrNone();

private:
    PatternWindow m_pattern;
    X11ScreenGrabber m_grabber;
    QProcess m_daemon;
    QString m_address;
};

void TestDispScreenCaptureWidget::initTestCase()
{
    m_pattern.setGeometry(kPatternArea);
    m_pattern.show();
    QVERIFY(QTest::qWaitForWindowExposed(&m_pattern));
    m_daemon.start(QStringLiteral("dbus-daemon"),
                   {"--session", "--nofork", "--nopidfile", "--print-address"});
    QVERIFY2(m_daemon.waitForStarted(5000), "dbus-daemon is missing (scripts/install-deps installs it)");
    QTRY_VERIFY(m_daemon.canReadLine());
    m_address = QString::fromUtf8(m_daemon.readLine()).trimmed();
    QVERIFY(!m_address.isEmpty());
    ScreenCastPortal::registerTypes();
}

void TestDispScreenCaptureWidget::cleanupTestCase()
{
    m_daemon.terminate();
    m_daemon.waitForFinished(5000);
}

void TestDispScreenCaptureWidget::capturedRegionStreamsToTheDevice()
{
    if (QGuiApplication::platformName() != QLatin1String("xcb"))
        QSKIP("needs an X11 screen (run under Xvfb)");
    TestEmulator emu;
    QVERIFY2(emu.start({"--size", "480x480", "--png-every", "1"}), qPrintable(emu.errorText()));
    DispStandardWidgetFactory::install();
    ScreenGrabber::setForSession(&m_grabber);
    DispScene scene;
    QSignalSpy found(scene.transport(), &Transport::searchDeviceFinish);
    scene.transport()->openDevice(emu.link(), 0x1F3A, 0x0007);
    QVERIFY(found.wait(8000));
    scene.setSceneSize(480, 480);
    DispScreenCaptureWidget* capture =
        scene.addScreenCaptureWidget(QStringLiteral("_display"), QPointF(0, 0));
    capture->setItemGeometry(scene.sceneRect());
    capture->setCaptureRect(kPatternArea);

    // Each quadrant of the window fills a quarter of the panel, and follows the window's changes.
    const auto shows = [&emu](int shift) {
        const QImage frame = emu.latestFrame();
        for (int i = 0; i < 4 && !frame.isNull(); ++i) {
            if (!Pixels::near(frame.pixelColor(120 + (i % 2) * 240, 120 + (i / 2) * 240),
                              kQuadrants[(i + shift) % 4], 30))
                return false;
        }
        return !frame.isNull();
    };
    QTRY_VERIFY_WITH_TIMEOUT(shows(0), 8000);
    m_pattern.shift = 1;
    m_pattern.repaint();
    QTRY_VERIFY_WITH_TIMEOUT(shows(1), 8000);
    scene.clearThread();
    ScreenGrabber::setForSession(nullptr);
}

void TestDispScreenCaptureWidget::wheelScalesTheMarker()
{
    // Away from the user grows by a tenth, toward the user shrinks by a
    // tenth; sizes are truncated; growing stops at the screen.
    const QSize screen(1920, 1080);
    QCOMPARE(DispFrameWidget::scaledSize(QSizeF(480, 480), 120, screen), QSizeF(528, 528));
    QCOMPARE(DispFrameWidget::scaledSize(QSizeF(100, 100), -120, screen), QSizeF(90, 90));
    QCOMPARE(DispFrameWidget::scaledSize(QSizeF(99, 55), 120, screen), QSizeF(108, 60));
    QSizeF grown(480, 480);
    for (int i = 0; i < 30; ++i)
        grown = DispFrameWidget::scaledSize(grown, 120, screen);
    QCOMPARE(grown, QSizeF(1920, 1080));
}

void TestDispScreenCaptureWidget::glyphsAreSolidWithOpenHoles_data()
{
    QTest::addColumn<QString>("text");
    QTest::addColumn<bool>("solid");
    QTest::newRow("a digit with a hole") << "0" << true;
    QTest::newRow("a percent sign") << "%" << true;
    QTest::newRow("a space adds only its advance") << " " << false;
}

void TestDispScreenCaptureWidget::glyphsAreSolidWithOpenHoles()
{
    QFETCH(QString, text);
    QFETCH(bool, solid);
    const QFont font = Pixels::pixelFont(100);
    const Disp3DSurfaces::Result result = Disp3DSurfaces::build(text, font, 2.0f);
    QCOMPARE(result.textWidth, int(QFontMetricsF(font).horizontalAdvance(text)));
    QCOMPARE(result.vertices.isEmpty(), !solid);
    if (!solid) {
        return;
    }
    // The front faces (z = 0) cover exactly the glyph's filled area: the
    // triangle areas add up to the outline's area minus its holes.
    double frontArea = 0;
    const QVector<float>& v = result.vertices;
    for (int i = 0; i + 17 < v.size(); i += 18) {
        if (v[i + 2] != 0.0f || v[i + 8] != 0.0f || v[i + 14] != 0.0f) {
            continue;
        }
        frontArea += std::abs((v[i + 6] - v[i]) * (v[i + 13] - v[i + 1]) -
                              (v[i + 12] - v[i]) * (v[i + 7] - v[i + 1])) /
                     2;
    }
    QPainterPath path;
    path.addText(0, 0, font, text);
    QGraphicsScene glyph(-20, -150, 200, 200);
    glyph.addPath(path, Qt::NoPen, Qt::black);
    const QImage mask = Pixels::renderScene(glyph);
    const int covered = Pixels::countNear(mask, mask.rect(), Qt::black, 127);
    QVERIFY2(std::abs(frontArea - covered) < 0.05 * covered, qPrintable(QString::number(frontArea)));
}

void TestDispScreenCaptureWidget::readingShowsAsCentredText()
{
    Disp3DWidget widget(nullptr, nullptr);
    Disp3D* view = widget.view();
    QVERIFY(view->renderedImage().isNull() || view->vertexCount() == 0);
    if (!view->hasContext()) {
        QSKIP("no OpenGL context on this platform");
    }
    widget.updateData(2, 36.5, QStringLiteral("%")); // not its type
    QVERIFY(view->text().isEmpty());
    widget.updateData(1, 36.5, QStringLiteral("%"));
    QCOMPARE(view->text(), QStringLiteral("36.50 %"));
    view->setAngles(0, 0, 0);
    const QImage image = view->renderedImage();
    QCOMPARE(image.size(), QSize(300, 300));
    const QRect ink = Pixels::boundsOf(image, [](QRgb pixel) { return qAlpha(pixel) > 0; });
    QVERIFY2(ink.width() > 40, "the text is visible and wide");
    QVERIFY(std::abs(ink.center().x() - 150) < 10);
    // Upright: the baseline sits at the view's centre, the digits above it.
    QVERIFY(ink.bottom() > 140 && ink.top() < 140);
}

void TestDispScreenCaptureWidget::portalAnswers_data()
{
    QTest::addColumn<bool>("portalPresent");
    QTest::addColumn<uint>("answer");
    QTest::addColumn<QString>("message"); // part of the failure text; empty for a stream
    QTest::newRow("granted") << true << 0u << QString();
    QTest::newRow("refused by the user") << true << 1u << QStringLiteral("declined");
    QTest::newRow("ended by the desktop") << true << 2u << QStringLiteral("ended");
    QTest::newRow("no portal on the bus") << false << 0u << QStringLiteral("no screen-cast portal");
}

void TestDispScreenCaptureWidget::portalAnswers()
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

void TestDispScreenCaptureWidget::buffersBecomeOpaqueImagesOrNone_data()
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

void TestDispScreenCaptureWidget::buffersBecomeOpaqueImagesOrNone()
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

QTEST_MAIN(TestDispScreenCaptureWidget)
#include "tst_dispscreencapturewidget.moc"
