#include "errors.h"
#include "exchange_log.h"
#include "kv_rs.h"
#include "language.h"
#include "settings_file.h"
#include "sim_process.h"
#include "tmk.h"
#include "transfer.h"

#include <QDir>
#include <QFile>
#include <gtest/gtest.h>

namespace {

struct Fixture {
    explicit Fixture(const QStringList &simArgs) : sim(simArgs)
    {
        SetEnglishVersion(true);
        if (qEnvironmentVariableIsSet("TRIP_LINK_LOG")) {
            log.Open(qEnvironmentVariable("TRIP_LINK_LOG"));
            link.SetLog(&log);
        }
        EXPECT_TRUE(link.OpenPath(sim.path())) << link.LastOpenError().toStdString();
        link.SetLineType(2);
        transfer.BackupFolder = backups.path();
        transfer.Callbacks.progress = [this](const QString &text, int percent, bool gauge, bool cancel) {
            texts << text;
            if (gauge)
                percents.push_back(percent);
            cancelShown.push_back(cancel);
        };
    }
    SimProcess sim;
    TExchangeLog log;
    TKV_RS link;
    TMK model;
    TSettingsTransfer transfer{link, model};
    QTemporaryDir backups;
    QStringList texts;
    std::vector<int> percents;
    std::vector<bool> cancelShown;
};

int count(const std::vector<int> &v, int x) { return int(std::count(v.begin(), v.end(), x)); }

TEST(Transfer, ReadGetsEveryPageOfTheSimulatorsMemory)
{
    QTemporaryDir dir;
    const QByteArray image = FormattedImage(3);
    const QString file = WriteSimSettings(dir.path(), image, 0xC000);
    Fixture f({QStringLiteral("--echo"), file});
    ASSERT_EQ(f.transfer.ReadSettings(), TSettingsTransfer::Outcome::Done);
    EXPECT_EQ(f.model.DeviceType, 0xC000);
    ASSERT_EQ(f.model.SettingsImage.size(), 8128);
    EXPECT_EQ(f.model.SettingsImage, image);
    EXPECT_EQ(f.model.SettingsImage, f.sim.savedImage());
    EXPECT_EQ(f.model.BlockDirectory.SettingsVersion, 3); // unpacked

    const auto reqs = f.sim.requests();
    ASSERT_EQ(reqs.size(), 255u);
    EXPECT_EQ(reqs[0].function, 1);
    std::vector<int> pages;
    for (size_t i = 1; i < reqs.size(); ++i) {
        EXPECT_EQ(reqs[i].function, 5);
        pages.push_back(uint8_t(reqs[i].frame[5]) | (uint8_t(reqs[i].frame[6]) << 8));
    }
    EXPECT_EQ(count(pages, 0), 0);
    EXPECT_EQ(count(pages, 128), 0);
    EXPECT_EQ(pages.front(), 1);
    EXPECT_EQ(pages.back(), 255);
    EXPECT_EQ(f.percents.back(), 100);
    EXPECT_EQ(f.texts.front(), QStringLiteral("Reconnect the device power supply"));
    EXPECT_TRUE(f.cancelShown.front());
    EXPECT_EQ(f.texts.back(), QStringLiteral("The settings are being read..."));
    EXPECT_FALSE(f.cancelShown.back());
}

TEST(Transfer, AReadThatFailsMidwayRaisesTheLinkText)
{
    Fixture f({QStringLiteral("--echo"), QStringLiteral("--fault"), QStringLiteral("busy:40+")});
    try {
        f.transfer.ReadSettings();
        FAIL();
    } catch (const TripError &e) {
        EXPECT_EQ(e.text(), TKV_RS::BusyText());
    }
    EXPECT_EQ(f.model.SettingsImage.size(), 38 * 32); // pages 1..38 arrived
    EXPECT_EQ(f.sim.requests().size(), 42u);          // nothing after the third attempt
}

// A device whose directory gives blocks of 0, 64 and 70 bytes.
QByteArray imageWithOddBlocks()
{
    QByteArray image = FormattedImage(5);
    auto *p = reinterpret_cast<uint8_t *>(image.data());
    SetU16(p, 4 * 1 + 2, 4);      // block 1: P = 0
    SetU16(p, 4 * 2 + 2, 64 + 4); // block 2: P = 64
    SetU16(p, 4 * 3 + 2, 70 + 4); // block 3: P = 70
    return image;
}

TEST(Transfer, WriteSendsEachBlockInChunksAndTheMemoryEndsAsPacked)
{
    QTemporaryDir dir;
    const QByteArray deviceImage = imageWithOddBlocks();
    const QString file = WriteSimSettings(dir.path(), deviceImage, 0xC000);
    Fixture f({QStringLiteral("--echo"), file});
    LoadSettingsFile(f.model, file);
    for (int i = 0; i < mem::kBlockSize[2]; ++i)
        f.model.block(2)[i] = uint8_t(0xA0 + i);
    for (int i = 0; i < mem::kBlockSize[3]; ++i)
        f.model.block(3)[i] = uint8_t(0x30 + i);
    const TBlockSnapshot written = f.model.SnapshotBlocks(1, 11);

    ASSERT_EQ(f.transfer.WriteSettings(), TSettingsTransfer::Outcome::Done);
    EXPECT_EQ(f.model.SnapshotBlocks(1, 11), written);
    const QByteArray expected = f.model.SettingsImage;
    const auto reqs = f.sim.requests();
    const QByteArray memory = f.sim.savedImage();
    EXPECT_EQ(memory, expected);
    EXPECT_NE(memory, deviceImage);

    // The write part: after the identify and the 254 pages, before the verify.
    std::vector<SimRequest> writes;
    for (const SimRequest &r : reqs)
        if (r.function == 12 || r.function == 4 || r.function == 7)
            writes.push_back(r);
    auto chunk = [](const SimRequest &r) {
        return std::pair<int, int>(uint8_t(r.frame[5]) | (uint8_t(r.frame[6]) << 8),
                                   uint8_t(r.frame[7]) | (uint8_t(r.frame[8]) << 8));
    };
    ASSERT_GE(writes.size(), 11u);
    // P = 0: open and close only.
    EXPECT_EQ(writes[0].function, 12);
    EXPECT_EQ(chunk(writes[0]).second, 0);
    EXPECT_EQ(writes[1].function, 7);
    // P = 64: two chunks of 32.
    EXPECT_EQ(writes[2].function, 12);
    EXPECT_EQ(chunk(writes[2]).second, 64);
    EXPECT_EQ(chunk(writes[3]), std::make_pair(0, 32));
    EXPECT_EQ(chunk(writes[4]), std::make_pair(1, 32));
    EXPECT_EQ(writes[5].function, 7);
    // P = 70: 32, 32 and 6.
    EXPECT_EQ(chunk(writes[6]).second, 70);
    EXPECT_EQ(chunk(writes[7]), std::make_pair(0, 32));
    EXPECT_EQ(chunk(writes[8]), std::make_pair(1, 32));
    EXPECT_EQ(chunk(writes[9]), std::make_pair(2, 6));
    EXPECT_EQ(writes[9].frame.size(), 10 + 6);
    EXPECT_EQ(writes[10].function, 7);
    // The chunk carries the block's bytes from its address on.
    const int address3 = uint8_t(writes[6].frame[5]) | (uint8_t(writes[6].frame[6]) << 8);
    EXPECT_EQ(writes[9].frame.mid(9, 6), expected.mid(address3 - 32 + 64, 6));

    // Sequence: identify, read, write, then the verify reads.
    EXPECT_EQ(reqs[0].function, 1);
    EXPECT_EQ(reqs[255].function, 12);
    EXPECT_EQ(reqs.back().function, 5);

    // The backup is the device's image before the write.
    const QStringList backups = QDir(f.backups.path()).entryList({QStringLiteral("*.kelmg")});
    ASSERT_EQ(backups.size(), 1);
    EXPECT_TRUE(backups[0].contains(QStringLiteral("C000")));
    EXPECT_EQ(f.transfer.LastBackupPath(), f.backups.filePath(backups[0]));
    TMK restored;
    LoadSettingsFile(restored, f.transfer.LastBackupPath());
    EXPECT_EQ(restored.SettingsImage, deviceImage);
    EXPECT_EQ(f.percents.back(), 100);
}

TEST(Transfer, WriteWithoutBackupAndVerifySendsNoMore)
{
    QTemporaryDir dir;
    const QString file = WriteSimSettings(dir.path(), FormattedImage(1), 0xC000);
    Fixture f({QStringLiteral("--echo"), file});
    LoadSettingsFile(f.model, file);
    f.transfer.BackupEnabled = false;
    f.transfer.VerifyEnabled = false;
    ASSERT_EQ(f.transfer.WriteSettings(), TSettingsTransfer::Outcome::Done);
    const auto reqs = f.sim.requests();
    EXPECT_EQ(reqs.back().function, 7);
    EXPECT_TRUE(QDir(f.backups.path()).entryList(QDir::Files).isEmpty());
}

TEST(Transfer, VerifyNamesTheBlockThatDidNotStick)
{
    QTemporaryDir dir;
    const QString file = WriteSimSettings(dir.path(), FormattedImage(1), 0xC000);
    // Requests 267..270 write block 3: after the identify, 254 pages, block 1
    // (12, six chunks, 7) and block 2 (12, one chunk, 7).
    Fixture f({QStringLiteral("--echo"), QStringLiteral("--fault"), QStringLiteral("drop:267-270"), file});
    LoadSettingsFile(f.model, file);
    f.model.block(3)[0] ^= 0xFF;
    try {
        f.transfer.WriteSettings();
        FAIL();
    } catch (const TripError &e) {
        EXPECT_TRUE(e.text().startsWith(QStringLiteral("Verify failed: block 3 (FuelBlock)")))
            << e.text().toStdString();
    }
}

TEST(Transfer, RefusalsSendNothing)
{
    QTemporaryDir dir;
    // Another DeviceType: only the identify goes out.
    {
        const QString file = WriteSimSettings(dir.path(), FormattedImage(1), 0xC000);
        Fixture f({QStringLiteral("--echo"), QStringLiteral("--device-type"), QStringLiteral("0xC001"), file});
        LoadSettingsFile(f.model, file);
        const QByteArray before = f.model.SettingsImage;
        try {
            f.transfer.WriteSettings();
            FAIL();
        } catch (const TripError &e) {
            EXPECT_EQ(e.text(), QStringLiteral("The settings version does not match the device version!"));
        }
        EXPECT_EQ(f.sim.functions(), std::vector<int>{1});
        EXPECT_EQ(f.model.SettingsImage, before);
    }
    // Another SettingsVersion: identify and the read, no write and no backup.
    {
        const QString file = WriteSimSettings(dir.path(), FormattedImage(1), 0xC000);
        Fixture f({QStringLiteral("--echo"), QStringLiteral("--settings-version"), QStringLiteral("2"), file});
        LoadSettingsFile(f.model, file);
        SetEnglishVersion(false);
        try {
            f.transfer.WriteSettings();
            FAIL();
        } catch (const TripError &e) {
            EXPECT_EQ(e.text(), QStringLiteral("Версия настроек не совпадает с версией прошивки!"));
        }
        SetEnglishVersion(true);
        const std::vector<int> fns = f.sim.functions();
        EXPECT_EQ(fns.size(), 255u);
        EXPECT_EQ(count(fns, 12) + count(fns, 4) + count(fns, 7), 0);
        EXPECT_TRUE(QDir(f.backups.path()).entryList(QDir::Files).isEmpty());
        EXPECT_EQ(uint8_t(f.model.SettingsImage[1]), 2); // the device's image with the blocks packed in
    }
}

TEST(Transfer, CancelDuringTheHandshakeEndsQuietly)
{
    Fixture f({QStringLiteral("--echo"), QStringLiteral("--fault"), QStringLiteral("silence:1-6")});
    f.link.FirstByteTimeout = 100;
    int asked = 0;
    f.transfer.Callbacks.cancelRequested = [&] { return ++asked >= 2; };
    int events = 0;
    f.transfer.Callbacks.processEvents = [&] { ++events; };
    f.model.SettingsImage = QByteArray(8128, '\x11');
    EXPECT_EQ(f.transfer.WriteSettings(), TSettingsTransfer::Outcome::Cancelled);
    EXPECT_EQ(asked, 2);
    EXPECT_GE(events, 2);
    EXPECT_EQ(f.model.SettingsImage, QByteArray(8128, '\x11'));
    EXPECT_EQ(f.sim.functions(), std::vector<int>(6, 1)); // two handshakes of three attempts
    // The port is given up; the next transfer opens it again.
    EXPECT_FALSE(f.link.IsOpen());
    f.transfer.Callbacks.cancelRequested = nullptr;
    EXPECT_EQ(f.transfer.ReadSettings(), TSettingsTransfer::Outcome::Done);
    EXPECT_EQ(f.model.SettingsImage.size(), 8128);
}

TEST(Transfer, HandshakeRepeatsUntilTheDeviceAnswersOrTheLimit)
{
    {
        Fixture f({QStringLiteral("--echo"), QStringLiteral("--fault"), QStringLiteral("silence:1-4")});
        f.transfer.UnpackAfterRead = false;
        EXPECT_EQ(f.transfer.ReadSettings(), TSettingsTransfer::Outcome::Done);
        EXPECT_EQ(f.sim.requests().size(), 5u + 254u);
    }
    {
        Fixture f({QStringLiteral("--echo"), QStringLiteral("--fault"), QStringLiteral("silence")});
        f.transfer.HandshakeLimitMs = 300;
        try {
            f.transfer.ReadSettings();
            FAIL();
        } catch (const TripError &e) {
            EXPECT_EQ(e.text(), TKV_RS::NoLinkText());
        }
    }
}

TEST(Transfer, KeepAliveIgnoresErrors)
{
    Fixture f({QStringLiteral("--fault"), QStringLiteral("silence")});
    f.link.FirstByteTimeout = 20;
    EXPECT_NO_THROW(TSettingsTransfer::KeepAlive(f.link));
    EXPECT_EQ(f.sim.functions(), std::vector<int>(3, 1));
}

TEST(Transfer, PlanRefusesDirectoriesThatPointOutsideTheMemory)
{
    QByteArray image = FormattedImage(1);
    auto *p = reinterpret_cast<uint8_t *>(image.data());
    EXPECT_EQ(TSettingsTransfer::PlanBlocks(image).size(), 11u);
    struct Row {
        int offset;
        uint16_t value;
    };
    const Row rows[] = {
        {4 * 5 + 2, 2}, // length below 4
        {4 * 5, 16},    // address inside page 0
        {4 * 5, 4090},  // runs past the first half
        {0, 15},        // more entries than the directory holds
    };
    for (const Row &r : rows) {
        QByteArray bad = image;
        auto *b = reinterpret_cast<uint8_t *>(bad.data());
        if (r.offset == 0)
            b[0] = uint8_t(r.value);
        else
            SetU16(b, r.offset, r.value);
        EXPECT_THROW(TSettingsTransfer::PlanBlocks(bad), TripError) << r.offset << " " << r.value;
    }
    (void)p;
}

} // namespace
