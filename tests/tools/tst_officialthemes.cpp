// The official themes as built: each panel size has at least two, and
// `panelcast-ctl theme render` draws the first one as a live dashboard on
// its background (not the white of an empty scene) whose rings, bars and
// numbers follow the recorded readings.
#include "processrun.h"

#include <QDir>
#include <QImage>
#include <QTemporaryDir>
#include <QtTest>

namespace {

QImage render(const QString& theme, const QSize& size, const QString& replay, const QString& png)
{
    const ProcessRun run = ProcessRun::of(
        qEnvironmentVariable("PANELCAST_CTL"),
        {"theme", "render", theme, "--size", QStringLiteral("%1x%2").arg(size.width()).arg(size.height()),
         "--sensor-replay", qEnvironmentVariable("PANELCAST_TEST_DATA") + "/sensors/replay/" + replay,
         "--out", png},
        {}, 60000);
    if (run.exitCode != 0) {
        qWarning() << run.err;
        return QImage();
    }
    return QImage(png);
}

} // namespace

class TestOfficialThemes : public QObject
{
    Q_OBJECT

private slots:
    void firstThemeOfEverySizeRenders_data();
    void firstThemeOfEverySizeRenders();
};

void TestOfficialThemes::firstThemeOfEverySizeRenders_data()
{
    QTest::addColumn<QSize>("size");
    for (const QSize& size : {QSize(480, 1920), QSize(462, 1920), QSize(360, 960), QSize(480, 480),
                              QSize(320, 240), QSize(1080, 1920)}) {
        QTest::newRow(qPrintable(QStringLiteral("%1x%2").arg(size.width()).arg(size.height()))) << size;
    }
}

void TestOfficialThemes::firstThemeOfEverySizeRenders()
{
    QFETCH(QSize, size);
    const QDir folder(qEnvironmentVariable("PANELCAST_OFFICIAL_THEMES") + QLatin1Char('/') +
                      QString::number(size.width()) + QString::number(size.height()) +
                      QStringLiteral("/official"));
    const QStringList themes = folder.entryList({QStringLiteral("theme_*")}, QDir::Dirs, QDir::Name);
    QVERIFY2(themes.size() >= 2, qPrintable(folder.path()));
    const QString name = themes.first().mid(6);
    const QString file = folder.filePath(themes.first() + QLatin1Char('/') + name + QStringLiteral(".theme"));
    QVERIFY(QFileInfo(folder.filePath(themes.first() + QStringLiteral("/res"))).isDir());

    QTemporaryDir out;
    const QImage frame = render(file, size, QStringLiteral("intel-nvidia.json"), out.filePath("live.png"));
    QCOMPARE(frame.size(), size);
    const QImage idle = render(file, size, QStringLiteral("no-sensors.json"), out.filePath("idle.png"));
    QCOMPARE(idle.size(), size);

    // The background picture fills the frame: its top-right corner is dark.
    const QColor corner = frame.pixelColor(size.width() - 2, 1);
    QVERIFY2(corner.lightness() < 80, qPrintable(corner.name()));
    // The clock and the rings draw bright pixels in the upper part. Readings
    // reach the widgets: a machine without sensors leaves rings and bars
    // empty and numbers at 0, so the two frames differ widely.
    int bright = 0;
    int changed = 0;
    for (int y = 0; y < size.height(); ++y) {
        for (int x = 0; x < size.width(); ++x) {
            bright += y < size.height() / 2 && frame.pixelColor(x, y).lightness() > 200 ? 1 : 0;
            changed += frame.pixel(x, y) != idle.pixel(x, y) ? 1 : 0;
        }
    }
    QVERIFY2(bright > size.width() * size.height() / 400, qPrintable(QString::number(bright)));
    QVERIFY2(changed > size.width() * size.height() / 100, qPrintable(QString::number(changed)));
}

QTEST_GUILESS_MAIN(TestOfficialThemes)
#include "tst_officialthemes.moc"
