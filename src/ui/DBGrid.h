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
// Each opening widens the columns to the texts of the first screen, never reading further rows;
// a cell too narrow for its text shows it whole as a tooltip, and the user may widen columns.
class DBGrid : public QTableView {
    Q_OBJECT
public:
    // Rows measured when the columns are fitted: a full-height list on a large screen.
    static constexpr int kFirstScreenRows = 50;
    // No column is made wider than this by its texts; the tooltip shows the rest.
    static constexpr int kFittedWidthCap = 360;

    explicit DBGrid(QWidget *parent);

    void setQuery(Query *query);
    Query *query() const { return model_->query(); }
    void setColumns(const QList<GridColumn> &columns);
    // Answers the background of a row; an invalid colour leaves the row as it is.
    void setRowBackground(std::function<QColor(int row)> colour);
    // The light blue list that tells the user a new record is being entered.
    void setAddModeLook(bool on);
    bool addModeLook() const { return addModeLook_; }
    // A list wider than its fitted columns shares the rest among the columns the user has not
    // sized, in proportion to their widths, so no blank room stays at the right.
    void setFillWidth(bool on);
    // While a mouse button pressed on a row is held; the click is over at mouseUp.
    bool pressing() const { return pressing_; }

signals:
    // After any mouse button is released over the list; a clicked row is current by then.
    void mouseUp();
    // After a double click on a row, once that row is current.
    void dblClick();

protected:
    void mousePressEvent(QMouseEvent *event) override;
    void mouseReleaseEvent(QMouseEvent *event) override;
    bool viewportEvent(QEvent *event) override;
    void changeEvent(QEvent *event) override;
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
    void spreadColumns();
    int fittedWidth(int column, int rows) const;
    int textWidth(const QString &text) const;
    void rememberUserWidth(int column, int oldWidth, int newWidth);
    void fitRowHeight();
    bool showCutText(const QPoint &at, const QPoint &globalAt);

    QueryModel *model_;
    QList<QMetaObject::Connection> queryConnections_;
    bool followingQuery_ = false;
    bool addModeLook_ = false;
    bool pressing_ = false;
    bool fillWidth_ = false;
    QList<int> fittedWidths_;  // per column: the width its texts asked for at the last opening
    bool settingWidths_ = false;
    QList<int> userWidths_;  // per column: the width the user dragged it to, 0 when untouched
};

}  // namespace korv::ui
