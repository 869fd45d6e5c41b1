#include "display_layout.h"

#include "blocks.h"
#include "tmk.h"

#include <algorithm>

namespace disp {

namespace {

// Layout bytes. The graph and dial choices and their masks have no place in the
// device's documented memory map; they take bytes 306..341, which nothing else
// uses.
const LayoutPlace kLayouts[] = {
    /* X4 */ {12, 6, 4},
    /* X6 */ {36, 2, 6},
    /* X9 */ {48, 3, 9},
    /* X1 */ {76, 1, 4},
    /* Graphs */ {306, 8, 2},
    /* Dials */ {322, 8, 2},
    /* Panel */ {kStripTiles, 1, 4},
};

const MaskPlace kMasks[] = {
    /* X4 */ {300, 16},
    /* X9 */ {302, 16},
    /* X6 */ {296, 16},
    /* Graphs */ {338, 16},
    /* Dials */ {340, 16},
    /* Averages */ {298, 16},
    /* X1 */ {288, 64},
};

bool inside(const LayoutPlace &p, int display, int position)
{
    return display >= 0 && display < p.displays && position >= 0 && position < p.positions;
}

} // namespace

const LayoutPlace &PlaceOf(Layout layout) { return kLayouts[static_cast<int>(layout)]; }
const MaskPlace &PlaceOf(Mask mask) { return kMasks[static_cast<int>(mask)]; }

int Code(const TMK &model, Layout layout, int display, int position)
{
    const LayoutPlace &p = PlaceOf(layout);
    if (!inside(p, display, position))
        return 0;
    return GetU8(model.block(mem::DisplayBlock), p.offset + display * p.positions + position);
}

void SetCode(TMK &model, Layout layout, int display, int position, int code)
{
    const LayoutPlace &p = PlaceOf(layout);
    if (inside(p, display, position))
        SetU8(model.block(mem::DisplayBlock), p.offset + display * p.positions + position, static_cast<uint8_t>(code));
}

bool Shown(const TMK &model, Mask mask, int display)
{
    const MaskPlace &m = PlaceOf(mask);
    if (display < 0 || display >= m.bits)
        return false;
    const uint8_t *d = model.block(mem::DisplayBlock);
    return (GetU8(d, m.offset + display / 8) >> (display % 8)) & 1u;
}

void SetShown(TMK &model, Mask mask, int display, bool shown)
{
    const MaskPlace &m = PlaceOf(mask);
    if (display < 0 || display >= m.bits)
        return;
    uint8_t *d = model.block(mem::DisplayBlock);
    const auto bit = static_cast<uint8_t>(1u << (display % 8));
    const uint8_t byte = GetU8(d, m.offset + display / 8);
    SetU8(d, m.offset + display / 8, shown ? byte | bit : byte & ~bit);
}

int PositionOfClick(Layout layout, int x, int y, int w, int h)
{
    if (x < 0 || y < 0 || x >= w || y >= h)
        return -1;
    const int col2 = x / (w / 2), row2 = y / (h / 2);
    const int col3 = std::min(x / (w / 3), 2), row3 = std::min(y / (h / 3), 2);
    switch (layout) {
    case Layout::X4:
        return col2 + 2 * row2;
    case Layout::X9:
        return col3 + 3 * row3;
    case Layout::X6:
        switch (col3 + 3 * row3) {
        case 2: return 1;
        case 5: return 2;
        case 6: return 3;
        case 7: return 4;
        case 8: return 5;
        default: return 0;
        }
    case Layout::X1:
        return y >= h * 4 / 7 ? x / (w / 4) : -1;
    case Layout::Graphs:
        return y < 90 ? 0 : y <= 180 ? 1 : -1;
    case Layout::Dials:
        return x < w - 200 ? 0 : 1;
    case Layout::Panel:
        return y / (h / 4);
    }
    return -1;
}

} // namespace disp
