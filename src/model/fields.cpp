#include "fields.h"

#include <bit>

namespace fld {

namespace {

constexpr FieldAddress firstByte(FieldAddress f) { return {f.block, f.offset, 1}; }

const int64_t kFactorOne = std::bit_cast<uint32_t>(1.0f);
constexpr int64_t kProhibited = -1; // an auto-reset period

} // namespace

const std::vector<FieldDefault> &NewModelDefaults()
{
    namespace jr = journal_record;
    static const std::vector<FieldDefault> defaults = {
        {ResetPeriod2, kProhibited},
        {ResetPeriodGasPetrol, kProhibited},

        {TwoPointCode(0), 1000},
        {TwoPointLitres(0), 6},
        {TwoPointCode(1), 10},
        {TwoPointLitres(1), 43},
        {SevenPointCode(0), {0, 100, 200, 300, 400, 500, 600}},
        {SevenPointLitres(0), {0, 6, 12, 18, 24, 30, 36}},
        {SevenPointCount, kSevenPoints},
        {FullTankPetrol, 50},
        {FullTankGas, 50},

        {TareFinished, 1},
        {TareCount, 15},
        {TareLitres(0), {16, 19, 22, 25, 28, 31, 34, 37, 40, 43, 46, 49, 52, 55, 58}},
        {TareCode(0), {0, 50, 100, 150, 200, 250, 300, 350, 400, 450, 500, 550, 600, 650, 700}},

        // AirFilterLeft .. UserItem3Left
        {AirFilterLeft, {15, 45, 30, 45, 30, 15, 30}},
        {ServiceDate, 4392}, // 9 January 2012
        {InsuranceDate, 4392},
        {Reminders, 511},
        {UniversalAdcMax, 1023},
        {UniversalDataMax, 90},

        {MainOptions, int64_t{1} << InjectorNegative.first},
        {SpeedLimit, 40},
        {EngineSpeedLimit, 80},
        {FuelLowLimit, 10},
        {CoolantLimit, 115},
        {AtOilWearLimit, 30},
        {BatteryLowLimit, 115},
        {BatteryHighLimit, 155},
        {AtOilTempLimit, 110},
        {EngineOilTempLimit, 110},
        {FanTempLimit, 115},
        {JamSpeedLimit, 20},
        {AccelerationSpeed, 100},
        {BrakingSpeed, 100},
        {RetarderOilTempLimit, 165},
        {WarmUpTemp, 70},
        {IdleInjectionLimit, 9},
        {SootFilterLimit, 25},
        {InverterTempLimit, 120},
        {HvbTempLimit, 120},
        {PetrolFactor, kFactorOne},
        {SpeedFactor, kFactorOne},
        {GasFactor, kFactorOne},
        {TachometerFactor, 1},

        {PricePetrol, 250},
        {PriceKm, 30},
        // One trip and one refuelling, so that the journals show a record.
        {TripRecord(1, jr::Minutes), 497},
        {TripRecord(1, jr::Day), 15},
        {TripRecord(1, jr::Month), 11},
        {TripRecord(1, jr::TravelTime), 123456},
        {TripRecord(1, jr::Distance), 10123},
        {TripRecord(1, jr::Petrol), 1234},
        {TripRecord(1, jr::Gas), 12},
        {RefuelRecord(0, jr::Minutes), 622},
        {RefuelRecord(0, jr::Day), 5},
        {RefuelRecord(0, jr::Month), 1},
        {RefuelRecord(0, jr::TravelTime), 123456},
        {RefuelRecord(0, jr::Distance), 100456},
        {RefuelRecord(0, jr::Petrol), 5678},
        {RefuelRecord(0, jr::Gas), 56},

        {firstByte(LayoutsX4), {4, 14, 8, 9, 13, 10, 11, 4, 1, 2, 5, 9, 7, 12, 3, 6, 7, 10, 8, 12, 18, 25, 27, 21}},
        {firstByte(LayoutsX6), {12, 17, 13, 10, 8, 9, 13, 17, 12, 10, 8, 9}},
        {firstByte(LayoutsX9),
         {14, 5, 12, 1, 2, 6, 10, 8, 9, 11, 24, 13, 23, 18, 17, 7, 19, 22, 1, 2, 3, 5, 14, 6, 20, 24, 25}},
        {ManualColourScheme, 1},
        {ShownX1, 0xFFFFFFFF}, // the first 32 displays
        {ShownX6, 1},
        {ShownAverages, 511},
        {ShownX4, 63},
        {ShownX9, 7},
        {InstantConsumptionLimit, 8},
    };
    return defaults;
}

} // namespace fld
