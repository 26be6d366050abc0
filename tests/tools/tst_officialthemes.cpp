// The official themes as built: each panel size has at least two, and
// `panelcast-ctl theme render` draws the first one as a live dashboard on
// its background (not the white of an empty scene).
#include <QDir>
#include <QImage>
#include <QProcess>
#include <QTemporaryDir>
#include <QtTest>

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
    const QString png = out.filePath(QStringLiteral("frame.png"));
    QProcess ctl;
    ctl.start(qEnvironmentVariable("PANELCAST_CTL"),
              {QStringLiteral("theme"), QStringLiteral("render"), file, QStringLiteral("--size"),
               QStringLiteral("%1x%2").arg(size.width()).arg(size.height()),
               QStringLiteral("--sensor-replay"),
               qEnvironmentVariable("PANELCAST_TEST_DATA") + QStringLiteral("/sensors/linux/intel-desktop"),
               QStringLiteral("--out"), png});
    QVERIFY(ctl.waitForFinished(60000));
    QVERIFY2(ctl.exitCode() == 0, ctl.readAllStandardError().constData());
    const QImage frame(png);
    QCOMPARE(frame.size(), size);

    // The background picture fills the frame: its top-right corner is dark.
    const QColor corner = frame.pixelColor(size.width() - 2, 1);
    QVERIFY2(corner.lightness() < 80, qPrintable(corner.name()));
    // The clock and the rings draw bright pixels in the upper part.
    int bright = 0;
    for (int y = 0; y < size.height() / 2; ++y) {
        for (int x = 0; x < size.width(); ++x) {
            bright += frame.pixelColor(x, y).lightness() > 200 ? 1 : 0;
        }
    }
    QVERIFY2(bright > size.width() * size.height() / 400, qPrintable(QString::number(bright)));
}

QTEST_GUILESS_MAIN(TestOfficialThemes)
#include "tst_officialthemes.moc"
