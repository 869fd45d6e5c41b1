#include "blocks.h"
#include "settings_file.h"
#include "tmk.h"

#include <gtest/gtest.h>

#include <QFile>
#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>
#include <QProcess>
#include <QTemporaryDir>

namespace {

struct ToolRun {
    int exitCode = -1;
    QByteArray out;
    QByteArray err;
};

ToolRun tripctl(const QStringList &args)
{
    QProcess p;
    p.start(QStringLiteral(TRIPCTL_PATH), args);
    ToolRun r;
    if (!p.waitForFinished(30000))
        return r;
    r.exitCode = p.exitCode();
    r.out = p.readAllStandardOutput();
    r.err = p.readAllStandardError();
    return r;
}

QString writeSample(const QTemporaryDir &dir)
{
    TMK m(0xC000);
    SetU8(m.block(mem::LimitsBlock), 4, 60);
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

    const ToolRun shown = tripctl({"settings", a, "--json"});
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
    EXPECT_EQ(speed, (QJsonObject{{"name", "seVelocityLimit"}, {"page", "tsLim"}, {"caption", "Speed, km/h"},
                                  {"visible", true}, {"value", 120}, {"min", 40}, {"max", 200}, {"step", 2}}));
    EXPECT_EQ(tacho.keys(), (QStringList{"caption", "items", "name", "page", "value", "visible"}));

    const QString out = dir.filePath(QStringLiteral("b.kelmg"));
    const ToolRun refused = tripctl({"set", a, "seVelocityLimit=130", "seVelocityLimit=121", "-o", out});
    EXPECT_NE(refused.exitCode, 0);
    EXPECT_TRUE(refused.err.contains("seVelocityLimit")) << refused.err.constData();
    EXPECT_FALSE(QFile::exists(out));
    for (const char *bad : {"seNoSuch=1", "rgGasMeth=1", "cbUseTank2=2", "rgForsCoef=3"})
        EXPECT_NE(tripctl({"set", a, bad, "-o", out}).exitCode, 0) << bad;
    EXPECT_FALSE(QFile::exists(out));

    const ToolRun set = tripctl({"set", a, "seVelocityLimit=130", "-o", out});
    ASSERT_EQ(set.exitCode, 0) << set.err.constData();
    const ToolRun diff = tripctl({"diff", a, out, "--json"});
    ASSERT_EQ(diff.exitCode, 0) << diff.err.constData();
    EXPECT_EQ(QJsonDocument::fromJson(diff.out).array(),
              (QJsonArray{QJsonObject{{"name", "seVelocityLimit"}, {"caption", "Speed, km/h"}, {"from", 120}, {"to", 130}}}));
}
