#include "blocks.h"
#include "field_schema.h"
#include "field_state.h"
#include "page_table.h"

#include <gtest/gtest.h>

#include <QSet>
#include <cmath>
#include <functional>
#include <limits>
#include <map>
#include <set>

using namespace ed;

TEST(Conversions, RoundsTiesToEven)
{
    const std::pair<double, int64_t> cases[] = {{0.5, 0},       {1.5, 2},      {2.5, 2},        {-0.5, 0},
                                                {-1.5, -2},     {-2.5, -2},    {2.4999, 2},     {60.5, 60},
                                                {7.0000001, 7}, {0.7 * 10, 7}, {13.9 * 10, 139}};
    for (const auto &[value, expected] : cases)
        EXPECT_EQ(RoundHalfEven(value), expected) << value;
}

TEST(Conversions, CorrectionFactorRule)
{
    const std::pair<float, double> shown[] = {{1.0f, 0.0}, {1.05f, 5.0}, {0.95f, -5.0}, {0.01f, -99.0}, {2.0f, 100.0}};
    for (const auto &[factor, expected] : shown)
        EXPECT_DOUBLE_EQ(FactorToShown(factor), expected) << factor;
    // Damaged factors in a file must still show a number the spin edit can clip.
    EXPECT_DOUBLE_EQ(FactorToShown(std::numeric_limits<float>::quiet_NaN()), 0.0);
    EXPECT_GT(FactorToShown(std::numeric_limits<float>::infinity()), 999.9);
    EXPECT_LT(FactorToShown(-3.0e38f), -99.0);
    EXPECT_EQ(ShownToFactor(5.0), 1.05f);
    EXPECT_EQ(ShownToFactor(-5.0), 0.95f);
    for (double v : {-99.0, -12.3, 0.0, 0.1, 47.5, 999.9})
        EXPECT_DOUBLE_EQ(FactorToShown(ShownToFactor(v)), v) << v; // what is stored shows again as entered
}

TEST(Conversions, ItemsAndStoredValues)
{
    struct Case {
        ValueMap map;
        int64_t stored;
        int items;
        std::optional<int> index;
    };
    const Case cases[] = {{ValueMap::Tachometer, 1, 3, 0},
                          {ValueMap::Tachometer, 2, 3, 1},
                          {ValueMap::Tachometer, 3, 3, 2},
                          {ValueMap::Tachometer, 4, 3, 2},
                          {ValueMap::Tachometer, 0, 3, 2},
                          {ValueMap::IndexPlusOne, 1, 3, 0},
                          {ValueMap::IndexPlusOne, 0, 3, std::nullopt},
                          {ValueMap::IndexPlusOne, 4, 3, std::nullopt},
                          {ValueMap::IndexPlusOne, 4, 4, 3},
                          {ValueMap::InvertedBit, 0, 2, 1},
                          {ValueMap::InvertedBit, 1, 2, 0},
                          {ValueMap::Plain, 5, 5, std::nullopt},
                          {ValueMap::Plain, -1, 5, std::nullopt}};
    for (const Case &c : cases)
        EXPECT_EQ(ItemOfStored(c.map, c.stored, c.items), c.index) << int(c.map) << " " << c.stored;
    EXPECT_EQ(StoredOfItem(ValueMap::Tachometer, 0), 1);
    EXPECT_EQ(StoredOfItem(ValueMap::Tachometer, 1), 2);
    EXPECT_EQ(StoredOfItem(ValueMap::Tachometer, 2), 4);
    EXPECT_EQ(StoredOfItem(ValueMap::IndexPlusOne, 0), 1);
    EXPECT_EQ(StoredOfItem(ValueMap::InvertedBit, 1), 0);
}

TEST(Conversions, FitsField)
{
    EXPECT_TRUE(FitsField(FieldType::Int8, -128));
    EXPECT_FALSE(FitsField(FieldType::Int8, 128));
    EXPECT_FALSE(FitsField(FieldType::UInt8, -1));
    EXPECT_TRUE(FitsField(FieldType::UInt16, 65535));
    EXPECT_FALSE(FitsField(FieldType::Int16, 32768));
    EXPECT_FALSE(FitsField(FieldType::Int32, int64_t{1} << 31));
    EXPECT_FALSE(FitsField(FieldType::Bit, 2));
}

TEST(Schema, EveryRowIsSound)
{
    for (const FieldRow &row : FieldSchema()) {
        const fld::FieldAddress f = row.at.field;
        EXPECT_EQ(FindField(QLatin1String(row.name)), &row);
        ASSERT_GE(f.block, 1) << row.name;
        ASSERT_LE(f.block, mem::kBlockCount) << row.name;
        EXPECT_GE(f.offset, 0) << row.name;
        EXPECT_LE(f.end(), mem::kBlockSize[f.block]) << row.name;
        // A row reads and writes its whole field; a date is a 16-bit day
        // number in a 32-bit slot.
        if (row.kind == ControlKind::DateEdit) {
            EXPECT_EQ(RowWidth(row), 2) << row.name;
            EXPECT_EQ(f.width, 4) << row.name;
            EXPECT_EQ(row.onStore, OnStore::Write) << row.name; // a date store has no follow-up
        } else {
            EXPECT_EQ(RowWidth(row), f.width) << row.name;
        }
        const int bits = row.type == FieldType::Bit ? 1 : row.type == FieldType::Nibble ? 4 : 0;
        EXPECT_EQ(row.at.bits, bits) << row.name;
        EXPECT_GE(row.at.bit, 0) << row.name;
        EXPECT_LE(row.at.bit + row.at.bits, 8 * f.width) << row.name;
        if (row.type == FieldType::Text) {
            EXPECT_EQ(f.width, kItemNameLength + 1) << row.name;
        }
        if (row.kind == ControlKind::SpinEdit) {
            EXPECT_LT(row.min, row.max) << row.name;
            EXPECT_GT(row.step, 0) << row.name;
        }
        if (row.itemSource == ItemSource::Static &&
            (row.kind == ControlKind::RadioGroup || row.kind == ControlKind::ComboBox)) {
            EXPECT_GE(row.items.size(), 2u) << row.name;
        }
        if (row.captionFrom) {
            const FieldRow *from = FindField(QLatin1String(row.captionFrom));
            ASSERT_NE(from, nullptr) << row.name;
            EXPECT_EQ(from->type, FieldType::Text) << row.name;
        }
        if (row.differsFrom) {
            const FieldRow *other = FindField(QLatin1String(row.differsFrom));
            ASSERT_NE(other, nullptr) << row.name;
            EXPECT_STREQ(other->differsFrom, row.name); // both ways
        }
        if (row.mirrorWithTrim.width > 0) {
            EXPECT_NE(row.mirrorWithTrim, f) << row.name;
            EXPECT_EQ(row.mirrorWithTrim.block, f.block) << row.name;
            EXPECT_EQ(row.mirrorWithTrim.width, f.width) << row.name;
        }
    }
    EXPECT_EQ(FindField(QStringLiteral("seNoSuchControl")), nullptr);
}

namespace {

// The bits of each byte a row stores into: an alert's first-occurrence group
// has bits 0..2 of its byte, the next-occurrence group bits 3..5.
std::map<std::pair<int, int>, uint8_t> storedBits(const FieldRow &row)
{
    std::map<std::pair<int, int>, uint8_t> bits;
    const fld::FieldAddress f = row.at.field;
    if (row.at.bits > 0) {
        for (int b = row.at.bit; b < row.at.bit + row.at.bits; ++b)
            bits[{f.block, f.offset + b / 8}] |= static_cast<uint8_t>(1u << (b % 8));
        return bits;
    }
    const uint8_t mask = row.map == ValueMap::AlertFirst ? 0x07 : row.map == ValueMap::AlertNext ? 0x38 : 0xFF;
    for (int k = 0; k < RowWidth(row); ++k)
        bits[{f.block, f.offset + k}] = mask;
    return bits;
}

} // namespace

// No two rows store into the same bits, but for these groups, which share on
// purpose; a row put on another's field shows here.
TEST(Schema, RowsShareStorageOnlyWhereMeantTo)
{
    const std::vector<QStringList> shared = {
        // Alert 17 is the soot filter's, or with kind 225 the water-in-fuel pair's.
        {"rgapSFilter_F", "rgapWaterInFuel_F", "rgapWaterInFuel_N"},
        // The electric motor's groups are bound to the inverter's alert 22.
        {"rgapInvTemperHigh_F", "rgapElEngTemperHigh_F"},
        {"rgapInvTemperHigh_N", "rgapElEngTemperHigh_N"},
    };
    auto groupOf = [&](const QString &name) {
        std::set<size_t> groups;
        for (size_t g = 0; g < shared.size(); ++g)
            if (shared[g].contains(name))
                groups.insert(g);
        return groups;
    };
    std::map<std::pair<int, int>, std::vector<std::pair<const FieldRow *, uint8_t>>> users;
    for (const FieldRow &row : FieldSchema())
        for (const auto &[byte, bits] : storedBits(row))
            users[byte].push_back({&row, bits});
    std::set<size_t> used;
    for (const auto &[byte, rows] : users) {
        for (size_t i = 0; i < rows.size(); ++i) {
            for (size_t j = i + 1; j < rows.size(); ++j) {
                if (!(rows[i].second & rows[j].second))
                    continue;
                const QString a = QLatin1String(rows[i].first->name), b = QLatin1String(rows[j].first->name);
                bool listed = false;
                for (size_t g : groupOf(a))
                    if (shared[g].contains(b)) {
                        listed = true;
                        used.insert(g);
                    }
                EXPECT_TRUE(listed) << qPrintable(a) << " and " << qPrintable(b) << " share "
                                    << mem::BlockName(byte.first) << " +" << byte.second;
            }
        }
    }
    EXPECT_EQ(used.size(), shared.size()) << "a listed group no longer shares";
}

// Rows run page by page in the editor's order, each page in one stretch.
TEST(Schema, RowsFollowThePageOrder)
{
    QStringList pages;
    for (const FieldRow &row : FieldSchema())
        if (pages.isEmpty() || pages.last() != QLatin1String(PageName(row.page)))
            pages << QLatin1String(PageName(row.page));
    // The pages with rows as the dialog's tabs go, each before its sub-pages.
    QStringList tabOrder;
    const std::function<void(std::optional<Page>)> walk = [&](std::optional<Page> parent) {
        for (const PageInfo *p : SubPages(parent)) {
            if (pages.contains(QLatin1String(p->objectName)))
                tabOrder << QLatin1String(p->objectName);
            walk(p->id);
        }
    };
    walk(std::nullopt);
    EXPECT_EQ(pages, tabOrder);
}
