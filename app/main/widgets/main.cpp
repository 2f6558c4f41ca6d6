// The desktop program: one main window editing one project, started with
// the project file named on the command line or a new project.

#include "MainForm.h"

#include <QApplication>

#include <clocale>

int main(int argc, char** argv)
{
    QApplication application(argc, argv);
    // Qt takes every locale category from the environment. Numbers typed into
    // fields and cells are read with the C library's decimal point while cells
    // and project files always show "."; keep the two the same.
    std::setlocale(LC_NUMERIC, "C");
    TMainForm::SetUpApplication();
    TMainForm form(QApplication::arguments().mid(1));
    form.show();
    return application.exec();
}
