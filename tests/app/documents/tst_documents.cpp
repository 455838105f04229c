#include "MenuTree.h"
#include "ReferenceDocuments.h"
#include "UrlRecorder.h"
#include "jc32_ini.h"

#include <QDir>
#include <QGuiApplication>
#include <QtTest>

class TestDocuments : public QObject
{
    Q_OBJECT

private slots:
    void addressesCarryThePublishedPathAndQuery_data();
    void addressesCarryThePublishedPathAndQuery();
    void everyDocumentEntryOfTheMenusHasItsDocument();
    void openDocumentHandsTheExactEncodedAddress();
    void openDocumentTakesAPlainNameAsAFileOfTheWorkingDirectory();
    void openDocumentWithAnEmptyAddressOpensNothing();
};

void TestDocuments::addressesCarryThePublishedPathAndQuery_data()
{
    QTest::addColumn<QString>("entry");
    QTest::addColumn<QByteArray>("pathAndQuery");  // empty: the address is ours to choose

    const auto orphanet = [](const char* id, const char* group, const char* type, const char* title) {
        return QByteArray("/consor/www/cgi-bin/Disease_Search.php?lng=FR&data_id=") + id +
               "&Disease_Disease_Search_diseaseGroup=" + group + "&Disease_Disease_Search_diseaseType=" + type +
               "&Maladie%28s%29/groupes%20de%20maladies=" + title + "&title=" + title +
               "&search=Disease_Search_Simple";
    };
    // The first row is written out whole, as published, so that the pattern above is checked too.
    QTest::newRow("AFP deficiency") << "mnu_DEFAFP"
        << QByteArray("/consor/www/cgi-bin/Disease_Search.php?lng=FR&data_id=17784&Disease_Disease_Search_diseaseGroup=AFP&Disease_Disease_Search_diseaseType=Gen&Maladie%28s%29/groupes%20de%20maladies=Deficit-congenital-en-alpha-foetoproteine&title=Deficit-congenital-en-alpha-foetoproteine&search=Disease_Search_Simple");
    QTest::newRow("ichthyosis") << "mnu_ICHTYOSE"
        << orphanet("20534", "ichtyose-X", "Pat", "Ichtyose-syndromique-liee-a-l-X");
    QTest::newRow("T13") << "mnu_T13" << orphanet("337", "trisomie-13", "Pat", "Trisomie-13");
    QTest::newRow("T16") << "mnu_T16" << orphanet("1236", "trisomie-16", "Pat", "Trisomie-16-en-mosaique");
    QTest::newRow("T21") << "mnu_T21" << orphanet("116", "trisomie-21", "Pat", "Trisomie-21");
    QTest::newRow("T18") << "mnu_T18" << orphanet("339", "trisomie-18", "Pat", "Trisomie-18");
    QTest::newRow("triploidy") << "mnu_TRIPLOIDIE" << orphanet("1232", "triploidie", "Pat", "Triploidie");
    QTest::newRow("SLO") << "mnu_SLO"
        << orphanet("3574", "Smith-Lemli-Opitz", "Pat", "Syndrome-de-Smith-Lemli-Opitz");
    QTest::newRow("Williams") << "mnu_WILLIAMS" << orphanet("145", "Williams", "Pat", "Syndrome-de-Williams");
    QTest::newRow("HELLP") << "HELPP1" << QByteArray();
    QTest::newRow("IUGR recommendations") << "RCIU1" << QByteArray("/data/RCP/CNGOF_2013_FINAL_RPC_rciu.pdf");
    QTest::newRow("course of action") << "CAT1" << QByteArray();
    QTest::newRow("atypical marker") << "Marqueuratypique1" << QByteArray();
    QTest::newRow("Biomnis T21") << "InfoBiomnis1" << QByteArray("/referentiel/liendoc/precis/TRISOMIE-21.pdf");
    QTest::newRow("help page") << "Aide1" << QByteArray("/spip/spip.php?page=recherche&recherche=serolis");
}

void TestDocuments::addressesCarryThePublishedPathAndQuery()
{
    QFETCH(QString, entry);
    QFETCH(QByteArray, pathAndQuery);
    const ReferenceDocument* document = FindReferenceDocument(entry);
    QVERIFY(document);
    const QByteArray address(document->Address);
    QVERIFY2(address.startsWith("http://"), address.constData());
    const qsizetype pathStart = address.indexOf('/', qsizetype(7));
    QVERIFY(pathStart > 7);  // a host before the path
    const QByteArray host = address.mid(7, pathStart - 7);
    QVERIFY2(QUrl(QStringLiteral("http://") + QString::fromLatin1(host)).isValid(), host.constData());
    if (!pathAndQuery.isEmpty())
        QCOMPARE(address.mid(pathStart), pathAndQuery);
    // The address survives the trip through QUrl unchanged, so the shell receives what is written.
    QCOMPARE(QUrl::fromEncoded(address, QUrl::StrictMode).toEncoded(), address);
}

void TestDocuments::everyDocumentEntryOfTheMenusHasItsDocument()
{
    // The leaves of "Bibliographie" are exactly the fourteen documents, in menu order.
    QStringList leaves;
    const auto collect = [&](auto&& self, int parent) -> void {
        for (const int child : MenuChildren(parent)) {
            const TMenuItemData& item = MenuTree()[static_cast<std::size_t>(child)];
            if (HasChildren(child))
                self(self, child);
            else if (!item.IsSeparator())
                leaves << QString::fromLatin1(item.Name);
        }
    };
    collect(collect, MenuItemIndex(QStringLiteral("Biliographie1")));
    QStringList documents;
    for (const ReferenceDocument& document : ReferenceDocuments())
        documents << QString::fromLatin1(document.Entry);
    QCOMPARE(documents, leaves);
    QCOMPARE(documents.size(), 14);

    QCOMPARE(FindReferenceDocument(QStringLiteral("Quitter1")), nullptr);
    QCOMPARE(FindReferenceDocument(QStringLiteral("SLO1")), nullptr);  // the profile, not the document
    QCOMPARE(FindReferenceDocument(QString()), nullptr);

    // The shell's list holds every address once, the help page included.
    const std::vector<QByteArray> shell = ShellAddresses();
    QCOMPARE(shell.size(), std::size_t(15));
    QCOMPARE(QSet<QByteArray>(shell.begin(), shell.end()).size(), 15);
    QVERIFY(std::find(shell.begin(), shell.end(), QByteArray(HelpPage().Address)) != shell.end());
}

void TestDocuments::openDocumentHandsTheExactEncodedAddress()
{
    TUrlRecorder recorder;
    for (const QByteArray& address : ShellAddresses())
        OpenDocument(QString::fromLatin1(address));
    QCOMPARE(recorder.Urls.size(), qsizetype(ShellAddresses().size()));
    for (std::size_t i = 0; i < ShellAddresses().size(); ++i)
        QCOMPARE(recorder.Urls[static_cast<qsizetype>(i)].toEncoded(), ShellAddresses()[i]);
}

void TestDocuments::openDocumentTakesAPlainNameAsAFileOfTheWorkingDirectory()
{
    TUrlRecorder recorder;
    OpenDocument(QStringLiteral("notes de cours.pdf"));
    QCOMPARE(recorder.Urls.size(), qsizetype(1));
    QVERIFY(recorder.Urls[0].isLocalFile());
    QCOMPARE(recorder.Urls[0].toLocalFile(), QDir::current().absoluteFilePath(QStringLiteral("notes de cours.pdf")));
}

void TestDocuments::openDocumentWithAnEmptyAddressOpensNothing()
{
    TUrlRecorder recorder;
    OpenDocument(QString());
    QVERIFY(recorder.Urls.isEmpty());
}

QTEST_MAIN(TestDocuments)
#include "tst_documents.moc"
