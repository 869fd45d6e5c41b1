#pragma once
#include <QString>
#include <cstdint>
#include <memory>
#include <vector>

// One item of the device's on-screen menu.
struct TMKMenuItem {
    QString Caption;    // in the language active when the catalog was built
    QString Identifier; // the same in both languages
    uint16_t Code = 0;
    uint8_t Kind = 0; // 0 general, 1 trip and refuelling journal, 2 parking sensor
};

// Rebuilds the process-wide menu catalog for the capabilities and BlockPresent
// flags of the last BuildCatalog.
void BuildMenuCatalog();
// "   5     MM:HH DD.MM": the caption of trip and refuelling slot n (1..20).
QString TripSlotCaption(int n);
const std::vector<std::unique_ptr<TMKMenuItem>> &MenuCatalog();
const TMKMenuItem *FindMenuItem(const QString &identifier);
const TMKMenuItem *FindMenuItemByCode(uint16_t code);
