#include "dispallsensorinfo.h"

#include "dispsensormanager.h"
#include "sensornames.h"

#include <QAction>
#include <QButtonGroup>
#include <QCheckBox>
#include <QHBoxLayout>
#include <QHeaderView>
#include <QLineEdit>
#include <QPushButton>
#include <QTableWidget>
#include <QVBoxLayout>

namespace {

constexpr int kTableWidth = 590;
constexpr int kTableHeight = 505;
constexpr int kBarWidth = 602;
constexpr int kBarHeight = 75;

QString valueText(const SensorReading& record)
{
    return QString::number(record.value, 'g', 6) + record.unit;
}

} // namespace

dispAllSensorInfo::dispAllSensorInfo(DispSensorManager* manager, QWidget* parent)
    : QDialog(parent), m_manager(manager), m_names(std::make_unique<SensorNames>())
{
    setWindowTitle(tr("Parameter Setting"));
    setStyleSheet(
        QStringLiteral("QDialog { background: #1d1d1d; } QWidget { color: white; font-family: Arial; }"
                       "QTableWidget, QLineEdit { background: #202020; }"
                       "QHeaderView::section { background: #030303; color: white; border: none; }"));

    const QVector<SensorReading> catalogue = m_manager->catalogue();
    m_table = new QTableWidget(catalogue.size(), 3, this);
    m_table->setFixedSize(kTableWidth, kTableHeight);
    m_table->setHorizontalHeaderLabels({tr("Project Name"), tr("Value"), tr("Remarks")});
    m_table->setColumnWidth(0, 190);
    m_table->setColumnWidth(1, 110);
    m_table->horizontalHeader()->setStretchLastSection(true);
    m_table->verticalHeader()->setVisible(false);
    m_group = new QButtonGroup(this);
    m_group->setExclusive(true);

    const QIcon remarks(QStringLiteral(":/images/home/remarks.png"));
    for (int row = 0; row < catalogue.size(); ++row) {
        const SensorReading& record = catalogue.at(row);
        auto* check = new QCheckBox(record.label, m_table);
        m_group->addButton(check, row + 1);
        m_table->setCellWidget(row, 0, check);

        auto* value = new QTableWidgetItem(valueText(record));
        value->setFlags(Qt::ItemIsEnabled);
        m_table->setItem(row, 1, value);

        auto* editor = new QLineEdit(m_table);
        editor->addAction(remarks, QLineEdit::TrailingPosition);
        editor->setText(m_names->nameOrStore(row, record.deviceName));
        m_table->setCellWidget(row, 2, editor);
        m_editors.append(editor);
    }
    m_names->sync();
    if (!m_editors.isEmpty()) {
        m_group->button(1)->setChecked(true);
    }
    connect(m_group, &QButtonGroup::idToggled, this, [this](int id, bool checked) {
        if (checked) {
            m_selectedIndex = id - 1;
        }
    });

    auto* bar = new QWidget(this);
    bar->setFixedSize(kBarWidth, kBarHeight);
    bar->setStyleSheet(QStringLiteral("background: #030303;"));
    auto* cancel = new QPushButton(tr("Cancel"), bar);
    auto* save = new QPushButton(tr("Save"), bar);
    auto* buttons = new QHBoxLayout(bar);
    buttons->addStretch();
    buttons->addWidget(cancel);
    buttons->addWidget(save);
    connect(cancel, &QPushButton::clicked, this, &dispAllSensorInfo::cancelBtnSlot);
    connect(save, &QPushButton::clicked, this, &dispAllSensorInfo::saveBtnSlot);

    auto* layout = new QVBoxLayout(this);
    layout->setContentsMargins(6, 6, 0, 0);
    layout->setSpacing(0);
    layout->addWidget(m_table);
    layout->addWidget(bar);

    connect(m_manager, &DispSensorManager::updateDisplayData, this, &dispAllSensorInfo::refreshValues);
}

dispAllSensorInfo::~dispAllSensorInfo() = default;

QLineEdit* dispAllSensorInfo::nameEditor(int row) const
{
    return row >= 0 && row < m_editors.size() ? m_editors.at(row) : nullptr;
}

void dispAllSensorInfo::select(int row)
{
    if (QAbstractButton* button = m_group->button(row + 1)) {
        button->setChecked(true);
    }
}

void dispAllSensorInfo::refreshValues()
{
    const QVector<SensorReading> catalogue = m_manager->catalogue();
    for (int row = 0; row < m_table->rowCount() && row < catalogue.size(); ++row) {
        m_table->item(row, 1)->setText(valueText(catalogue.at(row)));
    }
}

void dispAllSensorInfo::saveBtnSlot()
{
    hide();
    for (int row = 0; row < m_editors.size(); ++row) {
        if (m_editors.at(row)->text() != m_names->name(row)) {
            m_names->setName(row, m_editors.at(row)->text());
        }
    }
    m_names->sync();
    emit updateSelectIndex(m_selectedIndex, m_names->name(m_selectedIndex));
}

void dispAllSensorInfo::cancelBtnSlot()
{
    hide();
    for (int row = 0; row < m_editors.size(); ++row) {
        const QString stored = m_names->name(row);
        if (m_editors.at(row)->text() != stored) {
            m_editors.at(row)->setText(stored);
        }
    }
}
