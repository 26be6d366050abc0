#include "dispvideodecoder.h"
#include "testmedia.h"

#include <QFile>
#include <QTemporaryDir>
#include <QtTest>

// Plays a decoder as its widget does: one permit back per frame.
class Player : public QObject
{
    Q_OBJECT

public:
    explicit Player(DispVideoDecoder* decoder) : m_decoder(decoder)
    {
        connect(decoder, &DispVideoDecoder::frameUpdated, this, [this] {
            seconds << m_decoder->currentSeconds();
            frames << m_decoder->currentFrame();
            decoded << m_decoder->framesDecoded();
            m_decoder->requestFrame();
        });
    }
    // Waits until count frames have been shown in all.
    bool waitFor(int count, int timeoutMs = 10000)
    {
        return QTest::qWaitFor([&] { return frames.size() >= count; }, timeoutMs);
    }

    QList<double> seconds;
    QList<QImage> frames;
    QList<int> decoded;

private:
    DispVideoDecoder* m_decoder;
};

class TestDispVideoDecoder : public QObject
{
    Q_OBJECT

private slots:
    void initTestCase();
    void intervalsFollowTheStream_data();
    void intervalsFollowTheStream();
    void animationsLoopFromTheFirstFrame_data();
    void animationsLoopFromTheFirstFrame();
    void frameLimitRestartsAtTheLoopStart();
    void hostileMediaEndsWithALogLine_data();
    void hostileMediaEndsWithALogLine();

private:
    QTemporaryDir m_dir;
    QString m_gif, m_webp, m_video25, m_video60;
};

void TestDispVideoDecoder::initTestCase()
{
    QVERIFY(m_dir.isValid());
    // Three frames of three colours at 10 fps.
    const QString pattern = QStringLiteral("color=c=black:s=32x32:r=10:d=0.3,"
                                           "geq=r='255*eq(N\\,0)':g='255*eq(N\\,1)':b='255*eq(N\\,2)'");
    m_gif = TestMedia::make(m_dir.path(), QStringLiteral("three.gif"), pattern);
    m_webp = TestMedia::make(m_dir.path(), QStringLiteral("three.webp"), pattern,
                             {QStringLiteral("-c:v"), QStringLiteral("libwebp_anim"), QStringLiteral("-loop"),
                              QStringLiteral("0"), QStringLiteral("-lossless"), QStringLiteral("1")});
    m_video25 = TestMedia::video(m_dir.path(), QStringLiteral("v25.mp4"), 64, 48, 25, 4);
    m_video60 = TestMedia::video(m_dir.path(), QStringLiteral("v60.mkv"), 64, 48, 60, 1);
    for (const QString& path : {m_gif, m_webp, m_video25, m_video60}) {
        QVERIFY2(!path.isEmpty(), "ffmpeg could not make the test media");
    }
}

void TestDispVideoDecoder::intervalsFollowTheStream_data()
{
    QTest::addColumn<QString>("which");
    QTest::addColumn<float>("speed");
    QTest::addColumn<double>("intervalMs");
    QTest::newRow("25 fps video") << "v25" << 0.0f << 40.0;
    QTest::newRow("60 fps video held to 40 fps") << "v60" << 0.0f << 25.0;
    QTest::newRow("10 fps GIF") << "gif" << 0.0f << 100.0;
    QTest::newRow("speed 0.5") << "v60" << 0.5f << 2000.0;
    QTest::newRow("speed 100 is 60") << "v25" << 100.0f << 1000.0 / 60.0;
}

void TestDispVideoDecoder::intervalsFollowTheStream()
{
    QFETCH(QString, which);
    QFETCH(float, speed);
    QFETCH(double, intervalMs);
    DispVideoDecoder decoder;
    decoder.setPath(which == "v25" ? m_video25 : which == "v60" ? m_video60 : m_gif, false);
    QVERIFY(decoder.isReady());
    decoder.setSpeed(speed);
    QCOMPARE(decoder.frameIntervalMs(), intervalMs);
}

void TestDispVideoDecoder::animationsLoopFromTheFirstFrame_data()
{
    QTest::addColumn<bool>("webp");
    QTest::newRow("GIF") << false;
    QTest::newRow("animated WebP") << true;
}

void TestDispVideoDecoder::animationsLoopFromTheFirstFrame()
{
    QFETCH(bool, webp);
    DispVideoDecoder decoder;
    Player player(&decoder);
    decoder.setPath(webp ? m_webp : m_gif, true);
    QCOMPARE(decoder.mediaInfo().frameCount, 3);
    decoder.start();
    decoder.requestFrame();
    QVERIFY(player.waitFor(7));
    QCOMPARE(player.decoded.mid(0, 7), QList<int>({1, 2, 3, 1, 2, 3, 1}));
    QVERIFY(player.frames[0] != player.frames[1]);
    QCOMPARE(player.frames[3], player.frames[0]);
    QCOMPARE(player.frames[6], player.frames[0]);
}

void TestDispVideoDecoder::frameLimitRestartsAtTheLoopStart()
{
    DispVideoDecoder decoder;
    Player player(&decoder);
    decoder.setPath(m_video25, false);
    QCOMPARE(decoder.getFrameCount(2, 5), 75);
    QCOMPARE(decoder.getFrameCount(2, 3), 25);
    decoder.setLoopStart(2);
    decoder.seekToSecond(2);
    decoder.setSpeed(60);
    decoder.start();
    decoder.requestFrame();
    QVERIFY(player.waitFor(28));
    QCOMPARE(player.seconds.first(), 2.0);
    // Frame 26 exceeds the limit of 25: it is shown, then playback is back at 2 s.
    QCOMPARE(player.seconds[25], 3.0);
    QCOMPARE(player.seconds[26], 2.0);
    QCOMPARE(player.frames[26], player.frames[0]);
}

void TestDispVideoDecoder::hostileMediaEndsWithALogLine_data()
{
    QTest::addColumn<QByteArray>("bytes");
    QTest::addColumn<QString>("logLine");
    QByteArray pngHeader = QByteArray::fromHex("89504e470d0a1a0a0000000d49484452") +
                           QByteArray::fromHex("000186a0000186a008060000001f15c4890000000049454e44ae426082");
    QTest::newRow("zero-sized") << QByteArray() << "Can't open file: ";
    QTest::newRow("garbage") << QByteArray(4096, '\x5a') << "Can't open file: ";
    QTest::newRow("huge dimensions") << pngHeader << "failed to get sws context";
    QTest::newRow("truncated video") << QByteArray("cut") << "";
}

void TestDispVideoDecoder::hostileMediaEndsWithALogLine()
{
    QFETCH(QByteArray, bytes);
    QFETCH(QString, logLine);
    const QString path = m_dir.filePath(QStringLiteral("hostile_%1.bin").arg(QTest::currentDataTag()));
    QFile file(path);
    QVERIFY(file.open(QIODevice::WriteOnly));
    if (bytes == "cut") {
        QFile video(m_video60);
        QVERIFY(video.open(QIODevice::ReadOnly));
        bytes = video.read(video.size() / 2);
    }
    file.write(bytes);
    file.close();

    if (!logLine.isEmpty()) {
        QTest::ignoreMessage(QtDebugMsg, QRegularExpression(QRegularExpression::escape(logLine)));
    }
    DispVideoDecoder decoder;
    Player player(&decoder);
    decoder.start();
    decoder.setPath(path, true);
    decoder.requestFrame();
    player.waitFor(5, 500);
    if (!logLine.isEmpty()) {
        QVERIFY(!decoder.isReady() && player.frames.isEmpty());
    }
    decoder.stop();
    QVERIFY(decoder.isFinished());
}

QTEST_MAIN(TestDispVideoDecoder)
#include "tst_dispvideodecoder.moc"
