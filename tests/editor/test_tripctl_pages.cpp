#include "blocks.h"
#include "settings_file.h"
#include "tmk.h"
#include "tripctl_run.h"

#include <gtest/gtest.h>

#include <QFile>
#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>
#include <QTemporaryDir>
#include <functional>

namespace {

QString sample(const QTemporaryDir &dir, uint16_t type, const std::function<void(TMK &)> &tweak)
{
    TMK m(type);
    m.DeviceType = type;
    tweak(m);
    m.FormatImage(9);
    const QString path = dir.filePath(QStringLiteral("s%1.kelmg").arg(type));
    SaveSettingsFile(m, path);
    return path;
}

QJsonObject entry(int code, const char *name) { return {{"code", code}, {"name", QString::fromUtf8(name)}}; }

} // namespace

TEST(TripctlPages, HotMenuAsThePageShowsIt)
{
    QTemporaryDir dir;
    const QString file = sample(dir, 0xC000, [](TMK &m) {
        uint8_t *d = m.block(mem::DisplayBlock);
        for (int i = 0; i < 40; ++i)
            SetU16(d, 196 + 2 * i, 0);
        SetU16(d, 196 + 2, 2);     // line 0: a hole first
        SetU16(d, 196 + 6, 60000); // a code no item has
        SetU16(d, 256 + 18, 1);    // line 3, last entry
    });
    const ToolRun en = RunTripctl({"hotmenu", file, "--json"});
    ASSERT_EQ(en.exitCode, 0) << en.err.constData();
    const QJsonArray lines = QJsonDocument::fromJson(en.out).array();
    ASSERT_EQ(lines.size(), 4);
    for (const auto &line : lines)
        EXPECT_EQ(line.toArray().size(), 10);
    EXPECT_EQ(lines[0].toArray()[0].toObject(), entry(2, "Refuel.until full"));
    EXPECT_EQ(lines[0].toArray()[1].toObject(), entry(60000, ""));
    EXPECT_EQ(lines[0].toArray()[2].toObject(), entry(0, ""));
    EXPECT_EQ(lines[3].toArray()[0].toObject(), entry(1, "Virtual Lock On/Off"));

    const ToolRun ru = RunTripctl({"hotmenu", file, "--lang", "ru", "--json"});
    EXPECT_EQ(QJsonDocument::fromJson(ru.out).array()[0].toArray()[0].toObject(), entry(2, "Заправка до полн."));
    EXPECT_EQ(RunTripctl({"hotmenu", file}).exitCode, 2);
}

TEST(TripctlPages, SystemsInCatalogOrder)
{
    QTemporaryDir dir;
    const QString file = sample(dir, 0xC000, [](TMK &m) {
        uint8_t *s = m.block(mem::ServiceBlock);
        s[20] = 0x81; // both show choices
        s[21] = 0x01; // system 8
    });
    const ToolRun r = RunTripctl({"systems", file, "--json"});
    ASSERT_EQ(r.exitCode, 0) << r.err.constData();
    const QJsonObject o = QJsonDocument::fromJson(r.out).object();
    EXPECT_EQ(o.keys(), (QStringList{"available", "show", "showList"}));
    EXPECT_EQ(o["show"], 1);
    EXPECT_EQ(o["showList"], 1);
    const QJsonArray available = o["available"].toArray();
    ASSERT_GT(available.size(), 100);
    EXPECT_EQ(available[0].toObject(), (QJsonObject{{"number", 8}, {"name", "Иммо АПС-4"}, {"selected", true}}));
    EXPECT_EQ(available[1].toObject()["number"], 10);
    EXPECT_EQ(available[1].toObject()["selected"], false);

    const ToolRun none = RunTripctl({"systems", sample(dir, 0x1234, [](TMK &) {}), "--json"});
    ASSERT_EQ(none.exitCode, 0) << none.err.constData();
    EXPECT_EQ(QJsonDocument::fromJson(none.out).object()["available"].toArray().size(), 0);
}

TEST(TripctlPages, SetRefusesEqualAdcReadings)
{
    QTemporaryDir dir;
    const QString file = sample(dir, 0x5800, [](TMK &) {}); // a model with trim
    const QString out = dir.filePath(QStringLiteral("out.kelmg"));
    const ToolRun refused = RunTripctl({"set", file, "seUniMeasADC1=0", "-o", out});
    EXPECT_EQ(refused.exitCode, 1);
    EXPECT_TRUE(refused.err.contains("Min and Max ADC Values should differ.")) << refused.err.constData();
    EXPECT_FALSE(QFile::exists(out));
    const ToolRun set =
        RunTripctl({"set", file, "seUniMeasADC0=10", "seUniMeasADC1=700", "seUniMeasDat1=-180", "-o", out});
    ASSERT_EQ(set.exitCode, 0) << set.err.constData();
    TMK m;
    LoadSettingsFile(m, out);
    EXPECT_EQ(GetI16(m.block(mem::ServiceBlock), 108), 10);
    EXPECT_EQ(GetI16(m.block(mem::ServiceBlock), 110), 700);
    EXPECT_EQ(GetI16(m.block(mem::ServiceBlock), 114), -180);
}
