#pragma once
#include <QString>

// The thirty short texts of the protocol option lists (captions and some item
// texts), each in the language active when it is fetched.
enum class CaptionId : int {
    Type,
    ObdType,
    ProtocolType,
    OsType,
    Os2Type,
    CoolantVariant,
    CoolantInAirVariant,
    ISregVariant,
    FaultsType,
    ThrottleType,
    Auto,
    Manual,
    FaultsRequest,
    EngineType,
    Petrol,
    Diesel,
    FanControlChannel,
    ExpenseCalculation,
    Up92,
    From92,
    CanRequestsPerSecond,
    ISreg,
    EMV,
    FrontO2,
    AtOilTemper,
    No,
    Yes,
    Cruise,
    Total,
    Engine,
    Count
};

constexpr int kCaptionCount = static_cast<int>(CaptionId::Count);

QString CaptionText(CaptionId id);

// One function per text, for the editor's direct use.
inline QString CaptionType() { return CaptionText(CaptionId::Type); }
inline QString CaptionObdType() { return CaptionText(CaptionId::ObdType); }
inline QString CaptionProtocolType() { return CaptionText(CaptionId::ProtocolType); }
inline QString CaptionOsType() { return CaptionText(CaptionId::OsType); }
inline QString CaptionOs2Type() { return CaptionText(CaptionId::Os2Type); }
inline QString CaptionCoolantVariant() { return CaptionText(CaptionId::CoolantVariant); }
inline QString CaptionCoolantInAirVariant() { return CaptionText(CaptionId::CoolantInAirVariant); }
inline QString CaptionISregVariant() { return CaptionText(CaptionId::ISregVariant); }
inline QString CaptionFaultsType() { return CaptionText(CaptionId::FaultsType); }
inline QString CaptionThrottleType() { return CaptionText(CaptionId::ThrottleType); }
inline QString CaptionAuto() { return CaptionText(CaptionId::Auto); }
inline QString CaptionManual() { return CaptionText(CaptionId::Manual); }
inline QString CaptionFaultsRequest() { return CaptionText(CaptionId::FaultsRequest); }
inline QString CaptionEngineType() { return CaptionText(CaptionId::EngineType); }
inline QString CaptionPetrol() { return CaptionText(CaptionId::Petrol); }
inline QString CaptionDiesel() { return CaptionText(CaptionId::Diesel); }
inline QString CaptionFanControlChannel() { return CaptionText(CaptionId::FanControlChannel); }
inline QString CaptionExpenseCalculation() { return CaptionText(CaptionId::ExpenseCalculation); }
inline QString CaptionUp92() { return CaptionText(CaptionId::Up92); }
inline QString CaptionFrom92() { return CaptionText(CaptionId::From92); }
inline QString CaptionCanRequestsPerSecond() { return CaptionText(CaptionId::CanRequestsPerSecond); }
inline QString CaptionISreg() { return CaptionText(CaptionId::ISreg); }
inline QString CaptionEMV() { return CaptionText(CaptionId::EMV); }
inline QString CaptionFrontO2() { return CaptionText(CaptionId::FrontO2); }
inline QString CaptionAtOilTemper() { return CaptionText(CaptionId::AtOilTemper); }
inline QString CaptionNo() { return CaptionText(CaptionId::No); }
inline QString CaptionYes() { return CaptionText(CaptionId::Yes); }
inline QString CaptionCruise() { return CaptionText(CaptionId::Cruise); }
inline QString CaptionTotal() { return CaptionText(CaptionId::Total); }
inline QString CaptionEngine() { return CaptionText(CaptionId::Engine); }
