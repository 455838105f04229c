#include "MainMenu.h"

#include "MenuTree.h"

#include <QAction>
#include <QMenu>
#include <QMenuBar>

namespace {

QStringList LevelCaptions(const std::vector<int>& items)
{
    QStringList captions;
    for (const int i : items)
        captions << MenuTree()[static_cast<std::size_t>(i)].Caption;
    return captions;
}

void ApplyItemData(QAction* action, const TMenuItemData& item, const QList<QIcon>& images)
{
    action->setObjectName(QString::fromLatin1(item.Name));
    if (item.ImageIndex != kNoImage)
        action->setIcon(images.value(item.ImageIndex));
    if (item.ShortCut != 0)
        action->setShortcut(ShortCutToKeySequence(item.ShortCut));
}

// Adds the children of `parent` to `menu` (or to the bar when menu is null), depth first.
void AddChildren(int parent, QMenuBar& bar, QMenu* menu, const QList<QIcon>& images,
                 QHash<QString, QAction*>& actions)
{
    const std::vector<int> children = MenuChildren(parent);
    const QStringList captions = WithAutomaticAccelerators(LevelCaptions(children));
    for (std::size_t k = 0; k < children.size(); ++k) {
        const int index = children[k];
        const TMenuItemData& item = MenuTree()[static_cast<std::size_t>(index)];
        const QString& caption = captions[static_cast<qsizetype>(k)];
        QAction* action = nullptr;
        if (HasChildren(index)) {
            QMenu* submenu = menu ? menu->addMenu(caption) : bar.addMenu(caption);
            submenu->setObjectName(QString::fromLatin1(item.Name));
            action = submenu->menuAction();
            AddChildren(index, bar, submenu, images, actions);
        } else if (item.IsSeparator()) {
            action = menu ? menu->addSeparator() : bar.addSeparator();
        } else {
            action = menu ? menu->addAction(caption) : bar.addAction(caption);
        }
        ApplyItemData(action, item, images);
        actions.insert(action->objectName(), action);
    }
}

} // namespace

QList<QIcon> MenuImages()
{
    QList<QIcon> images;
    for (int i = 0; i < kMenuImageCount; ++i)
        images << QIcon(QStringLiteral(":/app/menu-%1.png").arg(i, 2, 10, QLatin1Char('0')));
    return images;
}

QHash<QString, QAction*> BuildMainMenu(QMenuBar& bar)
{
    QHash<QString, QAction*> actions;
    AddChildren(-1, bar, nullptr, MenuImages(), actions);
    return actions;
}
