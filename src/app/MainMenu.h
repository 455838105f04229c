#pragma once
// Builds the main window's menu bar from the menu tree: captions with their automatic
// accelerators, images, shortcuts and separators. The window binds the entries' commands by name.

#include <QHash>
#include <QIcon>
#include <QList>
#include <QString>

class QAction;
class QMenuBar;

// The menu image list: twelve 16 x 16 pictures, numbered from 0.
constexpr int kMenuImageCount = 12;
QList<QIcon> MenuImages();

// Fills `bar` with the menus of the menu tree and returns every entry's action by entry name
// (separators included; an entry that opens a menu gives that menu's action). Each action also
// carries its entry name as object name. Shortcuts work from anywhere in the bar's window. The bar
// gets a style of its own that draws the pictures of its entries beside their captions.
QHash<QString, QAction*> BuildMainMenu(QMenuBar& bar);
