#include "emuoptions.h"

#include <QRegularExpression>

#include <cmath>

namespace {

constexpr uint16_t kDigitalVendorId = 0x1A86;
constexpr uint16_t kDigitalProductId = 0xFE00;
constexpr int kMaxPanelSide = 8192;

bool takesValue(const QString& name)
{
    static const QStringList withValue = {
        QStringLiteral("--link"),    QStringLiteral("--family"),    QStringLiteral("--size"),
        QStringLiteral("--mode"),    QStringLiteral("--reply-len"), QStringLiteral("--version"),
        QStringLiteral("--ack"),     QStringLiteral("--out"),       QStringLiteral("--png-every"),
        QStringLiteral("--seconds"), QStringLiteral("--usb")};
    return withValue.contains(name);
}

bool parseInt(const QString& text, int minimum, int maximum, int* value)
{
    bool ok = false;
    const int parsed = text.toInt(&ok, 10);
    if (!ok || parsed < minimum || parsed > maximum) {
        return false;
    }
    *value = parsed;
    return true;
}

bool parseHex16(const QString& text, uint16_t* value)
{
    static const QRegularExpression hex(QStringLiteral("^[0-9A-Fa-f]{1,4}$"));
    if (!hex.match(text).hasMatch()) {
        return false;
    }
    *value = uint16_t(text.toUInt(nullptr, 16));
    return true;
}

bool applyValue(const QString& name, const QString& value, EmuOptions* o, bool* usbGiven, QString* error)
{
    const auto bad = [&](const QString& expected) {
        *error = QStringLiteral("invalid value '%1' for %2 (expected %3)").arg(value, name, expected);
        return false;
    };

    if (name == QLatin1String("--link")) {
        if (value.isEmpty()) {
            return bad(QStringLiteral("a path"));
        }
        o->link = value;
    } else if (name == QLatin1String("--family")) {
        if (value == QLatin1String("display")) {
            o->family = EmuOptions::Display;
        } else if (value == QLatin1String("digital")) {
            o->family = EmuOptions::Digital;
        } else {
            return bad(QStringLiteral("display or digital"));
        }
    } else if (name == QLatin1String("--size")) {
        const QStringList parts = value.split(QLatin1Char('x'));
        int w = 0;
        int h = 0;
        if (parts.size() != 2 || !parseInt(parts[0], 1, kMaxPanelSide, &w) ||
            !parseInt(parts[1], 1, kMaxPanelSide, &h)) {
            return bad(QStringLiteral("WxH, e.g. 480x1920"));
        }
        o->size = QSize(w, h);
    } else if (name == QLatin1String("--mode")) {
        if (!parseInt(value, 0, 255, &o->mode)) {
            return bad(QStringLiteral("0..255"));
        }
    } else if (name == QLatin1String("--reply-len")) {
        if (value != QLatin1String("12") && value != QLatin1String("13")) {
            return bad(QStringLiteral("12 or 13"));
        }
        o->replyLength = value.toInt();
    } else if (name == QLatin1String("--version")) {
        o->version = value;
    } else if (name == QLatin1String("--ack")) {
        if (value == QLatin1String("always")) {
            o->ack = EmuOptions::AckAlways;
        } else if (value == QLatin1String("never")) {
            o->ack = EmuOptions::AckNever;
        } else if (value.startsWith(QLatin1String("delay:")) &&
                   parseInt(value.mid(6), 0, 600000, &o->ackDelayMs)) {
            o->ack = EmuOptions::AckDelayed;
        } else {
            return bad(QStringLiteral("always, never or delay:MS"));
        }
    } else if (name == QLatin1String("--out")) {
        if (value.isEmpty()) {
            return bad(QStringLiteral("a folder"));
        }
        o->outDir = value;
    } else if (name == QLatin1String("--png-every")) {
        if (!parseInt(value, 1, 1000000, &o->pngEvery)) {
            return bad(QStringLiteral("a whole number of frames, at least 1"));
        }
    } else if (name == QLatin1String("--seconds")) {
        bool ok = false;
        const double seconds = value.toDouble(&ok);
        if (!ok || !std::isfinite(seconds) || seconds <= 0 || seconds > 1e6) {
            return bad(QStringLiteral("a positive number of seconds"));
        }
        o->seconds = seconds;
    } else if (name == QLatin1String("--usb")) {
        const QStringList parts = value.split(QLatin1Char(':'));
        if (parts.size() != 2 || !parseHex16(parts[0], &o->vendorId) ||
            !parseHex16(parts[1], &o->productId)) {
            return bad(QStringLiteral("VID:PID in hex, e.g. 1F3A:0007"));
        }
        *usbGiven = true;
    }
    return true;
}

} // namespace

bool EmuOptions::parse(const QStringList& arguments, EmuOptions* options, QString* error)
{
    EmuOptions o;
    bool usbGiven = false;
    for (int i = 0; i < arguments.size(); ++i) {
        QString name = arguments[i];
        QString value;
        bool hasInlineValue = false;
        const int eq = name.indexOf(QLatin1Char('='));
        if (name.startsWith(QLatin1String("--")) && eq > 2) {
            value = name.mid(eq + 1);
            name = name.left(eq);
            hasInlineValue = true;
        }

        if (name == QLatin1String("--window") || name == QLatin1String("--help") ||
            name == QLatin1String("-h")) {
            if (hasInlineValue) {
                *error = QStringLiteral("option %1 takes no value").arg(name);
                return false;
            }
            (name == QLatin1String("--window") ? o.window : o.help) = true;
            continue;
        }
        if (!takesValue(name)) {
            *error = QStringLiteral("unknown option '%1'").arg(arguments[i]);
            return false;
        }
        if (!hasInlineValue) {
            if (i + 1 >= arguments.size()) {
                *error = QStringLiteral("option %1 needs a value").arg(name);
                return false;
            }
            value = arguments[++i];
        }
        if (!applyValue(name, value, &o, &usbGiven, error)) {
            return false;
        }
    }

    if (!o.help && o.link.isEmpty()) {
        *error = QStringLiteral("--link PATH is required");
        return false;
    }
    if (!usbGiven && o.family == Digital) {
        o.vendorId = kDigitalVendorId;
        o.productId = kDigitalProductId;
    }
    *options = o;
    return true;
}

QString EmuOptions::usage()
{
    return QStringLiteral(
        "usage: panelcast-emu --link PATH [--family display|digital] [--size WxH] [--mode N]\n"
        "                     [--reply-len 12|13] [--version TEXT] [--ack always|never|delay:MS]\n"
        "                     [--out DIR] [--png-every N] [--window] [--seconds N] [--usb VID:PID]\n"
        "Behaves like a USB display (or seven-segment panel) on a pseudo-terminal published at PATH.\n");
}

QString EmuOptions::usbPair() const
{
    return QStringLiteral("%1:%2")
        .arg(vendorId, 4, 16, QLatin1Char('0'))
        .arg(productId, 4, 16, QLatin1Char('0'))
        .toUpper();
}
