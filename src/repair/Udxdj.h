// 待修登记: intake of units handed in for repair, as pending repair orders.
#pragma once

#include "common/WorkWindow.h"
#include "query_print/Udlg_cx.h"

class QComboBox;
class QLineEdit;
class QPushButton;
class QRadioButton;

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

// The intake station: lists the pending orders, registers a new one under a proposed number,
// corrects one, gives a unit back unrepaired and prints its deposit receipt and repair sheet.
// It is in add mode exactly while 添加 is disabled.
class TFrmdxdj : public WorkWindow, public QueryResettable {
    Q_OBJECT
public:
    explicit TFrmdxdj(AppContext &ctx, QWidget *parent = nullptr);
    ~TFrmdxdj() override;

    void FormShow() override;
    void btnaddClick();
    void btneditClick();
    void DBGrid1MouseUp();
    void ComboBox1Exit();
    void ComboBox2Exit();
    void ComboBox6Exit();
    void btnsaveClick();
    void btndeleteClick();
    void btnqueryClick();
    // After a query: the form emptied but for the fees and the intake time, edit mode.
    void resetAfterQuery(bool rows) override;
    TmldyForm *DBGrid1DblClick();
    TmldyForm *btnsjClick();

    ui::DBGrid *DBGrid1;
    ui::DBNavigator *DBNavigator1;
    Query *ADOQuery1;
    Query *aqry_cx;

    QComboBox *ComboBox1;  // 产品名称
    QComboBox *ComboBox2;  // 品牌
    QComboBox *ComboBox3;  // 型号
    QComboBox *ComboBox4;  // 购买商店
    QLineEdit *edit2;      // 机身号码
    DatePicker *Date1;     // 购买日期
    QComboBox *ComboBox5;  // 保修情况
    QComboBox *ComboBox6;  // 客户姓名
    QLineEdit *edit3;      // 电话
    QLineEdit *edit4;      // 邮编
    QLineEdit *edit5;      // 地址
    QComboBox *ComboBox7;  // 上次维修人
    DatePicker *date2;     // 上次维修日期
    QLineEdit *edit6;      // 故障原因
    QComboBox *ComboBox8;  // 接机员
    DatePicker *date3;     // 接机时间
    QLineEdit *edit7;      // 附件
    MoneyEdit *edit8;      // 预算计划
    MoneyEdit *edit10;     // 维修费
    MoneyEdit *edit11;     // 上门费
    QLineEdit *edit9;      // 备注
    MoneyEdit *edit12;     // 预交订金
    QRadioButton *rbtn1;   // 上门
    QRadioButton *rbtn2;   // 接机
    QLineEdit *edit1;      // 单号

    QPushButton *btnadd;
    QPushButton *btnedit;
    QPushButton *btnsave;
    QPushButton *btndelete;
    QPushButton *btnquery;
    QPushButton *btndj;
    QPushButton *btnsj;

private:
    void FormCreate();
    QWidget *buildForm();
    QWidget *buildButtonRow();
    void connectHandlers();
    void fillPickLists();

    bool addMode() const;
    void enterMode(bool add);
    void clearForm();
    void resetForNextUnit();
    void loadCurrentOrder();
    bool passesChecks();
    bool numberRefused(const QString &number);
    bool openOrderShown();
    void writeOrder();
    bool postOrder(bool add, const QString &number);
    void afterListChange();

    repair::OrderList *list_;
};

}  // namespace korv
