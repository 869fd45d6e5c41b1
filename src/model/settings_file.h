#pragma once
#include <QByteArray>
#include <QString>
#include <array>
#include <cstdint>

class TMK;

// The 4096-byte key that scrambles the image in a settings file.
const std::array<uint8_t, 4096> &SettingsFileKey();

// DeviceType, then the image XORed with the key.
QByteArray SettingsFileBytes(uint16_t deviceType, const QByteArray &image);
QByteArray SettingsFileBytes(const TMK &model);

// Writes atomically: a failure leaves any old file as it was. Throws TripError.
void SaveSettingsFile(const TMK &model, const QString &path);
void SaveSettingsFile(uint16_t deviceType, const QByteArray &image, const QString &path);

// What a settings file holds.
struct TSettingsFileContents {
    uint16_t DeviceType = 0;
    QByteArray Image; // unscrambled
};

// Reads and checks a settings file without touching any model: a file longer
// than a device's image (checked before reading) or whose directory names more
// blocks than a directory holds is refused. Throws TripError naming the file.
TSettingsFileContents ReadSettingsFile(const QString &path);

// Replaces the model's DeviceType and image with the file's and unpacks all
// blocks. A file refused by the checks above leaves the model as it was; on a
// later error (a block outside the image) the model keeps what had been put
// into it up to there. Errors name `path` (the file's name for messages).
void LoadSettingsBytes(TMK &model, const QByteArray &file, const QString &path = QString());
void LoadSettingsFile(TMK &model, const QString &path);
