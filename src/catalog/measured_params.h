#pragma once
#include "capabilities.h"

#include <QString>
#include <cstdint>
#include <memory>
#include <vector>

struct MeasParRow;

// A value the device can show (speed, engine speed, temperatures, trip totals,
// hybrid battery values...). The kinds differ only in their data, held in one
// row per class; TMomentaryExpenseK alone behaves differently.
class TMeasParBase {
public:
    TMeasParBase();
    explicit TMeasParBase(const MeasParRow &row);
    virtual ~TMeasParBase() = default;

    // Refreshes MinText and MaxText; the preview drawing calls it before drawing.
    virtual void PrepareData();

    // The class name of this kind ("TVelocity"); empty for a bare base object.
    QString ClassName() const;

    uint8_t ParameterNumber = 0;
    int32_t GaugeSlot = 0; // 0 none, 1 first arrow gauge, 2 second arrow gauge
    bool Graphable = false;
    int32_t Sample = 0; // scaled by 10^Decimals
    int32_t Min = 0;
    int32_t Max = 100;
    int32_t ScaleMin = 0;
    int32_t ScaleMax = 100;
    int32_t Width = 3;
    int32_t Decimals = 0;
    QString Name;
    QString SampleText;
    QString LongName;
    QString MinText;
    QString MaxText;
    QString CellName4;
    QString CellUnit4;
    QString CellName9;
    QString CellUnit9;
    QString PanelName;
    QString GaugeName;
    QString GaugeUnit;
    QString GraphName;
    bool ExtendedRange = false;

protected:
    const MeasParRow *m_row = nullptr;
};

// Momentary consumption per 100 km: a fresh object has the narrow range; the
// first PrepareData switches it to the wide one.
class TMomentaryExpenseK : public TMeasParBase {
public:
    explicit TMomentaryExpenseK(const MeasParRow &row);
    void PrepareData() override;
};

using MeasParList = std::vector<std::unique_ptr<TMeasParBase>>;

// The sample value as a text: Sample / 10^Decimals with Decimals places,
// right-aligned in Width characters.
QString FormatSampleText(int32_t sample, int32_t decimals, int32_t width);

// Creates one object of the kind `className`, or nothing for an unknown name.
std::unique_ptr<TMeasParBase> CreateMeasuredParameter(const QString &className);

// Every parameter object in creation order, for the capabilities of the
// protocol catalog (the low beam flag takes number 11 or 34, or is absent).
MeasParList CreateMeasuredParameters();
MeasParList CreateMeasuredParameters(const CapabilitySet &caps);

// The editor's relabelling of parameters 9, 11 and 55 from the catalog's
// capabilities and the settings' temperature label choice (1 water, 2 engine,
// anything else air).
void RelabelMeasuredParameters(const MeasParList &parameters, int temperatureLabel);
void RelabelMeasuredParameters(const MeasParList &parameters, int temperatureLabel, const CapabilitySet &caps);

// The class names of every kind, in creation order (both kinds of number 11).
std::vector<QString> MeasuredParameterClassNames();
