#pragma once
#include <QByteArray>
#include <QString>

class TMK;

// The tank calibration file (*.kelmo) and the maintenance file (*.kelmt): the
// fields of the tank and maintenance pages, raw model bytes in a fixed order.
// Nothing in them names a version, so a user can carry the settings across
// device software versions.
namespace ed {

constexpr int kTankFileSize = 245;
constexpr int kServiceFileSize = 117;
constexpr int kMaxTarePoints = 68;

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

// Saves replace the file atomically. Loads read the whole file; a file that
// cannot be opened or read fails with a TripError after the fields read so far
// were filled (and the refresh rule applied).
void SaveTankFile(const TMK &model, const QString &path);
void LoadTankFile(TMK &model, const QString &path);
void SaveServiceFile(const TMK &model, const QString &path);
void LoadServiceFile(TMK &model, const QString &path);

} // namespace ed
