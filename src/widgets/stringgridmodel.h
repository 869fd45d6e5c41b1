#pragma once
#include <QAbstractTableModel>
#include <QList>
#include <QStringList>

// A table of texts addressed by row and column, with optional fixed (header)
// rows and columns at the top and left. Fixed cells take no selection; data
// cells can be right-aligned. Setting a cell below the last row adds rows.
class TStringGridModel : public QAbstractTableModel {
    Q_OBJECT
public:
    TStringGridModel(int columns, int rows, int fixedColumns, int fixedRows, QObject *parent = nullptr);

    int rowCount(const QModelIndex &parent = {}) const override;
    int columnCount(const QModelIndex &parent = {}) const override;
    QVariant data(const QModelIndex &index, int role = Qt::DisplayRole) const override;
    Qt::ItemFlags flags(const QModelIndex &index) const override;

    void setRowTotal(int rows); // keeps the texts of the rows that stay

    QString cell(int row, int column) const;
    void setCell(int row, int column, const QString &text);
    void setRowTexts(int row, const QStringList &texts);
    QStringList rowTexts(int row) const;
    QList<QStringList> allTexts() const;
    void clearTexts();

    int fixedRows() const { return m_fixedRows; }
    int fixedColumns() const { return m_fixedColumns; }
    bool isFixed(int row, int column) const { return row < m_fixedRows || column < m_fixedColumns; }

    void setRightAlignedData(bool on);
    // Data cells the user may edit (off by default); an edit sets the cell's text.
    void setEditable(bool on) { m_editable = on; }
    bool setData(const QModelIndex &index, const QVariant &value, int role = Qt::EditRole) override;
    bool rightAlignedData() const { return m_rightAligned; }

private:
    int m_columns;
    int m_fixedColumns;
    int m_fixedRows;
    bool m_rightAligned = false;
    bool m_editable = false;
    QList<QStringList> m_rows; // every row holds m_columns texts
};
