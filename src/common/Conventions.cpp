// Shared window conventions: modes, numbering, delete permission, status texts.
#include "common/Conventions.h"

#include "common/AppContext.h"
#include "common/Messages.h"
#include "data/Database.h"
#include "data/Query.h"
#include "data/Values.h"

#include <QAbstractButton>

namespace korv {

namespace status {
QString queryFound(const QString &listName, int count)
{
    return QStringLiteral("  ") + listName + QStringLiteral("表中符合查询条件的记录数为: ") + QString::number(count);
}

QString queryNothing(const QString &listName)
{
    return QStringLiteral("  查询结果：") + listName + QStringLiteral("表中没有符合查询条件的记录");
}
}  // namespace status

bool isAddMode(const QAbstractButton *btnadd)
{
    return !btnadd->isEnabled();
}

void setAddMode(QAbstractButton *btnadd, QAbstractButton *btnedit, bool add)
{
    btnadd->setEnabled(!add);
    btnedit->setEnabled(add);
}

bool mayDelete(const AppContext &ctx, const QString &confirmText)
{
    if (!ctx.isAdministrator()) {
        msg::info(deletion::kNoPermission);
        return false;
    }
    return msg::confirm(confirmText);
}

QString padNumber(qint64 number, int width)
{
    return QStringLiteral("%1").arg(number, width, 10, QLatin1Char('0'));
}

QString nextRecordNumber(Query &list, const QString &table, int width)
{
    list.Close();
    list.setSql(QStringLiteral("select * from ") + table + QStringLiteral(" order by bh"));
    list.Open();
    if (!list.Eof())
        list.Last();
    const qint64 next = list.RecordCount() >= 1 ? list.asInteger(QStringLiteral("bh")) + 1 : 1;
    return padNumber(next, width);
}

QString advanceRecordNumber(const QString &current, int width)
{
    const auto value = parseWholeNumber(current);
    if (!value)
        throw DbError(QStringLiteral("“%1”不是有效的整数值。").arg(current));
    return padNumber(*value + 1, width);
}

}  // namespace korv
