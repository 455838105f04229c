#include "SerolisApplication.h"
#include "Unit1.h"

// Start-up: the application object, the main window, the message loop until the user quits.
int main(int argc, char* argv[])
{
    TSerolisApplication application(argc, argv);
    const std::unique_ptr<TForm1> form = CreateMainWindow();
    form->show();
    form->activateWindow();
    return application.exec();
}
