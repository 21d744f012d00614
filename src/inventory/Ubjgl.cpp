// 备件库存管理: the stock list's table, fields, checks and printout, and its two movements.
#include "inventory/Ubjgl.h"

#include "common/Placement.h"
#include "data/Query.h"
#include "inventory/StoreRules.h"
#include "ui/DBGrid.h"

#include <QPushButton>

namespace korv {

namespace {
RecordTable stockTable()
{
    using K = RecordField::Kind;
    RecordTable s;
    s.name = "bjkc";
    s.sql = "select * from bjkc order by bh";
    s.lookupSql = "select * from bjjbxx";
    s.fields = {
        {.name = "edit1", .label = "备件编号", .column = "bh", .kind = K::NumberBox},
        {.name = "ComboBox1", .label = "备件名称", .column = "bjmc", .kind = K::Lookup,
         .required = " “备件名称”不能为空，请输入。 ", .lookup = "bjmc"},
        {.name = "ComboBox2", .label = "型   号", .column = "xh", .kind = K::Lookup,
         .required = " “型号”不能为空，请输入。 ", .lookup = "bjxh"},
        {.name = "ComboBox3", .label = "规    格", .column = "gg", .kind = K::Lookup,
         .required = " “规格”不能为空，请输入。 ", .lookup = "bjgg"},
        {.name = "edit5", .label = "单    位", .column = "dw", .required = " “单位”不能为空，请输入。 "},
        {.name = "edit6", .label = "数    量", .column = "sl", .kind = K::Whole,
         .required = " “数量”不能为空，请输入。 ", .belowZero = " “数量”不能小于0，请检查。 "},
        {.name = "edit7", .label = "平均单价", .column = "pjdj", .kind = K::Decimal},
        {.name = "Edit8", .label = "库存金额", .column = "kcjg", .kind = K::Decimal},
        {.name = "Edit9", .label = "提示上限", .column = "tssx", .kind = K::Decimal},
        {.name = "Edit10", .label = "提示下限", .column = "tsxx", .kind = K::Decimal},
    };
    s.columns = {
        {"bh", "编号", 60},         {"bjmc", "备件名称", 100},  {"xh", "型号", 80},
        {"gg", "规格", 80},         {"dw", "单位", 45},         {"sl", "数量", 50},
        {"pjdj", "平均单价", 70},   {"kcjg", "库存金额", 70},   {"tssx", "提示上限", 70},
        {"tsxx", "提示下限", 70},
    };
    s.emptyList = " 备件库存列表无任何记录。 ";
    s.emptyNumber = " “备件编号”不能为空，请选择添加或修改。 ";
    s.duplicateNumber = " “备件编号”已存在，请检查。 ";
    s.savedEdit = " 修改备件库存表保存成功！ ";
    s.savedAdd = " 添加备件库存表保存成功！ ";
    s.keptByQuery = {"Edit8", "Edit9", "Edit10"};  // 库存金额, 提示上限, 提示下限
    s.printout.title = "备件库存表";
    s.printout.columns = {
        {"编  号", "bh", 16},     {"备件名称", "bjmc", 32}, {"型  号", "xh", 24},
        {"规  格", "gg", 24},     {"数量", "sl", 14},       {"平均单价", "pjdj", 20},
        {"库存金额", "kcjg", 20}, {"提示上限", "tssx", 20}, {"提示下限", "tsxx", 20},
    };
    return s;
}
}  // namespace

Tfrmbjgl::Tfrmbjgl(AppContext &ctx, QWidget *parent)
    : RecordWindow(ctx, WorkWindowKind::Bjgl, stockTable(), parent)
{
    setObjectName(QStringLiteral("Tfrmbjgl"));
    btnrk = addButton(QStringLiteral("btnrk"), QStringLiteral("备件入库"));
    btnck = addButton(QStringLiteral("btnck"), QStringLiteral("备件出库"));
    connectHandler(btnrk, &QPushButton::clicked, this, &Tfrmbjgl::btnrkClick);
    connectHandler(btnck, &QPushButton::clicked, this, &Tfrmbjgl::btnckClick);
    DBGrid1->setRowBackground(store::lowStockRows(ADOQuery1));
}

void Tfrmbjgl::btnrkClick()
{
    openMovement(TFrmbjcr::Mode::StockIn);
}

void Tfrmbjgl::btnckClick()
{
    openMovement(TFrmbjcr::Mode::StockOut);
}

// The fields are read again afterwards, so a save in edit mode never writes back a quantity
// from before the movement, unless the user keeps what was typed there.
void Tfrmbjgl::openMovement(TFrmbjcr::Mode mode)
{
    TFrmbjcr dialog(ctx_, ADOQuery1, this);
    dialog.setMode(mode);
    execInFront(dialog);
    followCurrentRecord();
}

}  // namespace korv
