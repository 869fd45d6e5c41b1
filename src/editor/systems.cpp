#include "systems.h"

#include "blocks.h"
#include "protocol_catalog.h"
#include "tmk.h"

#include <algorithm>

namespace ed {

namespace {

constexpr int kShowBit = 0;
constexpr int kShowListBit = 7;

bool bitOf(const TMK &model, int n) { return (model.at(fld::SystemsSet)[n / 8] >> (n % 8)) & 1u; }

void setBit(TMK &model, int n, bool on)
{
    uint8_t *b = model.at(fld::SystemsSet) + n / 8;
    const auto mask = static_cast<uint8_t>(1u << (n % 8));
    *b = on ? static_cast<uint8_t>(*b | mask) : static_cast<uint8_t>(*b & ~mask);
}

bool validNumber(int n) { return n >= kFirstBlockCode && n < 8 * kSystemsBytes; }

} // namespace

std::vector<TBlockInfo> SystemCatalog(const TProtocolCatalog &catalog)
{
    std::vector<TBlockInfo> out;
    for (const TBlockInfo &info : KnownSystems())
        if (catalog.blockPresent(info.Number) && static_cast<int>(out.size()) < kSystemsCapacity)
            out.push_back(info);
    return out;
}

bool SystemSelected(const TMK &model, int number) { return validNumber(number) && bitOf(model, number); }

void SetSystemSelected(TMK &model, int number, bool on)
{
    // Bits 0..7 hold the page's choices, not systems.
    if (validNumber(number))
        setBit(model, number, on);
}

int SystemsShow(const TMK &model) { return bitOf(model, kShowBit) ? 1 : 0; }
int SystemsShowList(const TMK &model) { return bitOf(model, kShowListBit) ? 1 : 0; }
void SetSystemsShowList(TMK &model, int choice) { setBit(model, kShowListBit, choice != 0); }

void ChooseSystemsShow(TMK &model, const TProtocolCatalog &catalog, int choice)
{
    const TProtBase *protocol = catalog.currentProtocol();
    for (const TBlockInfo &info : SystemCatalog(catalog)) {
        bool on = true;
        if (choice != 0)
            on = protocol &&
                 std::find(protocol->Blocks.begin(), protocol->Blocks.end(), info.Number) != protocol->Blocks.end();
        SetSystemSelected(model, info.Number, on);
    }
    setBit(model, kShowBit, choice != 0);
}

} // namespace ed
