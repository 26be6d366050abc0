// libFuzzer target: a theme file as a user might receive it, walked record by
// record and read by the editor panels on a scene. Any crash, hang or runaway
// allocation is a bug.
#include "dispscene.h"
#include "dispstandardwidgetfactory.h"
#include "editorpanels.h"
#include "themefilereader.h"
#include "themerecordreader.h"
#include "themevalues.h"

#include <QApplication>
#include <QBuffer>
#include <QLoggingCategory>

#include <cstddef>
#include <cstdint>

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    // The panels are widgets on a scene: one application, scene and panel set for the whole run.
    static int argc = 1;
    static char name[] = "fuzz_themefile";
    static char* argv[] = {name, nullptr};
    static QApplication* application = [] {
        qputenv("QT_QPA_PLATFORM", "offscreen");
        QLoggingCategory::setFilterRules(QStringLiteral("panelcast.*.debug=false"));
        DispStandardWidgetFactory::install();
        return new QApplication(argc, argv);
    }();
    Q_UNUSED(application)
    static DispScene scene;
    static EditorPanels panels{PanelEnvironment()};
    static const bool attached = [] {
        scene.setSceneRect(0, 0, 480, 480);
        panels.attach(&scene, 480, 480);
        return true;
    }();
    Q_UNUSED(attached)

    QByteArray bytes = QByteArray::fromRawData(reinterpret_cast<const char*>(data), int(size));
    QBuffer buffer(&bytes);
    buffer.open(QIODevice::ReadOnly);
    ThemeFileReader records(&buffer);
    QByteArray record;
    while (records.next(record)) {
        ThemeRecordReader reader(record);
        if (EditorPanel* panel = panels.panel(reader.tag())) {
            panel->readThemeRecord(reader, QStringLiteral("/nonexistent/theme_fuzz"));
            continue;
        }
        for (const auto& widgets : panels.widgetRecords()) {
            if (widgets->themeTag() == reader.tag()) {
                widgets->readThemeRecord(reader, QStringLiteral("/nonexistent/theme_fuzz"));
            }
        }
        // Any other tag: walk it as the fields a panel reads, to reach every reader method.
        QString text;
        QByteArray block;
        QColor colour;
        QFont font;
        QRectF rect;
        double value = 0;
        qint32 count = 0;
        while (reader.ok() && reader.remaining() > 0) {
            reader.readString(text);
            reader.readByteArray(block);
            reader.readRectF(rect);
            reader.readDouble(value);
            reader.readCount(count, 8);
            readThemeColor(reader, colour);
            readThemeFont(reader, font);
        }
    }
    panels.stopMedia();
    panels.clearAll();
    QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
    return 0;
}
