// 派修登记: handing pending repair orders to a repairman
#pragma once

#include "common/WorkWindow.h"

class QComboBox;
class QLabel;
class QLineEdit;
class QPushButton;

namespace korv {

class DatePicker;
class Query;
namespace ui {
class DBGrid;
class DBNavigator;
}
namespace repair {
class OrderList;
}

// The dispatch station: pending orders above, dispatched orders below. 派修 moves the pending
// order shown in the form to the dispatched state, or corrects the dispatched one; 领取备件
// issues spare parts to a dispatched order.
class TFrmpxdj : public WorkWindow {
    Q_OBJECT
public:
    // Which list the form's order was taken from; it decides what 派修 does.
    enum class Selection { Pending, Dispatched };

    TFrmpxdj(AppContext &ctx, QWidget *parent = nullptr);

    Selection selection() const { return selection_; }

    void FormCreate();
    void FormShow() override;
    void DBGrid1MouseUp();
    void DBGrid2MouseUp();
    void btnsaveClick();
    void btndeleteClick();
    void btnlqbjClick();
    void btncxClick();
    void btnqueryClick();
    void DBGrid1DblClick();
    void DBGrid2DblClick();

    Query *ADOQuery1;
    ui::DBGrid *DBGrid1;
    ui::DBNavigator *DBNavigator1;
    QLabel *Label2;
    QPushButton *btncx;
    QPushButton *btndj1;

    QLineEdit *edit1;
    QComboBox *ComboBox1;
    DatePicker *Date1;
    QLineEdit *edit2;
    QLineEdit *edit3;

    QPushButton *btnsave;
    QPushButton *btndelete;
    QPushButton *btnquery;
    QPushButton *btndj2;
    QPushButton *btnlqbj;
    Query *ADOQuery2;
    ui::DBGrid *DBGrid2;
    ui::DBNavigator *DBNavigator2;

private:
    void buildForm();
    void buildLayout();
    void connectHandlers();
    void showSelectionLabel(repair::OrderList &list);
    void clearForm();
    // The list the selection names, on the order the form shows; false, after telling the
    // user, when that list no longer holds it.
    bool goToFormOrder(repair::OrderList &list);
    void writeDispatchColumns(Query &orders, bool dispatching);

    repair::OrderList *pending_;
    repair::OrderList *dispatched_;
    Selection selection_ = Selection::Pending;
};

}  // namespace korv
