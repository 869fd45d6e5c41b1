#pragma once
#include "stringgridmodel.h"

#include <QTableView>

// The view of a TStringGridModel as the dialogs show their grids: no header
// bars (the fixed rows and columns of the model are the headers, drawn on the
// button colour), grid lines, one row height, columns of given widths that
// widen when a text would not fit, single selection, no editing, scroll bars
// only when the layout gives less room than the cells need.
class TStringGrid : public QTableView {
    Q_OBJECT
public:
    TStringGrid(int columns, int rows, int fixedColumns, int fixedRows, QWidget *parent = nullptr);

    TStringGridModel *gridModel() const { return m_model; }

    // The initial widths; a column becomes wider when one of its texts needs it.
    void setColumnWidths(const QList<int> &widths);
    // Widens the columns so that every text of `rows` fits, e.g. the longest
    // texts a column can show, so that it does not grow later.
    void widenColumnsFor(const QList<QStringList> &rows);

    // Makes the font smaller, if need be and down to three quarters of its
    // size, until every text of `rows` fits the column widths as they are;
    // columns widen for what does not fit even then.
    void fitFontTo(const QList<QStringList> &rows);

    // The least row height; a larger font gets taller rows.
    void setDefaultRowHeight(int height);
    int defaultRowHeight() const { return m_rowHeight; }

    // Rows that the size hint makes room for; 0 means all of them.
    void setVisibleRows(int rows);

    int rowCount() const { return m_model->rowCount(); }
    int columnCount() const { return m_model->columnCount(); }
    void setRowTotal(int rows) { m_model->setRowTotal(rows); }
    QString cell(int row, int column) const { return m_model->cell(row, column); }
    void setCell(int row, int column, const QString &text) { m_model->setCell(row, column, text); }
    void setRowTexts(int row, const QStringList &texts) { m_model->setRowTexts(row, texts); }
    QStringList rowTexts(int row) const { return m_model->rowTexts(row); }
    QList<QStringList> allTexts() const { return m_model->allTexts(); }
    void clearTexts() { m_model->clearTexts(); }

    int fixedRows() const { return m_model->fixedRows(); }
    int fixedColumns() const { return m_model->fixedColumns(); }
    bool isFixed(int row, int column) const { return m_model->isFixed(row, column); }
    // Data cells: right edge of the text 2 pixels from the cell's right border.
    void setRightAlignedData(bool on) { m_model->setRightAlignedData(on); }
    bool rightAlignedData() const { return m_model->rightAlignedData(); }

    int currentRow() const;
    void setCurrentCell(int row, int column);

    // Every column and the visible rows, with the frame and the vertical
    // scroll bar when it is always shown.
    QSize sizeHint() const override;
    QSize minimumSizeHint() const override;

protected:
    void changeEvent(QEvent *event) override;

private:
    int rowHeightForFont() const;
    void applyRowHeight();
    void widenColumns(int firstRow, int lastRow, int firstColumn, int lastColumn);

    TStringGridModel *m_model;
    int m_rowHeight = 18;
    int m_visibleRows = 0;
};
