#include "dispdatewidget.h"
#include "dispframerenderer.h"
#include "dispgaugewidget.h"
#include "dispscene.h"
#include "dispsceneview.h"
#include "dispstandardwidgetfactory.h"
#include "disptextwidget.h"
#include "dispwidget.h"
#include "pixels.h"
#include "transport.h"

#include <QApplication>
#include <QGraphicsSceneDragDropEvent>
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

bool drop(QGraphicsScene& scene, const QByteArray& data,
          const QString& format = QLatin1String(DispScene::kToolMimeType))
{
    QMimeData mime;
    mime.setData(format, data);
    QGraphicsSceneDragDropEvent event(QEvent::GraphicsSceneDrop);
    event.setMimeData(&mime);
    event.setScenePos(QPointF(100, 40));
    event.setProposedAction(Qt::CopyAction);
    event.setAccepted(false);
    QApplication::sendEvent(&scene, &event);
    return event.isAccepted() && event.dropAction() == Qt::CopyAction;
}

QStringList stackNames(const DispScene& scene)
{
    QStringList names;
    for (QGraphicsItem* item : DispScene::stackedItems(&scene, Qt::DescendingOrder)) {
        if (!DispScene::itemName(item).isEmpty()) {
            names << DispScene::itemName(item);
        }
    }
    return names;
}

// A widget whose content has a chosen size, optionally posing as a bar.
class SizedWidget : public DispWidget
{
public:
    explicit SizedWidget(const QSize& size, const QString& name = QStringLiteral("data_test"))
    {
        setObjectName(name);
        contentWidget()->resize(size);
    }
    int progressBarLength() const override { return m_length; }
    int progressBarRotation() const override { return m_rotation; }
    int m_length = 0;
    int m_rotation = 0;
};

} // namespace

class TestDispScene : public QObject
{
    Q_OBJECT

private slots:
    void initTestCase() { DispStandardWidgetFactory::install(); }
    void droppedToolsCreateWidgets_data();
    void droppedToolsCreateWidgets();
    void upDownRestackOneSelected_data();
    void upDownRestackOneSelected();
    void pumpShapesDeviceFrame_data();
    void pumpShapesDeviceFrame();
    void pumpClearsSelectionAfterCountdown();
    void viewDropsAndClicksLandUnderTheCursor_data();
    void viewDropsAndClicksLandUnderTheCursor();
    void livePumpRendersOnlyChangesUntilTheThreadStops();
    void widgetsKeepInsideTheScene_data();
    void widgetsKeepInsideTheScene();
    void poolReusesImagesButNeverDrawsOverAHeldOne();
};

void TestDispScene::droppedToolsCreateWidgets_data()
{
    QTest::addColumn<QByteArray>("data");
    QTest::addColumn<QStringList>("created"); // name prefixes, each 28 pixels below the one before
    QTest::addColumn<QPointF>("at");          // where the first one lands
    QTest::addColumn<int>("updates");         // of the widget list and positions
    const QPointF drop(100, 40);
    const auto tool = [](const char* name, const QStringList& created, const QPointF& at) {
        QTest::newRow(name) << toolData(QString::fromLatin1(name)) << created << at << 1;
    };
    tool("Text", {"text_"}, drop);
    tool("Number", {"data_"}, drop);
    tool("DateTime", {"date_", "time_", "weekday_"}, drop);
    tool("Arc", {"arc_"}, drop);
    tool("Bar", {"progress_bar_"}, drop);
    tool("Gauge", {"gauge_"}, drop);
    tool("Chart", {"chart_"}, drop);
    tool("3D", {"gauge_"}, drop);
    tool("Clock", {"clock_"}, QPointF(9, 9)); // the 471-pixel clock is held inside the 480-pixel scene
    tool("Image", {"image_"}, drop);
    tool("Weather", {}, drop); // an unknown tool
    // Hostile data is taken and ignored.
    QByteArray hugeMap; // a role map that claims two billion entries and holds none
    QDataStream(&hugeMap, QIODevice::WriteOnly) << 0 << 0 << quint32(0x7FFFFFFF) << qint32(0);
    QByteArray hugeList; // a role holding a string list that claims 2^28 entries
    QDataStream(&hugeList, QIODevice::WriteOnly)
        << 0 << 0 << qint32(1) << qint32(Qt::DisplayRole) << quint32(QMetaType::QStringList) << quint8(0)
        << quint32(0x10000000);
    QTest::newRow("no name") << toolData(QString()) << QStringList() << drop << 0;
    QTest::newRow("cut short") << toolData(QStringLiteral("Text")).left(9) << QStringList() << drop << 0;
    QTest::newRow("huge role map") << hugeMap << QStringList() << drop << 0;
    QTest::newRow("huge string list") << hugeList << QStringList() << drop << 0;
    QTest::newRow("empty") << QByteArray() << QStringList() << drop << 0;
}

void TestDispScene::droppedToolsCreateWidgets()
{
    QFETCH(QByteArray, data);
    QFETCH(QStringList, created);
    QFETCH(QPointF, at);
    QFETCH(int, updates);
    DispScene scene;
    scene.setSceneRect(0, 0, 480, 480);
    QSignalSpy posSpy(&scene, &DispScene::widgetPosChanged);
    QSignalSpy listSpy(&scene, &DispScene::widgetListUpdated);
    QVERIFY(drop(scene, data));
    QCOMPARE(posSpy.count(), updates);
    QCOMPARE(listSpy.count(), updates);
    QCOMPARE(stackNames(scene).size(), created.size());
    for (int i = 0; i < created.size(); ++i) {
        const QList<QGraphicsItem*> all = scene.items();
        const auto found = std::find_if(all.begin(), all.end(), [&](QGraphicsItem* item) {
            return DispScene::itemName(item).startsWith(created[i]);
        });
        QVERIFY2(found != all.end(), qPrintable(created[i]));
        QCOMPARE((*found)->pos(), at + QPointF(0, 28 * i));
        // The first one made is the one selected.
        QCOMPARE((*found)->isSelected(), i == 0);
    }
    QCOMPARE(scene.selectedItems().size(), created.isEmpty() ? 0 : 1);
    // Widgets live in the scene only: no content is ever a window of its own.
    for (const QWidget* top : QApplication::topLevelWidgets()) {
        QVERIFY2(!top->isVisible() || top->testAttribute(Qt::WA_DontShowOnScreen),
                 top->metaObject()->className());
    }
    // Other formats go to the scene's own handling, which does not accept.
    QVERIFY(!drop(scene, data, QStringLiteral("text/plain")));
    QCOMPARE(stackNames(scene).size(), created.size());
}

void TestDispScene::upDownRestackOneSelected_data()
{
    // Texts a, b, c added in turn: c is on top. Orders are listed topmost first.
    QTest::addColumn<QString>("selected");
    QTest::addColumn<int>("key");
    QTest::addColumn<QString>("expected");
    QTest::newRow("raise the middle") << "b" << int(Qt::Key_Up) << "bca";
    QTest::newRow("raise the bottom") << "a" << int(Qt::Key_Up) << "cab";
    QTest::newRow("lower the middle") << "b" << int(Qt::Key_Down) << "cab";
    QTest::newRow("lower the top") << "c" << int(Qt::Key_Down) << "bca";
    QTest::newRow("raise the top") << "c" << int(Qt::Key_Up) << "cba";
    QTest::newRow("lower the bottom") << "a" << int(Qt::Key_Down) << "cba";
    QTest::newRow("two selected: nothing moves") << "ab" << int(Qt::Key_Up) << "cba";
}

void TestDispScene::upDownRestackOneSelected()
{
    QFETCH(QString, selected);
    QFETCH(int, key);
    QFETCH(QString, expected);
    DispScene scene;
    scene.setSceneRect(0, 0, 480, 480);
    for (const char* suffix : {"_a", "_b", "_c"}) {
        scene.addTextWidget(QLatin1String(suffix), QPointF(10, 10));
    }
    const auto order = [&scene] { return stackNames(scene).join(QString()).remove(QStringLiteral("text_")); };
    QCOMPARE(order(), QStringLiteral("cba"));
    QCOMPARE(scene.selectedItems().size(), 1); // each add selects only the new one
    for (QGraphicsItem* item : scene.items()) {
        item->setSelected(selected.contains(DispScene::itemName(item).right(1)));
    }
    QSignalSpy posSpy(&scene, &DispScene::widgetPosChanged);
    QSignalSpy listSpy(&scene, &DispScene::widgetListUpdated);
    QKeyEvent press(QEvent::KeyPress, key, Qt::NoModifier);
    QApplication::sendEvent(&scene, &press);
    QCOMPARE(order(), expected);
    QCOMPARE(posSpy.count(), 1);
    QCOMPARE(listSpy.count(), 1);
    QKeyEvent other(QEvent::KeyPress, Qt::Key_A, Qt::NoModifier); // any other key only refreshes the list
    QApplication::sendEvent(&scene, &other);
    QCOMPARE(posSpy.count(), 1);
    QCOMPARE(listSpy.count(), 2);
}

void TestDispScene::pumpShapesDeviceFrame_data()
{
    QTest::addColumn<QSize>("panel");
    QTest::addColumn<int>("rotation");
    QTest::addColumn<QSize>("frame");
    QTest::addColumn<QPoint>("corner"); // where the scene's top-left pixel lands
    // Narrow panels are padded (no device opened: the models that encode
    // them at their own width are covered by the model table's tests).
    QTest::newRow("360x960") << QSize(360, 960) << 0 << QSize(420, 960) << QPoint(60, 0);
    QTest::newRow("462x1920") << QSize(462, 1920) << 0 << QSize(480, 1920) << QPoint(0, 0);
    QTest::newRow("480x480") << QSize(480, 480) << 0 << QSize(480, 480) << QPoint(0, 0);
    // Turned clockwise in quarter turns.
    QTest::newRow("90") << QSize(200, 100) << 1 << QSize(100, 200) << QPoint(99, 0);
    QTest::newRow("180") << QSize(200, 100) << 2 << QSize(200, 100) << QPoint(199, 99);
    QTest::newRow("270") << QSize(200, 100) << 3 << QSize(100, 200) << QPoint(0, 199);
    QTest::newRow("not a quarter turn: upright") << QSize(200, 100) << 7 << QSize(200, 100) << QPoint(0, 0);
}

void TestDispScene::pumpShapesDeviceFrame()
{
    QFETCH(QSize, panel);
    QFETCH(int, rotation);
    QFETCH(QSize, frame);
    QFETCH(QPoint, corner);
    // A red 20 x 10 block in the top-left corner, pumped to a device frame;
    // a blue one reaching past the left edge must not leak into the band.
    DispScene scene;
    scene.pumpFrame();
    QVERIFY(scene.deviceFrame().isNull() && scene.frameImage().isNull()); // nothing before the first sizing
    scene.setSceneSize(panel.width(), panel.height());
    scene.addRect(QRectF(0, 0, 20, 10), Qt::NoPen, QBrush(Qt::red));
    scene.addRect(QRectF(-50, 20, 45, 3000), Qt::NoPen, QBrush(Qt::blue));
    scene.setRotation(rotation);
    scene.pumpFrame();
    const QImage image = scene.deviceFrame();
    QCOMPARE(image.size(), frame);
    QCOMPARE(image.pixelColor(corner), QColor(Qt::red));
    QCOMPARE(image.pixelColor(frame.width() / 2, frame.height() / 2), QColor(Qt::white));
    if (rotation == 0) {
        // The bands the encoder needs stay transparent, left and right.
        const int left = corner.x();
        QCOMPARE(image.pixelColor(left + panel.width() - 1, 100), QColor(Qt::white));
        QCOMPARE(image.pixel(left / 2, frame.height() - 1),
                 left > 0 ? qRgba(0, 0, 0, 0) : qRgb(255, 255, 255));
        if (frame.width() > left + panel.width()) {
            QCOMPARE(image.pixel(frame.width() - 1, 100), qRgba(0, 0, 0, 0));
        }
    }
    // The preview's picture: the scene upright and unpadded, turned once per frame.
    const QImage upright = scene.frameImage();
    QCOMPARE(upright.size(), panel);
    QCOMPARE(upright.pixelColor(5, 5), QColor(Qt::red));
    QCOMPARE(upright.pixelColor(30, 5), QColor(Qt::white));
    QCOMPARE(scene.frameImage().cacheKey(), upright.cacheKey());
    scene.addRect(QRectF(40, 0, 10, 10), Qt::NoPen, QBrush(Qt::blue));
    scene.pumpFrame();
    QCOMPARE(scene.frameImage().pixelColor(45, 5), QColor(Qt::blue));
}

void TestDispScene::pumpClearsSelectionAfterCountdown()
{
    DispScene scene;
    scene.setSceneSize(200, 100);
    DispTextWidget* text = scene.addTextWidget(QString(), QPointF(20, 20));
    text->setDefaultTextColor(Qt::white); // only the selection frame shows
    const auto framePixels = [&scene, text] {
        scene.pumpFrame();
        const QRect top = text->sceneBoundingRect().toRect();
        return Pixels::countNear(scene.deviceFrame(), QRect(top.left(), top.top(), top.width(), 1), Qt::black,
                                 127);
    };
    QVERIFY(framePixels() > 0);
    scene.startDeselectCountdown();
    for (int frame = 1; frame < DispScene::kDeselectFrames; ++frame) {
        scene.pumpFrame();
    }
    QVERIFY(framePixels() > 0); // the 100th frame still shows it
    QVERIFY(text->isSelected());
    scene.pumpFrame(); // the 101st frame clears the selection
    QVERIFY(!text->isSelected());
    QVERIFY(!scene.deselectCountdownActive());
    QCOMPARE(framePixels(), 0);
}

void TestDispScene::viewDropsAndClicksLandUnderTheCursor_data()
{
    QTest::addColumn<QSize>("sceneSize");
    QTest::addColumn<double>("zoom"); // 0: fitted to the view
    QTest::newRow("tall panel fitted") << QSize(480, 1920) << 0.0;
    QTest::newRow("small panel fitted") << QSize(320, 240) << 0.0;
    QTest::newRow("zoomed in") << QSize(480, 480) << 1.5625;
    QTest::newRow("zoomed out") << QSize(480, 480) << 0.64;
}

void TestDispScene::viewDropsAndClicksLandUnderTheCursor()
{
    QFETCH(QSize, sceneSize);
    QFETCH(double, zoom);
    DispScene scene;
    scene.setSceneRect(QRectF(QPointF(0, 0), sceneSize));
    DispSceneView view(&scene);
    view.setAlignment(Qt::AlignLeft | Qt::AlignTop);
    view.resize(300, 400);
    view.show();
    QVERIFY(QTest::qWaitForWindowExposed(&view));
    if (zoom > 0) {
        view.setZoom(zoom);
    } else {
        view.zoomToFit();
        QVERIFY(view.fitting());
        QVERIFY(view.zoom() != 1.0);
        // The whole panel is in sight.
        const QRect shown = view.mapFromScene(scene.sceneRect()).boundingRect();
        QVERIFY2(view.viewport()->rect().contains(shown), qPrintable(QString::number(view.zoom())));
    }

    // A point well inside the panel: drops near the edge are pulled inside.
    const QPoint at =
        view.mapFromScene(QPointF(sceneSize.width() * 0.25 + 3.3, sceneSize.height() * 0.25 + 7.7));
    const QPointF expected = view.mapToScene(at);
    QMimeData mime;
    mime.setData(QLatin1String(DispScene::kToolMimeType), toolData(QStringLiteral("Text")));
    QDragEnterEvent enter(at, Qt::CopyAction, &mime, Qt::LeftButton, Qt::NoModifier);
    QApplication::sendEvent(view.viewport(), &enter);
    QDragMoveEvent move(at, Qt::CopyAction, &mime, Qt::LeftButton, Qt::NoModifier);
    QApplication::sendEvent(view.viewport(), &move);
    QDropEvent dropped(at, Qt::CopyAction, &mime, Qt::LeftButton, Qt::NoModifier);
    QApplication::sendEvent(view.viewport(), &dropped);
    const QList<DispTextWidget*> texts = scene.textWidgets();
    QCOMPARE(texts.size(), 1);
    QVERIFY2(QLineF(texts.first()->pos(), expected).length() < 0.01,
             qPrintable(QStringLiteral("%1,%2").arg(texts.first()->pos().x()).arg(texts.first()->pos().y())));

    // A click on the widget picks it, a click beside it picks nothing.
    scene.clearSelection();
    QSignalSpy picked(&scene, &DispScene::currentSelectItem);
    const QRectF box = texts.first()->sceneBoundingRect();
    QTest::mouseClick(view.viewport(), Qt::LeftButton, Qt::NoModifier, view.mapFromScene(box.center()));
    QCOMPARE(picked.count(), 1);
    QCOMPARE(DispScene::namedItem(picked.last().first().value<QGraphicsItem*>()),
             static_cast<QGraphicsItem*>(texts.first()));
    QTest::mouseClick(view.viewport(), Qt::LeftButton, Qt::NoModifier,
                      view.mapFromScene(box.topLeft()) - QPoint(6, 6));
    QCOMPARE(picked.count(), 2);
    QVERIFY(picked.last().first().value<QGraphicsItem*>() == nullptr);
}

// Timers and readings that leave what the widgets show as it is render
// nothing; a change after such a quiet spell is rendered at once; the pump
// stops with the transport's thread.
void TestDispScene::livePumpRendersOnlyChangesUntilTheThreadStops()
{
    DispScene scene;
    QTRY_VERIFY(scene.transport()->isRunning());
    scene.setSceneSize(480, 480);
    QVERIFY(scene.transport()->hasEncoder());
    QCOMPARE(scene.transport()->panelWidth(), 480);
    scene.addTextWidget(QString(), QPointF(10, 10))->setEffect(DispTextWidget::EffectDefault);
    scene.addDateWidget(QString(), QPointF(10, 60));
    const DispMadeWidget<DispGaugeWidget> gauge = scene.widgetFactory()->makeGaugeWidget(nullptr);
    scene.addItem(gauge.item);
    const auto sameReading = [g = gauge.widget] {
        g->updateData(g->subscription(), 42.0, QStringLiteral("%"));
    };
    sameReading();
    auto* pump = scene.findChild<QTimer*>(QStringLiteral("renderTimer"));
    QSignalSpy ticks(pump, &QTimer::timeout);
    QTRY_VERIFY(ticks.count() >= 5);
    const qint64 settled = scene.deviceFrame().cacheKey();
    sameReading();
    QTRY_VERIFY_WITH_TIMEOUT(ticks.count() >= 45, 10000); // over a second: the date's refresh too
    QCOMPARE(scene.deviceFrame().cacheKey(), settled);

    QVERIFY(ticks.wait()); // the next tick is a whole cycle away: the change must not wait for it
    QSignalSpy changed(&scene, &QGraphicsScene::changed);
    scene.addRect(QRectF(380, 380, 100, 100), Qt::NoPen, QBrush(Qt::red));
    QVERIFY(changed.wait());
    QVERIFY(scene.deviceFrame().cacheKey() != settled || pump->remainingTime() == 0);
    QTRY_COMPARE(scene.frameImage().pixelColor(430, 430), QColor(Qt::red));
    QCOMPARE(pump->interval(), DispScene::kFrameIntervalMs); // and the rhythm goes on

    // A later sizing turns the scene, not the device's frame size.
    scene.resizeScene(240, 480);
    QCOMPARE(scene.sceneRect(), QRectF(0, 0, 240, 480));
    QCOMPARE(scene.transport()->panelWidth(), 480);
    scene.clearThread();
    QVERIFY(scene.transport()->isFinished());
    QVERIFY(!pump->isActive());
}

void TestDispScene::widgetsKeepInsideTheScene_data()
{
    QTest::addColumn<QSize>("itemSize");
    QTest::addColumn<int>("barRotation"); // -1: not a progress bar
    QTest::addColumn<QPointF>("proposed");
    QTest::addColumn<QPointF>("expected");
    // Scene 200 x 100.
    QTest::newRow("on the far edges") << QSize(40, 20) << -1 << QPointF(160, 80) << QPointF(160, 80);
    QTest::newRow("past the right") << QSize(40, 20) << -1 << QPointF(190, 30) << QPointF(160, 30);
    QTest::newRow("past the top left") << QSize(40, 20) << -1 << QPointF(-5, -9) << QPointF(0, 0);
    QTest::newRow("past the bottom") << QSize(40, 20) << -1 << QPointF(3, 500) << QPointF(3, 80);
    QTest::newRow("wider than the scene") << QSize(260, 20) << -1 << QPointF(10, 10) << QPointF(-60, 10);
    QTest::newRow("taller than the scene") << QSize(40, 150) << -1 << QPointF(10, 10) << QPointF(10, -50);
    // A first-selected bar of length 60 (h = 30) with bounds 60 x 10.
    QTest::newRow("bar flat: x by width, y from h - bh/2")
        << QSize(60, 10) << 0 << QPointF(500, -20) << QPointF(140, 25);
    QTest::newRow("bar flat: y over height - L") << QSize(60, 10) << 0 << QPointF(5, 500) << QPointF(5, 65);
    QTest::newRow("bar upright: x from h - bw/2")
        << QSize(60, 10) << 90 << QPointF(-20, 500) << QPointF(0, 90);
    QTest::newRow("bar upright: x over width - L")
        << QSize(60, 10) << 90 << QPointF(500, 5) << QPointF(140, 5);
    QTest::newRow("bar upside down: as flat")
        << QSize(60, 10) << 180 << QPointF(500, -20) << QPointF(140, 25);
}

void TestDispScene::widgetsKeepInsideTheScene()
{
    QFETCH(QSize, itemSize);
    QFETCH(int, barRotation);
    QFETCH(QPointF, proposed);
    QFETCH(QPointF, expected);
    QGraphicsScene scene(0, 0, 200, 100);
    auto* widget = new SizedWidget(itemSize, barRotation < 0 ? "data_test" : "progress_bar_3");
    widget->m_length = barRotation < 0 ? 0 : 60;
    widget->m_rotation = barRotation;
    scene.addItem(widget);
    widget->setSelected(true);
    widget->setPos(proposed);
    QCOMPARE(widget->pos(), expected);
    if (barRotation >= 0) { // a bar is held in only while it is the first selected
        auto* other = new SizedWidget(QSize(10, 10));
        scene.addItem(other);
        widget->setSelected(false);
        other->setSelected(true);
        widget->setPos(proposed);
        QCOMPARE(widget->pos(), proposed);
    }
}

// The renderer's image pool.
void TestDispScene::poolReusesImagesButNeverDrawsOverAHeldOne()
{
    QGraphicsScene scene(0, 0, 40, 40);
    auto* rect = scene.addRect(QRectF(0, 0, 40, 40), Qt::NoPen, QBrush(Qt::red));
    DispFrameRenderer renderer;
    QImage held;
    for (int frame = 0; frame < 50; ++frame) {
        held = renderer.render(scene, frame % 2);
        QVERIFY(!held.isDetached()); // the pooled image itself, not a copy
    }
    // The pool's images, plus the upright buffer of turned frames.
    QVERIFY2(renderer.allocationCount() <= 3, qPrintable(QString::number(renderer.allocationCount())));
    QCOMPARE(renderer.releaseSpareImages(), 2); // a still scene keeps only the frame held
    QCOMPARE(renderer.imageCount(), 1);

    // Frames still queued for the device keep their pixels while new ones are drawn.
    QList<QImage> queued{held};
    for (int frame = 0; frame < DispFrameRenderer::kPoolSize + 2; ++frame) {
        queued.append(renderer.render(scene, 0));
    }
    rect->setBrush(Qt::green);
    QCOMPARE(renderer.render(scene, 0).pixelColor(5, 5), QColor(Qt::green));
    for (const QImage& old : queued) {
        QCOMPARE(old.pixelColor(5, 5), QColor(Qt::red));
    }
}

QTEST_MAIN(TestDispScene)
#include "tst_dispscene.moc"
