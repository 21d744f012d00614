// Lazy table model over a Query's snapshot rows.
#include "ui/QueryModel.h"

#include "data/Query.h"

#include <QBrush>
#include <algorithm>

namespace korv::ui {

QueryModel::QueryModel(QObject *parent) : QAbstractTableModel(parent) {}

void QueryModel::setQuery(Query *query)
{
    beginResetModel();
    query_ = query;
    resolveFields();
    rows_ = query ? query->loadedCount() : 0;
    endResetModel();
}

void QueryModel::setColumns(const QList<GridColumn> &columns)
{
    beginResetModel();
    columns_ = columns;
    resolveFields();
    endResetModel();
}

void QueryModel::setRowBackground(std::function<QColor(int)> colour)
{
    rowBackground_ = std::move(colour);
    if (rows_ > 0 && !columns_.isEmpty())
        emit dataChanged(index(0, 0), index(rows_ - 1, int(columns_.size()) - 1), {Qt::BackgroundRole});
}

// Field names are looked up once per opening, not per cell.
void QueryModel::resolveFields()
{
    fieldIndexes_.assign(size_t(columns_.size()), -1);
    if (!query_)
        return;
    for (qsizetype i = 0; i < columns_.size(); ++i)
        fieldIndexes_[size_t(i)] = query_->columnIndex(columns_[i].field);
}

void QueryModel::resetRows()
{
    beginResetModel();
    resolveFields();
    rows_ = query_ ? query_->loadedCount() : 0;
    endResetModel();
}

void QueryModel::insertRowAt(int row)
{
    row = std::clamp(row, 0, rows_);
    beginInsertRows(QModelIndex(), row, row);
    ++rows_;
    endInsertRows();
}

void QueryModel::appendRows(int first, int last)
{
    if (first != rows_ || last < first)
        return resetRows();
    beginInsertRows(QModelIndex(), first, last);
    rows_ = last + 1;
    endInsertRows();
}

void QueryModel::removeRowAt(int row)
{
    if (row < 0 || row >= rows_)
        return;
    beginRemoveRows(QModelIndex(), row, row);
    --rows_;
    endRemoveRows();
}

void QueryModel::refreshRow(int row)
{
    if (row < 0 || row >= rows_ || columns_.isEmpty())
        return;
    emit dataChanged(index(row, 0), index(row, int(columns_.size()) - 1));
}

int QueryModel::rowCount(const QModelIndex &parent) const
{
    return parent.isValid() ? 0 : rows_;
}

int QueryModel::columnCount(const QModelIndex &parent) const
{
    return parent.isValid() ? 0 : int(columns_.size());
}

// The query may hold fewer rows or columns than the view was last told about while its
// controls are disabled; such cells read as empty instead of reaching past the row set.
QString QueryModel::cell(int row, int column) const
{
    const int field = fieldIndexes_[size_t(column)];
    if (!query_ || field < 0 || field >= query_->columnCount() || row >= query_->loadedCount())
        return QString();
    return query_->cellText(row, field);
}

QVariant QueryModel::data(const QModelIndex &index, int role) const
{
    if (!index.isValid() || index.row() >= rows_ || index.column() >= int(columns_.size()))
        return QVariant();
    if (role == Qt::DisplayRole)
        return cell(index.row(), index.column());
    if (role == Qt::BackgroundRole && rowBackground_) {
        const QColor colour = rowBackground_(index.row());
        if (colour.isValid())
            return QBrush(colour);
    }
    return QVariant();
}

QVariant QueryModel::headerData(int section, Qt::Orientation orientation, int role) const
{
    if (orientation != Qt::Horizontal || role != Qt::DisplayRole || section < 0 || section >= columns_.size())
        return QVariant();
    return columns_[section].caption;
}

Qt::ItemFlags QueryModel::flags(const QModelIndex &index) const
{
    return index.isValid() ? Qt::ItemIsEnabled | Qt::ItemIsSelectable : Qt::NoItemFlags;
}

}  // namespace korv::ui
