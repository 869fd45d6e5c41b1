#include "blocks.h"
#include "field_schema.h"

#include <gtest/gtest.h>

#include <QSet>
#include <cmath>
#include <limits>

using namespace ed;

TEST(Conversions, RoundsTiesToEven)
{
    const std::pair<double, int64_t> cases[] = {{0.5, 0},  {1.5, 2},   {2.5, 2},     {-0.5, 0},
                                                {-1.5, -2}, {-2.5, -2}, {2.4999, 2}, {60.5, 60},
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
    const Case cases[] = {
        {ValueMap::Tachometer, 1, 3, 0}, {ValueMap::Tachometer, 2, 3, 1}, {ValueMap::Tachometer, 3, 3, 2},
        {ValueMap::Tachometer, 4, 3, 2}, {ValueMap::Tachometer, 0, 3, 2}, {ValueMap::IndexPlusOne, 1, 3, 0},
        {ValueMap::IndexPlusOne, 0, 3, std::nullopt}, {ValueMap::IndexPlusOne, 4, 3, std::nullopt},
        {ValueMap::IndexPlusOne, 4, 4, 3}, {ValueMap::InvertedBit, 0, 2, 1}, {ValueMap::InvertedBit, 1, 2, 0},
        {ValueMap::Plain, 5, 5, std::nullopt}, {ValueMap::Plain, -1, 5, std::nullopt}};
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

TEST(Schema, EveryControlOfThePagesHasOneSoundRow)
{
    const QStringList expected = QStringLiteral(
        "seVelocityCorr seExpenseCorr seGazExpenseCorr seAirTemperCorr seAccCorr seTimeCorr seAllPathStart "
        "seAllTimeStart rgForsPosFlag rgForsCoef seForsCoefCarb cbProtocolSelectMeth cbProtocol cbProtTypeMain "
        "cbProtTypeAdd1 cbProtTypeAdd2 cbProtTypeAdd3 cbProtTypeAdd4 cbProtTypeAdd5 cbProtTypeAdd6 cbProtTypeAdd7 "
        "rgLockType rgLockTypeLevel rgGabarType rgGabarInvPol cbTankMode cbTankMeth cbUseTank2 cbCorrTankByAcc "
        "seTankContFull seGazContFull rgVelocityMeth rgRevolutionsMeth rgExpenseMeth rgGasMeth rgGasCalcExp "
        "rgPrognozMeth seK100Manual cbGasOil cbLightsOn rgAirTemperMeth rgUaccMeth sgTrimMeth rgAirWaterShow "
        "rgAirTemperGetMeth seLiqTemperLimit seRevolutionsLimit seVelocityLimit seStopVelocityLimit seTankLimit "
        "seUaccLowLimit seUaccHighLimit seVentTempLimit seVentVelLimit seInjTimeLimit seLiqTemperReady seVel100 "
        "seVel100Down seVelMinForExp seVAGSFilterLimit seOilAKPPTemperLimit seOilEngTemperLimit seCVTFDeteriorLim "
        "seRetarderOilTemperLimit seInvTemperLimit seHVBTemperLimit seAddCoolingTemper seElEngTemperLimit "
        "seHVBChargeLevelLowLimit seHVBChargeLevelHighLimit seHybrVentSpeedStep cbHybridCoolHVB cbHybrUse6VentSpeed "
        "rg24VMode seTrimLowLimit seTrimHighLimit "
        // display options
        "rgIntenseMeth rgColorMeth meIntenseDayTime meIntenseNightTime seIntense0 seIntense1 rgActiveColorScheme "
        "rgDispSpeed cbDispShowTitle cbShowDispName rgDispShowPBMeth rgDispShowArrowMeth seExpPBLim")
            .split(QLatin1Char(' '));
    QStringList names;
    const QStringList pages{"tsCorr", "tsMeth", "tsLim", "tsDivers"};
    for (const FieldRow &row : FieldSchema()) {
        if (pages.contains(QLatin1String(row.page)))
            names << QLatin1String(row.name);
        EXPECT_EQ(FindField(QLatin1String(row.name)), &row);
        EXPECT_GE(row.block, 1);
        EXPECT_LE(row.block, mem::kBlockCount);
        EXPECT_LE(row.offset + RowWidth(row), mem::kBlockSize[row.block]) << row.name;
        if (row.type == FieldType::Bit) { // an option set, or the 16-bit reminder set
            EXPECT_TRUE((row.offset == 0 && row.bit < 32) || (row.map == ValueMap::ReminderBit && row.bit < 10))
                << row.name;
        }
        if (row.kind == ControlKind::SpinEdit) {
            EXPECT_LT(row.min, row.max) << row.name;
            EXPECT_GT(row.step, 0) << row.name;
        }
        if (row.itemSource == ItemSource::Static && row.kind != ControlKind::SpinEdit &&
            row.kind != ControlKind::CheckBox && row.kind != ControlKind::TextEdit &&
            row.kind != ControlKind::DateEdit) {
            EXPECT_GE(row.items.size(), 2u) << row.name;
        }
    }
    EXPECT_EQ(names, expected);
    EXPECT_EQ(FindField(QStringLiteral("seNoSuchControl")), nullptr);
}

// Rows run page by page in the editor's order, each page in one stretch.
TEST(Schema, RowsFollowThePageOrder)
{
    QStringList pages;
    for (const FieldRow &row : FieldSchema())
        if (pages.isEmpty() || pages.last() != QLatin1String(row.page))
            pages << QLatin1String(row.page);
    EXPECT_EQ(pages, QStringList({"tsCorr", "tsMeth", "tsLim", "tsDivers", "tsVoice", "tsAver", "tsPark", "tsOil",
                                  "tsTO", "tsUniMeas"}));
}
