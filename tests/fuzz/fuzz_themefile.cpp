// libFuzzer target: a theme file as a user might receive it, walked record by
// record and read by the editor panels (on a scene), the placeholder panels
// and the theme list's preview reader. Any crash, hang or runaway allocation
// is a bug.
#include "backgroundrecord.h"
#include "dispcustomtextbox.h"
#include "dispscene.h"
#include "dispstandardwidgetfactory.h"
#include "dispsysteminfobox.h"
#include "disptimebox.h"
#include "placeholderbackgroundpanel.h"
#include "placeholdercapturepanel.h"
#include "placeholderpanel.h"
#include "themefilereader.h"
#include "themerecordreader.h"
#include "themetags.h"
#include "themevalues.h"

#include <QApplication>
#include <QBuffer>
#include <QLoggingCategory>

#include <cstddef>
#include <cstdint>

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    static const bool quiet = [] {
        QLoggingCategory::setFilterRules(QStringLiteral("panelcast.themes.debug=false"));
        return true;
    }();
    Q_UNUSED(quiet)
    // The panels are widgets on a scene: one application, scene and panel set for the whole run.
    static int argc = 1;
    static char name[] = "fuzz_themefile";
    static char* argv[] = {name, nullptr};
    static QApplication* application = [] {
        qputenv("QT_QPA_PLATFORM", "offscreen");
        DispStandardWidgetFactory::install();
        return new QApplication(argc, argv);
    }();
    Q_UNUSED(application)
    static DispScene scene;
    static dispcustomtextbox texts;
    static disptimebox dates;
    static dispsysteminfobox sensors(nullptr);
    static const bool attached = [] {
        scene.setSceneRect(0, 0, 480, 480);
        for (ItemListPanel* panel : std::initializer_list<ItemListPanel*>{&texts, &dates, &sensors})
            panel->attachScene(&scene);
        return true;
    }();
    Q_UNUSED(attached)

    QByteArray bytes = QByteArray::fromRawData(reinterpret_cast<const char*>(data), int(size));
    QBuffer buffer(&bytes);
    buffer.open(QIODevice::ReadOnly);
    ThemeFileReader records(&buffer);

    PlaceholderPanel items(IconTag, IconStore);
    PlaceholderBackgroundPanel background;
    PlaceholderCapturePanel capture;
    QByteArray record;
    while (records.next(record)) {
        ThemeRecordReader reader(record);
        switch (reader.tag()) {
        case BackgroundTag:
            background.readThemeRecord(reader, QStringLiteral("/nonexistent/theme_fuzz"));
            break;
        case CaptureTag:
            capture.readThemeRecord(reader, QString());
            break;
        case CustomTextTag:
            texts.readThemeRecord(reader, QString());
            break;
        case TimeTag:
            dates.readThemeRecord(reader, QString());
            break;
        case SystemInfoTag:
            sensors.readThemeRecord(reader, QString());
            break;
        default:
            items.readThemeRecord(reader, QString());
            // Walk the rest as the fields a panel reads, to reach every reader method.
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
            break;
        }
    }
    for (ItemListPanel* panel : std::initializer_list<ItemListPanel*>{&texts, &dates, &sensors})
        panel->clearTheme();
    QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
    return 0;
}
