#include "hot_menu_page.h"

#include "field_schema.h"
#include "hot_menus.h"
#include "language.h"
#include "stringgrid.h"

#include <QContextMenuEvent>
#include <QHBoxLayout>
#include <QLabel>
#include <QMenu>
#include <QMouseEvent>
#include <QVBoxLayout>

#include <algorithm>

namespace {

const ed::Text kHeadings[3] = {{"Parameters", "Параметры"}, {"Average", "Средние"}, {"Parktronic", "Парктроник"}};
const char *const kGridNames[3] = {"sghmParams", "sghmAver", "sghmPark"};

const ed::Text kInstruction{
    "To add or remove a menu item or clear the entire table, RIGHT-click on the corresponding row of the "
    "table.\n\rTo swap the menu items, click the LEFT mouse button on the left column of the desired item, pull and "
    "release in the desired row of the table.",
    "Для того, чтобы добавить или удалить пункт меню или очистить всю таблицу, щелкните ПРАВОЙ кнопкой мыши в "
    "соответствующей строке таблицы.\r\n\r\nДля того, чтобы поменять местами пункты меню, нажмите ЛЕВУЮ кнопку "
    "мыши на левой колонке нужного пункта,  потяните и отпустите в нужной строке таблицы."};

// Every name the menus of a line can offer, so that its column is wide enough
// from the start.
void collectNames(const std::vector<ed::HotMenuChoice> &choices, QList<QStringList> &rows)
{
    for (const ed::HotMenuChoice &c : choices) {
        if (c.isSubMenu())
            collectNames(c.children, rows);
        else
            rows << QStringList{QString(), c.caption};
    }
}

void addChoices(QMenu *menu, const std::vector<ed::HotMenuChoice> &choices, const std::function<void(uint16_t)> &pick)
{
    for (const ed::HotMenuChoice &c : choices) {
        if (c.isSubMenu()) {
            addChoices(menu->addMenu(c.caption), c.children, pick);
        } else {
            QAction *a = menu->addAction(c.caption);
            a->setData(c.code);
            QObject::connect(a, &QAction::triggered, menu, [pick, code = c.code] { pick(code); });
        }
    }
}

} // namespace

THotMenuPage::THotMenuPage(TEditorContext &context, QWidget *parent) : TEditorPage(context, parent)
{
    auto *grids = new QHBoxLayout;
    for (int line = 0; line < 3; ++line) {
        auto *column = new QVBoxLayout;
        auto *heading = new QLabel(kHeadings[line].get(), this);
        auto *grid = new TStringGrid(2, ed::kHotMenuEntries, 1, 0, this);
        grid->setObjectName(QLatin1String(kGridNames[line]));
        grid->setColumnWidths({24, 150});
        QList<QStringList> names;
        collectNames(ed::HotMenuChoices(context.catalog, line), names);
        grid->widenColumnsFor(names);
        grid->setSizePolicy(QSizePolicy::Fixed, QSizePolicy::Fixed);
        heading->setBuddy(grid);
        grid->setAccessibleName(heading->text()); // a table takes no name from its buddy
        column->addWidget(heading);
        column->addWidget(grid);
        column->addStretch();
        grids->addLayout(column);
        m_grids[static_cast<size_t>(line)] = grid;
        m_headings[static_cast<size_t>(line)] = heading;
    }
    grids->addStretch();
    // Watched once all three exist: the filter looks at each of them.
    for (TStringGrid *grid : m_grids) {
        grid->installEventFilter(this); // the keyboard's menu key
        grid->viewport()->installEventFilter(this);
    }

    auto *instruction = new QLabel(kInstruction.get().remove(QLatin1Char('\r')), this);
    instruction->setObjectName(QStringLiteral("Label59"));
    instruction->setWordWrap(true);

    auto *layout = new QVBoxLayout(this);
    layout->addLayout(grids);
    layout->addWidget(instruction);
    layout->addStretch();

    m_popup = new QMenu(this);
    m_popup->setObjectName(QStringLiteral("pmHotMenu"));
    m_popup->addAction(LangText("Insert item", "Вставить пункт"), this, &THotMenuPage::showItemMenu)
        ->setObjectName(QStringLiteral("miInsertHM"));
    m_popup
        ->addAction(LangText("Delete item", "Удалить пункт"), this,
                    [this] { change([this] { ed::DeleteHotMenuItem(m_context.model, m_line, m_row); }); })
        ->setObjectName(QStringLiteral("miDelHM"));
    m_popup
        ->addAction(LangText("Clear all", "Очистить список"), this,
                    [this] { change([this] { ed::ClearHotMenu(m_context.model, m_line); }); })
        ->setObjectName(QStringLiteral("miClearHM"));

    reload();
}

void THotMenuPage::reload()
{
    ed::CompactHotMenus(m_context.model);
    for (int line = 0; line < 3; ++line) {
        const bool shown = ed::HotMenuLineShown(m_context.catalog, line);
        grid(line)->setVisible(shown);
        heading(line)->setVisible(shown);
        const ed::HotMenuLine codes = ed::ReadHotMenu(m_context.model, line);
        for (int row = 0; row < ed::kHotMenuEntries; ++row)
            grid(line)->setRowTexts(row, {QString::number(row), ed::HotMenuItemName(codes[static_cast<size_t>(row)])});
    }
}

void THotMenuPage::change(const std::function<void()> &edit)
{
    edit();
    reload();
}

void THotMenuPage::openPopup(int line, int row, const QPoint &globalPos)
{
    grid(line)->setCurrentCell(row, 1);
    m_line = line;
    m_row = row;
    m_popupAt = globalPos;
    m_popup->popup(globalPos);
}

void THotMenuPage::showItemMenu()
{
    if (m_line < 0)
        return;
    delete m_itemMenu;
    m_itemMenu = new QMenu(this);
    m_itemMenu->setObjectName(QStringLiteral("pmHotMenuAdd"));
    const int line = m_line;
    const int row = m_row;
    addChoices(m_itemMenu, ed::HotMenuChoices(m_context.catalog, line), [this, line, row](uint16_t code) {
        change([this, line, row, code] { ed::InsertHotMenuItem(m_context.model, line, row, code); });
    });
    m_itemMenu->popup(m_popupAt);
}

bool THotMenuPage::eventFilter(QObject *watched, QEvent *event)
{
    const QEvent::Type type = event->type();
    for (int line = 0; line < 3; ++line) {
        TStringGrid *g = grid(line);
        if (watched == g && type == QEvent::ContextMenu &&
            static_cast<QContextMenuEvent *>(event)->reason() == QContextMenuEvent::Keyboard) {
            const int row = std::max(g->currentRow(), 0);
            openPopup(line, row, g->viewport()->mapToGlobal(g->visualRect(g->model()->index(row, 1)).center()));
            return true;
        }
    }
    int line = 0;
    while (line < 3 && watched != grid(line)->viewport())
        ++line;
    if (line == 3 ||
        (type != QEvent::MouseButtonPress && type != QEvent::MouseButtonRelease && type != QEvent::MouseMove))
        return TEditorPage::eventFilter(watched, event);
    auto *mouse = static_cast<QMouseEvent *>(event);
    TStringGrid *g = grid(line);
    const QPoint at = mouse->position().toPoint();
    const int row = g->rowAt(at.y());
    if (type == QEvent::MouseButtonPress && mouse->button() == Qt::RightButton) {
        if (row >= 0)
            openPopup(line, row, mouse->globalPosition().toPoint());
        return true;
    }
    if (type == QEvent::MouseButtonPress && mouse->button() == Qt::LeftButton && row >= 0 && g->columnAt(at.x()) == 0) {
        m_dragLine = line;
        m_dragRow = row;
        g->setCurrentCell(row, 1);
        g->viewport()->setCursor(Qt::DragMoveCursor);
        return true;
    }
    if (type == QEvent::MouseMove && m_dragLine == line) {
        if (row >= 0)
            g->setCurrentCell(row, 1);
        return true;
    }
    if (type == QEvent::MouseButtonRelease && mouse->button() == Qt::LeftButton && m_dragLine == line) {
        const int from = m_dragRow;
        m_dragLine = m_dragRow = -1;
        g->viewport()->unsetCursor();
        if (row >= 0 && row != from)
            change([this, line, from, row] { ed::MoveHotMenuItem(m_context.model, line, from, row); });
        return true;
    }
    return TEditorPage::eventFilter(watched, event);
}

TEditorPage *MakeHotMenuPage(TEditorContext &context, QWidget *parent) { return new THotMenuPage(context, parent); }
