#include "tripctl_run.h"

#include <gtest/gtest.h>

#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>

namespace {

QStringList keysOf(const QJsonObject &o) { return o.keys(); }

} // namespace

TEST(TripctlCatalog, ProtocolListOfC000)
{
    const ToolRun r = RunTripctl({"catalog", "--device-type", "0xC000"});
    ASSERT_EQ(r.exitCode, 0) << r.err.constData();
    const QJsonObject o = r.json().object();
    EXPECT_EQ(o["modelName"].toString(), "Model 17");
    const QJsonArray protocols = o["protocols"].toArray();
    ASSERT_EQ(protocols.size(), 85);
    const QJsonObject first = protocols[0].toObject();
    EXPECT_EQ(first["name"].toString(), "M74CAN");
    EXPECT_EQ(first["number"].toInt(), 11);
    EXPECT_EQ(first["faultFormat"].toInt(), 1);
    EXPECT_EQ(first["displayParams"].toArray().size(), 27);
    EXPECT_EQ(first["blocks"].toArray().first().toInt(), 8);
    const QJsonArray options = first["options"].toArray();
    ASSERT_EQ(options.size(), 8);
    EXPECT_EQ(options[0].toObject(), (QJsonObject{{"caption", ""}, {"items", QJsonArray{}}}));
    EXPECT_EQ(options[1].toObject()["items"].toArray(), (QJsonArray{"1", "2", "1+2"}));
    const QJsonObject flags = first["flags"].toObject();
    EXPECT_EQ(flags.size(), 12);
    EXPECT_EQ(flags["EcuFuelSensors"].toInt(), 2);
    EXPECT_TRUE(flags["HasFanControl"].toBool());
    EXPECT_FALSE(flags["IsHybrid"].toBool());
    const QJsonArray present = o["blockPresent"].toArray();
    EXPECT_TRUE(present.contains(45));
    EXPECT_FALSE(present.contains(7));
}

TEST(TripctlCatalog, RussianAndDecimalType)
{
    const ToolRun r = RunTripctl({"catalog", "--lang", "ru", "--device-type", "49152"});
    ASSERT_EQ(r.exitCode, 0);
    const QJsonArray protocols = r.json().object()["protocols"].toArray();
    ASSERT_GE(protocols.size(), 4);
    EXPECT_EQ(protocols[3].toObject()["name"].toString(), "УАЗ 17971E5");
}

struct EmptyCase {
    const char *command;
};

class TripctlUnlistedTest : public ::testing::TestWithParam<EmptyCase> {};

TEST_P(TripctlUnlistedTest, UnlistedTypeGivesEmptyAnswers)
{
    const ToolRun r = RunTripctl({GetParam().command, "--device-type", "0x1234"});
    ASSERT_EQ(r.exitCode, 0) << r.err.constData();
    const QJsonDocument json = r.json();
    if (json.isObject()) {
        const QJsonObject o = json.object();
        EXPECT_EQ(o["modelName"].toString(), "");
        EXPECT_TRUE(o["protocols"].toArray().isEmpty());
        EXPECT_TRUE(o["blockPresent"].toArray().isEmpty());
    } else {
        ASSERT_TRUE(json.isArray());
        EXPECT_TRUE(json.array().isEmpty());
    }
}

INSTANTIATE_TEST_SUITE_P(Commands, TripctlUnlistedTest,
                         ::testing::Values(EmptyCase{"catalog"}, EmptyCase{"menu"}, EmptyCase{"params"}));

struct BadArgsCase {
    QStringList args;
};

class TripctlBadArgsTest : public ::testing::TestWithParam<BadArgsCase> {};

TEST_P(TripctlBadArgsTest, RefusedAsUsageErrors)
{
    const ToolRun r = RunTripctl(GetParam().args);
    EXPECT_EQ(r.exitCode, 2);
    EXPECT_FALSE(r.err.isEmpty());
}

INSTANTIATE_TEST_SUITE_P(Commands, TripctlBadArgsTest,
                         ::testing::Values(BadArgsCase{{"catalog"}},
                                           BadArgsCase{{"catalog", "--device-type", "0x10000"}},
                                           BadArgsCase{{"menu", "--device-type", "C000"}},
                                           BadArgsCase{{"params", "--device-type", "0xC000", "--lang", "de"}},
                                           BadArgsCase{{"params", "--device-type", "0xC000", "extra"}}));

TEST(TripctlCatalog, MenuItemsInCatalogOrder)
{
    const ToolRun r = RunTripctl({"menu", "--device-type", "0x4010"});
    ASSERT_EQ(r.exitCode, 0);
    const QJsonArray items = r.json().array();
    ASSERT_FALSE(items.isEmpty());
    EXPECT_EQ(
        items[0].toObject(),
        (QJsonObject{{"code", 1}, {"identifier", "VirtLockMenu"}, {"caption", "Virtual Lock On/Off"}, {"kind", 0}}));
    int previous = 0;
    for (const auto &v : items) {
        EXPECT_GT(v.toObject()["code"].toInt(), previous);
        previous = v.toObject()["code"].toInt();
    }
}

TEST(TripctlCatalog, ParametersWithEveryField)
{
    const ToolRun r = RunTripctl({"params", "--device-type", "0x4010", "--lang", "ru"});
    ASSERT_EQ(r.exitCode, 0);
    const QJsonArray params = r.json().array();
    ASSERT_EQ(params.size(), 63);
    const QJsonObject p14 = params[3].toObject();
    QStringList expectedKeys{"ParameterNumber", "GaugeSlot", "Graphable", "Sample",    "Min",       "Max",
                             "ScaleMin",        "ScaleMax",  "Width",     "Decimals",  "Name",      "SampleText",
                             "LongName",        "MinText",   "MaxText",   "CellName4", "CellUnit4", "CellName9",
                             "CellUnit9",       "PanelName", "GaugeName", "GaugeUnit", "GraphName", "ExtendedRange"};
    expectedKeys.sort();
    EXPECT_EQ(keysOf(p14), expectedKeys);
    EXPECT_EQ(p14["ParameterNumber"].toInt(), 14);
    EXPECT_EQ(p14["Max"].toInt(), 240); // as created, before PrepareData
    EXPECT_EQ(p14["MaxText"].toString(), "");
    EXPECT_EQ(p14["SampleText"].toString(), " 10.0");
    EXPECT_EQ(params[9].toObject()["Name"].toString(), "Упр.БСвет"); // number 11 on this model
}
