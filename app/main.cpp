#include "applogging.h"
#include "baseinfo.h"
#include "dispmainwindow.h"
#include "dispstandardwidgetfactory.h"
#include "languageloader.h"
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

} // namespace

int main(int argc, char* argv[])
{
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

    DispMainWIndow window;
    qCDebug(lcApp) << "main: enter event loop";
    return app.exec();
}
