// 修复签收: the two lists, the fee form and the sign-off and correction of a repaired order.
#include "repair/Uxfdj.h"

#include "common/Clock.h"
#include "common/Conventions.h"
#include "common/DatePicker.h"
#include "common/Handlers.h"
#include "common/Messages.h"
#include "common/NumberBoxes.h"
#include "common/Widgets.h"
#include "data/Query.h"
#include "data/Values.h"
#include "query_print/Udlg_cx.h"
#include "repair/OrderList.h"
#include "ui/DBGrid.h"
#include "ui/DBNavigator.h"

#include <QComboBox>
#include <QGridLayout>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QVBoxLayout>
#include <functional>

namespace korv {

using repair::OrderList;
using repair::OrderListNames;
using repair::OrderState;

namespace {

const QString kZeroMoney = QStringLiteral("0.00");
const QString kFullyRepaired = QStringLiteral("完全修复");
const QString kNoDispatched = QStringLiteral("当前没有任何的派修产品记录。");
const QString kChooseFirst = QStringLiteral(" 请先选取列表中的维修记录。 ");
const QString kResultRequired = QStringLiteral(" “修理情况”不能为空，请输入。 ");
const QString kSignedOff = QStringLiteral(" 修复签收成功！ ");
const QString kCorrected = QStringLiteral(" 修改修复签收记录成功！ ");

QString selectedText(const QString &wxdh, const QString &cpmc)
{
    return QStringLiteral("当前选取的派修产品： 单号") + wxdh + QStringLiteral("，名称") + cpmc + QStringLiteral("。");
}

QString noLongerListed(const QString &wxdh)
{
    return QStringLiteral(" 单号为") + wxdh.trimmed() + QStringLiteral("的记录已不在列表中，请重新选取。 ");
}

// A fee as the sign-off stores it: the text shown, or "0" for a blank box.
QString feeOrZero(const QLineEdit *box)
{
    return box->text().trimmed().isEmpty() ? QStringLiteral("0") : box->text();
}

const QList<ui::GridColumn> kDispatchedColumns = {
    {"wxdh", "单号", 70},       {"cpmc", "产品名称", 90}, {"xm", "客户姓名", 70},    {"dj", "订金", 60},
    {"dh", "电话", 90},         {"dz", "地址", 140},      {"wxry", "维修人员", 70},  {"jxsj", "接修时间", 130},
    {"gjyy", "故障原因", 140},  {"ys", "计划预算", 70},   {"jjy", "接机员", 60},     {"scwxy", "上次维修人", 80},
    {"scwxrq", "上次维修日期", 90}, {"bz", "备注", 140},
};

const QList<ui::GridColumn> kRepairedColumns = {
    {"wxdh", "单号", 70},      {"cpmc", "产品名称", 90},  {"xm", "客户姓名", 70},     {"dj", "订金", 60},
    {"wxry", "维修人员", 70},  {"xlqk", "修理情况", 90},  {"ys", "计划预算", 70},     {"wxf", "维修费", 60},
    {"jcf", "检查费", 60},     {"smf", "上门费", 60},     {"ljf", "零件费", 60},      {"jxsj", "接修时间", 130},
    {"gjyy", "故障原因", 140}, {"qssj", "签收时间", 130}, {"jjy", "接机员", 60},      {"scwxy", "上次维修人", 80},
    {"scwxrq", "上次维修日期", 90}, {"bz", "备注", 140},
};

}  // namespace

TFrmxfdj::TFrmxfdj(AppContext &ctx, QWidget *parent) : WorkWindow(ctx, WorkWindowKind::Xfdj, parent)
{
    setObjectName(QStringLiteral("TFrmxfdj"));
    setWindowTitle(QStringLiteral("修复签收"));

    dispatched_ = new OrderList(ctx, OrderState::Dispatched, OrderListNames::numbered(1), kDispatchedColumns, this);
    ADOQuery1 = dispatched_->query();
    DBGrid1 = dispatched_->grid();
    DBNavigator1 = dispatched_->navigator();
    dispatched_->setColours(QStringLiteral("#97CBFF"));

    Label2 = named(new QLabel(this), QStringLiteral("Label2"));
    Label2->setStyleSheet(QStringLiteral("QLabel { color: #0000FF; }"));
    btncx = namedButton(QStringLiteral("btncx"), QStringLiteral("查询"), this);
    btndj1 = namedButton(QStringLiteral("btndj1"), QStringLiteral("单据"), this);
    auto *panel = new QHBoxLayout;
    panel->addWidget(Label2, 1);
    panel->addWidget(btncx);
    panel->addWidget(btndj1);
    panel->addWidget(DBNavigator1);

    QWidget *form = buildForm();

    btnsave = namedButton(QStringLiteral("btnsave"), QStringLiteral("修复"), this);
    btndelete = namedButton(QStringLiteral("btndelete"), QStringLiteral("删除"), this);
    btnquery = namedButton(QStringLiteral("btnquery"), QStringLiteral("查询"), this);
    btndj2 = namedButton(QStringLiteral("btndj2"), QStringLiteral("单据"), this);
    repaired_ = new OrderList(ctx, OrderState::Repaired, OrderListNames::numbered(2), kRepairedColumns, this);
    ADOQuery2 = repaired_->query();
    DBGrid2 = repaired_->grid();
    DBNavigator2 = repaired_->navigator();
    repaired_->setColours(QStringLiteral("#C0DCC0"));
    auto *buttons = new QHBoxLayout;
    for (QPushButton *b : {btnsave, btndelete, btnquery, btndj2})
        buttons->addWidget(b);
    buttons->addStretch(1);
    buttons->addWidget(DBNavigator2);

    auto *whole = new QVBoxLayout(this);
    whole->addWidget(DBGrid1, 1);
    whole->addLayout(panel);
    whole->addWidget(form);
    whole->addLayout(buttons);
    whole->addWidget(DBGrid2, 1);

    connectHandlers();
    runHandler([this] { FormCreate(); });
}

QWidget *TFrmxfdj::buildForm()
{
    auto *form = new QWidget(this);
    edit1 = named(new QLineEdit(form), QStringLiteral("edit1"));
    edit1->setReadOnly(true);
    edit2 = named(new MoneyEdit(form), QStringLiteral("edit2"));
    edit3 = named(new MoneyEdit(form), QStringLiteral("edit3"));
    edit4 = named(new MoneyEdit(form), QStringLiteral("edit4"));
    edit5 = named(new MoneyEdit(form), QStringLiteral("edit5"));
    combobox1 = pickList(QStringLiteral("combobox1"), form);
    combobox1->addItems({kFullyRepaired, QStringLiteral("主要功能修复"), QStringLiteral("部分功能修复"),
                         QStringLiteral("未修复")});
    Date1 = named(new DatePicker(DatePicker::Kind::Date, form), QStringLiteral("Date1"));
    Date2 = named(new DatePicker(DatePicker::Kind::Date, form), QStringLiteral("Date2"));
    edit6 = named(new QLineEdit(form), QStringLiteral("edit6"));
    clearForm(kZeroMoney);

    auto *grid = new QGridLayout(form);
    grid->setContentsMargins(0, 0, 0, 0);
    const QList<QPair<QString, QWidget *>> entries = {
        {QStringLiteral("维修单号"), edit1}, {QStringLiteral("维修费"), edit2},   {QStringLiteral("检查费"), edit3},
        {QStringLiteral("上门费"), edit4},   {QStringLiteral("零件费"), edit5},   {QStringLiteral("修理情况"), combobox1},
        {QStringLiteral("修复日期"), Date1}, {QStringLiteral("签收时间"), Date2},
    };
    for (int i = 0; i < entries.size(); ++i) {
        grid->addWidget(new QLabel(entries[i].first, form), i / 4, (i % 4) * 2);
        grid->addWidget(entries[i].second, i / 4, (i % 4) * 2 + 1);
    }
    grid->addWidget(new QLabel(QStringLiteral("备注"), form), 2, 0);
    grid->addWidget(edit6, 2, 1, 1, 7);
    return form;
}

void TFrmxfdj::connectHandlers()
{
    connectHandler(DBGrid1, &ui::DBGrid::mouseUp, this, &TFrmxfdj::DBGrid1MouseUp);
    connectHandler(DBGrid2, &ui::DBGrid::mouseUp, this, &TFrmxfdj::DBGrid2MouseUp);
    connectHandler(btnsave, &QPushButton::clicked, this, &TFrmxfdj::btnsaveClick);
    connectHandler(btndelete, &QPushButton::clicked, this, &TFrmxfdj::btndeleteClick);
    connectHandler(btncx, &QPushButton::clicked, this, &TFrmxfdj::btncxClick);
    connectHandler(btnquery, &QPushButton::clicked, this, &TFrmxfdj::btnqueryClick);
    connectHandler(DBGrid1, &ui::DBGrid::dblClick, this, &TFrmxfdj::DBGrid1DblClick);
    connectHandler(btndj1, &QPushButton::clicked, this, &TFrmxfdj::DBGrid1DblClick);
    connectHandler(DBGrid2, &ui::DBGrid::dblClick, this, &TFrmxfdj::DBGrid2DblClick);
    connectHandler(btndj2, &QPushButton::clicked, this, &TFrmxfdj::DBGrid2DblClick);
}

void TFrmxfdj::FormCreate()
{
    highlightBoxes({edit2, edit3, Date1});
    selection_ = Selection::SignOff;
    ADOQuery1->Open();
    ADOQuery2->Open();
}

void TFrmxfdj::FormShow()
{
    Date1->setToNow();
    Date2->setToNow();
    if (dispatched_->isEmpty()) {
        Label2->setText(kNoDispatched);
        btndj1->setEnabled(false);
        return;
    }
    // The remark is loaded as a click on the row loads it, so that 修复 at once keeps the
    // instruction taken at intake; the fees start at zero until a row is clicked.
    ADOQuery1->First();
    edit1->setText(dispatched_->current(QStringLiteral("wxdh")));
    edit6->setText(dispatched_->current(QStringLiteral("bz")));
    showSelected(*dispatched_);
}

void TFrmxfdj::DBGrid1MouseUp()
{
    selection_ = Selection::SignOff;
    clearForm(kZeroMoney);
    setDatesToToday();

    // The repair and on-site fees estimated at intake are the starting point of the real ones.
    const OrderList &list = *dispatched_;
    edit1->setText(list.current(QStringLiteral("wxdh")));
    edit6->setText(list.current(QStringLiteral("bz")));
    if (const QString wxf = list.current(QStringLiteral("wxf")); !wxf.isEmpty())
        edit2->setText(wxf);
    if (const QString smf = list.current(QStringLiteral("smf")); !smf.isEmpty())
        edit4->setText(smf);
    showSelected(list);
}

void TFrmxfdj::DBGrid2MouseUp()
{
    selection_ = Selection::Correction;
    clearForm(QString());
    setDatesToToday();
    const OrderList &list = *repaired_;
    showSelected(list);

    edit1->setText(list.current(QStringLiteral("wxdh")));
    edit2->setText(list.current(QStringLiteral("wxf")));
    edit3->setText(list.current(QStringLiteral("jcf")));
    edit4->setText(list.current(QStringLiteral("smf")));
    edit5->setText(list.current(QStringLiteral("ljf")));
    edit6->setText(list.current(QStringLiteral("bz")));
    combobox1->setEditText(list.current(QStringLiteral("xlqk")));
    // A correction keeps the stored dates and times unless the user changes a date. An
    // unreadable date ends the copying quietly; the picker keeps today.
    const std::pair<QString, DatePicker *> dates[] = {{QStringLiteral("xfrq"), Date1}, {QStringLiteral("qssj"), Date2}};
    for (const auto &[column, picker] : dates) {
        const QString stored = list.current(column);
        if (stored.isEmpty())
            continue;
        const auto value = parseDateTime(stored);
        if (!value)
            return;
        picker->setDateTime(*value);
    }
}

void TFrmxfdj::btnsaveClick()
{
    if (edit1->text().trimmed().isEmpty()) {
        msg::info(kChooseFirst);
        return;
    }
    if (combobox1->currentText().isEmpty()) {
        msg::info(kResultRequired);
        combobox1->setFocus();
        return;
    }
    // The form belongs to the order whose number it shows; the list's cursor may have moved
    // since (navigator, delete, query), so the order is looked up again by that number.
    OrderList &list = selection_ == Selection::SignOff ? *dispatched_ : *repaired_;
    if (!list.goToOrder(edit1->text())) {
        msg::info(noLongerListed(edit1->text()));
        return;
    }
    if (selection_ == Selection::SignOff)
        signOff(list);
    else
        correct(list);

    btndelete->setEnabled(true);
    btndj2->setEnabled(true);
    if (dispatched_->isEmpty())
        btndj1->setEnabled(false);
    ctx_.setStatus(status::kSignedOff);
}

void TFrmxfdj::signOff(OrderList &list)
{
    Query &q = *list.query();
    q.Edit();
    writeAndPost(q, [&] {
        q.setText(QStringLiteral("wxf"), feeOrZero(edit2));
        q.setText(QStringLiteral("jcf"), feeOrZero(edit3));
        q.setText(QStringLiteral("smf"), feeOrZero(edit4));
        q.setText(QStringLiteral("ljf"), feeOrZero(edit5));
        q.setText(QStringLiteral("xlqk"), combobox1->currentText());
        q.setText(QStringLiteral("xfrq"), Date1->dateText());
        q.setText(QStringLiteral("qssj"), Date2->dateTimeText());
        q.setText(QStringLiteral("bz"), edit6->text());
        q.setText(QStringLiteral("wxzt"), QStringLiteral("2"));
    });
    dispatched_->reopen();
    repaired_->reopen();
    repaired_->goToOrder(edit1->text());
    msg::info(kSignedOff);
    resetForm();
}

void TFrmxfdj::correct(OrderList &list)
{
    Query &q = *list.query();
    q.Edit();
    writeAndPost(q, [&] {
        q.setText(QStringLiteral("wxf"), edit2->text());
        q.setText(QStringLiteral("jcf"), edit3->text());
        q.setText(QStringLiteral("smf"), edit4->text());
        q.setText(QStringLiteral("ljf"), edit5->text());
        q.setText(QStringLiteral("xlqk"), combobox1->currentText());
        q.setText(QStringLiteral("xfrq"), Date1->dateTimeText());
        q.setText(QStringLiteral("qssj"), Date2->dateTimeText());
        q.setText(QStringLiteral("bz"), edit6->text());
    });
    msg::info(kCorrected);
}

void TFrmxfdj::resetForm()
{
    clearForm(kZeroMoney);
    Date1->setToNow();
    Date2->setToNow();
}

void TFrmxfdj::clearForm(const QString &fees)
{
    edit1->clear();
    edit6->clear();
    for (MoneyEdit *fee : {edit2, edit3, edit4, edit5})
        fee->setText(fees);
    combobox1->setEditText(kFullyRepaired);
}

void TFrmxfdj::setDatesToToday()
{
    const QDate today = Clock::now().date();
    Date1->setDateKeepingTime(today);
    Date2->setDateKeepingTime(today);
}

void TFrmxfdj::btndeleteClick()
{
    if (!mayDelete(ctx_, deletion::kConfirmRepair))
        return;
    ADOQuery2->Delete();
    ctx_.setStatus(status::kDeleted);
    if (repaired_->isEmpty()) {
        btndelete->setEnabled(false);
        btndj2->setEnabled(false);
    }
}

void TFrmxfdj::btncxClick()
{
    showQueryDialog(ctx_, this, QueryTarget::SignOffDispatched);
}

void TFrmxfdj::btnqueryClick()
{
    showQueryDialog(ctx_, this, QueryTarget::SignOffRepaired);
}

void TFrmxfdj::DBGrid1DblClick()
{
    dispatched_->printSheet();
}

void TFrmxfdj::DBGrid2DblClick()
{
    repaired_->printSheet();
}

void TFrmxfdj::showSelected(const OrderList &list)
{
    Label2->setText(selectedText(list.current(QStringLiteral("wxdh")), list.current(QStringLiteral("cpmc"))));
}

}  // namespace korv
