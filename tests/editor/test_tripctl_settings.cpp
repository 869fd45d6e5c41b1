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

namespace {

QString writeSample(const QTemporaryDir &dir, uint16_t type = 0xC000)
{
    TMK m(type);
    m.DeviceType = type;
    SetU8(m.block(mem::LimitsBlock), 4, 60);
    SetU8(m.block(mem::ServiceBlock), 0, 15);
    m.FormatImage(9);
    const QString path = dir.filePath(QStringLiteral("a.kelmg"));
    SaveSettingsFile(m, path);
    return path;
}

} // namespace

TEST(TripctlSettings, ShowsSetsAndDiffs)
{
    QTemporaryDir dir;
    const QString a = writeSample(dir);

    const ToolRun shown = RunTripctl({"settings", a, "--json"});
    ASSERT_EQ(shown.exitCode, 0) << shown.err.constData();
    const QJsonArray rows = QJsonDocument::fromJson(shown.out).array();
    ASSERT_FALSE(rows.isEmpty());
    QJsonObject speed, tacho;
    for (const auto &r : rows) {
        const QJsonObject o = r.toObject();
        if (o["name"] == QLatin1String("seVelocityLimit"))
            speed = o;
        if (o["name"] == QLatin1String("rgForsCoef"))
            tacho = o;
    }
    EXPECT_EQ(speed, (QJsonObject{{"name", "seVelocityLimit"},
                                  {"page", "tsLim"},
                                  {"caption", "Speed, km/h"},
                                  {"visible", true},
                                  {"value", 120},
                                  {"min", 40},
                                  {"max", 200},
                                  {"step", 2}}));
    EXPECT_EQ(tacho.keys(), (QStringList{"caption", "items", "name", "page", "value", "visible"}));

    const QString out = dir.filePath(QStringLiteral("b.kelmg"));
    const ToolRun refused = RunTripctl({"set", a, "seVelocityLimit=130", "seVelocityLimit=121", "-o", out});
    EXPECT_NE(refused.exitCode, 0);
    EXPECT_TRUE(refused.err.contains("seVelocityLimit")) << refused.err.constData();
    EXPECT_FALSE(QFile::exists(out));
    for (const char *bad : {"seNoSuch=1", "rgGasMeth=1", "cbUseTank2=2", "rgForsCoef=3"})
        EXPECT_NE(RunTripctl({"set", a, bad, "-o", out}).exitCode, 0) << bad;
    EXPECT_FALSE(QFile::exists(out));

    const ToolRun set = RunTripctl({"set", a, "seVelocityLimit=130", "-o", out});
    ASSERT_EQ(set.exitCode, 0) << set.err.constData();
    const ToolRun diff = RunTripctl({"diff", a, out, "--json"});
    ASSERT_EQ(diff.exitCode, 0) << diff.err.constData();
    EXPECT_EQ(
        QJsonDocument::fromJson(diff.out).array(),
        (QJsonArray{QJsonObject{{"name", "seVelocityLimit"}, {"caption", "Speed, km/h"}, {"from", 120}, {"to", 130}}}));
}

// The single service interval is kept in tenths: shown, set and compared so.
TEST(TripctlSettings, SingleServiceIntervalInTenths)
{
    QTemporaryDir dir;
    const QString a = writeSample(dir, 0x5100);
    const ToolRun shown = RunTripctl({"settings", a, "--json"});
    ASSERT_EQ(shown.exitCode, 0) << shown.err.constData();
    QJsonObject interval;
    for (const auto &r : QJsonDocument::fromJson(shown.out).array())
        if (r.toObject()["name"] == QLatin1String("seAirFiltCntK"))
            interval = r.toObject();
    EXPECT_EQ(interval["value"].toDouble(), 1.5);
    EXPECT_EQ(interval["max"].toDouble(), 9.9);

    const QString out = dir.filePath(QStringLiteral("b.kelmg"));
    ASSERT_EQ(RunTripctl({"set", a, "seAirFiltCntK=2.5", "-o", out}).exitCode, 0);
    const ToolRun diff = RunTripctl({"diff", a, out, "--json"});
    ASSERT_EQ(diff.exitCode, 0) << diff.err.constData();
    EXPECT_EQ(
        QJsonDocument::fromJson(diff.out).array(),
        (QJsonArray{QJsonObject{{"name", "seAirFiltCntK"}, {"caption", "TS th.km"}, {"from", 1.5}, {"to", 2.5}}}));
}

namespace {

std::unique_ptr<TMK> loaded(const QString &path)
{
    auto m = std::make_unique<TMK>(0xC000);
    LoadSettingsFile(*m, path);
    m->UnpackAll();
    return m;
}

QByteArray readAll(const QString &path)
{
    QFile f(path);
    return f.open(QIODevice::ReadOnly) ? f.readAll() : QByteArray();
}

void writeAll(const QString &path, const QByteArray &bytes)
{
    QFile f(path);
    ASSERT_TRUE(f.open(QIODevice::WriteOnly));
    f.write(bytes);
}

} // namespace

TEST(TripctlSettings, TankAndServiceFilesExportAndImport)
{
    QTemporaryDir dir;
    const QString a = writeSample(dir);
    const QString kelmo = dir.filePath(QStringLiteral("t.kelmo"));
    const ToolRun exported = RunTripctl({"tank", "export", a, "-o", kelmo});
    ASSERT_EQ(exported.exitCode, 0) << exported.err.constData();
    const QByteArray tank = readAll(kelmo);
    ASSERT_EQ(tank.size(), 245);
    EXPECT_EQ(tank.left(2), QByteArray("\xE8\x03", 2)); // code at point 1 of a new model: 1000
    EXPECT_EQ(tank.at(39), 15);                         // its tare count

    // A short file fills the leading fields only.
    QByteArray short40 = tank.left(40);
    short40[0] = 0x22;
    short40[39] = 3;
    writeAll(dir.filePath(QStringLiteral("short.kelmo")), short40);
    const QString out = dir.filePath(QStringLiteral("out.kelmg"));
    const ToolRun imported = RunTripctl({"tank", "import", a, dir.filePath(QStringLiteral("short.kelmo")), "-o", out});
    ASSERT_EQ(imported.exitCode, 0) << imported.err.constData();
    const auto m = loaded(out);
    EXPECT_EQ(GetU16(m->block(mem::FuelBlock), 0), 0x322);
    EXPECT_EQ(GetU8(m->block(mem::TankTableBlock), 2), 3);
    EXPECT_EQ(GetU8(m->block(mem::TankTableBlock), 8), 16); // tare litres as they were

    const QString kelmt = dir.filePath(QStringLiteral("s.kelmt"));
    ASSERT_EQ(RunTripctl({"service", "export", a, "--output", kelmt}).exitCode, 0);
    QByteArray service = readAll(kelmt);
    ASSERT_EQ(service.size(), 117);
    service.replace(60, 4, QByteArray("Abc\0", 4));
    service.append(QByteArray(50, '\x7F')); // past the last field
    writeAll(kelmt, service);
    const QString out2 = dir.filePath(QStringLiteral("out2.kelmg"));
    ASSERT_EQ(RunTripctl({"service", "import", a, kelmt, "-o", out2}).exitCode, 0);
    EXPECT_EQ(QByteArray(reinterpret_cast<const char *>(loaded(out2)->block(mem::ServiceBlock)) + 52, 4),
              QByteArray("Abc\0", 4));

    // A file that cannot be read: a message, a failure, OUT untouched.
    const QString out3 = dir.filePath(QStringLiteral("out3.kelmg"));
    for (const char *kind : {"tank", "service"}) {
        const ToolRun failed = RunTripctl({kind, "import", a, dir.filePath(QStringLiteral("missing")), "-o", out3});
        EXPECT_EQ(failed.exitCode, 1) << kind;
        EXPECT_FALSE(failed.err.isEmpty());
    }
    EXPECT_FALSE(QFile::exists(out3));
    EXPECT_EQ(RunTripctl({"tank", "export", a}).exitCode, 2);
}

TEST(TripctlSettings, SetsAlertsNamesAndDates)
{
    QTemporaryDir dir;
    const QString a = writeSample(dir);
    const QString out = dir.filePath(QStringLiteral("b.kelmg"));
    const ToolRun set = RunTripctl({"set", a, "rgapVel_F=2", "rgapVel_N=1", "rgapTO_F=3", "eForsTOCntK=Форсунки",
                                    "deTO=01.03.24", "cbResetPeriod1=0", "-o", out});
    ASSERT_EQ(set.exitCode, 0) << set.err.constData();
    const auto m = loaded(out);
    EXPECT_EQ(GetU8(m->block(mem::SoundBlock), 2), 10);
    EXPECT_EQ(GetU8(m->block(mem::SoundBlock), 6), 27);
    EXPECT_EQ(GetU8(m->block(mem::ServiceBlock), 52 + 8), 0);
    EXPECT_EQ(GetU16(m->block(mem::ServiceBlock), 8), DayNumber(1, 3, 24));
    EXPECT_EQ(GetU8(m->block(mem::TotalsBlock), 153), 255);
    for (const char *bad :
         {"rgapVel_F=5", "deTO=31.02.24", "eForsTOCntK=0123456789abcdef", "rgapRetarderOilTemperHigh_F=1"})
        EXPECT_NE(RunTripctl({"set", a, bad, "-o", out}).exitCode, 0) << bad;
}
