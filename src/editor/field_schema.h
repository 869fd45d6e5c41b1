#pragma once
#include "bilingual.h"
#include "fields.h"
#include "page_table.h"

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
    Int8,
    UInt8,
    Int16,
    UInt16,
    Int32,
    Float32Factor,
    Bit,
    Text,
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
    Static,
    BatteryLow,
    BatteryHigh,
    FanTemp,
    TrimLow,
    TrimHigh,
    FullTank,        // 0..the full tank (petrol) volume
    ServiceInterval, // 0..99, or 0.0..9.9 (× 10) with a single service interval
};

// When a control is shown on its page (a page the device does not show hides
// all of its controls).
enum class Shown {
    Always,
    GasFuel,              // hidden without gas fuel
    SpeedCorrection,      // hidden with no speed correction
    AirTempCorrection,    // hidden when the air temperature input carries the lights
    Injector,             // a consumption or engine speed source is the injector
    Tachometer,           // the injector rule, unless the carburettor pulses take its place
    CarbPulses,           // kind 254 with the "Carb." family
    ManualProtocolChoice, // while the selection method is manual (or nothing is selected)
    ProtocolOption,       // option list `arg` offered by the protocol
    LockType,             // hidden with the ignition lock fixed
    LockLevel,            // with the virtual lock, always with the lock fixed
    ParkingLightsSource,  // protocol gives parking lights, device has polarity
    ParkingLightsLevel,   // device has polarity, and the lights are physical
    EngineSources,        // unless engine data comes from the ECU only
    GasSource,            // as EngineSources, and gas fuel
    LowBeam,              // low beam control
    AirTempAlgorithm,     // hidden by the lights on the air input or no algorithm
    BatterySource,        // protocol offers a battery voltage source choice
    TrimSource,           // trim, and a protocol with trim
    TemperatureSignature, // universal input or trim
    AirTempSource,        // protocol offers an air temperature source choice
    Coolant,              // coolant temperature by the protocol, or by the signature without an ECU
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
    Battery24V,
    TrimLimits,
    // Fuel, maintenance, alerts, sounds, averages and parking radar.
    SevenPoint,          // point `arg` (0..6) while the seven-point count reaches it
    ServiceItem,         // hidden with a single service interval
    Voice,               // hidden with no voice
    AlertGlazeIce,       // air temperature input and algorithm
    AlertFault,          // protocol reports faults
    AlertLights,         // unless no light alerts
    AlertWarmUp,         // protocol reports coolant temperature
    AlertSootFilter,     // "VAG" family
    AlertWaterInFuel,    // kind 225, or a hybrid drive
    AlertAtOilWear,      // kind 1, or kind 14 with the retarder
    AlertEngineOverheat, // kinds 222..225
    AlertRetarder,       // kind 14
};

// How a caption follows the protocol or the device; Fixed: the row's own.
enum class CaptionRule {
    Fixed,
    ProtocolOption,      // the caption of option list `arg`
    CoolantLimit,        // by the protocol's kind and whether it reports coolant
    CoolantAlert,        // "Water overheat" for kind 222
    EngineOverheatAlert, // engine for kind 222, cylinder for 223..225
    WaterInFuelAlert,    // "Engine pump" unless kind 225
    ServiceInterval,     // the general interval with a single service interval
};

// Which items of a radio group or combo box can be chosen.
enum class EnabledItems {
    All,
    ThirdNeedsLightAlerts, // "P.lights"
    EcuNeedsEcuProtocol,   // the first item, "ECU"
    SpokenNeedVoice,       // alert modes 3 and 4
};

// Whether a store reaches the model at all.
enum class StoredWhen {
    Always,
    NotWaterInFuel, // the byte belongs to the water-in-fuel pair with kind 225
};

// What storing does besides writing the value.
enum class OnStore {
    Write,
    ChangeProtocol,        // the protocol change instead (see ChangeProtocol)
    RestrictSpeedSource,   // then the speed-source restriction of a physical lock
    RenameParameters,      // then the measured parameters are renamed
    ClearReminderHighBits, // then bits 12..15 of the set are cleared
};

// Where a row stores: a whole field, or bits of one.
struct Storage {
    fld::FieldAddress field;
    int bit = 0;  // the first bit, for FieldType::Bit and Nibble
    int bits = 0; // how many; 0 for a whole field
    constexpr Storage() = default;
    constexpr Storage(fld::FieldAddress f) : field(f) {}
    constexpr Storage(fld::BitsAddress b) : field(b.field), bit(b.first), bits(b.count) {}
};

struct FieldRow {
    const char *name = "";
    Page page = Page::Corrections; // where its control lives
    ControlKind kind = ControlKind::SpinEdit;
    Storage at;
    FieldType type = FieldType::Int8;
    double scale = 1; // stored = shown × scale
    double min = 0, max = 0, step = 1;
    int decimals = 0;      // shown decimals of a spin edit
    bool noTyping = false; // the spin edit only steps from its minimum
    Text caption;
    std::vector<Text> items; // ItemSource::Static
    Shown shown = Shown::Always;
    bool disabled = false; // shown disabled, for information
    CaptionRule captionRule = CaptionRule::Fixed;
    const char *captionFrom = nullptr; // captioned by the text of this row
    ItemSource itemSource = ItemSource::Static;
    EnabledItems enabledItems = EnabledItems::All;
    RangeRule range = RangeRule::Static;
    ValueMap map = ValueMap::Plain;
    int arg = 0; // the option list, the seven-point point or the reset-period variant
    StoredWhen storedWhen = StoredWhen::Always;
    OnStore onStore = OnStore::Write;
    fld::FieldAddress mirrorWithTrim{}; // on trim devices the stored byte goes here as well
    const char *differsFrom = nullptr;  // a value equal to what this row shows is refused
};

// Every row in table order.
const std::vector<FieldRow> &FieldSchema();
const FieldRow *FindField(const QString &name);

// Bytes a row reads and writes (1, 2 or 4; 16 for a text) from the start of
// its field.
int RowWidth(const FieldRow &row);

// ---- conversions --------------------------------------------------------------

// To the nearest integer, ties to even.
int64_t RoundHalfEven(double value);

// The correction-factor rule: a 32-bit factor around 1.0 shown as a percentage
// with one decimal, and back.
double FactorToShown(float factor);
float ShownToFactor(double shown);

// The width in bytes of a number of the type (0 for bits and texts, whose
// field decides), and whether a stored integer fits.
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

// The alert modes explained: one item ("V — voice"), and the line of all of
// them that stands under the alert table.
QString AlertModeMeaning(int index);
QString AlertModeLegend();

} // namespace ed
