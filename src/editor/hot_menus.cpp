#include "hot_menus.h"

#include "blocks.h"
#include "field_schema.h"
#include "menu_catalog.h"
#include "protocol_catalog.h"
#include "tmk.h"

#include <algorithm>

namespace ed {

namespace {

bool validLine(int line) { return line >= 0 && line < kHotMenuLines; }
bool validRow(int row) { return row >= 0 && row < kHotMenuEntries; }

// When an offered item is left out, beyond the menu catalog not holding it.
enum class When {
    Always,
    GasFuel,
    JamStatistics,
    LightsOnAirInput,
    GlazeIceAlert, // neither the lights on the air input nor no air temperature algorithm
    LightAlerts,
    AccelTiming,
    Voice,
    AlternativeDisplay,
};

struct Offer {
    const char *identifier;
    When when = When::Always;
};

struct Category {
    Text caption;
    std::vector<Offer> items;
};

bool holds(const TProtocolCatalog &c, When when)
{
    switch (when) {
    case When::Always: return true;
    case When::GasFuel: return !c.has(Cap::NoGasFuel);
    case When::JamStatistics: return !c.has(Cap::NoTrafficJamStatistics);
    case When::LightsOnAirInput: return c.has(Cap::LightsOnAirTempInput);
    case When::GlazeIceAlert: return !c.has(Cap::LightsOnAirTempInput) && !c.has(Cap::NoAirTempAlgorithm);
    case When::LightAlerts: return !c.has(Cap::NoLightAlerts);
    case When::AccelTiming: return !c.has(Cap::NoAccelBrakeTiming);
    case When::Voice: return !c.has(Cap::NoVoice);
    case When::AlternativeDisplay: return c.has(Cap::AlternativeDisplay);
    }
    return true;
}

// The parameter line's categories; the slip category follows on devices with
// additional systems.
const std::vector<Category> kParameterCategories = {
    {{"Control", "Управление"},
     {{"VirtLockMenu"},
      {"FullTankMenu"},
      {"ToTankMenu"},
      {"InTankMenu"},
      {"FullGasTankMenu", When::GasFuel},
      {"ToGasTankMenu", When::GasFuel},
      {"InGasTankMenu", When::GasFuel},
      {"VentOnMenu"},
      {"PrognozMenu"},
      {"InjTimeHHMenu"},
      {"ExpenseHHMenu"},
      {"CorrUOZMenu"},
      {"CandleDryMenu"},
      {"EBUInitMenu"},
      {"EBUResetMenu"},
      {"HVFanForcedOnMenu", When::AlternativeDisplay}}},
    {{"Resources", "Источники"},
     {{"TankMethMenu"}, {"LightsOnMenu", When::LightsOnAirInput}, {"IntenseDayTimeMenu"}, {"IntenseNightTimeMenu"}}},
    {{"Limits", "Границы"},
     {{"LiqTemperLimitMenu"},
      {"RevolutionsLimitMenu"},
      {"VelocityLimitMenu"},
      {"TankLimitMenu"},
      {"VentTempLimitMenu"},
      {"InjTimeLimitMenu"},
      {"LiqTemperReadyMenu"},
      {"Vel100Menu", When::AccelTiming},
      {"Vel100DownMenu", When::AccelTiming}}},
    {{"Display", "Дисплей"}, {{"Intense0Menu"}, {"Intense1Menu"}, {"IntenseDayTimeMenu"}, {"IntenseNightTimeMenu"}}},
    {{"Voice messages", "Озвуч.сообщения"},
     {{"AlarmPermJournMenu"},
      {"SoundVolumeMenu", When::Voice},
      {"FlagSoundMenu"},
      {"SayParamPeriodMenu"},
      {"apVelMenu"},
      {"AlarmVelSecNoSayMaxMenu"},
      {"apRevMenu"},
      {"apTankMenu"},
      {"LightsOnMenu", When::LightsOnAirInput},
      {"apHoloMenu", When::GlazeIceAlert},
      {"apEconomMenu"},
      {"apGabarMenu", When::LightAlerts},
      {"apLightsMenu", When::LightAlerts},
      {"apTankFullMenu"},
      {"apInjTimeMenu"},
      {"apErrorMenu"},
      {"apLiqTempHighMenu"},
      {"apLiqTempReadyMenu"}}},
    {{"TS", "TO"}, {{"ErrorsMenu"}}},
};

// Each exists in the menu catalog only when the device polls its system.
const Category kSlipCategory = {{"Slip", "Пробуксовка"},
                                {{"BlocksBoschESP9Menu"},
                                 {"BlocksBoschESP91Menu"},
                                 {"BlocksBoschABSESP9Menu"},
                                 {"BlocksABSKesens102Menu"},
                                 {"BlocksABSItelmaMenu"},
                                 {"BlocksABSAPGMenu"},
                                 {"BlocksABS9Menu"}}};

const std::vector<Offer> kAverageItems = {
    {"InitTripParamsMenu"},
    {"InitReset0ParamsMenu"},
    {"InitReset1ParamsMenu"},
    {"InitStopParamsMenu", When::JamStatistics},
    {"InitNoStopParamsMenu", When::JamStatistics},
    {"InitResetOnlyParamsMenu"},
    {"InitResetOnlyGasParamsMenu", When::GasFuel},
    {"InitResetOnlyOilParamsMenu", When::GasFuel},
    {"TripMinStopMenu"},
    {"TripJournMenu"},
};

const Category kParking = {{"Parking", "Парковка"},
                           {{"ParkOffMenu"},
                            {"ParkUseMenu_0"},
                            {"ParkSenseMenu_0"},
                            {"ParkSpeedMenu_0"},
                            {"ParkBeepTypeMenu"},
                            {"ParkAlwaysOnMenu"}}};
const Category kFrontParking = {
    {"Front parling", "Парковка вперед"},
    {{"ParkUseMenu_1"}, {"ParkForwConstOffMenu"}, {"ParkSenseMenu_1"}, {"ParkSpeedMenu_1"}}};

void addItem(std::vector<HotMenuChoice> &out, const QString &identifier)
{
    if (const TMKMenuItem *item = FindMenuItem(identifier))
        out.push_back({item->Caption, item->Code, {}});
}

void addOffers(std::vector<HotMenuChoice> &out, const TProtocolCatalog &catalog, const std::vector<Offer> &offers)
{
    for (const Offer &o : offers)
        if (holds(catalog, o.when))
            addItem(out, QLatin1String(o.identifier));
}

// "WriteTrip1Menu".."WriteTrip20Menu" and the like.
void addSeries(std::vector<HotMenuChoice> &out, const char *stem, int first)
{
    for (int n = first; n <= 20; ++n)
        addItem(out, QStringLiteral("%1%2Menu").arg(QLatin1String(stem)).arg(n));
}

// A sub-menu with nothing in it is left out.
void addSubMenu(std::vector<HotMenuChoice> &out, const Text &caption, std::vector<HotMenuChoice> children)
{
    if (!children.empty())
        out.push_back({caption.get(), 0, std::move(children)});
}

void addCategory(std::vector<HotMenuChoice> &out, const TProtocolCatalog &catalog, const Category &category)
{
    std::vector<HotMenuChoice> items;
    addOffers(items, catalog, category.items);
    addSubMenu(out, category.caption, std::move(items));
}

} // namespace

HotMenuLine ReadHotMenu(const TMK &model, int line)
{
    HotMenuLine codes{};
    if (!validLine(line))
        return codes;
    for (int i = 0; i < kHotMenuEntries; ++i)
        codes[static_cast<size_t>(i)] = static_cast<uint16_t>(model.get(fld::HotMenuEntry(line, i)));
    return codes;
}

void WriteHotMenu(TMK &model, int line, const HotMenuLine &codes)
{
    if (!validLine(line))
        return;
    for (int i = 0; i < kHotMenuEntries; ++i)
        model.set(fld::HotMenuEntry(line, i), codes[static_cast<size_t>(i)]);
}

void CompactHotMenus(TMK &model)
{
    for (int line = 0; line < kHotMenuLines; ++line) {
        HotMenuLine codes = ReadHotMenu(model, line);
        std::stable_partition(codes.begin(), codes.end(), [](uint16_t c) { return c != 0; });
        WriteHotMenu(model, line, codes);
    }
}

void InsertHotMenuItem(TMK &model, int line, int row, uint16_t code)
{
    if (!validRow(row))
        return;
    HotMenuLine codes = ReadHotMenu(model, line);
    std::copy_backward(codes.begin() + row, codes.end() - 1, codes.end());
    codes[static_cast<size_t>(row)] = code;
    WriteHotMenu(model, line, codes);
}

void DeleteHotMenuItem(TMK &model, int line, int row)
{
    if (!validRow(row))
        return;
    HotMenuLine codes = ReadHotMenu(model, line);
    codes[static_cast<size_t>(row)] = 0;
    WriteHotMenu(model, line, codes);
}

void ClearHotMenu(TMK &model, int line) { WriteHotMenu(model, line, HotMenuLine{}); }

void MoveHotMenuItem(TMK &model, int line, int from, int to)
{
    if (!validRow(from) || !validRow(to) || from == to)
        return;
    HotMenuLine codes = ReadHotMenu(model, line);
    if (from < to)
        std::rotate(codes.begin() + from, codes.begin() + from + 1, codes.begin() + to + 1);
    else
        std::rotate(codes.begin() + to, codes.begin() + from, codes.begin() + from + 1);
    WriteHotMenu(model, line, codes);
}

QString HotMenuItemName(uint16_t code)
{
    const TMKMenuItem *item = code ? FindMenuItemByCode(code) : nullptr;
    return item ? item->Caption : QString();
}

bool HotMenuLineShown(const TProtocolCatalog &catalog, int line)
{
    return line != kParkingHotMenu || !catalog.has(Cap::NoParkingRadar);
}

std::vector<HotMenuChoice> HotMenuChoices(const TProtocolCatalog &catalog, int line)
{
    std::vector<HotMenuChoice> out;
    switch (line) {
    case 0:
        for (const Category &category : kParameterCategories)
            addCategory(out, catalog, category);
        if (catalog.has(Cap::AdditionalSystems))
            addCategory(out, catalog, kSlipCategory);
        break;
    case 1: {
        addOffers(out, catalog, kAverageItems);
        std::vector<HotMenuChoice> trips, save, view, refuels;
        addItem(trips, QStringLiteral("ContinueTripMenu"));
        addItem(trips, QStringLiteral("WriteTripMenu"));
        addSeries(save, "WriteTrip", 1);
        addSubMenu(trips, {"Save", "Записать"}, std::move(save));
        addItem(trips, QStringLiteral("ViewTripMenu"));
        addSeries(view, "ViewTrip", 0);
        addSubMenu(trips, {"View", "Просмотреть"}, std::move(view));
        addSubMenu(out, {"Trip log", "Журнал поездок"}, std::move(trips));
        addItem(out, QStringLiteral("TankJournMenu"));
        addSeries(refuels, "ViewTank", 0);
        addSubMenu(out, {"Petrol log", "Журнал заправок"}, std::move(refuels));
        break;
    }
    case kParkingHotMenu:
        addCategory(out, catalog, kParking);
        addCategory(out, catalog, kFrontParking);
        break;
    default: break;
    }
    return out;
}

} // namespace ed
