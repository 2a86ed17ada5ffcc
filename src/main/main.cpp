#include "Unit1.h"
#include "common/Application.h"
#include "common/Messages.h"

int main(int argc, char **argv)
{
    TApplication app(argc, argv);
    Messages::setApplicationTitle(AppName);
    ProgramArguments = app.arguments().mid(1);

    auto *form = new TForm1();
    form->show();
    const int status = app.exec();
    delete form;
    return status;
}
