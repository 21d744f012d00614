// 维修信息: the catalogue of products the shop repairs
#include "masterdata/Uwxxx.h"

namespace korv {

namespace {
RecordTable productTable()
{
    using K = RecordField::Kind;
    RecordTable s;
    s.name = "cpjbxx";
    s.sql = "select * from cpjbxx order by bh";
    s.fields = {
        {.name = "edit1", .label = "产品编号", .column = "bh", .kind = K::NumberBox},
        {.name = "edit2", .label = "产品类别", .column = "cpmc", .required = " “产品名称”不能为空，请输入。 "},
        {.name = "edit3", .label = "产品品牌", .column = "cppp", .required = " “产品品牌”不能为空，请输入。 "},
        {.name = "edit4", .label = "产品型号", .column = "cpxh", .required = " “产品型号”不能为空，请输入。 "},
        {.name = "edit5", .label = "产品序号", .column = "xh"},
        {.name = "edit6", .label = "整机机号", .column = "zjjh"},
        {.name = "edit7", .label = "版 机 号", .column = "bjh"},
        {.name = "edit8", .label = "厂    商", .column = "cx"},
        {.name = "edit9", .label = "产    地", .column = "cd"},
    };
    s.columns = {
        {"bh", "编号", 60},           {"cpmc", "产品类别", 80},   {"cppp", "产品品牌", 80},
        {"cpxh", "产品型号", 80},     {"xh", "产品序号", 80},     {"zjjh", "整机机号", 80},
        {"bjh", "版 机 号", 70},      {"cx", "厂商", 110, true}, {"cd", "产地", 80, true},
    };
    s.emptyList = " 维修信息列表无任何记录。 ";
    s.emptyNumber = " “产品编号”不能为空，请选择添加或修改。 ";
    s.duplicateNumber = " “产品编号”已存在，请检查。 ";
    s.savedEdit = " 修改维修信息表保存成功！ ";
    s.savedAdd = " 添加维修信息表保存成功！ ";
    s.enterChain = true;
    s.printout.title = "产品信息表";
    s.printout.columns = {
        {"编 号", "bh", 16},    {"产品名称", "cpmc", 24}, {"品 牌", "cppp", 20},
        {"型 号", "cpxh", 22},  {"序 号", "xh", 20},      {"整机机号", "zjjh", 24},
        {"版机号", "bjh", 20},  {"厂  商", "cx", 24},     {"产 地", "cd", 20},
    };
    return s;
}
}  // namespace

TFrmWxxx::TFrmWxxx(AppContext &ctx, QWidget *parent)
    : RecordWindow(ctx, WorkWindowKind::Wxxx, productTable(), parent)
{
    setObjectName(QStringLiteral("TFrmWxxx"));
}

}  // namespace korv
