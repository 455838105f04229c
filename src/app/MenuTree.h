#pragma once
// The main menu as data: every entry with its name, caption, image, shortcut and level, in menu
// order, and the automatic accelerator letters. The window builds its menu bar from this table.

#include <QKeySequence>
#include <QString>
#include <QStringList>
#include <vector>

// Menu levels: the menu bar, the menus it opens and their submenus.
enum class TMenuLevel { Bar = 1, Menu = 2, Submenu = 3 };

struct TMenuItemData {
    const char* Name;     // the entry's component name ("Quitter1")
    QString Caption;      // "&" marks the accelerator letter, "-" is a separator line
    TMenuLevel Level;
    int ImageIndex;       // index in the menu image list, kNoImage for none
    int ShortCut;         // key code with modifier flags (kCtrlQ), 0 for none

    bool IsSeparator() const { return Caption == QLatin1String("-"); }
};

constexpr int kNoImage = -1;

// Shortcut key codes: a virtual key code plus modifier flags.
constexpr int kShortCutShift = 0x2000;
constexpr int kShortCutCtrl = 0x4000;
constexpr int kShortCutAlt = 0x8000;
constexpr int kCtrlQ = kShortCutCtrl + 'Q';  // 16465
constexpr int kCtrlI = kShortCutCtrl + 'I';  // 16457

// The whole tree, flat, in menu order; an entry's children follow it with the next deeper level.
const std::vector<TMenuItemData>& MenuTree();

// The position in MenuTree() of the entry with that name, or -1.
int MenuItemIndex(const QString& name);

// The positions in MenuTree() of the direct children of the entry at `parent`; parent -1 gives the
// entries of the menu bar.
std::vector<int> MenuChildren(int parent);

// Whether the entry at that position opens a menu of its own.
bool HasChildren(int index);

// The key sequence of a shortcut key code (0 gives an empty sequence). Letters and digits carry
// their own character as key code.
QKeySequence ShortCutToKeySequence(int shortCut);

// Gives every caption of one menu level that has no accelerator of its own ("&" followed by a
// character other than "&") an accelerator letter that no other caption of the level uses, letters
// compared without case. Captions with an accelerator, separators ("-") and captions with no free
// character left come back unchanged. The character chosen is the first free letter that starts a
// word, else the first free letter, else the first free digit.
QStringList WithAutomaticAccelerators(const QStringList& captions);

// The accelerator character of a caption (upper case), or a null QChar when it has none.
QChar AcceleratorOf(const QString& caption);

// The caption with every "&" removed, as the example profiles name the window.
QString WithoutAmpersands(QString caption);
