#include "editor_pages.h"

#include "core_pages.h"
#include "display_pages.h"
#include "editor_page.h"
#include "hot_menu_page.h"
#include "sound_pages.h"
#include "systems_page.h"
#include "tank_pages.h"
#include "uni_meas_page.h"

#include <cstring>

namespace {

using Factory = TEditorPage *(*)(TEditorContext &, QWidget *);

template <class Page>
TEditorPage *make(TEditorContext &context, QWidget *parent)
{
    return new Page(context, parent);
}

struct PageEntry {
    const char *name;
    Factory make;
};

// One line per page that has contents.
const PageEntry kPages[] = {
    {"", nullptr},
    {"tsCorr", MakeCorrPage},
    {"tsMeth", MakeMethPage},
    {"tsLim", MakeLimPage},
    {"tsHotMenu", MakeHotMenuPage},
    {"tsBlocks", MakeSystemsPage},
    {"tsUniMeas", MakeUniMeasPage},
    {"tsParams1", [](TEditorContext &c, QWidget *p) { return MakeLayoutPage(disp::Layout::X1, c, p); }},
    {"tsParams4", [](TEditorContext &c, QWidget *p) { return MakeLayoutPage(disp::Layout::X4, c, p); }},
    {"tsParams9", [](TEditorContext &c, QWidget *p) { return MakeLayoutPage(disp::Layout::X9, c, p); }},
    {"tsParams6", [](TEditorContext &c, QWidget *p) { return MakeLayoutPage(disp::Layout::X6, c, p); }},
    {"tsParamsG", [](TEditorContext &c, QWidget *p) { return MakeLayoutPage(disp::Layout::Graphs, c, p); }},
    {"tsParamsA", [](TEditorContext &c, QWidget *p) { return MakeLayoutPage(disp::Layout::Dials, c, p); }},
    {"tsInfoPanel", [](TEditorContext &c, QWidget *p) { return MakeLayoutPage(disp::Layout::Panel, c, p); }},
    {"tsDivers", MakeDiversPage},
    {"tsColor", MakeColorPage},
    {"tsVoice", make<TVoicePage>},
    {"tsAver", make<TAverPage>},
    {"tsPark", make<TParkPage>},
    {"tsOil", make<TOilPage>},
    {"tsTO", make<TTOPage>},
};

} // namespace

TEditorPage *MakeEditorPage(const char *name, TEditorContext &context, QWidget *parent)
{
    for (const PageEntry &p : kPages)
        if (p.make && std::strcmp(p.name, name) == 0)
            return p.make(context, parent);
    return nullptr;
}
