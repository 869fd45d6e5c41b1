#include "stringgrid.h"

#include <QHeaderView>
#include <QMouseEvent>
#include <QPainter>
#include <QScrollBar>
#include <QStyledItemDelegate>

namespace {

class GridDelegate : public QStyledItemDelegate {
public:
    explicit GridDelegate(TStringGrid *grid) : QStyledItemDelegate(grid), m_grid(grid) {}

    void paint(QPainter *painter, const QStyleOptionViewItem &option, const QModelIndex &index) const override
    {
        const bool fixed = m_grid->isFixed(index.row(), index.column());
        const bool selected = !fixed && (option.state & QStyle::State_Selected);
        // Header cells take no selection and so count as disabled; they are
        // still drawn in the ordinary colours.
        QPalette pal = m_grid->palette();
        pal.setCurrentColorGroup(m_grid->isActiveWindow() ? QPalette::Active : QPalette::Inactive);
        painter->save();
        painter->fillRect(option.rect, fixed ? pal.button() : selected ? pal.highlight() : pal.base());
        painter->setPen(fixed ? pal.color(QPalette::ButtonText)
                              : selected ? pal.color(QPalette::HighlightedText) : pal.color(QPalette::Text));
        painter->setFont(option.font);
        const QString text = index.data(Qt::DisplayRole).toString();
        // Text starts 2 pixels inside the cell; right-aligned data ends 2
        // pixels before the right border.
        const QRect area = option.rect.adjusted(2, 2, -2, 0);
        const bool right = !fixed && m_grid->rightAlignedData();
        painter->setClipRect(option.rect);
        painter->drawText(area, (right ? Qt::AlignRight : Qt::AlignLeft) | Qt::AlignTop | Qt::TextSingleLine, text);
        painter->restore();
    }

private:
    TStringGrid *m_grid;
};

} // namespace

TStringGrid::TStringGrid(int columns, int rows, int fixedColumns, int fixedRows, QWidget *parent)
    : QTableWidget(rows, columns, parent), m_fixedColumns(fixedColumns), m_fixedRows(fixedRows)
{
    horizontalHeader()->hide();
    verticalHeader()->hide();
    horizontalHeader()->setMinimumSectionSize(1);
    verticalHeader()->setMinimumSectionSize(1);
    verticalHeader()->setSectionResizeMode(QHeaderView::Fixed);
    horizontalHeader()->setSectionResizeMode(QHeaderView::Fixed);
    setEditTriggers(QAbstractItemView::NoEditTriggers);
    setSelectionMode(QAbstractItemView::SingleSelection);
    setHorizontalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
    setVerticalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
    setHorizontalScrollMode(QAbstractItemView::ScrollPerPixel);
    setWordWrap(false);
    setShowGrid(true);
    setItemDelegate(new GridDelegate(this));
    setDefaultRowHeight(m_rowHeight);
}

void TStringGrid::setColumnWidths(const QList<int> &widths)
{
    for (int c = 0; c < widths.size() && c < columnCount(); ++c)
        setColumnWidth(c, widths[c]);
}

void TStringGrid::setDefaultRowHeight(int height)
{
    m_rowHeight = height;
    verticalHeader()->setDefaultSectionSize(height);
    for (int r = 0; r < rowCount(); ++r)
        setRowHeight(r, height);
}

void TStringGrid::setRowTotal(int rows)
{
    setRowCount(rows);
    for (int r = 0; r < rows; ++r)
        setRowHeight(r, m_rowHeight);
}

QString TStringGrid::cell(int row, int column) const
{
    const QTableWidgetItem *it = item(row, column);
    return it ? it->text() : QString();
}

void TStringGrid::setCell(int row, int column, const QString &text)
{
    if (row >= rowCount())
        setRowTotal(row + 1);
    QTableWidgetItem *it = item(row, column);
    if (!it) {
        it = new QTableWidgetItem;
        if (isFixed(row, column))
            it->setFlags(Qt::NoItemFlags); // header cells take no selection
        else
            it->setFlags(Qt::ItemIsEnabled | Qt::ItemIsSelectable);
        setItem(row, column, it);
    }
    it->setText(text);
}

void TStringGrid::setRowTexts(int row, const QStringList &texts)
{
    for (int c = 0; c < columnCount(); ++c)
        setCell(row, c, c < texts.size() ? texts[c] : QString());
}

QStringList TStringGrid::rowTexts(int row) const
{
    QStringList texts;
    for (int c = 0; c < columnCount(); ++c)
        texts << cell(row, c);
    return texts;
}

QList<QStringList> TStringGrid::allTexts() const
{
    QList<QStringList> rows;
    for (int r = 0; r < rowCount(); ++r)
        rows << rowTexts(r);
    return rows;
}

void TStringGrid::clearTexts()
{
    for (int r = 0; r < rowCount(); ++r)
        for (int c = 0; c < columnCount(); ++c)
            if (QTableWidgetItem *it = item(r, c))
                it->setText(QString());
}

void TStringGrid::fitToCells(int visibleRows)
{
    int w = 2 * frameWidth();
    for (int c = 0; c < columnCount(); ++c)
        w += columnWidth(c);
    if (verticalScrollBarPolicy() == Qt::ScrollBarAlwaysOn)
        w += verticalScrollBar()->sizeHint().width();
    const int rows = visibleRows > 0 ? visibleRows : rowCount();
    setFixedSize(w, 2 * frameWidth() + rows * m_rowHeight);
}

void TStringGrid::fitFontTo(const QList<QStringList> &rows)
{
    QFont f = font();
    auto fits = [&](const QFont &candidate) {
        const QFontMetrics fm(candidate);
        for (const QStringList &row : rows)
            for (int c = 0; c < row.size() && c < columnCount(); ++c)
                if (fm.horizontalAdvance(row[c]) + 4 > columnWidth(c))
                    return false;
        return true;
    };
    while (!fits(f) && f.pointSizeF() > 6.5)
        f.setPointSizeF(f.pointSizeF() - 0.5);
    setFont(f);
}

void TStringGrid::mouseDoubleClickEvent(QMouseEvent *event)
{
    QTableWidget::mouseDoubleClickEvent(event);
    Q_EMIT doubleClicked();
}
