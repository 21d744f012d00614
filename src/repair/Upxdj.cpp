// 派修登记: dispatching, correcting and deleting dispatched orders, and issuing spare parts to them.
#include "repair/Upxdj.h"

#include "common/Clock.h"
#include "common/Conventions.h"
#include "common/DatePicker.h"
#include "common/Handlers.h"
#include "common/Messages.h"
#include "common/Placement.h"
#include "common/Widgets.h"
#include "data/Database.h"
#include "data/Query.h"
#include "query_print/Udlg_cx.h"
#include "repair/OrderList.h"
#include "repair/Uwxll.h"
#include "ui/DBGrid.h"
#include "ui/DBNavigator.h"

#include <QComboBox>
#include <QGridLayout>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QShowEvent>
#include <QVBoxLayout>

namespace korv {

using repair::OrderList;
using repair::OrderListNames;
using repair::OrderState;

namespace {

const QString kWxdh = QStringLiteral("wxdh");
const QString kCpmc = QStringLiteral("cpmc");
const QString kWxry = QStringLiteral("wxry");
const QString kJxsj = QStringLiteral("jxsj");
const QString kYlbj = QStringLiteral("ylbj");
const QString kBz = QStringLiteral("bz");

const QString kNoPending = QStringLiteral("当前没有任何的待修产品记录");
const QString kSelectFirst = QStringLiteral("请先选取列表中的待修记录。 ");
const QString kSelectFirstBlank = QStringLiteral(" 请先选取列表中的待修记录。 ");
const QString kRepairmanEmpty = QStringLiteral(" “维修人员”不能为空，请输入。 ");
const QString kDispatchedOk = QStringLiteral(" 派修登记成功！ ");
const QString kCorrectedOk = QStringLiteral(" 修改派修记录成功！ ");
const QString kNoDispatched = QStringLiteral(" 派修登记表中没有任何派修记录，不能领取备件。 ");
const QString kDispatchFirst = QStringLiteral(" 请对当前的待修单号先作派修登记，然后才能领取备件。 ");

QList<ui::GridColumn> pendingColumns()
{
    return {{kWxdh, QStringLiteral("单号"), 70},          {QStringLiteral("jjy"), QStringLiteral("接机员"), 60},
            {QStringLiteral("jjrq"), QStringLiteral("接机时间"), 130}, {kCpmc, QStringLiteral("产品名称"), 90},
            {QStringLiteral("lb"), QStringLiteral("品牌"), 60},    {QStringLiteral("xh"), QStringLiteral("型号"), 60},
            {QStringLiteral("xm"), QStringLiteral("客户姓名"), 70}, {QStringLiteral("dj"), QStringLiteral("订金"), 60},
            {QStringLiteral("dz"), QStringLiteral("地址"), 120},   {QStringLiteral("dh"), QStringLiteral("电话"), 80},
            {QStringLiteral("yb"), QStringLiteral("邮编"), 60},    {QStringLiteral("jshm"), QStringLiteral("机身号码"), 80},
            {QStringLiteral("gmsd"), QStringLiteral("购买商店"), 80}, {QStringLiteral("gmrq"), QStringLiteral("购买日期"), 80},
            {QStringLiteral("scwxy"), QStringLiteral("上次维修人"), 80},
            {QStringLiteral("scwxrq"), QStringLiteral("上次维修日期"), 90},
            {QStringLiteral("gjyy"), QStringLiteral("故障原因"), 120}, {QStringLiteral("fj"), QStringLiteral("附件"), 80},
            {QStringLiteral("ys"), QStringLiteral("计划预算"), 70},  {QStringLiteral("jjy"), QStringLiteral("接机员"), 60},
            {kBz, QStringLiteral("备注"), 120}};
}

QList<ui::GridColumn> dispatchedColumns()
{
    return {{kWxdh, QStringLiteral("单号"), 70},          {kCpmc, QStringLiteral("产品名称"), 90},
            {QStringLiteral("xm"), QStringLiteral("客户姓名"), 70}, {QStringLiteral("dj"), QStringLiteral("订金"), 60},
            {QStringLiteral("dh"), QStringLiteral("电话"), 80},    {QStringLiteral("dz"), QStringLiteral("地址"), 120},
            {kWxry, QStringLiteral("维修人员"), 70},               {kJxsj, QStringLiteral("接修时间"), 130},
            {kYlbj, QStringLiteral("备件领取情况"), 160},          {QStringLiteral("gjyy"), QStringLiteral("故障原因"), 120},
            {QStringLiteral("ys"), QStringLiteral("计划预算"), 70},  {QStringLiteral("jjy"), QStringLiteral("接机员"), 60},
            {QStringLiteral("scwxy"), QStringLiteral("上次维修人"), 80},
            {QStringLiteral("scwxrq"), QStringLiteral("上次维修日期"), 90}, {kBz, QStringLiteral("备注"), 120}};
}

}  // namespace

TFrmpxdj::TFrmpxdj(AppContext &ctx, QWidget *parent) : WorkWindow(ctx, WorkWindowKind::Pxdj, parent)
{
    setObjectName(QStringLiteral("TFrmpxdj"));
    setWindowTitle(QStringLiteral("派修登记"));
    pending_ = new OrderList(ctx, OrderState::Pending, OrderListNames::numbered(1), pendingColumns(), this);
    dispatched_ = new OrderList(ctx, OrderState::Dispatched, OrderListNames::numbered(2), dispatchedColumns(), this);
    ADOQuery1 = pending_->query();
    DBGrid1 = pending_->grid();
    DBNavigator1 = pending_->navigator();
    ADOQuery2 = dispatched_->query();
    DBGrid2 = dispatched_->grid();
    DBNavigator2 = dispatched_->navigator();
    buildForm();
    buildLayout();
    highlightBoxes({ComboBox1, Date1});
    connectHandlers();
    pending_->reload();
    dispatched_->reload();
    runHandler([this] { FormCreate(); });
}

void TFrmpxdj::buildForm()
{
    Label2 = named(new QLabel(this), QStringLiteral("Label2"));
    btncx = namedButton(QStringLiteral("btncx"), QStringLiteral("查询"), this);
    btndj1 = namedButton(QStringLiteral("btndj1"), QStringLiteral("单据"), this);

    edit1 = named(new QLineEdit(this), QStringLiteral("edit1"));
    edit1->setReadOnly(true);
    ComboBox1 = pickList(QStringLiteral("ComboBox1"), this);
    Date1 = named(new DatePicker(DatePicker::Kind::Date, this), QStringLiteral("Date1"));
    edit2 = named(new QLineEdit(this), QStringLiteral("edit2"));
    edit2->setReadOnly(true);
    edit3 = named(new QLineEdit(this), QStringLiteral("edit3"));

    btnsave = namedButton(QStringLiteral("btnsave"), QStringLiteral("派修"), this);
    btndelete = namedButton(QStringLiteral("btndelete"), QStringLiteral("删除"), this);
    btnquery = namedButton(QStringLiteral("btnquery"), QStringLiteral("查询"), this);
    btndj2 = namedButton(QStringLiteral("btndj2"), QStringLiteral("单据"), this);
    btnlqbj = namedButton(QStringLiteral("btnlqbj"), QStringLiteral("领取备件"), this);
}

// The pending list across the top, the panel and the form in the middle, the dispatched list
// across the bottom.
void TFrmpxdj::buildLayout()
{
    auto *panel = new QHBoxLayout;
    panel->addWidget(Label2, 1);
    panel->addWidget(btncx);
    panel->addWidget(btndj1);
    panel->addWidget(DBNavigator1);

    auto *form = new QGridLayout;
    form->addWidget(new QLabel(QStringLiteral("维修单号"), this), 0, 0);
    form->addWidget(edit1, 0, 1);
    form->addWidget(new QLabel(QStringLiteral("维修人员"), this), 0, 2);
    form->addWidget(ComboBox1, 0, 3);
    form->addWidget(new QLabel(QStringLiteral("接修时间"), this), 0, 4);
    form->addWidget(Date1, 0, 5);
    form->addWidget(new QLabel(QStringLiteral("备件领取情况"), this), 1, 0);
    form->addWidget(edit2, 1, 1, 1, 5);
    form->addWidget(new QLabel(QStringLiteral("备    注"), this), 2, 0);
    form->addWidget(edit3, 2, 1, 1, 5);
    form->setColumnStretch(1, 1);
    form->setColumnStretch(3, 1);
    form->setColumnStretch(5, 1);

    auto *buttons = new QHBoxLayout;
    for (QPushButton *b : {btnsave, btndelete, btnquery, btndj2, btnlqbj})
        buttons->addWidget(b);
    buttons->addStretch(1);
    buttons->addWidget(DBNavigator2);

    auto *whole = new QVBoxLayout(this);
    whole->addWidget(DBGrid1, 1);
    whole->addLayout(panel);
    whole->addLayout(form);
    whole->addLayout(buttons);
    whole->addWidget(DBGrid2, 1);
}

void TFrmpxdj::connectHandlers()
{
    connectHandler(DBGrid1, &ui::DBGrid::mouseUp, this, &TFrmpxdj::DBGrid1MouseUp);
    connectHandler(DBGrid2, &ui::DBGrid::mouseUp, this, &TFrmpxdj::DBGrid2MouseUp);
    connectHandler(btnsave, &QPushButton::clicked, this, &TFrmpxdj::btnsaveClick);
    connectHandler(btndelete, &QPushButton::clicked, this, &TFrmpxdj::btndeleteClick);
    connectHandler(btnlqbj, &QPushButton::clicked, this, &TFrmpxdj::btnlqbjClick);
    connectHandler(btncx, &QPushButton::clicked, this, &TFrmpxdj::btncxClick);
    connectHandler(btnquery, &QPushButton::clicked, this, &TFrmpxdj::btnqueryClick);
    connectHandler(DBGrid1, &ui::DBGrid::dblClick, this, &TFrmpxdj::DBGrid1DblClick);
    connectHandler(btndj1, &QPushButton::clicked, this, &TFrmpxdj::DBGrid1DblClick);
    connectHandler(DBGrid2, &ui::DBGrid::dblClick, this, &TFrmpxdj::DBGrid2DblClick);
    connectHandler(btndj2, &QPushButton::clicked, this, &TFrmpxdj::DBGrid2DblClick);
}

void TFrmpxdj::FormCreate()
{
    selection_ = Selection::Pending;
    ComboBox1->addItems(ctx_.lookupList(QStringLiteral("select * from jyb"), QStringLiteral("jymc")));
    clearPick(ComboBox1);
}

void TFrmpxdj::FormShow()
{
    Date1->setToNow();
    if (pending_->isEmpty()) {
        Label2->setText(kNoPending);
        btndj1->setEnabled(false);
        return;
    }
    // Loaded as a click on it loads it, so that 派修 at once keeps the remark taken at intake.
    ADOQuery1->First();
    edit1->setText(pending_->current(kWxdh));
    edit3->setText(pending_->current(kBz));
    showSelectionLabel(*pending_);
}

void TFrmpxdj::showSelectionLabel(OrderList &list)
{
    const QString head = list.state() == OrderState::Pending ? QStringLiteral("当前选取的待修产品： 单号")
                                                             : QStringLiteral("当前选取的派修产品： 单号");
    Label2->setText(head + list.current(kWxdh) + QStringLiteral("，名称") + list.current(kCpmc) +
                    QStringLiteral("。"));
}

void TFrmpxdj::DBGrid1MouseUp()
{
    selection_ = Selection::Pending;
    edit1->clear();
    clearPick(ComboBox1);
    Date1->setDateKeepingTime(Clock::now().date());
    edit2->clear();
    edit3->clear();
    // An empty list has nothing to read; the emptied form stays.
    if (pending_->isEmpty())
        return;
    edit1->setText(pending_->current(kWxdh));
    edit3->setText(pending_->current(kBz));
    showSelectionLabel(*pending_);
}

void TFrmpxdj::DBGrid2MouseUp()
{
    selection_ = Selection::Dispatched;
    edit1->clear();
    edit2->clear();
    edit3->clear();
    clearPick(ComboBox1);
    if (dispatched_->isEmpty())
        return;
    showSelectionLabel(*dispatched_);
    Date1->setDateKeepingTime(Clock::now().date());
    edit1->setText(dispatched_->current(kWxdh));
    ComboBox1->setEditText(dispatched_->current(kWxry));
    edit2->setText(dispatched_->current(kYlbj));
    edit3->setText(dispatched_->current(kBz));
    // A correction keeps the stored dispatch time unless the user changes its date.
    const QString jxsj = dispatched_->current(kJxsj);
    if (jxsj.isEmpty())
        return;
    try {
        Date1->setFromText(jxsj);
    } catch (const DbError &) {
        // An unreadable dispatch time leaves today's date in the picker.
    }
}

bool TFrmpxdj::goToFormOrder(OrderList &list)
{
    if (list.goToOrder(edit1->text()))
        return true;
    msg::info(QStringLiteral(" 单号为%1的记录已不在列表中，请重新选取。 ").arg(edit1->text().trimmed()));
    return false;
}

// A refused value must not leave the order half edited in the list, where the next move would
// post it.
void TFrmpxdj::writeDispatchColumns(Query &orders, bool dispatching)
{
    orders.Edit();
    writeAndPost(orders, [&] {
        orders.setText(kWxry, ComboBox1->currentText());
        orders.setText(kJxsj, Date1->dateTimeText());
        if (dispatching)
            orders.setInteger(QStringLiteral("wxzt"), int(OrderState::Dispatched));
        orders.setText(kYlbj, edit2->text());
        orders.setText(kBz, edit3->text());
    });
}

void TFrmpxdj::btnsaveClick()
{
    if (edit1->text().isEmpty()) {
        msg::info(kSelectFirst);
        return;
    }
    if (edit1->text().trimmed().isEmpty()) {
        msg::info(kSelectFirstBlank);
        return;
    }
    if (ComboBox1->currentText().isEmpty()) {
        msg::info(kRepairmanEmpty);
        ComboBox1->setFocus();
        return;
    }
    if (selection_ == Selection::Pending) {
        if (!goToFormOrder(*pending_))
            return;
        const QString number = edit1->text();
        writeDispatchColumns(*ADOQuery1, true);
        pending_->reopen();
        dispatched_->reopen();
        dispatched_->goToOrder(number);
        msg::info(kDispatchedOk);
        clearForm();
    } else {
        if (!goToFormOrder(*dispatched_))
            return;
        writeDispatchColumns(*ADOQuery2, false);
        msg::info(kCorrectedOk);
    }
    btndelete->setEnabled(true);
    btndj2->setEnabled(true);
    if (pending_->isEmpty())
        btndj1->setEnabled(false);
    ctx_.setStatus(status::kDispatched);
}

void TFrmpxdj::clearForm()
{
    edit1->clear();
    clearPick(ComboBox1);
    Date1->setToNow();
    edit2->clear();
    edit3->clear();
}

void TFrmpxdj::btndeleteClick()
{
    if (!mayDelete(ctx_, deletion::kConfirmDispatch))
        return;
    ADOQuery2->Delete();
    ctx_.setStatus(status::kDeleted);
    if (dispatched_->isEmpty()) {
        btndelete->setEnabled(false);
        btndj2->setEnabled(false);
    }
}

void TFrmpxdj::btnlqbjClick()
{
    if (dispatched_->isEmpty()) {
        msg::info(kNoDispatched);
        return;
    }
    if (!dispatched_->goToOrder(edit1->text())) {
        msg::info(kDispatchFirst);
        btnsave->setFocus();
        return;
    }
    TFrmwxll issue(ctx_, this);
    issue.setOrder(dispatched_, edit2);
    execInFront(issue);
}

void TFrmpxdj::btncxClick()
{
    showQueryDialog(ctx_, this, QueryTarget::DispatchPending);
}

void TFrmpxdj::btnqueryClick()
{
    showQueryDialog(ctx_, this, QueryTarget::DispatchDispatched);
}

void TFrmpxdj::DBGrid1DblClick()
{
    pending_->printSheet();
}

void TFrmpxdj::DBGrid2DblClick()
{
    dispatched_->printSheet();
}

}  // namespace korv
