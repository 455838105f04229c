#include "jc32_ini.h"

#include <QDesktopServices>
#include <QFileInfo>
#include <QUrl>

void OpenDocument(const QString& address)
{
    // An empty address names nothing: there is nothing to hand over.
    if (address.isEmpty())
        return;
    const QUrl url = QUrl::fromEncoded(address.toUtf8());
    if (!url.scheme().isEmpty()) {
        QDesktopServices::openUrl(url);
        return;
    }
    QDesktopServices::openUrl(QUrl::fromLocalFile(QFileInfo(address).absoluteFilePath()));
}
