#include "errors.h"
#include "language.h"
#include "measured_params.h"
#include "protocol_catalog.h"
#include "tmk.h"

#include <gtest/gtest.h>

namespace {

struct LanguageGuard {
    bool saved = EnglishVersion();
    explicit LanguageGuard(bool english) { SetEnglishVersion(english); }
    ~LanguageGuard() { SetEnglishVersion(saved); }
};

const TMeasParBase *find(const MeasParList &list, int number)
{
    for (const auto &p : list)
        if (p->ParameterNumber == number)
            return p.get();
    return nullptr;
}

TMeasParBase *findClass(const MeasParList &list, const char *cls)
{
    for (const auto &p : list)
        if (p->ClassName() == QLatin1String(cls))
            return p.get();
    return nullptr;
}

std::vector<int> numbersOf(const MeasParList &list)
{
    std::vector<int> out;
    for (const auto &p : list)
        out.push_back(p->ParameterNumber);
    return out;
}

} // namespace

struct CapCase {
    const char *what;
    CapabilitySet caps;
    const char *class11;
    bool has34;
};

class ParameterCapabilityTest : public ::testing::TestWithParam<CapCase> {};

TEST_P(ParameterCapabilityTest, NumberElevenAndThirtyFour)
{
    LanguageGuard english(true);
    const MeasParList list = CreateMeasuredParameters(GetParam().caps);
    const TMeasParBase *p11 = find(list, 11);
    ASSERT_NE(p11, nullptr);
    EXPECT_EQ(p11->ClassName(), GetParam().class11);
    const TMeasParBase *p34 = find(list, 34);
    EXPECT_EQ(p34 != nullptr, GetParam().has34);
    EXPECT_EQ(find(list, 40), nullptr);
    EXPECT_EQ(list.size(), GetParam().has34 ? 64u : 63u);
    if (p34) {
        EXPECT_EQ(p34->ClassName(), "TLightsFlag1");
        EXPECT_EQ(p34->Name, "LowBmCntr");
        EXPECT_EQ(p34->SampleText, "1");
    }
}

INSTANTIATE_TEST_SUITE_P(
    Capabilities, ParameterCapabilityTest,
    ::testing::Values(CapCase{"both", {Cap::LightsOnAirTempInput, Cap::LowBeamControl}, "TLightsFlag", false},
                      CapCase{"low beam alone", {Cap::LowBeamControl}, "TTemperAir", true},
                      CapCase{"lights input alone", {Cap::LightsOnAirTempInput}, "TTemperAir", false},
                      CapCase{"neither", {}, "TTemperAir", false}));

TEST(MeasuredParameters, CreationOrder)
{
    const MeasParList list = CreateMeasuredParameters(CapabilitySet{Cap::LowBeamControl});
    const std::vector<int> expected{12, 13, 16, 14, 15, 10, 8,  9,  7,  11, 17, 18, 19, 20, 33, 21,
                                    25, 26, 27, 28, 29, 24, 31, 30, 22, 23, 1,  5,  4,  2,  3,  6,
                                    32, 34, 35, 36, 37, 38, 39, 41, 42, 43, 44, 45, 46, 47, 48, 49,
                                    50, 51, 52, 53, 54, 55, 56, 57, 58, 59, 60, 61, 62, 63, 64, 65};
    EXPECT_EQ(numbersOf(list), expected);
    EXPECT_EQ(MeasuredParameterClassNames().size(), 65u);
}

TEST(MeasuredParameters, LowBeamFlagOnTheAirInput)
{
    LanguageGuard russian(false);
    const MeasParList list = CreateMeasuredParameters(CapabilitySet{Cap::LightsOnAirTempInput, Cap::LowBeamControl});
    const TMeasParBase *p = find(list, 11);
    ASSERT_NE(p, nullptr);
    EXPECT_EQ(p->Name, "Упр.БСвет");
    EXPECT_EQ(p->SampleText, "1");
    EXPECT_TRUE(p->GaugeName.isEmpty());
}

struct SampleCase {
    const char *cls;
    const char *sampleText;
    const char *minText; // after PrepareData
    const char *maxText;
};

class SampleTextTest : public ::testing::TestWithParam<SampleCase> {};

TEST_P(SampleTextTest, SampleAndRangeTexts)
{
    auto p = CreateMeasuredParameter(GetParam().cls);
    ASSERT_NE(p, nullptr);
    EXPECT_EQ(p->SampleText, GetParam().sampleText);
    EXPECT_TRUE(p->MinText.isEmpty() && p->MaxText.isEmpty()); // made by PrepareData only
    p->PrepareData();
    EXPECT_EQ(p->MinText, GetParam().minText);
    EXPECT_EQ(p->MaxText, GetParam().maxText);
}

INSTANTIATE_TEST_SUITE_P(
    Parameters, SampleTextTest,
    ::testing::Values(
        SampleCase{"TInjectionTime", " 5.00", "0.00", "24.00"}, SampleCase{"TUOZ", " 10.0", "-84.0", "84.0"},
        SampleCase{"TVelocity", " 60", "0", "160"}, SampleCase{"TRevolutions", "2000", "0", "8000"},
        SampleCase{"TAccVoltage", "14.0", "0.0", "16.0"}, SampleCase{"THVBChargeLimit", "-20", "-50", "100"},
        SampleCase{"THVBCurrent", "  4.0", "-200.0", "200.0"}, SampleCase{"TAKPPMode", "0", "0", "100"},
        SampleCase{"TWorkTimeEngine", "10000", "0", "800"}, SampleCase{"TTime", "15:30", "0", "100"},
        SampleCase{"TTripTime", " 1:15", "0", "100"}, SampleCase{"TTripMomentaryExpenseK", "23.45", "0", "100"},
        SampleCase{"TTripPath", "517.3", "0", "100"}, SampleCase{"TTripExpense", "123.4", "0", "100"},
        SampleCase{"TTripVelocity", " 47", "0", "100"}, SampleCase{"TMomentaryExpenseL", " 10.0", "0.0", "10.0"}));

TEST(MeasuredParameters, FormatSampleTextPadsButNeverCuts)
{
    EXPECT_EQ(FormatSampleText(5, 2, 5), " 0.05");
    EXPECT_EQ(FormatSampleText(-5, 1, 5), " -0.5");
    EXPECT_EQ(FormatSampleText(123456, 0, 3), "123456");
}

TEST(MeasuredParameters, MomentaryExpenseSwitchesToTheWideRangeWhenPrepared)
{
    auto p = CreateMeasuredParameter("TMomentaryExpenseK");
    ASSERT_NE(p, nullptr);
    EXPECT_NE(dynamic_cast<TMomentaryExpenseK *>(p.get()), nullptr);
    EXPECT_EQ(p->Min, 0);
    EXPECT_EQ(p->Max, 240);
    EXPECT_EQ(p->ScaleMin, 0);
    EXPECT_EQ(p->ScaleMax, 24);
    EXPECT_FALSE(p->ExtendedRange);
    p->PrepareData();
    EXPECT_TRUE(p->ExtendedRange);
    EXPECT_EQ(p->Max, 800);
    EXPECT_EQ(p->ScaleMax, 80);
    EXPECT_EQ(p->MinText, "0.0");
    EXPECT_EQ(p->MaxText, "80.0");

    // Other kinds keep their range when prepared.
    auto h = CreateMeasuredParameter("TMomentaryExpenseH");
    h->PrepareData();
    EXPECT_FALSE(h->ExtendedRange);
    EXPECT_EQ(h->MaxText, "8.00");
    EXPECT_EQ(CreateMeasuredParameter("TNoSuchParameter"), nullptr);
}

struct TextCase {
    bool english;
    const char *cls;
    QString TMeasParBase::*field;
    const char *expected;
};

class ParameterTextTest : public ::testing::TestWithParam<TextCase> {};

TEST_P(ParameterTextTest, TextOfTheCreationLanguage)
{
    LanguageGuard lang(GetParam().english);
    auto p = CreateMeasuredParameter(GetParam().cls);
    ASSERT_NE(p, nullptr);
    EXPECT_EQ((*p).*(GetParam().field), QString::fromUtf8(GetParam().expected));
}

using P = TMeasParBase;
INSTANTIATE_TEST_SUITE_P(Texts, ParameterTextTest,
                         ::testing::Values(TextCase{true, "TMomentaryExpenseK", &P::CellUnit4, "л/100"},
                                           TextCase{true, "TMomentaryExpenseK", &P::GaugeUnit, "l/100"},
                                           TextCase{true, "TTemperAir", &P::Name, "Tair/wat/en"},
                                           TextCase{true, "TTemperAir", &P::GraphName, ""},
                                           TextCase{true, "TTemperCylRight", &P::GaugeUnit, ""},
                                           TextCase{false, "TTemperCylRight", &P::GaugeUnit, "градусы"},
                                           TextCase{false, "TRevolutions", &P::LongName, "Обороты двиг,об/мин"},
                                           TextCase{false, "TRevolutions", &P::GaugeUnit, "x1000"},
                                           TextCase{false, "TThrottle2", &P::Name, "Дроссель"},
                                           TextCase{false, "TTemperAir", &P::CellName4, "Tвозд"},
                                           TextCase{true, "TCorrLeft", &P::GraphName, "Left corr.,В"},
                                           TextCase{false, "TOil", &P::GaugeName, ""}));

struct RelabelCase {
    const char *what;
    bool english;
    CapabilitySet caps;
    int temperatureLabel;
    const char *cls;
    QString TMeasParBase::*field;
    const char *expected;
};

class RelabelTest : public ::testing::TestWithParam<RelabelCase> {};

TEST_P(RelabelTest, RewritesTheTexts)
{
    const RelabelCase &c = GetParam();
    LanguageGuard lang(c.english);
    const MeasParList list = CreateMeasuredParameters(c.caps);
    RelabelMeasuredParameters(list, c.temperatureLabel, c.caps);
    TMeasParBase *p = findClass(list, c.cls);
    ASSERT_NE(p, nullptr);
    EXPECT_EQ(p->*(c.field), QString::fromUtf8(c.expected)) << c.what;
}

const CapabilitySet kMarine{Cap::NoAirTempAlgorithm};
const CapabilitySet kLand{};
INSTANTIATE_TEST_SUITE_P(
    Parameters, RelabelTest,
    ::testing::Values(
        RelabelCase{"9 marine", true, kMarine, 0, "TPrognoz", &P::Name, "Power res."},
        RelabelCase{"9 marine", false, kMarine, 0, "TPrognoz", &P::PanelName, "Запас Хд,km"},
        RelabelCase{"9 marine", false, kMarine, 0, "TPrognoz", &P::CellName9, "Запас Хд"},
        RelabelCase{"9 land", true, kLand, 0, "TPrognoz", &P::Name, "Mileage progn"},
        RelabelCase{"9 land", true, kLand, 0, "TPrognoz", &P::CellName9, "Mile.Progn."},
        RelabelCase{"9 land", false, kLand, 0, "TPrognoz", &P::LongName, "Прогноз пробега,км"},
        RelabelCase{"11 plain", true, kLand, 2, "TTemperAir", &P::Name, "T air"},
        RelabelCase{"11 plain", false, kLand, 2, "TTemperAir", &P::Name, "Tвоздуха"},
        RelabelCase{"11 plain", false, kLand, 2, "TTemperAir", &P::GaugeName, "Tвозд"},
        RelabelCase{"11 universal input", true, {Cap::UniversalInput}, 2, "TTemperAir", &P::Name, "Tair/wat/eng"},
        RelabelCase{"11 universal input", true, {Cap::UniversalInput}, 2, "TTemperAir", &P::CellName4, "T eng."},
        RelabelCase{"11 trim", false, {Cap::Trim}, 1, "TTemperAir", &P::PanelName, "Tводы"},
        RelabelCase{"11 trim", true, {Cap::Trim}, 1, "TTemperAir", &P::LongName, "Twater"},
        RelabelCase{"11 trim", false, {Cap::Trim}, 7, "TTemperAir", &P::CellName9, "Tвозд"},
        RelabelCase{"11 trim", false, {Cap::Trim}, 0, "TTemperAir", &P::Name, "Твоз/вод/дв"},
        RelabelCase{"11 trim, untouched unit", true, {Cap::Trim}, 1, "TTemperAir", &P::CellUnit4, "degrees"},
        RelabelCase{"55 marine", false, kMarine, 0, "TCourseAngle", &P::CellName4, "Тангаж"},
        RelabelCase{"55 marine", false, kMarine, 0, "TCourseAngle", &P::GraphName, "Тангаж,гр"},
        RelabelCase{"55 land", false, kLand, 0, "TCourseAngle", &P::Name, "Дифферент"},
        RelabelCase{"55 land", false, kLand, 0, "TCourseAngle", &P::LongName, "Дифферент,гр."},
        RelabelCase{"55 land", false, kLand, 0, "TCourseAngle", &P::CellName4, "Дифф."},
        RelabelCase{"55 land", false, kLand, 0, "TCourseAngle", &P::PanelName, "Дифф.,гр"},
        RelabelCase{"55 land", true, kLand, 0, "TCourseAngle", &P::PanelName, "Pitch,deg"}));

TEST(MeasuredParameters, RelabellingLeavesTheLowBeamFlagOnElevenAlone)
{
    LanguageGuard english(true);
    const CapabilitySet caps{Cap::LightsOnAirTempInput, Cap::LowBeamControl, Cap::UniversalInput};
    const MeasParList list = CreateMeasuredParameters(caps);
    RelabelMeasuredParameters(list, 2, caps);
    EXPECT_EQ(find(list, 11)->Name, "LowBmCntr");
}

TEST(MeasuredParameters, ModelRebuildsForTheCatalogsCapabilities)
{
    LanguageGuard english(true);
    TMK model;
    Catalog().BuildCatalog(0x4010, 0, 0); // lights on the air input and low beam control
    model.RebuildParameters();
    ASSERT_NE(model.FindParameter(11), nullptr);
    EXPECT_EQ(model.FindParameter(11)->ClassName(), "TLightsFlag");
    EXPECT_EQ(model.FindParameter(34), nullptr);
    EXPECT_EQ(model.FindParameter(40), nullptr);
    EXPECT_EQ(model.FindParameter(0), nullptr);
    EXPECT_EQ(model.FindParameter(66), nullptr);

    Catalog().BuildCatalog(0xC000, 0, 0);
    SetEnglishVersion(false);
    model.RebuildParameters();
    EXPECT_EQ(model.Parameters().size(), 63u);
    EXPECT_EQ(model.FindParameter(11)->ClassName(), "TTemperAir");
    EXPECT_EQ(model.FindParameter(12)->Name, "Скорость");
    EXPECT_EQ(model.Parameters().front()->ParameterNumber, 12);
}
