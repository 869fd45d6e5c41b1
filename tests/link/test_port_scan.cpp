// The port enumeration over a fake /dev and /sys: which ports exist, in which
// order, what they are, and why one cannot be opened.
#include "fake_serial_tree.h"
#include "kv_rs.h"
#include "language.h"
#include "sim_process.h"

#include <cerrno>
#include <fcntl.h>
#include <gtest/gtest.h>
#include <sys/file.h>
#include <unistd.h>

namespace {

// Running as root opens every file: the permission refusal comes from here.
int denyUsb1(const QString &path)
{
    return path.endsWith(QLatin1String("/ttyUSB1")) ? EACCES : ProbeSerialDevice(path);
}

TEST(PortScan, ListsDescribesAndProbesEveryPort)
{
    TFakeSerialTree tree;
    tree.use();
    TKV_RS_Base::ProbeHook = denyUsb1;
    // Another program holds ttyUSB10.
    const int holder = ::open(tree.dev("ttyUSB10").toLocal8Bit().constData(), O_RDWR);
    ASSERT_GE(holder, 0);
    ASSERT_EQ(::flock(holder, LOCK_EX), 0);

    TKV_RS link;
    struct Row {
        const char *name;
        TPortState state;
        const char *description, *usbId, *serial;
        bool byId;
    };
    const Row rows[] = {
        {"ttyUSB0", TPortState::Free, "FTDI FT232R USB UART", "0403:6001", "A50285BI", true},
        {"ttyUSB1", TPortState::NoPermission, "", "", "", false},
        {"ttyUSB10", TPortState::Busy, "", "", "", false},
        {"ttyACM0", TPortState::Free, "Arduino (www.arduino.cc)", "2341:0043", "75833353035351F0", false},
        {"ttyS0", TPortState::Free, "", "", "", false}, // ttyS1 has no UART behind it
    };
    const auto &ports = link.Ports();
    ASSERT_EQ(ports.size(), std::size(rows));
    for (size_t i = 0; i < ports.size(); ++i) {
        SCOPED_TRACE(rows[i].name);
        const TSerialPortInfo &p = ports[i];
        EXPECT_EQ(p.Number, int(i) + 1);
        EXPECT_EQ(p.Path, tree.dev(rows[i].name));
        EXPECT_EQ(p.State, rows[i].state);
        EXPECT_EQ(p.Available, rows[i].state == TPortState::Free);
        EXPECT_EQ(p.Description.toStdString(), rows[i].description);
        EXPECT_EQ(p.UsbId.toStdString(), rows[i].usbId);
        EXPECT_EQ(p.Serial.toStdString(), rows[i].serial);
        EXPECT_EQ(p.StableName != p.Path, rows[i].byId);
    }
    EXPECT_EQ(link.AvailableCount, 3);
    EXPECT_EQ(link.FirstAvailablePort(), 1);
    EXPECT_EQ(ports[1].OpenErrno, EACCES);
    ::close(holder);
}

TEST(PortScan, NoFreePortSaysWhyInTheChosenLanguage)
{
    struct Row {
        const char *what;
        bool english;
        std::vector<const char *> keep; // the device files left in /dev
        int refused;                    // what every probe of them says
        std::vector<const char *> lines;
    };
    const Row rows[] = {
        {"no adapter", true, {}, 0, {"No serial port adapter was found"}},
        {"no adapter", false, {}, 0, {"Адаптер последовательного порта не найден"}},
        {"no permission",
         true,
         {"ttyUSB0", "ttyS0"},
         EACCES,
         {"No permission to open ", "/ttyUSB0, ", "/ttyS0. ", "sudo usermod -aG dialout $USER", "log out and in"}},
        {"no permission", false, {"ttyUSB0"}, EACCES, {"Нет прав на открытие ", "sudo usermod -aG dialout $USER"}},
        {"in use", true, {"ttyACM0"}, EBUSY, {"/ttyACM0 is busy"}},
        {"in use", false, {"ttyACM0"}, EBUSY, {"/ttyACM0 занят"}},
    };
    for (const Row &row : rows) {
        SCOPED_TRACE(std::string(row.what) + (row.english ? " en" : " ru"));
        SetEnglishVersion(row.english);
        TFakeSerialTree tree;
        for (const char *name : {"ttyUSB0", "ttyUSB1", "ttyUSB10", "ttyACM0", "ttyS0"})
            if (std::find_if(row.keep.begin(), row.keep.end(), [&](const char *k) { return qstrcmp(k, name) == 0; }) ==
                row.keep.end())
                tree.remove(name);
        tree.use();
        const int refused = row.refused;
        TKV_RS_Base::ProbeHook = [refused](const QString &) { return refused; };
        QStringList shown;
        TKV_RS_Base::ErrorBoxHook = [&](const QString &t) { shown << t; };
        TKV_RS link; // construction finds no free port and says so
        link.OpenPort(3);
        TKV_RS_Base::ErrorBoxHook = nullptr;
        ASSERT_EQ(shown.size(), 2);
        EXPECT_EQ(shown[0], shown[1]);
        const QStringList lines = shown[0].split(QLatin1Char('\n'));
        ASSERT_EQ(lines.size(), 2) << shown[0].toStdString();
        EXPECT_EQ(lines[0], QStringLiteral("Can not find free serial port!"));
        for (const char *part : row.lines)
            EXPECT_TRUE(lines[1].contains(QString::fromUtf8(part))) << lines[1].toStdString() << " lacks " << part;
        // A read asks the port to open again: still closed, and the same reason.
        EXPECT_EQ(link.OpenAgain(), shown[0]);
        EXPECT_FALSE(link.IsOpen());
    }
    SetEnglishVersion(true);
}

TEST(PortScan, TheRealProbeTellsPermissionFromBusy)
{
    TFakeSerialTree tree;
    EXPECT_EQ(ProbeSerialDevice(tree.dev("ttyUSB0")), 0);
    EXPECT_EQ(PortStateOf(ProbeSerialDevice(tree.path(QStringLiteral("dev/ttyUSB7")))), TPortState::Failed);
    const int holder = ::open(tree.dev("ttyUSB0").toLocal8Bit().constData(), O_RDWR);
    ASSERT_EQ(::flock(holder, LOCK_EX), 0);
    EXPECT_EQ(PortStateOf(ProbeSerialDevice(tree.dev("ttyUSB0"))), TPortState::Busy);
    ::close(holder);
    if (::geteuid() == 0)
        return; // root opens what it likes
    QFile::setPermissions(tree.dev("ttyUSB1"), QFileDevice::ReadOwner);
    EXPECT_EQ(PortStateOf(ProbeSerialDevice(tree.dev("ttyUSB1"))), TPortState::NoPermission);
}

TEST(PortScan, OpenAgainReopensTheClosedPort)
{
    SimProcess sim({});
    TKV_RS link;
    ASSERT_TRUE(link.OpenPath(sim.path()));
    link.ClosePort();
    EXPECT_EQ(link.OpenAgain(), QString());
    EXPECT_TRUE(link.IsOpen());
    EXPECT_EQ(link.OpenedPath(), sim.path());
}

} // namespace
