#pragma once
// The program's one window: over a vertical gradient, the four input panels of the triple test
// on the left and the four result panels of the interpretation on the right, under the main menu.
// Every component carries its name as object name, so that it can be found by name.

#include "CaptionPanel.h"
#include "ExPanel.h"
#include "Gradient.h"
#include "LED.h"
#include "LinkLabel.h"
#include "MarkerInputs.h"
#include "NumEdits.h"
#include "PlainLabel.h"
#include "TrackBar.h"
#include "WindowViews.h"

#include <QHash>
#include <QMainWindow>
#include <QString>
#include <array>
#include <memory>
#include <vector>

class QAction;
class QMenuBar;

// The client area below the menu bar.
inline constexpr int kClientWidthPx = 627;
inline constexpr int kClientHeightPx = 486;
// The caption the window opens with.
inline const QString kFormCaption = QStringLiteral("Serolis");

class TForm1 : public QMainWindow
{
    Q_OBJECT

public:
    explicit TForm1(QWidget* parent = nullptr);
    ~TForm1() override;

    // ---- Components --------------------------------------------------------------------------
    QMenuBar* MainMenu1 = nullptr;
    QHash<QString, QAction*> MenuEntries; // every entry of MainMenu1 by its name
    TExPanel* ClientArea = nullptr;       // the window's client area, 627 x 486

    TGradient* Gradient1 = nullptr;
    TExPanel* Panel_haut = nullptr;
    TExPanel* Panel_left = nullptr;
    TExPanel* Panel_right = nullptr;

    TCaptionPanel* panel_triplo = nullptr;
    TCaptionPanel* panel_afp = nullptr;
    TCaptionPanel* panel_hcg = nullptr;
    TCaptionPanel* panel_E3 = nullptr;
    TTrackBar* Track_triplo = nullptr;
    TTrackBar* Track_afp = nullptr;
    TTrackBar* Track_hcg = nullptr;
    TTrackBar* Track_E3 = nullptr;
    TExPanel* Panel1 = nullptr;
    TExPanel* Panel1_afp = nullptr;
    TExPanel* Panel4 = nullptr;
    TExPanel* Panel6 = nullptr;
    TLED* led_triplo = nullptr;
    TLED* led_afp1 = nullptr;
    TLED* led_afp = nullptr;
    TLED* led_hcg1 = nullptr;
    TLED* led_hcg = nullptr;
    TLED* led_e31 = nullptr;
    TLED* led_e3 = nullptr;
    TCalcEdit* edit_triplo = nullptr;
    TCalcEdit* edit_afp = nullptr;
    TCalcEdit* edit_hcg = nullptr;
    TCalcEdit* edit_E3 = nullptr;

    TCaptionPanel* panel_fauxpo = nullptr;
    TCaptionPanel* panel_chromo = nullptr;
    TCaptionPanel* panel_malfo = nullptr;
    TCaptionPanel* panel_patho = nullptr;
    TLinkLabel* label_fauxpo = nullptr;
    TLabel* label_chromo = nullptr;
    TLabel* label_malfo = nullptr;
    TLabel* label_patho = nullptr;
    TLinkLabel* cat_fauxpo = nullptr;
    TLinkLabel* cat_chromo = nullptr;
    TLinkLabel* cat_malfo = nullptr;
    TLinkLabel* cat_patho = nullptr;
    TLED* led_fauxpo = nullptr;
    TLED* led_chromo = nullptr;
    TLED* led_malfo = nullptr;
    TLED* led_patho = nullptr;

    // ---- Handlers ----------------------------------------------------------------------------
    void edit_triploChange(TObject* Sender);
    void edit_afpChange(TObject* Sender);
    void edit_hcgChange(TObject* Sender);
    void edit_e3Change(TObject* Sender);
    void Track_triploChange(TObject* Sender);
    void track_afpPosChange(TObject* Sender);
    void track_hcgPosChange(TObject* Sender);
    void track_e3PosChange(TObject* Sender);
    void panel_triploButtonClick(TObject* Sender, TCapBtnStyle Button);
    void panel_afpButtonClick(TObject* Sender, TCapBtnStyle Button);
    void panel_hcgButtonClick(TObject* Sender, TCapBtnStyle Button);
    void panel_E3ButtonClick(TObject* Sender, TCapBtnStyle Button);
    void label_malfoMouseEnter(TObject* Sender);
    void label_malfoMouseLeave(TObject* Sender);
    void label_malfoClick(TObject* Sender);

    void Quitter1Click(TObject* Sender);
    void InitialiserlesMoM1Click(TObject* Sender);
    // The example profiles of "Profils"; each entry names its profile.
    void Spina1Click(TObject* Sender) { ProfileClick(Sender); }
    void T21Click(TObject* Sender) { ProfileClick(Sender); }
    void RCIUT18T131Click(TObject* Sender) { ProfileClick(Sender); }
    void HTARCIU1Click(TObject* Sender) { ProfileClick(Sender); }
    void MFIURCIUMAPTRIPLOIDIEGG1Click(TObject* Sender) { ProfileClick(Sender); }
    void MFIU1Click(TObject* Sender) { ProfileClick(Sender); }
    void RCIUT18T13TRIPLOIDIE1Click(TObject* Sender) { ProfileClick(Sender); }
    void SLO1Click(TObject* Sender) { ProfileClick(Sender); }
    // The reference documents of "Bibliographie"; each entry names its document.
    void mnu_DEFAFPClick(TObject* Sender) { DocumentClick(Sender); }
    void mnu_ICHTYOSEClick(TObject* Sender) { DocumentClick(Sender); }
    void mnu_T13Click(TObject* Sender) { DocumentClick(Sender); }
    void mnu_T16Click(TObject* Sender) { DocumentClick(Sender); }
    void mnu_T21Click(TObject* Sender) { DocumentClick(Sender); }
    void mnu_T18Click(TObject* Sender) { DocumentClick(Sender); }
    void mnu_TRIPLOIDIEClick(TObject* Sender) { DocumentClick(Sender); }
    void mnu_SLOClick(TObject* Sender) { DocumentClick(Sender); }
    void mnu_WILLIAMSClick(TObject* Sender) { DocumentClick(Sender); }
    void HELPP1Click(TObject* Sender) { DocumentClick(Sender); }
    void RCIU1Click(TObject* Sender) { DocumentClick(Sender); }
    void CAT1Click(TObject* Sender) { DocumentClick(Sender); }
    void Marqueuratypique1Click(TObject* Sender) { DocumentClick(Sender); }
    void InfoBiomnis1Click(TObject* Sender) { DocumentClick(Sender); }
    void Aide1Click(TObject* Sender);
    void Ides1Click(TObject* Sender);
    void Apropos1Click(TObject* Sender);

    // The program file whose date the About box shows; the running program's by default.
    QString ProgramFile;

protected:
    void showEvent(QShowEvent* event) override;

private:
    void ProfileClick(TObject* Sender);
    void DocumentClick(TObject* Sender);

    void CreateComponents();
    void CreateInputPanel(MarkerKind kind);
    void CreateResultPanel(FindingCategory category);
    void BindMenu();
    void BindInputs();
    void SetTabOrder();
    void CentreOnPrimaryScreen();
    TCaptionPanel* NewCaptionPanel(QWidget* column, const char* name, const QString& caption, TColor fontColor,
                                   int height);

    std::vector<std::unique_ptr<TSliderView>> FSliderViews;
    std::vector<std::unique_ptr<TNumberEditView>> FEditViews;
    std::vector<std::unique_ptr<TCaptionView>> FCaptionViews;
    std::vector<std::unique_ptr<TLedView>> FLedViews;
    std::vector<std::unique_ptr<TTextView>> FTextViews;
    std::unique_ptr<TMessageBoxes> FMessages;
    std::unique_ptr<TMarkerInputs> FInputs;
    QObject* FTooltipFilter = nullptr;
    bool FShown = false;
};

// The main window, once start-up has made it.
extern TForm1* Form1;

// Start-up of the window, shared by the program and its benchmarks: the application-wide settings
// the window needs (stand-in fonts, the window font for menus and boxes), then the window itself,
// centred and not yet shown. Needs the application object.
std::unique_ptr<TForm1> CreateMainWindow();
