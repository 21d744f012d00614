// Program entry: application-wide settings, then one run of the program.
#include "shell/Startup.h"

#include <QApplication>

int main(int argc, char **argv)
{
    QApplication app(argc, argv);
    korv::setUpApplication();
    korv::Program program(QCoreApplication::applicationDirPath());
    if (!program.start())
        return 0;
    return QApplication::exec();
}
