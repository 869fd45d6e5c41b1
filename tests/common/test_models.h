#pragma once
#include "blocks.h"
#include "tmk.h"

#include <cstdint>
#include <functional>
#include <memory>

// A model of `type` with an image; `protocol` is the stored protocol index and
// `tweak` changes the model before the image is made.
inline std::unique_ptr<TMK> MakeModel(uint16_t type, int protocol = 0, const std::function<void(TMK &)> &tweak = {})
{
    auto m = std::make_unique<TMK>(type);
    m->DeviceType = type;
    SetU16(m->block(mem::VehicleBlock), 4, static_cast<uint16_t>(protocol));
    if (tweak)
        tweak(*m);
    m->FormatImage(9);
    return m;
}
