#pragma once
#include "kv_base.h"
#include "serial_ports.h"

#include <QString>
#include <QStringList>
#include <functional>
#include <vector>

class QSettings;

// The serial port on Linux device files (POSIX termios). Port numbers are the
// positions of the system's serial devices in a fixed order (USB adapters,
// ACM modems, on-board UARTs that answer a probe, then paths the user named),
// so the same hardware keeps its number while nothing is plugged in or out;
// the ini file also keeps the device path, so the adapter is found again when
// the numbering does shift.
class TKV_RS_Base : public TKVBaseInterface {
public:
    static constexpr int kMaxPorts = 32;

    TKV_RS_Base();
    ~TKV_RS_Base() override;
    TKV_RS_Base(const TKV_RS_Base &) = delete;
    TKV_RS_Base &operator=(const TKV_RS_Base &) = delete;

    int PortNumber = 0;          // 1..32, 0 when there is no port
    uint32_t AvailablePorts = 0; // bit n-1: port n answered the last probe
    uint8_t AvailableCount = 0;
    uint32_t BaudRate = 115200;
    uint8_t ByteSize = 8;
    uint8_t Parity = 0;   // 0 none, 1 odd, 2 even, 3 mark, 4 space
    uint8_t StopBits = 2; // 0 one, 1 one and a half (taken as two), 2 two

    // Shows an error box; filled by the desktop program. Without it the text
    // goes nowhere (the headless tools report errors themselves).
    static std::function<void(const QString &)> ErrorBoxHook;
    static QString NoFreePortText(); // "Can not find free serial port!"
    // That text, then why: no adapter at all, no permission, ports in use.
    QString NoFreePortMessage() const;

    // Where the device files and their sysfs descriptions are looked for.
    static TSerialRoots Roots;
    // Replaces the probe of a device file (0 or the errno of the open): lets a
    // test running as root see a port it may not open.
    static std::function<int(const QString &path)> ProbeHook;

    // Ports.
    bool ProbePort(int n);
    uint8_t EnumeratePorts(); // closes the open port first
    int FirstAvailablePort() const;
    const std::vector<TSerialPortInfo> &Ports() const { return m_ports; }
    QString PortPath(int n) const;                   // empty when there is no port n
    int PortNumberOfPath(const QString &path) const; // matches links too; 0 when unknown
    // A device file the user names (a pseudo-terminal, a by-id link): it gets
    // a number after the system's own ports from the next enumeration on.
    void AddUserPort(const QString &path);
    QStringList UserPorts() const { return m_userPorts; }

    // Opens port n as the start-up open does: silently; LastOpenError() says why
    // it failed. n <= 0 changes nothing.
    virtual void OpenPort(int n);
    // Opens any device file directly; false with LastOpenError() on failure.
    bool OpenPath(const QString &path);
    virtual void ClosePort();
    bool IsOpen() const { return m_fd >= 0; }
    // Opens the chosen port again when it is closed (an adapter plugged in,
    // a permission granted, a cancelled wait); returns why it is still
    // closed, empty when it is open. Shows no box.
    QString OpenAgain();
    QString OpenedPath() const { return m_openPath; }
    // Why the last open failed, in words the user can act on (permission,
    // busy, gone); empty after a successful open.
    QString LastOpenError() const { return m_lastOpenError; }

    // Line parameters, each applied to the open port at once.
    void SetBaudRate(uint32_t baud); // keeps the speed read back from the port
    void SetByteSize(uint8_t bits);
    void SetParity(uint8_t parity);
    void SetStopBits(uint8_t stopBits);

    // Control lines and purges; failures (a pseudo-terminal has no modem lines)
    // are ignored.
    void SetDTR(bool on);
    void SetRTS(bool on);
    void PurgeRx();
    void PurgeTx();

    // [SectionName] Port=n and Path=<device path>.
    virtual void LoadPortSettings(QSettings &ini);
    virtual void SavePortSettings(QSettings &ini);

    // The access lock of the port dialog. askPassword shows the password
    // dialog with the message and returns the entry ("" on Cancel).
    static bool AccessUnlocked;
    static bool CheckAccess(const std::function<QString(const QString &message)> &askPassword);
    static bool CheckPassword(const QString &entry); // exact, case-sensitive

    int Handle() const { return m_fd; }

protected:
    bool openDevice(const QString &path);
    void applyLineSettings();

    int m_fd = -1;
    QString m_openPath;
    QString m_lockFile;
    QString m_lastOpenError;
    std::vector<TSerialPortInfo> m_ports;
    QStringList m_userPorts;
};
