#include "blocks.h"
#include "journals.h"
#include "language.h"
#include "protocol_catalog.h"
#include "tmk.h"

#include <gtest/gtest.h>

namespace {

struct FaultCase {
    int style;
    uint32_t code;
    int a; // item of option list 0
    int b; // item of option list 2
    const char *text;
};

const FaultCase kFaultCases[] = {
    // OBD-II letters by range, boundary codes included.
    {0, 0x0420, 0, 0, "P0420"},
    {0, 0x0171, 0, 0, "P0171"},
    {0, 0x4001, 0, 0, "C0001"},
    {0, 0x8123, 0, 0, "B0123"},
    {0, 0xC100, 0, 0, "U0100"},
    {0, 0x3FFF, 0, 0, "P3FFF"},
    {0, 0x4000, 0, 0, "C0000"},
    {0, 0x5000, 0, 0, "C1000"},
    {0, 0xFFFF, 0, 0, "U3FFF"},
    {0, 0x1ABCD, 0, 0, "2BCD"}, // above 16 bits: no letter
    {1, 0xFFFF, 0, 0, "3FFF"},
    {1, 0x00AB, 0, 0, "00AB"},
    {2, 0xFFFF, 0, 0, "65535"},
    {2, 0x4000, 0, 0, "16384"},
    {3, 0x8001, 0, 0, "32769п"},
    {3, 0xC000, 0, 0, "49152п"},
    {3, 0x4001, 0, 0, "16385н"},
    {3, 0x2001, 0, 0, "8193м"},
    {3, 5, 0, 0, "5"},
    // Hexadecimal, "Sub" outside 256..4095.
    {4, 0xFF, 0, 0, "00FFSub"},
    {4, 0x100, 0, 0, "0100"},
    {4, 0xFFF, 0, 0, "0FFF"},
    {4, 0x1000, 0, 0, "1000Sub"},
    {4, 0x3FFF, 0, 0, "3FFFSub"},
    {4, 0x4000, 0, 0, "4000Sub"},
    {4, 0xFFFF, 0, 0, "FFFFSub"},
    {4, 0x12345, 0, 0, "12345Sub"},
    // J1939: Q above 126 is not a count.
    {5, (127u << 24) | (5u << 16) | 100u, 0, 0, "SPN = 100  FMI = 5  Q = ----"},
    {5, (126u << 24) | (31u << 16) | 0xFFFFu, 0, 0, "SPN = 65535  FMI = 31  Q = 126"},
    {5, 0x00E01234u, 0, 0, "SPN = 463412  FMI = 0  Q = 0"}, // bits 21..23 are SPN bits 16..18
    {5, 0x5000, 0, 0, "SPN = 20480  FMI = 0  Q = 0"},
    {6, 0x0420, 1, 1, ""},
    // Style 7: OBD-II form only when option list 2 holds item 1.
    {7, 0x0420, 0, 1, "P0420"},
    {7, 0x8123, 0, 0, "0123"},
    {7, 0x8123, 0, 2, "0123"},
    // Style 8 (VAG): small codes decimal or nothing by option list 0; band offsets in OBD-II form.
    {8, 0x0171, 1, 0, "369"},
    {8, 0x0171, 0, 0, ""},
    {8, 0x3FFF, 1, 0, "16383"},
    {8, 0x3FFF, 2, 0, ""},
    {8, 0x40AB, 0, 0, "P0171"},
    {8, 0x4000, 1, 0, "P0000"},
    {8, 0x43FF, 0, 0, "P0023"},
    {8, 0x4400, 0, 0, "P0000"},
    {8, 0x4C05, 0, 0, "P0005"},
    {8, 0x4FFF, 0, 0, "P0023"},
    {8, 0x5000, 0, 0, "P0000"},
    {8, 0xFFFF, 0, 0, "P0000"},
    // Style 9: decimal only when option list 2 holds item 0.
    {9, 0x0420, 0, 0, "1056"},
    {9, 0x0420, 0, 1, "P0420"},
    {9, 0xC100, 0, 3, "U0100"},
    // Style 10.
    {10, 0x1234, 0, 0, "18-5"},
    {10, 0x3FFF, 0, 0, "63-3"},
    {10, 0x4000, 0, 0, "64-4"},
    {10, 0x5000, 0, 0, "80-5"},
    {10, 0xFFFF, 0, 0, "255-1"},
    // No fault codes, unknown styles.
    {1000, 0x0420, 0, 0, ""},
    {11, 0x0420, 0, 0, ""},
    {journal::kNoFaultFormat, 0x0420, 0, 0, ""},
};

} // namespace

TEST(FaultCodes, EveryStyle)
{
    for (const FaultCase &c : kFaultCases)
        EXPECT_EQ(FormatFaultCode(c.style, c.code, c.a, c.b), QString::fromUtf8(c.text))
            << "style " << c.style << " code 0x" << std::hex << c.code << " a " << c.a << " b " << c.b;
}

TEST(FaultCodes, DecimalToBcd)
{
    EXPECT_EQ(DecimalToBcd(171), 0x171u);
    EXPECT_EQ(DecimalToBcd(0), 0u);
    EXPECT_EQ(DecimalToBcd(99), 0x99u);
    EXPECT_EQ(DecimalToBcd(1234), 0x234u); // three digits only
}

TEST(FaultCodes, OptionsComeFromTheVehicleBlock)
{
    SetEnglishVersion(true);
    TMK model;
    uint8_t *vehicle = model.block(mem::VehicleBlock);
    SetU8(vehicle, 12, 1); // option list 0
    SetU8(vehicle, 14, 0); // option list 2
    EXPECT_EQ(FormatFaultCode(model, 8, 0x0171), QStringLiteral("369"));
    EXPECT_EQ(FormatFaultCode(model, 7, 0x0420), QStringLiteral("0420"));
    EXPECT_EQ(FormatFaultCode(model, 9, 0x0420), QStringLiteral("1056"));
    SetU8(vehicle, 12, 0);
    SetU8(vehicle, 14, 1);
    EXPECT_EQ(FormatFaultCode(model, 8, 0x0171), QString());
    EXPECT_EQ(FormatFaultCode(model, 7, 0x0420), QStringLiteral("P0420"));
    EXPECT_EQ(FormatFaultCode(model, 9, 0x0420), QStringLiteral("P0420"));
    SetU8(vehicle, 13, 1); // option list 1 is not consulted
    EXPECT_EQ(FormatFaultCode(model, 7, 0x0420), QStringLiteral("P0420"));
}

TEST(FaultCodes, StyleOfTheSelectedProtocol)
{
    SetEnglishVersion(true);
    TMK model;
    const auto protocolCount = [] { return static_cast<int>(Catalog().protocolList().size()); };
    model.ConsultCatalog();
    ASSERT_GT(protocolCount(), 1);
    const int last = protocolCount() - 1;
    const int lastStyle = Catalog().protocolList()[static_cast<size_t>(last)]->FaultFormat;
    SetU16(model.block(mem::VehicleBlock), 4, static_cast<uint16_t>(last));
    EXPECT_EQ(JournalFaultFormat(model), lastStyle);
    // An index beyond the model's list, or a model that is not listed, selects
    // no protocol: codes are left blank rather than read in a wrong style.
    SetU16(model.block(mem::VehicleBlock), 4, static_cast<uint16_t>(last + 1));
    EXPECT_EQ(JournalFaultFormat(model), journal::kNoFaultFormat);
    SetU16(model.block(mem::VehicleBlock), 4, 0);
    model.DeviceType = 0x1234;
    EXPECT_EQ(JournalFaultFormat(model), journal::kNoFaultFormat);
}

TEST(FaultTexts, UnknownStatusValues)
{
    SetEnglishVersion(true);
    for (int v : {0, 3, 255})
        EXPECT_EQ(FuelSystemText(v), QStringLiteral("Unknown")) << v;
    for (int v : {0, 3, -1, 256})
        EXPECT_EQ(SecondaryAirText(v), QStringLiteral("Unknown")) << v;
    SetEnglishVersion(false);
    EXPECT_EQ(FuelSystemText(16), QStringLiteral("Замкн.(ОшДатчО2)"));
}

namespace {

FreezeFrame frameWith(uint32_t code)
{
    FreezeFrame f;
    SetU32(f.bytes.data(), 0, code);
    return f;
}

void setPid(FreezeFramePids &pids, int n) { pids.bits[static_cast<size_t>((n - 1) / 8)] |= 0x80 >> ((n - 1) % 8); }

} // namespace

TEST(FreezeFrames, PresenceBitsCountFromTheMostSignificantBit)
{
    uint8_t errorLog[664] = {};
    errorLog[4] = 0x20;  // parameter 3
    errorLog[13] = 0x04; // parameter 78
    const FreezeFramePids pids = FreezeFramePids::read(errorLog);
    for (int n = 1; n <= 96; ++n)
        EXPECT_EQ(pids.has(n), n == 3 || n == 78) << n;
    EXPECT_FALSE(pids.has(0));
    EXPECT_FALSE(pids.has(97));
}

TEST(FreezeFrames, OnlyFuelSystemStatus)
{
    SetEnglishVersion(true);
    FreezeFramePids pids;
    setPid(pids, 3);
    FreezeFrame frame = frameWith(0x0420);
    SetU16(frame.bytes.data(), 4, 0x0201);
    const auto rows = FreezeFrameRows(pids, frame, QStringLiteral("."));
    ASSERT_EQ(rows.size(), 3);
    EXPECT_EQ(rows[0], qMakePair(QStringLiteral("Trouble code"), QStringLiteral("P0420")));
    EXPECT_EQ(rows[1], qMakePair(QStringLiteral("Fuel system 1 status"), QStringLiteral("Closed loop(O2 sens)")));
    EXPECT_EQ(rows[2], qMakePair(QStringLiteral("Fuel system 2 status"), QStringLiteral("Open loop(ins.eng.T)")));
}

TEST(FreezeFrames, FullMapInGridOrder)
{
    SetEnglishVersion(true);
    FreezeFramePids pids;
    pids.bits.fill(0xFF);
    FreezeFrame frame = frameWith(0x8123);
    uint8_t *b = frame.bytes.data();
    for (int off = 6; off < 84; off += 2) // every value distinct: its own offset
        SetU16(b, off, static_cast<uint16_t>(off));
    SetU16(b, 18, static_cast<uint16_t>(-5)); // fuel pressure, tenths
    SetU16(b, 24, 3000);                      // engine speed
    SetU16(b, 22, 60);                        // vehicle speed
    SetU16(b, 34, 2);                         // secondary air
    SetU16(b, 36, 45);                        // oxygen sensor 1, hundredths
    SetU16(b, 72, 100);                       // equivalence ratio, hundredths
    SetU16(b, 8, static_cast<uint16_t>(-40)); // coolant
    const auto rows = FreezeFrameRows(pids, frame, QStringLiteral(","));
    ASSERT_EQ(rows.size(), 42);                         // code, two fuel systems, 39 values
    EXPECT_EQ(rows[0].second, QStringLiteral("B0123")); // always the OBD-II form
    const std::pair<int, std::pair<const char *, const char *>> spots[] = {
        {3, {"Calc.engine load, %", "6"}},
        {4, {"Eng.coolant temper., C", "-40"}},
        {5, {"Short term fuel trim-Bank 1, %", "10"}},
        {6, {"Short term fuel trim-Bank 2, %", "12"}},
        {7, {"Long term fuel trim-Bank 1, %", "14"}},
        {9, {"Fuel pressure, kPa", "-0,5"}},
        {11, {"Engine RPM", "3000"}},
        {12, {"Vehicle speed, km/h", "60"}},
        {13, {"Timing advance", "2,6"}},
        {15, {"MAF air flow rate, kg/h", "3,0"}},
        {17, {"Состояние вторичного воздуха", "Downstream of catal"}},
        {18, {"Oxygen sensor voltage 1, V", "0,45"}},
        {19, {"Oxygen sensor voltage 2, V", "0,38"}},
        {23, {"Fuel Pressure (diesel), kPa", "4,6"}},
        {24, {"Commanded EGR, %", "48"}},
        {35, {"Control module voltage, V", "7,0"}},
        {36, {"Command equivalence ratio", "1,00"}},
        {41, {"Time since trouble codes cleared, min", "82"}},
    };
    for (const auto &[row, expected] : spots) {
        EXPECT_EQ(rows[row].first, QString::fromUtf8(expected.first)) << row;
        EXPECT_EQ(rows[row].second, QString::fromUtf8(expected.second)) << row;
    }
}

TEST(FreezeFrames, NoFrameWithoutItsOwnCode)
{
    FreezeFramePids pids;
    pids.bits.fill(0xFF);
    FreezeFrame frame = frameWith(0);
    SetU16(frame.bytes.data(), 6, 50);
    EXPECT_TRUE(FreezeFrameRows(pids, frame, QStringLiteral(".")).isEmpty());
    // Parameters the grid does not show (1, 2, 19, ...) add no rows.
    FreezeFramePids some;
    for (int n : {1, 2, 19, 22, 32, 79, 96})
        setPid(some, n);
    EXPECT_EQ(FreezeFrameRows(some, frameWith(1), QStringLiteral(".")).size(), 1);
}

TEST(ErrorList, RowsFollowTheRecords)
{
    SetEnglishVersion(true);
    TMK model;
    uint8_t *log = model.block(mem::ErrorLogBlock);
    const int rec1 = journal::kErrorRecordOffset + journal::kErrorRecordSize * 1;
    SetU16(log, rec1, 1500);
    SetU8(log, rec1 + 2, 9);
    SetU8(log, rec1 + 3, 4);
    SetU32(log, rec1 + 4, 0x0420);
    const int rec2 = journal::kErrorRecordOffset + journal::kErrorRecordSize * 2;
    SetU16(log, rec2, 100);        // time but no code: empty
    SetU32(log, rec2 + 8, 0x0171); // a frame of its own
    EXPECT_EQ(ErrorListRow(model, 0, 0), (QStringList{"0", "", ""}));
    EXPECT_EQ(ErrorListRow(model, 1, 0), (QStringList{"1", "25:00 9.04", "P0420"}));
    EXPECT_EQ(ErrorListRow(model, 1, 2), (QStringList{"1", "25:00 9.04", "1056"}));
    EXPECT_EQ(ErrorListRow(model, 2, 0), (QStringList{"2", "", ""}));
    EXPECT_EQ(FreezeFrame::read(log, 2).faultCode(), 0x0171u);
    EXPECT_EQ(ErrorListRow(model, 6, 0)[0], QStringLiteral("6"));
}
