#include "ReferenceDocuments.h"

// The publishers' servers. The documents' paths and queries below are the ones these servers
// publish them under; only the hosts are kept apart so that a moved server is one line to change.
#define ORPHANET "http://www.orpha.net"
#define CNGOF "http://www.cngof.fr"
#define BIOMNIS "http://www.biomnis.com"
#define MAKER "http://serolis.example.org"

// Orphanet's disease pages share one search script and one order of query keys; only the disease's
// number, group, type and title differ.
#define ORPHANET_DISEASE(id, group, type, title)                                                    \
    ORPHANET "/consor/www/cgi-bin/Disease_Search.php?lng=FR&data_id=" id                             \
             "&Disease_Disease_Search_diseaseGroup=" group "&Disease_Disease_Search_diseaseType=" type \
             "&Maladie%28s%29/groupes%20de%20maladies=" title "&title=" title                       \
             "&search=Disease_Search_Simple"

namespace {

const std::vector<ReferenceDocument> kDocuments{
    {"mnu_DEFAFP", "Orphanet", "disease page: congenital AFP deficiency",
     ORPHANET_DISEASE("17784", "AFP", "Gen", "Deficit-congenital-en-alpha-foetoproteine")},
    {"mnu_ICHTYOSE", "Orphanet", "disease page: X-linked syndromic ichthyosis",
     ORPHANET_DISEASE("20534", "ichtyose-X", "Pat", "Ichtyose-syndromique-liee-a-l-X")},
    {"mnu_T13", "Orphanet", "disease page: trisomy 13",
     ORPHANET_DISEASE("337", "trisomie-13", "Pat", "Trisomie-13")},
    {"mnu_T16", "Orphanet", "disease page: mosaic trisomy 16",
     ORPHANET_DISEASE("1236", "trisomie-16", "Pat", "Trisomie-16-en-mosaique")},
    {"mnu_T21", "Orphanet", "disease page: trisomy 21",
     ORPHANET_DISEASE("116", "trisomie-21", "Pat", "Trisomie-21")},
    {"mnu_T18", "Orphanet", "disease page: trisomy 18",
     ORPHANET_DISEASE("339", "trisomie-18", "Pat", "Trisomie-18")},
    {"mnu_TRIPLOIDIE", "Orphanet", "disease page: triploidy",
     ORPHANET_DISEASE("1232", "triploidie", "Pat", "Triploidie")},
    {"mnu_SLO", "Orphanet", "disease page: Smith-Lemli-Opitz syndrome",
     ORPHANET_DISEASE("3574", "Smith-Lemli-Opitz", "Pat", "Syndrome-de-Smith-Lemli-Opitz")},
    {"mnu_WILLIAMS", "Orphanet", "disease page: Williams syndrome",
     ORPHANET_DISEASE("145", "Williams", "Pat", "Syndrome-de-Williams")},
    {"HELPP1", "CNGOF", "1999 text of the college's book collection on the HELLP syndrome (PDF)",
     CNGOF "/data/livres/1999_HELLP.pdf"},
    {"RCIU1", "CNGOF", "2013 clinical practice recommendations on intra-uterine growth restriction (PDF)",
     CNGOF "/data/RCP/CNGOF_2013_FINAL_RPC_rciu.pdf"},
    {"CAT1", "CNGOF", "2004 text of the college's book collection on the course of action (PDF)",
     CNGOF "/data/livres/2004_CAT_marqueurs_seriques.pdf"},
    {"Marqueuratypique1", "", "slide show on atypical serum marker results (presentation show)",
     BIOMNIS "/referentiel/liendoc/diaporamas/marqueurs-seriques-atypiques.pps"},
    {"InfoBiomnis1", "Biomnis", "the laboratory's reference sheet on trisomy 21 (PDF)",
     BIOMNIS "/referentiel/liendoc/precis/TRISOMIE-21.pdf"},
};

const ReferenceDocument kHelpPage{"Aide1", "serolis", "search for the program's name on its web site",
                                  MAKER "/spip/spip.php?page=recherche&recherche=serolis"};

} // namespace

const std::vector<ReferenceDocument>& ReferenceDocuments()
{
    return kDocuments;
}

const ReferenceDocument& HelpPage()
{
    return kHelpPage;
}

const ReferenceDocument* FindReferenceDocument(const QString& entry)
{
    for (const ReferenceDocument& document : kDocuments)
        if (entry == QLatin1String(document.Entry))
            return &document;
    if (entry == QLatin1String(kHelpPage.Entry))
        return &kHelpPage;
    return nullptr;
}

std::vector<QByteArray> ShellAddresses()
{
    std::vector<QByteArray> addresses;
    for (const ReferenceDocument& document : kDocuments)
        addresses.emplace_back(document.Address);
    addresses.emplace_back(kHelpPage.Address);
    return addresses;
}
