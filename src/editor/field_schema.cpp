#include "field_schema.h"

#include "blocks.h"
#include "errors.h"
#include "language.h"
#include "tmk.h"

#include <algorithm>
#include <cmath>
#include <limits>

namespace ed {

namespace {

constexpr ControlKind Spin = ControlKind::SpinEdit;
constexpr ControlKind Radio = ControlKind::RadioGroup;
constexpr ControlKind Combo = ControlKind::ComboBox;
constexpr ControlKind Check = ControlKind::CheckBox;
// The modes of every alert group.
// clang-format off
const std::vector<Text> kModes = {{"O", "О"}, {"N", "Н"}, {"B", "Б"}, {"M", "М"}, {"V", "Г"}};
// What each mode letter stands for; the last two need a device with a voice.
const std::vector<Text> kModeMeanings = {{"off", "откл."}, {"no sound", "нет звука"}, {"beep", "бип"}, {"melody", "мелодия"}, {"voice", "голос"}};

// One row per control, in the order of the pages and of the controls on them.
const std::vector<FieldRow> kSchema = {
    {.name = "seVelocityCorr", .page = Page::Corrections, .kind = Spin, .at = fld::SpeedFactor, .type = FieldType::Float32Factor, .min = -99.0, .max = 999.9, .step = 0.1, .decimals = 1, .caption = {"Speed, %", "Скорость, %"}, .items = {}, .shown = Shown::SpeedCorrection},
    {.name = "seExpenseCorr", .page = Page::Corrections, .kind = Spin, .at = fld::PetrolFactor, .type = FieldType::Float32Factor, .min = -99.0, .max = 999.9, .step = 0.1, .decimals = 1, .caption = {"Petrol expense, %", "Расхода бензина, %"}, .items = {}},
    {.name = "seGazExpenseCorr", .page = Page::Corrections, .kind = Spin, .at = fld::GasFactor, .type = FieldType::Float32Factor, .min = -99.0, .max = 999.9, .step = 0.1, .decimals = 1, .caption = {"Gas expense, %", "Расход газа, %"}, .items = {}, .shown = Shown::GasFuel},
    {.name = "seAirTemperCorr", .page = Page::Corrections, .kind = Spin, .at = fld::AirTempCorrection, .type = FieldType::Int8, .min = -20, .max = 20, .caption = {"Air temper., C", "Температура воздуха, С"}, .items = {}, .shown = Shown::AirTempCorrection},
    {.name = "seAccCorr", .page = Page::Corrections, .kind = Spin, .at = fld::BatteryCorrection, .type = FieldType::Int8, .scale = 10, .min = -0.7, .max = 0.7, .step = 0.1, .decimals = 1, .caption = {"Battery voltage, V", "Напряжение АКБ, В"}, .items = {}},
    {.name = "seTimeCorr", .page = Page::Corrections, .kind = Spin, .at = fld::ClockCorrection, .type = FieldType::Int8, .min = -30, .max = 30, .caption = {"Time (sec. per day)", "Время (секунд в сутки)"}, .items = {}},
    {.name = "seAllPathStart", .page = Page::Corrections, .kind = Spin, .at = fld::InitialMileage, .type = FieldType::Int32, .min = 0, .max = 999999, .caption = {"initial mileage, km", "Начальный пробег, км"}, .items = {}},
    {.name = "seAllTimeStart", .page = Page::Corrections, .kind = Spin, .at = fld::InitialHours, .type = FieldType::Int32, .min = 0, .max = 99999, .caption = {"Initial time, h", "Начальное вр. раб, час"}, .items = {}},
    {.name = "rgForsPosFlag", .page = Page::Corrections, .kind = Radio, .at = fld::InjectorNegative, .type = FieldType::Bit, .caption = {"Polarity", "Полярность форсунки"}, .items = {{"+", "+"}, {"-", "-"}}, .shown = Shown::Injector},
    {.name = "rgForsCoef", .page = Page::Corrections, .kind = Radio, .at = fld::TachometerFactor, .type = FieldType::UInt8, .caption = {"Tachometer", "Тахометр"}, .items = {{"1", "1"}, {"2", "2"}, {"4", "4"}}, .shown = Shown::Tachometer, .map = ValueMap::Tachometer},
    {.name = "seForsCoefCarb", .page = Page::Corrections, .kind = Spin, .at = fld::CarbPulses, .type = FieldType::Int8, .scale = 2, .min = 0.5, .max = 12.0, .step = 0.5, .decimals = 1, .noTyping = true, .caption = {"Pulses by rev.", "Имп. на оборот"}, .items = {}, .shown = Shown::CarbPulses},
    {.name = "cbProtocolSelectMeth", .page = Page::Sources, .kind = Combo, .at = fld::ProtocolSelection, .type = FieldType::Int8, .caption = {"Protocol definition", "Способ опр. протокола"}, .items = {}, .itemSource = ItemSource::ProtocolSelectMeth},
    {.name = "cbProtocol", .page = Page::Sources, .kind = Combo, .at = fld::ProtocolIndex, .type = FieldType::UInt16, .caption = {"Protocol", "Протокол"}, .items = {}, .shown = Shown::ManualProtocolChoice, .itemSource = ItemSource::ProtocolNames, .onStore = OnStore::ChangeProtocol},
    {.name = "cbProtTypeMain", .page = Page::Sources, .kind = Combo, .at = fld::ProtocolOption(0), .type = FieldType::UInt8, .caption = {"", ""}, .items = {}, .shown = Shown::ProtocolOption, .captionRule = CaptionRule::ProtocolOption, .itemSource = ItemSource::ProtocolOption, .arg = 0},
    {.name = "cbProtTypeAdd1", .page = Page::Sources, .kind = Combo, .at = fld::ProtocolOption(1), .type = FieldType::UInt8, .caption = {"", ""}, .items = {}, .shown = Shown::ProtocolOption, .captionRule = CaptionRule::ProtocolOption, .itemSource = ItemSource::ProtocolOption, .arg = 1},
    {.name = "cbProtTypeAdd2", .page = Page::Sources, .kind = Combo, .at = fld::ProtocolOption(2), .type = FieldType::UInt8, .caption = {"", ""}, .items = {}, .shown = Shown::ProtocolOption, .captionRule = CaptionRule::ProtocolOption, .itemSource = ItemSource::ProtocolOption, .arg = 2},
    {.name = "cbProtTypeAdd3", .page = Page::Sources, .kind = Combo, .at = fld::ProtocolOption(3), .type = FieldType::UInt8, .caption = {"", ""}, .items = {}, .shown = Shown::ProtocolOption, .captionRule = CaptionRule::ProtocolOption, .itemSource = ItemSource::ProtocolOption, .arg = 3},
    {.name = "cbProtTypeAdd4", .page = Page::Sources, .kind = Combo, .at = fld::ProtocolOption(4), .type = FieldType::UInt8, .caption = {"", ""}, .items = {}, .shown = Shown::ProtocolOption, .captionRule = CaptionRule::ProtocolOption, .itemSource = ItemSource::ProtocolOption, .arg = 4},
    {.name = "cbProtTypeAdd5", .page = Page::Sources, .kind = Combo, .at = fld::ProtocolOption(5), .type = FieldType::UInt8, .caption = {"", ""}, .items = {}, .shown = Shown::ProtocolOption, .captionRule = CaptionRule::ProtocolOption, .itemSource = ItemSource::ProtocolOption, .arg = 5},
    {.name = "cbProtTypeAdd6", .page = Page::Sources, .kind = Combo, .at = fld::ProtocolOption(6), .type = FieldType::UInt8, .caption = {"", ""}, .items = {}, .shown = Shown::ProtocolOption, .captionRule = CaptionRule::ProtocolOption, .itemSource = ItemSource::ProtocolOption, .arg = 6},
    {.name = "cbProtTypeAdd7", .page = Page::Sources, .kind = Combo, .at = fld::ProtocolOption(7), .type = FieldType::UInt8, .caption = {"", ""}, .items = {}, .shown = Shown::ProtocolOption, .captionRule = CaptionRule::ProtocolOption, .itemSource = ItemSource::ProtocolOption, .arg = 7},
    {.name = "rgLockType", .page = Page::Sources, .kind = Radio, .at = fld::VirtualLock, .type = FieldType::Bit, .caption = {"Ignition lock", "Замок зажигания"}, .items = {{"Phys.", "Физич."}, {"Virt.", "Вирт."}}, .shown = Shown::LockType, .onStore = OnStore::RestrictSpeedSource},
    {.name = "rgLockTypeLevel", .page = Page::Sources, .kind = Radio, .at = fld::LockLevel, .type = FieldType::Int8, .caption = {"Ignition lock level", "Уровень виртуального замка"}, .items = {}, .shown = Shown::LockLevel, .itemSource = ItemSource::LockLevel, .map = ValueMap::IndexPlusOne},
    {.name = "rgGabarType", .page = Page::Sources, .kind = Radio, .at = fld::ParkingLightsFromEcu, .type = FieldType::Bit, .caption = {"Parking lights", "Габариты"}, .items = {{"Phys", "Физич."}, {"ECU", "ЭБУ"}}, .shown = Shown::ParkingLightsSource},
    {.name = "rgGabarInvPol", .page = Page::Sources, .kind = Radio, .at = fld::ParkingLightsInverted, .type = FieldType::Bit, .caption = {"Park.lights level", "Полярность входа Габариты"}, .items = {{"Straight(1)", "1 (Прямая)"}, {"Inverse(0)", "0 (Инверсная)"}}, .shown = Shown::ParkingLightsLevel},
    {.name = "cbTankMode", .page = Page::Sources, .kind = Combo, .at = fld::TankMode, .type = FieldType::Int8, .caption = {"Tank", "Бак"}, .items = {{"Calibr.2", "Калибров.2"}, {"Calibr.7", "Калибров.7"}, {"Tare", "Тарирован."}, {"Not calibr.", "Некалибр."}}},
    {.name = "cbTankMeth", .page = Page::Sources, .kind = Combo, .at = fld::TankSource, .type = FieldType::Int8, .caption = {"Tank type", "Бак тип"}, .items = {}, .itemSource = ItemSource::TankMeth},
    {.name = "cbUseTank2", .page = Page::Sources, .kind = Check, .at = fld::SecondTank, .type = FieldType::Bit, .caption = {"Use tank 2", "Использовать бак 2"}, .items = {}},
    {.name = "cbCorrTankByAcc", .page = Page::Sources, .kind = Check, .at = fld::NoTankCompensation, .type = FieldType::Bit, .caption = {"Compens. V batt.", "Компенсац. Uбс"}, .items = {}, .map = ValueMap::InvertedBit},
    {.name = "seTankContFull", .page = Page::Sources, .kind = Spin, .at = fld::FullTankPetrol, .type = FieldType::Int16, .min = 16, .max = 2040, .caption = {"Full tank (petrol), l", "Полный бак (бензин), л"}, .items = {}},
    {.name = "seGazContFull", .page = Page::Sources, .kind = Spin, .at = fld::FullTankGas, .type = FieldType::Int16, .min = 10, .max = 300, .caption = {"Full tank (gas), l", "Полный бак (газ), л"}, .items = {}, .shown = Shown::GasFuel},
    {.name = "rgVelocityMeth", .page = Page::Sources, .kind = Radio, .at = fld::SpeedSource, .type = FieldType::Int8, .caption = {"Speed", "Скорость"}, .items = {}, .itemSource = ItemSource::VelocityMeth, .enabledItems = EnabledItems::EcuNeedsEcuProtocol, .onStore = OnStore::RestrictSpeedSource},
    {.name = "rgRevolutionsMeth", .page = Page::Sources, .kind = Radio, .at = fld::EngineSpeedSource, .type = FieldType::Int8, .caption = {"Engine speed", "Обороты"}, .items = {{"ECU", "ЭБУ"}, {"Inj", "Форс."}}, .shown = Shown::EngineSources},
    {.name = "rgExpenseMeth", .page = Page::Sources, .kind = Radio, .at = fld::PetrolSource, .type = FieldType::Int8, .caption = {"Petrol expense", "Расход бензина"}, .items = {{"ECU", "ЭБУ"}, {"Inj", "Форс."}}, .shown = Shown::EngineSources},
    {.name = "rgGasMeth", .page = Page::Sources, .kind = Radio, .at = fld::GasSource, .type = FieldType::Int8, .caption = {"Gas expense", "Расход газа"}, .items = {{"ECU", "ЭБУ"}, {"Inj", "Форс."}}, .shown = Shown::GasSource, .disabled = true},
    {.name = "rgGasCalcExp", .page = Page::Sources, .kind = Radio, .at = fld::GasConsumptionVariant2, .type = FieldType::Bit, .caption = {"Gas eq.cons.", "Расход ГБО"}, .items = {{"Var 1", "Вар.1"}, {"Var 2", "Вар.2"}}, .shown = Shown::GasFuel},
    {.name = "rgPrognozMeth", .page = Page::Sources, .kind = Radio, .at = fld::PrognosisMethod, .type = FieldType::Int8, .caption = {"Mileage progn.", "Прогноз пробега"}, .items = {{"Aver.", "Средн"}, {"10 km", "10 км"}, {"Man.", "Ручн."}}},
    {.name = "seK100Manual", .page = Page::Sources, .kind = Spin, .at = fld::ManualConsumption, .type = FieldType::Int16, .scale = 10, .min = 1.0, .max = 99.9, .step = 0.1, .decimals = 1, .caption = {"Expense/100 manual coef.", "К-т потреб. топлива (Р/100 руч.)"}, .items = {}},
    {.name = "cbGasOil", .page = Page::Sources, .kind = Check, .at = fld::GasPetrolMode, .type = FieldType::Bit, .caption = {"Gas/Petrol mode on", "Включить режим Газ/Бензин"}, .items = {}, .shown = Shown::GasFuel},
    {.name = "cbLightsOn", .page = Page::Sources, .kind = Check, .at = fld::LowBeamControl, .type = FieldType::Bit, .caption = {"Low beam control on", "Включить управление ближним светом"}, .items = {}, .shown = Shown::LowBeam},
    {.name = "rgAirTemperMeth", .page = Page::Sources, .kind = Radio, .at = fld::DynamicAirTemp, .type = FieldType::Bit, .caption = {"Air temper.measurement algor.", "Алгоритм измерения Т воздуха"}, .items = {{"Norm", "Обычн."}, {"Dyn.", "Динамич."}}, .shown = Shown::AirTempAlgorithm},
    {.name = "rgUaccMeth", .page = Page::Sources, .kind = Radio, .at = fld::BatterySource, .type = FieldType::UInt8, .caption = {"Battery voltage", "Напряжение аккумулятора"}, .items = {{"ECU", "ЭБУ"}, {"Sens.", "Датч."}}, .shown = Shown::BatterySource},
    {.name = "sgTrimMeth", .page = Page::Sources, .kind = Radio, .at = fld::TrimSource, .type = FieldType::Int8, .caption = {"Trim", "Трим"}, .items = {{"ECU", "ЭБУ"}, {"Sens", "Датч."}}, .shown = Shown::TrimSource},
    {.name = "rgAirWaterShow", .page = Page::Sources, .kind = Radio, .at = fld::TemperatureSignature, .type = FieldType::Int8, .caption = {"Temperature signature", "Подпись температуры"}, .items = {{"air", "воз"}, {"wat", "вод"}, {"eng", "дв."}}, .shown = Shown::TemperatureSignature, .onStore = OnStore::RenameParameters},
    {.name = "rgAirTemperGetMeth", .page = Page::Sources, .kind = Radio, .at = fld::AirTempSource, .type = FieldType::UInt8, .caption = {"Air temper.", "Твоздуха"}, .items = {{"ECU", "ЭБУ"}, {"Sens.", "Датч."}}, .shown = Shown::AirTempSource},
    {.name = "seLiqTemperLimit", .page = Page::Limits, .kind = Spin, .at = fld::CoolantLimit, .type = FieldType::Int16, .min = 30, .max = 150, .caption = {"Coolant temper., C", "ТОЖ, С"}, .items = {}, .shown = Shown::Coolant, .captionRule = CaptionRule::CoolantLimit},
    {.name = "seRevolutionsLimit", .page = Page::Limits, .kind = Spin, .at = fld::EngineSpeedLimit, .type = FieldType::Int8, .min = 25, .max = 80, .caption = {"Engine speed, rpm*100", "Обороты двиг., об/мин * 100"}, .items = {}},
    {.name = "seVelocityLimit", .page = Page::Limits, .kind = Spin, .at = fld::SpeedLimit, .type = FieldType::Int8, .scale = 0.5, .min = 40, .max = 200, .step = 2, .noTyping = true, .caption = {"Speed, km/h", "Скорость, км/час"}, .items = {}},
    {.name = "seStopVelocityLimit", .page = Page::Limits, .kind = Spin, .at = fld::JamSpeedLimit, .type = FieldType::Int16, .min = 0, .max = 200, .step = 2, .caption = {"Jam speed, km/h", "Скорость  пробки, км/час"}, .items = {}, .shown = Shown::JamSpeed},
    {.name = "seTankLimit", .page = Page::Limits, .kind = Spin, .at = fld::FuelLowLimit, .type = FieldType::Int8, .min = 5, .max = 99, .step = 2, .caption = {"Fuel rem., l", "Остаток бака, л"}, .items = {}},
    {.name = "seUaccLowLimit", .page = Page::Limits, .kind = Spin, .at = fld::BatteryLowLimit, .type = FieldType::Int16, .scale = 10, .min = 9.0, .max = 13.9, .step = 0.2, .decimals = 1, .caption = {"Low batt.voltage, V", "Низкое напряжение АКБ, В"}, .items = {}, .range = RangeRule::BatteryLow},
    {.name = "seUaccHighLimit", .page = Page::Limits, .kind = Spin, .at = fld::BatteryHighLimit, .type = FieldType::Int16, .scale = 10, .min = 14.0, .max = 16.0, .step = 0.2, .decimals = 1, .caption = {"High batt.voltage, V", "Высокое напряжение АКБ, В"}, .items = {}, .range = RangeRule::BatteryHigh},
    {.name = "seVentTempLimit", .page = Page::Limits, .kind = Spin, .at = fld::FanTempLimit, .type = FieldType::Int16, .min = 75, .max = 115, .caption = {"Fan on temper., C", "Т вкл. вентилятора, С"}, .items = {}, .shown = Shown::FanTemp, .range = RangeRule::FanTemp},
    {.name = "seVentVelLimit", .page = Page::Limits, .kind = Spin, .at = fld::FanSpeedLimit, .type = FieldType::Int16, .min = 20, .max = 200, .caption = {"Fan on speed", "Скорость вкл вентилятора"}, .items = {}, .shown = Shown::FanSpeed},
    {.name = "seInjTimeLimit", .page = Page::Limits, .kind = Spin, .at = fld::IdleInjectionLimit, .type = FieldType::Int8, .min = 1, .max = 99, .caption = {"High inj.time on idle, %", "Превыш. времени впр. на ХХ ,%"}, .items = {}},
    {.name = "seLiqTemperReady", .page = Page::Limits, .kind = Spin, .at = fld::WarmUpTemp, .type = FieldType::Int8, .min = 10, .max = 110, .caption = {"Engine heat.temper, C", "Т прогрева двигателя, С"}, .items = {}, .shown = Shown::WarmUp},
    {.name = "seVel100", .page = Page::Limits, .kind = Spin, .at = fld::AccelerationSpeed, .type = FieldType::Int16, .min = 40, .max = 200, .caption = {"Zero to km/h", "Разгон до, км/час"}, .items = {}, .shown = Shown::AccelTiming},
    {.name = "seVel100Down", .page = Page::Limits, .kind = Spin, .at = fld::BrakingSpeed, .type = FieldType::Int16, .min = 40, .max = 200, .step = 2, .caption = {"Braking from km/h", "Торможение с, км/час"}, .items = {}, .shown = Shown::AccelTiming},
    {.name = "seVelMinForExp", .page = Page::Limits, .kind = Spin, .at = fld::HourlyConsumptionSpeed, .type = FieldType::Int8, .min = 5, .max = 15, .step = 2, .caption = {"Expense 100/h", "Расх 100/час"}, .items = {}},
    {.name = "seVAGSFilterLimit", .page = Page::Limits, .kind = Spin, .at = fld::SootFilterLimit, .type = FieldType::Int8, .min = 5, .max = 60, .caption = {"Diesel filter filling, %", "Наполнение сажевого фильтра, %"}, .items = {}, .shown = Shown::SootFilter},
    {.name = "seOilAKPPTemperLimit", .page = Page::Limits, .kind = Spin, .at = fld::AtOilTempLimit, .type = FieldType::Int16, .min = 80, .max = 150, .caption = {"AT oil temper., C", "Т масла АКПП, С"}, .items = {}, .shown = Shown::AtOilTemp},
    {.name = "seOilEngTemperLimit", .page = Page::Limits, .kind = Spin, .at = fld::EngineOilTempLimit, .type = FieldType::Int16, .min = 30, .max = 150, .caption = {"Engine  oil temper., C", "Т масла ДВС, С"}, .items = {}, .shown = Shown::EngineOilTemp},
    {.name = "seCVTFDeteriorLim", .page = Page::Limits, .kind = Spin, .at = fld::AtOilWearLimit, .type = FieldType::Int16, .min = 10, .max = 100, .caption = {"AT oil deterior. *1000", "Износ масла АКПП * 1000"}, .items = {}, .shown = Shown::AtOilWear},
    {.name = "seRetarderOilTemperLimit", .page = Page::Limits, .kind = Spin, .at = fld::RetarderOilTempLimit, .type = FieldType::Int16, .min = 30, .max = 200, .caption = {"Retarder oil temper., C", "Т масла ретардера, С"}, .items = {}, .shown = Shown::RetarderOil},
    {.name = "seInvTemperLimit", .page = Page::Limits, .kind = Spin, .at = fld::InverterTempLimit, .type = FieldType::Int8, .min = 50, .max = 120, .caption = {"Inverter temper., C", "Т инвертора, C"}, .items = {}, .shown = Shown::Hybrid},
    {.name = "seHVBTemperLimit", .page = Page::Limits, .kind = Spin, .at = fld::HvbTempLimit, .type = FieldType::Int8, .min = 40, .max = 80, .caption = {"HVB temper., C", "Т ВВБ, C"}, .items = {}, .shown = Shown::Hybrid},
    {.name = "seAddCoolingTemper", .page = Page::Limits, .kind = Spin, .at = fld::ExtraCoolingTemp, .type = FieldType::Int8, .min = 90, .max = 100, .caption = {"Eng.add.cool.temper., C", "Т Доп.Охл.ДВС, C"}, .items = {}, .shown = Shown::HybridExtraCooling},
    {.name = "seElEngTemperLimit", .page = Page::Limits, .kind = Spin, .at = fld::ElectricMotorTempLimit, .type = FieldType::Int16, .min = 30, .max = 200, .caption = {"T el.motor, C", "Т эл.двигателя, С"}, .items = {}, .shown = Shown::Hybrid},
    {.name = "seHVBChargeLevelLowLimit", .page = Page::Limits, .kind = Spin, .at = fld::HvbChargeLowLimit, .type = FieldType::Int8, .min = 20, .max = 40, .caption = {"Low HVB charge lvl,%", "Низкий заряд ВВБ,%"}, .items = {}, .shown = Shown::Hybrid},
    {.name = "seHVBChargeLevelHighLimit", .page = Page::Limits, .kind = Spin, .at = fld::HvbChargeHighLimit, .type = FieldType::Int8, .min = 75, .max = 90, .caption = {"High HVB charge lvl,%", "Высокий заряд ВВБ,%"}, .items = {}, .shown = Shown::Hybrid},
    {.name = "seHybrVentSpeedStep", .page = Page::Limits, .kind = Spin, .at = fld::HybridFanStep, .type = FieldType::Int8, .min = 1, .max = 3, .caption = {"T step on fan speed calc", "Шаг Т при расчете скорости вент.ВВБ "}, .items = {}, .shown = Shown::Hybrid},
    {.name = "cbHybridCoolHVB", .page = Page::Limits, .kind = Check, .at = fld::HvbHeating, .type = FieldType::Bit, .caption = {"HVB heating", "Нагр.ВВБ"}, .items = {}, .shown = Shown::Hybrid},
    {.name = "cbHybrUse6VentSpeed", .page = Page::Limits, .kind = Check, .at = fld::HvbSixSpeedFan, .type = FieldType::Bit, .caption = {"Use 6 speed HVB fan", "Исп. 6 скорость вент. ВВБ"}, .items = {}, .shown = Shown::Hybrid},
    {.name = "rg24VMode", .page = Page::Limits, .kind = Radio, .at = fld::Battery24V, .type = FieldType::Bit, .caption = {"Use battery", "Режим работы с АКБ"}, .items = {{"12V", "12В"}, {"24V", "24В"}}, .shown = Shown::Battery24V, .disabled = true},
    {.name = "seTrimLowLimit", .page = Page::Limits, .kind = Spin, .at = fld::TrimLowLimit, .type = FieldType::Int8, .min = -9, .max = 90, .caption = {"Low limit", "Нижний предел"}, .items = {}, .shown = Shown::TrimLimits, .range = RangeRule::TrimLow},
    {.name = "seTrimHighLimit", .page = Page::Limits, .kind = Spin, .at = fld::TrimHighLimit, .type = FieldType::Int8, .min = -9, .max = 90, .caption = {"High limit", "Верхний предел"}, .items = {}, .shown = Shown::TrimLimits, .range = RangeRule::TrimHigh},

    // ---- Display options (tsDivers), and the colour scheme of manual mode ----
    {.name = "rgIntenseMeth", .page = Page::DisplayOptions, .kind = Radio, .at = fld::BrightnessMethod, .type = FieldType::Nibble, .caption = {"Display brightness control", "Управление яркостью дисплея"}, .items = {{"Man.", "Руч."}, {"Time", "Время"}, {"P.lights", "Габар."}}, .enabledItems = EnabledItems::ThirdNeedsLightAlerts},
    {.name = "rgColorMeth", .page = Page::DisplayOptions, .kind = Radio, .at = fld::ColourSchemeMethod, .type = FieldType::Nibble, .caption = {"Display color scheme control", "Управление цветовой схемой"}, .items = {{"Man.", "Руч."}, {"Time", "Время"}, {"P.lights", "Габар."}}, .enabledItems = EnabledItems::ThirdNeedsLightAlerts},
    {.name = "meIntenseDayTime", .page = Page::DisplayOptions, .kind = ControlKind::TextEdit, .at = fld::DayTime, .type = FieldType::TimeOfDay, .caption = {"Day brightness on time", "Время вкл. ДНЕВНОЙ яркости"}, .items = {}},
    {.name = "meIntenseNightTime", .page = Page::DisplayOptions, .kind = ControlKind::TextEdit, .at = fld::NightTime, .type = FieldType::TimeOfDay, .caption = {"Night brightness on time", "Время вкл. НОЧНОЙ яркости"}, .items = {}},
    {.name = "seIntense0", .page = Page::DisplayOptions, .kind = Spin, .at = fld::BrightnessDay, .type = FieldType::UInt8, .min = 0, .max = 4, .caption = {"Backlight brightness (Day)", "Яркость подсветки (День)"}, .items = {}},
    {.name = "seIntense1", .page = Page::DisplayOptions, .kind = Spin, .at = fld::BrightnessNight, .type = FieldType::UInt8, .min = 0, .max = 4, .caption = {"Backlight brightness (Night)", "Яркость подсветки (Ночь)"}, .items = {}},
    {.name = "rgActiveColorScheme", .page = Page::DisplayOptions, .kind = Radio, .at = fld::ManualColourScheme, .type = FieldType::Int8, .caption = {"Color scheme in manual mode", "Цветовая схема в руч. режиме"}, .items = {{"Day", "День"}, {"Night", "Ночь"}}},
    {.name = "rgDispSpeed", .page = Page::DisplayOptions, .kind = Radio, .at = fld::DisplaySpeed, .type = FieldType::Int8, .caption = {"Information output speed, time/sec", "Скорость вывода информации, раз/сек"}, .items = {{"1", "1"}, {"2", "2"}, {"3", "3"}, {"4", "4"}}},
    {.name = "cbDispShowTitle", .page = Page::DisplayOptions, .kind = Check, .at = fld::ShowStartScreen, .type = FieldType::Bit, .caption = {"Show title", "Заставка показывать"}, .items = {}},
    {.name = "cbShowDispName", .page = Page::DisplayOptions, .kind = Check, .at = fld::ShowDisplayNames, .type = FieldType::Bit, .caption = {"Show display names", "Подпись дисп. показывать"}, .items = {}},
    {.name = "rgDispShowPBMeth", .page = Page::DisplayOptions, .kind = Radio, .at = fld::BoundsProgressBars, .type = FieldType::Bit, .caption = {"Progressbar", "Прогрессбар"}, .items = {{"Max", "Макс."}, {"Bounds", "Границы"}}},
    {.name = "rgDispShowArrowMeth", .page = Page::DisplayOptions, .kind = Radio, .at = fld::SmoothArrows, .type = FieldType::Bit, .caption = {"Dynamics (when showing arrows)", "Динамика (При показе стрелок)"}, .items = {{"Data", "Данные"}, {"Smooth", "Сглаживать"}}},
    {.name = "seExpPBLim", .page = Page::DisplayOptions, .kind = Spin, .at = fld::InstantConsumptionLimit, .type = FieldType::Int16, .min = 3, .max = 99, .caption = {"Mom.Fuel Cns Limit, l/h", "Мновенный расход Предел, л/час "}, .items = {}},
    // ---- Sounds, averages, parking radar, fuel tank and maintenance ------------
    // Alerts: SoundBlock byte = alert number. A `_F` group is bits 0..2, a `_N`
    // group bits 3..5; an alert with one group stores its mode × 9.
    {.name = "rgapUAccHigh_F", .page = Page::Sounds, .kind = Radio, .at = fld::AlertBatteryHigh, .type = FieldType::UInt8, .caption = {"High batt.volt.", "Высокое U АКБ"}, .items = kModes, .enabledItems = EnabledItems::SpokenNeedVoice, .map = ValueMap::AlertFirst},
    {.name = "rgapUAccHigh_N", .page = Page::Sounds, .kind = Radio, .at = fld::AlertBatteryHigh, .type = FieldType::UInt8, .caption = {"High batt.volt.", "Высокое U АКБ"}, .items = kModes, .enabledItems = EnabledItems::SpokenNeedVoice, .map = ValueMap::AlertNext},
    {.name = "rgapUAccLow_F", .page = Page::Sounds, .kind = Radio, .at = fld::AlertBatteryLow, .type = FieldType::UInt8, .caption = {"Low batt.volt.", "Низкое U АКБ"}, .items = kModes, .enabledItems = EnabledItems::SpokenNeedVoice, .map = ValueMap::AlertFirst},
    {.name = "rgapUAccLow_N", .page = Page::Sounds, .kind = Radio, .at = fld::AlertBatteryLow, .type = FieldType::UInt8, .caption = {"Low batt.volt.", "Низкое U АКБ"}, .items = kModes, .enabledItems = EnabledItems::SpokenNeedVoice, .map = ValueMap::AlertNext},
    {.name = "rgapVel_F", .page = Page::Sounds, .kind = Radio, .at = fld::AlertSpeeding, .type = FieldType::UInt8, .caption = {"High speed", "Превыш.скорость"}, .items = kModes, .enabledItems = EnabledItems::SpokenNeedVoice, .map = ValueMap::AlertFirst},
    {.name = "rgapVel_N", .page = Page::Sounds, .kind = Radio, .at = fld::AlertSpeeding, .type = FieldType::UInt8, .caption = {"High speed", "Превыш.скорость"}, .items = kModes, .enabledItems = EnabledItems::SpokenNeedVoice, .map = ValueMap::AlertNext},
    {.name = "rgapRev_F", .page = Page::Sounds, .kind = Radio, .at = fld::AlertEngineSpeed, .type = FieldType::UInt8, .caption = {"High eng.speed", "Превыш.обороты"}, .items = kModes, .enabledItems = EnabledItems::SpokenNeedVoice, .map = ValueMap::AlertFirst},
    {.name = "rgapRev_N", .page = Page::Sounds, .kind = Radio, .at = fld::AlertEngineSpeed, .type = FieldType::UInt8, .caption = {"High eng.speed", "Превыш.обороты"}, .items = kModes, .enabledItems = EnabledItems::SpokenNeedVoice, .map = ValueMap::AlertNext},
    {.name = "rgapTank_F", .page = Page::Sounds, .kind = Radio, .at = fld::AlertFuelLow, .type = FieldType::UInt8, .caption = {"Fuel rem.", "Остаток бака"}, .items = kModes, .enabledItems = EnabledItems::SpokenNeedVoice, .map = ValueMap::AlertFirst},
    {.name = "rgapTank_N", .page = Page::Sounds, .kind = Radio, .at = fld::AlertFuelLow, .type = FieldType::UInt8, .caption = {"Fuel rem.", "Остаток бака"}, .items = kModes, .enabledItems = EnabledItems::SpokenNeedVoice, .map = ValueMap::AlertNext},
    {.name = "rgapHolo_F", .page = Page::Sounds, .kind = Radio, .at = fld::AlertGlazeIce, .type = FieldType::UInt8, .caption = {"Glaze ice", "Гололед"}, .items = kModes, .shown = Shown::AlertGlazeIce, .enabledItems = EnabledItems::SpokenNeedVoice, .map = ValueMap::AlertFirst},
    {.name = "rgapHolo_N", .page = Page::Sounds, .kind = Radio, .at = fld::AlertGlazeIce, .type = FieldType::UInt8, .caption = {"Glaze ice", "Гололед"}, .items = kModes, .shown = Shown::AlertGlazeIce, .enabledItems = EnabledItems::SpokenNeedVoice, .map = ValueMap::AlertNext},
    {.name = "rgapTO_F", .page = Page::Sounds, .kind = Radio, .at = fld::AlertService, .type = FieldType::UInt8, .caption = {"Make TS", "Выполнить ТО"}, .items = kModes, .enabledItems = EnabledItems::SpokenNeedVoice, .map = ValueMap::AlertSingle},
    {.name = "rgap100_F", .page = Page::Sounds, .kind = Radio, .at = fld::AlertAcceleration, .type = FieldType::UInt8, .caption = {"Acceleration", "Разгон"}, .items = kModes, .shown = Shown::AccelTiming, .enabledItems = EnabledItems::SpokenNeedVoice, .map = ValueMap::AlertFirst},
    {.name = "rgap100_N", .page = Page::Sounds, .kind = Radio, .at = fld::AlertAcceleration, .type = FieldType::UInt8, .caption = {"Acceleration", "Разгон"}, .items = kModes, .shown = Shown::AccelTiming, .enabledItems = EnabledItems::SpokenNeedVoice, .map = ValueMap::AlertNext},
    {.name = "rgap100Down_F", .page = Page::Sounds, .kind = Radio, .at = fld::AlertBraking, .type = FieldType::UInt8, .caption = {"Braking", "Торможение"}, .items = kModes, .shown = Shown::AccelTiming, .enabledItems = EnabledItems::SpokenNeedVoice, .map = ValueMap::AlertFirst},
    {.name = "rgap100Down_N", .page = Page::Sounds, .kind = Radio, .at = fld::AlertBraking, .type = FieldType::UInt8, .caption = {"Braking", "Торможение"}, .items = kModes, .shown = Shown::AccelTiming, .enabledItems = EnabledItems::SpokenNeedVoice, .map = ValueMap::AlertNext},
    {.name = "rgapError_F", .page = Page::Sounds, .kind = Radio, .at = fld::AlertFault, .type = FieldType::UInt8, .caption = {"Fault", "Неисправность"}, .items = kModes, .shown = Shown::AlertFault, .enabledItems = EnabledItems::SpokenNeedVoice, .map = ValueMap::AlertSingle},
    {.name = "rgapLiqTempHigh_F", .page = Page::Sounds, .kind = Radio, .at = fld::AlertCoolantOverheat, .type = FieldType::UInt8, .caption = {"Coolant overheat", "Перегрев ОЖ"}, .items = kModes, .shown = Shown::Coolant, .captionRule = CaptionRule::CoolantAlert, .enabledItems = EnabledItems::SpokenNeedVoice, .map = ValueMap::AlertFirst},
    {.name = "rgapLiqTempHigh_N", .page = Page::Sounds, .kind = Radio, .at = fld::AlertCoolantOverheat, .type = FieldType::UInt8, .caption = {"Coolant overheat", "Перегрев ОЖ"}, .items = kModes, .shown = Shown::Coolant, .captionRule = CaptionRule::CoolantAlert, .enabledItems = EnabledItems::SpokenNeedVoice, .map = ValueMap::AlertNext},
    {.name = "rgapEconom_F", .page = Page::Sounds, .kind = Radio, .at = fld::AlertEconometer, .type = FieldType::UInt8, .caption = {"Econometer", "Эконометр"}, .items = kModes, .enabledItems = EnabledItems::SpokenNeedVoice, .map = ValueMap::AlertFirst},
    {.name = "rgapEconom_N", .page = Page::Sounds, .kind = Radio, .at = fld::AlertEconometer, .type = FieldType::UInt8, .caption = {"Econometer", "Эконометр"}, .items = kModes, .enabledItems = EnabledItems::SpokenNeedVoice, .map = ValueMap::AlertNext},
    {.name = "rgapGabar_F", .page = Page::Sounds, .kind = Radio, .at = fld::AlertParkingLights, .type = FieldType::UInt8, .caption = {"PArk.lights", "Габариты"}, .items = kModes, .shown = Shown::AlertLights, .enabledItems = EnabledItems::SpokenNeedVoice, .map = ValueMap::AlertSingle},
    {.name = "rgapTankFull_F", .page = Page::Sounds, .kind = Radio, .at = fld::AlertFullTank, .type = FieldType::UInt8, .caption = {"Full tank", "Полный бак"}, .items = kModes, .enabledItems = EnabledItems::SpokenNeedVoice, .map = ValueMap::AlertSingle},
    {.name = "rgapInjTime_F", .page = Page::Sounds, .kind = Radio, .at = fld::AlertInjectionTime, .type = FieldType::UInt8, .caption = {"%Inj/Exp", "%Впрыск/расход"}, .items = kModes, .enabledItems = EnabledItems::SpokenNeedVoice, .map = ValueMap::AlertSingle},
    {.name = "rgapLiqTempReady_F", .page = Page::Sounds, .kind = Radio, .at = fld::AlertWarmUp, .type = FieldType::UInt8, .caption = {"Eng.heat.", "Прогрев ДВС"}, .items = kModes, .shown = Shown::AlertWarmUp, .enabledItems = EnabledItems::SpokenNeedVoice, .map = ValueMap::AlertSingle},
    {.name = "rgapLights_F", .page = Page::Sounds, .kind = Radio, .at = fld::AlertLowBeam, .type = FieldType::UInt8, .caption = {"Low beam", "Ближн.Свет"}, .items = kModes, .shown = Shown::AlertLights, .enabledItems = EnabledItems::SpokenNeedVoice, .map = ValueMap::AlertSingle},
    {.name = "rgapSFilter_F", .page = Page::Sounds, .kind = Radio, .at = fld::AlertSootFilterOrWater, .type = FieldType::UInt8, .caption = {"Diesel filter", "Сажевый фильтр"}, .items = kModes, .shown = Shown::AlertSootFilter, .enabledItems = EnabledItems::SpokenNeedVoice, .map = ValueMap::AlertSingle, .storedWhen = StoredWhen::NotWaterInFuel},
    {.name = "rgapWaterInFuel_F", .page = Page::Sounds, .kind = Radio, .at = fld::AlertSootFilterOrWater, .type = FieldType::UInt8, .caption = {"Water in fuel", "Вода в топливе"}, .items = kModes, .shown = Shown::AlertWaterInFuel, .captionRule = CaptionRule::WaterInFuelAlert, .enabledItems = EnabledItems::SpokenNeedVoice, .map = ValueMap::AlertFirst},
    {.name = "rgapWaterInFuel_N", .page = Page::Sounds, .kind = Radio, .at = fld::AlertSootFilterOrWater, .type = FieldType::UInt8, .caption = {"Water in fuel", "Вода в топливе"}, .items = kModes, .shown = Shown::AlertWaterInFuel, .captionRule = CaptionRule::WaterInFuelAlert, .enabledItems = EnabledItems::SpokenNeedVoice, .map = ValueMap::AlertNext},
    {.name = "rgapTemperOilAKPPHigh_F", .page = Page::Sounds, .kind = Radio, .at = fld::AlertAtOilOverheat, .type = FieldType::UInt8, .caption = {"AT overheat", "Перегрев АКПП"}, .items = kModes, .shown = Shown::AtOilTemp, .enabledItems = EnabledItems::SpokenNeedVoice, .map = ValueMap::AlertFirst},
    {.name = "rgapTemperOilAKPPHigh_N", .page = Page::Sounds, .kind = Radio, .at = fld::AlertAtOilOverheat, .type = FieldType::UInt8, .caption = {"AT overheat", "Перегрев АКПП"}, .items = kModes, .shown = Shown::AtOilTemp, .enabledItems = EnabledItems::SpokenNeedVoice, .map = ValueMap::AlertNext},
    {.name = "rgapTemperOilEngHigh_F", .page = Page::Sounds, .kind = Radio, .at = fld::AlertEngineOilOverheat, .type = FieldType::UInt8, .caption = {"Eng.oil overheat", "Перегрев масла ДВС"}, .items = kModes, .shown = Shown::EngineOilTemp, .enabledItems = EnabledItems::SpokenNeedVoice, .map = ValueMap::AlertFirst},
    {.name = "rgapTemperOilEngHigh_N", .page = Page::Sounds, .kind = Radio, .at = fld::AlertEngineOilOverheat, .type = FieldType::UInt8, .caption = {"Eng.oil overheat", "Перегрев масла ДВС"}, .items = kModes, .shown = Shown::EngineOilTemp, .enabledItems = EnabledItems::SpokenNeedVoice, .map = ValueMap::AlertNext},
    {.name = "rgapCVTFDeterior_F", .page = Page::Sounds, .kind = Radio, .at = fld::AlertAtOilWear, .type = FieldType::UInt8, .caption = {"AT iol deter.", "Износ масла АКПП"}, .items = kModes, .shown = Shown::AlertAtOilWear, .enabledItems = EnabledItems::SpokenNeedVoice, .map = ValueMap::AlertSingle},
    {.name = "rgapHVBTemperHigh_F", .page = Page::Sounds, .kind = Radio, .at = fld::AlertHvbOverheat, .type = FieldType::UInt8, .caption = {"HVB overheat", "Перегрев ВВБ"}, .items = kModes, .shown = Shown::Hybrid, .enabledItems = EnabledItems::SpokenNeedVoice, .map = ValueMap::AlertFirst},
    {.name = "rgapHVBTemperHigh_N", .page = Page::Sounds, .kind = Radio, .at = fld::AlertHvbOverheat, .type = FieldType::UInt8, .caption = {"HVB overheat", "Перегрев ВВБ"}, .items = kModes, .shown = Shown::Hybrid, .enabledItems = EnabledItems::SpokenNeedVoice, .map = ValueMap::AlertNext},
    {.name = "rgapInvTemperHigh_F", .page = Page::Sounds, .kind = Radio, .at = fld::AlertInverterOverheat, .type = FieldType::UInt8, .caption = {"Inv.overheat", "Перегрев инвертора"}, .items = kModes, .shown = Shown::Hybrid, .enabledItems = EnabledItems::SpokenNeedVoice, .map = ValueMap::AlertFirst, .mirrorWithTrim = fld::AlertHvbOverheat},
    {.name = "rgapInvTemperHigh_N", .page = Page::Sounds, .kind = Radio, .at = fld::AlertInverterOverheat, .type = FieldType::UInt8, .caption = {"Inv.overheat", "Перегрев инвертора"}, .items = kModes, .shown = Shown::Hybrid, .enabledItems = EnabledItems::SpokenNeedVoice, .map = ValueMap::AlertNext, .mirrorWithTrim = fld::AlertHvbOverheat},
    {.name = "rgapElEngTemperHigh_F", .page = Page::Sounds, .kind = Radio, .at = fld::AlertInverterOverheat, .type = FieldType::UInt8, .caption = {"ElEng.overheat", "Перегрев ЭлДвиг"}, .items = kModes, .shown = Shown::Hybrid, .enabledItems = EnabledItems::SpokenNeedVoice, .map = ValueMap::AlertFirst, .mirrorWithTrim = fld::AlertHvbOverheat},
    {.name = "rgapElEngTemperHigh_N", .page = Page::Sounds, .kind = Radio, .at = fld::AlertInverterOverheat, .type = FieldType::UInt8, .caption = {"ElEng.overheat", "Перегрев ЭлДвиг"}, .items = kModes, .shown = Shown::Hybrid, .enabledItems = EnabledItems::SpokenNeedVoice, .map = ValueMap::AlertNext, .mirrorWithTrim = fld::AlertHvbOverheat},
    {.name = "rgapTrimLow_F", .page = Page::Sounds, .kind = Radio, .at = fld::AlertTrimLow, .type = FieldType::UInt8, .caption = {"Low trim", "Низкий трим"}, .items = kModes, .shown = Shown::TrimLimits, .enabledItems = EnabledItems::SpokenNeedVoice, .map = ValueMap::AlertFirst},
    {.name = "rgapTrimLow_N", .page = Page::Sounds, .kind = Radio, .at = fld::AlertTrimLow, .type = FieldType::UInt8, .caption = {"Low trim", "Низкий трим"}, .items = kModes, .shown = Shown::TrimLimits, .enabledItems = EnabledItems::SpokenNeedVoice, .map = ValueMap::AlertNext},
    {.name = "rgapTrimHigh_F", .page = Page::Sounds, .kind = Radio, .at = fld::AlertTrimHigh, .type = FieldType::UInt8, .caption = {"High trim", "Высокий трим"}, .items = kModes, .shown = Shown::TrimLimits, .enabledItems = EnabledItems::SpokenNeedVoice, .map = ValueMap::AlertFirst},
    {.name = "rgapTrimHigh_N", .page = Page::Sounds, .kind = Radio, .at = fld::AlertTrimHigh, .type = FieldType::UInt8, .caption = {"High trim", "Высокий трим"}, .items = kModes, .shown = Shown::TrimLimits, .enabledItems = EnabledItems::SpokenNeedVoice, .map = ValueMap::AlertNext},
    {.name = "rgapEngTemperHigh_F", .page = Page::Sounds, .kind = Radio, .at = fld::AlertEngineOverheat, .type = FieldType::UInt8, .caption = {"Engine overheat", "Перегрев ДВС"}, .items = kModes, .shown = Shown::AlertEngineOverheat, .captionRule = CaptionRule::EngineOverheatAlert, .enabledItems = EnabledItems::SpokenNeedVoice, .map = ValueMap::AlertFirst},
    {.name = "rgapEngTemperHigh_N", .page = Page::Sounds, .kind = Radio, .at = fld::AlertEngineOverheat, .type = FieldType::UInt8, .caption = {"Engine overheat", "Перегрев ДВС"}, .items = kModes, .shown = Shown::AlertEngineOverheat, .captionRule = CaptionRule::EngineOverheatAlert, .enabledItems = EnabledItems::SpokenNeedVoice, .map = ValueMap::AlertNext},
    {.name = "rgapRetarderOilTemperHigh_F", .page = Page::Sounds, .kind = Radio, .at = fld::AlertRetarderOverheat, .type = FieldType::UInt8, .caption = {"Retard.overheat", "Перегрев ретардера"}, .items = kModes, .shown = Shown::AlertRetarder, .enabledItems = EnabledItems::SpokenNeedVoice, .map = ValueMap::AlertFirst},
    {.name = "rgapRetarderOilTemperHigh_N", .page = Page::Sounds, .kind = Radio, .at = fld::AlertRetarderOverheat, .type = FieldType::UInt8, .caption = {"Retard.overheat", "Перегрев ретардера"}, .items = kModes, .shown = Shown::AlertRetarder, .enabledItems = EnabledItems::SpokenNeedVoice, .map = ValueMap::AlertNext},
    // Sounds ("Разное" of tsVoice).
    {.name = "seSoundVolume", .page = Page::Sounds, .kind = Spin, .at = fld::SoundVolume, .type = FieldType::Int8, .min = 0, .max = 8, .caption = {"Sound volume", "Громкость"}, .items = {}, .shown = Shown::Voice},
    {.name = "rgFlagSound", .page = Page::Sounds, .kind = Radio, .at = fld::SoundOff, .type = FieldType::Int8, .caption = {"Sound off", "Откл.звук"}, .items = {{"Yas", "Да"}, {"No", "Нет"}, {"Lock", "Замок"}, {"VoiceOff", "ОтГол"}}},
    {.name = "rgSayHelloMode", .page = Page::Sounds, .kind = Radio, .at = fld::GreetingMode, .type = FieldType::Int8, .caption = {"Say \"Hello\"", "Произносить \"Здравствуйте\""}, .items = {{"On", "Вкл."}, {"Once a day", "Раз в сутки"}, {"Off", "Откл."}}, .shown = Shown::Voice},
    {.name = "seSayParamPeriod", .page = Page::Sounds, .kind = Spin, .at = fld::ParameterAnnouncePeriod, .type = FieldType::Int8, .min = 4, .max = 99, .caption = {"Period of auto.rep. of the sound of parameters (4=Off)", "Период автоповтора озвуч. параметров  (4=откл)"}, .items = {}, .shown = Shown::Voice},
    {.name = "seAlarmVelSecNoSayMax", .page = Page::Sounds, .kind = Spin, .at = fld::SpeedingReportThinning, .type = FieldType::Int8, .min = -1, .max = 99, .caption = {"Thinning out reports of speeding(-1=N)", "Прореживание сообщений о превыш. скорости, мин (-1=П) "}, .items = {}},
    {.name = "seSayEconomPeriod", .page = Page::Sounds, .kind = Spin, .at = fld::EconomyAnnouncePeriod, .type = FieldType::Int8, .min = 1, .max = 20, .caption = {"Econometer period", "Эконометр период"}, .items = {}},
    {.name = "cbSoundKeys", .page = Page::Sounds, .kind = Check, .at = fld::KeySound, .type = FieldType::Bit, .caption = {"Sound on when key pressed", "Вкл. звук при нажатии кнопок"}, .items = {}},
    {.name = "cbSoundLock", .page = Page::Sounds, .kind = Check, .at = fld::LockSound, .type = FieldType::Bit, .caption = {"Sound on when lock on", "Вкл. звук при включении замка зажигания"}, .items = {}},
    // Averages.
    {.name = "sePriceTime", .page = Page::Averages, .kind = Spin, .at = fld::PriceHour, .type = FieldType::Int16, .min = 0, .max = 999, .caption = {"Time, 1h", "Время, 1час"}, .items = {}},
    {.name = "sePricePath", .page = Page::Averages, .kind = Spin, .at = fld::PriceKm, .type = FieldType::Int16, .scale = 10, .min = 0, .max = 99.9, .step = 0.1, .decimals = 1, .caption = {"Path,1km", "Пробег, 1км"}, .items = {}},
    {.name = "sePriceExpense", .page = Page::Averages, .kind = Spin, .at = fld::PricePetrol, .type = FieldType::Int16, .scale = 10, .min = 0, .max = 99.9, .step = 0.1, .decimals = 1, .caption = {"Petrol,1l", "Бензин, 1л"}, .items = {}},
    {.name = "sePriceGas", .page = Page::Averages, .kind = Spin, .at = fld::PriceGas, .type = FieldType::Int16, .scale = 10, .min = 0, .max = 99.9, .step = 0.1, .decimals = 1, .caption = {"Gas,1l", "Газ, 1л"}, .items = {}, .shown = Shown::GasFuel},
    {.name = "cbResetPeriod0", .page = Page::Averages, .kind = Combo, .at = fld::ResetPeriod1, .type = FieldType::Int8, .caption = {"Autoreset period 1", "Период автосброса 1"}, .items = {}, .itemSource = ItemSource::ResetPeriod, .arg = 0},
    {.name = "cbResetPeriod1", .page = Page::Averages, .kind = Combo, .at = fld::ResetPeriod2, .type = FieldType::Int8, .caption = {"Autoreset period 2", "Период автосброса 2"}, .items = {}, .itemSource = ItemSource::ResetPeriod, .map = ValueMap::MinusOne, .arg = 1},
    {.name = "cbResetPeriodOnly", .page = Page::Averages, .kind = Combo, .at = fld::ResetPeriodGasPetrol, .type = FieldType::Int8, .caption = {"G/P", "Г/Б"}, .items = {}, .shown = Shown::GasFuel, .itemSource = ItemSource::ResetPeriod, .map = ValueMap::MinusOne, .arg = 1},
    {.name = "seTripMinStop", .page = Page::Averages, .kind = Spin, .at = fld::TripContinueStop, .type = FieldType::Int16, .scale = 0.2, .min = 0, .max = 995, .step = 5, .noTyping = true, .caption = {"continuous trips", "Непрерывание поезки, мин"}, .items = {}},
    // Parking radar: rear (0) and front (1).
    {.name = "seParkSense0", .page = Page::ParkingRadar, .kind = Spin, .at = fld::ParkSensitivity(0), .type = FieldType::Int8, .min = 1, .max = 7, .caption = {"Sensitivity", "Чувствительность"}, .items = {}},
    {.name = "seParkSpeed0", .page = Page::ParkingRadar, .kind = Spin, .at = fld::ParkSpeed(0), .type = FieldType::Int8, .min = 1, .max = 3, .caption = {"Speed", "Быстродействие"}, .items = {}},
    {.name = "seParkMinLeng0", .page = Page::ParkingRadar, .kind = Spin, .at = fld::ParkAlarmLength(0), .type = FieldType::Int8, .scale = 0.1, .min = 30, .max = 90, .step = 10, .noTyping = true, .caption = {"Alarm limit, cm", "Граница тревога, см"}, .items = {}},
    {.name = "seParkStopVel0", .page = Page::ParkingRadar, .kind = Spin, .at = fld::ParkStopSpeed(0), .type = FieldType::Int8, .min = 0, .max = 20, .caption = {"ParkStop speed", "ПаркStop скорость"}, .items = {}},
    {.name = "seParkStopLeng0", .page = Page::ParkingRadar, .kind = Spin, .at = fld::ParkStopLength(0), .type = FieldType::Int8, .scale = 0.1, .min = 40, .max = 250, .step = 10, .noTyping = true, .caption = {"ParkStop,cm", "ПаркStop cм"}, .items = {}},
    {.name = "seParkStopLengBeep", .page = Page::ParkingRadar, .kind = Spin, .at = fld::ParkStopBeepLength, .type = FieldType::Int8, .scale = 0.1, .min = 40, .max = 250, .step = 10, .noTyping = true, .caption = {"Stop buzz cm", "Бип Stop cм"}, .items = {}},
    {.name = "rgParkBeepType", .page = Page::ParkingRadar, .kind = Radio, .at = fld::ParkBeepType, .type = FieldType::Int8, .caption = {"Sound type", "Тип озвучки"}, .items = {{"No", "Нет"}, {"Buzz", "Zumm"}, {"Limit", "Пред."}, {"Voice", "Голос"}}},
    {.name = "seParkSense1", .page = Page::ParkingRadar, .kind = Spin, .at = fld::ParkSensitivity(1), .type = FieldType::Int8, .min = 1, .max = 7, .caption = {"Sensitivity", "Чувствительность"}, .items = {}},
    {.name = "seParkSpeed1", .page = Page::ParkingRadar, .kind = Spin, .at = fld::ParkSpeed(1), .type = FieldType::Int8, .min = 1, .max = 3, .caption = {"Speed", "Быстродействие"}, .items = {}},
    {.name = "seParkMinLeng1", .page = Page::ParkingRadar, .kind = Spin, .at = fld::ParkAlarmLength(1), .type = FieldType::Int8, .scale = 0.1, .min = 30, .max = 90, .step = 10, .noTyping = true, .caption = {"Alarm limit, cm", "Граница тревога, см"}, .items = {}},
    {.name = "seParkStopVel1", .page = Page::ParkingRadar, .kind = Spin, .at = fld::ParkStopSpeed(1), .type = FieldType::Int8, .min = 0, .max = 90, .caption = {"Park.speed", "Парк скорость"}, .items = {}},
    {.name = "seParkStopLeng1", .page = Page::ParkingRadar, .kind = Spin, .at = fld::ParkStopLength(1), .type = FieldType::Int8, .scale = 0.1, .min = 50, .max = 250, .step = 10, .noTyping = true, .caption = {"Park,cm", "Парк cм"}, .items = {}},
    // Fuel tank: the two linear tables (FuelBlock) and the tare count.
    {.name = "seOil6L", .page = Page::FuelTank, .kind = Spin, .at = fld::TwoPointCode(0), .type = FieldType::Int16, .min = 0, .max = 2000, .caption = {"2 points: point 1, CU", "2 точки: точка 1, у.е."}, .items = {}},
    {.name = "seLit6L", .page = Page::FuelTank, .kind = Spin, .at = fld::TwoPointLitres(0), .type = FieldType::Int16, .min = 0, .max = 2040, .caption = {"2 points: point 1, litres", "2 точки: точка 1, литры"}, .items = {}, .range = RangeRule::FullTank},
    {.name = "seOil43L", .page = Page::FuelTank, .kind = Spin, .at = fld::TwoPointCode(1), .type = FieldType::Int16, .min = 0, .max = 2000, .caption = {"2 points: point 2, CU", "2 точки: точка 2, у.е."}, .items = {}},
    {.name = "seLit43L", .page = Page::FuelTank, .kind = Spin, .at = fld::TwoPointLitres(1), .type = FieldType::Int16, .min = 0, .max = 2040, .caption = {"2 points: point 2, litres", "2 точки: точка 2, литры"}, .items = {}, .range = RangeRule::FullTank},
    {.name = "seOilCalibrQuant", .page = Page::FuelTank, .kind = Spin, .at = fld::SevenPointCount, .type = FieldType::UInt8, .min = 0, .max = 7, .caption = {"Points qnt", "Кол-во точек"}, .items = {}},
    {.name = "seOilCalibrResArr0", .page = Page::FuelTank, .kind = Spin, .at = fld::SevenPointCode(0), .type = FieldType::Int16, .min = 0, .max = 2000, .caption = {"7 points: point 1, CU", "7 точек: точка 1, у.е."}, .items = {}, .shown = Shown::SevenPoint, .arg = 0},
    {.name = "seOilCalibrResArr1", .page = Page::FuelTank, .kind = Spin, .at = fld::SevenPointCode(1), .type = FieldType::Int16, .min = 0, .max = 2000, .caption = {"7 points: point 2, CU", "7 точек: точка 2, у.е."}, .items = {}, .shown = Shown::SevenPoint, .arg = 1},
    {.name = "seOilCalibrResArr2", .page = Page::FuelTank, .kind = Spin, .at = fld::SevenPointCode(2), .type = FieldType::Int16, .min = 0, .max = 2000, .caption = {"7 points: point 3, CU", "7 точек: точка 3, у.е."}, .items = {}, .shown = Shown::SevenPoint, .arg = 2},
    {.name = "seOilCalibrResArr3", .page = Page::FuelTank, .kind = Spin, .at = fld::SevenPointCode(3), .type = FieldType::Int16, .min = 0, .max = 2000, .caption = {"7 points: point 4, CU", "7 точек: точка 4, у.е."}, .items = {}, .shown = Shown::SevenPoint, .arg = 3},
    {.name = "seOilCalibrResArr4", .page = Page::FuelTank, .kind = Spin, .at = fld::SevenPointCode(4), .type = FieldType::Int16, .min = 0, .max = 2000, .caption = {"7 points: point 5, CU", "7 точек: точка 5, у.е."}, .items = {}, .shown = Shown::SevenPoint, .arg = 4},
    {.name = "seOilCalibrResArr5", .page = Page::FuelTank, .kind = Spin, .at = fld::SevenPointCode(5), .type = FieldType::Int16, .min = 0, .max = 2000, .caption = {"7 points: point 6, CU", "7 точек: точка 6, у.е."}, .items = {}, .shown = Shown::SevenPoint, .arg = 5},
    {.name = "seOilCalibrResArr6", .page = Page::FuelTank, .kind = Spin, .at = fld::SevenPointCode(6), .type = FieldType::Int16, .min = 0, .max = 2000, .caption = {"7 points: point 7, CU", "7 точек: точка 7, у.е."}, .items = {}, .shown = Shown::SevenPoint, .arg = 6},
    {.name = "seOilCalibrLitArr0", .page = Page::FuelTank, .kind = Spin, .at = fld::SevenPointLitres(0), .type = FieldType::Int16, .min = 0, .max = 2040, .caption = {"7 points: point 1, litres", "7 точек: точка 1, литры"}, .items = {}, .shown = Shown::SevenPoint, .range = RangeRule::FullTank, .arg = 0},
    {.name = "seOilCalibrLitArr1", .page = Page::FuelTank, .kind = Spin, .at = fld::SevenPointLitres(1), .type = FieldType::Int16, .min = 0, .max = 2040, .caption = {"7 points: point 2, litres", "7 точек: точка 2, литры"}, .items = {}, .shown = Shown::SevenPoint, .range = RangeRule::FullTank, .arg = 1},
    {.name = "seOilCalibrLitArr2", .page = Page::FuelTank, .kind = Spin, .at = fld::SevenPointLitres(2), .type = FieldType::Int16, .min = 0, .max = 2040, .caption = {"7 points: point 3, litres", "7 точек: точка 3, литры"}, .items = {}, .shown = Shown::SevenPoint, .range = RangeRule::FullTank, .arg = 2},
    {.name = "seOilCalibrLitArr3", .page = Page::FuelTank, .kind = Spin, .at = fld::SevenPointLitres(3), .type = FieldType::Int16, .min = 0, .max = 2040, .caption = {"7 points: point 4, litres", "7 точек: точка 4, литры"}, .items = {}, .shown = Shown::SevenPoint, .range = RangeRule::FullTank, .arg = 3},
    {.name = "seOilCalibrLitArr4", .page = Page::FuelTank, .kind = Spin, .at = fld::SevenPointLitres(4), .type = FieldType::Int16, .min = 0, .max = 2040, .caption = {"7 points: point 5, litres", "7 точек: точка 5, литры"}, .items = {}, .shown = Shown::SevenPoint, .range = RangeRule::FullTank, .arg = 4},
    {.name = "seOilCalibrLitArr5", .page = Page::FuelTank, .kind = Spin, .at = fld::SevenPointLitres(5), .type = FieldType::Int16, .min = 0, .max = 2040, .caption = {"7 points: point 6, litres", "7 точек: точка 6, литры"}, .items = {}, .shown = Shown::SevenPoint, .range = RangeRule::FullTank, .arg = 5},
    {.name = "seOilCalibrLitArr6", .page = Page::FuelTank, .kind = Spin, .at = fld::SevenPointLitres(6), .type = FieldType::Int16, .min = 0, .max = 2040, .caption = {"7 points: point 7, litres", "7 точек: точка 7, литры"}, .items = {}, .shown = Shown::SevenPoint, .range = RangeRule::FullTank, .arg = 6},
    {.name = "cbTarirFlagFinish", .page = Page::FuelTank, .kind = Check, .at = fld::TareFinished, .type = FieldType::UInt8, .caption = {"Tare finished", "Тарировка проведена"}, .items = {}},
    {.name = "seTarirLeng", .page = Page::FuelTank, .kind = Spin, .at = fld::TareCount, .type = FieldType::UInt8, .min = 0, .max = 68, .caption = {"Tare points qnt", "Количество точек тарировки"}, .items = {}},
    // Maintenance (ServiceBlock).
    {.name = "seAirFiltCntK", .page = Page::Maintenance, .kind = Spin, .at = fld::AirFilterLeft, .type = FieldType::Int8, .min = 0, .max = 99, .caption = {"Air filt.repl.", "Замена.возд.ф."}, .items = {}, .captionRule = CaptionRule::ServiceInterval, .range = RangeRule::ServiceInterval},
    {.name = "cbAirFiltCntK", .page = Page::Maintenance, .kind = Check, .at = fld::ReminderAirFilter, .type = FieldType::Bit, .caption = {"use: air filter", "использ.: возд.фильтр"}, .items = {}, .shown = Shown::ServiceItem, .onStore = OnStore::ClearReminderHighBits},
    {.name = "seKPPOilCntK", .page = Page::Maintenance, .kind = Spin, .at = fld::GearboxOilLeft, .type = FieldType::Int8, .min = 0, .max = 99, .caption = {"Gearbox oil ch", "Замена мас.КПП"}, .items = {}, .shown = Shown::ServiceItem},
    {.name = "cbKPPOilCntK", .page = Page::Maintenance, .kind = Check, .at = fld::ReminderGearboxOil, .type = FieldType::Bit, .caption = {"use: gearbox oil", "использ.: масло КПП"}, .items = {}, .shown = Shown::ServiceItem, .onStore = OnStore::ClearReminderHighBits},
    {.name = "seForsTOCntK", .page = Page::Maintenance, .kind = Spin, .at = fld::UserItem1Left, .type = FieldType::Int8, .min = 0, .max = 99, .caption = {"User item 1", "Пункт 1"}, .items = {}, .shown = Shown::ServiceItem, .captionFrom = "eForsTOCntK"},
    {.name = "eForsTOCntK", .page = Page::Maintenance, .kind = ControlKind::TextEdit, .at = fld::UserItem1Name, .type = FieldType::Text, .caption = {"Name of user item 1", "Название пункта 1"}, .items = {}, .shown = Shown::ServiceItem},
    {.name = "cbForsTOCntK", .page = Page::Maintenance, .kind = Check, .at = fld::ReminderUserItem1, .type = FieldType::Bit, .caption = {"use: user item 1", "использ.: пункт 1"}, .items = {}, .shown = Shown::ServiceItem, .onStore = OnStore::ClearReminderHighBits},
    {.name = "seGRMStrapCntK", .page = Page::Maintenance, .kind = Spin, .at = fld::UserItem2Left, .type = FieldType::Int8, .min = 0, .max = 99, .caption = {"User item 2", "Пункт 2"}, .items = {}, .shown = Shown::ServiceItem, .captionFrom = "eGRMStrapCntK"},
    {.name = "eGRMStrapCntK", .page = Page::Maintenance, .kind = ControlKind::TextEdit, .at = fld::UserItem2Name, .type = FieldType::Text, .caption = {"Name of user item 2", "Название пункта 2"}, .items = {}, .shown = Shown::ServiceItem},
    {.name = "cbGRMStrapCntK", .page = Page::Maintenance, .kind = Check, .at = fld::ReminderUserItem2, .type = FieldType::Bit, .caption = {"use: user item 2", "использ.: пункт 2"}, .items = {}, .shown = Shown::ServiceItem, .onStore = OnStore::ClearReminderHighBits},
    {.name = "seCoolLiqCntK", .page = Page::Maintenance, .kind = Spin, .at = fld::CoolantLeft, .type = FieldType::Int8, .min = 0, .max = 99, .caption = {"Coolant repl.", "Замена охл.жидк."}, .items = {}, .shown = Shown::ServiceItem},
    {.name = "cbCoolLiqCntK", .page = Page::Maintenance, .kind = Check, .at = fld::ReminderCoolant, .type = FieldType::Bit, .caption = {"use: coolant", "использ.: охл.жидкость"}, .items = {}, .shown = Shown::ServiceItem, .onStore = OnStore::ClearReminderHighBits},
    {.name = "seEngOilCntK", .page = Page::Maintenance, .kind = Spin, .at = fld::EngineOilLeft, .type = FieldType::Int8, .min = 0, .max = 99, .caption = {"Eng.oil change", "Замена масла дв."}, .items = {}, .shown = Shown::ServiceItem},
    {.name = "cbEngOilCntK", .page = Page::Maintenance, .kind = Check, .at = fld::ReminderEngineOil, .type = FieldType::Bit, .caption = {"use: engine oil", "использ.: масло дв."}, .items = {}, .shown = Shown::ServiceItem, .onStore = OnStore::ClearReminderHighBits},
    {.name = "seCandleCntK", .page = Page::Maintenance, .kind = Spin, .at = fld::UserItem3Left, .type = FieldType::Int8, .min = 0, .max = 99, .caption = {"User item 3", "Пункт 3"}, .items = {}, .shown = Shown::ServiceItem, .captionFrom = "eCandleCntK"},
    {.name = "eCandleCntK", .page = Page::Maintenance, .kind = ControlKind::TextEdit, .at = fld::UserItem3Name, .type = FieldType::Text, .caption = {"Name of user item 3", "Название пункта 3"}, .items = {}, .shown = Shown::ServiceItem},
    {.name = "cbCandleCntK", .page = Page::Maintenance, .kind = Check, .at = fld::ReminderUserItem3, .type = FieldType::Bit, .caption = {"use: user item 3", "использ.: пункт 3"}, .items = {}, .shown = Shown::ServiceItem, .onStore = OnStore::ClearReminderHighBits},
    {.name = "deTO", .page = Page::Maintenance, .kind = ControlKind::DateEdit, .at = fld::ServiceDate, .type = FieldType::UInt16, .caption = {"TS date", "Дата след.ТО"}, .items = {}},
    {.name = "cbTO", .page = Page::Maintenance, .kind = Check, .at = fld::ReminderServiceDate, .type = FieldType::Bit, .caption = {"use: TS date", "использ.: дата ТО"}, .items = {}, .shown = Shown::ServiceItem, .onStore = OnStore::ClearReminderHighBits},
    {.name = "deOSAGO", .page = Page::Maintenance, .kind = ControlKind::DateEdit, .at = fld::InsuranceDate, .type = FieldType::UInt16, .caption = {"Insurance", "Дата опл.ОСАГО"}, .items = {}, .shown = Shown::ServiceItem},
    {.name = "cbOSAGO", .page = Page::Maintenance, .kind = Check, .at = fld::ReminderInsurance, .type = FieldType::Bit, .caption = {"use: insurance", "использ.: ОСАГО"}, .items = {}, .shown = Shown::ServiceItem, .onStore = OnStore::ClearReminderHighBits},
    {.name = "seMotoHourLim", .page = Page::Maintenance, .kind = Spin, .at = fld::EngineHoursLimit, .type = FieldType::Int16, .min = 0, .max = 3000, .caption = {"Eng.hours", "Моточасы"}, .items = {}},
    {.name = "cbMotoHour", .page = Page::Maintenance, .kind = Check, .at = fld::ReminderEngineHours, .type = FieldType::Bit, .caption = {"use: engine hours", "использ.: моточасы"}, .items = {}, .onStore = OnStore::ClearReminderHighBits},
    // The universal input page: two calibration points.
    {.name = "seUniMeasDat0", .page = Page::UniversalInput, .kind = Spin, .at = fld::UniversalDataMin, .type = FieldType::Int16, .min = -180, .max = 2500, .caption = {"Data Min", "Показания Мин"}, .items = {}},
    {.name = "seUniMeasADC0", .page = Page::UniversalInput, .kind = Spin, .at = fld::UniversalAdcMin, .type = FieldType::Int16, .min = 0, .max = 1023, .caption = {"ADC Min", "АЦП Мин"}, .items = {}, .differsFrom = "seUniMeasADC1"},
    {.name = "seUniMeasDat1", .page = Page::UniversalInput, .kind = Spin, .at = fld::UniversalDataMax, .type = FieldType::Int16, .min = -180, .max = 2500, .caption = {"Data Max", "Показания Макс"}, .items = {}},
    {.name = "seUniMeasADC1", .page = Page::UniversalInput, .kind = Spin, .at = fld::UniversalAdcMax, .type = FieldType::Int16, .min = 0, .max = 1023, .caption = {"ADC Max", "АЦП Макс"}, .items = {}, .differsFrom = "seUniMeasADC0"},
};
// clang-format on

} // namespace

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

int RowWidth(const FieldRow &row)
{
    switch (row.type) {
    case FieldType::Text:
    case FieldType::Bit:
    case FieldType::Nibble: return row.at.field.width;
    default: return FieldWidth(row.type);
    }
}

int FieldWidth(FieldType type)
{
    switch (type) {
    case FieldType::Int8:
    case FieldType::UInt8: return 1;
    case FieldType::Int16:
    case FieldType::UInt16:
    case FieldType::TimeOfDay: return 2;
    case FieldType::Int32:
    case FieldType::Float32Factor: return 4;
    case FieldType::Bit:
    case FieldType::Nibble:
    case FieldType::Text: return 0;
    }
    return 0;
}

bool FitsField(FieldType type, int64_t v)
{
    switch (type) {
    case FieldType::Int8: return v >= -128 && v <= 127;
    case FieldType::UInt8: return v >= 0 && v <= 255;
    case FieldType::Int16: return v >= -32768 && v <= 32767;
    case FieldType::UInt16:
    case FieldType::TimeOfDay: return v >= 0 && v <= 65535;
    case FieldType::Nibble: return v >= 0 && v <= 15;
    case FieldType::Int32: return v >= std::numeric_limits<int32_t>::min() && v <= std::numeric_limits<int32_t>::max();
    case FieldType::Bit: return v == 0 || v == 1;
    case FieldType::Float32Factor:
    case FieldType::Text: return false;
    }
    return false;
}

int64_t ReadRaw(const TMK &model, const FieldRow &row)
{
    const uint8_t *b = model.at(row.at.field);
    switch (row.type) {
    case FieldType::Int8: return static_cast<int8_t>(GetU8(b, 0));
    case FieldType::UInt8: return GetU8(b, 0);
    case FieldType::Int16: return GetI16(b, 0);
    case FieldType::UInt16:
    case FieldType::TimeOfDay: return GetU16(b, 0);
    case FieldType::Int32: return GetI32(b, 0);
    case FieldType::Nibble:
    case FieldType::Bit:
        return static_cast<int64_t>((model.get(row.at.field) >> row.at.bit) & ((uint64_t{1} << row.at.bits) - 1));
    case FieldType::Float32Factor:
    case FieldType::Text: break;
    }
    return 0;
}

float ReadFactor(const TMK &model, const FieldRow &row) { return GetF32(model.at(row.at.field), 0); }

void WriteRaw(TMK &model, const FieldRow &row, int64_t value)
{
    if (!FitsField(row.type, value))
        throw TripError(LangText("Range error: %1 does not fit the field of \"%2\"",
                                 "Ошибка диапазона: %1 не помещается в поле \"%2\"")
                            .arg(value)
                            .arg(row.caption.get()));
    uint8_t *b = model.at(row.at.field);
    switch (row.type) {
    case FieldType::Nibble:
    case FieldType::Bit: {
        // The other bits of the field belong to other controls.
        const uint64_t mask = ((uint64_t{1} << row.at.bits) - 1) << row.at.bit;
        const uint64_t bits = (static_cast<uint64_t>(value) << row.at.bit) & mask;
        model.set(row.at.field, static_cast<int64_t>((model.get(row.at.field) & ~mask) | bits));
        break;
    }
    default:
        switch (FieldWidth(row.type)) {
        case 1: SetU8(b, 0, static_cast<uint8_t>(value)); break;
        case 2: SetU16(b, 0, static_cast<uint16_t>(value)); break;
        default: SetU32(b, 0, static_cast<uint32_t>(value));
        }
    }
}

void WriteFactor(TMK &model, const FieldRow &row, float factor)
{
    if (!std::isfinite(factor))
        throw TripError(LangText("Range error: the factor of \"%1\" is not a number",
                                 "Ошибка диапазона: коэффициент \"%1\" не является числом")
                            .arg(row.caption.get()));
    SetF32(model.at(row.at.field), 0, factor);
}

std::optional<int> ItemOfStored(ValueMap map, int64_t stored, int itemCount)
{
    int64_t index = stored;
    switch (map) {
    case ValueMap::IndexPlusOne: index = stored - 1; break;
    case ValueMap::Tachometer:
        index = stored == 1 ? 0 : stored == 2 ? 1 : 2; // any other factor shows "4"
        break;
    case ValueMap::InvertedBit: index = stored ? 0 : 1; break;
    case ValueMap::MinusOne: index = stored + 1; break;
    case ValueMap::AlertFirst:
    case ValueMap::AlertSingle: index = stored & 7; break;
    case ValueMap::AlertNext: index = (stored >> 3) & 7; break;
    case ValueMap::Plain: break;
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
    case ValueMap::AlertFirst: return index + 8 * next;
    case ValueMap::AlertNext: return first + 8 * index;
    default: return index * 9;
    }
}

int64_t StoredOfItem(ValueMap map, int index)
{
    switch (map) {
    case ValueMap::IndexPlusOne: return index + 1;
    case ValueMap::Tachometer: return int64_t{1} << index; // 1, 2, 4
    case ValueMap::InvertedBit: return index ? 0 : 1;
    case ValueMap::MinusOne: return index - 1;
    case ValueMap::AlertSingle: return index * 9;
    case ValueMap::AlertFirst:
    case ValueMap::AlertNext: // the pair rule needs the other group: AlertByte
    case ValueMap::Plain: break;
    }
    return index;
}

QString AlertModeMeaning(int index)
{
    if (index < 0 || index >= static_cast<int>(kModes.size()))
        return {};
    return kModes[static_cast<size_t>(index)].get() + QStringLiteral(" — ") +
           kModeMeanings[static_cast<size_t>(index)].get();
}

QString AlertModeLegend()
{
    QStringList modes;
    for (int i = 0; i < static_cast<int>(kModes.size()); ++i)
        modes << AlertModeMeaning(i);
    return LangText("Modes: ", "Режимы: ") + modes.join(QStringLiteral(", "));
}

} // namespace ed
