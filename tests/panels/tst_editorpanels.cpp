// The custom text, time and system info panels on a scene: record bytes,
// limits, hostile records and the caption-and-number pair.
#include "dispcustomtextbox.h"
#include "dispdatewidget.h"
#include "dispnumberwidget.h"
#include "dispscene.h"
#include "dispstandardwidgetfactory.h"
#include "dispsysteminfobox.h"
#include "disptextwidget.h"
#include "disptimebox.h"
#include "editorpanels.h"
#include "pixels.h"
#include "scenebuilder.h"
#include "themerecordwriter.h"
#include "themetags.h"

#include <QKeyEvent>
#include <QPushButton>
#include <QTemporaryDir>
#include <QtTest>

using Pixels::pixelFont;
using SceneBuilder::PanelScene;
using SceneBuilder::read;
using SceneBuilder::written;

namespace {

// A record built from hex fields with the toolkit's font bytes spliced in
// at "F" and a string at "T".
QByteArray record(qint32 tag, const QString& layout, const QFont& font, const QString& text = "Mon")
{
    ThemeRecordWriter writer(tag);
    for (const QString& part : layout.split(QLatin1Char('|'))) {
        if (part == QLatin1String("F")) {
            writer.stream() << font;
        } else if (part == QLatin1String("T")) {
            writer.stream() << text;
        } else {
            const QByteArray bytes = QByteArray::fromHex(part.toLatin1());
            writer.stream().writeRawData(bytes.constData(), bytes.size());
        }
    }
    return writer.finish();
}

// "text_9" at (10, 20), opaque red, "Hi", half transparent, scrolling right; shown.
const QString kTextRecord =
    "01 00000001 0000000c 0074 0065 0078 0074 005f 0039 4024000000000000 4034000000000000"
    " 01 ffff ffff 0000 0000 0000|F|00000004 0048 0069 3fe0000000000000 00000002";
// "date_9" at (4, 8), blue, its text, opaque, weekday name; shown.
const QString kDateRecord =
    "01 00000001 0000000c 0064 0061 0074 0065 005f 0039 4010000000000000 4020000000000000"
    " 01 ffff 0000 0000 ffff 0000|F|T|3ff0000000000000 00000002";
// Caption "data_8" "CPU" (hidden) and number "data_9" "42" at (60, 0), green, bound to
// display type 2, then 1, 11, 10; the "Display Name:" switch off.
const QString kSensorRecord =
    "00 00000001"
    " 0000000c 0064 0061 0074 0061 005f 0038 0000000000000000 0000000000000000 01 ffff 0000 ffff 0000 0000|F|"
    "00000006 0043 0050 0055 3ff0000000000000 00|"
    "0000000c 0064 0061 0074 0061 005f 0039 404e000000000000 0000000000000000 01 ffff 0000 ffff 0000 0000|F|"
    "00000004 0034 0032 3ff0000000000000 01|00000002 00000001 0000000b 0000000a";

QByteArray itemsRecord(qint32 tag, int count, const QByteArray& item, int written = -1)
{
    ThemeRecordWriter writer(tag);
    writer.stream() << true << qint32(count);
    for (int i = 0; i < (written < 0 ? count : written); ++i) {
        writer.stream().writeRawData(item.constData(), item.size());
    }
    return writer.finish();
}

QByteArray textItem(const QString& name, const QPointF& position, const QFont& font, double opacity,
                    qint32 effect)
{
    QByteArray bytes;
    QDataStream out(&bytes, QIODevice::WriteOnly);
    setThemeStreamFormat(out);
    out << name << position << QColor(Qt::red) << font << QStringLiteral("x") << opacity << effect;
    return bytes;
}

} // namespace

class TestEditorPanels : public QObject
{
    Q_OBJECT

private slots:
    void initTestCase();
    void recordsHaveTheirLayout_data();
    void recordsHaveTheirLayout();
    void limitsRefuseTheNextItem();
    void hostileRecordsLoadWhatIsSane_data();
    void hostileRecordsLoadWhatIsSane();
    void sensorItemIsAPairDeletedTogether();

private:
    QTemporaryDir m_data;
};

void TestEditorPanels::initTestCase()
{
    QVERIFY(m_data.isValid());
    qputenv("PANELCAST_DATA_DIR", m_data.path().toLocal8Bit());
    DispStandardWidgetFactory::install();
}

void TestEditorPanels::recordsHaveTheirLayout_data()
{
    QTest::addColumn<int>("panelKind");
    QTest::addColumn<QString>("layout");
    QTest::newRow("custom text 129") << 0 << kTextRecord;
    QTest::newRow("time 131") << 1 << kDateRecord;
    QTest::newRow("system info 130") << 2 << kSensorRecord;
}

void TestEditorPanels::recordsHaveTheirLayout()
{
    QFETCH(int, panelKind);
    QFETCH(QString, layout);
    PanelScene scene;
    std::unique_ptr<ItemListPanel> panel;
    if (panelKind == 0)
        panel = std::make_unique<dispcustomtextbox>();
    else if (panelKind == 1)
        panel = std::make_unique<disptimebox>();
    else
        panel = std::make_unique<dispsysteminfobox>(nullptr);
    panel->attachScene(&scene);
    const QByteArray golden = record(panel->themeTag(), layout, pixelFont(30));

    read(*panel, golden);
    QCOMPARE(panel->itemCount(), 1);
    QGraphicsItem* item = panel->currentItem();
    // A date is written with the text it shows now.
    if (auto* date = qobject_cast<DispDateWidget*>(item->toGraphicsObject()))
        QCOMPARE(written(*panel).toHex(' '),
                 record(panel->themeTag(), layout, pixelFont(30), date->text()).toHex(' '));
    else
        QCOMPARE(written(*panel).toHex(' '), golden.toHex(' '));
    if (panelKind == 0) {
        auto* text = qgraphicsitem_cast<DispTextWidget*>(item);
        QCOMPARE(text->objectName(), QString("text_9"));
        QCOMPARE(text->pos(), QPointF(10, 20));
        QCOMPARE(text->effect(), 2);
        QCOMPARE(text->opacity(), 0.5);
    } else if (panelKind == 1) {
        auto* date = qobject_cast<DispDateWidget*>(item->toGraphicsObject());
        QCOMPARE(date->format(), QString("week"));
        QCOMPARE(date->color(), QColor(Qt::blue));
    } else {
        auto* number = qobject_cast<DispNumberWidget*>(item->toGraphicsObject());
        QCOMPARE(number->sensorType(), 2u);
        QVERIFY(!dispsysteminfobox::captionOf(item)->isVisible());
        QCOMPARE(dispsysteminfobox::captionOf(item)->text(), QString("CPU"));
    }
}

void TestEditorPanels::limitsRefuseTheNextItem()
{
    PanelScene scene;
    dispcustomtextbox text;
    disptimebox time;
    dispsysteminfobox sensors(nullptr);
    for (ItemListPanel* panel : std::initializer_list<ItemListPanel*>{&text, &time, &sensors}) {
        panel->attachScene(&scene);
        for (int i = 0; i < panel->limit() + 1; ++i)
            panel->addButton()->click();
        QCOMPARE(panel->itemCount(), panel->limit());
        QCOMPARE(panel->entryButtons().size(), panel->limit());
        // The last item made is current.
        QCOMPARE(panel->currentIndex(), panel->limit() - 1);
    }
    QCOMPARE(scene.textWidgets().size(), 5);
    QCOMPARE(scene.dateWidgets().size(), 5);
    QCOMPARE(scene.dataWidgets().size(), 40);
}

void TestEditorPanels::hostileRecordsLoadWhatIsSane_data()
{
    QTest::addColumn<QByteArray>("bytes");
    QTest::addColumn<int>("items");
    QTest::addColumn<QString>("name");
    QTest::addColumn<QPointF>("position");
    QTest::addColumn<double>("opacity");
    QTest::addColumn<int>("effect");

    const QFont font = pixelFont(20);
    const QByteArray fine = textItem("text_3", QPointF(5, 6), font, 0.25, 1);
    QTest::newRow("seven items: five loaded")
        << itemsRecord(CustomTextTag, 7, fine) << 5 << "text_3" << QPointF(5, 6) << 0.25 << 1;
    QTest::newRow("count beyond the record")
        << itemsRecord(CustomTextTag, 1000000, fine, 1) << 0 << "" << QPointF() << 0.0 << 0;
    QTest::newRow("path in the name")
        << itemsRecord(CustomTextTag, 1, textItem("text_/../image_background", QPointF(5, 6), font, 0.25, 1))
        << 1 << "text_" << QPointF(5, 6) << 0.25 << 1;
    QTest::newRow("absurd position, opacity and effect")
        << itemsRecord(CustomTextTag, 1, textItem("text_3", QPointF(qInf(), 1e300), font, 7.0, 99)) << 1
        << "text_3" << QPointF(0, 0) << 1.0 << 0;
    QFont huge = font;
    huge.setPixelSize(100000);
    QTest::newRow("absurd font") << itemsRecord(CustomTextTag, 1, textItem("text_3", QPointF(), huge, 1, 0))
                                 << 0 << "" << QPointF() << 0.0 << 0;
    QTest::newRow("cut in the middle")
        << itemsRecord(CustomTextTag, 2, fine).left(60) << 0 << "" << QPointF() << 0.0 << 0;
}

void TestEditorPanels::hostileRecordsLoadWhatIsSane()
{
    QFETCH(QByteArray, bytes);
    QFETCH(int, items);
    QFETCH(QString, name);
    QFETCH(QPointF, position);
    QFETCH(double, opacity);
    QFETCH(int, effect);

    PanelScene scene;
    dispcustomtextbox panel;
    panel.attachScene(&scene);
    read(panel, bytes);
    QCOMPARE(panel.itemCount(), items);
    if (items == 0)
        return;
    auto* text = qgraphicsitem_cast<DispTextWidget*>(panel.items().first());
    QVERIFY2(text->objectName().startsWith(name), qPrintable(text->objectName()));
    QVERIFY(!text->objectName().contains('/'));
    QCOMPARE(text->pos(), position);
    QCOMPARE(text->opacity(), opacity);
    QCOMPARE(text->effect(), effect);
}

void TestEditorPanels::sensorItemIsAPairDeletedTogether()
{
    PanelScene scene;
    dispsysteminfobox panel(nullptr);
    panel.attachScene(&scene);
    panel.addButton()->click();
    QGraphicsItem* number = panel.currentItem();
    DispNumberWidget* caption = dispsysteminfobox::captionOf(number);
    QCOMPARE(caption->text(), QString("Name: "));
    QCOMPARE(number->pos(), QPointF(caption->labelSize().width(), 0));

    // Deleting the caption with the Delete key takes the number along.
    scene.clearSelection();
    caption->setSelected(true);
    QKeyEvent key(QEvent::KeyPress, Qt::Key_Delete, Qt::NoModifier);
    QApplication::sendEvent(&scene, &key);
    QCOMPARE(panel.itemCount(), 0);
    QVERIFY(number->scene() == nullptr);
}

QTEST_MAIN(TestEditorPanels)
#include "tst_editorpanels.moc"
