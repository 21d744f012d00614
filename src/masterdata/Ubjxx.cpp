// 备件信息: the catalogue of spare-part kinds
#include "masterdata/Ubjxx.h"

#include "common/Messages.h"
#include "data/Query.h"

#include <QLineEdit>

namespace korv {

namespace {
const QString kSameCombination = QStringLiteral(" 与此备件的名称、型号、规格相同的记录已存在，请检查。 ");

RecordTable partKindTable()
{
    using K = RecordField::Kind;
    RecordTable s;
    s.name = "bjjbxx";
    s.sql = "select * from bjjbxx order by bh";
    s.fields = {
        {.name = "edit1", .label = "备件编号", .column = "bh", .kind = K::NumberBox},
        {.name = "edit2", .label = "备件名称", .column = "bjmc",
         .required = " “备件名称”不能为空，请输入。 ", .trimmed = true},
        {.name = "edit3", .label = "备件型号", .column = "bjxh",
         .required = " “备件型号”不能为空，请输入。 ", .trimmed = true},
        {.name = "edit4", .label = "备件规格", .column = "bjgg",
         .required = " “备件规格”不能为空，请输入。 ", .trimmed = true},
        {.name = "edit5", .label = "单    位", .column = "dw", .required = " “单位”不能为空，请输入。 "},
        {.name = "edit6", .label = "替代型号", .column = "tdxh"},
        {.name = "edit7", .label = "备    注", .column = "bz", .wide = true},
    };
    s.columns = {
        {"bh", "编号", 60},       {"bjmc", "备件名称", 100}, {"bjxh", "备件型号", 90},
        {"bjgg", "备件规格", 90}, {"dw", "单位", 50},        {"tdxh", "替代型号", 90},
        {"bz", "备注", 160, true},
    };
    s.emptyList = " 备件信息列表无任何记录。 ";
    s.emptyNumber = " “备件编号”不能为空，请选择添加或修改。 ";
    s.duplicateNumber = " “备件编号”已存在，请检查。 ";
    s.savedEdit = " 修改备件信息表保存成功！ ";
    s.savedAdd = " 添加备件信息表保存成功！ ";
    s.enterChain = true;
    s.printout.title = "备件信息表";
    s.printout.columns = {
        {"编 号", "bh", 16},      {"备件名称", "bjmc", 32}, {"备件型号", "bjxh", 28}, {"备件规格", "bjgg", 28},
        {"单位", "dw", 14},       {"替代型号", "tdxh", 28}, {"备  注", "bz", 44},
    };
    return s;
}
}  // namespace

TFrmBjxx::TFrmBjxx(AppContext &ctx, QWidget *parent)
    : RecordWindow(ctx, WorkWindowKind::Bjxx, partKindTable(), parent)
{
    setObjectName(QStringLiteral("TFrmBjxx"));
    onExit(findChild<QLineEdit *>(QStringLiteral("edit2")), &TFrmBjxx::edit2Exit);
    onExit(findChild<QLineEdit *>(QStringLiteral("edit3")), &TFrmBjxx::edit3Exit);
    onExit(findChild<QLineEdit *>(QStringLiteral("edit4")), &TFrmBjxx::edit4Exit);
}

// A blank-only entry passes the required check but trims to nothing; such a combination is
// not compared.
bool TFrmBjxx::combinationExists()
{
    const QStringList values{text(QStringLiteral("edit2")).trimmed(), text(QStringLiteral("edit3")).trimmed(),
                             text(QStringLiteral("edit4")).trimmed()};
    for (const QString &v : values)
        if (v.isEmpty())
            return false;
    return ADOQuery1->Locate(QStringLiteral("bjmc;bjxh;bjgg"), values, Query::LocateOption::CaseInsensitive);
}

bool TFrmBjxx::passesAddChecks()
{
    if (!combinationExists())
        return true;
    msg::info(kSameCombination);
    return false;
}

// Warns while the kind is being typed; the matching kind becomes the list's current row.
void TFrmBjxx::warnOfCombination()
{
    if (addMode() && combinationExists())
        msg::info(kSameCombination);
}

void TFrmBjxx::edit2Exit() { warnOfCombination(); }
void TFrmBjxx::edit3Exit() { warnOfCombination(); }
void TFrmBjxx::edit4Exit() { warnOfCombination(); }

}  // namespace korv
