// Tells the end-to-end tests what the program itself holds, so that they never keep a second copy
// of it: every address it may hand the desktop, its menus as built (automatic accelerators
// included) and the palette's highlight colour, which the window shows for an active caption.
// One record a line, fields separated by tabs:
//   address  <address>                       every address of ShellAddresses(), in order
//   document <entry> <address>               the entry of the menus that opens it
//   menu     <entry> <parent entry> <text>   every entry, depth first; "-" is the bar
//   highlight #rrggbb
// Run it on the platform the program runs on: the palette may depend on it.

#include "ReferenceDocuments.h"
#include "SerolisApplication.h"
#include "Unit1.h"

#include <QAction>
#include <QMenu>
#include <QMenuBar>
#include <QPalette>

#include <cstdio>

namespace {

void Print(const QList<QByteArray>& fields)
{
    const QByteArray line = fields.join('\t') + '\n';
    std::fwrite(line.constData(), 1, static_cast<std::size_t>(line.size()), stdout);
}

void PrintMenu(const QList<QAction*>& actions, const QByteArray& parent)
{
    for (QAction* action : actions) {
        if (action->isSeparator())
            continue;
        const QByteArray name = action->objectName().toUtf8();
        Print({"menu", name, parent, action->text().toUtf8()});
        if (action->menu())
            PrintMenu(action->menu()->actions(), name);
    }
}

} // namespace

int main(int argc, char* argv[])
{
    TSerolisApplication application(argc, argv);
    const std::unique_ptr<TForm1> form = CreateMainWindow();

    for (const QByteArray& address : ShellAddresses())
        Print({"address", address});
    for (const ReferenceDocument& document : ReferenceDocuments())
        Print({"document", document.Entry, document.Address});
    Print({"document", HelpPage().Entry, HelpPage().Address});
    PrintMenu(form->MainMenu1->actions(), "-");
    Print({"highlight", QGuiApplication::palette().color(QPalette::Active, QPalette::Highlight).name().toLatin1()});
    return std::fflush(stdout) == 0 ? 0 : 1;
}
