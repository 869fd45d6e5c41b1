#include "kv_rs.h"
#include "settings_file.h"
#include "sim_process.h"
#include "tmk.h"
#include "tripctl_run.h"

#include <QDir>
#include <QFile>
#include <QProcess>
#include <QTemporaryDir>
#include <QThread>
#include <gtest/gtest.h>

#include <csignal>

namespace {

void startTripctl(QProcess &p, const QStringList &args, const QString &home)
{
    QProcessEnvironment env = QProcessEnvironment::systemEnvironment();
    env.insert(QStringLiteral("HOME"), home);
    env.insert(QStringLiteral("XDG_DATA_HOME"), home + QStringLiteral("/data"));
    p.setProcessEnvironment(env);
    StartTripctl(p, args);
}

ToolRun tripctl(const QStringList &args, const QString &home)
{
    QProcess p;
    startTripctl(p, args, home);
    return FinishTripctl(p, 60000);
}

// The backup path tripctl named on the line "... saved to PATH".
QString backupNamed(const QString &err)
{
    for (const QString &line : err.split(QLatin1Char('\n')))
        if (line.startsWith(QStringLiteral("The device's settings before the write were saved to ")))
            return line.mid(line.lastIndexOf(QLatin1Char(' ')) + 1);
    return {};
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
    ASSERT_EQ(r.exitCode, 0) << r.errText().toStdString();
    TMK model;
    LoadSettingsFile(model, out);
    EXPECT_EQ(model.SettingsImage, image);
    EXPECT_TRUE(QFile(log).size() > 0);

    r = tripctl({QStringLiteral("write"), QStringLiteral("--port"), sim.path(), out}, dir.path());
    ASSERT_EQ(r.exitCode, 0) << r.errText().toStdString();
    EXPECT_TRUE(r.errText().contains(QStringLiteral("The settings are recorded in the device")));
    // The backup went under the user's data folder and was named there.
    EXPECT_TRUE(r.errText().contains(dir.path() + QStringLiteral("/data/"))) << r.errText().toStdString();
    EXPECT_EQ(sim.savedImage(), image);

    // Without the read-back the last line does not claim a checked write.
    SimProcess again({QStringLiteral("--echo"), file});
    r = tripctl({QStringLiteral("write"), QStringLiteral("--no-verify"), QStringLiteral("--port"), again.path(), out},
                dir.path());
    ASSERT_EQ(r.exitCode, 0) << r.errText().toStdString();
    EXPECT_TRUE(r.errText().trimmed().endsWith(
        QStringLiteral("The settings were sent to the device; they were not read back and checked (--no-verify).")))
        << r.errText().toStdString();
    const std::vector<int> fns = again.functions();
    EXPECT_EQ(fns.back(), 7); // no page read after the last block
}

// A write that ends after its first block says the device may be partly
// written, where its old settings are and how to write them back; a read that
// ends leaves no file. Signals stop between frames with 128 + the signal.
TEST(Tripctl, TransfersThatEndHalfwaySayWhatTheyLeft)
{
    struct Case {
        const char *command;
        QStringList fault; // from request 256 on the write sends blocks
        int signal;        // sent once the transfer is under way
        int code;
    };
    const Case cases[] = {
        {"write", {QStringLiteral("delay=150:256+")}, SIGINT, 130},
        {"write", {QStringLiteral("silence:280+")}, 0, 1},
        {"read", {QStringLiteral("delay=40")}, SIGTERM, 143},
    };
    for (const Case &c : cases) {
        SCOPED_TRACE(std::string(c.command) + " " + std::to_string(c.signal));
        QTemporaryDir dir;
        const QString file = WriteSimSettings(dir.path(), FormattedImage(2), 0xC000);
        SimProcess sim({QStringLiteral("--echo"), QStringLiteral("--fault"), c.fault.join(QLatin1Char(' ')), file});
        const bool write = QLatin1String(c.command) == QLatin1String("write");
        const QString out = dir.filePath(QStringLiteral("out.kelmg"));
        QProcess p;
        startTripctl(p,
                     QStringList{QString::fromLatin1(c.command), QStringLiteral("--port"), sim.path()} +
                         (write ? QStringList{file} : QStringList{QStringLiteral("-o"), out}),
                     dir.path());
        if (c.signal) {
            const int under = write ? 12 : 5; // a block opened, a page read
            auto started = [&] {
                const std::vector<int> fns = sim.functions();
                return std::find(fns.begin(), fns.end(), under) != fns.end();
            };
            for (int i = 0; i < 1000 && !started(); ++i)
                QThread::msleep(10);
            ASSERT_EQ(::kill(pid_t(p.processId()), c.signal), 0);
        }
        ASSERT_TRUE(p.waitForFinished(60000));
        const QString err = QString::fromUtf8(p.readAllStandardError());
        EXPECT_EQ(p.exitStatus(), QProcess::NormalExit);
        EXPECT_EQ(p.exitCode(), c.code) << err.toStdString();
        if (write) {
            const QString backup = backupNamed(err);
            ASSERT_FALSE(backup.isEmpty()) << err.toStdString();
            EXPECT_TRUE(err.contains(QStringLiteral("The device may be partly written. Its settings before the write "
                                                    "are in the file %1. To restore them, run: tripctl write --port "
                                                    "%2 %1")
                                         .arg(backup, sim.path())))
                << err.toStdString();
            EXPECT_FALSE(err.contains(QStringLiteral("The settings are recorded in the device")));
        } else {
            EXPECT_FALSE(QFile::exists(out));
            EXPECT_TRUE(err.contains(QStringLiteral("No settings file was written."))) << err.toStdString();
        }
        // Stopped between frames: the simulator never saw a request cut short.
        QFile log(sim.dir() + QStringLiteral("/sim.log"));
        ASSERT_TRUE(log.open(QIODevice::ReadOnly));
        EXPECT_FALSE(log.readAll().contains("incomplete"));
    }
}

// A read needs a power cycle of the device: a file that cannot be written is
// refused before anything is sent.
TEST(Tripctl, ReadRefusesAnOutputItCannotWriteBeforeSending)
{
    QTemporaryDir dir;
    SimProcess sim({QStringLiteral("--echo")});
    const QString outputs[] = {dir.filePath(QStringLiteral("no/such/folder/x.kelmg")), dir.path(),
                               QStringLiteral("/proc/x.kelmg")};
    for (const QString &out : outputs) {
        const ToolRun r = tripctl(
            {QStringLiteral("read"), QStringLiteral("--port"), sim.path(), QStringLiteral("-o"), out}, dir.path());
        EXPECT_EQ(r.exitCode, 1) << out.toStdString();
        EXPECT_TRUE(r.errText().contains(QStringLiteral("nothing was sent to the device"), Qt::CaseInsensitive))
            << r.errText().toStdString();
    }
    EXPECT_TRUE(sim.functions().empty());
    EXPECT_EQ(QDir(dir.path()).entryList(QDir::Files | QDir::NoDotAndDotDot), QStringList());
}

// Every loader refuses a file larger than a device image, without reading it whole.
TEST(Tripctl, LoadersRefuseFilesNoDeviceHolds)
{
    QTemporaryDir dir;
    const QString path = dir.filePath(QStringLiteral("huge.kelmg"));
    {
        QFile f(path);
        ASSERT_TRUE(f.open(QIODevice::WriteOnly));
        f.write(SettingsFileBytes(0xC000, FormattedImage(1)));
        ASSERT_TRUE(f.resize(100 * 1000 * 1000));
    }
    const QString named = QStringLiteral("The file %1 is not a settings file or is damaged.").arg(path);
    for (const QStringList &args :
         {QStringList{QStringLiteral("dump"), path},
          QStringList{QStringLiteral("write"), QStringLiteral("--port"), QStringLiteral("/dev/null"), path}}) {
        const ToolRun r = tripctl(args, dir.path());
        EXPECT_EQ(r.exitCode, 1);
        EXPECT_TRUE(r.errText().contains(named)) << r.errText().toStdString();
    }
    QProcess sim;
    sim.start(QStringLiteral(TRIPSIM_PATH), {path});
    ASSERT_TRUE(sim.waitForFinished(10000));
    EXPECT_EQ(sim.exitCode(), 1); // a file it cannot use, not a bad command line
    EXPECT_TRUE(QString::fromUtf8(sim.readAllStandardError()).contains(named));
}

TEST(Tripctl, FailuresPrintTheTextAndExitNonZero)
{
    QTemporaryDir dir;
    {
        SimProcess sim({QStringLiteral("--echo"), QStringLiteral("--fault"), QStringLiteral("silence")});
        const ToolRun r =
            tripctl({QStringLiteral("read"), QStringLiteral("--port"), sim.path(), QStringLiteral("--wait"),
                     QStringLiteral("0.3"), QStringLiteral("-o"), dir.filePath(QStringLiteral("x.kelmg"))},
                    dir.path());
        EXPECT_NE(r.exitCode, 0);
        EXPECT_TRUE(r.errText().contains(TKV_RS::NoLinkText())) << r.errText().toStdString();
        EXPECT_FALSE(QFile::exists(dir.filePath(QStringLiteral("x.kelmg"))));
    }
    {
        const QString file = WriteSimSettings(dir.path(), FormattedImage(1), 0xC000);
        SimProcess sim({QStringLiteral("--echo"), QStringLiteral("--device-type"), QStringLiteral("0xC001")});
        const ToolRun r = tripctl({QStringLiteral("write"), QStringLiteral("--port"), sim.path(), file}, dir.path());
        EXPECT_NE(r.exitCode, 0);
        EXPECT_TRUE(r.errText().contains(QStringLiteral("The settings version does not match the device version!")))
            << r.errText().toStdString();
        EXPECT_EQ(sim.functions(), std::vector<int>{1});
    }
    {
        const ToolRun r = tripctl({QStringLiteral("read"), QStringLiteral("--port"), QStringLiteral("/dev/ttyUSB-gone"),
                                   QStringLiteral("-o"), dir.filePath(QStringLiteral("y.kelmg"))},
                                  dir.path());
        EXPECT_NE(r.exitCode, 0);
        EXPECT_TRUE(r.errText().contains(QStringLiteral("/dev/ttyUSB-gone"))) << r.errText().toStdString();
        EXPECT_FALSE(r.errText().contains(QStringLiteral("choose the port")))
            << r.errText().toStdString(); // a dialog's words
    }
}

} // namespace
