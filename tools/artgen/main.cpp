// panelcast-artgen: draws every compiled-in image of Panelcast with QPainter.
// The PNGs under resources/images are its output; run it again after changing
// a drawing:  panelcast-artgen <repo>/resources/images <repo>/packaging/icons
// (the second folder receives the application icon in the menu's sizes).
#include <QDir>
#include <QFileInfo>
#include <QGuiApplication>
#include <QImage>
#include <QLinearGradient>
#include <QPainter>
#include <QPainterPath>
#include <QRadialGradient>
#include <QTextStream>
#include <QtMath>

#include <algorithm>
#include <cstdio>
#include <functional>

namespace {

const QColor kAccent(166, 135, 85);
const QColor kAccentLight(204, 172, 118);
const QColor kDark(0x1d, 0x1d, 0x1d);
const QColor kDarker(0x03, 0x03, 0x03);
const QColor kPanel(0x20, 0x20, 0x20);
const QColor kGrey(0x8a, 0x8a, 0x8a);
const QColor kWhite(0xf2, 0xf2, 0xf2);

QString g_outDir;
int g_written = 0;

QPolygonF poly(std::initializer_list<QPointF> points)
{
    return QPolygonF(QVector<QPointF>(points));
}

using Painter = std::function<void(QPainter&, const QRectF&)>;

void save(const QString& name, int w, int h, const Painter& draw)
{
    QImage image(w, h, QImage::Format_ARGB32_Premultiplied);
    image.fill(Qt::transparent);
    {
        QPainter p(&image);
        p.setRenderHint(QPainter::Antialiasing);
        p.setRenderHint(QPainter::TextAntialiasing);
        p.setRenderHint(QPainter::SmoothPixmapTransform);
        draw(p, QRectF(0, 0, w, h));
    }
    const QString path = g_outDir + QLatin1Char('/') + name;
    QDir().mkpath(QFileInfo(path).absolutePath());
    if (!image.save(path, "PNG")) {
        std::fprintf(stderr, "cannot write %s\n", qPrintable(path));
        std::exit(1);
    }
    ++g_written;
}

QFont font(int pixelSize, bool bold = false)
{
    QFont f(QStringLiteral("DejaVu Sans"));
    f.setPixelSize(pixelSize);
    f.setBold(bold);
    return f;
}

// The Panelcast mark: a small screen with a stand and a wave on it.
void drawMark(QPainter& p, const QRectF& r, const QColor& frame, const QColor& screen, const QColor& wave)
{
    const qreal s = qMin(r.width(), r.height());
    const QRectF box(r.center().x() - s / 2, r.center().y() - s / 2, s, s);
    const QRectF body(box.left() + s * 0.06, box.top() + s * 0.12, s * 0.88, s * 0.62);
    p.setPen(Qt::NoPen);
    p.setBrush(frame);
    p.drawRoundedRect(body, s * 0.1, s * 0.1);
    p.setBrush(screen);
    p.drawRoundedRect(body.adjusted(s * 0.07, s * 0.07, -s * 0.07, -s * 0.07), s * 0.05, s * 0.05);
    p.setBrush(frame);
    p.drawRect(QRectF(box.center().x() - s * 0.06, body.bottom(), s * 0.12, s * 0.12));
    p.drawRoundedRect(QRectF(box.center().x() - s * 0.25, body.bottom() + s * 0.1, s * 0.5, s * 0.08),
                      s * 0.04, s * 0.04);
    QPainterPath path;
    const QRectF in = body.adjusted(s * 0.15, s * 0.15, -s * 0.15, -s * 0.15);
    path.moveTo(in.left(), in.center().y());
    path.cubicTo(QPointF(in.left() + in.width() * 0.3, in.top()),
                 QPointF(in.left() + in.width() * 0.45, in.top()), in.center());
    path.cubicTo(QPointF(in.left() + in.width() * 0.55, in.bottom()),
                 QPointF(in.left() + in.width() * 0.7, in.bottom()), QPointF(in.right(), in.center().y()));
    p.setBrush(Qt::NoBrush);
    p.setPen(QPen(wave, qMax(1.5, s * 0.07), Qt::SolidLine, Qt::RoundCap));
    p.drawPath(path);
}

void drawGear(QPainter& p, const QRectF& r, const QColor& color)
{
    const QPointF c = r.center();
    const qreal outer = qMin(r.width(), r.height()) / 2 - 0.5;
    const qreal inner = outer * 0.72;
    QPainterPath gear;
    const int teeth = 8;
    for (int i = 0; i < teeth * 4; ++i) {
        const qreal a = (i / qreal(teeth * 4)) * 2 * M_PI;
        const qreal rad = (i % 4 == 1 || i % 4 == 2) ? outer : inner;
        const QPointF pt(c.x() + rad * qCos(a), c.y() + rad * qSin(a));
        if (i == 0) {
            gear.moveTo(pt);
        } else {
            gear.lineTo(pt);
        }
    }
    gear.closeSubpath();
    gear.addEllipse(c, outer * 0.32, outer * 0.32);
    gear.setFillRule(Qt::OddEvenFill);
    p.setPen(Qt::NoPen);
    p.setBrush(color);
    p.drawPath(gear);
}

void drawCross(QPainter& p, const QRectF& r, const QColor& color)
{
    const QRectF in = r.adjusted(r.width() * 0.2, r.height() * 0.2, -r.width() * 0.2, -r.height() * 0.2);
    p.setPen(QPen(color, qMax(1.6, r.width() * 0.12), Qt::SolidLine, Qt::RoundCap));
    p.drawLine(in.topLeft(), in.bottomRight());
    p.drawLine(in.topRight(), in.bottomLeft());
}

void drawButtonBase(QPainter& p, const QRectF& r, bool pressed)
{
    const QRectF b = r.adjusted(1, 1, -1, -1);
    QLinearGradient g(b.topLeft(), b.bottomLeft());
    if (pressed) {
        g.setColorAt(0, kAccentLight);
        g.setColorAt(1, kAccent);
    } else {
        g.setColorAt(0, QColor(0x3a, 0x3a, 0x3a));
        g.setColorAt(1, QColor(0x2a, 0x2a, 0x2a));
    }
    p.setPen(QPen(pressed ? kAccentLight : QColor(0x4a, 0x4a, 0x4a), 1));
    p.setBrush(g);
    p.drawRoundedRect(b, 5, 5);
}

// Arrow with a tray: up for export/upgrade, down for import.
void drawTrayArrow(QPainter& p, const QRectF& r, bool up, const QColor& color)
{
    const qreal s = qMin(r.width(), r.height());
    const QPointF c = r.center();
    const qreal lw = qMax(1.5, s * 0.1);
    p.setPen(QPen(color, lw, Qt::SolidLine, Qt::RoundCap, Qt::RoundJoin));
    p.setBrush(Qt::NoBrush);
    QPainterPath tray;
    tray.moveTo(c.x() - s * 0.35, c.y() + s * 0.05);
    tray.lineTo(c.x() - s * 0.35, c.y() + s * 0.35);
    tray.lineTo(c.x() + s * 0.35, c.y() + s * 0.35);
    tray.lineTo(c.x() + s * 0.35, c.y() + s * 0.05);
    p.drawPath(tray);
    const qreal top = c.y() - s * 0.38;
    const qreal bottom = c.y() + s * 0.15;
    p.drawLine(QPointF(c.x(), top), QPointF(c.x(), bottom));
    const qreal head = s * 0.18;
    if (up) {
        p.drawLine(QPointF(c.x(), top), QPointF(c.x() - head, top + head));
        p.drawLine(QPointF(c.x(), top), QPointF(c.x() + head, top + head));
    } else {
        p.drawLine(QPointF(c.x(), bottom), QPointF(c.x() - head, bottom - head));
        p.drawLine(QPointF(c.x(), bottom), QPointF(c.x() + head, bottom - head));
    }
}

// Device icon: the panel drawn in its own aspect ratio.
void drawPanelIcon(QPainter& p, const QRectF& r, int pw, int ph)
{
    const qreal margin = r.width() * 0.06;
    const QRectF area = r.adjusted(margin, margin, -margin, -margin);
    const qreal scale = qMin(area.width() / pw, area.height() / ph);
    qreal w = pw * scale;
    qreal h = ph * scale;
    // Very thin bars still need a readable screen.
    w = qMax(w, area.width() * 0.28);
    h = qMax(h, area.height() * 0.28);
    const QRectF body(area.center().x() - w / 2, area.center().y() - h / 2, w, h);
    const qreal radius = qMin(w, h) * 0.14;
    p.setPen(Qt::NoPen);
    p.setBrush(kAccent);
    p.drawRoundedRect(body, radius, radius);
    const qreal bezel = qMax(2.0, qMin(w, h) * 0.1);
    const QRectF screen = body.adjusted(bezel, bezel, -bezel, -bezel);
    QLinearGradient g(screen.topLeft(), screen.bottomRight());
    g.setColorAt(0, QColor(0x2c, 0x2c, 0x2c));
    g.setColorAt(1, kDarker);
    p.setBrush(g);
    p.drawRoundedRect(screen, radius * 0.5, radius * 0.5);
    // Three reading bars, along the long side.
    p.setBrush(kAccentLight);
    const bool portrait = screen.height() > screen.width();
    for (int i = 0; i < 3; ++i) {
        const qreal fill = 0.45 + 0.2 * ((i * 7) % 3);
        if (portrait) {
            const qreal bw = screen.width() * 0.5;
            const qreal bh = qMax(1.5, screen.height() * 0.08);
            const qreal y = screen.top() + screen.height() * (0.22 + i * 0.25);
            p.drawRect(QRectF(screen.center().x() - bw / 2, y, bw * fill, bh));
        } else {
            const qreal bh = screen.height() * 0.5;
            const qreal bw = qMax(1.5, screen.width() * 0.08);
            const qreal x = screen.left() + screen.width() * (0.22 + i * 0.25);
            p.drawRect(QRectF(x, screen.center().y() + bh / 2 - bh * fill, bw, bh * fill));
        }
    }
}

// One seven-segment digit showing 8 (all segments), in a box of width w and height 2w.
void drawSegmentDigit(QPainter& p, const QRectF& r, const QColor& color)
{
    const qreal t = r.width() * 0.18;
    const qreal w = r.width();
    const qreal h = r.height();
    p.setPen(Qt::NoPen);
    p.setBrush(color);
    auto horiz = [&](qreal y) {
        QPolygonF poly;
        poly << QPointF(r.left() + t * 0.6, y) << QPointF(r.left() + t * 1.1, y - t / 2)
             << QPointF(r.left() + w - t * 1.1, y - t / 2) << QPointF(r.left() + w - t * 0.6, y)
             << QPointF(r.left() + w - t * 1.1, y + t / 2) << QPointF(r.left() + t * 1.1, y + t / 2);
        p.drawPolygon(poly);
    };
    auto vert = [&](qreal x, qreal y0, qreal y1) {
        QPolygonF poly;
        poly << QPointF(x, y0 + t * 0.6) << QPointF(x + t / 2, y0 + t * 1.1)
             << QPointF(x + t / 2, y1 - t * 1.1) << QPointF(x, y1 - t * 0.6)
             << QPointF(x - t / 2, y1 - t * 1.1) << QPointF(x - t / 2, y0 + t * 1.1);
        p.drawPolygon(poly);
    };
    const qreal top = r.top() + t / 2;
    const qreal mid = r.top() + h / 2;
    const qreal bottom = r.bottom() - t / 2;
    horiz(top);
    horiz(mid);
    horiz(bottom);
    vert(r.left() + t / 2, top, mid);
    vert(r.left() + w - t / 2, top, mid);
    vert(r.left() + t / 2, mid, bottom);
    vert(r.left() + w - t / 2, mid, bottom);
}

void drawToggle(QPainter& p, const QRectF& r, bool on)
{
    const QRectF track = r.adjusted(1, 2, -1, -2);
    p.setPen(Qt::NoPen);
    p.setBrush(on ? kAccent : QColor(0x4a, 0x4a, 0x4a));
    p.drawRoundedRect(track, track.height() / 2, track.height() / 2);
    const qreal d = r.height() - 2;
    const QRectF knob(on ? r.right() - d - 1 : r.left() + 1, r.top() + 1, d, d);
    p.setBrush(on ? kWhite : QColor(0xb0, 0xb0, 0xb0));
    p.drawEllipse(knob);
}

void drawHand(QPainter& p, const QRectF& r, int pivot, const QColor& color, bool thin)
{
    const qreal w = r.width();
    const qreal hub = r.height() - pivot;
    QPainterPath path;
    if (thin) {
        path.addRoundedRect(QRectF(w * 0.15, 0, w * 0.7, r.height()), w * 0.3, w * 0.3);
    } else {
        path.moveTo(w / 2, 0);
        path.lineTo(w * 0.78, w * 0.6);
        path.lineTo(w * 0.62, r.height() - 2);
        path.quadTo(w / 2, r.height(), w * 0.38, r.height() - 2);
        path.lineTo(w * 0.22, w * 0.6);
        path.closeSubpath();
    }
    p.setPen(Qt::NoPen);
    p.setBrush(color);
    p.drawPath(path);
    if (!thin) {
        // A dark inlay along the hand and a ring at the pivot.
        p.setBrush(QColor(0, 0, 0, 90));
        p.drawRoundedRect(QRectF(w * 0.44, w * 1.2, w * 0.12, hub - w * 2.2), 1, 1);
        p.setBrush(color);
        p.drawEllipse(QPointF(w / 2, hub), w * 0.45, w * 0.45);
        p.setBrush(kDark);
        p.drawEllipse(QPointF(w / 2, hub), w * 0.15, w * 0.15);
    }
}

void drawDial(QPainter& p, const QRectF& r)
{
    const QPointF c = r.center();
    const qreal rad = r.width() / 2 - 2;
    QRadialGradient face(c, rad);
    face.setColorAt(0, QColor(0x2e, 0x2e, 0x2e));
    face.setColorAt(0.85, QColor(0x1a, 0x1a, 0x1a));
    face.setColorAt(1, QColor(0x10, 0x10, 0x10));
    p.setPen(QPen(kAccent, 6));
    p.setBrush(face);
    p.drawEllipse(c, rad - 3, rad - 3);
    p.setPen(QPen(QColor(0x55, 0x55, 0x55), 1.5));
    p.setBrush(Qt::NoBrush);
    p.drawEllipse(c, rad - 14, rad - 14);
    for (int i = 0; i < 60; ++i) {
        const qreal a = i * 6 * M_PI / 180;
        const bool hour = i % 5 == 0;
        const qreal outer = rad - 20;
        const qreal inner = outer - (hour ? 26 : 10);
        p.setPen(QPen(hour ? kWhite : kGrey, hour ? 5 : 2, Qt::SolidLine, Qt::RoundCap));
        p.drawLine(QPointF(c.x() + inner * qSin(a), c.y() - inner * qCos(a)),
                   QPointF(c.x() + outer * qSin(a), c.y() - outer * qCos(a)));
    }
    p.setFont(font(34, true));
    for (int h = 1; h <= 12; ++h) {
        const qreal a = h * 30 * M_PI / 180;
        const qreal d = rad - 78;
        const QPointF pos(c.x() + d * qSin(a), c.y() - d * qCos(a));
        p.setPen(h % 3 == 0 ? kAccentLight : kWhite);
        p.drawText(QRectF(pos.x() - 30, pos.y() - 22, 60, 44), Qt::AlignCenter, QString::number(h));
    }
    p.setFont(font(16, true));
    p.setPen(kAccent);
    p.drawText(QRectF(c.x() - 100, c.y() + 60, 200, 24), Qt::AlignCenter, QStringLiteral("PANELCAST"));
}

void drawSquareIcon(QPainter& p, const QRectF& r, bool pressed,
                    const std::function<void(const QRectF&)>& glyph)
{
    drawButtonBase(p, r, pressed);
    glyph(r.adjusted(r.width() * 0.2, r.height() * 0.2, -r.width() * 0.2, -r.height() * 0.2));
}

} // namespace

// The official themes' backgrounds, one per look and panel size:
// "<look>_<W>x<H>.png". Drawn at build time; the themes' JSON names them.
void drawThemeBackgrounds()
{
    const QSize sizes[] = {{480, 1920}, {462, 1920}, {360, 960}, {480, 480}, {320, 240}, {1080, 1920}};
    for (const QSize& size : sizes) {
        const QString suffix = QStringLiteral("_%1x%2.png").arg(size.width()).arg(size.height());
        // Ember: a warm dusk, a soft sun low on one side, fine horizon lines.
        save(QStringLiteral("ember") + suffix, size.width(), size.height(), [](QPainter& p, const QRectF& r) {
            QLinearGradient sky(r.topLeft(), r.bottomLeft());
            sky.setColorAt(0, QColor(0x14, 0x0c, 0x1c));
            sky.setColorAt(0.55, QColor(0x3a, 0x16, 0x22));
            sky.setColorAt(1, QColor(0x6b, 0x2a, 0x14));
            p.fillRect(r, sky);
            const double side = std::min(r.width(), r.height());
            QRadialGradient sun(QPointF(r.width() * 0.8, r.height() * 0.78), side * 0.6);
            sun.setColorAt(0, QColor(255, 170, 80, 150));
            sun.setColorAt(1, QColor(255, 120, 40, 0));
            p.fillRect(r, sun);
            p.setPen(QPen(QColor(255, 190, 120, 40), 1));
            for (double y = r.height() * 0.6; y < r.height(); y += side / 40 + 2) {
                p.drawLine(QPointF(0, y), QPointF(r.width(), y));
            }
        });
        // Glacier: deep blue with a faint grid and a diagonal glow.
        save(QStringLiteral("glacier") + suffix, size.width(), size.height(),
             [](QPainter& p, const QRectF& r) {
                 QLinearGradient deep(r.topLeft(), r.bottomRight());
                 deep.setColorAt(0, QColor(0x06, 0x12, 0x24));
                 deep.setColorAt(1, QColor(0x0b, 0x2e, 0x45));
                 p.fillRect(r, deep);
                 const double step = std::max(16.0, std::min(r.width(), r.height()) / 12);
                 p.setPen(QPen(QColor(120, 200, 255, 28), 1));
                 for (double x = 0; x < r.width(); x += step) {
                     p.drawLine(QPointF(x, 0), QPointF(x, r.height()));
                 }
                 for (double y = 0; y < r.height(); y += step) {
                     p.drawLine(QPointF(0, y), QPointF(r.width(), y));
                 }
                 QLinearGradient glow(r.topLeft(), r.bottomRight());
                 glow.setColorAt(0.35, QColor(90, 220, 255, 0));
                 glow.setColorAt(0.5, QColor(90, 220, 255, 45));
                 glow.setColorAt(0.65, QColor(90, 220, 255, 0));
                 p.fillRect(r, glow);
             });
    }
}

int main(int argc, char* argv[])
{
    qputenv("QT_QPA_PLATFORM", "offscreen");
    QGuiApplication app(argc, argv);
    if (argc == 3 && QByteArray(argv[1]) == "--theme-backgrounds") {
        g_outDir = QDir(QString::fromLocal8Bit(argv[2])).absolutePath();
        drawThemeBackgrounds();
        return 0;
    }
    if (argc != 2 && argc != 3) {
        std::fprintf(stderr, "usage: panelcast-artgen <output folder> [<icon folder>]\n"
                             "       panelcast-artgen --theme-backgrounds <output folder>\n");
        return 2;
    }
    if (argc == 3) {
        g_outDir = QDir(QString::fromLocal8Bit(argv[2])).absolutePath();
        for (int size : {64, 128, 256}) {
            save(QStringLiteral("panelcast-%1.png").arg(size), size, size,
                 [](QPainter& p, const QRectF& r) { drawMark(p, r, kAccent, kDarker, kAccentLight); });
        }
    }
    g_outDir = QDir(QString::fromLocal8Bit(argv[1])).absolutePath();

    // Top bar: gradient, accent rule at the bottom, the mark and the name.
    save(QStringLiteral("topbg.png"), 1400, 55, [](QPainter& p, const QRectF& r) {
        QLinearGradient g(r.topLeft(), r.bottomLeft());
        g.setColorAt(0, QColor(0x2b, 0x2b, 0x2b));
        g.setColorAt(1, QColor(0x16, 0x16, 0x16));
        p.fillRect(r, g);
        p.fillRect(QRectF(0, r.height() - 2, r.width(), 2), kAccent);
        drawMark(p, QRectF(18, 10, 34, 34), kAccent, kDarker, kAccentLight);
        p.setFont(font(20, true));
        p.setPen(kWhite);
        p.drawText(QRectF(62, 0, 200, 53), Qt::AlignVCenter | Qt::AlignLeft, QStringLiteral("Panelcast"));
    });
    save(QStringLiteral("setting.png"), 18, 18,
         [](QPainter& p, const QRectF& r) { drawGear(p, r, QColor(0xd8, 0xd8, 0xd8)); });
    save(QStringLiteral("setting_pressed.png"), 18, 18,
         [](QPainter& p, const QRectF& r) { drawGear(p, r, kAccentLight); });
    save(QStringLiteral("close.png"), 18, 18,
         [](QPainter& p, const QRectF& r) { drawCross(p, r, QColor(0xd8, 0xd8, 0xd8)); });
    save(QStringLiteral("close_pressed.png"), 18, 18, [](QPainter& p, const QRectF& r) {
        p.setPen(Qt::NoPen);
        p.setBrush(QColor(0xc0, 0x3a, 0x2b));
        p.drawEllipse(r.adjusted(0.5, 0.5, -0.5, -0.5));
        drawCross(p, r.adjusted(2, 2, -2, -2), kWhite);
    });
    save(QStringLiteral("ruanjian2.png"), 64, 64,
         [](QPainter& p, const QRectF& r) { drawMark(p, r, kAccent, kDarker, kAccentLight); });
    save(QStringLiteral("digital.png"), 60, 60, [](QPainter& p, const QRectF& r) {
        p.setPen(QPen(kAccent, 3));
        p.setBrush(kDarker);
        p.drawRoundedRect(r.adjusted(2, 8, -2, -8), 6, 6);
        drawSegmentDigit(p, QRectF(11, 15, 17, 30), kAccentLight);
        drawSegmentDigit(p, QRectF(32, 15, 17, 30), kAccentLight);
    });

    const QList<QPair<int, int>> sizes = {{240, 320},  {320, 240},  {320, 320},  {320, 480},
                                          {360, 960},  {440, 1920}, {462, 1920}, {480, 272},
                                          {480, 320},  {480, 480},  {480, 1280}, {480, 1920},
                                          {515, 1920}, {800, 480},  {800, 1280}, {1080, 1920}};
    for (const auto& size : sizes) {
        save(QStringLiteral("theme_%1%2.png").arg(size.first).arg(size.second), 60, 60,
             [size](QPainter& p, const QRectF& r) { drawPanelIcon(p, r, size.first, size.second); });
    }

    save(QStringLiteral("save.png"), 32, 32, [](QPainter& p, const QRectF& r) {
        drawButtonBase(p, r, false);
        const QRectF d = r.adjusted(8, 8, -8, -8);
        p.setPen(Qt::NoPen);
        p.setBrush(kAccentLight);
        p.drawRoundedRect(d, 2, 2);
        p.setBrush(QColor(0x2a, 0x2a, 0x2a));
        p.drawRect(QRectF(d.left() + 3, d.top(), d.width() - 6, d.height() * 0.35));
        p.drawRect(
            QRectF(d.left() + 4, d.bottom() - d.height() * 0.38, d.width() - 8, d.height() * 0.38 - 2));
    });
    save(QStringLiteral("export.png"), 52, 32, [](QPainter& p, const QRectF& r) {
        drawButtonBase(p, r, false);
        drawTrayArrow(p, QRectF(r.center().x() - 11, 5, 22, 22), true, kAccentLight);
    });
    save(QStringLiteral("import.png"), 52, 32, [](QPainter& p, const QRectF& r) {
        drawButtonBase(p, r, false);
        drawTrayArrow(p, QRectF(r.center().x() - 11, 5, 22, 22), false, kAccentLight);
    });

    // Home page: mode buttons, panel items and headers.
    for (const bool pressed : {false, true}) {
        const QString suffix = pressed ? QStringLiteral("_pressed.png") : QStringLiteral(".png");
        const QColor ink = pressed ? kWhite : kAccentLight;
        save(QStringLiteral("home/standard") + suffix, 48, 48, [pressed, ink](QPainter& p, const QRectF& r) {
            drawSquareIcon(p, r, pressed, [&p, ink](const QRectF& g) {
                p.setPen(Qt::NoPen);
                p.setBrush(ink);
                const qreal s = g.width() / 2 - 2;
                p.drawRoundedRect(QRectF(g.left(), g.top(), s, s), 2, 2);
                p.drawRoundedRect(QRectF(g.right() - s, g.top(), s, s), 2, 2);
                p.drawRoundedRect(QRectF(g.left(), g.bottom() - s, s, s), 2, 2);
                p.drawRoundedRect(QRectF(g.right() - s, g.bottom() - s, s, s), 2, 2);
            });
        });
        save(QStringLiteral("home/custom") + suffix, 48, 48, [pressed, ink](QPainter& p, const QRectF& r) {
            drawSquareIcon(p, r, pressed, [&p, ink](const QRectF& g) {
                p.setPen(QPen(ink, 3, Qt::SolidLine, Qt::RoundCap));
                p.drawLine(g.bottomLeft() + QPointF(3, -3), g.topRight() + QPointF(-3, 3));
                p.setPen(QPen(ink, 2, Qt::SolidLine, Qt::RoundCap));
                p.drawLine(g.bottomLeft() + QPointF(0, 0), g.bottomLeft() + QPointF(8, 0));
            });
        });
        save(QStringLiteral("home/bar") + suffix, 48, 48, [pressed, ink](QPainter& p, const QRectF& r) {
            drawSquareIcon(p, r, pressed, [&p, ink](const QRectF& g) {
                p.setPen(Qt::NoPen);
                const qreal h = g.height() / 5;
                for (int i = 0; i < 3; ++i) {
                    const QRectF track(g.left(), g.top() + i * h * 2, g.width(), h);
                    p.setBrush(QColor(0x55, 0x55, 0x55));
                    p.drawRoundedRect(track, h / 2, h / 2);
                    p.setBrush(ink);
                    p.drawRoundedRect(QRectF(track.left(), track.top(), track.width() * (0.8 - 0.25 * i), h),
                                      h / 2, h / 2);
                }
            });
        });
        save(QStringLiteral("home/data") + suffix, 90, 25, [pressed](QPainter& p, const QRectF& r) {
            drawButtonBase(p, r, pressed);
            p.setPen(QPen(pressed ? kWhite : kAccent, 1.5));
            p.drawLine(QPointF(8, 16), QPointF(12, 10));
            p.drawLine(QPointF(12, 10), QPointF(15, 14));
            p.drawLine(QPointF(15, 14), QPointF(20, 7));
        });
        save(QStringLiteral("home/capture_bg") + suffix, 48, 48,
             [pressed, ink](QPainter& p, const QRectF& r) {
                 drawSquareIcon(p, r, pressed, [&p, ink](const QRectF& g) {
                     p.setPen(QPen(ink, 2.5, Qt::SolidLine, Qt::RoundCap));
                     const qreal c = g.width() * 0.3;
                     p.drawPolyline(
                         poly({g.topLeft() + QPointF(0, c), g.topLeft(), g.topLeft() + QPointF(c, 0)}));
                     p.drawPolyline(
                         poly({g.topRight() + QPointF(-c, 0), g.topRight(), g.topRight() + QPointF(0, c)}));
                     p.drawPolyline(poly(
                         {g.bottomLeft() + QPointF(0, -c), g.bottomLeft(), g.bottomLeft() + QPointF(c, 0)}));
                     p.drawPolyline(poly({g.bottomRight() + QPointF(-c, 0), g.bottomRight(),
                                          g.bottomRight() + QPointF(0, -c)}));
                     p.setPen(Qt::NoPen);
                     p.setBrush(ink);
                     p.drawEllipse(g.center(), g.width() * 0.14, g.width() * 0.14);
                 });
             });
        save(QStringLiteral("home/vedio_bg") + suffix, 48, 48, [pressed, ink](QPainter& p, const QRectF& r) {
            drawSquareIcon(p, r, pressed, [&p, ink](const QRectF& g) {
                p.setPen(QPen(ink, 2));
                p.setBrush(Qt::NoBrush);
                p.drawRoundedRect(g.adjusted(0, 3, 0, -3), 3, 3);
                p.setPen(Qt::NoPen);
                p.setBrush(ink);
                QPolygonF play;
                play << g.center() + QPointF(-4, -6) << g.center() + QPointF(6, 0)
                     << g.center() + QPointF(-4, 6);
                p.drawPolygon(play);
            });
        });
    }
    save(QStringLiteral("home/arc.png"), 48, 48, [](QPainter& p, const QRectF& r) {
        drawSquareIcon(p, r, false, [&p](const QRectF& g) {
            p.setPen(QPen(QColor(0x55, 0x55, 0x55), 4, Qt::SolidLine, Qt::RoundCap));
            p.drawArc(g.adjusted(2, 2, -2, -2), 0, 360 * 16);
            p.setPen(QPen(kAccentLight, 4, Qt::SolidLine, Qt::RoundCap));
            p.drawArc(g.adjusted(2, 2, -2, -2), 90 * 16, -250 * 16);
        });
    });
    save(QStringLiteral("home/bg_picture.png"), 48, 48, [](QPainter& p, const QRectF& r) {
        drawSquareIcon(p, r, false, [&p](const QRectF& g) {
            p.setPen(QPen(kAccentLight, 2));
            p.setBrush(Qt::NoBrush);
            p.drawRoundedRect(g, 3, 3);
            p.setPen(Qt::NoPen);
            p.setBrush(kAccentLight);
            QPolygonF hills;
            hills << QPointF(g.left() + 2, g.bottom() - 2)
                  << QPointF(g.left() + g.width() * 0.4, g.center().y())
                  << QPointF(g.left() + g.width() * 0.6, g.bottom() - g.height() * 0.3)
                  << QPointF(g.left() + g.width() * 0.75, g.center().y() - 1)
                  << QPointF(g.right() - 2, g.bottom() - 2);
            p.drawPolygon(hills);
            p.drawEllipse(QPointF(g.right() - g.width() * 0.28, g.top() + g.height() * 0.28), 2.5, 2.5);
        });
    });
    save(QStringLiteral("home/param_bg.png"), 190, 70, [](QPainter& p, const QRectF& r) {
        QLinearGradient g(r.topLeft(), r.bottomLeft());
        g.setColorAt(0, QColor(0x2a, 0x2a, 0x2a));
        g.setColorAt(1, kPanel);
        p.setPen(QPen(QColor(166, 135, 85, 150), 1));
        p.setBrush(g);
        p.drawRoundedRect(r.adjusted(0.5, 0.5, -0.5, -0.5), 6, 6);
        p.fillRect(QRectF(0, 8, 3, r.height() - 16), kAccent);
    });
    save(QStringLiteral("home/remarks.png"), 16, 16, [](QPainter& p, const QRectF& r) {
        p.setPen(QPen(kAccentLight, 2, Qt::SolidLine, Qt::RoundCap));
        p.drawLine(QPointF(3, r.height() - 3), QPointF(r.width() - 4, 4));
        p.setPen(QPen(kGrey, 1.2));
        p.drawLine(QPointF(2, r.height() - 1.5), QPointF(r.width() - 2, r.height() - 1.5));
    });
    save(QStringLiteral("home/setting_bg.png"), 602, 617, [](QPainter& p, const QRectF& r) {
        const QRectF b = r.adjusted(0.5, 0.5, -0.5, -0.5);
        p.setPen(QPen(QColor(0x3a, 0x3a, 0x3a), 1));
        p.setBrush(kDark);
        p.drawRoundedRect(b, 8, 8);
        QPainterPath title;
        title.addRoundedRect(QRectF(1, 1, r.width() - 2, 34), 8, 8);
        title.addRect(QRectF(1, 20, r.width() - 2, 15));
        title.setFillRule(Qt::WindingFill);
        QLinearGradient g(0, 0, 0, 35);
        g.setColorAt(0, QColor(0x2e, 0x2e, 0x2e));
        g.setColorAt(1, QColor(0x24, 0x24, 0x24));
        p.setPen(Qt::NoPen);
        p.setBrush(g);
        p.drawPath(title.simplified());
        p.fillRect(QRectF(1, 34, r.width() - 2, 1), kAccent);
    });
    save(QStringLiteral("home/close.png"), 40, 20,
         [](QPainter& p, const QRectF& r) { drawToggle(p, r, false); });
    save(QStringLiteral("home/open.png"), 40, 20,
         [](QPainter& p, const QRectF& r) { drawToggle(p, r, true); });

    // Settings page buttons.
    save(QStringLiteral("settings/connect.png"), 24, 24, [](QPainter& p, const QRectF& r) {
        const QRectF a = r.adjusted(4, 4, -4, -4);
        p.setPen(QPen(kAccentLight, 2.2, Qt::SolidLine, Qt::RoundCap));
        p.drawArc(a, 30 * 16, 150 * 16);
        p.drawArc(a, 210 * 16, 150 * 16);
        p.setPen(Qt::NoPen);
        p.setBrush(kAccentLight);
        const QPointF e1(a.center().x() + a.width() / 2 * qCos(M_PI / 6),
                         a.center().y() - a.height() / 2 * 0.5);
        p.drawPolygon(poly({e1 + QPointF(-4, -3), e1 + QPointF(3, -4), e1 + QPointF(1, 3)}));
        const QPointF e2(a.center().x() - a.width() / 2 * qCos(M_PI / 6),
                         a.center().y() + a.height() / 2 * 0.5);
        p.drawPolygon(poly({e2 + QPointF(4, 3), e2 + QPointF(-3, 4), e2 + QPointF(-1, -3)}));
    });
    save(QStringLiteral("settings/upgrade.png"), 24, 24, [](QPainter& p, const QRectF& r) {
        drawTrayArrow(p, r.adjusted(2, 2, -2, -2), true, kAccentLight);
    });
    save(QStringLiteral("settings/export.png"), 50, 43, [](QPainter& p, const QRectF& r) {
        drawButtonBase(p, r, false);
        const QRectF doc(17, 8, 16, 24);
        p.setPen(QPen(kAccentLight, 1.6));
        p.setBrush(Qt::NoBrush);
        p.drawRoundedRect(doc, 2, 2);
        for (int i = 0; i < 3; ++i) {
            p.drawLine(QPointF(doc.left() + 3, doc.top() + 6 + i * 5),
                       QPointF(doc.right() - 3, doc.top() + 6 + i * 5));
        }
        p.setPen(QPen(kWhite, 2, Qt::SolidLine, Qt::RoundCap));
        p.drawLine(QPointF(32, 34), QPointF(40, 34));
        p.drawLine(QPointF(37, 31), QPointF(40, 34));
        p.drawLine(QPointF(37, 37), QPointF(40, 34));
    });
    save(QStringLiteral("textpointer.png"), 16, 16, [](QPainter& p, const QRectF& r) {
        p.setPen(QPen(kDarker, 1));
        p.setBrush(kWhite);
        QPolygonF tip;
        tip << QPointF(r.center().x(), 1) << QPointF(r.right() - 2, r.bottom() - 3)
            << QPointF(r.left() + 2, r.bottom() - 3);
        p.drawPolygon(tip);
    });

    // Analog clock: dial and hands pointing up; pivots 30, 40 and 60 px above the bottom edge.
    save(QStringLiteral("widgets/clock/clock_dial.png"), 471, 471,
         [](QPainter& p, const QRectF& r) { drawDial(p, r); });
    save(QStringLiteral("widgets/clock/hour_handle.png"), 23, 163,
         [](QPainter& p, const QRectF& r) { drawHand(p, r, 30, kWhite, false); });
    save(QStringLiteral("widgets/clock/minute_handle.png"), 19, 225,
         [](QPainter& p, const QRectF& r) { drawHand(p, r, 40, QColor(0xdd, 0xdd, 0xdd), false); });
    save(QStringLiteral("widgets/clock/second_handle.png"), 4, 239,
         [](QPainter& p, const QRectF& r) { drawHand(p, r, 60, kAccentLight, true); });

    std::printf("panelcast-artgen: %d images in %s\n", g_written, qPrintable(g_outDir));
    return 0;
}
