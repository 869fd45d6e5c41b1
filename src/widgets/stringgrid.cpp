#include "stringgrid.h"

#include <QEvent>
#include <QHeaderView>
#include <QPainter>
#include <QScrollBar>
#include <QStyledItemDelegate>

#include <algorithm>

namespace {

// Text starts 2 pixels inside the cell; right-aligned text ends 2 pixels
// before the right border, and the grid line takes one more.
constexpr int kTextMargin = 2;
constexpr int kCellSlack = 2 * kTextMargin + 1;

class GridDelegate : public QStyledItemDelegate {
public:
    using QStyledItemDelegate::QStyledItemDelegate;

    void paint(QPainter *painter, const QStyleOptionViewItem &option, const QModelIndex &index) const override
    {
        const auto *model = qobject_cast<const TStringGridModel *>(index.model());
        const bool fixed = model && model->isFixed(index.row(), index.column());
        const bool selected = !fixed && (option.state & QStyle::State_Selected);
        // Header cells take no selection; they are drawn in the ordinary
        // colours on the button background.
        QPalette pal = option.palette;
        const bool active = option.widget ? option.widget->isActiveWindow() : true;
        pal.setCurrentColorGroup(active ? QPalette::Active : QPalette::Inactive);
        painter->save();
        painter->fillRect(option.rect, fixed ? pal.button() : selected ? pal.highlight() : pal.base());
        painter->setPen(fixed      ? pal.color(QPalette::ButtonText)
                        : selected ? pal.color(QPalette::HighlightedText)
                                   : pal.color(QPalette::Text));
        painter->setFont(option.font);
        const auto align = index.data(Qt::TextAlignmentRole).value<Qt::Alignment>();
        const QRect area = option.rect.adjusted(kTextMargin, kTextMargin, -kTextMargin, 0);
        painter->setClipRect(option.rect);
        painter->drawText(area,
                          (align & Qt::AlignRight ? Qt::AlignRight : Qt::AlignLeft) | Qt::AlignTop | Qt::TextSingleLine,
                          index.data(Qt::DisplayRole).toString());
        painter->restore();
    }
};

} // namespace

TStringGrid::TStringGrid(int columns, int rows, int fixedColumns, int fixedRows, QWidget *parent)
    : QTableView(parent), m_model(new TStringGridModel(columns, rows, fixedColumns, fixedRows, this))
{
    setModel(m_model);
    horizontalHeader()->hide();
    verticalHeader()->hide();
    horizontalHeader()->setMinimumSectionSize(1);
    verticalHeader()->setMinimumSectionSize(1);
    verticalHeader()->setSectionResizeMode(QHeaderView::Fixed);
    horizontalHeader()->setSectionResizeMode(QHeaderView::Fixed);
    setEditTriggers(QAbstractItemView::NoEditTriggers);
    setSelectionMode(QAbstractItemView::SingleSelection);
    setHorizontalScrollBarPolicy(Qt::ScrollBarAsNeeded);
    setVerticalScrollBarPolicy(Qt::ScrollBarAsNeeded);
    setHorizontalScrollMode(QAbstractItemView::ScrollPerPixel);
    setVerticalScrollMode(QAbstractItemView::ScrollPerPixel);
    setWordWrap(false);
    setShowGrid(true);
    setItemDelegate(new GridDelegate(this));
    applyRowHeight();
    connect(m_model, &QAbstractItemModel::dataChanged, this,
            [this](const QModelIndex &from, const QModelIndex &to, const QList<int> &roles) {
                if (roles.isEmpty() || roles.contains(Qt::DisplayRole))
                    widenColumns(from.row(), to.row(), from.column(), to.column());
            });
    // The size hint follows the cells, whoever resizes them.
    connect(horizontalHeader(), &QHeaderView::sectionResized, this, [this] { updateGeometry(); });
    connect(m_model, &QAbstractItemModel::rowsInserted, this, [this] { updateGeometry(); });
    connect(m_model, &QAbstractItemModel::rowsRemoved, this, [this] { updateGeometry(); });
}

void TStringGrid::setColumnWidths(const QList<int> &widths)
{
    for (int c = 0; c < widths.size() && c < columnCount(); ++c)
        setColumnWidth(c, widths[c]);
    widenColumns(0, rowCount() - 1, 0, columnCount() - 1);
    updateGeometry();
}

void TStringGrid::widenColumnsFor(const QList<QStringList> &rows)
{
    const QFontMetrics fm(font());
    bool changed = false;
    for (const QStringList &row : rows)
        for (int c = 0; c < row.size() && c < columnCount(); ++c) {
            const int need = fm.horizontalAdvance(row[c]) + kCellSlack;
            if (need > columnWidth(c)) {
                setColumnWidth(c, need);
                changed = true;
            }
        }
    if (changed)
        updateGeometry();
}

void TStringGrid::fitFontTo(const QList<QStringList> &rows)
{
    // Not below three quarters of the font the grid was given: a user who
    // chose a larger font gets wider columns rather than tiny texts.
    QFont f = font();
    const qreal smallest = std::max(6.5, f.pointSizeF() * 0.75);
    auto fits = [&](const QFont &candidate) {
        const QFontMetrics fm(candidate);
        for (const QStringList &row : rows)
            for (int c = 0; c < row.size() && c < columnCount(); ++c)
                if (fm.horizontalAdvance(row[c]) + kCellSlack > columnWidth(c))
                    return false;
        return true;
    };
    if (f.pointSizeF() <= 0) // a font sized in pixels stays as it is
        return widenColumnsFor(rows);
    while (!fits(f) && f.pointSizeF() > smallest)
        f.setPointSizeF(std::max(f.pointSizeF() - 0.5, smallest));
    setFont(f);
    widenColumnsFor(rows);
}

void TStringGrid::widenColumns(int firstRow, int lastRow, int firstColumn, int lastColumn)
{
    QList<QStringList> rows;
    for (int r = std::max(firstRow, 0); r <= lastRow && r < rowCount(); ++r) {
        QStringList texts(columnCount(), QString());
        for (int c = std::max(firstColumn, 0); c <= lastColumn && c < columnCount(); ++c)
            texts[c] = cell(r, c);
        rows << texts;
    }
    widenColumnsFor(rows);
}

void TStringGrid::setDefaultRowHeight(int height)
{
    m_rowHeight = height;
    applyRowHeight();
}

void TStringGrid::setVisibleRows(int rows)
{
    m_visibleRows = std::max(rows, 0);
    updateGeometry();
}

int TStringGrid::rowHeightForFont() const
{
    // The text's top sits 2 pixels below the cell's top; leave as much below.
    return std::max(m_rowHeight, fontMetrics().height() + 2 * kTextMargin);
}

void TStringGrid::applyRowHeight()
{
    const int height = rowHeightForFont();
    verticalHeader()->setDefaultSectionSize(height);
    for (int r = 0; r < rowCount(); ++r)
        setRowHeight(r, height);
    updateGeometry();
}

int TStringGrid::currentRow() const
{
    const QModelIndex at = currentIndex();
    return at.isValid() ? at.row() : -1;
}

void TStringGrid::setCurrentCell(int row, int column) { setCurrentIndex(m_model->index(row, column)); }

QSize TStringGrid::sizeHint() const
{
    int width = 2 * frameWidth() + horizontalHeader()->length();
    if (verticalScrollBarPolicy() == Qt::ScrollBarAlwaysOn)
        width += verticalScrollBar()->sizeHint().width();
    const int rows = m_visibleRows > 0 ? std::min(m_visibleRows, rowCount()) : rowCount();
    return {width, 2 * frameWidth() + rows * rowHeightForFont()};
}

QSize TStringGrid::minimumSizeHint() const
{
    // Room for the header cells and a few rows; scroll bars show the rest.
    const QSize full = sizeHint();
    const int columns = std::min(columnCount(), std::max(fixedColumns(), 1) + 1);
    int width = 2 * frameWidth() + verticalScrollBar()->sizeHint().width();
    for (int c = 0; c < columns; ++c)
        width += columnWidth(c);
    const int height = 2 * frameWidth() + horizontalScrollBar()->sizeHint().height() +
                       std::min(rowCount(), fixedRows() + 3) * rowHeightForFont();
    return {std::min(width, full.width()), std::min(height, full.height())};
}

void TStringGrid::changeEvent(QEvent *event)
{
    QTableView::changeEvent(event);
    if (event->type() == QEvent::FontChange) {
        applyRowHeight();
        widenColumns(0, rowCount() - 1, 0, columnCount() - 1);
    }
}
