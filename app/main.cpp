#include "app/mainwindow.h"

#include <QApplication>

int main(int argc, char *argv[])
{
    // Plugins and libraries shipped beside the program are found from here.
    QCoreApplication::addLibraryPath(QStringLiteral("."));
    QApplication app(argc, argv);
    MainWindow window;
    window.show();
    return app.exec();
}
