// Table model over a Query for the data-bound list.
#pragma once

#include <QAbstractTableModel>
#include <QColor>
#include <QList>
#include <QPointer>
#include <QString>
#include <functional>
#include <vector>

namespace korv {
class Query;
}

namespace korv::ui {

// One column of a data-bound list: the query field it shows, its header text, its width in pixels.
struct GridColumn {
    QString field;
    QString caption;
    int width = 64;
};

// Shows a query's rows without copying them: cells are read from the query when the view asks.
// The row count changes only when the owner reports a change the query announced, so the view
// never sees rows it has not been told about (for instance while the query's controls are
// disabled).
class QueryModel : public QAbstractTableModel {
    Q_OBJECT
public:
    explicit QueryModel(QObject *parent = nullptr);

    void setQuery(Query *query);
    Query *query() const { return query_; }
    void setColumns(const QList<GridColumn> &columns);
    const QList<GridColumn> &columns() const { return columns_; }
    void setRowBackground(std::function<QColor(int)> colour);

    // The owner forwards the query's announcements through these.
    void resetRows();
    void insertRowAt(int row);
    // Rows `first`..`last` became known at the end of a list still loading.
    void appendRows(int first, int last);
    void removeRowAt(int row);
    void refreshRow(int row);

    int rowCount(const QModelIndex &parent = QModelIndex()) const override;
    int columnCount(const QModelIndex &parent = QModelIndex()) const override;
    QVariant data(const QModelIndex &index, int role = Qt::DisplayRole) const override;
    QVariant headerData(int section, Qt::Orientation orientation, int role = Qt::DisplayRole) const override;
    Qt::ItemFlags flags(const QModelIndex &index) const override;

private:
    void resolveFields();
    QString cell(int row, int column) const;

    QPointer<Query> query_;
    QList<GridColumn> columns_;
    std::vector<int> fieldIndexes_;  // query column of each list column, -1 when absent
    int rows_ = 0;
    std::function<QColor(int)> rowBackground_;
};

}  // namespace korv::ui
