// The lighting panel: each control sets its part of the six parameters and
// announces all six; the setter moves the controls.
#include "coloradjustwidget.h"
#include "colorselection.h"
#include "segscene.h"

#include <QAbstractButton>
#include <QCheckBox>
#include <QGraphicsSimpleTextItem>
#include <QLabel>
#include <QSignalSpy>
#include <QSlider>
#include <QtTest>

namespace {

// The last announcement as "type onoff #colour light function angle".
QString last(const QSignalSpy& spy)
{
    const QVariantList args = spy.last();
    return QStringLiteral("%1 %2 #%3 %4 %5 %6")
        .arg(args[0].toUInt())
        .arg(args[1].toInt())
        .arg(args[2].toUInt(), 6, 16, QLatin1Char('0'))
        .arg(args[3].toUInt())
        .arg(args[4].toInt())
        .arg(args[5].toDouble());
}

template <class T>
T* child(QWidget* panel, const QString& name)
{
    T* found = panel->findChild<T*>(name);
    if (!found) {
        qFatal("no child %s", qPrintable(name));
    }
    return found;
}

} // namespace

class tst_ColorAdjustWidget : public QObject
{
    Q_OBJECT

private slots:
    void startsAtTheDefaults();
    void modeButtons_data();
    void modeButtons();
    void presets_data();
    void presets();
    void slidersMoveOneChannel_data();
    void slidersMoveOneChannel();
    void onOffBrightnessAndFunction();
    void setterMovesControlsAndAnnounces();
    void ringPickSetsColour();
};

void tst_ColorAdjustWidget::startsAtTheDefaults()
{
    ColorAdjustWidget panel(nullptr);
    const SegEffectParams p = panel.currentParam();
    QCOMPARE(QStringLiteral("%1 %2 %3 %4 %5")
                 .arg(p.type)
                 .arg(p.onoff)
                 .arg(p.color, 0, 16)
                 .arg(p.light)
                 .arg(p.function),
             QStringLiteral("0 1 ff0000 100 0"));
    QVERIFY(child<QAbstractButton>(&panel, "mode0")->isChecked());
    QVERIFY(child<QAbstractButton>(&panel, "function0")->isChecked());
    QVERIFY(child<QCheckBox>(&panel, "onOff")->isChecked());
    QCOMPARE(child<QSlider>(&panel, "light")->maximum(), 100);
    QCOMPARE(child<QSlider>(&panel, "red")->maximum(), 255);
    QCOMPARE(child<QSlider>(&panel, "red")->value(), 255);
    QCOMPARE(child<QLabel>(&panel, "redValue")->text(), QStringLiteral("255"));
    QCOMPARE(child<QLabel>(&panel, "greenValue")->text(), QStringLiteral("0"));
    QStringList texts;
    for (const char* name :
         {"mode0", "mode1", "mode2", "mode3", "mode4", "mode5", "function0", "function1"}) {
        texts.append(child<QAbstractButton>(&panel, name)->text());
    }
    QCOMPARE(texts, (QStringList{"Color Adiust", "Breath Mode", "Gradient", "Rainbow Mode", "Temp Linkage",
                                 "Load Linkage", "Monitor CPU", "Monitor GPU"}));
    QStringList labels;
    for (QLabel* label : panel.findChildren<QLabel*>()) {
        labels.append(label->text());
    }
    QVERIFY(labels.contains("Color Adiust") && labels.contains("Color Setting") &&
            labels.contains("Function Select"));
}

void tst_ColorAdjustWidget::modeButtons_data()
{
    QTest::addColumn<int>("mode");
    for (int i = 1; i < ColorAdjustWidget::kModes; ++i) {
        QTest::addRow("%d", i) << i;
    }
}

void tst_ColorAdjustWidget::modeButtons()
{
    QFETCH(int, mode);
    ColorAdjustWidget panel(nullptr);
    QSignalSpy announced(&panel, &ColorAdjustWidget::updateCurrentParam);
    child<QAbstractButton>(&panel, QStringLiteral("mode%1").arg(mode))->click();
    QCOMPARE(announced.count(), 1);
    QCOMPARE(last(announced).section(' ', 0, 2), QStringLiteral("%1 1 #ff0000").arg(mode));
    QVERIFY(!child<QAbstractButton>(&panel, "mode0")->isChecked());
}

void tst_ColorAdjustWidget::presets_data()
{
    QTest::addColumn<int>("id");
    QTest::addColumn<uint>("color");
    const uint colours[] = {0xFF0000, 0xFF7D00, 0xFFFF00, 0x00FF00, 0x0000FF, 0x00FFFF, 0xFF00FF, 0xFFFFFF};
    for (int i = 0; i < 8; ++i) {
        QTest::addRow("%d", i) << i << colours[i];
    }
}

void tst_ColorAdjustWidget::presets()
{
    QFETCH(int, id);
    QFETCH(uint, color);
    ColorAdjustWidget panel(nullptr);
    child<QAbstractButton>(&panel, "preset4")->click(); // blue first, so every preset changes something
    QSignalSpy announced(&panel, &ColorAdjustWidget::updateCurrentParam);
    child<QAbstractButton>(&panel, QStringLiteral("preset%1").arg(id))->click();
    QVERIFY(announced.count() >= 1);
    QCOMPARE(last(announced).section(' ', 2, 2), QStringLiteral("#%1").arg(color, 6, 16, QLatin1Char('0')));
    QCOMPARE(uint(child<QSlider>(&panel, "red")->value()), (color >> 16) & 0xFF);
    QCOMPARE(uint(child<QSlider>(&panel, "green")->value()), (color >> 8) & 0xFF);
    QCOMPARE(uint(child<QSlider>(&panel, "blue")->value()), color & 0xFF);
    QCOMPARE(child<QLabel>(&panel, "greenValue")->text(), QString::number((color >> 8) & 0xFF));
}

void tst_ColorAdjustWidget::slidersMoveOneChannel_data()
{
    QTest::addColumn<QString>("slider");
    QTest::addColumn<int>("value");
    QTest::addColumn<uint>("color");

    // From #FF7D00.
    QTest::newRow("red") << "red" << 16 << 0x107D00u;
    QTest::newRow("green") << "green" << 0 << 0xFF0000u;
    QTest::newRow("blue") << "blue" << 171 << 0xFF7DABu;
}

void tst_ColorAdjustWidget::slidersMoveOneChannel()
{
    QFETCH(QString, slider);
    QFETCH(int, value);
    QFETCH(uint, color);

    ColorAdjustWidget panel(nullptr);
    child<QAbstractButton>(&panel, "preset1")->click();
    QSignalSpy announced(&panel, &ColorAdjustWidget::updateCurrentParam);
    child<QSlider>(&panel, slider)->setValue(value);
    QCOMPARE(announced.count(), 1);
    QCOMPARE(last(announced).section(' ', 2, 2), QStringLiteral("#%1").arg(color, 6, 16, QLatin1Char('0')));
    QCOMPARE(child<QLabel>(&panel, slider + "Value")->text(), QString::number(value));
}

void tst_ColorAdjustWidget::onOffBrightnessAndFunction()
{
    SegScene scene(nullptr);
    ColorAdjustWidget panel(&scene);
    QSignalSpy announced(&panel, &ColorAdjustWidget::updateCurrentParam);
    child<QCheckBox>(&panel, "onOff")->click();
    QCOMPARE(last(announced), QStringLiteral("0 0 #ff0000 100 0 0"));
    child<QSlider>(&panel, "light")->setValue(37);
    QCOMPARE(last(announced), QStringLiteral("0 0 #ff0000 37 0 0"));
    child<QCheckBox>(&panel, "onOff")->click();
    QCOMPARE(last(announced), QStringLiteral("0 1 #ff0000 37 0 0"));
    QCOMPARE(announced.count(), 3);
    // The function selects the scene's source.
    child<QAbstractButton>(&panel, "function1")->click();
    QCOMPARE(last(announced), QStringLiteral("0 1 #ff0000 37 1 0"));
    QCOMPARE(scene.source(), 1);
    QCOMPARE(scene.sourceLabel()->text(), QStringLiteral("GPU"));
    child<QAbstractButton>(&panel, "function0")->click();
    QCOMPARE(last(announced), QStringLiteral("0 1 #ff0000 37 0 0"));
    QCOMPARE(scene.sourceLabel()->text(), QStringLiteral("CPU"));
}

void tst_ColorAdjustWidget::setterMovesControlsAndAnnounces()
{
    SegScene scene(nullptr);
    ColorAdjustWidget panel(&scene);
    QSignalSpy announced(&panel, &ColorAdjustWidget::updateCurrentParam);
    panel.setCurrentParam(3, 0, 0x12AB34, 40, 1, 33.0);
    QVERIFY(announced.count() >= 1);
    QCOMPARE(last(announced), QStringLiteral("3 0 #12ab34 40 1 33"));
    QVERIFY(child<QAbstractButton>(&panel, "mode3")->isChecked());
    QVERIFY(child<QAbstractButton>(&panel, "function1")->isChecked());
    QVERIFY(!child<QCheckBox>(&panel, "onOff")->isChecked());
    QCOMPARE(child<QSlider>(&panel, "light")->value(), 40);
    QCOMPARE(child<QSlider>(&panel, "green")->value(), 0xAB);
    QCOMPARE(scene.source(), 1);
    QCOMPARE(panel.colorRing()->angle(), 33.0);
    // Every announcement carries a consistent colour: the sliders follow it.
    for (const QVariantList& args : announced) {
        QCOMPARE(args[2].toUInt(), 0x12AB34u);
    }
}

void tst_ColorAdjustWidget::ringPickSetsColour()
{
    ColorAdjustWidget panel(nullptr);
    panel.show();
    QVERIFY(QTest::qWaitForWindowExposed(&panel));
    QSignalSpy announced(&panel, &ColorAdjustWidget::updateCurrentParam);
    ColorSelection* ring = panel.colorRing();
    // Straight down the ring is halfway between blue and magenta; the
    // picture behind the hole carries the same hues.
    const QPoint press(145, 250);
    QTest::mousePress(ring, Qt::LeftButton, Qt::NoModifier, press);
    QTest::mouseRelease(ring, Qt::LeftButton, Qt::NoModifier, press);
    QVERIFY(announced.count() >= 1);
    const QColor picked = ring->currentColor();
    QVERIFY(picked.isValid());
    QCOMPARE(last(announced),
             QStringLiteral("0 1 #%1 100 0 90").arg(picked.rgb() & 0xFFFFFFu, 6, 16, QLatin1Char('0')));
    QCOMPARE(child<QSlider>(&panel, "blue")->value(), picked.blue());
    // Saturated (not the white centre of the picture): about #7f00ff.
    QVERIFY2(qAbs(picked.red() - 127) < 25 && picked.green() < 25 && picked.blue() > 230,
             qPrintable(picked.name()));
}

QTEST_MAIN(tst_ColorAdjustWidget)
#include "tst_coloradjustwidget.moc"
