#include "MainMenu.h"

#include "MenuTree.h"

#include <QAction>
#include <QMenu>
#include <QMenuBar>
#include <QPainter>
#include <QProxyStyle>
#include <QStyleOptionMenuItem>

namespace {

constexpr int kMenuImageSizePx = 16;
constexpr int kImageTextGapPx = 4;

// Qt's menu bar shows an entry's picture instead of its caption; this program's bar shows the
// picture beside the caption. The style measures and draws such entries as picture, gap, caption,
// and leaves every other element to the style it wraps.
class TMenuBarStyle : public QProxyStyle
{
public:
    using QProxyStyle::QProxyStyle;

    QSize sizeFromContents(ContentsType type, const QStyleOption* option, const QSize& size,
                           const QWidget* widget) const override
    {
        const auto* item = qstyleoption_cast<const QStyleOptionMenuItem*>(option);
        if (type != CT_MenuBarItem || !item || item->icon.isNull())
            return QProxyStyle::sizeFromContents(type, option, size, widget);
        const QSize text = item->fontMetrics.size(Qt::TextShowMnemonic, item->text);
        const QSize content(kMenuImageSizePx + kImageTextGapPx + text.width(), qMax(kMenuImageSizePx, text.height()));
        return QProxyStyle::sizeFromContents(type, option, content, widget);
    }

    void drawControl(ControlElement element, const QStyleOption* option, QPainter* painter,
                     const QWidget* widget) const override
    {
        const auto* item = qstyleoption_cast<const QStyleOptionMenuItem*>(option);
        if (element != CE_MenuBarItem || !item || item->icon.isNull()) {
            QProxyStyle::drawControl(element, option, painter, widget);
            return;
        }
        // The entry's ground (and highlight) first, without picture or caption.
        QStyleOptionMenuItem ground(*item);
        ground.icon = QIcon();
        ground.text.clear();
        QProxyStyle::drawControl(element, &ground, painter, widget);

        const int textWidth = item->fontMetrics.size(Qt::TextShowMnemonic, item->text).width();
        const int contentWidth = kMenuImageSizePx + kImageTextGapPx + textWidth;
        const QRect& r = item->rect;
        const int left = r.left() + (r.width() - contentWidth) / 2;
        const bool enabled = item->state & State_Enabled;
        const QRect imageRect(left, r.top() + (r.height() - kMenuImageSizePx) / 2, kMenuImageSizePx, kMenuImageSizePx);
        item->icon.paint(painter, imageRect, Qt::AlignCenter, enabled ? QIcon::Normal : QIcon::Disabled);

        int flags = Qt::AlignVCenter | Qt::AlignLeft | Qt::TextShowMnemonic | Qt::TextSingleLine | Qt::TextDontClip;
        if (!styleHint(SH_UnderlineShortcut, item, widget))
            flags |= Qt::TextHideMnemonic;
        const bool open = (item->state & State_Selected) && (item->state & State_Sunken);
        const QRect textRect(imageRect.right() + 1 + kImageTextGapPx, r.top(), textWidth, r.height());
        drawItemText(painter, textRect, flags, item->palette, enabled, item->text,
                     open ? QPalette::HighlightedText : QPalette::ButtonText);
    }
};

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
    auto* style = new TMenuBarStyle(bar.style()->name());
    style->setParent(&bar);
    bar.setStyle(style);
    QHash<QString, QAction*> actions;
    AddChildren(-1, bar, nullptr, MenuImages(), actions);
    return actions;
}
