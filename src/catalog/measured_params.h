#pragma once

// Measured parameters the device can show; filled in with the vehicle catalogs.
class TMeasParBase {
public:
    virtual ~TMeasParBase() = default;
};
