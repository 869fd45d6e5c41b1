#include "blocks.h"
#include "display_layout.h"
#include "field_state.h"
#include "language.h"
#include "previews.h"
#include "protocol_catalog.h"
#include "settings_file.h"
#include "tmk.h"
#include "tripctl_run.h"

#include <gtest/gtest.h>

#include <QFile>
#include <QImage>
#include <QTemporaryDir>
#include <set>

using namespace pv;

namespace {

QRgb at(const TPreviewCanvas &c, int x, int y) { return c.image().pixel(x, y); }

std::unique_ptr<TMK> openedModel(uint16_t deviceType = 0xC000)
{
    auto m = std::make_unique<TMK>(deviceType);
    m->FormatImage(9);
    ed::OpenForEditing(*m);
    return m;
}

QRgb element(const TMK &m, int scheme, int n) { return ColourToRgb(TScheme(m, scheme).element(n)); }

} // namespace

TEST(PreviewColour, ConvertsColourWords)
{
    const struct {
        uint16_t word;
        int r, g, b;
    } cases[] = {{0xFFFF, 255, 255, 255}, {0xF800, 255, 0, 0}, {0x001F, 0, 0, 255}, {2048, 8, 0, 0},
                 {0x07E0, 0, 255, 0},     {0x0020, 0, 4, 0},   {0, 0, 0, 0}};
    for (const auto &c : cases)
        EXPECT_EQ(ColourToRgb(c.word), qRgb(c.r, c.g, c.b)) << c.word;
}

TEST(PreviewCanvas, TextAndLineEdges)
{
    TPreviewCanvas c;
    c.SetColours(0xFFFF, 0xF800);
    c.SelectFont(FontId::Medium); // 20 columns
    c.Print(0, 19, QStringLiteral("AB"));
    EXPECT_EQ(c.cursorColumn, 20);
    c.PutChar('A'); // past the last column: nothing, no wrap
    EXPECT_EQ(c.cursorColumn, 20);
    EXPECT_EQ(at(c, 0, 32), qRgb(0, 0, 0));

    c.SelectFont(FontId::LargeDigits);
    c.ClearScreen();
    c.Print(0, 0, QByteArray("A"));
    EXPECT_EQ(c.cursorColumn, 1); // blank glyph 0, still advances
    for (int y = 0; y < 64; ++y)
        for (int x = 0; x < 32; ++x)
            ASSERT_EQ(at(c, x, y), qRgb(255, 0, 0)) << x << "," << y; // opaque, no set pixel

    c.SelectFont(FontId::Small);
    c.SetCursor(0, 0);
    c.PutChar(150); // not in the full set: nothing, no advance
    EXPECT_EQ(c.cursorColumn, 0);

    c.ClearScreen();
    c.lineWidth = 2;
    c.HLine(0, 10, 2);
    EXPECT_EQ(at(c, 5, 0), qRgb(0, 0, 0));
    EXPECT_EQ(at(c, 5, 1), qRgb(255, 255, 255));
    EXPECT_EQ(at(c, 5, 2), qRgb(255, 255, 255));
    EXPECT_EQ(at(c, 5, 3), qRgb(0, 0, 0));

    c.SetOrigin(300, 230);
    c.FillRect(100, 100); // cut at the edges, nothing wraps
    EXPECT_EQ(at(c, 319, 239), qRgb(255, 0, 0));
    EXPECT_EQ(at(c, 299, 239), qRgb(0, 0, 0));
}

TEST(PreviewData, GlyphsAndPicturesAreThere)
{
    // Every letter and digit has a glyph of its own; the space has no pixel set.
    for (const FontId id : {FontId::Small, FontId::Medium}) {
        const TFont &f = Font(id);
        ASSERT_EQ(f.glyphs.size(), 160 * f.glyphBytes());
        std::set<QByteArray> seen;
        QByteArray chars("0123456789ABCDEFGHIJKLMNOPQRSTUVWXYZabcdefghijklmnopqrstuvwxyz");
        for (int c = 192; c < 256; ++c)
            chars += static_cast<char>(c);
        for (const char ch : chars) {
            const QByteArray g = f.glyphs.mid(GlyphIndex(f, static_cast<uint8_t>(ch)) * f.glyphBytes(), f.glyphBytes());
            EXPECT_NE(g.count('\0'), g.size()) << int(static_cast<uint8_t>(ch));
            seen.insert(g);
        }
        // Latin and Cyrillic letters that look alike may share a glyph (А/A, о/o...).
        EXPECT_GE(seen.size(), 100u);
        EXPECT_EQ(f.glyphs.left(f.glyphBytes()).count('\0'), f.glyphBytes());
    }
    for (const FontId id : {FontId::LargeDigits, FontId::HugeDigits}) {
        const TFont &f = Font(id);
        ASSERT_EQ(f.glyphs.size(), 20 * f.glyphBytes());
        EXPECT_EQ(f.glyphs.left(f.glyphBytes()).count('\0'), f.glyphBytes());
        for (int g = 1; g < 20; ++g)
            EXPECT_NE(f.glyphs.mid(g * f.glyphBytes(), f.glyphBytes()).count('\0'), f.glyphBytes()) << g;
    }
    EXPECT_EQ(PictureNames().size(), 14);
    for (const QString &name : PictureNames())
        EXPECT_FALSE(Picture(name).isNull()) << qPrintable(name);
    EXPECT_TRUE(Picture(QStringLiteral("Nothing")).isNull());
}

TEST(Previews, CellsListsAndMenuInSchemeColours)
{
    SetEnglishVersion(true);
    const auto m = openedModel();
    TPreviewCanvas c;
    DrawX4(c, *m, 0, {12, 40, 12, 12}); // 40 has no parameter: its cell stays clear
    EXPECT_EQ(at(c, 2, 2), element(*m, 0, 33));
    EXPECT_EQ(at(c, 2, 64 + 40), element(*m, 0, 35));
    EXPECT_EQ(at(c, 159, 50), element(*m, 0, 36));
    EXPECT_EQ(at(c, 200, 2), qRgb(0, 0, 0));
    // "Speed" of cell 0 starts at (8, 64): its "S" has pixels in the first cell.
    bool inked = false;
    for (int y = 64; y < 96; ++y)
        for (int x = 8; x < 24; ++x)
            inked |= at(c, x, y) == element(*m, 0, 34);
    EXPECT_TRUE(inked);

    DrawList(c, *m, 1, {12, 13, 16, 17, 11, 10, 7});
    EXPECT_EQ(at(c, 319, 8), element(*m, 1, 33));
    EXPECT_EQ(at(c, 319, 40), element(*m, 1, 35));
    EXPECT_EQ(at(c, 319, 7), qRgb(0, 0, 0));

    DrawMenu(c, *m, 0);
    EXPECT_EQ(at(c, 0, 8), element(*m, 0, 38));
    EXPECT_EQ(at(c, 0, 40), element(*m, 0, 35));
    EXPECT_EQ(at(c, 0, 72), element(*m, 0, 33));

    const QImage before = c.image();
    EXPECT_FALSE(DrawSingle(c, *m, 0, 40));
    EXPECT_EQ(c.image(), before);
}

TEST(Previews, StripGraphAndDials)
{
    SetEnglishVersion(true);
    const auto m = openedModel();
    uint8_t *d = m->block(mem::DisplayBlock);
    SetU8(d, disp::kStripTiles + 0, 1);   // engine speed, fixed colour 2
    SetU8(d, disp::kStripTiles + 1, 200); // no such tile: the slot stays empty
    TPreviewCanvas c;
    DrawStrip(c, *m, Catalog().capabilities(), 0);
    const TScheme s(*m, 0);
    EXPECT_EQ(at(c, 40, 1), ColourToRgb(s.colour(7)));  // frame
    EXPECT_EQ(at(c, 12, 12), ColourToRgb(s.colour(2))); // value field background
    EXPECT_EQ(at(c, 40, 90), ColourToRgb(s.colour(0))); // empty slot
    EXPECT_EQ(at(c, 100, 100), qRgb(0, 0, 0));

    for (int n = 40; n <= 44; ++n)
        SetU8(d, mem::kScheme0Offset + n, static_cast<uint8_t>(n - 30)); // distinct palette colours
    TMeasParBase *speed = m->FindParameter(12);
    DrawGraph(c, *m, 0, speed, nullptr, 7);
    // One graph over rows 1..179: the sample 60 of 0..160 stands 67 rows high in the two rightmost columns.
    const QRgb curve = element(*m, 0, 42);
    EXPECT_EQ(at(c, 262, 179), curve);
    EXPECT_EQ(at(c, 262, 180 - 67), curve);
    EXPECT_EQ(at(c, 262, 180 - 68), element(*m, 0, 41));
    EXPECT_EQ(at(c, 1, 100), element(*m, 0, 40)); // frame, never covered by the curve
    EXPECT_EQ(at(c, 263, 100), element(*m, 0, 40));
    EXPECT_EQ(at(c, 0, 239), element(*m, 0, 44));

    DrawDials(c, *m, 0, nullptr, nullptr); // no parameters: pictures only, no labels
    EXPECT_EQ(at(c, 0, 230), element(*m, 0, 53));
}

TEST(DisplayLayout, ClickPositionsAndMasks)
{
    using disp::Layout;
    const struct {
        Layout layout;
        int x, y, position;
    } clicks[] = {
        {Layout::X4, 170, 10, 1},   {Layout::X4, 10, 130, 2},    {Layout::X6, 300, 10, 1},
        {Layout::X6, 160, 120, 0},  {Layout::X6, 319, 239, 5},   {Layout::X9, 319, 239, 8},
        {Layout::X9, 110, 90, 4},   {Layout::X1, 300, 136, -1},  {Layout::X1, 300, 138, 3},
        {Layout::Graphs, 0, 89, 0}, {Layout::Graphs, 0, 180, 1}, {Layout::Graphs, 0, 181, -1},
        {Layout::Dials, 119, 0, 0}, {Layout::Dials, 120, 0, 1},
    };
    for (const auto &c : clicks)
        EXPECT_EQ(disp::PositionOfClick(c.layout, c.x, c.y), c.position) << c.x << "," << c.y;
    EXPECT_EQ(disp::PositionOfClick(Layout::Panel, 10, 239, 80, 240), 3);

    TMK m;
    const uint8_t *d = m.block(mem::DisplayBlock);
    EXPECT_EQ(GetU32(d, 288), 0xFFFFFFFFu); // the new model's x1 mask: displays 1..32
    disp::SetShown(m, disp::Mask::X1, 2, false);
    EXPECT_EQ(GetU32(d, 288), 0xFFFFFFFBu);
    disp::SetShown(m, disp::Mask::X1, 32, true);
    disp::SetShown(m, disp::Mask::X1, 39, true);
    EXPECT_EQ(GetU32(d, 292), 0x81u);
    EXPECT_TRUE(disp::Shown(m, disp::Mask::X4, 5));
    EXPECT_FALSE(disp::Shown(m, disp::Mask::X4, 6));
}

TEST(TripctlPreview, WritesTheCanvasOrNothing)
{
    QTemporaryDir dir;
    TMK m(0xC000);
    m.FormatImage(9);
    const QString file = dir.filePath(QStringLiteral("a.kelmg"));
    SaveSettingsFile(m, file);
    const QString out = dir.filePath(QStringLiteral("out.png"));

    const QStringList refused[] = {
        {"preview", file, "--screen", "x5", "-o", out},
        {"preview", file, "--screen", "x4", "--display", "6", "-o", out},
        {"preview", file, "--screen", "x9", "--display", "-1", "-o", out},
        {"preview", file, "--screen", "single", "--param", "40", "-o", out},
        {"preview", file, "--screen", "menu", "--scheme", "2", "-o", out},
        {"preview", dir.filePath(QStringLiteral("none.kelmg")), "--screen", "menu", "-o", out},
    };
    for (const QStringList &args : refused) {
        const ToolRun r = RunTripctl(args);
        EXPECT_GT(r.exitCode, 0) << qPrintable(args.join(' '));
        EXPECT_FALSE(r.err.isEmpty());
        EXPECT_FALSE(QFile::exists(out)) << qPrintable(args.join(' '));
    }

    const ToolRun ok =
        RunTripctl({"preview", file, "--screen", "x4", "--display", "5", "--scheme", "1", "--lang", "ru", "-o", out});
    ASSERT_EQ(ok.exitCode, 0) << ok.err.constData();
    const QImage png(out);
    EXPECT_EQ(png.size(), QSize(320, 240));
    EXPECT_FALSE(png.hasAlphaChannel());
    QFile raw(out);
    ASSERT_TRUE(raw.open(QIODevice::ReadOnly));
    const QByteArray head = raw.read(26);
    EXPECT_EQ(head.mid(24, 2), QByteArray("\x08\x02", 2)); // IHDR: 8 bits, RGB
    EXPECT_EQ(png.pixel(2, 2), element(m, 1, 33));
}
