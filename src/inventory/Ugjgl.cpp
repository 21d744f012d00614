// 工具库存管理: the tool list's table, fields, checks and printout, and lending and returning.
#include "inventory/Ugjgl.h"

#include "common/AppContext.h"
#include "common/Placement.h"
#include "data/Database.h"
#include "data/Query.h"
#include "inventory/StoreRules.h"

#include <QComboBox>
#include <QPushButton>

namespace korv {

namespace {
RecordTable toolTable()
{
    using K = RecordField::Kind;
    RecordTable s;
    s.name = "gjkc";
    s.sql = "select * from gjkc order by bh";
    s.numberWidth = 3;
    s.fields = {
        {.name = "edit1", .label = "工具编号", .column = "bh", .kind = K::NumberBox},
        {.name = "edit2", .label = "工具名称", .column = "gjmc", .required = " “工具名称”不能为空，请输入。 "},
        {.name = "edit3", .label = "工具型号", .column = "xh", .required = " “工具型号”不能为空，请输入。 "},
        {.name = "edit4", .label = "工具规格", .column = "gg", .required = " “工具规格”不能为空，请输入。 "},
        {.name = "Date1", .label = "购买日期", .column = "gmrq", .kind = K::Date},
        {.name = "ComboBox1", .label = "使用状态", .column = "syzt", .kind = K::Combo,
         .items = {store::kInStock, store::kLent, store::kScrapped}},
        {.name = "edit6", .label = "详细说明", .column = "xxsm", .wide = true},
    };
    s.columns = {
        {"bh", "编号", 45},          {"gjmc", "工具名称", 100}, {"xh", "型号", 80},
        {"gg", "规格", 80},          {"gmrq", "购买日期", 85, true}, {"syzt", "使用状态", 65},
        {"jyr", "最后借用人", 75},   {"xxsm", "详细说明", 160},
    };
    s.emptyList = " 工具库存列表无任何记录。 ";
    s.emptyNumber = " “工具编号”不能为空，请选择添加或修改。 ";
    s.duplicateNumber = " “工具编号”已存在，请检查。 ";
    s.savedEdit = " 修改工具库存表保存成功！ ";
    s.savedAdd = " 添加工具库存表保存成功！ ";
    s.deleteKeepsDates = true;
    s.printout.title = "工具库存表";
    s.printout.columns = {
        {"编 号", "bh", 12},       {"工具名称", "gjmc", 32}, {"型 号", "xh", 26},     {"规 格", "gg", 26},
        {"购买日期", "gmrq", 22},  {"使用状态", "syzt", 18}, {"详细说明", "xxsm", 54},
    };
    return s;
}
}  // namespace

TFrmgjgl::TFrmgjgl(AppContext &ctx, QWidget *parent)
    : RecordWindow(ctx, WorkWindowKind::Gjgl, toolTable(), parent)
{
    setObjectName(QStringLiteral("TFrmgjgl"));
    btnrk = addButton(QStringLiteral("btnrk"), QStringLiteral("归还工具"));
    btnck = addButton(QStringLiteral("btnck"), QStringLiteral("借出工具"));
    btnrk->setEnabled(false);
    btnck->setEnabled(false);
    connectHandler(btnrk, &QPushButton::clicked, this, &TFrmgjgl::btnrkClick);
    connectHandler(btnck, &QPushButton::clicked, this, &TFrmgjgl::btnckClick);
}

void TFrmgjgl::btneditClick()
{
    RecordWindow::btneditClick();
    if (!addMode() && ADOQuery1->RecordCount() > 0)
        enableLendButtons();
}

void TFrmgjgl::DBGrid1MouseUp()
{
    enableLendButtons();
    const int clicked = ADOQuery1->RecNo();
    RecordWindow::DBGrid1MouseUp();
    // The fields kept what was typed and the list went back to their row.
    if (ADOQuery1->RecNo() != clicked)
        enableLendButtons();
}

// Lend only what is in stock, take back only what is lent; other states offer neither.
void TFrmgjgl::enableLendButtons()
{
    btnck->setEnabled(false);
    btnrk->setEnabled(false);
    if (ADOQuery1->RecordCount() == 0)
        return;
    try {
        const QString state = ADOQuery1->asString(QStringLiteral("syzt"));
        btnck->setEnabled(state == store::kInStock);
        btnrk->setEnabled(state == store::kLent);
    } catch (const DbError &) {
        // A state that cannot be read offers neither button; the click goes on as usual.
    }
}

void TFrmgjgl::btnckClick()
{
    openMovement(TFrmbjcr::Mode::Lend);
}

void TFrmgjgl::btnrkClick()
{
    openMovement(TFrmbjcr::Mode::Return);
}

// The buttons keep their enabling until the next click or 修改; the fields are read again, so a
// save in edit mode never writes back a state from before the movement, unless the user keeps
// what was typed there.
void TFrmgjgl::openMovement(TFrmbjcr::Mode mode)
{
    TFrmbjcr dialog(ctx_, ADOQuery1, this);
    dialog.setMode(mode);
    if (mode == TFrmbjcr::Mode::Lend) {
        dialog.ComboBox1->addItems(ctx_.lookupList(QStringLiteral("select * from jyb"), QStringLiteral("jymc")));
        dialog.ComboBox1->setCurrentIndex(-1);
        dialog.ComboBox1->clearEditText();
    }
    execInFront(dialog);
    followCurrentRecord();
}

}  // namespace korv
