#include "pictures_form.h"

#include <QGridLayout>
#include <QLabel>
#include <QPainter>
#include <QPainterPath>
#include <QPixmap>
#include <QtMath>

namespace {

TPicturesForm *g_instance = nullptr;

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
    p.setPen(Qt::NoPen);
    p.setBrush(Qt::white);
    p.drawEllipse(QRectF(0.5, 0.5, 8, 8));
}

void arrow(QPainter &p)
{
    const QPointF c(kArrowCentre + 0.5, kArrowCentre + 0.5);
    const double angle = 135; // a fixed pointer, not turned by the value
    QPainterPath needle;
    needle.moveTo(polar(c.x(), c.y(), 58, angle));
    needle.lineTo(polar(c.x(), c.y(), 5, angle + 90));
    needle.lineTo(polar(c.x(), c.y(), 14, angle + 180));
    needle.lineTo(polar(c.x(), c.y(), 5, angle - 90));
    needle.closeSubpath();
    p.setPen(Qt::NoPen);
    p.setBrush(Qt::white);
    p.drawPath(needle);
    p.drawEllipse(c, 7, 7);
    p.setBrush(Qt::black);
    p.drawEllipse(c, 2.5, 2.5);
}

void gasStation(QPainter &p)
{
    p.setPen(Qt::NoPen);
    p.setBrush(Qt::white);
    p.drawRect(QRectF(1, 8, 15, 37));  // pump body
    p.drawRect(QRectF(0, 44, 18, 5));  // base
    p.setBrush(Qt::black);
    p.drawRect(QRectF(4, 12, 9, 9));   // dial window
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
    p.setPen(Qt::NoPen);
    p.setBrush(Qt::white);
    p.drawRect(QRectF(9, 3, 10, 5));  // terminals
    p.drawRect(QRectF(41, 3, 10, 5));
    p.drawRect(QRectF(9, 19, 10, 3)); // minus
    p.drawRect(QRectF(40, 19, 12, 3)); // plus
    p.drawRect(QRectF(44.5, 14.5, 3, 12));
}

void boatMotor(QPainter &p)
{
    p.setPen(Qt::NoPen);
    p.setBrush(Qt::white);
    p.drawRoundedRect(QRectF(6, 1, 21, 15), 5, 5); // engine cover
    p.drawRect(QRectF(13, 15, 7, 24));             // shaft
    QPainterPath foot;
    foot.moveTo(9, 37);
    foot.lineTo(24, 37);
    foot.lineTo(22, 44);
    foot.lineTo(11, 44);
    foot.closeSubpath();
    p.drawPath(foot);
    p.drawRect(QRectF(15, 44, 3, 5));                     // skeg
    p.drawEllipse(QRectF(24, 36.5, 6, 8));                 // propeller
    p.drawRect(QRectF(1, 18, 12, 3));                      // clamp
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
    p.setPen(Qt::NoPen);
    p.setBrush(Qt::white);
    QPainterPath hull;
    hull.moveTo(1, 6);
    hull.lineTo(40, 6);
    hull.lineTo(31, 16);
    hull.lineTo(20.5, 13);
    hull.lineTo(10, 16);
    hull.closeSubpath();
    p.drawPath(hull);
    p.drawRect(QRectF(15, 1, 11, 5)); // cabin
}

void boatC(QPainter &p) // seen from the side
{
    p.setPen(Qt::NoPen);
    p.setBrush(Qt::white);
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
    QPainterPath block;
    block.moveTo(12, 10);
    block.lineTo(36, 10);
    block.lineTo(40, 14);
    block.lineTo(44, 14);
    block.lineTo(44, 10);
    block.lineTo(48, 10);
    block.lineTo(48, 32);
    block.lineTo(44, 32);
    block.lineTo(44, 28);
    block.lineTo(38, 36);
    block.lineTo(16, 36);
    block.lineTo(12, 30);
    block.lineTo(8, 30);
    block.lineTo(8, 34);
    block.lineTo(3, 34);
    block.lineTo(3, 18);
    block.lineTo(8, 18);
    block.lineTo(8, 22);
    block.lineTo(12, 22);
    block.closeSubpath();
    p.drawPath(block);
    p.drawLine(QPointF(18, 4), QPointF(30, 4)); // oil filler
    p.drawLine(QPointF(24, 4), QPointF(24, 10));
    p.setPen(Qt::NoPen);
    p.setBrush(Qt::white);
    p.drawRect(QRectF(24, 17, 4, 9)); // exclamation mark
    p.drawRect(QRectF(24, 28, 4, 4));
}

void electro(QPainter &p)
{
    p.setPen(QPen(Qt::white, 3));
    p.setBrush(Qt::NoBrush);
    p.drawEllipse(QPointF(18, 26), 16, 16);
    p.setPen(Qt::NoPen);
    p.setBrush(Qt::white);
    QPainterPath bolt;
    bolt.moveTo(21, 10);
    bolt.lineTo(11, 28);
    bolt.lineTo(18, 28);
    bolt.lineTo(15, 42);
    bolt.lineTo(26, 23);
    bolt.lineTo(19, 23);
    bolt.closeSubpath();
    p.drawPath(bolt);
}

struct Entry {
    const char *name;
    int width, height;
    Painter paint;
};

const Entry kEntries[] = {
    {"ScaleL", 79, 136, scaleL},           {"ScaleR", 149, 136, scaleR},
    {"Circle99", 199, 199, circle99},      {"Circle9", 9, 9, circle9},
    {"Arrow", 129, 129, arrow},            {"GasStation", 25, 49, gasStation},
    {"Acc", 79, 41, acc},                  {"BoatMotor", 33, 49, boatMotor},
    {"BoatScaleT", 33, 105, boatScaleT},   {"BoatT", 41, 17, boatT},
    {"BoatScaleC", 33, 105, boatScaleC},   {"BoatC", 41, 17, boatC},
    {"CheckEngine", 105, 105, checkEngine}, {"Electro", 105, 105, electro},
};

QImage renderPicture(const Entry &e)
{
    QImage canvas(e.width, e.height, QImage::Format_RGB32);
    canvas.fill(Qt::black);
    {
        QPainter p(&canvas);
        p.setRenderHint(QPainter::Antialiasing, true);
        e.paint(p);
    }
    QImage mono = canvas.convertToFormat(QImage::Format_Mono, Qt::ThresholdDither | Qt::MonoOnly);
    // Colour 0 black and 1 white whatever the conversion chose.
    if (mono.colorCount() == 2 && qGray(mono.color(0)) > qGray(mono.color(1))) {
        mono.invertPixels();
        mono.setColor(0, qRgb(0, 0, 0));
        mono.setColor(1, qRgb(255, 255, 255));
    }
    return mono;
}

} // namespace

QImage DrawPicture(const QString &name)
{
    for (const Entry &e : kEntries)
        if (name == QLatin1String(e.name))
            return renderPicture(e);
    return {};
}

TPicturesForm::TPicturesForm(QWidget *parent) : QWidget(parent)
{
    setObjectName(QStringLiteral("TPicturesForm"));
    setWindowTitle(QStringLiteral("Pictures"));
    g_instance = this;
}

void TPicturesForm::ensureDrawn() const
{
    if (!m_pictures.empty())
        return;
    for (const Entry &e : kEntries)
        m_pictures.push_back({e.name, e.width, e.height, renderPicture(e)});
}

const std::vector<TPicturesForm::Picture> &TPicturesForm::Pictures() const
{
    ensureDrawn();
    return m_pictures;
}

void TPicturesForm::showEvent(QShowEvent *event)
{
    if (!m_labels) {
        m_labels = true;
        auto *grid = new QGridLayout(this);
        int column = 0, row = 0;
        for (const Picture &p : Pictures()) {
            auto *label = new QLabel(this);
            label->setObjectName(QLatin1String(p.name));
            label->setPixmap(QPixmap::fromImage(p.image));
            grid->addWidget(label, row, column, Qt::AlignLeft | Qt::AlignTop);
            if (++column == 5) {
                column = 0;
                ++row;
            }
        }
    }
    QWidget::showEvent(event);
}

TPicturesForm::~TPicturesForm()
{
    if (g_instance == this)
        g_instance = nullptr;
}

QImage TPicturesForm::picture(const QString &name) const
{
    for (const Picture &p : Pictures())
        if (name == QLatin1String(p.name))
            return p.image;
    return {};
}

TPicturesForm *TPicturesForm::Instance() { return g_instance; }
