#include "MainMenu.h"
#include "MenuTree.h"

#include <QAction>
#include <QApplication>
#include <QLineEdit>
#include <QMenu>
#include <QMenuBar>
#include <QSignalSpy>
#include <QVBoxLayout>
#include <QtTest>

namespace {

QStringList Names(const std::vector<int>& items)
{
    QStringList names;
    for (const int i : items)
        names << QString::fromLatin1(MenuTree()[static_cast<std::size_t>(i)].Name);
    return names;
}

QStringList Captions(const std::vector<int>& items)
{
    QStringList captions;
    for (const int i : items)
        captions << MenuTree()[static_cast<std::size_t>(i)].Caption;
    return captions;
}

// Every level of the tree: the bar (-1) and each entry that opens a menu.
std::vector<int> Levels()
{
    std::vector<int> parents{-1};
    for (int i = 0; i < static_cast<int>(MenuTree().size()); ++i)
        if (HasChildren(i))
            parents.push_back(i);
    return parents;
}

} // namespace

class TestMenus : public QObject
{
    Q_OBJECT

private slots:
    void treeNestsEntriesByLevel();
    void automaticAccelerators_data();
    void automaticAccelerators();
    void everyLevelOfTheTreeGetsUniqueAccelerators();
    void shortCutCodes_data();
    void shortCutCodes();
    void builtMenuCarriesCaptionsImagesAndShortcuts();
    void barEntriesShowTheirPictureBesideTheirCaption();
    void shortcutsRunTheirEntryFromAnEditWithoutOpeningAMenu();
    void imageListHoldsTwelveDistinctPictures();
};

void TestMenus::treeNestsEntriesByLevel()
{
    QCOMPARE(Names(MenuChildren(-1)), (QStringList{"Fichiers1", "Profils1", "Biliographie1", "N3"}));
    QCOMPARE(Names(MenuChildren(MenuItemIndex("Biliographie1"))), (QStringList{"Orphanet2", "Orphanet1", "Marqueurs1"}));
    QCOMPARE(Names(MenuChildren(MenuItemIndex("Orphanet1"))), (QStringList{"HELPP1", "RCIU1", "N1", "CAT1"}));
    QCOMPARE(Names(MenuChildren(MenuItemIndex("N3"))), (QStringList{"Aide1", "N6", "Ides1", "N9", "Apropos1"}));
    QCOMPARE(Names(MenuChildren(MenuItemIndex("Profils1"))).size(), 10);
    QVERIFY(MenuChildren(MenuItemIndex("Quitter1")).empty());
    QVERIFY(!HasChildren(MenuItemIndex("InfoBiomnis1")));  // the last entry of its submenu
    QVERIFY(!HasChildren(MenuItemIndex("Apropos1")));      // the last entry of the tree
    QCOMPARE(MenuItemIndex("nothing"), -1);
}

void TestMenus::automaticAccelerators_data()
{
    QTest::addColumn<QStringList>("captions");
    QTest::addColumn<QStringList>("expected");

    QTest::newRow("given accelerators and separators are kept")
        << QStringList{"&Quitter", "-", "Boîte à &Idées", "-"} << QStringList{"&Quitter", "-", "Boîte à &Idées", "-"};
    QTest::newRow("a given letter is not taken again, whatever its place")
        << QStringList{"Fichier", "&Fin"} << QStringList{"F&ichier", "&Fin"};
    QTest::newRow("letters compare without case")
        << QStringList{"&abc", "Alpha"} << QStringList{"&abc", "A&lpha"};
    QTest::newRow("a word start is preferred to an earlier letter")
        << QStringList{"&Abc", "Abc Def"} << QStringList{"&Abc", "Abc &Def"};
    QTest::newRow("a letter is preferred to a digit")
        << QStringList{"T13", "Trisomie 16 en mosaique", "T21"}
        << QStringList{"&T13", "Trisomie 16 &en mosaique", "T&21"};
    QTest::newRow("accented letters count as letters")
        << QStringList{"&Editer", "Éditer"} << QStringList{"&Editer", "&Éditer"};
    QTest::newRow("a doubled ampersand is a plain character")
        << QStringList{"A && B"} << QStringList{"&A && B"};
    QTest::newRow("no free character leaves the caption as it is")
        << QStringList{"&A", "&B", "AB", "BA"} << QStringList{"&A", "&B", "AB", "BA"};
    QTest::newRow("the profiles menu")
        << QStringList{"&Initialiser les curseurs", "-", "DFTN, Rein, Paroi Abdo", "T21", "RCIU, T18,T13",
                       "HTA, TRIPLOIDIE", "MFIU, RCIU, MAP, TRIPLOIDIE, GG", "MFIU", "RCIU,T18,T13, TRIPLOIDIE", "SLO"}
        << QStringList{"&Initialiser les curseurs", "-", "&DFTN, Rein, Paroi Abdo", "&T21", "&RCIU, T18,T13",
                       "&HTA, TRIPLOIDIE", "&MFIU, RCIU, MAP, TRIPLOIDIE, GG", "M&FIU", "R&CIU,T18,T13, TRIPLOIDIE",
                       "&SLO"};
}

void TestMenus::automaticAccelerators()
{
    QFETCH(QStringList, captions);
    QFETCH(QStringList, expected);
    QCOMPARE(WithAutomaticAccelerators(captions), expected);
}

void TestMenus::everyLevelOfTheTreeGetsUniqueAccelerators()
{
    for (const int parent : Levels()) {
        const QStringList original = Captions(MenuChildren(parent));
        const QStringList captions = WithAutomaticAccelerators(original);
        QSet<QChar> letters;
        for (qsizetype k = 0; k < captions.size(); ++k) {
            if (captions[k] == QLatin1String("-"))
                continue;
            const QChar letter = AcceleratorOf(captions[k]);
            QVERIFY2(!letter.isNull(), qPrintable(captions[k]));
            QVERIFY2(!letters.contains(letter), qPrintable(captions[k]));
            letters.insert(letter);
            // Read back without its "&", the caption is the one given.
            QCOMPARE(WithoutAmpersands(captions[k]), WithoutAmpersands(original[k]));
        }
    }
}

void TestMenus::shortCutCodes_data()
{
    QTest::addColumn<int>("code");
    QTest::addColumn<QKeySequence>("expected");
    QTest::newRow("Ctrl+Q") << 16465 << QKeySequence(Qt::CTRL | Qt::Key_Q);
    QTest::newRow("Ctrl+I") << 16457 << QKeySequence(Qt::CTRL | Qt::Key_I);
    QTest::newRow("Shift+Alt+5") << (kShortCutShift | kShortCutAlt | '5') << QKeySequence(Qt::SHIFT | Qt::ALT | Qt::Key_5);
    QTest::newRow("none") << 0 << QKeySequence();
}

void TestMenus::shortCutCodes()
{
    QFETCH(int, code);
    QFETCH(QKeySequence, expected);
    QCOMPARE(ShortCutToKeySequence(code), expected);
}

void TestMenus::builtMenuCarriesCaptionsImagesAndShortcuts()
{
    QMenuBar bar;
    const QHash<QString, QAction*> actions = BuildMainMenu(bar);
    QCOMPARE(actions.size(), qsizetype(MenuTree().size()));

    // The bar's menus in order, with the accelerators chosen for them.
    QStringList barCaptions;
    for (QAction* action : bar.actions())
        barCaptions << action->text();
    QCOMPARE(barCaptions, (QStringList{"&Fichiers", "&Profils", "&Bibliographie", "&?Aide"}));

    // A caption without its own "&" reads back with one; the profiles strip it again.
    QCOMPARE(actions["T21"]->text(), QStringLiteral("&T21"));
    QCOMPARE(WithoutAmpersands(actions["RCIUT18T13TRIPLOIDIE1"]->text()), QStringLiteral("RCIU,T18,T13, TRIPLOIDIE"));
    QCOMPARE(actions["mnu_T21"]->text(), QStringLiteral("T&21"));
    QVERIFY(actions["N2"]->isSeparator());
    QCOMPARE(actions["Orphanet2"]->menu()->actions().size(), 9);
    QCOMPARE(actions["Orphanet2"]->objectName(), QStringLiteral("Orphanet2"));

    for (const TMenuItemData& item : MenuTree()) {
        QAction* action = actions.value(QString::fromLatin1(item.Name));
        QVERIFY2(action, item.Name);
        QCOMPARE(action->icon().isNull(), item.ImageIndex == kNoImage);
        QVERIFY(action->isEnabled() && !action->isCheckable());
    }
    QCOMPARE(actions["Quitter1"]->shortcut(), QKeySequence(Qt::CTRL | Qt::Key_Q));
    QCOMPARE(actions["Ides1"]->shortcut(), QKeySequence(Qt::CTRL | Qt::Key_I));
    QCOMPARE(actions["Apropos1"]->shortcut(), QKeySequence());
    // The bar's "&Fichiers" shows image 7.
    QCOMPARE(actions["Fichiers1"]->icon().pixmap(16).toImage(), MenuImages()[7].pixmap(16).toImage());
}

void TestMenus::barEntriesShowTheirPictureBesideTheirCaption()
{
    QMenuBar bar;
    const QHash<QString, QAction*> actions = BuildMainMenu(bar);
    bar.resize(600, bar.sizeHint().height());
    const QImage shot = bar.grab().toImage();
    const qreal ratio = shot.devicePixelRatio();
    for (const char* name : {"Fichiers1", "Profils1"}) {
        QAction* action = actions[name];
        const QRect item = bar.actionGeometry(action);
        const int textWidth = bar.fontMetrics().size(Qt::TextShowMnemonic, action->text()).width();
        QVERIFY2(item.width() >= 16 + textWidth, name);  // room for both, nothing clipped

        // A pixel from the middle of the picture, and dark caption pixels right of the picture.
        const QImage image = action->icon().pixmap(16).toImage();
        QHash<QRgb, int> opaque;
        for (int y = 0; y < 16; ++y)
            for (int x = 0; x < 16; ++x)
                if (qAlpha(image.pixel(x, y)) == 255)
                    ++opaque[image.pixel(x, y)];
        QVERIFY(!opaque.isEmpty());
        const QRgb mark = std::max_element(opaque.keyValueBegin(), opaque.keyValueEnd(),
                                           [](auto a, auto b) { return a.second < b.second; })->first;
        bool picture = false, caption = false;
        for (int y = item.top(); y <= item.bottom(); ++y)
            for (int x = item.left(); x <= item.right(); ++x) {
                const QRgb pixel = shot.pixel(QPoint(x, y) * ratio);
                picture = picture || pixel == mark;
                const bool rightOfPicture = x > item.left() + (item.width() - 16 - textWidth) / 2 + 17;
                caption = caption || (rightOfPicture && qGray(pixel) < 80);
            }
        QVERIFY2(picture, name);
        QVERIFY2(caption, name);
    }
}

void TestMenus::shortcutsRunTheirEntryFromAnEditWithoutOpeningAMenu()
{
    QWidget window;
    auto* bar = new QMenuBar(&window);
    auto* edit = new QLineEdit(&window);
    auto* layout = new QVBoxLayout(&window);
    layout->setMenuBar(bar);
    layout->addWidget(edit);
    const QHash<QString, QAction*> actions = BuildMainMenu(*bar);
    window.show();
    window.activateWindow();
    QVERIFY(QTest::qWaitForWindowActive(&window));
    edit->setFocus();
    QTRY_VERIFY(edit->hasFocus());

    QSignalSpy quit(actions["Quitter1"], &QAction::triggered);
    QSignalSpy ideas(actions["Ides1"], &QAction::triggered);
    QTest::keyClick(edit, Qt::Key_I, Qt::ControlModifier);
    QCOMPARE(ideas.count(), 1);
    QCOMPARE(quit.count(), 0);
    QCOMPARE(QApplication::activePopupWidget(), nullptr);
    QTest::keyClick(edit, Qt::Key_Q, Qt::ControlModifier);
    QCOMPARE(quit.count(), 1);
    QCOMPARE(edit->text(), QString());  // the keys went to the shortcuts, not into the edit
}

void TestMenus::imageListHoldsTwelveDistinctPictures()
{
    const QList<QIcon> images = MenuImages();
    QCOMPARE(images.size(), 12);
    QList<QImage> pictures;
    for (const QIcon& icon : images) {
        const QImage picture = icon.pixmap(16).toImage();
        QCOMPARE(picture.size(), QSize(16, 16));
        // Drawn over a transparent ground: some pixels let the menu show through.
        bool seeThrough = false;
        for (int y = 0; y < 16; ++y)
            for (int x = 0; x < 16; ++x)
                seeThrough = seeThrough || qAlpha(picture.pixel(x, y)) == 0;
        QVERIFY(seeThrough);
        QVERIFY(!pictures.contains(picture));
        pictures << picture;
    }
}

QTEST_MAIN(TestMenus)
#include "tst_menus.moc"
