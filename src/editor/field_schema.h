#pragma once
#include <QString>
#include <QStringList>
#include <QStringView>
#include <cstdint>
#include <optional>
#include <vector>

class TMK;

// The settings editor's field schema: one row for every control that edits one
// field of the model, and the conversions between what a control shows and the
// integer (or factor) the model stores. No widgets here: the dialog and the
// command-line tool both work from this table.
namespace ed {

enum class ControlKind { SpinEdit, RadioGroup, ComboBox, CheckBox, TextEdit, DateEdit };

// How the field is read, shown and range-checked; the stored width follows.
enum class FieldType {
    Int8, UInt8, Int16, UInt16, Int32, Float32Factor, Bit, Text,
    Nibble,    // the 4 bits of a byte from bit `bit` (0 or 4)
    TimeOfDay, // u16 minutes after midnight, shown as hh:mm
};

// How an item index or a check state maps onto the stored value.
enum class ValueMap {
    Plain,        // number × scale, item index, or bit set = item 1 / checked
    IndexPlusOne, // the lock level: stored = item index + 1
    Tachometer,   // items 1, 2, 4
    InvertedBit,  // checked = bit clear
    MinusOne,     // stored = item index - 1 (the auto-reset periods)
    AlertFirst,   // bits 0..2 of an alert byte
    AlertNext,    // bits 3..5 of an alert byte
    AlertSingle,  // one mode for both: stored = index × 9
    ReminderBit,  // a bit of the reminder set; a change also clears bits 12..15
};

// Where a control's items come from.
enum class ItemSource {
    Static,             // the row's own items
    ProtocolOption,     // option list `arg` of the current protocol descriptor
    ProtocolNames,      // the names of every catalog entry
    ProtocolSelectMeth, // automatic searches by protocol family, then "Man."
    TankMeth,           // calculated, sensor, and the ECU's fuel level sensors
    VelocityMeth,       // ECU, GPS, sensor, NMEA by capability
    LockLevel,          // "1", "2", "3" and a fourth by capability
    ResetPeriod,        // `arg` 0: "Man.", 1..99; 1: "Proh.", "Man.", 1..99
};

// A spin edit's range where it depends on the device, the protocol or another field.
enum class RangeRule {
    Static, BatteryLow, BatteryHigh, FanTemp, TrimLow, TrimHigh,
    FullTank,        // 0..the full tank (petrol) volume
    ServiceInterval, // 0..99, or 0.0..9.9 (× 10) with a single service interval
};

// Whether a control is shown (and, for a few, how it is captioned).
enum class Rule {
    Always,
    GasFuel,             // hidden without gas fuel
    SpeedCorrection,     // hidden with no speed correction
    AirTempCorrection,   // hidden when the air temperature input carries the lights
    InjectorPolarity,    // injector rule
    Tachometer,          // injector rule, unless the carburettor pulses take its place
    CarbPulses,          // kind 254 with the "Carb." family
    ProtocolChoice,      // while the selection method is manual (or nothing is selected)
    ProtocolOption,      // option list `arg` offered by the protocol
    LockType,            // hidden with the ignition lock fixed
    LockLevel,           // with the virtual lock, always with the lock fixed
    ParkingLightsSource, // protocol gives parking lights, device has polarity
    ParkingLightsLevel,  // device has polarity, and the lights are physical
    EngineSources,       // unless engine data comes from the ECU only
    GasSource,           // as EngineSources and gas fuel; shown disabled
    LowBeam,             // low beam control
    AirTempAlgorithm,    // hidden by the lights on the air input or no algorithm
    BatterySource,       // protocol offers a battery voltage source choice
    TrimSource,          // trim, and a protocol with trim
    TemperatureSignature, // universal input or trim
    AirTempSource,       // protocol offers an air temperature source choice
    CoolantLimit,        // also decides the caption
    WarmUp,
    AtOilTemp,
    EngineOilTemp,
    RetarderOil,
    AtOilWear,
    FanTemp,
    FanSpeed,
    Hybrid,
    HybridExtraCooling,
    SootFilter,
    JamSpeed,
    AccelTiming,
    Battery24V, // shown disabled, for information
    TrimLimits,
    UniversalInput, // the universal input page: universal input or trim
    LightsItems, // the third item ("P.lights") disabled without light alerts
    // Fuel, maintenance, alerts, sounds, averages and parking radar.
    SevenPoint,          // point `arg` (0..6) while the seven-point count reaches it
    ServiceItem,         // hidden with a single service interval; `arg`: offset of the item's name
    Voice,               // hidden with no voice
    ParkingRadar,        // hidden with no parking radar
    AlertGlazeIce,       // air temperature input and algorithm
    AlertFault,          // protocol reports faults
    AlertCoolant,        // as CoolantLimit; "Water overheat" for kind 222
    AlertLights,         // unless no light alerts
    AlertWarmUp,         // protocol reports coolant temperature
    AlertSootFilter,     // "VAG" family; stored unless kind 225
    AlertWaterInFuel,    // kind 225, or a hybrid drive ("Engine pump")
    AlertAtOilWear,      // kind 1, or kind 14 with the retarder
    AlertInverter,       // hybrid drive; with trim also stored into alert 21
    AlertEngineOverheat, // kinds 222..225, captioned by kind
    AlertRetarder,       // kind 14
};

struct Text {
    const char *en = "";
    const char *ru = "";
    QString get() const; // in the current language
};

struct FieldRow {
    const char *name = "";
    const char *page = ""; // "tsCorr", "tsMeth", "tsLim", ...
    ControlKind kind = ControlKind::SpinEdit;
    int block = 0;  // 1..11
    int offset = 0; // inside the block
    FieldType type = FieldType::Int8;
    int bit = 0;        // for FieldType::Bit: bit of the 32-bit option set at `offset`
    double scale = 1;   // stored = shown × scale
    double min = 0, max = 0, step = 1;
    int decimals = 0;   // shown decimals of a spin edit
    bool noTyping = false; // the spin edit only steps from its minimum
    Text caption;
    std::vector<Text> items; // ItemSource::Static
    Rule rule = Rule::Always;
    ItemSource itemSource = ItemSource::Static;
    RangeRule range = RangeRule::Static;
    ValueMap map = ValueMap::Plain;
    int arg = 0; // the option list of ItemSource::ProtocolOption
};

// The caption of a page ("tsCorr" → "Correction"); the name itself when unknown.
QString PageCaption(const char *page);

// Every row in table order.
const std::vector<FieldRow> &FieldSchema();
const FieldRow *FindField(const QString &name);

// Stored bytes of a row (1, 2 or 4; 16 for a text).
int RowWidth(const FieldRow &row);

// ---- conversions --------------------------------------------------------------

// To the nearest integer, ties to even.
int64_t RoundHalfEven(double value);

// The correction-factor rule: a 32-bit factor around 1.0 shown as a percentage
// with one decimal, and back.
double FactorToShown(float factor);
float ShownToFactor(double shown);

// The width in bytes that the field occupies, and whether a stored integer fits.
int FieldWidth(FieldType type);
bool FitsField(FieldType type, int64_t value);

// The stored integer (signed or unsigned by type); for Bit the bit's value 0/1.
int64_t ReadRaw(const TMK &model, const FieldRow &row);
float ReadFactor(const TMK &model, const FieldRow &row);
void WriteRaw(TMK &model, const FieldRow &row, int64_t value);
void WriteFactor(TMK &model, const FieldRow &row, float factor);

// Item index a stored value selects (nothing when it matches no item of
// `itemCount`), and the stored value of an item.
std::optional<int> ItemOfStored(ValueMap map, int64_t stored, int itemCount);
int64_t StoredOfItem(ValueMap map, int index);
// The alert byte that choosing `index` in a group of `map` makes from the
// byte `current`: first + 8 × next with the other group's mode kept, or
// index × 9 for an alert with one group.
int AlertByte(ValueMap map, int index, int current);

} // namespace ed
