#pragma once
#include "fields.h"

#include <QString>
#include <cstdint>
#include <vector>

class TMK;
class TProtocolCatalog;

// The additional vehicle systems the device polls besides the engine ECU: the
// fixed list of known systems, the part of it the device supports, and the
// selection set of ServiceBlock (bit n = system n; bits 0 and 7 of the first
// byte carry the page's two show choices, since system numbers start at 8).
namespace ed {

struct TBlockInfo {
    uint8_t Number = 0;
    QString Name; // the same in both languages
};

constexpr int kSystemsCapacity = 201;
constexpr int kSystemsOffset = fld::SystemsSet.offset; // in ServiceBlock
constexpr int kSystemsBytes = fld::SystemsSet.width;

// Every known system, in the page's fixed order.
const std::vector<TBlockInfo> &KnownSystems();

// The systems the device supports (their BlockPresent flag), in the fixed
// order; at most kSystemsCapacity.
std::vector<TBlockInfo> SystemCatalog(const TProtocolCatalog &catalog);

bool SystemSelected(const TMK &model, int number);
void SetSystemSelected(TMK &model, int number, bool on);

// rgBlocksShow (bit 0): 0 "All", 1 "Protocol"; rgBlocksShowList (bit 7):
// 0 "List", 1 "By types".
int SystemsShow(const TMK &model);
int SystemsShowList(const TMK &model);
void SetSystemsShowList(TMK &model, int choice);

// Choosing "All" selects every system of the catalog; "Protocol" selects those
// the current protocol polls and deselects the catalog's others. Systems
// outside the catalog keep their bits. The choice is stored in bit 0.
void ChooseSystemsShow(TMK &model, const TProtocolCatalog &catalog, int choice);

} // namespace ed
