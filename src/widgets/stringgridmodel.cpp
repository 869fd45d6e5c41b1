#include "stringgridmodel.h"

#include <algorithm>

TStringGridModel::TStringGridModel(int columns, int rows, int fixedColumns, int fixedRows, QObject *parent)
    : QAbstractTableModel(parent), m_columns(std::max(columns, 0)), m_fixedColumns(fixedColumns), m_fixedRows(fixedRows)
{
    m_rows.fill(QStringList(m_columns, QString()), std::max(rows, 0));
}

int TStringGridModel::rowCount(const QModelIndex &parent) const
{
    return parent.isValid() ? 0 : static_cast<int>(m_rows.size());
}

int TStringGridModel::columnCount(const QModelIndex &parent) const { return parent.isValid() ? 0 : m_columns; }

QVariant TStringGridModel::data(const QModelIndex &index, int role) const
{
    if (!checkIndex(index, CheckIndexOption::IndexIsValid))
        return {};
    switch (role) {
    case Qt::DisplayRole: return m_rows[index.row()][index.column()];
    case Qt::TextAlignmentRole: {
        const bool right = m_rightAligned && !isFixed(index.row(), index.column());
        return QVariant::fromValue(Qt::Alignment((right ? Qt::AlignRight : Qt::AlignLeft) | Qt::AlignTop));
    }
    default: return {};
    }
}

Qt::ItemFlags TStringGridModel::flags(const QModelIndex &index) const
{
    if (!index.isValid())
        return Qt::NoItemFlags;
    if (isFixed(index.row(), index.column()))
        return Qt::ItemIsEnabled;
    return Qt::ItemIsEnabled | Qt::ItemIsSelectable | (m_editable ? Qt::ItemIsEditable : Qt::NoItemFlags);
}

bool TStringGridModel::setData(const QModelIndex &index, const QVariant &value, int role)
{
    if (!m_editable || role != Qt::EditRole || !index.isValid() || isFixed(index.row(), index.column()))
        return false;
    setCell(index.row(), index.column(), value.toString());
    return true;
}

void TStringGridModel::setRowTotal(int rows)
{
    rows = std::max(rows, 0);
    const int now = rowCount();
    if (rows > now) {
        beginInsertRows({}, now, rows - 1);
        m_rows.insert(now, rows - now, QStringList(m_columns, QString()));
        endInsertRows();
    } else if (rows < now) {
        beginRemoveRows({}, rows, now - 1);
        m_rows.resize(rows);
        endRemoveRows();
    }
}

QString TStringGridModel::cell(int row, int column) const
{
    if (row < 0 || row >= rowCount() || column < 0 || column >= m_columns)
        return {};
    return m_rows[row][column];
}

void TStringGridModel::setCell(int row, int column, const QString &text)
{
    if (row < 0 || column < 0 || column >= m_columns)
        return;
    if (row >= rowCount())
        setRowTotal(row + 1);
    if (m_rows[row][column] == text)
        return;
    m_rows[row][column] = text;
    const QModelIndex at = index(row, column);
    Q_EMIT dataChanged(at, at, {Qt::DisplayRole});
}

void TStringGridModel::setRowTexts(int row, const QStringList &texts)
{
    if (row < 0)
        return;
    if (row >= rowCount())
        setRowTotal(row + 1);
    QStringList &line = m_rows[row];
    for (int c = 0; c < m_columns; ++c)
        line[c] = c < texts.size() ? texts[c] : QString();
    if (m_columns > 0)
        Q_EMIT dataChanged(index(row, 0), index(row, m_columns - 1), {Qt::DisplayRole});
}

QStringList TStringGridModel::rowTexts(int row) const
{
    if (row < 0 || row >= rowCount())
        return QStringList(m_columns, QString());
    return m_rows[row];
}

QList<QStringList> TStringGridModel::allTexts() const { return m_rows; }

void TStringGridModel::clearTexts()
{
    for (QStringList &line : m_rows)
        line.fill(QString());
    if (rowCount() > 0 && m_columns > 0)
        Q_EMIT dataChanged(index(0, 0), index(rowCount() - 1, m_columns - 1), {Qt::DisplayRole});
}

void TStringGridModel::setRightAlignedData(bool on)
{
    if (on == m_rightAligned)
        return;
    m_rightAligned = on;
    if (rowCount() > 0 && m_columns > 0)
        Q_EMIT dataChanged(index(0, 0), index(rowCount() - 1, m_columns - 1), {Qt::TextAlignmentRole});
}
