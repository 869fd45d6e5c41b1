#include "blocks.h"
#include "journals.h"
#include "language.h"
#include "tmk.h"

#include <gtest/gtest.h>

namespace {

const QString kPoint = QStringLiteral(".");

QStringList cellsOf(uint16_t minutes, uint8_t day, uint8_t month, uint32_t t, uint32_t d, uint32_t petrol, uint32_t gas,
                    JournalPrices prices = {250, 0, 30, 0})
{
    JournalRecord r;
    r.minutes = minutes;
    r.day = day;
    r.month = month;
    r.travelTime = t;
    r.distance = d;
    r.petrol = petrol;
    r.gas = gas;
    return JournalRecordCells(r, prices, kPoint);
}

} // namespace

TEST(JournalTexts, TimesAndDurations)
{
    EXPECT_EQ(JournalTimeText(485, 7, 3), QStringLiteral("08:05   7.03"));
    EXPECT_EQ(JournalTimeText(1500, 31, 12), QStringLiteral("01:00   31.12")); // hours reduced modulo 24
    EXPECT_EQ(ErrorTimeText(1500, 7, 3), QStringLiteral("25:00 7.03"));        // ...but not in the error form
    EXPECT_EQ(ErrorTimeText(65, 1, 10), QStringLiteral("1:05 1.10"));
    EXPECT_EQ(JournalDurationText(123456), QStringLiteral("34:17"));
    EXPECT_EQ(JournalDurationText(59), QStringLiteral("0:00"));
    EXPECT_EQ(SumDurationText(100 * 3600 + 59 * 60 + 59), QStringLiteral("100:59"));
    EXPECT_EQ(SumDurationText(0xFFFFFFFFu), QStringLiteral("1193046:28"));
}

TEST(JournalTexts, RatioRoundsHalfAwayFromZeroAndKeepsDecimals)
{
    struct Case {
        int64_t num, den;
        int decimals;
        const char *text;
    };
    const Case cases[] = {
        {125, 100, 1, "1.3"},
        {3, 20, 1, "0.2"},
        {-125, 100, 1, "-1.3"},
        {-4, 100, 1, "0.0"},
        {5, 1000, 3, "0.005"},
        {0, 7, 2, "0.00"},
        {2, 3, 2, "0.67"},
        {-5, 10, 1, "-0.5"},
        {42, 1, 0, "42"},
        {-7, 1, 0, "-7"},
        {4294967295LL, 1000, 3, "4294967.295"},
    };
    for (const Case &c : cases)
        EXPECT_EQ(RatioText(c.num, c.den, c.decimals, kPoint), QString::fromLatin1(c.text)) << c.num << "/" << c.den;
    EXPECT_EQ(RatioText(12345, 1000, 3, QStringLiteral(",")), QStringLiteral("12,345"));
}

TEST(JournalRecordValues, SampleTripRecordOfANewModel)
{
    SetEnglishVersion(true);
    TMK model;
    const QList<QStringList> grid = JournalGrid(model, Journal::Trip, kPoint);
    ASSERT_EQ(grid.size(), 22);
    EXPECT_EQ(grid[2], (QStringList{"1", "08:17   15.11", "34:17", "10.123", "1.246", "0", "12.3", "0.04", "61.2"}));
    // Every other record of the trip journal is empty.
    EXPECT_EQ(grid[1], (QStringList{"Last", "Empty", "", "", "", "", "", "", ""}));
    EXPECT_EQ(grid[21][0], QStringLiteral("20"));

    const QList<QStringList> refuel = JournalGrid(model, Journal::Refuel, kPoint);
    EXPECT_EQ(refuel[1],
              (QStringList{"Last", "10:22   5.01", "34:17", "100.456", "5.734", "3", "5.7", "0.17", "443.3"}));
}

TEST(JournalRecordValues, AveragesAndCost)
{
    // 1250 m in 1000 s is 4.5 km/h: the even neighbour 4; 5.5 km/h gives 6.
    EXPECT_EQ(cellsOf(0, 1, 1, 1000, 1250, 0, 0)[4], QStringLiteral("4"));
    EXPECT_EQ(cellsOf(0, 1, 1, 36, 55, 0, 0)[4], QStringLiteral("6"));
    // No time: no speed and no per-hour figure; no distance: no per-100 figure.
    const QStringList still = cellsOf(0, 1, 1, 0, 0, 500, 0);
    EXPECT_EQ(still[4], QStringLiteral("---"));
    EXPECT_EQ(still[5], QStringLiteral("---"));
    EXPECT_EQ(still[6], QStringLiteral("---"));
    EXPECT_EQ(still[3], QStringLiteral("0.500"));
    // Petrol and gas both count as fuel but each at its own price; the hour
    // price counts per 360 s: (1 * 100 + 2 * 50 + 10 * 12) / 10.
    const QStringList mixed = cellsOf(0, 1, 1, 3600, 0, 1000, 2000, {100, 12, 0, 50});
    EXPECT_EQ(mixed[3], QStringLiteral("3.000"));
    EXPECT_EQ(mixed[7], QStringLiteral("32.0"));
    // Prices are signed.
    EXPECT_EQ(cellsOf(0, 1, 1, 0, 1000, 0, 0, {0, 0, -25, 0})[7], QStringLiteral("-2.5"));
    // The largest stored numbers neither overflow nor lose digits.
    const uint32_t max = 0xFFFFFFFFu;
    const QStringList big = cellsOf(0xFFFF, 255, 255, max, max, max, max, {32767, 32767, 32767, 32767});
    EXPECT_EQ(big, (QStringList{"12:15   255.255", "1193046:28", "4294967.295", "8589934.590", "4", "200.0", "7.20",
                                "81312511716.4"}));
}

TEST(SumValues, ZeroTimeStillShowsDistanceAndFuel)
{
    SetEnglishVersion(true);
    const auto rows = SumRows(SumGroup{0, 500, 1000, 0}, 0, kPoint);
    ASSERT_EQ(rows.size(), 6);
    const QStringList labels{"Time", "Mileage, km", "Expense, l", "Av.speed, km/h", "Av.exp., l/100", "Av.exp., l/h"};
    const QStringList values{"0:00", "0.500", "1.000", "-----", "200.0", "-----"};
    for (int i = 0; i < 6; ++i) {
        EXPECT_EQ(rows[i].first, labels[i]);
        EXPECT_EQ(rows[i].second, values[i]);
    }
    const auto idle = SumRows(SumGroup{}, 0, kPoint);
    EXPECT_EQ(idle[4].second, QStringLiteral("-----"));
}

TEST(SumValues, AveragesWithOneDecimal)
{
    // 36 km in 1 h with 2.5 l petrol and 0.5 l gas.
    const auto rows = SumRows(SumGroup{3600, 36000, 2500, 500}, 0, QStringLiteral(","));
    EXPECT_EQ(rows[0].second, QStringLiteral("1:00"));
    EXPECT_EQ(rows[1].second, QStringLiteral("36,000"));
    EXPECT_EQ(rows[2].second, QStringLiteral("3,000"));
    EXPECT_EQ(rows[3].second, QStringLiteral("36,0"));
    EXPECT_EQ(rows[4].second, QStringLiteral("8,3"));
    EXPECT_EQ(rows[5].second, QStringLiteral("3,0"));
}

TEST(SumValues, InitialMileageOnlyInTheCumulativeDistance)
{
    SetEnglishVersion(false);
    TMK model;
    uint8_t *totals = model.block(mem::TotalsBlock);
    for (int g = 0; g < 6; ++g) {
        SetU32(totals, 16 * g, 3600);
        SetU32(totals, 16 * g + 4, 500);
    }
    SetU32(totals, journal::kInitialMileageOffset, 1000);
    const auto all = SumRows(model, SumGroupId::All, kPoint);
    EXPECT_EQ(all[1].first, QStringLiteral("Пробег, км"));
    EXPECT_EQ(all[1].second, QStringLiteral("1000.500"));
    EXPECT_EQ(all[3].second, QStringLiteral("0.5")); // 500 m in an hour, not 1000.5 km
    EXPECT_EQ(SumRows(model, SumGroupId::Trip, kPoint)[1].second, QStringLiteral("0.500"));
    // A negative mileage (outside what the editor stores) is shown as it adds up.
    SetU32(totals, journal::kInitialMileageOffset, static_cast<uint32_t>(-2));
    EXPECT_EQ(SumRows(model, SumGroupId::All, kPoint)[1].second, QStringLiteral("-1.500"));
}
