#include "blocks.h"
#include "errors.h"
#include "field_state.h"
#include "language.h"
#include "protocol_catalog.h"
#include "tmk.h"

#include <gtest/gtest.h>

using namespace ed;

namespace {

std::unique_ptr<TMK> openedNew()
{
    SetEnglishVersion(true);
    auto m = std::make_unique<TMK>(0xC000);
    m->FormatImage(9);
    OpenForEditing(*m);
    return m;
}

const FieldRow &row(const char *name) { return *FindField(QLatin1String(name)); }
uint8_t *display(TMK &m) { return m.block(mem::DisplayBlock); }

} // namespace

TEST(DisplayOptions, BrightnessAndSchemeModesShareOneByte)
{
    const auto m = openedNew();
    StoreItem(*m, Catalog(), row("rgIntenseMeth"), 1); // "Время"
    StoreItem(*m, Catalog(), row("rgColorMeth"), 2);   // "Габар."
    EXPECT_EQ(GetU8(display(*m), 283), 0x21);
    StoreItem(*m, Catalog(), row("rgIntenseMeth"), 0);
    EXPECT_EQ(GetU8(display(*m), 283), 0x20);
    EXPECT_EQ(EvaluateField(*m, Catalog(), row("rgColorMeth")).index, 2);
    // Without light alerts "P.lights" cannot be chosen.
    const FieldState s = EvaluateField(*m, Catalog(), row("rgIntenseMeth"));
    EXPECT_EQ(s.itemEnabled[2], !Catalog().has(Cap::NoLightAlerts));
}

TEST(DisplayOptions, TimesOfDay)
{
    const auto m = openedNew();
    const FieldRow &day = row("meIntenseDayTime");
    const struct {
        int stored;
        const char *shown;
    } shown[] = {{450, "07:30"}, {1500, "01:00"}, {0, "00:00"}};
    for (const auto &c : shown) {
        SetU16(display(*m), 284, static_cast<uint16_t>(c.stored));
        EXPECT_EQ(EvaluateField(*m, Catalog(), day).text, QLatin1String(c.shown));
    }
    StoreText(*m, Catalog(), day, QStringLiteral("23:59"));
    EXPECT_EQ(GetU16(display(*m), 284), 1439);
    for (const char *bad : {"24:00", "7:30", "12:60", "ab:cd", "", "12-30"}) {
        EXPECT_THROW(StoreText(*m, Catalog(), day, QLatin1String(bad)), TripError) << bad;
        EXPECT_FALSE(RefuseText(EvaluateField(*m, Catalog(), day), QLatin1String(bad)).isEmpty()) << bad;
    }
    EXPECT_EQ(GetU16(display(*m), 284), 1439);
}
