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

using fld::FieldAddress;
using fld::Run;

// File order. The tank file is the calibration tables of FuelBlock followed
// by the tare table of TankTableBlock.
constexpr FieldAddress kTankFields[] = {
    fld::TwoPointCode(0),
    fld::TwoPointLitres(0),
    fld::TwoPointCode(1),
    fld::TwoPointLitres(1),
    Run(fld::SevenPointCode(0), fld::kSevenPoints),
    Run(fld::SevenPointLitres(0), fld::kSevenPoints),
    fld::SevenPointCount,
    fld::TankUnshownByte,
    fld::TareFinished,
    fld::TareCount,
    fld::TareReverseSlope,
    Run(fld::TareLitres(0), fld::kTarePoints),
    Run(fld::TareCode(0), fld::kTarePoints),
};

// The maintenance file: remaining-until values, dates, the additional systems,
// the universal input, the temperature signature, the item names, then the
// rest of ServiceBlock in the block's own order.
constexpr FieldAddress kServiceFields[] = {
    Run(fld::AirFilterLeft, 7), // .. UserItem3Left
    fld::ServiceDate,
    fld::InsuranceDate,
    fld::ServiceUnshown16,
    fld::SystemsSet,
    Run(fld::UniversalAdcMin, 2),  // and the maximum
    Run(fld::UniversalDataMin, 2), // and the maximum
    fld::TemperatureSignature,
    fld::UserItem1Name,
    fld::UserItem2Name,
    fld::UserItem3Name,
    fld::Reminders,
    fld::ServiceUnshown102,
    fld::ServiceUnshown103,
    fld::ServiceUnshown106,
    fld::EngineHoursLimit,
    fld::AccelerometerCalibration,
};
static_assert(fld::UserItem3Left.offset == fld::AirFilterLeft.offset + 6);
static_assert(fld::UniversalAdcMax == FieldAddress{fld::UniversalAdcMin.block, fld::UniversalAdcMin.end(), 2});
static_assert(fld::UniversalDataMax == FieldAddress{fld::UniversalDataMin.block, fld::UniversalDataMin.end(), 2});

constexpr int totalSize(std::span<const FieldAddress> fields)
{
    int n = 0;
    for (const FieldAddress &f : fields)
        n += f.width;
    return n;
}
static_assert(totalSize(kTankFields) == kTankFileSize);
static_assert(totalSize(kServiceFields) == kServiceFileSize);

QByteArray assemble(const TMK &model, std::span<const FieldAddress> fields)
{
    QByteArray out;
    for (const FieldAddress &f : fields)
        out.append(reinterpret_cast<const char *>(model.at(f)), f.width);
    return out;
}

void fill(TMK &model, std::span<const FieldAddress> fields, const QByteArray &bytes)
{
    qsizetype at = 0;
    for (const FieldAddress &f : fields) {
        const qsizetype n = std::min<qsizetype>(f.width, bytes.size() - at);
        if (n <= 0)
            break;
        std::copy_n(bytes.constData() + at, n, reinterpret_cast<char *>(model.at(f)));
        at += n;
    }
}

void save(const QByteArray &bytes, const QString &path)
{
    QSaveFile file(path);
    if (!file.open(QIODevice::WriteOnly))
        throw TripError(
            LangText("Cannot create the file %1: %2", "Не удалось создать файл %1: %2").arg(path, file.errorString()));
    if (file.write(bytes) != bytes.size() || !file.commit())
        throw TripError(
            LangText("Cannot write the file %1: %2", "Не удалось записать файл %1: %2").arg(path, file.errorString()));
}

// Reads the whole file; `fillWith` gets what was read, also when reading fails
// part way, before the failure is reported.
void load(const QString &path, const std::function<void(const QByteArray &)> &fillWith)
{
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly))
        throw TripError(
            LangText("Cannot open the file %1: %2", "Не удалось открыть файл %1: %2").arg(path, file.errorString()));
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
    if (model.get(fld::TareCount) > kMaxTarePoints)
        model.set(fld::TareCount, 0);
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
    const int count = std::min<int>(static_cast<int>(model.get(fld::TareCount)), kMaxTarePoints);
    for (int i = 0; i < count; ++i) {
        const int64_t l = digitsValue(litres.value(i));
        const int64_t c = digitsValue(codes.value(i));
        if (l > 255 || c > 32767)
            throw TripError(LangText("Range error: point %1 of the tare table takes litres 0..255 and a code "
                                     "0..32767",
                                     "Ошибка диапазона: точка %1 таблицы тарировки принимает литры 0..255 и "
                                     "код 0..32767")
                                .arg(i + 1));
        model.set(fld::TareLitres(i), l);
        model.set(fld::TareCode(i), c);
    }
    model.set(fld::TareReverseSlope, model.getSigned(fld::TareCode(0)) > 240 ? 1 : 0);
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
