// 初始设置: the dictionaries' add/edit/save/delete and the three settings of the shop.
#include "settings/Uzdwh.h"

#include "common/AppContext.h"
#include "common/Conventions.h"
#include "common/Handlers.h"
#include "common/Messages.h"
#include "common/NumberBoxes.h"
#include "common/Placement.h"
#include "common/Widgets.h"
#include "data/Query.h"
#include "ui/DBGrid.h"
#include "ui/DBNavigator.h"

#include <QComboBox>
#include <QGridLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QHeaderView>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QSignalBlocker>
#include <QStyledItemDelegate>
#include <QTabWidget>
#include <QVBoxLayout>
#include <functional>

namespace korv {

namespace {

// The dictionaries' lists show every cell centred.
class CentredCells : public QStyledItemDelegate {
public:
    using QStyledItemDelegate::QStyledItemDelegate;

protected:
    void initStyleOption(QStyleOptionViewItem *option, const QModelIndex &index) const override
    {
        QStyledItemDelegate::initStyleOption(option, index);
        option->displayAlignment = Qt::AlignCenter;
    }
};

QStringList departmentCodes()
{
    QStringList codes;
    for (int i = 1; i <= 20; ++i)
        codes << QStringLiteral("%1").arg(i, 2, 10, QLatin1Char('0'));
    return codes;
}

// An editable drop-down of the codes "01" … "20" that starts empty. Typed codes are not added
// to the list, and typing is not completed inline, which would turn "1" into "10".
QComboBox *codeBox(const QString &name, QWidget *parent)
{
    QComboBox *box = pickList(name, parent);
    box->addItems(departmentCodes());
    clearPick(box);
    return box;
}

ui::DBGrid *dictionaryGrid(const QString &name, QWidget *parent)
{
    auto *grid = named(new ui::DBGrid(parent), name);
    grid->setItemDelegate(new CentredCells(grid));
    grid->horizontalHeader()->setDefaultAlignment(Qt::AlignCenter);
    grid->horizontalHeader()->setStretchLastSection(true);
    return grid;
}

// Navigator on the left, the five buttons on the right.
QHBoxLayout *buttonRow(ui::DBNavigator *navigator, const QList<QPushButton *> &buttons)
{
    auto *row = new QHBoxLayout;
    row->addWidget(navigator);
    row->addStretch(1);
    for (QPushButton *b : buttons)
        row->addWidget(b);
    return row;
}

const QString kWhff = QStringLiteral("whff");
const QString kWhqx = QStringLiteral("whqx");
const QString kYear = QStringLiteral("Year");
const QString kMonth = QStringLiteral("Month");
const QString kBmdh = QStringLiteral("bmdh");
const QString kBmmc = QStringLiteral("bmmc");
const QString kSm = QStringLiteral("sm");

}  // namespace

QString maintenancePeriodText(const QString &years, const QString &months)
{
    const bool hasYears = !years.trimmed().isEmpty();
    const bool hasMonths = !months.trimmed().isEmpty();
    if (hasYears && hasMonths)
        return years + QStringLiteral("年") + months + QStringLiteral("月");
    if (hasYears)
        return years + QStringLiteral("年");
    if (hasMonths)
        return months + QStringLiteral("月");
    return QString();
}

TFrmzdwh::TFrmzdwh(AppContext &ctx, QWidget *parent)
    : QDialog(parent),
      ADOQuery1(named(new Query(ctx.db(), this), QStringLiteral("ADOQuery1"))),
      ADOQuery2(named(new Query(ctx.db(), this), QStringLiteral("ADOQuery2"))),
      ADOQuery3(named(new Query(ctx.db(), this), QStringLiteral("ADOQuery3"))),
      ctx_(ctx)
{
    setObjectName(QStringLiteral("TFrmzdwh"));
    setWindowTitle(QStringLiteral("初始设置"));
    setModal(true);

    PageControl1 = named(new QTabWidget(this), QStringLiteral("PageControl1"));
    PageControl1->addTab(buildDepartmentTab(), QStringLiteral("部门信息"));
    PageControl1->addTab(buildMaintenanceTab(), QStringLiteral("售后维护"));
    PageControl1->addTab(buildSettingsTab(), QStringLiteral("初始设置"));
    PageControl1->setCurrentIndex(0);
    auto *whole = new QVBoxLayout(this);
    whole->addWidget(PageControl1);
    setFixedSize(620, 440);
    centreOnDesktop(this);

    departments_ = {ADOQuery1, DBGrid1, btnadd, btnedit, btndelete,
                    {edit1, edit2, ComboBox1->lineEdit()}, {edit1, edit2}, edit1, -1, {}};
    terms_ = {ADOQuery2, DBGrid2, btnadd2, btnedit2, btndelete2,
              {edit3, edit4, edit5}, {edit3, edit4, edit5}, edit3, -1, {}};

    connectHandlers();
    openQueries();
    for (DictionaryTab *tab : {&departments_, &terms_}) {
        setAddMode(tab->add, tab->edit, true);
        tab->grid->setAddModeLook(true);
        tab->changes.setBoxes({tab->entries.begin(), tab->entries.end()});
    }
    ui::tabToSave(edit2, btnsave);
    ui::tabToSave(edit5, btnsave2);
}

QWidget *TFrmzdwh::buildDepartmentTab()
{
    TabSheet1 = named(new QWidget, QStringLiteral("TabSheet1"));
    ComboBox1 = codeBox(QStringLiteral("ComboBox1"), TabSheet1);
    edit1 = named(new QLineEdit(TabSheet1), QStringLiteral("edit1"));
    edit2 = named(new QLineEdit(TabSheet1), QStringLiteral("edit2"));
    auto *boxes = new QGridLayout;
    boxes->addWidget(new QLabel(QStringLiteral("部门代号"), TabSheet1), 0, 0);
    boxes->addWidget(ComboBox1, 0, 1);
    boxes->addWidget(new QLabel(QStringLiteral("部门名称"), TabSheet1), 0, 2);
    boxes->addWidget(edit1, 0, 3);
    boxes->addWidget(new QLabel(QStringLiteral("详细说明"), TabSheet1), 1, 0);
    boxes->addWidget(edit2, 1, 1, 1, 3);
    boxes->setColumnStretch(1, 1);
    boxes->setColumnStretch(3, 2);

    DBNavigator1 = named(new ui::DBNavigator(TabSheet1), QStringLiteral("DBNavigator1"));
    btnadd = namedButton(QStringLiteral("btnadd"), QStringLiteral("添加"), TabSheet1);
    btnedit = namedButton(QStringLiteral("btnedit"), QStringLiteral("修改"), TabSheet1);
    btnsave = namedButton(QStringLiteral("btnsave"), QStringLiteral("保存"), TabSheet1);
    btndelete = namedButton(QStringLiteral("btndelete"), QStringLiteral("删除"), TabSheet1);
    btnexit = namedButton(QStringLiteral("btnexit"), QStringLiteral("退出"), TabSheet1);

    DBGrid1 = dictionaryGrid(QStringLiteral("DBGrid1"), TabSheet1);
    DBGrid1->setColumns({{kBmdh, QStringLiteral("部门代号"), 90},
                         {kBmmc, QStringLiteral("部门名称"), 160},
                         {kSm, QStringLiteral("详细说明"), 280}});

    auto *page = new QVBoxLayout(TabSheet1);
    page->addLayout(boxes);
    page->addLayout(buttonRow(DBNavigator1, {btnadd, btnedit, btnsave, btndelete, btnexit}));
    page->addWidget(DBGrid1, 1);
    return TabSheet1;
}

QWidget *TFrmzdwh::buildMaintenanceTab()
{
    TabSheet2 = named(new QWidget, QStringLiteral("TabSheet2"));
    edit3 = named(new QLineEdit(TabSheet2), QStringLiteral("edit3"));
    edit4 = named(new IntEdit(TabSheet2), QStringLiteral("edit4"));
    edit5 = named(new IntEdit(TabSheet2), QStringLiteral("edit5"));
    auto *boxes = new QGridLayout;
    boxes->addWidget(new QLabel(QStringLiteral("维护方法"), TabSheet2), 0, 0);
    boxes->addWidget(edit3, 0, 1, 1, 4);
    boxes->addWidget(new QLabel(QStringLiteral("维护期限"), TabSheet2), 1, 0);
    boxes->addWidget(edit4, 1, 1);
    boxes->addWidget(new QLabel(QStringLiteral("（年）"), TabSheet2), 1, 2);
    boxes->addWidget(edit5, 1, 3);
    boxes->addWidget(new QLabel(QStringLiteral("（月）"), TabSheet2), 1, 4);
    boxes->setColumnStretch(5, 1);
    for (IntEdit *box : {edit4, edit5})
        box->setFixedWidth(80);

    DBNavigator2 = named(new ui::DBNavigator(TabSheet2), QStringLiteral("DBNavigator2"));
    btnadd2 = namedButton(QStringLiteral("btnadd2"), QStringLiteral("添加"), TabSheet2);
    btnedit2 = namedButton(QStringLiteral("btnedit2"), QStringLiteral("修改"), TabSheet2);
    btnsave2 = namedButton(QStringLiteral("btnsave2"), QStringLiteral("保存"), TabSheet2);
    btndelete2 = namedButton(QStringLiteral("btndelete2"), QStringLiteral("删除"), TabSheet2);
    suiButton5 = namedButton(QStringLiteral("suiButton5"), QStringLiteral("退出"), TabSheet2);

    DBGrid2 = dictionaryGrid(QStringLiteral("DBGrid2"), TabSheet2);
    DBGrid2->setColumns({{kWhff, QStringLiteral("维护方法"), 300}, {kWhqx, QStringLiteral("维护期限"), 200}});

    auto *page = new QVBoxLayout(TabSheet2);
    page->addLayout(boxes);
    page->addLayout(buttonRow(DBNavigator2, {btnadd2, btnedit2, btnsave2, btndelete2, suiButton5}));
    page->addWidget(DBGrid2, 1);
    return TabSheet2;
}

QGroupBox *TFrmzdwh::buildAlarmGroup(const QString &name, const QString &title, const QString &before,
                                     IntEdit *&box, QPushButton *&okButton)
{
    auto *group = named(new QGroupBox(title, TabSheet3), name);
    box = new IntEdit(group);
    box->setText(QStringLiteral("0"));
    box->setFixedWidth(80);
    auto *row = new QHBoxLayout(group);
    row->addWidget(new QLabel(before, group));
    row->addWidget(box);
    row->addWidget(new QLabel(QStringLiteral("小时进行报警"), group));
    row->addStretch(1);
    okButton = new QPushButton(QStringLiteral(" 确定"), group);
    row->addWidget(okButton);
    return group;
}

QWidget *TFrmzdwh::buildSettingsTab()
{
    TabSheet3 = named(new QWidget, QStringLiteral("TabSheet3"));
    GroupBox1 = named(new QGroupBox(QStringLiteral("请设定本维修部门的部门代号，设定后请不要轻易更改。"), TabSheet3),
                      QStringLiteral("GroupBox1"));
    ComboBox2 = codeBox(QStringLiteral("ComboBox2"), GroupBox1);
    ComboBox2->setFixedWidth(90);
    suiEdit1 = named(new QLineEdit(GroupBox1), QStringLiteral("suiEdit1"));
    suiEdit1->setReadOnly(true);
    btnok = namedButton(QStringLiteral("btnok"), QStringLiteral(" 确定"), GroupBox1);
    auto *code = new QHBoxLayout(GroupBox1);
    code->addWidget(new QLabel(QStringLiteral("部门代号"), GroupBox1));
    code->addWidget(ComboBox2);
    code->addSpacing(12);
    code->addWidget(new QLabel(QStringLiteral("部门名称"), GroupBox1));
    code->addWidget(suiEdit1, 1);
    code->addWidget(btnok);

    GroupBox2 = buildAlarmGroup(QStringLiteral("GroupBox2"), QStringLiteral("请设置待修登记的报警期限"),
                                QStringLiteral("待修登记之时起超过"), suiSpinEdit1, suiButton1);
    GroupBox3 = buildAlarmGroup(QStringLiteral("GroupBox3"), QStringLiteral("请设置派修登记的报警期限"),
                                QStringLiteral("派修登记之时起超过"), suiSpinEdit2, suiButton3);
    suiSpinEdit1->setObjectName(QStringLiteral("suiSpinEdit1"));
    suiButton1->setObjectName(QStringLiteral("suiButton1"));
    suiSpinEdit2->setObjectName(QStringLiteral("suiSpinEdit2"));
    suiButton3->setObjectName(QStringLiteral("suiButton3"));
    suiButton2 = namedButton(QStringLiteral("suiButton2"), QStringLiteral("退出"), TabSheet3);

    auto *exitRow = new QHBoxLayout;
    exitRow->addStretch(1);
    exitRow->addWidget(suiButton2);
    auto *page = new QVBoxLayout(TabSheet3);
    page->addWidget(GroupBox1);
    page->addWidget(GroupBox2);
    page->addWidget(GroupBox3);
    page->addStretch(1);
    page->addLayout(exitRow);
    return TabSheet3;
}

void TFrmzdwh::connectHandlers()
{
    connectHandler(btnadd, &QPushButton::clicked, this, &TFrmzdwh::btnaddClick);
    connectHandler(btnedit, &QPushButton::clicked, this, &TFrmzdwh::btneditClick);
    connectHandler(DBGrid1, &ui::DBGrid::mouseUp, this, &TFrmzdwh::DBGrid1MouseUp);
    connectHandler(btnsave, &QPushButton::clicked, this, &TFrmzdwh::btnsaveClick);
    connectHandler(btndelete, &QPushButton::clicked, this, &TFrmzdwh::btndeleteClick);
    connectHandler(btnexit, &QPushButton::clicked, this, &TFrmzdwh::btnexitClick);

    connectHandler(btnadd2, &QPushButton::clicked, this, &TFrmzdwh::btnadd2Click);
    connectHandler(btnedit2, &QPushButton::clicked, this, &TFrmzdwh::btnedit2Click);
    connectHandler(DBGrid2, &ui::DBGrid::mouseUp, this, &TFrmzdwh::DBGrid2MouseUp);
    connectHandler(btnsave2, &QPushButton::clicked, this, &TFrmzdwh::btnsave2Click);
    connectHandler(btndelete2, &QPushButton::clicked, this, &TFrmzdwh::btndelete2Click);
    connectHandler(suiButton5, &QPushButton::clicked, this, &TFrmzdwh::suiButton5Click);

    connectHandler(ComboBox2, &QComboBox::editTextChanged, this, &TFrmzdwh::ComboBox2Change);
    connectHandler(btnok, &QPushButton::clicked, this, &TFrmzdwh::btnokClick);
    connectHandler(suiButton1, &QPushButton::clicked, this, &TFrmzdwh::suiButton1Click);
    connectHandler(suiButton3, &QPushButton::clicked, this, &TFrmzdwh::suiButton3Click);
    connectHandler(suiButton2, &QPushButton::clicked, this, &TFrmzdwh::btnexitClick);
}

void TFrmzdwh::openQueries()
{
    ADOQuery1->setSql(QStringLiteral("select * from bmb"));
    ADOQuery1->Open();
    ADOQuery2->setSql(QStringLiteral("select * from whb"));
    ADOQuery2->Open();
    ADOQuery3->setSql(QStringLiteral("select * from csszb"));
    ADOQuery3->Open();
    DBGrid1->setQuery(ADOQuery1);
    DBNavigator1->setQuery(ADOQuery1);
    DBGrid2->setQuery(ADOQuery2);
    DBNavigator2->setQuery(ADOQuery2);
}

void TFrmzdwh::showEvent(QShowEvent *event)
{
    QDialog::showEvent(event);
    if (shown_)
        return;
    shown_ = true;
    runHandler([this] { FormShow(); });
    ComboBox1->setFocus();
}

// The saved code is put in without the name look-up: the name shows only once the user
// changes the code.
void TFrmzdwh::FormShow()
{
    if (ADOQuery3->RecordCount() == 0)
        return;
    ADOQuery3->First();
    {
        const QSignalBlocker quiet(ComboBox2);
        ComboBox2->setEditText(ADOQuery3->asString(kBmdh));
    }
    suiSpinEdit1->setText(ADOQuery3->asString(QStringLiteral("bjqx")));
    suiSpinEdit2->setText(ADOQuery3->asString(QStringLiteral("bjqx2")));
}

// Both dictionary tabs ------------------------------------------------------------------

void TFrmzdwh::reject()
{
    if (ui::FormChanges::mayDropAny({&departments_.changes, &terms_.changes}))
        QDialog::reject();
}

void TFrmzdwh::enterAddMode(DictionaryTab &tab)
{
    if (!tab.changes.mayDrop())
        return;
    for (QLineEdit *box : std::as_const(tab.entries))
        box->clear();
    tab.loadedRow = -1;
    if (tab.query->RecordCount() > 0)
        tab.query->Last();
    tab.firstEntry->setFocus();
    setAddMode(tab.add, tab.edit, true);
    tab.grid->setAddModeLook(true);
    tab.changes.take();
}

// The boxes are not loaded, but what was typed for the new record no longer counts.
void TFrmzdwh::enterEditMode(DictionaryTab &tab)
{
    if (!tab.changes.mayDrop())
        return;
    setAddMode(tab.add, tab.edit, false);
    tab.grid->setAddModeLook(false);
    tab.changes.take();
}

bool TFrmzdwh::startLoading(DictionaryTab &tab, const QString &emptyMessage)
{
    if (tab.query->RecordCount() == 0) {
        msg::info(emptyMessage);
        return false;
    }
    // Keeping what was typed keeps the cursor on the row it belongs to.
    if (!tab.changes.mayDrop()) {
        if (tab.loadedRow >= 0 && tab.loadedRow < tab.query->RecordCount())
            tab.query->moveTo(tab.loadedRow);
        return false;
    }
    for (QLineEdit *box : std::as_const(tab.entries))
        box->clear();
    tab.loadedRow = tab.query->RecNo();
    return true;
}

// The boxes may show one record while the cursor has moved on (the navigator, or the code
// look-up of the settings tab moving the department list); the edit belongs to the record
// that was loaded, not to whichever row is current by then.
void TFrmzdwh::startSave(DictionaryTab &tab)
{
    if (isAddMode(tab.add)) {
        tab.query->Append();
        return;
    }
    if (tab.loadedRow >= 0 && tab.loadedRow < tab.query->RecordCount())
        tab.query->moveTo(tab.loadedRow);
    tab.query->Edit();
}

void TFrmzdwh::finishSave(DictionaryTab &tab, const QString &editedMessage, const QString &addedMessage)
{
    if (isAddMode(tab.add)) {
        msg::info(addedMessage);
        for (QLineEdit *box : std::as_const(tab.entries))
            box->clear();
    } else {
        msg::info(editedMessage);
    }
    tab.firstEntry->setFocus();
    tab.remove->setEnabled(true);
    tab.changes.take();
}

void TFrmzdwh::deleteCurrent(DictionaryTab &tab)
{
    if (!mayDelete(ctx_, deletion::kConfirmRecord))
        return;
    tab.query->Delete();
    tab.loadedRow = -1;
    for (QLineEdit *box : std::as_const(tab.emptiedOnDelete))
        box->clear();
    tab.changes.take();
    if (tab.query->RecordCount() == 0)
        tab.remove->setEnabled(false);
}

// Tab 部门信息 --------------------------------------------------------------------------

void TFrmzdwh::btnaddClick()
{
    enterAddMode(departments_);
}

void TFrmzdwh::btneditClick()
{
    enterEditMode(departments_);
}

void TFrmzdwh::DBGrid1MouseUp()
{
    if (isAddMode(btnadd) || !startLoading(departments_, QStringLiteral(" 部门信息字典表无任何记录。 ")))
        return;
    edit1->setText(ADOQuery1->asString(kBmmc));
    edit2->setText(ADOQuery1->asString(kSm));
    ComboBox1->setEditText(ADOQuery1->asString(kBmdh));
    departments_.changes.take();
}

void TFrmzdwh::btnsaveClick()
{
    if (edit1->text().isEmpty()) {
        msg::info(QStringLiteral(" “部门名称”不能为空，请输入。 "));
        edit1->setFocus();
        return;
    }
    if (isAddMode(btnadd) && ADOQuery1->Locate(kBmdh, ComboBox1->currentText())) {
        msg::info(QStringLiteral(" 部门信息表已存在此部门代号，请重输。 "));
        ComboBox1->setFocus();
        return;
    }
    startSave(departments_);
    writeAndPost(*ADOQuery1, [this] {
        ADOQuery1->setText(kBmmc, edit1->text());
        ADOQuery1->setText(kSm, edit2->text());
        ADOQuery1->setText(kBmdh, ComboBox1->currentText());
    });
    finishSave(departments_, QStringLiteral(" 修改部门信息字典表保存成功！ "),
               QStringLiteral(" 添加部门信息字典表保存成功！ "));
}

void TFrmzdwh::btndeleteClick()
{
    deleteCurrent(departments_);
}

void TFrmzdwh::btnexitClick()
{
    reject();
}

// Tab 售后维护 --------------------------------------------------------------------------

void TFrmzdwh::btnadd2Click()
{
    enterAddMode(terms_);
}

void TFrmzdwh::btnedit2Click()
{
    enterEditMode(terms_);
}

void TFrmzdwh::DBGrid2MouseUp()
{
    if (isAddMode(btnadd2) || !startLoading(terms_, QStringLiteral(" 售后维护字典表无任何记录。 ")))
        return;
    edit3->setText(ADOQuery2->asString(kWhff));
    edit4->setText(ADOQuery2->asString(kYear));
    edit5->setText(ADOQuery2->asString(kMonth));
    terms_.changes.take();
}

void TFrmzdwh::btnsave2Click()
{
    if (edit3->text().isEmpty()) {
        msg::info(QStringLiteral(" “维护方法”不能为空，请输入。 "));
        edit3->setFocus();
        return;
    }
    // The years box is asked first and, being empty as well, hands the focus on to the months.
    if (edit4->text().isEmpty() && edit5->text().isEmpty()) {
        msg::info(QStringLiteral(" “维护期限”不能为空，请输入。 "));
        edit5->setFocus();
        return;
    }
    startSave(terms_);
    writeAndPost(*ADOQuery2, [this] {
        ADOQuery2->setText(kWhff, edit3->text());
        const QString period = maintenancePeriodText(edit4->text(), edit5->text());
        if (!period.isEmpty())
            ADOQuery2->setText(kWhqx, period);
        ADOQuery2->setText(kMonth, edit5->text());
        ADOQuery2->setText(kYear, edit4->text());
    });
    finishSave(terms_, QStringLiteral(" 修改售后维护字典表保存成功！ "),
               QStringLiteral(" 添加售后维护字典表保存成功！ "));
}

void TFrmzdwh::btndelete2Click()
{
    deleteCurrent(terms_);
}

void TFrmzdwh::suiButton5Click()
{
    reject();
}

// Tab 初始设置 --------------------------------------------------------------------------

void TFrmzdwh::ComboBox2Change()
{
    suiEdit1->clear();
    if (ADOQuery1->Locate(kBmdh, ComboBox2->currentText()))
        suiEdit1->setText(ADOQuery1->asString(kBmmc));
}

// The one settings record is created by whichever setting is saved first.
void TFrmzdwh::writeSetting(const QString &column, const QString &text)
{
    if (ADOQuery3->RecordCount() > 0) {
        ADOQuery3->First();
        ADOQuery3->Edit();
    } else {
        ADOQuery3->Append();
    }
    writeAndPost(*ADOQuery3, [&] { ADOQuery3->setText(column, text); });
}

void TFrmzdwh::btnokClick()
{
    if (!ADOQuery1->Locate(kBmdh, ComboBox2->currentText())) {
        msg::info(QStringLiteral(" 部门信息表中没有找到此部门代号，请检查。 "));
        ComboBox2->setFocus();
        return;
    }
    writeSetting(kBmdh, ComboBox2->currentText());
    msg::info(QStringLiteral(" 本维修部门的部门代号设定成功！ "));
}

void TFrmzdwh::saveAlarm(IntEdit *box, const QString &column, const QString &zeroMessage,
                         const QString &savedMessage)
{
    if (box->text() == QLatin1String("0")) {
        msg::info(zeroMessage);
        box->setFocus();
        return;
    }
    writeSetting(column, box->text());
    msg::info(savedMessage);
}

void TFrmzdwh::suiButton1Click()
{
    saveAlarm(suiSpinEdit1, QStringLiteral("bjqx"), QStringLiteral(" 待修登记的报警期限天数不能为0！ "),
              QStringLiteral(" 待修登记的报警期限设置成功！ "));
}

void TFrmzdwh::suiButton3Click()
{
    saveAlarm(suiSpinEdit2, QStringLiteral("bjqx2"), QStringLiteral(" 派修登记的报警期限天数不能为0！ "),
              QStringLiteral(" 派修登记的报警期限设置成功！ "));
}

}  // namespace korv
