// Program entry: application-wide settings, then one run of the program.
#include "shell/Startup.h"

#include <QApplication>
#include <QFont>
#include <QLibraryInfo>
#include <QLocale>
#include <QTranslator>

int main(int argc, char **argv)
{
    QApplication app(argc, argv);
    QApplication::setFont(QFont(QStringLiteral("Noto Sans CJK SC"), 10));
    // Calendars and standard dialogs speak Chinese; the program's own date texts never depend
    // on the locale.
    QLocale::setDefault(QLocale(QLocale::Chinese, QLocale::China));
    QTranslator standardTexts;
    if (standardTexts.load(QStringLiteral("qtbase_zh_CN"), QLibraryInfo::path(QLibraryInfo::TranslationsPath)))
        QApplication::installTranslator(&standardTexts);

    korv::Program program(QCoreApplication::applicationDirPath());
    if (!program.start())
        return 0;
    return QApplication::exec();
}
