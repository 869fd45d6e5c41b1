// Any bytes as a tank or maintenance file, and as the texts of the tare grid:
// loading fills the fields in file order and never touches memory outside the
// model; what was loaded is what a save writes back.
#include "blocks.h"
#include "errors.h"
#include "tank_service_files.h"
#include "tmk.h"

#include <cstddef>
#include <cstdint>
#include <cstdlib>

extern "C" int LLVMFuzzerTestOneInput(const uint8_t *data, size_t size)
{
    static TMK model;
    if (size == 0)
        return 0;
    const QByteArray bytes(reinterpret_cast<const char *>(data) + 1, static_cast<qsizetype>(size - 1));
    const bool tank = data[0] & 1;
    if (tank) {
        ed::FillTankFields(model, bytes);
        QByteArray expected = bytes.left(ed::kTankFileSize);
        if (expected.size() > 39 && static_cast<uint8_t>(expected[39]) > ed::kMaxTarePoints)
            expected[39] = 0;
        if (!ed::TankFileBytes(model).startsWith(expected))
            std::abort();
        // The same bytes as the cells of the tare grid.
        QStringList litres, codes;
        for (const QByteArray &cell : bytes.split('\t'))
            (litres.size() <= codes.size() ? litres : codes) << QString::fromLatin1(cell);
        try {
            ed::StoreTarePoints(model, litres, codes);
        } catch (const TripError &) {
        }
    } else {
        ed::FillServiceFields(model, bytes);
        if (!ed::ServiceFileBytes(model).startsWith(bytes.left(ed::kServiceFileSize)))
            std::abort();
    }
    return 0;
}
