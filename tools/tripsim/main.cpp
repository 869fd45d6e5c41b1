// tripsim: a simulated trip computer on a pseudo-terminal, for tests, demos
// and support. Prints the terminal's path on the first line of stdout.
#include "device.h"

#include "errors.h"
#include "journals.h"
#include "language.h"
#include "settings_file.h"
#include "tmk.h"
#include "trip_version.h"

#include <QCoreApplication>
#include <QStringList>

#include <cerrno>
#include <csignal>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <ctime>
#include <memory>
#include <fcntl.h>
#include <poll.h>
#include <sys/prctl.h>
#include <sys/resource.h>
#include <termios.h>
#include <unistd.h>

namespace {

volatile sig_atomic_t g_stop = 0;
void onSignal(int) { g_stop = 1; }

const char *const kUsage =
    "usage: tripsim [--echo] [--baud N] [--turnaround MS] [--device-type N] [--settings-version N]\n"
    "               [--fault KIND[=VALUE][:N|:N-M|:N+]]... [--log FILE] [--save FILE] [--exit-after N]\n"
    "               [SETTINGS_FILE]\n"
    "       tripsim --help | --version\n";

const char *const kHelp =
    "\n"
    "Simulates the trip computer on a pseudo-terminal and prints the terminal's\n"
    "path on the first line of stdout; connect a program to that path. The device\n"
    "answers command 244 with function 1 (identify), 5 (read a page), 12, 4 and 7\n"
    "(write a block) from an 8192-byte settings memory. The memory comes from\n"
    "SETTINGS_FILE (*.kelmg), or is a new model's image with a directory of the\n"
    "eleven blocks one after another from address 92.\n"
    "\n"
    "options:\n"
    "  --device-type N       DeviceType the device reports (decimal or 0x-hex;\n"
    "                        default: the file's, or 0xC000)\n"
    "  --settings-version N  store N as the SettingsVersion (directory byte 1)\n"
    "  --sample-journals     fill the sums and the trip, refuelling and error\n"
    "                        journals of the new memory with sample records\n"
    "                        (not with SETTINGS_FILE)\n"
    "  --echo                echo every request back first, as an RS485 line does\n"
    "                        (line type 2)\n"
    "  --baud N              pace the line at N baud, 11 bits a byte: the request\n"
    "                        is taken as on the line for its length, the echo is\n"
    "                        heard meanwhile, the answer is sent byte by byte\n"
    "                        (default 0: no pacing)\n"
    "  --turnaround MS       pause between the end of a request and the answer\n"
    "                        (default 0)\n"
    "  --fault FAULT         inject a fault; may be given more than once.\n"
    "                        FAULT is KIND[=VALUE][:N | :N-M | :N+], applying to\n"
    "                        request N, requests N..M, requests from N on, or\n"
    "                        every request without a range. KIND:\n"
    "                          busy        answer with status 255\n"
    "                          badsum      answer with a wrong checksum\n"
    "                          silence     do not answer (the request is not acted on)\n"
    "                          short       answer with a length byte of 5\n"
    "                          zero        answer with header bytes 1..3 zero\n"
    "                          delay=MS    answer MS ms later (default 150)\n"
    "                          truncate=N  stop the answer after N bytes\n"
    "                          noecho      no echo for the request\n"
    "                          badecho     echo with a corrupted last byte\n"
    "                          lateecho=MS echo MS ms late (default 150); the\n"
    "                                      answer follows it\n"
    "                          drop        answer a write request as usual but\n"
    "                                      do not act on it\n"
    "                        busy, silence: the request has no effect on the memory\n"
    "  --log FILE            write one line per request: #N FUNCTION HEX OUTCOME\n"
    "  --save FILE           save the memory as a settings file when ending\n"
    "  --exit-after N        end after N requests\n"
    "  --help                show this text\n"
    "  --version             show the version\n"
    "\n"
    "Ends on SIGTERM or SIGINT (saving first with --save).\n";

int64_t nowNs()
{
    timespec ts{};
    ::clock_gettime(CLOCK_MONOTONIC, &ts);
    return int64_t(ts.tv_sec) * 1000000000 + ts.tv_nsec;
}

void sleepUntil(int64_t t)
{
    timespec ts{time_t(t / 1000000000), long(t % 1000000000)};
    while (::clock_nanosleep(CLOCK_MONOTONIC, TIMER_ABSTIME, &ts, nullptr) == EINTR) {
    }
}

void writeAll(int fd, const char *p, int n)
{
    while (n > 0) {
        const ssize_t w = ::write(fd, p, size_t(n));
        if (w > 0) {
            p += w;
            n -= int(w);
        } else if (w < 0 && errno != EAGAIN && errno != EINTR) {
            return;
        } else {
            pollfd pf{fd, POLLOUT, 0};
            ::poll(&pf, 1, 10);
        }
    }
}

// Sends bytes either at once or one per byte time, byte i complete at start + (i + 1) × byteNs.
void send(int fd, const QByteArray &bytes, int64_t start, int64_t byteNs)
{
    if (byteNs <= 0) {
        writeAll(fd, bytes.constData(), int(bytes.size()));
        return;
    }
    for (int i = 0; i < bytes.size(); ++i) {
        sleepUntil(start + (i + 1) * byteNs);
        writeAll(fd, bytes.constData() + i, 1);
    }
}

bool parseNumber(const QString &text, long long &out)
{
    bool ok = false;
    const QString t = text.trimmed();
    out = t.startsWith(QLatin1String("0x"), Qt::CaseInsensitive) ? t.mid(2).toLongLong(&ok, 16) : t.toLongLong(&ok, 10);
    return ok;
}

// A bad command line: the reason and the usage.
int usageError(const QString &text)
{
    std::fprintf(stderr, "tripsim: %s\n%s(see tripsim --help)\n", text.toUtf8().constData(), kUsage);
    return 2;
}

int failure(const QString &text)
{
    std::fprintf(stderr, "tripsim: %s\n", text.toUtf8().constData());
    return 1;
}

} // namespace

int main(int argc, char **argv)
{
    QCoreApplication app(argc, argv);
    QStringList args = app.arguments().mid(1);

    TSimDevice device;
    QString settingsFile, logPath, savePath;
    long long deviceType = -1, settingsVersion = -1, baud = 0, turnaround = 0, exitAfter = 0;
    bool sampleJournals = false;
    for (int i = 0; i < args.size(); ++i) {
        const QString a = args[i];
        auto value = [&](QString &into) {
            if (i + 1 >= args.size())
                return false;
            into = args[++i];
            return true;
        };
        auto number = [&](long long &into, long long lo, long long hi) {
            QString v;
            return value(v) && parseNumber(v, into) && into >= lo && into <= hi;
        };
        if (a == QLatin1String("--help") || a == QLatin1String("-h")) {
            std::fputs(kUsage, stdout);
            std::fputs(kHelp, stdout);
            return 0;
        }
        if (a == QLatin1String("--version")) {
            std::fputs("tripsim " TRIP_VERSION "\n", stdout);
            return 0;
        }
        if (a == QLatin1String("--device-type")) {
            if (!number(deviceType, 0, 0xFFFF))
                return usageError(QStringLiteral("--device-type takes a number 0..0xFFFF"));
        } else if (a == QLatin1String("--settings-version")) {
            if (!number(settingsVersion, 0, 255))
                return usageError(QStringLiteral("--settings-version takes a number 0..255"));
        } else if (a == QLatin1String("--sample-journals")) {
            sampleJournals = true;
        } else if (a == QLatin1String("--echo")) {
            device.Echo = true;
        } else if (a == QLatin1String("--baud")) {
            if (!number(baud, 0, 100000000))
                return usageError(QStringLiteral("--baud takes a number"));
        } else if (a == QLatin1String("--turnaround")) {
            if (!number(turnaround, 0, 600000))
                return usageError(QStringLiteral("--turnaround takes milliseconds"));
        } else if (a == QLatin1String("--exit-after")) {
            if (!number(exitAfter, 1, 1LL << 40))
                return usageError(QStringLiteral("--exit-after takes a number of requests"));
        } else if (a == QLatin1String("--fault")) {
            QString faultText, error;
            if (!value(faultText))
                return usageError(QStringLiteral("--fault takes KIND[=VALUE][:N]"));
            const auto fault = TSimFault::Parse(faultText, error);
            if (!fault)
                return usageError(error);
            device.Faults.push_back(*fault);
        } else if (a == QLatin1String("--log")) {
            if (!value(logPath))
                return usageError(QStringLiteral("--log takes a file"));
        } else if (a == QLatin1String("--save")) {
            if (!value(savePath))
                return usageError(QStringLiteral("--save takes a file"));
        } else if (a.startsWith(QLatin1String("-"))) {
            return usageError(QStringLiteral("unknown option %1").arg(a));
        } else if (settingsFile.isEmpty()) {
            settingsFile = a;
        } else {
            return usageError(QStringLiteral("only one settings file"));
        }
    }

    if (sampleJournals && !settingsFile.isEmpty())
        return usageError(QStringLiteral("--sample-journals fills a new memory, not a settings file"));

    // The memory.
    try {
        if (!settingsFile.isEmpty()) {
            SetEnglishVersion(true); // tripsim speaks English
            const TSettingsFileContents file = ReadSettingsFile(settingsFile);
            device.DeviceType = file.DeviceType;
            device.LoadImage(file.Image);
        } else {
            const uint16_t type = deviceType >= 0 ? uint16_t(deviceType) : uint16_t(0xC000);
            // A new model is made as the desktop program makes it: in Russian.
            SetEnglishVersion(false);
            std::unique_ptr<TMK> model;
            try {
                model = std::make_unique<TMK>(type);
            } catch (const TripError &) {
                model = std::make_unique<TMK>(); // a type the catalog does not know
            }
            if (sampleJournals)
                FillSampleJournals(*model);
            model->FormatImage(settingsVersion >= 0 ? uint8_t(settingsVersion) : uint8_t(1));
            device.LoadImage(model->SettingsImage);
        }
    } catch (const TripError &e) {
        return failure(e.text());
    }
    if (deviceType >= 0)
        device.DeviceType = uint16_t(deviceType);
    if (settingsVersion >= 0)
        device.Memory[33] = uint8_t(settingsVersion);

    FILE *log = nullptr;
    if (!logPath.isEmpty()) {
        log = std::fopen(logPath.toLocal8Bit().constData(), "w");
        if (!log)
            return failure(
                QStringLiteral("cannot write %1: %2").arg(logPath, QString::fromLocal8Bit(std::strerror(errno))));
    }

    // The pseudo-terminal. The simulator keeps the slave side open itself, so
    // the master never sees a hang-up between two client sessions.
    const int master = ::posix_openpt(O_RDWR | O_NOCTTY | O_CLOEXEC);
    if (master < 0 || ::grantpt(master) != 0 || ::unlockpt(master) != 0)
        return failure(
            QStringLiteral("cannot create a pseudo-terminal: %1").arg(QString::fromLocal8Bit(std::strerror(errno))));
    const char *slaveName = ::ptsname(master);
    const QByteArray slavePath(slaveName ? slaveName : "");
    const int slave = ::open(slavePath.constData(), O_RDWR | O_NOCTTY | O_CLOEXEC);
    if (slave < 0)
        return failure(QStringLiteral("cannot open %1").arg(QString::fromLocal8Bit(slavePath)));
    termios t{};
    if (::tcgetattr(slave, &t) == 0) {
        ::cfmakeraw(&t);
        ::tcsetattr(slave, TCSANOW, &t);
    }
    ::fcntl(master, F_SETFL, ::fcntl(master, F_GETFL) | O_NONBLOCK);
    ::prctl(PR_SET_TIMERSLACK, 1UL, 0, 0, 0);
    // A device answers on time whatever else the computer does; where allowed,
    // the simulator runs ahead of ordinary processes to come close to that.
    ::setpriority(PRIO_PROCESS, 0, -10);

    struct sigaction sa {};
    sa.sa_handler = onSignal;
    ::sigaction(SIGTERM, &sa, nullptr);
    ::sigaction(SIGINT, &sa, nullptr);
    ::signal(SIGPIPE, SIG_IGN);
    sigset_t block, waitMask;
    sigemptyset(&block);
    sigaddset(&block, SIGTERM);
    sigaddset(&block, SIGINT);
    ::sigprocmask(SIG_BLOCK, &block, &waitMask);
    sigdelset(&waitMask, SIGTERM);
    sigdelset(&waitMask, SIGINT);

    std::printf("%s\n", slavePath.constData());
    std::fflush(stdout);

    const int64_t byteNs = baud > 0 ? 11LL * 1000000000LL / baud : 0;
    QByteArray frame;
    int64_t frameStart = 0;
    const int64_t resyncNs = 100 * 1000000LL; // a request interrupted this long is dropped

    while (!g_stop && (exitAfter == 0 || device.Requests < exitAfter)) {
        pollfd p{master, POLLIN, 0};
        timespec ts{0, long(resyncNs)};
        const int pr = ::ppoll(&p, 1, frame.isEmpty() ? nullptr : &ts, &waitMask);
        if (pr < 0) {
            if (errno == EINTR)
                continue;
            break;
        }
        if (pr == 0) {
            if (log) {
                std::fprintf(log, "#- - %s ignored (incomplete request)\n", frame.toHex().constData());
                std::fflush(log);
            }
            frame.clear();
            continue;
        }
        char buf[4096];
        const ssize_t n = ::read(master, buf, sizeof buf);
        if (n <= 0) {
            if (n < 0 && (errno == EAGAIN || errno == EINTR))
                continue;
            ::usleep(10000); // nobody on the other side yet
            continue;
        }
        const int64_t arrived = nowNs();
        for (ssize_t i = 0; i < n; ++i) {
            if (frame.isEmpty()) {
                // The request is on the line from its first byte: with pacing
                // the whole of it is taken as arriving from here at line speed.
                frameStart = arrived;
                if (uint8_t(buf[i]) < 2) {
                    if (log) {
                        std::fprintf(log, "#- - %02x ignored (no frame)\n", uint8_t(buf[i]));
                        std::fflush(log);
                    }
                    continue;
                }
            }
            frame.append(buf[i]);
            if (frame.size() < uint8_t(frame[0]))
                continue;
            const TSimReply reply = device.Handle(frame);
            const int64_t requestEnd = frameStart + int64_t(frame.size()) * byteNs;
            // Logged before the answer goes out: whoever has the answer finds the line.
            if (log) {
                std::fprintf(log, "#%d %d %s %s\n", device.Requests, frame.size() > 4 ? uint8_t(frame[4]) : -1,
                             frame.toHex().constData(), reply.outcome.toUtf8().constData());
                std::fflush(log);
            }

            // The echo is heard while the request is on the line: it adds no time.
            const int64_t echoDelay = reply.echoDelayMs * 1000000LL;
            if (!reply.echo.isEmpty()) {
                if (byteNs <= 0)
                    sleepUntil(frameStart + echoDelay);
                send(master, reply.echo, frameStart + echoDelay, byteNs);
            } else if (byteNs > 0) {
                sleepUntil(requestEnd);
            }
            if (!reply.answer.isEmpty()) {
                const int64_t answerStart = requestEnd + echoDelay + (turnaround + reply.extraDelayMs) * 1000000LL;
                if (byteNs > 0) {
                    send(master, reply.answer, answerStart, byteNs);
                } else {
                    sleepUntil(answerStart);
                    send(master, reply.answer, 0, 0);
                }
            }
            frame.clear();
            if (exitAfter > 0 && device.Requests >= exitAfter)
                break;
        }
    }

    int rc = 0;
    if (!savePath.isEmpty()) {
        try {
            SaveSettingsFile(device.DeviceType, device.Image(), savePath);
        } catch (const TripError &e) {
            std::fprintf(stderr, "tripsim: %s\n", e.text().toUtf8().constData());
            rc = 1;
        }
    }
    if (log)
        std::fclose(log);
    ::close(slave);
    ::close(master);
    return rc;
}
