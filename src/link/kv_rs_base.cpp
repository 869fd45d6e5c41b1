#include "kv_rs_base.h"

#include "language.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QSettings>

#include <algorithm>
#include <cerrno>
#include <csignal>
#include <cstring>
#include <fcntl.h>
#include <linux/serial.h>
#include <sys/file.h>
#include <sys/ioctl.h>
#include <termios.h>
#include <unistd.h>

std::function<void(const QString &)> TKV_RS_Base::ErrorBoxHook;
TSerialRoots TKV_RS_Base::Roots;
std::function<int(const QString &)> TKV_RS_Base::ProbeHook;
bool TKV_RS_Base::AccessUnlocked = false;

namespace {

const char *const kPassword = "QZR";

void showError(const QString &text)
{
    if (TKV_RS_Base::ErrorBoxHook)
        TKV_RS_Base::ErrorBoxHook(text);
}

QString canonical(const QString &path)
{
    const QString c = QFileInfo(path).canonicalFilePath();
    return c.isEmpty() ? path : c;
}

// The system's lock folder for the UUCP-style lock files that serial programs
// honour (LCK..ttyUSB0 holding the owner's PID).
QString lockFolder()
{
    for (const char *d : {"/run/lock", "/var/lock"})
        if (::access(d, W_OK) == 0)
            return QString::fromLatin1(d);
    return {};
}

QString lockFileOf(const QString &devicePath)
{
    const QString folder = lockFolder();
    if (folder.isEmpty())
        return {};
    QString name = canonical(devicePath);
    if (name.startsWith(QLatin1String("/dev/")))
        name = name.mid(5);
    name.replace(QLatin1Char('/'), QLatin1Char('_'));
    return folder + QStringLiteral("/LCK..") + name;
}

// PID of the live process that holds the lock file (possibly this one), else 0.
long lockHolder(const QString &lockPath)
{
    QFile f(lockPath);
    if (!f.open(QIODevice::ReadOnly))
        return 0;
    bool ok = false;
    const long pid = QString::fromLatin1(f.read(64)).trimmed().toLong(&ok);
    if (!ok || pid <= 0)
        return 0;
    if (pid == long(::getpid()))
        return pid;
    if (::kill(pid_t(pid), 0) == 0 || errno == EPERM)
        return pid;
    return 0;
}

speed_t speedConstant(uint32_t baud, bool &known)
{
    static const std::pair<uint32_t, speed_t> table[] = {
        {50, B50},           {75, B75},           {110, B110},         {134, B134},         {150, B150},
        {200, B200},         {300, B300},         {600, B600},         {1200, B1200},       {1800, B1800},
        {2400, B2400},       {4800, B4800},       {9600, B9600},       {19200, B19200},     {38400, B38400},
        {57600, B57600},     {115200, B115200},   {230400, B230400},   {460800, B460800},   {500000, B500000},
        {576000, B576000},   {921600, B921600},   {1000000, B1000000}, {1152000, B1152000}, {1500000, B1500000},
        {2000000, B2000000}, {2500000, B2500000}, {3000000, B3000000}, {3500000, B3500000}, {4000000, B4000000},
    };
    for (const auto &[b, c] : table)
        if (b == baud) {
            known = true;
            return c;
        }
    known = false;
    return B0;
}

uint32_t speedValue(speed_t s)
{
    for (uint32_t b :
         {50u,     75u,     110u,     134u,     150u,     200u,     300u,     600u,     1200u,    1800u,
          2400u,   4800u,   9600u,    19200u,   38400u,   57600u,   115200u,  230400u,  460800u,  500000u,
          576000u, 921600u, 1000000u, 1152000u, 1500000u, 2000000u, 2500000u, 3000000u, 3500000u, 4000000u}) {
        bool known = false;
        if (speedConstant(b, known) == s)
            return b;
    }
    return 0;
}

} // namespace

QString TKV_RS_Base::NoFreePortText() { return QStringLiteral("Can not find free serial port!"); }

QString TKV_RS_Base::NoFreePortMessage() const
{
    return NoFreePortText() + QLatin1Char('\n') + PortProblemsText(m_ports);
}

TKV_RS_Base::TKV_RS_Base()
{
    Caption = QStringLiteral("RS232");
    SectionName = QStringLiteral("RS232Base");
    if (EnumeratePorts() > 0) {
        PortNumber = FirstAvailablePort();
        BaudRate = 115200;
        ByteSize = 8;
        Parity = 0;
        StopBits = 2;
    } else {
        showError(NoFreePortMessage());
    }
}

TKV_RS_Base::~TKV_RS_Base() { ClosePort(); }

// ---- ports ----------------------------------------------------------------------

uint8_t TKV_RS_Base::EnumeratePorts()
{
    ClosePort();
    m_ports.clear();
    QStringList paths = SystemSerialDevices(Roots);
    QStringList seen;
    for (const QString &p : paths)
        seen << canonical(p);
    for (const QString &u : m_userPorts) {
        if (!QFileInfo::exists(u) || seen.contains(canonical(u)))
            continue;
        paths << u;
        seen << canonical(u);
    }
    AvailablePorts = 0;
    AvailableCount = 0;
    for (const QString &p : paths) {
        if (int(m_ports.size()) >= kMaxPorts)
            break;
        TSerialPortInfo info;
        info.Number = int(m_ports.size()) + 1;
        info.Path = p;
        DescribeSerialPort(info, Roots);
        m_ports.push_back(info);
    }
    for (TSerialPortInfo &info : m_ports) {
        info.Available = ProbePort(info.Number);
        if (info.Available) {
            AvailablePorts |= 1u << (info.Number - 1);
            ++AvailableCount;
        }
    }
    return AvailableCount;
}

bool TKV_RS_Base::ProbePort(int n)
{
    auto info = std::find_if(m_ports.begin(), m_ports.end(), [n](const TSerialPortInfo &p) { return p.Number == n; });
    if (info == m_ports.end())
        return false;
    int err = 0;
    const QString lock = lockFileOf(info->Path);
    const long holder = lock.isEmpty() ? 0 : lockHolder(lock);
    if (holder != 0 && holder != long(::getpid()))
        err = EBUSY;
    else
        err = ProbeHook ? ProbeHook(info->Path) : ProbeSerialDevice(info->Path);
    info->OpenErrno = err;
    info->State = PortStateOf(err);
    return err == 0;
}

int TKV_RS_Base::FirstAvailablePort() const
{
    for (int n = 1; n <= kMaxPorts; ++n)
        if (AvailablePorts & (1u << (n - 1)))
            return n;
    return 0;
}

QString TKV_RS_Base::PortPath(int n) const
{
    for (const TSerialPortInfo &p : m_ports)
        if (p.Number == n)
            return p.Path;
    return {};
}

int TKV_RS_Base::PortNumberOfPath(const QString &path) const
{
    if (path.isEmpty())
        return 0;
    const QString c = canonical(path);
    for (const TSerialPortInfo &p : m_ports)
        if (p.Path == path || p.StableName == path || canonical(p.Path) == c)
            return p.Number;
    return 0;
}

void TKV_RS_Base::AddUserPort(const QString &path)
{
    const QString c = canonical(path);
    for (const QString &u : m_userPorts)
        if (canonical(u) == c)
            return;
    m_userPorts << path;
}

// ---- open and close -------------------------------------------------------------

void TKV_RS_Base::OpenPort(int n)
{
    if (n <= 0)
        return;
    PortNumber = n;
    if (n > kMaxPorts || !(AvailablePorts & (1u << (n - 1))))
        PortNumber = FirstAvailablePort();
    if (PortNumber == 0) {
        m_lastOpenError = NoFreePortMessage();
        showError(m_lastOpenError);
        return;
    }
    ClosePort();
    openDevice(PortPath(PortNumber));
}

bool TKV_RS_Base::OpenPath(const QString &path)
{
    ClosePort();
    int n = PortNumberOfPath(path);
    if (n == 0 && QFileInfo::exists(path) && int(m_ports.size()) < kMaxPorts) {
        // A device file the user names gets the next number, without probing
        // (and so disturbing) the other ports again.
        AddUserPort(path);
        TSerialPortInfo info;
        info.Number = int(m_ports.size()) + 1;
        info.Path = path;
        info.StableName = path;
        m_ports.push_back(info);
        n = info.Number;
    }
    const bool ok = openDevice(path);
    if (n > 0) {
        PortNumber = n;
        for (TSerialPortInfo &p : m_ports)
            if (p.Number == n) {
                p.Available = ok;
                if (ok && !(AvailablePorts & (1u << (n - 1)))) {
                    AvailablePorts |= 1u << (n - 1);
                    ++AvailableCount;
                }
            }
    }
    return ok;
}

QString TKV_RS_Base::OpenAgain()
{
    if (IsOpen())
        return {};
    // The port chosen before first: the others are left alone while it opens.
    if (openDevice(PortPath(PortNumber)))
        return {};
    EnumeratePorts();
    const int n = AvailablePorts & (PortNumber > 0 && PortNumber <= kMaxPorts ? 1u << (PortNumber - 1) : 0u)
                      ? PortNumber
                      : FirstAvailablePort();
    if (n == 0) {
        m_lastOpenError = NoFreePortMessage();
        return m_lastOpenError;
    }
    PortNumber = n;
    openDevice(PortPath(n));
    return m_lastOpenError;
}

bool TKV_RS_Base::openDevice(const QString &path)
{
    m_lastOpenError.clear();
    if (path.isEmpty() || !QFileInfo::exists(path)) {
        m_lastOpenError = OpenErrorText(path.isEmpty() ? QStringLiteral("(no port)") : path, ENOENT);
        return false;
    }
    // A lock file where the system keeps them, so that programs that honour
    // these (terminal programs, modem managers) stay off the port.
    const QString lock = lockFileOf(path);
    if (!lock.isEmpty()) {
        const long holder = lockHolder(lock);
        if (holder != 0 && holder != long(::getpid())) {
            m_lastOpenError = OpenErrorText(path, EBUSY) + QStringLiteral(" (PID %1)").arg(holder);
            return false;
        }
    }
    // Within this process the flock below decides.
    if (!lock.isEmpty() && lockHolder(lock) == 0) {
        QFile::remove(lock); // stale
        const int lfd = ::open(lock.toLocal8Bit().constData(), O_WRONLY | O_CREAT | O_EXCL | O_CLOEXEC, 0644);
        if (lfd >= 0) {
            const QByteArray text = QByteArray::number(qint64(::getpid())).rightJustified(10, ' ') + '\n';
            const ssize_t w = ::write(lfd, text.constData(), size_t(text.size()));
            (void)w;
            ::close(lfd);
            m_lockFile = lock;
        } else if (errno == EEXIST) {
            m_lastOpenError = OpenErrorText(path, EBUSY);
            return false;
        }
    }
    auto fail = [&](int err, int fd) {
        m_lastOpenError = OpenErrorText(path, err);
        if (fd >= 0)
            ::close(fd);
        if (!m_lockFile.isEmpty()) {
            QFile::remove(m_lockFile);
            m_lockFile.clear();
        }
        return false;
    };
    const int fd = ::open(path.toLocal8Bit().constData(), O_RDWR | O_NOCTTY | O_NONBLOCK | O_CLOEXEC);
    if (fd < 0)
        return fail(errno, -1);
    if (::flock(fd, LOCK_EX | LOCK_NB) != 0)
        return fail(EBUSY, fd);
    termios t{};
    if (::tcgetattr(fd, &t) != 0)
        return fail(errno == EINVAL ? ENOTTY : errno, fd);
    // No further open of the device while we hold it (root excepted).
    ::ioctl(fd, TIOCEXCL);
    ::cfmakeraw(&t);
    t.c_cflag |= CLOCAL | CREAD;
    t.c_cflag &= ~tcflag_t(CRTSCTS);
    t.c_iflag &= ~tcflag_t(IXON | IXOFF | IXANY);
    t.c_cc[VMIN] = 0;
    t.c_cc[VTIME] = 0;
    ::tcsetattr(fd, TCSANOW, &t);
    // USB adapters otherwise hold answer bytes back for up to 16 ms.
    serial_struct ss{};
    if (::ioctl(fd, TIOCGSERIAL, &ss) == 0) {
        ss.flags |= ASYNC_LOW_LATENCY;
        ::ioctl(fd, TIOCSSERIAL, &ss);
    }
    m_fd = fd;
    m_openPath = path;
    applyLineSettings();
    SetDTR(true);
    PurgeRx();
    return true;
}

void TKV_RS_Base::ClosePort()
{
    if (m_fd >= 0) {
        ::ioctl(m_fd, TIOCNXCL);
        ::flock(m_fd, LOCK_UN);
        ::close(m_fd);
        m_fd = -1;
    }
    if (!m_lockFile.isEmpty()) {
        QFile::remove(m_lockFile);
        m_lockFile.clear();
    }
    m_openPath.clear();
}

// ---- line parameters --------------------------------------------------------------

void TKV_RS_Base::applyLineSettings()
{
    SetBaudRate(BaudRate);
    SetByteSize(ByteSize);
    SetParity(Parity);
    SetStopBits(StopBits);
}

void TKV_RS_Base::SetBaudRate(uint32_t baud)
{
    BaudRate = baud;
    if (m_fd < 0)
        return;
    termios t{};
    if (::tcgetattr(m_fd, &t) != 0)
        return;
    bool known = false;
    const speed_t s = speedConstant(baud, known);
    if (known) {
        ::cfsetispeed(&t, s);
        ::cfsetospeed(&t, s);
        ::tcsetattr(m_fd, TCSANOW, &t);
    }
    if (::tcgetattr(m_fd, &t) == 0) {
        const uint32_t back = speedValue(::cfgetospeed(&t));
        if (back != 0)
            BaudRate = back;
    }
}

void TKV_RS_Base::SetByteSize(uint8_t bits)
{
    ByteSize = bits;
    termios t{};
    if (m_fd < 0 || ::tcgetattr(m_fd, &t) != 0)
        return;
    t.c_cflag &= ~tcflag_t(CSIZE);
    t.c_cflag |= bits == 5 ? CS5 : bits == 6 ? CS6 : bits == 7 ? CS7 : CS8;
    ::tcsetattr(m_fd, TCSANOW, &t);
}

void TKV_RS_Base::SetParity(uint8_t parity)
{
    Parity = parity;
    termios t{};
    if (m_fd < 0 || ::tcgetattr(m_fd, &t) != 0)
        return;
    t.c_cflag &= ~tcflag_t(PARENB | PARODD | CMSPAR);
    switch (parity) {
    case 1: t.c_cflag |= PARENB | PARODD; break;
    case 2: t.c_cflag |= PARENB; break;
    case 3: t.c_cflag |= PARENB | PARODD | CMSPAR; break;
    case 4: t.c_cflag |= PARENB | CMSPAR; break;
    default: break;
    }
    ::tcsetattr(m_fd, TCSANOW, &t);
}

void TKV_RS_Base::SetStopBits(uint8_t stopBits)
{
    StopBits = stopBits;
    termios t{};
    if (m_fd < 0 || ::tcgetattr(m_fd, &t) != 0)
        return;
    // Linux has no one and a half stop bits; two is the closer safe choice.
    if (stopBits == 0)
        t.c_cflag &= ~tcflag_t(CSTOPB);
    else
        t.c_cflag |= CSTOPB;
    ::tcsetattr(m_fd, TCSANOW, &t);
}

void TKV_RS_Base::SetDTR(bool on)
{
    if (m_fd < 0)
        return;
    int bits = TIOCM_DTR;
    ::ioctl(m_fd, on ? TIOCMBIS : TIOCMBIC, &bits);
}

void TKV_RS_Base::SetRTS(bool on)
{
    if (m_fd < 0)
        return;
    int bits = TIOCM_RTS;
    ::ioctl(m_fd, on ? TIOCMBIS : TIOCMBIC, &bits);
}

void TKV_RS_Base::PurgeRx()
{
    if (m_fd >= 0)
        ::tcflush(m_fd, TCIFLUSH);
}

void TKV_RS_Base::PurgeTx()
{
    if (m_fd >= 0)
        ::tcflush(m_fd, TCOFLUSH);
}

// ---- ini file ---------------------------------------------------------------------

void TKV_RS_Base::LoadPortSettings(QSettings &ini)
{
    ini.beginGroup(SectionName);
    int n = ini.value(QStringLiteral("Port"), PortNumber).toInt();
    const QString path = ini.value(QStringLiteral("Path")).toString();
    ini.endGroup();
    if (!path.isEmpty() && n > 0) {
        // The stored device wins over the stored number: numbers shift when
        // adapters come and go.
        int byPath = PortNumberOfPath(path);
        if (byPath == 0 && QFileInfo::exists(path)) {
            AddUserPort(path);
            EnumeratePorts();
            byPath = PortNumberOfPath(path);
        }
        if (byPath > 0)
            n = byPath;
    }
    OpenPort(n);
}

void TKV_RS_Base::SavePortSettings(QSettings &ini)
{
    ini.beginGroup(SectionName);
    ini.setValue(QStringLiteral("Port"), PortNumber);
    QString stable;
    for (const TSerialPortInfo &p : m_ports)
        if (p.Number == PortNumber)
            stable = p.StableName;
    ini.setValue(QStringLiteral("Path"), stable);
    ini.endGroup();
}

// ---- access lock --------------------------------------------------------------------

bool TKV_RS_Base::CheckPassword(const QString &entry) { return entry == QLatin1String(kPassword); }

bool TKV_RS_Base::CheckAccess(const std::function<QString(const QString &message)> &askPassword)
{
    if (AccessUnlocked)
        return true;
    const QString entry =
        askPassword ? askPassword(QStringLiteral("Данная команда будет выполняться только после ввода пароля!"))
                    : QString();
    if (CheckPassword(entry)) {
        AccessUnlocked = true;
        return true;
    }
    showError(QStringLiteral("Неверный пароль!"));
    return false;
}
