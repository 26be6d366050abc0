#include "dispdatewidget.h"
#include "dispnumberwidget.h"
#include "dispscene.h"
#include "dispsceneview.h"
#include "dispstandardwidgetfactory.h"
#include "disptextwidget.h"
#include "disptimewidget.h"
#include "dispweekdaywidget.h"
#include "dispwidgetnames.h"
#include "transport.h"

#include <QApplication>
#include <QGraphicsSceneDragDropEvent>
#include <QGraphicsSceneMouseEvent>
#include <QKeyEvent>
#include <QMimeData>
#include <QSignalSpy>
#include <QtTest>

namespace {

QByteArray toolData(const QString& name)
{
    QByteArray data;
    QDataStream stream(&data, QIODevice::WriteOnly);
    QMap<int, QVariant> roles;
    if (!name.isNull()) {
        roles.insert(Qt::DisplayRole, name);
        roles.insert(Qt::DecorationRole, QStringLiteral("icon"));
    }
    stream << 0 << 0 << roles;
    return data;
}

bool drop(QGraphicsScene& scene, const QByteArray& data, const QPointF& position,
          const QString& format = QLatin1String(DispScene::kToolMimeType))
{
    QMimeData mime;
    mime.setData(format, data);
    QGraphicsSceneDragDropEvent event(QEvent::GraphicsSceneDrop);
    event.setMimeData(&mime);
    event.setScenePos(position);
    event.setProposedAction(Qt::CopyAction);
    event.setAccepted(false);
    QApplication::sendEvent(&scene, &event);
    return event.isAccepted() && event.dropAction() == Qt::CopyAction;
}

void pressKey(QGraphicsScene& scene, int key)
{
    QKeyEvent event(QEvent::KeyPress, key, Qt::NoModifier);
    QApplication::sendEvent(&scene, &event);
}

void mouse(QGraphicsScene& scene, QEvent::Type type, Qt::MouseButton button, const QPointF& position,
           const QPointF& pressedAt = QPointF(-1, -1))
{
    QGraphicsSceneMouseEvent event(type);
    event.setButton(button);
    event.setButtons(type == QEvent::GraphicsSceneMouseRelease ? Qt::NoButton : Qt::MouseButtons(button));
    event.setScenePos(position);
    event.setButtonDownScenePos(button, pressedAt.x() < 0 ? position : pressedAt);
    event.setLastScenePos(position);
    QApplication::sendEvent(&scene, &event);
}

QStringList stackNames(const DispScene& scene)
{
    QStringList names;
    const QList<QGraphicsItem*> all = DispScene::stackedItems(&scene, Qt::DescendingOrder);
    for (QGraphicsItem* item : all) {
        const QString name = DispScene::itemName(item);
        if (!name.isEmpty()) {
            names << name;
        }
    }
    return names;
}

} // namespace

class TestDispScene : public QObject
{
    Q_OBJECT

private slots:
    void initTestCase();
    void droppedToolsCreateWidgets_data();
    void droppedToolsCreateWidgets();
    void dropWithoutRolesOnlyAccepts();
    void dateTimeDropStacksThreeWidgets();
    void stackingMovesOneStep_data();
    void stackingMovesOneStep();
    void stackingAtTheEndsLogsAndKeepsOrder_data();
    void stackingAtTheEndsLogsAndKeepsOrder();
    void upDownWithTwoSelectedChangeNothing();
    void deleteKeyAnnouncesThenRemoves();
    void rightPressKeepsSelection();
    void leftPressAnnouncesItemAndDragReportsMoves();
    void prefixListsAreTopmostFirst();
    void clearWidgetsRemovesThemeWidgetsOnly();
    void pumpPadsNarrowPanels_data();
    void pumpPadsNarrowPanels();
    void pumpTurnsFrames();
    void pumpClearsSelectionAfterCountdown();
    void frameImageIsUprightScene();
    void viewRaisesAndLowersContextItem();
    void clearThreadStopsTheTransport();
};

void TestDispScene::initTestCase()
{
    DispStandardWidgetFactory::install();
}

void TestDispScene::droppedToolsCreateWidgets_data()
{
    QTest::addColumn<QString>("tool");
    QTest::addColumn<QString>("prefix"); // empty: nothing is created
    QTest::newRow("Text") << "Text"
                          << "text_";
    QTest::newRow("Number") << "Number"
                            << "data_";
    QTest::newRow("Weather") << "Weather"
                             << "";
    QTest::newRow("unknown") << "Spreadsheet"
                             << "";
    // Widgets of kinds this build does not have yet.
    QTest::newRow("Image") << "Image"
                           << "";
    QTest::newRow("Arc") << "Arc"
                         << "";
    QTest::newRow("Bar") << "Bar"
                         << "";
    QTest::newRow("Clock") << "Clock"
                           << "";
    QTest::newRow("Gauge") << "Gauge"
                           << "";
    QTest::newRow("Chart") << "Chart"
                           << "";
    QTest::newRow("3D") << "3D"
                        << "";
}

void TestDispScene::droppedToolsCreateWidgets()
{
    QFETCH(QString, tool);
    QFETCH(QString, prefix);
    DispScene scene;
    scene.setSceneRect(0, 0, 480, 480);
    QSignalSpy posSpy(&scene, &DispScene::widgetPosChanged);
    QSignalSpy listSpy(&scene, &DispScene::widgetListUpdated);

    QVERIFY(drop(scene, toolData(tool), QPointF(100, 40)));
    QCOMPARE(posSpy.count(), 1);
    QCOMPARE(listSpy.count(), 1);

    const QStringList names = stackNames(scene);
    if (prefix.isEmpty()) {
        QVERIFY2(names.isEmpty(), qPrintable(names.join(',')));
        return;
    }
    QCOMPARE(names.size(), 1);
    QVERIFY(names.first().startsWith(prefix));
    const QList<QGraphicsItem*> selected = scene.selectedItems();
    QCOMPARE(selected.size(), 1);
    QCOMPARE(selected.first()->pos(), QPointF(100, 40));
}

void TestDispScene::dropWithoutRolesOnlyAccepts()
{
    DispScene scene;
    scene.setSceneRect(0, 0, 480, 480);
    QSignalSpy listSpy(&scene, &DispScene::widgetListUpdated);
    QVERIFY(drop(scene, toolData(QString()), QPointF(10, 10)));
    // Cut short: the stream fails, the drop is still taken, nothing happens.
    QVERIFY(drop(scene, toolData(QStringLiteral("Text")).left(9), QPointF(10, 10)));
    // A role map that claims two billion entries and holds none.
    QByteArray huge;
    QDataStream(&huge, QIODevice::WriteOnly) << 0 << 0 << quint32(0x7FFFFFFF) << qint32(0);
    QVERIFY(drop(scene, huge, QPointF(10, 10)));
    // A role holding a string list that claims 2^28 entries and holds none.
    QByteArray list;
    QDataStream(&list, QIODevice::WriteOnly)
        << 0 << 0 << qint32(1) << qint32(Qt::DisplayRole) << quint32(QMetaType::QStringList) << quint8(0)
        << quint32(0x10000000);
    QVERIFY(drop(scene, list, QPointF(10, 10)));
    QVERIFY(drop(scene, QByteArray(), QPointF(10, 10)));
    QCOMPARE(listSpy.count(), 0);
    QVERIFY(stackNames(scene).isEmpty());
    // Other formats go to the scene's own handling, which does not accept.
    QVERIFY(!drop(scene, toolData(QStringLiteral("Text")), QPointF(10, 10), QStringLiteral("text/plain")));
    QVERIFY(stackNames(scene).isEmpty());
}

void TestDispScene::dateTimeDropStacksThreeWidgets()
{
    DispScene scene;
    scene.setSceneRect(0, 0, 480, 480);
    QVERIFY(drop(scene, toolData(QStringLiteral("DateTime")), QPointF(100, 40)));
    const QList<DispWidget*> dates = scene.dateWidgets();
    QCOMPARE(dates.size(), 1);
    auto* date = qobject_cast<DispDateWidget*>(dates.first());
    QVERIFY(date != nullptr);
    QCOMPARE(date->pos(), QPointF(100, 40));
    QVERIFY(date->isSelected());
    QCOMPARE(scene.selectedItems().size(), 1);
    const QList<DispWidget*> times = scene.widgetsNamed(QStringLiteral("time_"));
    QCOMPARE(times.size(), 1);
    QCOMPARE(times.first()->pos(), QPointF(100, 68));
    const QList<DispWidget*> weekdays = scene.widgetsNamed(QStringLiteral("weekday_"));
    QCOMPARE(weekdays.size(), 1);
    QCOMPARE(weekdays.first()->pos(), QPointF(100, 96));
}

void TestDispScene::stackingMovesOneStep_data()
{
    QTest::addColumn<int>("key");
    QTest::addColumn<QString>("target");
    QTest::addColumn<QStringList>("expected");
    // Added a, b, c: c is on top.
    QTest::newRow("raise the middle")
        << int(Qt::Key_Up) << "text_b" << QStringList{"text_b", "text_c", "text_a"};
    QTest::newRow("raise the bottom")
        << int(Qt::Key_Up) << "text_a" << QStringList{"text_c", "text_a", "text_b"};
    QTest::newRow("lower the middle")
        << int(Qt::Key_Down) << "text_b" << QStringList{"text_c", "text_a", "text_b"};
    QTest::newRow("lower the top") << int(Qt::Key_Down) << "text_c"
                                   << QStringList{"text_b", "text_c", "text_a"};
}

void TestDispScene::stackingMovesOneStep()
{
    QFETCH(int, key);
    QFETCH(QString, target);
    QFETCH(QStringList, expected);
    DispScene scene;
    scene.setSceneRect(0, 0, 480, 480);
    for (const char* suffix : {"_a", "_b", "_c"}) {
        scene.addTextWidget(QLatin1String(suffix), QPointF(10, 10));
    }
    QCOMPARE(stackNames(scene), (QStringList{"text_c", "text_b", "text_a"}));
    scene.clearSelection();
    const QList<QGraphicsItem*> all = scene.items();
    for (QGraphicsItem* item : all) {
        item->setSelected(DispScene::itemName(item) == target);
    }
    pressKey(scene, key);
    QCOMPARE(stackNames(scene), expected);
}

void TestDispScene::stackingAtTheEndsLogsAndKeepsOrder_data()
{
    QTest::addColumn<int>("key");
    QTest::addColumn<QString>("target");
    QTest::newRow("raise the top") << int(Qt::Key_Up) << "text_c";
    QTest::newRow("lower the bottom") << int(Qt::Key_Down) << "text_a";
}

void TestDispScene::stackingAtTheEndsLogsAndKeepsOrder()
{
    QFETCH(int, key);
    QFETCH(QString, target);
    DispScene scene;
    scene.setSceneRect(0, 0, 480, 480);
    QGraphicsItem* chosen = nullptr;
    for (const char* suffix : {"_a", "_b", "_c"}) {
        DispTextWidget* text = scene.addTextWidget(QLatin1String(suffix), QPointF(10, 10));
        if (text->objectName() == target) {
            chosen = text;
        }
    }
    scene.clearSelection();
    chosen->setSelected(true);
    QTest::ignoreMessage(QtDebugMsg, QRegularExpression(QStringLiteral("^itself: ")));
    QTest::ignoreMessage(QtDebugMsg, "all ready topmost");
    pressKey(scene, key);
    QCOMPARE(stackNames(scene), (QStringList{"text_c", "text_b", "text_a"}));
}

void TestDispScene::upDownWithTwoSelectedChangeNothing()
{
    DispScene scene;
    scene.setSceneRect(0, 0, 480, 480);
    scene.addTextWidget(QStringLiteral("_a"), QPointF(10, 10));
    scene.addTextWidget(QStringLiteral("_b"), QPointF(10, 10));
    scene.addTextWidget(QStringLiteral("_c"), QPointF(10, 10));
    QCOMPARE(scene.selectedItems().size(), 1); // each add selects only the new one
    scene.textWidgets().last()->setSelected(true);
    QCOMPARE(scene.selectedItems().size(), 2);
    const QStringList before = stackNames(scene);
    QSignalSpy posSpy(&scene, &DispScene::widgetPosChanged);
    QSignalSpy listSpy(&scene, &DispScene::widgetListUpdated);
    pressKey(scene, Qt::Key_Up);
    pressKey(scene, Qt::Key_Down);
    QCOMPARE(stackNames(scene), before);
    QCOMPARE(posSpy.count(), 2);
    QCOMPARE(listSpy.count(), 2);
    // Any other key only refreshes the list.
    pressKey(scene, Qt::Key_A);
    QCOMPARE(posSpy.count(), 2);
    QCOMPARE(listSpy.count(), 3);
}

void TestDispScene::deleteKeyAnnouncesThenRemoves()
{
    DispScene scene;
    scene.setSceneRect(0, 0, 480, 480);
    DispTextWidget* first = scene.addTextWidget(QString(), QPointF(10, 10));
    DispNumberWidget* second = scene.addNumberWidget(QString(), QPointF(50, 50));
    scene.addTextWidget(QString(), QPointF(90, 90));
    scene.clearSelection();
    first->setSelected(true);
    second->setSelected(true);
    QPointer<DispTextWidget> firstAlive(first);

    QList<bool> inSceneWhenAnnounced;
    connect(&scene, &DispScene::deleteSelectItem, this,
            [&](QGraphicsItem* item) { inSceneWhenAnnounced << (item->scene() == &scene); });
    pressKey(scene, Qt::Key_Delete);
    QCOMPARE(inSceneWhenAnnounced, (QList<bool>{true, true}));
    QCOMPARE(scene.textWidgets().size(), 1);
    QVERIFY(scene.dataWidgets().isEmpty());
    QVERIFY(firstAlive != nullptr); // deleted later, not at once
    QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
    QVERIFY(firstAlive == nullptr);
}

void TestDispScene::rightPressKeepsSelection()
{
    DispScene scene;
    scene.setSceneRect(0, 0, 480, 480);
    DispTextWidget* a = scene.addTextWidget(QString(), QPointF(10, 10));
    DispTextWidget* b = scene.addTextWidget(QString(), QPointF(200, 200));
    QVERIFY(b->isSelected());
    QSignalSpy selectSpy(&scene, &DispScene::currentSelectItem);
    mouse(scene, QEvent::GraphicsSceneMousePress, Qt::RightButton, a->pos() + QPointF(3, 3));
    QVERIFY(b->isSelected());
    QVERIFY(!a->isSelected());
    QCOMPARE(selectSpy.count(), 0);
}

void TestDispScene::leftPressAnnouncesItemAndDragReportsMoves()
{
    DispScene scene;
    scene.setSceneRect(0, 0, 480, 480);
    DispNumberWidget* number = scene.addNumberWidget(QString(), QPointF(100, 100));
    number->setText(QStringLiteral("12345"));
    scene.clearSelection();
    QSignalSpy selectSpy(&scene, &DispScene::currentSelectItem);
    QSignalSpy posSpy(&scene, &DispScene::widgetPosChanged);

    const QPointF inside = number->pos() + QPointF(3, 3);
    mouse(scene, QEvent::GraphicsSceneMousePress, Qt::LeftButton, inside);
    QCOMPARE(selectSpy.count(), 1);
    // The content proxy is the topmost item; the widget is its parent.
    QGraphicsItem* pressed = selectSpy.first().first().value<QGraphicsItem*>();
    QVERIFY(pressed != nullptr);
    QCOMPARE(DispScene::namedItem(pressed), static_cast<QGraphicsItem*>(number));
    QCOMPARE(DispScene::namedItem(number), static_cast<QGraphicsItem*>(number));
    QCOMPARE(DispScene::namedItem(nullptr), nullptr);
    QVERIFY(number->isSelected());

    // Each move first compares the item with its remembered position, then
    // lets the scene move it: a move is reported on the next event.
    mouse(scene, QEvent::GraphicsSceneMouseMove, Qt::LeftButton, inside + QPointF(40, 0), inside);
    QCOMPARE(number->pos(), QPointF(140, 100));
    QCOMPARE(posSpy.count(), 0);
    mouse(scene, QEvent::GraphicsSceneMouseMove, Qt::LeftButton, inside + QPointF(40, 0), inside);
    QCOMPARE(posSpy.count(), 1);
    mouse(scene, QEvent::GraphicsSceneMouseMove, Qt::LeftButton, inside + QPointF(40, 0), inside);
    QCOMPARE(posSpy.count(), 1); // no move, no report
    QVERIFY(!scene.deselectCountdownActive());
    mouse(scene, QEvent::GraphicsSceneMouseRelease, Qt::LeftButton, inside + QPointF(40, 0), inside);
    QVERIFY(scene.deselectCountdownActive());
}

void TestDispScene::prefixListsAreTopmostFirst()
{
    DispScene scene;
    scene.setSceneRect(0, 0, 480, 480);
    DispNumberWidget* lower = scene.addNumberWidget(QStringLiteral("_low"), QPointF(0, 0));
    DispNumberWidget* upper = scene.addNumberWidget(QStringLiteral("_high"), QPointF(0, 0));
    DispTextWidget* text = scene.addTextWidget(QStringLiteral("_one"), QPointF(0, 0));
    QCOMPARE(scene.dataWidgets(), (QList<DispWidget*>{upper, lower}));
    QCOMPARE(scene.textWidgets(), (QList<DispTextWidget*>{text}));
    // A text item matches by name but is no DispWidget: a null entry.
    QCOMPARE(scene.widgetsNamed(QStringLiteral("text_one")), (QList<DispWidget*>{nullptr}));
    QCOMPARE(scene.findWidgetByName(QStringLiteral("data_low")), lower);
    QCOMPARE(scene.findWidgetByName(QStringLiteral("data_")), nullptr);
    QVERIFY(scene.arcWidgets().isEmpty());
}

void TestDispScene::clearWidgetsRemovesThemeWidgetsOnly()
{
    DispScene scene;
    scene.setSceneRect(0, 0, 480, 480);
    scene.addTextWidget(QString(), QPointF(0, 0));
    scene.addNumberWidget(QString(), QPointF(0, 0));
    scene.addDateWidget(QString(), QPointF(0, 0));
    scene.addTimeWidget(QString(), QPointF(0, 0));
    scene.addWeekdayWidget(QString(), QPointF(0, 0));
    scene.clearWidgets();
    QStringList names = stackNames(scene);
    names.sort();
    QCOMPARE(names.size(), 2);
    QVERIFY(names[0].startsWith(QLatin1String("time_")));
    QVERIFY(names[1].startsWith(QLatin1String("weekday_")));
}

void TestDispScene::pumpPadsNarrowPanels_data()
{
    QTest::addColumn<QSize>("panel");
    QTest::addColumn<QSize>("frame");
    QTest::addColumn<QPoint>("offset");
    // No device opened: the models that encode narrow panels at their own
    // width are covered by the model table's tests.
    QTest::newRow("360x960") << QSize(360, 960) << QSize(420, 960) << QPoint(60, 0);
    QTest::newRow("462x1920") << QSize(462, 1920) << QSize(480, 1920) << QPoint(0, 0);
    QTest::newRow("440x1920") << QSize(440, 1920) << QSize(480, 1920) << QPoint(0, 0);
    QTest::newRow("480x480") << QSize(480, 480) << QSize(480, 480) << QPoint();
}

void TestDispScene::pumpPadsNarrowPanels()
{
    QFETCH(QSize, panel);
    QFETCH(QSize, frame);
    QFETCH(QPoint, offset);
    DispScene scene;
    scene.setSceneSize(panel.width(), panel.height());
    scene.addRect(QRectF(0, 0, 10, 10), Qt::NoPen, QBrush(Qt::red));
    scene.pumpFrame();
    const QImage image = scene.deviceFrame();
    QCOMPARE(image.size(), frame);
    QCOMPARE(image.pixelColor(offset + QPoint(5, 5)), QColor(Qt::red));
    QCOMPARE(image.pixelColor(offset + QPoint(20, 20)), QColor(Qt::white));
    if (offset.x() > 0) {
        QCOMPARE(image.pixel(offset.x() - 1, 5), qRgba(0, 0, 0, 0));
        QCOMPARE(image.pixel(0, frame.height() - 1), qRgba(0, 0, 0, 0));
    }
    if (frame.width() > panel.width() + offset.x()) {
        QCOMPARE(image.pixel(frame.width() - 1, 100), qRgba(0, 0, 0, 0));
        QCOMPARE(image.pixelColor(panel.width() - 1, 100), QColor(Qt::white));
    }
}

void TestDispScene::pumpTurnsFrames()
{
    DispScene scene;
    scene.setSceneSize(200, 100);
    scene.addRect(QRectF(0, 0, 20, 10), Qt::NoPen, QBrush(Qt::red));
    scene.setRotation(1);
    scene.pumpFrame();
    QImage image = scene.deviceFrame();
    QCOMPARE(image.size(), QSize(100, 200));
    // 90 degrees clockwise: the top-left corner goes to the top right.
    QCOMPARE(image.pixelColor(95, 5), QColor(Qt::red));
    QCOMPARE(image.pixelColor(5, 5), QColor(Qt::white));
    scene.setRotation(2);
    scene.pumpFrame();
    image = scene.deviceFrame();
    QCOMPARE(image.size(), QSize(200, 100));
    QCOMPARE(image.pixelColor(195, 95), QColor(Qt::red));
    scene.setRotation(3);
    scene.pumpFrame();
    image = scene.deviceFrame();
    QCOMPARE(image.pixelColor(5, 195), QColor(Qt::red));
    scene.setRotation(7); // not a quarter turn: upright
    scene.pumpFrame();
    QCOMPARE(scene.deviceFrame().pixelColor(5, 5), QColor(Qt::red));
}

void TestDispScene::pumpClearsSelectionAfterCountdown()
{
    DispScene scene;
    scene.setSceneSize(200, 100);
    DispTextWidget* text = scene.addTextWidget(QString(), QPointF(20, 20));
    text->setDefaultTextColor(Qt::white); // only the frame shows
    scene.pumpFrame();
    const auto framePixels = [&scene, text] {
        const QImage image = scene.deviceFrame();
        const QRectF bounds = text->sceneBoundingRect();
        int dark = 0;
        for (int x = int(bounds.left()); x < int(bounds.right()); ++x) {
            dark += qGray(image.pixel(x, int(bounds.top()))) < 128 ? 1 : 0;
        }
        return dark;
    };
    QVERIFY(framePixels() > 0);

    scene.startDeselectCountdown();
    for (int frame = 0; frame < DispScene::kDeselectFrames; ++frame) {
        scene.pumpFrame();
    }
    QVERIFY(text->isSelected());
    QVERIFY(framePixels() > 0);
    scene.pumpFrame(); // the 101st frame clears the selection
    QVERIFY(!text->isSelected());
    QVERIFY(!scene.deselectCountdownActive());
    scene.pumpFrame();
    QCOMPARE(framePixels(), 0);
}

void TestDispScene::frameImageIsUprightScene()
{
    DispScene scene;
    QVERIFY(scene.frameImage().isNull()); // nothing before the first sizing
    scene.pumpFrame();
    QVERIFY(scene.deviceFrame().isNull());
    scene.setSceneSize(360, 960);
    scene.resizeScene(960, 360);
    scene.setRotation(1);
    scene.addRect(QRectF(0, 0, 20, 10), Qt::NoPen, QBrush(Qt::red));
    scene.pumpFrame();
    QCOMPARE(scene.deviceFrame().size(), QSize(420, 960));
    const QImage upright = scene.frameImage();
    QCOMPARE(upright.size(), QSize(960, 360));
    QCOMPARE(upright.pixelColor(5, 5), QColor(Qt::red));
    QCOMPARE(upright.pixelColor(30, 5), QColor(Qt::white));
    // Asked again for the same frame: the same picture, not a new turn.
    QCOMPARE(scene.frameImage().cacheKey(), upright.cacheKey());
    scene.pumpFrame();
    QVERIFY(scene.frameImage().cacheKey() != upright.cacheKey());
    // Upright and unpadded: the device frame itself.
    scene.setRotation(0);
    scene.resizeScene(360, 960);
    scene.pumpFrame();
    QCOMPARE(scene.frameImage().size(), QSize(360, 960));
}

void TestDispScene::viewRaisesAndLowersContextItem()
{
    DispScene scene;
    scene.setSceneRect(0, 0, 200, 200);
    for (const char* suffix : {"_a", "_b", "_c"}) {
        scene.addNumberWidget(QLatin1String(suffix), QPointF(10, 10))->setText(QStringLiteral("8888"));
    }
    scene.clearSelection();
    DispSceneView view(&scene);
    view.resize(260, 260);
    view.show();
    QVERIFY(QTest::qWaitForWindowExposed(&view));

    // Pressing the content proxy makes its widget (the top one) the context item.
    const QPoint onItems = view.mapFromScene(QPointF(12, 12));
    QTest::mousePress(view.viewport(), Qt::RightButton, Qt::NoModifier, onItems);
    QCOMPARE(DispScene::itemName(view.contextItem()), QStringLiteral("data_c"));
    QVERIFY(scene.selectedItems().isEmpty());
    view.lowerAction();
    QCOMPARE(stackNames(scene), (QStringList{"data_b", "data_a", "data_c"}));
    view.raiseAction(); // every sibling above goes just below it, in turn
    QCOMPARE(stackNames(scene), (QStringList{"data_c", "data_a", "data_b"}));
}

void TestDispScene::clearThreadStopsTheTransport()
{
    DispScene scene;
    QVERIFY(scene.transport() != nullptr);
    QTRY_VERIFY(scene.transport()->isRunning());
    scene.setSceneSize(480, 480);
    QVERIFY(scene.transport()->hasEncoder());
    QCOMPARE(scene.transport()->panelWidth(), 480);
    // A later sizing turns the scene, not the device's frame size.
    scene.resizeScene(240, 480);
    QCOMPARE(scene.sceneRect(), QRectF(0, 0, 240, 480));
    QCOMPARE(scene.transport()->panelWidth(), 480);

    QTest::ignoreMessage(QtDebugMsg, "DispScene::clearThread");
    QTest::ignoreMessage(QtDebugMsg, "DispScene::clearThread finish");
    scene.clearThread();
    QVERIFY(scene.transport()->isFinished());
    // The pump is stopped with it.
    const auto* pump = scene.findChild<QTimer*>(QStringLiteral("renderTimer"));
    QVERIFY(pump != nullptr);
    QVERIFY(!pump->isActive());
}

int main(int argc, char** argv)
{
    QApplication app(argc, argv);
    TestDispScene test;
    return QTest::qExec(&test, argc, argv);
}

#include "tst_dispscene.moc"
