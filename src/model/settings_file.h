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

// Replaces the model's DeviceType and image with the file's and unpacks all
// blocks. On an error the model keeps what had been put into it up to there.
void LoadSettingsBytes(TMK &model, const QByteArray &file);
void LoadSettingsFile(TMK &model, const QString &path);
