// Times what the editor does on every opening: the protocol catalog, the device
// menu and the measured parameters for the largest model, 0xC000.
#include "language.h"
#include "menu_catalog.h"
#include "protocol_catalog.h"
#include "tmk.h"

#include <algorithm>
#include <chrono>
#include <cstdio>
#include <vector>

namespace {

using Clock = std::chrono::steady_clock;

double microseconds(Clock::duration d) { return std::chrono::duration<double, std::micro>(d).count(); }

struct Figures {
    double median;
    double best;
    double worst;
};

template <typename F> Figures measure(int rounds, F &&f)
{
    std::vector<double> times;
    times.reserve(static_cast<size_t>(rounds));
    for (int i = 0; i < rounds; ++i) {
        const auto start = Clock::now();
        f();
        times.push_back(microseconds(Clock::now() - start));
    }
    std::sort(times.begin(), times.end());
    return {times[times.size() / 2], times.front(), times.back()};
}

void print(const char *what, const Figures &f)
{
    std::printf("%-46s median %8.1f us   best %8.1f us   worst %8.1f us\n", what, f.median, f.best, f.worst);
}

} // namespace

int main()
{
    constexpr int kRounds = 500;
    TMK model;
    for (bool english : {true, false}) {
        SetEnglishVersion(english);
        std::printf("%s texts, device type 0xC000, %d rounds\n", english ? "English" : "Russian", kRounds);
        print("BuildCatalog", measure(kRounds, [] { Catalog().BuildCatalog(0xC000, 0, 0); }));
        print("BuildMenuCatalog", measure(kRounds, [] { BuildMenuCatalog(); }));
        print("RebuildParameters", measure(kRounds, [&] { model.RebuildParameters(); }));
        print("BuildCatalog + BuildMenuCatalog + RebuildParameters", measure(kRounds, [&] {
                  Catalog().BuildCatalog(0xC000, 0, 0);
                  BuildMenuCatalog();
                  model.RebuildParameters();
              }));
    }
    std::printf("%zu protocol entries, %zu menu items, %zu parameters\n", Catalog().protocolList().size(),
                MenuCatalog().size(), model.Parameters().size());
    return 0;
}
