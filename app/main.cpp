#include "applogging.h"
#include "autorun.h"
#include "baseinfo.h"
#include "controlchannel.h"
#include "devicestatus.h"
#include "dispmainwindow.h"
#include "dispstandardwidgetfactory.h"
#include "headlessrunner.h"
#include "languageloader.h"
#include "processmemory.h"
#include "quitsignals.h"
#include "resourceinit.h"

#include <QApplication>
#include <QDir>
#include <QLockFile>
#include <QMessageBox>
#include <QStandardPaths>

#include <cstdio>

namespace {

const char* const kInstanceKey = "RadaZereDavozirevAde";

// The instance key is a lock file in the user's runtime folder
// ($XDG_RUNTIME_DIR, else a private folder Qt makes per user): each user
// logged in on the machine runs their own instance, and a lock left by a
// crashed instance is recovered because its process is gone.
QString instanceLockPath()
{
    QString folder = QStandardPaths::writableLocation(QStandardPaths::RuntimeLocation);
    if (folder.isEmpty()) {
        folder = QDir::homePath();
    }
    QDir().mkpath(folder);
    return folder + QLatin1Char('/') + QLatin1String(kInstanceKey) + QStringLiteral(".lock");
}

void warnAlreadyRunning()
{
    const QString text = QObject::tr("app is already running.");
    // Scripts and tests set PANELCAST_NO_MODAL: no dialog that waits for a click.
    if (qEnvironmentVariableIsSet("PANELCAST_NO_MODAL")) {
        std::fprintf(stderr, "%s\n", qPrintable(text));
        return;
    }
    QMessageBox::warning(nullptr, QObject::tr("Warning"), text, QMessageBox::Ok);
}

bool wantsHeadless(int argc, char* argv[])
{
    for (int i = 1; i < argc; ++i) {
        if (qstrcmp(argv[i], "--headless") == 0) {
            return true;
        }
    }
    return false;
}

// No window and no tray: the theme streams on its own (a systemd user service).
int runHeadless(QApplication& app)
{
    // Starting the window at log-on is the window's first start to decide.
    AutoRun::setFirstStartRegistration(false);
    HeadlessRunner runner;
    QString error;
    if (!runner.start(&error)) {
        std::fprintf(stderr, "panelcast --headless: %s\n", qPrintable(error));
        return 1;
    }
    Panelcast::watchQuitSignals(&runner, [&runner] { runner.quit(); });
    qCDebug(lcApp) << "main: enter event loop (headless)";
    return app.exec();
}

} // namespace

int main(int argc, char* argv[])
{
    Panelcast::declineHugePages();
    const bool headless = wantsHeadless(argc, argv);
    // Without a window no display server is needed: scenes render off screen.
    if (headless && qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM")) {
        qputenv("QT_QPA_PLATFORM", "offscreen");
    }
    QCoreApplication::setAttribute(Qt::AA_Use96Dpi);
    qputenv("QT_SCALE_FACTOR", QByteArray::number(1.0, 'g', 6));
    QCoreApplication::setAttribute(Qt::AA_EnableHighDpiScaling);
    QCoreApplication::setAttribute(Qt::AA_UseHighDpiPixmaps);

    QApplication app(argc, argv);
    QApplication::setApplicationName(QStringLiteral("panelcast"));
    // The window goes to the tray and only "Exit" ends the process.
    QApplication::setQuitOnLastWindowClosed(false);
    initPanelcastResources();
    // Scenes make their display widgets through the widget library.
    DispStandardWidgetFactory::install();
    if (headless) {
        return runHeadless(app);
    }

    static QLockFile instanceKey(instanceLockPath());
    // Only a live holder keeps the key, however long it has been running.
    instanceKey.setStaleLockTime(0);
    if (!instanceKey.tryLock(0)) {
        qCDebug(lcApp) << "main: instance key taken:" << instanceKey.error();
        // The one message this process shows, in the user's language.
        LanguageLoader language(&app);
        language.switchLanguage(BaseInfo::languageType());
        warnAlreadyRunning();
        QCoreApplication::quit();
        return -1;
    }

    // The window owns the devices while it runs: a headless service lets go
    // of them first and takes them back when this process ends.
    ControlServer control;
    QString controlError;
    if (!control.listen(ControlChannel::socketPath(ControlChannel::Role::Window), &controlError)) {
        qCWarning(lcApp).noquote() << "main: no control socket:" << controlError;
    }
    DeviceHold serviceHold; // released after the window has closed its ports
    if (serviceHold.acquire(ControlChannel::socketPath(ControlChannel::Role::Headless))) {
        qCDebug(lcApp) << "main: the headless service let go of the devices";
    }

    DispMainWIndow window;
    DeviceStatus status(window.homePage(), QStringLiteral("window"));
    control.setStatusProvider([&status] { return status.status(); });
    qCDebug(lcApp) << "main: enter event loop";
    return app.exec();
}
