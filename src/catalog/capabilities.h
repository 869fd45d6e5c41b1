#pragma once
#include <QString>
#include <bitset>
#include <cstdint>
#include <optional>
#include <vector>

// Device capabilities and protocol families of the device models. A family
// capability only enables the protocol table rows it gates.
enum class Cap : int {
    // device capabilities
    TiltLayout,
    NoVoice,
    LightsOnAirTempInput,
    LowBeamControl,
    NoSpeedSensor,
    EngineDataFromEcuOnly,
    SecondTank,
    PhysicalLockRestrictsSpeedSource,
    UniversalInput,
    NoParkingRadar,
    NoGasFuel,
    NoTrafficJamStatistics,
    NoLightAlerts,
    NoParkingLightPolarity,
    VagSearchExcluded,
    Obd2eOnly,
    SpeedFromGps,
    Retarder,
    Power24V,
    AdditionalSystems,
    AdditionalSystemMenus,
    SingleServiceInterval,
    TiltSensor,
    NoFuelLevelSensor,
    IgnitionLockFixed,
    Trim,
    NoAirTempAlgorithm,
    AlternativeDisplay,
    SpeedFromNmea,
    NoAccelBrakeTiming,
    NoSpeedCorrection,
    Cargo,
    CanGroup,
    // protocol families, in the order of the protocol table
    FamM74CAN,
    FamM74_8,
    FamM86,
    FamUAZ17971E5,
    FamUAZ_AECS_D,
    FamM86Pro,
    FamCANToyota,
    FamToyotaHybridsA,
    FamPrius20,
    FamToyotaHybridsB,
    FamLexRX400H,
    FamToyotaHybridsC,
    FamEstima10,
    FamCANFord,
    FamCANSubaru,
    FamEDC16Iveco,
    FamCAN,
    FamEMS3125,
    FamFoton,
    FamJ1939,
    FamNMEA2000,
    FamBRP,
    FamCrysler,
    FamJ1850,
    FamTOBD1,
    FamMikas,
    FamDAEWOO,
    FamNissan,
    FamAveo,
    FamMikas10_3,
    FamCorvet10_11,
    FamJan,
    FamMikas7_6,
    FamMikas11,
    FamM74,
    FamBoschM797,
    FamMikas11E3,
    FamM12,
    FamUAZ1797,
    FamEDC16ZMZ,
    FamBoschM70,
    FamSonata,
    FamBoschTiggo,
    FamSubaru,
    FamRenault,
    FamVAG,
    FamMitsu3,
    FamOBD2,
    FamToyota,
    FamToyota1,
    FamDaihatsu,
    FamMitsu125,
    FamOpel,
    FamSsYong,
    FamMitsu4,
    FamConsult,
    FamHonda151,
    FamSuzuki152,
    FamOBDPWM,
    FamDelphi,
    FamDelphi1,
    FamYamaha,
    FamSuzuki223,
    FamHonda224,
    FamEvinrude,
    FamHidea,
    FamCarb,
    FamYam2018,
    FamPM800T,
    FamUni,
    Count
};

constexpr int kCapCount = static_cast<int>(Cap::Count);
constexpr int kFirstFamily = static_cast<int>(Cap::FamM74CAN);

class CapabilitySet {
public:
    CapabilitySet() = default;
    CapabilitySet(std::initializer_list<Cap> caps)
    {
        for (Cap c : caps)
            set(c);
    }
    bool has(Cap c) const { return m_bits.test(static_cast<size_t>(c)); }
    void set(Cap c, bool on = true) { m_bits.set(static_cast<size_t>(c), on); }
    CapabilitySet operator+(const CapabilitySet &o) const
    {
        CapabilitySet r = *this;
        r.m_bits |= o.m_bits;
        return r;
    }
    CapabilitySet operator-(const CapabilitySet &o) const
    {
        CapabilitySet r = *this;
        r.m_bits &= ~o.m_bits;
        return r;
    }
    bool operator==(const CapabilitySet &o) const = default;
    bool any() const { return m_bits.any(); }
    void reset() { m_bits.reset(); }

private:
    std::bitset<kCapCount> m_bits;
};

// The identifier of a capability as written in the model table ("no voice",
// "Mikas 10.3", ...); for support output and tests.
const char *CapName(Cap c);

struct ModelInfo {
    uint16_t deviceType;
    const char *name;
    CapabilitySet caps; // device capabilities and protocol families together
};

// The model table: one row per listed DeviceType, in the table's order.
const std::vector<ModelInfo> &ModelTable();
std::optional<ModelInfo> FindModel(uint16_t deviceType);
