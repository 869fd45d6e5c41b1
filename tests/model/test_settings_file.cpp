#include "errors.h"
#include "language.h"
#include "settings_file.h"
#include "tmk.h"

#include <QDir>
#include <QFile>
#include <QTemporaryDir>
#include <gtest/gtest.h>

using namespace mem;

TEST(SettingsFile, SaveThenLoadGivesBackDeviceTypeAndImage)
{
    QTemporaryDir dir;
    ASSERT_TRUE(dir.isValid());
    TMK a(0x8082);
    a.FormatImage(3);
    a.SettingsImage[5000] = '\x5A';
    const QString path = dir.filePath(QStringLiteral("a.kelmg"));
    SaveSettingsFile(a, path);
    EXPECT_EQ(QFileInfo(path).size(), 8130);

    TMK b;
    LoadSettingsFile(b, path);
    EXPECT_EQ(b.DeviceType, 0x8082);
    EXPECT_EQ(b.SettingsImage, a.SettingsImage);
    EXPECT_EQ(b.blocks(), a.blocks());
}

TEST(SettingsFile, LayoutIsDeviceTypeThenImageXorKey)
{
    QByteArray image(4100, '\0');
    image[4096] = '\x01';
    const QByteArray file = SettingsFileBytes(0x1234, image);
    ASSERT_EQ(file.size(), 4102);
    EXPECT_EQ(static_cast<uint8_t>(file[0]), 0x34);
    EXPECT_EQ(static_cast<uint8_t>(file[1]), 0x12);
    const auto &key = SettingsFileKey();
    EXPECT_EQ(static_cast<uint8_t>(file[2]), key[0]);
    // The 4097th image byte takes the first key byte again.
    EXPECT_EQ(static_cast<uint8_t>(file[2 + 4096]), key[0] ^ 0x01);
    EXPECT_EQ(static_cast<uint8_t>(file[2 + 4097]), key[1]);
}

TEST(SettingsFile, TwoByteFileSetsDeviceTypeEmptiesImageAndKeepsBlocks)
{
    TMK m;
    const auto blocks = m.blocks();
    EXPECT_THROW(LoadSettingsBytes(m, QByteArray("\x10\x40", 2)), TripError);
    EXPECT_EQ(m.DeviceType, 0x4010);
    EXPECT_TRUE(m.SettingsImage.isEmpty());
    EXPECT_EQ(m.blocks(), blocks);
}

TEST(SettingsFile, DamagedFilesFailWithATextAndNeverReadOutside)
{
    const QByteArray cases[] = {QByteArray(), QByteArray(1, '\x01'), QByteArray(61, '\x00'), QByteArray(8130, '\xFF')};
    for (const QByteArray &bytes : cases) {
        TMK m;
        try {
            LoadSettingsBytes(m, bytes);
            ADD_FAILURE() << "size " << bytes.size() << ": no error";
        } catch (const TripError &e) {
            EXPECT_FALSE(e.text().isEmpty());
        }
    }
}

TEST(SettingsFile, MissingFileAndUnwritablePlaceFail)
{
    QTemporaryDir dir;
    TMK m;
    EXPECT_THROW(LoadSettingsFile(m, dir.filePath(QStringLiteral("none.kelmg"))), TripError);
    m.FormatImage(0);
    EXPECT_THROW(SaveSettingsFile(m, dir.filePath(QStringLiteral("no/such/folder/x.kelmg"))), TripError);
}

TEST(SettingsFile, SaveReplacesAnOldFileWhole)
{
    QTemporaryDir dir;
    const QString path = dir.filePath(QStringLiteral("old.kelmg"));
    {
        QFile f(path);
        ASSERT_TRUE(f.open(QIODevice::WriteOnly));
        f.write(QByteArray(20000, 'x'));
    }
    TMK m;
    m.FormatImage(0);
    SaveSettingsFile(m, path);
    QFile f(path);
    ASSERT_TRUE(f.open(QIODevice::ReadOnly));
    EXPECT_EQ(f.readAll(), SettingsFileBytes(m));
}

// Files no device could have produced are refused before the model is touched,
// and every refusal names the file.
TEST(SettingsFile, FilesNoDeviceHoldsAreRefusedByName)
{
    QTemporaryDir dir;
    SetEnglishVersion(true);
    TMK good(0x8082);
    good.FormatImage(3);
    const QByteArray goodFile = SettingsFileBytes(good);
    QByteArray manyBlocks = good.SettingsImage;
    manyBlocks[0] = char(mem::kDirectoryEntries + 1);
    QByteArray outside = good.SettingsImage;
    SetU16(reinterpret_cast<uint8_t *>(outside.data()), 4 * 3, 8100); // block 3 past the end
    struct Case {
        const char *name;
        QByteArray bytes;
        qint64 size; // resized to this (sparse) when larger than the bytes
        bool touchesModel;
        const char *why;
    };
    const Case cases[] = {
        {"one.kelmg", QByteArray(1, '\x01'), 0, false, "only 1 byte long"},
        {"long.kelmg", goodFile + QByteArray(1, '\0'), 0, false, "8131 bytes long"},
        {"huge.kelmg", goodFile, 100 * 1000 * 1000, false, "100000000 bytes long"},
        {"blocks.kelmg", SettingsFileBytes(0x8082, manyBlocks), 0, false, "names 15 blocks"},
        {"outside.kelmg", SettingsFileBytes(0x8082, outside), 0, true, "Block 3 (FuelBlock)"},
    };
    for (const Case &c : cases) {
        const QString path = dir.filePath(QString::fromLatin1(c.name));
        QFile f(path);
        ASSERT_TRUE(f.open(QIODevice::WriteOnly));
        f.write(c.bytes);
        if (c.size > c.bytes.size()) {
            ASSERT_TRUE(f.resize(c.size));
        }
        f.close();
        TMK m;
        m.FormatImage(1);
        const QByteArray image = m.SettingsImage;
        try {
            LoadSettingsFile(m, path);
            ADD_FAILURE() << c.name << ": accepted";
        } catch (const TripError &e) {
            EXPECT_TRUE(e.text().startsWith(QStringLiteral("The file %1 is not a settings file or is damaged.")
                                                .arg(QDir::toNativeSeparators(path))))
                << e.text().toStdString();
            EXPECT_TRUE(e.text().contains(QString::fromLatin1(c.why))) << e.text().toStdString();
        }
        if (!c.touchesModel) {
            EXPECT_EQ(m.SettingsImage, image) << c.name;
            EXPECT_EQ(m.DeviceType, 0xC000) << c.name;
        }
    }
}
