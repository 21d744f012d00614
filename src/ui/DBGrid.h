// Read-only list of a query's rows whose selected row is the query's current record.
#pragma once

#include "ui/QueryModel.h"

#include <QTableView>

namespace korv {
class Query;
}

namespace korv::ui {

// The list windows put beside their entry boxes. Selecting a row moves the query there; every
// move of the query selects its row. Opening a large row set costs nothing per row.
class DBGrid : public QTableView {
    Q_OBJECT
public:
    explicit DBGrid(QWidget *parent);

    void setQuery(Query *query);
    Query *query() const { return model_->query(); }
    void setColumns(const QList<GridColumn> &columns);
    // Answers the background of a row; an invalid colour leaves the row as it is.
    void setRowBackground(std::function<QColor(int row)> colour);
    // The light blue list that tells the user a new record is being entered.
    void setAddModeLook(bool on);
    bool addModeLook() const { return addModeLook_; }

signals:
    // After any mouse button is released over the list; a clicked row is current by then.
    void mouseUp();
    // After a double click on a row, once that row is current.
    void dblClick();

protected:
    void mouseReleaseEvent(QMouseEvent *event) override;
    QItemSelectionModel::SelectionFlags selectionCommand(const QModelIndex &index,
                                                         const QEvent *event = nullptr) const override;

private:
    void followQuery();
    void rowsReset();
    void rowInserted(int row);
    void rowRemoved(int row);
    void rowChanged(int row);
    void userMovedTo(const QModelIndex &current);
    void rowDoubleClicked(const QModelIndex &index);
    void applyColumnWidths();

    QueryModel *model_;
    QList<QMetaObject::Connection> queryConnections_;
    bool followingQuery_ = false;
    bool addModeLook_ = false;
};

}  // namespace korv::ui
