#include "journals.h"

#include "blocks.h"
#include "cp1251.h"
#include "language.h"
#include "tmk.h"

#include <algorithm>
#include <cstdlib>
#include <vector>

using namespace journal;

// ---- layouts -------------------------------------------------------------------

const std::array<SumGroupInfo, kSumGroupCount> &SumGroups()
{
    static const std::array<SumGroupInfo, kSumGroupCount> groups{{
        {SumGroupId::All, "sgAllSum", fld::SumsAll, false, "Cumulative / General", "Накопительные / Общие"},
        {SumGroupId::Trip, "sgTripSum", fld::SumsTrip, false, "Trip", "Поездка"},
        {SumGroupId::Reset, "sgResetSum", fld::SumsReset, false, "Reset 1", "Сброс 1"},
        {SumGroupId::Stop, "sgStopSum", fld::SumsJams, false, "Jams", "Пробки"},
        {SumGroupId::NoStop, "sgNoStopSum", fld::SumsNoJams, false, "Traffic", "Без пробок"},
        {SumGroupId::Tank, "sgTankSum", fld::SumsTank, false, "Reset 2 (between gas stations)",
         "Сброс 2 ( Между заправками )"},
        {SumGroupId::OilOnly, "sgOilOnlySum", fld::SumsPetrolOnly, false, "Petrol only", "Только бензин"},
        {SumGroupId::GasOnly, "sgGasOnlySum", fld::SumsGasOnly, true, "Gas only", "Только газ"},
    }};
    return groups;
}

const SumGroupInfo &SumGroupOf(SumGroupId id) { return SumGroups()[static_cast<size_t>(id)]; }

SumGroup SumGroup::read(const uint8_t *totals, SumGroupId id)
{
    const SumGroupInfo &info = SumGroupOf(id);
    SumGroup g;
    const int at = info.sums.offset;
    g.time = GetU32(totals, at);
    g.distance = GetU32(totals, at + 4);
    const uint32_t third = GetU32(totals, at + 8);
    if (info.words() == 4) {
        g.petrol = third;
        g.gas = GetU32(totals, at + 12);
    } else if (info.gasOnly) {
        g.gas = third;
    } else {
        g.petrol = third;
    }
    return g;
}

namespace {
int journalOffset(Journal which) { return which == Journal::Trip ? kTripOffset : kRefuelOffset; }
} // namespace

JournalRecord JournalRecord::read(const uint8_t *tripLog, Journal which, int index)
{
    const uint8_t *p = tripLog + journalOffset(which) + kRecordSize * index;
    JournalRecord r;
    namespace jr = fld::journal_record;
    r.minutes = GetU16(p, jr::Minutes.offset);
    r.day = GetU8(p, jr::Day.offset);
    r.month = GetU8(p, jr::Month.offset);
    r.travelTime = GetU32(p, jr::TravelTime.offset);
    r.distance = GetU32(p, jr::Distance.offset);
    r.petrol = GetU32(p, jr::Petrol.offset);
    r.gas = GetU32(p, jr::Gas.offset);
    return r;
}

JournalPrices JournalPrices::read(const uint8_t *tripLog)
{
    return {GetI16(tripLog, fld::PricePetrol.offset), GetI16(tripLog, fld::PriceHour.offset),
            GetI16(tripLog, fld::PriceKm.offset), GetI16(tripLog, fld::PriceGas.offset)};
}

bool FreezeFramePids::has(int n) const
{
    if (n < 1 || n > 8 * kFreezeFramePidsSize)
        return false;
    return (bits[static_cast<size_t>((n - 1) / 8)] & (0x80 >> ((n - 1) % 8))) != 0;
}

FreezeFramePids FreezeFramePids::read(const uint8_t *errorLog)
{
    FreezeFramePids p;
    std::copy(errorLog + kFreezeFramePidsOffset, errorLog + kFreezeFramePidsOffset + kFreezeFramePidsSize,
              p.bits.begin());
    return p;
}

uint32_t FreezeFrame::faultCode() const { return GetU32(bytes.data(), 0); }

FreezeFrame FreezeFrame::read(const uint8_t *errorLog, int index)
{
    FreezeFrame f;
    const uint8_t *p = errorLog + kErrorRecordOffset + kErrorRecordSize * index + kFreezeFrameOffset;
    std::copy(p, p + kFreezeFrameSize, f.bytes.begin());
    return f;
}

ErrorRecord ErrorRecord::read(const uint8_t *errorLog, int index)
{
    const uint8_t *p = errorLog + kErrorRecordOffset + kErrorRecordSize * index;
    ErrorRecord r;
    namespace er = fld::error_record;
    r.minutes = GetU16(p, er::Minutes.offset);
    r.day = GetU8(p, er::Day.offset);
    r.month = GetU8(p, er::Month.offset);
    r.faultCode = GetU32(p, er::FaultCode.offset);
    r.frame = FreezeFrame::read(errorLog, index);
    return r;
}

// ---- numbers and times -----------------------------------------------------------

QString TwoDigit(int n) { return n < 10 && n >= 0 ? QStringLiteral("0%1").arg(n) : QString::number(n); }

QString JournalTimeText(int minutes, int day, int month)
{
    return TwoDigit((minutes / 60) % 24) + QLatin1Char(':') + TwoDigit(minutes % 60) + QStringLiteral("   ") +
           QString::number(day) + QLatin1Char('.') + TwoDigit(month);
}

QString ErrorTimeText(int minutes, int day, int month)
{
    return QString::number(minutes / 60) + QLatin1Char(':') + TwoDigit(minutes % 60) + QLatin1Char(' ') +
           QString::number(day) + QLatin1Char('.') + TwoDigit(month);
}

QString JournalDurationText(uint32_t seconds)
{
    const uint32_t minutes = seconds / 60;
    return QString::number(minutes / 60) + QLatin1Char(':') + TwoDigit(static_cast<int>(minutes % 60));
}

QString SumDurationText(uint32_t seconds)
{
    return QString::number(seconds / 3600) + QLatin1Char(':') + TwoDigit(static_cast<int>((seconds / 60) % 60));
}

namespace {
__extension__ typedef unsigned __int128 Wide;

// |num| * 10^decimals / den, a half away from zero.
Wide scaledRounded(uint64_t magnitude, uint64_t den, int decimals)
{
    Wide n = magnitude;
    for (int i = 0; i < decimals; ++i)
        n *= 10;
    Wide q = n / den;
    const Wide r = n % den;
    if (2 * r >= den)
        ++q;
    return q;
}

QString wideText(Wide v)
{
    if (v == 0)
        return QStringLiteral("0");
    QString s;
    while (v) {
        s.prepend(QLatin1Char(static_cast<char>('0' + static_cast<int>(v % 10))));
        v /= 10;
    }
    return s;
}
} // namespace

// The quotients here are ratios of integers, so they are computed exactly: a
// tie in decimal is then a tie, whatever binary floating point would make of it.
QString RatioText(int64_t num, int64_t den, int decimals, const QString &point)
{
    const bool negative = (num < 0) != (den < 0);
    const uint64_t n = num < 0 ? 0 - static_cast<uint64_t>(num) : static_cast<uint64_t>(num);
    const uint64_t d = den < 0 ? 0 - static_cast<uint64_t>(den) : static_cast<uint64_t>(den);
    const Wide q = scaledRounded(n, d, decimals);
    QString digits = wideText(q);
    if (decimals > 0) {
        if (digits.size() <= decimals)
            digits = QString(decimals + 1 - digits.size(), QLatin1Char('0')) + digits;
        digits.insert(digits.size() - decimals, point);
    }
    return negative && q != 0 ? QLatin1Char('-') + digits : digits;
}

int64_t RoundHalfEven(int64_t num, int64_t den)
{
    if (den < 0) {
        num = -num;
        den = -den;
    }
    int64_t q = num / den;
    int64_t r = num % den;
    if (r < 0) { // floor division
        --q;
        r += den;
    }
    if (2 * r > den || (2 * r == den && (q % 2 != 0)))
        ++q;
    return q;
}

QStringList JournalRecordCells(const JournalRecord &r, const JournalPrices &prices, const QString &point)
{
    if (r.empty()) {
        QStringList cells{LangText("Empty", "Пусто")};
        for (int i = 0; i < 7; ++i)
            cells << QString();
        return cells;
    }
    const int64_t t = r.travelTime;
    const int64_t d = r.distance;
    const int64_t f = int64_t(r.petrol) + int64_t(r.gas);
    static const QString none = QStringLiteral("---");
    QStringList cells;
    cells << JournalTimeText(r.minutes, r.day, r.month);
    cells << JournalDurationText(r.travelTime);
    cells << RatioText(d, 1000, 3, point);
    cells << RatioText(f, 1000, 3, point);
    // km/h = m * 3.6 / s = 36 m / (10 s)
    cells << (t != 0 ? QString::number(RoundHalfEven(36 * d, 10 * t)) : none);
    cells << (d != 0 ? RatioText(f * 100, d, 1, point) : none);
    cells << (t != 0 ? RatioText(36 * f, 10 * t, 2, point) : none);
    // (d/1000 * km + petrol/1000 * petrol + gas/1000 * gas + t/360 * hour) / 10,
    // over the common denominator 90000.
    const int64_t cost = 9 * d * prices.km + 9 * int64_t(r.petrol) * prices.petrol + 9 * int64_t(r.gas) * prices.gas +
                         25 * t * prices.hour;
    cells << RatioText(cost, 90000, 1, point);
    return cells;
}

QList<QPair<QString, QString>> SumRows(const SumGroup &g, int64_t initialMileageKm, const QString &point)
{
    const int64_t s = g.time;
    const int64_t m = g.distance;
    const int64_t f = int64_t(g.petrol) + int64_t(g.gas);
    static const QString none = QStringLiteral("-----");
    QList<QPair<QString, QString>> rows;
    rows.append({LangText("Time", "Время"), SumDurationText(g.time)});
    rows.append({LangText("Mileage, km", "Пробег, км"), RatioText(initialMileageKm * 1000 + m, 1000, 3, point)});
    rows.append({LangText("Expense, l", "Расход, л"), RatioText(f, 1000, 3, point)});
    // The averages use the distance travelled only, never the initial mileage.
    rows.append(
        {LangText("Av.speed, km/h", "Ср.скорость, км/час"), s != 0 ? RatioText(36 * m, 10 * s, 1, point) : none});
    rows.append({LangText("Av.exp., l/100", "Ср.расход, л/100"), m != 0 ? RatioText(f * 100, m, 1, point) : none});
    rows.append({LangText("Av.exp., l/h", "Ср.расход, л/час"), s != 0 ? RatioText(36 * f, 10 * s, 1, point) : none});
    return rows;
}

QList<QPair<QString, QString>> SumRows(const TMK &model, SumGroupId id, const QString &point)
{
    const uint8_t *totals = model.block(mem::TotalsBlock);
    const int64_t initial = id == SumGroupId::All ? GetI32(totals, kInitialMileageOffset) : 0;
    return SumRows(SumGroup::read(totals, id), initial, point);
}

// ---- grids and export ----------------------------------------------------------------

QStringList JournalHeader()
{
    return {QStringLiteral("#"),
            LangText("Date and time of rec.", "Дата и время записи"),
            LangText("Travel time", "Время в пути"),
            LangText("Mileage, km", "Пробег, км"),
            LangText("Fuel expense, l", "Расход топлива, л"),
            LangText("Av. speed, km/h", "Ср. скорость, км/час"),
            LangText("Av. expense per 100 km", "Ср. расход на 100 км"),
            LangText("Av. expense per hour", "Ср. расход в час"),
            LangText("Cost", "Стоимость")};
}

QList<QStringList> JournalGrid(const TMK &model, Journal which, const QString &point)
{
    const uint8_t *tripLog = model.block(mem::TripLogBlock);
    const JournalPrices prices = JournalPrices::read(tripLog);
    QList<QStringList> grid{JournalHeader()};
    for (int r = 0; r < kRecords; ++r) {
        QStringList row{r == 0 ? LangText("Last", "Посл.") : QString::number(r)};
        row << JournalRecordCells(JournalRecord::read(tripLog, which, r), prices, point);
        grid << row;
    }
    return grid;
}

QString JournalExportText(const QList<QStringList> &grid)
{
    QString text;
    for (const QStringList &row : grid) {
        for (const QString &cell : row)
            text += cell + QLatin1Char('\t');
        text += QStringLiteral("\r\n");
    }
    return text;
}

QByteArray JournalExportBytes(const QList<QStringList> &grid) { return ToCp1251(JournalExportText(grid), '?'); }

// ---- clearing ---------------------------------------------------------------------------

void ClearJournal(uint8_t *tripLog, Journal which)
{
    // Only the day bytes: the device treats a record with day 0 as empty, and
    // the rest of each record stays as it was.
    for (int r = 0; r < kRecords; ++r)
        SetU8(tripLog, journalOffset(which) + kRecordSize * r + fld::journal_record::Day.offset, 0);
}

void ClearErrorJournal(uint8_t *errorLog)
{
    std::fill(errorLog + kFreezeFramePidsOffset, errorLog + kFreezeFramePidsOffset + kFreezeFramePidsSize, 0);
    for (int i = 0; i < kErrorRecords; ++i) {
        // The fault code and the code the freeze frame was taken for.
        SetU32(errorLog, kErrorRecordOffset + kErrorRecordSize * i + fld::error_record::FaultCode.offset, 0);
        SetU32(errorLog, kErrorRecordOffset + kErrorRecordSize * i + kFreezeFrameOffset, 0);
    }
}

void ClearSumGroup(uint8_t *totals, SumGroupId id)
{
    const SumGroupInfo &info = SumGroupOf(id);
    std::fill(totals + info.sums.offset, totals + info.sums.end(), 0);
}

void ClearTripJournal(TMK &model) { ClearJournal(model.block(mem::TripLogBlock), Journal::Trip); }
void ClearRefuelJournal(TMK &model) { ClearJournal(model.block(mem::TripLogBlock), Journal::Refuel); }
void ClearErrorJournal(TMK &model) { ClearErrorJournal(model.block(mem::ErrorLogBlock)); }
void ClearSumGroup(TMK &model, SumGroupId id) { ClearSumGroup(model.block(mem::TotalsBlock), id); }

int UsedRecords(const TMK &model, Journal which)
{
    int n = 0;
    for (int r = 0; r < kRecords; ++r)
        n += JournalRecord::read(model.block(mem::TripLogBlock), which, r).empty() ? 0 : 1;
    return n;
}

int UsedErrorRecords(const TMK &model)
{
    int n = 0;
    for (int i = 0; i < kErrorRecords; ++i)
        n += ErrorRecord::read(model.block(mem::ErrorLogBlock), i).empty() ? 0 : 1;
    return n;
}

namespace {

using Target = JournalClearing::Target;

int clearedBlock(const JournalClearing &what)
{
    switch (what.target) {
    case Target::TripJournal:
    case Target::RefuelJournal: return mem::TripLogBlock;
    case Target::ErrorJournal: return mem::ErrorLogBlock;
    case Target::Sums: break;
    }
    return mem::TotalsBlock;
}

void clearBlock(uint8_t *block, const JournalClearing &what)
{
    switch (what.target) {
    case Target::TripJournal: ClearJournal(block, Journal::Trip); break;
    case Target::RefuelJournal: ClearJournal(block, Journal::Refuel); break;
    case Target::ErrorJournal: ClearErrorJournal(block); break;
    case Target::Sums: ClearSumGroup(block, what.group); break;
    }
}

QString recordCount(long long n) { return CountText(n, "record", "records", "запись", "записи", "записей"); }

} // namespace

void Clear(TMK &model, const JournalClearing &what) { clearBlock(model.block(clearedBlock(what)), what); }

bool ClearingErases(const TMK &model, const JournalClearing &what)
{
    const int block = clearedBlock(what);
    const uint8_t *bytes = model.block(block);
    std::vector<uint8_t> cleared(bytes, bytes + mem::kBlockSize[static_cast<size_t>(block)]);
    clearBlock(cleared.data(), what);
    return !std::equal(cleared.begin(), cleared.end(), bytes);
}

QString ClearingQuestion(const TMK &model, const JournalClearing &what)
{
    switch (what.target) {
    case Target::TripJournal:
        return LangText("Clear the trip journal (%1)?", "Очистить журнал поездок (%1)?")
            .arg(recordCount(UsedRecords(model, Journal::Trip)));
    case Target::RefuelJournal:
        return LangText("Clear the refuelling journal (%1)?", "Очистить журнал заправок (%1)?")
            .arg(recordCount(UsedRecords(model, Journal::Refuel)));
    case Target::ErrorJournal:
        return LangText("Clear the fault journal (%1) with its freeze frames?",
                        "Очистить журнал ошибок (%1) вместе со стоп-кадрами?")
            .arg(recordCount(UsedErrorRecords(model)));
    case Target::Sums: break;
    }
    const SumGroupInfo &info = SumGroupOf(what.group);
    return LangText("Reset the totals \"%1\"?", "Сбросить накопители «%1»?").arg(LangText(info.titleEn, info.titleRu));
}
