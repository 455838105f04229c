#pragma once
// Stands in for the desktop's opener in tests: while it lives, every URL handed to
// QDesktopServices::openUrl with one of its schemes is recorded instead of opened.

#include <QDesktopServices>
#include <QList>
#include <QObject>
#include <QStringList>
#include <QUrl>

class TUrlRecorder : public QObject
{
    Q_OBJECT

public:
    explicit TUrlRecorder(QStringList schemes = {QStringLiteral("http"), QStringLiteral("https"),
                                                 QStringLiteral("file")})
        : FSchemes(std::move(schemes))
    {
        for (const QString& scheme : FSchemes)
            QDesktopServices::setUrlHandler(scheme, this, "record");
    }
    ~TUrlRecorder() override
    {
        for (const QString& scheme : FSchemes)
            QDesktopServices::unsetUrlHandler(scheme);
    }

    QList<QUrl> Urls;

public slots:
    void record(const QUrl& url) { Urls << url; }

private:
    QStringList FSchemes;
};
