#pragma once
// The application object: title, icon and desktop entry of the program, and the last net under
// every event handler.

#include <QApplication>
#include <QIcon>

class TSerolisApplication : public QApplication
{
    Q_OBJECT

public:
    TSerolisApplication(int& argc, char** argv);

    // Delivers an event; an exception escaping its handler is shown in the error report (queued)
    // and the loop goes on, the window as the handler left it.
    bool notify(QObject* receiver, QEvent* event) override;
};

// The name of the program's desktop entry (serolis.desktop) and of its icon in the icon theme.
inline constexpr const char* kDesktopEntryName = "serolis";

// The program's icon: the three test tubes, from the icon theme or else from the embedded pictures.
QIcon ProgramIcon();

// Declares the stand-in faces for the window's fonts; call before any widget exists.
void DeclareFontSubstitutes();
