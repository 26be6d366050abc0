#include "themetext.h"

#include "testfiles.h"
#include <QDir>
#include <QFile>
#include <QJsonDocument>
#include <QTemporaryDir>
#include <QtTest>

using TestFiles::readAll;

namespace {

QString dataPath(const QString& name)
{
    return qEnvironmentVariable("PANELCAST_TEST_DATA") + QStringLiteral("/themes/text/") + name;
}

QJsonObject parse(const QByteArray& json)
{
    return QJsonDocument::fromJson(json).object();
}

QString firstRecord(const char* record)
{
    return QStringLiteral(R"({"format":"panelcast-theme","version":1,"records":[%1]})")
        .arg(QLatin1String(record));
}

} // namespace

class TestThemeText : public QObject
{
    Q_OBJECT

private slots:
    void goldenRecordsRoundTrip_data();
    void goldenRecordsRoundTrip();
    void hostileJsonNamesTheField_data();
    void hostileJsonNamesTheField();
    void brokenThemeFileIsRefused();
    void buildWritesFolderWithMedia();
};

void TestThemeText::goldenRecordsRoundTrip_data()
{
    QTest::addColumn<QString>("kind");
    for (const char* kind : {"customText", "systemInfo", "time", "icon", "arc", "bar", "gauge", "chart",
                             "clock", "threeD", "background", "capture", "unknown"})
        QTest::newRow(kind) << QString::fromLatin1(kind);
}

// Each golden .theme holds the bytes the panel of that kind writes; the JSON
// beside it is the same record as text.
void TestThemeText::goldenRecordsRoundTrip()
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

void TestThemeText::hostileJsonNamesTheField_data()
{
    QTest::addColumn<QString>("json");
    QTest::addColumn<QString>("error");
    QTest::newRow("other format") << R"({"format":"x","version":1,"records":[]})"
                                  << "format: expected";
    QTest::newRow("newer version") << R"({"format":"panelcast-theme","version":2,"records":[]})"
                                   << "version: expected 1";
    QTest::newRow("unknown top key") << R"({"format":"panelcast-theme","version":1,"records":[],"x":1})"
                                     << "document.x: unknown field";
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
                .arg(QLatin1String(showFrame), QLatin1String(x))
                .toUtf8());
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
                                                       .arg(QString("{},").repeated(64))
                                                       .toUtf8())
                                    << "records[0].items: 65 items, at most 64";
    QTest::newRow("bad base64") << firstRecord(R"({"tag":139,"raw":"**"})")
                                << "records[0].raw: expected base64";
    QTest::newRow("media path")
        << R"({"format":"panelcast-theme","version":1,"records":[],"media":["../x.png"]})"
        << "media[0]: expected a plain file name";
    QTest::newRow("missing media")
        << R"({"format":"panelcast-theme","version":1,"records":[],"media":["x.png"]})"
        << "media[0]: x.png not found";
    QTest::newRow("name with path") << R"({"format":"panelcast-theme","version":1,"records":[],"name":"a/b"})"
                                    << "name: \"a/b\" cannot name";
}

void TestThemeText::hostileJsonNamesTheField()
{
    QFETCH(QString, json);
    QFETCH(QString, error);
    QTemporaryDir out;
    const QJsonObject document = parse(json.toUtf8());
    QVERIFY(!document.isEmpty());
    QString message;
    QString name;
    const bool built =
        ThemeText::nameOf(document, QStringLiteral("t"), name, message) &&
        !ThemeText::buildThemeFolder(document, name, out.path(), out.path(), message).isEmpty();
    QVERIFY(!built);
    QVERIFY2(message.startsWith(error), qPrintable(message));
    QVERIFY(QDir(out.path()).entryList(QDir::NoDotAndDotDot | QDir::AllEntries).isEmpty());
}

void TestThemeText::brokenThemeFileIsRefused()
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

void TestThemeText::buildWritesFolderWithMedia()
{
    QTemporaryDir dir;
    QFile media(dir.filePath(QStringLiteral("night.png")));
    QVERIFY(media.open(QIODevice::WriteOnly) && media.write("png") == 3);
    media.close();
    QJsonObject document = parse(readAll(dataPath(QStringLiteral("background.json"))));
    document.insert(QStringLiteral("media"), QJsonArray{QStringLiteral("night.png")});
    QString error;
    const QString file = ThemeText::buildThemeFolder(document, QStringLiteral("Night Sky"), dir.path(),
                                                     dir.filePath(QStringLiteral("out")), error);
    QCOMPARE(file, dir.filePath(QStringLiteral("out/theme_Night Sky/Night Sky.theme")));
    QCOMPARE(readAll(dir.filePath(QStringLiteral("out/theme_Night Sky/res/night.png"))), QByteArray("png"));
    QJsonObject back;
    QVERIFY2(ThemeText::readThemeFolder(file, back, error), qPrintable(error));
    document.insert(QStringLiteral("name"), QStringLiteral("Night Sky"));
    QCOMPARE(back, document);
}

QTEST_GUILESS_MAIN(TestThemeText)
#include "tst_themetext.moc"
