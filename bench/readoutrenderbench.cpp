#include "readoutrenderbench.h"

#include "bgraimage.h"
#include "disp3d.h"
#include "disp3dwidget.h"
#include "dispanalogclockwidget.h"
#include "disparcwidget.h"
#include "dispchart.h"
#include "dispchartwidget.h"
#include "dispcircularprogressbar.h"
#include "dispframerenderer.h"
#include "dispgaugewidget.h"
#include "dispprogressbar.h"
#include "dispprogressbarwidget.h"
#include "h264encoder.h"

#include <QCoreApplication>
#include <QElapsedTimer>
#include <QEventLoop>
#include <QGraphicsScene>
#include <QTimer>

#include <sys/resource.h>

#include <algorithm>
#include <functional>
#include <vector>

namespace {

const QSize kPanel(480, 1920);

double percentile(std::vector<double> values, double p)
{
    if (values.empty()) {
        return 0;
    }
    std::sort(values.begin(), values.end());
    return values[std::min(values.size() - 1, size_t(p * double(values.size() - 1) + 0.5))];
}

double cpuSeconds()
{
    rusage usage{};
    getrusage(RUSAGE_SELF, &usage);
    return double(usage.ru_utime.tv_sec + usage.ru_stime.tv_sec) +
           double(usage.ru_utime.tv_usec + usage.ru_stime.tv_usec) / 1e6;
}

DispWidget* makeArc(QGraphicsScene& scene, const QPointF& at, float value)
{
    auto* arc = new DispArcWidget(nullptr, nullptr);
    arc->ring()->resize(200, 200);
    arc->ring()->setLineWidth(18);
    arc->ring()->setRange(0, 100);
    arc->ring()->setValue(value, QStringLiteral("°C"));
    scene.addItem(arc);
    arc->setPos(at);
    return arc;
}

DispWidget* makeBar(QGraphicsScene& scene, const QPointF& at, float value)
{
    auto* bar = new DispProgressBarWidget(nullptr, nullptr);
    bar->bar()->setLength(400);
    bar->bar()->setThickness(40);
    bar->bar()->setValue(value);
    scene.addItem(bar);
    bar->setPos(at);
    return bar;
}

DispWidget* makeGauge(QGraphicsScene& scene, const QPointF& at)
{
    auto* gauge = new DispGaugeWidget(nullptr, nullptr);
    gauge->contentWidget()->resize(300, 300);
    gauge->updateData(1, 4321, QStringLiteral("MHz"));
    scene.addItem(gauge);
    gauge->setPos(at);
    return gauge;
}

DispWidget* makeChart(QGraphicsScene& scene, const QPointF& at)
{
    auto* chart = new DispChartWidget(nullptr, nullptr);
    chart->contentWidget()->resize(400, 200);
    for (int i = 0; i < 20; ++i) {
        chart->chart()->setCurrentValue(float(3000 + (i * 1237) % 5000));
        chart->chart()->takeSample();
    }
    chart->updateData(1, 4321, QStringLiteral("MHz"));
    scene.addItem(chart);
    chart->setPos(at);
    return chart;
}

DispWidget* makeClock(QGraphicsScene& scene, const QPointF& at)
{
    auto* clock = new DispAnalogClockWidget;
    scene.addItem(clock);
    clock->setPos(at);
    return clock;
}

DispWidget* make3D(QGraphicsScene& scene, const QPointF& at)
{
    auto* view = new Disp3DWidget(nullptr, nullptr);
    view->updateData(1, 4321.5, QStringLiteral("MHz"));
    scene.addItem(view);
    view->setPos(at);
    return view;
}

} // namespace

QList<ReadoutRenderBench::Row> ReadoutRenderBench::measureKinds(int frames)
{
    using Maker = std::function<DispWidget*(QGraphicsScene&)>;
    const QList<QPair<QString, Maker>> kinds = {
        {QStringLiteral("empty scene"), Maker([](QGraphicsScene&) -> DispWidget* { return nullptr; })},
        {QStringLiteral("ring 200x200"), Maker([](QGraphicsScene& s) {
             return makeArc(s, {40, 40}, 57);
         })},
        {QStringLiteral("bar 400x40"), Maker([](QGraphicsScene& s) {
             return makeBar(s, {40, 40}, 57);
         })},
        {QStringLiteral("gauge 300x300"), Maker([](QGraphicsScene& s) {
             return makeGauge(s, {40, 40});
         })},
        {QStringLiteral("chart 400x200"), Maker([](QGraphicsScene& s) {
             return makeChart(s, {40, 40});
         })},
        {QStringLiteral("clock 471x471"), Maker([](QGraphicsScene& s) {
             return makeClock(s, {4, 40});
         })},
        {QStringLiteral("3D text 300x300"), Maker([](QGraphicsScene& s) {
             return make3D(s, {40, 40});
         })},
    };
    QList<Row> rows;
    for (const auto& kind : kinds) {
        QGraphicsScene scene(QRectF(QPointF(0, 0), QSizeF(kPanel)));
        DispWidget* widget = kind.second(scene);
        DispFrameRenderer renderer;
        renderer.render(scene, 0);
        renderer.render(scene, 0);
        const auto measure = [&](bool repaint) {
            std::vector<double> ms;
            QElapsedTimer timer;
            for (int i = 0; i < frames; ++i) {
                if (repaint && widget != nullptr) {
                    widget->contentWidget()->update(); // as a new value does
                    if (auto* view = qobject_cast<Disp3DWidget*>(widget)) {
                        view->view()->setAngles(20, 30 + i % 2, 0);
                    }
                    QCoreApplication::processEvents(); // the proxy hears of the update
                }
                timer.start();
                renderer.render(scene, 0);
                ms.push_back(double(timer.nsecsElapsed()) / 1e6);
            }
            return ms;
        };
        const std::vector<double> cached = measure(false);
        const std::vector<double> repainted = measure(true);
        Row row;
        row.name = kind.first;
        row.renderMedianMs = percentile(cached, 0.5);
        row.renderP95Ms = percentile(cached, 0.95);
        row.repaintMedianMs = percentile(repainted, 0.5);
        rows << row;
    }
    return rows;
}

ReadoutRenderBench::Dashboard ReadoutRenderBench::measureDashboard(int seconds)
{
    Dashboard result;
    QGraphicsScene scene(QRectF(QPointF(0, 0), QSizeF(kPanel)));
    QList<DispWidget*> arcs;
    for (int i = 0; i < 4; ++i) {
        arcs << makeArc(scene, {qreal(20 + (i % 2) * 240), qreal(20 + (i / 2) * 220)}, 20.0f * i + 10);
    }
    QList<DispWidget*> bars;
    for (int i = 0; i < 4; ++i) {
        bars << makeBar(scene, {40, qreal(440 + i * 60)}, 25.0f * i + 5);
    }
    auto* gauge = static_cast<DispGaugeWidget*>(makeGauge(scene, {90, 700}));
    auto* chart = static_cast<DispChartWidget*>(makeChart(scene, {40, 1010}));
    makeClock(scene, {4, 1230});

    auto encoder = H264Encoder::create(kPanel.width(), kPanel.height());
    if (!encoder) {
        return result;
    }
    DispFrameRenderer renderer;
    std::vector<double> renderMs;
    std::vector<double> convertMs;
    std::vector<double> encodeMs;
    int tick = 0;
    QElapsedTimer timer;
    const auto frame = [&] {
        // Readings change as they would: a new value once a second.
        if (++tick % 30 == 0) {
            const float value = float((tick * 7) % 100);
            for (DispWidget* arc : arcs) {
                static_cast<DispArcWidget*>(arc)->ring()->setValue(value, QStringLiteral("°C"));
            }
            for (DispWidget* bar : bars) {
                static_cast<DispProgressBarWidget*>(bar)->bar()->setValue(value);
            }
            gauge->updateData(1, value * 100, QStringLiteral("MHz"));
            chart->updateData(1, value * 100, QStringLiteral("MHz"));
        }
        timer.start();
        const QImage image = renderer.render(scene, 0);
        renderMs.push_back(double(timer.nsecsElapsed()) / 1e6);
        QByteArray out;
        timer.start();
        if (!encoder->convert(BgraImage::fromImage(image))) {
            return;
        }
        const qint64 converted = timer.nsecsElapsed();
        if (encoder->encodeConverted(out) != H264Encoder::Result::Ok) {
            return;
        }
        convertMs.push_back(double(converted) / 1e6);
        encodeMs.push_back(double(timer.nsecsElapsed() - converted) / 1e6);
    };
    frame(); // warm-up: pool, sizes, encoder

    QTimer pump;
    pump.setTimerType(Qt::PreciseTimer);
    QObject::connect(&pump, &QTimer::timeout, frame);
    QEventLoop loop;
    QTimer::singleShot(seconds * 1000, &loop, &QEventLoop::quit);
    const double cpuBefore = cpuSeconds();
    QElapsedTimer wall;
    wall.start();
    pump.start(33);
    loop.exec();
    pump.stop();
    result.seconds = double(wall.nsecsElapsed()) / 1e9;
    result.cpuPercent = 100.0 * (cpuSeconds() - cpuBefore) / result.seconds;
    result.frames = int(renderMs.size()) - 1;
    result.renderMedianMs = percentile(renderMs, 0.5);
    result.convertMedianMs = percentile(convertMs, 0.5);
    result.encodeMedianMs = percentile(encodeMs, 0.5);
    result.ok = true;
    return result;
}

QString ReadoutRenderBench::table(const QList<Row>& rows, const Dashboard& dashboard)
{
    QString text = QStringLiteral("| 480x1920 scene holding | Frame render median ms | p95 ms "
                                  "| Frame with the widget redrawn, median ms |\n|---|---:|---:|---:|\n");
    for (const Row& row : rows) {
        text += QStringLiteral("| %1 | %2 | %3 | %4 |\n")
                    .arg(row.name)
                    .arg(row.renderMedianMs, 0, 'f', 2)
                    .arg(row.renderP95Ms, 0, 'f', 2)
                    .arg(row.repaintMedianMs, 0, 'f', 2);
    }
    text += QStringLiteral("\nDashboard (4 rings, 4 bars, a gauge, a chart and a clock) streamed at 30 fps "
                           "with its timers running:\n\n"
                           "| Seconds | Frames | fps | Render median ms | BGRA->YUV ms | Encode ms "
                           "| Process CPU, % of one core |\n|---:|---:|---:|---:|---:|---:|---:|\n");
    if (!dashboard.ok) {
        return text + QStringLiteral("| failed | | | | | | |\n");
    }
    text += QStringLiteral("| %1 | %2 | %3 | %4 | %5 | %6 | %7 % |\n")
                .arg(dashboard.seconds, 0, 'f', 1)
                .arg(dashboard.frames)
                .arg(dashboard.frames / dashboard.seconds, 0, 'f', 1)
                .arg(dashboard.renderMedianMs, 0, 'f', 2)
                .arg(dashboard.convertMedianMs, 0, 'f', 2)
                .arg(dashboard.encodeMedianMs, 0, 'f', 2)
                .arg(dashboard.cpuPercent, 0, 'f', 1);
    return text;
}
