#pragma once
#include <QByteArray>
#include <QImage>
#include <QString>
#include <QStringList>
#include <cstdint>
#include <vector>

// The fonts and pictures of the device's screen, compiled in from data/.
namespace pv {

enum class FontId { Small, Medium, LargeDigits, HugeDigits };

struct TFont {
    int width = 0, height = 0; // pixels per character cell
    bool full = false;         // full character set, else digits only
    int glyphCount = 0;
    QByteArray glyphs; // glyph after glyph, rows from the top, MSB leftmost
    int glyphBytes() const { return width / 8 * height; }
};

const TFont &Font(FontId id);

// A monochrome picture; a set pixel takes the foreground colour when stamped.
struct TPicture {
    int width = 0, height = 0;
    std::vector<uint8_t> bits; // one per pixel, row by row, 1 = set
    bool isNull() const { return width == 0; }
    bool isSet(int x, int y) const
    {
        return bits[static_cast<size_t>(y) * static_cast<size_t>(width) + static_cast<size_t>(x)] != 0;
    }
};

// An empty picture for a name that has none.
const TPicture &Picture(const QString &name);
QStringList PictureNames();
// The picture as a black-and-white image (set pixels white), for showing it.
QImage PictureImage(const QString &name);

} // namespace pv
