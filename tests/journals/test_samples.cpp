// The demo device's sample journals: every page of the viewer has something
// to show, and what it shows could come from a car.
#include "blocks.h"
#include "journals.h"
#include "language.h"
#include "tmk.h"

#include <gtest/gtest.h>

namespace {

void expectPlausible(const char *what, int index, uint32_t seconds, uint32_t metres, uint32_t fuelMl)
{
    ASSERT_GT(seconds, 0u) << what << " " << index;
    ASSERT_GT(metres, 0u) << what << " " << index;
    const double kmh = metres * 3.6 / seconds;
    const double per100 = fuelMl * 100.0 / metres;
    EXPECT_TRUE(kmh >= 10 && kmh <= 130) << what << " " << index << ": " << kmh << " km/h";
    EXPECT_TRUE(per100 >= 5 && per100 <= 20) << what << " " << index << ": " << per100 << " l/100 km";
}

TEST(SampleJournals, EveryRecordAndSumIsFilledAndPlausible)
{
    SetEnglishVersion(false);
    TMK model;
    FillSampleJournals(model);
    const uint8_t *tripLog = model.block(mem::TripLogBlock);
    for (Journal which : {Journal::Trip, Journal::Refuel}) {
        for (int r = 0; r < journal::kRecords; ++r) {
            const JournalRecord rec = JournalRecord::read(tripLog, which, r);
            ASSERT_FALSE(rec.empty()) << r;
            EXPECT_TRUE(rec.month >= 1 && rec.month <= 12 && rec.day <= 31 && rec.minutes < 24 * 60) << r;
            expectPlausible(which == Journal::Trip ? "trip" : "refuel", r, rec.travelTime, rec.distance,
                            rec.petrol + rec.gas);
        }
    }
    for (const SumGroupInfo &info : SumGroups()) {
        const SumGroup g = SumGroup::read(model.block(mem::TotalsBlock), info.id);
        expectPlausible(info.table, 0, g.time, g.distance, g.petrol + g.gas);
    }

    const uint8_t *errorLog = model.block(mem::ErrorLogBlock);
    const FreezeFramePids pids = FreezeFramePids::read(errorLog);
    const int style = JournalFaultFormat(model);
    for (int i = 0; i < journal::kErrorRecords; ++i) {
        const ErrorRecord r = ErrorRecord::read(errorLog, i);
        ASSERT_FALSE(r.empty()) << i;
        EXPECT_EQ(r.frame.faultCode(), r.faultCode) << i;
        EXPECT_FALSE(ErrorListRow(model, i, style).at(2).isEmpty()) << i; // the code shows in the model's style
        const auto rows = FreezeFrameRows(pids, r.frame, QStringLiteral("."));
        EXPECT_GE(rows.size(), 20) << i;
        for (const auto &row : rows)
            EXPECT_FALSE(row.second.isEmpty()) << i << " " << row.first.toStdString();
    }

    // The same every time.
    TMK again;
    FillSampleJournals(again);
    EXPECT_EQ(again.blocks(), model.blocks());
}

} // namespace
