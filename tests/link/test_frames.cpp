#include "errors.h"
#include "kv_rs.h"
#include "language.h"

#include <gtest/gtest.h>

namespace {

// Lets a test place an answer frame as if it had been received.
class FrameLink : public TKV_RS {
public:
    void received(const QByteArray &frame)
    {
        std::copy(frame.begin(), frame.end(), RxBuffer.begin());
        m_rxLength = int(frame.size());
        RxPos = kDataStart;
    }
};

QByteArray request(FrameLink &link)
{
    return QByteArray(reinterpret_cast<const char *>(link.TxBuffer.data()), link.TxBuffer[0]);
}

TEST(Frames, RequestsAreFramedWithLengthAndZeroSumChecksum)
{
    FrameLink link;
    link.BeginRequest(244, 1);
    link.FinishFrame();
    EXPECT_EQ(request(link).toHex(' '), "06 f4 01 00 01 04");
    EXPECT_EQ(link.TxLength, 5); // the checksum sits at TxLength

    link.BeginRequest(244, 5);
    link.PutWord(1);
    link.FinishFrame();
    EXPECT_EQ(request(link).toHex(' '), "08 f4 01 00 05 01 00 fd");

    link.BeginRequest(244, 12);
    link.PutWord(0x1234);
    link.PutWord(0xABCD);
    link.FinishFrame();
    const QByteArray f = request(link);
    EXPECT_EQ(f.mid(5, 4).toHex(), "3412cdab");
    unsigned sum = 0;
    for (char c : f)
        sum += uint8_t(c);
    EXPECT_EQ(sum % 256, 0u);
}

TEST(Frames, FinishFrameRefusesMoreThan255Bytes)
{
    FrameLink link;
    link.BeginRequest(244, 4);
    for (int i = 0; i < 249; ++i)
        link.PutByte(uint8_t(i));
    EXPECT_NO_THROW(link.FinishFrame());
    EXPECT_EQ(link.TxBuffer[0], 255);
    link.PutByte(0); // one more makes 256
    EXPECT_THROW(link.FinishFrame(), TripError);
}

TEST(Frames, CheckAnswerSumsTheFrameItsLengthByteNames)
{
    FrameLink link;
    link.received(QByteArray::fromHex("09f401000101 00c0 40"));
    EXPECT_TRUE(link.CheckAnswer());
    link.RxBuffer[5] ^= 1;
    EXPECT_FALSE(link.CheckAnswer());
}

TEST(Frames, GetWordIsLittleEndianAndNeverReadsPastTheFrame)
{
    FrameLink link;
    // A page answer of 38 bytes left in the buffer, then a short answer over it.
    link.received(QByteArray(38, '\x77'));
    link.received(QByteArray::fromHex("08f40100013412") + QByteArray(1, '\0'));
    EXPECT_EQ(link.GetWord(), 0x1234);
    EXPECT_EQ(link.RxRemaining(), 0);
    try {
        link.GetByte();
        FAIL() << "read past the frame";
    } catch (const TripError &e) {
        EXPECT_TRUE(e.text().contains(QStringLiteral("too short"))) << e.text().toStdString();
    }
    // The checksum is not data either.
    link.received(QByteArray::fromHex("06f401000104"));
    EXPECT_THROW(link.GetByte(), TripError);
}

TEST(Frames, LineAllowanceRoundsHalvesToEven)
{
    struct Row {
        uint32_t baud;
        int txLength;
        int allowance;
    };
    const Row rows[] = {
        {19200, 5, 2},                  // 2.5 -> 2
        {19200, 7, 4},                  // 3.5 -> 4
        {19200, 9, 4},                  // 4.5 -> 4
        {19200, 11, 6},                 // 5.5 -> 6
        {9600, 7, 7},   {115200, 7, 1}, // 0.58 -> 1
        {115200, 6, 0},                 // 0.5 -> 0
        {38400, 10, 2},                 // 2.5 -> 2
        {0, 7, 0},
    };
    FrameLink link;
    for (const Row &r : rows) {
        link.BaudRate = r.baud;
        link.TxLength = r.txLength;
        EXPECT_EQ(link.LineAllowance(), r.allowance) << r.baud << " baud, TxLength " << r.txLength;
    }
}

TEST(Frames, ErrorTextsAreVerbatim)
{
    EXPECT_EQ(TKV_RS::NoLinkText(), QStringLiteral("RS232. No link. Check PC-device connection."));
    EXPECT_EQ(TKV_RS::DelayText(), QStringLiteral("RS232. Delay within block error."));
    EXPECT_EQ(TKV_RS::ExchangeErrorText(0), QStringLiteral("RS232. Exchange error.(0)"));
    EXPECT_EQ(TKV_RS::ExchangeErrorText(4), QStringLiteral("RS232. Exchange error.(4)"));
    SetEnglishVersion(false);
    EXPECT_EQ(TKV_RS::BusyText(),
              QStringLiteral("Устройство занято. Возможно, оно находится в режиме местного управления."));
    SetEnglishVersion(true);
    EXPECT_EQ(TKV_RS::BusyText(), QStringLiteral("The device is busy. It may be in local control mode."));
    SetEnglishVersion(false);
}

TEST(Frames, LineTypeAbove2MeansRs232)
{
    FrameLink link;
    link.SetLineType(2);
    EXPECT_EQ(link.LineType, 2);
    link.SetLineType(3);
    EXPECT_EQ(link.LineType, 0);
}

TEST(Frames, ExchangeWithoutAPortFailsWithNoLink)
{
    FrameLink link;
    link.ClosePort();
    link.FirstByteTimeout = 20;
    try {
        link.SendCommand(244, 1);
        FAIL();
    } catch (const TripError &e) {
        EXPECT_EQ(e.text(), TKV_RS::NoLinkText());
    }
}

} // namespace
