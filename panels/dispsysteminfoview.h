#pragma once

#include <QPointer>
#include <QWidget>

#include <array>

class DispSensorManager;
class QLabel;
class QProgressBar;
class QTableWidget;
class dispAllSensorInfo;

// The live strip of six readings (CPU and GPU temperature, clock, usage):
// each cell a caption, a number and a bar. A double click on a cell lets the
// user point it at any catalogue record and name it; the choices are kept
// in "sensorName.cfg" (groups "view1" to "view6", key "index").
class dispsysteminfoview : public QWidget
{
    Q_OBJECT

public:
    static constexpr int kCells = 6;

    explicit dispsysteminfoview(DispSensorManager* manager, QWidget* parent = nullptr);

    // The catalogue index a cell shows; -1 while its default record is not
    // known yet.
    int cellIndex(int cell) const { return m_cells[size_t(cell)].index; }
    QLabel* caption(int cell) const { return m_cells[size_t(cell)].caption; }
    QLabel* value(int cell) const { return m_cells[size_t(cell)].value; }
    QProgressBar* bar(int cell) const { return m_cells[size_t(cell)].bar; }
    QTableWidget* table() const { return m_table; }

    // Bar fill for a reading: MHz, MB and KB/s a hundredth, °F a half,
    // anything else the value; truncated.
    static int barValue(double value, const QString& unit);

public slots:
    // Each updateDisplayData: the cells show their records.
    void refresh();
    // A double-clicked cell: the parameter dialog opens on its record.
    void chooseRecord(int row, int column);
    // The dialog's updateSelectIndex: the chosen cell shows that record.
    void assignRecord(int index, const QString& name);

private:
    struct Cell
    {
        int index = -1;
        bool stored = false; // chosen by the user, not a default
        QLabel* caption = nullptr;
        QLabel* value = nullptr;
        QProgressBar* bar = nullptr;
    };

    void loadChoices();
    int defaultIndex(int cell) const;

    DispSensorManager* m_manager;
    QTableWidget* m_table = nullptr;
    std::array<Cell, kCells> m_cells;
    int m_chosenCell = -1;
    QPointer<dispAllSensorInfo> m_dialog;
};
