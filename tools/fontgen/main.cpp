// Makes the preview drawing's data files: the four device fonts as glyph tables
// and the fourteen monochrome pictures.
//
//   fontgen OUTDIR [--sheet SHEET.png]
//
// Glyphs are rendered from DejaVu Sans Mono (Debian's fonts-dejavu-core), whose
// licence allows this. A glyph table holds the glyphs one after another, each
// row by row from the top, (cell width / 8) bytes a row, the leftmost pixel in
// the most significant bit. Pictures are PBM (P4) files in which a white pixel
// is a set one, so they look in a viewer as they do on the pictures form.
#include <QDir>
#include <QFile>
#include <QFont>
#include <QFontDatabase>
#include <QFontMetricsF>
#include <QGuiApplication>
#include <QImage>
#include <QPainter>
#include <QPainterPath>
#include <QtMath>
#include <cstdio>
#include <initializer_list>
#include <vector>

namespace {

using Painter = void (*)(QPainter &);

// Dial geometry: the scales and the pointer are stamped 25 and 35 pixels in
// from the dial's corner, whose centre is at (99, 99).
constexpr double kScaleCentre = 74.0;
constexpr double kArrowCentre = 64.0;

QPointF polar(double cx, double cy, double radius, double degrees)
{
    const double a = qDegreesToRadians(degrees);
    return {cx + radius * std::cos(a), cy - radius * std::sin(a)};
}

// A closed outline through `points`, as filled or stroked by the pictures.
QPainterPath outline(std::initializer_list<QPointF> points)
{
    QPainterPath path;
    bool first = true;
    for (const QPointF &point : points) {
        if (first)
            path.moveTo(point);
        else
            path.lineTo(point);
        first = false;
    }
    path.closeSubpath();
    return path;
}

// What follows is drawn solid white.
void solid(QPainter &p)
{
    p.setPen(Qt::NoPen);
    p.setBrush(Qt::white);
}

void ticks(QPainter &p, double from, double to, int majors)
{
    const double step = (to - from) / (majors * 4);
    for (int i = 0; i <= majors * 4; ++i) {
        const double angle = from + step * i;
        const bool major = i % 4 == 0;
        p.setPen(QPen(Qt::white, major ? 3.0 : 1.6, Qt::SolidLine, Qt::FlatCap));
        p.drawLine(polar(kScaleCentre, kScaleCentre, major ? 58 : 64, angle),
                   polar(kScaleCentre, kScaleCentre, 72, angle));
    }
    p.setPen(QPen(Qt::white, 1.6));
    const QRectF arc(kScaleCentre - 72, kScaleCentre - 72, 144, 144);
    p.drawArc(arc, qRound(to * 16), qRound((from - to) * 16));
}

void scaleL(QPainter &p) { ticks(p, 234, 90, 4); }
void scaleR(QPainter &p) { ticks(p, 234, -54, 8); }

void circle99(QPainter &p)
{
    p.setPen(QPen(Qt::white, 3));
    p.drawEllipse(QPointF(99.5, 99.5), 97, 97);
    p.setPen(QPen(Qt::white, 1.5));
    p.drawEllipse(QPointF(99.5, 99.5), 91, 91);
}

void circle9(QPainter &p)
{
    solid(p);
    p.drawEllipse(QRectF(0.5, 0.5, 8, 8));
}

void arrow(QPainter &p)
{
    const QPointF c(kArrowCentre + 0.5, kArrowCentre + 0.5);
    const double angle = 135; // a fixed pointer, not turned by the value
    solid(p);
    p.drawPath(outline({polar(c.x(), c.y(), 58, angle), polar(c.x(), c.y(), 5, angle + 90),
                        polar(c.x(), c.y(), 14, angle + 180), polar(c.x(), c.y(), 5, angle - 90)}));
    p.drawEllipse(c, 7, 7);
    p.setBrush(Qt::black);
    p.drawEllipse(c, 2.5, 2.5);
}

void gasStation(QPainter &p)
{
    solid(p);
    p.drawRect(QRectF(1, 8, 15, 37)); // pump body
    p.drawRect(QRectF(0, 44, 18, 5)); // base
    p.setBrush(Qt::black);
    p.drawRect(QRectF(4, 12, 9, 9)); // dial window
    p.setBrush(Qt::NoBrush);
    p.setPen(QPen(Qt::white, 2, Qt::SolidLine, Qt::RoundCap, Qt::RoundJoin));
    QPainterPath hose;
    hose.moveTo(16, 14);
    hose.lineTo(21, 18);
    hose.lineTo(21, 37);
    hose.quadTo(21, 41, 18.5, 41);
    p.drawPath(hose);
    p.drawLine(QPointF(21, 18), QPointF(23, 10)); // nozzle
}

// Content kept inside the quarter of the bottom band where it is stamped.
void acc(QPainter &p)
{
    p.setPen(QPen(Qt::white, 3));
    p.setBrush(Qt::NoBrush);
    p.drawRect(QRectF(2.5, 8.5, 55, 24));
    solid(p);
    p.drawRect(QRectF(9, 3, 10, 5)); // terminals
    p.drawRect(QRectF(41, 3, 10, 5));
    p.drawRect(QRectF(9, 19, 10, 3));  // minus
    p.drawRect(QRectF(40, 19, 12, 3)); // plus
    p.drawRect(QRectF(44.5, 14.5, 3, 12));
}

void boatMotor(QPainter &p)
{
    solid(p);
    p.drawRoundedRect(QRectF(6, 1, 21, 15), 5, 5);                // engine cover
    p.drawRect(QRectF(13, 15, 7, 24));                            // shaft
    p.drawPath(outline({{9, 37}, {24, 37}, {22, 44}, {11, 44}})); // foot
    p.drawRect(QRectF(15, 44, 3, 5));                             // skeg
    p.drawEllipse(QRectF(24, 36.5, 6, 8));                        // propeller
    p.drawRect(QRectF(1, 18, 12, 3));                             // clamp
}

void boatScale(QPainter &p, bool mirrored)
{
    p.setPen(QPen(Qt::white, 2, Qt::SolidLine, Qt::FlatCap));
    const double spine = mirrored ? 30 : 3;
    p.drawLine(QPointF(spine, 2), QPointF(spine, 103));
    for (int i = 0; i <= 10; ++i) {
        const double y = 2.5 + i * 10;
        const double len = i == 5 ? 26 : (i % 5 == 0 ? 18 : 10);
        p.setPen(QPen(Qt::white, i == 5 ? 3 : 2, Qt::SolidLine, Qt::FlatCap));
        p.drawLine(QPointF(spine, y), QPointF(mirrored ? spine - len : spine + len, y));
    }
}
void boatScaleT(QPainter &p) { boatScale(p, false); }
void boatScaleC(QPainter &p) { boatScale(p, true); }

void boatT(QPainter &p) // seen from the stern
{
    solid(p);
    p.drawPath(outline({{1, 6}, {40, 6}, {31, 16}, {20.5, 13}, {10, 16}})); // hull
    p.drawRect(QRectF(15, 1, 11, 5));                                       // cabin
}

void boatC(QPainter &p) // seen from the side
{
    solid(p);
    QPainterPath hull;
    hull.moveTo(1, 7);
    hull.lineTo(40, 5);
    hull.quadTo(37, 16, 30, 16);
    hull.lineTo(3, 16);
    hull.closeSubpath();
    p.drawPath(hull);
    p.drawRect(QRectF(8, 1, 14, 6)); // cabin
}

// The check-engine symbol occupies the part of its picture that falls inside a
// 60-pixel slot of the 80-pixel side strip.
void checkEngine(QPainter &p)
{
    p.setPen(QPen(Qt::white, 3, Qt::SolidLine, Qt::SquareCap, Qt::MiterJoin));
    p.setBrush(Qt::NoBrush);
    p.drawPath(outline({{12, 10},
                        {36, 10},
                        {40, 14},
                        {44, 14},
                        {44, 10},
                        {48, 10},
                        {48, 32},
                        {44, 32},
                        {44, 28},
                        {38, 36},
                        {16, 36},
                        {12, 30},
                        {8, 30},
                        {8, 34},
                        {3, 34},
                        {3, 18},
                        {8, 18},
                        {8, 22},
                        {12, 22}}));            // engine block
    p.drawLine(QPointF(18, 4), QPointF(30, 4)); // oil filler
    p.drawLine(QPointF(24, 4), QPointF(24, 10));
    solid(p);
    p.drawRect(QRectF(24, 17, 4, 9)); // exclamation mark
    p.drawRect(QRectF(24, 28, 4, 4));
}

void electro(QPainter &p)
{
    p.setPen(QPen(Qt::white, 3));
    p.setBrush(Qt::NoBrush);
    p.drawEllipse(QPointF(18, 26), 16, 16);
    solid(p);
    p.drawPath(outline({{21, 10}, {11, 28}, {18, 28}, {15, 42}, {26, 23}, {19, 23}})); // bolt
}

struct Entry {
    const char *name;
    int width, height;
    Painter paint;
};

const Entry kEntries[] = {
    {"ScaleL", 79, 136, scaleL},
    {"ScaleR", 149, 136, scaleR},
    {"Circle99", 199, 199, circle99},
    {"Circle9", 9, 9, circle9},
    {"Arrow", 129, 129, arrow},
    {"GasStation", 25, 49, gasStation},
    {"Acc", 79, 41, acc},
    {"BoatMotor", 33, 49, boatMotor},
    {"BoatScaleT", 33, 105, boatScaleT},
    {"BoatT", 41, 17, boatT},
    {"BoatScaleC", 33, 105, boatScaleC},
    {"BoatC", 41, 17, boatC},
    {"CheckEngine", 105, 105, checkEngine},
    {"Electro", 105, 105, electro},
};

QImage renderPicture(const Entry &e)
{
    QImage canvas(e.width, e.height, QImage::Format_RGB32);
    canvas.fill(Qt::black);
    QPainter p(&canvas);
    p.setRenderHint(QPainter::Antialiasing, true);
    e.paint(p);
    return canvas;
}

bool isSet(QRgb pixel) { return qGray(pixel) >= 128; }

QByteArray toPbm(const QImage &image)
{
    QByteArray out =
        QByteArray("P4\n") + QByteArray::number(image.width()) + ' ' + QByteArray::number(image.height()) + '\n';
    const int rowBytes = (image.width() + 7) / 8;
    for (int y = 0; y < image.height(); ++y) {
        QByteArray row(rowBytes, '\0');
        for (int x = 0; x < image.width(); ++x)
            if (!isSet(image.pixel(x, y))) // PBM: 1 is black, a clear pixel
                row[x / 8] = static_cast<char>(row[x / 8] | (0x80 >> (x % 8)));
        out += row;
    }
    return out;
}

// ---- fonts -------------------------------------------------------------------

struct FontTable {
    const char *file;
    int width, height;
    bool full;
};

const FontTable kFonts[] = {
    {"font_8x16.bin", 8, 16, true},
    {"font_16x32.bin", 16, 32, true},
    {"font_32x64.bin", 32, 64, false},
    {"font_40x80.bin", 40, 80, false},
};

// The characters of the glyphs in table order; a null character is a blank glyph.
std::vector<QChar> glyphChars(bool full)
{
    std::vector<QChar> chars;
    if (full) {
        for (int c = 32; c < 128; ++c)
            chars.push_back(c == 127 ? QChar() : QChar(c));
        for (int i = 0; i < 64; ++i) // code page 1251 192..255: А..я
            chars.push_back(QChar(0x0410 + i));
        return chars;
    }
    for (const char c : QByteArray("\0+-.:0123456789TDNPR", 20))
        chars.push_back(c ? QChar(c) : QChar());
    return chars;
}

QString g_family;
QString g_boldFamily;

QImage blankCell(const FontTable &table)
{
    QImage cell(table.width, table.height, QImage::Format_RGB32);
    cell.fill(Qt::black);
    return cell;
}

// Text cells: hinted, unsmoothed rendering at the size whose advance fills the
// cell, so that strokes land on whole pixels.
QImage renderTextGlyph(const FontTable &table, QChar ch)
{
    QImage cell = blankCell(table);
    if (ch.isNull() || ch == QLatin1Char(' '))
        return cell;
    QFont font(table.width <= 8 ? g_family : g_boldFamily);
    font.setPixelSize(qRound(table.width / 0.602));
    font.setStyleStrategy(QFont::NoAntialias);
    font.setHintingPreference(QFont::PreferFullHinting);
    const QFontMetricsF m(font);
    QPainter p(&cell);
    p.setFont(font);
    p.setPen(Qt::white);
    const double baseline = std::floor((table.height - (m.ascent() + m.descent())) / 2.0 + m.ascent());
    const double x = std::floor((table.width - m.horizontalAdvance(ch)) / 2.0);
    p.drawText(QPointF(x, baseline), QString(ch));
    return cell;
}

// Digit cells: tall digits in the manner of the device's big numbers, the
// bold face stretched upright to fill the cell.
QImage renderDigitGlyph(const FontTable &table, QChar ch)
{
    QImage cell = blankCell(table);
    if (ch.isNull())
        return cell;
    QFont font(g_boldFamily);
    font.setPixelSize(100);
    const QFontMetricsF m(font);
    QPainterPath zero;
    zero.addText(0, 0, font, QStringLiteral("0"));
    const QRectF digit = zero.boundingRect();
    const double sy = table.height * 0.80 / digit.height();
    const double sx = table.width * 0.86 / digit.width();
    QPainterPath path;
    path.addText(0, 0, font, QString(ch));
    QPainter p(&cell);
    p.setRenderHint(QPainter::Antialiasing, true);
    const double advance = m.horizontalAdvance(QLatin1Char('0'));
    p.translate((table.width - advance * sx) / 2.0, table.height / 2.0 - digit.center().y() * sy);
    p.scale(sx, sy);
    p.fillPath(path, Qt::white);
    return cell;
}

QByteArray glyphBytes(const FontTable &table, const QImage &cell)
{
    QByteArray out;
    const int rowBytes = table.width / 8;
    for (int y = 0; y < table.height; ++y)
        for (int b = 0; b < rowBytes; ++b) {
            unsigned byte = 0;
            for (int bit = 0; bit < 8; ++bit)
                if (isSet(cell.pixel(b * 8 + bit, y)))
                    byte |= 0x80u >> bit;
            out += static_cast<char>(byte);
        }
    return out;
}

bool writeFile(const QString &path, const QByteArray &bytes)
{
    QFile f(path);
    if (!f.open(QIODevice::WriteOnly) || f.write(bytes) != bytes.size()) {
        std::fprintf(stderr, "fontgen: cannot write %s\n", qPrintable(path));
        return false;
    }
    return true;
}

QString loadFamily(const QString &path)
{
    const int id = QFontDatabase::addApplicationFont(path);
    const QStringList families = id < 0 ? QStringList() : QFontDatabase::applicationFontFamilies(id);
    return families.isEmpty() ? QString() : families.first();
}

} // namespace

int main(int argc, char **argv)
{
    qputenv("QT_QPA_PLATFORM", qgetenv("QT_QPA_PLATFORM").isEmpty() ? "offscreen" : qgetenv("QT_QPA_PLATFORM"));
    QGuiApplication app(argc, argv);
    const QStringList args = app.arguments().mid(1);
    if (args.isEmpty()) {
        std::fprintf(stderr, "usage: fontgen OUTDIR [--sheet SHEET.png]\n");
        return 2;
    }
    const QString fontDir = qEnvironmentVariable("DEJAVU_DIR", QStringLiteral("/usr/share/fonts/truetype/dejavu"));
    g_family = loadFamily(fontDir + QStringLiteral("/DejaVuSansMono.ttf"));
    g_boldFamily = loadFamily(fontDir + QStringLiteral("/DejaVuSansMono-Bold.ttf"));
    if (g_family.isEmpty() || g_boldFamily.isEmpty()) {
        std::fprintf(stderr, "fontgen: DejaVu Sans Mono not found in %s (Debian: fonts-dejavu-core)\n",
                     qPrintable(fontDir));
        return 1;
    }
    const QDir out(args[0]);
    out.mkpath(QStringLiteral("pictures"));
    const int sheetAt = args.indexOf(QStringLiteral("--sheet"));
    QImage sheet(16 * 40 + 8, 1200, QImage::Format_RGB32);
    sheet.fill(qRgb(40, 40, 40));
    int sheetY = 4;
    for (const FontTable &table : kFonts) {
        QByteArray bytes;
        int i = 0;
        for (const QChar ch : glyphChars(table.full)) {
            const QImage cell = table.full ? renderTextGlyph(table, ch) : renderDigitGlyph(table, ch);
            bytes += glyphBytes(table, cell);
            QPainter(&sheet).drawImage(4 + (i % 16) * (table.width + 2), sheetY + (i / 16) * (table.height + 2), cell);
            ++i;
        }
        sheetY += ((i + 15) / 16) * (table.height + 2) + 6;
        if (!writeFile(out.filePath(QLatin1String(table.file)), bytes))
            return 1;
    }
    for (const Entry &e : kEntries)
        if (!writeFile(out.filePath(QStringLiteral("pictures/%1.pbm").arg(QLatin1String(e.name))),
                       toPbm(renderPicture(e))))
            return 1;
    if (sheetAt >= 0 && sheetAt + 1 < args.size())
        sheet.copy(0, 0, sheet.width(), sheetY).save(args[sheetAt + 1]);
    return 0;
}
