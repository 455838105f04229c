#include "SerolisApplication.h"

#include "Application.h"
#include "IconFiles.h"

#include <QDir>
#include <QFont>

TSerolisApplication::TSerolisApplication(int& argc, char** argv) : QApplication(argc, argv)
{
    setApplicationName(Application::Title());
    setDesktopFileName(QString::fromLatin1(kDesktopEntryName));
    setWindowIcon(ProgramIcon());
    DeclareFontSubstitutes();
}

bool TSerolisApplication::notify(QObject* receiver, QEvent* event)
{
    try {
        return QApplication::notify(receiver, event);
    } catch (const std::exception& error) {
        Application::HandleException(error);
    } catch (...) {
        Application::ShowErrorReport(QStringLiteral("Erreur inconnue"));
    }
    return false;
}

QIcon ProgramIcon()
{
    // The embedded pictures sit in folders named after their size ("48x48"); they are read
    // only when a size is asked for.
    QList<TIconFile> files;
    const QDir sizes(QStringLiteral(":/icons/hicolor"));
    for (const QString& size : sizes.entryList(QDir::Dirs | QDir::NoDotAndDotDot)) {
        const QStringList sides = size.split(u'x');
        bool wide = false, high = false;
        const int width = sides.size() == 2 ? sides[0].toInt(&wide) : 0;
        const int height = sides.size() == 2 ? sides[1].toInt(&high) : 0;
        if (!wide || !high)
            continue;
        files.append({sizes.filePath(size + QStringLiteral("/apps/serolis.png")), QSize(width, height)});
    }
    return QIcon::fromTheme(QString::fromLatin1(kDesktopEntryName), IconFromFiles(files));
}

void DeclareFontSubstitutes()
{
    // "MS Sans Serif" is a narrow bitmap face of Windows; Liberation Sans, metric-compatible with
    // Arial, is the nearest outline face at its small sizes. Without a substitute the font system
    // falls back on a much wider face.
    QFont::insertSubstitutions(QStringLiteral("MS Sans Serif"),
                               {QStringLiteral("Liberation Sans"), QStringLiteral("Arial")});
    QFont::insertSubstitution(QStringLiteral("Arial"), QStringLiteral("Liberation Sans"));
}
