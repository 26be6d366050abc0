#include "scenerenderbench.h"

#include "devicemodels.h"
#include "dispdatewidget.h"
#include "dispframerenderer.h"
#include "displabelwidget.h"
#include "disptextwidget.h"
#include "disptimewidget.h"
#include "dispweekdaywidget.h"
#include "h264encoder.h"

#include <QElapsedTimer>
#include <QGraphicsRectItem>
#include <QGraphicsScene>
#include <QLinearGradient>
#include <QPainter>

#include <algorithm>
#include <vector>

namespace {

double median(std::vector<double> values, double p = 0.5)
{
    if (values.empty()) {
        return 0;
    }
    std::sort(values.begin(), values.end());
    return values[std::min(values.size() - 1, size_t(p * double(values.size() - 1) + 0.5))];
}

QFont pixelFont(int pixels)
{
    QFont font(QStringLiteral("DejaVu Sans"));
    font.setPixelSize(pixels);
    return font;
}

// A theme-like scene: a gradient background, a scrolling text, a reading
// with its caption, a date, a time and a weekday.
void fillScene(QGraphicsScene& scene)
{
    const QRectF area = scene.sceneRect();
    QLinearGradient gradient(area.topLeft(), area.bottomRight());
    gradient.setColorAt(0, QColor(20, 40, 120));
    gradient.setColorAt(1, QColor(120, 20, 60));
    scene.addRect(area, Qt::NoPen, QBrush(gradient))->setZValue(-1);

    auto* text = new DispTextWidget(nullptr, QStringLiteral("_bench"));
    text->setFont(pixelFont(40));
    text->setDefaultTextColor(Qt::yellow);
    text->setPlainText(QStringLiteral("Panelcast"));
    text->setEffect(DispTextWidget::EffectLeft);
    scene.addItem(text);
    text->setPos(10, 10);

    const auto addLabel = [&scene](DispLabelWidget* label, const QString& text, int pixels, qreal y) {
        label->setFont(pixelFont(pixels));
        label->setColor(Qt::white);
        if (!text.isEmpty()) {
            label->setText(text);
        }
        scene.addItem(label);
        label->setPos(10, y);
    };
    addLabel(new DispLabelWidget, QStringLiteral("CPU Temperature"), 24, 70);
    addLabel(new DispLabelWidget, QStringLiteral("57°C"), 72, 100);
    addLabel(new DispDateWidget(nullptr, QStringLiteral("_bench")), QString(), 30, 190);
    addLabel(new DispTimeWidget(nullptr, QStringLiteral("_bench")), QString(), 48, 230);
    addLabel(new DispWeekdayWidget(nullptr, QStringLiteral("_bench")), QString(), 30, 290);
}

// The frame built the plain way, allocating as it goes.
QImage plainFrame(QGraphicsScene& scene, int quarterTurns, const EncoderLayout& layout, const QSize& panel)
{
    QImage picture(scene.sceneRect().size().toSize(), QImage::Format_ARGB32_Premultiplied);
    picture.fill(Qt::white);
    {
        QPainter painter(&picture);
        scene.render(&painter);
    }
    if (quarterTurns >= 1 && quarterTurns <= 3) {
        QTransform turn;
        turn.rotate(90 * quarterTurns);
        picture = picture.transformed(turn, Qt::FastTransformation);
    }
    if (!layout.isPadded(panel)) {
        return picture;
    }
    QImage padded(layout.encoderSize, picture.format());
    padded.fill(Qt::transparent);
    QPainter painter(&padded);
    painter.drawImage(layout.pictureOffset, picture);
    return padded;
}

} // namespace

SceneRenderBench::Row SceneRenderBench::measure(const QSize& panel, int quarterTurns, int frames)
{
    Row row;
    row.panel = panel;
    row.quarterTurns = quarterTurns;
    const EncoderLayout layout = DeviceModels::encoderLayout(panel, 0x1F3A, 0x0007);
    row.image = layout.encoderSize;
    const QSize sceneSize = (quarterTurns % 2 == 1) ? panel.transposed() : panel;
    QGraphicsScene scene(QRectF(QPointF(0, 0), QSizeF(sceneSize)));
    fillScene(scene);

    auto encoder = H264Encoder::create(layout.encoderSize.width(), layout.encoderSize.height());
    if (!encoder) {
        return row;
    }
    row.codec = encoder->codecName();

    DispFrameRenderer renderer;
    const QSize imageSize = layout.isPadded(panel) ? layout.encoderSize : QSize();
    const auto render = [&] { return renderer.render(scene, quarterTurns, imageSize, layout.pictureOffset); };
    // The first paint settles the widgets' sizes; compare from the second.
    QImage frame = render();
    frame = render();
    row.identical = frame.convertToFormat(QImage::Format_ARGB32) ==
                    plainFrame(scene, quarterTurns, layout, panel).convertToFormat(QImage::Format_ARGB32);
    const int warmAllocations = renderer.allocationCount();

    std::vector<double> renderMs;
    std::vector<double> plainMs;
    std::vector<double> convertMs;
    std::vector<double> encodeMs;
    QElapsedTimer timer;
    for (int i = 0; i < frames; ++i) {
        timer.start();
        frame = render();
        renderMs.push_back(double(timer.nsecsElapsed()) / 1e6);

        timer.start();
        const QImage plain = plainFrame(scene, quarterTurns, layout, panel);
        plainMs.push_back(double(timer.nsecsElapsed()) / 1e6);

        QByteArray out;
        timer.start();
        if (!encoder->convert(BgraImage::fromImage(frame))) {
            return row;
        }
        const qint64 converted = timer.nsecsElapsed();
        if (encoder->encodeConverted(out) != H264Encoder::Result::Ok) {
            return row;
        }
        convertMs.push_back(double(converted) / 1e6);
        encodeMs.push_back(double(timer.nsecsElapsed() - converted) / 1e6);
    }
    row.renderMedianMs = median(renderMs);
    row.renderP95Ms = median(renderMs, 0.95);
    row.plainMedianMs = median(plainMs);
    row.convertMedianMs = median(convertMs);
    row.encodeMedianMs = median(encodeMs);
    row.allocationsAfterWarmUp = renderer.allocationCount() - warmAllocations;
    row.ok = true;
    return row;
}

QString SceneRenderBench::table(const QList<Row>& rows)
{
    QString text;
    text += QStringLiteral("| Panel | Turn | Image | Render, turn, pad median ms | p95 ms | Plain way ms "
                           "| Same pixels | BGRA->YUV ms | Encode ms | Frame total ms | Frame allocations "
                           "after warm-up |\n");
    text += QStringLiteral("|---|---:|---|---:|---:|---:|---|---:|---:|---:|---:|\n");
    for (const Row& row : rows) {
        const QString panel = QStringLiteral("%1x%2").arg(row.panel.width()).arg(row.panel.height());
        if (!row.ok) {
            text += QStringLiteral("| %1 | %2 | failed | | | | | | | | |\n")
                        .arg(panel)
                        .arg(row.quarterTurns * 90);
            continue;
        }
        text += QStringLiteral("| %1 | %2 | %3x%4 | %5 | %6 | %7 | %8 | %9 | %10 | %11 | %12 |\n")
                    .arg(panel)
                    .arg(row.quarterTurns * 90)
                    .arg(row.image.width())
                    .arg(row.image.height())
                    .arg(row.renderMedianMs, 0, 'f', 2)
                    .arg(row.renderP95Ms, 0, 'f', 2)
                    .arg(row.plainMedianMs, 0, 'f', 2)
                    .arg(row.identical ? QStringLiteral("yes") : QStringLiteral("no"))
                    .arg(row.convertMedianMs, 0, 'f', 2)
                    .arg(row.encodeMedianMs, 0, 'f', 2)
                    .arg(row.renderMedianMs + row.convertMedianMs + row.encodeMedianMs, 0, 'f', 2)
                    .arg(row.allocationsAfterWarmUp);
    }
    return text;
}
