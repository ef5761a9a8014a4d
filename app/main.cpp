// The desktop program: the Qt host drawing the program's windows.
#include <QApplication>

#include "app/program.h"
#include "platform/qt/qt_host.h"

int main(int argc, char** argv) {
    QApplication app(argc, argv);
    QApplication::setApplicationName("Kestrel");
    kestrel::QtHost host;
    kestrel::Program program(host);
    program.Start();
    return QApplication::exec();
}
