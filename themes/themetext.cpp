#include "themetext.h"

#include "themefilereader.h"
#include "thememedia.h"
#include "themerecordreader.h"
#include "themerecordwriter.h"

#include <QBuffer>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QJsonArray>
#include <QJsonDocument>
#include <QtEndian>

#include <cmath>
#include <limits>

namespace ThemeText {

namespace {

constexpr const char* kFormat = "panelcast-theme";
constexpr int kVersion = 1;
constexpr qint64 kMaxThemeFileBytes = 64 * 1024 * 1024;
// Colours and fonts: the same bounds the panels' readers apply.
constexpr double kMaxPointSize = 2048;
constexpr int kMaxPixelSize = 4096;
constexpr int kDefaultMaxCount = 256;

// ---- theme bytes -> JSON ---------------------------------------------------

QJsonValue doubleValue(double value)
{
    if (std::isnan(value))
        return QStringLiteral("nan");
    if (std::isinf(value))
        return value > 0 ? QStringLiteral("inf") : QStringLiteral("-inf");
    return value;
}

QJsonValue stringValue(const QString& value)
{
    return value.isNull() ? QJsonValue(QJsonValue::Null) : QJsonValue(value);
}

bool readColor(ThemeRecordReader& in, QJsonValue& value)
{
    char bytes[11];
    if (!in.readRaw(bytes, sizeof bytes))
        return false;
    const qint8 spec = qint8(bytes[0]);
    quint16 part[5];
    for (int i = 0; i < 5; ++i)
        part[i] = qFromBigEndian<quint16>(bytes + 1 + 2 * i);
    bool eightBit = spec == 1 && part[4] == 0;
    for (int i = 0; i < 4; ++i)
        eightBit = eightBit && part[i] % 0x101 == 0;
    if (eightBit) {
        const int alpha = part[0] / 0x101;
        QString name = QStringLiteral("#");
        if (alpha != 255)
            name += QStringLiteral("%1").arg(alpha, 2, 16, QLatin1Char('0'));
        for (int i = 1; i < 4; ++i)
            name += QStringLiteral("%1").arg(part[i] / 0x101, 2, 16, QLatin1Char('0'));
        value = name;
        return true;
    }
    value = QJsonObject{{QStringLiteral("spec"), spec},    {QStringLiteral("alpha"), part[0]},
                        {QStringLiteral("red"), part[1]},  {QStringLiteral("green"), part[2]},
                        {QStringLiteral("blue"), part[3]}, {QStringLiteral("pad"), part[4]}};
    return true;
}

// The fixed part of a stored font after family and style name, field by field.
struct FontPart
{
    const char* key;
    int bytes;       // 1, 2 or 4 (unsigned for 1 and 2, signed for 4)
    qint64 standard; // not written to JSON when the font has this value
};
constexpr FontPart kFontParts[] = {
    {"pixelSize", 4, std::numeric_limits<qint64>::min()}, // always written
    {"styleHint", 1, 5},
    {"styleStrategy", 2, 1},
    {"charset", 1, 0},
    {"weight", 1, std::numeric_limits<qint64>::min()}, // always written
    {"flags", 1, 0},
    {"stretch", 2, 0},
    {"extendedFlags", 1, 0},
    {"letterSpacing", 4, 0},
    {"wordSpacing", 4, 0},
    {"hinting", 1, 0},
    {"capitalization", 1, 0},
};

bool readFont(ThemeRecordReader& in, QJsonValue& value)
{
    QString family;
    QString style;
    double pointSize = 0;
    if (!in.readString(family) || !in.readString(style) || !in.readDouble(pointSize))
        return false;
    QJsonObject font{{QStringLiteral("family"), stringValue(family)},
                     {QStringLiteral("pointSize"), doubleValue(pointSize)}};
    if (!style.isNull())
        font.insert(QStringLiteral("styleName"), style);
    for (const FontPart& part : kFontParts) {
        char bytes[4];
        if (!in.readRaw(bytes, part.bytes))
            return false;
        const qint64 number = part.bytes == 1   ? qint64(quint8(bytes[0]))
                              : part.bytes == 2 ? qint64(qFromBigEndian<quint16>(bytes))
                                                : qint64(qFromBigEndian<qint32>(bytes));
        if (number != part.standard)
            font.insert(QLatin1String(part.key), double(number));
    }
    qint32 count = 0;
    if (!in.readCount(count, 4))
        return false;
    QJsonArray families;
    for (qint32 i = 0; i < count; ++i) {
        QString name;
        if (!in.readString(name))
            return false;
        families.append(name);
    }
    if (!families.isEmpty())
        font.insert(QStringLiteral("families"), families);
    value = font;
    return true;
}

bool readFields(ThemeRecordReader& in, const std::vector<Field>& fields, QJsonObject& object);

bool readField(ThemeRecordReader& in, const Field& field, QJsonValue& value)
{
    switch (field.kind) {
    case FieldKind::Bool: {
        bool flag = false;
        if (!in.readBool(flag))
            return false;
        value = flag;
        return true;
    }
    case FieldKind::Int32: {
        qint32 number = 0;
        if (!in.readInt32(number))
            return false;
        value = number;
        return true;
    }
    case FieldKind::Double: {
        double number = 0;
        if (!in.readDouble(number))
            return false;
        value = doubleValue(number);
        return true;
    }
    case FieldKind::String: {
        QString text;
        if (!in.readString(text))
            return false;
        value = stringValue(text);
        return true;
    }
    case FieldKind::PointF: {
        QPointF point;
        if (!in.readPointF(point))
            return false;
        value = QJsonArray{doubleValue(point.x()), doubleValue(point.y())};
        return true;
    }
    case FieldKind::RectF: {
        QRectF rect;
        if (!in.readRectF(rect))
            return false;
        value = QJsonArray{doubleValue(rect.x()), doubleValue(rect.y()), doubleValue(rect.width()),
                           doubleValue(rect.height())};
        return true;
    }
    case FieldKind::Size: {
        QSize size;
        if (!in.readSize(size))
            return false;
        value = QJsonArray{size.width(), size.height()};
        return true;
    }
    case FieldKind::Color:
        return readColor(in, value);
    case FieldKind::Font:
        return readFont(in, value);
    case FieldKind::Block:
    case FieldKind::Bytes: {
        QByteArray bytes;
        if (!in.readByteArray(bytes))
            return false;
        if (field.kind == FieldKind::Block && !bytes.isNull()) {
            // The block is a stream of its own; read it as a record with an empty frame.
            ThemeRecordReader block(QByteArray(8, '\0') + bytes);
            QJsonObject object;
            if (readFields(block, field.fields, object) && block.remaining() == 0) {
                value = object;
                return true;
            }
        }
        value =
            bytes.isNull() ? QJsonValue(QJsonValue::Null) : QJsonValue(QString::fromLatin1(bytes.toBase64()));
        return true;
    }
    case FieldKind::Group: {
        QJsonObject group;
        if (!readFields(in, field.fields, group))
            return false;
        value = group;
        return true;
    }
    case FieldKind::List: {
        qint32 count = 0;
        if (!in.readCount(count, 1))
            return false;
        QJsonArray items;
        for (qint32 i = 0; i < count; ++i) {
            QJsonObject item;
            if (!readFields(in, field.fields, item))
                return false;
            items.append(item);
        }
        value = items;
        return true;
    }
    }
    return false;
}

bool readFields(ThemeRecordReader& in, const std::vector<Field>& fields, QJsonObject& object)
{
    for (const Field& field : fields) {
        QJsonValue value;
        if (!readField(in, field, value))
            return false;
        object.insert(QLatin1String(field.key), value);
    }
    return true;
}

QJsonObject recordToJson(const QByteArray& record)
{
    ThemeRecordReader in(record);
    const qint32 tag = in.tag();
    if (const RecordKind* kind = recordKind(tag)) {
        QJsonObject object{{QStringLiteral("kind"), QLatin1String(kind->name)}};
        if (readFields(in, kind->fields, object)) {
            const QByteArray rest = record.mid(int(in.position()));
            if (!rest.isEmpty())
                object.insert(QStringLiteral("trailing"), QString::fromLatin1(rest.toBase64()));
            return object;
        }
    }
    return QJsonObject{{QStringLiteral("tag"), tag},
                       {QStringLiteral("raw"), QString::fromLatin1(record.mid(8).toBase64())}};
}

// ---- JSON -> theme bytes ---------------------------------------------------

class Encoder
{
public:
    explicit Encoder(QString& error) : m_error(error) {}

    bool fail(const QString& path, const QString& why)
    {
        m_error = path + QStringLiteral(": ") + why;
        return false;
    }

    bool number(const QJsonValue& value, const QString& path, double& out)
    {
        if (value.isDouble()) {
            out = value.toDouble();
            return true;
        }
        const QString text = value.toString();
        if (text == QLatin1String("nan"))
            out = std::numeric_limits<double>::quiet_NaN();
        else if (text == QLatin1String("inf"))
            out = std::numeric_limits<double>::infinity();
        else if (text == QLatin1String("-inf"))
            out = -std::numeric_limits<double>::infinity();
        else
            return fail(path, QStringLiteral("expected a number"));
        return true;
    }

    bool integer(const QJsonValue& value, const QString& path, qint64 low, qint64 high, qint64& out)
    {
        const double number = value.toDouble(std::numeric_limits<double>::quiet_NaN());
        if (!value.isDouble() || std::floor(number) != number)
            return fail(path, QStringLiteral("expected a whole number"));
        if (number < double(low) || number > double(high))
            return fail(path, QStringLiteral("%1 is outside %2..%3").arg(number).arg(low).arg(high));
        out = qint64(number);
        return true;
    }

    bool string(const QJsonValue& value, const QString& path, QString& out)
    {
        if (value.isNull() || value.isUndefined()) {
            out = QString();
            return true;
        }
        if (!value.isString())
            return fail(path, QStringLiteral("expected a text or null"));
        out = value.toString();
        return true;
    }

    bool numbers(const QJsonValue& value, const QString& path, int count, double* out)
    {
        const QJsonArray array = value.toArray();
        if (!value.isArray() || array.size() != count)
            return fail(path, QStringLiteral("expected an array of %1 numbers").arg(count));
        for (int i = 0; i < count; ++i) {
            if (!number(array.at(i), path + QStringLiteral("[%1]").arg(i), out[i]))
                return false;
        }
        return true;
    }

    bool color(QDataStream& out, const QJsonValue& value, const QString& path)
    {
        quint16 part[5] = {0xFFFF, 0, 0, 0, 0};
        qint64 spec = 1;
        if (value.isString()) {
            const QString name = value.toString();
            bool ok = name.startsWith(QLatin1Char('#')) && (name.size() == 7 || name.size() == 9);
            uint bits = 0;
            if (ok)
                bits = name.mid(1).toUInt(&ok, 16);
            if (!ok)
                return fail(
                    path,
                    QStringLiteral("expected \"#rrggbb\" or \"#aarrggbb\", not \"%1\"").arg(name.left(32)));
            const uint argb = name.size() == 7 ? (0xFF000000u | bits) : bits;
            part[0] = quint16(((argb >> 24) & 0xFF) * 0x101);
            part[1] = quint16(((argb >> 16) & 0xFF) * 0x101);
            part[2] = quint16(((argb >> 8) & 0xFF) * 0x101);
            part[3] = quint16((argb & 0xFF) * 0x101);
        } else if (value.isObject()) {
            const QJsonObject object = value.toObject();
            static const char* const keys[] = {"alpha", "red", "green", "blue", "pad"};
            if (!known(object, {"spec", "alpha", "red", "green", "blue", "pad"}, path))
                return false;
            if (!integer(object.value(QStringLiteral("spec")), path + QStringLiteral(".spec"), 0, 5, spec))
                return false;
            for (int i = 0; i < 5; ++i) {
                qint64 number = 0;
                const QString key = QLatin1String(keys[i]);
                if (!integer(object.value(key), path + QLatin1Char('.') + key, 0, 0xFFFF, number))
                    return false;
                part[i] = quint16(number);
            }
        } else {
            return fail(path, QStringLiteral("expected a colour (\"#rrggbb\")"));
        }
        out << qint8(spec);
        for (quint16 p : part)
            out << p;
        return true;
    }

    bool font(QDataStream& out, const QJsonValue& value, const QString& path)
    {
        if (!value.isObject())
            return fail(path, QStringLiteral("expected a font object"));
        const QJsonObject font = value.toObject();
        QStringList keys = {QStringLiteral("family"), QStringLiteral("pointSize"),
                            QStringLiteral("styleName"), QStringLiteral("families")};
        for (const FontPart& part : kFontParts)
            keys << QLatin1String(part.key);
        for (auto it = font.begin(); it != font.end(); ++it) {
            if (!keys.contains(it.key()))
                return fail(path + QLatin1Char('.') + it.key(), QStringLiteral("unknown field"));
        }
        QString family;
        QString style;
        double pointSize = 0;
        if (!font.contains(QStringLiteral("family")))
            return fail(path + QStringLiteral(".family"), QStringLiteral("missing"));
        if (!string(font.value(QStringLiteral("family")), path + QStringLiteral(".family"), family) ||
            !string(font.value(QStringLiteral("styleName")), path + QStringLiteral(".styleName"), style) ||
            !number(font.value(QStringLiteral("pointSize")), path + QStringLiteral(".pointSize"), pointSize))
            return false;
        if (!(pointSize == -1 || (pointSize >= 0 && pointSize <= kMaxPointSize)))
            return fail(path + QStringLiteral(".pointSize"),
                        QStringLiteral("%1 is outside 0..%2 (or -1)").arg(pointSize).arg(kMaxPointSize));
        out << family << style << pointSize;
        for (const FontPart& part : kFontParts) {
            const QString key = QLatin1String(part.key);
            qint64 number = part.standard;
            const qint64 low = part.bytes == 4 ? std::numeric_limits<qint32>::min() : 0;
            qint64 high = part.bytes == 1   ? 0xFF
                          : part.bytes == 2 ? 0xFFFF
                                            : std::numeric_limits<qint32>::max();
            if (key == QLatin1String("pixelSize"))
                high = kMaxPixelSize;
            if (font.contains(key) || part.standard == std::numeric_limits<qint64>::min()) {
                if (!integer(font.value(key), path + QLatin1Char('.') + key,
                             key == QLatin1String("pixelSize") ? -1 : low, high, number))
                    return false;
            }
            if (part.bytes == 1)
                out << quint8(number);
            else if (part.bytes == 2)
                out << quint16(number);
            else
                out << qint32(number);
        }
        const QJsonValue families = font.value(QStringLiteral("families"));
        if (!families.isUndefined() && !families.isArray())
            return fail(path + QStringLiteral(".families"), QStringLiteral("expected an array of texts"));
        const QJsonArray list = families.toArray();
        out << qint32(list.size());
        for (int i = 0; i < list.size(); ++i) {
            if (!list.at(i).isString())
                return fail(path + QStringLiteral(".families[%1]").arg(i), QStringLiteral("expected a text"));
            out << list.at(i).toString();
        }
        return true;
    }

    bool known(const QJsonObject& object, std::initializer_list<const char*> keys, const QString& path)
    {
        for (auto it = object.begin(); it != object.end(); ++it) {
            bool found = false;
            for (const char* key : keys)
                found = found || it.key() == QLatin1String(key);
            if (!found)
                return fail(path + QLatin1Char('.') + it.key(), QStringLiteral("unknown field"));
        }
        return true;
    }

    bool field(QDataStream& out, const Field& field, const QJsonValue& value, const QString& path)
    {
        if (value.isUndefined())
            return fail(path, QStringLiteral("missing"));
        switch (field.kind) {
        case FieldKind::Bool:
            if (!value.isBool())
                return fail(path, QStringLiteral("expected true or false"));
            out << value.toBool();
            return true;
        case FieldKind::Int32: {
            qint64 number = 0;
            if (!integer(value, path, std::numeric_limits<qint32>::min(), std::numeric_limits<qint32>::max(),
                         number))
                return false;
            out << qint32(number);
            return true;
        }
        case FieldKind::Double: {
            double number = 0;
            if (!this->number(value, path, number))
                return false;
            out << number;
            return true;
        }
        case FieldKind::String: {
            QString text;
            if (!string(value, path, text))
                return false;
            out << text;
            return true;
        }
        case FieldKind::PointF: {
            double v[2];
            if (!numbers(value, path, 2, v))
                return false;
            out << QPointF(v[0], v[1]);
            return true;
        }
        case FieldKind::RectF: {
            double v[4];
            if (!numbers(value, path, 4, v))
                return false;
            out << QRectF(v[0], v[1], v[2], v[3]);
            return true;
        }
        case FieldKind::Size: {
            double v[2];
            if (!numbers(value, path, 2, v))
                return false;
            for (double d : v) {
                if (std::floor(d) != d || std::abs(d) > std::numeric_limits<qint32>::max())
                    return fail(path, QStringLiteral("expected two whole numbers"));
            }
            out << QSize(int(v[0]), int(v[1]));
            return true;
        }
        case FieldKind::Color:
            return color(out, value, path);
        case FieldKind::Font:
            return font(out, value, path);
        case FieldKind::Block:
            if (value.isObject()) {
                QByteArray inner;
                QDataStream block(&inner, QIODevice::WriteOnly);
                setThemeStreamFormat(block);
                if (!fields(block, field.fields, value.toObject(), path))
                    return false;
                out << inner;
                return true;
            }
            Q_FALLTHROUGH();
        case FieldKind::Bytes: {
            if (value.isNull()) {
                out << QByteArray();
                return true;
            }
            const QByteArray text = value.toString().toLatin1();
            const auto decoded =
                QByteArray::fromBase64Encoding(text, QByteArray::AbortOnBase64DecodingErrors);
            if (!value.isString() || !decoded)
                return fail(path, QStringLiteral("expected base64 bytes"));
            out << *decoded;
            return true;
        }
        case FieldKind::Group:
            if (!value.isObject())
                return fail(path, QStringLiteral("expected an object"));
            return fields(out, field.fields, value.toObject(), path);
        case FieldKind::List: {
            if (!value.isArray())
                return fail(path, QStringLiteral("expected an array"));
            const QJsonArray items = value.toArray();
            const int limit = field.maxCount > 0 ? field.maxCount : kDefaultMaxCount;
            if (items.size() > limit)
                return fail(path, QStringLiteral("%1 items, at most %2").arg(items.size()).arg(limit));
            out << qint32(items.size());
            for (int i = 0; i < items.size(); ++i) {
                const QString itemPath = path + QStringLiteral("[%1]").arg(i);
                if (!items.at(i).isObject())
                    return fail(itemPath, QStringLiteral("expected an object"));
                if (!fields(out, field.fields, items.at(i).toObject(), itemPath))
                    return false;
            }
            return true;
        }
        }
        return false;
    }

    bool fields(QDataStream& out, const std::vector<Field>& fields, const QJsonObject& object,
                const QString& path, const QStringList& extraKeys = {})
    {
        for (auto it = object.begin(); it != object.end(); ++it) {
            bool found = extraKeys.contains(it.key());
            for (const Field& f : fields)
                found = found || it.key() == QLatin1String(f.key);
            if (!found)
                return fail(path + QLatin1Char('.') + it.key(), QStringLiteral("unknown field"));
        }
        for (const Field& f : fields) {
            if (!field(out, f, object.value(QLatin1String(f.key)),
                       path + QLatin1Char('.') + QLatin1String(f.key)))
                return false;
        }
        return true;
    }

    bool base64(const QJsonValue& value, const QString& path, QByteArray& out)
    {
        const auto decoded = QByteArray::fromBase64Encoding(value.toString().toLatin1(),
                                                            QByteArray::AbortOnBase64DecodingErrors);
        if (!value.isString() || !decoded)
            return fail(path, QStringLiteral("expected base64 bytes"));
        out = *decoded;
        return true;
    }

    bool record(const QJsonValue& value, const QString& path, QByteArray& theme)
    {
        if (!value.isObject())
            return fail(path, QStringLiteral("expected a record object"));
        const QJsonObject object = value.toObject();
        if (object.contains(QStringLiteral("raw"))) {
            qint64 tag = 0;
            QByteArray body;
            if (!known(object, {"tag", "raw"}, path) ||
                !integer(object.value(QStringLiteral("tag")), path + QStringLiteral(".tag"),
                         std::numeric_limits<qint32>::min(), std::numeric_limits<qint32>::max(), tag) ||
                !base64(object.value(QStringLiteral("raw")), path + QStringLiteral(".raw"), body))
                return false;
            ThemeRecordWriter writer{qint32(tag)};
            writer.stream().writeRawData(body.constData(), body.size());
            theme += writer.finish();
            return true;
        }
        const QJsonValue kindName = object.value(QStringLiteral("kind"));
        const RecordKind* kind = recordKind(kindName.toString());
        if (kind == nullptr) {
            QStringList names;
            for (const RecordKind& k : recordKinds())
                names << QLatin1String(k.name);
            return fail(path + QStringLiteral(".kind"),
                        QStringLiteral("\"%1\" is none of %2")
                            .arg(kindName.toString().left(64), names.join(QStringLiteral(", "))));
        }
        ThemeRecordWriter writer(kind->tag);
        if (!fields(writer.stream(), kind->fields, object, path,
                    {QStringLiteral("kind"), QStringLiteral("trailing")}))
            return false;
        if (object.contains(QStringLiteral("trailing"))) {
            QByteArray rest;
            if (!base64(object.value(QStringLiteral("trailing")), path + QStringLiteral(".trailing"), rest))
                return false;
            writer.stream().writeRawData(rest.constData(), rest.size());
        }
        theme += writer.finish();
        return true;
    }

private:
    QString& m_error;
};

} // namespace

const RecordKind* recordKind(qint32 tag)
{
    for (const RecordKind& kind : recordKinds()) {
        if (kind.tag == tag)
            return &kind;
    }
    return nullptr;
}

const RecordKind* recordKind(const QString& name)
{
    for (const RecordKind& kind : recordKinds()) {
        if (name == QLatin1String(kind.name))
            return &kind;
    }
    return nullptr;
}

bool themeToJson(const QByteArray& theme, QJsonObject& document, QString& error)
{
    QBuffer buffer;
    buffer.setData(theme);
    buffer.open(QIODevice::ReadOnly);
    ThemeFileReader reader(&buffer);
    QJsonArray records;
    QByteArray record;
    while (reader.next(record))
        records.append(recordToJson(record));
    if (reader.corruptCount() > 0) {
        error = QStringLiteral("the file is not a sequence of theme records (%1 cut short or oversized)")
                    .arg(reader.corruptCount());
        return false;
    }
    document.insert(QStringLiteral("format"), QLatin1String(kFormat));
    document.insert(QStringLiteral("version"), kVersion);
    document.insert(QStringLiteral("records"), records);
    return true;
}

bool jsonToTheme(const QJsonObject& document, QByteArray& theme, QString& error)
{
    Encoder encoder(error);
    if (document.value(QStringLiteral("format")).toString() != QLatin1String(kFormat))
        return encoder.fail(QStringLiteral("format"),
                            QStringLiteral("expected \"%1\"").arg(QLatin1String(kFormat)));
    if (document.value(QStringLiteral("version")).toInt(-1) != kVersion)
        return encoder.fail(QStringLiteral("version"), QStringLiteral("expected %1").arg(kVersion));
    if (!encoder.known(document, {"format", "version", "name", "media", "records"},
                       QStringLiteral("document")))
        return false;
    const QJsonValue records = document.value(QStringLiteral("records"));
    if (!records.isArray())
        return encoder.fail(QStringLiteral("records"), QStringLiteral("expected an array"));
    const QJsonArray list = records.toArray();
    theme.clear();
    for (int i = 0; i < list.size(); ++i) {
        if (!encoder.record(list.at(i), QStringLiteral("records[%1]").arg(i), theme))
            return false;
    }
    return true;
}

bool mediaOf(const QJsonObject& document, QStringList& media, QString& error)
{
    const QJsonValue value = document.value(QStringLiteral("media"));
    media.clear();
    if (value.isUndefined())
        return true;
    if (!value.isArray()) {
        error = QStringLiteral("media: expected an array of file names");
        return false;
    }
    const QJsonArray list = value.toArray();
    for (int i = 0; i < list.size(); ++i) {
        const QString name = list.at(i).toString();
        if (!list.at(i).isString() || !ThemeMedia::isPlainName(name)) {
            error = QStringLiteral("media[%1]: expected a plain file name").arg(i);
            return false;
        }
        media << name;
    }
    return true;
}

bool nameOf(const QJsonObject& document, const QString& fallback, QString& name, QString& error)
{
    const QJsonValue value = document.value(QStringLiteral("name"));
    name = value.isUndefined() ? fallback : value.toString();
    if (!ThemeMedia::isPlainName(name) || name.size() > 128 || name.trimmed() != name) {
        error = QStringLiteral("name: \"%1\" cannot name a theme folder").arg(name.left(64));
        return false;
    }
    return true;
}

QString buildThemeFolder(const QJsonObject& document, const QString& name, const QString& mediaFolder,
                         const QString& outdir, QString& error)
{
    QByteArray theme;
    QStringList media;
    if (!jsonToTheme(document, theme, error) || !mediaOf(document, media, error))
        return QString();
    for (int i = 0; i < media.size(); ++i) {
        if (!QFileInfo(QDir(mediaFolder).filePath(media.at(i))).isFile()) {
            error = QStringLiteral("media[%1]: %2 not found in %3").arg(i).arg(media.at(i), mediaFolder);
            return QString();
        }
    }
    const QString folder = QDir(outdir).filePath(QStringLiteral("theme_") + name);
    const QString res = folder + QStringLiteral("/res");
    if (!QDir().mkpath(res)) {
        error = QStringLiteral("cannot create %1").arg(res);
        return QString();
    }
    for (const QString& file : qAsConst(media)) {
        const QString target = res + QLatin1Char('/') + file;
        QFile::remove(target);
        if (!QFile::copy(QDir(mediaFolder).filePath(file), target)) {
            error = QStringLiteral("cannot copy %1 to %2").arg(file, res);
            return QString();
        }
    }
    const QString themeFile = folder + QLatin1Char('/') + name + QStringLiteral(".theme");
    QFile out(themeFile);
    if (!out.open(QIODevice::WriteOnly | QIODevice::Truncate) || out.write(theme) != theme.size() ||
        !out.flush()) {
        error = QStringLiteral("cannot write %1: %2").arg(themeFile, out.errorString());
        return QString();
    }
    return themeFile;
}

bool readThemeFolder(const QString& themeFile, QJsonObject& document, QString& error)
{
    QFile file(themeFile);
    if (!file.open(QIODevice::ReadOnly)) {
        error = QStringLiteral("cannot read %1: %2").arg(themeFile, file.errorString());
        return false;
    }
    if (file.size() > kMaxThemeFileBytes) {
        error = QStringLiteral("%1 is larger than any theme (%2 bytes)").arg(themeFile).arg(file.size());
        return false;
    }
    if (!themeToJson(file.readAll(), document, error))
        return false;
    const QFileInfo info(themeFile);
    QJsonObject named{{QStringLiteral("format"), document.value(QStringLiteral("format"))},
                      {QStringLiteral("version"), document.value(QStringLiteral("version"))},
                      {QStringLiteral("name"), info.completeBaseName()}};
    const QStringList media =
        QDir(info.absolutePath() + QStringLiteral("/res")).entryList(QDir::Files, QDir::Name);
    if (!media.isEmpty())
        named.insert(QStringLiteral("media"), QJsonArray::fromStringList(media));
    named.insert(QStringLiteral("records"), document.value(QStringLiteral("records")));
    document = named;
    return true;
}

} // namespace ThemeText
