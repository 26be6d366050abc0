#include "dispsysteminfoview.h"

#include "dispallsensorinfo.h"
#include "dispsensormanager.h"
#include "panelslog.h"
#include "sensornames.h"

#include <QHeaderView>
#include <QLabel>
#include <QProgressBar>
#include <QSettings>
#include <QTableWidget>
#include <QVBoxLayout>

namespace {

const char* const kInitialCaptions[dispsysteminfoview::kCells] = {"CPU:°C", "CPU:MHz", "CPU:%",
                                                                  "GPU:°C", "GPU:MHz", "GPU:%"};
// The display types whose records are the defaults of cells 1, 4, 5 and 6.
constexpr int kDefaultTypes[dispsysteminfoview::kCells] = {0, -1, -1, 7, 8, 9};

QString groupOf(int cell)
{
    return QStringLiteral("view%1").arg(cell + 1);
}

} // namespace

dispsysteminfoview::dispsysteminfoview(DispSensorManager* manager, QWidget* parent)
    : QWidget(parent), m_manager(manager)
{
    setFixedSize(480, 130);
    auto* layout = new QVBoxLayout(this);
    layout->setContentsMargins(0, 0, 0, 0);
    m_table = new QTableWidget(2, 3, this);
    m_table->setObjectName(QStringLiteral("systemInfoTable"));
    m_table->horizontalHeader()->hide();
    m_table->verticalHeader()->hide();
    m_table->setShowGrid(false);
    m_table->setFrameShape(QFrame::NoFrame);
    m_table->setEditTriggers(QAbstractItemView::NoEditTriggers);
    m_table->setSelectionMode(QAbstractItemView::NoSelection);
    m_table->setHorizontalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
    m_table->setVerticalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
    m_table->setStyleSheet(QStringLiteral("QTableWidget { background: transparent; }"));
    const QString labelStyle = QStringLiteral("color: white; font-family: 'Arial'; font-size: 14px;");
    for (int cell = 0; cell < kCells; ++cell) {
        const int row = cell / 3;
        const int column = cell % 3;
        m_table->setColumnWidth(column, 160);
        m_table->setRowHeight(row, 65);
        auto* box = new QWidget(m_table);
        box->setObjectName(groupOf(cell));
        box->setAttribute(Qt::WA_StyledBackground);
        box->setStyleSheet(QStringLiteral("QWidget#%1 { border-image: url(:/images/home/param_bg.png); }")
                               .arg(groupOf(cell)));
        // The cell passes double clicks on to the table.
        box->setAttribute(Qt::WA_TransparentForMouseEvents);
        Cell& entry = m_cells[size_t(cell)];
        entry.caption = new QLabel(QString::fromUtf8(kInitialCaptions[cell]), box);
        entry.caption->setGeometry(8, 8, 95, 15);
        entry.caption->setStyleSheet(labelStyle);
        entry.value = new QLabel(box);
        entry.value->setGeometry(104, 8, 50, 15);
        entry.value->setStyleSheet(labelStyle);
        entry.bar = new QProgressBar(box);
        entry.bar->setGeometry(8, 36, 144, 10);
        entry.bar->setRange(0, 100);
        entry.bar->setValue(10);
        entry.bar->setTextVisible(false);
        entry.bar->setStyleSheet(
            QStringLiteral("QProgressBar { border: 1px solid #a68755; background: transparent; }"
                           "QProgressBar::chunk { background-color: #a68755; }"));
        m_table->setCellWidget(row, column, box);
    }
    layout->addWidget(m_table);

    connect(m_table, &QTableWidget::cellDoubleClicked, this, &dispsysteminfoview::chooseRecord);
    if (m_manager != nullptr) {
        connect(m_manager, &DispSensorManager::updateDisplayData, this, &dispsysteminfoview::refresh);
    }
    loadChoices();
}

void dispsysteminfoview::loadChoices()
{
    QSettings settings(SensorNames::defaultPath(), QSettings::IniFormat);
    settings.setIniCodec("UTF-8");
    SensorNames names;
    for (int cell = 0; cell < kCells; ++cell) {
        Cell& entry = m_cells[size_t(cell)];
        bool valid = false;
        const int index = settings.value(groupOf(cell) + QStringLiteral("/index")).toInt(&valid);
        if (valid && index >= 0) {
            entry.index = index;
            entry.stored = true;
            entry.caption->setText(names.name(index));
        }
    }
}

int dispsysteminfoview::defaultIndex(int cell) const
{
    if (m_manager == nullptr) {
        return -1;
    }
    if (kDefaultTypes[cell] >= 0) {
        SensorBinding binding;
        if (!m_manager->binding(kDefaultTypes[cell], &binding) || binding.catalogueIndex < 0 ||
            binding.catalogueIndex >= SensorBinding::kNoRecord) {
            return -1;
        }
        return binding.catalogueIndex;
    }
    const QVector<SensorReading> catalogue = m_manager->catalogue();
    for (int index = 0; index < catalogue.size(); ++index) {
        const SensorReading& record = catalogue.at(index);
        if (cell == 1 && record.readingType == SensorCodes::kCpuAverageClock &&
            record.sensorClass == SensorCodes::kClassCpu && record.subClass == SensorCodes::kClassCpu) {
            return index;
        }
        if (cell == 2 && record.readingType == SensorCodes::kUsage &&
            record.sensorClass == SensorCodes::kClassCpu &&
            record.label.startsWith(QLatin1String("Total CPU Usage"))) {
            return index;
        }
    }
    return -1;
}

int dispsysteminfoview::barValue(double value, const QString& unit)
{
    if (unit == QLatin1String("MHz") || unit == QLatin1String("MB") || unit == QLatin1String("KB/s")) {
        return int(value / 100);
    }
    if (unit == QStringLiteral("°F")) {
        return int(value / 2);
    }
    return int(value);
}

void dispsysteminfoview::refresh()
{
    if (m_manager == nullptr) {
        return;
    }
    const QVector<SensorReading> catalogue = m_manager->catalogue();
    for (int cell = 0; cell < kCells; ++cell) {
        Cell& entry = m_cells[size_t(cell)];
        // A stored record the catalogue no longer has is not read: the default stands in.
        const int index = entry.stored && entry.index >= 0 && entry.index < catalogue.size()
                              ? entry.index
                              : defaultIndex(cell);
        if (index < 0 || index >= catalogue.size()) {
            continue;
        }
        if (!entry.stored) {
            entry.index = index;
        }
        const SensorReading& record = catalogue.at(index);
        entry.value->setText(QString::number(qint64(record.value)));
        entry.bar->setValue(qBound(0, barValue(record.value, record.unit), 100));
    }
}

void dispsysteminfoview::chooseRecord(int row, int column)
{
    qCDebug(lcPanels).noquote() << "Double clicked cell at row:" << row << "column:" << column;
    if (row < 0 || row > 1 || column < 0 || column > 2 || m_manager == nullptr) {
        return;
    }
    m_chosenCell = row * 3 + column;
    // Made at the first use: its rows are the catalogue as it is then, which
    // is empty until the sensor manager's first passes are done.
    if (m_dialog.isNull()) {
        m_dialog = new dispAllSensorInfo(m_manager, this);
        m_dialog->setAttribute(Qt::WA_DeleteOnClose);
        connect(m_dialog, &dispAllSensorInfo::updateSelectIndex, this, &dispsysteminfoview::assignRecord);
    }
    m_dialog->select(qMax(0, m_cells[size_t(m_chosenCell)].index));
    m_dialog->show();
}

void dispsysteminfoview::assignRecord(int index, const QString& name)
{
    if (m_chosenCell < 0 || index < 0) {
        return;
    }
    Cell& entry = m_cells[size_t(m_chosenCell)];
    entry.index = index;
    entry.stored = true;
    entry.caption->setText(name);
    QSettings settings(SensorNames::defaultPath(), QSettings::IniFormat);
    settings.setIniCodec("UTF-8");
    settings.setValue(groupOf(m_chosenCell) + QStringLiteral("/index"), QString::number(index));
    refresh();
}
