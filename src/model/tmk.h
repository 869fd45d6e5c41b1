#pragma once
#include "blocks.h"
#include "fields.h"

#include <QByteArray>
#include <QString>
#include <array>
#include <cstdint>
#include <functional>
#include <memory>
#include <vector>

#include "measured_params.h"

struct TDirectoryEntry {
    uint16_t Address = 0; // device address of the block's first byte
    uint16_t Length = 0;  // block length in the device plus 4
};

// The model's copy of the first 60 bytes of the image.
struct TBlockDirectory {
    uint8_t BlockCount = 0;
    uint8_t SettingsVersion = 0;
    std::array<TDirectoryEntry, mem::kDirectoryEntries> Entries{}; // Entries[i - 1] is block i
};

struct TColour {
    int r = 0, g = 0, b = 0;
    bool operator==(const TColour &) const = default;
};

uint16_t PackColour(int r, int g, int b);
TColour UnpackColour(uint16_t word);

// Day numbers: year y is 2000 + y (0..255). DayNumber(1, 1, 1) = 367.
int DayNumber(int day, int month, int year);
struct TDate {
    int day = 0, month = 0, year = 0;
    bool operator==(const TDate &) const = default;
};
TDate DateOfDayNumber(int n);               // n >= 1
QString TimeOfDayText(int minutes);         // 125 -> "02:05"
int MinutesOfTimeText(const QString &text); // "07:30" -> 450; 0 when not "hh:mm"
QString BitText(uint32_t value, int bits = 8);

// Little-endian field access inside a block or the image.
uint8_t GetU8(const uint8_t *p, int off);
uint16_t GetU16(const uint8_t *p, int off);
int16_t GetI16(const uint8_t *p, int off);
uint32_t GetU32(const uint8_t *p, int off);
int32_t GetI32(const uint8_t *p, int off);
float GetF32(const uint8_t *p, int off);
void SetU8(uint8_t *p, int off, uint8_t v);
void SetU16(uint8_t *p, int off, uint16_t v);
void SetU32(uint8_t *p, int off, uint32_t v);
void SetF32(uint8_t *p, int off, float v);

using TBlockSnapshot = std::vector<uint8_t>;

// The settings model: the image of the device's settings memory, its block
// directory, the eleven typed blocks and their run-time companions.
class TMK {
public:
    // A new model with the defaults of `deviceType` (the program creates 0xC000).
    explicit TMK(uint16_t deviceType = 0xC000);
    ~TMK();
    TMK(const TMK &) = delete;
    TMK &operator=(const TMK &) = delete;

    QByteArray SettingsImage;
    TBlockDirectory BlockDirectory;
    uint16_t DeviceType = 0xC000;
    int ActiveScheme = 0;
    // The editor's copy of the protocol index chosen last; run time only, it
    // has no place in the image.
    uint16_t SecondProtocolIndex = 0;
    std::array<std::array<uint8_t, mem::kSchemeSize>, 2> DefaultSchemes{};

    uint8_t *block(int i) { return m_blocks.data() + mem::kBlockOffset[i]; }
    const uint8_t *block(int i) const { return m_blocks.data() + mem::kBlockOffset[i]; }
    const std::array<uint8_t, mem::kModelSize> &blocks() const { return m_blocks; }
    uint8_t *at(fld::FieldAddress f) { return block(f.block) + f.offset; }
    const uint8_t *at(fld::FieldAddress f) const { return block(f.block) + f.offset; }
    // A field of 1, 2, 4 or 8 bytes as a number, and storing one (truncated
    // to the field's width).
    uint64_t get(fld::FieldAddress f) const;
    int64_t getSigned(fld::FieldAddress f) const;
    void set(fld::FieldAddress f, int64_t value);

    // Image and blocks. The unpack of a block whose payload lies outside the
    // image fails with an error naming the block; nothing reads or writes
    // outside the image or a block.
    void ReadHeader();
    void UnpackBlock(int i);
    void PackBlock(int i);
    void UnpackAll();
    void PackAll();
    void ClearImage() { SettingsImage.clear(); }
    // Lays out a device-sized image (8128 bytes) with a directory of the eleven
    // blocks one after another from address 92, and packs the model into it.
    void FormatImage(uint8_t settingsVersion);
    void AppendImage(const QByteArray &bytes) { SettingsImage.append(bytes); }

    // Copies of blocks first..last, as the editor and the write take them.
    TBlockSnapshot SnapshotBlocks(int first, int last) const;
    void RestoreBlocks(int first, int last, const TBlockSnapshot &snapshot);

    void SetDefaultColours();

    // Rebuilds the protocol and menu catalogs for this model's DeviceType,
    // protocol index and settings version (protocol indices of 256 and above
    // are refused).
    void ConsultCatalog();
    // The same for the editor, which also opens with no protocol to select.
    void ConsultCatalogForEditing();

    // Measured parameters.
    void RebuildParameters();
    TMeasParBase *FindParameter(int number) const;
    const std::vector<std::unique_ptr<TMeasParBase>> &Parameters() const { return m_parameters; }

    // Opens the settings editor through `openEditor` (modal; true = confirmed).
    bool EditSettings(const std::function<bool(TMK &)> &openEditor);
    // Opens the journals viewer through `openViewer` (modal; true = confirmed).
    bool ViewJournals(const std::function<bool(TMK &)> &openViewer);

private:
    void storeDefaults();
    void storeDefaultHotMenus();

    std::array<uint8_t, mem::kModelSize> m_blocks{};
    std::vector<std::unique_ptr<TMeasParBase>> m_parameters;
};
