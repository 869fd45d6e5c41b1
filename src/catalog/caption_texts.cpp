#include "caption_texts.h"

#include "language.h"

#include <array>

namespace {

struct CaptionRow {
    CaptionId id;
    const char *en;
    const char *ru;
};

constexpr std::array<CaptionRow, kCaptionCount> kCaptions{{
    {CaptionId::Type, "Type", "Тип"},
    {CaptionId::ObdType, "OBD type", "Тип ОБД"},
    {CaptionId::ProtocolType, "Protocol type", "Тип протокола"},
    {CaptionId::OsType, "OS type", "Тип ДК"},
    {CaptionId::Os2Type, "OS2 type", "Тип ДК2"},
    {CaptionId::CoolantVariant, "T Coolant var.", "Вариант ТОЖ"},
    {CaptionId::CoolantInAirVariant, "T Cool/InAir var.", "Вариант ТОЖ/ТВВ"},
    {CaptionId::ISregVariant, "ISreg var.", "Вариант ШД"},
    {CaptionId::FaultsType, "Faults type", "Тип ошибок"},
    {CaptionId::ThrottleType, "Throttle type", "Тип дросселя"},
    {CaptionId::Auto, "Auto", "Авто"},
    {CaptionId::Manual, "Man.", "Руч."},
    {CaptionId::FaultsRequest, "Faults request", "Запрос ошибок"},
    {CaptionId::EngineType, "Engine type", "Тип двигателя"},
    {CaptionId::Petrol, "Petrol", "Бензин"},
    {CaptionId::Diesel, "Diesel", "Дизель"},
    {CaptionId::FanControlChannel, "Fan control channel", "Канал включения вентилятора"},
    {CaptionId::ExpenseCalculation, "Expense calculation", "Расчет расхода"},
    {CaptionId::Up92, "up92", "до 92"},
    {CaptionId::From92, "fr92", "с 92"},
    {CaptionId::CanRequestsPerSecond, "CAN req/sec", "Опрос CAN раз/сек"},
    {CaptionId::ISreg, "ISreg", "ШД"},
    {CaptionId::EMV, "EMV", "ЭМК"},
    {CaptionId::FrontO2, "FrntO2", "O2 Пер"},
    {CaptionId::AtOilTemper, "AT oil temper.", "Темп. масла АКПП"},
    {CaptionId::No, "No", "Нет"},
    {CaptionId::Yes, "Yes", "Да"},
    {CaptionId::Cruise, "Cruis", "Круиз"},
    {CaptionId::Total, "Total", "Все"},
    {CaptionId::Engine, "Engine", "Двигатель"},
}};

constexpr bool inEnumOrder()
{
    for (int i = 0; i < kCaptionCount; ++i)
        if (static_cast<int>(kCaptions[i].id) != i)
            return false;
    return true;
}
static_assert(inEnumOrder(), "caption rows must follow the enum order");

} // namespace

QString CaptionText(CaptionId id)
{
    const int i = static_cast<int>(id);
    if (i < 0 || i >= kCaptionCount)
        return {};
    return LangText(kCaptions[i].en, kCaptions[i].ru);
}
