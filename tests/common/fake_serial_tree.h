#pragma once
// A /dev and /sys of a few serial ports for the port enumeration: an FTDI
// adapter (usb-serial, two folders below its USB device) with a by-id link,
// a second and a tenth ttyUSB, an Arduino-like ACM modem (one folder below),
// a 16550 UART with hardware and one without, and a "ttyUSB" without number.
#include "kv_rs_base.h"

#include <QDir>
#include <QFile>
#include <QTemporaryDir>
#include <cerrno>

class TFakeSerialTree {
public:
    TFakeSerialTree()
    {
        for (const char *name : {"ttyUSB0", "ttyUSB1", "ttyUSB10", "ttyUSB", "ttyACM0", "ttyS0", "ttyS1"})
            write(QStringLiteral("dev/") + QLatin1String(name), "");
        usbDevice("devices/usb1/1-1", "0403", "6001", "FTDI", "FT232R USB UART", "A50285BI");
        tty("ttyUSB0", "devices/usb1/1-1/1-1:1.0/ttyUSB0");
        usbDevice("devices/usb1/1-2", "2341", "0043", "Arduino (www.arduino.cc)", "", "75833353035351F0");
        tty("ttyACM0", "devices/usb1/1-2/1-2:1.0");
        write(QStringLiteral("sys/class/tty/ttyS0/type"), "4\n");
        write(QStringLiteral("sys/class/tty/ttyS1/type"), "0\n");
        QDir().mkpath(path(QStringLiteral("dev/serial/by-id")));
        QFile::link(QStringLiteral("../../ttyUSB0"),
                    path(QStringLiteral("dev/serial/by-id/usb-FTDI_FT232R_USB_UART_A50285BI-if00-port0")));
    }
    // Points the port enumeration here; undone when the tree goes.
    void use()
    {
        TKV_RS_Base::Roots = {path(QStringLiteral("dev")), path(QStringLiteral("sys"))};
        m_used = true;
    }
    ~TFakeSerialTree()
    {
        if (m_used) {
            TKV_RS_Base::Roots = {};
            TKV_RS_Base::ProbeHook = nullptr;
        }
    }
    TFakeSerialTree(const TFakeSerialTree &) = delete;
    TFakeSerialTree &operator=(const TFakeSerialTree &) = delete;

    // ttyUSB1 closed to the user, ttyUSB10 held by another program.
    static void probeWithOneLockedOneBusy()
    {
        TKV_RS_Base::ProbeHook = [](const QString &path) {
            return path.endsWith(QLatin1String("/ttyUSB1"))    ? EACCES
                   : path.endsWith(QLatin1String("/ttyUSB10")) ? EBUSY
                                                               : 0;
        };
    }

    QString path(const QString &relative) const { return m_dir.filePath(relative); }
    QString dev(const char *name) const { return path(QStringLiteral("dev/") + QLatin1String(name)); }
    void remove(const char *name) { QFile::remove(dev(name)); }

private:
    void write(const QString &relative, const QByteArray &bytes)
    {
        QDir().mkpath(QFileInfo(path(relative)).absolutePath());
        QFile f(path(relative));
        if (f.open(QIODevice::WriteOnly))
            f.write(bytes);
    }
    void usbDevice(const char *at, const char *vendor, const char *product, const char *maker, const char *model,
                   const char *serial)
    {
        const QString base = QStringLiteral("sys/") + QLatin1String(at) + QLatin1Char('/');
        write(base + QStringLiteral("idVendor"), QByteArray(vendor) + '\n');
        write(base + QStringLiteral("idProduct"), QByteArray(product) + '\n');
        write(base + QStringLiteral("manufacturer"), QByteArray(maker) + '\n');
        if (*model)
            write(base + QStringLiteral("product"), QByteArray(model) + '\n');
        write(base + QStringLiteral("serial"), QByteArray(serial) + '\n');
    }
    void tty(const char *name, const char *device)
    {
        const QString folder = path(QStringLiteral("sys/class/tty/") + QLatin1String(name));
        QDir().mkpath(folder);
        QDir().mkpath(path(QStringLiteral("sys/") + QLatin1String(device)));
        QFile::link(path(QStringLiteral("sys/") + QLatin1String(device)), folder + QStringLiteral("/device"));
    }

    QTemporaryDir m_dir;
    bool m_used = false;
};
