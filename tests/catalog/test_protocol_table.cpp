#include "language.h"
#include "protocol_catalog.h"
#include "protocol_table.h"
#include "errors.h"

#include <gtest/gtest.h>

#include <QStringList>

namespace {

struct LanguageGuard {
    bool saved = EnglishVersion();
    explicit LanguageGuard(bool english) { SetEnglishVersion(english); }
    ~LanguageGuard() { SetEnglishVersion(saved); }
};

QStringList names(uint16_t deviceType)
{
    try {
        Catalog().BuildCatalog(deviceType, 0, 0);
    } catch (const TripError &) {
        // an empty list has no entry 0; the list itself is what is looked at
    }
    QStringList out;
    for (const auto &e : Catalog().protocolList())
        out << e->Name;
    return out;
}

std::vector<uint8_t> withBase(std::initializer_list<uint8_t> own)
{
    std::vector<uint8_t> v;
    for (uint8_t p = 1; p <= 16; ++p)
        v.push_back(p);
    v.insert(v.end(), own);
    return v;
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
        ListCase{0x5100,
                 {"10/11Corvet", "Bosch", "OBD2Q", "OBD2S", "OBD2P", "Delphi", "Delphi1", "PM 800T", "Uni."}},
        ListCase{0x5200,
                 {"10/11Corvet", "Delphi", "Yamaha", "Suzuki", "Honda", "Evinrude", "Evinrude2", "Carb.",
                  "Yam2018", "PM 800T", "Uni."}},
        ListCase{0x5800,
                 {"Mikas 10.3", "10/11Corvet", "Jan", "Mikas 7.6", "Микас 11", "Mikas 11E3", "M12", "OBD2Q",
                  "OBD2S", "OBD2P", "Toyota", "Toyota1", "Delphi", "Yamaha", "Suzuki", "Honda", "Evinrude",
                  "Evinrude2", "Hidea", "Carb.", "Yam2018", "Uni."}},
        ListCase{0x8082,
                 {"CAN Toyota", "Estima20", "Toyota Sai", "Prius2.0", "Prius3.0", "Lex RX450H", "Harrier",
                  "Prius3.5", "Lex RX400H", "Prius5.0", "Highlander7", "Prius5.1", "Harrier8.1", "Prius5.2",
                  "Camry 4.0", "Lex GS450H", "Estima10", "CAN"}},
        ListCase{0x8180,
                 {"CAN Toyota", "Estima20", "Toyota Sai", "Prius2.0", "Prius3.0", "Lex RX450H", "Harrier",
                  "Prius3.5", "Lex RX400H", "Prius5.0", "Highlander7", "Prius5.1", "Harrier8.1", "Prius5.2",
                  "Camry 4.0", "Lex GS450H", "Estima10", "CAN", "OBDPWM"}},
        ListCase{0x1234, {}}));

TEST(ProtocolCatalog, C000StartsWithTheCanGroupRowsAndSelectsTheFirst)
{
    LanguageGuard english(true);
    const QStringList list = names(0xC000);
    ASSERT_GE(list.size(), 4);
    EXPECT_EQ(list.mid(0, 4), (QStringList{"M74CAN", "M74.8", "M86", "UAZ 17971E5"}));
    EXPECT_EQ(list.size(), 85);
    EXPECT_EQ(Catalog().modelName(), "Model 17");
    ASSERT_NE(Catalog().currentProtocol(), nullptr);
    const TProtBase &m74 = *Catalog().currentProtocol();
    EXPECT_EQ(m74.Name, "M74CAN");
    EXPECT_EQ(m74.Number, 11);
    EXPECT_EQ(m74.DisplayParams, withBase({17, 18, 25, 20, 33, 22, 23, 24, 36, 37, 19}));
    EXPECT_TRUE(list.contains("Tiggo"));
    EXPECT_FALSE(list.contains("Bosch"));
    EXPECT_FALSE(list.contains("OBD2E"));
    EXPECT_TRUE(list.contains("VAG 14"));
    EXPECT_TRUE(list.contains("74L"));

    LanguageGuard russian(false);
    EXPECT_EQ(names(0xC000).mid(0, 4), (QStringList{"M74CAN", "M74.8", "M86", "УАЗ 17971E5"}));
}
