#include "dispnumberwidget.h"

#include "dispwidgetnames.h"

#include <cmath>

DispNumberWidget::DispNumberWidget(DispWidget* parent, DispSensorManager* sensors, const QString& suffix)
    : DispLabelWidget(parent), m_sensors(sensors)
{
    setObjectName(DispWidgetNames::next(DispWidgetNames::Number, suffix));
    setText(QString());
}

namespace {

QString truncatedWithUnit(double value, const QString& unit)
{
    if (!std::isfinite(value)) {
        return QStringLiteral("0") + unit;
    }
    return QString::number(static_cast<qint64>(std::trunc(value))) + unit;
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
    if (unit == QLatin1String("V")) {
        return QString::number(value, 'f', 2) + unit;
    }
    return truncatedWithUnit(value, unit);
}

void DispNumberWidget::refreshValue()
{
    // Bound to the sensor manager once it is part of the build.
}
