// End to end: a Transport drives the panelcast-emu binary over its
// pseudo-terminal, and the emulator's own record (packets.jsonl and the
// decoded picture) is compared with what was sent. The exact bytes of each
// packet and upload are checked against a pseudo-terminal in tst_transport;
// other panel layouts and uploads run end to end, through the same
// Transport, in tst_ctldevicecommands.
#include "devicemodels.h"
#include "emuprocess.h"
#include "transport.h"

#include <QImage>
#include <QJsonDocument>
#include <QJsonObject>
#include <QPainter>
#include <QSignalSpy>
#include <QTemporaryDir>
#include <QtTest>

namespace {

constexpr int kWaitMs = 5000;

// One emulated device with its link and output folder in a temporary folder.
struct Emulator
{
    QTemporaryDir dir;
    QString link = dir.filePath("ttyEMU");
    QString out = dir.filePath("out");
    EmuProcess process;

    bool start(const QStringList& extra)
    {
        return process.start(QStringList{"--link", link, "--out", out} + extra);
    }

    QList<QJsonObject> log() const
    {
        QList<QJsonObject> entries;
        QFile file(QDir(out).filePath("packets.jsonl"));
        if (file.open(QIODevice::ReadOnly)) {
            for (const QByteArray& line : file.readAll().split('\n')) {
                if (!line.isEmpty()) {
                    entries << QJsonDocument::fromJson(line).object();
                }
            }
        }
        return entries;
    }

    // The value of `key` in every log entry that has it.
    QStringList values(const QString& key) const
    {
        QStringList found;
        for (const QJsonObject& entry : log()) {
            if (entry.contains(key)) {
                found << entry.value(key).toVariant().toString();
            }
        }
        return found;
    }

    int decodedFrames() const { return values("frame").size(); }
};

// Opens the transport on the emulator and waits for the search to be answered.
bool identify(Transport& transport, const Emulator& emu, int vid, int pid)
{
    QSignalSpy found(&transport, &Transport::searchDeviceFinish);
    transport.openDevice(emu.link, vid, pid);
    return transport.isOpen() && found.wait(kWaitMs);
}

void stopThread(Transport& transport)
{
    transport.requestInterruption();
    transport.quit();
    transport.wait();
}

int colourDistance(QRgb a, QRgb b)
{
    return qMax(qAbs(qRed(a) - qRed(b)), qMax(qAbs(qGreen(a) - qGreen(b)), qAbs(qBlue(a) - qBlue(b))));
}

} // namespace

class TestTransportEmu : public QObject
{
    Q_OBJECT

private slots:
    void framesDecodeAtTheEncoderSize_data();
    void framesDecodeAtTheEncoderSize();
};

void TestTransportEmu::framesDecodeAtTheEncoderSize_data()
{
    QTest::addColumn<int>("vid");
    QTest::addColumn<int>("pid");
    QTest::addColumn<QSize>("panel");
    QTest::addColumn<QSize>("decoded");
    QTest::newRow("462x1920 padded to 480") << 0x1F3A << 0x0007 << QSize(462, 1920) << QSize(480, 1920);
}

void TestTransportEmu::framesDecodeAtTheEncoderSize()
{
    QFETCH(int, vid);
    QFETCH(int, pid);
    QFETCH(QSize, panel);
    QFETCH(QSize, decoded);

    Emulator emu;
    const QString size = QString("%1x%2").arg(panel.width()).arg(panel.height());
    const QString usb = QString("%1:%2").arg(vid, 4, 16, QChar('0')).arg(pid, 4, 16, QChar('0')).toUpper();
    QVERIFY2(emu.start({"--size", size, "--usb", usb, "--png-every", "1"}),
             qPrintable(emu.process.errorText()));
    Transport transport;
    QVERIFY(identify(transport, emu, vid, pid));
    QCOMPARE(QSize(transport.panelWidth(), transport.panelHeight()), panel);
    transport.setDeviceSize(panel.width(), panel.height());
    transport.start();

    // What the scene hands over: the picture on a transparent image of the
    // encoder's size when the model needs padding.
    const EncoderLayout layout = DeviceModels::encoderLayout(panel, vid, pid);
    const QList<QRgb> colours = {qRgb(220, 40, 40), qRgb(40, 200, 60), qRgb(50, 60, 230)};
    for (int i = 0; i < colours.size(); ++i) {
        QImage image(layout.encoderSize, QImage::Format_ARGB32);
        image.fill(Qt::transparent);
        QPainter(&image).fillRect(QRect(layout.pictureOffset, panel), QColor(colours.at(i)));
        transport.send(image);
        QTRY_COMPARE_WITH_TIMEOUT(emu.decodedFrames(), i + 1, kWaitMs);
    }
    stopThread(transport);
    QCOMPARE(emu.values("error"), QStringList());

    const QImage latest(QDir(emu.out).filePath("latest.png"));
    QCOMPARE(latest.size(), decoded);
    const QPoint inside = layout.pictureOffset + QPoint(panel.width() / 2, panel.height() / 2);
    QVERIFY(colourDistance(latest.pixel(inside), colours.last()) < 24);
    if (layout.pictureOffset.x() > 0) {
        QVERIFY(colourDistance(latest.pixel(layout.pictureOffset.x() / 2, 10), qRgb(0, 0, 0)) < 24);
    }
    if (decoded.width() > panel.width() + layout.pictureOffset.x()) {
        QVERIFY(colourDistance(latest.pixel(decoded.width() - 4, 10), qRgb(0, 0, 0)) < 24);
    }
}

QTEST_GUILESS_MAIN(TestTransportEmu)
#include "tst_transportemu.moc"
