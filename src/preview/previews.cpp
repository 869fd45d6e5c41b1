#include "previews.h"

#include "blocks.h"
#include "capabilities.h"
#include "display_layout.h"
#include "language.h"
#include "measured_params.h"
#include "tmk.h"

#include <algorithm>
#include <random>

namespace pv {

namespace {

constexpr int W = kScreenWidth;

// Scheme element bytes.
constexpr int kDigit1 = 32, kDigitBack1 = 33, kDigit2 = 34, kDigitBack2 = 35, kDigitFrame = 36;
constexpr int kMenuActive = 37, kMenuActiveBack = 38;
constexpr int kGraphAxes = 40, kGraphBack = 41, kGraph1 = 42, kGraph2 = 43, kGraphTitleBack = 44;
constexpr int kDialBack = 45, kDialTitles = 46, kDialLeft = 47, kDialRight = 48, kScaleLeft = 49, kScaleRight = 50,
              kArrowLeft = 51, kArrowRight = 52, kDialTitleBack = 53, kScaleHigh = 54;
constexpr int kBottomPanel = 55;

struct Text {
    const char *en;
    const char *ru;
    QString get() const { return LangText(en, ru); }
};

int textWidth(const QString &text, int cell) { return static_cast<int>(text.size()) * cell; }

// ---- side strip ----------------------------------------------------------------

enum class Offer { Always, GasFuel, AltDisplay, Marine, Trim, MarineTilt };

struct Tile {
    Offer offer;
    Text label;
    const char *value;
};

// In the order the tile codes count them; a label without a value is a picture
// (the first two rows of each group) or the fuel kind.
const Tile kTiles[] = {
    {Offer::Always, {"", ""}, ""}, // CheckEngine
    {Offer::Always, {"Eng.sp.", "Обороты"}, "8500"},
    {Offer::Always, {"rpm", "об/мин"}, "1850"},
    {Offer::Always, {"km/h", "км/час"}, "115"},
    {Offer::Always, {"km/h", "км/час"}, "78"},
    {Offer::Always, {"Tcool", "Т ОЖ"}, "88"},
    {Offer::Always, {"T air", "Т возд"}, "21"},
    {Offer::Always, {"AT oil", "T АКПП"}, "65"},
    {Offer::Always, {"ATmode", "Р.КПП"}, "R"},
    {Offer::Always, {"Volts", "Вольты"}, "14.7"},
    {Offer::Always, {"litres", "литры"}, "38.1"},
    {Offer::GasFuel, {"Pet", "Бен"}, ""},
    {Offer::AltDisplay, {"", ""}, ""}, // Electro
    {Offer::AltDisplay, {"T HVB", "Т ВВБ"}, "33"},
    {Offer::AltDisplay, {"Ti HVB", "Тв ВВБ"}, "23"},
    {Offer::AltDisplay, {"Fan Sp", "СкВент"}, "2"},
    {Offer::AltDisplay, {"TElMot", "Т ЭлДв"}, "33"},
    {Offer::Marine, {"Т eng.", "Т двиг"}, "77"},
    {Offer::Marine, {"Тwater", "Т воды"}, "11"},
    {Offer::Marine, {"Т cyl", "Т цил."}, "68"},
    {Offer::Trim, {"Trim", "Трим"}, "-13"},
    {Offer::MarineTilt, {"Roll", "Крен"}, "5"},
    {Offer::MarineTilt, {"Pitch", "Дифф."}, "-3"},
};
constexpr int kCheckEngineTile = 0, kEngineSpeedTile = 1, kFuelKindTile = 11, kElectroTile = 12;

bool offered(Offer o, const CapabilitySet &caps)
{
    switch (o) {
    case Offer::Always: return true;
    case Offer::GasFuel: return !caps.has(Cap::NoGasFuel);
    case Offer::AltDisplay: return caps.has(Cap::AlternativeDisplay);
    case Offer::Marine: return caps.has(Cap::NoAirTempAlgorithm);
    case Offer::Trim: return caps.has(Cap::Trim);
    case Offer::MarineTilt: return caps.has(Cap::NoAirTempAlgorithm) && caps.has(Cap::TiltSensor);
    }
    return false;
}

void valueField(TPreviewCanvas &c, const TScheme &s, int slot, const QString &value, uint16_t fore, uint16_t back)
{
    const int top = 60 * slot + 9;
    c.SelectFont(FontId::Medium);
    c.SetColours(fore, back);
    c.TextAt(8, top, QStringLiteral("    "));
    c.TextAt((80 - textWidth(value, 16)) / 2, top, value);
    c.SetOrigin(0, 0);
    c.lineWidth = 2;
    c.foreground = s.colour(15);
    c.HLine(8, 72, top);
    c.HLine(8, 72, top + 32);
    c.VLine(8, top, top + 32);
    c.VLine(72, top, top + 32);
}

void drawTile(TPreviewCanvas &c, const TScheme &s, int slot, int tile)
{
    static const int kSlotColour[] = {2, 11, 7, 14};
    const int y0 = 60 * slot;
    if (tile == kCheckEngineTile || tile == kElectroTile) {
        const bool check = tile == kCheckEngineTile;
        c.SetOrigin(0, 0);
        c.foreground = s.colour(check ? 9 : 14);
        c.SetStampClip(QRect(0, y0, 80, 60));
        c.StampPicture(check ? 15 : 22, y0 + (check ? 14 : 2), QLatin1String(check ? "CheckEngine" : "Electro"));
        c.ResetStampClip();
        return;
    }
    const Tile &t = kTiles[tile];
    if (tile == kFuelKindTile) {
        valueField(c, s, slot, t.label.get(), s.colour(0), s.colour(10));
        return;
    }
    const int k = tile == kEngineSpeedTile ? 2 : kSlotColour[slot];
    const QString label = t.label.get();
    c.SelectFont(FontId::Small);
    c.SetColours(s.colour(k), s.colour(0));
    c.TextAt((80 - textWidth(label, 8)) / 2, y0 + 42, label);
    valueField(c, s, slot, QLatin1String(t.value), s.colour(0), s.colour(k));
}

// ---- helpers -------------------------------------------------------------------

TMeasParBase *prepared(const TMK &model, int number)
{
    TMeasParBase *p = number > 0 ? model.FindParameter(number) : nullptr;
    if (p)
        p->PrepareData();
    return p;
}

// The cell displays: the value in the upper part, the name and unit below.
struct CellStyle {
    int width, upper, lower;
    FontId valueFont;
    int valueTop;
    FontId nameFont;
    int nameX, nameY, unitY;
    bool four; // CellName4/CellUnit4 rather than the nine-cell texts
};

void drawCell(TPreviewCanvas &c, const TScheme &s, int x, int y, const CellStyle &st, TMeasParBase &p)
{
    c.SetColours(s.element(kDigit1), s.element(kDigitBack1));
    c.SetOrigin(x, y);
    c.FillRect(st.width + 1, st.upper);
    c.SelectFont(st.valueFont);
    c.TextAt(x + (st.width - textWidth(p.SampleText, c.font().width)) / 2, y + st.valueTop, p.SampleText);
    c.SetColours(s.element(kDigit2), s.element(kDigitBack2));
    c.SetOrigin(x, y + st.upper - (st.four ? 0 : 1));
    c.FillRect(st.width + 1, st.lower);
    c.SelectFont(st.nameFont);
    c.TextAt(x + st.nameX, y + st.nameY, st.four ? p.CellName4 : p.CellName9);
    c.TextAt(x + st.nameX, y + st.unitY, st.four ? p.CellUnit4 : p.CellUnit9);
}

const CellStyle kCell4{160, 64, 56, FontId::LargeDigits, 0, FontId::Medium, 8, 64, 88, true};
const CellStyle kCell9{106, 49, 32, FontId::Medium, 8, FontId::Small, 4, 48, 64, false};

void cellBorders(TPreviewCanvas &c, const TScheme &s)
{
    c.SetOrigin(0, 0);
    c.lineWidth = 1;
    c.foreground = s.element(kDigitFrame);
}

void drawCell9(TPreviewCanvas &c, const TScheme &s, const TMK &model, int cell, int number)
{
    if (TMeasParBase *p = prepared(model, number))
        drawCell(c, s, (cell % 3) * 106, (cell / 3) * 80, kCell9, *p);
}

int numberAt(const std::vector<int> &numbers, size_t i) { return i < numbers.size() ? numbers[i] : 0; }

} // namespace

TScheme::TScheme(const TMK &model, int scheme)
    : m_bytes(model.at(scheme == 1 ? fld::ColourScheme1 : fld::ColourScheme0))
{}

uint16_t TScheme::colour(int k) const { return GetU16(m_bytes, 2 * (k & 15)); }

// An index above 15 cannot come from the editor; it is taken modulo 16.
uint16_t TScheme::element(int n) const { return colour(m_bytes[n] & 15); }

void DrawStrip(TPreviewCanvas &c, const TMK &model, const CapabilitySet &caps, int scheme)
{
    const TScheme s(model, scheme);
    c.ClearScreen(0);
    c.SetOrigin(0, 0);
    c.background = s.colour(0);
    c.lineWidth = 2;
    c.foreground = s.colour(7);
    c.FillRect(80, 240);
    c.HLine(0, 79, 2);
    c.HLine(0, 79, 238);
    c.VLine(2, 0, 238);
    c.VLine(79, 0, 238);
    std::vector<int> tiles;
    for (int i = 0; i < static_cast<int>(std::size(kTiles)); ++i)
        if (offered(kTiles[i].offer, caps))
            tiles.push_back(i);
    for (int slot = 0; slot < 4; ++slot) {
        const int code = model.at(fld::StripTiles)[slot];
        if (code < static_cast<int>(tiles.size()))
            drawTile(c, s, slot, tiles[static_cast<size_t>(code)]);
    }
}

void DrawMenu(TPreviewCanvas &c, const TMK &model, int scheme)
{
    static const Text kLines[] = {
        {"Refilled l        0", "Заправлено л      0"},  {"Now in tank l     50", "Теперь в баке л  50"},
        {"Refueling to full   ", "Заправка до полн.  "}, {"Fan              Off", "Вентилятор     Откл"},
        {"% of injection    On", "% на впрыск     Вкл"}, {"Spark plugs drying  ", "Сушка свечей       "},
        {"ECU reset           ", "Сброс ЭБУ          "},
    };
    const TScheme s(model, scheme);
    c.ClearScreen(0);
    c.SelectFont(FontId::Medium);
    for (int i = 0; i < 7; ++i) {
        if (i == 0)
            c.SetColours(s.element(kMenuActive), s.element(kMenuActiveBack));
        else if (i % 2 == 0)
            c.SetColours(s.element(kDigit1), s.element(kDigitBack1));
        else
            c.SetColours(s.element(kDigit2), s.element(kDigitBack2));
        c.SetOrigin(0, 8 + 32 * i);
        c.FillRect(320, 32);
        c.Print(0, 1, kLines[i].get());
    }
}

void DrawDials(TPreviewCanvas &c, const TMK &model, int scheme, TMeasParBase *left, TMeasParBase *right)
{
    static const int kDx[] = {-51, -83, -83, -51, 0, 51, 83, 83, 51};
    static const int kDy[] = {-70, -27, 27, 70, 87, 70, 27, -27, -70};
    const TScheme s(model, scheme);
    if (left)
        left->PrepareData();
    if (right)
        right->PrepareData();
    const bool wide = left && left->ExtendedRange;
    c.ClearScreen(s.element(kDialBack));
    c.SetOrigin(0, 0);
    c.SelectFont(FontId::Small);
    const struct {
        int origin;
        int dial, scale, arrow;
        const char *scalePicture;
        TMeasParBase *p;
        int labels;
    } dials[] = {
        {0, kDialLeft, wide ? kScaleHigh : kScaleLeft, kArrowLeft, "ScaleL", left, 4},
        {121, kDialRight, kScaleRight, kArrowRight, "ScaleR", right, 8},
    };
    for (const auto &d : dials) {
        c.foreground = s.element(d.dial);
        c.StampPicture(d.origin, 0, QStringLiteral("Circle99"));
        c.foreground = s.element(d.scale);
        c.StampPicture(d.origin + 25, 25, QLatin1String(d.scalePicture));
        c.foreground = s.element(d.arrow);
        c.StampPicture(d.origin + 35, 35, QStringLiteral("Arrow"));
    }
    if (wide) {
        c.foreground = s.element(kScaleHigh);
        c.StampPicture(37, 76, QStringLiteral("Circle9"));
    }
    for (const auto &d : dials) {
        if (!d.p)
            continue;
        c.SetColours(s.element(d.scale), s.element(kDialBack));
        const int cx = d.origin + 99, cy = 99;
        for (int i = 0; i <= d.labels; ++i) {
            const QString label = QString::number(d.p->ScaleMin + (d.p->ScaleMax - d.p->ScaleMin) * i / d.labels);
            c.TextAt(cx + kDx[i] - textWidth(label, 8) / 2, cy - kDy[i] - 8, label);
        }
    }
    c.SetColours(s.element(kDialTitles), s.element(kDialTitleBack));
    c.SetOrigin(0, 200);
    c.FillRect(320, 40);
    c.SetOrigin(0, 204);
    if (left) {
        c.Print(0, 4, left->GaugeName);
        c.Print(1, 4, left->GaugeUnit);
    }
    if (right) {
        c.Print(0, 24, right->GaugeName);
        c.Print(1, 24, right->GaugeUnit);
    }
}

// Layout of the graph screen from the top: the plotting area (rows 1..179
// inside frame lines at 0 and 180, split at row 90 for two graphs), tick marks
// hanging below it, the time marks, then the two-row title band.
namespace {
constexpr int kPlotTop = 0, kPlotBottom = 180, kPlotSplit = 90;
constexpr int kTimeMarksTop = 188, kTitleBandTop = 208;
constexpr int kPlotLeft = 2, kPlotRight = 262;
} // namespace

void DrawGraph(TPreviewCanvas &c, const TMK &model, int scheme, TMeasParBase *first, TMeasParBase *second,
               uint32_t seed)
{
    const TScheme s(model, scheme);
    const uint16_t back = s.element(kGraphBack);
    c.ClearScreen(back);
    c.SetOrigin(0, 0);
    c.SelectFont(FontId::Small);
    const int cw = c.font().width, ch = c.font().height;
    if (first)
        first->PrepareData();
    if (second)
        second->PrepareData();
    struct Graph {
        TMeasParBase *p;
        uint16_t colour;
        int top, bottom; // frame lines above and below
    };
    std::vector<Graph> graphs;
    const bool two = second != nullptr;
    graphs.push_back({first, s.element(kGraph1), kPlotTop, two ? kPlotSplit : kPlotBottom});
    if (two)
        graphs.push_back({second, s.element(kGraph2), kPlotSplit, kPlotBottom});

    std::mt19937 random(seed);
    for (const Graph &g : graphs) {
        if (!g.p)
            continue;
        const int height = g.bottom - g.top - 1;
        const int span = g.p->Max - g.p->Min;
        const int spread = g.p->Sample / 10;
        c.foreground = g.colour;
        // Columns 261 and 260 show the sample, then leftwards sample + noise;
        // column 0 would fall on the frame and is not drawn.
        for (int column = 261; column >= 0; --column) {
            int v = g.p->Sample;
            if (column < 260 && spread > 0)
                v += static_cast<int>(random() % static_cast<uint32_t>(spread));
            const int x = kPlotLeft - 1 + column;
            if (x < kPlotLeft || x > kPlotRight || span == 0)
                continue;
            const int h = std::clamp(static_cast<int>(static_cast<int64_t>(height) * (v - g.p->Min) / span), 0, height);
            if (h > 0)
                c.VSegment(x, g.bottom - h, g.bottom - 1);
        }
    }
    // Frame.
    c.lineWidth = 1;
    c.foreground = s.element(kGraphAxes);
    c.HLine(1, 263, kPlotTop);
    c.HLine(1, 263, kPlotBottom);
    if (two)
        c.HLine(1, 263, kPlotSplit);
    c.VLine(1, kPlotTop, kPlotBottom);
    c.VLine(263, kPlotTop, kPlotBottom);
    // Time marks.
    static const char *const kTimes[] = {"15:25:00", "15:25:30", "15:26:00"};
    c.SetColours(s.element(kGraphAxes), back);
    for (int k = 1; k <= 3; ++k) {
        const int x = kPlotLeft + 260 * k / 3;
        c.SetOrigin(0, 0);
        c.VSegment(x, kPlotBottom + 1, kPlotBottom + ch / 4);
        c.TextAt(x - 4 * cw, kTimeMarksTop, QLatin1String(kTimes[k - 1]));
    }
    c.SetOrigin(0, 0);
    // Scale ticks, and the range of each graph to the right.
    for (const Graph &g : graphs) {
        if (!g.p)
            continue;
        const int height = g.bottom - g.top;
        c.lineWidth = 2;
        c.foreground = g.colour;
        for (int j = 0; j <= 5; ++j)
            c.HLine(264, 262 + cw, g.bottom - height * j / 5);
        c.SetColours(g.colour, back);
        const int x = W - g.p->Width * cw - cw / 4;
        c.TextAt(x, g.top + 1, g.p->MaxText);
        c.TextAt(x, g.bottom - ch, g.p->MinText);
        c.SetOrigin(0, 0);
    }
    // Title band.
    c.background = s.element(kGraphTitleBack);
    c.SetOrigin(0, kTitleBandTop);
    c.FillRect(320, 2 * ch);
    const QString step = QStringLiteral("  1c");
    if (first) {
        c.foreground = graphs[0].colour;
        c.Print(0, 0, first->SampleText);
        c.Print(0, 15, step);
        c.Print(1, 0, first->GraphName);
    }
    if (second) {
        c.foreground = graphs[1].colour;
        c.Print(0, 39 - static_cast<int>(second->SampleText.size()), second->SampleText);
        c.Print(0, 21, step);
        c.Print(1, 39 - static_cast<int>(second->GraphName.size()), second->GraphName);
    }
    c.SetOrigin(0, 0);
}

bool DrawSingle(TPreviewCanvas &c, const TMK &model, int scheme, int number)
{
    TMeasParBase *p = number > 0 ? model.FindParameter(number) : nullptr;
    if (!p)
        return false;
    const TScheme s(model, scheme);
    c.ClearScreen(0);
    p->PrepareData();
    c.SetOrigin(0, 0);
    c.SetColours(s.element(kDigit1), s.element(kDigitBack1));
    c.FillRect(320, 120);
    c.SelectFont(FontId::HugeDigits);
    c.TextAt((W - textWidth(p->SampleText, 40)) / 2, 20, p->SampleText);
    c.SetOrigin(0, 120);
    c.SetColours(s.element(kDigit2), s.element(kDigitBack2));
    c.FillRect(320, 120);
    c.SelectFont(FontId::Medium);
    c.TextAt(8, 128, p->LongName);
    if (p->GaugeSlot != 0) {
        c.Print(1, 0, p->MinText);
        c.SetOrigin(W - 8 - textWidth(p->MaxText, 16), 128);
        c.Print(1, 0, p->MaxText);
        c.SetOrigin(8, 192);
        c.lineWidth = 1;
        c.HLine(0, 304, 0);
        c.HLine(0, 304, 31);
        c.VLine(304, 0, 31);
        const int span = p->Max - p->Min;
        if (span != 0) {
            const int v = static_cast<int>(static_cast<int64_t>(p->Sample - p->Min) * 304 / span);
            if (v >= 0)
                for (int row = 1; row <= 30; ++row)
                    c.HSegment(0, std::min(v, 304), row);
        }
    }
    c.SetOrigin(0, 0);
    return true;
}

void DrawX1(TPreviewCanvas &c, const TMK &model, int scheme, const std::array<int, 4> &indicators)
{
    const TScheme s(model, scheme);
    c.ClearScreen(0);
    c.SetColours(s.element(kDigit1), s.element(kDigitBack1));
    c.SetOrigin(0, 0);
    c.FillRect(320, 137);
    if (TMeasParBase *speed = prepared(model, 12)) {
        c.SelectFont(FontId::HugeDigits);
        c.TextAt(W - textWidth(speed->SampleText, 40) - 8, 137 - 80, speed->SampleText);
        c.SelectFont(FontId::Medium);
        c.TextAt(W - textWidth(speed->LongName, 16) - 8, 8, speed->LongName);
    }
    c.SetOrigin(0, 137);
    c.background = s.element(kDigitBack2);
    c.FillRect(320, 103);
    for (int i = 0; i < 4; ++i) {
        const int x0 = 80 * i;
        c.foreground = s.element(kDigit2);
        c.SetOrigin(0, 0);
        switch (indicators[static_cast<size_t>(i)]) {
        case 7:
            c.SelectFont(FontId::Medium);
            c.TextAt(x0, 203, QStringLiteral("15:12"));
            break;
        case 8:
            c.StampPicture(x0 + 40, 195, QStringLiteral("GasStation"));
            c.SelectFont(FontId::Small);
            c.SetOrigin(x0 + 30, 142);
            c.Print(0, 0, LangText("3l", "3л"));
            c.Print(1, 0, LangText("20km", "20км"));
            break;
        case 10:
            c.StampPicture(x0 + 10, 205, QStringLiteral("Acc"));
            c.SelectFont(FontId::Medium);
            c.TextAt(x0, 156, QStringLiteral("12.3V"));
            break;
        case 62:
            c.SelectFont(FontId::Small);
            c.TextAt(x0 + 30, 142, QStringLiteral("-1"));
            c.SetOrigin(0, 0);
            c.StampPicture(x0 + 40, 158, QStringLiteral("BoatMotor"));
            c.SelectFont(FontId::Medium);
            c.TextAt(x0 + 30, 203, QStringLiteral("Tri"));
            break;
        case 55:
        case 56: {
            const bool roll = indicators[static_cast<size_t>(i)] == 55;
            c.StampPicture(x0 + (roll ? 7 : 10), 140, QLatin1String(roll ? "BoatScaleT" : "BoatScaleC"));
            c.foreground = s.element(kBottomPanel);
            c.StampPicture(x0 + 40, 183, QLatin1String(roll ? "BoatT" : "BoatC"));
            break;
        }
        case 17:
        case 38:
        case 57:
        case 58:
        case 59: {
            static const std::pair<int, Text> kLabels[] = {{17, {"Tct", "Tож"}},
                                                           {38, {"Tol", "Tм"}},
                                                           {57, {"Ten", "Tдв"}},
                                                           {58, {"Twt", "Tв"}},
                                                           {59, {"Tcl", "Tц"}}};
            c.SelectFont(FontId::Small);
            c.TextAt(x0 + 30, 142, QStringLiteral("30"));
            c.SelectFont(FontId::Medium);
            for (const auto &[code, label] : kLabels)
                if (code == indicators[static_cast<size_t>(i)])
                    c.TextAt(x0 + 30, 203, label.get());
            break;
        }
        default: break;
        }
    }
    c.SetOrigin(0, 0);
}

void DrawX4(TPreviewCanvas &c, const TMK &model, int scheme, const std::vector<int> &numbers)
{
    const TScheme s(model, scheme);
    c.ClearScreen(0);
    for (size_t i = 0; i < 4; ++i)
        if (TMeasParBase *p = prepared(model, numberAt(numbers, i)))
            drawCell(c, s, static_cast<int>(i % 2) * 160, static_cast<int>(i / 2) * 120, kCell4, *p);
    cellBorders(c, s);
    c.VLine(159, 0, 239);
    c.HLine(0, 319, 119);
}

void DrawX9(TPreviewCanvas &c, const TMK &model, int scheme, const std::vector<int> &numbers)
{
    const TScheme s(model, scheme);
    c.ClearScreen(0);
    for (size_t i = 0; i < 9; ++i)
        drawCell9(c, s, model, static_cast<int>(i), numberAt(numbers, i));
    cellBorders(c, s);
    for (const int x : {106, 212, 319})
        c.VLine(x, 0, 239);
    for (const int y : {79, 159, 239})
        c.HLine(0, 319, y);
}

void DrawX6(TPreviewCanvas &c, const TMK &model, int scheme, const std::vector<int> &numbers)
{
    const TScheme s(model, scheme);
    c.ClearScreen(0);
    if (TMeasParBase *p = prepared(model, numberAt(numbers, 0))) {
        c.SetColours(s.element(kDigit1), s.element(kDigitBack1));
        c.SetOrigin(0, 0);
        c.FillRect(213, 90);
        c.SelectFont(FontId::HugeDigits);
        c.TextAt((213 - textWidth(p->SampleText, 40)) / 2, 5, p->SampleText);
        c.SetColours(s.element(kDigit2), s.element(kDigitBack2));
        c.SetOrigin(0, 90);
        c.FillRect(213, 150);
        c.SelectFont(FontId::Medium);
        c.TextAt(8, 96, p->CellName9);
        c.TextAt(8, 128, p->CellUnit9);
    }
    static const int kCells[] = {2, 5, 6, 7, 8};
    for (size_t i = 0; i < 5; ++i)
        drawCell9(c, s, model, kCells[i], numberAt(numbers, i + 1));
    cellBorders(c, s);
    c.VLine(106, 160, 239);
    c.VLine(212, 0, 239);
    c.HLine(213, 319, 79);
    c.HLine(0, 319, 159);
}

void DrawList(TPreviewCanvas &c, const TMK &model, int scheme, const std::vector<int> &numbers)
{
    const TScheme s(model, scheme);
    c.ClearScreen(0);
    c.SelectFont(FontId::Medium);
    for (size_t i = 0; i < 7; ++i) {
        TMeasParBase *p = prepared(model, numberAt(numbers, i));
        if (!p)
            continue;
        if (i % 2 == 0)
            c.SetColours(s.element(kDigit1), s.element(kDigitBack1));
        else
            c.SetColours(s.element(kDigit2), s.element(kDigitBack2));
        c.SetOrigin(0, 8 + 32 * static_cast<int>(i));
        c.FillRect(320, 32);
        c.Print(0, 0, p->PanelName);
        c.Print(0, 20 - static_cast<int>(p->SampleText.size()), p->SampleText);
    }
    c.SetOrigin(0, 0);
}

namespace {

const char *const kScreenNames[] = {"strip", "menu", "dials", "graph", "single", "x1", "x4", "x6", "x9", "list"};

std::vector<int> codesOf(const TMK &model, disp::Layout layout, int display)
{
    std::vector<int> codes;
    for (int p = 0; p < disp::PlaceOf(layout).positions; ++p)
        codes.push_back(disp::Code(model, layout, display, p));
    return codes;
}

} // namespace

std::optional<Screen> ScreenNamed(const QString &name)
{
    for (size_t i = 0; i < std::size(kScreenNames); ++i)
        if (name == QLatin1String(kScreenNames[i]))
            return static_cast<Screen>(i);
    return std::nullopt;
}

QStringList ScreenNames()
{
    QStringList names;
    for (const char *n : kScreenNames)
        names << QLatin1String(n);
    return names;
}

int DisplayCount(Screen screen)
{
    switch (screen) {
    case Screen::X4: return disp::PlaceOf(disp::Layout::X4).displays;
    case Screen::X6: return disp::PlaceOf(disp::Layout::X6).displays;
    case Screen::X9: return disp::PlaceOf(disp::Layout::X9).displays;
    case Screen::Graph: return disp::PlaceOf(disp::Layout::Graphs).displays;
    case Screen::Dials: return disp::PlaceOf(disp::Layout::Dials).displays;
    default: return 1;
    }
}

bool DrawEditorPreview(TPreviewCanvas &c, const TMK &model, const CapabilitySet &caps, Screen screen, int display,
                       int scheme, std::optional<int> parameter, uint32_t seed)
{
    using disp::Layout;
    // A choice of 0 ("Absent") or of a parameter the device lacks draws nothing.
    auto find = [&](int code) { return code > 0 ? model.FindParameter(code) : nullptr; };
    switch (screen) {
    case Screen::Strip: DrawStrip(c, model, caps, scheme); return true;
    case Screen::Menu: DrawMenu(c, model, scheme); return true;
    case Screen::Dials: {
        const std::vector<int> codes = codesOf(model, Layout::Dials, display);
        DrawDials(c, model, scheme, find(codes[0]), find(codes[1]));
        return true;
    }
    case Screen::Graph: {
        const std::vector<int> codes = codesOf(model, Layout::Graphs, display);
        TMeasParBase *first = find(codes[0]), *second = find(codes[1]);
        if (!first) // the second graph moves up when there is no first
            std::swap(first, second);
        DrawGraph(c, model, scheme, first, second, seed);
        return true;
    }
    case Screen::Single:
        if (parameter)
            return DrawSingle(c, model, scheme, *parameter);
        if (caps.has(Cap::TiltLayout)) {
            DrawX1(c, model, scheme, {55, 56, 10, 7});
            return true;
        }
        return DrawSingle(c, model, scheme, 12);
    case Screen::X1: {
        const std::vector<int> codes = codesOf(model, Layout::X1, 0);
        DrawX1(c, model, scheme, {codes[0], codes[1], codes[2], codes[3]});
        return true;
    }
    case Screen::X4: DrawX4(c, model, scheme, codesOf(model, Layout::X4, display)); return true;
    case Screen::X6: DrawX6(c, model, scheme, codesOf(model, Layout::X6, display)); return true;
    case Screen::X9: DrawX9(c, model, scheme, codesOf(model, Layout::X9, display)); return true;
    case Screen::List: DrawList(c, model, scheme, {12, 13, 16, 17, 11, 10, 7}); return true;
    }
    return false;
}

} // namespace pv
