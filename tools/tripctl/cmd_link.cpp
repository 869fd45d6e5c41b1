#include "command.h"
#include "errors.h"
#include "exchange_log.h"
#include "kv_rs.h"
#include "language.h"
#include "settings_file.h"
#include "tmk.h"
#include "transfer.h"

#include <QDir>
#include <QFileInfo>
#include <QRegularExpression>
#include <QSaveFile>

#include <csignal>
#include <cstdio>
#include <memory>
#include <unistd.h>

namespace {

// The signal that asked the transfer to stop; 0 while none has.
volatile sig_atomic_t g_signal = 0;

void onSignal(int sig)
{
    // A second signal does not wait for the frame on the line.
    if (g_signal)
        _exit(128 + sig);
    g_signal = sig;
}

// SIGINT and SIGTERM stop a transfer between frames: the port is closed and
// the program says what was left behind.
void catchSignals()
{
    struct sigaction sa {};
    sa.sa_handler = onSignal;
    sigemptyset(&sa.sa_mask);
    ::sigaction(SIGINT, &sa, nullptr);
    ::sigaction(SIGTERM, &sa, nullptr);
}

int signalExitCode() { return 128 + int(g_signal); }

// A path as a shell takes it back.
QString shellWord(const QString &text)
{
    static const QRegularExpression plain(QStringLiteral("^[A-Za-z0-9_@%+=:,./-]+$"));
    if (!text.isEmpty() && plain.match(text).hasMatch())
        return text;
    QString quoted = text;
    quoted.replace(QLatin1Char('\''), QStringLiteral("'\\''"));
    return QLatin1Char('\'') + quoted + QLatin1Char('\'');
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

    void show(const QString &text, int percent, bool gauge)
    {
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
    transfer.Callbacks.progress = [&printer](const QString &t, int p, bool g, bool) { printer.show(t, p, g); };
    transfer.Callbacks.stopRequested = [] { return g_signal != 0; };
    transfer.Callbacks.info = [&printer](const QString &t) {
        printer.finish();
        std::fprintf(stderr, "%s\n", t.toUtf8().constData());
    };
}

// Runs a transfer; 0 when done. Otherwise the reason is on stderr (with
// `afterStop`'s words about what was left behind) and the exit status is
// returned: 128 + the signal that stopped it, or 1 on an error.
int runTransfer(const std::function<TSettingsTransfer::Outcome()> &run, ProgressPrinter &printer,
                const std::function<QString()> &afterStop)
{
    QString text;
    int rc = 0;
    try {
        const TSettingsTransfer::Outcome outcome = run();
        if (outcome == TSettingsTransfer::Outcome::Done)
            return 0;
        text = TSettingsTransfer::InterruptedText();
        rc = g_signal ? signalExitCode() : 130;
    } catch (const TripError &e) {
        text = e.text();
        rc = 1;
    }
    printer.finish();
    PrintError(text);
    const QString more = afterStop ? afterStop() : QString();
    if (!more.isEmpty())
        PrintError(more);
    return rc;
}

// Opens the port, runs one transfer on `model` (`run` sets it up and starts
// it) and closes the port again. The exit status is runTransfer's, or 1 when
// the port does not open.
int exchange(TMK &model, TExchangeLog &log, const LinkOptions &o,
             const std::function<TSettingsTransfer::Outcome(TSettingsTransfer &)> &run,
             const std::function<QString(const TSettingsTransfer &)> &afterStop)
{
    TKV_RS link;
    link.SetLog(&log);
    if (!openLink(link, o))
        return 1;
    TSettingsTransfer transfer(link, model);
    ProgressPrinter printer;
    connect(transfer, printer, o.waitMs);
    return runTransfer([&] { return run(transfer); }, printer, [&] { return afterStop(transfer); });
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

// What a write that stopped after its first block left behind, and the
// command that puts the device's previous settings back.
QString partlyWrittenNote(const QString &backupPath, const LinkOptions &o)
{
    QString note = TSettingsTransfer::PartlyWrittenText(backupPath);
    if (!backupPath.isEmpty())
        note += QLatin1Char(' ') + LangText("To restore them, run: tripctl write --port %1 %2",
                                            "Чтобы вернуть их, выполните: tripctl write --port %1 %2")
                                       .arg(shellWord(o.port), shellWord(QDir::toNativeSeparators(backupPath)));
    return note;
}

// True when the settings file can be written at `path`; otherwise says why.
bool checkOutputFile(const QString &path)
{
    const QFileInfo info(path);
    const QString folder = QDir::toNativeSeparators(info.absolutePath());
    if (!info.absoluteDir().exists()) {
        PrintError(LangText("The folder %1 does not exist; nothing was sent to the device.",
                            "Папка %1 не существует; в МК ничего не отправлено.")
                       .arg(folder));
        return false;
    }
    if (info.isDir()) {
        PrintError(LangText("%1 is a folder, not a file name; nothing was sent to the device.",
                            "%1 — это папка, а не имя файла; в МК ничего не отправлено.")
                       .arg(path));
        return false;
    }
    // The file is written as it will be later, and thrown away.
    QSaveFile probe(path);
    if (!probe.open(QIODevice::WriteOnly)) {
        PrintError(LangText("Cannot write the settings file %1: %2. Nothing was sent to the device.",
                            "Нельзя записать файл настроек %1: %2. В МК ничего не отправлено.")
                       .arg(path, probe.errorString()));
        return false;
    }
    probe.cancelWriting();
    return true;
}

int runRead(const QStringList &argsIn)
{
    QStringList args = argsIn;
    LinkOptions o;
    if (!TakeLanguageOption(args) || !takeLinkOptions(args, o))
        return UsageError(QStringLiteral("read"));
    const QString out = TakeOutputOption(args);
    if (out.isEmpty() || !args.isEmpty())
        return UsageError(QStringLiteral("read"));
    // A read costs a power cycle of the device: a file that cannot be written
    // is found out before that.
    if (!checkOutputFile(out))
        return 1;
    TExchangeLog log;
    if (!openLog(log, o))
        return 1;
    catchSignals();
    try {
        const auto owned = NewProgramModel();
        TMK &model = *owned;
        const int rc = exchange(
            model, log, o,
            [](TSettingsTransfer &transfer) {
                transfer.UnpackAfterRead = false;
                return transfer.ReadSettings();
            },
            [](const TSettingsTransfer &) {
                return LangText("No settings file was written.", "Файл настроек не записан.");
            });
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
        return UsageError(QStringLiteral("write"));
    const bool noBackup = TakeFlag(args, QStringLiteral("--no-backup"));
    const bool noVerify = TakeFlag(args, QStringLiteral("--no-verify"));
    const QString backupDir = TakeOption(args, QStringLiteral("--backup-dir"));
    if (args.size() != 1 || args[0].startsWith(QLatin1String("-")))
        return UsageError(QStringLiteral("write"));
    TExchangeLog log;
    if (!openLog(log, o))
        return 1;
    catchSignals();
    try {
        const auto owned = NewProgramModel();
        TMK &model = *owned;
        LoadSettingsFile(model, args[0]);
        const int rc = exchange(
            model, log, o,
            [&](TSettingsTransfer &transfer) {
                transfer.BackupEnabled = !noBackup;
                transfer.BackupFolder = backupDir;
                transfer.VerifyEnabled = !noVerify;
                return transfer.WriteSettings();
            },
            [&](const TSettingsTransfer &transfer) {
                if (!transfer.WriteStarted())
                    return LangText("Nothing was written to the device.", "В МК ничего не записано.");
                return partlyWrittenNote(transfer.LastBackupPath(), o);
            });
        if (rc == 0)
            std::fprintf(stderr, "%s\n",
                         (noVerify ? LangText("The settings were sent to the device; they were not read back and "
                                              "checked (--no-verify).",
                                              "Настройки отправлены в МК; они не считаны обратно и не проверены "
                                              "(--no-verify).")
                                   : TSettingsTransfer::RecordedText())
                             .toUtf8()
                             .constData());
        return rc;
    } catch (const TripError &e) {
        PrintError(e.text());
        return 1;
    }
}

const CommandRegistrar regRead({QStringLiteral("read"),
                                QStringLiteral("read --port PATH|N [--line-type 0|1|2] [--wait SECONDS] [--log FILE] "
                                               "[--lang en|ru] -o|--output FILE"),
                                QStringLiteral("read the settings from the device into a settings file (line type 2 "
                                               "by default; the handshake repeats until the device answers or --wait "
                                               "seconds pass)"),
                                runRead});
const CommandRegistrar
    regWrite({QStringLiteral("write"),
              QStringLiteral("write --port PATH|N [--line-type 0|1|2] [--wait SECONDS] [--no-backup] "
                             "[--no-verify] [--backup-dir DIR] [--log FILE] [--lang en|ru] FILE"),
              QStringLiteral("write a settings file into the device: the device's current settings "
                             "are backed up first, the written blocks are read back and checked"),
              runWrite});

} // namespace
