#include "display_pages.h"

#include "blocks.h"
#include "field_binder.h"
#include "language.h"
#include "measured_params.h"
#include "protocol_catalog.h"
#include "tmk.h"

#include <QActionGroup>
#include <QCheckBox>
#include <QFormLayout>
#include <QGridLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QMenu>
#include <QMouseEvent>
#include <QPainter>
#include <QRandomGenerator>
#include <QTabWidget>
#include <QVBoxLayout>

namespace {

QString tr2(const char *en, const char *ru) { return LangText(en, ru); }

const char *const kHint[] = {
    "To change the displayed parameter, RIGHT-click on the appropriate part of the corresponding display.",
    "Для изменения отображаемого параметра щелкните ПРАВОЙ кнопкой мыши в нужной части соответствующего дисплея."};

struct LayoutUi {
    const char *previewName; // object name of the previews, numbered from 1 unless single
    const char *menuName;
};

LayoutUi uiOf(disp::Layout layout)
{
    using L = disp::Layout;
    switch (layout) {
    case L::X4: return {"pbDigit4_", "pmDig4"};
    case L::X6: return {"pbDigit6_", "pmDig6"};
    case L::X9: return {"pbDigit9_", "pmDig9"};
    case L::X1: return {"pbDig1", "pmDig1"};
    case L::Graphs: return {"pbGraph_", "pmGraph"};
    case L::Dials: return {"pbArrow_", "pmArrow"};
    case L::Panel: return {"pbInfoPanel", "pmInfoPanel"};
    }
    return {"", ""};
}

// Sub-pages of the layouts with many displays: first display and count.
struct SubPage {
    int first, count;
    const char *en, *ru;
};

std::vector<SubPage> subPagesOf(disp::Layout layout)
{
    const int n = disp::PlaceOf(layout).displays;
    if (n == 6)
        return {{0, 3, "Displays 1..3", "Дисплеи 1 .. 3"}, {3, 3, "Displays 4..6", "Дисплеи 4 .. 6"}};
    if (n == 8)
        return {{0, 3, "Displays 1..3", "Дисплеи 1 .. 3"},
                {3, 3, "Displays 4..6", "Дисплеи 4 .. 6"},
                {6, 2, "Displays 7, 8", "Дисплеи 7, 8"}};
    return {{0, n, "", ""}};
}

} // namespace

// ---- TPreviewBox ----------------------------------------------------------------

TPreviewBox::TPreviewBox(int display, QSize canvasPart, int hintFactor, QWidget *parent)
    : QWidget(parent), m_display(display), m_part(canvasPart), m_hintFactor(hintFactor)
{
    setSizePolicy(QSizePolicy::Expanding, QSizePolicy::Expanding);
    setContextMenuPolicy(Qt::PreventContextMenu);
}

void TPreviewBox::setImage(const QImage &canvas)
{
    m_image = canvas.copy(0, 0, m_part.width(), m_part.height());
    update();
}

int TPreviewBox::factor() const { return std::max(1, std::min(width() / m_part.width(), height() / m_part.height())); }

QPoint TPreviewBox::topLeft() const
{
    const int f = factor();
    return {std::max(0, (width() - m_part.width() * f) / 2), std::max(0, (height() - m_part.height() * f) / 2)};
}

QSize TPreviewBox::sizeHint() const { return m_part * m_hintFactor; }
QSize TPreviewBox::minimumSizeHint() const { return m_part; }

void TPreviewBox::paintEvent(QPaintEvent *)
{
    QPainter p(this);
    p.setRenderHint(QPainter::SmoothPixmapTransform, false);
    const int f = factor();
    p.drawImage(QRect(topLeft(), m_part * f), m_image);
}

void TPreviewBox::mousePressEvent(QMouseEvent *event)
{
    if (event->button() != Qt::RightButton)
        return; // left clicks do nothing
    const QPoint at = (event->position().toPoint() - topLeft()) / factor();
    if (QRect(QPoint(0, 0), m_part).contains(at))
        emit rightClicked(at, event->globalPosition().toPoint());
}

// ---- TLayoutPage ----------------------------------------------------------------

TLayoutPage::TLayoutPage(disp::Layout layout, TEditorContext &context, QWidget *parent)
    : TEditorPage(context, parent), m_layout(layout)
{
    const LayoutUi ui = uiOf(layout);
    auto *box = new QVBoxLayout(this);
    auto *hint = new QLabel(tr2(kHint[0], kHint[1]), this);
    hint->setWordWrap(true);
    box->addWidget(hint);
    const std::vector<SubPage> subs = subPagesOf(layout);
    QTabWidget *tabs = subs.size() > 1 ? new QTabWidget(this) : nullptr;
    const bool single = disp::PlaceOf(layout).displays == 1;
    const QSize part = layout == disp::Layout::Panel ? QSize(80, pv::kScreenHeight)
                                                     : QSize(pv::kScreenWidth, pv::kScreenHeight);
    for (const SubPage &sub : subs) {
        auto *holder = new QWidget(tabs ? static_cast<QWidget *>(tabs) : this);
        auto *row = new QHBoxLayout(holder);
        for (int d = sub.first; d < sub.first + sub.count; ++d) {
            auto *preview = new TPreviewBox(d, part, single ? 2 : 1, holder);
            preview->setObjectName(single ? QLatin1String(ui.previewName)
                                          : QLatin1String(ui.previewName) + QString::number(d + 1));
            connect(preview, &TPreviewBox::rightClicked, this, [this, preview](QPoint at, QPoint global) {
                if (QMenu *menu = MenuForClick(preview->display(), at))
                    menu->popup(global);
            });
            row->addWidget(preview);
            m_previews.push_back(preview);
        }
        if (tabs)
            tabs->addTab(holder, tr2(sub.en, sub.ru));
        else
            box->addWidget(holder, 1);
    }
    if (tabs) {
        box->addWidget(tabs, 1);
        connect(tabs, &QTabWidget::currentChanged, this, [this] { Redraw(); });
    }
}

void TLayoutPage::draw(TPreviewBox *box)
{
    using L = disp::Layout;
    const TMK &model = m_context.model;
    const int scheme = m_context.editedScheme;
    const int d = box->display();
    pv::TPreviewCanvas canvas;
    const CapabilitySet &caps = m_context.catalog.capabilities();
    const uint32_t seed = QRandomGenerator::global()->generate();
    switch (m_layout) {
    case L::X4: pv::DrawEditorPreview(canvas, model, caps, pv::Screen::X4, d, scheme); break;
    case L::X6: pv::DrawEditorPreview(canvas, model, caps, pv::Screen::X6, d, scheme); break;
    case L::X9: pv::DrawEditorPreview(canvas, model, caps, pv::Screen::X9, d, scheme); break;
    case L::X1: pv::DrawEditorPreview(canvas, model, caps, pv::Screen::X1, d, scheme); break;
    case L::Graphs: pv::DrawEditorPreview(canvas, model, caps, pv::Screen::Graph, d, scheme, std::nullopt, seed); break;
    case L::Dials: pv::DrawEditorPreview(canvas, model, caps, pv::Screen::Dials, d, scheme); break;
    case L::Panel: pv::DrawEditorPreview(canvas, model, caps, pv::Screen::Strip, d, scheme); break;
    }
    box->setImage(canvas.image());
}

void TLayoutPage::Redraw()
{
    for (TPreviewBox *box : m_previews)
        draw(box);
}

std::vector<TLayoutPage::Choice> TLayoutPage::Choices(int position) const
{
    using L = disp::Layout;
    const TMK &model = m_context.model;
    const TProtocolCatalog &catalog = m_context.catalog;
    std::vector<Choice> choices;
    auto named = [&](int code) {
        if (const TMeasParBase *p = model.FindParameter(code))
            choices.push_back({code, p->Name});
    };
    auto protocolParams = [&](const std::function<bool(const TMeasParBase &)> &admit) {
        if (const TProtBase *prot = catalog.currentProtocol())
            for (const uint8_t code : prot->DisplayParams)
                if (const TMeasParBase *p = model.FindParameter(code); p && admit(*p))
                    choices.push_back({code, p->Name});
    };
    const Choice absent{0, tr2("Absent", "Отсутствует")};
    switch (m_layout) {
    case L::X4:
    case L::X6:
    case L::X9:
        protocolParams([](const TMeasParBase &) { return true; });
        break;
    case L::X1: {
        const std::vector<int> codes = catalog.has(Cap::Trim) ? std::vector<int>{7, 10, 8, 17, 62, 55, 56, 57, 58, 59, 38}
                                                              : std::vector<int>{7, 10, 8, 17, 55, 56, 57, 58, 59, 38};
        for (const int code : codes)
            named(code);
        break;
    }
    case L::Graphs:
        if (position == 1)
            choices.push_back(absent);
        protocolParams([](const TMeasParBase &p) { return p.Graphable; });
        break;
    case L::Dials:
        if (position == 1)
            choices.push_back(absent);
        protocolParams([position](const TMeasParBase &p) { return p.GaugeSlot == position + 1; });
        break;
    case L::Panel: {
        struct Item {
            const char *ru, *en;
        };
        std::vector<Item> items = {{"CheckEn", "CheckEn"}, {"Предупр", "Warning"}, {"Обороты", "Eng.sp."},
                                   {"Скор.", "Speed"},     {"СкорПКм", "Sp.LtKm"}, {"ТОЖ", "T cool."},
                                   {"Т возд.", "T air"},   {"Т КПП", "T AT"},      {"Перед.", "AT mode"},
                                   {"НапрАКБ", "Batt.V"},  {"Бак", "Tank"}};
        if (!catalog.has(Cap::NoGasFuel))
            items.push_back({"ГазБенз", "GasPetr"});
        if (catalog.has(Cap::AlternativeDisplay)) {
            const TProtBase *prot = catalog.currentProtocol();
            items.push_back(prot && prot->IsHybrid ? Item{"Обор/Эл", "EngSpEl"} : Item{"Обороты", "Eng.sp."});
            items.insert(items.end(), {{"Т ВВБ", "Т HVB"}, {"ТВВ ВВБ", "IAT HVB"}, {"ВентВВБ", "HVB fan"},
                                       {"Т ЭлДв", "T ElMot"}});
        }
        if (catalog.has(Cap::NoAirTempAlgorithm))
            items.insert(items.end(), {{"Т двиг.", "Т eng."}, {"Т воды", "T water"}, {"Т цил.", "Т cyl."}});
        if (catalog.has(Cap::Trim))
            items.push_back({"Трим", "Trim"});
        if (catalog.has(Cap::NoAirTempAlgorithm) && catalog.has(Cap::TiltSensor))
            items.insert(items.end(), {{"Крен", "Roll"}, {"Дифф.", "Pitch"}});
        for (size_t i = 0; i < items.size(); ++i)
            choices.push_back({static_cast<int>(i), LangText(items[i].en, items[i].ru)});
        break;
    }
    }
    return choices;
}

QMenu *TLayoutPage::MenuForClick(int display, QPoint at)
{
    const int position = disp::PositionOfClick(m_layout, at.x(), at.y(), m_layout == disp::Layout::Panel ? 80 : 320, 240);
    if (position < 0)
        return nullptr;
    delete m_menu;
    const LayoutUi ui = uiOf(m_layout);
    m_menu = new QMenu(this);
    const bool numbered = m_layout == disp::Layout::Graphs || m_layout == disp::Layout::Dials;
    m_menu->setObjectName(numbered ? QLatin1String(ui.menuName) + QString::number(position + 1)
                                   : QLatin1String(ui.menuName));
    auto *group = new QActionGroup(m_menu);
    const int current = disp::Code(m_context.model, m_layout, display, position);
    for (const Choice &c : Choices(position)) {
        QAction *a = m_menu->addAction(c.caption);
        a->setCheckable(true);
        a->setChecked(c.code == current);
        a->setData(c.code);
        group->addAction(a);
        connect(a, &QAction::triggered, this, [this, display, position, code = c.code] {
            disp::SetCode(m_context.model, m_layout, display, position, code);
            Redraw();
        });
    }
    return m_menu;
}

TEditorPage *MakeLayoutPage(disp::Layout layout, TEditorContext &context, QWidget *parent)
{
    return new TLayoutPage(layout, context, parent);
}

// ---- tsDivers -----------------------------------------------------------------

namespace {

class TDiversPage : public TEditorPage {
public:
    TDiversPage(TEditorContext &context, QWidget *parent) : TEditorPage(context, parent)
    {
        auto *columns = new QHBoxLayout(this);
        auto *left = new QWidget(this);
        auto *form = new QFormLayout(left);
        for (const char *name : {"rgIntenseMeth", "rgColorMeth", "meIntenseDayTime", "meIntenseNightTime", "seIntense0",
                                 "seIntense1", "rgActiveColorScheme", "rgDispSpeed", "cbDispShowTitle",
                                 "cbShowDispName", "rgDispShowPBMeth", "rgDispShowArrowMeth", "seExpPBLim"})
            context.binder.addTo(form, name, left);
        columns->addWidget(left);

        auto *shown = new QGroupBox(tr2("Show displays", "Показывать дисплеи"), this);
        shown->setObjectName(QStringLiteral("gbShowDisp"));
        auto *grid = new QGridLayout(shown);
        using M = disp::Mask;
        auto numbered = [](int n) {
            QStringList t;
            for (int i = 1; i <= n; ++i)
                t << QStringLiteral("#%1").arg(i);
            return t;
        };
        addGroup(grid, 0, 0, "x4", "x4", M::X4, "4", numbered(6));
        addGroup(grid, 0, 1, "x9", "x9", M::X9, "9", numbered(3));
        addGroup(grid, 1, 0, "x6", "x6", M::X6, "6", numbered(2));
        addGroup(grid, 1, 1, "Graphics", "Графики", M::Graphs, "G", numbered(8));
        addGroup(grid, 2, 0, "Arrows", "Стрелки", M::Dials, "A", numbered(8));
        addGroup(grid, 2, 1, "Average", "Средние", M::Averages, "S",
                 {tr2("Trip", "Поездка"), tr2("Reset1", "Сброс 1"), tr2("Reset2", "Сброс 2"), tr2("Total", "Общие"),
                  tr2("In jams", "В пробках"), tr2("In traffic", "Без пробок"), tr2("Taximeter", "Таксометр"),
                  tr2("Petrol", "Бензин"), tr2("Gas", "Газ")});
        QStringList x1;
        for (int i = 0; i < 40; ++i)
            x1 << QString();
        addGroup(grid, 3, 0, "x1", "x1", M::X1, "1", x1, 2);
        columns->addWidget(shown, 1);
    }

    void Load() override
    {
        const TMK &model = m_context.model;
        const TProtocolCatalog &catalog = m_context.catalog;
        const TProtBase *prot = catalog.currentProtocol();
        for (auto &[box, mask, i] : m_boxes) {
            bool visible = true;
            if (mask == disp::Mask::X1) {
                const int count = prot ? static_cast<int>(prot->DisplayParams.size()) : 0;
                visible = i < count;
                if (visible) {
                    const int code = prot->DisplayParams[static_cast<size_t>(i)];
                    const TMeasParBase *p = model.FindParameter(code);
                    box->setText(p ? p->Name : QString::number(code));
                }
            } else if (mask == disp::Mask::Averages) {
                if (i == 4 || i == 5)
                    visible = !catalog.has(Cap::NoTrafficJamStatistics);
                else if (i == 6)
                    visible = false; // no device model of the catalog has a taximeter
                else if (i == 7 || i == 8)
                    visible = !catalog.has(Cap::NoGasFuel);
            }
            box->setVisible(visible);
            box->setChecked(visible && disp::Shown(model, mask, i));
        }
    }
    void ProtocolChanged() override { Load(); }

private:
    struct Box {
        QCheckBox *box;
        disp::Mask mask;
        int index;
    };

    void addGroup(QGridLayout *grid, int row, int column, const char *en, const char *ru, disp::Mask mask,
                  const char *suffix, const QStringList &captions, int span = 1)
    {
        auto *group = new QGroupBox(tr2(en, ru));
        auto *inner = new QGridLayout(group);
        const int perColumn = captions.size() > 10 ? 10 : captions.size();
        for (int i = 0; i < captions.size(); ++i) {
            auto *box = new QCheckBox(captions[i], group);
            box->setObjectName(QStringLiteral("cbShowDisp_%1_%2").arg(QLatin1String(suffix)).arg(i));
            inner->addWidget(box, i % perColumn, i / perColumn);
            m_boxes.push_back({box, mask, i});
            connect(box, &QCheckBox::clicked, this, [this, mask, i](bool on) {
                disp::SetShown(m_context.model, mask, i, on);
            });
        }
        grid->addWidget(group, row, column, 1, span);
    }

    std::vector<Box> m_boxes;
};

} // namespace

TEditorPage *MakeDiversPage(TEditorContext &context, QWidget *parent) { return new TDiversPage(context, parent); }
