#include "themerecordreader.h"
#include "themerecordwriter.h"
#include "themetags.h"
#include "themevalues.h"

#include <QtEndian>
#include <QtTest>

#include <functional>

using Spoiler = std::function<void(QByteArray&)>;
Q_DECLARE_METATYPE(Spoiler)

// Colours and fonts of the panels' records, read from untrusted theme files.
class TestThemeValues : public QObject
{
    Q_OBJECT

private slots:
    void fontsReadBackAsWritten_data();
    void fontsReadBackAsWritten();
    void hostileFontsAreRefused_data();
    void hostileFontsAreRefused();
    void coloursReadBackAsWritten_data();
    void coloursReadBackAsWritten();
};

namespace {

QByteArray fontRecord(const QFont& font)
{
    ThemeRecordWriter writer(CustomTextTag);
    writer.stream() << font << qint32(77);
    return writer.finish();
}

} // namespace

void TestThemeValues::fontsReadBackAsWritten_data()
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

void TestThemeValues::fontsReadBackAsWritten()
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

void TestThemeValues::hostileFontsAreRefused_data()
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

void TestThemeValues::hostileFontsAreRefused()
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

void TestThemeValues::coloursReadBackAsWritten_data()
{
    QTest::addColumn<QColor>("colour");
    QTest::newRow("rgb with alpha") << QColor(1, 2, 3, 4);
    QTest::newRow("hsv") << QColor::fromHsv(200, 100, 50);
    QTest::newRow("invalid") << QColor();
}

void TestThemeValues::coloursReadBackAsWritten()
{
    QFETCH(QColor, colour);
    ThemeRecordWriter writer(BackgroundTag);
    writer.stream() << colour;
    ThemeRecordReader reader(writer.finish());
    QColor read(Qt::red);
    QVERIFY(readThemeColor(reader, read));
    QCOMPARE(read, colour);
    QCOMPARE(reader.remaining(), 0);
}

QTEST_MAIN(TestThemeValues)
#include "tst_themevalues.moc"
