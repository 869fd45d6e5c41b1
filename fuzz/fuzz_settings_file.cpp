// Any file bytes: loading and unpacking must fail cleanly or succeed, never
// touch memory outside the image or a block.
#include "errors.h"
#include "settings_file.h"
#include "tmk.h"

#include <cstddef>
#include <cstdint>

extern "C" int LLVMFuzzerTestOneInput(const uint8_t *data, size_t size)
{
    static TMK model; // creation builds the catalogs once; loading replaces the image
    try {
        LoadSettingsBytes(model, QByteArray(reinterpret_cast<const char *>(data), static_cast<qsizetype>(size)));
        model.PackAll();
        model.UnpackAll();
    } catch (const TripError &) {
    }
    return 0;
}
