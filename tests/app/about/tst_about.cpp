#include "AboutBox.h"
#include "Application.h"

#include <QFile>
#include <QTemporaryDir>
#include <QtTest>

namespace {

const QString kIntro = QStringLiteral(
    "Aide à la mémorisation de profils sérologiques à risque par l'utilisation du Triplo-Test\r\r"
    "Dernière compilation : ");

QDateTime Local(int y, int mo, int d, int h, int mi, int s, int ms = 0)
{
    return QDateTime(QDate(y, mo, d), QTime(h, mi, s, ms));
}

// A file whose modification time is set to a given local time.
QString FileModifiedAt(const QTemporaryDir& dir, const QDateTime& time)
{
    const QString path = dir.filePath(QStringLiteral("serolis"));
    QFile file(path);
    if (!file.open(QIODevice::WriteOnly) || !file.setFileTime(time, QFileDevice::FileModificationTime))
        return {};
    return path;
}

} // namespace

class TestAbout : public QObject
{
    Q_OBJECT

private slots:
    void packsLocalTimeInTwoSecondSteps_data();
    void packsLocalTimeInTwoSecondSteps();
    void unpackingAnImpossibleDateFails_data();
    void unpackingAnImpossibleDateFails();
    void aboutTextFollowsTheLocale_data();
    void aboutTextFollowsTheLocale();
    void aboutTextOfAProgramFile();
    void aProgramFileWithoutAReadableTimeGivesTheDateError();
};

void TestAbout::packsLocalTimeInTwoSecondSteps_data()
{
    QTest::addColumn<QDateTime>("local");
    QTest::addColumn<quint32>("packed");
    QTest::addColumn<QDateTime>("unpacked");

    QTest::newRow("first moment of the format") << Local(1980, 1, 1, 0, 0, 0) << 0x00210000u << Local(1980, 1, 1, 0, 0, 0);
    QTest::newRow("odd seconds and milliseconds are dropped")
        << Local(2024, 3, 7, 13, 5, 9, 750) << ((44u << 25) | (3u << 21) | (7u << 16) | (13u << 11) | (5u << 5) | 4u)
        << Local(2024, 3, 7, 13, 5, 8);
    // The top bit is the year's: the packed value is negative as a signed number.
    QTest::newRow("last moment of the format") << Local(2107, 12, 31, 23, 59, 59) << 0xFF9FBF7Du
                                               << Local(2107, 12, 31, 23, 59, 58);
    QTest::newRow("before 1980 it cannot be held") << Local(1979, 12, 31, 23, 59, 59) << 0xFFFFFFFFu << QDateTime();
    QTest::newRow("nor after 2107") << Local(2108, 1, 1, 0, 0, 0) << 0xFFFFFFFFu << QDateTime();
    QTest::newRow("a file of the epoch, as some build systems stamp them")
        << Local(1970, 1, 1, 0, 0, 1) << 0xFFFFFFFFu << QDateTime();
    QTest::newRow("no time at all") << QDateTime() << 0xFFFFFFFFu << QDateTime();
}

void TestAbout::packsLocalTimeInTwoSecondSteps()
{
    QFETCH(QDateTime, local);
    QFETCH(quint32, packed);
    QFETCH(QDateTime, unpacked);
    const std::int32_t fileDate = DateTimeToFileDate(local);
    QCOMPARE(static_cast<quint32>(fileDate), packed);
    if (unpacked.isValid())
        QCOMPARE(FileDateToDateTime(fileDate), unpacked);
    else
        QCOMPARE(fileDate, kNoFileDate);
}

void TestAbout::unpackingAnImpossibleDateFails_data()
{
    QTest::addColumn<quint32>("packed");
    const quint32 valid = (44u << 25) | (3u << 21) | (7u << 16) | (13u << 11) | (5u << 5) | 4u;
    QTest::newRow("unreadable time, month 15") << 0xFFFFFFFFu;
    QTest::newRow("month 0") << (valid & ~(0xFu << 21));
    QTest::newRow("day 0") << (valid & ~(0x1Fu << 16));
    QTest::newRow("30 February") << ((valid & ~(0x1FFu << 16)) | (2u << 21) | (30u << 16));
    QTest::newRow("hour 24") << ((valid & ~(0x1Fu << 11)) | (24u << 11));
    QTest::newRow("minute 60") << ((valid & ~(0x3Fu << 5)) | (60u << 5));
    QTest::newRow("second 60") << ((valid & ~0x1Fu) | 30u);
}

void TestAbout::unpackingAnImpossibleDateFails()
{
    QFETCH(quint32, packed);
    try {
        AboutText(static_cast<std::int32_t>(packed), QLocale(QLocale::French, QLocale::France));
        QFAIL("no error");
    } catch (const EDateEncodeError& error) {
        // What the user reads: the message with the full stop of the error report.
        QCOMPARE(Application::ErrorReportText(QString::fromUtf8(error.what())),
                 QStringLiteral("Argument incorrect pour l'encodage de date."));
    }
}

void TestAbout::aboutTextFollowsTheLocale_data()
{
    QTest::addColumn<QLocale>("locale");
    QTest::addColumn<QDateTime>("fileTime");
    QTest::addColumn<QString>("shown");

    const QLocale french(QLocale::French, QLocale::France);
    const QLocale c = QLocale::c();
    const QLocale american(QLocale::English, QLocale::UnitedStates);
    QTest::newRow("French, odd seconds shown even") << french << Local(2024, 3, 7, 13, 5, 9) << "07/03/2024 13:05:08";
    QTest::newRow("French, midnight shows no time") << french << Local(2023, 11, 5, 0, 0, 0) << "05/11/2023";
    QTest::newRow("French, one second past midnight packs to midnight")
        << french << Local(2023, 11, 5, 0, 0, 1) << "05/11/2023";
    QTest::newRow("French, two seconds past midnight") << french << Local(2023, 11, 5, 0, 0, 2) << "05/11/2023 00:00:02";
    QTest::newRow("C, odd seconds") << c << Local(2024, 3, 7, 13, 5, 9) << "7 Mar 2024 13:05:08";
    QTest::newRow("C, midnight") << c << Local(2024, 3, 7, 0, 0, 0) << "7 Mar 2024";
    QTest::newRow("American, afternoon") << american << Local(2024, 3, 7, 13, 5, 9) << "3/7/24 1:05:08 PM";
}

void TestAbout::aboutTextFollowsTheLocale()
{
    QFETCH(QLocale, locale);
    QFETCH(QDateTime, fileTime);
    QFETCH(QString, shown);
    QCOMPARE(AboutText(DateTimeToFileDate(fileTime), locale), kIntro + shown);
}

void TestAbout::aboutTextOfAProgramFile()
{
    QTemporaryDir dir;
    const QString path = FileModifiedAt(dir, Local(2022, 6, 30, 17, 45, 31));
    QVERIFY(!path.isEmpty());
    QCOMPARE(AboutTextForFile(path, QLocale(QLocale::French, QLocale::France)), kIntro + "30/06/2022 17:45:30");

    const QString midnight = FileModifiedAt(dir, Local(2022, 7, 1, 0, 0, 0));
    QVERIFY(!midnight.isEmpty());
    QCOMPARE(AboutTextForFile(midnight, QLocale::c()), kIntro + "1 Jul 2022");
}

void TestAbout::aProgramFileWithoutAReadableTimeGivesTheDateError()
{
    QTemporaryDir dir;
    QCOMPARE(FileAge(dir.filePath(QStringLiteral("missing"))), kNoFileDate);
    QVERIFY_THROWS_EXCEPTION(EDateEncodeError, AboutTextForFile(dir.filePath(QStringLiteral("missing")), QLocale::c()));

    const QString epoch = FileModifiedAt(dir, QDateTime::fromSecsSinceEpoch(1));
    QVERIFY(!epoch.isEmpty());
    QCOMPARE(FileAge(epoch), kNoFileDate);
    QVERIFY_THROWS_EXCEPTION(EDateEncodeError, AboutTextForFile(epoch, QLocale::c()));
}

QTEST_GUILESS_MAIN(TestAbout)
#include "tst_about.moc"
