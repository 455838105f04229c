#include "IdeasFile.h"

#include "Application.h"

#include <QDesktopServices>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QMessageBox>
#include <QPushButton>
#include <QUrl>

QString IdeasFilePath()
{
    return QDir::current().absoluteFilePath(kIdeasFileName);
}

QString CreateIdeasFileQuestion(const QString& path)
{
    return QStringLiteral("Le fichier %1 est introuvable.\r\rVoulez-vous créer un nouveau fichier ?")
        .arg(QDir::toNativeSeparators(path));
}

EIdeasFileError::EIdeasFileError(const QString& path)
    : std::runtime_error(QStringLiteral("Impossible de créer le fichier %1").arg(path).toStdString())
{
}

void OpenIdeasFile(const TAskYesNo& ask)
{
    const QString path = IdeasFilePath();
    if (!QFileInfo::exists(path)) {
        if (!ask || !ask(CreateIdeasFileQuestion(path)))
            return;
        // NewOnly: a file that appeared while the question was open is kept as it is.
        QFile file(path);
        if (!file.open(QIODevice::WriteOnly | QIODevice::NewOnly) && !QFileInfo::exists(path))
            throw EIdeasFileError(path);
    }
    QDesktopServices::openUrl(QUrl::fromLocalFile(path));
}

TAskYesNo MessageBoxAsker(QWidget* owner)
{
    return [owner](const QString& question) {
        QString text = question;
        text.replace(u'\r', u'\n');
        QMessageBox box(QMessageBox::Question, Application::Title(), text, QMessageBox::NoButton, owner);
        QPushButton* yes = box.addButton(QStringLiteral("Oui"), QMessageBox::YesRole);
        box.addButton(QStringLiteral("Non"), QMessageBox::NoRole);
        box.setDefaultButton(yes);
        box.exec();
        return box.clickedButton() == yes;
    };
}
