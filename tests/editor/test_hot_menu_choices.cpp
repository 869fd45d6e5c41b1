#include "field_state.h"
#include "hot_menus.h"
#include "language.h"
#include "protocol_catalog.h"
#include "tmk.h"

#include <gtest/gtest.h>

using ed::HotMenuChoice;

namespace {

void open(uint16_t type)
{
    SetEnglishVersion(true);
    TMK m(type);
    m.DeviceType = type;
    m.FormatImage(9);
    ed::OpenForEditing(m);
}

QStringList captions(const std::vector<HotMenuChoice> &choices)
{
    QStringList out;
    for (const HotMenuChoice &c : choices)
        out << c.caption;
    return out;
}

const HotMenuChoice *find(const std::vector<HotMenuChoice> &choices, const QString &caption)
{
    for (const HotMenuChoice &c : choices)
        if (c.caption == caption)
            return &c;
    return nullptr;
}

} // namespace

TEST(HotMenuChoices, CategoriesFollowTheDevice)
{
    struct Case {
        uint16_t type;
        QStringList categories;
        QStringList resources;
        int slip;
        int parkingSubMenus;
    };
    const QStringList six{"Control", "Resources", "Limits", "Display", "Voice messages", "TS"};
    const Case cases[] = {
        {0xC000, six + QStringList{"Slip"}, {"Tank type Calculated/FLS/ECU FLS", "Day", "Night"}, 7, 2},
        // Lights on the air temperature input: the low beam item among the resources.
        {0x4010, six + QStringList{"Slip"}, {"Tank type Calculated/FLS/ECU FLS", "LowBeamCntr", "Day", "Night"}, -1, 2},
        // No additional systems, no parking radar.
        {0x5100, six, {"Tank type Calculated/FLS/ECU FLS", "Day", "Night"}, 0, 0},
    };
    for (const Case &c : cases) {
        open(c.type);
        const auto line0 = ed::HotMenuChoices(Catalog(), 0);
        EXPECT_EQ(captions(line0), c.categories) << c.type;
        EXPECT_EQ(captions(find(line0, "Resources")->children), c.resources) << c.type;
        if (c.slip >= 0) {
            const HotMenuChoice *slip = find(line0, "Slip");
            EXPECT_EQ(slip ? int(slip->children.size()) : 0, c.slip) << c.type;
        }
        EXPECT_EQ(int(ed::HotMenuChoices(Catalog(), 2).size()), c.parkingSubMenus) << c.type;
        EXPECT_EQ(ed::HotMenuLineShown(Catalog(), 2), c.parkingSubMenus > 0) << c.type;
    }
}

TEST(HotMenuChoices, AveragesWithJournalSubMenus)
{
    open(0xC000);
    const auto line1 = ed::HotMenuChoices(Catalog(), 1);
    EXPECT_EQ(captions(line1),
              (QStringList{"Reset trip", "Reset Reset1", "Reset Reset2", "Reset Jams", "Reset Traffic", "Reset Gas",
                           "Reset Petrol", "Continuous trip", "Trip log", "Trip log", "Petrol log", "Petrol log"}));
    const HotMenuChoice &trips = line1[9];
    ASSERT_TRUE(trips.isSubMenu());
    EXPECT_EQ(captions(trips.children), (QStringList{"Continue", "Save", "Save", "View", "View"}));
    EXPECT_EQ(trips.children[2].children.size(), 20u);
    EXPECT_EQ(trips.children[4].children.size(), 21u);
    EXPECT_EQ(line1[11].children.size(), 21u);
    EXPECT_EQ(line1[11].children[5].caption, QStringLiteral("   5     MM:HH DD.MM"));
}
