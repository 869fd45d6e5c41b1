#include "display_pages.h"

#include "blocks.h"
#include "field_binder.h"
#include "language.h"
#include "measured_params.h"
#include "protocol_catalog.h"
#include "tmk.h"

#include <QAbstractTableModel>
#include <QActionGroup>
#include <QButtonGroup>
#include <QHeaderView>
#include <QMessageBox>
#include <QPushButton>
#include <QRadioButton>
#include <QSpinBox>
#include <QTableView>
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
#include <QStyledItemDelegate>
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
    const std::vector<SubPage> subs = subPagesOf(layout);
    const bool single = disp::PlaceOf(layout).displays == 1;
    auto *hint = new QLabel(tr2(kHint[0], kHint[1]), this);
    hint->setWordWrap(true);
    // A single display is shown twice its size, which leaves no height for
    // the hint above it: the hint goes beside it.
    QBoxLayout *box = single ? static_cast<QBoxLayout *>(new QHBoxLayout(this)) : new QVBoxLayout(this);
    box->setContentsMargins(4, 4, 4, 4); // three displays side by side leave little more
    if (single) {
        hint->setAlignment(Qt::AlignTop | Qt::AlignLeft);
        hint->setMinimumWidth(hint->fontMetrics().averageCharWidth() * 30);
        hint->setMaximumWidth(hint->fontMetrics().averageCharWidth() * 40);
    } else {
        box->addWidget(hint);
    }
    QTabWidget *tabs = nullptr;
    if (subs.size() > 1) {
        tabs = new QTabWidget(this);
        tabs->setObjectName(layout == disp::Layout::X4       ? QStringLiteral("pcParams4")
                            : layout == disp::Layout::Graphs ? QStringLiteral("pcParamsG")
                                                             : QStringLiteral("pcParamsA"));
    }
    const QSize part =
        layout == disp::Layout::Panel ? QSize(80, pv::kScreenHeight) : QSize(pv::kScreenWidth, pv::kScreenHeight);
    for (const SubPage &sub : subs) {
        auto *holder = new QWidget(tabs ? static_cast<QWidget *>(tabs) : this);
        auto *row = new QHBoxLayout(holder);
        row->setContentsMargins(0, 0, 0, 0);
        for (int d = sub.first; d < sub.first + sub.count; ++d) {
            auto *preview = new TPreviewBox(d, part, single ? 2 : 1, holder);
            preview->setObjectName(single ? QLatin1String(ui.previewName)
                                          : QLatin1String(ui.previewName) + QString::number(d + 1));
            connect(preview, &TPreviewBox::rightClicked, this, [this, preview](QPoint at, QPoint global) {
                if (QMenu *menu = menuForClick(preview->display(), at))
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
        connect(tabs, &QTabWidget::currentChanged, this, [this] { redraw(); });
    }
    if (single)
        box->addWidget(hint);
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

void TLayoutPage::redraw()
{
    // Only the sub-page in front; switching sub-pages redraws the new one.
    for (TPreviewBox *box : m_previews)
        if (box->isVisibleTo(this))
            draw(box);
}

std::vector<TLayoutPage::Choice> TLayoutPage::choices(int position) const
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
    case L::X9: protocolParams([](const TMeasParBase &) { return true; }); break;
    case L::X1: {
        const std::vector<int> codes = catalog.has(Cap::Trim)
                                           ? std::vector<int>{7, 10, 8, 17, 62, 55, 56, 57, 58, 59, 38}
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
            items.insert(items.end(),
                         {{"Т ВВБ", "Т HVB"}, {"ТВВ ВВБ", "IAT HVB"}, {"ВентВВБ", "HVB fan"}, {"Т ЭлДв", "T ElMot"}});
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

QMenu *TLayoutPage::menuForClick(int display, QPoint at)
{
    const int position =
        disp::PositionOfClick(m_layout, at.x(), at.y(), m_layout == disp::Layout::Panel ? 80 : 320, 240);
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
    for (const Choice &c : choices(position)) {
        QAction *a = m_menu->addAction(c.caption);
        a->setCheckable(true);
        a->setChecked(c.code == current);
        a->setData(c.code);
        group->addAction(a);
        connect(a, &QAction::triggered, this, [this, display, position, code = c.code] {
            disp::SetCode(m_context.model, m_layout, display, position, code);
            redraw();
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

class TDisplayOptionsPage : public TEditorPage {
public:
    TDisplayOptionsPage(TEditorContext &context, QWidget *parent) : TEditorPage(context, parent)
    {
        auto *columns = new QHBoxLayout(this);
        columns->setContentsMargins(0, 0, 0, 0);
        // Radio groups as rows of buttons beside their captions (framed, the
        // thirteen options would not fit the page's height); the refresh rate,
        // with the longest caption, framed (beside its caption, too wide).
        auto *options = new QGroupBox(this);
        auto *form = new QFormLayout(options);
        form->setContentsMargins(4, 4, 4, 4);
        form->setFieldGrowthPolicy(QFormLayout::FieldsStayAtSizeHint);
        for (const char *name : {"rgIntenseMeth", "rgColorMeth", "meIntenseDayTime", "meIntenseNightTime", "seIntense0",
                                 "seIntense1", "rgActiveColorScheme"})
            context.binder.addCompactTo(form, name, options);
        context.binder.addTo(form, "rgDispSpeed", options);
        for (const char *name :
             {"cbDispShowTitle", "cbShowDispName", "rgDispShowPBMeth", "rgDispShowArrowMeth", "seExpPBLim"})
            context.binder.addCompactTo(form, name, options);
        columns->addWidget(options, 0, Qt::AlignTop);

        auto *shown = new QGroupBox(tr2("Show displays", "Показывать дисплеи"), this);
        shown->setObjectName(QStringLiteral("gbShowDisp"));
        auto *grid = new QGridLayout(shown);
        grid->setContentsMargins(4, 4, 4, 4);
        using M = disp::Mask;
        auto numbered = [](int n) {
            QStringList t;
            for (int i = 1; i <= n; ++i)
                t << QStringLiteral("#%1").arg(i);
            return t;
        };
        // The numbered kinds and the averages on the left, the x1 parameters
        // (up to forty names) in two columns on the right.
        auto *kinds = new QGridLayout;
        addGroup(kinds, 0, 0, "x4", "x4", M::X4, "4", numbered(6), 3, 2);
        addGroup(kinds, 1, 0, "x9", "x9", M::X9, "9", numbered(3), 3);
        addGroup(kinds, 1, 1, "x6", "x6", M::X6, "6", numbered(2), 2);
        addGroup(kinds, 2, 0, "Graphics", "Графики", M::Graphs, "G", numbered(8), 4, 2);
        addGroup(kinds, 3, 0, "Arrows", "Стрелки", M::Dials, "A", numbered(8), 4, 2);
        addGroup(kinds, 4, 0, "Average", "Средние", M::Averages, "S",
                 {tr2("Trip", "Поездка"), tr2("Reset1", "Сброс 1"), tr2("Reset2", "Сброс 2"), tr2("Total", "Общие"),
                  tr2("In jams", "В пробках"), tr2("In traffic", "Без пробок"), tr2("Taximeter", "Таксометр"),
                  tr2("Petrol", "Бензин"), tr2("Gas", "Газ")},
                 2, 2);
        kinds->setRowStretch(5, 1);
        grid->addLayout(kinds, 0, 0);
        auto *x1Column = new QGridLayout;
        QStringList x1;
        for (int i = 0; i < 40; ++i)
            x1 << QString();
        addGroup(x1Column, 0, 0, "x1", "x1", M::X1, "1", x1, 2, 1, true);
        x1Column->setRowStretch(1, 1);
        grid->addLayout(x1Column, 0, 1);
        columns->addWidget(shown, 1);
        reflow();
    }

    void load() override
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
        reflow();
    }
    void protocolChanged() override { load(); }

private:
    struct Box {
        QCheckBox *box;
        disp::Mask mask;
        int index;
    };

    struct Group {
        QGridLayout *grid;
        std::vector<QCheckBox *> boxes;
        int perRow;
        bool byColumn;
    };

    void addGroup(QGridLayout *grid, int row, int column, const char *en, const char *ru, disp::Mask mask,
                  const char *suffix, const QStringList &captions, int perRow, int span = 1, bool byColumn = false)
    {
        auto *group = new QGroupBox(tr2(en, ru));
        Group g{new QGridLayout(group), {}, perRow, byColumn};
        g.grid->setVerticalSpacing(0);
        g.grid->setContentsMargins(4, 4, 4, 4);
        for (int i = 0; i < captions.size(); ++i) {
            auto *box = new QCheckBox(captions[i], group);
            box->setObjectName(QStringLiteral("cbShowDisp_%1_%2").arg(QLatin1String(suffix)).arg(i));
            g.boxes.push_back(box);
            m_boxes.push_back({box, mask, i});
            connect(box, &QCheckBox::clicked, this,
                    [this, mask, i](bool on) { disp::SetShown(m_context.model, mask, i, on); });
        }
        m_groups.push_back(g);
        grid->addWidget(group, row, column, 1, span);
    }

    // Places the shown boxes one after the other, so that those the device or
    // the protocol hides leave no gaps.
    void reflow()
    {
        for (Group &g : m_groups) {
            for (QCheckBox *box : g.boxes)
                g.grid->removeWidget(box);
            std::vector<QCheckBox *> shown;
            for (QCheckBox *box : g.boxes)
                if (!box->isHidden())
                    shown.push_back(box);
            const int count = static_cast<int>(shown.size());
            const int rows = std::max(1, (count + g.perRow - 1) / g.perRow);
            for (int i = 0; i < count; ++i) {
                if (g.byColumn)
                    g.grid->addWidget(shown[size_t(i)], i % rows, i / rows);
                else
                    g.grid->addWidget(shown[size_t(i)], i / g.perRow, i % g.perRow);
            }
        }
    }

    std::vector<Group> m_groups;
    std::vector<Box> m_boxes;
};

} // namespace

TEditorPage *MakeDisplayOptionsPage(TEditorContext &context, QWidget *parent)
{
    return new TDisplayOptionsPage(context, parent);
}

// ---- tsColor ------------------------------------------------------------------

namespace {

// A grid of named colours: column 0 the name, column 1 painted in the colour.
class TColourGridModel : public QAbstractTableModel {
public:
    struct Row {
        QString name;
        std::function<int()> paletteIndex; // the palette colour the row shows
        bool showIndex;                    // write the index into the colour cell
    };
    TColourGridModel(const TEditorContext &context, std::vector<Row> rows, QObject *parent)
        : QAbstractTableModel(parent), m_context(context), m_rows(std::move(rows))
    {}
    int rowCount(const QModelIndex &parent = {}) const override { return parent.isValid() ? 0 : int(m_rows.size()); }
    int columnCount(const QModelIndex &parent = {}) const override { return parent.isValid() ? 0 : 2; }
    QVariant data(const QModelIndex &index, int role) const override
    {
        const Row &r = m_rows[size_t(index.row())];
        const int k = r.paletteIndex();
        const bool inRange = k >= 0 && k <= 15;
        if (index.column() == 0)
            return role == Qt::DisplayRole ? QVariant(r.name) : QVariant();
        if (!inRange) // not painted: the index is not a palette colour
            return role == Qt::DisplayRole ? QVariant(tr2("%1: range error", "%1: ошибка диапазона").arg(k))
                   : role == Qt::ToolTipRole
                       ? QVariant(tr2("Palette index out of range 0..15", "Номер цвета вне диапазона 0..15"))
                       : QVariant();
        const QColor colour =
            QColor::fromRgb(pv::ColourToRgb(pv::TScheme(m_context.model, m_context.editedScheme).colour(k)));
        switch (role) {
        case Qt::BackgroundRole: return colour;
        case Qt::ForegroundRole: return QColor(qGray(colour.rgb()) < 128 ? Qt::white : Qt::black);
        case Qt::DisplayRole: return r.showIndex ? QVariant(QString::number(k)) : QVariant();
        default: return {};
        }
    }
    void refresh() { emit dataChanged(index(0, 0), index(rowCount() - 1, 1)); }
    const Row &row(int i) const { return m_rows[size_t(i)]; }

private:
    const TEditorContext &m_context;
    std::vector<Row> m_rows;
};

// The colour column keeps its colour when its row is current or selected: a
// filled highlight would hide the very colour being edited, so the current
// swatch gets a frame instead.
class TSwatchDelegate : public QStyledItemDelegate {
public:
    using QStyledItemDelegate::QStyledItemDelegate;

    void paint(QPainter *painter, const QStyleOptionViewItem &option, const QModelIndex &index) const override
    {
        if (index.column() != 1)
            return QStyledItemDelegate::paint(painter, option, index);
        const auto *view = qobject_cast<const QAbstractItemView *>(option.widget);
        const bool marked = (option.state & QStyle::State_Selected) ||
                            (view && view->currentIndex().isValid() && view->currentIndex().row() == index.row());
        QStyleOptionViewItem plain(option);
        plain.state &= ~(QStyle::State_Selected | QStyle::State_HasFocus);
        QStyledItemDelegate::paint(painter, plain, index);
        if (!marked)
            return;
        // The highlight colour outside, and inside it a line in the cell's text
        // colour, so the frame shows even on a swatch of the highlight colour.
        const QVariant inner = index.data(Qt::ForegroundRole);
        painter->save();
        painter->setBrush(Qt::NoBrush);
        painter->setPen(QPen(option.palette.color(QPalette::Active, QPalette::Highlight), 2));
        painter->drawRect(QRectF(option.rect).adjusted(1, 1, -1, -1));
        painter->setPen(QPen(inner.isValid() ? inner.value<QColor>() : option.palette.color(QPalette::Text), 1));
        painter->drawRect(QRectF(option.rect).adjusted(2.5, 2.5, -2.5, -2.5));
        painter->restore();
    }
};

// `changed` is told the row the grid's current row moved to, whatever moved
// it: the mouse, the keyboard or the program. A grid starts on its first row,
// so the controls it drives always have a row to show and edit; the page's
// redraw loads them.
QTableView *colourGrid(const char *name, const QString &accessibleName, TColourGridModel *model, QWidget *parent,
                       std::function<void(int)> changed)
{
    auto *view = new QTableView(parent);
    view->setObjectName(QLatin1String(name));
    view->setAccessibleName(accessibleName);
    view->setModel(model);
    view->setItemDelegate(new TSwatchDelegate(view));
    view->horizontalHeader()->hide();
    view->verticalHeader()->hide();
    view->setSelectionBehavior(QAbstractItemView::SelectRows);
    view->setSelectionMode(QAbstractItemView::SingleSelection);
    view->setEditTriggers(QAbstractItemView::NoEditTriggers);
    view->verticalHeader()->setDefaultSectionSize(view->fontMetrics().height() + 4);
    view->horizontalHeader()->setSectionResizeMode(0, QHeaderView::ResizeToContents);
    view->horizontalHeader()->setStretchLastSection(true);
    if (model->rowCount() > 0)
        view->setCurrentIndex(model->index(0, 0));
    QObject::connect(view->selectionModel(), &QItemSelectionModel::currentChanged, view,
                     [view, changed = std::move(changed)](const QModelIndex &now) {
                         // The frame follows the current row, which need not be selected.
                         view->viewport()->update();
                         if (now.isValid())
                             changed(now.row());
                     });
    return view;
}

QGroupBox *radioGroup(const char *name, const QString &title, const QStringList &items, QButtonGroup *&buttons,
                      QWidget *parent)
{
    auto *group = new QGroupBox(title, parent);
    group->setObjectName(QLatin1String(name));
    auto *row = new QHBoxLayout(group);
    row->setContentsMargins(6, 2, 6, 2);
    buttons = new QButtonGroup(group);
    for (int i = 0; i < items.size(); ++i) {
        auto *b = new QRadioButton(items[i], group);
        b->setObjectName(QLatin1String(name) + QString::number(i));
        buttons->addButton(b, i);
        row->addWidget(b);
    }
    return group;
}

class TColourSchemesPage : public TEditorPage {
public:
    TColourSchemesPage(TEditorContext &context, QWidget *parent) : TEditorPage(context, parent)
    {
        const QStringList dayNight{tr2("Day", "День"), tr2("Night", "Ночь")};
        auto *columns = new QHBoxLayout(this);
        auto *left = new QVBoxLayout;
        columns->addLayout(left);
        left->addWidget(
            radioGroup("rgCurrColorSchemeNum", tr2("Color scheme", "Цветовая схема"), dayNight, m_edited, this));
        connect(m_edited, &QButtonGroup::idClicked, this, [this](int id) {
            m_context.editedScheme = id;
            redraw();
        });
        left->addWidget(radioGroup("rgActiveColorScheme",
                                   tr2("Color scheme in manual mode", "Цветовая схема в руч. режиме"), dayNight,
                                   m_active, this));
        connect(m_active, &QButtonGroup::idClicked, this, [this](int id) {
            m_context.binder.storeItem(QStringLiteral("rgActiveColorScheme"), id);
            redraw();
        });

        std::vector<TColourGridModel::Row> palette;
        for (int k = 0; k < 16; ++k)
            palette.push_back({tr2("Color #", "Цвет #") + QString::number(k), [k] { return k; }, false});
        m_palette = new TColourGridModel(m_context, palette, this);
        m_paletteView =
            colourGrid("sgPalette", tr2("Palette", "Палитра"), m_palette, this, [this](int row) { loadColour(row); });
        // All sixteen rows at once, no scrolling.
        m_paletteView->setFixedHeight(16 * m_paletteView->verticalHeader()->defaultSectionSize() +
                                      2 * m_paletteView->frameWidth());
        left->addWidget(m_paletteView);
        left->addStretch(1);
        m_colourName = new QLabel(this);
        m_colourName->setObjectName(QStringLiteral("lColorTab"));
        m_colourName->setMinimumWidth(m_colourName->fontMetrics().horizontalAdvance(tr2("Color #15", "Цвет #15")));
        auto *rgb = new QHBoxLayout;
        rgb->addWidget(m_colourName);
        for (const char *n : {"seR", "seG", "seB"}) {
            auto *spin = new QSpinBox(this);
            spin->setObjectName(QLatin1String(n));
            spin->setRange(0, 31);
            auto *label = new QLabel(QString(QLatin1Char(n[2])), this);
            label->setBuddy(spin);
            rgb->addWidget(label);
            rgb->addWidget(spin);
            m_rgb.push_back(spin);
            connect(spin, &QSpinBox::valueChanged, this, [this] { storeColour(); });
        }
        left->addLayout(rgb);
        auto *init = new QPushButton(tr2("Initialize all", "Все в исх.состояние"), this);
        init->setObjectName(QStringLiteral("bPaletteInit"));
        connect(init, &QPushButton::clicked, this, [this] { initializeAll(); });
        left->addWidget(init);

        m_tabs = new QTabWidget(this);
        m_tabs->setObjectName(QStringLiteral("pcColorDisp"));
        columns->addWidget(m_tabs, 1);
        using S = pv::Screen;
        addElements("tsColorDig", tr2("Digital displays", "Цифровые дисплеи"), "sgDigit", "seDigit",
                    {{32, "Color 1", "Цвет 1"},
                     {33, "Background 1", "Фон 1"},
                     {34, "Color 2", "Цвет 2"},
                     {35, "Background 2", "Фон 2"},
                     {36, "Frame", "Рамка"},
                     {55, "Bott.panel", "Нижн.панель"}},
                    {{S::Single, "x1"}, {S::X4, "x4, x9"}, {S::X6, "x6"}});
        addElements("tsColorMenu", tr2("Menu", "Меню"), "sgMenu", "seMenu",
                    {{37, "Active item color", "Цвет активного пункта"},
                     {38, "Active item background", "Фон активного пункта"},
                     {39, "Hot item num.color", "Цвет номера горячего пункта"}},
                    {{S::Menu, ""}});
        addElements("tsColorGraph", tr2("Graphs", "Графики"), "sgGraph", "seGraph",
                    {{40, "Axes / timestamps", "Оси / Временные метки"},
                     {41, "Graphic backround", "Фон графиков"},
                     {42, "Graphic 1 color", "Цвет графика 1"},
                     {43, "Graphic 2 color", "Цвет графика 2"},
                     {44, "Titles backround", "Фон подписей"}},
                    {{S::Graph, ""}});
        addElements("tsColorArrow", tr2("Dial display", "Стрелочный дисплей"), "sgArrow", "seArrow",
                    {{45, "Scales backround", "Фон под шкалами"},
                     {46, "Titles color", "Подписи цвет"},
                     {47, "Left dial", "Левый циферблат"},
                     {48, "Right dial", "Правый циферблат"},
                     {49, "Left scale", "Левая шкала"},
                     {50, "Right scale", "Правая шкала"},
                     {51, "Left arrow", "Левая стрелка"},
                     {52, "Right arrow", "Правая стрелка"},
                     {53, "Titles backround", "Подписи фон"},
                     {54, "Scale on high exp.", "Шкала при большом расходе"}},
                    {{S::Dials, ""}});
        connect(m_tabs, &QTabWidget::currentChanged, this, [this] { redraw(); });
    }

    void load() override { redraw(); }
    void entered() override { redraw(); }
    void protocolChanged() override { redraw(); }

    // Redraws the palette, the element grid and previews of the sub-page in
    // front, and re-selects the radio groups from the editor and the model.
    void redraw()
    {
        m_guard = true;
        m_edited->button(m_context.editedScheme)->setChecked(true);
        const int active = static_cast<int>(m_context.model.getSigned(fld::ManualColourScheme));
        if (QAbstractButton *b = m_active->button(active))
            b->setChecked(true);
        // The models only report changed data: the grids keep their current rows.
        m_palette->refresh();
        if (const QModelIndex current = m_paletteView->currentIndex(); current.isValid())
            loadColour(current.row());
        Elements &e = m_elements[size_t(std::max(0, m_tabs->currentIndex()))];
        e.model->refresh();
        if (const QModelIndex current = e.view->currentIndex(); current.isValid())
            loadElement(e, current.row());
        for (const auto &[box, screen] : e.previews) {
            pv::TPreviewCanvas canvas;
            pv::DrawEditorPreview(canvas, m_context.model, m_context.catalog.capabilities(), screen, 0,
                                  m_context.editedScheme, std::nullopt, QRandomGenerator::global()->generate());
            box->setImage(canvas.image());
        }
        m_guard = false;
    }

    // "Initialize all": both schemes back to the defaults after a Yes.
    void initializeAll()
    {
        const auto answer =
            QMessageBox::question(this, tr2("Confirmation", "Подтверждение"),
                                  tr2("Initialize all the color scheme settings to their original state? ",
                                      "Привести все настройки цветовых схем в исходное состояние?"),
                                  QMessageBox::Yes | QMessageBox::No, QMessageBox::No);
        if (answer != QMessageBox::Yes)
            return;
        TMK &model = m_context.model;
        std::copy(model.DefaultSchemes[0].begin(), model.DefaultSchemes[0].end(), model.at(fld::ColourScheme0));
        std::copy(model.DefaultSchemes[1].begin(), model.DefaultSchemes[1].end(), model.at(fld::ColourScheme1));
        m_context.editedScheme = 0;
        redraw();
    }

private:
    struct Element {
        int byte;
        const char *en, *ru;
    };
    struct Elements {
        TColourGridModel *model;
        QTableView *view;
        QSpinBox *index;
        QLabel *name;
        std::vector<std::pair<TPreviewBox *, pv::Screen>> previews;
    };

    uint8_t *scheme() const
    {
        return m_context.model.at(m_context.editedScheme == 1 ? fld::ColourScheme1 : fld::ColourScheme0);
    }

    void loadColour(int row)
    {
        const bool guard = m_guard;
        m_guard = true;
        m_paletteRow = row;
        m_colourName->setText(m_palette->row(row).name);
        const TColour c = UnpackColour(GetU16(scheme(), 2 * row));
        m_rgb[0]->setValue(c.r);
        m_rgb[1]->setValue(c.g);
        m_rgb[2]->setValue(c.b);
        m_guard = guard;
    }

    void loadElement(Elements &e, int row)
    {
        const bool guard = m_guard;
        m_guard = true;
        e.name->setText(e.model->row(row).name);
        e.index->setValue(e.model->row(row).paletteIndex());
        m_guard = guard;
    }

    void storeColour()
    {
        if (m_guard || m_paletteRow < 0)
            return;
        SetU16(scheme(), 2 * m_paletteRow, PackColour(m_rgb[0]->value(), m_rgb[1]->value(), m_rgb[2]->value()));
        redraw();
    }

    void addElements(const char *page, const QString &caption, const char *grid, const char *spin,
                     const std::vector<Element> &elements,
                     const std::vector<std::pair<pv::Screen, const char *>> &screens)
    {
        auto *holder = new QWidget(m_tabs);
        holder->setObjectName(QLatin1String(page));
        // The grid and its index edit beside the previews: below the grid
        // there is no height for a whole preview.
        auto *box = new QHBoxLayout(holder);
        auto *side = new QVBoxLayout;
        box->addLayout(side, 1);
        std::vector<TColourGridModel::Row> rows;
        for (const Element &el : elements)
            rows.push_back({LangText(el.en, el.ru), [this, b = el.byte] { return int(scheme()[b]); }, true});
        Elements e;
        e.model = new TColourGridModel(m_context, rows, holder);
        const size_t which = m_elements.size();
        e.view =
            colourGrid(grid, caption, e.model, holder, [this, which](int row) { loadElement(m_elements[which], row); });
        e.view->setFixedHeight(int(rows.size()) * e.view->verticalHeader()->defaultSectionSize() +
                               2 * e.view->frameWidth());
        side->addWidget(e.view);
        auto *pick = new QHBoxLayout;
        e.name = new QLabel(holder);
        e.index = new QSpinBox(holder);
        e.index->setObjectName(QLatin1String(spin));
        e.index->setRange(0, 15);
        e.name->setBuddy(e.index); // the element's name names its index edit
        pick->addWidget(e.name, 1);
        pick->addWidget(e.index);
        side->addLayout(pick);
        side->addStretch(1);
        std::vector<int> bytes;
        for (const Element &el : elements)
            bytes.push_back(el.byte);
        connect(e.index, &QSpinBox::valueChanged, this, [this, which, bytes](int v) {
            Elements &x = m_elements[which];
            const QModelIndex current = x.view->currentIndex();
            if (m_guard || !current.isValid())
                return;
            scheme()[bytes[size_t(current.row())]] = static_cast<uint8_t>(v);
            redraw();
        });
        // Several previews (the digital displays) are tabs of their own: side
        // by side they would not fit beside the grid.
        QTabWidget *previewTabs = nullptr;
        if (screens.size() > 1) {
            previewTabs = new QTabWidget(holder);
            previewTabs->setObjectName(QStringLiteral("pcColorDig"));
            box->addWidget(previewTabs);
        }
        for (const auto &[screen, label] : screens) {
            auto *p = new TPreviewBox(0, {pv::kScreenWidth, pv::kScreenHeight}, 1, holder);
            p->setSizePolicy(QSizePolicy::Fixed, QSizePolicy::Fixed);
            if (previewTabs) {
                auto *tab = new QWidget(previewTabs);
                auto *frame = new QVBoxLayout(tab);
                frame->addWidget(p, 0, Qt::AlignCenter);
                previewTabs->addTab(tab, QLatin1String(label));
            } else {
                box->addWidget(p, 0, Qt::AlignTop);
            }
            e.previews.emplace_back(p, screen);
        }
        m_elements.push_back(e);
        m_tabs->addTab(holder, caption);
    }

    QButtonGroup *m_edited = nullptr;
    QButtonGroup *m_active = nullptr;
    TColourGridModel *m_palette = nullptr;
    QTableView *m_paletteView = nullptr;
    QLabel *m_colourName = nullptr;
    std::vector<QSpinBox *> m_rgb;
    QTabWidget *m_tabs = nullptr;
    std::vector<Elements> m_elements;
    int m_paletteRow = -1;
    bool m_guard = false; // while loading: the edits do not store back
};

} // namespace

TEditorPage *MakeColourSchemesPage(TEditorContext &context, QWidget *parent)
{
    return new TColourSchemesPage(context, parent);
}
