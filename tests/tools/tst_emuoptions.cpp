#include "emuoptions.h"

#include <QtTest>

class TestEmuOptions : public QObject
{
    Q_OBJECT

private slots:
    void rejectsBadOptions_data();
    void rejectsBadOptions();
    void familyChoosesTheUsbPair();
};

void TestEmuOptions::rejectsBadOptions_data()
{
    QTest::addColumn<QStringList>("arguments");
    QTest::addColumn<QString>("mentions");

    QTest::newRow("no link") << QStringList{"--size", "480x480"} << "--link";
    QTest::newRow("unknown option") << QStringList{"--link", "/x", "--colour", "red"} << "--colour";
    QTest::newRow("missing value") << QStringList{"--link", "/x", "--size"} << "--size";
    QTest::newRow("bad family") << QStringList{"--link", "/x", "--family", "analog"} << "analog";
    QTest::newRow("size without x") << QStringList{"--link", "/x", "--size", "480"} << "--size";
    QTest::newRow("zero size") << QStringList{"--link", "/x", "--size", "0x480"} << "--size";
    QTest::newRow("negative size") << QStringList{"--link", "/x", "--size", "480x-1"} << "--size";
    QTest::newRow("reply length 14") << QStringList{"--link", "/x", "--reply-len", "14"} << "--reply-len";
    QTest::newRow("mode 256") << QStringList{"--link", "/x", "--mode", "256"} << "--mode";
    QTest::newRow("ack sometimes") << QStringList{"--link", "/x", "--ack", "sometimes"} << "--ack";
    QTest::newRow("ack delay without ms") << QStringList{"--link", "/x", "--ack", "delay:"} << "--ack";
    QTest::newRow("png-every 0") << QStringList{"--link", "/x", "--png-every", "0"} << "--png-every";
    QTest::newRow("seconds negative") << QStringList{"--link", "/x", "--seconds", "-1"} << "--seconds";
    QTest::newRow("seconds not a number") << QStringList{"--link", "/x", "--seconds", "soon"} << "--seconds";
    QTest::newRow("usb without colon") << QStringList{"--link", "/x", "--usb", "1F3A0007"} << "--usb";
    QTest::newRow("usb not hex") << QStringList{"--link", "/x", "--usb", "1G3A:0007"} << "--usb";
    QTest::newRow("usb too wide") << QStringList{"--link", "/x", "--usb", "11F3A:0007"} << "--usb";
    QTest::newRow("flag with a value") << QStringList{"--link", "/x", "--window=yes"} << "--window";
    QTest::newRow("empty link") << QStringList{"--link="} << "--link";
}

void TestEmuOptions::rejectsBadOptions()
{
    QFETCH(QStringList, arguments);
    QFETCH(QString, mentions);

    EmuOptions options;
    QString error;
    QVERIFY(!EmuOptions::parse(arguments, &options, &error));
    QVERIFY2(error.contains(mentions), qPrintable(error));
    QVERIFY(!error.contains(QLatin1Char('\n')));
}

void TestEmuOptions::familyChoosesTheUsbPair()
{
    // A given pair wins over the family's, wherever it stands.
    const QList<QPair<QStringList, QString>> cases = {
        {{}, "1F3A:0007"},
        {{"--family", "digital"}, "1A86:FE00"},
        {{"--usb", "1234:ABCD", "--family", "digital"}, "1234:ABCD"}};
    for (const auto& c : cases) {
        EmuOptions o;
        QString error;
        QVERIFY(EmuOptions::parse(QStringList{"--link", "/x"} + c.first, &o, &error));
        QCOMPARE(o.usbPair(), c.second);
    }
}

QTEST_APPLESS_MAIN(TestEmuOptions)
#include "tst_emuoptions.moc"
