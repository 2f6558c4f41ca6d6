// The desktop program: one main window editing one project, started with
// the project file named on the command line or a new project.

#include "MainForm.h"

#include <QApplication>

int main(int argc, char** argv)
{
    QApplication application(argc, argv);
    QApplication::setApplicationDisplayName(TMainForm::ApplicationTitle);
    TMainForm form(QApplication::arguments().mid(1));
    form.show();
    return application.exec();
}
