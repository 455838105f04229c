#include "WindowViews.h"

#include "CaptionPanel.h"
#include "LED.h"

#include <QMessageBox>

void TCaptionBarView::SetCaptionColor(TColorValue color)
{
    FPanel->SetCaptionColor(color);
}

void TLampView::SetActive(bool active)
{
    FLed->SetActive(active);
}

void TLampView::SetStatus(bool status)
{
    FLed->SetStatus(status);
}

void TShownTextView::SetText(const std::string& text)
{
    FSetter(QString::fromUtf8(text.data(), static_cast<qsizetype>(text.size())));
}

QString MessageBoxText(const QString& text)
{
    QString shown = text;
    shown.replace(u'\r', u'\n');
    return shown;
}

void ShowInformationDialog(const QString& text)
{
    // Without an owner the dialog centres itself on the screen; modal to the whole application.
    QMessageBox box(QMessageBox::Information, kInformationTitle, MessageBoxText(text), QMessageBox::Ok);
    box.setWindowModality(Qt::ApplicationModal);
    box.exec();
}

void TMessageBoxes::ShowInformation(const std::string& text)
{
    ShowInformationDialog(QString::fromUtf8(text.data(), static_cast<qsizetype>(text.size())));
}

void TMessageBoxes::ShowMessageBox(const std::string& text, const std::string& title, int flags)
{
    // The only flags the program passes: the information icon with one OK button.
    const QMessageBox::Icon icon = (flags & kMbIconInformation) ? QMessageBox::Information : QMessageBox::NoIcon;
    QMessageBox box(icon, QString::fromUtf8(title.data(), static_cast<qsizetype>(title.size())),
                    MessageBoxText(QString::fromUtf8(text.data(), static_cast<qsizetype>(text.size()))),
                    QMessageBox::Ok, FOwner);
    box.setWindowModality(Qt::ApplicationModal);
    box.exec();
}
