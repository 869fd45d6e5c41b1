#include "errors.h"
#include "language.h"
#include "protocol_catalog.h"
#include "protocol_table.h"

#include <gtest/gtest.h>

#include <QStringList>

namespace {

struct LanguageGuard {
    bool saved = EnglishVersion();
    explicit LanguageGuard(bool english) { SetEnglishVersion(english); }
    ~LanguageGuard() { SetEnglishVersion(saved); }
};

// Builds the model's list; an empty list has no entry 0, which is fine here.
void build(uint16_t deviceType)
{
    try {
        Catalog().BuildCatalog(deviceType, 0, 0);
    } catch (const TripError &) {
    }
}

QStringList names(uint16_t deviceType)
{
    build(deviceType);
    QStringList out;
    for (const auto &e : Catalog().protocolList())
        out << e->Name;
    return out;
}

const TProtBase *entry(const QString &name)
{
    for (const auto &e : Catalog().protocolList())
        if (e->Name == name)
            return e.get();
    return nullptr;
}

std::vector<uint8_t> withBase(std::initializer_list<uint8_t> own)
{
    std::vector<uint8_t> v;
    for (uint8_t p = 1; p <= 16; ++p)
        v.push_back(p);
    v.insert(v.end(), own);
    return v;
}

std::vector<int> codes(std::initializer_list<std::vector<int>> lists)
{
    std::vector<bool> seen(kLastBlockCode + 1, false);
    for (const auto &l : lists)
        for (int c : l)
            seen[static_cast<size_t>(c)] = true;
    std::vector<int> out;
    for (int c = kFirstBlockCode; c <= kLastBlockCode; ++c)
        if (seen[static_cast<size_t>(c)])
            out.push_back(c);
    return out;
}

} // namespace

struct ListCase {
    uint16_t deviceType;
    QStringList expected;
};

class ProtocolListTest : public ::testing::TestWithParam<ListCase> {};

TEST_P(ProtocolListTest, BuildsTheRowsOfItsFamiliesInTableOrder)
{
    LanguageGuard english(true);
    EXPECT_EQ(names(GetParam().deviceType), GetParam().expected);
}

INSTANTIATE_TEST_SUITE_P(
    Models, ProtocolListTest,
    ::testing::Values(
        // OBD2E only: one OBD2 entry, after the rows of the other families.
        ListCase{0x4010, {"Jan", "M74", "Bosch M7.9.7", "Bosch M7.0", "OBD2E"}},
        // CAN group added: the M74.8 row (a CAN group row) comes first.
        ListCase{0x4200, {"M74.8", "Jan", "M74", "Bosch M7.9.7", "Bosch M7.0", "OBD2E"}},
        // CAN, J1939 and BRP stay out without the CAN group; Delphi makes row 57 "Bosch".
        ListCase{0x5100, {"10/11Corvet", "Bosch", "OBD2Q", "OBD2S", "OBD2P", "Delphi", "Delphi1", "PM 800T", "Uni."}},
        ListCase{0x5200,
                 {"10/11Corvet", "Delphi", "Yamaha", "Suzuki", "Honda", "Evinrude", "Evinrude2", "Carb.", "Yam2018",
                  "PM 800T", "Uni."}},
        ListCase{0x5800,
                 {"Mikas 10.3", "10/11Corvet", "Jan",    "Mikas 7.6", "Микас 11", "Mikas 11E3", "M12",    "OBD2Q",
                  "OBD2S",      "OBD2P",       "Toyota", "Toyota1",   "Delphi",   "Yamaha",     "Suzuki", "Honda",
                  "Evinrude",   "Evinrude2",   "Hidea",  "Carb.",     "Yam2018",  "Uni."}},
        ListCase{0x8082,
                 {"CAN Toyota", "Estima20", "Toyota Sai", "Prius2.0", "Prius3.0", "Lex RX450H", "Harrier", "Prius3.5",
                  "Lex RX400H", "Prius5.0", "Highlander7", "Prius5.1", "Harrier8.1", "Prius5.2", "Camry 4.0",
                  "Lex GS450H", "Estima10", "CAN"}},
        ListCase{0x8180,
                 {"CAN Toyota", "Estima20", "Toyota Sai", "Prius2.0", "Prius3.0", "Lex RX450H", "Harrier", "Prius3.5",
                  "Lex RX400H", "Prius5.0", "Highlander7", "Prius5.1", "Harrier8.1", "Prius5.2", "Camry 4.0",
                  "Lex GS450H", "Estima10", "CAN", "OBDPWM"}},
        ListCase{0x1234, {}}));

struct CountCase {
    uint16_t deviceType;
    int count;
    const char *boschTiggo; // the name of row 57, or nullptr when absent
};

class ProtocolCountTest : public ::testing::TestWithParam<CountCase> {};

TEST_P(ProtocolCountTest, ListLengthAndBoschTiggoName)
{
    LanguageGuard english(true);
    const QStringList list = names(GetParam().deviceType);
    EXPECT_EQ(list.size(), GetParam().count);
    const bool bosch = list.contains("Bosch");
    const bool tiggo = list.contains("Tiggo");
    if (!GetParam().boschTiggo) {
        EXPECT_FALSE(bosch || tiggo);
    } else {
        EXPECT_TRUE(list.contains(GetParam().boschTiggo));
        EXPECT_NE(bosch, tiggo);
    }
}

// 0x8002 and its relatives: the 15 CAN group rows and 70 others; 0x8202 lacks
// M74.8, the three DAEWOO rows and Bosch/Tiggo.
INSTANTIATE_TEST_SUITE_P(Models, ProtocolCountTest,
                         ::testing::Values(CountCase{0x8002, 85, "Tiggo"}, CountCase{0xC000, 85, "Tiggo"},
                                           CountCase{0xC010, 85, "Tiggo"}, CountCase{0x8202, 80, nullptr},
                                           CountCase{0x5100, 9, "Bosch"}));

TEST(ProtocolCatalog, C000StartsWithTheCanGroupRowsAndSelectsTheFirst)
{
    LanguageGuard english(true);
    const QStringList list = names(0xC000);
    ASSERT_GE(list.size(), 4);
    EXPECT_EQ(list.mid(0, 4), (QStringList{"M74CAN", "M74.8", "M86", "UAZ 17971E5"}));
    EXPECT_EQ(Catalog().modelName(), "Model 17");
    ASSERT_NE(Catalog().currentProtocol(), nullptr);
    const TProtBase &m74 = *Catalog().currentProtocol();
    EXPECT_EQ(m74.Name, "M74CAN");
    EXPECT_EQ(m74.Number, 11);
    EXPECT_EQ(m74.FaultFormat, 1);
    EXPECT_EQ(m74.DisplayParams, withBase({17, 18, 25, 20, 33, 22, 23, 24, 36, 37, 19}));
    EXPECT_TRUE(m74.HasAtOilTemp && m74.HasFanControl && m74.HasEcuParkingLights);
    EXPECT_FALSE(m74.HasEngineOilTemp || m74.IsHybrid || m74.HasBatterySource);
    EXPECT_EQ(m74.EcuFuelSensors, 2);
    EXPECT_EQ(m74.offeredItems(1), (QStringList{"1", "2", "1+2"}));
    EXPECT_EQ(m74.offeredItems(4), (QStringList{"No", "Jatco", "ZF 2180", "Niss5"}));
    for (int g : {0, 2, 3, 5, 6, 7})
        EXPECT_TRUE(m74.OptionCaption[g].isEmpty()) << g;
    EXPECT_FALSE(list.contains("OBD2E"));
    EXPECT_TRUE(list.contains("VAG 14"));
    EXPECT_TRUE(list.contains("74L"));

    LanguageGuard russian(false);
    EXPECT_EQ(names(0xC000).mid(0, 4), (QStringList{"M74CAN", "M74.8", "M86", "УАЗ 17971E5"}));
}

TEST(ProtocolCatalog, SelectionFollowsTheIndexAndRefusesOneBeyondTheList)
{
    Catalog().BuildCatalog(0x4010, 4, 0);
    ASSERT_NE(Catalog().currentProtocol(), nullptr);
    EXPECT_EQ(Catalog().currentProtocol()->Name, "OBD2E");

    // Settings made for another model: index 5 of a five-entry list.
    EXPECT_THROW(Catalog().BuildCatalog(0x4010, 5, 0), TripError);
    EXPECT_EQ(Catalog().currentProtocol(), nullptr);
    EXPECT_EQ(Catalog().protocolList().size(), 5u); // the list itself was built

    Catalog().SelectProtocol(1);
    EXPECT_EQ(Catalog().currentProtocol()->Name, "M74");
    EXPECT_THROW(Catalog().SelectProtocol(255), TripError);
    EXPECT_EQ(Catalog().currentProtocol(), nullptr);
}

TEST(ProtocolCatalog, UnlistedModelHasNoNameNoCapabilitiesAndNoProtocol)
{
    Catalog().BuildCatalog(0xC000, 0, 0);
    EXPECT_THROW(Catalog().BuildCatalog(0xC001, 0, 0), TripError);
    EXPECT_TRUE(Catalog().modelName().isEmpty());
    EXPECT_FALSE(Catalog().capabilities().any());
    EXPECT_TRUE(Catalog().protocolList().empty());
    EXPECT_TRUE(Catalog().blockPresentCodes().empty());
    EXPECT_EQ(Catalog().currentProtocol(), nullptr);
}

TEST(ProtocolCatalog, BlockPresentDescribesOnlyTheLastBuild)
{
    Catalog().BuildCatalog(0xC000, 0, 0);
    EXPECT_TRUE(Catalog().blockPresent(184)); // M74CAN
    EXPECT_TRUE(Catalog().blockPresent(45));  // Consult1 with the CAN group

    Catalog().BuildCatalog(0x4010, 0, 0);
    const std::vector<int> jan{8, 9, 12};
    const std::vector<int> m74{8, 10, 11, 12, 13, 14, 15, 16, 17, 18, 19, 20, 22, 23, 24, 67, 68};
    const std::vector<int> m797{8, 10, 11, 12, 13, 14, 16, 17, 18, 19, 20, 22, 23, 24, 26, 67, 68};
    const std::vector<int> m70{8, 12};
    EXPECT_EQ(Catalog().blockPresentCodes(), codes({jan, m74, m797, m70}));
    EXPECT_FALSE(Catalog().blockPresent(184));
    EXPECT_FALSE(Catalog().blockPresent(7));
    EXPECT_FALSE(Catalog().blockPresent(185));

    Catalog().BuildCatalog(0x5200, 0, 0); // only 10/11Corvet names blocks
    EXPECT_EQ(Catalog().blockPresentCodes(), (std::vector<int>{22, 23}));
}

struct TailCase {
    uint16_t deviceType;
    const char *protocol;
    std::vector<uint8_t> display;
};

class CapabilityParametersTest : public ::testing::TestWithParam<TailCase> {};

// Parameters 65, 34, 40, 62, 55, 56 follow the protocol's own numbers.
TEST_P(CapabilityParametersTest, AppendedAfterTheProtocolsOwnNumbers)
{
    LanguageGuard english(true);
    build(GetParam().deviceType);
    const TProtBase *e = entry(GetParam().protocol);
    ASSERT_NE(e, nullptr);
    EXPECT_EQ(e->DisplayParams, GetParam().display);
}

INSTANTIATE_TEST_SUITE_P(
    Models, CapabilityParametersTest,
    ::testing::Values(TailCase{0x5800, "Jan", withBase({17, 18, 25, 20, 22, 21, 65, 62, 55, 56})},
                      TailCase{0x5800, "Carb.", withBase({65, 62, 55, 56})},
                      TailCase{0x5200, "Yamaha", withBase({19, 25, 20, 22, 21, 24, 35, 57, 58, 41, 65, 55, 56})},
                      TailCase{0x5100, "Delphi", withBase({17, 19, 25, 20, 22, 23, 21, 24, 55, 56})},
                      // low beam control with the lights on the air input: no 34
                      TailCase{0x4010, "OBD2E", withBase({17, 20, 22, 19, 18, 24})}));

TEST(ProtocolCatalog, ConsultNamesBlock45OnlyWithTheCanGroup)
{
    LanguageGuard english(true);
    build(0xC000);
    for (const char *name : {"Consult1", "Consult1D"}) {
        const TProtBase *e = entry(name);
        ASSERT_NE(e, nullptr) << name;
        EXPECT_EQ(e->Blocks, std::vector<uint8_t>{45}) << name;
        EXPECT_EQ(e->EcuFuelSensors, 1);
        EXPECT_EQ(e->offeredItems(2), (QStringList{"1", "2"}));
    }

    // No listed model has Consult without the CAN group; the gates pick the
    // variant without blocks there.
    CapabilitySet without{Cap::FamConsult};
    CapabilitySet with{Cap::FamConsult, Cap::CanGroup};
    int rowsWithout = 0, rowsWith = 0;
    for (const ProtocolRow &r : ProtocolTable()) {
        if (r.family != Cap::FamConsult)
            continue;
        if (RowGateHolds(r, without)) {
            ++rowsWithout;
            EXPECT_TRUE(r.blocks.empty()) << r.row;
        }
        if (RowGateHolds(r, with)) {
            ++rowsWith;
            EXPECT_EQ(r.blocks, std::vector<uint8_t>{45}) << r.row;
        }
    }
    EXPECT_EQ(rowsWithout, 2);
    EXPECT_EQ(rowsWith, 2);
}

struct GateCase {
    const char *what;
    CapabilitySet caps;
    std::vector<int> rows; // rows offered, in order
};

class GateTest : public ::testing::TestWithParam<GateCase> {};

TEST_P(GateTest, OffersExactlyTheseRows)
{
    std::vector<int> offered;
    for (const ProtocolRow &r : ProtocolTable())
        if (RowGateHolds(r, GetParam().caps))
            offered.push_back(r.row);
    EXPECT_EQ(offered, GetParam().rows) << GetParam().what;
}

INSTANTIATE_TEST_SUITE_P(
    Rows, GateTest,
    ::testing::Values(GateCase{"J1939 without the CAN group", {Cap::FamJ1939, Cap::Retarder}, {}},
                      GateCase{"J1939 with retarder", {Cap::FamJ1939, Cap::CanGroup, Cap::Retarder}, {31}},
                      GateCase{"J1939 without retarder", {Cap::FamJ1939, Cap::CanGroup}, {31}},
                      GateCase{"VAG", {Cap::FamVAG}, {60, 61, 62, 63, 64, 65, 66, 67, 68, 69, 70, 71, 72, 73, 74, 75}},
                      GateCase{"VAG with the search excluded", {Cap::FamVAG, Cap::VagSearchExcluded}, {74}},
                      GateCase{"M74CAN without the CAN group", {Cap::FamM74CAN}, {}},
                      GateCase{"M74CAN with the CAN group", {Cap::FamM74CAN, Cap::CanGroup}, {1, 110, 111}},
                      GateCase{"OBD2", {Cap::FamOBD2}, {78, 79, 80}},
                      GateCase{"OBD2E only", {Cap::FamOBD2, Cap::Obd2eOnly}, {77}}, GateCase{"nothing", {}, {}}));

TEST(ProtocolCatalog, J1939VariantsDifferInParametersAndFlags)
{
    const ProtocolRow *with = nullptr, *without = nullptr;
    for (const ProtocolRow &r : ProtocolTable())
        if (r.row == 31)
            (r.gate == Gate::WithRetarder ? with : without) = &r;
    ASSERT_TRUE(with && without);
    EXPECT_EQ(with->display, (std::vector<uint8_t>{17, 19, 27, 24, 37, 35, 38, 41, 42, 36, 43}));
    EXPECT_EQ(without->display, (std::vector<uint8_t>{17, 19, 27, 24, 37}));
    EXPECT_TRUE((with->flags & kAtOil) && (with->flags & kEngineOil));
    EXPECT_FALSE((without->flags & kAtOil) || (without->flags & kEngineOil));
}

struct SetCase {
    const char *protocol;
    int count;
    const char *last;
};

class ItemSetTest : public ::testing::TestWithParam<SetCase> {};

// A transmission set brings the CAN polling list and the oil temperature flag.
TEST_P(ItemSetTest, SetsListFourAndTheCanPollingList)
{
    LanguageGuard english(true);
    build(GetParam().protocol[0] == 'C' && QString(GetParam().protocol) == "CAN" ? 0xC000 : 0x8082);
    const TProtBase *e = entry(GetParam().protocol);
    ASSERT_NE(e, nullptr);
    EXPECT_EQ(e->OptionCaption[4], "AT oil temper.");
    EXPECT_EQ(e->OptionCount[4], GetParam().count);
    EXPECT_EQ(e->offeredItems(4).first(), "No");
    EXPECT_EQ(e->offeredItems(4).last(), GetParam().last);
    EXPECT_EQ(e->OptionCaption[1], "CAN req/sec");
    EXPECT_EQ(e->offeredItems(1), (QStringList{"4", "1"}));
    EXPECT_TRUE(e->HasAtOilTemp);
    EXPECT_EQ(e->OptionItems[4].size(), 61);
    EXPECT_EQ(e->OptionItems[1].size(), 21);
}

INSTANTIATE_TEST_SUITE_P(Sets, ItemSetTest,
                         ::testing::Values(SetCase{"CAN", 55, "Accrd2"}, SetCase{"Prius3.0", 55, "Accrd2"},
                                           SetCase{"CAN Toyota", 6, "U660E"}, SetCase{"Estima20", 6, "U660E"}));

TEST(ProtocolCatalog, OptionListsKeepTheirDefaultsBeyondTheRowsItems)
{
    LanguageGuard english(true);
    build(0xC000);
    const TProtBase *obd = entry("OBD2Q");
    ASSERT_NE(obd, nullptr);
    EXPECT_EQ(obd->offeredItems(0), (QStringList{"Auto", "1", "2", "3", "4", "5"}));
    EXPECT_EQ(obd->offeredItems(2), (QStringList{"1", "Cruis"}));
    EXPECT_EQ(obd->OptionItems[2][2], "3"); // default text behind the offered items
    EXPECT_EQ(obd->offeredItems(6), (QStringList{"Auto", "Man."}));
    // Lists without a caption are not offered whatever they hold.
    EXPECT_TRUE(obd->offeredItems(1).isEmpty());
    EXPECT_EQ(obd->OptionItems[1][9], "10");
    EXPECT_EQ(obd->OptionItems[4][12], "13");

    const TProtBase *ssyong = entry("SsYong диз");
    ASSERT_NE(ssyong, nullptr);
    EXPECT_EQ(ssyong->offeredItems(0), (QStringList{"K20E3", "K20E4", "R27E3", "R27E4", "R27  "}));

    const TProtBase *uni = entry("Uni.");
    ASSERT_NE(uni, nullptr);
    EXPECT_EQ(uni->Number, 255);
    EXPECT_EQ(uni->FaultFormat, 1000);
    EXPECT_FALSE(uni->HasCoolantTemp || uni->HasFaults);
    EXPECT_EQ(uni->DisplayParams, withBase({}));
}

TEST(ProtocolCatalog, TextsFollowTheLanguageOfTheLastBuild)
{
    LanguageGuard english(true);
    build(0xC000);
    const TProtBase *mikas = entry("Mikas");
    ASSERT_NE(mikas, nullptr);
    const TProtBase *can = entry("CAN");
    ASSERT_NE(can, nullptr);

    SetEnglishVersion(false);
    // Without a rebuild the entries keep their texts.
    EXPECT_EQ(mikas->Name, "Mikas");
    EXPECT_EQ(can->OptionCaption[1], "CAN req/sec");

    build(0xC000);
    EXPECT_EQ(entry("Mikas"), nullptr);
    const TProtBase *mikasRu = entry("Микас");
    ASSERT_NE(mikasRu, nullptr);
    const TProtBase *canRu = entry("CAN");
    ASSERT_NE(canRu, nullptr);
    EXPECT_EQ(canRu->OptionCaption[1], "Опрос CAN раз/сек");
    EXPECT_EQ(canRu->offeredItems(2), (QStringList{"1", "2", "Круиз", "4", "5D", "DustD"}));
    EXPECT_EQ(canRu->offeredItems(4).first(), "Нет");
    EXPECT_EQ(entry("OBD2Q")->offeredItems(0).first(), "Авто");
    EXPECT_NE(entry("Tiggo"), nullptr); // the same in both languages
}

TEST(ProtocolTable, RowsAreNumberedInOrderAndWithinTheEntryLimits)
{
    int previous = 0;
    for (const ProtocolRow &r : ProtocolTable()) {
        EXPECT_TRUE(r.row == previous || r.row == previous + 1) << r.row;
        previous = r.row;
        EXPECT_LE(r.display.size() + 16 + 6, static_cast<size_t>(kMaxProtocolNumbers)) << r.row;
        EXPECT_LE(r.blocks.size(), static_cast<size_t>(kMaxProtocolNumbers)) << r.row;
        for (uint8_t b : r.blocks)
            EXPECT_TRUE(b >= kFirstBlockCode && b <= kLastBlockCode) << r.row;
        for (const OptionSpec &o : r.options) {
            EXPECT_TRUE(o.list >= 0 && o.list < kOptionLists) << r.row;
            EXPECT_LE(o.items.size(), o.list == 4 ? 61u : 21u) << r.row;
        }
        EXPECT_EQ(r.canGroupRow, r.row <= 33) << r.row;
    }
    EXPECT_EQ(previous, 116);
    EXPECT_EQ(AtOilItemSetA().size(), 55u);
    EXPECT_EQ(AtOilItemSetB().size(), 6u);
}

TEST(CaptionTexts, PickTheLanguageWhenFetched)
{
    LanguageGuard english(true);
    EXPECT_EQ(CaptionFanControlChannel(), "Fan control channel");
    EXPECT_EQ(CaptionText(CaptionId::Engine), "Engine");
    SetEnglishVersion(false);
    EXPECT_EQ(CaptionFanControlChannel(), "Канал включения вентилятора");
    EXPECT_EQ(CaptionText(CaptionId::FrontO2), "O2 Пер");
    EXPECT_EQ(CaptionText(CaptionId::Count), QString());
}
