// Saves every device screen preview of a new model's settings, scaled ×2 with
// square pixels, for the documentation:
//   preview_screenshots OUTPUT_FOLDER
// The graph, dial and side strip choices, empty in a new model, are set to a
// few parameters, and the graph and dial elements (all palette colour 0 in a
// new model) to distinct colours, so that the pictures show something.
#include "blocks.h"
#include "display_layout.h"
#include "field_state.h"
#include "language.h"
#include "previews.h"
#include "protocol_catalog.h"
#include "tmk.h"

#include <QDir>
#include <cstdio>

int main(int argc, char **argv)
{
    if (argc != 2) {
        std::fprintf(stderr, "usage: preview_screenshots OUTPUT_FOLDER\n");
        return 2;
    }
    const QDir out(QString::fromLocal8Bit(argv[1]));
    for (const bool english : {true, false}) {
        SetEnglishVersion(english);
        TMK model(0xC000);
        model.FormatImage(9);
        ed::OpenForEditing(model);
        using disp::Layout;
        disp::SetCode(model, Layout::Graphs, 0, 0, 13);
        disp::SetCode(model, Layout::Graphs, 0, 1, 12);
        disp::SetCode(model, Layout::Dials, 0, 0, 14);
        disp::SetCode(model, Layout::Dials, 0, 1, 12);
        for (int i = 0; i < 4; ++i)
            disp::SetCode(model, Layout::X1, 0, i, std::array{7, 8, 10, 17}[static_cast<size_t>(i)]);
        for (int s = 0; s < 4; ++s)
            disp::SetCode(model, Layout::Panel, 0, s, std::array{1, 3, 5, 9}[static_cast<size_t>(s)]);
        // Graph elements 40..44, dial elements 45..54, as palette indices.
        const uint8_t elements[] = {15, 4, 10, 11, 8, 0, 7, 15, 15, 14, 14, 9, 9, 8, 9};
        for (const int scheme : {0, 1})
            for (size_t i = 0; i < std::size(elements); ++i)
                SetU8(model.block(mem::DisplayBlock),
                      (scheme ? mem::kScheme1Offset : mem::kScheme0Offset) + 40 + int(i), elements[i]);
        for (const QString &name : pv::ScreenNames())
            for (const int scheme : {0, 1}) {
                pv::TPreviewCanvas canvas;
                pv::DrawEditorPreview(canvas, model, Catalog().capabilities(), *pv::ScreenNamed(name), 0, scheme,
                                      std::nullopt, 1);
                const QString file = QStringLiteral("preview-%1-%2%3.png")
                                         .arg(name, scheme ? QStringLiteral("night") : QStringLiteral("day"),
                                              english ? QString() : QStringLiteral("-ru"));
                canvas.image().scaled(640, 480, Qt::IgnoreAspectRatio, Qt::FastTransformation).save(out.filePath(file));
            }
    }
    return 0;
}
