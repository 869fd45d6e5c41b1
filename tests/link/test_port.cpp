#include "kv_rs.h"
#include "language.h"
#include "sim_process.h"

#include <QSettings>
#include <QTemporaryDir>
#include <gtest/gtest.h>

namespace {

TEST(Port, OpenErrorsSayWhatToDo)
{
    SetEnglishVersion(true);
    TKV_RS link;
    EXPECT_FALSE(link.OpenPath(QStringLiteral("/dev/ttyUSB-not-plugged-in")));
    EXPECT_TRUE(link.LastOpenError().contains(QStringLiteral("unplugged"))) << link.LastOpenError().toStdString();
    EXPECT_FALSE(link.IsOpen());

    EXPECT_FALSE(link.OpenPath(QStringLiteral("/dev/null")));
    EXPECT_TRUE(link.LastOpenError().contains(QStringLiteral("not a serial port")))
        << link.LastOpenError().toStdString();
}

TEST(Port, ASecondOpenOfTheSamePortIsRefusedAsBusy)
{
    SetEnglishVersion(true);
    SimProcess sim({});
    TKV_RS first;
    ASSERT_TRUE(first.OpenPath(sim.path())) << first.LastOpenError().toStdString();
    TKV_RS second;
    EXPECT_FALSE(second.OpenPath(sim.path()));
    EXPECT_TRUE(second.LastOpenError().contains(QStringLiteral("busy"))) << second.LastOpenError().toStdString();
    first.ClosePort();
    EXPECT_TRUE(second.OpenPath(sim.path())) << second.LastOpenError().toStdString();
}

TEST(Port, PseudoTerminalTakesTheLineSettings)
{
    SimProcess sim({});
    TKV_RS link;
    ASSERT_TRUE(link.OpenPath(sim.path()));
    link.SetBaudRate(19200);
    EXPECT_EQ(link.BaudRate, 19200u);
    link.SetBaudRate(12345); // no such speed: the port keeps its own
    EXPECT_EQ(link.BaudRate, 19200u);
    link.SetDTR(true); // no modem lines: no harm
    link.SetRTS(false);
}

TEST(Port, IniKeepsNumberAndPathAndFindsThePathAgain)
{
    QTemporaryDir dir;
    const QString iniPath = dir.filePath(QStringLiteral("tripconf.ini"));
    SimProcess sim({});
    {
        TKV_RS link;
        ASSERT_TRUE(link.OpenPath(sim.path()));
        const int n = link.PortNumber;
        EXPECT_GE(n, 1);
        EXPECT_EQ(link.PortPath(n), sim.path());
        link.ClosePort();
        QSettings ini(iniPath, QSettings::IniFormat);
        link.SavePortSettings(ini);
        ini.sync();
        EXPECT_EQ(ini.value(QStringLiteral("RS232/Port")).toInt(), n);
        EXPECT_EQ(ini.value(QStringLiteral("RS232/Path")).toString(), sim.path());
    }
    {
        // A stale number: the path decides.
        QSettings ini(iniPath, QSettings::IniFormat);
        ini.setValue(QStringLiteral("RS232/Port"), 31);
        TKV_RS link;
        link.LoadPortSettings(ini);
        EXPECT_TRUE(link.IsOpen()) << link.LastOpenError().toStdString();
        EXPECT_EQ(link.OpenedPath(), sim.path());
        EXPECT_EQ(link.PortPath(link.PortNumber), sim.path());
    }
}

TEST(Port, NamedPortsKeepTheirNumbersAndABusyOneIsNotAvailable)
{
    SimProcess a({});
    SimProcess b({});
    TKV_RS holder;
    TKV_RS link;
    link.AddUserPort(a.path());
    link.AddUserPort(b.path());
    link.EnumeratePorts();
    const int na = link.PortNumberOfPath(a.path());
    const int nb = link.PortNumberOfPath(b.path());
    ASSERT_GT(na, 0);
    EXPECT_EQ(nb, na + 1);
    EXPECT_TRUE(link.AvailablePorts & (1u << (na - 1)));
    EXPECT_TRUE(link.AvailablePorts & (1u << (nb - 1)));

    ASSERT_TRUE(holder.OpenPath(a.path()));
    const uint8_t count = link.EnumeratePorts();
    EXPECT_EQ(link.PortNumberOfPath(a.path()), na);
    EXPECT_FALSE(link.AvailablePorts & (1u << (na - 1)));
    EXPECT_TRUE(link.AvailablePorts & (1u << (nb - 1)));
    // The stored port is busy: the lowest available one is opened instead.
    link.OpenPort(na);
    EXPECT_NE(link.PortNumber, na);
    EXPECT_EQ(link.PortNumber, link.FirstAvailablePort());
    EXPECT_GE(count, 1);
}

TEST(Port, AStoredPortThatIsGoneGivesTheLowestAvailableOne)
{
    QTemporaryDir dir;
    QSettings ini(dir.filePath(QStringLiteral("tripconf.ini")), QSettings::IniFormat);
    ini.setValue(QStringLiteral("RS232/Port"), 31);
    ini.setValue(QStringLiteral("RS232/Path"), QStringLiteral("/dev/pts/9999"));
    QStringList shown;
    TKV_RS_Base::ErrorBoxHook = [&](const QString &t) { shown << t; };
    TKV_RS link;
    link.LoadPortSettings(ini);
    EXPECT_EQ(link.PortNumber, link.FirstAvailablePort());
    if (link.FirstAvailablePort() == 0) {
        EXPECT_TRUE(shown.contains(QStringLiteral("Can not find free serial port!")));
    }
    link.SavePortSettings(ini);
    EXPECT_EQ(ini.value(QStringLiteral("RS232/Port")).toInt(), link.FirstAvailablePort());
    TKV_RS_Base::ErrorBoxHook = nullptr;
}

TEST(Port, OpenPortBelowOneChangesNothing)
{
    TKV_RS link;
    const int before = link.PortNumber;
    link.OpenPort(0);
    link.OpenPort(-3);
    EXPECT_EQ(link.PortNumber, before);
    EXPECT_FALSE(link.IsOpen());
}

TEST(Port, AccessLockPasswordIsExact)
{
    TKV_RS_Base::AccessUnlocked = false;
    QStringList shown;
    TKV_RS_Base::ErrorBoxHook = [&](const QString &t) { shown << t; };
    EXPECT_FALSE(TKV_RS_Base::CheckAccess([](const QString &) { return QStringLiteral("qzr"); }));
    EXPECT_EQ(shown, QStringList{QStringLiteral("Неверный пароль!")});
    EXPECT_FALSE(TKV_RS_Base::CheckAccess([](const QString &) { return QString(); }));
    int asked = 0;
    EXPECT_TRUE(TKV_RS_Base::CheckAccess([&](const QString &) {
        ++asked;
        return QStringLiteral("QZR");
    }));
    EXPECT_TRUE(TKV_RS_Base::CheckAccess([&](const QString &) {
        ++asked;
        return QString();
    }));
    EXPECT_EQ(asked, 1);
    TKV_RS_Base::ErrorBoxHook = nullptr;
}

} // namespace
