// 数据备份: a dated, encrypted copy of the open database in the DataBak folder.
#pragma once

#include <QDate>
#include <QString>

class QWidget;

namespace korv {

class AppContext;

QString backupFolder(const QString &appDir);
QString backupFilePath(const QString &appDir, const QDate &day);
QString backupConfirmText(const QString &appDir);
// A path the copy accepts: absolute, and at most 248 bytes in GBK.
bool isValidBackupPath(const QString &path);

// The whole command: confirmation, folder, copy with progress, success message.
void runBackup(AppContext &ctx, QWidget *parent);

}  // namespace korv
