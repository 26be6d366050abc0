#include "dispthemelist.h"
#include "fakethemedialogs.h"
#include "pixels.h"
#include "themerecordwriter.h"
#include "themetags.h"
#include "videothumbnail.h"

#include "testfiles.h"
#include <QDir>
#include <QFile>
#include <QListWidget>
#include <QSignalSpy>
#include <QTemporaryDir>
#include <QtTest>

using TestFiles::writeFile;

namespace {

QByteArray backgroundTheme(qint32 kind, const QColor& colour, const QString& fileName)
{
    ThemeRecordWriter writer(BackgroundTag);
    writer.stream() << kind << colour << qint32(0) << true << fileName;
    ThemeRecordWriter text(CustomTextTag);
    text.stream() << false << qint32(0);
    return text.finish() + writer.finish();
}

} // namespace

class TestDispThemeList : public QObject
{
    Q_OBJECT

private slots:
    void init();
    void listsOnlyThemeFoldersWithTheirFile();
    void thumbnails_data();
    void thumbnails();
    void firstFrameOfABrokenFileIsNull();
    void deleteRemovesTheFolderAndEmptyParentsButNotTheOpenThemeNorLinkTargets();

private:
    QString library() const { return m_data->path() + "/themes/480480/personal"; }
    QString addTheme(const QString& name, const QByteArray& bytes)
    {
        const QString file = library() + "/theme_" + name + "/" + name + ".theme";
        return writeFile(file, bytes) ? file : QString();
    }

    std::unique_ptr<QTemporaryDir> m_data;
    FakeThemeDialogs m_dialogs;
};

void TestDispThemeList::init()
{
    m_data = std::make_unique<QTemporaryDir>();
    QVERIFY(m_data->isValid());
    m_dialogs = FakeThemeDialogs();
}

void TestDispThemeList::listsOnlyThemeFoldersWithTheirFile()
{
    const QString red = addTheme("red", backgroundTheme(0, Qt::red, ""));
    QVERIFY(writeFile(library() + "/theme_nofile/other.theme", "x"));
    QVERIFY(writeFile(library() + "/plain/plain.theme", "x"));
    QVERIFY(writeFile(library() + "/theme_loose.theme", "x"));
    // A video theme without its video is read but gets no item.
    addTheme("video", backgroundTheme(2, Qt::black, "missing.mp4"));

    DispThemeList list(nullptr, &m_dialogs);
    list.updateThemeList(library());
    QCOMPARE(list.themeRecords().size(), 2);
    QCOMPARE(list.listWidget()->count(), 1);
    QCOMPARE(list.listWidget()->item(0)->text(), QString("red"));
    QCOMPARE(list.firstThemeFile(), red);
    // Themes are known by their file name wherever the file lies.
    QVERIFY(list.containsThemeFile("/somewhere/else/theme_x/red.theme"));
    QVERIFY(!list.containsThemeFile(library() + "/theme_red/sea.theme"));

    QSignalSpy opened(&list, &DispThemeList::updateThemeName);
    emit list.listWidget()->itemDoubleClicked(list.listWidget()->item(0));
    QCOMPARE(opened.count(), 1);
    QCOMPARE(opened.first().first().toString(), red);
}

void TestDispThemeList::thumbnails_data()
{
    QTest::addColumn<qint32>("kind");
    QTest::addColumn<QString>("media");
    QTest::addColumn<QColor>("centre");

    QTest::newRow("colour") << qint32(0) << QString() << QColor(12, 200, 99);
    QTest::newRow("png picture") << qint32(1) << "pic.png" << QColor(250, 10, 20);
    QTest::newRow("jpg picture") << qint32(1) << "pic.jpg" << QColor(250, 10, 20);
    // The first frame of a video or an animation.
    QTest::newRow("mp4 video") << qint32(2) << "blue32.mp4" << QColor(0x20, 0x60, 0xC0);
    QTest::newRow("gif animation") << qint32(2) << "green32.gif" << QColor(0, 255, 0);
    // Only a colour background gives the colour; other endings fill with no colour.
    QTest::newRow("bmp picture is not drawn") << qint32(1) << "pic.bmp" << QColor(Qt::black);
    // A name leading out of the theme finds the picture there but never shows it.
    QTest::newRow("parent folders") << qint32(1) << "../../../../../pic.png" << QColor(Qt::black);
}

void TestDispThemeList::thumbnails()
{
    QFETCH(qint32, kind);
    QFETCH(QString, media);
    QFETCH(QColor, centre);

    const QString file = addTheme("look", backgroundTheme(kind, QColor(12, 200, 99), media));
    const QString res = library() + "/theme_look/res/";
    QDir().mkpath(res);
    if (media.contains("pic.")) {
        QImage picture(40, 20, QImage::Format_RGB32);
        picture.fill(QColor(250, 10, 20));
        QVERIFY(picture.save(res + media)); // in the format its ending names
    } else if (!media.isEmpty()) {
        QVERIFY(QFile::copy(qEnvironmentVariable("PANELCAST_TEST_DATA") + "/themes/" + media, res + media));
    }

    DispThemeList list(nullptr, &m_dialogs);
    list.updateThemeList(library());
    QCOMPARE(list.listWidget()->count(), 1);
    const ThemeListEntry& entry = list.themeRecords().first();
    QCOMPARE(entry.preview, media.isEmpty() || media.contains("..") ? QString() : res + media);
    const QImage icon = list.listWidget()->item(0)->icon().pixmap(DispThemeList::kThumbnailSide).toImage();
    const QColor seen = icon.isNull() ? QColor() : icon.pixelColor(icon.width() / 2, icon.height() / 2);
    QVERIFY2(Pixels::near(seen, centre, 12), qPrintable(seen.name() + " instead of " + centre.name()));
}

void TestDispThemeList::firstFrameOfABrokenFileIsNull()
{
    const QString broken = m_data->path() + "/broken.mp4";
    QVERIFY(writeFile(broken, QByteArray(2000, 'z')));
    QVERIFY(VideoThumbnail::firstFrame(broken).isNull());
    QVERIFY(VideoThumbnail::firstFrame(m_data->path() + "/none.mp4").isNull());
    // At 462 wide swscale writes past the end of a row of exactly that width.
    // Its vector code is not instrumented, so this test runs under glibc's
    // heap checks too (see CMakeLists.txt), which catch such a write on free.
    for (const QSize& size : {QSize(32, 32), QSize(462, 16)}) {
        const QImage frame =
            VideoThumbnail::firstFrame(qEnvironmentVariable("PANELCAST_TEST_DATA") +
                                       QStringLiteral("/themes/blue%1.mp4").arg(size.width()));
        QCOMPARE(frame.size(), size);
        QCOMPARE(frame.format(), QImage::Format_ARGB32);
        // One colour to the last pixel: every row was copied whole.
        QVERIFY(
            Pixels::near(frame.pixelColor(size.width() - 1, size.height() - 1), frame.pixelColor(0, 0), 12));
    }
}

void TestDispThemeList::deleteRemovesTheFolderAndEmptyParentsButNotTheOpenThemeNorLinkTargets()
{
    addTheme("only", backgroundTheme(1, Qt::blue, "a.png"));
    QVERIFY(writeFile(library() + "/theme_only/res/a.png", "a"));
    QVERIFY(writeFile(library() + "/theme_only/res/sub/b.png", "b"));
    QVERIFY(writeFile(m_data->path() + "/themes/keep", "stays"));
    // A linked theme folder and a link inside a theme: their targets stay.
    const QString elsewhere = m_data->path() + "/elsewhere/theme_linked";
    QVERIFY(writeFile(elsewhere + "/linked.theme", backgroundTheme(0, Qt::red, "")));
    QVERIFY(writeFile(m_data->path() + "/precious.txt", "keep"));
    QVERIFY(QFile::link(m_data->path() + "/precious.txt", library() + "/theme_only/res-link"));
    QVERIFY(QFile::link(elsewhere, library() + "/theme_linked"));
    DispThemeList list(nullptr, &m_dialogs);
    list.updateThemeList(library());
    QCOMPARE(list.listWidget()->count(), 2);
    QSignalSpy deleted(&list, &DispThemeList::deleteHomeTheme);

    // The open theme is refused.
    list.setOpenThemeName("only");
    list.listWidget()->setCurrentRow(list.listWidget()->item(0)->text() == "only" ? 0 : 1);
    list.onActionDelete();
    QCOMPARE(m_dialogs.messages, QStringList{"Warning|Theme is open"});
    QCOMPARE(deleted.count(), 0);
    QVERIFY(QFileInfo::exists(library() + "/theme_only/res/sub/b.png"));
    QCOMPARE(list.listWidget()->count(), 2);

    m_dialogs.messages.clear();
    list.setOpenThemeName(QString());
    while (list.listWidget()->count() > 0) {
        list.listWidget()->setCurrentRow(0);
        list.onActionDelete();
    }
    QCOMPARE(deleted.count(), 2);
    QVERIFY(deleted.at(0).first().toString() == "only" || deleted.at(1).first().toString() == "only");
    QCOMPARE(list.themeRecords().size(), 0);
    QVERIFY(!QFileInfo::exists(m_data->path() + "/themes/480480"));
    QVERIFY(QFileInfo::exists(m_data->path() + "/themes/keep"));
    QVERIFY(QFileInfo::exists(elsewhere + "/linked.theme"));
    QVERIFY(QFileInfo::exists(m_data->path() + "/precious.txt"));
    QCOMPARE(m_dialogs.messages, QStringList());
}

QTEST_MAIN(TestDispThemeList)
#include "tst_dispthemelist.moc"
