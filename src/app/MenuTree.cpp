#include "MenuTree.h"

#include "ExampleProfiles.h"

#include <QSet>

#include <array>
#include <functional>

namespace {

using L = TMenuLevel;

// The example profiles name their own menu entries: the captions come from the profile table.
QString ProfileCaption(const char* entry)
{
    const std::string_view caption = FindProfileByMenuEntry(entry)->caption;
    return QString::fromUtf8(caption.data(), static_cast<qsizetype>(caption.size()));
}

// Entries that have a submenu take no image or shortcut here. Built on first use, after the profile
// table it reads from.
const std::vector<TMenuItemData>& Tree()
{
    static const std::vector<TMenuItemData> tree{
        {"Fichiers1", QStringLiteral("&Fichiers"), L::Bar, 7, 0},
        {"Quitter1", QStringLiteral("&Quitter"), L::Menu, 5, kCtrlQ},
        {"Profils1", QStringLiteral("Profils"), L::Bar, 6, 0},
        {"InitialiserlesMoM1", QStringLiteral("&Initialiser les curseurs"), L::Menu, 6, 0},
        {"N2", QStringLiteral("-"), L::Menu, kNoImage, 0},
        {"Spina1", ProfileCaption("Spina1"), L::Menu, kNoImage, 0},
        {"T21", ProfileCaption("T21"), L::Menu, kNoImage, 0},
        {"RCIUT18T131", ProfileCaption("RCIUT18T131"), L::Menu, kNoImage, 0},
        {"HTARCIU1", ProfileCaption("HTARCIU1"), L::Menu, kNoImage, 0},
        {"MFIURCIUMAPTRIPLOIDIEGG1", ProfileCaption("MFIURCIUMAPTRIPLOIDIEGG1"), L::Menu, kNoImage, 0},
        {"MFIU1", ProfileCaption("MFIU1"), L::Menu, kNoImage, 0},
        {"RCIUT18T13TRIPLOIDIE1", ProfileCaption("RCIUT18T13TRIPLOIDIE1"), L::Menu, kNoImage, 0},
        {"SLO1", ProfileCaption("SLO1"), L::Menu, kNoImage, 0},
        {"Biliographie1", QStringLiteral("Bibliographie"), L::Bar, kNoImage, 0},
        {"Orphanet2", QStringLiteral("Orphanet"), L::Menu, kNoImage, 0},
        {"mnu_DEFAFP", QStringLiteral("Déficit congénitale en AFP"), L::Submenu, kNoImage, 0},
        {"mnu_ICHTYOSE", QStringLiteral("Ichtyose X"), L::Submenu, kNoImage, 0},
        {"mnu_T13", QStringLiteral("T13"), L::Submenu, kNoImage, 0},
        {"mnu_T16", QStringLiteral("Trisomie 16 en mosaique"), L::Submenu, kNoImage, 0},
        {"mnu_T21", QStringLiteral("T21"), L::Submenu, kNoImage, 0},
        {"mnu_T18", QStringLiteral("T18"), L::Submenu, kNoImage, 0},
        {"mnu_TRIPLOIDIE", QStringLiteral("Triploidie"), L::Submenu, kNoImage, 0},
        {"mnu_SLO", QStringLiteral("SLO"), L::Submenu, kNoImage, 0},
        {"mnu_WILLIAMS", QStringLiteral("Syndrome de Williams"), L::Submenu, kNoImage, 0},
        {"Orphanet1", QStringLiteral("CNGOF"), L::Menu, kNoImage, 0},
        {"HELPP1", QStringLiteral("HELPP"), L::Submenu, kNoImage, 0},
        {"RCIU1", QStringLiteral("RCIU"), L::Submenu, kNoImage, 0},
        {"N1", QStringLiteral("-"), L::Submenu, kNoImage, 0},
        {"CAT1", QStringLiteral("CAT"), L::Submenu, kNoImage, 0},
        {"Marqueurs1", QStringLiteral("Marqueurs"), L::Menu, kNoImage, 0},
        {"Marqueuratypique1", QStringLiteral("Marqueur atypique"), L::Submenu, kNoImage, 0},
        {"InfoBiomnis1", QStringLiteral("Info Biomnis"), L::Submenu, kNoImage, 0},
        {"N3", QStringLiteral("&?Aide"), L::Bar, kNoImage, 0},
        {"Aide1", QStringLiteral("Aide"), L::Menu, kNoImage, 0},
        {"N6", QStringLiteral("-"), L::Menu, kNoImage, 0},
        {"Ides1", QStringLiteral("Boîte à &Idées"), L::Menu, 4, kCtrlI},
        {"N9", QStringLiteral("-"), L::Menu, kNoImage, 0},
        {"Apropos1", QStringLiteral("A propos"), L::Menu, kNoImage, 0},
    };
    return tree;
}

int LevelOf(int index)
{
    return static_cast<int>(Tree()[static_cast<std::size_t>(index)].Level);
}

bool IsWordStart(const QString& text, qsizetype at)
{
    return at == 0 || !text.at(at - 1).isLetterOrNumber();
}

} // namespace

const std::vector<TMenuItemData>& MenuTree()
{
    return Tree();
}

int MenuItemIndex(const QString& name)
{
    for (std::size_t i = 0; i < Tree().size(); ++i)
        if (name == QLatin1String(Tree()[i].Name))
            return static_cast<int>(i);
    return -1;
}

std::vector<int> MenuChildren(int parent)
{
    const int count = static_cast<int>(Tree().size());
    const int level = parent < 0 ? static_cast<int>(TMenuLevel::Bar) : LevelOf(parent) + 1;
    std::vector<int> children;
    for (int i = parent + 1; i < count && LevelOf(i) >= level; ++i)
        if (LevelOf(i) == level)
            children.push_back(i);
    return children;
}

bool HasChildren(int index)
{
    const int next = index + 1;
    return index >= 0 && next < static_cast<int>(Tree().size()) && LevelOf(next) > LevelOf(index);
}

QKeySequence ShortCutToKeySequence(int shortCut)
{
    const int key = shortCut & 0xFF;
    if (key == 0)
        return {};
    Qt::KeyboardModifiers modifiers;
    if (shortCut & kShortCutShift)
        modifiers |= Qt::ShiftModifier;
    if (shortCut & kShortCutCtrl)
        modifiers |= Qt::ControlModifier;
    if (shortCut & kShortCutAlt)
        modifiers |= Qt::AltModifier;
    // Virtual key codes of letters and digits are their upper-case characters, as are Qt's keys.
    return QKeySequence(QKeyCombination(modifiers, static_cast<Qt::Key>(key)));
}

QChar AcceleratorOf(const QString& caption)
{
    for (qsizetype i = 0; i + 1 < caption.size(); ++i) {
        if (caption.at(i) != u'&')
            continue;
        if (caption.at(i + 1) != u'&')
            return caption.at(i + 1).toUpper();
        ++i;  // "&&" is a literal ampersand
    }
    return {};
}

QStringList WithAutomaticAccelerators(const QStringList& captions)
{
    QSet<QChar> used;
    for (const QString& caption : captions) {
        const QChar letter = AcceleratorOf(caption);
        if (!letter.isNull())
            used.insert(letter);
    }
    QStringList result = captions;
    for (QString& caption : result) {
        if (caption == QLatin1String("-") || !AcceleratorOf(caption).isNull())
            continue;
        // First choice: a letter that starts a word; then any letter; then any digit.
        const std::array<std::function<bool(qsizetype)>, 3> passes{
            [&](qsizetype i) { return caption.at(i).isLetter() && IsWordStart(caption, i); },
            [&](qsizetype i) { return caption.at(i).isLetter(); },
            [&](qsizetype i) { return caption.at(i).isDigit(); },
        };
        qsizetype chosen = -1;
        for (const auto& suits : passes)
            for (qsizetype i = 0; i < caption.size() && chosen < 0; ++i)
                if (suits(i) && !used.contains(caption.at(i).toUpper()))
                    chosen = i;
        if (chosen < 0)
            continue;
        used.insert(caption.at(chosen).toUpper());
        caption.insert(chosen, u'&');
    }
    return result;
}

QString WithoutAmpersands(QString caption)
{
    return caption.remove(u'&');
}
