#include "field_state.h"

#include "blocks.h"
#include "cp1251.h"
#include "errors.h"
#include "language.h"
#include "measured_params.h"
#include "menu_catalog.h"
#include "page_table.h"
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

constexpr int kInjectorItem = 1; // "Форс." of the three consumption sources
constexpr int kSignatureEngine = 2;

struct Context {
    const TMK &model;
    const TProtocolCatalog &catalog;
    const TProtBase *protocol;

    bool has(Cap c) const { return catalog.has(c); }
    int kind() const { return protocol ? protocol->Number : -1; }
    bool noEcu() const { return kind() == kCarburettor || kind() == kUniversal; }
    bool bit(fld::BitsAddress b) const { return (model.get(b.field) >> b.first) & 1u; }
    int value(fld::FieldAddress f) const { return static_cast<int>(model.getSigned(f)); }
    bool carbPulses() const { return kind() == kCarburettor && has(Cap::FamCarb); }
    bool injector() const
    {
        return value(fld::EngineSpeedSource) == kInjectorItem || value(fld::PetrolSource) == kInjectorItem ||
               value(fld::GasSource) == kInjectorItem;
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

const FieldRow &rowNamed(const char *name) { return *FindField(QString::fromLatin1(name)); }

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
    case ItemSource::ProtocolSelectMeth: s.items = protocolSelectItems(c.catalog); break;
    case ItemSource::TankMeth: s.items = TankMethItems(c.catalog, c.protocol); break;
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
    switch (row.enabledItems) {
    case EnabledItems::All: break;
    case EnabledItems::ThirdNeedsLightAlerts:
        if (c.has(Cap::NoLightAlerts) && s.itemEnabled.size() > 2)
            s.itemEnabled[2] = false;
        break;
    case EnabledItems::EcuNeedsEcuProtocol:
        if (!s.itemEnabled.empty() && (!c.protocol || c.noEcu() || c.kind() == kOutboardAirLast))
            s.itemEnabled[0] = false;
        break;
    case EnabledItems::SpokenNeedVoice:
        if (c.has(Cap::NoVoice))
            for (size_t i = 3; i < s.itemEnabled.size(); ++i)
                s.itemEnabled[i] = false;
        break;
    }
}

bool visible(const Context &c, const FieldRow &row)
{
    const TProtBase *p = c.protocol;
    switch (row.shown) {
    case Shown::Always: return true;
    case Shown::GasFuel: return !c.has(Cap::NoGasFuel);
    case Shown::SpeedCorrection: return !c.has(Cap::NoSpeedCorrection);
    case Shown::AirTempCorrection: return !c.has(Cap::LightsOnAirTempInput);
    case Shown::Injector: return c.injector();
    case Shown::Tachometer: return c.injector() && !c.carbPulses();
    case Shown::CarbPulses: return c.carbPulses();
    case Shown::ManualProtocolChoice: {
        if (!p)
            return true; // nothing selected: the user must be able to pick one
        const QStringList methods = protocolSelectItems(c.catalog);
        return static_cast<int>(c.model.get(fld::ProtocolSelection)) == methods.size() - 1;
    }
    case Shown::ProtocolOption: return p && !p->OptionCaption[static_cast<size_t>(row.arg)].isEmpty();
    case Shown::LockType: return !c.has(Cap::IgnitionLockFixed);
    case Shown::LockLevel: return c.has(Cap::IgnitionLockFixed) || c.bit(fld::VirtualLock);
    case Shown::ParkingLightsSource: return c.parkingLightsSource();
    case Shown::ParkingLightsLevel:
        return !c.has(Cap::NoParkingLightPolarity) && (!c.parkingLightsSource() || !c.bit(fld::ParkingLightsFromEcu));
    case Shown::EngineSources: return !c.has(Cap::EngineDataFromEcuOnly);
    case Shown::GasSource: return !c.has(Cap::EngineDataFromEcuOnly) && !c.has(Cap::NoGasFuel);
    case Shown::LowBeam: return c.has(Cap::LowBeamControl);
    case Shown::AirTempAlgorithm: return !c.has(Cap::LightsOnAirTempInput) && !c.has(Cap::NoAirTempAlgorithm);
    case Shown::BatterySource: return p && p->HasBatterySource;
    case Shown::TrimSource: return c.has(Cap::Trim) && p && p->HasTrim;
    case Shown::TemperatureSignature: return c.has(Cap::UniversalInput) || c.has(Cap::Trim);
    case Shown::AirTempSource: return p && p->HasAirTempSource;
    case Shown::Coolant:
        return p && (p->HasCoolantTemp || c.kind() == kOutboardWater ||
                     (c.noEcu() && c.value(fld::TemperatureSignature) == kSignatureEngine));
    case Shown::WarmUp:
        return p && (p->HasCoolantTemp || (c.kind() >= kOutboardWater && c.kind() <= kOutboardWater + 2));
    case Shown::AtOilTemp: return p && p->HasAtOilTemp;
    case Shown::EngineOilTemp: return p && p->HasEngineOilTemp;
    case Shown::RetarderOil: return c.kind() == kJ1939 && c.has(Cap::Retarder);
    case Shown::AtOilWear: return c.kind() == kCan;
    case Shown::FanTemp: return p && (p->HasFanControl || p->IsHybrid);
    case Shown::FanSpeed: return p && p->HasFanControl;
    case Shown::Hybrid: return p && p->IsHybrid;
    case Shown::HybridExtraCooling: return p && p->IsHybrid && p->HasExtraCooling;
    case Shown::SootFilter: return c.kind() == kVagFirst;
    case Shown::JamSpeed: return !c.has(Cap::NoTrafficJamStatistics);
    case Shown::AccelTiming: return !c.has(Cap::NoAccelBrakeTiming);
    case Shown::Battery24V: return c.has(Cap::Power24V);
    case Shown::TrimLimits: return c.has(Cap::Trim);
    case Shown::SevenPoint: return row.arg < static_cast<int>(c.model.get(fld::SevenPointCount));
    case Shown::ServiceItem: return !c.has(Cap::SingleServiceInterval);
    case Shown::Voice: return !c.has(Cap::NoVoice);
    case Shown::AlertGlazeIce: return !c.has(Cap::LightsOnAirTempInput) && !c.has(Cap::NoAirTempAlgorithm);
    case Shown::AlertFault: return p && p->HasFaults;
    case Shown::AlertLights: return !c.has(Cap::NoLightAlerts);
    case Shown::AlertWarmUp: return p && p->HasCoolantTemp;
    case Shown::AlertSootFilter: return c.has(Cap::FamVAG);
    case Shown::AlertWaterInFuel: return c.kind() == kWaterInFuel || (p && p->IsHybrid);
    case Shown::AlertAtOilWear: return c.kind() == kCan || (c.kind() == kJ1939 && c.has(Cap::Retarder));
    case Shown::AlertEngineOverheat: return c.kind() >= kOutboardWater && c.kind() <= kOutboardAirLast;
    case Shown::AlertRetarder: return c.kind() == kJ1939;
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
    // The user items are captioned by their names.
    if (row.captionFrom)
        return ItemName(c.model, rowNamed(row.captionFrom).at.field);
    switch (row.captionRule) {
    case CaptionRule::Fixed: break;
    case CaptionRule::ProtocolOption:
        return c.protocol ? c.protocol->OptionCaption[static_cast<size_t>(row.arg)] : QString();
    case CaptionRule::CoolantLimit:
        if (!c.protocol)
            break;
        if (c.kind() == kOutboardWater)
            return kCoolantWatEng.get();
        if (c.kind() >= kOutboardAirFirst && c.kind() <= kOutboardAirLast)
            return kCoolantCyl.get();
        return c.protocol->HasCoolantTemp ? kCoolantEcu.get() : kCoolantEngine.get();
    case CaptionRule::CoolantAlert:
        if (c.kind() == kOutboardWater)
            return kWaterOverheat.get();
        break;
    case CaptionRule::EngineOverheatAlert:
        if (c.kind() == kOutboardWater)
            return kEngineOverheat.get();
        if (c.kind() > kOutboardWater)
            return kCylinderOverheat.get();
        break;
    case CaptionRule::WaterInFuelAlert:
        if (c.kind() != kWaterInFuel)
            return kEnginePump.get();
        break;
    case CaptionRule::ServiceInterval:
        if (c.has(Cap::SingleServiceInterval))
            return kServiceInterval.get();
        break;
    }
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
    case RangeRule::Static: break;
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
    case RangeRule::TrimLow: s.max = std::clamp(c.value(fld::TrimHighLimit) - 1.0, row.min, row.max); break;
    case RangeRule::TrimHigh: s.min = std::clamp(c.value(fld::TrimLowLimit) + 1.0, row.min, row.max); break;
    case RangeRule::FullTank: s.max = std::max<double>(0, c.value(fld::FullTankPetrol)); break;
    case RangeRule::ServiceInterval:
        if (c.has(Cap::SingleServiceInterval)) {
            s.max = 9.9;
            s.step = 0.1;
            s.decimals = 1;
        }
        break;
    }
}

// With a physical lock on such devices the last speed source cannot be kept; the
// first source that can be chosen takes its place.
void restrictSpeedSource(TMK &model, const TProtocolCatalog &catalog)
{
    const Context c = contextOf(model, catalog);
    if (!c.has(Cap::PhysicalLockRestrictsSpeedSource) || c.bit(fld::VirtualLock))
        return;
    const auto isSpeedSource = [](const FieldRow &r) { return r.itemSource == ItemSource::VelocityMeth; };
    const FieldRow &row = *std::find_if(FieldSchema().begin(), FieldSchema().end(), isSpeedSource);
    const FieldState s = EvaluateField(model, catalog, row);
    if (s.items.size() < 2 || ReadRaw(model, row) != s.items.size() - 1)
        return;
    const auto first = std::find(s.itemEnabled.begin(), s.itemEnabled.end(), true);
    WriteRaw(model, row, first - s.itemEnabled.begin());
}

QString acceptsNumber(const FieldState &s)
{
    const int d = s.decimals;
    QString text =
        LangText("a number %1..%2", "число %1..%2").arg(QString::number(s.min, 'f', d), QString::number(s.max, 'f', d));
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

// Whether a store of `row` reaches the model now.
bool storedNow(const TMK &model, const TProtocolCatalog &catalog, const FieldRow &row)
{
    switch (row.storedWhen) {
    case StoredWhen::Always: return true;
    case StoredWhen::NotWaterInFuel: return contextOf(model, catalog).kind() != kWaterInFuel;
    }
    return true;
}

// An alert group's choice goes into its alert byte by the pair rule.
void storeAlert(TMK &model, const TProtocolCatalog &catalog, const FieldRow &row, int index)
{
    const Context c = contextOf(model, catalog);
    if (index < 0 || index >= static_cast<int>(row.items.size()))
        throw TripError(
            LangText("There is no mode %1 for \"%2\"", "Нет режима %1 для \"%2\"").arg(index).arg(row.caption.get()));
    const int value = AlertByte(row.map, index, static_cast<int>(model.get(row.at.field)));
    model.set(row.at.field, value);
    if (row.mirrorWithTrim.width > 0 && c.has(Cap::Trim))
        model.set(row.mirrorWithTrim, value);
}

// What a store does after writing the row's value.
void afterStore(TMK &model, TProtocolCatalog &catalog, const FieldRow &row)
{
    switch (row.onStore) {
    case OnStore::Write:
    case OnStore::ChangeProtocol: break;
    case OnStore::RestrictSpeedSource: restrictSpeedSource(model, catalog); break;
    case OnStore::RenameParameters: RenameParameters(model, catalog); break;
    case OnStore::ClearReminderHighBits: // bits 10 and 11 stay
        model.set(row.at.field, static_cast<int64_t>(model.get(row.at.field) & 0x0FFFu));
        break;
    }
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

QString ItemName(const TMK &model, fld::FieldAddress slot)
{
    const QByteArray bytes(reinterpret_cast<const char *>(model.at(slot)), slot.width);
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
    s.visible = PageShown(row.page, catalog.capabilities()) && visible(c, row);
    s.enabled = !row.disabled;
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
    case ControlKind::CheckBox: s.checked = ItemOfStored(row.map, ReadRaw(model, row), 2) == 1; break;
    case ControlKind::TextEdit:
        if (row.type == FieldType::TimeOfDay)
            s.text = TimeOfDayText(static_cast<int>(ReadRaw(model, row)));
        else
            s.text = ItemName(model, row.at.field);
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

std::vector<FieldState> EvaluateSchema(const TMK &model, const TProtocolCatalog &catalog, std::optional<Page> page)
{
    std::vector<FieldState> states;
    for (const FieldRow &row : FieldSchema())
        if (!page || *page == row.page)
            states.push_back(EvaluateField(model, catalog, row));
    return states;
}

QString RefuseEqualAdc(const TMK &model, const TProtocolCatalog &catalog, const FieldRow &row, double shown)
{
    if (!row.differsFrom ||
        RoundHalfEven(shown) != RoundHalfEven(EvaluateField(model, catalog, rowNamed(row.differsFrom)).number))
        return {};
    return LangText("Min and Max ADC Values should differ.", "Значения АЦП Мин и Макс должны различаться.");
}

void StoreNumber(TMK &model, TProtocolCatalog &catalog, const FieldRow &row, double shown)
{
    if (QString why = RefuseEqualAdc(model, catalog, row, shown); !why.isEmpty())
        throw TripError(why);
    if (!storedNow(model, catalog, row))
        return;
    if (row.type == FieldType::Float32Factor)
        WriteFactor(model, row, ShownToFactor(shown));
    else
        WriteRaw(model, row, RoundHalfEven(shown * ScaleOf(catalog, row)));
    afterStore(model, catalog, row);
}

void StoreItem(TMK &model, TProtocolCatalog &catalog, const FieldRow &row, int index)
{
    if (!storedNow(model, catalog, row))
        return;
    if (row.onStore == OnStore::ChangeProtocol) {
        ChangeProtocol(model, catalog, index);
        return;
    }
    if (IsAlertMap(row.map))
        storeAlert(model, catalog, row, index);
    else
        WriteRaw(model, row, StoredOfItem(row.map, index));
    afterStore(model, catalog, row);
}

void StoreChecked(TMK &model, TProtocolCatalog &catalog, const FieldRow &row, bool checked)
{
    if (!storedNow(model, catalog, row))
        return;
    WriteRaw(model, row, StoredOfItem(row.map, checked ? 1 : 0));
    afterStore(model, catalog, row);
}

void StoreDate(TMK &model, const FieldRow &row, const QString &text)
{
    const std::optional<int> n = DayNumberOfText(text);
    if (!n || *n < kEarliestDayNumber)
        throw TripError(
            LangText("\"%1\" is no date from 10.10.11 on", "\"%1\" не является датой не ранее 10.10.11").arg(text));
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

void StoreText(TMK &model, TProtocolCatalog &catalog, const FieldRow &row, const QString &text)
{
    if (!storedNow(model, catalog, row))
        return;
    switch (row.type) {
    case FieldType::TimeOfDay: {
        const std::optional<int> minutes = timeOfDay(text);
        if (!minutes)
            throw TripError(timeRefusal(row, row.caption.get(), text));
        WriteRaw(model, row, *minutes);
        break;
    }
    case FieldType::Text: {
        // A longer name loses its tail; the slot's bytes after the zero stay.
        const QByteArray bytes = ToCp1251(text.left(kItemNameLength));
        char *slot = reinterpret_cast<char *>(model.at(row.at.field));
        std::copy(bytes.begin(), bytes.end(), slot);
        slot[bytes.size()] = '\0';
        break;
    }
    default: throw TripError(LangText("%1 takes no text", "%1 не принимает текст").arg(QLatin1String(row.name)));
    }
    afterStore(model, catalog, row);
}

QString RefuseUnavailable(const FieldState &s)
{
    if (!s.visible && s.row->shown == Shown::ManualProtocolChoice)
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

namespace {

bool takesNumber(const FieldState &s, double shown)
{
    const double eps = 1e-9;
    const double scaled = shown * std::pow(10.0, s.decimals);
    bool ok = std::isfinite(shown) && shown >= s.min - eps && shown <= s.max + eps &&
              std::fabs(scaled - std::round(scaled)) < 1e-6;
    if (ok && s.row->noTyping) {
        const double steps = (shown - s.min) / s.step;
        ok = std::fabs(steps - std::round(steps)) < 1e-6;
    }
    return ok;
}

QString number(double v, int decimals) { return QString::number(v, 'f', decimals); }

// A long list is shortened to its first and last items.
QString itemList(const QStringList &items)
{
    constexpr int kListed = 10;
    if (items.size() <= kListed)
        return items.join(QStringLiteral(", "));
    return QStringList{items[0], items[1], items[2], QStringLiteral("…"), items.back()}.join(QStringLiteral(", "));
}

} // namespace

QString RefuseNumber(const FieldState &s, double shown)
{
    if (QString why = RefuseUnavailable(s); !why.isEmpty())
        return why;
    if (takesNumber(s, shown))
        return {};
    return LangText("%1 does not take %2; it takes %3", "%1 не принимает %2; допустимо: %3")
        .arg(controlName(s), QString::number(shown, 'g', 12), acceptsNumber(s));
}

QString RangeError(const FieldState &s, double shown)
{
    if (takesNumber(s, shown))
        return {};
    return LangText("Range error: \"%1\" takes %2, not %3", "Ошибка диапазона: \"%1\" принимает %2, а не %3")
        .arg(s.caption, acceptsNumber(s), QString::number(shown, 'g', 12));
}

QString ToolTip(const FieldState &s)
{
    const FieldRow &row = *s.row;
    QStringList lines{s.caption};
    switch (row.kind) {
    case ControlKind::SpinEdit: {
        const int d = s.decimals;
        const QString range = number(s.min, d) + QStringLiteral("..") + number(s.max, d);
        if (row.noTyping)
            lines << range + LangText("; use the arrows: steps of %1", "; стрелками: шаг %1").arg(number(s.step, d));
        else
            lines << range + LangText(", step %1", ", шаг %1").arg(number(s.step, d));
        if (row.type == FieldType::Float32Factor)
            lines << LangText("Stored as the factor 1 + value / 100", "Хранится как множитель 1 + значение / 100");
        else if (s.scale > 1)
            lines << LangText("Stored as the value × %1", "Хранится как значение × %1").arg(s.scale);
        else if (s.scale < 1)
            lines << LangText("Stored as the value ÷ %1", "Хранится как значение ÷ %1").arg(1 / s.scale);
        break;
    }
    case ControlKind::RadioGroup:
    case ControlKind::ComboBox: {
        if (s.items.isEmpty())
            break;
        if (IsAlertMap(row.map))
            lines << AlertModeLegend();
        else
            lines << LangText("One of: %1", "Один из: %1").arg(itemList(s.items));
        QStringList off;
        for (qsizetype i = 0; i < s.items.size(); ++i)
            if (!s.itemEnabled[static_cast<size_t>(i)])
                off << s.items[i];
        if (!off.isEmpty())
            lines << LangText("Not on this device: %1", "Нет на этом приборе: %1").arg(off.join(QStringLiteral(", ")));
        break;
    }
    case ControlKind::CheckBox: break;
    case ControlKind::TextEdit:
        if (row.type == FieldType::TimeOfDay)
            lines << LangText("A time of day hh:mm, 00:00..23:59", "Время суток чч:мм, 00:00..23:59");
        else
            lines << LangText("Up to %1 characters", "Не более %1 символов").arg(kItemNameLength);
        break;
    case ControlKind::DateEdit:
        lines << LangText("A date dd.mm.yy, %1..%2", "Дата дд.мм.гг, %1..%2")
                     .arg(DateText(kEarliestDayNumber), DateText(kLatestDayNumber));
        break;
    }
    if (row.disabled)
        lines << LangText("Shown for information; it cannot be changed here",
                          "Показано для сведения; здесь не изменяется");
    return lines.join(QLatin1Char('\n'));
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

QString UnplacedToolTip(const char *menuItem)
{
    const TMKMenuItem *item = menuItem ? FindMenuItem(QLatin1String(menuItem)) : nullptr;
    const QString where =
        item ? LangText("Set it in the device's own menu: \"%1\".", "Задается в меню прибора: \"%1\".")
                   .arg(item->Caption)
             : LangText("The device's own menu has no item for it.", "В меню прибора для него нет пункта.");
    return where + QLatin1Char('\n') +
           LangText("This version does not know where the device keeps this value.",
                    "Эта версия программы не знает, где прибор хранит это значение.");
}

void ChangeProtocol(TMK &model, TProtocolCatalog &catalog, int index)
{
    if (index == static_cast<int>(model.get(fld::ProtocolIndex)))
        return;
    if (index < 0 || index >= static_cast<int>(catalog.protocolList().size()))
        throw TripError(LangText("There is no protocol %1 in the list of this device",
                                 "В списке протоколов этого прибора нет протокола %1")
                            .arg(index));
    const int itemsBefore = static_cast<int>(TankMethItems(catalog, catalog.currentProtocol()).size());
    catalog.SelectProtocol(index);
    model.set(fld::ProtocolIndex, index);
    for (int g = 0; g < kOptionLists; ++g)
        model.set(fld::ProtocolOption(g), 0);
    model.SecondProtocolIndex = static_cast<uint16_t>(index);
    if (TankMethItems(catalog, catalog.currentProtocol()).size() < itemsBefore)
        model.set(fld::TankSource, 0);
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
    const int signature = static_cast<int>(model.getSigned(fld::TemperatureSignature));
    RelabelMeasuredParameters(model.Parameters(), signature, catalog.capabilities());
}

} // namespace ed
