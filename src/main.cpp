#include <QApplication>

#include "shell/form1.h"

int main(int argc, char* argv[]) {
    QApplication application(argc, argv);
    veltrano::Form1 form1;
    form1.show();
    return QApplication::exec();
}
