// libFuzzer target: a theme file as a user might receive it, walked record by
// record and read by the placeholder panels and the theme list's preview
// reader. Any crash, hang or runaway allocation is a bug.
#include "backgroundrecord.h"
#include "placeholderbackgroundpanel.h"
#include "placeholdercapturepanel.h"
#include "placeholderpanel.h"
#include "themefilereader.h"
#include "themerecordreader.h"
#include "themetags.h"
#include "themevalues.h"

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
    return 0;
}
