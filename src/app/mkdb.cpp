// Build step: creates the program directory's fresh database when none is there yet.
#include "data/Database.h"
#include "data/Schema.h"

#include <QCoreApplication>
#include <QTextStream>

int main(int argc, char **argv)
{
    QCoreApplication app(argc, argv);
    if (argc != 2) {
        QTextStream(stderr) << "usage: korv_mkdb PATH\n";
        return 2;
    }
    const QString path = QString::fromLocal8Bit(argv[1]);
    try {
        const bool made = korv::createDatabaseFileIfAbsent(path);
        QTextStream(stdout) << (made ? "created " : "kept existing ") << path << "\n";
    } catch (const korv::DbError &e) {
        QTextStream(stderr) << e.text() << "\n";
        return 1;
    }
    return 0;
}
