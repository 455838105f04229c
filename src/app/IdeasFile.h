#pragma once
// "Boîte à Idées": the ideas file serolis.txt in the working directory, opened in the desktop's
// text editor.

#include <QString>
#include <functional>
#include <stdexcept>

class QWidget;

inline const QString kIdeasFileName = QStringLiteral("serolis.txt");

// Asks a yes-or-no question; true for yes.
using TAskYesNo = std::function<bool(const QString& question)>;

// The ideas file's absolute path: serolis.txt in the current working directory.
QString IdeasFilePath();

// The question asked when the ideas file does not exist yet.
QString CreateIdeasFileQuestion(const QString& path);

// The ideas file could not be created.
class EIdeasFileError : public std::runtime_error {
public:
    explicit EIdeasFileError(const QString& path);
};

// Opens the ideas file with the desktop's opener, which hands a text file to the text editor.
// When the file does not exist, asks, as a text editor would, whether to create it; on yes creates
// it empty and opens it, on no does nothing. Throws EIdeasFileError when it cannot be created.
void OpenIdeasFile(const TAskYesNo& ask);

// A question box over `owner` (title: the application title; buttons "Oui" and "Non").
TAskYesNo MessageBoxAsker(QWidget* owner);
