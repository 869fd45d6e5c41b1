#include "menu_catalog.h"

#include "language.h"
#include "protocol_catalog.h"

namespace {

using Cond = bool (*)(const TProtocolCatalog &);

enum class CodeBase {
    Fixed,       // code = offset
    AfterVolume, // 26, or 25 on a model without voice
    B,           // code = B + offset
    TripSlots,   // twenty items B + offset + n, n = 1..20, with the trip slot caption
};

struct Row {
    CodeBase base;
    int offset;
    const char *id; // for TripSlots: the identifier's prefix, "n" and "Menu" follow
    const char *en;
    const char *ru; // nullptr: the same as English
    uint8_t kind;
    Cond cond; // nullptr: always
};

bool always(const TProtocolCatalog &) { return true; }
bool voice(const TProtocolCatalog &c) { return !c.has(Cap::NoVoice); }
bool mikas(const TProtocolCatalog &c) { return c.has(Cap::FamMikas); }
bool timing(const TProtocolCatalog &c) { return !c.has(Cap::NoAccelBrakeTiming); }
bool lightsOn(const TProtocolCatalog &c) { return c.has(Cap::LightsOnAirTempInput) && c.has(Cap::LowBeamControl); }
bool holo(const TProtocolCatalog &c) { return !c.has(Cap::LightsOnAirTempInput) && !c.has(Cap::NoAirTempAlgorithm); }
bool lightAlerts(const TProtocolCatalog &c) { return !c.has(Cap::NoLightAlerts); }
bool jams(const TProtocolCatalog &c) { return !c.has(Cap::NoTrafficJamStatistics); }
bool parking(const TProtocolCatalog &c) { return !c.has(Cap::NoParkingRadar); }
bool gas(const TProtocolCatalog &c) { return !c.has(Cap::NoGasFuel); }
bool cargo(const TProtocolCatalog &c) { return c.has(Cap::Cargo); }
bool altDisplay(const TProtocolCatalog &c) { return c.has(Cap::AlternativeDisplay); }
template <int Code> bool systemMenu(const TProtocolCatalog &c)
{
    return c.has(Cap::AdditionalSystemMenus) && c.blockPresent(Code);
}

constexpr const char kSlotEn[] = "MM:HH DD.MM";
constexpr const char kSlotRu[] = "ММ:ЧЧ ДД.ММ";

// The device menu, in catalog order.
const Row kRows[] = {
    {CodeBase::Fixed, 1, "VirtLockMenu", "Virtual Lock On/Off", "Вирт. замок Вкл/Откл", 0, always},
    {CodeBase::Fixed, 2, "FullTankMenu", "Refuel.until full", "Заправка до полн.", 0, always},
    {CodeBase::Fixed, 3, "ToTankMenu", "Fueled l", "Заправлено л", 0, always},
    {CodeBase::Fixed, 4, "InTankMenu", "Now in tank l", "Теперь в баке л", 0, always},
    {CodeBase::Fixed, 5, "VentOnMenu", "Fan On/Off", "Вентилятор Вкл/Откл", 0, always},
    {CodeBase::Fixed, 6, "PrognozMenu", "MileProgn.Econ", "Прогн.проб.Экон", 0, always},
    {CodeBase::Fixed, 7, "InjTimeHHMenu", "% for inject.", "% на впрыск", 0, always},
    {CodeBase::Fixed, 8, "ExpenseHHMenu", "% Expense", "% Расход", 0, always},
    {CodeBase::Fixed, 9, "CorrUOZMenu", "IgnAngCorr", "Поправка УОЗ", 0, mikas},
    {CodeBase::Fixed, 10, "EBUResetMenu", "ECU reset", "Сброс ЭБУ", 0, always},
    {CodeBase::Fixed, 11, "CandleDryMenu", "Spark plugs drying", "Сушка свечей", 0, always},
    {CodeBase::Fixed, 12, "TankMethMenu", "Tank type Calculated/FLS/ECU FLS", "Бак тип Расчетный/ДУТ/ДУТ ЭБУ", 0,
     always},
    {CodeBase::Fixed, 13, "LiqTemperLimitMenu", "T cool.lim", "Граница ТОЖ", 0, always},
    {CodeBase::Fixed, 14, "RevolutionsLimitMenu", "Eng.speed lim", "Граница Обор.", 0, always},
    {CodeBase::Fixed, 15, "VelocityLimitMenu", "Speed lim", "Граница Скор.", 0, always},
    {CodeBase::Fixed, 16, "TankLimitMenu", "Fuel rem.", "Ост.бака", 0, always},
    {CodeBase::Fixed, 17, "VentTempLimitMenu", "T fan on", "T Вкл.вент.", 0, always},
    {CodeBase::Fixed, 18, "InjTimeLimitMenu", "Inj/expense %", "Впрыск/Расх %", 0, always},
    {CodeBase::Fixed, 19, "LiqTemperReadyMenu", "Engine heat.", "Прогрев ДВС", 0, always},
    {CodeBase::Fixed, 20, "Vel100Menu", "Zero to", "Разгон до", 0, timing},
    {CodeBase::Fixed, 21, "Vel100DownMenu", "Brak.from", "Тормож. с", 0, timing},
    {CodeBase::Fixed, 22, "Intense0Menu", "Brightn./Day", "Яркость/День", 0, always},
    {CodeBase::Fixed, 23, "Intense1Menu", "Brightn./Night", "Яркость/Ночь", 0, always},
    {CodeBase::Fixed, 24, "AlarmPermJournMenu", "Warnings log", "Журнал предупр.", 0, always},
    {CodeBase::Fixed, 25, "SoundVolumeMenu", "Volume", "Громкость", 0, voice},
    {CodeBase::AfterVolume, 0, "FlagSoundMenu", "Sound off", "Откл.звук", 0, always},
    {CodeBase::Fixed, 27, "SayParamPeriodMenu", "Auto-repeat", "Автоповтор", 0, voice},
    {CodeBase::B, 0, "apVelMenu", "High speed", "Превыш.скорость", 0, always},
    {CodeBase::B, 1, "AlarmVelSecNoSayMaxMenu", "Speed thinning", "Скор.прореж.", 0, always},
    {CodeBase::B, 2, "apRevMenu", "High eng.speed", "Превыш.обороты", 0, always},
    {CodeBase::B, 3, "apTankMenu", "Fuel rem.", "Остаток бака", 0, always},
    {CodeBase::B, 4, "LightsOnMenu", "LowBeamCntr", "Упр.Бл.Свет", 0, lightsOn},
    {CodeBase::B, 4, "apHoloMenu", "Glaze ice", "Гололед", 0, holo},
    {CodeBase::B, 5, "apEconomMenu", "Econometer", "Эконометр", 0, always},
    {CodeBase::B, 6, "apGabarMenu", "Park.lights", "Габариты", 0, lightAlerts},
    {CodeBase::B, 7, "apLightsMenu", "Low beam", "Ближн.Свет", 0, lightAlerts},
    {CodeBase::B, 8, "apTankFullMenu", "Full tank", "Полный бак", 0, always},
    {CodeBase::B, 9, "apInjTimeMenu", "%Inj/Exp", "%Впрыск/расход", 0, always},
    {CodeBase::B, 10, "apErrorMenu", "Fault", "Неисправность", 0, always},
    {CodeBase::B, 11, "apLiqTempHighMenu", "Coolant overheat", "Перегрев ОЖ", 0, always},
    {CodeBase::B, 12, "apLiqTempReadyMenu", "Eng.heating", "Прогрев ДВС", 0, always},
    {CodeBase::B, 13, "InitTripParamsMenu", "Reset trip", "Сброс Поездка", 1, always},
    {CodeBase::B, 14, "InitReset0ParamsMenu", "Reset Reset1", "Сброс Сброс1", 1, always},
    {CodeBase::B, 15, "InitReset1ParamsMenu", "Reset Reset2", "Сброс Cброс2", 1, always},
    {CodeBase::B, 16, "InitStopParamsMenu", "Reset Jams", "Сброс Пробки", 1, jams},
    {CodeBase::B, 17, "InitNoStopParamsMenu", "Reset Traffic", "Сброс БезПробок", 1, jams},
    {CodeBase::B, 18, "TripMinStopMenu", "Continuous trip", "Непрер.Поездки", 1, always},
    {CodeBase::B, 19, "TripJournMenu", "Trip log", "Журнал поездок", 1, always},
    {CodeBase::B, 20, "ContinueTripMenu", "Continue", "Продолжить", 1, always},
    {CodeBase::B, 21, "WriteTripMenu", "Save", "Записать", 1, always},
    {CodeBase::TripSlots, 21, "WriteTrip", nullptr, nullptr, 1, always},
    {CodeBase::B, 42, "ViewTripMenu", "View", "Просмотреть", 1, always},
    {CodeBase::B, 43, "ViewTrip0Menu", "Last     MM:HH DD.MM", "Пoс.     ММ:ЧЧ ДД.ММ", 1, always},
    {CodeBase::TripSlots, 43, "ViewTrip", nullptr, nullptr, 1, always},
    {CodeBase::B, 64, "TankJournMenu", "Petrol log", "Журнал заправок", 1, always},
    {CodeBase::B, 65, "ViewTank0Menu", "Last     MM:HH DD.MM", "Пoс.     ММ:ЧЧ ДД.ММ", 1, always},
    {CodeBase::TripSlots, 65, "ViewTank", nullptr, nullptr, 1, always},
    {CodeBase::B, 113, "ParkOffMenu", "Short shutdown", "Кратковр.откл.", 2, parking},
    {CodeBase::B, 114, "ParkUseMenu_0", "Parktronic On/Off", "Парктроник Вкл/Откл", 2, parking},
    {CodeBase::B, 115, "ParkSenseMenu_0", "Sensitivity", "Чувствит.", 2, parking},
    {CodeBase::B, 116, "ParkSpeedMenu_0", "Operat.speed", "Быстродействие", 2, parking},
    {CodeBase::B, 117, "ParkBeepTypeMenu", "Sound type", "Тип озвуч.", 2, parking},
    {CodeBase::B, 118, "ParkAlwaysOnMenu", "Disable Auto/No", "Отключать Авто/Нет", 2, parking},
    {CodeBase::B, 119, "ParkUseMenu_1", "F.Parktronic On/Off", "П.Парктроник Вкл/Откл", 2, parking},
    {CodeBase::B, 120, "ParkForwConstOffMenu", "Work mode On/On 3s/R.mov", "Режим работы Вкл/Вкл3с/ДвЗад", 2, parking},
    {CodeBase::B, 121, "ParkSenseMenu_1", "F.Sensitivity", "П.Чувствит.", 2, parking},
    {CodeBase::B, 122, "ParkSpeedMenu_1", "F.Operat.speed", "П.Быстродействие", 2, parking},
    {CodeBase::B, 123, "InitResetOnlyGasParamsMenu", "Reset Gas", "Сброс Газ", 0, gas},
    {CodeBase::B, 124, "IntenseDayTimeMenu", "Day", "День", 0, always},
    {CodeBase::B, 125, "IntenseNightTimeMenu", "Night", "Ночь", 0, always},
    {CodeBase::B, 126, "ErrorsMenu", "ECU trouble codes", "Ошибки ЭБУ", 0, always},
    {CodeBase::B, 127, "EBUInitMenu", "ECU initialization", "Инициализация ЭБУ", 0, always},
    {CodeBase::B, 128, "InitResetOnlyOilParamsMenu", "Reset Petrol", "Сброс Бенз", 0, gas},
    {CodeBase::B, 129, "FullGasTankMenu", "Ref.gas until full", "Запр.Газ до полн.", 0, gas},
    {CodeBase::B, 130, "ToGasTankMenu", "Refuel.gas l", "Заправ.Газ л", 0, gas},
    {CodeBase::B, 131, "InGasTankMenu", "Now gas l", "Теперь газа л", 0, gas},
    {CodeBase::B, 132, "TareWeightMenu", "Tare weight,t", "Вес тары,т", 0, cargo},
    {CodeBase::B, 133, "CargoDensMenu", "CargoDens.t/m3", "Плотн.гр,т/м3", 0, cargo},
    {CodeBase::B, 134, "HVFanForcedOnMenu", "HVB Fan", "Вент.ВВБ", 0, altDisplay},
    {CodeBase::B, 135, "BlocksBoschESP9Menu", "Bosch ESP9", nullptr, 0, systemMenu<27>},
    {CodeBase::B, 136, "BlocksBoschESP91Menu", "Bosch ESP9.1", nullptr, 0, systemMenu<77>},
    {CodeBase::B, 137, "BlocksBoschABSESP9Menu", "Bosch ABS/ESP9", nullptr, 0, systemMenu<28>},
    {CodeBase::B, 138, "BlocksABSKesens102Menu", "ABS Kesens C102", nullptr, 0, systemMenu<178>},
    {CodeBase::B, 139, "BlocksABSItelmaMenu", "ABS Itelma", nullptr, 0, systemMenu<180>},
    {CodeBase::B, 140, "BlocksABSAPGMenu", "ABS APG", nullptr, 0, systemMenu<37>},
    {CodeBase::B, 141, "BlocksABS9Menu", "ABS 8/9", nullptr, 0, systemMenu<22>},
};

std::vector<std::unique_ptr<TMKMenuItem>> &catalog()
{
    static std::vector<std::unique_ptr<TMKMenuItem>> items;
    return items;
}

void append(const QString &id, const QString &caption, int code, uint8_t kind)
{
    auto item = std::make_unique<TMKMenuItem>();
    item->Identifier = id;
    item->Caption = caption;
    item->Code = static_cast<uint16_t>(code);
    item->Kind = kind;
    catalog().push_back(std::move(item));
}

} // namespace

QString TripSlotCaption(int n) { return QStringLiteral("%1     ").arg(n, 4) + LangText(kSlotEn, kSlotRu); }

void BuildMenuCatalog()
{
    catalog().clear();
    const TProtocolCatalog &cat = Catalog();
    const bool noVoice = cat.has(Cap::NoVoice);
    const int b = noVoice ? 26 : 28;
    for (const Row &row : kRows) {
        if (row.cond && !row.cond(cat))
            continue; // its code stays reserved
        switch (row.base) {
        case CodeBase::Fixed:
            append(QString::fromLatin1(row.id), LangText(row.en, row.ru ? row.ru : row.en), row.offset, row.kind);
            break;
        case CodeBase::AfterVolume:
            append(QString::fromLatin1(row.id), LangText(row.en, row.ru), noVoice ? 25 : 26, row.kind);
            break;
        case CodeBase::B:
            append(QString::fromLatin1(row.id), LangText(row.en, row.ru ? row.ru : row.en), b + row.offset, row.kind);
            break;
        case CodeBase::TripSlots:
            for (int n = 1; n <= 20; ++n)
                append(QStringLiteral("%1%2Menu").arg(QString::fromLatin1(row.id)).arg(n), TripSlotCaption(n),
                       b + row.offset + n, row.kind);
            break;
        }
    }
}

const std::vector<std::unique_ptr<TMKMenuItem>> &MenuCatalog() { return catalog(); }

const TMKMenuItem *FindMenuItem(const QString &identifier)
{
    for (const auto &item : catalog())
        if (item->Identifier == identifier)
            return item.get();
    return nullptr;
}

const TMKMenuItem *FindMenuItemByCode(uint16_t code)
{
    for (const auto &item : catalog())
        if (item->Code == code)
            return item.get();
    return nullptr;
}
