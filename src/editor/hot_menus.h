#pragma once
#include "fields.h"

#include <QString>
#include <array>
#include <cstdint>
#include <vector>

class TMK;
class TProtocolCatalog;

// The device's hot menus: four lines of ten menu item codes in DisplayBlock
// (0 = empty). Lines 0..2 are parameters, averages and parking radar; line 3
// is only kept compact. Every operation changes the stored line; the page
// then reloads, which compacts all four lines.
namespace ed {

constexpr int kHotMenuLines = fld::kHotMenuLines;
constexpr int kHotMenuEntries = fld::kHotMenuEntries;
constexpr int kParkingHotMenu = 2;

using HotMenuLine = std::array<uint16_t, kHotMenuEntries>;

HotMenuLine ReadHotMenu(const TMK &model, int line);
void WriteHotMenu(TMK &model, int line, const HotMenuLine &codes);

// The reload's compaction: the non-empty entries of each line first, in their
// order, then the empty ones. Unknown codes are entries like any other.
void CompactHotMenus(TMK &model);
// Entries from `row` to 8 move down one place, row 9 is dropped.
void InsertHotMenuItem(TMK &model, int line, int row, uint16_t code);
void DeleteHotMenuItem(TMK &model, int line, int row);
void ClearHotMenu(TMK &model, int line);
// The entries between `from` and `to` shift one place towards `from`.
void MoveHotMenuItem(TMK &model, int line, int from, int to);

// The name the page shows for a code: the menu item's caption, or nothing for
// 0 and codes the menu catalog does not know.
QString HotMenuItemName(uint16_t code);

// Whether the page shows the line (the parking line needs a parking radar).
bool HotMenuLineShown(const TProtocolCatalog &catalog, int line);

// The items offered for inserting into a line, as a menu: an entry with
// children is a sub-menu, one without carries an item's code.
struct HotMenuChoice {
    QString caption;
    uint16_t code = 0;
    std::vector<HotMenuChoice> children;
    bool isSubMenu() const { return !children.empty(); }
};
std::vector<HotMenuChoice> HotMenuChoices(const TProtocolCatalog &catalog, int line);

} // namespace ed
