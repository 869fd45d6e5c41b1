#include "page_table.h"

#include "errors.h"
#include "language.h"

namespace ed {

QString Text::get() const { return LangText(en, ru); }

namespace {

using enum TabShown;

// In enumerator order, so that a page's row is found by its value, and
// sub-pages in the order of their tabs.
// clang-format off
const PageInfo kPages[] = {
    {Page::Corrections, "tsCorr", {"Correction", "Поправки"}, PageKind::Content, std::nullopt, Always},
    {Page::Sources, "tsMeth", {"Resources", "Источники"}, PageKind::Content, std::nullopt, Always},
    {Page::Limits, "tsLim", {"Limits", "Границы"}, PageKind::Content, std::nullopt, Always},
    {Page::Display, "tsDisp", {"Display", "Дисплей"}, PageKind::Frame, std::nullopt, Always, "pcDisp"},
    {Page::ColourSchemes, "tsColor", {"Color schemes", "Цветовые схемы"}, PageKind::Content, Page::Display, Always},
    {Page::DisplaysX1, "tsParams1", {"Displays x 1", "Дисплеи х1"}, PageKind::Content, Page::Display, Always},
    {Page::DisplaysX4, "tsParams4", {"Displays x 4", "Дисплеи х4"}, PageKind::Content, Page::Display, Always},
    {Page::DisplaysX9, "tsParams9", {"Displays x 9", "Дисплеи х9"}, PageKind::Content, Page::Display, Always},
    {Page::DisplaysX6, "tsParams6", {"Displays x 6", "Дисплей х6"}, PageKind::Content, Page::Display, Always},
    {Page::GraphDisplays, "tsParamsG", {"Graph displays", "Граф. дисплеи"}, PageKind::Content, Page::Display, Always},
    {Page::DialDisplays, "tsParamsA", {"Dial displays", "Стрел. дисплеи"}, PageKind::Content, Page::Display, Always},
    {Page::HotMenus, "tsHotMenu", {"Hot menu", "Горячие меню"}, PageKind::Content, Page::Display, Always},
    {Page::InfoPanel, "tsInfoPanel", {"Add. panel", "Доп.панель"}, PageKind::Content, Page::Display, Always},
    {Page::DisplayOptions, "tsDivers", {"Divers", "Разное"}, PageKind::Content, Page::Display, Always},
    {Page::Sounds, "tsVoice", {"Sounds", "Озвуч.сообщения"}, PageKind::Content, std::nullopt, Always, "pcVoice"},
    {Page::Alerts, "tsAlerts", {"Warnings", "Предупреждения"}, PageKind::Part, Page::Sounds, Always},
    {Page::SoundSettings, "tsSounds", {"Divers", "Разное"}, PageKind::Part, Page::Sounds, Always},
    {Page::Averages, "tsAver", {"Average", "Средние"}, PageKind::Content, std::nullopt, Always},
    {Page::ParkingRadar, "tsPark", {"Parktronic", "Парковка"}, PageKind::Content, std::nullopt, WithParkingRadar},
    {Page::FuelTank, "tsOil", {"Fuel", "Бак"}, PageKind::Content, std::nullopt, Always},
    {Page::Maintenance, "tsTO", {"TS", "ТО"}, PageKind::Content, std::nullopt, Always},
    {Page::AdditionalSystems, "tsBlocks", {"Add.systems", "Допсистемы"}, PageKind::Content, std::nullopt, WithAdditionalSystems},
    {Page::UniversalInput, "tsUniMeas", {"Uni.input/Trim", "Трим"}, PageKind::Content, std::nullopt, WithUniversalInputOrTrim},
    {Page::ServiceInfo, "tsServiceInfo", {"ServiceInfo", "Служ.информ."}, PageKind::Blank, std::nullopt, Never},
};
// clang-format on

} // namespace

std::span<const PageInfo> PageTable() { return kPages; }

const PageInfo *FindPage(Page page)
{
    const auto i = static_cast<size_t>(page);
    if (i < std::size(kPages) && kPages[i].id == page)
        return &kPages[i];
    return nullptr;
}

const PageInfo *FindPage(const QString &objectName)
{
    for (const PageInfo &p : kPages)
        if (objectName == QLatin1String(p.objectName))
            return &p;
    return nullptr;
}

const PageInfo &PageOf(Page page)
{
    if (const PageInfo *p = FindPage(page))
        return *p;
    throw TripError(QStringLiteral("no page %1 in the page table").arg(static_cast<int>(page)));
}

const char *PageName(Page page) { return PageOf(page).objectName; }

QString PageCaption(Page page) { return PageOf(page).caption.get(); }

bool PageShown(Page page, const CapabilitySet &caps)
{
    switch (PageOf(page).shown) {
    case TabShown::Always: return true;
    case TabShown::WithParkingRadar: return !caps.has(Cap::NoParkingRadar);
    case TabShown::WithUniversalInputOrTrim: return caps.has(Cap::UniversalInput) || caps.has(Cap::Trim);
    case TabShown::WithAdditionalSystems: return caps.has(Cap::AdditionalSystems);
    case TabShown::Never: return false;
    }
    return false;
}

std::vector<const PageInfo *> SubPages(std::optional<Page> parent)
{
    std::vector<const PageInfo *> pages;
    for (const PageInfo &p : kPages)
        if (p.parent == parent)
            pages.push_back(&p);
    return pages;
}

} // namespace ed
