// An icon read from its files only when a picture is asked for answers as the icon QIcon::addFile
// makes of the same files.

#include "IconFiles.h"

#include <QIcon>
#include <QImage>
#include <QPixmap>
#include <QtTest>

namespace {

// The panel icon of the AFP input, in its three sizes, and a file that does not exist.
QList<TIconFile> PanelFiles(bool withMissing)
{
    QList<TIconFile> files;
    for (const int size : {16, 32, 48})
        files.append({QStringLiteral(":/display/icon-afp-%1.png").arg(size), QSize(size, size)});
    if (withMissing)
        files.append({QStringLiteral(":/display/no-such-icon-24.png"), QSize(24, 24)});
    return files;
}

QIcon Eager(const QList<TIconFile>& files)
{
    QIcon icon;
    for (const TIconFile& file : files)
        icon.addFile(file.Path, file.Size);
    return icon;
}

} // namespace

class TestIconFiles : public QObject
{
    Q_OBJECT

private slots:
    void sizesBeforeAnyPicture()
    {
        for (const bool withMissing : {false, true}) {
            const QList<TIconFile> files = PanelFiles(withMissing);
            QIcon lazy = IconFromFiles(files);
            QVERIFY(!lazy.isNull());
            QCOMPARE(lazy.availableSizes(), Eager(files).availableSizes());
            QCOMPARE(lazy.availableSizes(QIcon::Disabled), Eager(files).availableSizes(QIcon::Disabled));
        }
        QVERIFY(IconFromFiles({}).isNull());
    }

    void pictures_data()
    {
        QTest::addColumn<QSize>("size");
        QTest::addColumn<int>("mode");
        QTest::newRow("a size there is") << QSize(16, 16) << int(QIcon::Normal);
        QTest::newRow("the largest size") << QSize(48, 48) << int(QIcon::Normal);
        QTest::newRow("between two sizes") << QSize(20, 20) << int(QIcon::Normal);
        QTest::newRow("larger than any") << QSize(64, 64) << int(QIcon::Normal);
        QTest::newRow("disabled") << QSize(16, 16) << int(QIcon::Disabled);
    }
    void pictures()
    {
        QFETCH(QSize, size);
        QFETCH(int, mode);
        const QList<TIconFile> files = PanelFiles(true);
        const auto m = static_cast<QIcon::Mode>(mode);
        const QIcon lazy = IconFromFiles(files);
        const QIcon eager = Eager(files);
        QCOMPARE(lazy.actualSize(size, m), eager.actualSize(size, m));
        const QImage shown = lazy.pixmap(size, m).toImage();
        QVERIFY(!shown.isNull());
        QCOMPARE(shown, eager.pixmap(size, m).toImage());
        // Asked again, and once the whole icon has been read.
        QCOMPARE(lazy.pixmap(size, m).toImage(), shown);
        QCOMPARE(lazy.availableSizes(), eager.availableSizes());
    }
};

QTEST_MAIN(TestIconFiles)
#include "tst_iconfiles.moc"
