#pragma once
#include "blocks.h"

#include <cstdint>
#include <initializer_list>
#include <vector>

// Where every field of the settings blocks lies that the program reads or
// writes by address: its block, its byte offset inside the block and the bytes
// it takes. A field moves here and nowhere else; the editor's rows, its rules,
// the defaults of a new model, the journals and the tools all name it.
namespace fld {

struct FieldAddress {
    int block = 0;
    int offset = 0;
    int width = 0; // bytes
    constexpr int end() const { return offset + width; }
    constexpr bool operator==(const FieldAddress &) const = default;
};

// `count` consecutive fields like `first`, as one field.
constexpr FieldAddress Run(FieldAddress first, int count) { return {first.block, first.offset, first.width * count}; }

// One bit, or a few bits, of a field that several controls share.
struct BitsAddress {
    FieldAddress field;
    int first = 0;
    int count = 1;
};

using mem::DisplayBlock;
using mem::ErrorLogBlock;
using mem::FuelBlock;
using mem::LimitsBlock;
using mem::ParkingBlock;
using mem::ServiceBlock;
using mem::SoundBlock;
using mem::TankTableBlock;
using mem::TotalsBlock;
using mem::TripLogBlock;
using mem::VehicleBlock;

// ---- TotalsBlock -------------------------------------------------------------

// The accumulator groups: u32 time (s), distance (m), then petrol and gas (ml),
// or one fuel in the two 3-word groups.
constexpr FieldAddress SumsAll{TotalsBlock, 0, 16};
constexpr FieldAddress SumsTrip{TotalsBlock, 16, 16};
constexpr FieldAddress SumsReset{TotalsBlock, 32, 16};
constexpr FieldAddress SumsJams{TotalsBlock, 48, 16};
constexpr FieldAddress SumsNoJams{TotalsBlock, 64, 16};
constexpr FieldAddress SumsTank{TotalsBlock, 80, 16};
constexpr FieldAddress SumsPetrolOnly{TotalsBlock, 96, 12};
constexpr FieldAddress SumsGasOnly{TotalsBlock, 108, 12};
constexpr FieldAddress InitialMileage{TotalsBlock, 144, 4}; // i32 km
constexpr FieldAddress InitialHours{TotalsBlock, 148, 4};
constexpr FieldAddress ResetPeriod1{TotalsBlock, 152, 1};
constexpr FieldAddress ResetPeriod2{TotalsBlock, 153, 1};
constexpr FieldAddress ResetPeriodGasPetrol{TotalsBlock, 158, 1};

// ---- ParkingBlock: side 0 rear, 1 front ----------------------------------------

constexpr FieldAddress ParkSensitivity(int side) { return {ParkingBlock, 2 + side, 1}; }
constexpr FieldAddress ParkSpeed(int side) { return {ParkingBlock, 4 + side, 1}; }
constexpr FieldAddress ParkAlarmLength(int side) { return {ParkingBlock, 6 + side, 1}; }
constexpr FieldAddress ParkStopSpeed(int side) { return {ParkingBlock, 8 + side, 1}; }
constexpr FieldAddress ParkStopLength(int side) { return {ParkingBlock, 10 + side, 1}; }
constexpr FieldAddress ParkBeepType{ParkingBlock, 14, 1};
constexpr FieldAddress ParkStopBeepLength{ParkingBlock, 15, 1};

// ---- FuelBlock -------------------------------------------------------------------

// Point 0 or 1 of the two-point table, and point 0..6 of the seven-point one.
constexpr FieldAddress TwoPointCode(int point) { return {FuelBlock, 4 * point, 2}; }
constexpr FieldAddress TwoPointLitres(int point) { return {FuelBlock, 4 * point + 2, 2}; }
constexpr FieldAddress SevenPointCode(int point) { return {FuelBlock, 8 + 2 * point, 2}; }
constexpr FieldAddress SevenPointLitres(int point) { return {FuelBlock, 22 + 2 * point, 2}; }
constexpr int kSevenPoints = 7;
constexpr FieldAddress SevenPointCount{FuelBlock, 36, 1};
constexpr FieldAddress TankMode{FuelBlock, 37, 1};
constexpr FieldAddress TankSource{FuelBlock, 38, 1};
constexpr FieldAddress ManualConsumption{FuelBlock, 42, 2}; // per 100 km, tenths
constexpr FieldAddress FullTankPetrol{FuelBlock, 44, 2};
constexpr FieldAddress FullTankGas{FuelBlock, 56, 2};

// ---- TankTableBlock ----------------------------------------------------------------

constexpr FieldAddress TankUnshownByte{TankTableBlock, 0, 1}; // carried, not shown
constexpr FieldAddress TareFinished{TankTableBlock, 1, 1};
constexpr FieldAddress TareCount{TankTableBlock, 2, 1};
constexpr FieldAddress TareReverseSlope{TankTableBlock, 6, 1};
constexpr int kTarePoints = 68;
constexpr FieldAddress TareLitres(int point) { return {TankTableBlock, 8 + point, 1}; }
constexpr FieldAddress TareCode(int point) { return {TankTableBlock, 144 + 2 * point, 2}; }

// ---- ServiceBlock ------------------------------------------------------------------

// Remaining until each maintenance item, thousands of km.
constexpr FieldAddress AirFilterLeft{ServiceBlock, 0, 1};
constexpr FieldAddress GearboxOilLeft{ServiceBlock, 1, 1};
constexpr FieldAddress UserItem1Left{ServiceBlock, 2, 1};
constexpr FieldAddress UserItem2Left{ServiceBlock, 3, 1};
constexpr FieldAddress CoolantLeft{ServiceBlock, 4, 1};
constexpr FieldAddress EngineOilLeft{ServiceBlock, 5, 1};
constexpr FieldAddress UserItem3Left{ServiceBlock, 6, 1};
constexpr FieldAddress TemperatureSignature{ServiceBlock, 7, 1}; // 0 air, 1 water, 2 engine
// 32-bit slots holding a 16-bit day number.
constexpr FieldAddress ServiceDate{ServiceBlock, 8, 4};
constexpr FieldAddress InsuranceDate{ServiceBlock, 12, 4};
// The editor carries the ServiceUnshown fields without showing them.
constexpr FieldAddress ServiceUnshown16{ServiceBlock, 16, 4};
constexpr FieldAddress SystemsSet{ServiceBlock, 20, 32}; // bit n = additional system n
// Names of the user items: up to 15 Windows-1251 characters and a zero.
constexpr FieldAddress UserItem1Name{ServiceBlock, 52, 16};
constexpr FieldAddress UserItem2Name{ServiceBlock, 68, 16};
constexpr FieldAddress UserItem3Name{ServiceBlock, 84, 16};
constexpr FieldAddress Reminders{ServiceBlock, 100, 2}; // one enable bit per item
constexpr FieldAddress ServiceUnshown102{ServiceBlock, 102, 1};
constexpr FieldAddress ServiceUnshown103{ServiceBlock, 103, 1};
constexpr FieldAddress EngineHoursLimit{ServiceBlock, 104, 2};
constexpr FieldAddress ServiceUnshown106{ServiceBlock, 106, 2};
// The universal input's two calibration points.
constexpr FieldAddress UniversalAdcMin{ServiceBlock, 108, 2};
constexpr FieldAddress UniversalAdcMax{ServiceBlock, 110, 2};
constexpr FieldAddress UniversalDataMin{ServiceBlock, 112, 2};
constexpr FieldAddress UniversalDataMax{ServiceBlock, 114, 2};
constexpr FieldAddress AccelerometerCalibration{ServiceBlock, 116, 1};

constexpr BitsAddress ReminderAirFilter{Reminders, 0};
constexpr BitsAddress ReminderGearboxOil{Reminders, 1};
constexpr BitsAddress ReminderUserItem1{Reminders, 2};
constexpr BitsAddress ReminderUserItem2{Reminders, 3};
constexpr BitsAddress ReminderCoolant{Reminders, 4};
constexpr BitsAddress ReminderEngineOil{Reminders, 5};
constexpr BitsAddress ReminderUserItem3{Reminders, 6};
constexpr BitsAddress ReminderServiceDate{Reminders, 7};
constexpr BitsAddress ReminderInsurance{Reminders, 8};
constexpr BitsAddress ReminderEngineHours{Reminders, 9};

// ---- LimitsBlock -------------------------------------------------------------------

constexpr FieldAddress MainOptions{LimitsBlock, 0, 4};
constexpr FieldAddress SpeedLimit{LimitsBlock, 4, 1}; // km/h / 2
constexpr FieldAddress EngineSpeedLimit{LimitsBlock, 5, 1};
constexpr FieldAddress FuelLowLimit{LimitsBlock, 6, 1};
constexpr FieldAddress HourlyConsumptionSpeed{LimitsBlock, 7, 1};
constexpr FieldAddress CoolantLimit{LimitsBlock, 8, 2};
constexpr FieldAddress AtOilWearLimit{LimitsBlock, 10, 2};
constexpr FieldAddress BatteryLowLimit{LimitsBlock, 12, 2};
constexpr FieldAddress BatteryHighLimit{LimitsBlock, 14, 2};
constexpr FieldAddress AtOilTempLimit{LimitsBlock, 16, 2};
constexpr FieldAddress EngineOilTempLimit{LimitsBlock, 18, 2};
constexpr FieldAddress FanTempLimit{LimitsBlock, 20, 2};
constexpr FieldAddress JamSpeedLimit{LimitsBlock, 22, 2};
constexpr FieldAddress AccelerationSpeed{LimitsBlock, 24, 2};
constexpr FieldAddress BrakingSpeed{LimitsBlock, 26, 2};
constexpr FieldAddress RetarderOilTempLimit{LimitsBlock, 28, 2};
constexpr FieldAddress WarmUpTemp{LimitsBlock, 30, 1};
constexpr FieldAddress IdleInjectionLimit{LimitsBlock, 31, 1};
constexpr FieldAddress SootFilterLimit{LimitsBlock, 32, 1};
constexpr FieldAddress InverterTempLimit{LimitsBlock, 33, 1};
constexpr FieldAddress HvbTempLimit{LimitsBlock, 34, 1};
constexpr FieldAddress ExtraCoolingTemp{LimitsBlock, 35, 1};
constexpr FieldAddress TrimLowLimit{LimitsBlock, 36, 1};
constexpr FieldAddress TrimHighLimit{LimitsBlock, 37, 1};
constexpr FieldAddress ElectricMotorTempLimit{LimitsBlock, 38, 2};
// Sources: item indices of the sources page.
constexpr FieldAddress SpeedSource{LimitsBlock, 40, 1};
constexpr FieldAddress EngineSpeedSource{LimitsBlock, 41, 1};
constexpr FieldAddress PetrolSource{LimitsBlock, 42, 1};
constexpr FieldAddress GasSource{LimitsBlock, 43, 1};
constexpr FieldAddress BatterySource{LimitsBlock, 44, 1};
constexpr FieldAddress PrognosisMethod{LimitsBlock, 45, 1};
constexpr FieldAddress TrimSource{LimitsBlock, 46, 1};
constexpr FieldAddress AirTempSource{LimitsBlock, 48, 1};
constexpr FieldAddress HvbChargeLowLimit{LimitsBlock, 50, 1};
constexpr FieldAddress HvbChargeHighLimit{LimitsBlock, 51, 1};
constexpr FieldAddress BatteryCorrection{LimitsBlock, 52, 1}; // tenths of a volt
constexpr FieldAddress AirTempCorrection{LimitsBlock, 53, 1};
constexpr FieldAddress ClockCorrection{LimitsBlock, 54, 1};
// Correction factors, 32-bit floats around 1.0.
constexpr FieldAddress PetrolFactor{LimitsBlock, 56, 4};
constexpr FieldAddress SpeedFactor{LimitsBlock, 60, 4};
constexpr FieldAddress GasFactor{LimitsBlock, 64, 4};
constexpr FieldAddress LockLevel{LimitsBlock, 72, 1};
constexpr FieldAddress TachometerFactor{LimitsBlock, 73, 1};
constexpr FieldAddress CarbPulses{LimitsBlock, 74, 1}; // per revolution, halves
constexpr FieldAddress HybridFanStep{LimitsBlock, 75, 1};
constexpr FieldAddress FanSpeedLimit{LimitsBlock, 80, 2};

constexpr BitsAddress VirtualLock{MainOptions, 0};
constexpr BitsAddress ParkingLightsFromEcu{MainOptions, 2};
constexpr BitsAddress SecondTank{MainOptions, 3};
constexpr BitsAddress LowBeamControl{MainOptions, 4};
constexpr BitsAddress GasPetrolMode{MainOptions, 5};
constexpr BitsAddress ParkingLightsInverted{MainOptions, 7};
constexpr BitsAddress Battery24V{MainOptions, 8};
constexpr BitsAddress DynamicAirTemp{MainOptions, 9};
constexpr BitsAddress InjectorNegative{MainOptions, 10};
constexpr BitsAddress HvbSixSpeedFan{MainOptions, 14};
constexpr BitsAddress HvbHeating{MainOptions, 15};
constexpr BitsAddress NoTankCompensation{MainOptions, 17};
constexpr BitsAddress GasConsumptionVariant2{MainOptions, 18};

// ---- TripLogBlock ------------------------------------------------------------------

// Prices, tenths per unit but per hour.
constexpr FieldAddress PricePetrol{TripLogBlock, 0, 2};
constexpr FieldAddress PriceHour{TripLogBlock, 2, 2};
constexpr FieldAddress PriceKm{TripLogBlock, 4, 2};
constexpr FieldAddress PriceGas{TripLogBlock, 6, 2};
constexpr FieldAddress TripContinueStop{TripLogBlock, 10, 2}; // minutes / 5

// The trip and refuelling journals: 21 records each, record 0 the newest.
constexpr int kJournalRecords = 21;
constexpr int kJournalRecordSize = 20;
constexpr FieldAddress TripJournal{TripLogBlock, 16, kJournalRecords *kJournalRecordSize};
constexpr FieldAddress RefuelJournal{TripLogBlock, 436, kJournalRecords *kJournalRecordSize};

// A part of a record, from the record's start.
struct RecordPart {
    int offset = 0;
    int width = 0;
};
namespace journal_record {
constexpr RecordPart Minutes{0, 2}; // time of day
constexpr RecordPart Day{2, 1};     // 0: an empty record
constexpr RecordPart Month{3, 1};
constexpr RecordPart TravelTime{4, 4}; // s
constexpr RecordPart Distance{8, 4};   // m
constexpr RecordPart Petrol{12, 4};    // ml
constexpr RecordPart Gas{16, 4};       // ml
} // namespace journal_record

// Part `part` of record `index` of the records of `size` bytes in `table`.
constexpr FieldAddress InRecord(FieldAddress table, int size, int index, RecordPart part)
{
    return {table.block, table.offset + size * index + part.offset, part.width};
}
constexpr FieldAddress TripRecord(int index, RecordPart part)
{
    return InRecord(TripJournal, kJournalRecordSize, index, part);
}
constexpr FieldAddress RefuelRecord(int index, RecordPart part)
{
    return InRecord(RefuelJournal, kJournalRecordSize, index, part);
}

// ---- SoundBlock: one byte per alert number ------------------------------------------

// Bits 0..2 the mode of the first occurrence, bits 3..5 that of the next ones.
constexpr FieldAddress AlertBatteryHigh{SoundBlock, 0, 1};
constexpr FieldAddress AlertBatteryLow{SoundBlock, 1, 1};
constexpr FieldAddress AlertSpeeding{SoundBlock, 2, 1};
constexpr FieldAddress AlertEngineSpeed{SoundBlock, 3, 1};
constexpr FieldAddress AlertFuelLow{SoundBlock, 4, 1};
constexpr FieldAddress AlertGlazeIce{SoundBlock, 5, 1};
constexpr FieldAddress AlertService{SoundBlock, 6, 1};
constexpr FieldAddress AlertAcceleration{SoundBlock, 7, 1};
constexpr FieldAddress AlertBraking{SoundBlock, 8, 1};
constexpr FieldAddress AlertFault{SoundBlock, 9, 1};
constexpr FieldAddress AlertCoolantOverheat{SoundBlock, 10, 1};
constexpr FieldAddress AlertEconometer{SoundBlock, 11, 1};
constexpr FieldAddress AlertParkingLights{SoundBlock, 12, 1};
constexpr FieldAddress AlertFullTank{SoundBlock, 13, 1};
constexpr FieldAddress AlertInjectionTime{SoundBlock, 14, 1};
constexpr FieldAddress AlertWarmUp{SoundBlock, 15, 1};
constexpr FieldAddress AlertLowBeam{SoundBlock, 16, 1};
constexpr FieldAddress AlertSootFilterOrWater{SoundBlock, 17, 1}; // water in fuel with kind 225
constexpr FieldAddress AlertAtOilOverheat{SoundBlock, 18, 1};
constexpr FieldAddress AlertEngineOilOverheat{SoundBlock, 19, 1};
constexpr FieldAddress AlertAtOilWear{SoundBlock, 20, 1};
constexpr FieldAddress AlertHvbOverheat{SoundBlock, 21, 1};
constexpr FieldAddress AlertInverterOverheat{SoundBlock, 22, 1}; // also the electric motor's
constexpr FieldAddress AlertTrimLow{SoundBlock, 24, 1};
constexpr FieldAddress AlertTrimHigh{SoundBlock, 25, 1};
constexpr FieldAddress AlertEngineOverheat{SoundBlock, 26, 1};
constexpr FieldAddress AlertRetarderOverheat{SoundBlock, 27, 1};
constexpr FieldAddress SpeedingReportThinning{SoundBlock, 32, 1}; // minutes, -1 never

// ---- DisplayBlock ------------------------------------------------------------------

constexpr FieldAddress DisplayOptions{DisplayBlock, 0, 4};
// Screen layouts: bytes of measured-parameter numbers, display by display.
constexpr FieldAddress LayoutsX4{DisplayBlock, 12, 6 * 4};
constexpr FieldAddress LayoutsX6{DisplayBlock, 36, 2 * 6};
constexpr FieldAddress LayoutsX9{DisplayBlock, 48, 3 * 9};
constexpr FieldAddress LayoutsX1{DisplayBlock, 76, 4}; // the main screen's small indicators
constexpr FieldAddress ColourScheme0{DisplayBlock, mem::kScheme0Offset, mem::kSchemeSize};
constexpr FieldAddress ColourScheme1{DisplayBlock, mem::kScheme1Offset, mem::kSchemeSize};
constexpr FieldAddress DisplaySpeed{DisplayBlock, 194, 1};
constexpr FieldAddress ManualColourScheme{DisplayBlock, 195, 1};
// Four lines of ten u16 menu item codes (0 = an empty slot).
constexpr int kHotMenuLines = 4;
constexpr int kHotMenuEntries = 10;
constexpr FieldAddress HotMenus{DisplayBlock, 196, kHotMenuLines *kHotMenuEntries * 2};
constexpr FieldAddress HotMenuEntry(int line, int entry)
{
    return {DisplayBlock, HotMenus.offset + 2 * (kHotMenuEntries * line + entry), 2};
}
constexpr FieldAddress BrightnessDay{DisplayBlock, 276, 1};
constexpr FieldAddress BrightnessNight{DisplayBlock, 277, 1};
constexpr FieldAddress EconomyAnnouncePeriod{DisplayBlock, 278, 1};
constexpr FieldAddress ParameterAnnouncePeriod{DisplayBlock, 279, 1};
constexpr FieldAddress GreetingMode{DisplayBlock, 280, 1};
constexpr FieldAddress SoundVolume{DisplayBlock, 281, 1};
constexpr FieldAddress SoundOff{DisplayBlock, 282, 1};
constexpr FieldAddress SwitchMethods{DisplayBlock, 283, 1}; // brightness, colour scheme
constexpr FieldAddress DayTime{DisplayBlock, 284, 2};       // minutes after midnight
constexpr FieldAddress NightTime{DisplayBlock, 286, 2};
// Which displays of a kind are shown: bit i = display i + 1.
constexpr FieldAddress ShownX1{DisplayBlock, 288, 8};
constexpr FieldAddress ShownX6{DisplayBlock, 296, 2};
constexpr FieldAddress ShownAverages{DisplayBlock, 298, 2};
constexpr FieldAddress ShownX4{DisplayBlock, 300, 2};
constexpr FieldAddress ShownX9{DisplayBlock, 302, 2};
constexpr FieldAddress InstantConsumptionLimit{DisplayBlock, 304, 2};
// The graph and dial choices have no place in the device's documented memory
// map; they take bytes 306..341, which nothing else uses.
constexpr FieldAddress LayoutsGraphs{DisplayBlock, 306, 8 * 2};
constexpr FieldAddress LayoutsDials{DisplayBlock, 322, 8 * 2};
constexpr FieldAddress ShownGraphs{DisplayBlock, 338, 2};
constexpr FieldAddress ShownDials{DisplayBlock, 340, 2};
constexpr FieldAddress StripTiles{DisplayBlock, 404, 4}; // the side strip's tile codes

constexpr BitsAddress ShowStartScreen{DisplayOptions, 0};
constexpr BitsAddress BoundsProgressBars{DisplayOptions, 1};
constexpr BitsAddress KeySound{DisplayOptions, 2};
constexpr BitsAddress LockSound{DisplayOptions, 3};
constexpr BitsAddress ShowDisplayNames{DisplayOptions, 4};
constexpr BitsAddress SmoothArrows{DisplayOptions, 5};
constexpr BitsAddress BrightnessMethod{SwitchMethods, 0, 4};
constexpr BitsAddress ColourSchemeMethod{SwitchMethods, 4, 4};

// ---- VehicleBlock ------------------------------------------------------------------

constexpr FieldAddress ProtocolIndex{VehicleBlock, 4, 2}; // into the device's protocol list
constexpr FieldAddress ProtocolSelection{VehicleBlock, 8, 1};
constexpr int kProtocolOptions = 8;
// The choice in option list 0 (main) .. 7 of the protocol.
constexpr FieldAddress ProtocolOption(int list) { return {VehicleBlock, 12 + list, 1}; }

// ---- ErrorLogBlock -----------------------------------------------------------------

// Which parameters the freeze frames hold: parameter n is bit 7 - (n - 1) % 8
// of byte (n - 1) / 8.
constexpr FieldAddress FreezeFramePids{ErrorLogBlock, 4, 12};
constexpr int kErrorRecords = 7;
constexpr int kErrorRecordSize = 92;
constexpr FieldAddress ErrorRecords{ErrorLogBlock, 16, kErrorRecords *kErrorRecordSize};
namespace error_record {
constexpr RecordPart Minutes{0, 2};
constexpr RecordPart Day{2, 1};
constexpr RecordPart Month{3, 1};
constexpr RecordPart FaultCode{4, 4};
constexpr RecordPart FreezeFrame{8, 84}; // starts with the code it was taken for
} // namespace error_record
constexpr FieldAddress ErrorRecord(int index, RecordPart part)
{
    return InRecord(ErrorRecords, kErrorRecordSize, index, part);
}

// ---- defaults of a new model -------------------------------------------------------

// The values of consecutive fields like `first`, each `first.width` bytes,
// little-endian; negative values in two's complement.
struct FieldDefault {
    FieldAddress first;
    std::vector<int64_t> values;
    FieldDefault(FieldAddress f, int64_t value) : first(f), values{value} {}
    FieldDefault(FieldAddress f, std::initializer_list<int64_t> list) : first(f), values(list) {}
};

// Every non-zero default that needs neither the language nor the device's
// capabilities; every other byte of a new model is zero.
const std::vector<FieldDefault> &NewModelDefaults();

} // namespace fld
