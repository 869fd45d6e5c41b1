#include "editor_pages.h"

#include "editor_page.h"
#include "sound_pages.h"
#include "tank_pages.h"

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
