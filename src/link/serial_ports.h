#pragma once
#include <QString>
#include <QStringList>
#include <vector>

// Where the kernel shows its serial devices: the device files and the sysfs
// descriptions of the tty devices. Tests point them at a tree of their own.
struct TSerialRoots {
    QString Dev = QStringLiteral("/dev");
    QString Sys = QStringLiteral("/sys");
};

// Why a port that exists cannot be opened.
enum class TPortState { Free, NoPermission, Busy, Failed };

// A serial device of the system under its port number (1..32).
struct TSerialPortInfo {
    int Number = 0;         // 1..32
    QString Path;           // the device file, e.g. /dev/ttyUSB0 or /dev/pts/3
    QString StableName;     // a /dev/serial/by-id link to it when there is one, else Path
    QString Description;    // adapter or driver name for the port dialog; may be empty
    bool Available = false; // could be opened at the last probe
    TPortState State = TPortState::Free;
    int OpenErrno = 0; // why the last probe failed; 0 when it did not
    // The USB device behind an adapter, from sysfs; empty for other ports.
    QString Maker;
    QString Product;
    QString UsbId; // vendor:product, e.g. 0403:6001
    QString Serial;
};

// The system's serial device files in numbering order: USB adapters, ACM
// modems, on-board UARTs of the ARM boards, then the 16550-style UARTs the
// kernel found hardware behind.
QStringList SystemSerialDevices(const TSerialRoots &roots);

// Fills StableName, Description and the USB fields of `info` (Path set).
void DescribeSerialPort(TSerialPortInfo &info, const TSerialRoots &roots);

// Opens the device file as the port open does and closes it again: 0 when
// it could be had, else the errno (EBUSY when another program holds it).
int ProbeSerialDevice(const QString &path);

TPortState PortStateOf(int err);

// Why `path` cannot be opened, in words the user can act on; `path` may name
// several devices ("/dev/ttyUSB0, /dev/ttyS0").
QString OpenErrorText(const QString &path, int err);
// The reason in a few words, for the port dialog's list ("no permission").
QString PortStateText(const TSerialPortInfo &info);
// What keeps the ports that exist from being opened, one line per kind of
// trouble; with no port at all, that no serial adapter was found.
QString PortProblemsText(const std::vector<TSerialPortInfo> &ports);
