#include "editor_pages.h"

#include "editor_page.h"
#include "hot_menu_page.h"
#include "systems_page.h"
#include "uni_meas_page.h"

#include <cstring>

namespace {

using Factory = TEditorPage *(*)(TEditorContext &, QWidget *);

struct PageEntry {
    const char *name;
    Factory make;
};

// One line per page that has contents.
const PageEntry kPages[] = {
    {"", nullptr},
    {"tsHotMenu", MakeHotMenuPage},
    {"tsBlocks", MakeSystemsPage},
    {"tsUniMeas", MakeUniMeasPage},
};

} // namespace

TEditorPage *MakeEditorPage(const char *name, TEditorContext &context, QWidget *parent)
{
    for (const PageEntry &p : kPages)
        if (p.make && std::strcmp(p.name, name) == 0)
            return p.make(context, parent);
    return nullptr;
}
