// Sample journals of a car that runs on petrol and gas (LPG): it starts on
// petrol, switches to gas once warm, and now and then runs on petrol only.
#include "journals.h"

#include "blocks.h"
#include "tmk.h"

#include <cmath>
#include <initializer_list>
#include <utility>

using namespace journal;

namespace {

// The day the newest records were made; the journals keep no year, the year
// only decides the month lengths when counting back.
const int kToday = DayNumber(14, 11, 26);

void writeRecord(uint8_t *tripLog, Journal which, int index, int dayNumber, int minutes, uint32_t seconds,
                 uint32_t metres, uint32_t petrolMl, uint32_t gasMl)
{
    uint8_t *p = tripLog + (which == Journal::Trip ? kTripOffset : kRefuelOffset) + kRecordSize * index;
    const TDate date = DateOfDayNumber(dayNumber);
    namespace jr = fld::journal_record;
    SetU16(p, jr::Minutes.offset, static_cast<uint16_t>(minutes));
    SetU8(p, jr::Day.offset, static_cast<uint8_t>(date.day));
    SetU8(p, jr::Month.offset, static_cast<uint8_t>(date.month));
    SetU32(p, jr::TravelTime.offset, seconds);
    SetU32(p, jr::Distance.offset, metres);
    SetU32(p, jr::Petrol.offset, petrolMl);
    SetU32(p, jr::Gas.offset, gasMl);
}

void writeSums(uint8_t *totals, SumGroupId id, uint32_t seconds, uint32_t metres, uint32_t petrolMl, uint32_t gasMl)
{
    const SumGroupInfo &g = SumGroupOf(id);
    const int at = g.sums.offset;
    SetU32(totals, at, seconds);
    SetU32(totals, at + 4, metres);
    if (g.words() == 4) {
        SetU32(totals, at + 8, petrolMl);
        SetU32(totals, at + 12, gasMl);
    } else {
        SetU32(totals, at + 8, g.gasOnly ? gasMl : petrolMl);
    }
}

uint32_t millilitres(uint32_t metres, double litresPer100km)
{
    return uint32_t(std::lround(metres * litresPer100km / 100.0));
}

// Trips between home and work on weekdays, a longer one now and then.
struct TripKind {
    uint32_t metres;
    int kmh;
    double petrolPer100; // warming up on petrol, then gas
    double gasPer100;
};
const TripKind kTrips[] = {
    {18420, 27, 2.1, 11.8}, {17650, 31, 2.3, 11.2}, {23110, 24, 1.8, 12.6},
    {16980, 29, 2.4, 11.5}, {142300, 78, 0.3, 9.6}, {19870, 26, 9.9, 0.0}, // the gas tank ran dry on the way
    {31540, 38, 1.4, 10.7},
};

void fillTrips(uint8_t *tripLog)
{
    for (int r = 0; r < kRecords; ++r) {
        const TripKind &k = kTrips[r % std::size(kTrips)];
        const uint32_t metres = k.metres + uint32_t((r * 137) % 900);
        const bool evening = r % 2 == 0; // record 0, the last one, is tonight's
        const int minutes = evening ? 18 * 60 + 5 + (r * 7) % 40 : 8 * 60 + 10 + (r * 11) % 35;
        writeRecord(tripLog, Journal::Trip, r, kToday - r / 2, minutes, uint32_t(std::lround(metres * 3.6 / k.kmh)),
                    metres, millilitres(metres, k.petrolPer100), millilitres(metres, k.gasPer100));
    }
}

// A refuelling every four or five days: what was driven since the last one.
void fillRefuellings(uint8_t *tripLog)
{
    int day = kToday - 1;
    for (int r = 0; r < kRecords; ++r) {
        const uint32_t metres = 300000 + uint32_t((r * 37) % 11) * 10000;
        writeRecord(tripLog, Journal::Refuel, r, day, 17 * 60 + 30 + (r * 23) % 150,
                    uint32_t(std::lround(metres * 3.6 / 33)), metres, millilitres(metres, 0.9),
                    millilitres(metres, 11.9));
        day -= 4 + r % 2;
    }
}

void fillSums(uint8_t *totals)
{
    // The cumulative group is the sum of jams and free roads; petrol-only and
    // gas-only driving are parts of it.
    writeSums(totals, SumGroupId::Stop, 2196000, 9150000, 238000, 1305000);
    writeSums(totals, SumGroupId::NoStop, 4548000, 55068400, 982150, 6015900);
    writeSums(totals, SumGroupId::All, 2196000 + 4548000, 9150000 + 55068400, 238000 + 982150, 1305000 + 6015900);
    writeSums(totals, SumGroupId::Trip, 2456, 18420, 387, 2174);
    writeSums(totals, SumGroupId::Reset, 1483200, 14820300, 279400, 1689500);
    writeSums(totals, SumGroupId::Tank, 34800, 286400, 2680, 33900);
    writeSums(totals, SumGroupId::OilOnly, 864000, 7950000, 779100, 0);
    writeSums(totals, SumGroupId::GasOnly, 5544000, 54300000, 0, 6570000);
}

// Freeze-frame values in the units the viewer shows; a single-bank petrol
// engine reports these parameters.
using Values = std::initializer_list<std::pair<int, double>>;
const Values kCruise = {
    {4, 32},  {5, 89},    {6, 2},     {7, 3},     {11, 38},   {12, 1850}, {13, 52}, {14, 18.5},
    {15, 24}, {16, 21.4}, {17, 14},   {20, 0.45}, {21, 0.68}, {31, 640},  {33, 0},  {46, 12},
    {51, 99}, {60, 612},  {66, 14.1}, {68, 1.0},  {69, 9},    {70, 6},    {76, 15}, {77, 0},
};
constexpr int kFuelSystemPid = 3;
constexpr uint8_t kOpenLoopCold = 1, kClosedLoop = 2, kOpenLoopFault = 8;

struct Fault {
    uint32_t code;
    uint8_t fuelSystem; // system 1; the engine has no system 2
    Values values;      // what differs from kCruise
};
// Newest first.
const Fault kFaults[kErrorRecords] = {
    {0x0171,
     kClosedLoop,
     {{4, 22}, {6, 11}, {7, 24}, {11, 31}, {12, 780}, {13, 0}, {16, 9.8}, {17, 3}, {20, 0.12}, {31, 1840}}},
    {0x0300,
     kClosedLoop,
     {{4, 71}, {11, 78}, {12, 2650}, {13, 84}, {14, 21.0}, {16, 78.6}, {17, 46}, {33, 3}, {77, 5}}},
    {0x0420, kClosedLoop, {{4, 47}, {12, 2750}, {13, 96}, {21, 0.44}, {60, 695}, {33, 27}, {77, 31}}},
    {0x0130, kOpenLoopFault, {{6, 0}, {7, 0}, {20, 0.0}}},
    {0x0117, kOpenLoopCold, {{5, -40}, {31, 95}, {70, 4}, {60, 180}, {12, 1240}, {13, 0}}},
    {0x0505, kClosedLoop, {{4, 19}, {12, 1320}, {13, 0}, {14, 12.0}, {17, 0}, {69, 0}, {76, 2}}},
    {0x0335, kClosedLoop, {{4, 0}, {11, 99}, {12, 0}, {13, 38}, {16, 0}, {66, 12.2}}},
};

void setFrameValue(uint8_t *frame, int pid, double value)
{
    const FreezeFrameSlot slot = FreezeFrameSlotOf(pid);
    if (slot.offset >= 0)
        SetU16(frame, slot.offset, static_cast<uint16_t>(static_cast<int16_t>(std::lround(value * slot.divisor))));
}

void fillErrors(uint8_t *errorLog)
{
    auto present = [errorLog](int pid) {
        errorLog[kFreezeFramePidsOffset + (pid - 1) / 8] |= uint8_t(0x80 >> ((pid - 1) % 8));
    };
    for (int pid : {kFuelSystemPid, 48, 49, 78})
        present(pid);
    for (const auto &entry : kCruise)
        present(entry.first);

    int day = kToday - 2;
    for (int i = 0; i < kErrorRecords; ++i) {
        const Fault &f = kFaults[i];
        uint8_t *record = errorLog + kErrorRecordOffset + kErrorRecordSize * i;
        const TDate date = DateOfDayNumber(day);
        namespace er = fld::error_record;
        SetU16(record, er::Minutes.offset, static_cast<uint16_t>(7 * 60 + 45 + (i * 97) % 660));
        SetU8(record, er::Day.offset, static_cast<uint8_t>(date.day));
        SetU8(record, er::Month.offset, static_cast<uint8_t>(date.month));
        SetU32(record, er::FaultCode.offset, f.code);
        uint8_t *frame = record + kFreezeFrameOffset;
        SetU32(frame, 0, f.code);
        SetU16(frame, FreezeFrameSlotOf(kFuelSystemPid).offset, static_cast<uint16_t>(f.fuelSystem << 8));
        for (const auto &[pid, value] : kCruise)
            setFrameValue(frame, pid, value);
        for (const auto &[pid, value] : f.values)
            setFrameValue(frame, pid, value);
        // Counters since the codes were last cleared: older frames, less.
        setFrameValue(frame, 48, 14 - 2 * i);
        setFrameValue(frame, 49, 412 - 55 * i);
        setFrameValue(frame, 78, 1270 - 170 * i);
        day -= 3 + i % 3;
    }
}

} // namespace

void FillSampleJournals(TMK &model)
{
    uint8_t *tripLog = model.block(mem::TripLogBlock);
    // Prices per litre in tenths: petrol 56.5, gas 27.9; nothing per hour or km.
    model.set(fld::PricePetrol, 565);
    model.set(fld::PriceHour, 0);
    model.set(fld::PriceKm, 0);
    model.set(fld::PriceGas, 279);
    fillTrips(tripLog);
    fillRefuellings(tripLog);
    fillSums(model.block(mem::TotalsBlock));
    uint8_t *errorLog = model.block(mem::ErrorLogBlock);
    ClearErrorJournal(errorLog);
    fillErrors(errorLog);
}
