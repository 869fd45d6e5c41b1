#include "tank_service_files.h"

#include "blocks.h"
#include "errors.h"
#include "language.h"
#include "tmk.h"

#include <QFile>
#include <QSaveFile>
#include <algorithm>
#include <functional>
#include <span>

namespace ed {

namespace {

struct FileField {
    int block;
    int offset;
    int size;
};

// File order. The tank file is the calibration tables of FuelBlock followed
// by the tare table of TankTableBlock.
constexpr FileField kTankFields[] = {
    {mem::FuelBlock, 0, 2},        {mem::FuelBlock, 2, 2},       {mem::FuelBlock, 4, 2},
    {mem::FuelBlock, 6, 2},        {mem::FuelBlock, 8, 14},      {mem::FuelBlock, 22, 14},
    {mem::FuelBlock, 36, 1},       {mem::TankTableBlock, 0, 1},  {mem::TankTableBlock, 1, 1},
    {mem::TankTableBlock, 2, 1},   {mem::TankTableBlock, 6, 1},  {mem::TankTableBlock, 8, 68},
    {mem::TankTableBlock, 144, 136},
};

// The maintenance file: remaining-until values, dates, the additional systems,
// the universal input, the temperature signature, the item names, then the
// rest of ServiceBlock in the block's own order.
constexpr FileField kServiceFields[] = {
    {mem::ServiceBlock, 0, 7},   {mem::ServiceBlock, 8, 4},   {mem::ServiceBlock, 12, 4},
    {mem::ServiceBlock, 16, 4},  {mem::ServiceBlock, 20, 32}, {mem::ServiceBlock, 108, 4},
    {mem::ServiceBlock, 112, 4}, {mem::ServiceBlock, 7, 1},   {mem::ServiceBlock, 52, 16},
    {mem::ServiceBlock, 68, 16}, {mem::ServiceBlock, 84, 16}, {mem::ServiceBlock, 100, 2},
    {mem::ServiceBlock, 102, 1}, {mem::ServiceBlock, 103, 1}, {mem::ServiceBlock, 106, 2},
    {mem::ServiceBlock, 104, 2}, {mem::ServiceBlock, 116, 1},
};

constexpr int totalSize(std::span<const FileField> fields)
{
    int n = 0;
    for (const FileField &f : fields)
        n += f.size;
    return n;
}
static_assert(totalSize(kTankFields) == kTankFileSize);
static_assert(totalSize(kServiceFields) == kServiceFileSize);

QByteArray assemble(const TMK &model, std::span<const FileField> fields)
{
    QByteArray out;
    for (const FileField &f : fields)
        out.append(reinterpret_cast<const char *>(model.block(f.block)) + f.offset, f.size);
    return out;
}

void fill(TMK &model, std::span<const FileField> fields, const QByteArray &bytes)
{
    qsizetype at = 0;
    for (const FileField &f : fields) {
        const qsizetype n = std::min<qsizetype>(f.size, bytes.size() - at);
        if (n <= 0)
            break;
        std::copy_n(bytes.constData() + at, n, reinterpret_cast<char *>(model.block(f.block)) + f.offset);
        at += n;
    }
}

void save(const QByteArray &bytes, const QString &path)
{
    QSaveFile file(path);
    if (!file.open(QIODevice::WriteOnly))
        throw TripError(LangText("Cannot create the file %1: %2", "Не удалось создать файл %1: %2")
                            .arg(path, file.errorString()));
    if (file.write(bytes) != bytes.size() || !file.commit())
        throw TripError(LangText("Cannot write the file %1: %2", "Не удалось записать файл %1: %2")
                            .arg(path, file.errorString()));
}

// Reads the whole file; `fillWith` gets what was read, also when reading fails
// part way, before the failure is reported.
void load(const QString &path, const std::function<void(const QByteArray &)> &fillWith)
{
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly))
        throw TripError(LangText("Cannot open the file %1: %2", "Не удалось открыть файл %1: %2")
                            .arg(path, file.errorString()));
    QByteArray bytes;
    char chunk[4096];
    for (;;) {
        const qint64 n = file.read(chunk, sizeof chunk);
        if (n < 0) {
            fillWith(bytes);
            throw TripError(LangText("Cannot read the file %1: %2", "Не удалось прочитать файл %1: %2")
                                .arg(path, file.errorString()));
        }
        if (n == 0)
            break;
        bytes.append(chunk, n);
        // Bytes past the last field are ignored; a huge file is not kept in memory.
        if (bytes.size() > kTankFileSize + kServiceFileSize)
            bytes.truncate(kTankFileSize + kServiceFileSize);
    }
    fillWith(bytes);
}

} // namespace

QByteArray TankFileBytes(const TMK &model) { return assemble(model, kTankFields); }
QByteArray ServiceFileBytes(const TMK &model) { return assemble(model, kServiceFields); }

void ApplyTareCountRule(TMK &model)
{
    uint8_t *tank = model.block(mem::TankTableBlock);
    if (GetU8(tank, 2) > kMaxTarePoints)
        SetU8(tank, 2, 0);
}

namespace {

// The digits of `text` in order as a decimal number, saturating far above any
// field's range.
int64_t digitsValue(const QString &text)
{
    int64_t v = 0;
    for (const QChar ch : text)
        if (ch >= QLatin1Char('0') && ch <= QLatin1Char('9'))
            v = std::min<int64_t>(v * 10 + (ch.unicode() - '0'), int64_t{1} << 40);
    return v;
}

} // namespace

void StoreTarePoints(TMK &model, const QStringList &litres, const QStringList &codes)
{
    uint8_t *tank = model.block(mem::TankTableBlock);
    const int count = std::min<int>(GetU8(tank, 2), kMaxTarePoints);
    for (int i = 0; i < count; ++i) {
        const int64_t l = digitsValue(litres.value(i));
        const int64_t c = digitsValue(codes.value(i));
        if (l > 255 || c > 32767)
            throw TripError(LangText("Range error: point %1 of the tare table takes litres 0..255 and a code "
                                     "0..32767",
                                     "Ошибка диапазона: точка %1 таблицы тарировки принимает литры 0..255 и "
                                     "код 0..32767")
                                .arg(i + 1));
        SetU8(tank, 8 + i, static_cast<uint8_t>(l));
        SetU16(tank, 144 + 2 * i, static_cast<uint16_t>(c));
    }
    SetU8(tank, 6, GetI16(tank, 144) > 240 ? 1 : 0);
}

void FillTankFields(TMK &model, const QByteArray &bytes)
{
    fill(model, kTankFields, bytes);
    ApplyTareCountRule(model);
}

void FillServiceFields(TMK &model, const QByteArray &bytes) { fill(model, kServiceFields, bytes); }

void SaveTankFile(const TMK &model, const QString &path) { save(TankFileBytes(model), path); }
void SaveServiceFile(const TMK &model, const QString &path) { save(ServiceFileBytes(model), path); }

void LoadTankFile(TMK &model, const QString &path)
{
    load(path, [&](const QByteArray &bytes) { FillTankFields(model, bytes); });
}

void LoadServiceFile(TMK &model, const QString &path)
{
    load(path, [&](const QByteArray &bytes) { FillServiceFields(model, bytes); });
}

} // namespace ed
