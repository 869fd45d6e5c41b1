#include "serial_ports.h"

#include "language.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>

#include <algorithm>
#include <cerrno>
#include <cstring>
#include <fcntl.h>
#include <linux/serial.h>
#include <map>
#include <sys/file.h>
#include <sys/ioctl.h>
#include <unistd.h>

namespace {

QString canonical(const QString &path)
{
    const QString c = QFileInfo(path).canonicalFilePath();
    return c.isEmpty() ? path : c;
}

// Number at the end of a device name, for numeric ordering (ttyUSB10 after ttyUSB9).
int trailingNumber(const QString &name)
{
    int i = int(name.size());
    while (i > 0 && name[i - 1].isDigit())
        --i;
    return i < name.size() ? name.mid(i).toInt() : -1;
}

QStringList devicesMatching(const QString &dev, const QString &prefix)
{
    QStringList names = QDir(dev).entryList({prefix + QLatin1Char('*')}, QDir::System | QDir::Files);
    names.erase(std::remove_if(names.begin(), names.end(),
                               [&](const QString &n) { return trailingNumber(n) < 0 || n.size() == prefix.size(); }),
                names.end());
    std::sort(names.begin(), names.end(),
              [](const QString &a, const QString &b) { return trailingNumber(a) < trailingNumber(b); });
    QStringList paths;
    for (const QString &n : names)
        paths << dev + QLatin1Char('/') + n;
    return paths;
}

QString ttyFolder(const TSerialRoots &roots, const QString &path)
{
    return roots.Sys + QStringLiteral("/class/tty/") + QFileInfo(path).fileName();
}

// An on-board UART node exists whether or not there is hardware behind it; the
// kernel reports the port type (0 = none) without the port being opened.
bool uartPresent(const TSerialRoots &roots, const QString &path)
{
    QFile type(ttyFolder(roots, path) + QStringLiteral("/type"));
    if (type.open(QIODevice::ReadOnly))
        return type.readAll().trimmed().toInt() != 0;
    const int fd = ::open(path.toLocal8Bit().constData(), O_RDWR | O_NOCTTY | O_NONBLOCK | O_CLOEXEC);
    if (fd < 0)
        return false;
    serial_struct ss{};
    const bool present = ::ioctl(fd, TIOCGSERIAL, &ss) == 0 && ss.type != PORT_UNKNOWN;
    ::close(fd);
    return present;
}

QString readLine(const QString &path)
{
    QFile f(path);
    return f.open(QIODevice::ReadOnly) ? QString::fromUtf8(f.readLine(256)).trimmed() : QString();
}

QString byIdLinkOf(const TSerialRoots &roots, const QString &devicePath)
{
    const QDir dir(roots.Dev + QStringLiteral("/serial/by-id"));
    const QString target = canonical(devicePath);
    for (const QFileInfo &fi : dir.entryInfoList(QDir::System | QDir::Files | QDir::NoDotAndDotDot))
        if (fi.canonicalFilePath() == target)
            return fi.absoluteFilePath();
    return {};
}

// The tty's device is a USB interface (ACM) or a port below one (usb-serial);
// the USB device that names the adapter is the first folder up with an idVendor.
QString usbDeviceFolder(const TSerialRoots &roots, const QString &path)
{
    const QString device = QFileInfo(ttyFolder(roots, path) + QStringLiteral("/device")).canonicalFilePath();
    if (device.isEmpty())
        return {};
    QDir dir(device);
    for (int up = 0; up < 4; ++up) {
        if (QFileInfo::exists(dir.filePath(QStringLiteral("idVendor"))))
            return dir.absolutePath();
        if (!dir.cdUp())
            break;
    }
    return {};
}

} // namespace

QStringList SystemSerialDevices(const TSerialRoots &roots)
{
    QStringList paths;
    for (const char *prefix : {"ttyUSB", "ttyACM", "ttyAMA"})
        paths << devicesMatching(roots.Dev, QString::fromLatin1(prefix));
    for (const QString &p : devicesMatching(roots.Dev, QStringLiteral("ttyS")))
        if (uartPresent(roots, p))
            paths << p;
    return paths;
}

void DescribeSerialPort(TSerialPortInfo &info, const TSerialRoots &roots)
{
    const QString link = byIdLinkOf(roots, info.Path);
    info.StableName = link.isEmpty() ? info.Path : link;
    const QString usb = usbDeviceFolder(roots, info.Path);
    if (!usb.isEmpty()) {
        info.Maker = readLine(usb + QStringLiteral("/manufacturer"));
        info.Product = readLine(usb + QStringLiteral("/product"));
        info.Serial = readLine(usb + QStringLiteral("/serial"));
        const QString vendor = readLine(usb + QStringLiteral("/idVendor"));
        const QString product = readLine(usb + QStringLiteral("/idProduct"));
        if (!vendor.isEmpty())
            info.UsbId = vendor + QLatin1Char(':') + product;
    }
    QString name = QStringList{info.Maker, info.Product}.join(QLatin1Char(' ')).trimmed();
    if (name.isEmpty() && !link.isEmpty())
        name = QFileInfo(link).fileName();
    if (name.isEmpty()) {
        const QFileInfo driver(ttyFolder(roots, info.Path) + QStringLiteral("/device/driver"));
        if (driver.exists())
            name = QFileInfo(driver.canonicalFilePath()).fileName();
    }
    info.Description = name;
}

int ProbeSerialDevice(const QString &path)
{
    const int fd = ::open(path.toLocal8Bit().constData(), O_RDWR | O_NOCTTY | O_NONBLOCK | O_CLOEXEC);
    if (fd < 0)
        return errno;
    const bool free = ::flock(fd, LOCK_EX | LOCK_NB) == 0;
    if (free)
        ::flock(fd, LOCK_UN);
    ::close(fd);
    return free ? 0 : EBUSY;
}

TPortState PortStateOf(int err)
{
    switch (err) {
    case 0: return TPortState::Free;
    case EACCES:
    case EPERM: return TPortState::NoPermission;
    case EBUSY:
    case EWOULDBLOCK: return TPortState::Busy;
    default: return TPortState::Failed;
    }
}

QString OpenErrorText(const QString &path, int err)
{
    switch (err) {
    case EACCES:
    case EPERM:
        return LangText(
                   "No permission to open %1. Add your user to the \"dialout\" group "
                   "(sudo usermod -aG dialout $USER), then log out and in again.",
                   "Нет прав на открытие %1. Добавьте пользователя в группу \"dialout\" "
                   "(sudo usermod -aG dialout $USER) и войдите в систему заново.")
            .arg(path);
    case EBUSY:
    case EWOULDBLOCK:
        return LangText("%1 is busy: another program holds it. Close that program and try again.",
                        "%1 занят: его использует другая программа. Закройте её и повторите попытку.")
            .arg(path);
    case ENOENT:
    case ENODEV:
    case ENXIO:
    case EIO:
        return LangText("%1 is not there: the adapter may have been unplugged, or it came back under another name.",
                        "%1 не найден: возможно, адаптер отключён или после подключения получил другое имя.")
            .arg(path);
    case ENOTTY: return LangText("%1 is not a serial port.", "%1 не является последовательным портом.").arg(path);
    default:
        return LangText("Cannot open %1: %2", "Не удаётся открыть %1: %2")
            .arg(path, QString::fromLocal8Bit(std::strerror(err)));
    }
}

QString PortStateText(const TSerialPortInfo &info)
{
    switch (info.State) {
    case TPortState::Free: return LangText("free", "свободен");
    case TPortState::NoPermission: return LangText("no permission", "нет прав доступа");
    case TPortState::Busy: return LangText("in use by another program", "занят другой программой");
    case TPortState::Failed: break;
    }
    return QString::fromLocal8Bit(std::strerror(info.OpenErrno));
}

QString PortProblemsText(const std::vector<TSerialPortInfo> &ports)
{
    if (ports.empty())
        return LangText("No serial port adapter was found. Plug in the trip computer's adapter and try again.",
                        "Адаптер последовательного порта не найден. Подключите адаптер МК и повторите попытку.");
    // One line per reason, naming every port it keeps closed.
    std::map<int, QStringList> byReason;
    for (const TSerialPortInfo &p : ports)
        if (!p.Available)
            byReason[p.State == TPortState::Failed ? p.OpenErrno
                     : p.State == TPortState::Busy ? EBUSY
                                                   : EACCES]
                << p.Path;
    QStringList lines;
    // Permission first: it is the one the user fixes once for every port.
    if (auto it = byReason.find(EACCES); it != byReason.end()) {
        lines << OpenErrorText(it->second.join(QStringLiteral(", ")), EACCES);
        byReason.erase(it);
    }
    for (const auto &[err, paths] : byReason)
        lines << OpenErrorText(paths.join(QStringLiteral(", ")), err);
    return lines.join(QLatin1Char('\n'));
}
