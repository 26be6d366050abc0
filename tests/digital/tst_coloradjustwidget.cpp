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

struct Announced
{
    uint type;
    int onoff;
    uint color;
    uint light;
    int function;
    double angle;
};

Announced last(const QSignalSpy& spy)
{
    const QVariantList args = spy.last();
    return {args[0].toUInt(), args[1].toInt(), args[2].toUInt(),
            args[3].toUInt(), args[4].toInt(), args[5].toDouble()};
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

QStringList labelTexts(QWidget* panel)
{
    QStringList texts;
    for (QLabel* label : panel->findChildren<QLabel*>()) {
        texts.append(label->text());
    }
    return texts;
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
    void onOffAndBrightness();
    void functionSelectsTheSceneSource();
    void setterMovesControlsAndAnnounces();
    void ringPickSetsColour();
};

void tst_ColorAdjustWidget::startsAtTheDefaults()
{
    ColorAdjustWidget panel(nullptr);
    const SegEffectParams p = panel.currentParam();
    QCOMPARE(p.type, 0u);
    QCOMPARE(p.onoff, 1);
    QCOMPARE(p.color, 0xFF0000u);
    QCOMPARE(p.light, 100u);
    QCOMPARE(p.function, 0);

    QVERIFY(child<QAbstractButton>(&panel, "mode0")->isChecked());
    QVERIFY(child<QAbstractButton>(&panel, "function0")->isChecked());
    QVERIFY(child<QCheckBox>(&panel, "onOff")->isChecked());
    QCOMPARE(child<QSlider>(&panel, "light")->maximum(), 100);
    QCOMPARE(child<QSlider>(&panel, "red")->value(), 255);
    QCOMPARE(child<QSlider>(&panel, "red")->maximum(), 255);
    QCOMPARE(child<QLabel>(&panel, "redValue")->text(), QStringLiteral("255"));
    QCOMPARE(child<QLabel>(&panel, "greenValue")->text(), QStringLiteral("0"));

    const QStringList texts = labelTexts(&panel);
    QVERIFY(texts.contains("Color Adiust"));
    QVERIFY(texts.contains("Color Setting"));
    QVERIFY(texts.contains("Function Select"));
    const QStringList modes = {"Color Adiust", "Breath Mode",  "Gradient",
                               "Rainbow Mode", "Temp Linkage", "Load Linkage"};
    for (int i = 0; i < modes.size(); ++i) {
        QCOMPARE(child<QAbstractButton>(&panel, QStringLiteral("mode%1").arg(i))->text(), modes[i]);
    }
    QCOMPARE(child<QAbstractButton>(&panel, "function0")->text(), QStringLiteral("Monitor CPU"));
    QCOMPARE(child<QAbstractButton>(&panel, "function1")->text(), QStringLiteral("Monitor GPU"));
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
    QCOMPARE(last(announced).type, uint(mode));
    QCOMPARE(last(announced).color, 0xFF0000u);
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
    QCOMPARE(last(announced).color, color);
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
    QCOMPARE(last(announced).color, color);
    QCOMPARE(child<QLabel>(&panel, slider + "Value")->text(), QString::number(value));
}

void tst_ColorAdjustWidget::onOffAndBrightness()
{
    ColorAdjustWidget panel(nullptr);
    QSignalSpy announced(&panel, &ColorAdjustWidget::updateCurrentParam);
    child<QCheckBox>(&panel, "onOff")->click();
    QCOMPARE(last(announced).onoff, 0);
    child<QSlider>(&panel, "light")->setValue(37);
    QCOMPARE(last(announced).light, 37u);
    QCOMPARE(last(announced).onoff, 0);
    child<QCheckBox>(&panel, "onOff")->click();
    QCOMPARE(last(announced).onoff, 1);
    QCOMPARE(announced.count(), 3);
}

void tst_ColorAdjustWidget::functionSelectsTheSceneSource()
{
    SegScene scene(nullptr);
    ColorAdjustWidget panel(&scene);
    QSignalSpy announced(&panel, &ColorAdjustWidget::updateCurrentParam);
    child<QAbstractButton>(&panel, "function1")->click();
    QCOMPARE(last(announced).function, 1);
    QCOMPARE(scene.source(), 1);
    QCOMPARE(scene.sourceLabel()->text(), QStringLiteral("GPU"));
    child<QAbstractButton>(&panel, "function0")->click();
    QCOMPARE(last(announced).function, 0);
    QCOMPARE(scene.sourceLabel()->text(), QStringLiteral("CPU"));
}

void tst_ColorAdjustWidget::setterMovesControlsAndAnnounces()
{
    SegScene scene(nullptr);
    ColorAdjustWidget panel(&scene);
    QSignalSpy announced(&panel, &ColorAdjustWidget::updateCurrentParam);
    panel.setCurrentParam(3, 0, 0x12AB34, 40, 1, 33.0);
    QVERIFY(announced.count() >= 1);
    const Announced a = last(announced);
    QCOMPARE(a.type, 3u);
    QCOMPARE(a.onoff, 0);
    QCOMPARE(a.color, 0x12AB34u);
    QCOMPARE(a.light, 40u);
    QCOMPARE(a.function, 1);
    QCOMPARE(a.angle, 33.0);
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
    QCOMPARE(last(announced).color, picked.rgb() & 0xFFFFFFu);
    QCOMPARE(last(announced).angle, 90.0);
    QCOMPARE(child<QSlider>(&panel, "blue")->value(), picked.blue());
    // Saturated (not the white centre of the picture): about #7f00ff.
    QVERIFY2(qAbs(picked.red() - 127) < 25 && picked.green() < 25 && picked.blue() > 230,
             qPrintable(picked.name()));
}

QTEST_MAIN(tst_ColorAdjustWidget)
#include "tst_coloradjustwidget.moc"
