#include "dispreadoutrecord.h"

#include "disp3d.h"
#include "disp3dwidget.h"
#include "dispanalogclock.h"
#include "dispanalogclockwidget.h"
#include "dispchart.h"
#include "dispchartwidget.h"
#include "dispgaugewidget.h"
#include "dispscene.h"
#include "dispsensormanager.h"
#include "thememedia.h"
#include "themerecordreader.h"
#include "themetags.h"
#include "themevalues.h"

#include <QDataStream>
#include <QGraphicsProxyWidget>

#include <cmath>

namespace {

// An item holds at least its name's length, geometry, opacity and visibility.
constexpr int kMinItemBytes = 4 + 32 + 8 + 1;
// Widget sizes read from a file are bounded.
constexpr double kLargestSide = 4096;

bool readSubscription(ThemeRecordReader& in, int* type)
{
    qint32 value = 0;
    if (!in.readInt32(value)) {
        return false;
    }
    if (value < 0 || value > DispSensorManager::kLastSubscription) {
        in.fail(QStringLiteral("subscription type %1").arg(value));
        return false;
    }
    *type = value;
    return true;
}

QString storedMedia(const QString& path, const QString& resourceFolder)
{
    return path.isEmpty() ? QString() : ThemeMedia::storeInResources(path, resourceFolder);
}

QString mediaPath(const QString& name, const QString& themeFolder)
{
    return name.isEmpty() ? QString() : ThemeMedia::resourcePath(themeFolder, name);
}

} // namespace

DispReadoutRecord::DispReadoutRecord(Kind kind) : m_kind(kind), m_link(-1, {}, {}) {}

qint32 DispReadoutRecord::themeTag() const
{
    switch (m_kind) {
    case Gauge:
        return GaugeTag;
    case Chart:
        return ChartTag;
    case Clock:
        return ClockTag;
    case ThreeD:
        break;
    }
    return ThreeDTag;
}

bool DispReadoutRecord::isKind(const DispWidget* widget) const
{
    switch (m_kind) {
    case Gauge:
        return qobject_cast<const DispGaugeWidget*>(widget) != nullptr;
    case Chart:
        return qobject_cast<const DispChartWidget*>(widget) != nullptr;
    case Clock:
        return qobject_cast<const DispAnalogClockWidget*>(widget) != nullptr;
    case ThreeD:
        break;
    }
    return qobject_cast<const Disp3DWidget*>(widget) != nullptr;
}

QList<DispWidget*> DispReadoutRecord::widgets() const
{
    QList<DispWidget*> list;
    DispScene* scene = m_link.scene();
    if (scene == nullptr) {
        return list;
    }
    for (QGraphicsItem* item : DispScene::stackedItems(scene, Qt::AscendingOrder)) {
        auto* widget = qobject_cast<DispWidget*>(item->toGraphicsObject());
        if (widget != nullptr && isKind(widget)) {
            list.append(widget);
        }
    }
    return list;
}

void DispReadoutRecord::clearTheme()
{
    DispScene* scene = m_link.scene();
    for (DispWidget* widget : widgets()) {
        scene->removeItem(widget);
        widget->deleteLater();
    }
}

DispWidget* DispReadoutRecord::create(DispScene* scene) const
{
    DispWidgetFactory* factory = scene->widgetFactory();
    if (factory == nullptr) {
        return nullptr;
    }
    DispSensorManager* sensors = scene->sensorManager();
    switch (m_kind) {
    case Gauge:
        return factory->makeGaugeWidget(sensors).widget;
    case Chart:
        return factory->makeChartWidget(sensors).widget;
    case Clock:
        return factory->makeAnalogClockWidget().widget;
    case ThreeD:
        break;
    }
    return factory->make3DWidget(sensors).widget;
}

void DispReadoutRecord::writeThemeRecord(QDataStream& out, const QString& resourceFolder)
{
    const QList<DispWidget*> list = widgets();
    out << true << qint32(list.size());
    for (DispWidget* widget : list) {
        const QSizeF size = widget->contentWidget() ? QSizeF(widget->contentWidget()->size()) : QSizeF();
        out << widget->objectName() << QRectF(widget->pos(), size) << double(widget->opacity())
            << widget->isVisible();
        writeFields(out, widget, resourceFolder);
    }
}

void DispReadoutRecord::writeFields(QDataStream& out, DispWidget* widget, const QString& resourceFolder) const
{
    if (auto* gauge = qobject_cast<DispGaugeWidget*>(widget)) {
        out << qint32(gauge->subscription());
    } else if (auto* chartWidget = qobject_cast<DispChartWidget*>(widget)) {
        const DispChart* chart = chartWidget->chart();
        const QList<QColor> gradient = chart->gradientColors();
        out << qint32(chartWidget->subscription()) << chart->straight() << chart->lineColor()
            << chart->captionColor() << chart->backgroundColor()
            << (gradient.size() >= 2 ? gradient[0] : QColor(Qt::gray))
            << (gradient.size() >= 2 ? gradient[1] : QColor(Qt::cyan)) << chart->captionFont();
    } else if (auto* clockWidget = qobject_cast<DispAnalogClockWidget*>(widget)) {
        const DispAnalogClock* clock = clockWidget->clock();
        out << storedMedia(clock->dialPath(), resourceFolder)
            << storedMedia(clock->hourPath(), resourceFolder) << qint32(clock->hourPivot())
            << storedMedia(clock->minutePath(), resourceFolder) << qint32(clock->minutePivot())
            << storedMedia(clock->secondPath(), resourceFolder) << qint32(clock->secondPivot());
    } else if (auto* threeD = qobject_cast<Disp3DWidget*>(widget)) {
        const Disp3D* view = threeD->view();
        out << qint32(threeD->subscription()) << double(view->xAngle()) << double(view->yAngle())
            << double(view->zAngle()) << view->color() << view->textFont();
    }
}

void DispReadoutRecord::readThemeRecord(ThemeRecordReader& in, const QString& themeFolder)
{
    bool shown = true;
    qint32 count = 0;
    if (!in.readBool(shown) || !in.readCount(count, kMinItemBytes)) {
        return;
    }
    DispScene* scene = m_link.scene();
    for (qint32 i = 0; i < count && in.ok(); ++i) {
        QString name;
        QRectF geometry;
        double opacity = 1.0;
        bool visible = true;
        if (!in.readString(name) || !in.readRectF(geometry) || !in.readDouble(opacity) ||
            !in.readBool(visible)) {
            return;
        }
        if (scene == nullptr) {
            continue; // nothing to place the widgets on: the fields are still walked
        }
        DispWidget* widget = create(scene);
        if (widget == nullptr) {
            return;
        }
        scene->addItem(widget);
        const bool ok = readFields(in, widget, themeFolder);
        if (!ok) {
            scene->removeItem(widget);
            widget->deleteLater();
            return;
        }
        if (!name.isEmpty()) {
            widget->setObjectName(name);
        }
        const QSizeF size = geometry.size();
        if (m_kind != Clock && size.width() >= 1 && size.height() >= 1 && size.width() <= kLargestSide &&
            size.height() <= kLargestSide && widget->contentWidget() != nullptr) {
            widget->contentWidget()->resize(size.toSize());
        }
        if (std::isfinite(geometry.left()) && std::isfinite(geometry.top())) {
            widget->setPos(geometry.topLeft());
        }
        widget->setOpacity(std::isfinite(opacity) ? opacity : 1.0);
        widget->setVisible(visible && shown);
    }
}

bool DispReadoutRecord::readFields(ThemeRecordReader& in, DispWidget* widget,
                                   const QString& themeFolder) const
{
    int type = 0;
    if (auto* gauge = qobject_cast<DispGaugeWidget*>(widget)) {
        if (!readSubscription(in, &type)) {
            return false;
        }
        gauge->setSubscription(type);
        return true;
    }
    if (auto* chartWidget = qobject_cast<DispChartWidget*>(widget)) {
        bool straight = false;
        QColor line;
        QColor caption;
        QColor background;
        QColor bottom;
        QColor top;
        QFont font;
        if (!readSubscription(in, &type) || !in.readBool(straight) || !readThemeColor(in, line) ||
            !readThemeColor(in, caption) || !readThemeColor(in, background) || !readThemeColor(in, bottom) ||
            !readThemeColor(in, top) || !readThemeFont(in, font)) {
            return false;
        }
        chartWidget->setSubscription(type);
        DispChart* chart = chartWidget->chart();
        chart->setStraight(straight);
        chart->setLineColor(line);
        chart->setCaptionColor(caption);
        chart->setBackgroundColor(background);
        chart->setGradientColors(bottom, top);
        chart->setCaptionFont(font);
        return true;
    }
    if (auto* clockWidget = qobject_cast<DispAnalogClockWidget*>(widget)) {
        QString dial;
        QString hands[3];
        qint32 pivots[3] = {0, 0, 0};
        if (!in.readString(dial)) {
            return false;
        }
        for (int i = 0; i < 3; ++i) {
            if (!in.readString(hands[i]) || !in.readInt32(pivots[i])) {
                return false;
            }
        }
        DispAnalogClock* clock = clockWidget->clock();
        clock->setDialImage(mediaPath(dial, themeFolder));
        clock->setHourHand(mediaPath(hands[0], themeFolder), pivots[0]);
        clock->setMinuteHand(mediaPath(hands[1], themeFolder), pivots[1]);
        clock->setSecondHand(mediaPath(hands[2], themeFolder), pivots[2]);
        return true;
    }
    auto* threeD = qobject_cast<Disp3DWidget*>(widget);
    double angles[3] = {0, 0, 0};
    QColor color;
    QFont font;
    if (threeD == nullptr || !readSubscription(in, &type) || !in.readDouble(angles[0]) ||
        !in.readDouble(angles[1]) || !in.readDouble(angles[2]) || !readThemeColor(in, color) ||
        !readThemeFont(in, font)) {
        return false;
    }
    for (double& angle : angles) {
        angle = std::isfinite(angle) ? std::fmod(angle, 360.0) : 0.0;
    }
    threeD->setSubscription(type);
    threeD->view()->setAngles(float(angles[0]), float(angles[1]), float(angles[2]));
    threeD->view()->setColor(color);
    threeD->view()->setTextFont(font);
    return true;
}
