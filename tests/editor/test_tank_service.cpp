#include "blocks.h"
#include "errors.h"
#include "field_state.h"
#include "language.h"
#include "protocol_catalog.h"
#include "tank_service_files.h"
#include "tmk.h"

#include <gtest/gtest.h>

#include <QFile>
#include <QTemporaryDir>

using namespace ed;

namespace {

std::unique_ptr<TMK> opened(uint16_t type = 0xC000)
{
    SetEnglishVersion(true);
    auto m = std::make_unique<TMK>(type);
    m->FormatImage(9);
    OpenForEditing(*m);
    return m;
}

const FieldRow &row(const char *name) { return *FindField(QLatin1String(name)); }
FieldState state(const TMK &m, const char *name) { return EvaluateField(m, Catalog(), row(name)); }
uint8_t *fuel(TMK &m) { return m.block(mem::FuelBlock); }
uint8_t *tank(TMK &m) { return m.block(mem::TankTableBlock); }
uint8_t *service(TMK &m) { return m.block(mem::ServiceBlock); }
uint8_t *sound(TMK &m) { return m.block(mem::SoundBlock); }

QByteArray pattern(int size, int seed)
{
    QByteArray b(size, '\0');
    for (int i = 0; i < size; ++i)
        b[i] = static_cast<char>((i * 37 + seed) & 0xFF);
    return b;
}

} // namespace

TEST(TankServiceFiles, RoundTripByteForByteInFileOrder)
{
    auto m = opened();
    QTemporaryDir dir;
    for (const bool isTank : {true, false}) {
        const int size = isTank ? kTankFileSize : kServiceFileSize;
        QByteArray bytes = pattern(size, isTank ? 3 : 5);
        if (isTank)
            bytes[39] = 40; // a tare count the refresh keeps
        isTank ? FillTankFields(*m, bytes) : FillServiceFields(*m, bytes);
        const QString path = dir.filePath(isTank ? "a.kelmo" : "a.kelmt");
        isTank ? SaveTankFile(*m, path) : SaveServiceFile(*m, path);
        QFile f(path);
        ASSERT_TRUE(f.open(QIODevice::ReadOnly));
        EXPECT_EQ(f.readAll(), bytes) << isTank;
    }
    // Places in the model of a few fields of each file.
    EXPECT_EQ(GetU8(tank(*m), 6), static_cast<uint8_t>(40 * 37 + 3));
    EXPECT_EQ(GetU8(tank(*m), 8), static_cast<uint8_t>(41 * 37 + 3));
    EXPECT_EQ(GetU8(tank(*m), 144), static_cast<uint8_t>(109 * 37 + 3));
    EXPECT_EQ(GetU8(service(*m), 7), static_cast<uint8_t>(59 * 37 + 5));
    EXPECT_EQ(GetU8(service(*m), 108), static_cast<uint8_t>(51 * 37 + 5));
    EXPECT_EQ(GetU8(service(*m), 100), static_cast<uint8_t>(108 * 37 + 5));
    EXPECT_EQ(GetU8(service(*m), 104), static_cast<uint8_t>(114 * 37 + 5));
    EXPECT_EQ(GetU8(service(*m), 116), static_cast<uint8_t>(116 * 37 + 5));
}

TEST(TankServiceFiles, FreshModelSavesAndLoadsBackTheSameBytes)
{
    auto m = opened();
    QTemporaryDir dir;
    const QString path = dir.filePath("fresh.kelmo");
    const QByteArray before = TankFileBytes(*m);
    SaveTankFile(*m, path);
    SetU16(fuel(*m), 0, 1);
    SetU8(tank(*m), 200, 9);
    LoadTankFile(*m, path);
    EXPECT_EQ(TankFileBytes(*m), before);
    EXPECT_EQ(before.size(), kTankFileSize);
}

TEST(TankServiceFiles, ShortAndLongFilesFillFieldsInOrder)
{
    auto m = opened();
    const QByteArray untouched = TankFileBytes(*m);
    // 40 bytes: everything up to the tare count; the slope flag and the arrays stay.
    QByteArray short40 = pattern(40, 1);
    short40[39] = 3;
    FillTankFields(*m, short40);
    QByteArray expected = untouched;
    expected.replace(0, 40, short40);
    EXPECT_EQ(TankFileBytes(*m), expected);

    // A field cut short takes the bytes there are.
    FillTankFields(*m, QByteArray("\x11", 1));
    EXPECT_EQ(GetU16(fuel(*m), 0), (GetU16(fuel(*m), 0) & 0xFF00) | 0x11);

    // Bytes past the last field are ignored.
    auto n = opened();
    QByteArray long300 = pattern(300, 7);
    long300[39] = 10;
    const QByteArray otherBlocks(reinterpret_cast<const char *>(n->block(mem::ServiceBlock)), 128);
    FillTankFields(*n, long300);
    EXPECT_EQ(TankFileBytes(*n), long300.left(kTankFileSize));
    EXPECT_EQ(QByteArray(reinterpret_cast<const char *>(n->block(mem::ServiceBlock)), 128), otherBlocks);
}

TEST(TankServiceFiles, TareCountAbove68BecomesZero)
{
    auto m = opened();
    for (const auto &[count, kept] : {std::pair{68, 68}, {69, 0}, {255, 0}, {0, 0}}) {
        QByteArray bytes = TankFileBytes(*m);
        bytes[39] = static_cast<char>(count);
        FillTankFields(*m, bytes);
        EXPECT_EQ(GetU8(tank(*m), 2), kept) << count;
    }
}

TEST(TankServiceFiles, UnreadableFileFailsAndLeavesTheModel)
{
    auto m = opened();
    const QByteArray before = TankFileBytes(*m);
    QTemporaryDir dir;
    EXPECT_THROW(LoadTankFile(*m, dir.filePath("missing.kelmo")), TripError);
    EXPECT_THROW(LoadServiceFile(*m, dir.path()), TripError); // a folder
    EXPECT_EQ(TankFileBytes(*m), before);
    EXPECT_THROW(SaveTankFile(*m, dir.filePath("no/such/folder/a.kelmo")), TripError);
}

TEST(FieldState, ItemNameKeepsTheRestOfTheSlot)
{
    auto m = opened();
    for (int i = 0; i < 16; ++i)
        SetU8(service(*m), 52 + i, static_cast<uint8_t>(0xA0 + i));
    StoreText(*m, Catalog(), row("eForsTOCntK"), QStringLiteral("Свечи"));
    EXPECT_EQ(QByteArray(reinterpret_cast<const char *>(service(*m)) + 52, 6), QByteArray("\xD1\xE2\xE5\xF7\xE8\0", 6));
    EXPECT_EQ(GetU8(service(*m), 58), 0xA6);
    EXPECT_EQ(state(*m, "eForsTOCntK").text, QStringLiteral("Свечи"));
    EXPECT_EQ(state(*m, "seForsTOCntK").caption, QStringLiteral("Свечи"));

    StoreText(*m, Catalog(), row("eCandleCntK"), QStringLiteral("ABCDEFGHIJKLMNO"));
    EXPECT_EQ(QByteArray(reinterpret_cast<const char *>(service(*m)) + 84, 16), QByteArray("ABCDEFGHIJKLMNO\0", 16));
    EXPECT_EQ(GetU8(service(*m), 100), 0xFF & 511); // the reminder set after the slot is untouched
    EXPECT_FALSE(RefuseText(state(*m, "eCandleCntK"), QStringLiteral("ABCDEFGHIJKLMNOP")).isEmpty());
}

// One text store serves names and times of day: each row keeps its own rule,
// and a row that shows no text takes none.
TEST(FieldState, TextStoreFollowsTheRowType)
{
    auto m = opened();
    const uint16_t time = GetU16(m->block(mem::DisplayBlock), 284);
    EXPECT_THROW(StoreText(*m, Catalog(), row("meIntenseDayTime"), QStringLiteral("Свечи")), TripError);
    EXPECT_EQ(GetU16(m->block(mem::DisplayBlock), 284), time);
    EXPECT_FALSE(RefuseText(state(*m, "meIntenseDayTime"), QStringLiteral("Свечи")).isEmpty());

    StoreText(*m, Catalog(), row("eForsTOCntK"), QStringLiteral("12:30"));
    EXPECT_EQ(state(*m, "eForsTOCntK").text, QStringLiteral("12:30"));
    EXPECT_TRUE(RefuseText(state(*m, "eForsTOCntK"), QStringLiteral("12:30")).isEmpty());

    const QByteArray before(reinterpret_cast<const char *>(service(*m)), 8);
    EXPECT_THROW(StoreText(*m, Catalog(), row("seAirFiltCntK"), QStringLiteral("12")), TripError);
    EXPECT_EQ(QByteArray(reinterpret_cast<const char *>(service(*m)), 8), before);
}

TEST(FieldState, AlertPairAndSingleGroupRules)
{
    auto m = opened();
    SetU8(sound(*m), 2, 0);
    StoreItem(*m, Catalog(), row("rgapVel_F"), 2);
    StoreItem(*m, Catalog(), row("rgapVel_N"), 1);
    EXPECT_EQ(GetU8(sound(*m), 2), 10);
    StoreItem(*m, Catalog(), row("rgapVel_F"), 4); // keeps the next mode
    EXPECT_EQ(GetU8(sound(*m), 2), 4 + 8);
    EXPECT_EQ(state(*m, "rgapVel_N").index, 1);

    StoreItem(*m, Catalog(), row("rgapTO_F"), 3);
    EXPECT_EQ(GetU8(sound(*m), 6), 27);
    EXPECT_EQ(state(*m, "rgapTO_F").index, 3);

    SetU8(sound(*m), 0, 7); // a mode no item shows
    EXPECT_FALSE(state(*m, "rgapUAccHigh_F").index.has_value());
    EXPECT_EQ(state(*m, "rgapUAccHigh_N").index, 0);
}

// Alert 17 is the soot filter's except with kind 225; on trim devices the
// inverter's alert 22 is copied into alert 21.
TEST(FieldState, AlertStoresOfSharedAndMirroredBytes)
{
    struct Case {
        uint16_t type;
        int protocol; // 0x5800: 13 kind 222, 16 kind 225
        const char *control;
        int index;
        std::array<int, 3> alerts17_21_22;
    };
    const Case cases[] = {
        {0x5800, 13, "rgapSFilter_F", 3, {27, 0, 0}},       {0x5800, 16, "rgapSFilter_F", 3, {0, 0, 0}},
        {0x5800, 16, "rgapWaterInFuel_N", 2, {16, 0, 0}},   {0x5800, 0, "rgapInvTemperHigh_F", 2, {0, 2, 2}},
        {0x5800, 0, "rgapElEngTemperHigh_N", 1, {0, 8, 8}}, {0xC000, 0, "rgapInvTemperHigh_F", 2, {0, 0, 2}}, // no trim
    };
    for (const Case &c : cases) {
        auto m = std::make_unique<TMK>(c.type);
        m->set(fld::ProtocolIndex, c.protocol);
        for (const fld::FieldAddress a :
             {fld::AlertSootFilterOrWater, fld::AlertHvbOverheat, fld::AlertInverterOverheat})
            m->set(a, 0);
        m->FormatImage(9);
        OpenForEditing(*m);
        StoreItem(*m, Catalog(), row(c.control), c.index);
        EXPECT_EQ((std::array<int, 3>{GetU8(sound(*m), 17), GetU8(sound(*m), 21), GetU8(sound(*m), 22)}),
                  c.alerts17_21_22)
            << std::hex << c.type << " " << c.control;
    }
}

TEST(FieldState, AlertItemsAndVisibilityByDevice)
{
    auto voice = opened(0xC000);
    EXPECT_EQ(state(*voice, "rgapVel_F").itemEnabled, (std::vector<bool>{true, true, true, true, true}));
    EXPECT_TRUE(state(*voice, "seSoundVolume").visible);
    EXPECT_TRUE(state(*voice, "seParkSense0").visible);
    auto mute = opened(0x5100); // no voice, no parking radar, single service interval
    EXPECT_EQ(state(*mute, "rgapVel_F").itemEnabled, (std::vector<bool>{true, true, true, false, false}));
    EXPECT_FALSE(state(*mute, "seSoundVolume").visible);
    EXPECT_FALSE(state(*mute, "rgSayHelloMode").visible);
    EXPECT_FALSE(state(*mute, "seParkSense0").visible);
}

TEST(FieldState, ResetPeriodsTripStopAndParkingScales)
{
    auto m = opened();
    const FieldState p0 = state(*m, "cbResetPeriod0");
    EXPECT_EQ(p0.items.size(), 100);
    EXPECT_EQ(p0.index, 0); // default 0: manual
    const FieldState p1 = state(*m, "cbResetPeriod1");
    EXPECT_EQ(p1.items.value(0), QStringLiteral("Proh."));
    EXPECT_EQ(p1.index, 0); // default 255 = -1: prohibited
    StoreItem(*m, Catalog(), row("cbResetPeriod1"), 7);
    EXPECT_EQ(static_cast<int8_t>(GetU8(m->block(mem::TotalsBlock), 153)), 6);
    EXPECT_EQ(state(*m, "cbResetPeriod1").items[7], QStringLiteral("6"));
    StoreItem(*m, Catalog(), row("cbResetPeriod0"), 7);
    EXPECT_EQ(GetU8(m->block(mem::TotalsBlock), 152), 7);

    StoreNumber(*m, Catalog(), row("seTripMinStop"), 35);
    EXPECT_EQ(GetU16(m->block(mem::TripLogBlock), 10), 7);
    EXPECT_DOUBLE_EQ(state(*m, "seTripMinStop").number, 35);
    StoreNumber(*m, Catalog(), row("seParkMinLeng0"), 60);
    EXPECT_EQ(GetU8(m->block(mem::ParkingBlock), 6), 6);
    StoreNumber(*m, Catalog(), row("sePricePath"), 12.3);
    EXPECT_EQ(GetU16(m->block(mem::TripLogBlock), 4), 123);
}

TEST(FieldState, MaintenanceRowsAndTheSingleIntervalMode)
{
    auto m = opened(0xC000);
    EXPECT_EQ(state(*m, "seAirFiltCntK").caption, QStringLiteral("Air filt.repl."));
    EXPECT_TRUE(state(*m, "seKPPOilCntK").visible);

    auto single = opened(0x5100);
    const FieldState first = state(*single, "seAirFiltCntK");
    EXPECT_EQ(first.caption, QStringLiteral("TS th.km"));
    EXPECT_DOUBLE_EQ(first.max, 9.9);
    EXPECT_EQ(first.decimals, 1);
    StoreNumber(*single, Catalog(), row("seAirFiltCntK"), 2.5);
    EXPECT_EQ(GetU8(service(*single), 0), 25);
    for (const char *hidden : {"seKPPOilCntK", "eGRMStrapCntK", "cbAirFiltCntK", "cbTO", "deOSAGO", "cbOSAGO"})
        EXPECT_FALSE(state(*single, hidden).visible) << hidden;
    for (const char *shown : {"deTO", "seMotoHourLim", "cbMotoHour"})
        EXPECT_TRUE(state(*single, shown).visible) << shown;
}

TEST(FieldState, ReminderBitsKeep10And11AndClear12To15)
{
    auto m = opened();
    SetU16(service(*m), 100, 0xFC00);
    StoreChecked(*m, Catalog(), row("cbMotoHour"), true);
    EXPECT_EQ(GetU16(service(*m), 100), 0x0E00);
    StoreChecked(*m, Catalog(), row("cbAirFiltCntK"), true);
    StoreChecked(*m, Catalog(), row("cbMotoHour"), false);
    EXPECT_EQ(GetU16(service(*m), 100), 0x0C01);
}

TEST(FieldState, DatesAsDayNumbers)
{
    auto m = opened();
    EXPECT_EQ(DateText(4301), QStringLiteral("10.10.11"));
    EXPECT_EQ(state(*m, "deTO").text, QStringLiteral("09.01.12")); // the default 4392
    SetU16(service(*m), 8, 0);
    EXPECT_EQ(state(*m, "deTO").text, QStringLiteral("10.10.11")); // shown clipped to the earliest date
    StoreDate(*m, row("deTO"), QStringLiteral("01.03.24"));
    EXPECT_EQ(GetU16(service(*m), 8), DayNumber(1, 3, 24));
    EXPECT_EQ(state(*m, "deTO").text, QStringLiteral("01.03.24"));
    EXPECT_EQ(DayNumber(31, 12, 99), kLatestDayNumber);
    SetU16(service(*m), 8, 0xFFFF); // erased memory: a day of 2179 shows as the latest one
    EXPECT_EQ(state(*m, "deTO").text, QStringLiteral("31.12.99"));
    for (const char *bad : {"09.10.11", "31.04.24", "29.02.23", "1.3.24"})
        EXPECT_THROW(StoreDate(*m, row("deOSAGO"), QString::fromLatin1(bad)), TripError) << bad;
}
