#pragma once
#include "fields.h"

#include <QByteArray>
#include <QString>
#include <QStringList>

class TMK;

// The tank calibration file (*.kelmo) and the maintenance file (*.kelmt): the
// fields of the tank and maintenance pages, raw model bytes in a fixed order.
// Nothing in them names a version, so a user can carry the settings across
// device software versions.
namespace ed {

constexpr int kTankFileSize = 245;
constexpr int kServiceFileSize = 117;
constexpr int kMaxTarePoints = fld::kTarePoints;

// The bytes a save writes, straight from the model.
QByteArray TankFileBytes(const TMK &model);
QByteArray ServiceFileBytes(const TMK &model);

// Fills the fields in file order from the start of `bytes`; each field takes
// what remains up to its size, bytes past the last field are ignored. The tank
// fill ends with the tank page refresh rule (ApplyTareCountRule).
void FillTankFields(TMK &model, const QByteArray &bytes);
void FillServiceFields(TMK &model, const QByteArray &bytes);

// A tare point count above 68 becomes 0.
void ApplyTareCountRule(TMK &model);

// Storing the tare grid: for points 1..count the digits of each cell in order
// as a decimal number (none: 0); litres must fit a byte, codes 0..32767. A
// refused cell fails with a range error, the points before it stored. Then the
// reverse slope flag: 1 when the code of point 1 is above 240.
void StoreTarePoints(TMK &model, const QStringList &litres, const QStringList &codes);

// Saves replace the file atomically. Loads read the whole file; a file that
// cannot be opened or read fails with a TripError after the fields read so far
// were filled (and the refresh rule applied).
void SaveTankFile(const TMK &model, const QString &path);
void LoadTankFile(TMK &model, const QString &path);
void SaveServiceFile(const TMK &model, const QString &path);
void LoadServiceFile(TMK &model, const QString &path);

} // namespace ed
