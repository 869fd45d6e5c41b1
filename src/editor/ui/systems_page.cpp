#include "systems_page.h"

#include "field_schema.h"
#include "language.h"
#include "stringgrid.h"

#include <QButtonGroup>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QRadioButton>
#include <QSignalBlocker>
#include <QVBoxLayout>

namespace {

const ed::Text kHint{
    "Double-click in the left table changes the selection\r\nDouble-click in the right table "
    "cancels the selection",
    "Двойной щелчок в левой \r\nтаблице меняет выбор\r\n\r\nДвойной щелчок в правой \r\nтаблице "
    "отменяет выбор"};
const ed::Text kName{"Name", "Название"};
constexpr int kVisibleRows = 22;

QButtonGroup *radioGroup(QWidget *parent, const char *name, const ed::Text &caption, const ed::Text (&items)[2],
                         QVBoxLayout *into)
{
    auto *box = new QGroupBox(caption.get(), parent);
    box->setObjectName(QLatin1String(name));
    auto *layout = new QVBoxLayout(box);
    auto *group = new QButtonGroup(box);
    for (int i = 0; i < 2; ++i) {
        auto *b = new QRadioButton(items[i].get(), box);
        b->setObjectName(QLatin1String(name) + QString::number(i));
        group->addButton(b, i);
        layout->addWidget(b);
    }
    into->addWidget(box);
    return group;
}

QVBoxLayout *titled(QWidget *parent, const ed::Text &title, TStringGrid *grid)
{
    auto *column = new QVBoxLayout;
    auto *label = new QLabel(title.get(), parent);
    label->setBuddy(grid);
    grid->setAccessibleName(label->text()); // a table takes no name from its buddy
    column->addWidget(label);
    column->addWidget(grid, 1);
    return column;
}

} // namespace

TSystemsPage::TSystemsPage(TEditorContext &context, QWidget *parent) : TEditorPage(context, parent)
{
    m_all = new TStringGrid(2, 1, 0, 1, this);
    m_all->setObjectName(QStringLiteral("sgAllBlocks"));
    m_used = new TStringGrid(1, 1, 0, 1, this);
    m_used->setObjectName(QStringLiteral("sgUsedBlocks"));
    // The longest names, so that the columns do not grow while the user works.
    QList<QStringList> names;
    for (const ed::TBlockInfo &info : ed::KnownSystems())
        names << QStringList{info.Name, QStringLiteral("V")};
    m_all->setColumnWidths({150, 36});
    m_all->widenColumnsFor(names);
    m_used->setColumnWidths({150});
    m_used->widenColumnsFor(names);
    for (TStringGrid *g : {m_all, m_used}) {
        g->setVisibleRows(kVisibleRows);
        g->setVerticalScrollBarPolicy(Qt::ScrollBarAlwaysOn);
    }
    m_all->setRowTexts(0, {kName.get(), LangText("Sel.", "Выбр.")});
    m_used->setRowTexts(0, {kName.get()});

    auto *choices = new QVBoxLayout;
    const ed::Text show{"Show", "Показывать"};
    const ed::Text showItems[2] = {{"All", "Все"}, {"Protocol", "Протокол"}};
    const ed::Text listItems[2] = {{"List", "Списком"}, {"By types", "По типам"}};
    m_show = radioGroup(this, "rgBlocksShow", show, showItems, choices);
    m_showList = radioGroup(this, "rgBlocksShowList", show, listItems, choices);
    auto *hint = new QLabel(kHint.get().remove(QLatin1Char('\r')), this);
    hint->setObjectName(QStringLiteral("StaticText1"));
    hint->setWordWrap(true);
    choices->addWidget(hint);
    choices->addStretch();

    auto *layout = new QHBoxLayout(this);
    layout->addLayout(titled(this, {"All available", "Все доступные"}, m_all));
    layout->addLayout(titled(this, {"Selected", "Выбранные"}, m_used));
    layout->addLayout(choices);
    layout->addStretch(1);

    connect(m_show, &QButtonGroup::idClicked, this, &TSystemsPage::showClicked);
    connect(m_showList, &QButtonGroup::idClicked, this,
            [this](int choice) { ed::SetSystemsShowList(m_context.model, choice); });
    connect(m_all, &QAbstractItemView::doubleClicked, this,
            [this](const QModelIndex &index) { allDoubleClicked(index.row()); });
    connect(m_used, &QAbstractItemView::doubleClicked, this,
            [this](const QModelIndex &index) { usedDoubleClicked(index.row()); });
    rebuild();
}

void TSystemsPage::entered()
{
    rebuild();
    m_context.systemsPageActive = true;
}

void TSystemsPage::left() { m_context.systemsPageActive = false; }

void TSystemsPage::rebuild()
{
    m_catalog = ed::SystemCatalog(m_context.catalog);
    const QSignalBlocker b1(m_show);
    const QSignalBlocker b2(m_showList);
    m_show->button(ed::SystemsShow(m_context.model))->setChecked(true);
    m_showList->button(ed::SystemsShowList(m_context.model))->setChecked(true);
    fill();
}

void TSystemsPage::fill()
{
    m_selected.clear();
    m_all->setRowTotal(1 + static_cast<int>(m_catalog.size()));
    for (size_t i = 0; i < m_catalog.size(); ++i) {
        const bool on = ed::SystemSelected(m_context.model, m_catalog[i].Number);
        m_all->setRowTexts(static_cast<int>(i) + 1, {m_catalog[i].Name, on ? QStringLiteral("V") : QString()});
        if (on)
            m_selected.push_back(m_catalog[i]);
    }
    m_used->setRowTotal(1 + static_cast<int>(m_selected.size()));
    for (size_t i = 0; i < m_selected.size(); ++i)
        m_used->setRowTexts(static_cast<int>(i) + 1, {m_selected[i].Name});
}

void TSystemsPage::showClicked(int choice)
{
    // Only the user's choice on the active page changes the selection.
    if (!m_context.systemsPageActive) {
        const QSignalBlocker block(m_show);
        m_show->button(ed::SystemsShow(m_context.model))->setChecked(true);
        return;
    }
    ed::ChooseSystemsShow(m_context.model, m_context.catalog, choice);
    fill();
}

void TSystemsPage::allDoubleClicked(int row)
{
    if (row < 1 || row > static_cast<int>(m_catalog.size()))
        return;
    const int number = m_catalog[static_cast<size_t>(row - 1)].Number;
    ed::SetSystemSelected(m_context.model, number, !ed::SystemSelected(m_context.model, number));
    fill();
}

void TSystemsPage::usedDoubleClicked(int row)
{
    if (row < 1 || row > static_cast<int>(m_selected.size()))
        return;
    ed::SetSystemSelected(m_context.model, m_selected[static_cast<size_t>(row - 1)].Number, false);
    fill();
}

TEditorPage *MakeSystemsPage(TEditorContext &context, QWidget *parent) { return new TSystemsPage(context, parent); }
