// 商家信息: the merchants where customers bought their appliances
#include "masterdata/Usjxx.h"

#include "common/Messages.h"
#include "data/Query.h"
#include "masterdata/Ukhxx.h"

#include <QLineEdit>

namespace korv {

namespace {
const QString kSameName = QStringLiteral(" 与此商家名称相同的记录已存在，请检查。 ");

RecordTable merchantTable()
{
    RecordTable s = contactTable(QStringLiteral("商家"), QStringLiteral("sjjbxx"), QStringLiteral("sjmc"));
    s.columns[0].caption = QStringLiteral("商家编号");
    return s;
}
}  // namespace

TFrmsjxx::TFrmsjxx(AppContext &ctx, QWidget *parent)
    : RecordWindow(ctx, WorkWindowKind::Sjxx, merchantTable(), parent)
{
    setObjectName(QStringLiteral("TFrmsjxx"));
    onExit(findChild<QLineEdit *>(QStringLiteral("edit2")), &TFrmsjxx::edit2Exit);
}

// Only the names typed now are compared, trimmed but in full; the name is stored as typed.
bool TFrmsjxx::nameExists()
{
    const QString name = text(QStringLiteral("edit2")).trimmed();
    return !name.isEmpty() && ADOQuery1->Locate(QStringLiteral("sjmc"), name);
}

bool TFrmsjxx::passesAddChecks()
{
    if (!nameExists())
        return true;
    msg::info(kSameName);
    return false;
}

// Warns as soon as the name is typed; the matching merchant becomes the list's current row.
void TFrmsjxx::edit2Exit()
{
    if (addMode() && nameExists())
        msg::info(kSameName);
}

}  // namespace korv
