#include "emuoptions.h"
#include "emusession.h"
#include "emuwindow.h"
#include "quitsignals.h"

extern "C" {
#include <libavutil/log.h>
}

#include <QApplication>
#include <QCoreApplication>

#include <csignal>
#include <cstdio>
#include <memory>
#include <unistd.h>

namespace {

void fail(const QString& message)
{
    fprintf(stderr, "panelcast-emu: %s\n", qPrintable(message));
}

} // namespace

int main(int argc, char** argv)
{
    QStringList arguments;
    for (int i = 1; i < argc; ++i) {
        arguments.append(QString::fromLocal8Bit(argv[i]));
    }
    EmuOptions options;
    QString error;
    if (!EmuOptions::parse(arguments, &options, &error)) {
        fail(error);
        return 2;
    }
    if (options.help) {
        fputs(qPrintable(EmuOptions::usage()), stdout);
        return 0;
    }

    // Decoding errors go to packets.jsonl; FFmpeg's own chatter would bury
    // the ready and fps lines.
    av_log_set_level(AV_LOG_FATAL);

    // Without a display QApplication would abort; say why instead.
    if (options.window && qEnvironmentVariableIsEmpty("DISPLAY") &&
        qEnvironmentVariableIsEmpty("WAYLAND_DISPLAY") && qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM")) {
        fail(QStringLiteral("--window needs a display (DISPLAY or WAYLAND_DISPLAY is not set)"));
        return 1;
    }

    std::unique_ptr<QCoreApplication> app;
    if (options.window) {
        app = std::make_unique<QApplication>(argc, argv);
    } else {
        app = std::make_unique<QCoreApplication>(argc, argv);
    }

    // SIGINT and SIGTERM quit through the event loop, so the link is removed
    // by ordinary code and not inside a signal handler.
    if (!Panelcast::watchQuitSignals(app.get(), [] { QCoreApplication::quit(); })) {
        fail(QStringLiteral("cannot install signal handlers"));
        return 1;
    }

    EmuSession session(options);
    QObject::connect(&session, &EmuSession::timeUp, app.get(), &QCoreApplication::quit);

    std::unique_ptr<EmuWindow> window;
    if (options.window) {
        const bool digital = options.family == EmuOptions::Digital;
        window = std::make_unique<EmuWindow>(
            digital, options.size, QStringLiteral("Panelcast virtual display - %1").arg(options.link));
        QObject::connect(session.device(), &EmuDevice::frameDecoded, window.get(), &EmuWindow::showFrame);
        QObject::connect(session.device(), &EmuDevice::segmentReceived, window.get(),
                         &EmuWindow::showSegment);
        QObject::connect(session.device(), &EmuDevice::brightnessChanged, window.get(),
                         &EmuWindow::setBrightness);
        // Closing the window ends the emulator like a signal would.
        QObject::connect(qApp, &QGuiApplication::lastWindowClosed, app.get(), &QCoreApplication::quit);
        window->show();
    }

    if (!session.start(&error)) {
        fail(error);
        return 1;
    }
    const int rc = app->exec();
    session.stop();
    return rc;
}
