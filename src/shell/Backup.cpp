// 数据备份: confirmation, folder creation, path rule and the copy through the engine's backup.
#include "shell/Backup.h"

#include "common/AppContext.h"
#include "common/Clock.h"
#include "common/Gbk.h"
#include "common/Messages.h"
#include "data/Database.h"

#include <QApplication>
#include <QDir>
#include <QProgressDialog>
#include <filesystem>
#include <system_error>

namespace korv {

namespace {
constexpr int kMaxPathBytes = 248;

void ensureFolder(const QString &folder)
{
    std::error_code ec;
    const std::filesystem::path p(folder.toStdString());
    if (std::filesystem::is_directory(p, ec))
        return;
    std::filesystem::create_directory(p, ec);
    if (ec)
        throw DbError(QString::fromLocal8Bit(ec.message().c_str()));
}
}  // namespace

QString backupFolder(const QString &appDir)
{
    return appDir + QStringLiteral("DataBak");
}

QString backupFilePath(const QString &appDir, const QDate &day)
{
    return backupFolder(appDir) + QStringLiteral("/KORV_") + day.toString(QStringLiteral("yyyyMMdd")) +
           QStringLiteral(".MDB");
}

QString backupConfirmText(const QString &appDir)
{
    return QStringLiteral("数据库文件将备份到目录 “ ") + backupFolder(appDir) +
           QStringLiteral(" ” 中,您确定要备份数据吗？ ");
}

bool isValidBackupPath(const QString &path)
{
    return QDir::isAbsolutePath(path) && path.startsWith(QLatin1Char('/')) && gbkByteLength(path) <= kMaxPathBytes;
}

void runBackup(AppContext &ctx, QWidget *parent)
{
    const QString appDir = ctx.session.AppDir;
    if (!msg::confirm(backupConfirmText(appDir)))
        return;
    ensureFolder(backupFolder(appDir));
    const QString target = backupFilePath(appDir, Clock::now().date());
    const QString source = ctx.db().path();
    if (!isValidBackupPath(source) || !isValidBackupPath(target)) {
        msg::plain(QStringLiteral("文件/目录的路径无效"));
        return;
    }
    // The copy replaces the day's earlier backup only once it is complete and checked; the
    // user may give up meanwhile, which leaves that backup as it was.
    QProgressDialog progress(QStringLiteral("正在备份数据库文件，请稍候..."), QStringLiteral("取消"), 0, 100, parent);
    progress.setWindowTitle(kApplicationTitle);
    progress.setWindowModality(Qt::ApplicationModal);
    progress.setMinimumDuration(500);
    const bool done = ctx.db().backupTo(target, [&progress](int copied, int total) {
        progress.setMaximum(std::max(total, 1));
        progress.setValue(std::min(copied, std::max(total, 1) - 1));
        QCoreApplication::processEvents();
        return !progress.wasCanceled();
    });
    progress.reset();
    if (!done) {
        msg::info(QStringLiteral(" 数据备份已取消，原有的备份文件未被改动。 "));
        return;
    }
    msg::info(QStringLiteral(" 数据库文件备份成功！ "));
}

}  // namespace korv
