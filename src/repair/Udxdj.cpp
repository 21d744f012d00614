// 待修登记: intake of units handed in for repair, as pending repair orders.
#include "repair/Udxdj.h"

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
#include "data/Values.h"
#include "repair/OrderList.h"
#include "repair/Receipt.h"
#include "repair/RepairRules.h"
#include "ui/DBGrid.h"
#include "ui/DBNavigator.h"

#include <QAbstractListModel>
#include <QComboBox>
#include <QGridLayout>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QVBoxLayout>

#include <algorithm>

namespace korv {

namespace {
constexpr int kListMinimumHeight = 110;
constexpr int kFieldsPerRow = 3;

const QString kSavedAdd = QStringLiteral(" 添加待修登记表保存成功！ ");
const QString kSavedEdit = QStringLiteral(" 修改待修登记表保存成功！ ");
const QString kDuplicate = QStringLiteral(" “单号”与派修或修复记录中的单号重复，请输入。 ");
const QString kEmptyList = QStringLiteral(" 待修登记列表无任何记录。 ");

QList<ui::GridColumn> listColumns()
{
    return {{"wxdh", "单号", 70},     {"jjy", "接机员", 60},     {"jjrq", "接机时间", 130},
            {"cpmc", "产品名称", 90}, {"lb", "品牌", 70},        {"xh", "型号", 70},
            {"xm", "客户姓名", 70},   {"dj", "订金", 60},        {"dz", "地址", 150},
            {"dh", "电话", 90},       {"yb", "邮编", 60},        {"jshm", "机身号码", 90},
            {"gmsd", "购买商店", 90}, {"gmrq", "购买日期", 80},  {"scwxy", "上次维修人", 70},
            {"scwxrq", "上次维修日期", 90}, {"gjyy", "故障原因", 150}, {"fj", "附件", 90},
            {"ys", "预算方案", 70},   {"bz", "备注", 150}};
}

void refill(QComboBox *box, QStringList items)
{
    items.removeDuplicates();
    box->clear();
    box->addItems(items);
    box->setCurrentIndex(-1);
    box->setEditText(QString());
}

// Puts the only entry of a pick list into its box.
void takeSingleEntry(QComboBox *box)
{
    if (box->count() == 1)
        box->setEditText(box->itemText(0));
}

QString textOrZero(const QLineEdit *box)
{
    return box->text().trimmed().isEmpty() ? QStringLiteral("0") : box->text();
}

QString productsLike(const QString &column, const QString &text)
{
    return QStringLiteral("select * from cpjbxx where %1 like %2").arg(column, sqlQuote(u'%' + text + u'%'));
}

// The shop's customer names for 客户姓名, trimmed, in table order. A big shop has tens of
// thousands: opening the window only counts them, and names are read in growing blocks as far
// down as the box looks (its first entry, the rows its drop-down shows).
class CustomerNames : public QAbstractListModel {
public:
    CustomerNames(Database &db, QObject *parent) : QAbstractListModel(parent), db_(db) {}

    int rowCount(const QModelIndex &parent = {}) const override
    {
        if (parent.isValid())
            return 0;
        if (count_ < 0)
            count_ = db_.scalar(QStringLiteral("select count(*) from khjbxx")).toInt();
        return count_;
    }

    QVariant data(const QModelIndex &index, int role) const override
    {
        if (!index.isValid() || (role != Qt::DisplayRole && role != Qt::EditRole) || index.row() >= rowCount())
            return {};
        readThrough(index.row());
        return names_.value(index.row());
    }

    // Only the names read so far are searched: reading the rest for a typed name would cost every
    // leaving of the box a read of every customer, and an entry not yet shown cannot be chosen.
    QModelIndexList match(const QModelIndex &start, int role, const QVariant &value, int hits,
                          Qt::MatchFlags flags) const override
    {
        if (flags != (Qt::MatchFixedString | Qt::MatchCaseSensitive) || hits != 1 || !start.isValid())
            return QAbstractListModel::match(start, role, value, hits, flags);
        const qsizetype row = names_.indexOf(value.toString(), start.row());
        return row < 0 ? QModelIndexList() : QModelIndexList{index(int(row))};
    }

private:
    static constexpr int kBlock = 256;

    void readThrough(int row) const
    {
        while (names_.size() <= row) {
            Query block(db_);
            // Each block as big as what was read before it: a box that reads far reads in few steps.
            const int size = std::max(kBlock, int(names_.size()));
            block.setSql(QStringLiteral("select rowid as k, khmc from khjbxx where rowid > %1 order by rowid limit %2")
                             .arg(lastKey_)
                             .arg(size));
            block.Open();
            for (block.First(); !block.Eof() && names_.size() < count_; block.Next()) {
                names_ << block.asString(QStringLiteral("khmc")).trimmed();
                lastKey_ = block.asInteger(QStringLiteral("k"));
            }
            // Customers deleted since the count leave blank entries rather than a list that shrinks.
            if (block.RecordCount() < size)
                names_.resize(count_);
        }
    }

    Database &db_;
    mutable int count_ = -1;
    mutable QStringList names_;
    mutable qint64 lastKey_ = 0;
};
}  // namespace

TFrmdxdj::TFrmdxdj(AppContext &ctx, QWidget *parent) : WorkWindow(ctx, WorkWindowKind::Dxdj, parent)
{
    setObjectName(QStringLiteral("TFrmdxdj"));
    setWindowTitle(QStringLiteral("待修登记"));
    list_ = new repair::OrderList(ctx, repair::OrderState::Pending, repair::OrderListNames::numbered(1),
                                  listColumns(), this);
    ADOQuery1 = list_->query();
    DBGrid1 = list_->grid();
    DBNavigator1 = list_->navigator();
    DBGrid1->setMinimumHeight(kListMinimumHeight);
    aqry_cx = new Query(ctx.db(), this);
    aqry_cx->setObjectName(QStringLiteral("aqry_cx"));

    auto *layout = new QVBoxLayout(this);
    layout->setContentsMargins(6, 6, 6, 6);
    layout->setSpacing(6);
    // The list takes what height the form and the buttons leave.
    layout->addWidget(DBGrid1, 1);
    layout->addWidget(buildForm());
    layout->addWidget(buildButtonRow());

    highlightBoxes({ComboBox1, ComboBox2, ComboBox3, ComboBox4, edit2, Date1, ComboBox5, ComboBox6, edit3, edit4,
                    edit5, ComboBox7, date2, edit6, ComboBox8, edit7, edit8, edit10, edit11, edit9});
    connectHandlers();
    runHandler([this] { FormCreate(); });
}

TFrmdxdj::~TFrmdxdj() = default;

QWidget *TFrmdxdj::buildForm()
{
    auto *form = new QWidget(this);
    ComboBox1 = pickList(QStringLiteral("ComboBox1"), form);
    ComboBox2 = pickList(QStringLiteral("ComboBox2"), form);
    ComboBox3 = pickList(QStringLiteral("ComboBox3"), form);
    ComboBox4 = pickList(QStringLiteral("ComboBox4"), form);
    edit2 = named(new QLineEdit(form), QStringLiteral("edit2"));
    Date1 = named(new DatePicker(DatePicker::Kind::Date, form), QStringLiteral("Date1"));
    ComboBox5 = named(new QComboBox(form), QStringLiteral("ComboBox5"));
    ComboBox5->addItems({repair::kInWarranty, repair::kOutOfWarranty});
    ComboBox5->setCurrentIndex(-1);
    ComboBox6 = pickList(QStringLiteral("ComboBox6"), form);
    edit3 = named(new QLineEdit(form), QStringLiteral("edit3"));
    edit4 = named(new QLineEdit(form), QStringLiteral("edit4"));
    edit5 = named(new QLineEdit(form), QStringLiteral("edit5"));
    ComboBox7 = pickList(QStringLiteral("ComboBox7"), form);
    date2 = named(new DatePicker(DatePicker::Kind::Date, form), QStringLiteral("date2"));
    edit6 = named(new QLineEdit(form), QStringLiteral("edit6"));
    ComboBox8 = pickList(QStringLiteral("ComboBox8"), form);
    date3 = named(new DatePicker(DatePicker::Kind::Date, form), QStringLiteral("date3"));
    edit7 = named(new QLineEdit(form), QStringLiteral("edit7"));
    edit8 = named(new MoneyEdit(form), QStringLiteral("edit8"));
    edit10 = named(new MoneyEdit(form), QStringLiteral("edit10"));
    edit11 = named(new MoneyEdit(form), QStringLiteral("edit11"));
    edit9 = named(new QLineEdit(form), QStringLiteral("edit9"));
    edit12 = named(new MoneyEdit(form), QStringLiteral("edit12"));

    auto *service = new QWidget(form);
    auto *serviceRow = new QHBoxLayout(service);
    serviceRow->setContentsMargins(0, 0, 0, 0);
    rbtn1 = named(new QRadioButton(repair::kOnSite, service), QStringLiteral("rbtn1"));
    rbtn2 = named(new QRadioButton(repair::kAtCounter, service), QStringLiteral("rbtn2"));
    rbtn1->setChecked(true);
    serviceRow->addWidget(rbtn1);
    serviceRow->addWidget(rbtn2);
    serviceRow->addStretch(1);

    edit1 = named(new QLineEdit(form), QStringLiteral("edit1"));
    edit1->setReadOnly(true);
    QPalette p = edit1->palette();
    p.setColor(QPalette::Base, kBackground);
    edit1->setPalette(p);

    const QList<QPair<QString, QWidget *>> fields = {
        {"产品名称", ComboBox1}, {"品    牌", ComboBox2},   {"型    号", ComboBox3},  {"购买商店", ComboBox4},
        {"机身号码", edit2},     {"购买日期", Date1},       {"保修情况", ComboBox5},  {"客户姓名", ComboBox6},
        {"电    话", edit3},     {"邮    编", edit4},       {"地    址", edit5},      {"上次维修人", ComboBox7},
        {"上次维修日期", date2}, {"故障原因", edit6},       {"接 机 员", ComboBox8},  {"接机时间", date3},
        {"附    件", edit7},     {"预算计划", edit8},       {"维修费", edit10},       {"上门费", edit11},
        {"备    注", edit9},     {"预交订金", edit12},      {"维修方式：", service},  {"单    号", edit1}};
    auto *grid = new QGridLayout(form);
    grid->setContentsMargins(0, 0, 0, 0);
    grid->setHorizontalSpacing(8);
    grid->setVerticalSpacing(5);
    for (int i = 0; i < fields.size(); ++i) {
        const int row = i / kFieldsPerRow;
        const int column = (i % kFieldsPerRow) * 2;
        auto *label = new QLabel(fields[i].first, form);
        label->setBuddy(fields[i].second);
        grid->addWidget(label, row, column);
        grid->addWidget(fields[i].second, row, column + 1);
        grid->setColumnStretch(column + 1, 1);
    }
    return form;
}

QWidget *TFrmdxdj::buildButtonRow()
{
    auto *row = new QWidget(this);
    auto *buttons = new QHBoxLayout(row);
    buttons->setContentsMargins(0, 0, 0, 0);
    buttons->addWidget(DBNavigator1);
    buttons->addStretch(1);
    const auto button = [row, buttons](const char *name, const char *text) {
        auto *b = namedButton(QString::fromLatin1(name), QString::fromUtf8(text), row);
        buttons->addWidget(b);
        return b;
    };
    btnadd = button("btnadd", "添加");
    btnedit = button("btnedit", "修改");
    btnsave = button("btnsave", "保存");
    btndelete = button("btndelete", "退还/删除");
    btnquery = button("btnquery", "查询");
    btndj = button("btndj", "单据");
    btnsj = button("btnsj", "收据");
    btnadd->setEnabled(false);
    btnsj->setEnabled(false);
    return row;
}

void TFrmdxdj::connectHandlers()
{
    connectHandler(btnadd, &QPushButton::clicked, this, &TFrmdxdj::btnaddClick);
    connectHandler(btnedit, &QPushButton::clicked, this, &TFrmdxdj::btneditClick);
    connectHandler(btnsave, &QPushButton::clicked, this, &TFrmdxdj::btnsaveClick);
    connectHandler(btndelete, &QPushButton::clicked, this, &TFrmdxdj::btndeleteClick);
    connectHandler(btnquery, &QPushButton::clicked, this, &TFrmdxdj::btnqueryClick);
    connectHandler(btndj, &QPushButton::clicked, this, &TFrmdxdj::DBGrid1DblClick);
    connectHandler(btnsj, &QPushButton::clicked, this, &TFrmdxdj::btnsjClick);
    connectHandler(DBGrid1, &ui::DBGrid::dblClick, this, &TFrmdxdj::DBGrid1DblClick);
    connectHandler(DBGrid1, &ui::DBGrid::mouseUp, this, &TFrmdxdj::DBGrid1MouseUp);
    onExit(ComboBox1, this, &TFrmdxdj::ComboBox1Exit);
    onExit(ComboBox2, this, &TFrmdxdj::ComboBox2Exit);
    onExit(ComboBox6, this, &TFrmdxdj::ComboBox6Exit);
}

void TFrmdxdj::FormCreate()
{
    fillPickLists();
}

// Products give each name, brand and model once; the other lists take every row's value.
void TFrmdxdj::fillPickLists()
{
    const QList<QStringList> products = ctx_.lookupLists(QStringLiteral("select cpmc, cppp, cpxh from cpjbxx"),
                                                         {QStringLiteral("cpmc"), QStringLiteral("cppp"),
                                                          QStringLiteral("cpxh")});
    refill(ComboBox1, products[0]);
    refill(ComboBox2, products[1]);
    refill(ComboBox3, products[2]);
    ComboBox4->addItems(ctx_.lookupList(QStringLiteral("select sjmc from sjjbxx"), QStringLiteral("sjmc")));
    const QStringList employees = ctx_.lookupList(QStringLiteral("select jymc from jyb"), QStringLiteral("jymc"));
    ComboBox7->addItems(employees);
    ComboBox8->addItems(employees);
    ComboBox6->setModel(new CustomerNames(ctx_.db(), ComboBox6));
    for (QComboBox *box : {ComboBox4, ComboBox6, ComboBox7, ComboBox8})
        box->setCurrentIndex(-1);
}

void TFrmdxdj::FormShow()
{
    btnaddClick();
    if (list_->isEmpty()) {
        btnedit->setEnabled(false);
        btndelete->setEnabled(false);
        btndj->setEnabled(false);
    }
}

bool TFrmdxdj::addMode() const
{
    return isAddMode(btnadd);
}

void TFrmdxdj::enterMode(bool add)
{
    setAddMode(btnadd, btnedit, add);
    DBGrid1->setAddModeLook(add);
    ctx_.setStatus(add ? status::kAddReady : status::kEditReady);
}

void TFrmdxdj::clearForm()
{
    for (QLineEdit *box : {edit1, edit2, edit3, edit4, edit5, edit6, edit7, edit9})
        box->clear();
    for (MoneyEdit *box : {edit8, edit10, edit11, edit12})
        box->clear();
    for (QComboBox *box : {ComboBox1, ComboBox2, ComboBox3, ComboBox4, ComboBox6, ComboBox7, ComboBox8})
        box->setEditText(QString());
    ComboBox5->setCurrentIndex(-1);
}

// The form as the next unit finds it: empty, the pickers on the current moment, 上门 chosen.
void TFrmdxdj::resetForNextUnit()
{
    const QString number = edit1->text();
    clearForm();
    edit1->setText(number);
    for (DatePicker *picker : {Date1, date2, date3})
        picker->setToNow();
    rbtn1->setChecked(true);
}

void TFrmdxdj::btnaddClick()
{
    edit1->clear();
    resetForNextUnit();
    list_->showUnfiltered();
    ADOQuery1->Last();
    edit1->setText(repair::proposeOrderNumber(ctx_.db(), ctx_.session.DeptCode));
    edit2->setFocus();
    btnsj->setEnabled(false);
    enterMode(true);
}

void TFrmdxdj::btneditClick()
{
    enterMode(false);
    if (list_->isEmpty())
        return;
    loadCurrentOrder();
    btnsj->setEnabled(true);
}

void TFrmdxdj::loadCurrentOrder()
{
    clearForm();
    const QDate today = Clock::now().date();
    Date1->setDateKeepingTime(today);
    date2->setDateKeepingTime(today);
    rbtn1->setChecked(true);

    const auto copy = [this](const char *column, auto *box) {
        const QString value = ADOQuery1->asString(QString::fromLatin1(column));
        if (!value.isEmpty())
            box->setText(value);
    };
    const auto copyPick = [this](const char *column, QComboBox *box) {
        const QString value = ADOQuery1->asString(QString::fromLatin1(column));
        if (!value.isEmpty())
            box->setEditText(value);
    };
    const auto copyDate = [this](const char *column, DatePicker *picker) {
        const QString value = ADOQuery1->asString(QString::fromLatin1(column));
        if (!value.isEmpty())
            picker->setDateFromText(value);
    };
    copy("wxdh", edit1);
    copyPick("cpmc", ComboBox1);
    copyPick("lb", ComboBox2);
    copyPick("xh", ComboBox3);
    copyPick("gmsd", ComboBox4);
    copy("jshm", edit2);
    copyPick("xm", ComboBox6);
    copy("dh", edit3);
    copy("yb", edit4);
    copy("dz", edit5);
    copyPick("scwxy", ComboBox7);
    copy("gjyy", edit6);
    copy("fj", edit7);
    copy("ys", edit8);
    copy("wxf", edit10);
    copy("smf", edit11);
    copy("dj", edit12);
    copyPick("jjy", ComboBox8);
    copy("bz", edit9);
    copyDate("gmrq", Date1);
    copyDate("scwxrq", date2);
    // A correction keeps the stored intake time unless the user changes its date.
    if (const QString jjrq = ADOQuery1->asString(QStringLiteral("jjrq")); !jjrq.isEmpty())
        date3->setFromText(jjrq);
    ComboBox5->setCurrentIndex(ComboBox5->findText(repair::intakeWarrantyText(ADOQuery1->asString("sfbx"))));
    const bool onSite = repair::isOnSiteService(ADOQuery1->asString("wxfs"));
    rbtn1->setChecked(onSite);
    rbtn2->setChecked(!onSite);
}

void TFrmdxdj::DBGrid1MouseUp()
{
    if (!list_->isEmpty())
        btnsj->setEnabled(true);
    if (addMode())
        return;
    if (list_->isEmpty())
        msg::info(kEmptyList);
    else
        loadCurrentOrder();
}

void TFrmdxdj::ComboBox1Exit()
{
    ComboBox1->setEditText(ComboBox1->currentText().trimmed());
    ComboBox2->setEditText(QString());
    ComboBox3->setEditText(QString());
    const QString name = ComboBox1->currentText();
    const QString sql = name.isEmpty() ? QStringLiteral("select * from cpjbxx") : productsLike("cpmc", name);
    const QList<QStringList> found = ctx_.lookupLists(sql, {QStringLiteral("cppp"), QStringLiteral("cpxh")});
    refill(ComboBox2, found[0]);
    refill(ComboBox3, found[1]);
    takeSingleEntry(ComboBox2);
    takeSingleEntry(ComboBox3);
}

void TFrmdxdj::ComboBox2Exit()
{
    ComboBox2->setEditText(ComboBox2->currentText().trimmed());
    ComboBox3->setEditText(QString());
    const QString brand = ComboBox2->currentText();
    const QString name = ComboBox1->currentText();
    QString sql = QStringLiteral("select * from cpjbxx");
    if (!brand.isEmpty())
        sql = productsLike("cppp", brand);
    else if (!name.isEmpty())
        sql = productsLike("cpmc", name);
    refill(ComboBox3, ctx_.lookupList(sql, QStringLiteral("cpxh")));
    takeSingleEntry(ComboBox3);
}

void TFrmdxdj::ComboBox6Exit()
{
    const QString name = ComboBox6->currentText().trimmed();
    if (name.isEmpty())
        return;
    aqry_cx->Close();
    aqry_cx->setSql(QStringLiteral("select * from khjbxx where khmc=") + sqlQuote(name));
    aqry_cx->Open();
    if (aqry_cx->RecordCount() == 1) {
        edit3->setText(aqry_cx->asString(QStringLiteral("lxdh")));
        edit4->setText(aqry_cx->asString(QStringLiteral("yb")));
        edit5->setText(aqry_cx->asString(QStringLiteral("dz")));
    }
    aqry_cx->Close();
}

bool TFrmdxdj::passesChecks()
{
    const QList<QPair<QWidget *, QString>> required = {
        {edit1, QStringLiteral(" “单号”不能为空，请选择添加或修改。 ")},
        {ComboBox1, QStringLiteral(" “产品名称”不能为空，请输入。 ")},
        {ComboBox6, QStringLiteral(" “客户姓名”不能为空，请输入。 ")},
        {ComboBox8, QStringLiteral(" “接机员”不能为空，请输入。 ")}};
    for (const auto &[box, message] : required) {
        const auto *combo = qobject_cast<QComboBox *>(box);
        const QString text = combo ? combo->currentText() : static_cast<QLineEdit *>(box)->text();
        if (text.isEmpty()) {
            msg::info(message);
            box->setFocus();
            return false;
        }
    }
    return true;
}

// A number another order already carries, perhaps saved meanwhile by a second copy of the program.
bool TFrmdxdj::numberRefused(const QString &number)
{
    if (!repair::orderNumberExists(ctx_.db(), number))
        return false;
    msg::info(kDuplicate);
    edit1->setFocus();
    return true;
}

// In edit mode the form is written into the order whose number it shows, wherever the list's
// cursor has gone since it was loaded.
bool TFrmdxdj::openOrderShown()
{
    if (list_->goToOrder(edit1->text()))
        return true;
    msg::info(QStringLiteral(" 单号为%1的记录已不在待修登记列表中，请重新选取。 ").arg(edit1->text().trimmed()));
    return false;
}

void TFrmdxdj::writeOrder()
{
    Query &q = *ADOQuery1;
    q.setText("wxdh", edit1->text().trimmed());
    q.setText("cpmc", ComboBox1->currentText());
    q.setText("lb", ComboBox2->currentText());
    q.setText("xh", ComboBox3->currentText());
    q.setText("gmsd", ComboBox4->currentText());
    q.setText("jshm", edit2->text());
    q.setText("gmrq", Date1->dateText());
    q.setText("sfbx", repair::warrantyFlagFromChoice(ComboBox5->currentText()));
    q.setText("xm", ComboBox6->currentText());
    q.setText("dh", edit3->text());
    q.setText("yb", edit4->text());
    q.setText("dz", edit5->text());
    q.setText("scwxy", ComboBox7->currentText());
    if (!ComboBox7->currentText().trimmed().isEmpty())
        q.setText("scwxrq", date2->dateText());
    q.setText("gjyy", edit6->text());
    q.setText("fj", edit7->text());
    q.setText("ys", textOrZero(edit8));
    q.setText("wxf", textOrZero(edit10));
    q.setText("smf", textOrZero(edit11));
    q.setText("dj", textOrZero(edit12));
    q.setText("jjrq", date3->dateTimeText());
    q.setText("jjy", ComboBox8->currentText());
    q.setText("bz", edit9->text());
    q.setText("wxfs", repair::serviceModeFlag(rbtn1->isChecked()));
}

// Writes and posts the order; a refused write leaves nothing half-made behind. An insert that
// lost its number to another copy of the program meanwhile gets the duplicate message.
bool TFrmdxdj::postOrder(bool add, const QString &number)
{
    try {
        writeAndPost(*ADOQuery1, [this] { writeOrder(); });
    } catch (const DbError &) {
        if (add && numberRefused(number))
            return false;
        throw;
    }
    return true;
}

void TFrmdxdj::btnsaveClick()
{
    if (!passesChecks())
        return;
    const bool add = addMode();
    const QString number = edit1->text().trimmed();
    if (add) {
        if (numberRefused(number))
            return;
        ADOQuery1->Append();
    } else {
        if (!openOrderShown())
            return;
        ADOQuery1->Edit();
    }
    if (!postOrder(add, number))
        return;

    if (add) {
        msg::info(kSavedAdd);
        if (!edit1->text().isEmpty())
            edit1->setText(repair::nextOrderNumberAfterSave(edit1->text()));
        resetForNextUnit();
        btnedit->setEnabled(true);
    } else {
        msg::info(kSavedEdit);
    }
    edit2->setFocus();
    afterListChange();
    ctx_.setStatus(status::kSaved);
}

void TFrmdxdj::afterListChange()
{
    const bool rows = !list_->isEmpty();
    btndelete->setEnabled(rows);
    btndj->setEnabled(rows);
    btnsj->setEnabled(rows);
}

void TFrmdxdj::btndeleteClick()
{
    if (!mayDelete(ctx_, deletion::kConfirmReturn))
        return;
    ADOQuery1->Delete();
    if (!addMode())
        edit1->clear();
    for (QLineEdit *box : {edit2, edit3, edit4, edit5, edit6, edit7})
        box->clear();
    ctx_.setStatus(status::kDeleted);
    if (list_->isEmpty())
        afterListChange();
}

void TFrmdxdj::btnqueryClick()
{
    showQueryDialog(ctx_, this, QueryTarget::Intake);
}

// 单号 is emptied too, so a save can only follow a click that loads an order.
void TFrmdxdj::resetAfterQuery(bool rows)
{
    for (QLineEdit *box : {edit1, edit2, edit3, edit4, edit5, edit6, edit7, edit9})
        box->clear();
    edit8->clear();
    for (QComboBox *box : {ComboBox1, ComboBox2, ComboBox3, ComboBox4, ComboBox6, ComboBox7, ComboBox8})
        box->setEditText(QString());
    ComboBox5->setCurrentIndex(-1);
    const QDate today = Clock::now().date();
    Date1->setDateKeepingTime(today);
    date2->setDateKeepingTime(today);
    setAddMode(btnadd, btnedit, false);
    DBGrid1->setAddModeLook(false);
    btndelete->setEnabled(rows);
}

TmldyForm *TFrmdxdj::DBGrid1DblClick()
{
    return list_->printSheet();
}

TmldyForm *TFrmdxdj::btnsjClick()
{
    if (list_->isEmpty())
        return nullptr;
    return repair::showReceipt(ctx_.db(), list_->current(QStringLiteral("wxdh")), this);
}

}  // namespace korv
