#include "measured_params.h"

#include "capabilities.h"
#include "language.h"
#include "protocol_catalog.h"

#include <array>

// Text columns of a parameter row, in this order.
enum TextField : int {
    kName,
    kLongName,
    kCellName4,
    kCellUnit4,
    kCellName9,
    kCellUnit9,
    kPanelName,
    kGaugeName,
    kGaugeUnit,
    kGraphName,
    kTextFields
};

struct MeasParRow {
    const char *className;
    uint8_t number;
    int32_t sample;
    int32_t decimals;
    int32_t min;
    int32_t max;
    int32_t scaleMin;
    int32_t scaleMax;
    int32_t width;
    int32_t gaugeSlot;
    bool graphable;
    const char *fixedSample;                  // nullptr: made from sample, decimals and width
    std::array<const char *, kTextFields> en; // nullptr: empty
    std::array<const char *, kTextFields> ru;
};

namespace {

// One row per class, in creation order. Columns: class, number, sample,
// decimals, range, scale, width, gauge slot, graph, fixed sample text; then the
// English and the Russian texts.
// clang-format off
const MeasParRow kRows[] = {
    {"TVelocity", 12, 60, 0, 0, 160, 0, 160, 3, 2, true, nullptr, // speed
     {"Speed", "Speed", "Speed", "km/h", "Speed", "km/h", "Speed", "Speed", "km/h", "Speed,km/h"},
     {"Скорость", "Скорость", "Скорость", "км/час", "Скорость", "км/час", "Скорость", "Скорость", "км/час", "Скорость,км/час"}},
    {"TRevolutions", 13, 2000, 0, 0, 8000, 0, 8, 4, 1, true, nullptr, // engine speed
     {"Eng.speed", "Eng.speed,rpm", "Eng.speed", "rpm", "Eng.speed", "rpm", "Eng.speed", "Eng.speed", "x1000", "Eng.speed,rpm"},
     {"Обороты", "Обороты двиг,об/мин", "Обороты", "об/мин", "Обороты двиг", "об/мин", "Обороты двиг", "Обороты", "x1000", "Обороты,об/мин"}},
    {"TInjectionTime", 16, 500, 2, 0, 2400, 0, 24, 5, 2, true, nullptr, // injection time
     {"Injection time", "Inject.time,ms", "InjTim", "ms", "Inject.time", "ms", "InjTim,ms", "Inject.time", "ms", "InjTim,ms"},
     {"Время впрыска", "Время впрыска,мс", "Впрыск", "мс", "Время впрыска", "мс", "Впрыск,мс", "Время впрыска", "мс", "Впрыск,мс"}},
    {"TMomentaryExpenseK", 14, 100, 1, 0, 240, 0, 24, 5, 1, true, nullptr, // momentary consumption per 100 km
     {"Expense/100", "Expense,l/100", "Expens", "л/100", "Expens", "л/100", "Expense,l/100", "Expens", "l/100", "Expense,l/100"},
     {"Расход/100", "Расход,л/100", "Расход", "л/100", "Расход", "л/100", "Расход,л/100", "Расход", "л/100", "Расход,л/100"}},
    {"TMomentaryExpenseH", 15, 100, 2, 0, 800, 0, 8, 5, 2, true, nullptr, // consumption per hour
     {"Expense/h", "Expense,l/h", "Expens", "l/h", "Expens", "l/h", "Expense,l/h", "Expense", "l/h", "Expense,l/h"},
     {"Расход/час", "Расход,л/час", "Расход", "л/час", "Расход", "л/час", "Расход,л/час", "Расход", "л/час", "Расход,л/час"}},
    {"TAccVoltage", 10, 140, 1, 0, 160, 0, 16, 4, 2, true, nullptr, // battery voltage
     {"BattVolt", "BattVolt,V", "BattVolt", "Volts", "BattVolt", "Volts", "BattVolt,V", "BattVolt", "Volts", "BattVolt,V"},
     {"Напр.АКБ", "Напр.АКБ,В", "Напр.АКБ", "Вольты", "Напр.АКБ", "Вольты", "Напр.АКБ,В", "Напр.АКБ", "Вольты", "Напр.АКБ,В"}},
    {"TOil", 8, 20, 0, 0, 50, 0, 100, 3, 0, false, nullptr, // fuel left in the tank
     {"Fuel rem.", "Fuel rem,l", "Fuel", "liters", "Fuel rem.", "liters", "Fuel rem,l", nullptr, nullptr, nullptr},
     {"Остаток бака", "Остаток бака,л", "Бак", "литры", "Остаток бака", "литры", "Остаток бака,л", nullptr, nullptr, nullptr}},
    {"TPrognoz", 9, 300, 0, 0, 999, 0, 100, 3, 0, false, nullptr, // mileage prognosis (range)
     {"Power res.", "Power res,km", "PowerRes", "km", "PowerRes", "km", "PowerRes,km", nullptr, nullptr, nullptr},
     {"Прогноз проб", "Прогноз пробега,км", "Прогн.Пр", "км", "Прогн.проб.", "км", "Прогн.Пр,км", nullptr, nullptr, nullptr}},
    {"TTime", 7, 0, 0, 0, 100, 0, 100, 3, 0, false, "15:30", // clock time
     {"Time", "Time", "Time", nullptr, "Time", nullptr, "Time", nullptr, nullptr, nullptr},
     {"Время", "Время", "Время", nullptr, "Время", nullptr, "Время", nullptr, nullptr, nullptr}},
    {"TTemperAir", 11, 20, 0, -20, 60, -20, 60, 3, 0, false, nullptr, // air temperature
     {"Tair/wat/en", "T air", "T air", "degrees", "T air", "degrees", "T air", "Tair", "degrees", nullptr},
     {"Твоз/вод/дв", "Твоздуха", "Tвозд", "градусы", "Твоздуха", "градусы", "Твоздуха", "Tвозд", "градусы", nullptr}},
    {"TLightsFlag", 11, 0, 0, 0, 100, 0, 100, 3, 0, false, "1", // low beam control flag (on the air temperature input)
     {"LowBmCntr", "LowBmCntr", "LowBmCntr", nullptr, "LowBmCntr", nullptr, "LowBmCntr", nullptr, nullptr, nullptr},
     {"Упр.БСвет", "Упр.БСвет", "Упр.БСвет", nullptr, "Упр.БСвет", nullptr, "Упр.БСвет", nullptr, nullptr, nullptr}},
    {"TTemperLiq", 17, 90, 0, 0, 120, 0, 120, 3, 2, true, nullptr, // coolant temperature
     {"Coolant Temp", "Coolant Temp,deg", "CoolantT", "degrees", "CoolantTmp", "degrees", "CoolantTmp", "CoolantT", "degrees", "Coolant Temp,deg"},
     {"ТОЖ двиг", "ТОЖ двигателя,гр", "Тдвигат.", "градусы", "ТОЖ двигат", "градусы", "ТОЖ двигат", "Тдвигат.", "градусы", "ТОЖ двигателя,гр"}},
    {"TMAF", 18, 500, 1, 0, 2400, 0, 240, 5, 1, true, nullptr, // mass air flow
     {"Man.Air Flow", "Man.Air Flow,kg/h", "MAF", "kg/h", "Man.Air Flow", "kg/h", "MAF,kg/h", "Man.Air Flow", "kg/h", "MAF,kg/h"},
     {"Расх.воздуха", "Расх.воздуха,кг/ч", "Р.возд.", "кг/час", "Расх.воздуха", "кг/час", "Расх.возд,кг/ч", "Расх.воздуха", "кг/час", "Расх.возд,кг/ч"}},
    {"TMAP", 19, 50, 0, 0, 200, 0, 240, 3, 1, true, nullptr, // manifold air pressure
     {"Man.Air Press", "Man.Air Pr,kPa", "MAP", "kPa", "Man.Air Pr", "kPa", "MAP,kPa", "Man.Air Pr", "kPa", "MAP,kPa"},
     {"Давление ВК", "Давление ВК,кПа", "Давление ВК", "кПа", "Давление ВК", "кПа", "Давл.ВК,кПа", "Давление ВК", "кПа", "Давл.ВК,кПа"}},
    {"TThrottle", 20, 20, 0, 0, 100, 0, 100, 3, 1, true, nullptr, // throttle position
     {"Throttle", "Throttle,%", "Throttle", "%", "Throttle", "%", "Throttle,%", "Throttle", "%", "Throttle,%"},
     {"Дроссель", "Дроссель,%", "Дроссель", "%", "Дроссель", "%", "Дроссель,%", "Дроссель", "%", "Дроссель,%"}},
    {"TThrottle2", 33, 20, 0, 0, 100, 0, 100, 3, 1, true, nullptr, // second throttle
     {"Throttle2", "Throttle2,%", "Throttle2", "%", "Throttle2", "%", "Throttle2,%", "Throttle2", "%", "Throttle2,%"},
     {"Дроссель", "Дроссель2,%", "Дроссель2", "%", "Дроссель2", "%", "Дроссель2,%", "Дроссель2", "%", "Дроссель2,%"}},
    {"TStepMotor", 21, 100, 0, 0, 240, 0, 240, 3, 2, true, nullptr, // idle speed control steps
     {"IS control", "IS control,steps", "IScntr", "steps", "IScntr", "steps", "IScntrl,steps", "IScntr", "steps", "IScntrl,steps"},
     {"Регулятор ХХ", "Регулятор ХХ,шаги", "Рег.ХХ", "шаги", "Рег.ХХ", "шаги", "Регул.ХХ,шаги", "Рег.ХХ", "шаги", "Регул.ХХ,шаги"}},
    {"TUOZ", 25, 100, 1, -840, 840, -84, 84, 5, 2, true, nullptr, // ignition angle
     {"IgnAngl", "IgnAngl,deg", "IgnAngl", "degrees", "IgnAngl", "degrees", "IgnAngl,deg", "IgnAngl", "degrees", "IgnAngl,deg"},
     {"УОЗ", "УОЗ,градусы", "УОЗ", "градусы", "УОЗ", "градусы", "УОЗ,градусы", "УОЗ", "градусы", "УОЗ,градусы"}},
    {"TCorrUOZ", 26, 10, 1, 0, 100, 0, 100, 4, 0, false, nullptr, // ignition angle correction
     {"IgnAngCorr", "IgnAngCorr,deg", "IgnAngCorr", "degrees", "IgnAngCorr", "degrees", "IgnAngCorr,deg", nullptr, nullptr, nullptr},
     {"Попр.УОЗ", "Попр.УОЗ,градусы", "Попр.УОЗ", "градусы", "Попр.УОЗ", "градусы", "Попр.УОЗ,градусы", nullptr, nullptr, nullptr}},
    {"TEngCalcLoad", 27, 20, 0, 0, 100, 0, 100, 3, 1, true, nullptr, // engine load
     {"Engine load", "Engine load,%", "Eng.load", "%", "Eng.load", "%", "Engine load,%", "Eng.load", "%", "Eng.load,%"},
     {"Нагр.на двиг.", "Нагрузка на дв.%", "Нагруз.дв.", "%", "Нагруз.дв.", "%", "Нагрузка на дв.%", "Нагруз.дв.", "%", "Нагруз.дв.%"}},
    {"TVAF", 28, 100, 2, 0, 400, 0, 4, 4, 1, true, nullptr, // VAF sensor voltage
     {"VAF sensor", "VAF sensor,V", "VAF sens", "Volts", "VAF sens", "Volts", "VAF sensor,V", "VAF sens", "Volts", "VAF sensor,V"},
     {"VAF сенсор", "VAF сенсор,В", "VAF сенс", "Вольты", "VAF сенс", "Вольты", "VAF сенсор,В", "VAF сенс", "Вольты", "VAF сенсор,В"}},
    {"TEMV", 29, 10, 0, 0, 100, 0, 100, 3, 1, true, nullptr, // electromagnetic valve
     {"EM valve", "EM valve,%", "EM valv,%", "%", "EM valv,%", "%", "EM valve,%", "EM valve,%", "%", "EM valve,%"},
     {"ЭлМ клапан", "ЭлМ клапан,%", "ЭлМ клап,%", "%", "ЭлМ клап,%", "%", "ЭлМ клапан,%", "ЭлМ клап,%", "%", "ЭлМ клап,%"}},
    {"TTemperIntakeAir", 24, 40, 0, 0, 80, 0, 80, 3, 1, true, nullptr, // intake air temperature
     {"InAirTemp", "InAirTemp,deg", "IATemp", "degrees", "InAirTemp", "degrees", "InAirTemp,deg", "InAirTemp", "degrees", "InAirTemp,deg"},
     {"Темпер.ВК", "Температура ВК,град", "Темпер.ВК", "градусы", "Темпер.ВК", "градусы", "Темп.ВК,град", "Темпер.ВК", "градусы", "Темп.ВК,град"}},
    {"TCorrLeft", 31, 100, 2, 0, 400, 0, 4, 4, 1, true, nullptr, // left fuel correction
     {"Left corr.", "Left corr,V", "Left corr", "Volts", "Left corr.", "Volts", "Left corr.,V", "Left corr.", "Volts", "Left corr.,В"},
     {"Корр.левая", "Коррекция левая,В", "Корр.лев.", "Вольты", "Корр.левая", "Вольты", "Корр.левая,В", "Корр.левая", "Вольты", "Корр.левая,В"}},
    {"TCorrRight", 30, 100, 2, 0, 400, 0, 4, 4, 1, true, nullptr, // right fuel correction
     {"Right corr.", "Right corr,V", "Right corr", "Volts", "Right corr.", "Volts", "Right corr.,V", "Right corr.", "Volts", "Right corr.,V"},
     {"Корр.правая", "Коррекция правая,В", "Корр.пр.", "Вольты", "Корр.правая", "Вольты", "Корр.правая,В", "Корр.правая", "Вольты", "Корр.правая,В"}},
    {"TO2Probe1", 22, 100, 2, 0, 400, 0, 4, 4, 1, true, nullptr, // oxygen sensor 1 voltage
     {"OxSens1Volt", "OxSens1Volt,V", "OxSens1V", "Volts", "OxSens1Volt", "Volts", "OxSens1Volt,V", "OxSens1Volt", "Volts", "OxSens1Volt,V"},
     {"Напряж.ДК1", "Напряжение ДК1,В", "Напр.ДК1", "Вольты", "Напряж.ДК1", "Вольты", "Напряж.ДК1,В", "Напряж.ДК1", "Вольты", "Напряж.ДК1,В"}},
    {"TO2Probe2", 23, 100, 2, 0, 400, 0, 4, 4, 1, true, nullptr, // oxygen sensor 2 voltage
     {"OxSens2Volt", "OxSens2Volt,V", "OxSens2V", "Volts", "OxSens2Volt", "Volts", "OxSens2Volt,V", "OxSens2Volt", "Volts", "OxSens2Volt,V"},
     {"Напряж.ДК2", "Напряжение ДК2,В", "Напр.ДК2", "Вольты", "Напряж.ДК2", "Вольты", "Напряж.ДК2,В", "Напряж.ДК2", "Вольты", "Напряж.ДК2,В"}},
    {"TTripTime", 1, 0, 0, 0, 100, 0, 100, 3, 0, false, " 1:15", // trip time
     {"Time/Trip", "Time/Trip", "Time/Tr", nullptr, "Time/Trip", nullptr, "Time/Trip", nullptr, nullptr, nullptr},
     {"Время/Поез.", "Время/Поез.", "Время/П", nullptr, "Время/Поез.", nullptr, "Время/Поез.", nullptr, nullptr, nullptr}},
    {"TTripMomentaryExpenseK", 5, 0, 0, 0, 100, 0, 100, 3, 0, false, "23.45", // trip average consumption per 100 km
     {"Exp/100/Trip", "Exp/100/Trip", "Exp/Tr", "l/100", "Exp/Trip", "l/100", "Exp/100/Trip", nullptr, nullptr, nullptr},
     {"Расх/100/Поез.", "Расход/Поездка", "Расх/П", "л/100", "Расх/П", "л/100", "Расх/100/Поез.", nullptr, nullptr, nullptr}},
    {"TTripVelocity", 4, 47, 0, 0, 100, 0, 100, 3, 0, false, nullptr, // trip average speed
     {"Speed/Trip", "Speed/Trip", "Spd/Tr", "km/h", "Speed/Trip", "km/h", "Speed/Trip", nullptr, nullptr, nullptr},
     {"Скор/Поез.", "Скорость/Поездка", "Скор/П", "км/час", "Скор/Поез.", "км/час", "Скор/Поез.", nullptr, nullptr, nullptr}},
    {"TTripPath", 2, 0, 0, 0, 100, 0, 100, 3, 0, false, "517.3", // trip distance
     {"Path/Trip", "Path/Trip,km", "Path/Tr", "km", "Path/Trip", "km", "Path/Trip", nullptr, nullptr, nullptr},
     {"Пробег/Поез.", "Пробег/Поездка,км", "Проб/П", "км", "Пробег/Поез.", "км", "Пробег/Поез.", nullptr, nullptr, nullptr}},
    {"TTripExpense", 3, 0, 0, 0, 100, 0, 100, 3, 0, false, "123.4", // trip fuel used
     {"Fuel/Trip", "Fuel/Trip,l", "Fuel/Tr", "litres", "Fuel/Trip", "litres", "Fuel/Trip", nullptr, nullptr, nullptr},
     {"Топл./Поез.", "Топливо/Поездка,л", "Топл/П", "литры", "Топл./Поез.", "литры", "Топл./Поез.", nullptr, nullptr, nullptr}},
    {"TTripPrice", 6, 0, 0, 0, 100, 0, 100, 3, 0, false, nullptr, // trip cost
     {"Cost/Trip", "Cost/Trip,CU", "Cost/Tr", "CU", "Cost/Trip", "CU", "Cost/Trip", nullptr, nullptr, nullptr},
     {"Стоим/Поез.", "Стоим/Поездка,уе", "Стоим/П", "У.е.", "Стоим/Поез.", "У.е.", "Стоим/Поез.", nullptr, nullptr, nullptr}},
    {"TDDK", 32, 100, 2, 0, 400, 0, 4, 4, 1, true, nullptr, // AC pressure sensor voltage
     {"ACPressSens", "AC Press.Sens,V", "ACPrSens", "Volts", "ACPressSens", "Volts", "ACPrSens,V", "ACPressSens", "Volts", "ACPressSens,V"},
     {"Напряж.ДДК", "Напряжение ДДК,В", "Напр.ДДК", "Вольты", "Напряж.ДДК", "Вольты", "Напряж.ДДК,В", "Напряж.ДДК", "Вольты", "Напряж.ДДК,В"}},
    {"TLightsFlag1", 34, 0, 0, 0, 100, 0, 100, 3, 0, false, "1", // low beam control flag
     {"LowBmCntr", "LowBmCntr", "LowBmCntr", nullptr, "LowBmCntr", nullptr, "LowBmCntr", nullptr, nullptr, nullptr},
     {"Упр.БСвет", "Упр.БСвет", "Упр.БСвет", nullptr, "Упр.БСвет", nullptr, "Упр.БСвет", nullptr, nullptr, nullptr}},
    {"TFuelPressFact", 35, 1000, 0, 0, 1600, 0, 100, 5, 0, true, nullptr, // fuel pressure
     {"FuelPress", "FuelPress,kPa", "FuelPress", "kPa", "FuelPress", "kPa", "FuelPress,kPa", "FuelPress", "kPa", "FuelPress,kPa"},
     {"Д.топлива", "Давл.топл,кПа", "Д.топлива", "кПа", "Д.топлива", "кПа", "Давл.топл,кПа", "Д.топлива", "кПа", "Давл.топл,кПа"}},
    {"TTemperOilAKPP", 36, 90, 0, 0, 160, 0, 160, 3, 2, true, nullptr, // automatic transmission temperature
     {"AT temper.", "AT temper,deg", "AT temp", "degrees", "AT temper.", "degrees", "AT temper.", "AT temp", "degrees", "AT temper.,deg"},
     {"Темпер.АКПП", "Темп.АКПП,гр", "Т.АКПП", "градусы", "Темп.АКПП", "градусы", "Темп.АКПП", "Т.АКПП", "градусы", "Темп.АКПП,гр"}},
    {"TAKPPMode", 37, 0, 0, 0, 100, 0, 100, 1, 0, false, nullptr, // automatic transmission mode
     {"AT mode", "AT mode", "ATmode", nullptr, "AT mode", nullptr, "AT mode", nullptr, nullptr, nullptr},
     {"Режим КПП", "Режим КПП", "Р.КПП", nullptr, "Режим КПП", nullptr, "Режим КПП", nullptr, nullptr, nullptr}},
    {"TTemperOilEng", 38, 90, 0, 0, 160, 0, 160, 3, 2, true, nullptr, // engine oil temperature
     {"Eng.oil temper.", "Oil temper,deg", "OilTmp", "degrees", "Oil temper", "degrees", "Oil temper.", "OilTmp", "degrees", "OilTmp,deg"},
     {"Темп.масла дв.", "Т.масла,гр", "Т.масла", "градусы", "Темп.масла", "градусы", "Темп.масла", "Т.масла", "градусы", "Т.масла,гр"}},
    {"TTurboPress", 39, 20, 0, 0, 150, 0, 100, 4, 0, true, nullptr, // turbine pressure
     {"Turbine press", "TurbPr,kPa", "TurbPrs", "kPa", "TurbPrs", "kPa", "TurbPrs", "TurbPrs", "kPa", "TurbPr,kPa"},
     {"Давл.турбины", "Д.турб,кПа", "Д.турб.", "кПа", "Д.турб.", "кПа", "Д.турб.", "Д.турб.", "кПа", "Д.турб,кПа"}},
    {"TPressOilEngine", 41, 200, 0, 0, 800, 0, 800, 4, 2, true, nullptr, // engine oil pressure
     {"Eng.oil press.", "Oil Prs,kPa", "OilPres", "kPa", "Oil press", "kPa", "Oil press", "Oil press", "kPa", "Oil Prs,kPa"},
     {"Давл.масла дв.", "P.масла,кПа", "P.масла", "кПа", "Давл.масла", "кПа", "Давл.масла", "P.масла", "кПа", "P.масла,кПа"}},
    {"TWorkTimeEngine", 42, 10000, 0, 0, 800, 0, 800, 5, 0, false, nullptr, // engine hours
     {"Eng.hours", "Eng.hours", "Eng.hours", nullptr, "Eng.hours", nullptr, "Eng.hours", "Eng.hours", nullptr, "Eng.hours"},
     {"Моточаcы", "Моточаcы", "Моточаcы", nullptr, "Моточаcы", nullptr, "Моточаcы", "Моточаcы", nullptr, "Моточаcы"}},
    {"TRetarderOilTemper", 43, 90, 0, 0, 160, 0, 160, 3, 2, true, nullptr, // retarder oil temperature
     {"Retard.temp", "Ret.tmp,deg", "RetTmp", "degrees", "RetTmp", "degrees", "RetTmp", "RetTmp", "degrees", "Ret.tmp,deg"},
     {"Т.ретардера", "Т.ретард,гр", "Т.рет", "градусы", "Т.рет", "градусы", "Т.рет", "Т.рет", "градусы", "Т.ретард,гр"}},
    {"THVBChargeLevel", 44, 50, 0, 0, 100, 0, 100, 3, 1, true, nullptr, // high-voltage battery charge
     {"HVB charg", "HVB charg,%", "HVB charg", "%", "HVB charg", "%", "HVB charg", "HVB charg", "%", "HVB charg,%"},
     {"Заряд ВВБ", "Заряд ВВБ,%", "Заряд ВВБ", "%", "Заряд ВВБ", "%", "Заряд ВВБ", "Заряд ВВБ", "%", "Заряд ВВБ,%"}},
    {"THVBChargeLimit", 45, -20, 0, -50, 100, -50, 100, 3, 0, false, nullptr, // high-voltage battery charge limit
     {"HVB ch.lim.", "HVB ch.lim.,kW", "HVB ChLim", "kW", "HVB ChLim", "kW", "HVB ch.lim.", "HVB ch.lim.", "kW", "HVB ch.lim."},
     {"Лим.зар.ВВБ", "Лим.зар.ВВБ,кВт", "Лим.З.ВВБ", "кВт", "Лим.З.ВВБ", "кВт", "Лим.З.ВВБ", "Лим.З.ВВБ", "кВт", "Лим.З.ВВБ"}},
    {"THVBDischargeLimit", 46, 30, 0, 0, 50, 0, 50, 3, 0, false, nullptr, // high-voltage battery discharge limit
     {"HVB disch.lim.", "HVB dch.lim,kW", "HVB DchLm", "kW", "HVB DchLm", "kW", "HVB DchLm", "HVB DchLm", "kW", "HVB DchLm,kW"},
     {"Лим.раз.ВВБ", "Лим.раз.ВВБ,кВт", "Лим.Р.ВВБ", "кВт", "Лим.Р.ВВБ", "кВт", "Лим.Р.ВВБ", "Лим.Р.ВВБ", "кВт", "Лим.Р.ВВБ"}},
    {"THVBTemper", 47, 40, 0, -20, 60, -20, 60, 3, 2, true, nullptr, // high-voltage battery temperature
     {"HVB temper.", "HVB temper,deg", "HVB tmp", "degrees", "HVB tmp", "degrees", "HVB tmp", "HVB tmp", "degrees", "HVB temper,deg"},
     {"Температ.ВВБ", "Темпер.ВВБ,гр", "Темп.ВВБ", "градусы", "Темп.ВВБ", "градусы", "Темп.ВВБ", "Темп.ВВБ", "градусы", "Темпер.ВВБ,гр"}},
    {"THVBFanSpeed", 48, 3, 0, 0, 6, 0, 6, 2, 0, false, nullptr, // high-voltage battery fan speed
     {"HVB fan speed", "HVB fan speed", "HVB fan", nullptr, "HVB fan", nullptr, "HVB fan", "HVB fan", nullptr, "HVB fan"},
     {"Скор.вент.ВВБ", "Скор.вент.ВВБ", "Вент.ВВБ", nullptr, "Вент.ВВБ", nullptr, "Вент.ВВБ", "Вент.ВВБ", nullptr, "Вент.ВВБ"}},
    {"THVBAirIntakeTemper", 49, 50, 0, -20, 60, -20, 60, 3, 2, true, nullptr, // high-voltage battery intake air temperature
     {"HVB int.air T", "HVB int.air T,deg", "HVB IAT", "degrees", "HVB IAT", "degrees", "HVB IAT", "HVB IAT", "degrees", "HVB int.air T,deg"},
     {"Т.вп.возд.ВВБ", "Т.в.возд.ВВБ,гр", "ТВВ ВВБ", "градусы", "ТВВ ВВБ", "градусы", "ТВВ ВВБ", "ТВВ ВВБ", "градусы", "Т.в.возд.ВВБ,гр"}},
    {"THVBFrontBrakeTorq", 50, 300, 0, 0, 600, 0, 600, 3, 2, true, nullptr, // front regenerative brake torque
     {"Front reg.brake", "Fr.reg.brake,Nm", "FrRegBr", "Nm", "FrRegBr", "Nm", "FrRegBr", "FrRegBr", "Nm", "Fr.reg.brake,Nm"},
     {"Перед.рек.торм", "П.рек.тормоз,Нм", "Пер.рек.т", "Нм", "Пер.рек.т", "Нм", "Пер.рек.т", "Пер.рек.т", "Нм", "П.рек.тормоз,Нм"}},
    {"THVBRearBrakeTorq", 51, 70, 0, 0, 120, 0, 120, 3, 2, true, nullptr, // rear regenerative brake torque
     {"Rear reg.brake", "Re.reg.brake,Nm", "ReRegBr", "Nm", "ReRegBr", "Nm", "ReRegBr", "ReRegBr", "Nm", "Re.reg.brake,Nm"},
     {"Задн.рек.торм", "З.рек.тормоз,Нм", "Зад.рек.т", "Нм", "Зад.рек.т", "Нм", "Зад.рек.т", "Зад.рек.т", "Нм", "З.рек.тормоз,Нм"}},
    {"THVBBrakeTorq", 52, 40, 0, 0, 600, 0, 600, 3, 2, true, nullptr, // regenerative brake torque
     {"Regener.brake", "Regen.brake,Nm", "RegBrake", "Nm", "RegBrake", "Nm", "RegBrake", "RegBrake", "Nm", "Regen.brake,Nm"},
     {"Рекупер.торм", "Рекуп.тормоз,Нм", "Рекуп.т", "Нм", "Рекуп.т", "Нм", "Рекуп.т", "Рекуп.т", "Нм", "Рекуп.тормоз,Нм"}},
    {"THVBCurrent", 53, 40, 1, -2000, 2000, -2000, 2000, 5, 0, true, nullptr, // high-voltage battery current
     {"HVB curr", "HVB curr,A", "HVB curr", "A", "HVB curr", "A", "HVB curr", "HVB curr", "A", "HVB curr,A"},
     {"Ток ВВБ", "Ток ВВБ,A", "Ток ВВБ", "A", "Ток ВВБ", "A", "Ток ВВБ", "Ток ВВБ", "A", "Ток ВВБ,A"}},
    {"TInvTemper", 54, 40, 0, 0, 120, 0, 120, 3, 2, true, nullptr, // inverter temperature
     {"Inverter temp.", "Inv.temp,deg", "Inv.temp", "degrees", "Inv.temp", "degrees", "Inv.temp", "Inv.temp", "degrees", "Inv.temp,deg"},
     {"Температ.инв", "Темпер.инв,гр", "Темп.инв", "градусы", "Темп.инв", "градусы", "Темп.инв", "Темп.инв", "градусы", "Темпер.инв,гр"}},
    {"TCourseAngle", 55, 0, 0, -10, 10, -10, 10, 3, 1, true, nullptr, // pitch (trim angle)
     {"Pitch", "Pitch,deg", "Pitch", "degrees", "Pitch", "degrees", "Pitch", "Pitch", "degrees", "Pitch,deg"},
     {"Тангаж", "Тангаж,гр", "Тангаж", "градусы", "Тангаж", "градусы", "Тангаж", "Тангаж", "градусы", "Тангаж,гр"}},
    {"TSideAngle", 56, 0, 0, -5, 5, -5, 5, 3, 2, true, nullptr, // roll
     {"Roll", "Roll,deg", "Roll", "degrees", "Roll", "degrees", "Roll", "Roll", "degrees", "Roll,deg"},
     {"Крен", "Крен,гр", "Крен", "градусы", "Крен", "градусы", "Крен", "Крен", "градусы", "Крен,гр"}},
    {"TTemperEngBoat", 57, 0, 0, 0, 160, 0, 160, 3, 2, true, nullptr, // engine temperature (boat)
     {"Engine temp", "Eng.temp,deg", "Eng.tmp", "degrees", "Eng.temp.", "degrees", "Eng.temp.", "Eng.temp.", "degrees", "Eng.temp,deg"},
     {"Темп.двиг.", "Т.двиг,гр", "Т.двиг.", "градусы", "Темп.двиг.", "градусы", "Темп.двиг.", "Т.двиг.", "градусы", "Т.двиг,гр"}},
    {"TTemperWat", 58, 0, 0, 0, 160, 0, 160, 3, 2, true, nullptr, // water temperature
     {"Water temp.", "Water T,deg", "WaterT", "degrees", "Water tmp", "degrees", "Water tmp", "Water tmp", "degrees", "Water T,deg"},
     {"Темп.воды", "Т.воды,гр", "Темп.воды", "градусы", "Т.воды", "градусы", "Т.воды", "Темп.воды", "градусы", "Т.воды,гр"}},
    {"TTemperCyl", 59, 0, 0, 0, 160, 0, 80, 3, 2, true, nullptr, // cylinder temperature
     {"Cyl.temp.", "Cyl.T,deg", "Cyl.T", "degrees", "Cyl.temp.", "degrees", "Cyl.temp.", "Cyl.temp.", "degrees", "Cyl.T,deg"},
     {"Темп.цил.", "Т.цил,гр", "Т.цил.", "градусы", "Темп.цил.", "градусы", "Темп.цил.", "Т.цил.", "градусы", "Т.цил,гр"}},
    {"TTemperCylLeft", 60, 0, 0, 0, 160, 0, 80, 3, 2, true, nullptr, // left cylinder temperature
     {"Left Cyl.T", "LCylT,deg", "LCyl.T", "degrees", "LftCylT", "degrees", "LftCylT", "LftCylT", "degrees", "LCylT,deg"},
     {"Темп.лв.цил.", "Т.ЛвЦ,гр", "Т.ЛвЦ.", "градусы", "Т.ЛвЦил", "градусы", "Т.ЛвЦил", "Т.ЛвЦ.", "градусы", "Т.ЛвЦ,гр"}},
    {"TTemperCylRight", 61, 0, 0, 0, 160, 0, 80, 3, 2, true, nullptr, // right cylinder temperature
     {"Right Cyl.T", "RCylT,deg", "RCyl.T", "degrees", "RgtCylT", "degrees", "RgtCylT", "RgtCylT", nullptr, "RCylT,deg"},
     {"Темп.пр.цил.", "Т.ПрЦ,гр", "Т.ПрЦ.", "градусы", "Т.ПрЦил", "градусы", "Т.ПрЦил", "Т.ПрЦ.", "градусы", "Т.ПрЦ,гр"}},
    {"TTrim", 62, 0, 0, 0, 160, 0, 160, 3, 2, true, nullptr, // trim
     {"Trim", "Trim", "Trim", nullptr, "Trim", nullptr, "Trim", "Trim", nullptr, "Trim"},
     {"Трим", "Трим", "Трим", nullptr, "Трим", nullptr, "Трим", "Трим", nullptr, "Трим"}},
    {"TElEngTemper", 63, 40, 0, 0, 120, 0, 120, 3, 2, true, nullptr, // electric motor temperature
     {"ElMot temper.", "EM temp,deg", "EM temp", "degrees", "EM temp", "degrees", "EM temp", "EM temp", "degrees", "EM temp,deg"},
     {"Температ.ЭД", "Темпер.ЭД,гр", "Темп.ЭД", "градусы", "Темп.ЭД", "градусы", "Темп.ЭД", "Темп.ЭД", "градусы", "Темпер.ЭД,гр"}},
    {"THVBVoltage", 64, 140, 0, 0, 320, 0, 320, 3, 2, true, nullptr, // high-voltage battery voltage
     {"HVBVolt", "HVBVolt,V", "HVBVolt", "Volts", "HVBVolt", "Volts", "HVBVolt", "HVBVolt", "Volts", "HVBVolt,V"},
     {"Напр.ВВБ", "Напр.ВВБ,В", "Напр.ВВБ", "Вольты", "Напр.ВВБ", "Вольты", "Напр.ВВБ", "Напр.ВВБ", "Вольты", "Напр.ВВБ,В"}},
    {"TMomentaryExpenseL", 65, 100, 1, 0, 100, 0, 100, 5, 0, false, nullptr, // fuel economy, km per litre
     {"FuelCon,km/l", "FuelCon,km/l", "FuelCn", "km/l", "FuelCn", "km/l", "FuelCon,km/l", "FuelCn", "km/l", "FuelCon,km/l"},
     {"Расход,км/л", "Расход,км/л", "Расход", "км/л", "Расход", "км/л", "Расход,км/л", "Расход", "км/л", "Расход,км/л"}},
};
// clang-format on

QString text(const MeasParRow &r, int field)
{
    const char *en = r.en[static_cast<size_t>(field)];
    const char *ru = r.ru[static_cast<size_t>(field)];
    return LangText(en ? en : "", ru ? ru : "");
}

const MeasParRow *findRow(const QString &className)
{
    for (const MeasParRow &r : kRows)
        if (className == QLatin1String(r.className))
            return &r;
    return nullptr;
}

QString fixedText(int32_t value, int32_t decimals)
{
    if (decimals == 0)
        return QString::number(value);
    double divisor = 1.0;
    for (int i = 0; i < decimals; ++i)
        divisor *= 10;
    return QString::number(value / divisor, 'f', decimals);
}

TMeasParBase *findByClass(const MeasParList &list, const char *className)
{
    for (const auto &p : list)
        if (p->ClassName() == QLatin1String(className))
            return p.get();
    return nullptr;
}

void setTexts(TMeasParBase &p, std::initializer_list<QString TMeasParBase::*> fields, const QString &value)
{
    for (QString TMeasParBase::*f : fields)
        p.*f = value;
}

} // namespace

QString FormatSampleText(int32_t sample, int32_t decimals, int32_t width)
{
    return fixedText(sample, decimals).rightJustified(width, QLatin1Char(' '));
}

TMeasParBase::TMeasParBase() = default;

TMeasParBase::TMeasParBase(const MeasParRow &row) : m_row(&row)
{
    ParameterNumber = row.number;
    GaugeSlot = row.gaugeSlot;
    Graphable = row.graphable;
    Sample = row.sample;
    Min = row.min;
    Max = row.max;
    ScaleMin = row.scaleMin;
    ScaleMax = row.scaleMax;
    Width = row.width;
    Decimals = row.decimals;
    Name = text(row, kName);
    LongName = text(row, kLongName);
    CellName4 = text(row, kCellName4);
    CellUnit4 = text(row, kCellUnit4);
    CellName9 = text(row, kCellName9);
    CellUnit9 = text(row, kCellUnit9);
    PanelName = text(row, kPanelName);
    GaugeName = text(row, kGaugeName);
    GaugeUnit = text(row, kGaugeUnit);
    GraphName = text(row, kGraphName);
    SampleText = row.fixedSample ? QString::fromUtf8(row.fixedSample) : FormatSampleText(Sample, Decimals, Width);
}

QString TMeasParBase::ClassName() const { return m_row ? QString::fromLatin1(m_row->className) : QString(); }

void TMeasParBase::PrepareData()
{
    MinText = fixedText(Min, Decimals);
    MaxText = fixedText(Max, Decimals);
}

TMomentaryExpenseK::TMomentaryExpenseK(const MeasParRow &row) : TMeasParBase(row)
{
    Max = ExtendedRange ? 800 : 240;
    ScaleMax = ExtendedRange ? 80 : 24;
}

void TMomentaryExpenseK::PrepareData()
{
    ExtendedRange = true;
    Max = 800;
    ScaleMin = 0;
    ScaleMax = 80;
    TMeasParBase::PrepareData();
}

std::unique_ptr<TMeasParBase> CreateMeasuredParameter(const QString &className)
{
    const MeasParRow *row = findRow(className);
    if (!row)
        return nullptr;
    if (className == QLatin1String("TMomentaryExpenseK"))
        return std::make_unique<TMomentaryExpenseK>(*row);
    return std::make_unique<TMeasParBase>(*row);
}

MeasParList CreateMeasuredParameters() { return CreateMeasuredParameters(Catalog().capabilities()); }

MeasParList CreateMeasuredParameters(const CapabilitySet &caps)
{
    const bool lightsOnAir = caps.has(Cap::LightsOnAirTempInput);
    const bool lowBeam = caps.has(Cap::LowBeamControl);
    MeasParList list;
    list.reserve(std::size(kRows));
    for (const MeasParRow &row : kRows) {
        const QLatin1String cls(row.className);
        // The low beam flag sits on the air temperature input when that input
        // carries the lights signal, else it has number 34 of its own.
        if (cls == QLatin1String("TLightsFlag") && !(lightsOnAir && lowBeam))
            continue;
        if (cls == QLatin1String("TTemperAir") && lightsOnAir && lowBeam)
            continue;
        if (cls == QLatin1String("TLightsFlag1") && !(lowBeam && !lightsOnAir))
            continue;
        if (cls == QLatin1String("TMomentaryExpenseK"))
            list.push_back(std::make_unique<TMomentaryExpenseK>(row));
        else
            list.push_back(std::make_unique<TMeasParBase>(row));
    }
    return list;
}

std::vector<QString> MeasuredParameterClassNames()
{
    std::vector<QString> names;
    for (const MeasParRow &row : kRows)
        names.push_back(QString::fromLatin1(row.className));
    return names;
}

void RelabelMeasuredParameters(const MeasParList &parameters, int temperatureLabel)
{
    RelabelMeasuredParameters(parameters, temperatureLabel, Catalog().capabilities());
}

void RelabelMeasuredParameters(const MeasParList &parameters, int temperatureLabel, const CapabilitySet &caps)
{
    using P = TMeasParBase;
    const bool marine = caps.has(Cap::NoAirTempAlgorithm);

    if (TMeasParBase *p = findByClass(parameters, "TPrognoz")) {
        if (marine) {
            p->Name = LangText("Power res.", "Запас хода");
            p->LongName = LangText("Power res,km", "Запас хода,км");
            setTexts(*p, {&P::CellName4, &P::CellName9}, LangText("PowerRes", "Запас Хд"));
            p->PanelName = LangText("PowerRes,km", "Запас Хд,km");
        } else {
            p->Name = LangText("Mileage progn", "Прогноз проб");
            p->LongName = LangText("Mileage progn,km", "Прогноз пробега,км");
            p->CellName4 = LangText("MilePrgn", "Прогн.Пр");
            p->CellName9 = LangText("Mile.Progn.", "Прогн.проб.");
            p->PanelName = LangText("MilePrgn,km", "Прогн.Пр,км");
        }
    }

    if (TMeasParBase *p = findByClass(parameters, "TTemperAir")) {
        const auto others = {&P::LongName, &P::CellName4, &P::CellName9, &P::PanelName, &P::GaugeName};
        if (!caps.has(Cap::UniversalInput) && !caps.has(Cap::Trim)) {
            p->Name = LangText("T air", "Tвоздуха");
            setTexts(*p, others, LangText("T air", "Tвозд"));
        } else {
            p->Name = LangText("Tair/wat/eng", "Твоз/вод/дв");
            QString label;
            if (temperatureLabel == 1)
                label = LangText("Twater", "Tводы");
            else if (temperatureLabel == 2)
                label = LangText("T eng.", "T дв.");
            else
                label = LangText("T air", "Tвозд");
            setTexts(*p, others, label);
        }
    }

    if (TMeasParBase *p = findByClass(parameters, "TCourseAngle")) {
        if (marine) {
            setTexts(*p, {&P::Name, &P::CellName4, &P::CellName9, &P::PanelName, &P::GaugeName},
                     LangText("Pitch", "Тангаж"));
            setTexts(*p, {&P::LongName, &P::GraphName}, LangText("Pitch,deg", "Тангаж,гр"));
        } else if (EnglishVersion()) {
            setTexts(*p, {&P::Name, &P::CellName4, &P::CellName9, &P::GaugeName}, QStringLiteral("Pitch"));
            setTexts(*p, {&P::LongName, &P::PanelName, &P::GraphName}, QStringLiteral("Pitch,deg"));
        } else {
            setTexts(*p, {&P::Name, &P::CellName9, &P::GaugeName}, QStringLiteral("Дифферент"));
            p->LongName = QStringLiteral("Дифферент,гр.");
            p->CellName4 = QStringLiteral("Дифф.");
            p->PanelName = QStringLiteral("Дифф.,гр");
            p->GraphName = QStringLiteral("Дифферент,гр");
        }
    }
}
