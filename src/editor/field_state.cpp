#include "field_state.h"

#include "blocks.h"
#include "cp1251.h"
#include "errors.h"
#include "language.h"
#include "measured_params.h"
#include "menu_catalog.h"
#include "protocol_catalog.h"
#include "tank_service_files.h"
#include "tmk.h"

#include <algorithm>
#include <cmath>

namespace ed {

namespace {

// Texts of the items and captions that the rules build.
const Text kAuto{"Auto", "Авт."};
const Text kAutoObd{"AutoOBD", "АвтOBD"};
const Text kAutoVag{"AutoVAG", "АвтVAG"};
const Text kAutoOpel{"AutoOpl", "АвтOpl"};
const Text kManual{"Man.", "Руч."};
const Text kCalculated{"Calculated", "Расчетный"};
const Text kFls{"FLS", "ДУТ"};
const Text kEcuFls{"ECU FLS", "ДУТ ЭБУ"};
const Text kEcuFls2{"ECU FLS2", "ДУТ ЭБУ2"};
const Text kEcuFls3{"ECU FLS3", "ДУТ ЭБУ3"};
const Text kStart{"Strt", "Стрт"};
const Text kVelEcu{"ECU", "ЭБУ"};
const Text kVelSensor{"Sens.", "Датч."};
const Text kCoolantWatEng{"T wat/eng., C", "Т вод/двиг., С"};
const Text kCoolantCyl{"T cyl., C", "T цил., C"};
const Text kCoolantEcu{"T coolant, C", "ТОЖ, С"};
const Text kCoolantEngine{"T eng., C", "Тдв., С"};
const Text kWaterOverheat{"Water overheat", "Перегрев воды"};
const Text kEngineOverheat{"Engine overheat", "Перегрев двиг."};
const Text kCylinderOverheat{"Cylinder  overheat", "Перегрев цил."};
const Text kEnginePump{"Engine pump", "Помпа ДВС"};
const Text kServiceInterval{"TS th.km", "ТО тыс.км"};
const Text kResetManual{"Man.", "Ручн."};
const Text kResetProhibited{"Proh.", "Запр."};

// Kind codes of the protocol descriptor that the rules name.
constexpr int kCan = 1;
constexpr int kJ1939 = 14;
constexpr int kVagFirst = 82;
constexpr int kOutboardWater = 222;
constexpr int kOutboardAirFirst = 223;
constexpr int kOutboardAirLast = 225;
constexpr int kWaterInFuel = 225;
constexpr int kCarburettor = 254;
constexpr int kUniversal = 255;

constexpr int kLockTypeBit = 0;
constexpr int kParkingLightsEcuBit = 2;
constexpr int kInjectorItem = 1; // "Форс." of the three consumption sources
constexpr int kSignatureEngine = 2;

struct Context {
    const TMK &model;
    const TProtocolCatalog &catalog;
    const TProtBase *protocol;

    bool has(Cap c) const { return catalog.has(c); }
    int kind() const { return protocol ? protocol->Number : -1; }
    bool noEcu() const { return kind() == kCarburettor || kind() == kUniversal; }
    uint32_t mainOptions() const { return GetU32(model.block(mem::LimitsBlock), 0); }
    bool mainBit(int bit) const { return (mainOptions() >> bit) & 1u; }
    int limitsByte(int offset) const { return static_cast<int8_t>(GetU8(model.block(mem::LimitsBlock), offset)); }
    int temperatureSignature() const { return static_cast<int8_t>(GetU8(model.block(mem::ServiceBlock), 7)); }
    bool carbPulses() const { return kind() == kCarburettor && has(Cap::FamCarb); }
    bool injector() const
    {
        return limitsByte(41) == kInjectorItem || limitsByte(42) == kInjectorItem || limitsByte(43) == kInjectorItem;
    }
    bool parkingLightsSource() const
    {
        return protocol && protocol->HasEcuParkingLights && !has(Cap::NoParkingLightPolarity);
    }
};

Context contextOf(const TMK &model, const TProtocolCatalog &catalog)
{
    return {model, catalog, catalog.currentProtocol()};
}

QStringList protocolSelectItems(const TProtocolCatalog &catalog)
{
    QStringList items{kAuto.get()};
    if (catalog.has(Cap::FamOBD2))
        items << kAutoObd.get();
    if (catalog.has(Cap::FamVAG) && !catalog.has(Cap::VagSearchExcluded))
        items << kAutoVag.get();
    if (catalog.has(Cap::FamOpel))
        items << kAutoOpel.get();
    items << kManual.get();
    return items;
}

// The items of a row and which of them can be chosen.
void buildItems(const Context &c, const FieldRow &row, FieldState &s)
{
    switch (row.itemSource) {
    case ItemSource::Static:
        for (const Text &t : row.items)
            s.items << t.get();
        break;
    case ItemSource::ProtocolOption:
        if (c.protocol)
            s.items = c.protocol->offeredItems(row.arg);
        break;
    case ItemSource::ProtocolNames:
        for (const auto &entry : c.catalog.protocolList())
            s.items << entry->Name;
        break;
    case ItemSource::ProtocolSelectMeth:
        s.items = protocolSelectItems(c.catalog);
        break;
    case ItemSource::TankMeth:
        s.items = TankMethItems(c.catalog, c.protocol);
        break;
    case ItemSource::VelocityMeth:
        s.items << kVelEcu.get();
        if (c.has(Cap::SpeedFromGps))
            s.items << QStringLiteral("GPS");
        if (!c.has(Cap::NoSpeedSensor))
            s.items << kVelSensor.get();
        if (c.has(Cap::SpeedFromNmea))
            s.items << QStringLiteral("NMEA");
        break;
    case ItemSource::ResetPeriod:
        if (row.arg == 1)
            s.items << kResetProhibited.get();
        s.items << kResetManual.get();
        for (int days = 1; days <= 99; ++days)
            s.items << QString::number(days);
        break;
    case ItemSource::LockLevel:
        s.items << QStringLiteral("1") << QStringLiteral("2") << QStringLiteral("3");
        if (c.has(Cap::IgnitionLockFixed))
            s.items << kStart.get();
        else if (c.has(Cap::AlternativeDisplay))
            s.items << QStringLiteral("4");
        break;
    }
    s.itemEnabled.assign(static_cast<size_t>(s.items.size()), true);
    if (row.rule == Rule::LightsItems && c.has(Cap::NoLightAlerts) && s.itemEnabled.size() > 2)
        s.itemEnabled[2] = false;
    // The ECU speed source needs a protocol that talks to an ECU.
    if (row.itemSource == ItemSource::VelocityMeth && (!c.protocol || c.noEcu() || c.kind() == kOutboardAirLast))
        s.itemEnabled[0] = false;
    // Without voice the two spoken modes of an alert cannot be chosen.
    if (IsAlertMap(row.map) && c.has(Cap::NoVoice))
        for (size_t i = 3; i < s.itemEnabled.size(); ++i)
            s.itemEnabled[i] = false;
}

bool visible(const Context &c, const FieldRow &row)
{
    const TProtBase *p = c.protocol;
    switch (row.rule) {
    case Rule::Always:
        return true;
    case Rule::GasFuel:
        return !c.has(Cap::NoGasFuel);
    case Rule::SpeedCorrection:
        return !c.has(Cap::NoSpeedCorrection);
    case Rule::AirTempCorrection:
        return !c.has(Cap::LightsOnAirTempInput);
    case Rule::InjectorPolarity:
        return c.injector();
    case Rule::Tachometer:
        return c.injector() && !c.carbPulses();
    case Rule::CarbPulses:
        return c.carbPulses();
    case Rule::ProtocolChoice: {
        if (!p)
            return true; // nothing selected: the user must be able to pick one
        const QStringList methods = protocolSelectItems(c.catalog);
        return GetU8(c.model.block(mem::VehicleBlock), 8) == methods.size() - 1;
    }
    case Rule::ProtocolOption:
        return p && !p->OptionCaption[static_cast<size_t>(row.arg)].isEmpty();
    case Rule::LockType:
        return !c.has(Cap::IgnitionLockFixed);
    case Rule::LockLevel:
        return c.has(Cap::IgnitionLockFixed) || c.mainBit(kLockTypeBit);
    case Rule::ParkingLightsSource:
        return c.parkingLightsSource();
    case Rule::ParkingLightsLevel:
        return !c.has(Cap::NoParkingLightPolarity) &&
               (!c.parkingLightsSource() || !c.mainBit(kParkingLightsEcuBit));
    case Rule::EngineSources:
        return !c.has(Cap::EngineDataFromEcuOnly);
    case Rule::GasSource:
        return !c.has(Cap::EngineDataFromEcuOnly) && !c.has(Cap::NoGasFuel);
    case Rule::LowBeam:
        return c.has(Cap::LowBeamControl);
    case Rule::AirTempAlgorithm:
        return !c.has(Cap::LightsOnAirTempInput) && !c.has(Cap::NoAirTempAlgorithm);
    case Rule::BatterySource:
        return p && p->HasBatterySource;
    case Rule::TrimSource:
        return c.has(Cap::Trim) && p && p->HasTrim;
    case Rule::TemperatureSignature:
        return c.has(Cap::UniversalInput) || c.has(Cap::Trim);
    case Rule::AirTempSource:
        return p && p->HasAirTempSource;
    case Rule::CoolantLimit:
        return p && (p->HasCoolantTemp || c.kind() == kOutboardWater ||
                     (c.noEcu() && c.temperatureSignature() == kSignatureEngine));
    case Rule::WarmUp:
        return p && (p->HasCoolantTemp || (c.kind() >= kOutboardWater && c.kind() <= kOutboardWater + 2));
    case Rule::AtOilTemp:
        return p && p->HasAtOilTemp;
    case Rule::EngineOilTemp:
        return p && p->HasEngineOilTemp;
    case Rule::RetarderOil:
        return c.kind() == kJ1939 && c.has(Cap::Retarder);
    case Rule::AtOilWear:
        return c.kind() == kCan;
    case Rule::FanTemp:
        return p && (p->HasFanControl || p->IsHybrid);
    case Rule::FanSpeed:
        return p && p->HasFanControl;
    case Rule::Hybrid:
        return p && p->IsHybrid;
    case Rule::HybridExtraCooling:
        return p && p->IsHybrid && p->HasExtraCooling;
    case Rule::SootFilter:
        return c.kind() == kVagFirst;
    case Rule::JamSpeed:
        return !c.has(Cap::NoTrafficJamStatistics);
    case Rule::AccelTiming:
        return !c.has(Cap::NoAccelBrakeTiming);
    case Rule::Battery24V:
        return c.has(Cap::Power24V);
    case Rule::TrimLimits:
        return c.has(Cap::Trim);
    case Rule::SevenPoint:
        return row.arg < GetU8(c.model.block(mem::FuelBlock), 36);
    case Rule::ServiceItem:
        return !c.has(Cap::SingleServiceInterval);
    case Rule::Voice:
        return !c.has(Cap::NoVoice);
    case Rule::ParkingRadar:
        return !c.has(Cap::NoParkingRadar);
    case Rule::AlertGlazeIce:
        return !c.has(Cap::LightsOnAirTempInput) && !c.has(Cap::NoAirTempAlgorithm);
    case Rule::AlertFault:
        return p && p->HasFaults;
    case Rule::AlertCoolant:
        return p && (p->HasCoolantTemp || c.kind() == kOutboardWater ||
                     (c.noEcu() && c.temperatureSignature() == kSignatureEngine));
    case Rule::AlertLights:
        return !c.has(Cap::NoLightAlerts);
    case Rule::AlertWarmUp:
        return p && p->HasCoolantTemp;
    case Rule::AlertSootFilter:
        return c.has(Cap::FamVAG);
    case Rule::AlertWaterInFuel:
        return c.kind() == kWaterInFuel || (p && p->IsHybrid);
    case Rule::AlertAtOilWear:
        return c.kind() == kCan || (c.kind() == kJ1939 && c.has(Cap::Retarder));
    case Rule::AlertInverter:
        return p && p->IsHybrid;
    case Rule::AlertEngineOverheat:
        return c.kind() >= kOutboardWater && c.kind() <= kOutboardAirLast;
    case Rule::AlertRetarder:
        return c.kind() == kJ1939;
    case Rule::UniversalInput:
        return c.has(Cap::UniversalInput) || c.has(Cap::Trim);
    case Rule::LightsItems:
        return true;
    }
    return true;
}

QString caption(const Context &c, const FieldRow &row);

// A following-occurrence group is captioned apart from its first-occurrence
// group; on the page both stand in the alert's row, under their headings.
QString groupCaption(const Context &c, const FieldRow &row)
{
    const QString text = caption(c, row);
    return row.map == ValueMap::AlertNext ? text + LangText(" (next)", " (последующие)") : text;
}

QString caption(const Context &c, const FieldRow &row)
{
    if (row.rule == Rule::ProtocolOption)
        return c.protocol ? c.protocol->OptionCaption[static_cast<size_t>(row.arg)] : QString();
    if (row.rule == Rule::CoolantLimit && c.protocol) {
        if (c.kind() == kOutboardWater)
            return kCoolantWatEng.get();
        if (c.kind() >= kOutboardAirFirst && c.kind() <= kOutboardAirLast)
            return kCoolantCyl.get();
        return c.protocol->HasCoolantTemp ? kCoolantEcu.get() : kCoolantEngine.get();
    }
    if (row.rule == Rule::AlertCoolant && c.kind() == kOutboardWater)
        return kWaterOverheat.get();
    if (row.rule == Rule::AlertEngineOverheat && c.kind() == kOutboardWater)
        return kEngineOverheat.get();
    if (row.rule == Rule::AlertEngineOverheat && c.kind() > kOutboardWater)
        return kCylinderOverheat.get();
    if (row.rule == Rule::AlertWaterInFuel && c.kind() != kWaterInFuel)
        return kEnginePump.get();
    if (row.range == RangeRule::ServiceInterval && c.has(Cap::SingleServiceInterval))
        return kServiceInterval.get();
    // The user items are captioned by their names.
    if (row.rule == Rule::ServiceItem && row.kind == ControlKind::SpinEdit && row.arg > 0)
        return ItemName(c.model, row.arg);
    return row.caption.get();
}

void applyRange(const Context &c, const FieldRow &row, FieldState &s)
{
    s.min = row.min;
    s.max = row.max;
    s.step = row.step;
    s.scale = ScaleOf(c.catalog, row);
    s.decimals = row.decimals;
    const bool v24 = c.has(Cap::Power24V);
    switch (row.range) {
    case RangeRule::Static:
        break;
    case RangeRule::BatteryLow:
        if (v24) {
            s.min = 18.0;
            s.max = 27.8;
        }
        break;
    case RangeRule::BatteryHigh:
        if (v24) {
            s.min = 28.0;
            s.max = 32.0;
        }
        break;
    case RangeRule::FanTemp:
        if (c.protocol && c.protocol->IsHybrid) {
            s.min = 25;
            s.max = 60;
        }
        break;
    // The trim bounds follow each other's stored values.
    case RangeRule::TrimLow:
        s.max = std::clamp(c.limitsByte(37) - 1.0, row.min, row.max);
        break;
    case RangeRule::TrimHigh:
        s.min = std::clamp(c.limitsByte(36) + 1.0, row.min, row.max);
        break;
    case RangeRule::FullTank:
        s.max = std::max<double>(0, GetI16(c.model.block(mem::FuelBlock), 44));
        break;
    case RangeRule::ServiceInterval:
        if (c.has(Cap::SingleServiceInterval)) {
            s.max = 9.9;
            s.step = 0.1;
            s.decimals = 1;
        }
        break;
    }
}

const FieldRow &rowNamed(const char *name) { return *FindField(QString::fromLatin1(name)); }

int64_t storedOf(const TMK &model, const FieldRow &row) { return ReadRaw(model, row); }

// With a physical lock on such devices the last speed source cannot be kept; the
// first source that can be chosen takes its place.
void restrictSpeedSource(TMK &model, const TProtocolCatalog &catalog)
{
    const Context c = contextOf(model, catalog);
    if (!c.has(Cap::PhysicalLockRestrictsSpeedSource) || c.mainBit(kLockTypeBit))
        return;
    const FieldRow &row = rowNamed("rgVelocityMeth");
    const FieldState s = EvaluateField(model, catalog, row);
    if (s.items.size() < 2 || storedOf(model, row) != s.items.size() - 1)
        return;
    const auto first = std::find(s.itemEnabled.begin(), s.itemEnabled.end(), true);
    WriteRaw(model, row, first - s.itemEnabled.begin());
}

QString acceptsNumber(const FieldState &s)
{
    const int d = s.decimals;
    QString text = LangText("a number %1..%2", "число %1..%2")
                       .arg(QString::number(s.min, 'f', d), QString::number(s.max, 'f', d));
    if (s.row->noTyping)
        text += LangText(" in steps of %1 from %2", " с шагом %1 от %2")
                    .arg(QString::number(s.step, 'f', d), QString::number(s.min, 'f', d));
    else if (d > 0)
        text += LangText(" with at most %1 decimal(s)", " не более чем с %1 знаками после запятой").arg(d);
    return text;
}

QString controlName(const FieldState &s)
{
    return QStringLiteral("%1 (\"%2\")").arg(QLatin1String(s.row->name), s.caption);
}

// An alert group's choice goes into its alert byte by the pair rule. Alert 17
// belongs to the soot filter only while the protocol is not kind 225; with
// trim, alert 21 follows the inverter's alert 22.
void storeAlert(TMK &model, const TProtocolCatalog &catalog, const FieldRow &row, int index)
{
    const Context c = contextOf(model, catalog);
    if (row.rule == Rule::AlertSootFilter && c.kind() == kWaterInFuel)
        return;
    if (index < 0 || index >= static_cast<int>(row.items.size()))
        throw TripError(LangText("There is no mode %1 for \"%2\"", "Нет режима %1 для \"%2\"")
                            .arg(index)
                            .arg(row.caption.get()));
    uint8_t *sound = model.block(row.block);
    const int value = AlertByte(row.map, index, GetU8(sound, row.offset));
    SetU8(sound, row.offset, static_cast<uint8_t>(value));
    if (row.rule == Rule::AlertInverter && c.has(Cap::Trim))
        SetU8(sound, 21, static_cast<uint8_t>(value));
}

} // namespace

QStringList TankMethItems(const TProtocolCatalog &catalog, const TProtBase *protocol)
{
    QStringList items{kCalculated.get()};
    if (!catalog.has(Cap::NoFuelLevelSensor))
        items << kFls.get();
    const Text ecu[] = {kEcuFls, kEcuFls2, kEcuFls3};
    const int sensors = protocol ? std::clamp(protocol->EcuFuelSensors, 0, 3) : 0;
    for (int i = 0; i < sensors; ++i)
        items << ecu[i].get();
    return items;
}

bool IsAlertMap(ValueMap map)
{
    return map == ValueMap::AlertFirst || map == ValueMap::AlertNext || map == ValueMap::AlertSingle;
}

double ScaleOf(const TProtocolCatalog &catalog, const FieldRow &row)
{
    if (row.range == RangeRule::ServiceInterval && catalog.has(Cap::SingleServiceInterval))
        return 10;
    return row.scale;
}

QString ItemName(const TMK &model, int offset)
{
    const char *slot = reinterpret_cast<const char *>(model.block(mem::ServiceBlock)) + offset;
    const QByteArray bytes(slot, kItemNameSlot);
    const qsizetype end = bytes.indexOf('\0');
    return FromCp1251(end < 0 ? bytes : bytes.left(end));
}

QString DateText(int dayNumber)
{
    const TDate d = DateOfDayNumber(std::max(dayNumber, 1));
    return QStringLiteral("%1.%2.%3")
        .arg(d.day, 2, 10, QLatin1Char('0'))
        .arg(d.month, 2, 10, QLatin1Char('0'))
        .arg(d.year % 100, 2, 10, QLatin1Char('0'));
}

std::optional<int> DayNumberOfText(const QString &text)
{
    if (text.size() != 8 || text[2] != QLatin1Char('.') || text[5] != QLatin1Char('.'))
        return std::nullopt;
    bool okD = false, okM = false, okY = false;
    const int day = text.mid(0, 2).toInt(&okD);
    const int month = text.mid(3, 2).toInt(&okM);
    const int year = text.mid(6, 2).toInt(&okY);
    if (!okD || !okM || !okY || month < 1 || month > 12 || day < 1 || year < 0)
        return std::nullopt;
    const int n = DayNumber(day, month, year);
    if (DateOfDayNumber(n) != TDate{day, month, year}) // 31.04, 29.02 of a common year
        return std::nullopt;
    return n;
}

FieldState EvaluateField(const TMK &model, const TProtocolCatalog &catalog, const FieldRow &row)
{
    const Context c = contextOf(model, catalog);
    FieldState s;
    s.row = &row;
    s.visible = visible(c, row);
    s.enabled = row.rule != Rule::GasSource && row.rule != Rule::Battery24V; // designed disabled
    s.caption = groupCaption(c, row);
    switch (row.kind) {
    case ControlKind::SpinEdit: {
        applyRange(c, row, s);
        // The scale in force, as StoreNumber takes it: the single service
        // interval is kept in tenths.
        const double shown = row.type == FieldType::Float32Factor ? FactorToShown(ReadFactor(model, row))
                                                                   : static_cast<double>(ReadRaw(model, row)) / s.scale;
        s.number = std::clamp(shown, s.min, s.max); // the spin edit shows a stored value clipped
        break;
    }
    case ControlKind::RadioGroup:
    case ControlKind::ComboBox:
        buildItems(c, row, s);
        s.index = ItemOfStored(row.map, ReadRaw(model, row), static_cast<int>(s.items.size()));
        break;
    case ControlKind::CheckBox:
        s.checked = ItemOfStored(row.map, ReadRaw(model, row), 2) == 1;
        break;
    case ControlKind::TextEdit:
        if (row.type == FieldType::TimeOfDay)
            s.text = TimeOfDayText(static_cast<int>(ReadRaw(model, row)));
        else
            s.text = ItemName(model, row.offset);
        break;
    case ControlKind::DateEdit:
        // A date edit shows no day outside its range (an erased 0xFFFF is
        // shown as the latest day), and stores it only when the user changes it.
        s.dayNumber = std::clamp(static_cast<int>(ReadRaw(model, row)), kEarliestDayNumber, kLatestDayNumber);
        s.text = DateText(s.dayNumber);
        break;
    }
    return s;
}

std::vector<FieldState> EvaluateSchema(const TMK &model, const TProtocolCatalog &catalog, const QString &page)
{
    std::vector<FieldState> states;
    for (const FieldRow &row : FieldSchema())
        if (page.isEmpty() || page == QLatin1String(row.page))
            states.push_back(EvaluateField(model, catalog, row));
    return states;
}

QString RefuseEqualAdc(const TMK &model, const TProtocolCatalog &catalog, const FieldRow &row, double shown)
{
    const QLatin1String name(row.name);
    const char *other = name == QLatin1String("seUniMeasADC0")   ? "seUniMeasADC1"
                        : name == QLatin1String("seUniMeasADC1") ? "seUniMeasADC0"
                                                                 : nullptr;
    if (!other || RoundHalfEven(shown) != RoundHalfEven(EvaluateField(model, catalog, rowNamed(other)).number))
        return {};
    return LangText("Min and Max ADC Values should differ.", "Значения АЦП Мин и Макс должны различаться.");
}

void StoreNumber(TMK &model, TProtocolCatalog &catalog, const FieldRow &row, double shown)
{
    if (QString why = RefuseEqualAdc(model, catalog, row, shown); !why.isEmpty())
        throw TripError(why);
    if (row.type == FieldType::Float32Factor)
        WriteFactor(model, row, ShownToFactor(shown));
    else
        WriteRaw(model, row, RoundHalfEven(shown * ScaleOf(catalog, row)));
}

void StoreItem(TMK &model, TProtocolCatalog &catalog, const FieldRow &row, int index)
{
    if (row.itemSource == ItemSource::ProtocolNames) {
        ChangeProtocol(model, catalog, index);
        return;
    }
    if (IsAlertMap(row.map)) {
        storeAlert(model, catalog, row, index);
        return;
    }
    WriteRaw(model, row, StoredOfItem(row.map, index));
    const QLatin1String name(row.name);
    if (name == QLatin1String("rgVelocityMeth") || name == QLatin1String("rgLockType"))
        restrictSpeedSource(model, catalog);
    else if (name == QLatin1String("rgAirWaterShow"))
        RenameParameters(model, catalog);
}

void StoreChecked(TMK &model, TProtocolCatalog & /*catalog*/, const FieldRow &row, bool checked)
{
    WriteRaw(model, row, StoredOfItem(row.map, checked ? 1 : 0));
    // Bits 10 and 11 of the reminder set stay; 12..15 are cleared by any change.
    if (row.map == ValueMap::ReminderBit) {
        uint8_t *b = model.block(row.block);
        SetU16(b, row.offset, static_cast<uint16_t>(GetU16(b, row.offset) & 0x0FFFu));
    }
}

void StoreDate(TMK &model, const FieldRow &row, const QString &text)
{
    const std::optional<int> n = DayNumberOfText(text);
    if (!n || *n < kEarliestDayNumber)
        throw TripError(LangText("\"%1\" is no date from 10.10.11 on", "\"%1\" не является датой не ранее 10.10.11")
                            .arg(text));
    WriteRaw(model, row, *n);
}

namespace {

// The minutes of "hh:mm", or nothing.
std::optional<int> timeOfDay(const QString &text)
{
    if (text.size() != 5 || text[2] != QLatin1Char(':'))
        return std::nullopt;
    bool okH = false, okM = false;
    const int h = text.left(2).toInt(&okH), m = text.mid(3, 2).toInt(&okM);
    if (!okH || !okM || !text[0].isDigit() || !text[3].isDigit() || h > 23 || m > 59)
        return std::nullopt;
    return h * 60 + m;
}

QString timeRefusal(const FieldRow &row, const QString &caption, const QString &text)
{
    return LangText("%1 (\"%2\") takes a time of day hh:mm (00:00..23:59), not \"%3\"",
                    "%1 (\"%2\") принимает время суток чч:мм (00:00..23:59), а не \"%3\"")
        .arg(QLatin1String(row.name), caption, text);
}

} // namespace

void StoreText(TMK &model, TProtocolCatalog & /*catalog*/, const FieldRow &row, const QString &text)
{
    switch (row.type) {
    case FieldType::TimeOfDay: {
        const std::optional<int> minutes = timeOfDay(text);
        if (!minutes)
            throw TripError(timeRefusal(row, row.caption.get(), text));
        WriteRaw(model, row, *minutes);
        return;
    }
    case FieldType::Text: {
        // A longer name loses its tail; the slot's bytes after the zero stay.
        const QByteArray bytes = ToCp1251(text.left(kItemNameLength));
        char *slot = reinterpret_cast<char *>(model.block(row.block)) + row.offset;
        std::copy(bytes.begin(), bytes.end(), slot);
        slot[bytes.size()] = '\0';
        return;
    }
    default:
        throw TripError(LangText("%1 takes no text", "%1 не принимает текст").arg(QLatin1String(row.name)));
    }
}

QString RefuseUnavailable(const FieldState &s)
{
    if (!s.visible && s.row->rule == Rule::ProtocolChoice)
        return LangText("%1 is shown only while cbProtocolSelectMeth is \"%2\"",
                        "%1 показывается, только когда в cbProtocolSelectMeth выбрано \"%2\"")
            .arg(controlName(s), kManual.get());
    if (!s.visible)
        return LangText("%1 is not shown for this device, protocol and settings",
                        "%1 не показывается для этого прибора, протокола и настроек")
            .arg(controlName(s));
    if (!s.enabled)
        return LangText("%1 is shown disabled and cannot be changed", "%1 недоступен для изменения")
            .arg(controlName(s));
    return {};
}

QString RefuseNumber(const FieldState &s, double shown)
{
    if (QString why = RefuseUnavailable(s); !why.isEmpty())
        return why;
    const double eps = 1e-9;
    const double scaled = shown * std::pow(10.0, s.decimals);
    bool ok = std::isfinite(shown) && shown >= s.min - eps && shown <= s.max + eps &&
              std::fabs(scaled - std::round(scaled)) < 1e-6;
    if (ok && s.row->noTyping) {
        const double steps = (shown - s.min) / s.step;
        ok = std::fabs(steps - std::round(steps)) < 1e-6;
    }
    if (ok)
        return {};
    return LangText("%1 does not take %2; it takes %3", "%1 не принимает %2; допустимо: %3")
        .arg(controlName(s), QString::number(shown, 'g', 12), acceptsNumber(s));
}

QString RefuseItem(const FieldState &s, int index)
{
    if (QString why = RefuseUnavailable(s); !why.isEmpty())
        return why;
    const int n = static_cast<int>(s.items.size());
    if (index >= 0 && index < n && s.itemEnabled[static_cast<size_t>(index)])
        return {};
    QStringList offered;
    for (int i = 0; i < n; ++i)
        if (s.itemEnabled[static_cast<size_t>(i)])
            offered << QStringLiteral("%1 (%2)").arg(i).arg(s.items[i]);
    return LangText("%1 has no item %2 to choose; it takes %3", "%1 не имеет пункта %2 для выбора; допустимо: %3")
        .arg(controlName(s))
        .arg(index)
        .arg(offered.isEmpty() ? LangText("no item", "нет пунктов") : offered.join(QStringLiteral(", ")));
}

QString RefuseText(const FieldState &s, const QString &text)
{
    if (QString why = RefuseUnavailable(s); !why.isEmpty())
        return why;
    if (s.row->type == FieldType::TimeOfDay)
        return timeOfDay(text) ? QString() : timeRefusal(*s.row, s.caption, text);
    if (s.row->type != FieldType::Text)
        return LangText("%1 takes no text", "%1 не принимает текст").arg(controlName(s));
    if (text.size() > kItemNameLength)
        return LangText("%1 takes at most %2 characters", "%1 принимает не более %2 символов")
            .arg(controlName(s))
            .arg(kItemNameLength);
    if (FromCp1251(ToCp1251(text)) != text)
        return LangText("%1 takes only characters of Windows-1251", "%1 принимает только символы Windows-1251")
            .arg(controlName(s));
    return {};
}

QString RefuseDate(const FieldState &s, const QString &text)
{
    if (QString why = RefuseUnavailable(s); !why.isEmpty())
        return why;
    const std::optional<int> n = DayNumberOfText(text);
    if (n && *n >= kEarliestDayNumber)
        return {};
    return LangText("%1 takes a date dd.mm.yy from 10.10.11 on, not \"%2\"",
                    "%1 принимает дату дд.мм.гг не ранее 10.10.11, а не \"%2\"")
        .arg(controlName(s), text);
}

void ChangeProtocol(TMK &model, TProtocolCatalog &catalog, int index)
{
    uint8_t *vehicle = model.block(mem::VehicleBlock);
    if (index == GetU16(vehicle, 4))
        return;
    if (index < 0 || index >= static_cast<int>(catalog.protocolList().size()))
        throw TripError(LangText("There is no protocol %1 in the list of this device",
                                 "В списке протоколов этого прибора нет протокола %1")
                            .arg(index));
    const int itemsBefore = static_cast<int>(TankMethItems(catalog, catalog.currentProtocol()).size());
    catalog.SelectProtocol(index);
    SetU16(vehicle, 4, static_cast<uint16_t>(index));
    for (int g = 0; g < kOptionLists; ++g)
        SetU8(vehicle, 12 + g, 0);
    model.SecondProtocolIndex = static_cast<uint16_t>(index);
    if (TankMethItems(catalog, catalog.currentProtocol()).size() < itemsBefore)
        WriteRaw(model, rowNamed("cbTankMeth"), 0);
}

void OpenForEditing(TMK &model)
{
    for (int i = 1; i <= 10; ++i)
        model.UnpackBlock(i);
    model.ConsultCatalogForEditing();
    model.RebuildParameters();
    BuildMenuCatalog();
    RenameParameters(model, Catalog());
    ApplyTareCountRule(model); // the tank page does so when the editor is shown
}

void RenameParameters(TMK &model, const TProtocolCatalog &catalog)
{
    const int signature = static_cast<int8_t>(GetU8(model.block(mem::ServiceBlock), 7));
    RelabelMeasuredParameters(model.Parameters(), signature, catalog.capabilities());
}

} // namespace ed
