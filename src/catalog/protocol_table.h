#pragma once
#include "capabilities.h"
#include "caption_texts.h"

#include <cstdint>
#include <vector>

// The rows from which BuildCatalog creates the protocol entries, in build order.
// A row's position in a model's protocol list is its rank among the rows whose
// gates hold for that model, so the order here is part of the settings' meaning.

// Conditions a row adds to its family capability.
enum class Gate : uint8_t {
    Always,
    NotVagSearchExcluded,
    WithObd2eOnly,
    WithoutObd2eOnly,
    WithRetarder,
    WithoutRetarder,
    WithCanGroup,
    WithoutCanGroup,
};

enum class NameRule : uint8_t {
    Plain,
    BoschOrTiggo, // "Bosch" for a model with the Delphi family, else "Tiggo"
};

enum class ItemSet : uint8_t {
    Listed, // the row's own items
    A,      // the 55 automatic transmission variants
    B,      // the 6 Toyota variants
};

struct ItemText {
    const char *en;
    const char *ru = nullptr; // nullptr: the same in both languages
};

struct OptionSpec {
    int list; // 0..7
    CaptionId caption;
    ItemSet set;
    std::vector<ItemText> items;
};

// Feature flags a row sets (the two "no" flags clear their defaults).
enum ProtocolFlag : unsigned {
    kAtOil = 1u << 0,
    kEngineOil = 1u << 1,
    kFan = 1u << 2,
    kParkingLights = 1u << 3,
    kBatterySource = 1u << 4,
    kHybrid = 1u << 5,
    kExtraCooling = 1u << 6,
    kTrim = 1u << 7,
    kAirSource = 1u << 8,
    kNoCoolant = 1u << 9,
    kNoFaults = 1u << 10,
};

struct ProtocolRow {
    int row; // the row number; two variants of one row share it
    Cap family;
    Gate gate;
    bool canGroupRow; // offered only with the CAN group capability
    const char *en;
    const char *ru; // nullptr: the same in both languages
    NameRule nameRule;
    uint8_t number;
    int32_t faultFormat;
    std::vector<uint8_t> display;
    std::vector<uint8_t> blocks;
    std::vector<OptionSpec> options;
    unsigned flags;
    int ecuFuelSensors;
};

const std::vector<ProtocolRow> &ProtocolTable();
const std::vector<ItemText> &AtOilItemSetA();
const std::vector<ItemText> &AtOilItemSetB();

// Whether `row` is offered for a model with the capabilities `caps`.
bool RowGateHolds(const ProtocolRow &row, const CapabilitySet &caps);
