#pragma once
#include "bilingual.h"
#include "capabilities.h"

#include <QString>
#include <optional>
#include <span>
#include <vector>

// Every page and sub-page of the settings editor in one table: what the dialog
// builds, in what order, under which captions, on which devices it is shown,
// and which page a schema row's control lives on. No widgets here; the dialog
// maps each page to its maker.
namespace ed {

enum class Page {
    Corrections,       // tsCorr
    Sources,           // tsMeth
    Limits,            // tsLim
    Display,           // tsDisp: the display sub-pages
    ColourSchemes,     // tsColor
    DisplaysX1,        // tsParams1
    DisplaysX4,        // tsParams4
    DisplaysX9,        // tsParams9
    DisplaysX6,        // tsParams6
    GraphDisplays,     // tsParamsG
    DialDisplays,      // tsParamsA
    HotMenus,          // tsHotMenu
    InfoPanel,         // tsInfoPanel
    DisplayOptions,    // tsDivers
    Sounds,            // tsVoice: alerts and sound settings
    Alerts,            // tsAlerts
    SoundSettings,     // tsSounds
    Averages,          // tsAver
    ParkingRadar,      // tsPark
    FuelTank,          // tsOil
    Maintenance,       // tsTO
    AdditionalSystems, // tsBlocks
    UniversalInput,    // tsUniMeas
    ServiceInfo,       // tsServiceInfo
};

enum class PageKind {
    Frame,   // nothing but the page control of its sub-pages; the dialog makes it
    Content, // made by the page's maker, with its controls (and sub-pages, if any)
    Part,    // a sub-page that its parent's maker makes along with the parent
    Blank,   // an empty stand-in, kept hidden
};

// On which devices a page's tab is shown.
enum class TabShown {
    Always,
    WithParkingRadar,         // unless the device has no parking radar
    WithUniversalInputOrTrim, // the universal input or trim
    WithAdditionalSystems,
    Never, // filled, but kept hidden
};

struct PageInfo {
    Page id;
    const char *objectName; // the widget's name, as designed
    Text caption;           // of its tab
    PageKind kind;
    std::optional<Page> parent; // nothing: a page of pcMain
    TabShown shown;
    const char *subTabs = nullptr; // the page control of its sub-pages, if it has some
};

// The table; the rows of one parent's sub-pages are in the order of their tabs.
std::span<const PageInfo> PageTable();
// The page's row; nullptr for a value the table does not hold.
const PageInfo *FindPage(Page page);
const PageInfo *FindPage(const QString &objectName);
// The row of a page the table holds (every named enumerator).
const PageInfo &PageOf(Page page);
const char *PageName(Page page);
QString PageCaption(Page page);
// Whether the page's own tab is shown on a device with these capabilities.
bool PageShown(Page page, const CapabilitySet &caps);
// The sub-pages of `parent` (nothing: the pages of pcMain) in tab order.
std::vector<const PageInfo *> SubPages(std::optional<Page> parent);

} // namespace ed
