#include "field_schema.h"

#include "blocks.h"
#include "errors.h"
#include "language.h"
#include "tmk.h"

#include <algorithm>
#include <cmath>
#include <limits>

namespace ed {

QString Text::get() const { return LangText(en, ru); }

namespace {

constexpr const char *kCorr = "tsCorr";
constexpr const char *kMeth = "tsMeth";
constexpr const char *kLim = "tsLim";
constexpr const char *kDivers = "tsDivers";
constexpr const char *kUniMeas = "tsUniMeas";
constexpr ControlKind Spin = ControlKind::SpinEdit;
constexpr ControlKind Radio = ControlKind::RadioGroup;
constexpr ControlKind Combo = ControlKind::ComboBox;
constexpr ControlKind Check = ControlKind::CheckBox;
constexpr const char *kVoice = "tsVoice";
constexpr const char *kAver = "tsAver";
constexpr const char *kPark = "tsPark";
constexpr const char *kOil = "tsOil";
constexpr const char *kTO = "tsTO";
// The modes of every alert group.
const std::vector<Text> kModes = {{"O", "О"}, {"N", "Н"}, {"B", "Б"}, {"M", "М"}, {"V", "Г"}};

// One row per control, in the order of the pages and of the controls on them.
// Option bits live in the 32-bit option set of the named block at offset 0.
const std::vector<FieldRow> kSchema = {
    {.name = "seVelocityCorr", .page = kCorr, .kind = Spin, .block = mem::LimitsBlock, .offset = 60, .type = FieldType::Float32Factor, .min = -99.0, .max = 999.9, .step = 0.1, .decimals = 1, .caption = {"Speed, %", "Скорость, %"}, .items = {}, .rule = Rule::SpeedCorrection},
    {.name = "seExpenseCorr", .page = kCorr, .kind = Spin, .block = mem::LimitsBlock, .offset = 56, .type = FieldType::Float32Factor, .min = -99.0, .max = 999.9, .step = 0.1, .decimals = 1, .caption = {"Petrol expense, %", "Расхода бензина, %"}, .items = {}},
    {.name = "seGazExpenseCorr", .page = kCorr, .kind = Spin, .block = mem::LimitsBlock, .offset = 64, .type = FieldType::Float32Factor, .min = -99.0, .max = 999.9, .step = 0.1, .decimals = 1, .caption = {"Gas expense, %", "Расход газа, %"}, .items = {}, .rule = Rule::GasFuel},
    {.name = "seAirTemperCorr", .page = kCorr, .kind = Spin, .block = mem::LimitsBlock, .offset = 53, .type = FieldType::Int8, .min = -20, .max = 20, .caption = {"Air temper., C", "Температура воздуха, С"}, .items = {}, .rule = Rule::AirTempCorrection},
    {.name = "seAccCorr", .page = kCorr, .kind = Spin, .block = mem::LimitsBlock, .offset = 52, .type = FieldType::Int8, .scale = 10, .min = -0.7, .max = 0.7, .step = 0.1, .decimals = 1, .caption = {"Battery voltage, V", "Напряжение АКБ, В"}, .items = {}},
    {.name = "seTimeCorr", .page = kCorr, .kind = Spin, .block = mem::LimitsBlock, .offset = 54, .type = FieldType::Int8, .min = -30, .max = 30, .caption = {"Time (sec. per day)", "Время (секунд в сутки)"}, .items = {}},
    {.name = "seAllPathStart", .page = kCorr, .kind = Spin, .block = mem::TotalsBlock, .offset = 144, .type = FieldType::Int32, .min = 0, .max = 999999, .caption = {"initial mileage, km", "Начальный пробег, км"}, .items = {}},
    {.name = "seAllTimeStart", .page = kCorr, .kind = Spin, .block = mem::TotalsBlock, .offset = 148, .type = FieldType::Int32, .min = 0, .max = 99999, .caption = {"Initial time, h", "Начальное вр. раб, час"}, .items = {}},
    {.name = "rgForsPosFlag", .page = kCorr, .kind = Radio, .block = mem::LimitsBlock, .offset = 0, .type = FieldType::Bit, .bit = 10, .caption = {"Polarity", "Полярность форсунки"}, .items = {{"+", "+"}, {"-", "-"}}, .rule = Rule::InjectorPolarity},
    {.name = "rgForsCoef", .page = kCorr, .kind = Radio, .block = mem::LimitsBlock, .offset = 73, .type = FieldType::UInt8, .caption = {"Tachometer", "Тахометр"}, .items = {{"1", "1"}, {"2", "2"}, {"4", "4"}}, .rule = Rule::Tachometer, .map = ValueMap::Tachometer},
    {.name = "seForsCoefCarb", .page = kCorr, .kind = Spin, .block = mem::LimitsBlock, .offset = 74, .type = FieldType::Int8, .scale = 2, .min = 0.5, .max = 12.0, .step = 0.5, .decimals = 1, .noTyping = true, .caption = {"Pulses by rev.", "Имп. на оборот"}, .items = {}, .rule = Rule::CarbPulses},
    {.name = "cbProtocolSelectMeth", .page = kMeth, .kind = Combo, .block = mem::VehicleBlock, .offset = 8, .type = FieldType::Int8, .caption = {"Protocol definition", "Способ опр. протокола"}, .items = {}, .itemSource = ItemSource::ProtocolSelectMeth},
    {.name = "cbProtocol", .page = kMeth, .kind = Combo, .block = mem::VehicleBlock, .offset = 4, .type = FieldType::UInt16, .caption = {"Protocol", "Протокол"}, .items = {}, .rule = Rule::ProtocolChoice, .itemSource = ItemSource::ProtocolNames},
    {.name = "cbProtTypeMain", .page = kMeth, .kind = Combo, .block = mem::VehicleBlock, .offset = 12, .type = FieldType::UInt8, .caption = {"", ""}, .items = {}, .rule = Rule::ProtocolOption, .itemSource = ItemSource::ProtocolOption, .arg = 0},
    {.name = "cbProtTypeAdd1", .page = kMeth, .kind = Combo, .block = mem::VehicleBlock, .offset = 13, .type = FieldType::UInt8, .caption = {"", ""}, .items = {}, .rule = Rule::ProtocolOption, .itemSource = ItemSource::ProtocolOption, .arg = 1},
    {.name = "cbProtTypeAdd2", .page = kMeth, .kind = Combo, .block = mem::VehicleBlock, .offset = 14, .type = FieldType::UInt8, .caption = {"", ""}, .items = {}, .rule = Rule::ProtocolOption, .itemSource = ItemSource::ProtocolOption, .arg = 2},
    {.name = "cbProtTypeAdd3", .page = kMeth, .kind = Combo, .block = mem::VehicleBlock, .offset = 15, .type = FieldType::UInt8, .caption = {"", ""}, .items = {}, .rule = Rule::ProtocolOption, .itemSource = ItemSource::ProtocolOption, .arg = 3},
    {.name = "cbProtTypeAdd4", .page = kMeth, .kind = Combo, .block = mem::VehicleBlock, .offset = 16, .type = FieldType::UInt8, .caption = {"", ""}, .items = {}, .rule = Rule::ProtocolOption, .itemSource = ItemSource::ProtocolOption, .arg = 4},
    {.name = "cbProtTypeAdd5", .page = kMeth, .kind = Combo, .block = mem::VehicleBlock, .offset = 17, .type = FieldType::UInt8, .caption = {"", ""}, .items = {}, .rule = Rule::ProtocolOption, .itemSource = ItemSource::ProtocolOption, .arg = 5},
    {.name = "cbProtTypeAdd6", .page = kMeth, .kind = Combo, .block = mem::VehicleBlock, .offset = 18, .type = FieldType::UInt8, .caption = {"", ""}, .items = {}, .rule = Rule::ProtocolOption, .itemSource = ItemSource::ProtocolOption, .arg = 6},
    {.name = "cbProtTypeAdd7", .page = kMeth, .kind = Combo, .block = mem::VehicleBlock, .offset = 19, .type = FieldType::UInt8, .caption = {"", ""}, .items = {}, .rule = Rule::ProtocolOption, .itemSource = ItemSource::ProtocolOption, .arg = 7},
    {.name = "rgLockType", .page = kMeth, .kind = Radio, .block = mem::LimitsBlock, .offset = 0, .type = FieldType::Bit, .bit = 0, .caption = {"Ignition lock", "Замок зажигания"}, .items = {{"Phys.", "Физич."}, {"Virt.", "Вирт."}}, .rule = Rule::LockType},
    {.name = "rgLockTypeLevel", .page = kMeth, .kind = Radio, .block = mem::LimitsBlock, .offset = 72, .type = FieldType::Int8, .caption = {"Ignition lock level", "Уровень виртуального замка"}, .items = {}, .rule = Rule::LockLevel, .itemSource = ItemSource::LockLevel, .map = ValueMap::IndexPlusOne},
    {.name = "rgGabarType", .page = kMeth, .kind = Radio, .block = mem::LimitsBlock, .offset = 0, .type = FieldType::Bit, .bit = 2, .caption = {"Parking lights", "Габариты"}, .items = {{"Phys", "Физич."}, {"ECU", "ЭБУ"}}, .rule = Rule::ParkingLightsSource},
    {.name = "rgGabarInvPol", .page = kMeth, .kind = Radio, .block = mem::LimitsBlock, .offset = 0, .type = FieldType::Bit, .bit = 7, .caption = {"Park.lights level", "Полярность входа Габариты"}, .items = {{"Straight(1)", "1 (Прямая)"}, {"Inverse(0)", "0 (Инверсная)"}}, .rule = Rule::ParkingLightsLevel},
    {.name = "cbTankMode", .page = kMeth, .kind = Combo, .block = mem::FuelBlock, .offset = 37, .type = FieldType::Int8, .caption = {"Tank", "Бак"}, .items = {{"Calibr.2", "Калибров.2"}, {"Calibr.7", "Калибров.7"}, {"Tare", "Тарирован."}, {"Not calibr.", "Некалибр."}}},
    {.name = "cbTankMeth", .page = kMeth, .kind = Combo, .block = mem::FuelBlock, .offset = 38, .type = FieldType::Int8, .caption = {"Tank type", "Бак тип"}, .items = {}, .itemSource = ItemSource::TankMeth},
    {.name = "cbUseTank2", .page = kMeth, .kind = Check, .block = mem::LimitsBlock, .offset = 0, .type = FieldType::Bit, .bit = 3, .caption = {"Use tank 2", "Использовать бак 2"}, .items = {}},
    {.name = "cbCorrTankByAcc", .page = kMeth, .kind = Check, .block = mem::LimitsBlock, .offset = 0, .type = FieldType::Bit, .bit = 17, .caption = {"Compens. V batt.", "Компенсац. Uбс"}, .items = {}, .map = ValueMap::InvertedBit},
    {.name = "seTankContFull", .page = kMeth, .kind = Spin, .block = mem::FuelBlock, .offset = 44, .type = FieldType::Int16, .min = 16, .max = 2040, .caption = {"Full tank (petrol), l", "Полный бак (бензин), л"}, .items = {}},
    {.name = "seGazContFull", .page = kMeth, .kind = Spin, .block = mem::FuelBlock, .offset = 56, .type = FieldType::Int16, .min = 10, .max = 300, .caption = {"Full tank (gas), l", "Полный бак (газ), л"}, .items = {}, .rule = Rule::GasFuel},
    {.name = "rgVelocityMeth", .page = kMeth, .kind = Radio, .block = mem::LimitsBlock, .offset = 40, .type = FieldType::Int8, .caption = {"Speed", "Скорость"}, .items = {}, .itemSource = ItemSource::VelocityMeth},
    {.name = "rgRevolutionsMeth", .page = kMeth, .kind = Radio, .block = mem::LimitsBlock, .offset = 41, .type = FieldType::Int8, .caption = {"Engine speed", "Обороты"}, .items = {{"ECU", "ЭБУ"}, {"Inj", "Форс."}}, .rule = Rule::EngineSources},
    {.name = "rgExpenseMeth", .page = kMeth, .kind = Radio, .block = mem::LimitsBlock, .offset = 42, .type = FieldType::Int8, .caption = {"Petrol expense", "Расход бензина"}, .items = {{"ECU", "ЭБУ"}, {"Inj", "Форс."}}, .rule = Rule::EngineSources},
    {.name = "rgGasMeth", .page = kMeth, .kind = Radio, .block = mem::LimitsBlock, .offset = 43, .type = FieldType::Int8, .caption = {"Gas expense", "Расход газа"}, .items = {{"ECU", "ЭБУ"}, {"Inj", "Форс."}}, .rule = Rule::GasSource},
    {.name = "rgGasCalcExp", .page = kMeth, .kind = Radio, .block = mem::LimitsBlock, .offset = 0, .type = FieldType::Bit, .bit = 18, .caption = {"Gas eq.cons.", "Расход ГБО"}, .items = {{"Var 1", "Вар.1"}, {"Var 2", "Вар.2"}}, .rule = Rule::GasFuel},
    {.name = "rgPrognozMeth", .page = kMeth, .kind = Radio, .block = mem::LimitsBlock, .offset = 45, .type = FieldType::Int8, .caption = {"Mileage progn.", "Прогноз пробега"}, .items = {{"Aver.", "Средн"}, {"10 km", "10 км"}, {"Man.", "Ручн."}}},
    {.name = "seK100Manual", .page = kMeth, .kind = Spin, .block = mem::FuelBlock, .offset = 42, .type = FieldType::Int16, .scale = 10, .min = 1.0, .max = 99.9, .step = 0.1, .decimals = 1, .caption = {"Expense/100 manual coef.", "К-т потреб. топлива (Р/100 руч.)"}, .items = {}},
    {.name = "cbGasOil", .page = kMeth, .kind = Check, .block = mem::LimitsBlock, .offset = 0, .type = FieldType::Bit, .bit = 5, .caption = {"Gas/Petrol mode on", "Включить режим Газ/Бензин"}, .items = {}, .rule = Rule::GasFuel},
    {.name = "cbLightsOn", .page = kMeth, .kind = Check, .block = mem::LimitsBlock, .offset = 0, .type = FieldType::Bit, .bit = 4, .caption = {"Low beam control on", "Включить управление ближним светом"}, .items = {}, .rule = Rule::LowBeam},
    {.name = "rgAirTemperMeth", .page = kMeth, .kind = Radio, .block = mem::LimitsBlock, .offset = 0, .type = FieldType::Bit, .bit = 9, .caption = {"Air temper.measurement algor.", "Алгоритм измерения Т воздуха"}, .items = {{"Norm", "Обычн."}, {"Dyn.", "Динамич."}}, .rule = Rule::AirTempAlgorithm},
    {.name = "rgUaccMeth", .page = kMeth, .kind = Radio, .block = mem::LimitsBlock, .offset = 44, .type = FieldType::UInt8, .caption = {"Battery voltage", "Напряжение аккумулятора"}, .items = {{"ECU", "ЭБУ"}, {"Sens.", "Датч."}}, .rule = Rule::BatterySource},
    {.name = "sgTrimMeth", .page = kMeth, .kind = Radio, .block = mem::LimitsBlock, .offset = 46, .type = FieldType::Int8, .caption = {"Trim", "Трим"}, .items = {{"ECU", "ЭБУ"}, {"Sens", "Датч."}}, .rule = Rule::TrimSource},
    {.name = "rgAirWaterShow", .page = kMeth, .kind = Radio, .block = mem::ServiceBlock, .offset = 7, .type = FieldType::Int8, .caption = {"Temperature signature", "Подпись температуры"}, .items = {{"air", "воз"}, {"wat", "вод"}, {"eng", "дв."}}, .rule = Rule::TemperatureSignature},
    {.name = "rgAirTemperGetMeth", .page = kMeth, .kind = Radio, .block = mem::LimitsBlock, .offset = 48, .type = FieldType::UInt8, .caption = {"Air temper.", "Твоздуха"}, .items = {{"ECU", "ЭБУ"}, {"Sens.", "Датч."}}, .rule = Rule::AirTempSource},
    {.name = "seLiqTemperLimit", .page = kLim, .kind = Spin, .block = mem::LimitsBlock, .offset = 8, .type = FieldType::Int16, .min = 30, .max = 150, .caption = {"Coolant temper., C", "ТОЖ, С"}, .items = {}, .rule = Rule::CoolantLimit},
    {.name = "seRevolutionsLimit", .page = kLim, .kind = Spin, .block = mem::LimitsBlock, .offset = 5, .type = FieldType::Int8, .min = 25, .max = 80, .caption = {"Engine speed, rpm*100", "Обороты двиг., об/мин * 100"}, .items = {}},
    {.name = "seVelocityLimit", .page = kLim, .kind = Spin, .block = mem::LimitsBlock, .offset = 4, .type = FieldType::Int8, .scale = 0.5, .min = 40, .max = 200, .step = 2, .noTyping = true, .caption = {"Speed, km/h", "Скорость, км/час"}, .items = {}},
    {.name = "seStopVelocityLimit", .page = kLim, .kind = Spin, .block = mem::LimitsBlock, .offset = 22, .type = FieldType::Int16, .min = 0, .max = 200, .step = 2, .caption = {"Jam speed, km/h", "Скорость  пробки, км/час"}, .items = {}, .rule = Rule::JamSpeed},
    {.name = "seTankLimit", .page = kLim, .kind = Spin, .block = mem::LimitsBlock, .offset = 6, .type = FieldType::Int8, .min = 5, .max = 99, .step = 2, .caption = {"Fuel rem., l", "Остаток бака, л"}, .items = {}},
    {.name = "seUaccLowLimit", .page = kLim, .kind = Spin, .block = mem::LimitsBlock, .offset = 12, .type = FieldType::Int16, .scale = 10, .min = 9.0, .max = 13.9, .step = 0.2, .decimals = 1, .caption = {"Low batt.voltage, V", "Низкое напряжение АКБ, В"}, .items = {}, .range = RangeRule::BatteryLow},
    {.name = "seUaccHighLimit", .page = kLim, .kind = Spin, .block = mem::LimitsBlock, .offset = 14, .type = FieldType::Int16, .scale = 10, .min = 14.0, .max = 16.0, .step = 0.2, .decimals = 1, .caption = {"High batt.voltage, V", "Высокое напряжение АКБ, В"}, .items = {}, .range = RangeRule::BatteryHigh},
    {.name = "seVentTempLimit", .page = kLim, .kind = Spin, .block = mem::LimitsBlock, .offset = 20, .type = FieldType::Int16, .min = 75, .max = 115, .caption = {"Fan on temper., C", "Т вкл. вентилятора, С"}, .items = {}, .rule = Rule::FanTemp, .range = RangeRule::FanTemp},
    {.name = "seVentVelLimit", .page = kLim, .kind = Spin, .block = mem::LimitsBlock, .offset = 80, .type = FieldType::Int16, .min = 20, .max = 200, .caption = {"Fan on speed", "Скорость вкл вентилятора"}, .items = {}, .rule = Rule::FanSpeed},
    {.name = "seInjTimeLimit", .page = kLim, .kind = Spin, .block = mem::LimitsBlock, .offset = 31, .type = FieldType::Int8, .min = 1, .max = 99, .caption = {"High inj.time on idle, %", "Превыш. времени впр. на ХХ ,%"}, .items = {}},
    {.name = "seLiqTemperReady", .page = kLim, .kind = Spin, .block = mem::LimitsBlock, .offset = 30, .type = FieldType::Int8, .min = 10, .max = 110, .caption = {"Engine heat.temper, C", "Т прогрева двигателя, С"}, .items = {}, .rule = Rule::WarmUp},
    {.name = "seVel100", .page = kLim, .kind = Spin, .block = mem::LimitsBlock, .offset = 24, .type = FieldType::Int16, .min = 40, .max = 200, .caption = {"Zero to km/h", "Разгон до, км/час"}, .items = {}, .rule = Rule::AccelTiming},
    {.name = "seVel100Down", .page = kLim, .kind = Spin, .block = mem::LimitsBlock, .offset = 26, .type = FieldType::Int16, .min = 40, .max = 200, .step = 2, .caption = {"Braking from km/h", "Торможение с, км/час"}, .items = {}, .rule = Rule::AccelTiming},
    {.name = "seVelMinForExp", .page = kLim, .kind = Spin, .block = mem::LimitsBlock, .offset = 7, .type = FieldType::Int8, .min = 5, .max = 15, .step = 2, .caption = {"Expense 100/h", "Расх 100/час"}, .items = {}},
    {.name = "seVAGSFilterLimit", .page = kLim, .kind = Spin, .block = mem::LimitsBlock, .offset = 32, .type = FieldType::Int8, .min = 5, .max = 60, .caption = {"Diesel filter filling, %", "Наполнение сажевого фильтра, %"}, .items = {}, .rule = Rule::SootFilter},
    {.name = "seOilAKPPTemperLimit", .page = kLim, .kind = Spin, .block = mem::LimitsBlock, .offset = 16, .type = FieldType::Int16, .min = 80, .max = 150, .caption = {"AT oil temper., C", "Т масла АКПП, С"}, .items = {}, .rule = Rule::AtOilTemp},
    {.name = "seOilEngTemperLimit", .page = kLim, .kind = Spin, .block = mem::LimitsBlock, .offset = 18, .type = FieldType::Int16, .min = 30, .max = 150, .caption = {"Engine  oil temper., C", "Т масла ДВС, С"}, .items = {}, .rule = Rule::EngineOilTemp},
    {.name = "seCVTFDeteriorLim", .page = kLim, .kind = Spin, .block = mem::LimitsBlock, .offset = 10, .type = FieldType::Int16, .min = 10, .max = 100, .caption = {"AT oil deterior. *1000", "Износ масла АКПП * 1000"}, .items = {}, .rule = Rule::AtOilWear},
    {.name = "seRetarderOilTemperLimit", .page = kLim, .kind = Spin, .block = mem::LimitsBlock, .offset = 28, .type = FieldType::Int16, .min = 30, .max = 200, .caption = {"Retarder oil temper., C", "Т масла ретардера, С"}, .items = {}, .rule = Rule::RetarderOil},
    {.name = "seInvTemperLimit", .page = kLim, .kind = Spin, .block = mem::LimitsBlock, .offset = 33, .type = FieldType::Int8, .min = 50, .max = 120, .caption = {"Inverter temper., C", "Т инвертора, C"}, .items = {}, .rule = Rule::Hybrid},
    {.name = "seHVBTemperLimit", .page = kLim, .kind = Spin, .block = mem::LimitsBlock, .offset = 34, .type = FieldType::Int8, .min = 40, .max = 80, .caption = {"HVB temper., C", "Т ВВБ, C"}, .items = {}, .rule = Rule::Hybrid},
    {.name = "seAddCoolingTemper", .page = kLim, .kind = Spin, .block = mem::LimitsBlock, .offset = 35, .type = FieldType::Int8, .min = 90, .max = 100, .caption = {"Eng.add.cool.temper., C", "Т Доп.Охл.ДВС, C"}, .items = {}, .rule = Rule::HybridExtraCooling},
    {.name = "seElEngTemperLimit", .page = kLim, .kind = Spin, .block = mem::LimitsBlock, .offset = 38, .type = FieldType::Int16, .min = 30, .max = 200, .caption = {"T el.motor, C", "Т эл.двигателя, С"}, .items = {}, .rule = Rule::Hybrid},
    {.name = "seHVBChargeLevelLowLimit", .page = kLim, .kind = Spin, .block = mem::LimitsBlock, .offset = 50, .type = FieldType::Int8, .min = 20, .max = 40, .caption = {"Low HVB charge lvl,%", "Низкий заряд ВВБ,%"}, .items = {}, .rule = Rule::Hybrid},
    {.name = "seHVBChargeLevelHighLimit", .page = kLim, .kind = Spin, .block = mem::LimitsBlock, .offset = 51, .type = FieldType::Int8, .min = 75, .max = 90, .caption = {"High HVB charge lvl,%", "Высокий заряд ВВБ,%"}, .items = {}, .rule = Rule::Hybrid},
    {.name = "seHybrVentSpeedStep", .page = kLim, .kind = Spin, .block = mem::LimitsBlock, .offset = 75, .type = FieldType::Int8, .min = 1, .max = 3, .caption = {"T step on fan speed calc", "Шаг Т при расчете скорости вент.ВВБ "}, .items = {}, .rule = Rule::Hybrid},
    {.name = "cbHybridCoolHVB", .page = kLim, .kind = Check, .block = mem::LimitsBlock, .offset = 0, .type = FieldType::Bit, .bit = 15, .caption = {"HVB heating", "Нагр.ВВБ"}, .items = {}, .rule = Rule::Hybrid},
    {.name = "cbHybrUse6VentSpeed", .page = kLim, .kind = Check, .block = mem::LimitsBlock, .offset = 0, .type = FieldType::Bit, .bit = 14, .caption = {"Use 6 speed HVB fan", "Исп. 6 скорость вент. ВВБ"}, .items = {}, .rule = Rule::Hybrid},
    {.name = "rg24VMode", .page = kLim, .kind = Radio, .block = mem::LimitsBlock, .offset = 0, .type = FieldType::Bit, .bit = 8, .caption = {"Use battery", "Режим работы с АКБ"}, .items = {{"12V", "12В"}, {"24V", "24В"}}, .rule = Rule::Battery24V},
    {.name = "seTrimLowLimit", .page = kLim, .kind = Spin, .block = mem::LimitsBlock, .offset = 36, .type = FieldType::Int8, .min = -9, .max = 90, .caption = {"Low limit", "Нижний предел"}, .items = {}, .rule = Rule::TrimLimits, .range = RangeRule::TrimLow},
    {.name = "seTrimHighLimit", .page = kLim, .kind = Spin, .block = mem::LimitsBlock, .offset = 37, .type = FieldType::Int8, .min = -9, .max = 90, .caption = {"High limit", "Верхний предел"}, .items = {}, .rule = Rule::TrimLimits, .range = RangeRule::TrimHigh},

    // ---- Display options (tsDivers), and the colour scheme of manual mode ----
    {.name = "rgIntenseMeth", .page = kDivers, .kind = Radio, .block = mem::DisplayBlock, .offset = 283, .type = FieldType::Nibble, .bit = 0, .caption = {"Display brightness control", "Управление яркостью дисплея"}, .items = {{"Man.", "Руч."}, {"Time", "Время"}, {"P.lights", "Габар."}}, .rule = Rule::LightsItems},
    {.name = "rgColorMeth", .page = kDivers, .kind = Radio, .block = mem::DisplayBlock, .offset = 283, .type = FieldType::Nibble, .bit = 4, .caption = {"Display color scheme control", "Управление цветовой схемой"}, .items = {{"Man.", "Руч."}, {"Time", "Время"}, {"P.lights", "Габар."}}, .rule = Rule::LightsItems},
    {.name = "meIntenseDayTime", .page = kDivers, .kind = ControlKind::TextEdit, .block = mem::DisplayBlock, .offset = 284, .type = FieldType::TimeOfDay, .caption = {"Day brightness on time", "Время вкл. ДНЕВНОЙ яркости"}, .items = {}},
    {.name = "meIntenseNightTime", .page = kDivers, .kind = ControlKind::TextEdit, .block = mem::DisplayBlock, .offset = 286, .type = FieldType::TimeOfDay, .caption = {"Night brightness on time", "Время вкл. НОЧНОЙ яркости"}, .items = {}},
    {.name = "seIntense0", .page = kDivers, .kind = Spin, .block = mem::DisplayBlock, .offset = 276, .type = FieldType::UInt8, .min = 0, .max = 4, .caption = {"Backlight brightness (Day)", "Яркость подсветки (День)"}, .items = {}},
    {.name = "seIntense1", .page = kDivers, .kind = Spin, .block = mem::DisplayBlock, .offset = 277, .type = FieldType::UInt8, .min = 0, .max = 4, .caption = {"Backlight brightness (Night)", "Яркость подсветки (Ночь)"}, .items = {}},
    {.name = "rgActiveColorScheme", .page = kDivers, .kind = Radio, .block = mem::DisplayBlock, .offset = 195, .type = FieldType::Int8, .caption = {"Color scheme in manual mode", "Цветовая схема в руч. режиме"}, .items = {{"Day", "День"}, {"Night", "Ночь"}}},
    {.name = "rgDispSpeed", .page = kDivers, .kind = Radio, .block = mem::DisplayBlock, .offset = 194, .type = FieldType::Int8, .caption = {"Information output speed, time/sec", "Скорость вывода информации, раз/сек"}, .items = {{"1", "1"}, {"2", "2"}, {"3", "3"}, {"4", "4"}}},
    {.name = "cbDispShowTitle", .page = kDivers, .kind = Check, .block = mem::DisplayBlock, .offset = 0, .type = FieldType::Bit, .bit = 0, .caption = {"Show title", "Заставка показывать"}, .items = {}},
    {.name = "cbShowDispName", .page = kDivers, .kind = Check, .block = mem::DisplayBlock, .offset = 0, .type = FieldType::Bit, .bit = 4, .caption = {"Show display names", "Подпись дисп. показывать"}, .items = {}},
    {.name = "rgDispShowPBMeth", .page = kDivers, .kind = Radio, .block = mem::DisplayBlock, .offset = 0, .type = FieldType::Bit, .bit = 1, .caption = {"Progressbar", "Прогрессбар"}, .items = {{"Max", "Макс."}, {"Bounds", "Границы"}}},
    {.name = "rgDispShowArrowMeth", .page = kDivers, .kind = Radio, .block = mem::DisplayBlock, .offset = 0, .type = FieldType::Bit, .bit = 5, .caption = {"Dynamics (when showing arrows)", "Динамика (При показе стрелок)"}, .items = {{"Data", "Данные"}, {"Smooth", "Сглаживать"}}},
    {.name = "seExpPBLim", .page = kDivers, .kind = Spin, .block = mem::DisplayBlock, .offset = 304, .type = FieldType::Int16, .min = 3, .max = 99, .caption = {"Mom.Fuel Cns Limit, l/h", "Мновенный расход Предел, л/час "}, .items = {}},
    // ---- Sounds, averages, parking radar, fuel tank and maintenance ------------
    // Alerts: SoundBlock byte = alert number. A `_F` group is bits 0..2, a `_N`
    // group bits 3..5; an alert with one group stores its mode × 9.
    {.name = "rgapUAccHigh_F", .page = kVoice, .kind = Radio, .block = mem::SoundBlock, .offset = 0, .type = FieldType::UInt8, .caption = {"High batt.volt.", "Высокое U АКБ"}, .items = kModes, .map = ValueMap::AlertFirst},
    {.name = "rgapUAccHigh_N", .page = kVoice, .kind = Radio, .block = mem::SoundBlock, .offset = 0, .type = FieldType::UInt8, .caption = {"High batt.volt.", "Высокое U АКБ"}, .items = kModes, .map = ValueMap::AlertNext},
    {.name = "rgapUAccLow_F", .page = kVoice, .kind = Radio, .block = mem::SoundBlock, .offset = 1, .type = FieldType::UInt8, .caption = {"Low batt.volt.", "Низкое U АКБ"}, .items = kModes, .map = ValueMap::AlertFirst},
    {.name = "rgapUAccLow_N", .page = kVoice, .kind = Radio, .block = mem::SoundBlock, .offset = 1, .type = FieldType::UInt8, .caption = {"Low batt.volt.", "Низкое U АКБ"}, .items = kModes, .map = ValueMap::AlertNext},
    {.name = "rgapVel_F", .page = kVoice, .kind = Radio, .block = mem::SoundBlock, .offset = 2, .type = FieldType::UInt8, .caption = {"High speed", "Превыш.скорость"}, .items = kModes, .map = ValueMap::AlertFirst},
    {.name = "rgapVel_N", .page = kVoice, .kind = Radio, .block = mem::SoundBlock, .offset = 2, .type = FieldType::UInt8, .caption = {"High speed", "Превыш.скорость"}, .items = kModes, .map = ValueMap::AlertNext},
    {.name = "rgapRev_F", .page = kVoice, .kind = Radio, .block = mem::SoundBlock, .offset = 3, .type = FieldType::UInt8, .caption = {"High eng.speed", "Превыш.обороты"}, .items = kModes, .map = ValueMap::AlertFirst},
    {.name = "rgapRev_N", .page = kVoice, .kind = Radio, .block = mem::SoundBlock, .offset = 3, .type = FieldType::UInt8, .caption = {"High eng.speed", "Превыш.обороты"}, .items = kModes, .map = ValueMap::AlertNext},
    {.name = "rgapTank_F", .page = kVoice, .kind = Radio, .block = mem::SoundBlock, .offset = 4, .type = FieldType::UInt8, .caption = {"Fuel rem.", "Остаток бака"}, .items = kModes, .map = ValueMap::AlertFirst},
    {.name = "rgapTank_N", .page = kVoice, .kind = Radio, .block = mem::SoundBlock, .offset = 4, .type = FieldType::UInt8, .caption = {"Fuel rem.", "Остаток бака"}, .items = kModes, .map = ValueMap::AlertNext},
    {.name = "rgapHolo_F", .page = kVoice, .kind = Radio, .block = mem::SoundBlock, .offset = 5, .type = FieldType::UInt8, .caption = {"Glaze ice", "Гололед"}, .items = kModes, .rule = Rule::AlertGlazeIce, .map = ValueMap::AlertFirst},
    {.name = "rgapHolo_N", .page = kVoice, .kind = Radio, .block = mem::SoundBlock, .offset = 5, .type = FieldType::UInt8, .caption = {"Glaze ice", "Гололед"}, .items = kModes, .rule = Rule::AlertGlazeIce, .map = ValueMap::AlertNext},
    {.name = "rgapTO_F", .page = kVoice, .kind = Radio, .block = mem::SoundBlock, .offset = 6, .type = FieldType::UInt8, .caption = {"Make TS", "Выполнить ТО"}, .items = kModes, .map = ValueMap::AlertSingle},
    {.name = "rgap100_F", .page = kVoice, .kind = Radio, .block = mem::SoundBlock, .offset = 7, .type = FieldType::UInt8, .caption = {"Acceleration", "Разгон"}, .items = kModes, .rule = Rule::AccelTiming, .map = ValueMap::AlertFirst},
    {.name = "rgap100_N", .page = kVoice, .kind = Radio, .block = mem::SoundBlock, .offset = 7, .type = FieldType::UInt8, .caption = {"Acceleration", "Разгон"}, .items = kModes, .rule = Rule::AccelTiming, .map = ValueMap::AlertNext},
    {.name = "rgap100Down_F", .page = kVoice, .kind = Radio, .block = mem::SoundBlock, .offset = 8, .type = FieldType::UInt8, .caption = {"Brakihg", "Торможение"}, .items = kModes, .rule = Rule::AccelTiming, .map = ValueMap::AlertFirst},
    {.name = "rgap100Down_N", .page = kVoice, .kind = Radio, .block = mem::SoundBlock, .offset = 8, .type = FieldType::UInt8, .caption = {"Brakihg", "Торможение"}, .items = kModes, .rule = Rule::AccelTiming, .map = ValueMap::AlertNext},
    {.name = "rgapError_F", .page = kVoice, .kind = Radio, .block = mem::SoundBlock, .offset = 9, .type = FieldType::UInt8, .caption = {"Fault", "Неисправность"}, .items = kModes, .rule = Rule::AlertFault, .map = ValueMap::AlertSingle},
    {.name = "rgapLiqTempHigh_F", .page = kVoice, .kind = Radio, .block = mem::SoundBlock, .offset = 10, .type = FieldType::UInt8, .caption = {"Coolant overheat", "Перегрев ОЖ"}, .items = kModes, .rule = Rule::AlertCoolant, .map = ValueMap::AlertFirst},
    {.name = "rgapLiqTempHigh_N", .page = kVoice, .kind = Radio, .block = mem::SoundBlock, .offset = 10, .type = FieldType::UInt8, .caption = {"Coolant overheat", "Перегрев ОЖ"}, .items = kModes, .rule = Rule::AlertCoolant, .map = ValueMap::AlertNext},
    {.name = "rgapEconom_F", .page = kVoice, .kind = Radio, .block = mem::SoundBlock, .offset = 11, .type = FieldType::UInt8, .caption = {"Econometer", "Эконометр"}, .items = kModes, .map = ValueMap::AlertFirst},
    {.name = "rgapEconom_N", .page = kVoice, .kind = Radio, .block = mem::SoundBlock, .offset = 11, .type = FieldType::UInt8, .caption = {"Econometer", "Эконометр"}, .items = kModes, .map = ValueMap::AlertNext},
    {.name = "rgapGabar_F", .page = kVoice, .kind = Radio, .block = mem::SoundBlock, .offset = 12, .type = FieldType::UInt8, .caption = {"PArk.lights", "Габариты"}, .items = kModes, .rule = Rule::AlertLights, .map = ValueMap::AlertSingle},
    {.name = "rgapTankFull_F", .page = kVoice, .kind = Radio, .block = mem::SoundBlock, .offset = 13, .type = FieldType::UInt8, .caption = {"Full tank", "Полный бак"}, .items = kModes, .map = ValueMap::AlertSingle},
    {.name = "rgapInjTime_F", .page = kVoice, .kind = Radio, .block = mem::SoundBlock, .offset = 14, .type = FieldType::UInt8, .caption = {"%Inj/Exp", "%Впрыск/расход"}, .items = kModes, .map = ValueMap::AlertSingle},
    {.name = "rgapLiqTempReady_F", .page = kVoice, .kind = Radio, .block = mem::SoundBlock, .offset = 15, .type = FieldType::UInt8, .caption = {"Eng.heat.", "Прогрев ДВС"}, .items = kModes, .rule = Rule::AlertWarmUp, .map = ValueMap::AlertSingle},
    {.name = "rgapLights_F", .page = kVoice, .kind = Radio, .block = mem::SoundBlock, .offset = 16, .type = FieldType::UInt8, .caption = {"Low beam", "Ближн.Свет"}, .items = kModes, .rule = Rule::AlertLights, .map = ValueMap::AlertSingle},
    {.name = "rgapSFilter_F", .page = kVoice, .kind = Radio, .block = mem::SoundBlock, .offset = 17, .type = FieldType::UInt8, .caption = {"Diesel filter", "Сажевый фильтр"}, .items = kModes, .rule = Rule::AlertSootFilter, .map = ValueMap::AlertSingle},
    {.name = "rgapWaterInFuel_F", .page = kVoice, .kind = Radio, .block = mem::SoundBlock, .offset = 17, .type = FieldType::UInt8, .caption = {"Water in fuel", "Вода в топливе"}, .items = kModes, .rule = Rule::AlertWaterInFuel, .map = ValueMap::AlertFirst},
    {.name = "rgapWaterInFuel_N", .page = kVoice, .kind = Radio, .block = mem::SoundBlock, .offset = 17, .type = FieldType::UInt8, .caption = {"Water in fuel", "Вода в топливе"}, .items = kModes, .rule = Rule::AlertWaterInFuel, .map = ValueMap::AlertNext},
    {.name = "rgapTemperOilAKPPHigh_F", .page = kVoice, .kind = Radio, .block = mem::SoundBlock, .offset = 18, .type = FieldType::UInt8, .caption = {"AT overheat", "Перегрев АКПП"}, .items = kModes, .rule = Rule::AtOilTemp, .map = ValueMap::AlertFirst},
    {.name = "rgapTemperOilAKPPHigh_N", .page = kVoice, .kind = Radio, .block = mem::SoundBlock, .offset = 18, .type = FieldType::UInt8, .caption = {"AT overheat", "Перегрев АКПП"}, .items = kModes, .rule = Rule::AtOilTemp, .map = ValueMap::AlertNext},
    {.name = "rgapTemperOilEngHigh_F", .page = kVoice, .kind = Radio, .block = mem::SoundBlock, .offset = 19, .type = FieldType::UInt8, .caption = {"Eng.oil overheat", "Перегрев масла ДВС"}, .items = kModes, .rule = Rule::EngineOilTemp, .map = ValueMap::AlertFirst},
    {.name = "rgapTemperOilEngHigh_N", .page = kVoice, .kind = Radio, .block = mem::SoundBlock, .offset = 19, .type = FieldType::UInt8, .caption = {"Eng.oil overheat", "Перегрев масла ДВС"}, .items = kModes, .rule = Rule::EngineOilTemp, .map = ValueMap::AlertNext},
    {.name = "rgapCVTFDeterior_F", .page = kVoice, .kind = Radio, .block = mem::SoundBlock, .offset = 20, .type = FieldType::UInt8, .caption = {"AT iol deter.", "Износ масла АКПП"}, .items = kModes, .rule = Rule::AlertAtOilWear, .map = ValueMap::AlertSingle},
    {.name = "rgapHVBTemperHigh_F", .page = kVoice, .kind = Radio, .block = mem::SoundBlock, .offset = 21, .type = FieldType::UInt8, .caption = {"HVB overheat", "Перегрев ВВБ"}, .items = kModes, .rule = Rule::Hybrid, .map = ValueMap::AlertFirst},
    {.name = "rgapHVBTemperHigh_N", .page = kVoice, .kind = Radio, .block = mem::SoundBlock, .offset = 21, .type = FieldType::UInt8, .caption = {"HVB overheat", "Перегрев ВВБ"}, .items = kModes, .rule = Rule::Hybrid, .map = ValueMap::AlertNext},
    {.name = "rgapInvTemperHigh_F", .page = kVoice, .kind = Radio, .block = mem::SoundBlock, .offset = 22, .type = FieldType::UInt8, .caption = {"Inv.overheat", "Перегрев инвертора"}, .items = kModes, .rule = Rule::AlertInverter, .map = ValueMap::AlertFirst},
    {.name = "rgapInvTemperHigh_N", .page = kVoice, .kind = Radio, .block = mem::SoundBlock, .offset = 22, .type = FieldType::UInt8, .caption = {"Inv.overheat", "Перегрев инвертора"}, .items = kModes, .rule = Rule::AlertInverter, .map = ValueMap::AlertNext},
    {.name = "rgapElEngTemperHigh_F", .page = kVoice, .kind = Radio, .block = mem::SoundBlock, .offset = 22, .type = FieldType::UInt8, .caption = {"ElEng.overheat", "Перегрев ЭлДвиг"}, .items = kModes, .rule = Rule::AlertInverter, .map = ValueMap::AlertFirst},
    {.name = "rgapElEngTemperHigh_N", .page = kVoice, .kind = Radio, .block = mem::SoundBlock, .offset = 22, .type = FieldType::UInt8, .caption = {"ElEng.overheat", "Перегрев ЭлДвиг"}, .items = kModes, .rule = Rule::AlertInverter, .map = ValueMap::AlertNext},
    {.name = "rgapTrimLow_F", .page = kVoice, .kind = Radio, .block = mem::SoundBlock, .offset = 24, .type = FieldType::UInt8, .caption = {"Low trim", "Низкий трим"}, .items = kModes, .rule = Rule::TrimLimits, .map = ValueMap::AlertFirst},
    {.name = "rgapTrimLow_N", .page = kVoice, .kind = Radio, .block = mem::SoundBlock, .offset = 24, .type = FieldType::UInt8, .caption = {"Low trim", "Низкий трим"}, .items = kModes, .rule = Rule::TrimLimits, .map = ValueMap::AlertNext},
    {.name = "rgapTrimHigh_F", .page = kVoice, .kind = Radio, .block = mem::SoundBlock, .offset = 25, .type = FieldType::UInt8, .caption = {"High trim", "Высокий трим"}, .items = kModes, .rule = Rule::TrimLimits, .map = ValueMap::AlertFirst},
    {.name = "rgapTrimHigh_N", .page = kVoice, .kind = Radio, .block = mem::SoundBlock, .offset = 25, .type = FieldType::UInt8, .caption = {"High trim", "Высокий трим"}, .items = kModes, .rule = Rule::TrimLimits, .map = ValueMap::AlertNext},
    {.name = "rgapEngTemperHigh_F", .page = kVoice, .kind = Radio, .block = mem::SoundBlock, .offset = 26, .type = FieldType::UInt8, .caption = {"Engine overheat", "Перегрев ДВС"}, .items = kModes, .rule = Rule::AlertEngineOverheat, .map = ValueMap::AlertFirst},
    {.name = "rgapEngTemperHigh_N", .page = kVoice, .kind = Radio, .block = mem::SoundBlock, .offset = 26, .type = FieldType::UInt8, .caption = {"Engine overheat", "Перегрев ДВС"}, .items = kModes, .rule = Rule::AlertEngineOverheat, .map = ValueMap::AlertNext},
    {.name = "rgapRetarderOilTemperHigh_F", .page = kVoice, .kind = Radio, .block = mem::SoundBlock, .offset = 27, .type = FieldType::UInt8, .caption = {"Retard.overheat", "Перегрев ретардера"}, .items = kModes, .rule = Rule::AlertRetarder, .map = ValueMap::AlertFirst},
    {.name = "rgapRetarderOilTemperHigh_N", .page = kVoice, .kind = Radio, .block = mem::SoundBlock, .offset = 27, .type = FieldType::UInt8, .caption = {"Retard.overheat", "Перегрев ретардера"}, .items = kModes, .rule = Rule::AlertRetarder, .map = ValueMap::AlertNext},
    // Sounds ("Разное" of tsVoice).
    {.name = "seSoundVolume", .page = kVoice, .kind = Spin, .block = mem::DisplayBlock, .offset = 281, .type = FieldType::Int8, .min = 0, .max = 8, .caption = {"Sound volume", "Громкость"}, .items = {}, .rule = Rule::Voice},
    {.name = "rgFlagSound", .page = kVoice, .kind = Radio, .block = mem::DisplayBlock, .offset = 282, .type = FieldType::Int8, .caption = {"Sound off", "Откл.звук"}, .items = {{"Yas", "Да"}, {"No", "Нет"}, {"Lock", "Замок"}, {"VoiceOff", "ОтГол"}}},
    {.name = "rgSayHelloMode", .page = kVoice, .kind = Radio, .block = mem::DisplayBlock, .offset = 280, .type = FieldType::Int8, .caption = {"Say \"Hello\"", "Произносить \"Здравствуйте\""}, .items = {{"On", "Вкл."}, {"Once a day", "Раз в сутки"}, {"Off", "Откл."}}, .rule = Rule::Voice},
    {.name = "seSayParamPeriod", .page = kVoice, .kind = Spin, .block = mem::DisplayBlock, .offset = 279, .type = FieldType::Int8, .min = 4, .max = 99, .caption = {"Period of auto.rep. of the sound of parameters (4=Off)", "Период автоповтора озвуч. параметров  (4=откл)"}, .items = {}, .rule = Rule::Voice},
    {.name = "seAlarmVelSecNoSayMax", .page = kVoice, .kind = Spin, .block = mem::SoundBlock, .offset = 32, .type = FieldType::Int8, .min = -1, .max = 99, .caption = {"Thinning out reports of speeding(-1=N)", "Прореживание сообщений о превыш. скорости, мин (-1=П) "}, .items = {}},
    {.name = "seSayEconomPeriod", .page = kVoice, .kind = Spin, .block = mem::DisplayBlock, .offset = 278, .type = FieldType::Int8, .min = 1, .max = 20, .caption = {"Econometer period", "Эконометр период"}, .items = {}},
    {.name = "cbSoundKeys", .page = kVoice, .kind = Check, .block = mem::DisplayBlock, .offset = 0, .type = FieldType::Bit, .bit = 2, .caption = {"Sound on when key pressed", "Вкл. звук при нажатии кнопок"}, .items = {}},
    {.name = "cbSoundLock", .page = kVoice, .kind = Check, .block = mem::DisplayBlock, .offset = 0, .type = FieldType::Bit, .bit = 3, .caption = {"Sound on when lock on", "Вкл. звук при включении замка зажигания"}, .items = {}},
    // Averages.
    {.name = "sePriceTime", .page = kAver, .kind = Spin, .block = mem::TripLogBlock, .offset = 2, .type = FieldType::Int16, .min = 0, .max = 999, .caption = {"Time, 1h", "Время, 1час"}, .items = {}},
    {.name = "sePricePath", .page = kAver, .kind = Spin, .block = mem::TripLogBlock, .offset = 4, .type = FieldType::Int16, .scale = 10, .min = 0, .max = 99.9, .step = 0.1, .decimals = 1, .caption = {"Path,1km", "Пробег, 1км"}, .items = {}},
    {.name = "sePriceExpense", .page = kAver, .kind = Spin, .block = mem::TripLogBlock, .offset = 0, .type = FieldType::Int16, .scale = 10, .min = 0, .max = 99.9, .step = 0.1, .decimals = 1, .caption = {"Petrol,1l", "Бензин, 1л"}, .items = {}},
    {.name = "sePriceGas", .page = kAver, .kind = Spin, .block = mem::TripLogBlock, .offset = 6, .type = FieldType::Int16, .scale = 10, .min = 0, .max = 99.9, .step = 0.1, .decimals = 1, .caption = {"Gas,1l", "Газ, 1л"}, .items = {}, .rule = Rule::GasFuel},
    {.name = "cbResetPeriod0", .page = kAver, .kind = Combo, .block = mem::TotalsBlock, .offset = 152, .type = FieldType::Int8, .caption = {"Autoreset period 1", "Период автосброса 1"}, .items = {}, .itemSource = ItemSource::ResetPeriod, .arg = 0},
    {.name = "cbResetPeriod1", .page = kAver, .kind = Combo, .block = mem::TotalsBlock, .offset = 153, .type = FieldType::Int8, .caption = {"Autoreset period 2", "Период автосброса 2"}, .items = {}, .itemSource = ItemSource::ResetPeriod, .map = ValueMap::MinusOne, .arg = 1},
    {.name = "cbResetPeriodOnly", .page = kAver, .kind = Combo, .block = mem::TotalsBlock, .offset = 158, .type = FieldType::Int8, .caption = {"G/P", "Г/Б"}, .items = {}, .rule = Rule::GasFuel, .itemSource = ItemSource::ResetPeriod, .map = ValueMap::MinusOne, .arg = 1},
    {.name = "seTripMinStop", .page = kAver, .kind = Spin, .block = mem::TripLogBlock, .offset = 10, .type = FieldType::Int16, .scale = 0.2, .min = 0, .max = 995, .step = 5, .noTyping = true, .caption = {"continuous trips", "Непрерывание поезки, мин"}, .items = {}},
    // Parking radar: rear (0) and front (1).
    {.name = "seParkSense0", .page = kPark, .kind = Spin, .block = mem::ParkingBlock, .offset = 2, .type = FieldType::Int8, .min = 1, .max = 7, .caption = {"Sensitivity", "Чувствительность"}, .items = {}, .rule = Rule::ParkingRadar},
    {.name = "seParkSpeed0", .page = kPark, .kind = Spin, .block = mem::ParkingBlock, .offset = 4, .type = FieldType::Int8, .min = 1, .max = 3, .caption = {"Speed", "Быстродействие"}, .items = {}, .rule = Rule::ParkingRadar},
    {.name = "seParkMinLeng0", .page = kPark, .kind = Spin, .block = mem::ParkingBlock, .offset = 6, .type = FieldType::Int8, .scale = 0.1, .min = 30, .max = 90, .step = 10, .noTyping = true, .caption = {"Alarm limit, cm", "Граница тревога, см"}, .items = {}, .rule = Rule::ParkingRadar},
    {.name = "seParkStopVel0", .page = kPark, .kind = Spin, .block = mem::ParkingBlock, .offset = 8, .type = FieldType::Int8, .min = 0, .max = 20, .caption = {"ParkStop speed", "ПаркStop скорость"}, .items = {}, .rule = Rule::ParkingRadar},
    {.name = "seParkStopLeng0", .page = kPark, .kind = Spin, .block = mem::ParkingBlock, .offset = 10, .type = FieldType::Int8, .scale = 0.1, .min = 40, .max = 250, .step = 10, .noTyping = true, .caption = {"ParkStop,cm", "ПаркStop cм"}, .items = {}, .rule = Rule::ParkingRadar},
    {.name = "seParkStopLengBeep", .page = kPark, .kind = Spin, .block = mem::ParkingBlock, .offset = 15, .type = FieldType::Int8, .scale = 0.1, .min = 40, .max = 250, .step = 10, .noTyping = true, .caption = {"Stop buzz cm", "Бип Stop cм"}, .items = {}, .rule = Rule::ParkingRadar},
    {.name = "rgParkBeepType", .page = kPark, .kind = Radio, .block = mem::ParkingBlock, .offset = 14, .type = FieldType::Int8, .caption = {"Sound type", "Тип озвучки"}, .items = {{"No", "Нет"}, {"Buzz", "Zumm"}, {"Limit", "Пред."}, {"Voice", "Голос"}}, .rule = Rule::ParkingRadar},
    {.name = "seParkSense1", .page = kPark, .kind = Spin, .block = mem::ParkingBlock, .offset = 3, .type = FieldType::Int8, .min = 1, .max = 7, .caption = {"Sensitivity", "Чувствительность"}, .items = {}, .rule = Rule::ParkingRadar},
    {.name = "seParkSpeed1", .page = kPark, .kind = Spin, .block = mem::ParkingBlock, .offset = 5, .type = FieldType::Int8, .min = 1, .max = 3, .caption = {"Speed", "Быстродействие"}, .items = {}, .rule = Rule::ParkingRadar},
    {.name = "seParkMinLeng1", .page = kPark, .kind = Spin, .block = mem::ParkingBlock, .offset = 7, .type = FieldType::Int8, .scale = 0.1, .min = 30, .max = 90, .step = 10, .noTyping = true, .caption = {"Alarm limit, cm", "Граница тревога, см"}, .items = {}, .rule = Rule::ParkingRadar},
    {.name = "seParkStopVel1", .page = kPark, .kind = Spin, .block = mem::ParkingBlock, .offset = 9, .type = FieldType::Int8, .min = 0, .max = 90, .caption = {"Park.speed", "Парк скорость"}, .items = {}, .rule = Rule::ParkingRadar},
    {.name = "seParkStopLeng1", .page = kPark, .kind = Spin, .block = mem::ParkingBlock, .offset = 11, .type = FieldType::Int8, .scale = 0.1, .min = 50, .max = 250, .step = 10, .noTyping = true, .caption = {"Park,cm", "Парк cм"}, .items = {}, .rule = Rule::ParkingRadar},
    // Fuel tank: the two linear tables (FuelBlock) and the tare count.
    {.name = "seOil6L", .page = kOil, .kind = Spin, .block = mem::FuelBlock, .offset = 0, .type = FieldType::Int16, .min = 0, .max = 2000, .caption = {"2 points: point 1, CU", "2 точки: точка 1, у.е."}, .items = {}},
    {.name = "seLit6L", .page = kOil, .kind = Spin, .block = mem::FuelBlock, .offset = 2, .type = FieldType::Int16, .min = 0, .max = 2040, .caption = {"2 points: point 1, litres", "2 точки: точка 1, литры"}, .items = {}, .range = RangeRule::FullTank},
    {.name = "seOil43L", .page = kOil, .kind = Spin, .block = mem::FuelBlock, .offset = 4, .type = FieldType::Int16, .min = 0, .max = 2000, .caption = {"2 points: point 2, CU", "2 точки: точка 2, у.е."}, .items = {}},
    {.name = "seLit43L", .page = kOil, .kind = Spin, .block = mem::FuelBlock, .offset = 6, .type = FieldType::Int16, .min = 0, .max = 2040, .caption = {"2 points: point 2, litres", "2 точки: точка 2, литры"}, .items = {}, .range = RangeRule::FullTank},
    {.name = "seOilCalibrQuant", .page = kOil, .kind = Spin, .block = mem::FuelBlock, .offset = 36, .type = FieldType::UInt8, .min = 0, .max = 7, .caption = {"Points qnt", "Кол-во точек"}, .items = {}},
    {.name = "seOilCalibrResArr0", .page = kOil, .kind = Spin, .block = mem::FuelBlock, .offset = 8, .type = FieldType::Int16, .min = 0, .max = 2000, .caption = {"7 points: point 1, CU", "7 точек: точка 1, у.е."}, .items = {}, .rule = Rule::SevenPoint, .arg = 0},
    {.name = "seOilCalibrResArr1", .page = kOil, .kind = Spin, .block = mem::FuelBlock, .offset = 10, .type = FieldType::Int16, .min = 0, .max = 2000, .caption = {"7 points: point 2, CU", "7 точек: точка 2, у.е."}, .items = {}, .rule = Rule::SevenPoint, .arg = 1},
    {.name = "seOilCalibrResArr2", .page = kOil, .kind = Spin, .block = mem::FuelBlock, .offset = 12, .type = FieldType::Int16, .min = 0, .max = 2000, .caption = {"7 points: point 3, CU", "7 точек: точка 3, у.е."}, .items = {}, .rule = Rule::SevenPoint, .arg = 2},
    {.name = "seOilCalibrResArr3", .page = kOil, .kind = Spin, .block = mem::FuelBlock, .offset = 14, .type = FieldType::Int16, .min = 0, .max = 2000, .caption = {"7 points: point 4, CU", "7 точек: точка 4, у.е."}, .items = {}, .rule = Rule::SevenPoint, .arg = 3},
    {.name = "seOilCalibrResArr4", .page = kOil, .kind = Spin, .block = mem::FuelBlock, .offset = 16, .type = FieldType::Int16, .min = 0, .max = 2000, .caption = {"7 points: point 5, CU", "7 точек: точка 5, у.е."}, .items = {}, .rule = Rule::SevenPoint, .arg = 4},
    {.name = "seOilCalibrResArr5", .page = kOil, .kind = Spin, .block = mem::FuelBlock, .offset = 18, .type = FieldType::Int16, .min = 0, .max = 2000, .caption = {"7 points: point 6, CU", "7 точек: точка 6, у.е."}, .items = {}, .rule = Rule::SevenPoint, .arg = 5},
    {.name = "seOilCalibrResArr6", .page = kOil, .kind = Spin, .block = mem::FuelBlock, .offset = 20, .type = FieldType::Int16, .min = 0, .max = 2000, .caption = {"7 points: point 7, CU", "7 точек: точка 7, у.е."}, .items = {}, .rule = Rule::SevenPoint, .arg = 6},
    {.name = "seOilCalibrLitArr0", .page = kOil, .kind = Spin, .block = mem::FuelBlock, .offset = 22, .type = FieldType::Int16, .min = 0, .max = 2040, .caption = {"7 points: point 1, litres", "7 точек: точка 1, литры"}, .items = {}, .rule = Rule::SevenPoint, .range = RangeRule::FullTank, .arg = 0},
    {.name = "seOilCalibrLitArr1", .page = kOil, .kind = Spin, .block = mem::FuelBlock, .offset = 24, .type = FieldType::Int16, .min = 0, .max = 2040, .caption = {"7 points: point 2, litres", "7 точек: точка 2, литры"}, .items = {}, .rule = Rule::SevenPoint, .range = RangeRule::FullTank, .arg = 1},
    {.name = "seOilCalibrLitArr2", .page = kOil, .kind = Spin, .block = mem::FuelBlock, .offset = 26, .type = FieldType::Int16, .min = 0, .max = 2040, .caption = {"7 points: point 3, litres", "7 точек: точка 3, литры"}, .items = {}, .rule = Rule::SevenPoint, .range = RangeRule::FullTank, .arg = 2},
    {.name = "seOilCalibrLitArr3", .page = kOil, .kind = Spin, .block = mem::FuelBlock, .offset = 28, .type = FieldType::Int16, .min = 0, .max = 2040, .caption = {"7 points: point 4, litres", "7 точек: точка 4, литры"}, .items = {}, .rule = Rule::SevenPoint, .range = RangeRule::FullTank, .arg = 3},
    {.name = "seOilCalibrLitArr4", .page = kOil, .kind = Spin, .block = mem::FuelBlock, .offset = 30, .type = FieldType::Int16, .min = 0, .max = 2040, .caption = {"7 points: point 5, litres", "7 точек: точка 5, литры"}, .items = {}, .rule = Rule::SevenPoint, .range = RangeRule::FullTank, .arg = 4},
    {.name = "seOilCalibrLitArr5", .page = kOil, .kind = Spin, .block = mem::FuelBlock, .offset = 32, .type = FieldType::Int16, .min = 0, .max = 2040, .caption = {"7 points: point 6, litres", "7 точек: точка 6, литры"}, .items = {}, .rule = Rule::SevenPoint, .range = RangeRule::FullTank, .arg = 5},
    {.name = "seOilCalibrLitArr6", .page = kOil, .kind = Spin, .block = mem::FuelBlock, .offset = 34, .type = FieldType::Int16, .min = 0, .max = 2040, .caption = {"7 points: point 7, litres", "7 точек: точка 7, литры"}, .items = {}, .rule = Rule::SevenPoint, .range = RangeRule::FullTank, .arg = 6},
    {.name = "cbTarirFlagFinish", .page = kOil, .kind = Check, .block = mem::TankTableBlock, .offset = 1, .type = FieldType::UInt8, .caption = {"Tare finished", "Тарировка проведена"}, .items = {}},
    {.name = "seTarirLeng", .page = kOil, .kind = Spin, .block = mem::TankTableBlock, .offset = 2, .type = FieldType::UInt8, .min = 0, .max = 68, .caption = {"Tare points qnt", "Количество точек тарировки"}, .items = {}},
    // Maintenance (ServiceBlock).
    {.name = "seAirFiltCntK", .page = kTO, .kind = Spin, .block = mem::ServiceBlock, .offset = 0, .type = FieldType::Int8, .min = 0, .max = 99, .caption = {"Air filt.repl.", "Замена.возд.ф."}, .items = {}, .range = RangeRule::ServiceInterval},
    {.name = "cbAirFiltCntK", .page = kTO, .kind = Check, .block = mem::ServiceBlock, .offset = 100, .type = FieldType::Bit, .bit = 0, .caption = {"use: air filter", "использ.: возд.фильтр"}, .items = {}, .rule = Rule::ServiceItem, .map = ValueMap::ReminderBit},
    {.name = "seKPPOilCntK", .page = kTO, .kind = Spin, .block = mem::ServiceBlock, .offset = 1, .type = FieldType::Int8, .min = 0, .max = 99, .caption = {"Gearbox oil ch", "Замена мас.КПП"}, .items = {}, .rule = Rule::ServiceItem},
    {.name = "cbKPPOilCntK", .page = kTO, .kind = Check, .block = mem::ServiceBlock, .offset = 100, .type = FieldType::Bit, .bit = 1, .caption = {"use: gearbox oil", "использ.: масло КПП"}, .items = {}, .rule = Rule::ServiceItem, .map = ValueMap::ReminderBit},
    {.name = "seForsTOCntK", .page = kTO, .kind = Spin, .block = mem::ServiceBlock, .offset = 2, .type = FieldType::Int8, .min = 0, .max = 99, .caption = {"User item 1", "Пункт 1"}, .items = {}, .rule = Rule::ServiceItem, .arg = 52},
    {.name = "eForsTOCntK", .page = kTO, .kind = ControlKind::TextEdit, .block = mem::ServiceBlock, .offset = 52, .type = FieldType::Text, .caption = {"Name of user item 1", "Название пункта 1"}, .items = {}, .rule = Rule::ServiceItem},
    {.name = "cbForsTOCntK", .page = kTO, .kind = Check, .block = mem::ServiceBlock, .offset = 100, .type = FieldType::Bit, .bit = 2, .caption = {"use: user item 1", "использ.: пункт 1"}, .items = {}, .rule = Rule::ServiceItem, .map = ValueMap::ReminderBit},
    {.name = "seGRMStrapCntK", .page = kTO, .kind = Spin, .block = mem::ServiceBlock, .offset = 3, .type = FieldType::Int8, .min = 0, .max = 99, .caption = {"User item 2", "Пункт 2"}, .items = {}, .rule = Rule::ServiceItem, .arg = 68},
    {.name = "eGRMStrapCntK", .page = kTO, .kind = ControlKind::TextEdit, .block = mem::ServiceBlock, .offset = 68, .type = FieldType::Text, .caption = {"Name of user item 2", "Название пункта 2"}, .items = {}, .rule = Rule::ServiceItem},
    {.name = "cbGRMStrapCntK", .page = kTO, .kind = Check, .block = mem::ServiceBlock, .offset = 100, .type = FieldType::Bit, .bit = 3, .caption = {"use: user item 2", "использ.: пункт 2"}, .items = {}, .rule = Rule::ServiceItem, .map = ValueMap::ReminderBit},
    {.name = "seCoolLiqCntK", .page = kTO, .kind = Spin, .block = mem::ServiceBlock, .offset = 4, .type = FieldType::Int8, .min = 0, .max = 99, .caption = {"Coolant repl.", "Замена охл.жидк."}, .items = {}, .rule = Rule::ServiceItem},
    {.name = "cbCoolLiqCntK", .page = kTO, .kind = Check, .block = mem::ServiceBlock, .offset = 100, .type = FieldType::Bit, .bit = 4, .caption = {"use: coolant", "использ.: охл.жидкость"}, .items = {}, .rule = Rule::ServiceItem, .map = ValueMap::ReminderBit},
    {.name = "seEngOilCntK", .page = kTO, .kind = Spin, .block = mem::ServiceBlock, .offset = 5, .type = FieldType::Int8, .min = 0, .max = 99, .caption = {"Eng.oil change", "Замена масла дв."}, .items = {}, .rule = Rule::ServiceItem},
    {.name = "cbEngOilCntK", .page = kTO, .kind = Check, .block = mem::ServiceBlock, .offset = 100, .type = FieldType::Bit, .bit = 5, .caption = {"use: engine oil", "использ.: масло дв."}, .items = {}, .rule = Rule::ServiceItem, .map = ValueMap::ReminderBit},
    {.name = "seCandleCntK", .page = kTO, .kind = Spin, .block = mem::ServiceBlock, .offset = 6, .type = FieldType::Int8, .min = 0, .max = 99, .caption = {"User item 3", "Пункт 3"}, .items = {}, .rule = Rule::ServiceItem, .arg = 84},
    {.name = "eCandleCntK", .page = kTO, .kind = ControlKind::TextEdit, .block = mem::ServiceBlock, .offset = 84, .type = FieldType::Text, .caption = {"Name of user item 3", "Название пункта 3"}, .items = {}, .rule = Rule::ServiceItem},
    {.name = "cbCandleCntK", .page = kTO, .kind = Check, .block = mem::ServiceBlock, .offset = 100, .type = FieldType::Bit, .bit = 6, .caption = {"use: user item 3", "использ.: пункт 3"}, .items = {}, .rule = Rule::ServiceItem, .map = ValueMap::ReminderBit},
    {.name = "deTO", .page = kTO, .kind = ControlKind::DateEdit, .block = mem::ServiceBlock, .offset = 8, .type = FieldType::UInt16, .caption = {"TS date", "Дата след.ТО"}, .items = {}},
    {.name = "cbTO", .page = kTO, .kind = Check, .block = mem::ServiceBlock, .offset = 100, .type = FieldType::Bit, .bit = 7, .caption = {"use: TS date", "использ.: дата ТО"}, .items = {}, .rule = Rule::ServiceItem, .map = ValueMap::ReminderBit},
    {.name = "deOSAGO", .page = kTO, .kind = ControlKind::DateEdit, .block = mem::ServiceBlock, .offset = 12, .type = FieldType::UInt16, .caption = {"Insurance", "Дата опл.ОСАГО"}, .items = {}, .rule = Rule::ServiceItem},
    {.name = "cbOSAGO", .page = kTO, .kind = Check, .block = mem::ServiceBlock, .offset = 100, .type = FieldType::Bit, .bit = 8, .caption = {"use: insurance", "использ.: ОСАГО"}, .items = {}, .rule = Rule::ServiceItem, .map = ValueMap::ReminderBit},
    {.name = "seMotoHourLim", .page = kTO, .kind = Spin, .block = mem::ServiceBlock, .offset = 104, .type = FieldType::Int16, .min = 0, .max = 3000, .caption = {"Eng.hours", "Моточасы"}, .items = {}},
    {.name = "cbMotoHour", .page = kTO, .kind = Check, .block = mem::ServiceBlock, .offset = 100, .type = FieldType::Bit, .bit = 9, .caption = {"use: engine hours", "использ.: моточасы"}, .items = {}, .map = ValueMap::ReminderBit},
    // The universal input page: two calibration points.
    {.name = "seUniMeasDat0", .page = kUniMeas, .kind = Spin, .block = mem::ServiceBlock, .offset = 112, .type = FieldType::Int16, .min = -180, .max = 2500, .caption = {"Data Min", "Показания Мин"}, .items = {}, .rule = Rule::UniversalInput},
    {.name = "seUniMeasADC0", .page = kUniMeas, .kind = Spin, .block = mem::ServiceBlock, .offset = 108, .type = FieldType::Int16, .min = 0, .max = 1023, .caption = {"ADC Min", "АЦП Мин"}, .items = {}, .rule = Rule::UniversalInput},
    {.name = "seUniMeasDat1", .page = kUniMeas, .kind = Spin, .block = mem::ServiceBlock, .offset = 114, .type = FieldType::Int16, .min = -180, .max = 2500, .caption = {"Data Max", "Показания Макс"}, .items = {}, .rule = Rule::UniversalInput},
    {.name = "seUniMeasADC1", .page = kUniMeas, .kind = Spin, .block = mem::ServiceBlock, .offset = 110, .type = FieldType::Int16, .min = 0, .max = 1023, .caption = {"ADC Max", "АЦП Макс"}, .items = {}, .rule = Rule::UniversalInput},
};

struct PageRow {
    const char *name;
    Text caption;
};

// Every page and sub-page of the editor, in the order of their page controls.
const PageRow kPages[] = {
    {kCorr, {"Correction", "Поправки"}},
    {kMeth, {"Resources", "Источники"}},
    {kLim, {"Limits", "Границы"}},
    {"tsDisp", {"Display", "Дисплей"}},
    // the sub-pages of tsDisp
    {"tsColor", {"Color schemes", "Цветовые схемы"}},
    {"tsParams1", {"Displays x 1", "Дисплеи х1"}},
    {"tsParams4", {"Displays x 4", "Дисплеи х4"}},
    {"tsParams9", {"Displays x 9", "Дисплеи х9"}},
    {"tsParams6", {"Displays x 6", "Дисплей х6"}},
    {"tsParamsG", {"Graph displays", "Граф. дисплеи"}},
    {"tsParamsA", {"Dial displays", "Стрел. дисплеи"}},
    {"tsHotMenu", {"Hot menu", "Горячие меню"}},
    {"tsInfoPanel", {"Add.panel", "Доп.панель"}},
    {kDivers, {"Divers", "Разное"}},
    {kVoice, {"Sounds", "Озвуч.сообщения"}},
    // the sub-pages of tsVoice
    {"tsAlerts", {"Alerts", "Предупреждения"}},
    {"tsSounds", {"Various", "Разное"}},
    {kAver, {"Average", "Средние"}},
    {kPark, {"Parctronic", "Парковка"}},
    {kOil, {"Fuel", "Бак"}},
    {kTO, {"TS", "ТО"}},
    {"tsBlocks", {"Add.systems", "Допсистемы"}},
    {kUniMeas, {"Uni.input/Trim", "Трим"}},
    {"tsServiceInfo", {"ServiceInfo", "Служ.информ."}},
};

} // namespace

QString PageCaption(const char *page)
{
    for (const PageRow &p : kPages)
        if (qstrcmp(p.name, page) == 0)
            return p.caption.get();
    return QString::fromLatin1(page);
}

const std::vector<FieldRow> &FieldSchema() { return kSchema; }

const FieldRow *FindField(const QString &name)
{
    for (const FieldRow &row : kSchema)
        if (name == QLatin1String(row.name))
            return &row;
    return nullptr;
}

int64_t RoundHalfEven(double value)
{
    if (std::isnan(value))
        return 0;
    value = std::clamp(value, -9.0e18, 9.0e18); // the cast below is defined only inside int64_t
    const double r = std::round(value);
    // std::round goes away from zero; a tie goes to the even neighbour instead.
    if (std::fabs(value - std::trunc(value)) == 0.5)
        return static_cast<int64_t>(2.0 * std::round(value / 2.0));
    return static_cast<int64_t>(r);
}

double FactorToShown(float factor)
{
    // The nudge keeps factors stored as 1.0499999 from showing 4.9.
    if (std::isnan(factor))
        return 0.0; // a damaged factor shows as no correction
    const float nudged = factor >= 1.0f ? factor + 0.00001f : factor - 0.00001f;
    // Far outside any range a spin edit offers; the spin edit clips it anyway.
    const double permille = std::clamp((static_cast<double>(nudged) - 1.0) * 1000.0, -1.0e7, 1.0e7);
    const int64_t r = RoundHalfEven(permille);
    return static_cast<double>(r) / 10.0;
}

float ShownToFactor(double shown) { return static_cast<float>(shown / 100.0 + 1.0); }

int RowWidth(const FieldRow &row) { return row.type == FieldType::Text ? 16 : FieldWidth(row.type); }

int FieldWidth(FieldType type)
{
    switch (type) {
    case FieldType::Int8:
    case FieldType::UInt8:
    case FieldType::Nibble:
        return 1;
    case FieldType::Int16:
    case FieldType::UInt16:
    case FieldType::TimeOfDay:
        return 2;
    case FieldType::Int32:
    case FieldType::Float32Factor:
    case FieldType::Bit:
        return 4;
    case FieldType::Text:
        return 0;
    }
    return 0;
}

bool FitsField(FieldType type, int64_t v)
{
    switch (type) {
    case FieldType::Int8:
        return v >= -128 && v <= 127;
    case FieldType::UInt8:
        return v >= 0 && v <= 255;
    case FieldType::Int16:
        return v >= -32768 && v <= 32767;
    case FieldType::UInt16:
    case FieldType::TimeOfDay:
        return v >= 0 && v <= 65535;
    case FieldType::Nibble:
        return v >= 0 && v <= 15;
    case FieldType::Int32:
        return v >= std::numeric_limits<int32_t>::min() && v <= std::numeric_limits<int32_t>::max();
    case FieldType::Bit:
        return v == 0 || v == 1;
    case FieldType::Float32Factor:
    case FieldType::Text:
        return false;
    }
    return false;
}

int64_t ReadRaw(const TMK &model, const FieldRow &row)
{
    const uint8_t *b = model.block(row.block);
    switch (row.type) {
    case FieldType::Int8:
        return static_cast<int8_t>(GetU8(b, row.offset));
    case FieldType::UInt8:
        return GetU8(b, row.offset);
    case FieldType::Int16:
        return GetI16(b, row.offset);
    case FieldType::UInt16:
    case FieldType::TimeOfDay:
        return GetU16(b, row.offset);
    case FieldType::Nibble:
        return (GetU8(b, row.offset) >> row.bit) & 0x0F;
    case FieldType::Int32:
        return GetI32(b, row.offset);
    case FieldType::Bit:
        return (GetU32(b, row.offset) >> row.bit) & 1u;
    case FieldType::Float32Factor:
    case FieldType::Text:
        break;
    }
    return 0;
}

float ReadFactor(const TMK &model, const FieldRow &row) { return GetF32(model.block(row.block), row.offset); }

void WriteRaw(TMK &model, const FieldRow &row, int64_t value)
{
    if (!FitsField(row.type, value))
        throw TripError(LangText("Range error: %1 does not fit the field of \"%2\"",
                                 "Ошибка диапазона: %1 не помещается в поле \"%2\"")
                            .arg(value)
                            .arg(row.caption.get()));
    uint8_t *b = model.block(row.block);
    switch (FieldWidth(row.type)) {
    case 1:
        if (row.type == FieldType::Nibble) {
            // The other nibble of the byte belongs to another control.
            const auto mask = static_cast<uint8_t>(0x0F << row.bit);
            SetU8(b, row.offset,
                  static_cast<uint8_t>((GetU8(b, row.offset) & ~mask) | ((value << row.bit) & mask)));
        } else {
            SetU8(b, row.offset, static_cast<uint8_t>(value));
        }
        break;
    case 2:
        SetU16(b, row.offset, static_cast<uint16_t>(value));
        break;
    default:
        if (row.type == FieldType::Bit) {
            const uint32_t mask = 1u << row.bit;
            const uint32_t word = GetU32(b, row.offset);
            SetU32(b, row.offset, value ? word | mask : word & ~mask);
        } else {
            SetU32(b, row.offset, static_cast<uint32_t>(value));
        }
    }
}

void WriteFactor(TMK &model, const FieldRow &row, float factor)
{
    if (!std::isfinite(factor))
        throw TripError(LangText("Range error: the factor of \"%1\" is not a number",
                                 "Ошибка диапазона: коэффициент \"%1\" не является числом")
                            .arg(row.caption.get()));
    SetF32(model.block(row.block), row.offset, factor);
}

std::optional<int> ItemOfStored(ValueMap map, int64_t stored, int itemCount)
{
    int64_t index = stored;
    switch (map) {
    case ValueMap::IndexPlusOne:
        index = stored - 1;
        break;
    case ValueMap::Tachometer:
        index = stored == 1 ? 0 : stored == 2 ? 1 : 2; // any other factor shows "4"
        break;
    case ValueMap::InvertedBit:
        index = stored ? 0 : 1;
        break;
    case ValueMap::MinusOne:
        index = stored + 1;
        break;
    case ValueMap::AlertFirst:
    case ValueMap::AlertSingle:
        index = stored & 7;
        break;
    case ValueMap::AlertNext:
        index = (stored >> 3) & 7;
        break;
    case ValueMap::Plain:
    case ValueMap::ReminderBit:
        break;
    }
    if (index < 0 || index >= itemCount)
        return std::nullopt;
    return static_cast<int>(index);
}

int AlertByte(ValueMap map, int index, int current)
{
    const int first = current & 7;
    const int next = (current >> 3) & 7;
    switch (map) {
    case ValueMap::AlertFirst:
        return index + 8 * next;
    case ValueMap::AlertNext:
        return first + 8 * index;
    default:
        return index * 9;
    }
}

int64_t StoredOfItem(ValueMap map, int index)
{
    switch (map) {
    case ValueMap::IndexPlusOne:
        return index + 1;
    case ValueMap::Tachometer:
        return int64_t{1} << index; // 1, 2, 4
    case ValueMap::InvertedBit:
        return index ? 0 : 1;
    case ValueMap::MinusOne:
        return index - 1;
    case ValueMap::AlertSingle:
        return index * 9;
    case ValueMap::AlertFirst:
    case ValueMap::AlertNext: // the pair rule needs the other group: AlertByte
    case ValueMap::Plain:
    case ValueMap::ReminderBit:
        break;
    }
    return index;
}

} // namespace ed
