#include "settings_file.h"

#include "errors.h"
#include "language.h"
#include "tmk.h"

#include <QFile>
#include <QSaveFile>

const std::array<uint8_t, 4096> &SettingsFileKey()
{
    static const std::array<uint8_t, 4096> key = [] {
        std::array<uint8_t, 4096> k{};
        uint32_t x = 0x1F2E3D4Cu;
        for (auto &byte : k) {
            x = x * 1664525u + 1013904223u;
            byte = static_cast<uint8_t>(x >> 24);
        }
        return k;
    }();
    return key;
}

QByteArray SettingsFileBytes(uint16_t deviceType, const QByteArray &image)
{
    const auto &key = SettingsFileKey();
    QByteArray out;
    out.reserve(image.size() + 2);
    out.append(static_cast<char>(deviceType & 0xFF));
    out.append(static_cast<char>(deviceType >> 8));
    for (qsizetype k = 0; k < image.size(); ++k)
        out.append(static_cast<char>(static_cast<uint8_t>(image[k]) ^ key[static_cast<size_t>(k % 4096)]));
    return out;
}

QByteArray SettingsFileBytes(const TMK &model) { return SettingsFileBytes(model.DeviceType, model.SettingsImage); }

void SaveSettingsFile(uint16_t deviceType, const QByteArray &image, const QString &path)
{
    QSaveFile file(path);
    if (!file.open(QIODevice::WriteOnly))
        throw TripError(LangText("Cannot create the file %1: %2", "Не удалось создать файл %1: %2")
                            .arg(path, file.errorString()));
    const QByteArray bytes = SettingsFileBytes(deviceType, image);
    if (file.write(bytes) != bytes.size() || !file.commit())
        throw TripError(LangText("Cannot write the file %1: %2", "Не удалось записать файл %1: %2")
                            .arg(path, file.errorString()));
}

void SaveSettingsFile(const TMK &model, const QString &path)
{
    SaveSettingsFile(model.DeviceType, model.SettingsImage, path);
}

void LoadSettingsBytes(TMK &model, const QByteArray &file)
{
    if (file.size() < 2)
        throw TripError(LangText("The settings file is damaged: it is only %1 bytes long",
                                 "Файл настроек повреждён: его длина всего %1 байт")
                            .arg(file.size()));
    model.DeviceType = static_cast<uint16_t>(static_cast<uint8_t>(file[0]) | (static_cast<uint8_t>(file[1]) << 8));
    const auto &key = SettingsFileKey();
    QByteArray image(file.size() - 2, Qt::Uninitialized);
    for (qsizetype k = 0; k < image.size(); ++k)
        image[k] = static_cast<char>(static_cast<uint8_t>(file[k + 2]) ^ key[static_cast<size_t>(k % 4096)]);
    model.ClearImage();
    model.AppendImage(image);
    model.UnpackAll();
}

void LoadSettingsFile(TMK &model, const QString &path)
{
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly))
        throw TripError(LangText("Cannot open the file %1: %2", "Не удалось открыть файл %1: %2")
                            .arg(path, file.errorString()));
    const QByteArray bytes = file.readAll();
    if (file.error() != QFileDevice::NoError)
        throw TripError(LangText("Cannot read the file %1: %2", "Не удалось прочитать файл %1: %2")
                            .arg(path, file.errorString()));
    LoadSettingsBytes(model, bytes);
}
