// 维修结算: settling repaired orders with the customer and recording the return visit.
#pragma once

#include "common/WorkWindow.h"

class QComboBox;
class QLineEdit;
class QPushButton;

namespace korv {

class DatePicker;
class MoneyEdit;
class Query;
class TmldyForm;
namespace ui {
class DBGrid;
class DBNavigator;
}
namespace repair {
class OrderList;
}

// The last station: lists the repaired orders, shows an order's fee total, deposit and
// receivable, records its settlement and return visit (as often as needed; the order stays
// repaired), prints the business sheet of the whole list and the repair sheet of one order.
class Tfrmqjdj : public WorkWindow {
    Q_OBJECT
public:
    explicit Tfrmqjdj(AppContext &ctx, QWidget *parent = nullptr);
    ~Tfrmqjdj() override;

    void FormShow() override;
    void DBGrid1MouseUp();
    void ComboBox1Exit();
    void ComboBox2Exit();
    void btnsaveClick();
    void btndeleteClick();
    void btnqueryClick();
    TmldyForm *DBGrid1DblClick();
    TmldyForm *btnprintClick();

    ui::DBGrid *DBGrid1;
    ui::DBNavigator *DBNavigator1;
    Query *ADOQuery1;
    Query *aqry_cx;

    QLineEdit *edit1;      // 单号
    QLineEdit *edit2;      // 费用合计
    QLineEdit *edit8;      // 已交订金
    QLineEdit *edit9;      // 应收费用
    QComboBox *ComboBox1;  // 维护方法
    QLineEdit *edit3;      // 维护期限
    QLineEdit *edit4;      // 取机人
    DatePicker *Date1;     // 取机日期
    QComboBox *ComboBox2;  // 付款方式
    MoneyEdit *edit5;      // 结账款项
    QComboBox *ComboBox3;  // 回访人
    DatePicker *Date2;     // 回访时间
    QLineEdit *edit6;      // 回访情况
    QLineEdit *edit7;      // 备注

    QPushButton *btnsave;
    QPushButton *btndelete;
    QPushButton *btnquery;
    QPushButton *btndj;
    QPushButton *btnprint;

private:
    void FormCreate();
    QWidget *buildForm();
    QWidget *buildButtonRow();
    void connectHandlers();
    void clearForm();
    void copyCurrentOrder();
    void showFigures();
    void writeSettlement();
    void enableOrderButtons(bool enabled);

    repair::OrderList *list_;
};

}  // namespace korv
