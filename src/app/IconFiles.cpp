#include "IconFiles.h"

#include <QFile>
#include <QHash>
#include <QIconEngine>
#include <QPixmap>
#include <optional>

namespace {

// Answers from the list of files what it can (null or not, the sizes there are) and hands
// everything else to the icon QIcon::addFile makes of the files, built on first use. That icon
// is asked with a pixel ratio of 1, so that it does not scale what the caller scaled already.
class TIconFilesEngine final : public QIconEngine
{
public:
    explicit TIconFilesEngine(QList<TIconFile> files) : FFiles(std::move(files)) {}

    void paint(QPainter* painter, const QRect& rect, QIcon::Mode mode, QIcon::State state) override
    {
        Loaded().paint(painter, rect, Qt::AlignCenter, mode, state);
    }

    QSize actualSize(const QSize& size, QIcon::Mode mode, QIcon::State state) override
    {
        return Loaded().actualSize(size, mode, state);
    }

    QPixmap pixmap(const QSize& size, QIcon::Mode mode, QIcon::State state) override
    {
        // A picture of exactly the size asked for, in the mode and state the files were given
        // for, is the file itself: only that one file is read.
        if (!FLoaded && mode == QIcon::Normal && state == QIcon::Off) {
            for (qsizetype i = 0; i < FFiles.size(); ++i) {
                if (FFiles[i].Size != size)
                    continue;
                if (!FExact.contains(i))
                    FExact.insert(i, QPixmap(FFiles[i].Path));
                const QPixmap& picture = FExact[i];
                if (picture.size() == size)
                    return picture;
                break;
            }
        }
        return Loaded().pixmap(size, 1.0, mode, state);
    }

    void addPixmap(const QPixmap& pixmap, QIcon::Mode mode, QIcon::State state) override
    {
        Loaded().addPixmap(pixmap, mode, state);
    }

    void addFile(const QString& fileName, const QSize& size, QIcon::Mode mode, QIcon::State state) override
    {
        Loaded().addFile(fileName, size, mode, state);
    }

    QList<QSize> availableSizes(QIcon::Mode mode, QIcon::State state) override
    {
        if (FLoaded)
            return FLoaded->availableSizes(mode, state);
        // The files were all given for the normal mode in the off state.
        QList<QSize> sizes;
        if (mode == QIcon::Normal && state == QIcon::Off)
            for (const TIconFile& file : FFiles)
                sizes.append(file.Size);
        return sizes;
    }

    bool isNull() override { return FLoaded ? FLoaded->isNull() : FFiles.isEmpty(); }
    QString key() const override { return QStringLiteral("TIconFilesEngine"); }
    QIconEngine* clone() const override { return new TIconFilesEngine(*this); }

private:
    QIcon& Loaded()
    {
        if (!FLoaded) {
            QIcon icon;
            for (const TIconFile& file : FFiles)
                icon.addFile(file.Path, file.Size);
            FLoaded = icon;
        }
        return *FLoaded;
    }

    QList<TIconFile> FFiles;
    QHash<qsizetype, QPixmap> FExact; // pictures read one by one, by file
    std::optional<QIcon> FLoaded;
};

} // namespace

QIcon IconFromFiles(const QList<TIconFile>& files)
{
    QList<TIconFile> present;
    for (const TIconFile& file : files)
        if (QFile::exists(file.Path))
            present.append(file);
    return QIcon(new TIconFilesEngine(present));
}
