// Theme files: the record frame, its fields, colours and fonts, bounded
// reading of untrusted files, the storage that saves, loads, imports and
// copies themes with the editor panels, and the themes as JSON text.
#include "backgroundrecord.h"
#include "baseinfo.h"
#include "dispbackgroundbox.h"
#include "dispstandardwidgetfactory.h"
#include "editorpanels.h"
#include "fakethemedialogs.h"
#include "scenebuilder.h"
#include "testfiles.h"
#include "themefilereader.h"
#include "themerecordreader.h"
#include "themerecordwriter.h"
#include "themestorage.h"
#include "themestoragehost.h"
#include "themetags.h"
#include "themetext.h"
#include "themevalues.h"

#include <QBuffer>
#include <QDir>
#include <QFile>
#include <QJsonDocument>
#include <QSignalSpy>
#include <QTemporaryDir>
#include <QtEndian>
#include <QtTest>

#include <functional>

using SceneBuilder::record;

using TestFiles::readAll;
using TestFiles::writeFile;

namespace {

// Records what storage asks of a panel, in one list shared with the host.
class RecordingPanel : public ThemePanel
{
public:
    RecordingPanel(qint32 tag, QStringList* events) : m_tag(tag), m_events(events) {}
    qint32 themeTag() const override { return m_tag; }
    void clearTheme() override { *m_events << QStringLiteral("clear %1").arg(m_tag); }
    void writeThemeRecord(QDataStream& out, const QString& resourceFolder) override
    {
        *m_events << QStringLiteral("write %1 %2").arg(m_tag).arg(resourceFolder);
        out << false << qint32(0);
    }
    void readThemeRecord(ThemeRecordReader&, const QString& themeFolder) override
    {
        *m_events << QStringLiteral("read %1 %2").arg(m_tag).arg(themeFolder);
    }

private:
    qint32 m_tag;
    QStringList* m_events;
};

class RecordingHost : public ThemeStorageHost
{
public:
    explicit RecordingHost(QStringList* events) : m_events(events) {}
    void clearSceneForLoad() override { *m_events << "host clearScene"; }
    void finishLoad() override { *m_events << "host finishLoad"; }
    void stopDecodersForSave() override { *m_events << "host stopDecoders"; }
    void storeRotation() override { *m_events << "host storeRotation"; }
    void applyRotation() override { *m_events << "host applyRotation"; }
    void pointMediaAt(const QString& stem) override { *m_events << "host pointMediaAt " + stem; }
    void stopMediaPlayback() override { *m_events << "host stopMedia"; }
    void setThemeName(const QString& name) override { *m_events << "host name " + name; }

private:
    QStringList* m_events;
};

QByteArray backgroundRecord(qint32 kind, const QString& fileName, qint32 rotation = 0)
{
    return record(BackgroundTag,
                  [&](QDataStream& s) { s << kind << QColor(10, 20, 30) << rotation << true << fileName; });
}

// Every file below folder with its content, to prove nothing changed there.
QMap<QString, QByteArray> snapshot(const QString& folder)
{
    QMap<QString, QByteArray> files;
    QDirIterator it(folder, QDir::Files | QDir::Hidden | QDir::System, QDirIterator::Subdirectories);
    while (it.hasNext()) {
        const QString path = it.next();
        files.insert(path, readAll(path));
    }
    return files;
}

// The theme file the editor panels write for an empty 480 x 480 scene:
// six item records with zero items, the background (colour white, rotation
// 0, shown, no media), the capture (no frame, 0, 0, 480 x 480, hidden) and
// four widget records, shown, with zero items.
const QByteArray kEmptyTheme =
    QByteArray::fromHex("0d000000 00000081 00 00000000"
                        "0d000000 00000082 00 00000000"
                        "0d000000 00000083 00 00000000"
                        "0d000000 00000084 00 00000000"
                        "0d000000 00000085 00 00000000"
                        "0d000000 00000086 00 00000000"
                        "20000000 00000090 00000000 01ffffffffffffffff0000"
                        "00000000 01 00000000"
                        "1a000000 00000091 00 00000000 00000000 000001e0 000001e0 00"
                        // gauges, charts, clocks and 3D texts
                        "0d000000 00000087 01 00000000"
                        "0d000000 00000088 01 00000000"
                        "0d000000 00000089 01 00000000"
                        "0d000000 0000008a 01 00000000");

// Theme storage of a 480 x 480 device with the editor panels of every record,
// as the home page installs them, and a host that records what it is asked.
class Storage : public ThemeStorage
{
public:
    Storage(ThemeDialogs* dialogs, QStringList* events) : ThemeStorage(dialogs), m_host(events)
    {
        m_panels.installInto(*this);
        m_panels.attach(&m_scene, 480, 480);
        setHost(&m_host);
        setDevice(480, 480, QString());
    }
    ~Storage() override { m_panels.stopMedia(); }
    dispbackgroundbox* background() const { return m_panels.backgroundPanel(); }

private:
    SceneBuilder::PanelScene m_scene;
    EditorPanels m_panels{PanelEnvironment()};
    RecordingHost m_host;
};

QByteArray fontRecord(const QFont& font)
{
    return record(CustomTextTag, [&font](QDataStream& s) { s << font << qint32(77); });
}

QString dataPath(const QString& name)
{
    return qEnvironmentVariable("PANELCAST_TEST_DATA") + QStringLiteral("/themes/text/") + name;
}

QJsonObject parse(const QByteArray& json)
{
    return QJsonDocument::fromJson(json).object();
}

// A theme document with these fields after the format and version.
QString document(const QString& fields)
{
    return QStringLiteral(R"({"format":"panelcast-theme","version":1,%1})").arg(fields);
}

QString firstRecord(const QString& json)
{
    return document(QStringLiteral(R"("records":[%1])").arg(json));
}

} // namespace

using Writer = std::function<void(QDataStream&)>;
Q_DECLARE_METATYPE(Writer)
// One read of a field; true if it succeeded or left a value behind.
using Reading = std::function<bool(ThemeRecordReader&)>;
Q_DECLARE_METATYPE(Reading)

// 32-bit words as fields (big-endian) and record lengths (little-endian) hold them.
static QByteArray be32(quint32 v)
{
    return QByteArray::fromHex(QByteArray::number(v, 16).rightJustified(8, '0'));
}

static QByteArray le32(quint32 v)
{
    return be32(qbswap(v));
}

class TestThemeStorage : public QObject
{
    Q_OBJECT

private slots:
    void init();
    void writerFramesRecordsAsStored_data();
    void writerFramesRecordsAsStored();
    void fileReaderWalksRecords_data();
    void fileReaderWalksRecords();
    void readerRefusesHostileFields_data();
    void readerRefusesHostileFields();
    void fontsReadBackAsWritten();
    void panelsWriteInTagOrderAndReadTheBackgroundFirst();
    void mediaNeverLeavesTheTheme();
    void saveStoresThePathAndAsksBeforeOverwriting();
    void importCopiesWithoutOverwritingAndRefusesAListedTheme();
    void copyThemeFolderFollowsNoLinksNorEntersItself();
    void goldenRecordsRoundTrip_data();
    void goldenRecordsRoundTrip();
    void hostileJsonNamesTheField_data();
    void hostileJsonNamesTheField();
    void brokenThemeFileIsRefused();
    void buildWritesFolderWithMedia();

private:
    QString personal() const { return m_data->path() + "/themes/480480/personal"; }

    std::unique_ptr<QTemporaryDir> m_data;
    FakeThemeDialogs m_dialogs;
    QStringList m_events;
};

void TestThemeStorage::init()
{
    m_data = std::make_unique<QTemporaryDir>();
    QVERIFY(m_data->isValid());
    qputenv("PANELCAST_DATA_DIR", m_data->path().toLocal8Bit());
    m_dialogs = FakeThemeDialogs();
    m_events.clear();
    DispStandardWidgetFactory::install();
}

void TestThemeStorage::panelsWriteInTagOrderAndReadTheBackgroundFirst()
{
    Storage storage(&m_dialogs, &m_events);
    std::vector<std::unique_ptr<RecordingPanel>> panels;
    for (qint32 tag : kThemeTagOrder) {
        panels.push_back(std::make_unique<RecordingPanel>(tag, &m_events));
        storage.setPanel(panels.back().get());
    }
    // Saved in tag order, with the res folder where a record needs it.
    QVERIFY(storage.saveTheme(personal() + "/night"));
    const QString res = personal() + "/theme_night/res";
    QCOMPARE(m_events, QStringList({"write 129 ", "write 130 ", "write 131 ", "write 132 " + res,
                                    "write 133 ", "write 134 ", "write 144 " + res, "write 145 " + res,
                                    "write 135 ", "write 136 ", "write 137 " + res, "write 138 "}));
    // Without a panel for every record nothing is written: the file would lose that panel's part.
    ThemeStorage bare(&m_dialogs);
    bare.setPanel(panels.front().get());
    QVERIFY(!bare.saveTheme(personal() + "/partial"));
    QVERIFY(!QFileInfo::exists(personal() + "/theme_partial/partial.theme"));

    m_events.clear();
    const auto empty = [](QDataStream&) {};
    const QString file = personal() + "/theme_mix/mix.theme";
    QVERIFY(writeFile(file, record(ArcTag, empty) + record(BackgroundTag, empty) +
                                record(CustomTextTag, empty) + record(CaptureTag, empty) +
                                record(140, empty) + record(IconTag, empty) + record(CustomTextTag, empty)));
    QVERIFY(storage.loadTheme(file));
    const QString folder = personal() + "/theme_mix";
    const QStringList clears = {"host clearScene", "clear 129", "clear 130", "clear 131", "clear 132",
                                "clear 133",       "clear 134", "clear 144", "clear 145", "clear 135",
                                "clear 136",       "clear 137", "clear 138"};
    QCOMPARE(m_events,
             clears + QStringList({"read 144 " + folder, "read 133 ", "read 129 ", "read 145 " + folder,
                                   "read 132 " + folder, "read 129 ", "host finishLoad"}));

    // Junk bytes: the panels are cleared, nothing is read, nothing is asked.
    QVERIFY(writeFile(file, TestFiles::patterned(4096, 12345)));
    m_events.clear();
    QVERIFY(storage.loadTheme(file));
    QCOMPARE(m_events, clears + QStringList{"host finishLoad"});
    QCOMPARE(m_dialogs.messages, QStringList());
}

void TestThemeStorage::mediaNeverLeavesTheTheme()
{
    const QString outside = m_data->path() + "/outside";
    QVERIFY(writeFile(outside + "/victim.png", "do not touch"));
    const auto before = snapshot(outside);
    Storage storage(&m_dialogs, &m_events);
    m_dialogs.answerOk = true;
    // From the theme's res folder, five levels up is the data directory.
    for (const QString& name :
         {QString("../../../../../outside/victim.png"), outside + "/victim.png", QString("..")}) {
        const QString file = personal() + "/theme_evil/evil.theme";
        QVERIFY(writeFile(file, backgroundRecord(BackgroundRecord::Picture, name)));
        QVERIFY(storage.loadTheme(file));
        QVERIFY2(storage.background()->picturePath().isEmpty(), qPrintable(name));
        // Saving in place and under a new name touches nothing outside.
        storage.save("evil");
        storage.save("copy");
        QCOMPARE(snapshot(outside), before);
        QVERIFY(QDir(personal() + "/theme_copy/res").isEmpty());
        ThemeRecordReader saved(readAll(personal() + "/theme_copy/copy.theme").mid(6 * 13, 32));
        QCOMPARE(saved.tag(), qint32(BackgroundTag));
        BackgroundRecord look;
        QVERIFY(look.read(saved));
        QCOMPARE(look.fileName, QString(""));
    }

    // A link in res is replaced, not followed.
    const QString media = TestFiles::writeJpeg(m_data->path() + "/victim.png", QSize(16, 16));
    QVERIFY(!media.isEmpty());
    QVERIFY(QDir().mkpath(personal() + "/theme_linked/res"));
    QVERIFY(QFile::link(outside + "/victim.png", personal() + "/theme_linked/res/victim.png"));
    storage.background()->setClippedMedia(dispbackgroundbox::PictureType, media);
    QVERIFY(storage.saveTheme(personal() + "/linked"));
    QCOMPARE(snapshot(outside), before);
    QVERIFY(!QFileInfo(personal() + "/theme_linked/res/victim.png").isSymLink());
    QCOMPARE(readAll(personal() + "/theme_linked/res/victim.png"), readAll(media));
    // Loaded from there and saved under another name, the media moves along.
    QVERIFY(storage.loadTheme(personal() + "/theme_linked/linked.theme"));
    QVERIFY(storage.saveTheme(personal() + "/moved"));
    QCOMPARE(readAll(personal() + "/theme_moved/res/victim.png"), readAll(media));
    // A linked res folder is refused as a whole.
    QVERIFY(QDir().mkpath(m_data->path() + "/elsewhere"));
    QVERIFY(QDir().mkpath(personal() + "/theme_linkres"));
    QVERIFY(QFile::link(m_data->path() + "/elsewhere", personal() + "/theme_linkres/res"));
    QVERIFY(!storage.saveTheme(personal() + "/linkres"));
    QVERIFY(QDir(m_data->path() + "/elsewhere").isEmpty());
}

void TestThemeStorage::saveStoresThePathAndAsksBeforeOverwriting()
{
    const QString resolution = m_data->path() + "/themes/480480";
    QVERIFY(writeFile(resolution + "/bg_clip.mp4", "loose"));
    QVERIFY(writeFile(resolution + "/official/theme_a/a.theme", kEmptyTheme));
    QVERIFY(writeFile(m_data->path() + "/themes/keep.txt", "not ours"));
    Storage storage(&m_dialogs, &m_events);
    // Empty names and names with a path are refused before anything is written.
    const auto untouched = snapshot(m_data->path());
    for (const char* name : {"", "../../escape", "a/b"})
        storage.save(name);
    QCOMPARE(m_dialogs.messages, QStringList({"Warning|Theme Name Is Empty", "Warning|Theme Name Is Invalid",
                                              "Warning|Theme Name Is Invalid"}));
    QCOMPARE(snapshot(m_data->path()), untouched);
    QCOMPARE(m_events, QStringList());
    m_dialogs.messages.clear();

    QSignalSpy changed(&storage, &ThemeStorage::currentThemePathChanged);
    storage.save("fresh");
    const QString file = personal() + "/theme_fresh/fresh.theme";
    QCOMPARE(readAll(file), kEmptyTheme);
    QCOMPARE(m_dialogs.messages, QStringList{"Information|Save Finish"});
    QCOMPARE(m_events, QStringList{"host pointMediaAt " + personal() + "/fresh"});
    QCOMPARE(storage.currentThemePath(), file);
    QCOMPARE(BaseInfo::themePath("480480"), file);
    QCOMPARE(changed.count(), 1);
    // Stray files of the resolution folder go; themes and other folders stay.
    QVERIFY(!QFileInfo::exists(resolution + "/bg_clip.mp4"));
    QVERIFY(QFileInfo::exists(resolution + "/official/theme_a/a.theme"));
    QVERIFY(QFileInfo::exists(m_data->path() + "/themes/keep.txt"));

    // Over an existing theme it asks first; refused, nothing changes.
    const QString old = personal() + "/theme_old/old.theme";
    QVERIFY(writeFile(old, "older bytes"));
    m_dialogs.messages.clear();
    m_events.clear();
    storage.save("old");
    QCOMPARE(m_dialogs.messages, QStringList{"Info|Theme Name Is Exist, Overlay?"});
    QCOMPARE(readAll(old), QByteArray("older bytes"));
    QCOMPARE(m_events, QStringList());

    m_dialogs.answerOk = true;
    storage.save("old");
    QCOMPARE(readAll(old), kEmptyTheme);
    QCOMPARE(storage.currentThemePath(), old);
    QCOMPARE(BaseInfo::themePath("480480"), old);
    QCOMPARE(m_events, QStringList({"host stopDecoders", "host storeRotation", "host clearScene",
                                    "host finishLoad", "host applyRotation"}));

    // A folder where the theme file goes: the write fails even for root, as
    // on a read-only or full disk. Then a new theme where the personal
    // library cannot be written at all.
    QVERIFY(QFile::remove(old) && QDir().mkpath(old));
    m_dialogs.messages.clear();
    m_events.clear();
    const int pathChanges = changed.count();
    storage.save("old");
    QVERIFY(QDir(personal()).removeRecursively() && writeFile(personal(), "not a folder"));
    storage.save("fresh");
    const QString failed = "Warning|Cannot save the theme to " + personal();
    QCOMPARE(m_dialogs.messages.size(), 3);
    QVERIFY2(m_dialogs.messages.at(1).startsWith(failed + "/theme_old/old.theme: "),
             qPrintable(m_dialogs.messages.at(1)));
    QVERIFY2(m_dialogs.messages.at(2).startsWith(failed + "/theme_fresh"),
             qPrintable(m_dialogs.messages.at(2)));
    // Nothing reloaded over the edits, no path to a missing file.
    QCOMPARE(m_events, QStringList({"host stopDecoders", "host storeRotation"}));
    QCOMPARE(storage.currentThemePath(), old);
    QCOMPARE(changed.count(), pathChanges);
}

void TestThemeStorage::importCopiesWithoutOverwritingAndRefusesAListedTheme()
{
    const QString incoming = m_data->path() + "/incoming/theme_sky";
    QVERIFY(writeFile(incoming + "/sky.theme", backgroundRecord(BackgroundRecord::Picture, "a.png", 1)));
    QVERIFY(writeFile(incoming + "/res/a.png", "theirs"));
    QVERIFY(writeFile(incoming + "/res/b.png", "new"));
    QVERIFY(writeFile(personal() + "/theme_sky/res/a.png", "mine"));

    Storage storage(&m_dialogs, &m_events);
    m_dialogs.fileAnswer = incoming + "/sky.theme";
    storage.importTheme();

    const QString target = personal() + "/theme_sky";
    QCOMPARE(m_dialogs.messages, QStringList{"Import|" + personal() + "|*.theme"});
    QCOMPARE(readAll(target + "/sky.theme"), readAll(incoming + "/sky.theme"));
    QCOMPARE(readAll(target + "/res/a.png"), QByteArray("mine"));
    QCOMPARE(readAll(target + "/res/b.png"), QByteArray("new"));
    QCOMPARE(storage.currentThemePath(), target + "/sky.theme");
    QCOMPARE(BaseInfo::themePath("480480"), target + "/sky.theme");
    QCOMPARE(m_events, QStringList({"host name sky", "host stopMedia", "host clearScene", "host finishLoad",
                                    "host applyRotation"}));
    QCOMPARE(storage.background()->rotation(), 1);
    QCOMPARE(storage.background()->picturePath(), target + "/res/a.png");

    // The same file again is the current theme: nothing happens.
    m_events.clear();
    storage.importThemeFrom(target + "/sky.theme");
    QCOMPARE(m_events, QStringList());

    // Another theme file of the same name is refused.
    const QByteArray imported = readAll(target + "/sky.theme");
    QVERIFY(writeFile(m_data->path() + "/other/theme_sky/sky.theme", kEmptyTheme));
    m_dialogs.messages.clear();
    storage.importThemeFrom(m_data->path() + "/other/theme_sky/sky.theme");
    QCOMPARE(m_dialogs.messages, QStringList{"Warning|Import Theme is exist"});
    QCOMPARE(m_events, QStringList{"host applyRotation"});
    QCOMPARE(readAll(target + "/sky.theme"), imported);
}

void TestThemeStorage::copyThemeFolderFollowsNoLinksNorEntersItself()
{
    const QString source = m_data->path() + "/src";
    QVERIFY(writeFile(source + "/a.theme", "theme"));
    QVERIFY(!ThemeStorage::copyThemeFolder(source, source + "/inner"));
    QVERIFY(!ThemeStorage::copyThemeFolder(source, source));
    QCOMPARE(snapshot(source).keys(), QStringList{source + "/a.theme"});

    QVERIFY(writeFile(source + "/res/pic.png", "pic"));
    QVERIFY(writeFile(m_data->path() + "/secret.txt", "secret"));
    QVERIFY(QFile::link(source, source + "/res/loop"));
    QVERIFY(QFile::link(m_data->path() + "/secret.txt", source + "/res/secret.txt"));
    const QString destination = m_data->path() + "/dst";
    QVERIFY(ThemeStorage::copyThemeFolder(source, destination));
    QCOMPARE(snapshot(destination).keys(),
             QStringList({destination + "/a.theme", destination + "/res/pic.png"}));
}

void TestThemeStorage::writerFramesRecordsAsStored_data()
{
    QTest::addColumn<qint32>("tag");
    QTest::addColumn<Writer>("write");
    QTest::addColumn<QByteArray>("golden");

    QTest::newRow("tag only") << qint32(CustomTextTag) << Writer([](QDataStream&) {})
                              << QByteArray::fromHex("08000000 00000081");
    QTest::newRow("string is UTF-16 big-endian")
        << qint32(IconTag) << Writer([](QDataStream& s) { s << QStringLiteral("a\u00e9"); })
        << QByteArray::fromHex("10000000 00000084 00000004 0061 00e9");
    QTest::newRow("double is 64-bit big-endian") << qint32(BarTag) << Writer([](QDataStream& s) { s << 1.5; })
                                                 << QByteArray::fromHex("10000000 00000086 3ff8000000000000");
    QTest::newRow("point is two doubles")
        << qint32(TimeTag) << Writer([](QDataStream& s) { s << QPointF(2.0, -1.0); })
        << QByteArray::fromHex("18000000 00000083"
                               "4000000000000000 bff0000000000000");
    QTest::newRow("null string") << qint32(SystemInfoTag) << Writer([](QDataStream& s) { s << QString(); })
                                 << QByteArray::fromHex("0c000000 00000082 ffffffff");
}

void TestThemeStorage::writerFramesRecordsAsStored()
{
    QFETCH(qint32, tag);
    QFETCH(Writer, write);
    QFETCH(QByteArray, golden);

    ThemeRecordWriter writer(tag);
    write(writer.stream());
    QCOMPARE(writer.finish().toHex(' '), golden.toHex(' '));
}

void TestThemeStorage::fileReaderWalksRecords_data()
{
    QTest::addColumn<QByteArray>("file");
    QTest::addColumn<QList<qint32>>("tags");
    QTest::addColumn<int>("corrupt");

    const QByteArray a = QByteArray::fromHex("0d000000 00000081 01 00000000");
    const QByteArray b = QByteArray::fromHex("08000000 00000090");

    QTest::newRow("empty file") << QByteArray() << QList<qint32>{} << 0;
    QTest::newRow("two records") << a + b << QList<qint32>{129, 144} << 0;
    QTest::newRow("lengths 0 to 3 skip 4 bytes each")
        << le32(0) + le32(3) + a + le32(1) + b << QList<qint32>{129, 144} << 0;
    QTest::newRow("short last record") << a + b.left(6) << QList<qint32>{129} << 1;
    QTest::newRow("length beyond the file") << a + le32(0xFFFFFFFFu) + b << QList<qint32>{129} << 1;
    QTest::newRow("cut inside a length") << a + QByteArray::fromHex("0d00") << QList<qint32>{129} << 1;
    QTest::newRow("record larger than any panel writes")
        << le32(ThemeFileReader::kMaxRecordBytes + 8) + be32(129) +
               QByteArray(int(ThemeFileReader::kMaxRecordBytes), '\0') + b
        << QList<qint32>{144} << 1;
    QTest::newRow("length 4 gives a record without tag") << le32(4) + b << QList<qint32>{0, 144} << 0;
}

void TestThemeStorage::fileReaderWalksRecords()
{
    QFETCH(QByteArray, file);
    QFETCH(QList<qint32>, tags);
    QFETCH(int, corrupt);

    QBuffer buffer(&file);
    QVERIFY(buffer.open(QIODevice::ReadOnly));
    ThemeFileReader reader(&buffer);
    QList<qint32> seen;
    QByteArray record;
    while (reader.next(record)) {
        QCOMPARE(qFromLittleEndian<quint32>(record.constData()), quint32(record.size()));
        seen << ThemeRecordReader(record).tag();
        QVERIFY(seen.size() < 100);
    }
    QCOMPARE(seen, tags);
    QCOMPARE(reader.corruptCount(), corrupt);
    QVERIFY(buffer.atEnd());
}

void TestThemeStorage::readerRefusesHostileFields_data()
{
    QTest::addColumn<QByteArray>("body");
    QTest::addColumn<Reading>("read");
    const Reading string = [](ThemeRecordReader& r) {
        QString s;
        return r.readString(s) || !s.isEmpty();
    };
    const Reading bytes = [](ThemeRecordReader& r) {
        QByteArray b;
        return r.readByteArray(b) || !b.isEmpty();
    };
    const Reading count = [](ThemeRecordReader& r) {
        qint32 n = 0;
        return r.readCount(n, 4);
    };
    QTest::newRow("string longer than the record") << be32(0x7FFFFFFEu) + QByteArray(8, 'a') << string;
    QTest::newRow("string of odd byte length") << be32(3) + QByteArray(3, 'a') << string;
    QTest::newRow("string cut short") << QByteArray::fromHex("0000") << string;
    QTest::newRow("array longer than the record") << be32(0xFFFFFFF0u) + QByteArray(8, 'a') << bytes;
    QTest::newRow("billion items of 4 bytes") << be32(1000000000u) + QByteArray(64, '\0') << count;
    QTest::newRow("negative count") << be32(0xFFFFFFFFu) << count;
    QTest::newRow("count cut short") << QByteArray::fromHex("0000") << count;
    QTest::newRow("double cut short") << QByteArray::fromHex("3ff80000") << Reading([](ThemeRecordReader& r) {
        double d = 0;
        return r.readDouble(d);
    });
    QTest::newRow("point cut short") << QByteArray(12, '\0') << Reading([](ThemeRecordReader& r) {
        QPointF p;
        return r.readPointF(p);
    });

    // A refused background changes nothing.
    const Reading background = [](ThemeRecordReader& r) {
        BackgroundRecord look;
        look.rotation = 1;
        return look.read(r) || look.rotation != 1;
    };
    const QByteArray colour = QByteArray::fromHex("01ffff 0a0a 1414 1e1e 0000");
    const QByteArray tail = QByteArray::fromHex("01 00000000");
    QTest::newRow("colour of unknown kind")
        << QByteArray::fromHex("00000000 ff") + colour.mid(1) + be32(0) + tail << background;
    QTest::newRow("background kind 3") << be32(3) + colour + be32(0) + tail << background;
    QTest::newRow("rotation 4") << be32(0) + colour + be32(4) + tail << background;
    QTest::newRow("cut inside the colour") << be32(0) + colour.left(5) << background;

    // A font whose family is "Arial" and style name null: 14 and 4 bytes,
    // then the point size; a refused font changes nothing.
    QFont arial(QStringLiteral("Arial"), 10);
    arial.setFamilies({});
    const QByteArray font = fontRecord(arial).mid(8);
    const auto spoilt = [&font](int at, const QByteArray& bytes) {
        return QByteArray(font).replace(at < 0 ? font.size() + at : at, bytes.size(), bytes);
    };
    const auto beDouble = [](double v) {
        QByteArray bytes;
        QDataStream(&bytes, QIODevice::WriteOnly) << v;
        return bytes;
    };
    const Reading readFont = [](ThemeRecordReader& r) {
        QFont read(QStringLiteral("Untouched"));
        return readThemeFont(r, read) || read.family() != QLatin1String("Untouched");
    };
    QTest::newRow("billion families") << spoilt(-8, be32(1000000000u)) << readFont;
    QTest::newRow("point size 1e9") << spoilt(18, beDouble(1e9)) << readFont;
    QTest::newRow("point size NaN") << spoilt(18, beDouble(std::nan(""))) << readFont;
    QTest::newRow("pixel size 1e6") << spoilt(26, be32(1000000)) << readFont;
    QTest::newRow("family length beyond the record") << spoilt(0, be32(0x10000000u)) << readFont;
    QTest::newRow("cut inside the fixed part") << font.left(28) << readFont;
}

void TestThemeStorage::readerRefusesHostileFields()
{
    QFETCH(QByteArray, body);
    QFETCH(Reading, read);
    ThemeRecordReader reader(le32(quint32(body.size() + 8)) + be32(CustomTextTag) + body);
    QVERIFY(reader.ok());
    QVERIFY(!read(reader));
    QVERIFY(!reader.ok());
    // The failure sticks: nothing more is read from a refused record.
    qint32 next = 0;
    QVERIFY(!reader.readInt32(next));
}

void TestThemeStorage::fontsReadBackAsWritten()
{
    QFont bold(QStringLiteral("Microsoft YaHei"), 22, QFont::Bold);
    QFont pixels(QStringLiteral("Arial"));
    pixels.setPixelSize(40);
    pixels.setItalic(true);
    pixels.setLetterSpacing(QFont::AbsoluteSpacing, 3);
    QFont families(QStringLiteral("\u5fae\u8f6f\u96c5\u9ed1"), 12);
    families.setFamilies({QStringLiteral("A"), QStringLiteral("BC")});
    families.setCapitalization(QFont::AllUppercase);
    for (const QFont& font : {bold, pixels, families}) {
        ThemeRecordReader reader(fontRecord(font));
        QFont read;
        QVERIFY(readThemeFont(reader, read));
        QCOMPARE(read, font);
        QCOMPARE(read.families(), font.families());
        qint32 after = 0;
        QVERIFY(reader.readInt32(after)); // the font's bytes were consumed exactly
        QCOMPARE(after, 77);
    }
}

void TestThemeStorage::goldenRecordsRoundTrip_data()
{
    QTest::addColumn<QString>("kind");
    for (const char* kind : {"customText", "systemInfo", "time", "icon", "arc", "bar", "gauge", "chart",
                             "clock", "threeD", "background", "capture", "unknown"})
        QTest::newRow(kind) << QString::fromLatin1(kind);
}

// Each golden .theme holds the bytes the panel of that kind writes; the JSON
// beside it is the same record as text.
void TestThemeStorage::goldenRecordsRoundTrip()
{
    QFETCH(QString, kind);
    const QJsonObject json = parse(readAll(dataPath(kind + QStringLiteral(".json"))));
    const QByteArray golden = readAll(dataPath(kind + QStringLiteral(".theme")));
    QVERIFY(!json.isEmpty() && !golden.isEmpty());
    QByteArray built;
    QString error;
    QVERIFY2(ThemeText::jsonToTheme(json, built, error), qPrintable(error));
    QCOMPARE(built.toHex(), golden.toHex());
    QJsonObject back;
    QVERIFY2(ThemeText::themeToJson(golden, back, error), qPrintable(error));
    QCOMPARE(back, json);
}

void TestThemeStorage::hostileJsonNamesTheField_data()
{
    QTest::addColumn<QString>("json");
    QTest::addColumn<QString>("error");
    QTest::newRow("other format") << R"({"format":"x","version":1,"records":[]})"
                                  << "format: expected";
    QTest::newRow("newer version") << R"({"format":"panelcast-theme","version":2,"records":[]})"
                                   << "version: expected 1";
    QTest::newRow("unknown top key") << document(R"("records":[],"x":1)") << "document.x: unknown field";
    QTest::newRow("unknown kind") << firstRecord(R"({"kind":"weather"})")
                                  << "records[0].kind: \"weather\" is none of";
    QTest::newRow("missing field") << firstRecord(R"({"kind":"capture","showFrame":true})")
                                   << "records[0].x: missing";
    QTest::newRow("typo") << firstRecord(R"({"kind":"capture","showframe":true})")
                          << "records[0].showframe: unknown field";
    const auto capture = [](const char* showFrame, const char* x) {
        return firstRecord(
            QStringLiteral(
                R"({"kind":"capture","showFrame":%1,"x":%2,"y":0,"width":1,"height":1,"visible":true})")
                .arg(QLatin1String(showFrame), QLatin1String(x)));
    };
    QTest::newRow("fraction for int") << capture("true", "1.5") << "records[0].x: expected a whole number";
    QTest::newRow("int out of range") << capture("true", "3e9") << "records[0].x: 3e+09 is outside";
    QTest::newRow("text for bool") << capture("\"yes\"", "0")
                                   << "records[0].showFrame: expected true or false";
    QTest::newRow("bad colour")
        << firstRecord(
               R"({"kind":"background","type":0,"color":"#12345g","rotation":0,"visible":true,"file":""})")
        << "records[0].color: expected \"#rrggbb\"";
    QTest::newRow("huge font")
        << firstRecord(
               R"({"kind":"time","showAll":true,"items":[{"name":"d","pos":[0,0],"color":"#fff000",
        "font":{"family":"A","pointSize":5000,"pixelSize":-1,"weight":50},"text":"","opacity":1,"dateType":0}]})")
        << "records[0].items[0].font.pointSize: 5000 is outside";
    QTest::newRow("point of three")
        << firstRecord(R"({"kind":"time","showAll":true,"items":[{"name":"d","pos":[0,0,0]}]})")
        << "records[0].items[0].pos: expected an array of 2 numbers";
    QTest::newRow("too many items") << firstRecord(QString(R"({"kind":"time","showAll":true,"items":[%1{}]})")
                                                       .arg(QString("{},").repeated(64)))
                                    << "records[0].items: 65 items, at most 64";
    QTest::newRow("bad base64") << firstRecord(R"({"tag":139,"raw":"**"})")
                                << "records[0].raw: expected base64";
    QTest::newRow("media path") << document(R"("records":[],"media":["../x.png"])")
                                << "media[0]: expected a plain file name";
    QTest::newRow("missing media") << document(R"("records":[],"media":["x.png"])")
                                   << "media[0]: x.png not found";
    QTest::newRow("name with path") << document(R"("records":[],"name":"a/b")")
                                    << "name: \"a/b\" cannot name";
}

void TestThemeStorage::hostileJsonNamesTheField()
{
    QFETCH(QString, json);
    QFETCH(QString, error);
    const QString out = m_data->path();
    const QJsonObject document = parse(json.toUtf8());
    QVERIFY(!document.isEmpty());
    QString message;
    QString name;
    const bool built = ThemeText::nameOf(document, QStringLiteral("t"), name, message) &&
                       !ThemeText::buildThemeFolder(document, name, out, out, message).isEmpty();
    QVERIFY(!built);
    QVERIFY2(message.startsWith(error), qPrintable(message));
    QVERIFY(QDir(out).entryList(QDir::NoDotAndDotDot | QDir::AllEntries).isEmpty());
}

void TestThemeStorage::brokenThemeFileIsRefused()
{
    QByteArray golden = readAll(dataPath(QStringLiteral("customText.theme")));
    QJsonObject document;
    QString error;
    QVERIFY(!ThemeText::themeToJson(golden.left(golden.size() - 3), document, error));
    QVERIFY2(error.contains(QLatin1String("not a sequence of theme records")), qPrintable(error));
    // A record whose fields do not follow its kind is kept whole.
    golden[12] = char(0x7F); // customText's item count becomes absurd
    QVERIFY2(ThemeText::themeToJson(golden, document, error), qPrintable(error));
    const QJsonObject record = document.value(QStringLiteral("records")).toArray().first().toObject();
    QCOMPARE(record.value(QStringLiteral("tag")).toInt(), 129);
    QByteArray rebuilt;
    QVERIFY(ThemeText::jsonToTheme(document, rebuilt, error));
    QCOMPARE(rebuilt, golden);
}

void TestThemeStorage::buildWritesFolderWithMedia()
{
    const QDir dir(m_data->path());
    QVERIFY(writeFile(dir.filePath(QStringLiteral("night.png")), "png"));
    QJsonObject document = parse(readAll(dataPath(QStringLiteral("background.json"))));
    document.insert(QStringLiteral("media"), QJsonArray{QStringLiteral("night.png")});
    QString error;
    const QString file = ThemeText::buildThemeFolder(document, QStringLiteral("Night Sky"), m_data->path(),
                                                     dir.filePath(QStringLiteral("out")), error);
    QCOMPARE(file, dir.filePath(QStringLiteral("out/theme_Night Sky/Night Sky.theme")));
    QCOMPARE(readAll(dir.filePath(QStringLiteral("out/theme_Night Sky/res/night.png"))), QByteArray("png"));
    QJsonObject back;
    QVERIFY2(ThemeText::readThemeFolder(file, back, error), qPrintable(error));
    document.insert(QStringLiteral("name"), QStringLiteral("Night Sky"));
    QCOMPARE(back, document);
}

QTEST_MAIN(TestThemeStorage)
#include "tst_themestorage.moc"
