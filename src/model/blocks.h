#pragma once
#include <array>
#include <cstdint>

// Geometry of the device's settings memory and of the model's eleven blocks.
namespace mem {

constexpr int kDeviceMemorySize = 8192; // ImageSize of the device
constexpr int kPageSize = 32;
constexpr int kImagePages = 254;                    // pages 1..127 and 129..255
constexpr int kImageSize = kImagePages * kPageSize; // 8128 bytes as read from a device
constexpr int kDirectorySize = 60;
constexpr int kDirectoryEntries = 14;
constexpr int kBlockCount = 11;
constexpr int kImageAddressBase = 32; // image offset = device address - 32

enum Block : int {
    TotalsBlock = 1,
    ParkingBlock,
    FuelBlock,
    TankTableBlock,
    ServiceBlock,
    LimitsBlock,
    TripLogBlock,
    SoundBlock,
    DisplayBlock,
    VehicleBlock,
    ErrorLogBlock,
};

// Model sizes, index = block number (index 0 unused).
constexpr std::array<int, kBlockCount + 1> kBlockSize{0, 164, 28, 64, 420, 128, 88, 860, 40, 412, 60, 664};

constexpr std::array<int, kBlockCount + 1> blockOffsets()
{
    std::array<int, kBlockCount + 1> o{};
    int at = 0;
    for (int i = 1; i <= kBlockCount; ++i) {
        o[i] = at;
        at += kBlockSize[i];
    }
    return o;
}
constexpr std::array<int, kBlockCount + 1> kBlockOffset = blockOffsets();
constexpr int kModelSize = kBlockOffset[kBlockCount] + kBlockSize[kBlockCount];
static_assert(kModelSize == 2928);

const char *BlockName(int block); // "TotalsBlock", ...

constexpr int kSchemeSize = 56;
constexpr int kSchemeColours = 16;
constexpr int kScheme0Offset = 80;  // in DisplayBlock
constexpr int kScheme1Offset = 136; // in DisplayBlock

} // namespace mem
