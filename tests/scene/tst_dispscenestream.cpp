// End to end: a scene with a background, a text and a number bound to a
// replayed sensor reading streams through its transport to panelcast-emu;
// the emulator's decoded frames must show what the scene put where.
#include "../device/emuprocess.h"
#include "dispdatewidget.h"
#include "displabelwidget.h"
#include "dispnumberwidget.h"
#include "dispscene.h"
#include "dispstandardwidgetfactory.h"
#include "disptextwidget.h"
#include "disptimewidget.h"
#include "dispweekdaywidget.h"
#include "transport.h"

#include <QDir>
#include <QGraphicsRectItem>
#include <QImage>
#include <QSignalSpy>
#include <QTemporaryDir>
#include <QtTest>

namespace {

constexpr int kWaitMs = 8000;

bool near(const QColor& a, const QColor& b, int tolerance = 40)
{
    return qAbs(a.red() - b.red()) <= tolerance && qAbs(a.green() - b.green()) <= tolerance &&
           qAbs(a.blue() - b.blue()) <= tolerance;
}

// Pixels of a decoded frame within area that are close to colour.
int countNear(const QImage& image, const QRect& area, const QColor& colour)
{
    int count = 0;
    const QRect inside = area.intersected(image.rect());
    for (int y = inside.top(); y <= inside.bottom(); ++y) {
        for (int x = inside.left(); x <= inside.right(); ++x) {
            count += near(image.pixelColor(x, y), colour) ? 1 : 0;
        }
    }
    return count;
}

QFont pixelFont(int pixels)
{
    QFont font(QStringLiteral("DejaVu Sans"));
    font.setBold(true);
    font.setPixelSize(pixels);
    return font;
}

} // namespace

class TestDispSceneStream : public QObject
{
    Q_OBJECT

private slots:
    void initTestCase();
    void turnedSceneReachesPaddedPanel();

private:
    bool m_haveEmulator = false;
};

void TestDispSceneStream::initTestCase()
{
    DispStandardWidgetFactory::install();
    QProcess help;
    help.start(qEnvironmentVariable("PANELCAST_EMU"), {"--help"});
    m_haveEmulator = help.waitForFinished(kWaitMs) && help.readAllStandardOutput().contains("--link");
}

void TestDispSceneStream::turnedSceneReachesPaddedPanel()
{
    if (!m_haveEmulator) {
        QSKIP("panelcast-emu cannot emulate a device here");
    }
    QTemporaryDir dir;
    EmuProcess emu;
    const QString link = dir.filePath(QStringLiteral("ttySCENE"));
    QVERIFY2(emu.start({"--link", link, "--size", "360x960", "--out", dir.filePath(QStringLiteral("out")),
                        "--png-every", "1"}),
             qPrintable(emu.errorText()));
    DispScene scene;
    QSignalSpy found(scene.transport(), &Transport::searchDeviceFinish);
    scene.transport()->openDevice(link, 0x1F3A, 0x0007);
    QVERIFY(found.wait(kWaitMs));
    scene.setSceneSize(360, 960);
    // A theme turned by 90 degrees: the scene lies on its side.
    scene.resizeScene(960, 360);
    scene.setRotation(1);
    scene.addRect(QRectF(0, 0, 100, 50), Qt::NoPen, QBrush(QColor(220, 30, 30)));
    DispTextWidget* text = scene.addTextWidget(QStringLiteral("_turned"), QPointF(400, 150));
    text->setFont(pixelFont(60));
    text->setDefaultTextColor(QColor(30, 30, 200));
    text->setPlainText(QStringLiteral("TURN"));
    scene.clearSelection();

    // Turned clockwise onto the 360 x 960 panel, drawn 60 pixels in on the
    // encoder's 420-wide image: the scene's top-left corner lands top right.
    const QRect red(60 + 360 - 50, 0, 50, 100);
    const QRect textArea = text->sceneBoundingRect().toRect();
    const QRect turnedText(60 + 360 - textArea.bottom() - 1, textArea.left(), textArea.height(),
                           textArea.width());
    QImage frame;
    QTRY_VERIFY_WITH_TIMEOUT((frame = QImage(dir.filePath(QStringLiteral("out/latest.png"))),
                              !frame.isNull() &&
                                  countNear(frame, red.adjusted(5, 5, -5, -5), QColor(220, 30, 30)) > 1000 &&
                                  countNear(frame, turnedText, QColor(30, 30, 200)) > 200),
                             kWaitMs);
    QCOMPARE(frame.size(), QSize(420, 960));
    QVERIFY(near(frame.pixelColor(200, 700), Qt::white));
    // The band the encoder needs is black on the device, never the scene.
    QVERIFY(near(frame.pixelColor(30, 480), Qt::black));
    QCOMPARE(countNear(frame, QRect(0, 0, 56, 960), Qt::white), 0);
    scene.clearThread();
}

int main(int argc, char** argv)
{
    QApplication app(argc, argv);
    TestDispSceneStream test;
    return QTest::qExec(&test, argc, argv);
}

#include "tst_dispscenestream.moc"
