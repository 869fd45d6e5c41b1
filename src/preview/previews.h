#pragma once
#include "preview_canvas.h"

#include <array>
#include <cstdint>
#include <optional>
#include <vector>

class CapabilitySet;
class TMeasParBase;
class TMK;

// The previews of the device's screens, drawn as the device draws them, in the
// colours of colour scheme `scheme` (0 day, 1 night) of the model. Texts are
// in the current language.
namespace pv {

// Palette colours and screen element colours of one scheme.
class TScheme {
public:
    TScheme(const TMK &model, int scheme);
    uint16_t colour(int k) const;  // palette colour k (0..15)
    uint16_t element(int n) const; // the palette colour that scheme byte n names

private:
    const uint8_t *m_bytes;
};

void DrawStrip(TPreviewCanvas &c, const TMK &model, const CapabilitySet &caps, int scheme);
void DrawMenu(TPreviewCanvas &c, const TMK &model, int scheme);
// Missing parameters (nullptr) leave out what would show them.
void DrawDials(TPreviewCanvas &c, const TMK &model, int scheme, TMeasParBase *left, TMeasParBase *right);
// The curve's random part comes from `seed`; the editor passes a fresh one.
void DrawGraph(TPreviewCanvas &c, const TMK &model, int scheme, TMeasParBase *first, TMeasParBase *second,
               uint32_t seed);
// False, and nothing drawn, when the model has no parameter `number`.
bool DrawSingle(TPreviewCanvas &c, const TMK &model, int scheme, int number);
void DrawX1(TPreviewCanvas &c, const TMK &model, int scheme, const std::array<int, 4> &indicators);
void DrawX4(TPreviewCanvas &c, const TMK &model, int scheme, const std::vector<int> &numbers);
void DrawX6(TPreviewCanvas &c, const TMK &model, int scheme, const std::vector<int> &numbers);
void DrawX9(TPreviewCanvas &c, const TMK &model, int scheme, const std::vector<int> &numbers);
void DrawList(TPreviewCanvas &c, const TMK &model, int scheme, const std::vector<int> &numbers);

// The screens the editor previews, and how many displays each layout has.
enum class Screen { Strip, Menu, Dials, Graph, Single, X1, X4, X6, X9, List };
std::optional<Screen> ScreenNamed(const QString &name); // "strip", "menu", ...
QStringList ScreenNames();
int DisplayCount(Screen screen);

// Display `display` of `screen` drawn from the model's layouts as the editor's
// previews draw it. `parameter` overrides the one-parameter screen's
// parameter. False, and nothing drawn, when that parameter does not exist.
bool DrawEditorPreview(TPreviewCanvas &c, const TMK &model, const CapabilitySet &caps, Screen screen, int display,
                       int scheme, std::optional<int> parameter = std::nullopt, uint32_t seed = 0);

} // namespace pv
