// Start-up sequence and ending of the program.
#include "shell/Startup.h"

#include "common/ButtonKeys.h"
#include "common/Messages.h"
#include "data/Database.h"
#include "shell/Umain.h"
#include "shell/Uyhdl.h"

#include <QApplication>
#include <QDir>
#include <QFont>
#include <QLibraryInfo>
#include <QLocale>
#include <QTranslator>

namespace korv {

QString normalizedProgramDir(const QString &dir)
{
    QString d = QDir::cleanPath(QDir(dir).absolutePath());
    if (!d.endsWith(QLatin1Char('/')))
        d += QLatin1Char('/');
    return d;
}

void setUpApplication()
{
    QApplication::setFont(QFont(QStringLiteral("Noto Sans CJK SC"), 10));
    // Calendars and standard dialogs speak Chinese; the program's own date texts never depend
    // on the locale.
    QLocale::setDefault(QLocale(QLocale::Chinese, QLocale::China));
    auto *standardTexts = new QTranslator(qApp);
    if (standardTexts->load(QStringLiteral("qtbase_zh_CN"), QLibraryInfo::path(QLibraryInfo::TranslationsPath)))
        QApplication::installTranslator(standardTexts);
}

void addMissingIndexes(Database &db)
{
    // Only look-ups are slower without an index, so start-up neither waits for another copy of
    // the program that is writing nor fails for it.
    try {
        const int waits = db.scalar(QStringLiteral("PRAGMA busy_timeout")).toInt();
        db.exec(QStringLiteral("PRAGMA busy_timeout = 0"));
        try {
            db.exec(QStringLiteral("CREATE INDEX IF NOT EXISTS ix_khjbxx_khmc ON khjbxx(khmc)"));
        } catch (const DbError &) {
        }
        db.exec(QStringLiteral("PRAGMA busy_timeout = %1").arg(waits));
    } catch (const DbError &) {
    }
}

Program::Program(const QString &programDir) : programDir_(normalizedProgramDir(programDir)) {}

Program::~Program() = default;

bool Program::start()
{
    QCoreApplication::setApplicationName(kApplicationTitle);
    installButtonKeys();
    try {
        main_ = std::make_unique<TFrmMain_wxgl>(programDir_, [this] { end(); });
        addMissingIndexes(main_->ADOConnection1());
    } catch (const DbError &e) {
        msg::error(e.text());
        end();
        return false;
    }
    main_->hide();
    {
        TFrmyhdl login(*main_);
        login.exec();
        if (login.usedDefaultPassword())
            main_->askForOwnPassword();
    }
    return !ended_;
}

void Program::end()
{
    if (ended_)
        return;
    ended_ = true;
    if (endHandler_) {
        endHandler_();
        return;
    }
    if (main_)
        main_->hide();
    QCoreApplication::exit(0);
}

}  // namespace korv
