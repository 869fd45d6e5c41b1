#include "preview_data.h"

#include <QFile>
#include <map>

namespace pv {

namespace {

struct FontFile {
    const char *resource;
    int width, height;
    bool full;
    int glyphs;
};

const FontFile kFontFiles[] = {
    {":/preview/font_8x16.bin", 8, 16, true, 160},
    {":/preview/font_16x32.bin", 16, 32, true, 160},
    {":/preview/font_32x64.bin", 32, 64, false, 20},
    {":/preview/font_40x80.bin", 40, 80, false, 20},
};

const char *const kPictureNames[] = {"ScaleL",     "ScaleR", "Circle99",    "Circle9",    "Arrow",
                                     "GasStation", "Acc",    "BoatMotor",   "BoatScaleT", "BoatT",
                                     "BoatScaleC", "BoatC",  "CheckEngine", "Electro"};

TFont loadFont(const FontFile &f)
{
    TFont font;
    font.width = f.width;
    font.height = f.height;
    font.full = f.full;
    font.glyphCount = f.glyphs;
    QFile file(QLatin1String(f.resource));
    if (file.open(QIODevice::ReadOnly))
        font.glyphs = file.readAll();
    // A short table draws blank glyphs rather than reading past its end.
    font.glyphs.resize(font.glyphCount * font.glyphBytes(), '\0');
    return font;
}

// PBM P4 as fontgen writes it: a white (0) pixel is a set one.
TPicture loadPicture(const QString &name)
{
    TPicture pic;
    QFile file(QStringLiteral(":/preview/pictures/%1.pbm").arg(name));
    if (!file.open(QIODevice::ReadOnly))
        return pic;
    const QByteArray data = file.readAll();
    const QList<QByteArray> head = data.left(32).split('\n');
    if (head.size() < 3 || head[0] != "P4")
        return pic;
    const QList<QByteArray> size = head[1].split(' ');
    const int w = size.value(0).toInt(), h = size.value(1).toInt();
    const qsizetype start = head[0].size() + head[1].size() + 2;
    const int rowBytes = (w + 7) / 8;
    if (w <= 0 || h <= 0 || data.size() < start + qsizetype(rowBytes) * h)
        return pic;
    pic.width = w;
    pic.height = h;
    pic.bits.resize(static_cast<size_t>(w) * static_cast<size_t>(h));
    for (int y = 0; y < h; ++y)
        for (int x = 0; x < w; ++x) {
            const auto byte = static_cast<uint8_t>(data[start + y * rowBytes + x / 8]);
            pic.bits[static_cast<size_t>(y) * static_cast<size_t>(w) + static_cast<size_t>(x)] =
                (byte & (0x80 >> (x % 8))) ? 0 : 1;
        }
    return pic;
}

} // namespace

const TFont &Font(FontId id)
{
    static const std::vector<TFont> fonts = [] {
        std::vector<TFont> all;
        for (const FontFile &f : kFontFiles)
            all.push_back(loadFont(f));
        return all;
    }();
    return fonts[static_cast<size_t>(id)];
}

const TPicture &Picture(const QString &name)
{
    static const std::map<QString, TPicture> pictures = [] {
        std::map<QString, TPicture> all;
        for (const char *n : kPictureNames)
            all[QLatin1String(n)] = loadPicture(QLatin1String(n));
        return all;
    }();
    static const TPicture none;
    const auto it = pictures.find(name);
    return it == pictures.end() ? none : it->second;
}

QStringList PictureNames()
{
    QStringList names;
    for (const char *n : kPictureNames)
        names << QLatin1String(n);
    return names;
}

QImage PictureImage(const QString &name)
{
    const TPicture &pic = Picture(name);
    if (pic.isNull())
        return {};
    QImage image(pic.width, pic.height, QImage::Format_Mono);
    image.setColor(0, qRgb(0, 0, 0));
    image.setColor(1, qRgb(255, 255, 255));
    for (int y = 0; y < pic.height; ++y)
        for (int x = 0; x < pic.width; ++x)
            image.setPixel(x, y, pic.isSet(x, y) ? 1 : 0);
    return image;
}

} // namespace pv
