// 客户信息: the shop's customers
#include "masterdata/Ukhxx.h"

namespace korv {

RecordTable contactTable(const QString &who, const QString &table, const QString &nameColumn)
{
    using K = RecordField::Kind;
    RecordTable s;
    s.name = table;
    s.sql = QStringLiteral("select * from ") + table + QStringLiteral(" order by bh");
    s.fields = {
        {.name = "edit1", .label = who + "编号", .column = "bh", .kind = K::NumberBox},
        {.name = "edit2", .label = who + "名称", .column = nameColumn,
         .required = " “" + who + "名称”不能为空，请输入。 "},
        {.name = "edit3", .label = "联系电话", .column = "lxdh"},
        {.name = "edit4", .label = "传    真", .column = "cz"},
        {.name = "edit5", .label = "联 系 人", .column = "lxr"},
        {.name = "edit6", .label = "联系人电话", .column = "lxrdh"},
        {.name = "edit7", .label = "邮    编", .column = "yb"},
        {.name = "edit8", .label = "地    址", .column = "dz", .wide = true},
    };
    s.columns = {
        {"bh", "编号", 70},  {nameColumn, who + "名称", 110}, {"lxdh", "联系电话", 110},
        {"cz", "传真", 90},  {"lxr", "联系人", 70},           {"lxrdh", "联系人电话", 110},
        {"yb", "邮编", 60},  {"dz", "地址", 220, true},
    };
    s.emptyList = " " + who + "信息列表无任何记录。 ";
    s.emptyNumber = " “" + who + "编号”不能为空，请选择添加或修改。 ";
    s.duplicateNumber = " “" + who + "编号”已存在，请检查。 ";
    s.savedEdit = " 修改" + who + "信息表保存成功！ ";
    s.savedAdd = " 添加" + who + "信息表保存成功！ ";
    s.printout.title = who + "信息表";
    s.printout.columns = {
        {"编 号", "bh", 14},   {who + "名称", nameColumn, 26}, {"联系电话", "lxdh", 26}, {"传 真", "cz", 22},
        {"联系人", "lxr", 16}, {"联系人电话", "lxrdh", 26},    {"邮编", "yb", 14},        {"地  址", "dz", 46},
    };
    return s;
}

namespace {
RecordTable customerTable()
{
    RecordTable s = contactTable(QStringLiteral("客户"), QStringLiteral("khjbxx"), QStringLiteral("khmc"));
    s.enterChain = true;
    return s;
}
}  // namespace

Tfrmkhxx::Tfrmkhxx(AppContext &ctx, QWidget *parent)
    : RecordWindow(ctx, WorkWindowKind::Khxx, customerTable(), parent)
{
    setObjectName(QStringLiteral("Tfrmkhxx"));
}

}  // namespace korv
