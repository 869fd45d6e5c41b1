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
    {"tsVoice", {"Sounds", "Озвуч.сообщения"}},
    {"tsAver", {"Average", "Средние"}},
    {"tsPark", {"Parctronic", "Парковка"}},
    {"tsOil", {"Fuel", "Бак"}},
    {"tsTO", {"TS", "ТО"}},
    {"tsBlocks", {"Add.systems", "Допсистемы"}},
    {kUniMeas, {"Uni.input/Trim", "Трим"}},
    {"tsServiceInfo", {"ServiceInfo", "Служ.информ."}},
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
    // the sub-pages of tsVoice
    {"tsAlerts", {"Alerts", "Предупреждения"}},
    {"tsSounds", {"Various", "Разное"}},
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
    case ValueMap::Plain:
        break;
    }
    if (index < 0 || index >= itemCount)
        return std::nullopt;
    return static_cast<int>(index);
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
    case ValueMap::Plain:
        break;
    }
    return index;
}

} // namespace ed
