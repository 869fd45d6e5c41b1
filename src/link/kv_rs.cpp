#include "kv_rs.h"

#include "errors.h"
#include "exchange_log.h"
#include "language.h"

#include <algorithm>
#include <cerrno>
#include <ctime>
#include <poll.h>
#include <sys/resource.h>
#include <unistd.h>

namespace {

int64_t nowNs()
{
    timespec ts{};
    ::clock_gettime(CLOCK_MONOTONIC, &ts);
    return int64_t(ts.tv_sec) * 1000000000 + ts.tv_nsec;
}

void sleepMs(int ms)
{
    timespec ts{ms / 1000, long(ms % 1000) * 1000000};
    while (::clock_nanosleep(CLOCK_MONOTONIC, 0, &ts, &ts) == EINTR) {
    }
}

// Longest single wait while the desktop program wants its events processed.
constexpr int64_t kEventSliceNs = 10 * 1000000LL;

} // namespace

TKV_RS::TKV_RS()
{
    Caption = QStringLiteral("RS232");
    SectionName = QStringLiteral("RS232");
}

QString TKV_RS::NoLinkText() { return QStringLiteral("RS232. No link. Check PC-device connection."); }
QString TKV_RS::DelayText() { return QStringLiteral("RS232. Delay within block error."); }
QString TKV_RS::ExchangeErrorText(int code)
{
    return QStringLiteral("RS232. Exchange error.") + QStringLiteral("(%1)").arg(code);
}
// The one link text a user can act on, so it speaks the user's language.
QString TKV_RS::BusyText()
{
    return LangText("The device is busy. It may be in local control mode.",
                    "Устройство занято. Возможно, оно находится в режиме местного управления.");
}

void TKV_RS::SetLineType(uint8_t t) { LineType = t <= 2 ? t : 0; }

bool TKV_RS::CheckAnswer() { return TKVBaseInterface::CheckAnswer(); }

void TKV_RS::FinishFrame()
{
    if (TxLength + 1 > kMaxFrame)
        throw TripError(QStringLiteral("RS232. Request too long: %1 bytes, a frame holds at most %2.")
                            .arg(TxLength + 1)
                            .arg(kMaxFrame));
    TKVBaseInterface::FinishFrame();
}

void TKV_RS::BeginRequest(uint8_t command, uint8_t function)
{
    ResetRequest();
    PutByte(command);
    PutWord(1);
    PutByte(function);
}

void TKV_RS::SendCommand(uint8_t command, uint8_t function)
{
    BeginRequest(command, function);
    Exchange();
}

int TKV_RS::LineAllowance() const
{
    if (BaudRate == 0)
        return 0;
    // 9600 / BaudRate × TxLength to the nearest integer, a half to the even one.
    const uint64_t num = 9600ull * uint64_t(TxLength > 0 ? TxLength : 0);
    const uint64_t q = num / BaudRate;
    const uint64_t r2 = (num % BaudRate) * 2;
    if (r2 > BaudRate || (r2 == BaudRate && (q & 1)))
        return int(q + 1);
    return int(q);
}

// ---- waiting for bytes -------------------------------------------------------------

int TKV_RS::readSome(uint8_t *to, int count, int64_t deadlineNs, bool callEvents)
{
    for (;;) {
        const ssize_t r = ::read(m_fd, to, size_t(count));
        if (r > 0)
            return int(r);
        // EIO or the like: the adapter is gone. Nothing more will come; the
        // caller reports the missing byte as the protocol says.
        if (r < 0 && errno != EAGAIN && errno != EINTR)
            return 0;
        if (callEvents && ProcessEvents)
            ProcessEvents();
        const int64_t now = nowNs();
        if (now > deadlineNs)
            return 0;
        int64_t wait = deadlineNs - now;
        if (ProcessEvents && wait > kEventSliceNs)
            wait = kEventSliceNs;
        // Block on the port until a byte comes or the time is up: no spinning,
        // and the deadline holds well below a millisecond.
        pollfd p{m_fd, POLLIN, 0};
        const timespec ts{time_t(wait / 1000000000), long(wait % 1000000000)};
        const int pr = ::ppoll(&p, 1, &ts, nullptr);
        if (pr > 0 && (p.revents & (POLLERR | POLLNVAL)))
            return 0;
        if (pr > 0 && (p.revents & POLLHUP) && !(p.revents & POLLIN)) {
            // The other side hung up (a closed pseudo-terminal): wait out the
            // deadline without spinning, as a silent line would.
            const int64_t left = deadlineNs - nowNs();
            if (left > 0) {
                const timespec rest{time_t(left / 1000000000), long(left % 1000000000)};
                ::clock_nanosleep(CLOCK_MONOTONIC, 0, &rest, nullptr);
            }
        }
    }
}

void TKV_RS::Receive()
{
    const bool echo = m_receivingEcho;
    const char *kind = echo ? "ECHO" : "RX";
    m_rxLength = 0;
    auto fail = [&](const QString &text, int got) {
        if (m_log)
            m_log->Frame(kind, RxBuffer.data(), got, text);
        throw TripError(text);
    };
    if (m_fd < 0)
        fail(NoLinkText(), 0);
    const int64_t first = nowNs() + (int64_t(FirstByteTimeout) + LineAllowance()) * 1000000LL;
    if (readSome(RxBuffer.data(), 1, first, true) != 1)
        fail(NoLinkText(), 0);
    const int length = RxBuffer[0];
    if (length < kMinFrame)
        fail(NoLinkText(), 1);
    // Time one byte takes on the line: start bit, data bits, parity, stop bits.
    const int bits = 1 + ByteSize + (Parity != 0 ? 1 : 0) + (StopBits == 0 ? 1 : 2);
    const int64_t byteNs = BaudRate > 0 ? int64_t(bits) * 1000000000LL / BaudRate : 0;
    int got = 1;
    while (got < length) {
        const int64_t deadline = nowNs() + int64_t(InterByteTimeout) * 1000000LL;
        const int rest = length - got;
        int n = int(::read(m_fd, RxBuffer.data() + got, size_t(rest)));
        if (n <= 0 && rest > 1 && byteNs > 0) {
            // The rest of the frame needs its time on the line: let all but the
            // last byte gather instead of waking for each one. The nap ends
            // before the deadline, so the time-out is not affected.
            int64_t nap = std::min<int64_t>(int64_t(rest - 1) * byteNs, deadline - nowNs());
            if (ProcessEvents)
                nap = std::min(nap, kEventSliceNs);
            if (nap > 0) {
                const timespec ts{time_t(nap / 1000000000), long(nap % 1000000000)};
                ::clock_nanosleep(CLOCK_MONOTONIC, 0, &ts, nullptr);
            }
            n = 0;
        }
        if (n <= 0)
            n = readSome(RxBuffer.data() + got, rest, deadline, true);
        if (n <= 0)
            fail(DelayText(), got);
        got += n;
    }
    m_rxLength = length;
    if (!CheckAnswer()) {
        m_rxLength = 0;
        fail(ExchangeErrorText(0), length);
    }
    if (m_log)
        m_log->Frame(kind, RxBuffer.data(), length, QStringLiteral("ok"));
}

// ---- sending ------------------------------------------------------------------------

bool TKV_RS::writeFrame()
{
    const int length = TxBuffer[0];
    int done = 0;
    // A stuck line (flow control, a full queue) must not hang the program.
    const int64_t deadline = nowNs() + 1000 * 1000000LL;
    while (done < length) {
        const ssize_t w = ::write(m_fd, TxBuffer.data() + done, size_t(length - done));
        if (w > 0) {
            done += int(w);
            continue;
        }
        if (w < 0 && errno != EAGAIN && errno != EINTR)
            break;
        const int64_t left = deadline - nowNs();
        if (left <= 0)
            break;
        pollfd p{m_fd, POLLOUT, 0};
        const timespec ts{time_t(left / 1000000000), long(left % 1000000000)};
        ::ppoll(&p, 1, &ts, nullptr);
    }
    if (m_log)
        m_log->Frame("TX", TxBuffer.data(), length,
                     done == length ? QString() : QStringLiteral("(write failed after %1 bytes)").arg(done));
    return done == length;
}

void TKV_RS::raisePriority()
{
    if (m_priorityRefused || m_priorityRaised)
        return;
    errno = 0;
    const int old = ::getpriority(PRIO_PROCESS, 0);
    if (errno != 0 || ::setpriority(PRIO_PROCESS, 0, -20) != 0) {
        // Not allowed for this user: the exchange works without it.
        m_priorityRefused = true;
        return;
    }
    m_savedNice = old;
    m_priorityRaised = true;
}

void TKV_RS::restorePriority()
{
    if (!m_priorityRaised)
        return;
    ::setpriority(PRIO_PROCESS, 0, m_savedNice);
    m_priorityRaised = false;
}

void TKV_RS::Transmit()
{
    if (m_fd < 0) {
        if (m_log)
            m_log->Frame("TX", TxBuffer.data(), TxBuffer[0], QStringLiteral("(port not open)"));
        return;
    }
    if (LineType == 2) {
        SetRTS(true);
        raisePriority();
    }
    PurgeRx();
    PurgeTx();
    writeFrame();
    if (LineType == 2) {
        // On this line the request comes back to the sender; whatever that
        // read finds, the answer read that follows decides.
        m_receivingEcho = true;
        try {
            Receive();
        } catch (const TripError &) {
        }
        m_receivingEcho = false;
        SetRTS(false);
        restorePriority();
    }
}

void TKV_RS::Transaction()
{
    Transmit();
    Receive();
    // An echo that came after its own wait ran out is the request itself, not
    // an answer: taking it would hand the caller the request's bytes as data.
    if (LineType == 2 && m_rxLength == TxBuffer[0] &&
        std::equal(RxBuffer.begin(), RxBuffer.begin() + m_rxLength, TxBuffer.begin())) {
        if (m_log)
            m_log->Note(QStringLiteral("late echo; reading the answer"));
        Receive();
    }
    if (RxBuffer[1] == 0 && RxBuffer[2] == 0 && RxBuffer[3] == 0)
        throw TripError(ExchangeErrorText(4));
    if (RxBuffer[4] == 255)
        throw TripError(BusyText());
}

void TKV_RS::Exchange()
{
    FinishFrame();
    if (LineType != 0)
        sleepMs(kLinePauseMs);
    for (int attempt = 1;; ++attempt) {
        try {
            Transaction();
            RxPos = kDataStart;
            return;
        } catch (const TripError &e) {
            // A frame rejected after it was read must not be taken apart.
            m_rxLength = 0;
            if (m_log)
                m_log->Note(QStringLiteral("attempt %1 of %2 failed: %3").arg(attempt).arg(kAttempts).arg(e.text()));
            if (attempt >= kAttempts)
                throw;
            sleepMs(kRetryPauseMs);
        }
    }
}
