#include "blocks.h"
#include "journals.h"
#include "language.h"
#include "tmk.h"

#include <gtest/gtest.h>
#include <set>
#include <vector>

namespace {

std::vector<uint8_t> noise(int size)
{
    std::vector<uint8_t> b(static_cast<size_t>(size));
    uint32_t x = 12345;
    for (auto &v : b) {
        x = x * 1103515245u + 12345u;
        v = static_cast<uint8_t>((x >> 16) | 1); // never zero, so every cleared byte shows
    }
    return b;
}

// Every byte in `cleared` is zero afterwards, every other byte as before.
void expectOnly(const std::vector<uint8_t> &before, const std::vector<uint8_t> &after, const std::set<int> &cleared)
{
    ASSERT_EQ(before.size(), after.size());
    for (int i = 0; i < static_cast<int>(before.size()); ++i) {
        if (cleared.count(i))
            EXPECT_EQ(after[static_cast<size_t>(i)], 0) << "byte " << i;
        else
            EXPECT_EQ(after[static_cast<size_t>(i)], before[static_cast<size_t>(i)]) << "byte " << i;
    }
}

std::set<int> range(int from, int count)
{
    std::set<int> s;
    for (int i = from; i < from + count; ++i)
        s.insert(i);
    return s;
}

} // namespace

TEST(Clearing, JournalsLoseOnlyTheirDayBytes)
{
    for (Journal which : {Journal::Trip, Journal::Refuel}) {
        const std::vector<uint8_t> before = noise(mem::kBlockSize[mem::TripLogBlock]);
        std::vector<uint8_t> after = before;
        ClearJournal(after.data(), which);
        std::set<int> days;
        const int base = which == Journal::Trip ? 16 : 436;
        for (int r = 0; r < 21; ++r)
            days.insert(base + 20 * r + 2);
        expectOnly(before, after, days);
        for (int r = 0; r < 21; ++r)
            EXPECT_TRUE(JournalRecord::read(after.data(), which, r).empty());
    }
}

TEST(Clearing, ErrorJournalLosesMapCodesAndFrameCodes)
{
    const std::vector<uint8_t> before = noise(mem::kBlockSize[mem::ErrorLogBlock]);
    std::vector<uint8_t> after = before;
    ClearErrorJournal(after.data());
    std::set<int> cleared = range(4, 12);
    for (int i = 0; i < 7; ++i) {
        const auto code = range(16 + 92 * i + 4, 8);
        cleared.insert(code.begin(), code.end());
    }
    expectOnly(before, after, cleared);
}

TEST(Clearing, SumGroupsOneAtATime)
{
    const std::pair<SumGroupId, std::pair<int, int>> groups[] = {
        {SumGroupId::All, {0, 16}},      {SumGroupId::Trip, {16, 16}},     {SumGroupId::Reset, {32, 16}},
        {SumGroupId::Stop, {48, 16}},    {SumGroupId::NoStop, {64, 16}},   {SumGroupId::Tank, {80, 16}},
        {SumGroupId::OilOnly, {96, 12}}, {SumGroupId::GasOnly, {108, 12}},
    };
    for (const auto &[id, span] : groups) {
        const std::vector<uint8_t> before = noise(mem::kBlockSize[mem::TotalsBlock]);
        std::vector<uint8_t> after = before;
        ClearSumGroup(after.data(), id);
        SCOPED_TRACE(SumGroupOf(id).table);
        expectOnly(before, after, range(span.first, span.second));
    }
}

TEST(Clearing, ModelBlocksOnly)
{
    SetEnglishVersion(true);
    TMK model;
    model.FormatImage(0);
    const QByteArray image = model.SettingsImage;
    const auto blocks = model.blocks();
    ClearTripJournal(model);
    ClearRefuelJournal(model);
    ClearErrorJournal(model);
    ClearSumGroup(model, SumGroupId::Tank);
    // The image follows only when the blocks are packed.
    EXPECT_EQ(model.SettingsImage, image);
    EXPECT_TRUE(JournalRecord::read(model.block(mem::TripLogBlock), Journal::Trip, 1).empty());
    EXPECT_TRUE(JournalRecord::read(model.block(mem::TripLogBlock), Journal::Refuel, 0).empty());
    // The sample record keeps its numbers.
    EXPECT_EQ(JournalRecord::read(model.block(mem::TripLogBlock), Journal::Trip, 1).distance, 10123u);
    for (int b : {2, 3, 4, 5, 6, 8, 9, 10})
        EXPECT_TRUE(
            std::equal(model.block(b), model.block(b) + mem::kBlockSize[b], blocks.data() + mem::kBlockOffset[b]))
            << b;
}

TEST(Export, TwentyTwoLinesOfNineTabTerminatedCells)
{
    SetEnglishVersion(false);
    TMK model;
    const QList<QStringList> grid = JournalGrid(model, Journal::Trip, QStringLiteral("."));
    const QString text = JournalExportText(grid);
    EXPECT_TRUE(text.endsWith(QStringLiteral("\t\r\n")));
    const QStringList lines = text.split(QStringLiteral("\r\n"));
    ASSERT_EQ(lines.size(), 23); // the last split part after the final line end is empty
    EXPECT_TRUE(lines.last().isEmpty());
    for (int i = 0; i < 22; ++i) {
        EXPECT_EQ(lines[i].count(QLatin1Char('\t')), 9) << i;
        EXPECT_TRUE(lines[i].endsWith(QLatin1Char('\t'))) << i;
    }
    EXPECT_EQ(lines[1], QStringLiteral("Посл.\tПусто\t\t\t\t\t\t\t\t"));
    const QByteArray bytes = JournalExportBytes(grid);
    EXPECT_TRUE(
        bytes.startsWith(QByteArray("#\t\xC4\xE0\xF2\xE0 \xE8 \xE2\xF0\xE5\xEC\xFF \xE7\xE0\xEF\xE8\xF1\xE8\t")));
    // Characters outside the code page are replaced, one for one.
    EXPECT_EQ(JournalExportBytes({{QStringLiteral("a\u20BDb"), QStringLiteral("€")}}), QByteArray("a?b\t\x88\t\r\n"));
}
