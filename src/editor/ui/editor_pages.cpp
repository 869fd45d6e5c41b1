#include "editor_pages.h"

#include "core_pages.h"
#include "editor_page.h"

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
    {"tsCorr", MakeCorrPage},
    {"tsMeth", MakeMethPage},
    {"tsLim", MakeLimPage},
};

} // namespace

TEditorPage *MakeEditorPage(const char *name, TEditorContext &context, QWidget *parent)
{
    for (const PageEntry &p : kPages)
        if (p.make && std::strcmp(p.name, name) == 0)
            return p.make(context, parent);
    return nullptr;
}
