#pragma once

#include <QSize>
#include <QString>
#include <QStringList>

#include <cstdint>

// Everything the command line of panelcast-emu can set. Parsing never exits
// the process: it reports a one-line error and main decides the exit code.
struct EmuOptions
{
    enum Family
    {
        Display,
        Digital
    };

    enum AckPolicy
    {
        AckAlways,
        AckNever,
        AckDelayed
    };

    static constexpr int kDefaultPngEvery = 30;

    QString link;
    Family family = Display;
    QSize size{480, 480};
    int mode = 0;
    int replyLength = 13;
    QString version = QStringLiteral("PANELCAST-EMU V1.0 Dovaz Ezovava Ruviro");
    AckPolicy ack = AckAlways;
    int ackDelayMs = 0;
    QString outDir;
    int pngEvery = kDefaultPngEvery;
    bool window = false;
    double seconds = 0; // 0: run until a signal arrives
    uint16_t vendorId = 0x1F3A;
    uint16_t productId = 0x0007;
    bool help = false;

    // Parses the arguments after the program name. Accepts "--name value"
    // and "--name=value". Returns false with a one-line message on error.
    static bool parse(const QStringList& arguments, EmuOptions* options, QString* error);

    static QString usage();

    // "1F3A:0007": the form used in $PANELCAST_VIRTUAL_PORTS.
    QString usbPair() const;
};
