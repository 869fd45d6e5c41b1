// The page table is what the editor's dialog is built from and what schema
// rows name; a fault in it shows as a missing or misplaced page or control.
#include "capabilities.h"
#include "field_schema.h"
#include "page_table.h"

#include <gtest/gtest.h>

#include <set>
#include <string>

using namespace ed;

TEST(PageTable, PagesAndRowsFitTogether)
{
    std::set<std::string> names;
    for (const PageInfo &p : PageTable()) {
        SCOPED_TRACE(p.objectName);
        EXPECT_EQ(FindPage(p.id), &p) << "an id used twice, or out of enumerator order";
        EXPECT_TRUE(names.insert(p.objectName).second) << "a name used twice";
        if (p.subTabs) {
            EXPECT_TRUE(names.insert(p.subTabs).second) << "a page control name used twice";
        }
        EXPECT_STRNE(p.caption.en, "");
        EXPECT_STRNE(p.caption.ru, "");
        if (p.kind == PageKind::Frame) {
            EXPECT_NE(p.subTabs, nullptr) << "a frame without its page control";
        }
        if (!p.parent) {
            EXPECT_NE(p.kind, PageKind::Part) << "a part of no page";
            continue;
        }
        const PageInfo *parent = FindPage(*p.parent);
        ASSERT_NE(parent, nullptr) << "its parent is not in the table";
        EXPECT_NE(parent->subTabs, nullptr) << parent->objectName << " holds no sub-pages";
        EXPECT_TRUE(parent->kind == PageKind::Frame || parent->kind == PageKind::Content) << parent->objectName;
        // A frame's sub-pages have makers of their own; a page's are made with it.
        EXPECT_EQ(p.kind == PageKind::Part, parent->kind == PageKind::Content);
    }
    for (const FieldRow &row : FieldSchema()) {
        const PageInfo *page = FindPage(row.page);
        ASSERT_NE(page, nullptr) << row.name << " names a page the table does not hold";
        EXPECT_TRUE(page->kind == PageKind::Content) << row.name << " is placed on " << page->objectName;
    }
}

// The pages a device of each distinct set of the capabilities that pages
// follow shows, and one with the universal input alone, which no model has.
TEST(PageTable, PagesShownFollowTheDevice)
{
    const struct {
        const char *device;
        CapabilitySet caps;
        std::set<std::string> hidden;
    } cases[] = {
        {"0x4010", FindModel(0x4010)->caps, {"tsUniMeas", "tsServiceInfo"}},
        {"0x5100, no parking radar", FindModel(0x5100)->caps, {"tsPark", "tsBlocks", "tsUniMeas", "tsServiceInfo"}},
        {"0x5800, trim", FindModel(0x5800)->caps, {"tsPark", "tsBlocks", "tsServiceInfo"}},
        {"not in the model table", {}, {"tsBlocks", "tsUniMeas", "tsServiceInfo"}},
        {"universal input", {Cap::UniversalInput}, {"tsBlocks", "tsServiceInfo"}},
    };
    for (const auto &c : cases)
        for (const PageInfo &p : PageTable())
            EXPECT_EQ(PageShown(p.id, c.caps), !c.hidden.contains(p.objectName)) << c.device << ": " << p.objectName;
}
