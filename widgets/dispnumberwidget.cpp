#include "dispnumberwidget.h"

#include "dispsensormanager.h"
#include "dispwidgetnames.h"

#include <cmath>

DispNumberWidget::DispNumberWidget(DispWidget* parent, DispSensorManager* sensors, const QString& suffix)
    : DispLabelWidget(parent), m_sensors(sensors)
{
    setObjectName(DispWidgetNames::next(DispWidgetNames::Number, suffix));
    setText(QString());
    if (m_sensors != nullptr) {
        // The manager publishes from its own thread: delivery is queued.
        connect(m_sensors, &DispSensorManager::updateDisplayData, this, &DispNumberWidget::refreshValue);
    }
}

namespace {

// A reading that is not a number shows "0", without a unit.
QString truncatedWithUnit(double value, const QString& unit)
{
    if (!std::isfinite(value)) {
        return QStringLiteral("0");
    }
    // Printed as a double, not cast to an integer type, which a reading out
    // of its range would not fit; + 0.0 turns -0 (from -0.5) into 0.
    return QString::number(std::trunc(value) + 0.0, 'f', 0) + unit;
}

} // namespace

QString DispNumberWidget::valueText(const QVector<TableEntry>& table, const RecordReader& record,
                                    quint32 type)
{
    int position = -1;
    for (int i = 0; i < table.size(); ++i) {
        if (table[i].displayType == type) {
            position = i;
            break;
        }
    }
    if (position < 0) {
        return QString();
    }
    const TableEntry& entry = table[position];
    switch (entry.catalogueIndex) {
    case kFixedText:
        // Never null, so an empty fixed text still replaces the old one.
        return entry.fixedText.isNull() ? QStringLiteral("") : entry.fixedText;
    case kNoReading:
        return QStringLiteral("0");
    case kSumOfPrevious: {
        // The entries at type - 1 and type - 2, with the unit of type - 1.
        if (position < 2) {
            return QStringLiteral("0");
        }
        double first = 0.0;
        double second = 0.0;
        QString unit;
        QString ignored;
        if (!record || !record(table[position - 1].catalogueIndex, &first, &unit)) {
            first = 0.0;
        }
        if (!record || !record(table[position - 2].catalogueIndex, &second, &ignored)) {
            second = 0.0;
        }
        return truncatedWithUnit(first + second, unit);
    }
    default:
        break;
    }
    double value = 0.0;
    QString unit;
    if (!record || !record(entry.catalogueIndex, &value, &unit)) {
        return QStringLiteral("0");
    }
    if (unit == QLatin1String("V") && std::isfinite(value)) {
        return QString::number(value, 'f', 2) + unit;
    }
    return truncatedWithUnit(value, unit);
}

void DispNumberWidget::refreshValue()
{
    if (m_sensors == nullptr) {
        return;
    }
    // Copies of the published snapshot: the manager's thread may publish
    // the next one meanwhile.
    const QVector<SensorBinding> bindings = m_sensors->displayTable();
    const QVector<SensorReading> catalogue = m_sensors->catalogue();
    QVector<TableEntry> table;
    table.reserve(bindings.size());
    for (const SensorBinding& binding : bindings) {
        table.append({quint32(binding.displayType), quint32(binding.catalogueIndex), binding.fixedText});
    }
    const RecordReader record = [&catalogue](quint32 index, double* value, QString* unit) {
        if (index >= quint32(catalogue.size())) {
            return false;
        }
        *value = catalogue[int(index)].value;
        *unit = catalogue[int(index)].unit;
        return true;
    };
    const QString text = valueText(table, record, m_displayType);
    if (!text.isNull()) {
        setText(text);
    }
}
