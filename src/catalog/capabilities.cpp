#include "capabilities.h"

#include <array>

namespace {

struct CapNameRow {
    Cap cap;
    const char *name;
};

// One row per capability, in enum order.
constexpr std::array<CapNameRow, kCapCount> kCapNames{{
    {Cap::TiltLayout, "tilt layout"},
    {Cap::NoVoice, "no voice"},
    {Cap::LightsOnAirTempInput, "lights on air temperature input"},
    {Cap::LowBeamControl, "low beam control"},
    {Cap::NoSpeedSensor, "no speed sensor"},
    {Cap::EngineDataFromEcuOnly, "engine data from the ECU only"},
    {Cap::SecondTank, "second tank"},
    {Cap::PhysicalLockRestrictsSpeedSource, "physical lock restricts speed source"},
    {Cap::UniversalInput, "universal input"},
    {Cap::NoParkingRadar, "no parking radar"},
    {Cap::NoGasFuel, "no gas fuel"},
    {Cap::NoTrafficJamStatistics, "no traffic jam statistics"},
    {Cap::NoLightAlerts, "no light alerts"},
    {Cap::NoParkingLightPolarity, "no parking light polarity"},
    {Cap::VagSearchExcluded, "VAG search excluded"},
    {Cap::Obd2eOnly, "OBD2E only"},
    {Cap::SpeedFromGps, "speed from GPS"},
    {Cap::Retarder, "retarder"},
    {Cap::Power24V, "24 V power"},
    {Cap::AdditionalSystems, "additional systems"},
    {Cap::AdditionalSystemMenus, "additional-system menus"},
    {Cap::SingleServiceInterval, "single service interval"},
    {Cap::TiltSensor, "tilt sensor"},
    {Cap::NoFuelLevelSensor, "no fuel level sensor"},
    {Cap::IgnitionLockFixed, "ignition lock fixed"},
    {Cap::Trim, "trim"},
    {Cap::NoAirTempAlgorithm, "no air temperature algorithm"},
    {Cap::AlternativeDisplay, "alternative display"},
    {Cap::SpeedFromNmea, "speed from NMEA"},
    {Cap::NoAccelBrakeTiming, "no acceleration/braking timing"},
    {Cap::NoSpeedCorrection, "no speed correction"},
    {Cap::Cargo, "cargo"},
    {Cap::CanGroup, "CAN group"},
    {Cap::FamM74CAN, "M74CAN"},
    {Cap::FamM74_8, "M74.8"},
    {Cap::FamM86, "M86"},
    {Cap::FamUAZ17971E5, "UAZ 17971E5"},
    {Cap::FamUAZ_AECS_D, "UAZ AECS D"},
    {Cap::FamM86Pro, "M86Pro"},
    {Cap::FamCANToyota, "CAN Toyota"},
    {Cap::FamToyotaHybridsA, "Toyota hybrids A"},
    {Cap::FamPrius20, "Prius2.0"},
    {Cap::FamToyotaHybridsB, "Toyota hybrids B"},
    {Cap::FamLexRX400H, "Lex RX400H"},
    {Cap::FamToyotaHybridsC, "Toyota hybrids C"},
    {Cap::FamEstima10, "Estima10"},
    {Cap::FamCANFord, "CAN Ford"},
    {Cap::FamCANSubaru, "CAN Subaru"},
    {Cap::FamEDC16Iveco, "EDC16 Iveco"},
    {Cap::FamCAN, "CAN"},
    {Cap::FamEMS3125, "EMS3125"},
    {Cap::FamFoton, "Foton"},
    {Cap::FamJ1939, "J1939"},
    {Cap::FamNMEA2000, "NMEA2000"},
    {Cap::FamBRP, "BRP"},
    {Cap::FamCrysler, "Crysler"},
    {Cap::FamJ1850, "J1850"},
    {Cap::FamTOBD1, "TOBD1"},
    {Cap::FamMikas, "Mikas"},
    {Cap::FamDAEWOO, "DAEWOO"},
    {Cap::FamNissan, "Nissan"},
    {Cap::FamAveo, "Aveo"},
    {Cap::FamMikas10_3, "Mikas 10.3"},
    {Cap::FamCorvet10_11, "10/11Corvet"},
    {Cap::FamJan, "Jan"},
    {Cap::FamMikas7_6, "Mikas 7.6"},
    {Cap::FamMikas11, "Mikas 11"},
    {Cap::FamM74, "M74"},
    {Cap::FamBoschM797, "Bosch M7.9.7"},
    {Cap::FamMikas11E3, "Mikas 11E3"},
    {Cap::FamM12, "M12"},
    {Cap::FamUAZ1797, "UAZ1797"},
    {Cap::FamEDC16ZMZ, "EDC16 ЗМЗ"},
    {Cap::FamBoschM70, "Bosch M7.0"},
    {Cap::FamSonata, "Sonata"},
    {Cap::FamBoschTiggo, "Bosch/Tiggo"},
    {Cap::FamSubaru, "Subaru"},
    {Cap::FamRenault, "Renault"},
    {Cap::FamVAG, "VAG"},
    {Cap::FamMitsu3, "Mitsu3"},
    {Cap::FamOBD2, "OBD2"},
    {Cap::FamToyota, "Toyota"},
    {Cap::FamToyota1, "Toyota1"},
    {Cap::FamDaihatsu, "Daihatsu"},
    {Cap::FamMitsu125, "Mitsu 1/2/5"},
    {Cap::FamOpel, "Opel"},
    {Cap::FamSsYong, "SsYong"},
    {Cap::FamMitsu4, "Mitsu 4"},
    {Cap::FamConsult, "Consult"},
    {Cap::FamHonda151, "Honda 151"},
    {Cap::FamSuzuki152, "Suzuki 152"},
    {Cap::FamOBDPWM, "OBDPWM"},
    {Cap::FamDelphi, "Delphi"},
    {Cap::FamDelphi1, "Delphi1"},
    {Cap::FamYamaha, "Yamaha"},
    {Cap::FamSuzuki223, "Suzuki 223"},
    {Cap::FamHonda224, "Honda 224"},
    {Cap::FamEvinrude, "Evinrude"},
    {Cap::FamHidea, "Hidea"},
    {Cap::FamCarb, "Carb."},
    {Cap::FamYam2018, "Yam2018"},
    {Cap::FamPM800T, "PM 800T"},
    {Cap::FamUni, "Uni."},
}};

constexpr bool namesInEnumOrder()
{
    for (int i = 0; i < kCapCount; ++i)
        if (static_cast<int>(kCapNames[i].cap) != i)
            return false;
    return true;
}
static_assert(namesInEnumOrder(), "capability names must follow the enum order");

CapabilitySet allFamilies()
{
    CapabilitySet s;
    for (int i = kFirstFamily; i < kCapCount; ++i)
        s.set(static_cast<Cap>(i));
    return s;
}

std::vector<ModelInfo> buildModelTable()
{
    using C = Cap;
    // Device capabilities of the model table, with its "as 0x…" references spelt out.
    const CapabilitySet caps4010{
        C::NoVoice,           C::LightsOnAirTempInput, C::LowBeamControl, C::NoSpeedSensor, C::EngineDataFromEcuOnly,
        C::AdditionalSystems, C::AdditionalSystemMenus};
    const CapabilitySet caps4110 = caps4010 - CapabilitySet{C::NoVoice};
    const CapabilitySet caps5100{C::NoVoice,
                                 C::LightsOnAirTempInput,
                                 C::NoParkingRadar,
                                 C::NoGasFuel,
                                 C::NoTrafficJamStatistics,
                                 C::NoLightAlerts,
                                 C::NoParkingLightPolarity,
                                 C::Retarder,
                                 C::SingleServiceInterval,
                                 C::TiltSensor,
                                 C::NoFuelLevelSensor,
                                 C::IgnitionLockFixed};
    const CapabilitySet caps5200{C::TiltLayout,
                                 C::NoVoice,
                                 C::LightsOnAirTempInput,
                                 C::NoParkingRadar,
                                 C::NoGasFuel,
                                 C::NoTrafficJamStatistics,
                                 C::NoLightAlerts,
                                 C::NoParkingLightPolarity,
                                 C::SingleServiceInterval,
                                 C::TiltSensor,
                                 C::NoFuelLevelSensor,
                                 C::IgnitionLockFixed,
                                 C::NoAirTempAlgorithm};
    const CapabilitySet caps5800{C::TiltLayout,
                                 C::NoVoice,
                                 C::PhysicalLockRestrictsSpeedSource,
                                 C::NoParkingRadar,
                                 C::NoGasFuel,
                                 C::NoTrafficJamStatistics,
                                 C::NoLightAlerts,
                                 C::NoParkingLightPolarity,
                                 C::SpeedFromGps,
                                 C::SingleServiceInterval,
                                 C::TiltSensor,
                                 C::Trim,
                                 C::NoAirTempAlgorithm};
    const CapabilitySet caps8002{C::AdditionalSystems, C::AdditionalSystemMenus};
    const CapabilitySet caps8082{C::AdditionalSystems, C::AdditionalSystemMenus, C::AlternativeDisplay};
    const CapabilitySet caps8180 = caps8082 + CapabilitySet{C::NoVoice};
    const CapabilitySet capsC000{C::SecondTank, C::AdditionalSystems, C::AdditionalSystemMenus};

    // Protocol families.
    const CapabilitySet fam4010{C::Obd2eOnly, C::FamOBD2, C::FamJan, C::FamBoschM70, C::FamM74, C::FamBoschM797};
    const CapabilitySet fam4200 = fam4010 + CapabilitySet{C::FamM74_8, C::CanGroup};
    const CapabilitySet fam5100{C::FamOBD2,   C::FamCorvet10_11, C::FamBoschTiggo, C::FamDelphi, C::FamDelphi1,
                                C::FamPM800T, C::FamUni,         C::FamCAN,        C::FamJ1939,  C::FamBRP};
    const CapabilitySet fam5200{C::FamCorvet10_11, C::FamDelphi,   C::FamYamaha,   C::FamYam2018,
                                C::FamSuzuki223,   C::FamHonda224, C::FamEvinrude, C::FamPM800T,
                                C::FamCarb,        C::FamUni,      C::FamJ1939,    C::FamNMEA2000};
    const CapabilitySet fam5800{C::FamMikas10_3, C::FamCorvet10_11, C::FamJan,     C::FamMikas7_6,  C::FamMikas11,
                                C::FamMikas11E3, C::FamM12,         C::FamOBD2,    C::FamToyota,    C::FamToyota1,
                                C::FamDelphi,    C::FamYamaha,      C::FamYam2018, C::FamSuzuki223, C::FamHonda224,
                                C::FamEvinrude,  C::FamHidea,       C::FamCarb,    C::FamUni,       C::FamCAN,
                                C::FamJ1939,     C::FamNMEA2000};
    const CapabilitySet fam8002 =
        allFamilies() + CapabilitySet{C::CanGroup} -
        CapabilitySet{C::FamToyotaHybridsA, C::FamToyotaHybridsB, C::FamToyotaHybridsC, C::FamEstima10,
                      C::FamPrius20,        C::FamLexRX400H,      C::Obd2eOnly,         C::FamOBDPWM,
                      C::FamDelphi,         C::FamDelphi1,        C::FamNMEA2000,       C::FamBRP,
                      C::FamYamaha,         C::FamSuzuki223,      C::FamHonda224,       C::FamEvinrude,
                      C::FamHidea,          C::FamYam2018,        C::FamPM800T,         C::FamCarb};
    const CapabilitySet fam8082{C::CanGroup,          C::FamCANToyota,      C::FamToyotaHybridsA,
                                C::FamToyotaHybridsB, C::FamToyotaHybridsC, C::FamEstima10,
                                C::FamPrius20,        C::FamLexRX400H,      C::FamCAN};
    const CapabilitySet fam8180 = fam8082 + CapabilitySet{C::FamOBDPWM};
    const CapabilitySet fam8202 = fam8002 - CapabilitySet{C::FamM74_8, C::FamDAEWOO, C::FamBoschTiggo};

    // clang-format off
    return {
        {0x4010, "Model 1", caps4010 + fam4010},
        {0x4020, "Model 2", caps4010 + fam4010},
        {0x4110, "Model 3", caps4110 + fam4010},
        {0x4120, "Model 4", caps4110 + fam4010},
        {0x4200, "Model 5", caps4110 + fam4200},
        {0x4210, "Model 6", caps4110 + fam4200},
        {0x4300, "Model 7", caps4010 + fam4200},
        {0x4310, "Model 8", caps4010 + fam4200},
        {0x5100, "Model 9", caps5100 + fam5100},
        {0x5200, "Model 10", caps5200 + fam5200},
        {0x5800, "Model 11", caps5800 + fam5800},
        {0x8002, "Model 12", caps8002 + fam8002},
        {0x8082, "Model 13", caps8082 + fam8082},
        {0x8180, "Model 14", caps8180 + fam8180},
        {0x8190, "Model 15", caps8180 + fam8180},
        {0x8202, "Model 16", caps8002 + fam8202},
        {0xC000, "Model 17", capsC000 + fam8002},
        {0xC010, "Model 18", capsC000 + CapabilitySet{C::Power24V} + fam8002},
    };
    // clang-format on
}

} // namespace

const char *CapName(Cap c)
{
    const int i = static_cast<int>(c);
    return (i >= 0 && i < kCapCount) ? kCapNames[i].name : "";
}

const std::vector<ModelInfo> &ModelTable()
{
    static const std::vector<ModelInfo> table = buildModelTable();
    return table;
}

std::optional<ModelInfo> FindModel(uint16_t deviceType)
{
    for (const ModelInfo &m : ModelTable())
        if (m.deviceType == deviceType)
            return m;
    return std::nullopt;
}
