#pragma once
#include "editor_page.h"

#include <QStringList>
#include <vector>

class QLabel;
class QDoubleSpinBox;
class QPushButton;
class QGroupBox;
class TFieldControl;
class TStringGrid;

// The fuel tank page: the two linear tables, the tare table and the tank file.
class TFuelTankPage : public TEditorPage {
    Q_OBJECT
public:
    TFuelTankPage(TEditorContext &context, QWidget *parent = nullptr);

    void load() override;

    // What the file buttons do once their dialog was confirmed; false after an
    // error message.
    bool saveTo(const QString &path);
    bool loadFrom(const QString &path);

    TStringGrid *tareGrid() const { return m_grid; }
    // Leaving the grid: stores it when a cell was edited since the last store.
    void storeTareGrid();

private:
    void refresh();
    void showSevenPoints(int count);
    void tareCountChanged(double count);
    void fillTareGrid();

    QDoubleSpinBox *m_quant = nullptr;
    std::vector<std::vector<QWidget *>> m_sevenRows; // number label, litres, code
    TStringGrid *m_grid = nullptr;
    QGroupBox *m_incline = nullptr;
    QPushButton *m_save = nullptr;
    QPushButton *m_load = nullptr;
};

// The maintenance page: remaining-until rows, dates, engine hours, the
// reminder set and the maintenance file.
class TMaintenancePage : public TEditorPage {
    Q_OBJECT
public:
    TMaintenancePage(TEditorContext &context, QWidget *parent = nullptr);

    void load() override;
    bool saveTo(const QString &path);
    bool loadFrom(const QString &path);
};

// Where a control whose place in the device's memory is unknown is shown:
// disabled, with a tooltip that says so and where the user sets the value
// instead (`menuItem`, an identifier of the device menu catalog).
void ShowUnplaced(QWidget *control, const char *menuItem = nullptr);
