#include "Application.h"

#include <QApplication>
#include <QFileInfo>
#include <QMessageBox>
#include <QPointer>
#include <QTimer>

namespace Application {

namespace {
TErrorDisplay gErrorDisplay;
int gBeeps = 0;

void ShowErrorBox(const QString& text)
{
    QMessageBox box(QMessageBox::Critical, Title(), text, QMessageBox::Ok);
    box.exec();
}
} // namespace

QString TitleFromProgramPath(const QString& programPath)
{
    const QString name = QFileInfo(programPath).completeBaseName();
    if (name.isEmpty())
        return name;
    return name.left(1) + name.mid(1).toLower();
}

QString Title()
{
    return TitleFromProgramPath(QCoreApplication::applicationFilePath());
}

QString ErrorReportText(const QString& message)
{
    if (!message.isEmpty() && message.back() > u'.')
        return message + u'.';
    return message;
}

void ShowErrorReport(const QString& message)
{
    const QString text = ErrorReportText(message);
    if (gErrorDisplay) {
        gErrorDisplay(text);
        return;
    }
    if (!QCoreApplication::instance())
        return;
    QTimer::singleShot(0, QCoreApplication::instance(), [text] { ShowErrorBox(text); });
}

void HandleException(const std::exception& error)
{
    ShowErrorReport(QString::fromUtf8(error.what()));
}

TErrorDisplay SetErrorDisplay(TErrorDisplay display)
{
    TErrorDisplay previous = std::move(gErrorDisplay);
    gErrorDisplay = std::move(display);
    return previous;
}

void Beep()
{
    ++gBeeps;
    QApplication::beep();
}

int BeepCount()
{
    return gBeeps;
}

} // namespace Application
