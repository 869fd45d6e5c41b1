#pragma once
#include "fields.h"

#include <cstdint>

class TMK;

// The screen layouts, the parameter choices and the shown-display masks of
// DisplayBlock, as displays and positions; their places are named in fields.h.
namespace disp {

enum class Layout { X4, X6, X9, X1, Graphs, Dials, Panel };

struct LayoutPlace {
    int offset; // in DisplayBlock: display d's position p at offset + d × positions + p
    int displays;
    int positions;
};
const LayoutPlace &PlaceOf(Layout layout);

int Code(const TMK &model, Layout layout, int display, int position);
void SetCode(TMK &model, Layout layout, int display, int position, int code);

// Which displays of a kind the device cycles through: bit i = display i + 1.
enum class Mask { X4, X9, X6, Graphs, Dials, Averages, X1 };
struct MaskPlace {
    int offset; // in DisplayBlock
    int bits;   // 16, or 64 for x1
};
const MaskPlace &PlaceOf(Mask mask);
bool Shown(const TMK &model, Mask mask, int display);
void SetShown(TMK &model, Mask mask, int display, bool shown);

// The position a right-click at (x, y) of a w × h preview selects; -1 when the
// click selects nothing.
int PositionOfClick(Layout layout, int x, int y, int width = 320, int height = 240);

// The side strip's tile codes.
constexpr int kStripTiles = fld::StripTiles.offset;

} // namespace disp
