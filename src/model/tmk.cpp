#include "tmk.h"

#include "cp1251.h"
#include "errors.h"
#include "language.h"
#include "menu_catalog.h"
#include "protocol_catalog.h"

#include <algorithm>
#include <cstring>

namespace mem {
const char *BlockName(int block)
{
    static const char *const names[] = {"",
                                        "TotalsBlock",
                                        "ParkingBlock",
                                        "FuelBlock",
                                        "TankTableBlock",
                                        "ServiceBlock",
                                        "LimitsBlock",
                                        "TripLogBlock",
                                        "SoundBlock",
                                        "DisplayBlock",
                                        "VehicleBlock",
                                        "ErrorLogBlock"};
    return block >= 1 && block <= kBlockCount ? names[block] : "";
}
} // namespace mem

// ---- field access ----------------------------------------------------------

uint8_t GetU8(const uint8_t *p, int off) { return p[off]; }
uint16_t GetU16(const uint8_t *p, int off) { return static_cast<uint16_t>(p[off] | (p[off + 1] << 8)); }
int16_t GetI16(const uint8_t *p, int off) { return static_cast<int16_t>(GetU16(p, off)); }
uint32_t GetU32(const uint8_t *p, int off)
{
    return static_cast<uint32_t>(p[off]) | (static_cast<uint32_t>(p[off + 1]) << 8) |
           (static_cast<uint32_t>(p[off + 2]) << 16) | (static_cast<uint32_t>(p[off + 3]) << 24);
}
int32_t GetI32(const uint8_t *p, int off) { return static_cast<int32_t>(GetU32(p, off)); }
float GetF32(const uint8_t *p, int off)
{
    const uint32_t bits = GetU32(p, off);
    float f;
    std::memcpy(&f, &bits, sizeof f);
    return f;
}
void SetU8(uint8_t *p, int off, uint8_t v) { p[off] = v; }
void SetU16(uint8_t *p, int off, uint16_t v)
{
    p[off] = static_cast<uint8_t>(v);
    p[off + 1] = static_cast<uint8_t>(v >> 8);
}
void SetU32(uint8_t *p, int off, uint32_t v)
{
    for (int k = 0; k < 4; ++k)
        p[off + k] = static_cast<uint8_t>(v >> (8 * k));
}
void SetF32(uint8_t *p, int off, float v)
{
    uint32_t bits;
    std::memcpy(&bits, &v, sizeof bits);
    SetU32(p, off, bits);
}

uint64_t TMK::get(fld::FieldAddress f) const
{
    const uint8_t *p = at(f);
    uint64_t v = 0;
    for (int k = f.width - 1; k >= 0; --k)
        v = (v << 8) | p[k];
    return v;
}

int64_t TMK::getSigned(fld::FieldAddress f) const
{
    const uint64_t v = get(f);
    const int bits = 8 * f.width;
    if (bits >= 64 || !((v >> (bits - 1)) & 1u))
        return static_cast<int64_t>(v);
    return static_cast<int64_t>(v | (~uint64_t{0} << bits));
}

void TMK::set(fld::FieldAddress f, int64_t value)
{
    uint8_t *p = at(f);
    const auto v = static_cast<uint64_t>(value);
    for (int k = 0; k < f.width; ++k)
        p[k] = static_cast<uint8_t>(v >> (8 * k));
}

// ---- colours, dates, times -------------------------------------------------

uint16_t PackColour(int r, int g, int b)
{
    return static_cast<uint16_t>(((r << 11) & 0xF800) | ((g << 6) & 0x07C0) | ((g << 5) & 0x0020) | (b & 0x1F));
}

TColour UnpackColour(uint16_t word) { return {(word >> 11) & 0x1F, (word >> 6) & 0x1F, word & 0x1F}; }

namespace {

int monthLength(int month, int year)
{
    static const int lengths[12] = {31, 28, 31, 30, 31, 30, 31, 31, 30, 31, 30, 31};
    return month == 2 && year % 4 == 0 ? 29 : lengths[month - 1];
}

int leapDaysBefore(int year) { return (year - 1) / 4; } // truncates toward zero: t(0) = 0

} // namespace

int DayNumber(int day, int month, int year)
{
    int before = 0;
    for (int m = 1; m < month; ++m)
        before += monthLength(m, year);
    return 365 * year + leapDaysBefore(year) + before + day + 1;
}

TDate DateOfDayNumber(int n)
{
    const int k = n - 1;
    const int year = 4 * k / 1461;
    int rest = k - 365 * year - leapDaysBefore(year);
    int month = 1;
    while (month < 12 && monthLength(month, year) < rest) {
        rest -= monthLength(month, year);
        ++month;
    }
    return {rest, month, year};
}

QString TimeOfDayText(int minutes)
{
    return QStringLiteral("%1:%2")
        .arg((minutes / 60) % 24, 2, 10, QLatin1Char('0'))
        .arg(minutes % 60, 2, 10, QLatin1Char('0'));
}

int MinutesOfTimeText(const QString &text)
{
    if (text.size() < 5 || text[2] != QLatin1Char(':'))
        return 0;
    bool okH = false, okM = false;
    const int h = text.mid(0, 2).toInt(&okH);
    const int m = text.mid(3, 2).toInt(&okM);
    return okH && okM ? h * 60 + m : 0;
}

QString BitText(uint32_t value, int bits)
{
    QString s;
    for (int i = bits - 1; i >= 0; --i)
        s += (value >> i) & 1u ? QLatin1Char('1') : QLatin1Char('0');
    return s;
}

// ---- the model ---------------------------------------------------------------

TMK::TMK(uint16_t deviceType)
{
    // The catalog is consulted first so that the capability-dependent defaults
    // (colour schemes, hot menus) follow this model's DeviceType.
    DeviceType = deviceType;
    try {
        Catalog().BuildCatalog(DeviceType, 0, 0);
    } catch (const TripError &) {
        // An unlisted DeviceType offers no protocol to select; its capabilities
        // (all false) are what the defaults need.
    }
    SetDefaultColours();
    ActiveScheme = 0;
    RebuildParameters();
    BlockDirectory.SettingsVersion = 0;
    storeDefaults();
    BuildMenuCatalog();
    storeDefaultHotMenus();
}

void TMK::storeDefaults()
{
    m_blocks.fill(0);
    for (const fld::FieldDefault &d : fld::NewModelDefaults()) {
        fld::FieldAddress f = d.first;
        for (const int64_t value : d.values) {
            set(f, value);
            f.offset += f.width;
        }
    }
    const QString names[3] = {LangText("Inject. TS", "ТО форсунок"), LangText("GDM belt repl.", "Замена рем.ГРМ"),
                              LangText("Spark pl.repl.", "Замена свечей")};
    const fld::FieldAddress itemNames[3] = {fld::UserItem1Name, fld::UserItem2Name, fld::UserItem3Name};
    for (int n = 0; n < 3; ++n) {
        const QByteArray bytes = ToCp1251(names[n]).left(itemNames[n].width);
        std::copy(bytes.begin(), bytes.end(), at(itemNames[n]));
    }
    std::copy(DefaultSchemes[0].begin(), DefaultSchemes[0].end(), at(fld::ColourScheme0));
    std::copy(DefaultSchemes[1].begin(), DefaultSchemes[1].end(), at(fld::ColourScheme1));
}

void TMK::storeDefaultHotMenus()
{
    static const char *const lists[3][5] = {
        {"FullTankMenu", "ToTankMenu", "ErrorsMenu", "FlagSoundMenu", "VelocityLimitMenu"},
        {"TripJournMenu", "InitReset0ParamsMenu", "InitReset1ParamsMenu", "ContinueTripMenu", "TankJournMenu"},
        {"ParkOffMenu", "ParkSenseMenu_0", "ParkSpeedMenu_0", "ParkBeepTypeMenu", "ParkAlwaysOnMenu"},
    };
    auto code = [](const char *id) -> uint16_t {
        const TMKMenuItem *item = FindMenuItem(QString::fromLatin1(id));
        return item ? item->Code : 0;
    };
    for (int list = 0; list < 3; ++list) {
        for (int k = 0; k < fld::kHotMenuEntries; ++k)
            set(fld::HotMenuEntry(list, k), 0);
        if (list == 2 && Catalog().has(Cap::NoParkingRadar))
            continue;
        for (int k = 0; k < 5; ++k)
            set(fld::HotMenuEntry(list, k), code(lists[list][k]));
    }
    // The first list has two more defaults.
    set(fld::HotMenuEntry(0, 5), code("PrognozMenu"));
    set(fld::HotMenuEntry(0, 6), code("ExpenseHHMenu"));
}

void TMK::SetDefaultColours()
{
    using C = TColour;
    const bool alt = Catalog().has(Cap::AlternativeDisplay);
    auto fill = [](std::array<uint8_t, mem::kSchemeSize> &scheme, const std::array<C, 16> &colours) {
        for (int i = 0; i < 16; ++i)
            SetU16(scheme.data(), 2 * i, PackColour(colours[i].r, colours[i].g, colours[i].b));
    };
    auto setIndices = [](std::array<uint8_t, mem::kSchemeSize> &scheme, const std::array<uint8_t, 8> &idx) {
        std::copy(idx.begin(), idx.end(), scheme.begin() + 32);
    };

    // Each palette is sixteen colours of 5-bit R, G, B; kept in rows to read as a table.
    // clang-format off
    auto &s0 = DefaultSchemes[0];
    fill(s0, {C{0, 0, 0}, {0, 9, 9}, {31, 13, 0}, {9, 9, 0}, {0, 0, 6}, {9, 0, 9}, {9, 17, 17}, {16, 16, 16},
              {12, 5, 3}, {31, 0, 0}, {0, 31, 0}, {31, 31, 0}, {0, 0, 31}, {31, 0, 31}, {0, 31, 31},
              {31, 31, 31}});
    if (alt) {
        setIndices(s0, {10, 4, 11, 12, 14, 14, 7, 11});
    } else {
        setIndices(s0, {15, 4, 11, 12, 15, 15, 9, 10});
        s0[32 + 23] = 10;
    }

    auto &s1 = DefaultSchemes[1];
    if (alt) {
        fill(s1, {C{0, 0, 0}, {0, 9, 9}, {31, 13, 0}, {9, 9, 0}, {0, 0, 6}, {9, 0, 9}, {9, 17, 17}, {16, 16, 16},
                  {5, 1, 0}, {13, 0, 0}, {0, 31, 0}, {21, 21, 21}, {0, 0, 31}, {31, 0, 31}, {0, 31, 31},
                  {13, 13, 22}});
        setIndices(s1, {7, 0, 11, 0, 0, 15, 1, 12});
    } else {
        fill(s1, {C{0, 0, 0}, {3, 12, 12}, {31, 13, 0}, {9, 9, 0}, {0, 0, 6}, {9, 0, 9}, {9, 17, 17},
                  {29, 29, 29}, {17, 17, 17}, {13, 0, 0}, {0, 31, 0}, {23, 23, 23}, {0, 0, 31}, {31, 0, 31},
                  {0, 31, 31}, {13, 13, 22}});
        setIndices(s1, {7, 0, 11, 4, 3, 6, 1, 15});
    }
    // clang-format on
    s1[32 + 23] = 0;
}

// ---- image and blocks ----------------------------------------------------------

void TMK::ReadHeader()
{
    if (SettingsImage.size() < mem::kDirectorySize)
        throw TripError(LangText("The settings image (%1) is too short to hold the block directory",
                                 "Образ настроек (%1) слишком короткий: в нём нет каталога блоков")
                            .arg(ByteCount(SettingsImage.size())));
    const auto *p = reinterpret_cast<const uint8_t *>(SettingsImage.constData());
    BlockDirectory.BlockCount = p[0];
    BlockDirectory.SettingsVersion = p[1];
    for (int i = 1; i <= mem::kDirectoryEntries; ++i) {
        BlockDirectory.Entries[i - 1].Address = GetU16(p, 4 * i);
        BlockDirectory.Entries[i - 1].Length = GetU16(p, 4 * i + 2);
    }
}

namespace {
void checkBlockNumber(int i)
{
    if (i < 1 || i > mem::kBlockCount)
        throw TripError(QStringLiteral("There is no block %1").arg(i));
}
} // namespace

void TMK::UnpackBlock(int i)
{
    checkBlockNumber(i);
    ReadHeader();
    const TDirectoryEntry &e = BlockDirectory.Entries[i - 1];
    const int payload = int(e.Length) - 4;
    if (payload <= 0)
        return;
    const int offset = int(e.Address) - mem::kImageAddressBase;
    if (offset < 0 || offset + payload > SettingsImage.size())
        throw TripError(LangText("Block %1 (%2) at address %3, %4, lies outside the settings image (%5)",
                                 "Блок %1 (%2) по адресу %3, %4, выходит за пределы образа настроек (%5)")
                            .arg(i)
                            .arg(QString::fromLatin1(mem::BlockName(i)))
                            .arg(e.Address)
                            .arg(ByteCount(payload), ByteCount(SettingsImage.size())));
    const int n = std::min(payload, mem::kBlockSize[i]);
    std::memcpy(block(i), SettingsImage.constData() + offset, static_cast<size_t>(n));
}

void TMK::PackBlock(int i)
{
    checkBlockNumber(i);
    ReadHeader();
    const int offset = int(BlockDirectory.Entries[i - 1].Address) - mem::kImageAddressBase;
    if (offset < 0 || offset >= SettingsImage.size())
        return;
    const int n = std::min(mem::kBlockSize[i], int(SettingsImage.size()) - offset);
    std::memcpy(SettingsImage.data() + offset, block(i), static_cast<size_t>(n));
}

void TMK::FormatImage(uint8_t settingsVersion)
{
    SettingsImage = QByteArray(mem::kImageSize, '\0');
    auto *p = reinterpret_cast<uint8_t *>(SettingsImage.data());
    SetU8(p, 0, mem::kBlockCount);
    SetU8(p, 1, settingsVersion);
    int address = mem::kImageAddressBase + mem::kDirectorySize;
    for (int i = 1; i <= mem::kBlockCount; ++i) {
        SetU16(p, 4 * i, static_cast<uint16_t>(address));
        SetU16(p, 4 * i + 2, static_cast<uint16_t>(mem::kBlockSize[i] + 4));
        address += mem::kBlockSize[i];
    }
    PackAll();
}

void TMK::UnpackAll()
{
    for (int i = 1; i <= mem::kBlockCount; ++i)
        UnpackBlock(i);
}

void TMK::PackAll()
{
    for (int i = 1; i <= mem::kBlockCount; ++i)
        PackBlock(i);
}

TBlockSnapshot TMK::SnapshotBlocks(int first, int last) const
{
    checkBlockNumber(first);
    checkBlockNumber(last);
    const auto *from = block(first);
    const auto *to = block(last) + mem::kBlockSize[last];
    return TBlockSnapshot(from, to);
}

void TMK::RestoreBlocks(int first, int last, const TBlockSnapshot &snapshot)
{
    checkBlockNumber(first);
    checkBlockNumber(last);
    const size_t n = static_cast<size_t>(block(last) + mem::kBlockSize[last] - block(first));
    if (snapshot.size() != n)
        throw TripError(QStringLiteral("The block copy does not match blocks %1..%2").arg(first).arg(last));
    std::memcpy(block(first), snapshot.data(), n);
}

// ---- catalog, editor, journals -------------------------------------------------

void TMK::ConsultCatalog()
{
    const uint16_t index = static_cast<uint16_t>(get(fld::ProtocolIndex));
    Catalog().clearCurrentProtocol();
    if (index >= 256)
        throw TripError(LangText("The protocol index %1 of the settings is out of range",
                                 "Номер протокола %1 в настройках вне допустимого диапазона")
                            .arg(index));
    Catalog().BuildCatalog(DeviceType, static_cast<uint8_t>(index), BlockDirectory.SettingsVersion);
}

void TMK::ConsultCatalogForEditing()
{
    // The editor opens even when the settings name no protocol of this device
    // (an unlisted DeviceType, an index past the list): the list stands with
    // nothing selected, and the user can choose one.
    const uint16_t index = static_cast<uint16_t>(get(fld::ProtocolIndex));
    TProtocolCatalog &catalog = Catalog();
    catalog.clearCurrentProtocol();
    try {
        catalog.BuildCatalog(DeviceType, static_cast<uint8_t>(index < 256 ? index : 0), BlockDirectory.SettingsVersion);
    } catch (const TripError &) {
        // no entry at the stored index
    }
    if (index >= 256)
        catalog.clearCurrentProtocol();
}

bool TMK::EditSettings(const std::function<bool(TMK &)> &openEditor)
{
    for (int i = 1; i <= 10; ++i)
        UnpackBlock(i);
    ConsultCatalogForEditing();
    const TBlockSnapshot copy = SnapshotBlocks(1, 10);
    RebuildParameters();
    BuildMenuCatalog();
    RelabelMeasuredParameters(m_parameters, static_cast<int>(getSigned(fld::TemperatureSignature)),
                              Catalog().capabilities());
    bool confirmed = false;
    try {
        confirmed = openEditor && openEditor(*this);
    } catch (...) {
        RestoreBlocks(1, 10, copy);
        throw;
    }
    if (confirmed) {
        for (int i = 1; i <= 10; ++i)
            PackBlock(i);
        return true;
    }
    RestoreBlocks(1, 10, copy);
    return false;
}

bool TMK::ViewJournals(const std::function<bool(TMK &)> &openViewer)
{
    UnpackBlock(mem::TripLogBlock);
    UnpackBlock(mem::TotalsBlock);
    // A cancelled viewer must leave no clearing behind in the model either: a
    // later write packs the model's blocks into the device.
    const TBlockSnapshot all = SnapshotBlocks(1, mem::kBlockCount);
    bool confirmed = false;
    try {
        confirmed = openViewer && openViewer(*this);
    } catch (...) {
        RestoreBlocks(1, mem::kBlockCount, all);
        throw;
    }
    if (!confirmed) {
        RestoreBlocks(1, mem::kBlockCount, all);
        return false;
    }
    PackBlock(mem::TripLogBlock);
    PackBlock(mem::TotalsBlock);
    PackBlock(mem::ErrorLogBlock);
    return true;
}
