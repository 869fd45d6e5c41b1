#include "errors.h"
#include "protocol_catalog.h"
#include "tmk.h"

#include <gtest/gtest.h>

using namespace mem;

namespace {

// An image whose directory places block i at `address[i]` with `length[i]`.
QByteArray imageWith(int size, const std::map<int, std::pair<int, int>> &entries, uint8_t fill = 0xA5)
{
    QByteArray image(size, static_cast<char>(fill));
    auto *p = reinterpret_cast<uint8_t *>(image.data());
    std::fill(p, p + std::min(size, kDirectorySize), 0);
    if (size >= kDirectorySize) {
        p[0] = 11;
        p[1] = 7;
        for (const auto &[i, al] : entries) {
            SetU16(p, 4 * i, static_cast<uint16_t>(al.first));
            SetU16(p, 4 * i + 2, static_cast<uint16_t>(al.second));
        }
    }
    return image;
}

std::vector<uint8_t> blockBytes(const TMK &m, int i) { return {m.block(i), m.block(i) + kBlockSize[i]}; }

} // namespace

TEST(Blocks, SizesAndLayout)
{
    int sum = 0;
    for (int i = 1; i <= kBlockCount; ++i)
        sum += kBlockSize[i];
    EXPECT_EQ(sum, 2928);
    EXPECT_EQ(kBlockOffset[ErrorLogBlock], 2928 - 664);
}

TEST(Blocks, UnpackRulesByEntryLength)
{
    // Block 3 (64 bytes) at address 200 with various lengths.
    struct Case {
        const char *what;
        int length;
        int bytesReplaced;
    };
    const Case cases[] = {
        {"length 4 unpacks nothing", 4, 0},
        {"length below 4 unpacks nothing", 2, 0},
        {"short entry replaces the leading bytes", 4 + 10, 10},
        {"exact entry replaces all", 4 + 64, 64},
        {"oversized entry fills the model size only", 4 + 300, 64},
    };
    for (const Case &c : cases) {
        TMK m;
        const auto before = blockBytes(m, FuelBlock);
        const auto neighbour = blockBytes(m, TankTableBlock);
        m.SettingsImage = imageWith(kImageSize, {{FuelBlock, {200, c.length}}});
        m.UnpackBlock(FuelBlock);
        const auto after = blockBytes(m, FuelBlock);
        for (int k = 0; k < kBlockSize[FuelBlock]; ++k)
            ASSERT_EQ(after[k], k < c.bytesReplaced ? 0xA5 : before[k]) << c.what << " byte " << k;
        EXPECT_EQ(blockBytes(m, TankTableBlock), neighbour) << c.what;
        EXPECT_EQ(m.BlockDirectory.SettingsVersion, 7);
    }
}

TEST(Blocks, UnpackOutsideTheImageFailsNamingTheBlock)
{
    struct Case {
        const char *what;
        int imageSize;
        int address;
        int length;
    };
    const Case cases[] = {
        {"past the end", kImageSize, 32 + kImageSize - 10, 4 + 64},
        {"below the image", kImageSize, 0, 4 + 64},
        {"short image", 100, 92, 4 + 64},
        {"far address", kImageSize, 0xFFFF, 0xFFFF},
    };
    for (const Case &c : cases) {
        TMK m;
        m.SettingsImage = imageWith(c.imageSize, {{TotalsBlock, {92, 4 + 8}}, {FuelBlock, {c.address, c.length}}});
        const auto fuel = blockBytes(m, FuelBlock);
        try {
            m.UnpackAll();
            FAIL() << c.what << ": no error";
        } catch (const TripError &e) {
            EXPECT_TRUE(e.text().contains(QStringLiteral("FuelBlock"))) << c.what << ": " << e.text().toStdString();
        }
        EXPECT_EQ(blockBytes(m, FuelBlock), fuel) << c.what;
        EXPECT_EQ(m.block(TotalsBlock)[0], 0xA5) << c.what << ": blocks before the failing one keep what they got";
    }
}

TEST(Blocks, ImageShorterThanTheDirectoryFails)
{
    for (int size : {0, 1, 59}) {
        TMK m;
        m.SettingsImage = QByteArray(size, '\x01');
        EXPECT_THROW(m.UnpackAll(), TripError) << size;
        EXPECT_THROW(m.PackBlock(1), TripError) << size;
    }
}

TEST(Blocks, PackWritesTheModelSizeClippedToTheImage)
{
    TMK m;
    // Length 4: still packs the model size.
    m.SettingsImage = imageWith(kImageSize, {{FuelBlock, {200, 4}}});
    m.PackBlock(FuelBlock);
    EXPECT_EQ(QByteArray(m.SettingsImage.constData() + 168, 64),
              QByteArray(reinterpret_cast<const char *>(m.block(FuelBlock)), 64));
    EXPECT_EQ(static_cast<uint8_t>(m.SettingsImage[168 + 64]), 0xA5);
    EXPECT_EQ(static_cast<uint8_t>(m.SettingsImage[167]), 0xA5);

    // Near the end: clipped, the image keeps its size.
    m.SettingsImage = imageWith(kImageSize, {{FuelBlock, {32 + kImageSize - 10, 4 + 64}}});
    m.PackBlock(FuelBlock);
    EXPECT_EQ(m.SettingsImage.size(), kImageSize);
    EXPECT_EQ(QByteArray(m.SettingsImage.constData() + kImageSize - 10, 10),
              QByteArray(reinterpret_cast<const char *>(m.block(FuelBlock)), 10));

    // Outside: nothing at all.
    for (int address : {0, 31, 32 + kImageSize, 0xFFFF}) {
        m.SettingsImage = imageWith(kImageSize, {{FuelBlock, {address, 4 + 64}}});
        const QByteArray before = m.SettingsImage;
        m.PackBlock(FuelBlock);
        EXPECT_EQ(m.SettingsImage, before) << address;
    }
}

TEST(Blocks, PackAllThenUnpackAllRoundTripsThroughAFormattedImage)
{
    TMK a;
    a.FormatImage(42);
    ASSERT_EQ(a.SettingsImage.size(), kImageSize);
    TMK b;
    b.block(SoundBlock)[5] = 99;
    b.SettingsImage = a.SettingsImage;
    b.UnpackAll();
    EXPECT_EQ(b.blocks(), a.blocks());
    EXPECT_EQ(b.BlockDirectory.BlockCount, 11);
    EXPECT_EQ(b.BlockDirectory.SettingsVersion, 42);
    EXPECT_EQ(b.BlockDirectory.Entries[0].Address, 92);
    EXPECT_EQ(b.BlockDirectory.Entries[10].Length, 664 + 4);
}

TEST(Blocks, EditorCancelRestoresBlocksAndImage)
{
    TMK m;
    m.FormatImage(1);
    const QByteArray image = m.SettingsImage;
    const auto blocks = m.blocks();
    const bool confirmed = m.EditSettings([](TMK &model) {
        for (int i = 1; i <= 10; ++i)
            model.block(i)[0] ^= 0xFF;
        return false;
    });
    EXPECT_FALSE(confirmed);
    EXPECT_EQ(m.blocks(), blocks);
    EXPECT_EQ(m.SettingsImage, image);
}

TEST(Blocks, EditorConfirmPacksBlocksOneToTenOnly)
{
    TMK m;
    m.FormatImage(1);
    const bool confirmed = m.EditSettings([](TMK &model) {
        model.block(SoundBlock)[3] = 0x3F;
        model.block(ErrorLogBlock)[20] = 0x77; // not packed by the editor
        return true;
    });
    EXPECT_TRUE(confirmed);
    TMK check;
    check.SettingsImage = m.SettingsImage;
    check.UnpackAll();
    EXPECT_EQ(check.block(SoundBlock)[3], 0x3F);
    EXPECT_EQ(check.block(ErrorLogBlock)[20], 0);
}

TEST(Blocks, JournalsViewerCancelLeavesNoClearingBehind)
{
    TMK m;
    m.FormatImage(1);
    const QByteArray image = m.SettingsImage;
    const auto blocks = m.blocks();
    auto clearAll = [](TMK &model) {
        std::fill(model.block(TripLogBlock), model.block(TripLogBlock) + kBlockSize[TripLogBlock], 0);
        std::fill(model.block(ErrorLogBlock), model.block(ErrorLogBlock) + kBlockSize[ErrorLogBlock], 0);
        model.block(TotalsBlock)[0] = 1;
    };
    EXPECT_FALSE(m.ViewJournals([&](TMK &model) {
        clearAll(model);
        return false;
    }));
    EXPECT_EQ(m.SettingsImage, image);
    EXPECT_EQ(m.blocks(), blocks);

    EXPECT_TRUE(m.ViewJournals([&](TMK &model) {
        clearAll(model);
        return true;
    }));
    TMK check;
    check.SettingsImage = m.SettingsImage;
    check.UnpackAll();
    EXPECT_EQ(check.block(TripLogBlock)[36], 0);
    EXPECT_EQ(check.block(TotalsBlock)[0], 1);
}

TEST(Blocks, SnapshotRestoreIsExact)
{
    TMK m;
    const TBlockSnapshot snap = m.SnapshotBlocks(2, 5);
    EXPECT_EQ(snap.size(), static_cast<size_t>(28 + 64 + 420 + 128));
    m.block(TankTableBlock)[10] = 0xEE;
    m.RestoreBlocks(2, 5, snap);
    EXPECT_EQ(m.block(TankTableBlock)[10], 16 + 3 * 2);
    EXPECT_THROW(m.RestoreBlocks(2, 6, snap), TripError);
}

TEST(Blocks, EditorOpensWithNoProtocolToSelect)
{
    // An index past 255, one past the model's list, a DeviceType with no model.
    const struct {
        uint16_t type, index;
    } cases[] = {{0xC000, 300}, {0xC000, 200}, {0x1234, 0}};
    for (const auto &c : cases) {
        TMK m;
        m.DeviceType = c.type;
        SetU16(m.block(VehicleBlock), 4, c.index);
        m.FormatImage(1);
        bool opened = false;
        EXPECT_TRUE(m.EditSettings([&](TMK &) {
            opened = true;
            EXPECT_EQ(Catalog().currentProtocol(), nullptr);
            return true;
        }));
        EXPECT_TRUE(opened);
        TMK check;
        check.SettingsImage = m.SettingsImage;
        check.UnpackAll();
        EXPECT_EQ(GetU16(check.block(VehicleBlock), 4), c.index); // kept as it was
    }
}
