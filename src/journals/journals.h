#pragma once
#include "fields.h"

#include <QByteArray>
#include <QList>
#include <QPair>
#include <QString>
#include <QStringList>
#include <array>
#include <cstdint>

class TMK;

// Layouts of the accumulators and the three journals inside the model's
// blocks, and the texts the viewer and tripctl show for them. Every function
// that turns a fractional number into text takes the decimal separator: the
// viewer passes the user's, machine-readable output a point.

namespace journal {

// The places are named in fields.h; these are their offsets and sizes.
constexpr int kRecords = fld::kJournalRecords; // trip and refuelling journals
constexpr int kTripOffset = fld::TripJournal.offset;
constexpr int kRefuelOffset = fld::RefuelJournal.offset;
constexpr int kRecordSize = fld::kJournalRecordSize;
constexpr int kErrorRecords = fld::kErrorRecords;
constexpr int kErrorRecordOffset = fld::ErrorRecords.offset;
constexpr int kErrorRecordSize = fld::kErrorRecordSize;
constexpr int kFreezeFramePidsOffset = fld::FreezeFramePids.offset;
constexpr int kFreezeFramePidsSize = fld::FreezeFramePids.width;
constexpr int kFreezeFrameOffset = fld::error_record::FreezeFrame.offset; // in an error record
constexpr int kFreezeFrameSize = fld::error_record::FreezeFrame.width;
constexpr int kInitialMileageOffset = fld::InitialMileage.offset;

constexpr int kGridRows = 22; // header + 21 records
constexpr int kGridColumns = 9;
constexpr int kSumRows = 6;

// A fault-code style that renders every code as an empty text; used when no
// protocol is current.
constexpr int kNoFaultFormat = -1;

} // namespace journal

enum class Journal { Trip, Refuel };

// The eight accumulator groups, in the order of their tables.
enum class SumGroupId { All, Trip, Reset, Stop, NoStop, Tank, OilOnly, GasOnly };
constexpr int kSumGroupCount = 8;

struct SumGroupInfo {
    SumGroupId id;
    const char *table;      // grid name, also the JSON key: "sgAllSum"
    fld::FieldAddress sums; // 4 words: time, distance, petrol, gas; 3: time, distance, one fuel
    int words() const { return sums.width / 4; }
    bool gasOnly; // the third word of a 3-word group is gas
    const char *titleEn;
    const char *titleRu;
};
const std::array<SumGroupInfo, kSumGroupCount> &SumGroups();
const SumGroupInfo &SumGroupOf(SumGroupId id);

struct SumGroup {
    uint32_t time = 0;     // s
    uint32_t distance = 0; // m
    uint32_t petrol = 0;   // ml
    uint32_t gas = 0;      // ml
    static SumGroup read(const uint8_t *totals, SumGroupId id);
};

struct JournalRecord {
    uint16_t minutes = 0;
    uint8_t day = 0; // 0: the record is empty
    uint8_t month = 0;
    uint32_t travelTime = 0; // s
    uint32_t distance = 0;   // m
    uint32_t petrol = 0;     // ml
    uint32_t gas = 0;        // ml
    bool empty() const { return day == 0; }
    static JournalRecord read(const uint8_t *tripLog, Journal which, int index);
};

// Prices from the head of TripLogBlock, signed.
struct JournalPrices {
    int16_t petrol = 0; // per litre, tenths
    int16_t hour = 0;   // per hour of travel
    int16_t km = 0;     // per kilometre, tenths
    int16_t gas = 0;    // per litre, tenths
    static JournalPrices read(const uint8_t *tripLog);
};

struct FreezeFramePids {
    std::array<uint8_t, journal::kFreezeFramePidsSize> bits{};
    bool has(int n) const; // OBD-II parameter n = 1..96
    static FreezeFramePids read(const uint8_t *errorLog);
};

struct FreezeFrame {
    std::array<uint8_t, journal::kFreezeFrameSize> bytes{};
    uint32_t faultCode() const; // 0: no frame
    static FreezeFrame read(const uint8_t *errorLog, int index);
};

struct ErrorRecord {
    uint16_t minutes = 0;
    uint8_t day = 0;
    uint8_t month = 0;
    uint32_t faultCode = 0; // 0: the record is empty
    FreezeFrame frame;
    bool empty() const { return faultCode == 0; }
    static ErrorRecord read(const uint8_t *errorLog, int index);
};

// ---- texts -------------------------------------------------------------------

QString TwoDigit(int n);
QString JournalTimeText(int minutes, int day, int month); // "08:05   7.03"
QString ErrorTimeText(int minutes, int day, int month);   // "8:05 7.03", hours not reduced
QString JournalDurationText(uint32_t seconds);            // "34:17"
QString SumDurationText(uint32_t seconds);

// num / den (den > 0) with `decimals` decimals, a half away from zero.
QString RatioText(int64_t num, int64_t den, int decimals, const QString &point);
// num / den (den > 0) to the nearest integer, a half to the even neighbour.
int64_t RoundHalfEven(int64_t num, int64_t den);

// Columns 1..8 of a journal grid row: time text (or "Empty"), travel time,
// distance, fuel, average speed, per 100 km, per hour, cost. An empty record
// gives the "Empty" text and seven empty cells.
QStringList JournalRecordCells(const JournalRecord &r, const JournalPrices &prices, const QString &point);

// Label and value of the six rows of a sum table; initialMileageKm counts only
// for the cumulative group.
QList<QPair<QString, QString>> SumRows(const SumGroup &g, int64_t initialMileageKm, const QString &point);
QList<QPair<QString, QString>> SumRows(const TMK &model, SumGroupId id, const QString &point);

uint32_t DecimalToBcd(uint32_t a);
// optionList0 / optionList2: the items chosen in option lists 0 and 2 of the
// current protocol (VehicleBlock offsets 12 and 14).
QString FormatFaultCode(int style, uint32_t code, int optionList0 = 0, int optionList2 = 0);
QString FormatFaultCode(const TMK &model, int style, uint32_t code);

// Rebuilds the catalog for the model's DeviceType and protocol index and gives
// the current protocol's fault format, or kNoFaultFormat when the settings
// select no protocol of that model.
int JournalFaultFormat(TMK &model);

QString FuelSystemText(int status);
QString SecondaryAirText(int status);

// Rows of the freeze-frame grid for one frame: nothing when the frame's own
// fault code is 0, else the trouble code and one row per parameter present.
QList<QPair<QString, QString>> FreezeFrameRows(const FreezeFramePids &pids, const FreezeFrame &frame,
                                               const QString &point);

// Where a freeze frame keeps OBD-II parameter n and what divides its stored
// integer; offset -1 when the frame has no place for it.
struct FreezeFrameSlot {
    int offset = -1;
    int divisor = 1;
};
FreezeFrameSlot FreezeFrameSlotOf(int n);

// One row of the error list: "#", time, code (the last two empty for an
// empty record).
QStringList ErrorListRow(const TMK &model, int index, int faultStyle);

// The 22 rows of 9 cells of a journal grid, header first.
QList<QStringList> JournalGrid(const TMK &model, Journal which, const QString &point);
QStringList JournalHeader();

// The fault journal as its export writes it, header first: for every record
// in use, in record order, one row per row of its freeze frame (number 0..6,
// time, code as the list shows it, label, value); a record without a frame
// gets one row with an empty label and value.
QList<QStringList> ErrorJournalExport(const TMK &model, int faultStyle, const QString &point);
QStringList ErrorExportHeader();

// The export text of a grid: every cell followed by a tab, lines ended by CR LF.
QString JournalExportText(const QList<QStringList> &grid);
// The same in Windows-1251, characters it cannot hold replaced by '?'.
QByteArray JournalExportBytes(const QList<QStringList> &grid);

// ---- clearing (the model's blocks; the image follows when they are packed) ----

void ClearTripJournal(TMK &model);
void ClearRefuelJournal(TMK &model);
void ClearErrorJournal(TMK &model);
void ClearSumGroup(TMK &model, SumGroupId id);

// One clearing action of the viewer: a whole journal, or one accumulator group.
struct JournalClearing {
    enum class Target { TripJournal, RefuelJournal, ErrorJournal, Sums };
    Target target;
    SumGroupId group = SumGroupId::All; // for Sums
};
void Clear(TMK &model, const JournalClearing &what);
// Whether the clearing would change any byte of the model's blocks.
bool ClearingErases(const TMK &model, const JournalClearing &what);
// The question asked before it, naming the journal with its records in use,
// or the accumulator table by its title.
QString ClearingQuestion(const TMK &model, const JournalClearing &what);

int UsedRecords(const TMK &model, Journal which);
int UsedErrorRecords(const TMK &model);

// The same on raw blocks.
void ClearJournal(uint8_t *tripLog, Journal which);
void ClearErrorJournal(uint8_t *errorLog);
void ClearSumGroup(uint8_t *totals, SumGroupId id);

// ---- samples --------------------------------------------------------------------

// Fills the sums, the trip and refuelling journals and the error journal (with
// freeze frames) of the model's blocks with plausible records of a car that runs
// on petrol and gas: every record and every sum in use. The same every time;
// the demo device carries them.
void FillSampleJournals(TMK &model);
