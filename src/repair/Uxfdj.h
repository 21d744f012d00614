// 修复签收: signing off repaired orders with their fees, and correcting signed-off ones
#pragma once

#include "common/WorkWindow.h"

class QComboBox;
class QLabel;
class QLineEdit;
class QPushButton;

namespace korv {

class DatePicker;
class MoneyEdit;
class Query;
namespace ui {
class DBGrid;
class DBNavigator;
}
namespace repair {
class OrderList;
}

// The station where a dispatched order comes back from the repairman. The upper list holds the
// dispatched orders, the lower one the repaired orders; the list clicked last decides whether
// 修复 signs an order off (moving it to the repaired state) or rewrites a repaired one.
class TFrmxfdj : public WorkWindow {
    Q_OBJECT
public:
    enum class Selection { SignOff, Correction };

    TFrmxfdj(AppContext &ctx, QWidget *parent = nullptr);

    Selection selection() const { return selection_; }

    void FormCreate();
    void FormShow() override;
    void DBGrid1MouseUp();
    void DBGrid2MouseUp();
    void btnsaveClick();
    void btndeleteClick();
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
    MoneyEdit *edit2;
    MoneyEdit *edit3;
    MoneyEdit *edit4;
    MoneyEdit *edit5;
    QComboBox *combobox1;
    DatePicker *Date1;
    DatePicker *Date2;
    QLineEdit *edit6;

    QPushButton *btnsave;
    QPushButton *btndelete;
    QPushButton *btnquery;
    QPushButton *btndj2;
    Query *ADOQuery2;
    ui::DBGrid *DBGrid2;
    ui::DBNavigator *DBNavigator2;

private:
    QWidget *buildForm();
    void connectHandlers();
    void showSelected(const repair::OrderList &list);
    void resetForm();
    // Empties the number and remark, puts `fees` into the four fee boxes, 完全修复 into the result.
    void clearForm(const QString &fees);
    void setDatesToToday();
    void signOff(repair::OrderList &list);
    void correct(repair::OrderList &list);

    repair::OrderList *dispatched_;
    repair::OrderList *repaired_;
    Selection selection_ = Selection::SignOff;
};

}  // namespace korv
