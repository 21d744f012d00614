// Conventions every window shares: status texts, add and edit mode, record numbers and the
// delete permission.
#pragma once

#include <QString>

class QAbstractButton;

namespace korv {

class AppContext;
class Query;

namespace status {
inline const QString kAddReady = QStringLiteral("  添加记录准备就绪");
inline const QString kEditReady = QStringLiteral("  修改记录准备就绪");
inline const QString kSaved = QStringLiteral("  保存记录操作完成");
inline const QString kDeleted = QStringLiteral("  删除记录操作完成");
inline const QString kDispatched = QStringLiteral("  派修登记操作完成");
inline const QString kSignedOff = QStringLiteral("  修复签收操作完成");
inline const QString kQueryReady = QStringLiteral("  查询记录准备就绪");
inline const QString kContinue = QStringLiteral("  请继续操作...");
QString queryFound(const QString &listName, int count);
QString queryNothing(const QString &listName);
}  // namespace status

namespace deletion {
inline const QString kNoPermission = QStringLiteral(" 对不起，接单员没有删除记录的权限。 ");
inline const QString kConfirmRecord = QStringLiteral("当前记录将被永久性删除，真的删除吗？ ");
inline const QString kConfirmDispatch = QStringLiteral(" 当前的派修记录将被永久性删除，真的删除吗？ ");
inline const QString kConfirmRepair = QStringLiteral(" 当前的修复记录将被永久性删除，真的删除吗？ ");
inline const QString kConfirmReturn = QStringLiteral("当前待修产品还未维修,您确定要把它退还（删除）吗？ ");
}  // namespace deletion

// A window is in add mode exactly when its 添加 button is disabled.
bool isAddMode(const QAbstractButton *btnadd);
void setAddMode(QAbstractButton *btnadd, QAbstractButton *btnedit, bool add);

// Only an administrator deletes, and only after confirming `confirmText`. Shows the refusal or
// the question and answers whether the delete may go ahead.
bool mayDelete(const AppContext &ctx, const QString &confirmText);

// The number a new record of `table` gets: one more than the last `bh` in `bh` order, or 1.
// Reopens `list` as "select * from <table> order by bh" and leaves it on its last row.
QString nextRecordNumber(Query &list, const QString &table, int width);
// The number after `current` without reading the table.
QString advanceRecordNumber(const QString &current, int width);
QString padNumber(qint64 number, int width);

}  // namespace korv
