#include "cp1251.h"
#include "language.h"
#include "menu_catalog.h"
#include "protocol_catalog.h"
#include "tmk.h"

#include <gtest/gtest.h>

using namespace mem;

namespace {

struct Field {
    Block block;
    int offset;
    int width; // 1, 2 or 4 (unsigned)
    uint32_t value;
};

uint32_t read(const TMK &m, const Field &f)
{
    const uint8_t *b = m.block(f.block);
    return f.width == 1 ? GetU8(b, f.offset) : f.width == 2 ? GetU16(b, f.offset) : GetU32(b, f.offset);
}

} // namespace

TEST(NewModel, SpotChecksInEveryBlock)
{
    SetEnglishVersion(false);
    TMK m;
    EXPECT_EQ(m.DeviceType, 0xC000);
    EXPECT_EQ(m.BlockDirectory.SettingsVersion, 0);
    EXPECT_TRUE(m.SettingsImage.isEmpty());
    const Field fields[] = {
        {TotalsBlock, 144, 4, 0},
        {TotalsBlock, 152, 1, 0},
        {TotalsBlock, 153, 1, 255},
        {TotalsBlock, 158, 1, 255},
        {ParkingBlock, 2, 1, 0},
        {FuelBlock, 0, 2, 1000},
        {FuelBlock, 6, 2, 43},
        {FuelBlock, 8 + 12, 2, 600},
        {FuelBlock, 22 + 12, 2, 36},
        {FuelBlock, 36, 1, 7},
        {FuelBlock, 44, 2, 50},
        {FuelBlock, 56, 2, 50},
        {TankTableBlock, 1, 1, 1},
        {TankTableBlock, 2, 1, 15},
        {TankTableBlock, 8 + 14, 1, 58},
        {TankTableBlock, 8 + 15, 1, 0},
        {TankTableBlock, 144 + 28, 2, 700},
        {TankTableBlock, 144 + 30, 2, 0},
        {ServiceBlock, 1, 1, 45},
        {ServiceBlock, 6, 1, 30},
        {ServiceBlock, 8, 4, 4392},
        {ServiceBlock, 12, 4, 4392},
        {ServiceBlock, 100, 2, 511},
        {ServiceBlock, 110, 2, 1023},
        {ServiceBlock, 114, 2, 90},
        {LimitsBlock, 0, 4, 0x400},
        {LimitsBlock, 5, 1, 80},
        {LimitsBlock, 8, 2, 115},
        {LimitsBlock, 14, 2, 155},
        {LimitsBlock, 28, 2, 165},
        {LimitsBlock, 30, 1, 70},
        {LimitsBlock, 34, 1, 120},
        {LimitsBlock, 56, 4, 0x3F800000},
        {LimitsBlock, 64, 4, 0x3F800000},
        {LimitsBlock, 73, 1, 1},
        {TripLogBlock, 0, 2, 250},
        {TripLogBlock, 4, 2, 30},
        {TripLogBlock, 36, 2, 497},
        {TripLogBlock, 38, 1, 15},
        {TripLogBlock, 39, 1, 11},
        {TripLogBlock, 40, 4, 123456},
        {TripLogBlock, 52, 4, 12},
        {TripLogBlock, 436, 2, 622},
        {TripLogBlock, 444, 4, 100456},
        {TripLogBlock, 452, 4, 56},
        {TripLogBlock, 456 + 2, 1, 0},
        {SoundBlock, 0, 4, 0},
        {DisplayBlock, 12, 1, 4},
        {DisplayBlock, 35, 1, 21},
        {DisplayBlock, 36, 1, 12},
        {DisplayBlock, 47, 1, 9},
        {DisplayBlock, 48, 1, 14},
        {DisplayBlock, 74, 1, 25},
        {DisplayBlock, 75, 1, 0},
        {DisplayBlock, 195, 1, 1},
        {DisplayBlock, 288, 4, 0xFFFFFFFF},
        {DisplayBlock, 296, 2, 1},
        {DisplayBlock, 298, 2, 511},
        {DisplayBlock, 300, 2, 63},
        {DisplayBlock, 304, 2, 8},
        {VehicleBlock, 4, 2, 0},
        {ErrorLogBlock, 16 + 4, 4, 0},
    };
    for (const Field &f : fields)
        EXPECT_EQ(read(m, f), f.value) << BlockName(f.block) << " +" << f.offset;
    // Maintenance names in the language of creation, zero-padded.
    const uint8_t *s = m.block(ServiceBlock);
    EXPECT_EQ(QByteArray(reinterpret_cast<const char *>(s + 52), 16),
              ToCp1251(QStringLiteral("ТО форсунок")).leftJustified(16, '\0'));
    EXPECT_EQ(QByteArray(reinterpret_cast<const char *>(s + 84), 16),
              ToCp1251(QStringLiteral("Замена свечей")).leftJustified(16, '\0'));
}

TEST(NewModel, MaintenanceNamesFollowTheLanguage)
{
    SetEnglishVersion(true);
    TMK m;
    SetEnglishVersion(false);
    const char *expected[] = {"Inject. TS", "GDM belt repl.", "Spark pl.repl."};
    for (int n = 0; n < 3; ++n)
        EXPECT_EQ(QByteArray(reinterpret_cast<const char *>(m.block(ServiceBlock) + 52 + 16 * n), 16),
                  QByteArray(expected[n]).leftJustified(16, '\0'));
}

namespace {

struct SchemeCase {
    uint16_t deviceType;
    bool alternative;
    std::array<TColour, 2> colours8; // colour 8 of scheme 0 and of scheme 1
    std::array<uint8_t, 8> indices0;
    std::array<uint8_t, 8> indices1;
    uint8_t index23of0;
};

} // namespace

TEST(NewModel, DefaultColourSchemesOfBothDisplays)
{
    const SchemeCase cases[] = {
        {0xC000,
         false,
         {TColour{12, 5, 3}, TColour{17, 17, 17}},
         {15, 4, 11, 12, 15, 15, 9, 10},
         {7, 0, 11, 4, 3, 6, 1, 15},
         10},
        {0x8082,
         true,
         {TColour{12, 5, 3}, TColour{5, 1, 0}},
         {10, 4, 11, 12, 14, 14, 7, 11},
         {7, 0, 11, 0, 0, 15, 1, 12},
         0},
    };
    for (const SchemeCase &c : cases) {
        TMK m(c.deviceType);
        ASSERT_EQ(Catalog().has(Cap::AlternativeDisplay), c.alternative);
        const uint8_t *d = m.block(DisplayBlock);
        for (int s = 0; s < 2; ++s) {
            const uint8_t *scheme = d + (s == 0 ? kScheme0Offset : kScheme1Offset);
            EXPECT_EQ(std::equal(scheme, scheme + kSchemeSize, m.DefaultSchemes[s].begin()), true) << s;
            EXPECT_EQ(UnpackColour(GetU16(scheme, 0)), (TColour{0, 0, 0}));
            EXPECT_EQ(UnpackColour(GetU16(scheme, 16)), c.colours8[s]) << std::hex << c.deviceType << " scheme " << s;
            const auto &idx = s == 0 ? c.indices0 : c.indices1;
            for (int k = 0; k < 8; ++k)
                EXPECT_EQ(scheme[32 + k], idx[k]) << std::hex << c.deviceType << " scheme " << s << " index " << k;
            EXPECT_EQ(scheme[32 + 23], s == 0 ? c.index23of0 : 0);
        }
        EXPECT_EQ(GetU16(d + kScheme0Offset, 30), 0xFFFF); // (31,31,31)
        EXPECT_EQ(GetU16(d + kScheme1Offset, 30), PackColour(13, 13, 22));
    }
}

TEST(NewModel, HotMenuDefaults)
{
    auto codes = [](const TMK &m, int list) {
        std::vector<QString> ids;
        for (int k = 0; k < 10; ++k) {
            const uint16_t code = GetU16(m.block(DisplayBlock), 196 + 20 * list + 2 * k);
            const TMKMenuItem *item = code ? FindMenuItemByCode(code) : nullptr;
            ids.push_back(code == 0 ? QStringLiteral("0") : item ? item->Identifier : QStringLiteral("?"));
        }
        return ids;
    };
    auto v = [](std::initializer_list<const char *> l) {
        std::vector<QString> out;
        for (const char *s : l)
            out.push_back(QString::fromLatin1(s));
        return out;
    };
    {
        TMK m;
        EXPECT_EQ(codes(m, 0), v({"FullTankMenu", "ToTankMenu", "ErrorsMenu", "FlagSoundMenu", "VelocityLimitMenu",
                                  "PrognozMenu", "ExpenseHHMenu", "0", "0", "0"}));
        EXPECT_EQ(codes(m, 1), v({"TripJournMenu", "InitReset0ParamsMenu", "InitReset1ParamsMenu", "ContinueTripMenu",
                                  "TankJournMenu", "0", "0", "0", "0", "0"}));
        EXPECT_EQ(codes(m, 2), v({"ParkOffMenu", "ParkSenseMenu_0", "ParkSpeedMenu_0", "ParkBeepTypeMenu",
                                  "ParkAlwaysOnMenu", "0", "0", "0", "0", "0"}));
        EXPECT_EQ(codes(m, 3), v({"0", "0", "0", "0", "0", "0", "0", "0", "0", "0"}));
        EXPECT_EQ(GetU16(m.block(DisplayBlock), 196 + 4), 154); // ErrorsMenu of a model with voice
        EXPECT_EQ(GetU16(m.block(DisplayBlock), 236), 141);     // ParkOffMenu
    }
    {
        TMK m(0x5100); // no parking radar, no voice
        EXPECT_EQ(codes(m, 2), v({"0", "0", "0", "0", "0", "0", "0", "0", "0", "0"}));
        EXPECT_EQ(GetU16(m.block(DisplayBlock), 196 + 4), 152);
        EXPECT_EQ(GetU16(m.block(DisplayBlock), 196 + 2 * 3), 25); // FlagSoundMenu without voice
    }
}
