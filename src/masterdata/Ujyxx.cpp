// 职员信息: the shop's employees
#include "masterdata/Ujyxx.h"

#include <QComboBox>

namespace korv {

namespace {
RecordTable employeeTable()
{
    using K = RecordField::Kind;
    RecordTable s;
    s.name = "jyb";
    s.sql = "select * from jyb";
    s.numberWidth = 0;
    s.fields = {
        {.name = "edit1", .label = "职员名称", .column = "jymc", .required = " “职员名称”不能为空，请输入。 "},
        {.name = "ComboBox1", .label = "性   别", .column = "xb", .kind = K::Combo,
         .required = " “性别”不能为空，请输入。 ", .items = {"男", "女"}},
        {.name = "Date1", .label = "出生日期", .column = "csny", .kind = K::Date},
        {.name = "ComboBox2", .label = "学    历", .column = "xl", .kind = K::Combo,
         .required = " “学历”不能为空，请输入。 ",
         .items = {"博士", "研究生", "本科", "专科", "中专", "高中", "初中", "无"}},
        {.name = "ComboBox3", .label = "部门名称", .column = "bm", .kind = K::Combo,
         .required = " “部门名称”不能为空，请输入。 "},
        {.name = "edit2", .label = "职    务", .column = "jw", .required = " “职务”不能为空，请输入。 "},
        {.name = "edit3", .label = "毕业学校", .column = "byxs"},
        {.name = "edit4", .label = "联系电话", .column = "lxdh"},
        {.name = "edit5", .label = "家庭住址", .column = "jtzz"},
        {.name = "edit6", .label = "现 住 址", .column = "xzz"},
    };
    s.columns = {
        {"jymc", "职员名称", 70},       {"bm", "部门", 70},           {"jw", "职务", 60},
        {"xb", "性别", 40},             {"xl", "学历", 50},           {"csny", "出生日期", 90, true},
        {"jtzz", "家庭住址", 150, true}, {"lxdh", "联系电话", 90},     {"xzz", "现住址", 150, true},
        {"byxs", "毕业学校", 100},
    };
    s.emptyList = " 职员信息列表无任何记录。 ";
    s.savedEdit = " 修改职员信息表保存成功！ ";
    s.savedAdd = " 添加职员信息表保存成功！ ";
    s.printout.title = "职员信息表";
    s.printout.columns = {
        {"职员名称", "jymc", 26}, {"部  门", "bm", 30}, {"职  务", "jw", 26}, {"出生日期", "csny", 28},
        {"性别", "xb", 14},       {"学 历", "xl", 20},  {"联系电话", "lxdh", 46},
    };
    return s;
}
}  // namespace

Tfrmjyxx::Tfrmjyxx(AppContext &ctx, QWidget *parent)
    : RecordWindow(ctx, WorkWindowKind::Jyxx, employeeTable(), parent)
{
    setObjectName(QStringLiteral("Tfrmjyxx"));
    // Read once: a department added meanwhile is offered after the window is reopened.
    auto *departments = findChild<QComboBox *>(QStringLiteral("ComboBox3"));
    departments->addItems(ctx.lookupList(QStringLiteral("select * from bmb"), QStringLiteral("bmmc")));
    departments->setCurrentIndex(-1);
}

}  // namespace korv
