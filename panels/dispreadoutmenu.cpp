#include "dispreadoutmenu.h"

#include "disp3dwidget.h"
#include "dispanalogclock.h"
#include "dispanalogclockwidget.h"
#include "dispchart.h"
#include "dispchartwidget.h"
#include "dispgaugewidget.h"
#include "dispscene.h"
#include "dispsensormanager.h"

#include <QCoreApplication>
#include <QFileDialog>
#include <QInputDialog>
#include <QMenu>
#include <QPointer>

#include <functional>

namespace {

void addReadingMenu(QMenu* menu, int current, const std::function<void(int)>& choose)
{
    QMenu* readings = menu->addMenu(DispReadoutMenu::tr("Reading"));
    for (int type = DispSensorManager::kFirstSubscription; type <= DispSensorManager::kLastSubscription;
         ++type) {
        const char* name = DispSensorManager::subscription(type).displayName;
        QAction* action = readings->addAction(QCoreApplication::translate("DispSensorManager", name));
        action->setCheckable(true);
        action->setChecked(type == current);
        QObject::connect(action, &QAction::triggered, readings, [choose, type] { choose(type); });
    }
}

QString askImage(QWidget* parent, const QString& title)
{
    return QFileDialog::getOpenFileName(parent, title, QString(),
                                        DispReadoutMenu::tr("Images (*.png *.jpg *.jpeg *.bmp *.webp)"));
}

void addClockEntries(QMenu* menu, DispAnalogClockWidget* widget, QWidget* parent)
{
    QPointer<DispAnalogClockWidget> guard(widget);
    menu->addAction(DispReadoutMenu::tr("Dial Image..."), menu, [guard, parent] {
        const QString path = askImage(parent, DispReadoutMenu::tr("Dial Image"));
        if (guard != nullptr && !path.isEmpty()) {
            guard->clock()->setDialImage(path);
        }
    });
    // A hand: its image, then how far the image reaches below the centre.
    using Setter = void (DispAnalogClock::*)(const QString&, int);
    const auto addHand = [&](const QString& title, Setter setter, int (DispAnalogClock::*pivot)() const) {
        menu->addAction(title + QStringLiteral("..."), menu, [guard, parent, title, setter, pivot] {
            const QString path = askImage(parent, title);
            if (guard == nullptr || path.isEmpty()) {
                return;
            }
            bool ok = false;
            const int value =
                QInputDialog::getInt(parent, title, DispReadoutMenu::tr("Pixels below the centre:"),
                                     (guard->clock()->*pivot)(), 0, 4096, 1, &ok);
            if (ok && guard != nullptr) {
                (guard->clock()->*setter)(path, value);
            }
        });
    };
    addHand(DispReadoutMenu::tr("Hour Hand"), &DispAnalogClock::setHourHand, &DispAnalogClock::hourPivot);
    addHand(DispReadoutMenu::tr("Minute Hand"), &DispAnalogClock::setMinuteHand,
            &DispAnalogClock::minutePivot);
    addHand(DispReadoutMenu::tr("Second Hand"), &DispAnalogClock::setSecondHand,
            &DispAnalogClock::secondPivot);
    menu->addAction(DispReadoutMenu::tr("Default Images"), menu, [guard] {
        if (guard != nullptr) {
            DispAnalogClock* clock = guard->clock();
            clock->setDialImage(QString());
            clock->setHourHand(QString(), 0);
            clock->setMinuteHand(QString(), 0);
            clock->setSecondHand(QString(), 0);
        }
    });
}

} // namespace

void DispReadoutMenu::extend(QMenu* menu, QGraphicsItem* item, QWidget* parent)
{
    QGraphicsItem* named = DispScene::namedItem(item);
    QObject* object = named != nullptr ? named->toGraphicsObject() : nullptr;
    if (object == nullptr) {
        return;
    }
    if (auto* gauge = qobject_cast<DispGaugeWidget*>(object)) {
        QPointer<DispGaugeWidget> guard(gauge);
        menu->addSeparator();
        addReadingMenu(menu, gauge->subscription(), [guard](int type) {
            if (guard != nullptr) {
                guard->setSubscription(type);
            }
        });
    } else if (auto* chart = qobject_cast<DispChartWidget*>(object)) {
        QPointer<DispChartWidget> guard(chart);
        menu->addSeparator();
        addReadingMenu(menu, chart->subscription(), [guard](int type) {
            if (guard != nullptr) {
                guard->setSubscription(type);
            }
        });
        QAction* straight = menu->addAction(tr("Straight Lines"));
        straight->setCheckable(true);
        straight->setChecked(chart->chart()->straight());
        connect(straight, &QAction::toggled, menu, [guard](bool on) {
            if (guard != nullptr) {
                guard->chart()->setStraight(on);
            }
        });
    } else if (auto* view = qobject_cast<Disp3DWidget*>(object)) {
        QPointer<Disp3DWidget> guard(view);
        menu->addSeparator();
        addReadingMenu(menu, view->subscription(), [guard](int type) {
            if (guard != nullptr) {
                guard->setSubscription(type);
            }
        });
    } else if (auto* clock = qobject_cast<DispAnalogClockWidget*>(object)) {
        menu->addSeparator();
        addClockEntries(menu, clock, parent);
    }
}
