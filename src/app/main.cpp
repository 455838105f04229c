#include "SerolisApplication.h"

#include <QWidget>

// Until the main window exists, the program opens one plain window of the main window's
// client size and nothing else.
int main(int argc, char* argv[])
{
    TSerolisApplication application(argc, argv);
    QWidget window;
    window.setFixedSize(627, 486);
    window.show();
    return application.exec();
}
