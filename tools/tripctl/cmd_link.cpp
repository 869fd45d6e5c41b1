#include "command.h"
#include "errors.h"
#include "exchange_log.h"
#include "kv_rs.h"
#include "language.h"
#include "settings_file.h"
#include "tmk.h"
#include "transfer.h"

#include <QFileInfo>

#include <csignal>
#include <cstdio>
#include <memory>
#include <unistd.h>

namespace {

volatile sig_atomic_t g_cancel = 0;

void onInterrupt(int)
{
    if (g_cancel)
        _exit(130);
    g_cancel = 1;
}

struct LinkOptions {
    QString port;
    int lineType = 2;
    int waitMs = 0;
    QString logPath;
};

// Takes the options both commands share; false (after a message) on a bad one.
bool takeLinkOptions(QStringList &args, LinkOptions &o)
{
    o.port = TakeOption(args, QStringLiteral("--port"));
    if (o.port.isEmpty()) {
        PrintError(QStringLiteral("--port PATH|N is required"));
        return false;
    }
    const QString line = TakeOption(args, QStringLiteral("--line-type"));
    if (!line.isNull()) {
        bool ok = false;
        o.lineType = line.toInt(&ok);
        if (!ok || o.lineType < 0 || o.lineType > 2) {
            PrintError(QStringLiteral("--line-type takes 0, 1 or 2"));
            return false;
        }
    }
    const QString wait = TakeOption(args, QStringLiteral("--wait"));
    if (!wait.isNull()) {
        bool ok = false;
        const double seconds = wait.toDouble(&ok);
        if (!ok || seconds <= 0 || seconds > 86400) {
            PrintError(QStringLiteral("--wait takes a number of seconds"));
            return false;
        }
        o.waitMs = int(seconds * 1000);
    }
    o.logPath = TakeOption(args, QStringLiteral("--log"));
    return true;
}

// The port: a device path as given, or a port number of the enumeration.
bool openLink(TKV_RS &link, const LinkOptions &o)
{
    bool isNumber = false;
    const int n = o.port.toInt(&isNumber);
    QString path = o.port;
    if (isNumber) {
        path = link.PortPath(n);
        if (path.isEmpty()) {
            QStringList known;
            for (const TSerialPortInfo &p : link.Ports())
                known << QStringLiteral("%1 = %2").arg(p.Number).arg(p.Path);
            PrintError(LangText("There is no serial port %1 (ports: %2)", "Нет последовательного порта %1 (порты: %2)")
                           .arg(n)
                           .arg(known.isEmpty() ? QStringLiteral("none") : known.join(QStringLiteral(", "))));
            return false;
        }
    }
    if (!link.OpenPath(path)) {
        PrintError(link.LastOpenError());
        return false;
    }
    link.SetLineType(uint8_t(o.lineType));
    link.FirstByteTimeout = TSettingsTransfer::kShortTimeout;
    link.SetBaudRate(TSettingsTransfer::kBaudRate);
    return true;
}

// Progress on a terminal: one line redrawn in place; elsewhere each new step once.
class ProgressPrinter {
public:
    ProgressPrinter() : m_tty(::isatty(STDERR_FILENO) == 1) {}
    ~ProgressPrinter() { finish(); }

    void show(const QString &text, int percent, bool gauge, bool cancel)
    {
        // Ctrl-C cancels while the handshake waits for the device; later it
        // simply ends the program.
        std::signal(SIGINT, cancel ? onInterrupt : SIG_DFL);
        if (m_tty) {
            const QString line = gauge ? QStringLiteral("%1 %2%").arg(text).arg(percent) : text;
            std::fprintf(stderr, "\r\033[K%s", line.toUtf8().constData());
            std::fflush(stderr);
            m_open = true;
        } else if (text != m_last) {
            std::fprintf(stderr, "%s\n", text.toUtf8().constData());
        }
        m_last = text;
    }
    void finish()
    {
        if (m_open)
            std::fputc('\n', stderr);
        m_open = false;
    }

private:
    bool m_tty;
    bool m_open = false;
    QString m_last;
};

void connect(TSettingsTransfer &transfer, ProgressPrinter &printer, int waitMs)
{
    transfer.HandshakeLimitMs = waitMs;
    transfer.Callbacks.progress = [&printer](const QString &t, int p, bool g, bool c) { printer.show(t, p, g, c); };
    transfer.Callbacks.cancelRequested = [] { return g_cancel != 0; };
    transfer.Callbacks.info = [&printer](const QString &t) {
        printer.finish();
        std::fprintf(stderr, "%s\n", t.toUtf8().constData());
    };
}

int runTransfer(const std::function<TSettingsTransfer::Outcome()> &run, ProgressPrinter &printer)
{
    try {
        const TSettingsTransfer::Outcome outcome = run();
        printer.finish();
        if (outcome == TSettingsTransfer::Outcome::Cancelled) {
            PrintError(LangText("Cancelled", "Отменено"));
            return 130;
        }
        return 0;
    } catch (const TripError &e) {
        printer.finish();
        PrintError(e.text());
        return 1;
    }
}

// Opens the exchange log that --log asks for; false (with the reason on
// stderr) when it cannot be written.
bool openLog(TExchangeLog &log, const LinkOptions &o)
{
    if (OpenSupportLog(log, o.logPath))
        return true;
    PrintError(log.ErrorText());
    return false;
}

int runRead(const QStringList &argsIn)
{
    QStringList args = argsIn;
    LinkOptions o;
    if (!TakeLanguageOption(args) || !takeLinkOptions(args, o))
        return 2;
    QString out = TakeOption(args, QStringLiteral("-o"));
    if (out.isNull())
        out = TakeOption(args, QStringLiteral("--output"));
    if (out.isEmpty() || !args.isEmpty()) {
        PrintError(QStringLiteral("usage: tripctl read --port PATH|N [--line-type 0|1|2] [--wait SECONDS] "
                                  "[--log FILE] -o FILE"));
        return 2;
    }
    TExchangeLog log;
    if (!openLog(log, o))
        return 1;
    try {
        const auto owned = NewProgramModel();
        TMK &model = *owned;
        TKV_RS link;
        link.SetLog(&log);
        if (!openLink(link, o))
            return 1;
        TSettingsTransfer transfer(link, model);
        transfer.UnpackAfterRead = false;
        ProgressPrinter printer;
        connect(transfer, printer, o.waitMs);
        const int rc = runTransfer([&] { return transfer.ReadSettings(); }, printer);
        if (rc != 0)
            return rc;
        SaveSettingsFile(model, out);
        std::fprintf(stderr, "%s\n",
                     LangText("Settings of device type 0x%1 saved to %2", "Настройки МК типа 0x%1 сохранены в %2")
                         .arg(model.DeviceType, 4, 16, QLatin1Char('0'))
                         .arg(out)
                         .toUtf8()
                         .constData());
        return 0;
    } catch (const TripError &e) {
        PrintError(e.text());
        return 1;
    }
}

int runWrite(const QStringList &argsIn)
{
    QStringList args = argsIn;
    LinkOptions o;
    if (!TakeLanguageOption(args) || !takeLinkOptions(args, o))
        return 2;
    const bool noBackup = TakeFlag(args, QStringLiteral("--no-backup"));
    const bool noVerify = TakeFlag(args, QStringLiteral("--no-verify"));
    const QString backupDir = TakeOption(args, QStringLiteral("--backup-dir"));
    if (args.size() != 1 || args[0].startsWith(QLatin1String("-"))) {
        PrintError(QStringLiteral("usage: tripctl write --port PATH|N [--line-type 0|1|2] [--wait SECONDS] "
                                  "[--no-backup] [--no-verify] [--log FILE] FILE"));
        return 2;
    }
    TExchangeLog log;
    if (!openLog(log, o))
        return 1;
    try {
        const auto owned = NewProgramModel();
        TMK &model = *owned;
        LoadSettingsFile(model, args[0]);
        TKV_RS link;
        link.SetLog(&log);
        if (!openLink(link, o))
            return 1;
        TSettingsTransfer transfer(link, model);
        transfer.BackupEnabled = !noBackup;
        transfer.BackupFolder = backupDir;
        transfer.VerifyEnabled = !noVerify;
        ProgressPrinter printer;
        connect(transfer, printer, o.waitMs);
        const int rc = runTransfer([&] { return transfer.WriteSettings(); }, printer);
        if (rc == 0)
            std::fprintf(stderr, "%s\n", TSettingsTransfer::RecordedText().toUtf8().constData());
        return rc;
    } catch (const TripError &e) {
        PrintError(e.text());
        return 1;
    }
}

const CommandRegistrar regRead({QStringLiteral("read"),
                                QStringLiteral("read --port PATH|N [--line-type 0|1|2] [--wait SECONDS] [--log FILE] "
                                               "-o FILE"),
                                QStringLiteral("read the settings from the device into a settings file (line type 2 "
                                               "by default; the handshake repeats until the device answers or --wait "
                                               "seconds pass)"),
                                runRead});
const CommandRegistrar regWrite({QStringLiteral("write"),
                                 QStringLiteral("write --port PATH|N [--line-type 0|1|2] [--wait SECONDS] [--no-backup] "
                                                "[--no-verify] [--backup-dir DIR] [--log FILE] FILE"),
                                 QStringLiteral("write a settings file into the device: the device's current settings "
                                                "are backed up first, the written blocks are read back and checked"),
                                 runWrite});

} // namespace
