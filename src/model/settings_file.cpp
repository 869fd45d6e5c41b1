#include "settings_file.h"

#include "errors.h"
#include "language.h"
#include "tmk.h"

#include <QDir>
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
        throw TripError(
            LangText("Cannot create the file %1: %2", "Не удалось создать файл %1: %2").arg(path, file.errorString()));
    const QByteArray bytes = SettingsFileBytes(deviceType, image);
    if (file.write(bytes) != bytes.size() || !file.commit())
        throw TripError(
            LangText("Cannot write the file %1: %2", "Не удалось записать файл %1: %2").arg(path, file.errorString()));
}

void SaveSettingsFile(const TMK &model, const QString &path)
{
    SaveSettingsFile(model.DeviceType, model.SettingsImage, path);
}

namespace {

// The largest settings file: DeviceType and a device's whole image.
constexpr qint64 kMaxFileSize = 2 + mem::kImageSize;

// "The file X is not a settings file or is damaged." and why.
TripError notASettingsFile(const QString &path, const QString &why)
{
    const QString head = path.isEmpty() ? LangText("This is not a settings file or it is damaged.",
                                                   "Это не файл настроек, или он повреждён.")
                                        : LangText("The file %1 is not a settings file or is damaged.",
                                                   "Файл %1 не является файлом настроек или повреждён.")
                                              .arg(QDir::toNativeSeparators(path));
    return TripError(head + QLatin1Char(' ') + why);
}

TripError tooLong(const QString &path, qint64 size)
{
    return notASettingsFile(path, LangText("It is %1 long, more than the %2 of a device's settings.",
                                           "Его длина %1, больше %2 настроек МК.")
                                      .arg(ByteCount(size), ByteCount(kMaxFileSize)));
}

// Checks the file's bytes and unscrambles the image; throws before anything
// is taken from a file that no device could have produced.
TSettingsFileContents decode(const QByteArray &file, const QString &path)
{
    if (file.size() < 2)
        throw notASettingsFile(path,
                               LangText("It is only %1 long.", "Его длина всего %1.").arg(ByteCount(file.size())));
    if (file.size() > kMaxFileSize)
        throw tooLong(path, file.size());
    TSettingsFileContents out;
    out.DeviceType = static_cast<uint16_t>(static_cast<uint8_t>(file[0]) | (static_cast<uint8_t>(file[1]) << 8));
    const auto &key = SettingsFileKey();
    out.Image = QByteArray(file.size() - 2, Qt::Uninitialized);
    for (qsizetype k = 0; k < out.Image.size(); ++k)
        out.Image[k] = static_cast<char>(static_cast<uint8_t>(file[k + 2]) ^ key[static_cast<size_t>(k % 4096)]);
    // Byte 0 of the image counts the directory's entries, of which there are 14.
    if (!out.Image.isEmpty() && static_cast<uint8_t>(out.Image[0]) > mem::kDirectoryEntries)
        throw notASettingsFile(path, LangText("Its block directory names %1, more than the %2 it can hold.",
                                              "Его каталог блоков называет %1, больше допустимых %2.")
                                         .arg(BlockCount(static_cast<uint8_t>(out.Image[0])))
                                         .arg(mem::kDirectoryEntries));
    return out;
}

void load(TMK &model, const TSettingsFileContents &contents, const QString &path)
{
    model.DeviceType = contents.DeviceType;
    model.ClearImage();
    model.AppendImage(contents.Image);
    try {
        model.UnpackAll();
    } catch (const TripError &e) {
        throw notASettingsFile(path, e.text());
    }
}

} // namespace

void LoadSettingsBytes(TMK &model, const QByteArray &file, const QString &path)
{
    load(model, decode(file, path), path);
}

TSettingsFileContents ReadSettingsFile(const QString &path)
{
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly))
        throw TripError(
            LangText("Cannot open the file %1: %2", "Не удалось открыть файл %1: %2").arg(path, file.errorString()));
    // The size is known before reading for an ordinary file; anything else is
    // read no further than one byte past the largest settings file.
    if (!file.isSequential() && file.size() > kMaxFileSize)
        throw tooLong(path, file.size());
    const QByteArray bytes = file.read(kMaxFileSize + 1);
    if (file.error() != QFileDevice::NoError)
        throw TripError(
            LangText("Cannot read the file %1: %2", "Не удалось прочитать файл %1: %2").arg(path, file.errorString()));
    if (bytes.size() > kMaxFileSize)
        throw notASettingsFile(
            path, LangText("It is longer than the %1 of a device's settings.", "Он длиннее %1 настроек МК.")
                      .arg(ByteCount(kMaxFileSize)));
    return decode(bytes, path);
}

void LoadSettingsFile(TMK &model, const QString &path) { load(model, ReadSettingsFile(path), path); }
