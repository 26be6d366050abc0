#include "disparcbox.h"

#include "baseinfo.h"
#include "disparcwidget.h"
#include "dispcircularprogressbar.h"
#include "dispcolorselectbutton.h"
#include "dispfontselectbutton.h"
#include "dispscene.h"
#include "themerecordreader.h"
#include "themetags.h"
#include "themevalues.h"

#include <QCheckBox>
#include <QDataStream>
#include <QFormLayout>
#include <QSpinBox>

namespace {

const QString kResourcePrefix = QStringLiteral("res/");
constexpr int kLargestSide = 2000;

DispCircularProgressBar* ringOf(DispWidget* widget)
{
    auto* arc = qobject_cast<DispArcWidget*>(widget);
    return arc != nullptr ? arc->ring() : nullptr;
}

} // namespace

disparcbox::disparcbox(QWidget* parent)
    : ReadoutItemPanel(tr("Arc Display"), ArcStore, QStringLiteral("Arc"),
                       QStringLiteral(":/images/home/arc.png"), parent)
{
    m_textColor = new DispColorSelectButton(QStringLiteral(":/images/textpointer.png"), Qt::white, this);
    m_font = new DispFontSelectButton(this);
    QFont font(BaseInfo::languageType() == 1 ? QStringLiteral("微软雅黑")
                                             : QStringLiteral("Microsoft YaHei"));
    font.setPointSize(16);
    m_font->setFont(font);
    m_size = new QSpinBox(this);
    m_size->setObjectName(QStringLiteral("size"));
    m_size->setRange(0, kLargestSide);
    m_size->setValue(10);
    m_lineWidth = new QSpinBox(this);
    m_lineWidth->setObjectName(QStringLiteral("lineWidth"));
    m_lineWidth->setRange(0, kLargestSide);
    m_lineWidth->setValue(10);
    m_roundCap = new QCheckBox(tr("RoundCap"), this);
    m_roundCap->setObjectName(QStringLiteral("roundCap"));
    m_textColor->setObjectName(QStringLiteral("textColor"));

    QFormLayout* form = controls();
    form->addRow(tr("Text Color:"), m_textColor);
    form->addRow(tr("Font:"), m_font);
    form->addRow(tr("Size:"), m_size);
    form->addRow(tr("LineWidth:"), m_lineWidth);
    form->addRow(tr("BackColor:"), m_backColor);
    form->addRow(tr("ForeColor:"), m_foreColor);
    form->addRow(tr("gradientColor:"), m_gradientColor);
    form->addRow(m_transparent, m_roundCap);
    addOpacityRow();

    using Ring = DispArcWidget;
    connect(m_textColor, &DispColorSelectButton::colorChanged, this, [this](const QColor& color) {
        editCurrent<Ring>([&](Ring* arc) { arc->ring()->setTextColor(color); });
    });
    connect(m_font, &DispFontSelectButton::fontChanged, this, [this](const QFont& chosen) {
        editCurrent<Ring>([&](Ring* arc) { arc->ring()->setTextFont(chosen); });
    });
    connect(m_size, qOverload<int>(&QSpinBox::valueChanged), this, [this](int side) {
        if (!loadingControls()) {
            editCurrent<Ring>([&](Ring* arc) { arc->ring()->resize(side, side); });
        }
    });
    connect(m_lineWidth, qOverload<int>(&QSpinBox::valueChanged), this, [this](int width) {
        if (!loadingControls()) {
            editCurrent<Ring>([&](Ring* arc) { arc->ring()->setLineWidth(float(width)); });
        }
    });
    connect(m_backColor, &DispColorSelectButton::colorChanged, this, [this](const QColor& color) {
        editCurrent<Ring>([&](Ring* arc) { arc->ring()->setTrackColor(color); });
    });
    connect(m_foreColor, &DispColorSelectButton::colorChanged, this, &disparcbox::applyGradient);
    connect(m_gradientColor, &DispColorSelectButton::colorChanged, this, &disparcbox::applyGradient);
    connect(m_transparent, &QCheckBox::toggled, this, [this](bool on) {
        if (!loadingControls()) {
            editCurrent<Ring>([&](Ring* arc) { arc->ring()->setTransparent(on); });
        }
    });
    connect(m_roundCap, &QCheckBox::toggled, this, [this](bool on) {
        if (!loadingControls()) {
            editCurrent<Ring>([&](Ring* arc) { arc->ring()->setRoundCap(on); });
        }
    });
}

qint32 disparcbox::themeTag() const
{
    return ArcTag;
}

void disparcbox::applyGradient()
{
    // ForeColor at the arc's start (position 1.0), gradientColor at its end.
    editCurrent<DispArcWidget>([this](DispArcWidget* arc) {
        arc->ring()->setGradientColors({m_foreColor->color(), m_gradientColor->color()});
    });
}

DispWidget* disparcbox::newWidget(DispScene* scene)
{
    return scene->addArcWidget(QPointF(0, 0));
}

void disparcbox::prepareNewItem(DispWidget* widget)
{
    if (DispCircularProgressBar* ring = ringOf(widget)) {
        ring->setTextFont(m_font->font());
        ring->setTextColor(m_textColor->color());
    }
}

void disparcbox::loadKindControls(DispWidget* widget)
{
    DispCircularProgressBar* ring = ringOf(widget);
    if (ring == nullptr) {
        return;
    }
    m_textColor->setColor(ring->textColor());
    m_font->setFont(ring->textFont());
    m_size->setValue(ring->width());
    m_lineWidth->setValue(ring->lineWidthInt());
    m_backColor->setColor(ring->trackColor());
    const QList<QColor> colors = ring->gradientColors();
    m_foreColor->setColor(colors.value(0, Qt::green));
    m_gradientColor->setColor(colors.value(1, colors.value(0, Qt::red)));
    m_transparent->setChecked(ring->transparent());
    m_roundCap->setChecked(ring->roundCap());
}

void disparcbox::writeKindFields(QDataStream& out, DispWidget* widget)
{
    DispCircularProgressBar* ring = ringOf(widget);
    out << ring->textColor() << ring->textFont() << ring->attributeBlock(kResourcePrefix);
}

bool disparcbox::readKindFields(ThemeRecordReader& in, KindFields* fields)
{
    return readThemeColor(in, fields->textColor) && readThemeFont(in, fields->font) &&
           in.readByteArray(fields->block);
}

void disparcbox::applyKindFields(DispWidget* widget, const KindFields& fields, const QSizeF& size)
{
    DispCircularProgressBar* ring = ringOf(widget);
    if (ring == nullptr) {
        return;
    }
    if (size.width() >= 0 && size.height() >= 0 && size.width() <= kLargestSide &&
        size.height() <= kLargestSide) {
        ring->resize(int(size.width()), int(size.height()));
    }
    ring->setTextColor(fields.textColor);
    ring->setTextFont(fields.font);
    ring->setAttributeBlock(fields.block, kResourcePrefix);
}

int disparcbox::sensorType(DispWidget* widget) const
{
    auto* arc = qobject_cast<DispArcWidget*>(widget);
    return arc != nullptr ? int(arc->sensorType()) : 0;
}

void disparcbox::setSensorType(DispWidget* widget, int type)
{
    if (auto* arc = qobject_cast<DispArcWidget*>(widget)) {
        arc->setSensorType(quint32(type));
        arc->refreshValue();
    }
}
