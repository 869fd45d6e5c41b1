#include "errors.h"
#include "language.h"
#include "menu_catalog.h"
#include "protocol_catalog.h"

#include <gtest/gtest.h>

#include <algorithm>

namespace {

struct LanguageGuard {
    bool saved = EnglishVersion();
    explicit LanguageGuard(bool english) { SetEnglishVersion(english); }
    ~LanguageGuard() { SetEnglishVersion(saved); }
};

void buildFor(uint16_t deviceType)
{
    Catalog().BuildCatalog(deviceType, 0, 0);
    BuildMenuCatalog();
}

int codeOf(const char *identifier)
{
    const TMKMenuItem *item = FindMenuItem(QString::fromLatin1(identifier));
    return item ? item->Code : -1; // -1: no such item
}

QString idAt(int code)
{
    const TMKMenuItem *item = FindMenuItemByCode(static_cast<uint16_t>(code));
    return item ? item->Identifier : QString();
}

} // namespace

struct CodeCase {
    uint16_t deviceType;
    const char *identifier;
    int code; // -1: absent
};

class MenuCodeTest : public ::testing::TestWithParam<CodeCase> {};

TEST_P(MenuCodeTest, ItemHasItsCode)
{
    buildFor(GetParam().deviceType);
    EXPECT_EQ(codeOf(GetParam().identifier), GetParam().code);
}

INSTANTIATE_TEST_SUITE_P(Models, MenuCodeTest,
                         ::testing::Values(
                             // with voice: B = 28
                             CodeCase{0xC000, "SoundVolumeMenu", 25}, CodeCase{0xC000, "FlagSoundMenu", 26},
                             CodeCase{0xC000, "SayParamPeriodMenu", 27}, CodeCase{0xC000, "apVelMenu", 28},
                             CodeCase{0xC000, "InitTripParamsMenu", 41}, CodeCase{0xC000, "ParkOffMenu", 141},
                             CodeCase{0xC000, "ErrorsMenu", 154}, CodeCase{0xC000, "apHoloMenu", 32},
                             CodeCase{0xC000, "LightsOnMenu", -1}, CodeCase{0xC000, "CorrUOZMenu", 9},
                             CodeCase{0xC000, "ViewTank5Menu", 98}, CodeCase{0xC000, "WriteTrip1Menu", 50},
                             CodeCase{0xC000, "TareWeightMenu", -1}, CodeCase{0xC000, "HVFanForcedOnMenu", -1},
                             // no voice: B = 26
                             CodeCase{0x4010, "FlagSoundMenu", 25}, CodeCase{0x4010, "SoundVolumeMenu", -1},
                             CodeCase{0x4010, "SayParamPeriodMenu", -1}, CodeCase{0x4010, "apVelMenu", 26},
                             CodeCase{0x4010, "ErrorsMenu", 152}, CodeCase{0x4010, "LightsOnMenu", 30},
                             CodeCase{0x4010, "apHoloMenu", -1}, CodeCase{0x4010, "CorrUOZMenu", -1},
                             CodeCase{0x4010, "EBUResetMenu", 10}, CodeCase{0x4010, "ViewTank5Menu", 96},
                             // 0x5100: no light alerts, parking radar, gas fuel or jam statistics
                             CodeCase{0x5100, "apEconomMenu", 31}, CodeCase{0x5100, "apGabarMenu", -1},
                             CodeCase{0x5100, "apTankFullMenu", 34}, CodeCase{0x5100, "InitStopParamsMenu", -1},
                             CodeCase{0x5100, "TripMinStopMenu", 44}, CodeCase{0x5100, "ParkOffMenu", -1},
                             CodeCase{0x5100, "InitResetOnlyGasParamsMenu", -1},
                             CodeCase{0x5100, "IntenseDayTimeMenu", 150}, CodeCase{0x5100, "EBUInitMenu", 153},
                             CodeCase{0x5100, "InitResetOnlyOilParamsMenu", -1},
                             // 0x5800: no air temperature algorithm, tilt layout; Mikas 10.3 is not the Mikas family
                             CodeCase{0x5800, "apHoloMenu", -1}, CodeCase{0x5800, "LightsOnMenu", -1},
                             CodeCase{0x5800, "apEconomMenu", 31}, CodeCase{0x5800, "CorrUOZMenu", -1},
                             // alternative display
                             CodeCase{0x8082, "HVFanForcedOnMenu", 162}, CodeCase{0x8180, "HVFanForcedOnMenu", 160}));

TEST(MenuCatalog, SkippedItemsKeepTheirCodesReserved)
{
    buildFor(0x5100);
    const int b = 26;
    for (int offset : {6, 7, 16, 17})
        EXPECT_TRUE(idAt(b + offset).isEmpty()) << offset;
    for (int offset = 113; offset <= 123; ++offset)
        EXPECT_TRUE(idAt(b + offset).isEmpty()) << offset;
    for (int offset = 128; offset <= 131; ++offset)
        EXPECT_TRUE(idAt(b + offset).isEmpty()) << offset;
    EXPECT_EQ(idAt(b + 4), ""); // neither lights item nor glaze ice: no low beam control
    EXPECT_EQ(idAt(b + 124), "IntenseDayTimeMenu");
    // B + 1 on a model without voice; "SayParamPeriodMenu" is gone, not its code
    EXPECT_EQ(idAt(27), "AlarmVelSecNoSayMaxMenu");
}

TEST(MenuCatalog, FindMenuItemIsCaseSensitive)
{
    buildFor(0xC000);
    ASSERT_NE(FindMenuItem("ViewTank5Menu"), nullptr);
    EXPECT_EQ(FindMenuItem("ViewTank5Menu")->Code, 28 + 70);
    EXPECT_EQ(FindMenuItem("viewtank5menu"), nullptr);
    EXPECT_EQ(FindMenuItem(""), nullptr);
    EXPECT_EQ(FindMenuItemByCode(0), nullptr);
}

TEST(MenuCatalog, TripSlotCaptionsAreShared)
{
    LanguageGuard english(true);
    buildFor(0xC000);
    for (const char *id : {"WriteTrip5Menu", "ViewTrip5Menu", "ViewTank5Menu"}) {
        ASSERT_NE(FindMenuItem(id), nullptr) << id;
        EXPECT_EQ(FindMenuItem(id)->Caption, "   5     MM:HH DD.MM") << id;
        EXPECT_EQ(FindMenuItem(id)->Kind, 1) << id;
    }
    SetEnglishVersion(false);
    BuildMenuCatalog();
    EXPECT_EQ(FindMenuItem("ViewTrip10Menu")->Caption, "  10     ММ:ЧЧ ДД.ММ");
    EXPECT_EQ(FindMenuItem("FullTankMenu")->Caption, "Заправка до полн.");
    EXPECT_EQ(FindMenuItem("BlocksABS9Menu")->Caption, "ABS 8/9");
}

struct SystemCase {
    uint16_t deviceType;
    std::vector<const char *> present;
};

class AdditionalSystemMenuTest : public ::testing::TestWithParam<SystemCase> {};

const char *const kSystemItems[] = {"BlocksBoschESP9Menu",    "BlocksBoschESP91Menu", "BlocksBoschABSESP9Menu",
                                    "BlocksABSKesens102Menu", "BlocksABSItelmaMenu",  "BlocksABSAPGMenu",
                                    "BlocksABS9Menu"};

TEST_P(AdditionalSystemMenuTest, ItemsOfTheBlocksTheListNames)
{
    buildFor(GetParam().deviceType);
    for (const char *id : kSystemItems) {
        const bool expected = std::find_if(GetParam().present.begin(), GetParam().present.end(), [&](const char *p) {
                                  return QLatin1String(p) == QLatin1String(id);
                              }) != GetParam().present.end();
        EXPECT_EQ(FindMenuItem(id) != nullptr, expected) << id;
    }
}

INSTANTIATE_TEST_SUITE_P(Models, AdditionalSystemMenuTest,
                         ::testing::Values(SystemCase{0xC000,
                                                      {kSystemItems[0], kSystemItems[1], kSystemItems[2],
                                                       kSystemItems[3], kSystemItems[4], kSystemItems[5],
                                                       kSystemItems[6]}},
                                           // M74 and Bosch M7.9.7 name block 22 only
                                           SystemCase{0x4010, {"BlocksABS9Menu"}},
                                           // CAN names 77; nothing names 22, 27, 28, 37, 178 or 180
                                           SystemCase{0x8082, {"BlocksBoschESP91Menu"}},
                                           // blocks 22 of Mikas 10.3 are there, the additional-system menus are not
                                           SystemCase{0x5800, {}}));

TEST(MenuCatalog, SystemItemsDoNotDependOnTheCurrentProtocol)
{
    LanguageGuard english(true);
    Catalog().BuildCatalog(0xC000, 84, 0); // the last entry, "Uni.", names no block
    ASSERT_EQ(Catalog().currentProtocol()->Name, "Uni.");
    BuildMenuCatalog();
    for (const char *id : kSystemItems)
        EXPECT_NE(FindMenuItem(id), nullptr) << id;
}
