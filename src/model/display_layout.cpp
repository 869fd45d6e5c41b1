#include "display_layout.h"

#include "blocks.h"
#include "fields.h"
#include "tmk.h"

#include <algorithm>

namespace disp {

namespace {

constexpr LayoutPlace kLayouts[] = {
    /* X4 */ {fld::LayoutsX4.offset, 6, 4},
    /* X6 */ {fld::LayoutsX6.offset, 2, 6},
    /* X9 */ {fld::LayoutsX9.offset, 3, 9},
    /* X1 */ {fld::LayoutsX1.offset, 1, 4},
    /* Graphs */ {fld::LayoutsGraphs.offset, 8, 2},
    /* Dials */ {fld::LayoutsDials.offset, 8, 2},
    /* Panel */ {fld::StripTiles.offset, 1, 4},
};

constexpr MaskPlace kMasks[] = {
    /* X4 */ {fld::ShownX4.offset, 16},
    /* X9 */ {fld::ShownX9.offset, 16},
    /* X6 */ {fld::ShownX6.offset, 16},
    /* Graphs */ {fld::ShownGraphs.offset, 16},
    /* Dials */ {fld::ShownDials.offset, 16},
    /* Averages */ {fld::ShownAverages.offset, 16},
    /* X1 */ {fld::ShownX1.offset, 64},
};

constexpr bool fills(const LayoutPlace &p, fld::FieldAddress f)
{
    return p.offset == f.offset && p.displays * p.positions == f.width;
}
static_assert(fills(kLayouts[0], fld::LayoutsX4) && fills(kLayouts[1], fld::LayoutsX6) &&
              fills(kLayouts[2], fld::LayoutsX9) && fills(kLayouts[3], fld::LayoutsX1) &&
              fills(kLayouts[4], fld::LayoutsGraphs) && fills(kLayouts[5], fld::LayoutsDials) &&
              fills(kLayouts[6], fld::StripTiles));
constexpr bool fills(const MaskPlace &m, fld::FieldAddress f) { return m.offset == f.offset && m.bits == 8 * f.width; }
static_assert(fills(kMasks[0], fld::ShownX4) && fills(kMasks[1], fld::ShownX9) && fills(kMasks[2], fld::ShownX6) &&
              fills(kMasks[3], fld::ShownGraphs) && fills(kMasks[4], fld::ShownDials) &&
              fills(kMasks[5], fld::ShownAverages) && fills(kMasks[6], fld::ShownX1));

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
    case Layout::X4: return col2 + 2 * row2;
    case Layout::X9: return col3 + 3 * row3;
    case Layout::X6:
        switch (col3 + 3 * row3) {
        case 2: return 1;
        case 5: return 2;
        case 6: return 3;
        case 7: return 4;
        case 8: return 5;
        default: return 0;
        }
    case Layout::X1: return y >= h * 4 / 7 ? x / (w / 4) : -1;
    case Layout::Graphs: return y < 90 ? 0 : y <= 180 ? 1 : -1;
    case Layout::Dials: return x < w - 200 ? 0 : 1;
    case Layout::Panel: return y / (h / 4);
    }
    return -1;
}

} // namespace disp
