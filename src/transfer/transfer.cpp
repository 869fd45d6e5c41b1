#include "transfer.h"

#include "errors.h"
#include "exchange_log.h"
#include "kv_rs.h"
#include "language.h"
#include "settings_file.h"
#include "tmk.h"

#include <QDateTime>
#include <QDir>
#include <QFileInfo>
#include <QStandardPaths>

#include <chrono>
#include <cmath>
#include <map>

namespace {

// Unwinds a transfer that was asked to stop, up to ReadSettings/WriteSettings.
struct Stopped {};

int gauge(long long part, long long whole)
{
    return whole > 0 ? int(std::lround(double(part) * 100.0 / double(whole))) : 100;
}

} // namespace

TSettingsTransfer::TSettingsTransfer(TKV_RS &link, TMK &model) : m_link(link), m_model(model) {}

QString TSettingsTransfer::ReconnectText()
{
    return LangText("Reconnect the device power supply", "Переподключите питание МК");
}
QString TSettingsTransfer::ReadingText() { return LangText("The settings are being read...", "Чтение настроек..."); }
QString TSettingsTransfer::WritingText() { return LangText("The settings are recorded...", "Запись настроек..."); }
QString TSettingsTransfer::VerifyingText()
{
    return LangText("The recorded settings are being checked...", "Проверка записанных настроек...");
}
QString TSettingsTransfer::RecordedText()
{
    return LangText("The settings are recorded in the device", "Настройки записаны в МК");
}
QString TSettingsTransfer::DeviceTypeMismatchText()
{
    return LangText("The settings version does not match the device version!",
                    "Версия настроек не совпадает с версией устройства!");
}
QString TSettingsTransfer::VersionMismatchText()
{
    return LangText("The settings version does not match the firmware version!",
                    "Версия настроек не совпадает с версией прошивки!");
}

QString TSettingsTransfer::InterruptedText() { return LangText("Interrupted", "Прервано"); }

QString TSettingsTransfer::PartlyWrittenText(const QString &backupPath)
{
    const QString head = LangText("The device may be partly written.", "МК может быть записан частично.");
    if (backupPath.isEmpty())
        return head + QLatin1Char(' ') +
               LangText("No copy of its settings before the write was kept; write complete settings into it again.",
                        "Копия его настроек до записи не сохранялась; запишите в него полные настройки заново.");
    return head + QLatin1Char(' ') +
           LangText("Its settings before the write are in the file %1.",
                    "Его настройки до записи сохранены в файле %1.")
               .arg(QDir::toNativeSeparators(backupPath));
}

QString TSettingsTransfer::DefaultBackupFolder()
{
    return QStandardPaths::writableLocation(QStandardPaths::AppDataLocation) + QStringLiteral("/backups");
}

void TSettingsTransfer::progress(const QString &text, int percent, bool gauge, bool cancel)
{
    if (Callbacks.progress)
        Callbacks.progress(text, percent, gauge, cancel);
}

void TSettingsTransfer::KeepAlive(TKV_RS &link)
{
    try {
        link.SendCommand(kExchangeCommand, 1);
    } catch (const TripError &) {
    }
}

void TSettingsTransfer::checkStop() const
{
    if (Callbacks.stopRequested && Callbacks.stopRequested()) {
        if (m_link.Log())
            m_link.Log()->Note(QStringLiteral("stopped"));
        throw Stopped();
    }
}

void TSettingsTransfer::openPort()
{
    // Waiting for a device on a port that is not open would wait for ever.
    const QString why = m_link.OpenAgain();
    if (!why.isEmpty())
        throw TripError(why);
}

bool TSettingsTransfer::handshake(uint16_t &deviceType)
{
    const auto start = std::chrono::steady_clock::now();
    for (;;) {
        checkStop();
        QString lastError;
        try {
            m_link.FirstByteTimeout = kShortTimeout;
            m_link.SendCommand(kExchangeCommand, 1);
            m_link.GetByte(); // not interpreted
            deviceType = m_link.GetWord();
            m_deviceTypeOfDevice = deviceType;
            return true;
        } catch (const TripError &e) {
            lastError = e.text();
        }
        if (Callbacks.processEvents)
            Callbacks.processEvents();
        if (Callbacks.cancelRequested && Callbacks.cancelRequested()) {
            if (m_link.Log())
                m_link.Log()->Note(QStringLiteral("handshake cancelled"));
            // Nothing of the unanswered request may linger for the next
            // transfer, and another program may have the port meanwhile.
            m_link.ClosePort();
            return false;
        }
        if (HandshakeLimitMs > 0 &&
            std::chrono::steady_clock::now() - start >= std::chrono::milliseconds(HandshakeLimitMs))
            throw TripError(lastError);
    }
}

void TSettingsTransfer::readImage(QByteArray &into)
{
    const int pagesPerHalf = int(kImageSize / 64) - 1; // 127
    const int pages = int(kImageSize / 32) - 2;        // 254
    for (int half = 0; half < 2; ++half)
        for (int j = 1; j <= pagesPerHalf; ++j) {
            const int page = 128 * half + j;
            checkStop();
            m_link.BeginRequest(kExchangeCommand, 5);
            m_link.PutWord(uint16_t(page));
            m_link.Exchange();
            char bytes[32];
            for (char &b : bytes)
                b = char(m_link.GetByte());
            into.append(bytes, 32);
            progress(ReadingText(), gauge(page, pages), true, false);
        }
}

TSettingsTransfer::Outcome TSettingsTransfer::ReadSettings()
try {
    openPort();
    m_link.SetBaudRate(kBaudRate);
    progress(ReconnectText(), 0, false, true);
    uint16_t deviceType = 0;
    if (!handshake(deviceType))
        return Outcome::Cancelled;
    m_model.DeviceType = deviceType;
    progress(ReadingText(), 0, true, false);
    if (Callbacks.processEvents)
        Callbacks.processEvents();
    m_model.ClearImage();
    readImage(m_model.SettingsImage);
    if (UnpackAfterRead)
        m_model.UnpackAll();
    return Outcome::Done;
} catch (const Stopped &) {
    return Outcome::Interrupted;
}

std::vector<TSettingsTransfer::TBlockPlan> TSettingsTransfer::PlanBlocks(const QByteArray &image)
{
    if (image.size() < mem::kDirectorySize)
        throw TripError(LangText("The settings image (%1) is too short to hold the block directory",
                                 "Образ настроек (%1) слишком короткий: в нём нет каталога блоков")
                            .arg(ByteCount(image.size())));
    const auto *p = reinterpret_cast<const uint8_t *>(image.constData());
    const int count = p[0];
    // The directory has room for 14 entries; a larger count would take
    // settings bytes for block addresses and write them anywhere.
    if (count > mem::kDirectoryEntries)
        throw TripError(LangText("The device's block directory names %1, more than the %2 it can hold; "
                                 "nothing was written.",
                                 "Каталог блоков МК называет %1, больше допустимых %2; ничего не записано.")
                            .arg(BlockCount(count))
                            .arg(mem::kDirectoryEntries));
    // Image offset = address - 32 holds only in the first half of the memory.
    const int firstHalfEnd = mem::kDeviceMemorySize / 2;
    std::vector<TBlockPlan> plans;
    for (int i = 1; i <= count; ++i) {
        TBlockPlan plan;
        plan.Block = i;
        plan.Address = GetU16(p, 4 * i);
        const int length = GetU16(p, 4 * i + 2);
        const int payload = length - 4;
        if (payload < 0 || plan.Address < mem::kImageAddressBase || plan.Address + payload > firstHalfEnd ||
            plan.Address - mem::kImageAddressBase + payload > image.size())
            throw TripError(LangText("Block %1 of the device's directory (address %2, length %3) lies outside the "
                                     "settings memory; nothing was written.",
                                     "Блок %1 каталога МК (адрес %2, длина %3) выходит за пределы памяти настроек; "
                                     "ничего не записано.")
                                .arg(i)
                                .arg(plan.Address)
                                .arg(length));
        plan.Length = uint16_t(payload);
        for (int k = 0; k < payload / 32; ++k)
            plan.Chunks.push_back(32);
        if (payload % 32 > 0)
            plan.Chunks.push_back(payload % 32);
        plans.push_back(std::move(plan));
    }
    return plans;
}

void TSettingsTransfer::writeBlock(const TBlockPlan &plan, const QByteArray &image)
{
    const QByteArray scratch = image.mid(plan.Address - mem::kImageAddressBase, plan.Length);
    const auto *bytes = reinterpret_cast<const uint8_t *>(scratch.constData());
    m_link.FirstByteTimeout = kBlockTimeout;
    checkStop();
    m_writeStarted = true;
    m_link.BeginRequest(kExchangeCommand, 12);
    m_link.PutWord(plan.Address);
    m_link.PutWord(plan.Length);
    m_link.Exchange();
    int at = 0;
    for (size_t k = 0; k < plan.Chunks.size(); ++k) {
        const int count = plan.Chunks[k];
        checkStop();
        m_link.BeginRequest(kExchangeCommand, 4);
        m_link.PutWord(uint16_t(k));
        m_link.PutWord(uint16_t(count));
        for (int i = 0; i < count; ++i)
            m_link.PutByte(bytes[at + i]);
        m_link.Exchange();
        at += count;
    }
    checkStop();
    m_link.BeginRequest(kExchangeCommand, 7);
    m_link.PutWord(plan.Address);
    m_link.PutWord(plan.Length);
    m_link.Exchange();
}

void TSettingsTransfer::verify(const std::vector<TBlockPlan> &plans, const QByteArray &image)
{
    int total = 0;
    for (const TBlockPlan &plan : plans)
        if (plan.Length > 0)
            total += (plan.Address + plan.Length - 1) / 32 - plan.Address / 32 + 1;
    progress(VerifyingText(), 0, true, false);
    m_link.FirstByteTimeout = kShortTimeout;
    std::map<int, QByteArray> pages; // blocks may share a page
    int done = 0;
    for (const TBlockPlan &plan : plans) {
        if (plan.Length == 0)
            continue;
        QByteArray back;
        for (int page = plan.Address / 32; page <= (plan.Address + plan.Length - 1) / 32; ++page) {
            auto it = pages.find(page);
            if (it == pages.end()) {
                checkStop();
                m_link.BeginRequest(kExchangeCommand, 5);
                m_link.PutWord(uint16_t(page));
                m_link.Exchange();
                QByteArray bytes(32, '\0');
                for (char &b : bytes)
                    b = char(m_link.GetByte());
                it = pages.emplace(page, bytes).first;
            }
            back += it->second;
            progress(VerifyingText(), gauge(++done, total), true, false);
        }
        back = back.mid(plan.Address % 32, plan.Length);
        const QByteArray sent = image.mid(plan.Address - mem::kImageAddressBase, plan.Length);
        if (back != sent) {
            int at = 0;
            while (at < sent.size() && back[at] == sent[at])
                ++at;
            const QString name = plan.Block <= mem::kBlockCount
                                     ? QStringLiteral(" (%1)").arg(QString::fromLatin1(mem::BlockName(plan.Block)))
                                     : QString();
            throw TripError(LangText("Verify failed: block %1%2 at address %3 differs from what was written "
                                     "(first difference at byte %4 of %5).",
                                     "Ошибка проверки: блок %1%2 по адресу %3 отличается от записанного "
                                     "(первое отличие в байте %4 из %5).")
                                .arg(plan.Block)
                                .arg(name)
                                .arg(plan.Address)
                                .arg(at)
                                .arg(plan.Length));
        }
    }
}

QString TSettingsTransfer::saveBackup(const QByteArray &image, uint16_t deviceType)
{
    const QString folder = BackupFolder.isEmpty() ? DefaultBackupFolder() : BackupFolder;
    if (!QDir().mkpath(folder))
        throw TripError(LangText("The backup of the device's settings could not be saved: cannot create the folder "
                                 "%1. Nothing was written.",
                                 "Не удалось сохранить резервную копию настроек МК: нельзя создать папку %1. "
                                 "Ничего не записано.")
                            .arg(folder));
    const QString base = QStringLiteral("%1_%2")
                             .arg(QDateTime::currentDateTime().toString(QStringLiteral("yyyy-MM-dd_HH-mm-ss")))
                             .arg(deviceType, 4, 16, QLatin1Char('0'))
                             .toUpper();
    QString path = folder + QLatin1Char('/') + base + QStringLiteral(".kelmg");
    for (int n = 2; QFileInfo::exists(path); ++n)
        path = folder + QLatin1Char('/') + base + QStringLiteral("_%1.kelmg").arg(n);
    try {
        SaveSettingsFile(deviceType, image, path);
    } catch (const TripError &e) {
        throw TripError(LangText("The backup of the device's settings could not be saved: %1. Nothing was written.",
                                 "Не удалось сохранить резервную копию настроек МК: %1. Ничего не записано.")
                            .arg(e.text()));
    }
    return path;
}

TSettingsTransfer::Outcome TSettingsTransfer::WriteSettings()
try {
    m_backupPath.clear();
    m_writeStarted = false;
    const TBlockSnapshot kept = m_model.SnapshotBlocks(1, mem::kBlockCount);
    const uint8_t keptVersion =
        m_model.SettingsImage.size() >= 2 ? uint8_t(m_model.SettingsImage[1]) : m_model.BlockDirectory.SettingsVersion;
    openPort();
    m_link.SetBaudRate(kBaudRate);
    progress(ReconnectText(), 0, false, true);
    uint16_t deviceType = 0;
    if (!handshake(deviceType))
        return Outcome::Cancelled;
    if (deviceType != m_model.DeviceType)
        throw TripError(DeviceTypeMismatchText());

    progress(ReadingText(), 0, true, false);
    if (Callbacks.processEvents)
        Callbacks.processEvents();
    m_model.ClearImage();
    readImage(m_model.SettingsImage);
    const QByteArray deviceImage = m_model.SettingsImage;

    m_model.RestoreBlocks(1, mem::kBlockCount, kept);
    m_model.PackAll();
    if (uint8_t(m_model.SettingsImage[1]) != keptVersion)
        throw TripError(VersionMismatchText());
    const QByteArray image = m_model.SettingsImage;
    const std::vector<TBlockPlan> plans = PlanBlocks(image);

    if (BackupEnabled) {
        m_backupPath = saveBackup(deviceImage, deviceType);
        if (m_link.Log())
            m_link.Log()->Note(QStringLiteral("backup saved to %1").arg(m_backupPath));
        if (Callbacks.info)
            Callbacks.info(LangText("The device's settings before the write were saved to %1",
                                    "Настройки МК до записи сохранены в файл %1")
                               .arg(m_backupPath));
    }

    progress(WritingText(), 0, true, false);
    if (Callbacks.processEvents)
        Callbacks.processEvents();
    for (size_t i = 0; i < plans.size(); ++i) {
        writeBlock(plans[i], image);
        progress(WritingText(), gauge(long(i + 1), long(plans.size())), true, false);
    }
    if (VerifyEnabled) {
        verify(plans, image);
        // The block time-out stays in force after a write, verified or not.
        m_link.FirstByteTimeout = kBlockTimeout;
    }
    return Outcome::Done;
} catch (const Stopped &) {
    return Outcome::Interrupted;
}
