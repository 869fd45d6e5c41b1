#pragma once
#include <QStringList>
#include <QTableWidget>

// A grid of texts with optional fixed (header) rows and columns, addressed by
// row and column like the device journals are laid out. Fixed cells are drawn
// on the button colour; data cells can be drawn right-aligned.
class TStringGrid : public QTableWidget {
    Q_OBJECT
public:
    TStringGrid(int columns, int rows, int fixedColumns, int fixedRows, QWidget *parent = nullptr);

    void setColumnWidths(const QList<int> &widths);
    void setDefaultRowHeight(int height);
    int defaultRowHeight() const { return m_rowHeight; }
    void setRowTotal(int rows); // keeps the default row height for new rows

    QString cell(int row, int column) const;
    void setCell(int row, int column, const QString &text);
    void setRowTexts(int row, const QStringList &texts);
    QStringList rowTexts(int row) const;
    QList<QStringList> allTexts() const;
    void clearTexts();

    int fixedRows() const { return m_fixedRows; }
    int fixedColumns() const { return m_fixedColumns; }
    bool isFixed(int row, int column) const { return row < m_fixedRows || column < m_fixedColumns; }

    // Data cells: right edge of the text 2 pixels from the cell's right border.
    void setRightAlignedData(bool on) { m_rightAligned = on; viewport()->update(); }
    bool rightAlignedData() const { return m_rightAligned; }

    // Sets the widget's size to hold every column and `visibleRows` rows (all
    // rows when 0), plus the frame and a vertical scroll bar if it is shown.
    void fitToCells(int visibleRows = 0);

    // Makes the font smaller, if need be, until every text of `rows` fits its
    // column (the column widths are fixed).
    void fitFontTo(const QList<QStringList> &rows);

Q_SIGNALS:
    void doubleClicked();

protected:
    void mouseDoubleClickEvent(QMouseEvent *event) override;

private:
    int m_fixedColumns = 0;
    int m_fixedRows = 0;
    int m_rowHeight = 18;
    bool m_rightAligned = false;
};
