#include "editor_pages.h"

#include "core_pages.h"
#include "display_pages.h"
#include "editor_page.h"
#include "hot_menu_page.h"
#include "sound_pages.h"
#include "systems_page.h"
#include "tank_pages.h"
#include "universal_input_page.h"

#include <algorithm>

namespace {

using ed::Page;
using Factory = TEditorPage *(*)(TEditorContext &, QWidget *);

template <class T> TEditorPage *make(TEditorContext &context, QWidget *parent) { return new T(context, parent); }

template <disp::Layout L> TEditorPage *makeLayout(TEditorContext &context, QWidget *parent)
{
    return MakeLayoutPage(L, context, parent);
}

struct PageFactory {
    Page page;
    Factory make;
};

// One line per content page.
const PageFactory kFactories[] = {
    {Page::Corrections, MakeCorrectionsPage},
    {Page::Sources, MakeSourcesPage},
    {Page::Limits, MakeLimitsPage},
    {Page::ColourSchemes, MakeColourSchemesPage},
    {Page::DisplaysX1, makeLayout<disp::Layout::X1>},
    {Page::DisplaysX4, makeLayout<disp::Layout::X4>},
    {Page::DisplaysX9, makeLayout<disp::Layout::X9>},
    {Page::DisplaysX6, makeLayout<disp::Layout::X6>},
    {Page::GraphDisplays, makeLayout<disp::Layout::Graphs>},
    {Page::DialDisplays, makeLayout<disp::Layout::Dials>},
    {Page::HotMenus, MakeHotMenuPage},
    {Page::InfoPanel, makeLayout<disp::Layout::Panel>},
    {Page::DisplayOptions, MakeDisplayOptionsPage},
    {Page::Sounds, make<TSoundsPage>},
    {Page::Averages, make<TAveragesPage>},
    {Page::ParkingRadar, make<TParkingRadarPage>},
    {Page::FuelTank, make<TFuelTankPage>},
    {Page::Maintenance, make<TMaintenancePage>},
    {Page::AdditionalSystems, MakeSystemsPage},
    {Page::UniversalInput, MakeUniversalInputPage},
};

} // namespace

TEditorPage *MakeEditorPage(Page page, TEditorContext &context, QWidget *parent)
{
    const ed::PageInfo *info = ed::FindPage(page);
    if (!info || info->kind != ed::PageKind::Content)
        return nullptr;
    for (const PageFactory &f : kFactories) {
        if (f.page != page)
            continue;
        TEditorPage *made = f.make(context, parent);
        made->setObjectName(QLatin1String(info->objectName));
        return made;
    }
    return nullptr;
}

QStringList PageFactoryFaults()
{
    QStringList faults;
    for (const ed::PageInfo &p : ed::PageTable()) {
        const auto factories = std::count_if(std::begin(kFactories), std::end(kFactories),
                                             [&](const PageFactory &f) { return f.page == p.id; });
        const QString name = QLatin1String(p.objectName);
        if (p.kind == ed::PageKind::Content && factories != 1)
            faults << QStringLiteral("%1 has %2 page factories, not one").arg(name).arg(factories);
        else if (p.kind != ed::PageKind::Content && factories > 0)
            faults << QStringLiteral("%1 is no content page and has a page factory").arg(name);
    }
    for (const PageFactory &f : kFactories)
        if (!ed::FindPage(f.page))
            faults << QStringLiteral("a page factory for page %1, which the page table does not hold").arg(int(f.page));
    return faults;
}
