// A station's list of repair orders of one state: its query, its grid and its navigator.
#pragma once

#include "repair/RepairRules.h"
#include "ui/QueryModel.h"

#include <QList>
#include <QObject>

class QWidget;

namespace korv {
class AppContext;
class Query;
class TmldyForm;
namespace ui {
class DBGrid;
class DBNavigator;
}

namespace repair {

// The names one list's parts carry in its window.
struct OrderListNames {
    QString query;      // ADOQuery1
    QString grid;       // DBGrid1
    QString navigator;  // DBNavigator1

    // The names of a window's n-th list: ADOQuery<n>, DBGrid<n>, DBNavigator<n>.
    static OrderListNames numbered(int n);
};

// Every station list shows the orders of one state ordered by number, selects whole rows and
// draws overdue rows (pending and dispatched orders) on their highlight, tested afresh each time
// a row is drawn against the session's alarm period and the clock.
class OrderList : public QObject {
    Q_OBJECT
public:
    OrderList(AppContext &ctx, OrderState state, const OrderListNames &names, const QList<ui::GridColumn> &columns,
              QWidget *owner);

    OrderState state() const { return state_; }
    Query *query() const { return query_; }
    ui::DBGrid *grid() const { return grid_; }
    ui::DBNavigator *navigator() const { return navigator_; }

    // Closes the list and opens it again on its state's SQL, on the first row; a query filter goes.
    void reload();
    // The whole list of the state: reloaded only when it is closed or a query has filtered it,
    // so rows and cursor stay as they are otherwise.
    void showUnfiltered();
    // Closes the list and opens it again on the SQL it holds, so a query filter stays.
    void reopen();
    bool isEmpty() const;
    // The light grey list with its title row in `titleColour`, as the sign-off and settlement
    // stations show theirs.
    void setColours(const QString &titleColour);
    // A column of the current order; empty when the list has no rows.
    QString current(const QString &column) const;
    // Moves to the order numbered `wxdh` (blanks around it ignored); false when the list does
    // not hold it, leaving the cursor where it was.
    bool goToOrder(const QString &wxdh);
    // The repair order sheet of the current order in the preview; nothing for an empty list.
    TmldyForm *printSheet();

private:
    QColor rowBackground(int row) const;

    AppContext &ctx_;
    OrderState state_;
    QWidget *owner_;
    Query *query_;
    ui::DBGrid *grid_;
    ui::DBNavigator *navigator_;
};

}  // namespace repair
}  // namespace korv
