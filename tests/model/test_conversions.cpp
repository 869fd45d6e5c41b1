#include "cp1251.h"
#include "language.h"
#include "settings_file.h"
#include "tmk.h"

#include <gtest/gtest.h>

TEST(KeyTable, FirstAndLastBytesAreTheProjectsKey)
{
    const auto &key = SettingsFileKey();
    const uint8_t first[] = {0x3A, 0xB7, 0x34, 0xB2, 0x56, 0x27, 0xC8, 0xEE};
    const uint8_t last[] = {0x9E, 0x04, 0x62, 0xDD};
    for (int i = 0; i < 8; ++i)
        EXPECT_EQ(key[i], first[i]) << "byte " << i;
    for (int i = 0; i < 4; ++i)
        EXPECT_EQ(key[4092 + i], last[i]) << "byte " << 4092 + i;
}

TEST(Colour, PackAndUnpack)
{
    struct Case {
        int r, g, b;
        uint16_t word;
    };
    const Case cases[] = {
        {31, 31, 31, 0xFFFF}, {0, 1, 0, 0x0060}, {31, 0, 0, 0xF800},   {0, 0, 31, 0x001F},
        {0, 2, 0, 0x0080},    {0, 0, 0, 0x0000}, {16, 16, 16, 0x8410},
    };
    for (const Case &c : cases) {
        EXPECT_EQ(PackColour(c.r, c.g, c.b), c.word) << c.r << "," << c.g << "," << c.b;
        EXPECT_EQ(UnpackColour(c.word), (TColour{c.r, c.g, c.b})) << std::hex << c.word;
    }
    // Out-of-range components are masked, never bleed into the neighbours.
    EXPECT_EQ(PackColour(32, 0, 0), 0x0000);
    EXPECT_EQ(PackColour(0, 0, 33), 0x0001);
}

TEST(DayNumber, KnownDates)
{
    struct Case {
        int d, m, y, n;
    };
    const Case cases[] = {{1, 1, 1, 367}, {1, 3, 4, 1522}, {10, 10, 11, 4301}, {1, 1, 0, 2}, {31, 12, 0, 367}};
    for (const Case &c : cases) {
        EXPECT_EQ(DayNumber(c.d, c.m, c.y), c.n) << c.d << "." << c.m << "." << c.y;
    }
    EXPECT_EQ(DateOfDayNumber(367), (TDate{1, 1, 1}));
    EXPECT_EQ(DateOfDayNumber(1522), (TDate{1, 3, 4}));
    EXPECT_EQ(DateOfDayNumber(4301), (TDate{10, 10, 11}));
}

TEST(DayNumber, EveryDayOfTheYears2000To2255RoundTrips)
{
    // Each day has the next number, and every number gives its day back.
    int previous = 0;
    for (int y = 0; y <= 255; ++y)
        for (int m = 1; m <= 12; ++m) {
            static const int len[] = {31, 28, 31, 30, 31, 30, 31, 31, 30, 31, 30, 31};
            const int days = m == 2 && y % 4 == 0 ? 29 : len[m - 1];
            for (int d = 1; d <= days; ++d) {
                const int n = DayNumber(d, m, y);
                if (previous != 0 && !(y == 1 && m == 1 && d == 1)) {
                    ASSERT_EQ(n, previous + 1) << d << "." << m << "." << y;
                }
                previous = n;
                // The device's numbering gives 31 Dec 2000 the number of 1 Jan 2001.
                if (!(y == 0 && m == 12 && d == 31)) {
                    ASSERT_EQ(DateOfDayNumber(n), (TDate{d, m, y})) << "day number " << n;
                }
            }
        }
}

TEST(TimeOfDay, TextBothWays)
{
    struct Case {
        int minutes;
        const char *text;
    };
    const Case cases[] = {{125, "02:05"}, {450, "07:30"}, {0, "00:00"}, {1439, "23:59"}, {1440 + 61, "01:01"}};
    for (const Case &c : cases)
        EXPECT_EQ(TimeOfDayText(c.minutes), QString::fromLatin1(c.text)) << c.minutes;
    EXPECT_EQ(MinutesOfTimeText(QStringLiteral("07:30")), 450);
    EXPECT_EQ(MinutesOfTimeText(QStringLiteral("23:59")), 1439);
    EXPECT_EQ(MinutesOfTimeText(QStringLiteral("0730")), 0);
    EXPECT_EQ(MinutesOfTimeText(QStringLiteral("7:30")), 0);
    EXPECT_EQ(MinutesOfTimeText(QString()), 0);
}

TEST(BitText, MostSignificantFirst)
{
    EXPECT_EQ(BitText(0x81), QStringLiteral("10000001"));
    EXPECT_EQ(BitText(5, 4), QStringLiteral("0101"));
    EXPECT_EQ(BitText(0x100, 8), QStringLiteral("00000000"));
}

TEST(Cp1251, CyrillicRoundTripAndReplacement)
{
    const QString text = QStringLiteral("ТО форсунок Ёё №");
    const QByteArray bytes = ToCp1251(text);
    ASSERT_EQ(bytes.size(), text.size());
    EXPECT_EQ(static_cast<uint8_t>(bytes[0]), 0xD2);  // Т
    EXPECT_EQ(static_cast<uint8_t>(bytes[12]), 0xA8); // Ё
    EXPECT_EQ(static_cast<uint8_t>(bytes[15]), 0xB9); // №
    EXPECT_EQ(FromCp1251(bytes), text);
    EXPECT_EQ(ToCp1251(QStringLiteral("a€中")), QByteArray("a\x88?"));
}

TEST(CountText, NounAgreesWithTheNumber)
{
    struct Case {
        long long n;
        const char *english, *russian;
    };
    const Case cases[] = {
        {0, "0 bytes", "0 байт"},       {1, "1 byte", "1 байт"},          {2, "2 bytes", "2 байта"},
        {4, "4 bytes", "4 байта"},      {5, "5 bytes", "5 байт"},         {11, "11 bytes", "11 байт"},
        {12, "12 bytes", "12 байт"},    {21, "21 bytes", "21 байт"},      {22, "22 bytes", "22 байта"},
        {111, "111 bytes", "111 байт"}, {8131, "8131 bytes", "8131 байт"}};
    for (const Case &c : cases) {
        SetEnglishVersion(true);
        EXPECT_EQ(ByteCount(c.n), QString::fromUtf8(c.english));
        SetEnglishVersion(false);
        EXPECT_EQ(ByteCount(c.n), QString::fromUtf8(c.russian));
    }
    EXPECT_EQ(BlockCount(21), QStringLiteral("21 блок"));
    EXPECT_EQ(BlockCount(23), QStringLiteral("23 блока"));
    EXPECT_EQ(BlockCount(15), QStringLiteral("15 блоков"));
}
