#include "applogging.h"
#include "baseinfo.h"
#include "dispmainwindow.h"
#include "dispstandardwidgetfactory.h"
#include "languageloader.h"
#include "resourceinit.h"

#include <QApplication>
#include <QMessageBox>
#include <QSharedMemory>

#include <cstdio>

namespace {

const char* const kInstanceKey = "RadaZereDavozirevAde";

// On Unix a segment outlives a crashed owner. Attaching and detaching again
// destroys a segment nobody else is attached to; a live instance keeps its
// own attachment, so this never frees a running instance's key.
void clearStaleInstanceKey()
{
#ifdef Q_OS_UNIX
    QSharedMemory probe(QString::fromLatin1(kInstanceKey));
    if (probe.attach()) {
        probe.detach();
    }
#endif
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

    static QSharedMemory instanceKey(QString::fromLatin1(kInstanceKey));
    clearStaleInstanceKey();
    if (!instanceKey.create(1)) {
        qCDebug(lcApp) << "main: instance key taken:" << instanceKey.errorString();
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
