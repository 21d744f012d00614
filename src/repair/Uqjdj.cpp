// 维修结算: settling repaired orders with the customer and recording the return visit.
#include "repair/Uqjdj.h"

#include "common/Clock.h"
#include "common/Conventions.h"
#include "common/DatePicker.h"
#include "common/ExitWatcher.h"
#include "common/Handlers.h"
#include "common/Messages.h"
#include "common/NumberBoxes.h"
#include "common/Widgets.h"
#include "data/Database.h"
#include "data/Query.h"
#include "query_print/Report.h"
#include "query_print/Udlg_cx.h"
#include "query_print/mldy.h"
#include "repair/BusinessSheet.h"
#include "repair/OrderList.h"
#include "repair/RepairRules.h"
#include "ui/DBGrid.h"
#include "ui/DBNavigator.h"

#include <QComboBox>
#include <QGridLayout>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QVBoxLayout>

namespace korv {

namespace {

constexpr int kListHeight = 150;
constexpr int kButtonWidth = 60;

const QString kChooseOrder = QStringLiteral(" 请先选取列表中的维修记录。 ");
const QString kSaved = QStringLiteral(" 维修结算与回访登记表保存成功！ ");
const QString kRefundNotAllowed = QStringLiteral("  “ 应收费用 ” 为正数， “ 付款方式 ” 不能选择退款。 ");
const QString kRefundRequired = QStringLiteral("  “ 应收费用 ” 为负数， “ 付款方式 ” 应该选择为退款。 ");
const QString kRefund = QStringLiteral("退款");
const QString kNoDeposit = QStringLiteral("0.00");

QString orderGone(const QString &wxdh)
{
    return QStringLiteral(" 单号为%1的记录已不在列表中，请重新选取。 ").arg(wxdh.trimmed());
}

QList<ui::GridColumn> listColumns()
{
    return {{"wxdh", "单号", 70},      {"cpmc", "产品名称", 80}, {"xm", "客户姓名", 64},   {"dj", "订金", 56},
            {"fkfs", "付款方式", 64},  {"jjkx", "结账款项", 64}, {"ys", "计划预算", 64},   {"wxf", "维修费", 56},
            {"jcf", "检查费", 56},     {"smf", "上门费", 56},    {"ljf", "零件费", 56},    {"wxry", "维修人员", 64},
            {"jxsj", "接修时间", 120}, {"xlqk", "修理情况", 100}, {"qjr", "取机人", 64},   {"qjrq", "取机日期", 80},
            {"whfs", "维护方法", 80},  {"whqx", "维护期限", 64}, {"gjyy", "故障原因", 100}, {"jjy", "接机员", 64},
            {"hfr", "回访人", 64},     {"hfsj", "回访时间", 80}, {"hfqk", "回访情况", 100}, {"qssj", "签收时间", 120},
            {"scwxy", "上次维修人", 72}, {"scwxrq", "上次维修日期", 90}, {"bz", "备注", 100}};
}

QLineEdit *figureBox(const QString &name, QWidget *parent)
{
    auto *box = named(new QLineEdit(parent), name);
    box->setReadOnly(true);
    box->setAlignment(Qt::AlignRight | Qt::AlignVCenter);
    return box;
}

}  // namespace

Tfrmqjdj::Tfrmqjdj(AppContext &ctx, QWidget *parent) : WorkWindow(ctx, WorkWindowKind::Qjdj, parent)
{
    setObjectName(QStringLiteral("Tfrmqjdj"));
    setWindowTitle(QStringLiteral("维修结算"));
    list_ = new repair::OrderList(ctx, repair::OrderState::Repaired, repair::OrderListNames::numbered(1),
                                  listColumns(), this);
    ADOQuery1 = list_->query();
    DBGrid1 = list_->grid();
    DBNavigator1 = list_->navigator();
    DBGrid1->setMinimumHeight(kListHeight);
    list_->setColours(QStringLiteral("#C0DCC0"));
    aqry_cx = new Query(ctx.db(), this);
    aqry_cx->setObjectName(QStringLiteral("aqry_cx"));

    auto *layout = new QVBoxLayout(this);
    layout->setContentsMargins(6, 6, 6, 6);
    layout->setSpacing(6);
    // The list takes whatever height the form and the buttons leave.
    layout->addWidget(DBGrid1, 1);
    layout->addWidget(buildForm());
    layout->addWidget(buildButtonRow());

    highlightBoxes({ComboBox1, edit3, edit4, Date1, ComboBox2, edit5, ComboBox3, Date2, edit6});
    connectHandlers();
    runHandler([this] { FormCreate(); });
}

Tfrmqjdj::~Tfrmqjdj() = default;

QWidget *Tfrmqjdj::buildForm()
{
    auto *form = new QWidget(this);
    edit1 = figureBox(QStringLiteral("edit1"), form);
    edit1->setAlignment(Qt::AlignLeft | Qt::AlignVCenter);
    edit2 = figureBox(QStringLiteral("edit2"), form);
    edit8 = figureBox(QStringLiteral("edit8"), form);
    edit9 = figureBox(QStringLiteral("edit9"), form);
    ComboBox1 = pickList(QStringLiteral("ComboBox1"), form);
    edit3 = named(new QLineEdit(form), QStringLiteral("edit3"));
    edit4 = named(new QLineEdit(form), QStringLiteral("edit4"));
    Date1 = named(new DatePicker(DatePicker::Kind::Date, form), QStringLiteral("Date1"));
    ComboBox2 = pickList(QStringLiteral("ComboBox2"), form);
    ComboBox2->addItems({QStringLiteral("现金付款"), QStringLiteral("转帐付款"), kRefund});
    ComboBox2->setCurrentIndex(-1);
    edit5 = named(new MoneyEdit(form), QStringLiteral("edit5"));
    edit5->setText(kNoDeposit);
    ComboBox3 = pickList(QStringLiteral("ComboBox3"), form);
    Date2 = named(new DatePicker(DatePicker::Kind::Date, form), QStringLiteral("Date2"));
    edit6 = named(new QLineEdit(form), QStringLiteral("edit6"));
    edit7 = named(new QLineEdit(form), QStringLiteral("edit7"));

    const QList<QPair<QString, QWidget *>> rows[] = {
        {{"单    号", edit1}, {"费用合计", edit2}, {"已交订金", edit8}, {"应收费用", edit9}},
        {{"维护方法", ComboBox1}, {"维护期限", edit3}, {"取 机 人", edit4}, {"取机日期", Date1}},
        {{"付款方式", ComboBox2}, {"结账款项", edit5}, {"回 访 人", ComboBox3}, {"回访时间", Date2}},
        {{"回访情况", edit6}},
        {{"备    注", edit7}},
    };
    auto *grid = new QGridLayout(form);
    grid->setContentsMargins(0, 0, 0, 0);
    grid->setHorizontalSpacing(8);
    grid->setVerticalSpacing(4);
    for (int column : {1, 3, 5, 7})
        grid->setColumnStretch(column, 1);
    for (int r = 0; r < int(std::size(rows)); ++r) {
        const bool wide = rows[r].size() == 1;
        for (int i = 0; i < rows[r].size(); ++i) {
            auto *label = new QLabel(rows[r][i].first, form);
            label->setBuddy(rows[r][i].second);
            grid->addWidget(label, r, 2 * i);
            grid->addWidget(rows[r][i].second, r, 2 * i + 1, 1, wide ? 7 : 1);
        }
    }
    return form;
}

QWidget *Tfrmqjdj::buildButtonRow()
{
    auto *row = new QWidget(this);
    auto *buttons = new QHBoxLayout(row);
    buttons->setContentsMargins(0, 0, 0, 0);
    buttons->setSpacing(6);
    DBNavigator1->setParent(row);
    buttons->addWidget(DBNavigator1);
    buttons->addStretch(1);
    btnsave = namedButton(QStringLiteral("btnsave"), QStringLiteral("保存"), row, kButtonWidth);
    btndelete = namedButton(QStringLiteral("btndelete"), QStringLiteral("删除"), row, kButtonWidth);
    btnquery = namedButton(QStringLiteral("btnquery"), QStringLiteral("查询"), row, kButtonWidth);
    btndj = namedButton(QStringLiteral("btndj"), QStringLiteral("单据"), row, kButtonWidth);
    btnprint = namedButton(QStringLiteral("btnprint"), QStringLiteral("打印"), row, kButtonWidth);
    for (QPushButton *b : {btnsave, btndelete, btnquery, btndj, btnprint})
        buttons->addWidget(b);
    return row;
}

void Tfrmqjdj::connectHandlers()
{
    connectHandler(DBGrid1, &ui::DBGrid::mouseUp, this, &Tfrmqjdj::DBGrid1MouseUp);
    onExit(ComboBox1, this, &Tfrmqjdj::ComboBox1Exit);
    onExit(ComboBox2, this, &Tfrmqjdj::ComboBox2Exit);
    connectHandler(btnsave, &QPushButton::clicked, this, &Tfrmqjdj::btnsaveClick);
    connectHandler(btndelete, &QPushButton::clicked, this, &Tfrmqjdj::btndeleteClick);
    connectHandler(btnquery, &QPushButton::clicked, this, &Tfrmqjdj::btnqueryClick);
    connectHandler(DBGrid1, &ui::DBGrid::dblClick, this, &Tfrmqjdj::DBGrid1DblClick);
    connectHandler(btndj, &QPushButton::clicked, this, &Tfrmqjdj::DBGrid1DblClick);
    connectHandler(btnprint, &QPushButton::clicked, this, &Tfrmqjdj::btnprintClick);
}

void Tfrmqjdj::FormCreate()
{
    list_->reload();
    ComboBox1->addItems(ctx_.lookupList(QStringLiteral("select whff from whb"), QStringLiteral("whff")));
    ComboBox3->addItems(ctx_.lookupList(QStringLiteral("select jymc from jyb"), QStringLiteral("jymc")));
    ComboBox1->setCurrentIndex(-1);
    ComboBox3->setCurrentIndex(-1);
}

// The form stays empty until a row is clicked.
void Tfrmqjdj::FormShow()
{
    if (list_->isEmpty())
        enableOrderButtons(false);
}

// On an empty list the form is emptied and shows the figures of no order.
void Tfrmqjdj::DBGrid1MouseUp()
{
    clearForm();
    try {
        copyCurrentOrder();
    } catch (const DbError &) {
        // A value that cannot be read ends the copying; the figures are worked out regardless.
    }
    showFigures();
}

void Tfrmqjdj::clearForm()
{
    for (QLineEdit *box : {edit1, edit2, edit8, edit9, edit3, edit4, static_cast<QLineEdit *>(edit5), edit6, edit7})
        box->clear();
    for (QComboBox *box : {ComboBox1, ComboBox2, ComboBox3})
        box->setEditText(QString());
    const QDate today = Clock::now().date();
    Date1->setDateKeepingTime(today);
    Date2->setDateKeepingTime(today);
}

void Tfrmqjdj::copyCurrentOrder()
{
    const auto col = [this](const char *name) { return list_->current(QString::fromLatin1(name)); };
    edit1->setText(col("wxdh"));
    const auto copy = [&col](const char *name, auto apply) {
        const QString value = col(name);
        if (!value.isEmpty())
            apply(value);
    };
    copy("whfs", [this](const QString &v) { ComboBox1->setEditText(v); });
    copy("fkfs", [this](const QString &v) { ComboBox2->setEditText(v); });
    copy("hfr", [this](const QString &v) { ComboBox3->setEditText(v); });
    copy("whqx", [this](const QString &v) { edit3->setText(v); });
    copy("qjr", [this](const QString &v) { edit4->setText(v); });
    copy("jjkx", [this](const QString &v) { edit5->setText(v); });
    copy("hfqk", [this](const QString &v) { edit6->setText(v); });
    copy("qjrq", [this](const QString &v) { Date1->setDateFromText(v); });
    copy("hfsj", [this](const QString &v) { Date2->setDateFromText(v); });
    copy("dj", [this](const QString &v) { edit8->setText(v); });
    copy("bz", [this](const QString &v) { edit7->setText(v); });
}

// Fee total and receivable in their shortest form; a fee or deposit stored as text that is no
// number counts 0, so the order can still be settled.
void Tfrmqjdj::showFigures()
{
    const auto col = [this](const char *name) { return list_->current(QString::fromLatin1(name)); };
    const double total = repair::feeTotal(col("wxf"), col("jcf"), col("smf"), col("ljf"));
    edit2->setText(repair::numberText(total));
    edit9->setText(edit2->text());
    if (!edit8->text().trimmed().isEmpty())
        edit9->setText(repair::numberText(repair::receivable(total, edit8->text())));
    else
        edit8->setText(kNoDeposit);
}

void Tfrmqjdj::ComboBox1Exit()
{
    const QString method = ComboBox1->currentText().trimmed();
    if (method.isEmpty())
        return;
    aqry_cx->Close();
    aqry_cx->setSql(QStringLiteral("select * from whb"));
    aqry_cx->Open();
    if (aqry_cx->Locate(QStringLiteral("whff"), method))
        edit3->setText(aqry_cx->asString(QStringLiteral("whqx")));
    aqry_cx->Close();
}

// The refund rule: a positive receivable is never refunded, a negative one always is.
void Tfrmqjdj::ComboBox2Exit()
{
    const QString payment = ComboBox2->currentText();
    if (payment.trimmed().isEmpty() || edit9->text().trimmed().isEmpty())
        return;
    const double due = repair::moneyValue(edit9->text());
    if (due > 0 && payment == kRefund) {
        msg::info(kRefundNotAllowed);
        ComboBox2->setFocus();
    } else if (due < 0 && payment != kRefund) {
        msg::info(kRefundRequired);
        ComboBox2->setFocus();
    }
}

// Writes into the order whose number the form shows, wherever the list's cursor has gone since.
void Tfrmqjdj::btnsaveClick()
{
    if (edit1->text().trimmed().isEmpty()) {
        msg::info(kChooseOrder);
        return;
    }
    if (!list_->goToOrder(edit1->text())) {
        msg::info(orderGone(edit1->text()));
        return;
    }
    ADOQuery1->Edit();
    writeAndPost(*ADOQuery1, [this] { writeSettlement(); });
    msg::info(kSaved);
    enableOrderButtons(true);
    ctx_.setStatus(status::kSaved);
}

void Tfrmqjdj::writeSettlement()
{
    Query &q = *ADOQuery1;
    q.setText(QStringLiteral("whfs"), ComboBox1->currentText());
    q.setText(QStringLiteral("fkfs"), ComboBox2->currentText());
    q.setText(QStringLiteral("hfr"), ComboBox3->currentText());
    q.setText(QStringLiteral("qjrq"), Date1->dateText());
    q.setText(QStringLiteral("hfsj"), Date2->dateText());
    q.setText(QStringLiteral("whqx"), edit3->text());
    q.setText(QStringLiteral("qjr"), edit4->text());
    q.setText(QStringLiteral("jjkx"), edit5->text());
    q.setText(QStringLiteral("hfqk"), edit6->text());
    q.setText(QStringLiteral("bz"), edit7->text());
}

void Tfrmqjdj::btndeleteClick()
{
    if (!mayDelete(ctx_, deletion::kConfirmRepair))
        return;
    ADOQuery1->Delete();
    ctx_.setStatus(status::kDeleted);
    if (list_->isEmpty())
        enableOrderButtons(false);
}

void Tfrmqjdj::btnqueryClick()
{
    showQueryDialog(ctx_, this, QueryTarget::Settlement);
}

TmldyForm *Tfrmqjdj::DBGrid1DblClick()
{
    return list_->printSheet();
}

TmldyForm *Tfrmqjdj::btnprintClick()
{
    return showPreview(repair::buildBusinessSheet(*ADOQuery1), window(),
                       pdfExportName(QStringLiteral("营业单"), Clock::now().date().toString(Qt::ISODate)));
}

void Tfrmqjdj::enableOrderButtons(bool enabled)
{
    btndelete->setEnabled(enabled);
    btndj->setEnabled(enabled);
}

}  // namespace korv
