// The stock movement dialog: its two panels, its four modes and the guarded movement writes.
#include "inventory/Ubjcr.h"

#include "common/AppContext.h"
#include "common/Handlers.h"
#include "common/Messages.h"
#include "common/NumberBoxes.h"
#include "common/Placement.h"
#include "common/Widgets.h"
#include "common/WorkWindow.h"
#include "data/Database.h"
#include "data/Query.h"
#include "data/Values.h"
#include "inventory/Stock.h"
#include "inventory/StoreRules.h"
#include "masterdata/RecordWindow.h"
#include "ui/DBNavigator.h"

#include <QComboBox>
#include <QGridLayout>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QStackedLayout>
#include <QVBoxLayout>

namespace korv {

namespace {
const QString kZeroIn = QStringLiteral(" 领取入库的数量不能为0！ ");
const QString kZeroOut = QStringLiteral(" 领取出库的数量不能为0！ ");
const QString kOutAboveStock = QStringLiteral(" 备件出库的数量不能大于库存数量！ ");
const QString kInBelowZero = QStringLiteral(" 入库后的库存数量不能小于0，请检查入库数量。 ");
const QString kScrapped = QStringLiteral(" 该工具已被报废，不能借出。 ");
const QString kNoBorrower = QStringLiteral(" “借用人”不能为空，请输入。 ");

// The line of buttons under a panel: navigator, the action buttons at one place, 退出.
QHBoxLayout *buttonLine(ui::DBNavigator *navigator, QStackedLayout *actions, QPushButton *exit)
{
    auto *line = new QHBoxLayout;
    line->addWidget(navigator);
    line->addStretch(1);
    line->addLayout(actions);
    line->addWidget(exit);
    return line;
}

QPushButton *dialogButton(const QString &name, const QString &text, QWidget *parent)
{
    QPushButton *b = namedButton(name, text, parent, 64);
    b->setAutoDefault(false);
    return b;
}
}  // namespace

TFrmbjcr::TFrmbjcr(AppContext &ctx, Query *list, QWidget *parent)
    : QDialog(parent, Qt::Dialog | Qt::CustomizeWindowHint | Qt::WindowTitleHint | Qt::WindowCloseButtonHint),
      ctx_(ctx), list_(list)
{
    setObjectName(QStringLiteral("TFrmbjcr"));
    setModal(true);
    buildPartPanel();
    buildToolPanel();
    panels_ = new QStackedLayout(this);
    panels_->addWidget(Panel1);
    panels_->addWidget(Panel2);

    connectHandler(btnbjrk, &QPushButton::clicked, this, &TFrmbjcr::btnbjrkClick);
    connectHandler(btnbjck, &QPushButton::clicked, this, &TFrmbjcr::btnbjckClick);
    connectHandler(btngjck, &QPushButton::clicked, this, &TFrmbjcr::btngjckClick);
    connectHandler(btngjrk, &QPushButton::clicked, this, &TFrmbjcr::btngjrkClick);
    connect(btnexit1, &QPushButton::clicked, this, &QDialog::reject);
    connect(btnexit2, &QPushButton::clicked, this, &QDialog::reject);
    connectHandler(list_, &Query::currentChanged, this, &TFrmbjcr::showRecord);
    connectHandler(list_, &Query::rowChanged, this, &TFrmbjcr::showRecord);
    connectHandler(list_, &Query::rowsReset, this, &TFrmbjcr::showRecord);
    setFixedSize(340, 330);
    centreOnDesktop(this);
    setMode(Mode::StockIn);
}

QLineEdit *TFrmbjcr::boundField(Bound &bound, int number, const QString &column)
{
    auto *field = named(new QLineEdit(this), QStringLiteral("DBEdit%1").arg(number));
    field->setReadOnly(true);
    QPalette p = field->palette();
    p.setColor(QPalette::Base, WorkWindow::kBackground);
    field->setPalette(p);
    field->setFocusPolicy(Qt::ClickFocus);
    bound.append({field, column});
    return field;
}

void TFrmbjcr::buildPartPanel()
{
    Panel1 = named(new QWidget(this), QStringLiteral("Panel1"));
    auto *grid = new QGridLayout;
    Label1 = named(new QLabel(Panel1), QStringLiteral("Label1"));
    suiSpinEdit1 = named(new IntEdit(Panel1), QStringLiteral("suiSpinEdit1"));
    suiSpinEdit1->setText(QStringLiteral("0"));
    grid->addWidget(Label1, 0, 0);
    grid->addWidget(withStepButtons(suiSpinEdit1), 0, 1);
    const QList<QPair<QString, QString>> shown{
        {QStringLiteral("备件编号"), QStringLiteral("bh")},   {QStringLiteral("备件名称"), QStringLiteral("bjmc")},
        {QStringLiteral("型    号"), QStringLiteral("xh")},   {QStringLiteral("规    格"), QStringLiteral("gg")},
        {QStringLiteral("单    位"), QStringLiteral("dw")},   {QStringLiteral("数    量"), QStringLiteral("sl")},
        {QStringLiteral("平均单价"), QStringLiteral("pjdj")}, {QStringLiteral("库存金额"), QStringLiteral("kcjg")},
    };
    for (int i = 0; i < shown.size(); ++i) {
        grid->addWidget(new QLabel(shown[i].first, Panel1), i + 1, 0);
        grid->addWidget(boundField(partFields_, i + 1, shown[i].second), i + 1, 1);
    }
    DBNavigator1 = named(new ui::DBNavigator(Panel1), QStringLiteral("DBNavigator1"));
    DBNavigator1->setQuery(list_);
    btnbjrk = dialogButton(QStringLiteral("btnbjrk"), QStringLiteral("入库"), Panel1);
    btnbjck = dialogButton(QStringLiteral("btnbjck"), QStringLiteral("出库"), Panel1);
    btnexit1 = dialogButton(QStringLiteral("btnexit1"), QStringLiteral("退出"), Panel1);
    partAction_ = new QStackedLayout;
    partAction_->addWidget(btnbjrk);
    partAction_->addWidget(btnbjck);
    auto *panel = new QVBoxLayout(Panel1);
    panel->addLayout(grid);
    panel->addStretch(1);
    panel->addLayout(buttonLine(DBNavigator1, partAction_, btnexit1));
}

void TFrmbjcr::buildToolPanel()
{
    Panel2 = named(new QWidget(this), QStringLiteral("Panel2"));
    auto *grid = new QGridLayout;
    ComboBox1 = pickList(QStringLiteral("ComboBox1"), Panel2);
    DBEdit9 = boundField(toolFields_, 9, QStringLiteral("jyr"));
    grid->addWidget(new QLabel(QStringLiteral("借 用 人"), Panel2), 0, 0);
    grid->addWidget(ComboBox1, 0, 1);
    grid->addWidget(DBEdit9, 0, 1);
    const QList<QPair<QString, QString>> shown{
        {QStringLiteral("工具编号"), QStringLiteral("bh")}, {QStringLiteral("工具名称"), QStringLiteral("gjmc")},
        {QStringLiteral("工具型号"), QStringLiteral("xh")}, {QStringLiteral("工具规格"), QStringLiteral("gg")},
        {QStringLiteral("使用状态"), QStringLiteral("syzt")}, {QStringLiteral("详细说明"), QStringLiteral("xxsm")},
    };
    for (int i = 0; i < shown.size(); ++i) {
        grid->addWidget(new QLabel(shown[i].first, Panel2), i + 1, 0);
        grid->addWidget(boundField(toolFields_, i + 10, shown[i].second), i + 1, 1);
    }
    DBNavigator2 = named(new ui::DBNavigator(Panel2), QStringLiteral("DBNavigator2"));
    DBNavigator2->setQuery(list_);
    btngjck = dialogButton(QStringLiteral("btngjck"), QStringLiteral("借出"), Panel2);
    btngjrk = dialogButton(QStringLiteral("btngjrk"), QStringLiteral("归还"), Panel2);
    btnexit2 = dialogButton(QStringLiteral("btnexit2"), QStringLiteral("退出"), Panel2);
    toolAction_ = new QStackedLayout;
    toolAction_->addWidget(btngjck);
    toolAction_->addWidget(btngjrk);
    auto *panel = new QVBoxLayout(Panel2);
    panel->addLayout(grid);
    panel->addStretch(1);
    panel->addLayout(buttonLine(DBNavigator2, toolAction_, btnexit2));
}

void TFrmbjcr::setMode(Mode mode)
{
    mode_ = mode;
    const bool parts = mode == Mode::StockIn || mode == Mode::StockOut;
    panels_->setCurrentWidget(parts ? Panel1 : Panel2);
    partAction_->setCurrentWidget(mode == Mode::StockOut ? btnbjck : btnbjrk);
    toolAction_->setCurrentWidget(mode == Mode::Return ? btngjrk : btngjck);
    switch (mode) {
    case Mode::StockIn:
        setWindowTitle(QStringLiteral("备件入库"));
        Label1->setText(QStringLiteral("入库数量"));
        break;
    case Mode::StockOut:
        setWindowTitle(QStringLiteral("备件出库"));
        Label1->setText(QStringLiteral("出库数量"));
        break;
    case Mode::Lend:
        setWindowTitle(QStringLiteral("借出工具"));
        break;
    case Mode::Return:
        setWindowTitle(QStringLiteral("归还工具"));
        break;
    }
    ComboBox1->setVisible(mode == Mode::Lend);
    DBEdit9->setVisible(mode == Mode::Return);
    showRecord();
    (parts ? static_cast<QWidget *>(suiSpinEdit1) : ComboBox1)->setFocus();
}

// The fields follow the opener's current record. Only one panel's columns are in the opener's
// table; the other panel stays empty.
void TFrmbjcr::showRecord()
{
    const bool hasRecord = list_->isOpen() && list_->RecordCount() > 0 && list_->RecNo() >= 0;
    for (const Bound *bound : {&partFields_, &toolFields_})
        for (const auto &[field, column] : *bound)
            field->setText(hasRecord && list_->columnIndex(column) >= 0 ? list_->asString(column) : QString());
}

void TFrmbjcr::requireRecord() const
{
    if (list_->isOpen() && list_->RecordCount() > 0 && list_->RecNo() >= 0)
        return;
    const bool parts = mode_ == Mode::StockIn || mode_ == Mode::StockOut;
    throw DbError(parts ? QStringLiteral(" 备件库存列表中没有当前记录。 ") : QStringLiteral(" 工具库存列表中没有当前记录。 "));
}

qint64 TFrmbjcr::typedQuantity() const
{
    const QString text = suiSpinEdit1->text();
    const std::optional<qint64> quantity = parseWholeNumber(text);
    if (!quantity)
        throw DbError(QStringLiteral("“%1”不是有效的整数，请重新输入数量。").arg(text));
    return *quantity;
}

void TFrmbjcr::refuse(const QString &text, QWidget *focus)
{
    msg::info(text);
    if (focus)
        focus->setFocus();
}

void TFrmbjcr::btnbjrkClick()
{
    if (suiSpinEdit1->text() == QLatin1String("0"))
        return refuse(kZeroIn, suiSpinEdit1);
    requireRecord();
    moveStock(typedQuantity(), kInBelowZero);
}

void TFrmbjcr::btnbjckClick()
{
    if (suiSpinEdit1->text() == QLatin1String("0"))
        return refuse(kZeroOut, suiSpinEdit1);
    requireRecord();
    moveStock(-typedQuantity(), kOutAboveStock);
}

// The database adds to the quantity it holds, so a change made meanwhile elsewhere (another
// copy of the program, a spare-part issue) is kept; the list then shows the stored row.
void TFrmbjcr::moveStock(qint64 delta, const QString &refusal)
{
    switch (stock::changeQuantity(ctx_.db(), list_->asString(QStringLiteral("bh")), delta)) {
    case stock::StockChange::Done:
        showStoredRow();
        accept();
        return;
    case stock::StockChange::Short:
        showStoredRow();
        return refuse(refusal, suiSpinEdit1);
    case stock::StockChange::Gone:
        reopenList();
        return refuse(StaleRecordError::message(), nullptr);
    }
}

void TFrmbjcr::btngjckClick()
{
    requireRecord();
    const QString state = list_->asString(QStringLiteral("syzt"));
    if (state == store::kScrapped)
        return refuse(kScrapped, nullptr);
    if (ComboBox1->currentText().trimmed().isEmpty())
        return refuse(kNoBorrower, ComboBox1);
    const QString caption = toolCaption();
    if (!store::lendTool(ctx_.db(), list_->asString(QStringLiteral("bh")), state, ComboBox1->currentText())) {
        reopenList();
        return refuse(StaleRecordError::message(), nullptr);
    }
    showStoredRow();
    msg::info(caption + QStringLiteral("借出成功。 "));
    accept();
}

void TFrmbjcr::btngjrkClick()
{
    requireRecord();
    const QString caption = toolCaption();
    if (!store::returnTool(ctx_.db(), list_->asString(QStringLiteral("bh")), list_->asString(QStringLiteral("syzt")))) {
        reopenList();
        return refuse(StaleRecordError::message(), nullptr);
    }
    showStoredRow();
    msg::info(caption + QStringLiteral("归还成功。 "));
    accept();
}

// "工具" + name + "（" + number + "）", the start of the lend and return texts.
QString TFrmbjcr::toolCaption() const
{
    return QStringLiteral("工具") + list_->asString(QStringLiteral("gjmc")) + QStringLiteral("（")
           + list_->asString(QStringLiteral("bh")) + QStringLiteral("）");
}

// Posting the unchanged current record reads it back from the file, at the cost of one row. A
// list that cannot be posted to is read again whole.
void TFrmbjcr::showStoredRow()
{
    try {
        list_->Edit();
        list_->Post();
    } catch (const DbError &) {
        list_->Cancel();
        reopenList();
    }
}

// The row is gone or no longer what the list shows: the list is read again, staying near the
// row it was on.
void TFrmbjcr::reopenList()
{
    const QString bh = list_->asString(QStringLiteral("bh"));
    const int row = list_->RecNo();
    list_->Close();
    list_->Open();
    if (list_->RecordCount() == 0 || list_->Locate(QStringLiteral("bh"), bh))
        return;
    list_->moveTo(std::min(row, list_->RecordCount() - 1));
}

}  // namespace korv
