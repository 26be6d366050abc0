#pragma once

#include <QDialog>
#include <QVector>

#include <memory>

class DispSensorManager;
class QButtonGroup;
class QLineEdit;
class QTableWidget;
class SensorNames;

// Lists every catalogue record with its live value, lets the user pick one
// and give each record a custom name kept in "sensorName.cfg".
class dispAllSensorInfo : public QDialog
{
    Q_OBJECT

public:
    explicit dispAllSensorInfo(DispSensorManager* manager, QWidget* parent = nullptr);
    ~dispAllSensorInfo() override;

    // Checks the row's box; a row outside the table changes nothing.
    void select(int row);
    int selectedIndex() const { return m_selectedIndex; }
    QTableWidget* table() const { return m_table; }
    QLineEdit* nameEditor(int row) const;

signals:
    void updateSelectIndex(int index, QString name);

public slots:
    void saveBtnSlot();
    void cancelBtnSlot();

private:
    void refreshValues();

    DispSensorManager* m_manager;
    std::unique_ptr<SensorNames> m_names;
    QTableWidget* m_table = nullptr;
    QButtonGroup* m_group = nullptr;
    QVector<QLineEdit*> m_editors;
    int m_selectedIndex = 0;
};
