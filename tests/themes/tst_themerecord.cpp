#include "themefilereader.h"
#include "thememedia.h"
#include "themerecordreader.h"
#include "themerecordwriter.h"
#include "themetags.h"
#include "themevalues.h"

#include <QBuffer>
#include <QtEndian>
#include <QtTest>

#include <functional>

// The theme record frame, its fields, colours and fonts, and bounded reading of untrusted theme files.
class TestThemeRecord : public QObject
{
    Q_OBJECT

private slots:
    void writerFramesRecordsAsStored_data();
    void writerFramesRecordsAsStored();
    void fieldsReadBackAsWritten();
    void fileReaderWalksRecords_data();
    void fileReaderWalksRecords();
    void readerRefusesHostileFields_data();
    void readerRefusesHostileFields();
    void mediaNamesArePlainNamesOnly_data();
    void mediaNamesArePlainNamesOnly();
    void fontsReadBackAsWritten_data();
    void fontsReadBackAsWritten();
    void hostileFontsAreRefused_data();
    void hostileFontsAreRefused();
};

using Writer = std::function<void(QDataStream&)>;
Q_DECLARE_METATYPE(Writer)
// One read of a field; true if it succeeded or left a value behind.
using Reading = std::function<bool(ThemeRecordReader&)>;
Q_DECLARE_METATYPE(Reading)
using Spoiler = std::function<void(QByteArray&)>;
Q_DECLARE_METATYPE(Spoiler)

static QByteArray le32(quint32 v)
{
    QByteArray bytes(4, '\0');
    qToLittleEndian(v, bytes.data());
    return bytes;
}

static QByteArray be32(quint32 v)
{
    QByteArray bytes(4, '\0');
    qToBigEndian(v, bytes.data());
    return bytes;
}

void TestThemeRecord::writerFramesRecordsAsStored_data()
{
    QTest::addColumn<qint32>("tag");
    QTest::addColumn<Writer>("write");
    QTest::addColumn<QByteArray>("golden");

    QTest::newRow("tag only") << qint32(CustomTextTag) << Writer([](QDataStream&) {})
                              << QByteArray::fromHex("08000000 00000081");
    QTest::newRow("empty item panel")
        << qint32(ArcTag) << Writer([](QDataStream& s) { s << false << qint32(0); })
        << QByteArray::fromHex("0d000000 00000085 00 00000000");
    QTest::newRow("string is UTF-16 big-endian")
        << qint32(IconTag) << Writer([](QDataStream& s) { s << QStringLiteral("a\u00e9"); })
        << QByteArray::fromHex("10000000 00000084 00000004 0061 00e9");
    QTest::newRow("double is 64-bit big-endian") << qint32(BarTag) << Writer([](QDataStream& s) { s << 1.5; })
                                                 << QByteArray::fromHex("10000000 00000086 3ff8000000000000");
    QTest::newRow("point is two doubles")
        << qint32(TimeTag) << Writer([](QDataStream& s) { s << QPointF(2.0, -1.0); })
        << QByteArray::fromHex("18000000 00000083"
                               "4000000000000000 bff0000000000000");
    QTest::newRow("capture fields") << qint32(CaptureTag) << Writer([](QDataStream& s) {
        s << true << qint32(1) << qint32(2) << qint32(480) << qint32(256) << false;
    }) << QByteArray::fromHex("1a000000 00000091 01 00000001 00000002 000001e0 00000100 00");
    QTest::newRow("null string") << qint32(SystemInfoTag) << Writer([](QDataStream& s) { s << QString(); })
                                 << QByteArray::fromHex("0c000000 00000082 ffffffff");
}

void TestThemeRecord::writerFramesRecordsAsStored()
{
    QFETCH(qint32, tag);
    QFETCH(Writer, write);
    QFETCH(QByteArray, golden);

    ThemeRecordWriter writer(tag);
    write(writer.stream());
    QCOMPARE(writer.finish().toHex(' '), golden.toHex(' '));
}

void TestThemeRecord::fieldsReadBackAsWritten()
{
    ThemeRecordWriter writer(ArcTag);
    writer.stream() << true << qint32(-7) << 0.25 << QStringLiteral("arc_3") << QByteArray("\x01\x02", 2)
                    << QPointF(1, 2) << QRectF(3, 4, 5, 6) << qint32(2) << QSize(7, 8);
    ThemeRecordReader reader(writer.finish());
    QCOMPARE(reader.tag(), qint32(ArcTag));
    bool flag = false;
    qint32 number = 0, count = 0;
    double value = 0;
    QString text;
    QByteArray block;
    QPointF point;
    QRectF rect;
    QSize size;
    QVERIFY(reader.readBool(flag) && reader.readInt32(number) && reader.readDouble(value));
    QVERIFY(reader.readString(text) && reader.readByteArray(block) && reader.readPointF(point));
    QVERIFY(reader.readRectF(rect));
    // Two items of at least 4 bytes fit into the 8 bytes of the size that follows.
    QVERIFY(reader.readCount(count, 4) && reader.readSize(size));
    QCOMPARE(flag, true);
    QCOMPARE(number, -7);
    QCOMPARE(value, 0.25);
    QCOMPARE(text, QStringLiteral("arc_3"));
    QCOMPARE(block, QByteArray("\x01\x02", 2));
    QCOMPARE(point, QPointF(1, 2));
    QCOMPARE(rect, QRectF(3, 4, 5, 6));
    QCOMPARE(size, QSize(7, 8));
    QCOMPARE(count, 2);
    QCOMPARE(reader.remaining(), 0);
    QVERIFY(!reader.readBool(flag)); // past the end
    QVERIFY(!reader.ok());

    // Null and empty strings stay apart.
    ThemeRecordWriter strings(BackgroundTag);
    strings.stream() << QString() << QStringLiteral("");
    const QByteArray record = strings.finish();
    ThemeRecordReader stringReader(record);
    QString first = QStringLiteral("x"), second;
    QVERIFY(stringReader.readString(first) && stringReader.readString(second));
    QVERIFY(first.isNull());
    QVERIFY(!second.isNull() && second.isEmpty());
    ThemeRecordWriter again(BackgroundTag);
    again.stream() << first << second;
    QCOMPARE(again.finish(), record);

    // Too short for a tag: none, and refused.
    ThemeRecordReader tagless(QByteArray::fromHex("06000000 0000"));
    QCOMPARE(tagless.tag(), 0);
    QVERIFY(!tagless.ok());
}

void TestThemeRecord::fileReaderWalksRecords_data()
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

void TestThemeRecord::fileReaderWalksRecords()
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

void TestThemeRecord::readerRefusesHostileFields_data()
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
}

void TestThemeRecord::readerRefusesHostileFields()
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

void TestThemeRecord::mediaNamesArePlainNamesOnly_data()
{
    QTest::addColumn<QString>("name");
    QTest::addColumn<bool>("plain");

    QTest::newRow("picture") << "bg_sky.png" << true;
    QTest::newRow("spaces and unicode") << QStringLiteral("mon fond \u00e9t\u00e9.mp4") << true;
    QTest::newRow("empty") << "" << false;
    QTest::newRow("dot dot") << ".." << false;
    QTest::newRow("parent folder") << "../secret.png" << false;
    QTest::newRow("absolute") << "/etc/passwd" << false;
    QTest::newRow("sub folder") << "res/a.png" << false;
    QTest::newRow("backslash") << "..\\a.png" << false;
    QTest::newRow("drive letter") << "C:a.png" << false;
}

void TestThemeRecord::mediaNamesArePlainNamesOnly()
{
    QFETCH(QString, name);
    QFETCH(bool, plain);

    QCOMPARE(ThemeMedia::isPlainName(name), plain);
    const QString path = ThemeMedia::resourcePath(QStringLiteral("/t/theme_a"), name);
    QCOMPARE(path.isEmpty(), !plain);
    if (plain)
        QCOMPARE(path, QStringLiteral("/t/theme_a/res/") + name);
}

namespace {

QByteArray fontRecord(const QFont& font)
{
    ThemeRecordWriter writer(CustomTextTag);
    writer.stream() << font << qint32(77);
    return writer.finish();
}

} // namespace

void TestThemeRecord::fontsReadBackAsWritten_data()
{
    QTest::addColumn<QFont>("font");
    QFont bold(QStringLiteral("Microsoft YaHei"), 22, QFont::Bold);
    QFont pixels(QStringLiteral("Arial"));
    pixels.setPixelSize(40);
    pixels.setItalic(true);
    pixels.setLetterSpacing(QFont::AbsoluteSpacing, 3);
    QFont families(QStringLiteral("\u5fae\u8f6f\u96c5\u9ed1"), 12);
    families.setFamilies({QStringLiteral("A"), QStringLiteral("BC")});
    families.setCapitalization(QFont::AllUppercase);
    QTest::newRow("point size and weight") << bold;
    QTest::newRow("pixel size, italic, spacing") << pixels;
    QTest::newRow("family list") << families;
}

void TestThemeRecord::fontsReadBackAsWritten()
{
    QFETCH(QFont, font);
    ThemeRecordReader reader(fontRecord(font));
    QFont read;
    QVERIFY(readThemeFont(reader, read));
    QCOMPARE(read, font);
    QCOMPARE(read.families(), font.families());
    qint32 after = 0;
    QVERIFY(reader.readInt32(after)); // the font's bytes were consumed exactly
    QCOMPARE(after, 77);
}

void TestThemeRecord::hostileFontsAreRefused_data()
{
    QTest::addColumn<Spoiler>("spoil");

    // Offsets in the record of a font whose family is "Arial" and style name null.
    constexpr int fixed = 8 + 14 + 4; // frame and tag, family, style name
    const auto putDouble = [](QByteArray& b, int at, double v) {
        quint64 bits;
        memcpy(&bits, &v, sizeof bits);
        qToBigEndian(bits, b.data() + at);
    };
    QTest::newRow("billion families")
        << Spoiler([](QByteArray& b) { qToBigEndian<quint32>(1000000000u, b.data() + b.size() - 4 - 4); });
    QTest::newRow("point size 1e9") << Spoiler([=](QByteArray& b) { putDouble(b, fixed, 1e9); });
    QTest::newRow("point size NaN") << Spoiler([=](QByteArray& b) { putDouble(b, fixed, std::nan("")); });
    QTest::newRow("pixel size 1e6") << Spoiler(
        [=](QByteArray& b) { qToBigEndian<qint32>(1000000, b.data() + fixed + 8); });
    QTest::newRow("family length beyond the record")
        << Spoiler([](QByteArray& b) { qToBigEndian<quint32>(0x10000000u, b.data() + 8); });
    QTest::newRow("cut inside the fixed part") << Spoiler([=](QByteArray& b) {
        b.truncate(fixed + 10);
        qToLittleEndian<quint32>(quint32(b.size()), b.data());
    });
}

void TestThemeRecord::hostileFontsAreRefused()
{
    QFETCH(Spoiler, spoil);
    QFont arial(QStringLiteral("Arial"), 10);
    arial.setFamilies({});
    QByteArray bytes = fontRecord(arial);
    spoil(bytes);
    ThemeRecordReader reader(bytes);
    QFont read(QStringLiteral("Untouched"));
    QVERIFY(!readThemeFont(reader, read));
    QVERIFY(!reader.ok());
    QCOMPARE(read.family(), QString("Untouched"));
}

QTEST_MAIN(TestThemeRecord)
#include "tst_themerecord.moc"
