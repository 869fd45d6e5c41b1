#include "preview_canvas.h"

#include "cp1251.h"

#include <algorithm>
#include <utility>

namespace pv {

QRgb ColourToRgb(uint16_t w)
{
    const int r = static_cast<int>(((w >> 11) * 541052u) >> 16);
    const int g = static_cast<int>((((w >> 5) & 63u) * 266294u) >> 16);
    const int b = static_cast<int>(((w & 31u) * 541052u) >> 16);
    return qRgb(r, g, b);
}

int GlyphIndex(const TFont &font, uint8_t c)
{
    if (font.full) {
        if (c >= 32 && c <= 127)
            return c - 32;
        if (c >= 192)
            return c - 192 + 96;
        return -1;
    }
    static const char kDigitSet[] = "+-.:0123456789TDNPR";
    for (int i = 0; kDigitSet[i]; ++i)
        if (kDigitSet[i] == static_cast<char>(c))
            return i + 1;
    return 0;
}

TPreviewCanvas::TPreviewCanvas()
    : m_image(kScreenWidth, kScreenHeight, QImage::Format_RGB888), m_font(&Font(FontId::Small))
{
    m_image.fill(Qt::black);
}

void TPreviewCanvas::plot(int x, int y, uint16_t colour)
{
    if (x < 0 || y < 0 || x >= kScreenWidth || y >= kScreenHeight)
        return;
    const QRgb rgb = ColourToRgb(colour);
    uchar *p = m_image.scanLine(y) + x * 3;
    p[0] = static_cast<uchar>(qRed(rgb));
    p[1] = static_cast<uchar>(qGreen(rgb));
    p[2] = static_cast<uchar>(qBlue(rgb));
}

void TPreviewCanvas::ClearScreen(uint16_t colour) { m_image.fill(ColourToRgb(colour)); }

void TPreviewCanvas::FillRect(int width, int height)
{
    width = std::min(width, kScreenWidth - originX);
    height = std::min(height, kScreenHeight - originY);
    for (int y = 0; y < height; ++y)
        for (int x = 0; x < width; ++x)
            plot(originX + x, originY + y, background);
}

void TPreviewCanvas::HSegment(int x1, int x2, int y)
{
    if (x1 > x2)
        std::swap(x1, x2);
    for (int x = x1; x <= x2; ++x)
        plot(originX + x, originY + y, foreground);
}

void TPreviewCanvas::VSegment(int x, int y1, int y2)
{
    if (y1 > y2)
        std::swap(y1, y2);
    for (int y = y1; y <= y2; ++y)
        plot(originX + x, originY + y, foreground);
}

void TPreviewCanvas::HLine(int x1, int x2, int y)
{
    const int first = y - lineWidth / 2;
    for (int k = 0; k < lineWidth; ++k)
        HSegment(x1, x2, first + k);
}

void TPreviewCanvas::VLine(int x, int y1, int y2)
{
    const int first = x - lineWidth / 2;
    for (int k = 0; k < lineWidth; ++k)
        VSegment(first + k, y1, y2);
}

void TPreviewCanvas::StampPicture(int x, int y, const TPicture &picture)
{
    for (int j = 0; j < picture.height; ++j)
        for (int i = 0; i < picture.width; ++i) {
            const int px = originX + x + i, py = originY + y + j;
            if (picture.isSet(i, j) && m_stampClip.contains(px, py))
                plot(px, py, foreground);
        }
}

void TPreviewCanvas::SelectFont(FontId id) { m_font = &Font(id); }

void TPreviewCanvas::PutChar(uint8_t c)
{
    const TFont &f = *m_font;
    if (cursorColumn >= kScreenWidth / f.width || cursorRow >= kScreenHeight / f.height)
        return;
    const int glyph = GlyphIndex(f, c);
    if (glyph < 0)
        return;
    const int rowBytes = f.width / 8;
    const auto *bits = reinterpret_cast<const uint8_t *>(f.glyphs.constData()) + glyph * f.glyphBytes();
    const int left = originX + cursorColumn * f.width, top = originY + cursorRow * f.height;
    for (int y = 0; y < f.height; ++y)
        for (int x = 0; x < f.width; ++x) {
            const bool set = bits[y * rowBytes + x / 8] & (0x80 >> (x % 8));
            plot(left + x, top + y, set ? foreground : background);
        }
    ++cursorColumn;
}

void TPreviewCanvas::Print(int row, int column, const QByteArray &cp1251)
{
    SetCursor(row, column);
    for (const char c : cp1251)
        PutChar(static_cast<uint8_t>(c));
}

void TPreviewCanvas::Print(int row, int column, const QString &text) { Print(row, column, ToCp1251(text)); }

void TPreviewCanvas::TextAt(int x, int y, const QString &text)
{
    SetOrigin(x, y);
    Print(0, 0, text);
}

} // namespace pv
