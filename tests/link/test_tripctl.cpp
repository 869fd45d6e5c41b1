#include "kv_rs.h"
#include "settings_file.h"
#include "sim_process.h"
#include "tmk.h"

#include <QDir>
#include <QFile>
#include <QProcess>
#include <QTemporaryDir>
#include <gtest/gtest.h>

namespace {

struct ToolRun {
    int code = -1;
    QString err;
};

ToolRun tripctl(const QStringList &args, const QString &home)
{
    QProcess p;
    QProcessEnvironment env = QProcessEnvironment::systemEnvironment();
    env.insert(QStringLiteral("HOME"), home);
    env.insert(QStringLiteral("XDG_DATA_HOME"), home + QStringLiteral("/data"));
    p.setProcessEnvironment(env);
    p.start(QStringLiteral(TRIPCTL_PATH), args);
    p.waitForFinished(60000);
    return {p.exitCode(), QString::fromUtf8(p.readAllStandardError())};
}

TEST(Tripctl, ReadThenWriteBackThroughTheSimulator)
{
    QTemporaryDir dir;
    const QByteArray image = FormattedImage(4);
    const QString file = WriteSimSettings(dir.path(), image, 0xC000);
    SimProcess sim({QStringLiteral("--echo"), file});
    const QString out = dir.filePath(QStringLiteral("read.kelmg"));
    const QString log = dir.filePath(QStringLiteral("link.log"));
    ToolRun r = tripctl({QStringLiteral("read"), QStringLiteral("--port"), sim.path(), QStringLiteral("--log"), log,
                     QStringLiteral("-o"), out},
                    dir.path());
    ASSERT_EQ(r.code, 0) << r.err.toStdString();
    TMK model;
    LoadSettingsFile(model, out);
    EXPECT_EQ(model.SettingsImage, image);
    EXPECT_TRUE(QFile(log).size() > 0);

    r = tripctl({QStringLiteral("write"), QStringLiteral("--port"), sim.path(), out}, dir.path());
    ASSERT_EQ(r.code, 0) << r.err.toStdString();
    EXPECT_TRUE(r.err.contains(QStringLiteral("The settings are recorded in the device")));
    // The backup went under the user's data folder and was named there.
    EXPECT_TRUE(r.err.contains(dir.path() + QStringLiteral("/data/"))) << r.err.toStdString();
    EXPECT_EQ(sim.savedImage(), image);
}

TEST(Tripctl, FailuresPrintTheTextAndExitNonZero)
{
    QTemporaryDir dir;
    {
        SimProcess sim({QStringLiteral("--echo"), QStringLiteral("--fault"), QStringLiteral("silence")});
        const ToolRun r = tripctl({QStringLiteral("read"), QStringLiteral("--port"), sim.path(), QStringLiteral("--wait"),
                               QStringLiteral("0.3"), QStringLiteral("-o"), dir.filePath(QStringLiteral("x.kelmg"))},
                              dir.path());
        EXPECT_NE(r.code, 0);
        EXPECT_TRUE(r.err.contains(TKV_RS::NoLinkText())) << r.err.toStdString();
        EXPECT_FALSE(QFile::exists(dir.filePath(QStringLiteral("x.kelmg"))));
    }
    {
        const QString file = WriteSimSettings(dir.path(), FormattedImage(1), 0xC000);
        SimProcess sim({QStringLiteral("--echo"), QStringLiteral("--device-type"), QStringLiteral("0xC001")});
        const ToolRun r = tripctl({QStringLiteral("write"), QStringLiteral("--port"), sim.path(), file}, dir.path());
        EXPECT_NE(r.code, 0);
        EXPECT_TRUE(r.err.contains(QStringLiteral("The settings version does not match the device version!")))
            << r.err.toStdString();
        EXPECT_EQ(sim.functions(), std::vector<int>{1});
    }
    {
        const ToolRun r = tripctl({QStringLiteral("read"), QStringLiteral("--port"), QStringLiteral("/dev/ttyUSB-gone"),
                               QStringLiteral("-o"), dir.filePath(QStringLiteral("y.kelmg"))},
                              dir.path());
        EXPECT_NE(r.code, 0);
        EXPECT_TRUE(r.err.contains(QStringLiteral("/dev/ttyUSB-gone"))) << r.err.toStdString();
    }
}

} // namespace
