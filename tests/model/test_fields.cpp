#include "fields.h"
#include "language.h"
#include "tmk.h"

#include <gtest/gtest.h>

#include <QCryptographicHash>

// The bytes of a new model, block by block (the first 8 hex digits of each
// block's SHA-1): a default that changes, moves or goes missing shows.
TEST(NewModel, BytesOfEveryBlock)
{
    struct Case {
        uint16_t deviceType;
        bool english;
        const char *sha1;
    };
    const Case cases[] = {
        {0xC000, false,
         "49f11c6f 40bf0c6c 99665705 d1e69d7a fdd7a230 1237050e 8d8f6d76 b80de5d1 e24b7818 fb3d8fb7 087b72de"},
        {0xC000, true,
         "49f11c6f 40bf0c6c 99665705 d1e69d7a bd43056b 1237050e 8d8f6d76 b80de5d1 e24b7818 fb3d8fb7 087b72de"},
        // no parking radar
        {0x5100, false,
         "49f11c6f 40bf0c6c 99665705 d1e69d7a fdd7a230 1237050e 8d8f6d76 b80de5d1 b352bdbc fb3d8fb7 087b72de"},
        // alternative display
        {0x8082, false,
         "49f11c6f 40bf0c6c 99665705 d1e69d7a fdd7a230 1237050e 8d8f6d76 b80de5d1 ab5c6355 fb3d8fb7 087b72de"},
    };
    for (const Case &c : cases) {
        SetEnglishVersion(c.english);
        const TMK m(c.deviceType);
        SetEnglishVersion(false);
        QByteArray hex;
        for (int i = 1; i <= mem::kBlockCount; ++i)
            hex += QCryptographicHash::hash(QByteArray(reinterpret_cast<const char *>(m.block(i)), mem::kBlockSize[i]),
                                            QCryptographicHash::Sha1)
                       .toHex()
                       .left(8) +
                   (i < mem::kBlockCount ? " " : "");
        EXPECT_EQ(hex.toStdString(), c.sha1) << std::hex << c.deviceType << (c.english ? " en" : " ru");
    }
}

// Every entry of the table lies inside its block, and no two entries write
// the same byte: a later one would silently undo an earlier one.
TEST(NewModel, DefaultsStayInsideTheirBlocksAndApart)
{
    std::array<std::array<int, 1024>, mem::kBlockCount + 1> writer{};
    int entry = 0;
    for (const fld::FieldDefault &d : fld::NewModelDefaults()) {
        ++entry;
        const fld::FieldAddress f = d.first;
        ASSERT_GE(f.block, 1);
        ASSERT_LE(f.block, mem::kBlockCount);
        const int end = f.offset + f.width * static_cast<int>(d.values.size());
        ASSERT_GE(f.offset, 0) << entry;
        ASSERT_LE(end, mem::kBlockSize[f.block]) << "entry " << entry << " in " << mem::BlockName(f.block);
        for (int k = f.offset; k < end; ++k) {
            EXPECT_EQ(writer[f.block][k], 0) << "entries " << writer[f.block][k] << " and " << entry << " write "
                                             << mem::BlockName(f.block) << " +" << k;
            writer[f.block][k] = entry;
        }
    }
}

TEST(FieldAccess, WidthsAndSigns)
{
    TMK m;
    const fld::FieldAddress wide{mem::DisplayBlock, 288, 8};
    m.set(wide, -2);
    EXPECT_EQ(m.get(wide), ~uint64_t{1});
    EXPECT_EQ(m.getSigned(wide), -2);
    const fld::FieldAddress word{mem::LimitsBlock, 8, 2};
    m.set(word, 0x18001); // truncated to the field
    EXPECT_EQ(m.get(word), 0x8001u);
    EXPECT_EQ(m.getSigned(word), -32767);
    EXPECT_EQ(GetU16(m.block(mem::LimitsBlock), 8), 0x8001); // little-endian
    const fld::FieldAddress byte{mem::SoundBlock, 32, 1};
    m.set(byte, 127);
    EXPECT_EQ(m.getSigned(byte), 127);
    m.set(byte, -128);
    EXPECT_EQ(m.getSigned(byte), -128);
    EXPECT_EQ(m.get(byte), 128u);
}
