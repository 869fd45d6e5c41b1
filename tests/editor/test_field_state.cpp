#include "blocks.h"
#include "field_state.h"
#include "language.h"
#include "measured_params.h"
#include "protocol_catalog.h"
#include "test_models.h"
#include "tmk.h"

#include <gtest/gtest.h>

#include <functional>
#include <set>
#include <tuple>

using namespace ed;

namespace {

// A model of `type` with an image, changed by `tweak`, opened as the editor opens it.
std::unique_ptr<TMK> opened(uint16_t type, int protocol = 0, const std::function<void(TMK &)> &tweak = {})
{
    SetEnglishVersion(true);
    auto m = MakeModel(type, protocol, tweak);
    OpenForEditing(*m);
    return m;
}

const FieldRow &row(const char *name) { return *FindField(QLatin1String(name)); }
FieldState state(const TMK &m, const char *name) { return EvaluateField(m, Catalog(), row(name)); }
uint8_t *limits(TMK &m) { return m.block(mem::LimitsBlock); }
void setMainBit(TMK &m, int bit, bool on)
{
    const uint32_t w = GetU32(limits(m), 0);
    SetU32(limits(m), 0, on ? w | (1u << bit) : w & ~(1u << bit));
}

} // namespace

TEST(FieldState, SpeedCorrectionFactor)
{
    auto m = opened(0xC000);
    EXPECT_DOUBLE_EQ(state(*m, "seVelocityCorr").number, 0.0);
    StoreNumber(*m, Catalog(), row("seVelocityCorr"), 5.0);
    EXPECT_EQ(GetF32(limits(*m), 60), 1.05f);
    SetF32(limits(*m), 60, 0.95f);
    EXPECT_DOUBLE_EQ(state(*m, "seVelocityCorr").number, -5.0);
}

TEST(FieldState, TachometerShowsFourForThreeAndKeepsItUntilClicked)
{
    auto m = opened(0xC000, 0, [](TMK &t) { SetU8(t.block(mem::LimitsBlock), 73, 3); });
    EXPECT_EQ(state(*m, "rgForsCoef").index, 2);
    EXPECT_EQ(GetU8(limits(*m), 73), 3);
    StoreItem(*m, Catalog(), row("rgForsCoef"), 2);
    EXPECT_EQ(GetU8(limits(*m), 73), 4);
}

TEST(FieldState, SpeedLimitStepsByTwoWithoutTyping)
{
    auto m = opened(0xC000, 0, [](TMK &t) { SetU8(t.block(mem::LimitsBlock), 4, 60); });
    const FieldState s = state(*m, "seVelocityLimit");
    EXPECT_DOUBLE_EQ(s.number, 120);
    for (double refused : {121.0, 1.0, 38.0, 202.0, 120.5})
        EXPECT_TRUE(RefuseNumber(s, refused).contains(QLatin1String("seVelocityLimit"))) << refused;
    EXPECT_TRUE(RefuseNumber(s, 122).isEmpty());
    StoreNumber(*m, Catalog(), row("seVelocityLimit"), 122);
    EXPECT_EQ(GetU8(limits(*m), 4), 61);
}

TEST(FieldState, ProtocolChangeClearsTheEightOptions)
{
    auto m = opened(0xC000, 2, [](TMK &t) {
        for (int g = 0; g < 8; ++g)
            SetU8(t.block(mem::VehicleBlock), 12 + g, static_cast<uint8_t>(g + 1));
    });
    const auto before = m->blocks();
    StoreItem(*m, Catalog(), row("cbProtocol"), 2); // the same protocol
    EXPECT_EQ(m->blocks(), before);
    StoreItem(*m, Catalog(), row("cbProtocol"), 11);
    const uint8_t *v = m->block(mem::VehicleBlock);
    EXPECT_EQ(GetU16(v, 4), 11);
    for (int g = 0; g < 8; ++g)
        EXPECT_EQ(v[12 + g], 0) << g;
    EXPECT_EQ(m->SecondProtocolIndex, 11);
    EXPECT_EQ(Catalog().currentProtocol()->Name, QStringLiteral("CAN"));
    EXPECT_EQ(state(*m, "cbProtTypeAdd1").caption, QStringLiteral("CAN req/sec"));
    EXPECT_EQ(std::memcmp(m->blocks().data(), before.data(), mem::kBlockOffset[mem::VehicleBlock]), 0);
}

TEST(FieldState, ShorterTankListFallsBackToItsFirstItem)
{
    // M86 reads three ECU fuel sensors, UAZ AECS D none.
    auto m = opened(0xC000, 2, [](TMK &t) { SetU8(t.block(mem::FuelBlock), 38, 4); });
    EXPECT_EQ(state(*m, "cbTankMeth").items.size(), 5);
    EXPECT_EQ(state(*m, "cbTankMeth").index, 4);
    StoreItem(*m, Catalog(), row("cbProtocol"), 4);
    EXPECT_EQ(state(*m, "cbTankMeth").items, (QStringList{"Calculated", "FLS"}));
    EXPECT_EQ(GetU8(m->block(mem::FuelBlock), 38), 0);
}

TEST(FieldState, LockLevelIsIndexPlusOne)
{
    auto m = opened(0xC000, 0, [](TMK &t) {
        setMainBit(t, 0, true);
        SetU8(t.block(mem::LimitsBlock), 72, 1);
    });
    EXPECT_TRUE(state(*m, "rgLockTypeLevel").visible);
    EXPECT_EQ(state(*m, "rgLockTypeLevel").index, 0);
    SetU8(limits(*m), 72, 0);
    EXPECT_EQ(state(*m, "rgLockTypeLevel").index, std::nullopt);
    StoreItem(*m, Catalog(), row("rgLockTypeLevel"), 2);
    EXPECT_EQ(GetU8(limits(*m), 72), 3);
    StoreItem(*m, Catalog(), row("rgLockType"), 0);
    EXPECT_FALSE(state(*m, "rgLockTypeLevel").visible);
}

TEST(FieldState, TankCompensationCheckBoxShowsTheInverseOfBit17)
{
    auto m = opened(0xC000);
    EXPECT_TRUE(state(*m, "cbCorrTankByAcc").checked);
    StoreChecked(*m, Catalog(), row("cbCorrTankByAcc"), false);
    EXPECT_EQ(GetU32(limits(*m), 0) & (1u << 17), 1u << 17);
    EXPECT_FALSE(state(*m, "cbCorrTankByAcc").checked);
    StoreChecked(*m, Catalog(), row("cbCorrTankByAcc"), true);
    EXPECT_EQ(GetU32(limits(*m), 0) & (1u << 17), 0u);
}

TEST(FieldState, RangesInForce)
{
    struct Case {
        uint16_t type;
        int protocol;
        const char *name;
        double min, max;
    };
    const Case cases[] = {
        {0xC000, 0, "seUaccLowLimit", 9.0, 13.9},  {0xC000, 0, "seUaccHighLimit", 14.0, 16.0},
        {0xC010, 0, "seUaccLowLimit", 18.0, 27.8}, {0xC010, 0, "seUaccHighLimit", 28.0, 32.0},
        {0xC000, 0, "seVentTempLimit", 75, 115},   {0x8082, 1, "seVentTempLimit", 25, 60},
    };
    for (const Case &c : cases) {
        auto m = opened(c.type, c.protocol);
        const FieldState s = state(*m, c.name);
        EXPECT_TRUE(s.visible) << c.name;
        EXPECT_DOUBLE_EQ(s.min, c.min) << c.type << " " << c.name;
        EXPECT_DOUBLE_EQ(s.max, c.max) << c.type << " " << c.name;
    }
    auto m = opened(0xC010);
    EXPECT_DOUBLE_EQ(state(*m, "seUaccLowLimit").number, 18.0); // the stored 11.5 V shows clipped
    EXPECT_EQ(GetU16(limits(*m), 12), 115);
    EXPECT_TRUE(RefuseNumber(state(*m, "seUaccLowLimit"), 18.2).isEmpty());
    EXPECT_FALSE(RefuseNumber(state(*m, "seUaccLowLimit"), 18.25).isEmpty()); // one decimal only
}

// A spin or date edit shows again what it stored: both ends of its range and
// one step in, for every range and scale a row takes on some device model and
// protocol.
TEST(FieldState, SpinsAndDatesShowWhatTheyStore)
{
    std::set<std::tuple<std::string, double, double, double, double, int>> modes;
    for (const ModelInfo &model : ModelTable()) {
        auto m = opened(model.deviceType);
        const int protocols = static_cast<int>(Catalog().protocolList().size());
        for (int p = 0; p < protocols; ++p) {
            ChangeProtocol(*m, Catalog(), p);
            for (const FieldRow &r : FieldSchema()) {
                if (r.kind != ControlKind::SpinEdit && r.kind != ControlKind::DateEdit)
                    continue;
                const FieldState s = EvaluateField(*m, Catalog(), r);
                if (!modes.emplace(r.name, s.min, s.max, s.step, s.scale, s.decimals).second)
                    continue;
                SCOPED_TRACE(::testing::Message()
                             << r.name << " on 0x" << std::hex << model.deviceType << std::dec << ", protocol " << p);
                const TBlockSnapshot before = m->SnapshotBlocks(1, mem::kBlockCount);
                if (r.kind == ControlKind::DateEdit) {
                    for (const int n : {kEarliestDayNumber, kEarliestDayNumber + 1, kLatestDayNumber}) {
                        EXPECT_NO_THROW(StoreDate(*m, r, DateText(n))) << n;
                        EXPECT_EQ(EvaluateField(*m, Catalog(), r).dayNumber, n);
                    }
                } else {
                    for (const double v : {s.min, s.min + s.step, s.max}) {
                        if (!RefuseEqualAdc(*m, Catalog(), r, v).isEmpty())
                            continue; // equal ADC readings: a rule of its own
                        EXPECT_NO_THROW(StoreNumber(*m, Catalog(), r, v)) << v;
                        EXPECT_NEAR(EvaluateField(*m, Catalog(), r).number, v, 1e-9);
                    }
                }
                m->RestoreBlocks(1, mem::kBlockCount, before);
            }
        }
    }
    // The single service interval is one of the modes met.
    EXPECT_TRUE(modes.count({"seAirFiltCntK", 0, 9.9, 0.1, 10, 1}));
}

TEST(FieldState, TrimBoundsFollowTheStoredValues)
{
    auto m = opened(0x5800, 14, [](TMK &t) {
        SetU8(t.block(mem::LimitsBlock), 36, 50);
        SetU8(t.block(mem::LimitsBlock), 37, 40);
    });
    const FieldState low = state(*m, "seTrimLowLimit");
    const FieldState high = state(*m, "seTrimHighLimit");
    EXPECT_EQ(std::make_tuple(low.min, low.max, low.number), std::make_tuple(-9.0, 39.0, 39.0));
    EXPECT_EQ(std::make_tuple(high.min, high.max, high.number), std::make_tuple(51.0, 90.0, 51.0));
    EXPECT_EQ(GetU8(limits(*m), 36), 50); // nothing stored until an edit is left
    StoreNumber(*m, Catalog(), row("seTrimLowLimit"), -9);
    EXPECT_DOUBLE_EQ(state(*m, "seTrimHighLimit").min, -8);
}

TEST(FieldState, SpeedSourceRestrictionWithThePhysicalLock)
{
    // Model 11: items ECU, GPS, Sens.; the last cannot be kept with a physical lock.
    auto m = opened(0x5800);
    EXPECT_EQ(state(*m, "rgVelocityMeth").items, (QStringList{"ECU", "GPS", "Sens."}));
    StoreItem(*m, Catalog(), row("rgVelocityMeth"), 2);
    EXPECT_EQ(GetU8(limits(*m), 40), 0);
    StoreItem(*m, Catalog(), row("rgLockType"), 1);
    StoreItem(*m, Catalog(), row("rgVelocityMeth"), 2);
    EXPECT_EQ(GetU8(limits(*m), 40), 2);
    StoreItem(*m, Catalog(), row("rgLockType"), 0); // switching to physical moves it too
    EXPECT_EQ(GetU8(limits(*m), 40), 0);

    // Without an ECU protocol the ECU item is disabled and never chosen for the user.
    auto carb = opened(0x5800, 19);
    const FieldState s = state(*carb, "rgVelocityMeth");
    EXPECT_EQ(s.itemEnabled, (std::vector<bool>{false, true, true}));
    EXPECT_FALSE(RefuseItem(s, 0).isEmpty());
    StoreItem(*carb, Catalog(), row("rgVelocityMeth"), 2);
    EXPECT_EQ(GetU8(limits(*carb), 40), 1);
}

TEST(FieldState, VisibilityByDeviceAndProtocol)
{
    struct Case {
        uint16_t type;
        int protocol;
        int signature; // temperature signature, ServiceBlock 7
        const char *name;
        bool visible;
        const char *caption = nullptr;
    };
    const Case cases[] = {
        {0xC000, 0, 0, "rgGabarType", true},
        {0xC000, 0, 0, "seVentVelLimit", true},
        {0xC000, 0, 0, "seOilAKPPTemperLimit", true},
        {0xC000, 0, 0, "seInvTemperLimit", false},
        {0xC000, 0, 0, "cbLightsOn", false},
        {0xC000, 0, 0, "seTrimLowLimit", false},
        {0xC000, 0, 0, "rgAirWaterShow", false},
        {0xC000, 0, 0, "seGazContFull", true},
        {0xC000, 0, 0, "rg24VMode", false},
        {0xC000, 0, 0, "cbProtocol", false},
        {0xC000, 0, 0, "cbProtTypeMain", false},
        {0xC000, 0, 0, "cbProtTypeAdd1", true, "Fan control channel"},
        {0xC000, 0, 0, "seLiqTemperLimit", true, "T coolant, C"},
        {0xC000, 11, 0, "seCVTFDeteriorLim", true},
        {0xC000, 41, 0, "seVAGSFilterLimit", true},
        {0xC000, 14, 0, "seRetarderOilTemperLimit", false},
        {0xC010, 0, 0, "rg24VMode", true},
        {0x5800, 13, 0, "seLiqTemperLimit", true, "T wat/eng., C"},
        {0x5800, 14, 0, "seLiqTemperLimit", false},
        {0x5800, 14, 0, "seLiqTemperReady", true},
        {0x5800, 14, 0, "sgTrimMeth", true},
        {0x5800, 13, 0, "sgTrimMeth", false},
        {0x5800, 21, 2, "seLiqTemperLimit", true, "T eng., C"},
        {0x5800, 21, 1, "seLiqTemperLimit", false},
        {0x5800, 0, 0, "seTrimLowLimit", true},
        {0x5800, 0, 0, "rgAirWaterShow", true},
        {0x5800, 0, 0, "seGazContFull", false},
        {0x5800, 0, 0, "rgAirTemperMeth", false},
        {0x5800, 0, 0, "rgGabarInvPol", false},
        {0x5800, 19, 0, "seForsCoefCarb", true},
        {0x5800, 0, 0, "seForsCoefCarb", false},
        {0x8082, 1, 0, "seInvTemperLimit", true},
        {0x8082, 1, 0, "seAddCoolingTemper", true},
        {0x8082, 2, 0, "seAddCoolingTemper", false},
        {0x8082, 4, 0, "rgAirTemperGetMeth", true},
        {0x8082, 4, 0, "rgUaccMeth", true},
        {0x8082, 0, 0, "rgGabarInvPol", true},
        {0x5100, 0, 0, "rgLockType", false},
        {0x5100, 0, 0, "rgLockTypeLevel", true},
        {0x4010, 0, 0, "rgRevolutionsMeth", false},
        {0x4010, 0, 0, "rgGasMeth", false},
        {0x4010, 0, 0, "seAirTemperCorr", false},
        {0x4010, 0, 0, "cbLightsOn", true},
        // no protocol to select: protocol rules hide, the list is offered
        {0x1234, 0, 0, "cbProtocol", true},
        {0x1234, 0, 0, "seLiqTemperLimit", false},
        {0x1234, 0, 0, "cbProtTypeAdd1", false},
        {0x1234, 0, 0, "seVelocityLimit", true},
        {0xC000, 300, 0, "cbProtocol", true},
        {0xC000, 300, 0, "seVentVelLimit", false},
    };
    for (const Case &c : cases) {
        auto m = opened(c.type, c.protocol,
                        [&](TMK &t) { SetU8(t.block(mem::ServiceBlock), 7, static_cast<uint8_t>(c.signature)); });
        const FieldState s = state(*m, c.name);
        EXPECT_EQ(s.visible, c.visible) << std::hex << c.type << std::dec << " #" << c.protocol << " " << c.name;
        if (c.caption) {
            EXPECT_EQ(s.caption, QString::fromUtf8(c.caption)) << c.name;
        }
    }
}

TEST(FieldState, ItemsBuiltFromCapabilitiesAndProtocol)
{
    auto c000 = opened(0xC000, 84); // Uni.: no ECU
    EXPECT_EQ(state(*c000, "cbProtocolSelectMeth").items,
              (QStringList{"Auto", "AutoOBD", "AutoVAG", "AutoOpl", "Man."}));
    EXPECT_EQ(state(*c000, "rgVelocityMeth").itemEnabled, (std::vector<bool>{false, true}));
    EXPECT_EQ(state(*c000, "cbProtocol").items.size(), 85);
    EXPECT_TRUE(state(*c000, "rgGasMeth").visible);
    EXPECT_FALSE(state(*c000, "rgGasMeth").enabled);

    auto m8082 = opened(0x8082);
    EXPECT_EQ(state(*m8082, "rgLockTypeLevel").items, (QStringList{"1", "2", "3", "4"}));
    auto m5100 = opened(0x5100);
    EXPECT_EQ(state(*m5100, "rgLockTypeLevel").items, (QStringList{"1", "2", "3", "Strt"}));
    EXPECT_EQ(state(*m5100, "cbTankMeth").items.first(), QStringLiteral("Calculated"));
    EXPECT_FALSE(state(*m5100, "cbTankMeth").items.contains(QStringLiteral("FLS")));

    auto unlisted = opened(0x1234);
    EXPECT_TRUE(state(*unlisted, "cbProtocol").items.isEmpty());
    EXPECT_EQ(state(*unlisted, "cbProtocol").index, std::nullopt);
}

TEST(FieldState, InjectorRuleShowsPolarityAndTachometer)
{
    auto m = opened(0xC000);
    EXPECT_FALSE(state(*m, "rgForsPosFlag").visible);
    StoreItem(*m, Catalog(), row("rgExpenseMeth"), 1);
    EXPECT_TRUE(state(*m, "rgForsPosFlag").visible);
    EXPECT_TRUE(state(*m, "rgForsCoef").visible);
    auto carb = opened(0x5800, 19, [](TMK &t) { SetU8(t.block(mem::LimitsBlock), 41, 1); });
    EXPECT_TRUE(state(*carb, "rgForsPosFlag").visible);
    EXPECT_FALSE(state(*carb, "rgForsCoef").visible); // the carburettor pulses take its place
}

TEST(FieldState, TemperatureSignatureRenamesParameter11)
{
    auto m = opened(0x5800);
    EXPECT_EQ(m->FindParameter(9)->Name, QStringLiteral("Power res."));
    StoreItem(*m, Catalog(), row("rgAirWaterShow"), 1);
    EXPECT_EQ(m->FindParameter(11)->CellName4, QStringLiteral("Twater"));
    auto c000 = opened(0xC000);
    EXPECT_EQ(c000->FindParameter(9)->Name, QStringLiteral("Mileage progn"));
}

// The tooltip tells the range in force in shown units, the steps of an edit
// that takes no typing, how a scaled value is kept, the items, and the dates.
TEST(FieldState, ToolTipsTellWhatTheControlTakes)
{
    struct Case {
        uint16_t type;
        bool english;
        const char *name;
        const char *tip;
    };
    const Case cases[] = {
        {0xC000, true, "seSoundVolume", "Sound volume\n0..8, step 1"},
        {0xC000, true, "seAccCorr", "Battery voltage, V\n-0.7..0.7, step 0.1\nStored as the value × 10"},
        {0xC010, true, "seUaccLowLimit", "Low batt.voltage, V\n18.0..27.8, step 0.2\nStored as the value × 10"},
        {0xC000, true, "seVelocityLimit", "Speed, km/h\n40..200; use the arrows: steps of 2\nStored as the value ÷ 2"},
        {0xC000, false, "seParkMinLeng0", "Граница тревога, см\n30..90; стрелками: шаг 10\nХранится как значение ÷ 10"},
        {0xC000, true, "seVelocityCorr", "Speed, %\n-99.0..999.9, step 0.1\nStored as the factor 1 + value / 100"},
        {0xC000, true, "rgLockType", "Ignition lock\nOne of: Phys., Virt."},
        {0xC000, true, "cbResetPeriod1", "Autoreset period 2\nOne of: Proh., Man., 1, …, 99"},
        {0x4010, true, "rgapVel_N",
         "High speed (next)\nModes: O — off, N — no sound, B — beep, M — melody, V — voice\nNot on this device: M, V"},
        {0xC010, false, "rg24VMode",
         "Режим работы с АКБ\nОдин из: 12В, 24В\nПоказано для сведения; здесь не изменяется"},
        {0xC000, true, "deTO", "TS date\nA date dd.mm.yy, 10.10.11..31.12.99"},
        {0xC000, true, "meIntenseDayTime", "Day brightness on time\nA time of day hh:mm, 00:00..23:59"},
    };
    for (const Case &c : cases) {
        auto m = opened(c.type);
        SetEnglishVersion(c.english);
        EXPECT_EQ(ToolTip(state(*m, c.name)), QString::fromUtf8(c.tip)) << c.name;
    }
}

// A typed number outside the range in force is refused with a range error that
// names the range; one inside is taken.
TEST(FieldState, RangeErrorNamesTheRange)
{
    auto m = opened(0xC010);
    const FieldState low = state(*m, "seUaccLowLimit");
    EXPECT_TRUE(RangeError(low, 18.0).isEmpty());
    EXPECT_EQ(RangeError(low, 13.0), QStringLiteral("Range error: \"Low batt.voltage, V\" takes a number "
                                                    "18.0..27.8 with at most 1 decimal(s), not 13"));
    const FieldState steps = state(*m, "seVelocityLimit");
    EXPECT_TRUE(RangeError(steps, 122).isEmpty());
    EXPECT_FALSE(RangeError(steps, 121).isEmpty());
    EXPECT_FALSE(RangeError(steps, 202).isEmpty());
}
