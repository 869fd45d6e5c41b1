// Times the redraw of each display layout page of the editor (every preview of
// the page drawn and handed to its box), the figure that decides whether a
// change on these pages feels immediate (one frame, 16 ms).
#include "display_pages.h"
#include "field_binder.h"
#include "field_state.h"
#include "language.h"
#include "protocol_catalog.h"
#include "tmk.h"

#include <QApplication>
#include <algorithm>
#include <chrono>
#include <cstdio>
#include <vector>

int main(int argc, char **argv)
{
    qputenv("QT_QPA_PLATFORM", qgetenv("QT_QPA_PLATFORM").isEmpty() ? "offscreen" : qgetenv("QT_QPA_PLATFORM"));
    QApplication app(argc, argv);
    SetEnglishVersion(true);
    TMK model(0xC000);
    model.FormatImage(9);
    ed::OpenForEditing(model);
    // Graphs and dials with parameters, as a user would have them.
    for (int d = 0; d < 8; ++d) {
        disp::SetCode(model, disp::Layout::Graphs, d, 0, 13);
        disp::SetCode(model, disp::Layout::Graphs, d, 1, 12);
        disp::SetCode(model, disp::Layout::Dials, d, 0, 14);
        disp::SetCode(model, disp::Layout::Dials, d, 1, 12);
    }
    QWidget parent;
    TFieldBinder binder(model, Catalog(), &parent);
    TEditorContext context{model, Catalog(), binder};
    const struct {
        const char *name;
        disp::Layout layout;
    } pages[] = {{"tsParams1 (x1)", disp::Layout::X1},
                 {"tsParams4 (x4, 6 displays)", disp::Layout::X4},
                 {"tsParams9 (x9, 3)", disp::Layout::X9},
                 {"tsParams6 (x6, 2)", disp::Layout::X6},
                 {"tsParamsG (graphs, 8)", disp::Layout::Graphs},
                 {"tsParamsA (dials, 8)", disp::Layout::Dials},
                 {"tsInfoPanel", disp::Layout::Panel}};
    std::printf("page redraw, ms (median / worst of 50)\n");
    for (const auto &p : pages) {
        TLayoutPage page(p.layout, context, &parent);
        std::vector<double> ms;
        for (int i = 0; i < 50; ++i) {
            const auto t0 = std::chrono::steady_clock::now();
            page.redraw();
            ms.push_back(std::chrono::duration<double, std::milli>(std::chrono::steady_clock::now() - t0).count());
        }
        std::sort(ms.begin(), ms.end());
        std::printf("  %-28s %6.2f / %6.2f\n", p.name, ms[ms.size() / 2], ms.back());
    }
    return 0;
}
