#include "pictures_form.h"

#include "preview_data.h"

#include <QGridLayout>
#include <QLabel>
#include <QPixmap>

namespace {

TPicturesForm *g_instance = nullptr;

} // namespace

QImage DrawPicture(const QString &name) { return pv::PictureImage(name); }

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
    static std::vector<QByteArray> names; // Picture::name points into these
    if (names.empty())
        for (const QString &n : pv::PictureNames())
            names.push_back(n.toLatin1());
    for (const QByteArray &n : names) {
        const QImage image = pv::PictureImage(QLatin1String(n));
        m_pictures.push_back({n.constData(), image.width(), image.height(), image});
    }
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
