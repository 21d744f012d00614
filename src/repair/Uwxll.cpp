// 领取备件: the stock list, the issue checks, the stock decrement and the issue text's write-back.
#include "repair/Uwxll.h"

#include "common/AppContext.h"
#include "common/Handlers.h"
#include "common/Messages.h"
#include "common/NumberBoxes.h"
#include "common/Placement.h"
#include "common/Widgets.h"
#include "data/Database.h"
#include "data/Query.h"
#include "data/Values.h"
#include "inventory/Stock.h"
#include "inventory/StoreRules.h"
#include "repair/OrderList.h"
#include "ui/DBGrid.h"
#include "ui/DBNavigator.h"

#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QRegularExpressionValidator>
#include <QVBoxLayout>

namespace korv {

namespace repair {

QString issueEntry(const QString &bjmc, const QString &bh, const QString &quantity, const QString &dw)
{
    return bjmc + QLatin1Char('(') + bh + QLatin1Char(')') + quantity + dw;
}

QString addIssue(const QString &issueText, const QString &entry)
{
    if (issueText == kNoPartsIssued)
        return entry;
    return issueText + QStringLiteral(", ") + entry;
}

}  // namespace repair

namespace {

const QString kBh = QStringLiteral("bh");
const QString kBjmc = QStringLiteral("bjmc");
const QString kDw = QStringLiteral("dw");
const QString kSl = QStringLiteral("sl");

const QString kZeroQuantity = QStringLiteral(" 领取备件的数量不能为0！ ");
const QString kNegativeQuantity = QStringLiteral(" 领取数量必须大于零，请重新输入。 ");
const QString kAboveStock = QStringLiteral(" 领取备件的数量不能大于库存数量！ ");
const QString kConfirmIssue = QStringLiteral("领取后备件库存数将被减去相应的数量，真的领取备件吗？ ");
const QString kNoStock = QStringLiteral("当前没有任何的备件库存记录");

}  // namespace

TFrmwxll::TFrmwxll(AppContext &ctx, QWidget *parent) : QDialog(parent), ctx_(ctx)
{
    setObjectName(QStringLiteral("TFrmwxll"));
    setWindowTitle(QStringLiteral("领取备件"));
    setModal(true);

    ADOQuery1 = named(new Query(ctx.db(), this), QStringLiteral("ADOQuery1"));
    ADOQuery1->setSql(QStringLiteral("select * from bjkc order by bh"));
    DBGrid1 = named(new ui::DBGrid(this), QStringLiteral("DBGrid1"));
    DBGrid1->setColumns({{kBh, QStringLiteral("编号"), 60},
                         {kBjmc, QStringLiteral("备件名称"), 100},
                         {QStringLiteral("xh"), QStringLiteral("型号"), 70},
                         {QStringLiteral("gg"), QStringLiteral("规格"), 70},
                         {kDw, QStringLiteral("单位"), 40},
                         {kSl, QStringLiteral("数量"), 50},
                         {QStringLiteral("pjdj"), QStringLiteral("平均单价"), 70},
                         {QStringLiteral("kcjg"), QStringLiteral("库存金额"), 70},
                         {QStringLiteral("tssx"), QStringLiteral("提示上限"), 70},
                         {QStringLiteral("tsxx"), QStringLiteral("提示下限"), 70}});
    DBGrid1->setQuery(ADOQuery1);
    DBGrid1->setRowBackground(store::lowStockRows(ADOQuery1));
    DBNavigator1 = named(new ui::DBNavigator(this), QStringLiteral("DBNavigator1"));
    DBNavigator1->setQuery(ADOQuery1);

    Lab1 = named(new QLabel(this), QStringLiteral("Lab1"));
    lab3 = named(new QLabel(this), QStringLiteral("lab3"));
    suiSpinEdit1 = named(new IntEdit(this), QStringLiteral("suiSpinEdit1"));
    // Unlike other whole-number boxes this one takes a sign; 领取 refuses what is not above 0.
    suiSpinEdit1->setValidator(
        new QRegularExpressionValidator(QRegularExpression(QStringLiteral(R"(-?\d{0,9})")), suiSpinEdit1));
    suiSpinEdit1->setText(QStringLiteral("0"));
    Memo1 = named(new QPlainTextEdit(this), QStringLiteral("Memo1"));
    Memo1->setReadOnly(true);
    Memo1->setPlainText(repair::kNoPartsIssued);
    btnbjck = named(new QPushButton(QStringLiteral("领取"), this), QStringLiteral("btnbjck"));
    btnprint = named(new QPushButton(QStringLiteral("退出"), this), QStringLiteral("btnprint"));
    btnbjck->setAutoDefault(false);
    btnprint->setAutoDefault(false);
    buildLayout();

    connectHandler(DBGrid1, &ui::DBGrid::mouseUp, this, &TFrmwxll::DBGrid1MouseUp);
    connectHandler(btnbjck, &QPushButton::clicked, this, &TFrmwxll::btnbjckClick);
    connectHandler(btnprint, &QPushButton::clicked, this, &TFrmwxll::btnprintClick);
    resize(680, 420);
    centreOnDesktop(this);
    runHandler([this] { FormCreate(); });
}

void TFrmwxll::buildLayout()
{
    auto *quantity = new QHBoxLayout;
    quantity->addWidget(new QLabel(QStringLiteral("领取备件数量"), this));
    quantity->addWidget(suiSpinEdit1);
    quantity->addStretch(1);
    quantity->addWidget(DBNavigator1);

    auto *buttons = new QHBoxLayout;
    buttons->addStretch(1);
    buttons->addWidget(btnbjck);
    buttons->addWidget(btnprint);

    Memo1->setFixedHeight(60);
    auto *whole = new QVBoxLayout(this);
    whole->addWidget(DBGrid1, 1);
    whole->addWidget(Lab1);
    whole->addLayout(quantity);
    whole->addWidget(lab3);
    whole->addWidget(Memo1);
    whole->addLayout(buttons);
}

void TFrmwxll::setOrder(repair::OrderList *orders, QLineEdit *issueBox)
{
    orders_ = orders;
    issueBox_ = issueBox;
    wxdh_ = orders->current(QStringLiteral("wxdh"));
    storedIssueText_ = orders->current(QStringLiteral("ylbj"));
    lab3->setText(QStringLiteral("派修单号") + wxdh_ + QStringLiteral("的备件领取情况"));
    if (!issueBox->text().isEmpty())
        Memo1->setPlainText(issueBox->text());
}

QString TFrmwxll::issueText() const
{
    return Memo1->toPlainText();
}

void TFrmwxll::FormCreate()
{
    ADOQuery1->Open();
    if (ADOQuery1->RecordCount() == 0) {
        Lab1->setText(kNoStock);
        return;
    }
    ADOQuery1->First();
    showSelectionLabel();
}

void TFrmwxll::showSelectionLabel()
{
    Lab1->setText(QStringLiteral("当前选取的备件：编号") + ADOQuery1->asString(kBh) + QStringLiteral("，名称") +
                  ADOQuery1->asString(kBjmc) + QStringLiteral("，数量") +
                  QString::number(ADOQuery1->asInteger(kSl)) + ADOQuery1->asString(kDw) + QStringLiteral("。"));
}

void TFrmwxll::DBGrid1MouseUp()
{
    suiSpinEdit1->setText(QStringLiteral("0"));
    try {
        if (ADOQuery1->RecordCount() > 0)
            showSelectionLabel();
    } catch (const DbError &) {
        // A stock row whose quantity is no number keeps the label it had.
    }
}

bool TFrmwxll::checkQuantity(qint64 &quantity)
{
    const QString text = suiSpinEdit1->text();
    const auto parsed = parseWholeNumber(text);
    if (text == QStringLiteral("0") || (parsed && *parsed == 0)) {
        msg::info(kZeroQuantity);
        suiSpinEdit1->setFocus();
        return false;
    }
    if (!parsed)
        throw DbError(QStringLiteral("“%1”不是有效的整数值。").arg(text));
    if (*parsed < 0) {
        msg::info(kNegativeQuantity);
        suiSpinEdit1->setFocus();
        return false;
    }
    if (*parsed > ADOQuery1->asInteger(kSl)) {
        msg::info(kAboveStock);
        suiSpinEdit1->setFocus();
        return false;
    }
    quantity = *parsed;
    return true;
}

void TFrmwxll::btnbjckClick()
{
    qint64 quantity = 0;
    if (!checkQuantity(quantity))
        return;
    if (!msg::confirm(kConfirmIssue))
        return;
    const QString bh = ADOQuery1->asString(kBh);
    const QString text = repair::addIssue(issueText(), repair::issueEntry(ADOQuery1->asString(kBjmc), bh,
                                                                         suiSpinEdit1->text(),
                                                                         ADOQuery1->asString(kDw)));
    stock::StockChange change = stock::StockChange::Done;
    try {
        change = issue(bh, quantity, text);
    } catch (const StaleRecordError &) {
        followStoredIssueText();
        throw;
    }
    showStock(bh);
    if (change == stock::StockChange::Gone)
        throw StaleRecordError();
    if (change == stock::StockChange::Short) {
        msg::info(kAboveStock);
        suiSpinEdit1->setFocus();
        return;
    }
    Memo1->setPlainText(text);
    if (orders_) {
        orders_->reopen();
        orders_->goToOrder(wxdh_);
    }
}

// The stock and the order's issue text in one transaction: a part taken from stock is never
// missing from its order, and an order that is gone or was changed meanwhile takes no part.
stock::StockChange TFrmwxll::issue(const QString &bh, qint64 quantity, const QString &text)
{
    Transaction step(ctx_.db());
    const stock::StockChange change = stock::changeQuantity(ctx_.db(), bh, -quantity);
    if (change != stock::StockChange::Done)
        return change;
    if (orders_) {
        const int changed = ctx_.db().run(QStringLiteral("update jjdb set ylbj = ?1 where wxdh = ?2 and wxzt = 1"
                                                         " and coalesce(ylbj, '') = ?3"),
                                          {text, wxdh_, storedIssueText_});
        if (changed != 1)
            throw StaleRecordError();
    }
    step.commit();
    if (orders_)
        storedIssueText_ = text;
    return change;
}

// The stock list shows the file's quantities again, on the part just issued.
void TFrmwxll::showStock(const QString &bh)
{
    ADOQuery1->Close();
    ADOQuery1->Open();
    ADOQuery1->Locate(kBh, bh);
}

// After a refused write the window goes on from the order's issue text as stored now.
void TFrmwxll::followStoredIssueText()
{
    if (!orders_)
        return;
    const auto stored = ctx_.db().firstValue(QStringLiteral("select coalesce(ylbj, '') from jjdb where wxdh = ?1"),
                                             {wxdh_});
    if (!stored)
        return;
    storedIssueText_ = *stored;
    Memo1->setPlainText(stored->isEmpty() ? repair::kNoPartsIssued : *stored);
    orders_->reopen();
    orders_->goToOrder(wxdh_);
}

void TFrmwxll::btnprintClick()
{
    close();
}

// Each issue has already stored the issue text on the order; the dispatch form learns it here.
void TFrmwxll::FormClose()
{
    const QString text = issueText();
    if (text == repair::kNoPartsIssued || !orders_)
        return;
    issueBox_->setText(text);
}

void TFrmwxll::done(int result)
{
    if (!closed_) {
        closed_ = true;
        runHandler([this] { FormClose(); });
    }
    QDialog::done(result);
}

}  // namespace korv
