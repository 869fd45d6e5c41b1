#pragma once
#include "preview_data.h"

#include <QByteArray>
#include <QImage>
#include <QRect>
#include <QString>
#include <cstdint>

namespace pv {

constexpr int kScreenWidth = 320;
constexpr int kScreenHeight = 240;

// A device colour word (5 red, 6 green, 5 blue bits) as 8-bit components.
QRgb ColourToRgb(uint16_t word);

// The device's screen and the drawing state its firmware keeps: an origin
// added to every coordinate, two colours, a line width and a text cursor in
// character cells of the selected font. Nothing is drawn outside the screen.
class TPreviewCanvas {
public:
    TPreviewCanvas();

    const QImage &image() const { return m_image; } // 320 × 240, 8-bit RGB

    int originX = 0, originY = 0;
    uint16_t foreground = 0, background = 0;
    int lineWidth = 1;
    int cursorColumn = 0, cursorRow = 0;

    void SetOrigin(int x, int y)
    {
        originX = x;
        originY = y;
    }
    void SetColours(uint16_t fore, uint16_t back)
    {
        foreground = fore;
        background = back;
    }

    void ClearScreen(uint16_t colour = 0);
    // From the origin, in the background colour, cut at the screen's edges.
    void FillRect(int width, int height);
    void HSegment(int x1, int x2, int y);
    void VSegment(int x, int y1, int y2);
    // Line-width thick: rows (columns) y − ⌊w/2⌋ .. y − ⌊w/2⌋ + w − 1.
    void HLine(int x1, int x2, int y);
    void VLine(int x, int y1, int y2);
    void StampPicture(int x, int y, const TPicture &picture);
    void StampPicture(int x, int y, const QString &name) { StampPicture(x, y, Picture(name)); }
    // Stamps are limited to this rectangle (screen coordinates) until reset.
    void SetStampClip(const QRect &clip) { m_stampClip = clip; }
    void ResetStampClip() { m_stampClip = QRect(0, 0, kScreenWidth, kScreenHeight); }

    void SelectFont(FontId id);
    const TFont &font() const { return *m_font; }
    void SetCursor(int row, int column)
    {
        cursorRow = row;
        cursorColumn = column;
    }
    // One code page 1251 character at the cursor.
    void PutChar(uint8_t c);
    void Print(int row, int column, const QByteArray &cp1251);
    void Print(int row, int column, const QString &text);
    // Text whose first cell's corner is at (x, y): the origin moves there.
    void TextAt(int x, int y, const QString &text);

private:
    void plot(int x, int y, uint16_t colour);

    QImage m_image;
    const TFont *m_font;
    QRect m_stampClip{0, 0, kScreenWidth, kScreenHeight};
};

// The glyph of a character in a font; -1 when the character is not drawn.
int GlyphIndex(const TFont &font, uint8_t c);

} // namespace pv
