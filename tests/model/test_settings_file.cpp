#include "errors.h"
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
    const QByteArray cases[] = {QByteArray(), QByteArray(1, '\x01'), QByteArray(61, '\x00'),
                                QByteArray(8130, '\xFF')};
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
