#include "errors.h"
#include "exchange_log.h"
#include "kv_rs.h"
#include "sim_process.h"

#include <QElapsedTimer>
#include <QFile>
#include <QRegularExpression>
#include <QTemporaryDir>
#include <gtest/gtest.h>

namespace {

void connectTo(TKV_RS &link, const SimProcess &sim, uint8_t lineType, uint16_t firstByteTimeout = 100)
{
    ASSERT_TRUE(link.OpenPath(sim.path())) << link.LastOpenError().toStdString();
    link.SetLineType(lineType);
    link.SetBaudRate(19200);
    link.FirstByteTimeout = firstByteTimeout;
}

QString exchangeError(TKV_RS &link)
{
    try {
        link.SendCommand(244, 1);
    } catch (const TripError &e) {
        return e.text();
    }
    return {};
}

TEST(Exchange, IdentifyOnEveryLineType)
{
    for (uint8_t lineType : {0, 1, 2}) {
        SimProcess sim(lineType == 2 ? QStringList{QStringLiteral("--echo"), QStringLiteral("--device-type"),
                                                   QStringLiteral("0xC012")}
                                     : QStringList{QStringLiteral("--device-type"), QStringLiteral("0xC012")});
        TKV_RS link;
        connectTo(link, sim, lineType);
        link.SendCommand(244, 1);
        link.GetByte();
        EXPECT_EQ(link.GetWord(), 0xC012) << "line type " << int(lineType);
        sim.stop();
        const auto reqs = sim.requests();
        ASSERT_EQ(reqs.size(), 1u);
        EXPECT_EQ(reqs[0].frame.toHex(' '), "06 f4 01 00 01 04");
    }
}

// The first answer byte is awaited FirstByteTimeout + A ms after the request
// (100 + 2 ms after a six-byte request at 19200 baud).
TEST(Exchange, FirstByteDeadlineJustUnderAndJustOver)
{
    {
        SimProcess sim({QStringLiteral("--fault"), QStringLiteral("delay=80")});
        TKV_RS link;
        connectTo(link, sim, 0);
        EXPECT_EQ(exchangeError(link), QString());
        EXPECT_EQ(sim.requests().size(), 1u);
    }
    {
        SimProcess sim({QStringLiteral("--fault"), QStringLiteral("delay=130")});
        TKV_RS link;
        connectTo(link, sim, 0);
        QElapsedTimer t;
        t.start();
        EXPECT_EQ(exchangeError(link), TKV_RS::NoLinkText());
        // Three waits of 102 ms and two pauses of 50 ms.
        EXPECT_GE(t.elapsed(), 3 * 102 + 2 * 50);
        EXPECT_LT(t.elapsed(), 3 * 102 + 2 * 50 + 150);
    }
}

TEST(Exchange, EveryErrorTextAfterThreeIdenticalAttempts)
{
    struct Row {
        const char *fault;
        QString text;
    };
    const Row rows[] = {
        {"badsum", TKV_RS::ExchangeErrorText(0)},
        {"zero", TKV_RS::ExchangeErrorText(4)},
        {"busy", TKV_RS::BusyText()},
        {"short", TKV_RS::NoLinkText()},
        {"silence", TKV_RS::NoLinkText()},
        {"truncate=12", TKV_RS::DelayText()},
    };
    for (const Row &r : rows) {
        SimProcess sim({QStringLiteral("--fault"), QString::fromLatin1(r.fault)});
        TKV_RS link;
        connectTo(link, sim, 1, 40);
        link.InterByteTimeout = 40;
        link.BeginRequest(244, 5);
        link.PutWord(7);
        QElapsedTimer t;
        t.start();
        try {
            link.Exchange();
            ADD_FAILURE() << r.fault << ": no error";
        } catch (const TripError &e) {
            EXPECT_EQ(e.text(), r.text) << r.fault;
        }
        EXPECT_GE(t.elapsed(), 2 * 50) << r.fault << ": two pauses between the attempts";
        sim.stop();
        const auto reqs = sim.requests();
        ASSERT_EQ(reqs.size(), 3u) << r.fault;
        for (const SimRequest &q : reqs)
            EXPECT_EQ(q.frame.toHex(' '), "08 f4 01 00 05 07 00 f7") << r.fault << ": the same bytes every time";
        EXPECT_EQ(link.RxLength(), 0) << r.fault << ": nothing to take apart after a failure";
    }
}

TEST(Exchange, ASecondAttemptThatSucceedsHidesTheFirstFailure)
{
    for (const char *fault : {"busy:1", "badsum:1", "silence:1", "zero:1-2"}) {
        SimProcess sim({QStringLiteral("--fault"), QString::fromLatin1(fault), QStringLiteral("--device-type"),
                        QStringLiteral("0xC005")});
        TKV_RS link;
        connectTo(link, sim, 0, 40);
        EXPECT_EQ(exchangeError(link), QString()) << fault;
        link.GetByte();
        EXPECT_EQ(link.GetWord(), 0xC005) << fault;
    }
}

TEST(Exchange, EchoMissingOrCorrupt)
{
    // A corrupt echo is read and ignored; the answer decides.
    {
        SimProcess sim({QStringLiteral("--echo"), QStringLiteral("--fault"), QStringLiteral("badecho")});
        TKV_RS link;
        connectTo(link, sim, 2, 40);
        EXPECT_EQ(exchangeError(link), QString());
        EXPECT_EQ(sim.requests().size(), 1u);
    }
    // Without an echo the answer is taken for the echo: no link after three attempts.
    {
        SimProcess sim({QStringLiteral("--echo"), QStringLiteral("--fault"), QStringLiteral("noecho")});
        TKV_RS link;
        connectTo(link, sim, 2, 40);
        EXPECT_EQ(exchangeError(link), TKV_RS::NoLinkText());
        EXPECT_EQ(sim.requests().size(), 3u);
    }
    // One missing echo costs one attempt.
    {
        SimProcess sim({QStringLiteral("--echo"), QStringLiteral("--fault"), QStringLiteral("noecho:1")});
        TKV_RS link;
        connectTo(link, sim, 2, 40);
        EXPECT_EQ(exchangeError(link), QString());
        EXPECT_EQ(sim.requests().size(), 2u);
    }
    // Line type 2 on a line that never echoes.
    {
        SimProcess sim({});
        TKV_RS link;
        connectTo(link, sim, 2, 40);
        EXPECT_EQ(exchangeError(link), TKV_RS::NoLinkText());
    }
}

// An echo that arrives after its wait ran out must not be taken for the answer.
TEST(Exchange, ALateEchoIsNotTheAnswer)
{
    SimProcess sim({QStringLiteral("--echo"), QStringLiteral("--fault"), QStringLiteral("lateecho=70:1")});
    TKV_RS link;
    connectTo(link, sim, 2, 40);
    link.BeginRequest(244, 5);
    link.PutWord(2);
    link.Exchange();
    EXPECT_EQ(link.RxLength(), 38);
    EXPECT_EQ(link.RxRemaining(), 32);
    EXPECT_EQ(sim.requests().size(), 1u);
}

TEST(Exchange, ABusyDeviceIsReportedAfterTwoPauses)
{
    SimProcess sim({QStringLiteral("--echo"), QStringLiteral("--fault"), QStringLiteral("busy")});
    TKV_RS link;
    connectTo(link, sim, 2);
    QElapsedTimer t;
    t.start();
    EXPECT_EQ(exchangeError(link), TKV_RS::BusyText());
    EXPECT_GE(t.elapsed(), 100);
    EXPECT_LT(t.elapsed(), 100 + 3 * 102); // answers came at once: no time-outs
}

TEST(Exchange, WaitingCallsProcessEventsWithoutSpinning)
{
    SimProcess sim({QStringLiteral("--fault"), QStringLiteral("delay=80")});
    TKV_RS link;
    connectTo(link, sim, 0);
    int calls = 0;
    link.ProcessEvents = [&] { ++calls; };
    timespec cpu0{}, cpu1{};
    clock_gettime(CLOCK_PROCESS_CPUTIME_ID, &cpu0);
    EXPECT_EQ(exchangeError(link), QString());
    clock_gettime(CLOCK_PROCESS_CPUTIME_ID, &cpu1);
    EXPECT_GE(calls, 5); // a window repaints during an 80 ms wait
    const double cpuMs = (cpu1.tv_sec - cpu0.tv_sec) * 1e3 + (cpu1.tv_nsec - cpu0.tv_nsec) / 1e6;
    EXPECT_LT(cpuMs, 20.0);
}

TEST(Exchange, LogHasEveryFrameWithItsOutcome)
{
    QTemporaryDir dir;
    const QString logPath = dir.filePath(QStringLiteral("link.log"));
    SimProcess sim({QStringLiteral("--echo"), QStringLiteral("--fault"), QStringLiteral("badsum:1")});
    TExchangeLog log;
    ASSERT_TRUE(log.Open(logPath));
    TKV_RS link;
    link.SetLog(&log);
    connectTo(link, sim, 2, 40);
    EXPECT_EQ(exchangeError(link), QString());
    log.Close();
    QFile f(logPath);
    ASSERT_TRUE(f.open(QIODevice::ReadOnly));
    const QStringList lines = QString::fromUtf8(f.readAll()).split(QLatin1Char('\n'), Qt::SkipEmptyParts);
    // TX, ECHO, RX (bad), note, TX, ECHO, RX (ok)
    ASSERT_EQ(lines.size(), 7) << f.fileName().toStdString();
    const QRegularExpression stamp(QStringLiteral("^\\d{4}-\\d\\d-\\d\\d \\d\\d:\\d\\d:\\d\\d\\.\\d{3} "));
    for (const QString &l : lines)
        EXPECT_TRUE(stamp.match(l).hasMatch()) << l.toStdString();
    EXPECT_TRUE(lines[0].contains(QStringLiteral("TX    06 f4 01 00 01 04")));
    EXPECT_TRUE(lines[1].contains(QStringLiteral("ECHO  06 f4 01 00 01 04 ok")));
    EXPECT_TRUE(lines[2].contains(QStringLiteral("RX")) && lines[2].endsWith(TKV_RS::ExchangeErrorText(0)));
    EXPECT_TRUE(lines[3].contains(QStringLiteral("attempt 1 of 3 failed")));
    EXPECT_TRUE(lines[6].contains(QStringLiteral("RX")) && lines[6].endsWith(QStringLiteral(" ok")));
}

} // namespace
