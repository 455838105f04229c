#include "Application.h"
#include "FormatSettings.h"
#include "ReferenceDocuments.h"
#include "SerolisApplication.h"
#include "UrlRecorder.h"
#include "WindowProbe.h"

#include <QAction>
#include <QDir>
#include <QFile>
#include <QMenuBar>
#include <QScreen>
#include <QTemporaryDir>
#include <QToolTip>
#include <memory>

namespace {

constexpr TColor kNormal = 0xFF000002u;
constexpr TColor kHigh = 0x0000FFu;
constexpr TColor kLow = 0x0080FFu;
constexpr TColor kVeryLow = 0x000000u;

const QString kAboutSentence = QStringLiteral(
    "Aide à la mémorisation de profils sérologiques à risque par l'utilisation du Triplo-Test\n\n"
    "Dernière compilation : ");

QRect BoundsIn(const QWidget* widget, const QWidget* ancestor)
{
    return QRect(widget->mapTo(ancestor, QPoint(0, 0)), widget->size());
}

} // namespace

class TestWindow : public QObject
{
    Q_OBJECT

private slots:
    void initTestCase();
    void init();
    void cleanup();

    void startsAsDesignedBeforeAnyChange();
    void windowIsFixedCentredAndHasOnlyACloseButton();
    void componentsSitWhereTheLayoutPutsThem_data();
    void componentsSitWhereTheLayoutPutsThem();
    void tabGoesDownTheLeftColumn();
    void profileShowsItsAlertsAndFindings_data();
    void profileShowsItsAlertsAndFindings();
    void sloTwiceKeepsItsValueOffTheGridAndOpensItsDocumentEachTime();
    void resetToDefaultsAfterAProfile();
    void panelButtonsResetAndInform();
    void typedValueIsCoupledToTheSlider();
    void documentEntriesOpenTheirAddressAndChangeNothing();
    void shortcutsWorkFromAnEdit();
    void malformationFindingHotTracksAndItsClickChangesNothing();
    void noTooltipIsShown();
    void aboutBoxShowsTheProgramFileDate_data();
    void aboutBoxShowsTheProgramFileDate();
    void aboutBoxWithoutAFileDateReportsTheError();
    void ctrlQEndsTheMessageLoopFromAnEdit();

private:
    void Choose(const char* entry) { QVERIFY(F->MenuEntries.value(QLatin1String(entry))); F->MenuEntries[entry]->trigger(); }

    std::unique_ptr<TForm1> F;
    std::unique_ptr<TUrlRecorder> FUrls;
    QStringList FReports;
    Application::TErrorDisplay FPreviousDisplay;
};

void TestWindow::initTestCase()
{
    QLocale::setDefault(QLocale(QLocale::French, QLocale::France));
    Locale::SetFormatSettings(NumberText::FrenchFormatSettings());
}

void TestWindow::init()
{
    FReports.clear();
    FPreviousDisplay = Application::SetErrorDisplay([this](const QString& text) { FReports << text; });
    FUrls = std::make_unique<TUrlRecorder>();
    F = CreateMainWindow();
    F->show();
    F->activateWindow();
    QVERIFY(QTest::qWaitForWindowActive(F.get()));
}

void TestWindow::cleanup()
{
    F.reset();
    FUrls.reset();
    Application::SetErrorDisplay(FPreviousDisplay);
}

void TestWindow::startsAsDesignedBeforeAnyChange()
{
    const TWindowState s = StateOf(*F);
    QCOMPARE(s.Title, kFormCaption);
    QCOMPARE(s.EditTexts, QStringList(4, QString()));
    QCOMPARE(s.SliderPositions, (QList<int>{500, 10, 10, 10}));
    QCOMPARE(s.CaptionColors, QList<TColor>(8, clBlue));
    QCOMPARE(s.Findings, (QStringList{"Dgic", "CAT", "Dgic", "CAT", "Dgic", "CAT", "Dgic", "CAT"}));
    QVERIFY2(s.LampsBlinking.isEmpty() && s.LampsUnlit.isEmpty(), qPrintable(Describe(s)));
    for (TLED* led : AllLamps(*F))
        QCOMPARE(led->ColorOn(), clLime);
    QCOMPARE(F->led_fauxpo->ColorOff(), TColor(0x4080FF));
    QCOMPARE(F->led_chromo->ColorOff(), clRed);
    QCOMPARE(F->led_fauxpo->Interval(), 1500u);
    QCOMPARE(F->led_patho->Interval(), 500u);
    QCOMPARE(F->led_hcg1->Interval(), 200u);
    QCOMPARE(F->panel_triplo->CaptionFontColor(), TColor(0x80FFFF));
    QCOMPARE(F->panel_fauxpo->CaptionFontColor(), TColor(0xFFFF80));
    QCOMPARE(F->panel_patho->CaptionFontColor(), clWhite);
    QCOMPARE(F->panel_afp->Buttons(), (TCapBtnStyles{capClose, capHelp}));
    QVERIFY(F->panel_fauxpo->Buttons().Empty());
    QCOMPARE(F->panel_fauxpo->Color(), clInfoBk);
    QCOMPARE(QApplication::focusWidget(), F->panel_hcg);
}

void TestWindow::windowIsFixedCentredAndHasOnlyACloseButton()
{
    const Qt::WindowFlags flags = F->windowFlags();
    QVERIFY(flags & Qt::WindowCloseButtonHint);
    QVERIFY(flags & Qt::CustomizeWindowHint);
    QVERIFY(!(flags & (Qt::WindowMinimizeButtonHint | Qt::WindowMaximizeButtonHint)));
    QCOMPARE(F->windowType(), Qt::Window);
    QCOMPARE(F->minimumSize(), F->maximumSize());
    // The client area lies below the menu bar.
    QCOMPARE(F->ClientArea->geometry(), QRect(0, F->MainMenu1->height(), 627, 486));
    QCOMPARE(F->size(), QSize(627, 486 + F->MainMenu1->height()));
    const QRect screen = QGuiApplication::primaryScreen()->geometry();
    QCOMPARE(F->frameGeometry().center().x(), screen.center().x());
    QVERIFY(qAbs(F->frameGeometry().center().y() - screen.center().y()) <= 1);
    QCOMPARE(QFontInfo(F->font()).family(), QStringLiteral("Liberation Sans"));
    QCOMPARE(F->font().pixelSize(), 11);
}

void TestWindow::componentsSitWhereTheLayoutPutsThem_data()
{
    QTest::addColumn<QString>("name");
    QTest::addColumn<QRect>("bounds"); // in the client area

    // Columns: Panel_haut at (40, 47), 12 px of border, 6 px in each column.
    QTest::newRow("gradient fills the client less 3 px") << "Gradient1" << QRect(3, 3, 621, 480);
    QTest::newRow("Panel_haut stays where it was put") << "Panel_haut" << QRect(40, 47, 551, 400);
    QTest::newRow("left column") << "Panel_left" << QRect(52, 59, 248, 376);
    QTest::newRow("right column") << "Panel_right" << QRect(300, 59, 279, 376);
    QTest::newRow("panel_triplo first") << "panel_triplo" << QRect(58, 65, 236, 88);
    QTest::newRow("panel_afp") << "panel_afp" << QRect(58, 153, 236, 88);
    QTest::newRow("panel_hcg") << "panel_hcg" << QRect(58, 241, 236, 88);
    QTest::newRow("panel_E3 shorter") << "panel_E3" << QRect(58, 329, 236, 83);
    QTest::newRow("panel_fauxpo") << "panel_fauxpo" << QRect(306, 65, 267, 88);
    QTest::newRow("panel_patho shorter") << "panel_patho" << QRect(306, 329, 267, 83);
    // Inside an input panel: 3 px frame, child area from (1, 24) in the client.
    QTest::newRow("slider on top") << "Track_afp" << QRect(58 + 4, 153 + 27, 228, 28);
    QTest::newRow("strip takes the rest") << "Panel1_afp" << QRect(58 + 4, 153 + 55, 228, 29);
    QTest::newRow("estriol strip") << "Panel6" << QRect(58 + 4, 329 + 55, 228, 24);
    QTest::newRow("low lamp at the strip's left") << "led_afp1" << QRect(62 + 3, 208 + 3, 17, 23);
    QTest::newRow("high lamp at the strip's right") << "led_afp" << QRect(62 + 228 - 3 - 17, 208 + 3, 17, 23);
    QTest::newRow("edit between the lamps") << "edit_afp" << QRect(62 + 22, 208 + 1, 184, 27);
    QTest::newRow("triple-test edit without high lamp") << "edit_triplo" << QRect(62 + 22, 65 + 55 + 1, 205, 27);
    // Inside a result panel: labels 259 px wide, the lamp over the bar's right end.
    QTest::newRow("finding label on top") << "label_chromo" << QRect(306 + 4, 153 + 27, 259, 15);
    QTest::newRow("result lamp over the bar") << "led_chromo" << QRect(306 + 3 + 1 + 259 - 17, 153 + 4, 17, 17);
}

void TestWindow::componentsSitWhereTheLayoutPutsThem()
{
    QFETCH(QString, name);
    QFETCH(QRect, bounds);
    auto* widget = F->findChild<QWidget*>(name);
    QVERIFY(widget);
    QRect actual = BoundsIn(widget, F->ClientArea);
    if (name.startsWith(QLatin1String("label_")))
        actual.setHeight(bounds.height()); // one line of the font, whatever its exact height
    QCOMPARE(actual, bounds);
}

void TestWindow::tabGoesDownTheLeftColumn()
{
    const QStringList expected{"Track_hcg",    "edit_hcg",     "panel_afp", "edit_afp",    "Track_afp",
                               "panel_E3",     "Track_E3",     "edit_E3",   "panel_triplo", "Track_triplo",
                               "edit_triplo",  "panel_hcg"};
    QStringList visited;
    for (qsizetype i = 0; i < expected.size(); ++i) {
        QTest::keyClick(QApplication::focusWidget(), Qt::Key_Tab);
        visited << (QApplication::focusWidget() ? QApplication::focusWidget()->objectName() : QString());
    }
    QCOMPARE(visited, expected);
}

void TestWindow::profileShowsItsAlertsAndFindings_data()
{
    QTest::addColumn<QString>("entry");
    QTest::addColumn<QString>("caption");
    QTest::addColumn<QStringList>("edits");
    QTest::addColumn<QList<TColor>>("alerts");
    QTest::addColumn<QStringList>("findings");
    QTest::addColumn<QStringList>("blinking");

    auto alerts = [](TColor t, TColor a, TColor h, TColor e) { return QList<TColor>{t, a, h, e, clBlue, clBlue, clBlue, clBlue}; };
    QTest::newRow("DFTN") << "Spina1" << "DFTN, Rein, Paroi Abdo" << QStringList{"700", "2,5", "1", "1"}
                          << alerts(kNormal, kHigh, kNormal, kNormal)
                          << QStringList{"Métrorragies", "", "", "", "Spina, Anencéphalie, Laparoschosis, Omphalocèle",
                                         "Contrôle écho, Crâne, Rachis, Ombilic, Reins", "", ""}
                          << QStringList{"led_afp", "led_fauxpo", "led_malfo"};
    QTest::newRow("T21") << "T21" << "T21" << QStringList{"100", "0,5", "2", "1"}
                         << alerts(kLow, kLow, kHigh, kNormal)
                         << QStringList{"Déficit congénital en AFP", "Pas de conséquence foetale", "T21", "Caryotype",
                                        "Syndrôme de Williams", "Echo Cardio", "", ""}
                         << QStringList{"led_triplo", "led_afp1", "led_hcg", "led_fauxpo", "led_chromo", "led_malfo"};
    QTest::newRow("RCIU, T18,T13") << "RCIUT18T131" << "RCIU, T18,T13" << QStringList{"700", "1", "0,2", "1"}
                                   << alerts(kNormal, kNormal, kVeryLow, kNormal)
                                   << QStringList{"", "", "T18,T13,Triploidie", "Caryotype", "", "", "RCIU",
                                                  "Echographie, Biométrie, Dopplers"}
                                   << QStringList{"led_hcg1", "led_chromo", "led_patho"};
    QTest::newRow("HTA") << "HTARCIU1" << "HTA, TRIPLOIDIE" << QStringList{"700", "1", "2,5", "1"}
                         << alerts(kNormal, kNormal, kHigh, kNormal)
                         << QStringList{"Jumeaux, Ins.Rénale Mater.", "Echographie, Biologie",
                                        "Triploidie, Turner (45 X0), Placenta (T16)", "Caryotype", "Môle", "Echographie",
                                        "HTA,HELLP,LUPUS", "Echographie, Biométrie, Dopplers Art.U, Biologie"}
                         << QStringList{"led_hcg", "led_fauxpo", "led_chromo", "led_malfo", "led_patho"};
    QTest::newRow("MFIU, RCIU, MAP") << "MFIURCIUMAPTRIPLOIDIEGG1" << "MFIU, RCIU, MAP, TRIPLOIDIE, GG"
                                     << QStringList{"700", "2,5", "2", "1"} << alerts(kNormal, kHigh, kHigh, kNormal)
                                     << QStringList{"Gémellaire", "Echographie", "Triploidie, T13", "Caryotype", "", "",
                                                    "MFIU, RCIU, MPA, Oligoamnios", "Echographie"}
                                     << QStringList{"led_afp", "led_hcg", "led_fauxpo", "led_chromo", "led_patho"};
    QTest::newRow("MFIU") << "MFIU1" << "MFIU" << QStringList{"700", "2,5", "0,5", "1"}
                          << alerts(kNormal, kHigh, kLow, kNormal)
                          << QStringList{"", "", "", "", "", "", "Mort Foetale in Utéro (MFIU)", "Echographie"}
                          << QStringList{"led_afp", "led_hcg1", "led_patho"};
    QTest::newRow("RCIU,T18,T13, TRIPLOIDIE") << "RCIUT18T13TRIPLOIDIE1" << "RCIU,T18,T13, TRIPLOIDIE"
                                              << QStringList{"700", "0,5", "0,5", "1"} << alerts(kNormal, kLow, kLow, kNormal)
                                              << QStringList{"", "", "*T18* T13, Triploidie", "Caryotype", "", "", "RCIU",
                                                             "Echographie, Biométrie, Doppler"}
                                              << QStringList{"led_afp1", "led_hcg1", "led_chromo", "led_patho"};
    QTest::newRow("SLO: 0.14 lands on the slider's 0.1") << "SLO1" << "SLO" << QStringList{"700", "1", "1", "0,1"}
                                                         << alerts(kNormal, kNormal, kNormal, kLow)
                                                         << QStringList{"", "", "Ichtyose X", "", "Syndrome de Smith-Lemli-Opitz (SLO)",
                                                                        "Echographie", "", ""}
                                                         << QStringList{"led_e31", "led_chromo", "led_malfo"};
}

void TestWindow::profileShowsItsAlertsAndFindings()
{
    QFETCH(QString, entry);
    QFETCH(QString, caption);
    QFETCH(QStringList, edits);
    QFETCH(QList<TColor>, alerts);
    QFETCH(QStringList, findings);
    QFETCH(QStringList, blinking);

    // The menu gave the entry an accelerator of its own; the window caption comes without it.
    QVERIFY(F->MenuEntries[entry]->text().contains(u'&'));
    Choose(entry.toLatin1().constData());
    const TWindowState s = StateOf(*F);
    QCOMPARE(s.Title, caption);
    QCOMPARE(s.EditTexts, edits);
    QCOMPARE(s.CaptionColors, alerts);
    QCOMPARE(s.Findings, findings);
    QStringList sortedBlinking = s.LampsBlinking;
    sortedBlinking.sort();
    blinking.sort();
    QCOMPARE(sortedBlinking, blinking);
    QVERIFY2(s.LampsUnlit.isEmpty(), qPrintable(Describe(s))); // a blink restarts from the lit state

    const bool opensDocument = entry == QLatin1String("SLO1");
    QCOMPARE(FUrls->Urls.size(), opensDocument ? 1 : 0);
    if (opensDocument)
        QCOMPARE(FUrls->Urls[0].toEncoded(), QByteArray(FindReferenceDocument(QStringLiteral("mnu_SLO"))->Address));
}

void TestWindow::sloTwiceKeepsItsValueOffTheGridAndOpensItsDocumentEachTime()
{
    Choose("SLO1");
    QCOMPARE(F->edit_E3->text(), QStringLiteral("0,1"));
    Choose("SLO1");
    // The slider already stands at 1: the second 0.14 stays as it is, and is still low.
    QCOMPARE(F->edit_E3->text(), QStringLiteral("0,14"));
    QCOMPARE(F->Track_E3->value(), 1);
    QCOMPARE(F->panel_E3->CaptionColor(), kLow);
    QCOMPARE(F->label_malfo->Caption(), QStringLiteral("Syndrome de Smith-Lemli-Opitz (SLO)"));
    QCOMPARE(FUrls->Urls.size(), 2);
    QCOMPARE(FUrls->Urls[1], FUrls->Urls[0]);

    // "T21" after it: the last interpretation sees all four new values.
    Choose("T21");
    QCOMPARE(StateOf(*F).EditTexts, (QStringList{"100", "0,5", "2", "1"}));
    QCOMPARE(F->label_chromo->Caption(), QStringLiteral("T21"));
    QCOMPARE(F->panel_E3->CaptionColor(), kNormal);
    QVERIFY(!F->led_e31->Active());
}

void TestWindow::resetToDefaultsAfterAProfile()
{
    Choose("T21");
    TBoxCloser closer;
    Choose("InitialiserlesMoM1");
    QCOMPARE(closer.Boxes.size(), 1);
    QCOMPARE(closer.Boxes[0].Title, QStringLiteral("Informations"));
    QCOMPARE(closer.Boxes[0].Text, QStringLiteral("Curseurs placés à leurs valeurs par défaut!"));
    QCOMPARE(closer.Boxes[0].Icon, QMessageBox::Information);
    QCOMPARE(closer.Boxes[0].Buttons.size(), 1);
    const TWindowState s = StateOf(*F);
    QCOMPARE(s.Title, QStringLiteral("MoM"));
    QCOMPARE(s.EditTexts, (QStringList{"700", "1", "1", "1"}));
    QCOMPARE(s.SliderPositions, (QList<int>{700, 10, 10, 10}));
    QCOMPARE(s.CaptionColors.mid(0, 4), QList<TColor>(4, kNormal));
    QCOMPARE(s.Findings, (QStringList{"...", "", "", "", "", "", "", ""}));
    QCOMPARE(s.LampsBlinking, QStringList{"led_fauxpo"});
}

void TestWindow::panelButtonsResetAndInform()
{
    Choose("T21");
    QTest::mouseClick(F->panel_triplo->Button(capClose), Qt::LeftButton);
    QCOMPARE(F->edit_triplo->text(), QStringLiteral("700"));
    QCOMPARE(F->panel_triplo->CaptionColor(), kNormal);
    QCOMPARE(F->edit_afp->text(), QStringLiteral("0,5")); // the other panels keep their values

    TBoxCloser closer;
    const TWindowState before = StateOf(*F);
    QTest::mouseClick(F->panel_hcg->Button(capHelp), Qt::LeftButton);
    QCOMPARE(closer.Boxes.size(), 1);
    QCOMPARE(closer.Boxes[0].Title, QStringLiteral("Bêta-HCG"));
    QCOMPARE(closer.Boxes[0].Icon, QMessageBox::Information);
    const QStringList lines = closer.Boxes[0].Text.split(u'\n');
    QCOMPARE(lines.size(), 9);
    QCOMPARE(lines[1], QStringLiteral("NOM: Fraction bêta de l'Hormone Gonadotrophine Chorionique"));
    QCOMPARE(lines[8], QStringLiteral("NORMES: 0,5 - 2 MoM"));
    QCOMPARE(StateOf(*F), before);
}

void TestWindow::typedValueIsCoupledToTheSlider()
{
    F->edit_E3->setFocus();
    // A first 0 moves the slider from 1 MoM to 0, and the value 0 empties the edit.
    QTest::keyClick(F->edit_E3, Qt::Key_0);
    QCOMPARE(F->edit_E3->text(), QString());
    QCOMPARE(F->Track_E3->value(), 0);
    // With the slider at 0 the 0 stays; 0,1 moves the slider to 1; 0,14 no longer moves it and stays.
    QTest::keyClicks(F->edit_E3, QStringLiteral("0,14"));
    QCOMPARE(F->edit_E3->text(), QStringLiteral("0,14"));
    QCOMPARE(F->Track_E3->value(), 1);
    QCOMPARE(F->panel_E3->CaptionColor(), kLow);
    // The other inputs still hold 0 at this first change: AFP and hCG read as both collapsed.
    QCOMPARE(F->label_chromo->Caption(), QStringLiteral("*T18* T13, Triploidie"));

    // Dragging a slider writes its value into the edit.
    F->Track_afp->setValue(25);
    QCOMPARE(F->edit_afp->text(), QStringLiteral("2,5"));
    QCOMPARE(F->panel_afp->CaptionColor(), kHigh);
    QVERIFY(F->led_afp->Active());
}

void TestWindow::documentEntriesOpenTheirAddressAndChangeNothing()
{
    Choose("HTARCIU1");
    const TWindowState before = StateOf(*F);
    QList<QByteArray> expected;
    QList<QByteArray> opened;
    for (const ReferenceDocument& document : ReferenceDocuments()) {
        Choose(document.Entry);
        expected << QByteArray(document.Address);
    }
    Choose("Aide1");
    expected << QByteArray(HelpPage().Address);
    for (const QUrl& url : FUrls->Urls)
        opened << url.toEncoded();
    QCOMPARE(opened, expected);
    QCOMPARE(StateOf(*F), before);
}

void TestWindow::shortcutsWorkFromAnEdit()
{
    QTemporaryDir dir;
    const QString previous = QDir::currentPath();
    QVERIFY(QDir::setCurrent(dir.path()));
    QFile ideas(dir.filePath(QStringLiteral("serolis.txt")));
    QVERIFY(ideas.open(QIODevice::WriteOnly));
    ideas.close();

    F->edit_hcg->setFocus();
    QTest::keyClick(F->edit_hcg, Qt::Key_I, Qt::ControlModifier);
    QDir::setCurrent(previous);
    QCOMPARE(FUrls->Urls, QList<QUrl>{QUrl::fromLocalFile(ideas.fileName())});
    QCOMPARE(QApplication::activePopupWidget(), nullptr);
    QCOMPARE(F->edit_hcg->text(), QString());

}

void TestWindow::malformationFindingHotTracksAndItsClickChangesNothing()
{
    QVERIFY(F->label_malfo->font().bold());
    QEnterEvent enter(QPointF(2, 2), QPointF(2, 2), QPointF(2, 2));
    QApplication::sendEvent(F->label_malfo, &enter);
    QVERIFY(F->label_malfo->font().bold() && F->label_malfo->font().underline());
    QEvent leave(QEvent::Leave);
    QApplication::sendEvent(F->label_malfo, &leave);
    QVERIFY(!F->label_malfo->font().bold() && !F->label_malfo->font().underline());
    QCOMPARE(F->label_malfo->font().pixelSize(), 12);

    // The other findings have no hot tracking.
    QApplication::sendEvent(F->label_chromo, &enter);
    QVERIFY(F->label_chromo->font().bold() && !F->label_chromo->font().underline());

    const TWindowState before = StateOf(*F);
    QTest::mouseClick(F->label_malfo, Qt::LeftButton);
    QCOMPARE(StateOf(*F), before);
    QVERIFY(FUrls->Urls.isEmpty()); // its hint is empty: there is nothing to open
}

void TestWindow::noTooltipIsShown()
{
    F->Track_hcg->setToolTip(QStringLiteral("a hint"));
    QHelpEvent help(QEvent::ToolTip, QPoint(5, 5), F->Track_hcg->mapToGlobal(QPoint(5, 5)));
    QApplication::sendEvent(F->Track_hcg, &help);
    QVERIFY(!QToolTip::isVisible());
}

void TestWindow::aboutBoxShowsTheProgramFileDate_data()
{
    QTest::addColumn<QDateTime>("modified");
    QTest::addColumn<QString>("shown");
    QTest::newRow("odd seconds drop to even") << QDateTime(QDate(2026, 12, 10), QTime(14, 3, 7))
                                              << "10/12/2026 14:03:06";
    QTest::newRow("midnight shows the date alone") << QDateTime(QDate(2009, 3, 1), QTime(0, 0, 1)) << "01/03/2009";
}

void TestWindow::aboutBoxShowsTheProgramFileDate()
{
    QFETCH(QDateTime, modified);
    QFETCH(QString, shown);
    QTemporaryDir dir;
    QFile program(dir.filePath(QStringLiteral("serolis")));
    QVERIFY(program.open(QIODevice::WriteOnly));
    QVERIFY(program.setFileTime(modified, QFileDevice::FileModificationTime));
    program.close();
    F->ProgramFile = program.fileName();

    TBoxCloser closer;
    Choose("Apropos1");
    QVERIFY2(FReports.isEmpty(), qPrintable(FReports.join(u'|')));
    QCOMPARE(closer.Boxes.size(), 1);
    QCOMPARE(closer.Boxes[0].Title, QStringLiteral("Informations"));
    QCOMPARE(closer.Boxes[0].Text, kAboutSentence + shown);
    QVERIFY(FReports.isEmpty());
}

void TestWindow::aboutBoxWithoutAFileDateReportsTheError()
{
    F->ProgramFile = QStringLiteral("/nonexistent/serolis");
    TBoxCloser closer;
    const TWindowState before = StateOf(*F);
    // Through the event loop, as a menu click arrives: the error escapes the handler.
    QMetaObject::invokeMethod(F->MenuEntries["Apropos1"], "trigger", Qt::QueuedConnection);
    QTRY_COMPARE(FReports, QStringList{"Argument incorrect pour l'encodage de date."});
    QVERIFY(closer.Boxes.isEmpty());
    QCOMPARE(StateOf(*F), before);
    // The loop goes on: the window still answers.
    Choose("MFIU1");
    QCOMPARE(F->windowTitle(), QStringLiteral("MFIU"));
}

void TestWindow::ctrlQEndsTheMessageLoopFromAnEdit()
{
    F->edit_afp->setFocus();
    QTimer::singleShot(0, this, [this] { QTest::keyClick(F->edit_afp, Qt::Key_Q, Qt::ControlModifier); });
    QTimer::singleShot(5000, this, [] { QCoreApplication::exit(1); });
    QCOMPARE(QCoreApplication::exec(), 0);
    QCOMPARE(F->edit_afp->text(), QString());
}

int main(int argc, char* argv[])
{
    TSerolisApplication application(argc, argv);
    TestWindow test;
    QTEST_SET_MAIN_SOURCE_PATH
    return QTest::qExec(&test, argc, argv);
}

#include "tst_window.moc"
