#include "Unit1.h"

#include "AboutBox.h"
#include "Application.h"
#include "ExampleProfiles.h"
#include "IconFiles.h"
#include "IdeasFile.h"
#include "MainMenu.h"
#include "ReferenceDocuments.h"
#include "SerolisApplication.h"
#include "WidgetAdapters.h"
#include "jc32_ini.h"

#include <QAction>
#include <QApplication>
#include <QCoreApplication>
#include <QDesktopServices>
#include <QEvent>
#include <QLayout>
#include <QMenuBar>
#include <QScreen>
#include <QUrl>

#include <algorithm>

TForm1* Form1 = nullptr;

namespace {

// ---- The window's design ---------------------------------------------------------------------

constexpr int kWindowFontPx = 11;
constexpr int kCaptionFontPx = 13;
constexpr int kLabelFontPx = 12;

constexpr int kGradientMarginPx = 3;
const QRect kPanelHautBounds(40, 47, 551, 400);
constexpr int kPanelHautBorderPx = 12;
constexpr int kColumnBorderPx = 6;
constexpr int kLeftColumnWidthPx = 248;

constexpr int kSliderHeightPx = 28;
constexpr int kLedMarginPx = 2;
constexpr int kLedSizePx = TCustomLED::kPictureSizePx;
// The finding labels span the result panels' child area.
constexpr int kResultLabelWidthPx = 259;

constexpr TColor kTriploCaptionFontColor = 0x80FFFFu; // light yellow
constexpr TColor kFauxpoCaptionFontColor = 0xFFFF80u; // light cyan

const QString kFindingDesignText = QStringLiteral("Dgic");
const QString kActionDesignText = QStringLiteral("CAT");

struct TInputPanelDesign {
    MarkerKind Kind;
    const char* Panel;
    const char* Slider;
    const char* Strip;
    const char* LowLed;
    const char* HighLed; // nullptr: the panel has only its low lamp
    const char* Edit;
    TColor CaptionFontColor;
    int Height;
    const char* Icon;
};

// Top to bottom.
const TInputPanelDesign kInputPanels[] = {
    {MarkerKind::triplo, "panel_triplo", "Track_triplo", "Panel1", "led_triplo", nullptr, "edit_triplo",
     kTriploCaptionFontColor, 88, "triplo"},
    {MarkerKind::afp, "panel_afp", "Track_afp", "Panel1_afp", "led_afp1", "led_afp", "edit_afp", clWhite, 88, "afp"},
    {MarkerKind::hcg, "panel_hcg", "Track_hcg", "Panel4", "led_hcg1", "led_hcg", "edit_hcg", clWhite, 88, "hcg"},
    {MarkerKind::e3, "panel_E3", "Track_E3", "Panel6", "led_e31", "led_e3", "edit_E3", clWhite, 83, "e3"},
};

struct TResultPanelDesign {
    FindingCategory Category;
    const char* Panel;
    const char* Finding;
    const char* Action;
    const char* Led;
    TColor CaptionFontColor;
    int Height;
};

const TResultPanelDesign kResultPanels[] = {
    {FindingCategory::fauxpo, "panel_fauxpo", "label_fauxpo", "cat_fauxpo", "led_fauxpo", kFauxpoCaptionFontColor, 88},
    {FindingCategory::chromo, "panel_chromo", "label_chromo", "cat_chromo", "led_chromo", clWhite, 88},
    {FindingCategory::malfo, "panel_malfo", "label_malfo", "cat_malfo", "led_malfo", clWhite, 88},
    {FindingCategory::patho, "panel_patho", "label_patho", "cat_patho", "led_patho", clWhite, 83},
};

QIcon PanelIcon(const char* name)
{
    QList<TIconFile> files;
    for (const int size : {16, 32, 48})
        files.append({QStringLiteral(":/display/icon-%1-%2.png").arg(QLatin1String(name)).arg(size),
                      QSize(size, size)});
    return IconFromFiles(files);
}

QFont PixelFont(const QString& family, int pixels, bool bold)
{
    QFont font(family);
    font.setPixelSize(pixels);
    font.setBold(bold);
    return font;
}

QFont WindowFont()
{
    return PixelFont(QStringLiteral("MS Sans Serif"), kWindowFontPx, false);
}

TExPanel* NewLayoutPanel(QWidget* parent, const char* name, int border)
{
    auto* panel = new TExPanel(parent);
    panel->setObjectName(QLatin1String(name));
    panel->SetBevelOuter(bvNone);
    panel->SetBorderWidth(border);
    panel->SetParentBackground(true);
    return panel;
}

TLED* NewLamp(QWidget* parent, const char* name, std::uint32_t interval)
{
    auto* led = new TLED(parent);
    led->setObjectName(QLatin1String(name));
    led->SetInterval(interval);
    led->SetStatus(true);
    return led;
}

TLED* NewStripLamp(QWidget* strip, const char* name, TAlign align)
{
    TLED* led = NewLamp(strip, name, kInputLedIntervalMs);
    led->resize(kLedSizePx, kLedSizePx);
    SetAlignWithMargins(led, true, {kLedMarginPx, kLedMarginPx, kLedMarginPx, kLedMarginPx});
    SetAlign(led, align);
    led->SetAutoSize(true);
    return led;
}

TTrackBar* NewMarkerSlider(QWidget* parent, const SliderSettings& settings)
{
    auto* slider = new TTrackBar(parent);
    slider->SetMin(settings.Min);
    slider->SetMax(settings.Max);
    slider->SetPosition(settings.Position);
    slider->SetSelStart(settings.SelStart);
    slider->SetSelEnd(settings.SelEnd);
    slider->SetFrequency(settings.Frequency);
    slider->SetTickStyle(settings.Ticks == TickStyle::tsManual ? tsManual : tsAuto);
    slider->SetLineSize(settings.LineSize);
    slider->SetPageSize(settings.PageSize);
    return slider;
}

TLinkLabel* NewLinkLabel(QWidget* parent, const char* name, const QFont& font, TColor color, const QString& text)
{
    auto* label = new TLinkLabel(parent);
    label->setObjectName(QLatin1String(name));
    label->SetTransparent(true);
    label->SetHotLinks(true);
    label->setFont(font);
    label->SetFontColor(color);
    label->SetCaption(text);
    label->resize(kResultLabelWidthPx, label->height());
    label->Loaded();
    return label;
}

// Swallows every tooltip and "What's this?" request: the program shows no hints.
class TNoHints : public QObject
{
public:
    using QObject::QObject;

protected:
    bool eventFilter(QObject* watched, QEvent* event) override
    {
        if (event->type() == QEvent::ToolTip || event->type() == QEvent::WhatsThis)
            return true;
        return QObject::eventFilter(watched, event);
    }
};

} // namespace

TForm1::TForm1(QWidget* parent)
    : QMainWindow(parent, Qt::Window | Qt::CustomizeWindowHint | Qt::WindowTitleHint | Qt::WindowCloseButtonHint)
{
    setObjectName(QStringLiteral("Form1"));
    setWindowTitle(kFormCaption);
    setWindowIcon(ProgramIcon());
    setFont(WindowFont());
    ProgramFile = QCoreApplication::applicationFilePath();

    MainMenu1 = menuBar();
    MainMenu1->setObjectName(QStringLiteral("MainMenu1"));
    MenuEntries = BuildMainMenu(*MainMenu1);

    CreateComponents();
    // Every change event is attached once the components hold their designed values, so that
    // nothing of the marker inputs runs before the user acts.
    BindInputs();
    BindMenu();
    SetTabOrder();

    FTooltipFilter = new TNoHints(this);
    qApp->installEventFilter(FTooltipFilter);

    // The window cannot be resized: the client area keeps its size below the menu bar.
    layout()->setSizeConstraint(QLayout::SetFixedSize);
    layout()->activate();
    CentreOnPrimaryScreen();
    panel_hcg->setFocus(Qt::OtherFocusReason);
}

TForm1::~TForm1()
{
    if (qApp)
        qApp->removeEventFilter(FTooltipFilter);
    if (Form1 == this)
        Form1 = nullptr;
}

// ---- Components ------------------------------------------------------------------------------

void TForm1::CreateComponents()
{
    ClientArea = new TExPanel(this);
    ClientArea->setObjectName(QStringLiteral("ClientArea"));
    ClientArea->SetBevelOuter(bvNone);
    ClientArea->setFixedSize(kClientWidthPx, kClientHeightPx);
    setCentralWidget(ClientArea);

    Gradient1 = new TGradient(ClientArea);
    Gradient1->setObjectName(QStringLiteral("Gradient1"));
    Gradient1->SetStyle(grVertical);
    SetAlignWithMargins(Gradient1, true, {kGradientMarginPx, kGradientMarginPx, kGradientMarginPx, kGradientMarginPx});
    Gradient1->Loaded();

    Panel_haut = NewLayoutPanel(ClientArea, "Panel_haut", kPanelHautBorderPx);
    SetAlign(Panel_haut, alCustom);
    Panel_haut->setGeometry(kPanelHautBounds);
    Panel_left = NewLayoutPanel(Panel_haut, "Panel_left", kColumnBorderPx);
    Panel_left->resize(kLeftColumnWidthPx, Panel_left->height());
    SetAlign(Panel_left, alLeft);
    Panel_right = NewLayoutPanel(Panel_haut, "Panel_right", kColumnBorderPx);
    SetAlign(Panel_right, alClient);
    Gradient1->lower();

    for (const TInputPanelDesign& design : kInputPanels)
        CreateInputPanel(design.Kind);
    for (const TResultPanelDesign& design : kResultPanels)
        CreateResultPanel(design.Category);
}

TCaptionPanel* TForm1::NewCaptionPanel(QWidget* column, const char* name, const QString& caption, TColor fontColor,
                                       int height)
{
    auto* panel = new TCaptionPanel(column);
    panel->setObjectName(QLatin1String(name));
    panel->SetCaptionPosition(dpTop);
    panel->SetCaptionColor(kCaptionColorDesigned);
    panel->SetCaptionFont(PixelFont(QStringLiteral("MS Sans Serif"), kCaptionFontPx, true), fontColor);
    panel->SetOutlookLook(true);
    panel->SetResizable(false);
    panel->SetCaption(caption);
    // Top-aligned panels stack in the order of their top edges: start below every panel already there.
    panel->setGeometry(0, column->height() + 1000, column->width(), height);
    SetAlign(panel, alTop);
    return panel;
}

void TForm1::CreateInputPanel(MarkerKind kind)
{
    const TInputPanelDesign& design = kInputPanels[Index(kind)];
    const MarkerDescription& marker = Describe(kind);

    TCaptionPanel* panel = NewCaptionPanel(Panel_left, design.Panel, QString::fromUtf8(marker.caption.data(),
                                           static_cast<qsizetype>(marker.caption.size())),
                                           design.CaptionFontColor, design.Height);
    panel->SetButtons({capClose, capHelp});
    panel->SetFlatButtons(true);
    panel->SetIcon(PanelIcon(design.Icon));
    panel->setFocusPolicy(Qt::TabFocus);

    TTrackBar* slider = NewMarkerSlider(panel, marker.slider);
    slider->setObjectName(QLatin1String(design.Slider));
    slider->resize(panel->width(), kSliderHeightPx);
    SetAlign(slider, alTop);

    auto* strip = new TExPanel(panel);
    strip->setObjectName(QLatin1String(design.Strip));
    SetAlign(strip, alClient);
    TLED* lowLed = NewStripLamp(strip, design.LowLed, alLeft);
    TLED* highLed = design.HighLed ? NewStripLamp(strip, design.HighLed, alRight) : nullptr;
    auto* edit = new TCalcEdit(strip);
    edit->SetDecimalPlacesAlwaysShown(false);
    edit->setObjectName(QLatin1String(design.Edit));
    SetAlign(edit, alClient);

    switch (kind) {
    case MarkerKind::triplo:
        panel_triplo = panel, Track_triplo = slider, Panel1 = strip, led_triplo = lowLed, edit_triplo = edit;
        break;
    case MarkerKind::afp:
        panel_afp = panel, Track_afp = slider, Panel1_afp = strip, led_afp1 = lowLed, led_afp = highLed,
        edit_afp = edit;
        break;
    case MarkerKind::hcg:
        panel_hcg = panel, Track_hcg = slider, Panel4 = strip, led_hcg1 = lowLed, led_hcg = highLed, edit_hcg = edit;
        break;
    case MarkerKind::e3:
        panel_E3 = panel, Track_E3 = slider, Panel6 = strip, led_e31 = lowLed, led_e3 = highLed, edit_E3 = edit;
        break;
    }
}

void TForm1::CreateResultPanel(FindingCategory category)
{
    const TResultPanelDesign& design = kResultPanels[Index(category)];
    const CategoryDescription& result = Describe(category);

    TCaptionPanel* panel = NewCaptionPanel(Panel_right, design.Panel, QString::fromUtf8(result.caption.data(),
                                           static_cast<qsizetype>(result.caption.size())),
                                           design.CaptionFontColor, design.Height);
    panel->SetColor(clInfoBk);
    panel->SetIcon(PanelIcon("book"));
    panel->setFocusPolicy(Qt::NoFocus);

    const QFont findingFont = PixelFont(QStringLiteral("Arial"), kLabelFontPx, true);
    QWidget* finding = nullptr;
    if (category == FindingCategory::fauxpo) {
        label_fauxpo = NewLinkLabel(panel, design.Finding, findingFont, clWindowText, kFindingDesignText);
        finding = label_fauxpo;
    } else {
        auto* label = new TLabel(panel);
        label->setObjectName(QLatin1String(design.Finding));
        label->setFont(findingFont);
        label->SetCaption(kFindingDesignText);
        label->resize(kResultLabelWidthPx, label->height());
        finding = label;
        (category == FindingCategory::chromo ? label_chromo
         : category == FindingCategory::malfo ? label_malfo
                                              : label_patho) = label;
    }
    SetAlign(finding, alTop);

    TLinkLabel* action = NewLinkLabel(panel, design.Action, PixelFont(QStringLiteral("Arial"), kLabelFontPx, false),
                                      clBlue, kActionDesignText);
    SetAlign(action, alBottom);

    // Over the right end of the caption bar, one pixel below the client area's top, its right edge
    // level with the finding label's.
    TLED* led = NewLamp(panel, design.Led, static_cast<std::uint32_t>(result.ledIntervalMs));
    if (result.ledColorOff)
        led->SetColorOff(*result.ledColorOff);
    led->SetAutoSize(true);
    const QPoint origin = panel->ClientOrigin();
    led->SetBounds(origin.x() + 1 + kResultLabelWidthPx - kLedSizePx, origin.y() + 1, kLedSizePx, kLedSizePx);
    led->raise();

    switch (category) {
    case FindingCategory::fauxpo: panel_fauxpo = panel, cat_fauxpo = action, led_fauxpo = led; break;
    case FindingCategory::chromo: panel_chromo = panel, cat_chromo = action, led_chromo = led; break;
    case FindingCategory::malfo: panel_malfo = panel, cat_malfo = action, led_malfo = led; break;
    case FindingCategory::patho: panel_patho = panel, cat_patho = action, led_patho = led; break;
    }
}

// ---- Bindings ---------------------------------------------------------------------------------

void TForm1::BindInputs()
{
    FMessages = std::make_unique<TMessageBoxes>(this);
    MarkerWindowViews views;
    views.messages = FMessages.get();
    auto text = [this](TShownTextView::TSetter setter) {
        FTextViews.push_back(std::make_unique<TShownTextView>(std::move(setter)));
        return FTextViews.back().get();
    };
    auto lamp = [this](TLED* led) -> TLedView* {
        if (!led)
            return nullptr;
        FLedViews.push_back(std::make_unique<TLampView>(led));
        return FLedViews.back().get();
    };
    views.windowCaption = text([this](const QString& caption) { setWindowTitle(caption); });

    const struct {
        TTrackBar* Slider;
        TCalcEdit* Edit;
        TCaptionPanel* Panel;
        TLED* Low;
        TLED* High;
    } markers[] = {
        {Track_triplo, edit_triplo, panel_triplo, led_triplo, nullptr},
        {Track_afp, edit_afp, panel_afp, led_afp1, led_afp},
        {Track_hcg, edit_hcg, panel_hcg, led_hcg1, led_hcg},
        {Track_E3, edit_E3, panel_E3, led_e31, led_e3},
    };
    for (MarkerKind kind : kAllMarkers) {
        const auto& m = markers[Index(kind)];
        FSliderViews.push_back(std::make_unique<TTrackBarView>(*m.Slider));
        FEditViews.push_back(std::make_unique<TNumEditView>(*m.Edit));
        FCaptionViews.push_back(std::make_unique<TCaptionBarView>(m.Panel));
        views.markers[Index(kind)] = {FSliderViews.back().get(), FEditViews.back().get(),
                                      FCaptionViews.back().get(), lamp(m.Low), lamp(m.High)};
    }

    const struct {
        TShownTextView::TSetter Finding;
        TLinkLabel* Action;
        TLED* Led;
    } results[] = {
        {[this](const QString& s) { label_fauxpo->SetCaption(s); }, cat_fauxpo, led_fauxpo},
        {[this](const QString& s) { label_chromo->SetCaption(s); }, cat_chromo, led_chromo},
        {[this](const QString& s) { label_malfo->SetCaption(s); }, cat_malfo, led_malfo},
        {[this](const QString& s) { label_patho->SetCaption(s); }, cat_patho, led_patho},
    };
    for (FindingCategory category : kAllCategories) {
        const auto& r = results[Index(category)];
        TLinkLabel* action = r.Action;
        views.results[Index(category)] = {text(r.Finding), text([action](const QString& s) { action->SetCaption(s); }),
                                          lamp(r.Led)};
    }
    FInputs = std::make_unique<TMarkerInputs>(views);

    edit_triplo->OnChange = [this](TObject* s) { edit_triploChange(s); };
    edit_afp->OnChange = [this](TObject* s) { edit_afpChange(s); };
    edit_hcg->OnChange = [this](TObject* s) { edit_hcgChange(s); };
    edit_E3->OnChange = [this](TObject* s) { edit_e3Change(s); };
    Track_triplo->OnChange = [this](TObject* s) { Track_triploChange(s); };
    Track_afp->OnChange = [this](TObject* s) { track_afpPosChange(s); };
    Track_hcg->OnChange = [this](TObject* s) { track_hcgPosChange(s); };
    Track_E3->OnChange = [this](TObject* s) { track_e3PosChange(s); };
    panel_triplo->OnButtonClick = [this](TObject* s, TCapBtnStyle b) { panel_triploButtonClick(s, b); };
    panel_afp->OnButtonClick = [this](TObject* s, TCapBtnStyle b) { panel_afpButtonClick(s, b); };
    panel_hcg->OnButtonClick = [this](TObject* s, TCapBtnStyle b) { panel_hcgButtonClick(s, b); };
    panel_E3->OnButtonClick = [this](TObject* s, TCapBtnStyle b) { panel_E3ButtonClick(s, b); };
    label_malfo->OnMouseEnter = [this](TObject* s) { label_malfoMouseEnter(s); };
    label_malfo->OnMouseLeave = [this](TObject* s) { label_malfoMouseLeave(s); };
    label_malfo->OnClick = [this](TObject* s) { label_malfoClick(s); };
}

void TForm1::BindMenu()
{
    using THandler = void (TForm1::*)(TObject*);
    const struct {
        const char* Entry;
        THandler Handler;
    } handlers[] = {
        {"Quitter1", &TForm1::Quitter1Click},
        {"InitialiserlesMoM1", &TForm1::InitialiserlesMoM1Click},
        {"Spina1", &TForm1::Spina1Click},
        {"T21", &TForm1::T21Click},
        {"RCIUT18T131", &TForm1::RCIUT18T131Click},
        {"HTARCIU1", &TForm1::HTARCIU1Click},
        {"MFIURCIUMAPTRIPLOIDIEGG1", &TForm1::MFIURCIUMAPTRIPLOIDIEGG1Click},
        {"MFIU1", &TForm1::MFIU1Click},
        {"RCIUT18T13TRIPLOIDIE1", &TForm1::RCIUT18T13TRIPLOIDIE1Click},
        {"SLO1", &TForm1::SLO1Click},
        {"mnu_DEFAFP", &TForm1::mnu_DEFAFPClick},
        {"mnu_ICHTYOSE", &TForm1::mnu_ICHTYOSEClick},
        {"mnu_T13", &TForm1::mnu_T13Click},
        {"mnu_T16", &TForm1::mnu_T16Click},
        {"mnu_T21", &TForm1::mnu_T21Click},
        {"mnu_T18", &TForm1::mnu_T18Click},
        {"mnu_TRIPLOIDIE", &TForm1::mnu_TRIPLOIDIEClick},
        {"mnu_SLO", &TForm1::mnu_SLOClick},
        {"mnu_WILLIAMS", &TForm1::mnu_WILLIAMSClick},
        {"HELPP1", &TForm1::HELPP1Click},
        {"RCIU1", &TForm1::RCIU1Click},
        {"CAT1", &TForm1::CAT1Click},
        {"Marqueuratypique1", &TForm1::Marqueuratypique1Click},
        {"InfoBiomnis1", &TForm1::InfoBiomnis1Click},
        {"Aide1", &TForm1::Aide1Click},
        {"Ides1", &TForm1::Ides1Click},
        {"Apropos1", &TForm1::Apropos1Click},
    };
    for (const auto& [entry, handler] : handlers) {
        QAction* action = MenuEntries.value(QLatin1String(entry));
        if (!action)
            continue;
        // A command's error is reported here, before it could unwind through the toolkit's own
        // frames (which clean nothing up on the way); the message loop goes on either way.
        connect(action, &QAction::triggered, this, [this, action, handler = handler] {
            try {
                (this->*handler)(action);
            } catch (const std::exception& error) {
                Application::HandleException(error);
            }
        });
    }
}

void TForm1::SetTabOrder()
{
    // The tab key goes down the left column in this order; nothing on the right takes the focus.
    const std::array<QWidget*, 12> order = {panel_hcg, Track_hcg, edit_hcg, panel_afp, edit_afp, Track_afp,
                                            panel_E3, Track_E3, edit_E3, panel_triplo, Track_triplo, edit_triplo};
    for (std::size_t i = 0; i + 1 < order.size(); ++i)
        setTabOrder(order[i], order[i + 1]);
}

void TForm1::showEvent(QShowEvent* event)
{
    QMainWindow::showEvent(event);
    // The frame the desktop puts around the window is known once it is shown: centre it again,
    // frame included.
    if (!FShown) {
        FShown = true;
        CentreOnPrimaryScreen();
    }
}

void TForm1::CentreOnPrimaryScreen()
{
    const QScreen* screen = QGuiApplication::primaryScreen();
    if (!screen)
        return;
    const QRect desktop = screen->geometry();
    const QSize size = frameGeometry().size().expandedTo(this->size());
    move(std::max(desktop.left(), desktop.left() + (desktop.width() - size.width()) / 2),
         std::max(desktop.top(), desktop.top() + (desktop.height() - size.height()) / 2));
}

// ---- Marker inputs ----------------------------------------------------------------------------

void TForm1::edit_triploChange(TObject*) { FInputs->EditChange(MarkerKind::triplo); }
void TForm1::edit_afpChange(TObject*) { FInputs->EditChange(MarkerKind::afp); }
void TForm1::edit_hcgChange(TObject*) { FInputs->EditChange(MarkerKind::hcg); }
void TForm1::edit_e3Change(TObject*) { FInputs->EditChange(MarkerKind::e3); }
void TForm1::Track_triploChange(TObject*) { FInputs->SliderChange(MarkerKind::triplo); }
void TForm1::track_afpPosChange(TObject*) { FInputs->SliderChange(MarkerKind::afp); }
void TForm1::track_hcgPosChange(TObject*) { FInputs->SliderChange(MarkerKind::hcg); }
void TForm1::track_e3PosChange(TObject*) { FInputs->SliderChange(MarkerKind::e3); }

void TForm1::panel_triploButtonClick(TObject*, TCapBtnStyle Button)
{
    FInputs->PanelButtonClick(MarkerKind::triplo, Button);
}

void TForm1::panel_afpButtonClick(TObject*, TCapBtnStyle Button)
{
    FInputs->PanelButtonClick(MarkerKind::afp, Button);
}

void TForm1::panel_hcgButtonClick(TObject*, TCapBtnStyle Button)
{
    FInputs->PanelButtonClick(MarkerKind::hcg, Button);
}

void TForm1::panel_E3ButtonClick(TObject*, TCapBtnStyle Button)
{
    FInputs->PanelButtonClick(MarkerKind::e3, Button);
}

// ---- The malformations finding ------------------------------------------------------------------

void TForm1::label_malfoMouseEnter(TObject*)
{
    QFont font = label_malfo->font();
    font.setBold(true);
    font.setUnderline(true);
    label_malfo->setFont(font);
}

void TForm1::label_malfoMouseLeave(TObject*)
{
    // Plain from now on: the label started bold, but leaves the hover neither bold nor underlined.
    QFont font = label_malfo->font();
    font.setBold(false);
    font.setUnderline(false);
    label_malfo->setFont(font);
}

void TForm1::label_malfoClick(TObject*)
{
    OpenDocument(label_malfo->Hint());
}

// ---- Menu commands --------------------------------------------------------------------------------

void TForm1::Quitter1Click(TObject*)
{
    // Ends the message loop at once: nothing is asked and nothing is saved.
    QCoreApplication::exit(0);
}

void TForm1::InitialiserlesMoM1Click(TObject*)
{
    FInputs->ResetToDefaults();
}

void TForm1::ProfileClick(TObject* Sender)
{
    auto* entry = qobject_cast<QAction*>(Sender);
    if (!entry)
        return;
    const PresetProfile* profile = FindProfileByMenuEntry(entry->objectName().toStdString());
    if (!profile)
        return;
    // The caption as the menu shows it now, automatic accelerator included; the profile strips it.
    ChooseProfile(*FInputs, *profile, entry->text().toStdString(), [this](std::string_view command) {
        if (QAction* follow = MenuEntries.value(QString::fromUtf8(command.data(), static_cast<qsizetype>(command.size()))))
            follow->trigger();
    });
}

void TForm1::DocumentClick(TObject* Sender)
{
    auto* entry = qobject_cast<QAction*>(Sender);
    if (!entry)
        return;
    if (const ReferenceDocument* document = FindReferenceDocument(entry->objectName()))
        OpenDocument(QString::fromLatin1(document->Address));
}

void TForm1::Aide1Click(TObject*)
{
    QDesktopServices::openUrl(QUrl::fromEncoded(QByteArray(HelpPage().Address)));
}

void TForm1::Ides1Click(TObject*)
{
    OpenIdeasFile(MessageBoxAsker(this));
}

void TForm1::Apropos1Click(TObject*)
{
    // A program file whose time cannot be read throws the date error, which the error report shows.
    ShowInformationDialog(AboutTextForFile(ProgramFile, QLocale()));
}

// ---- Start-up ------------------------------------------------------------------------------------

std::unique_ptr<TForm1> CreateMainWindow()
{
    DeclareFontSubstitutes();
    // Menus and message boxes are windows of their own: they take the window's font from here.
    QApplication::setFont(WindowFont());
    auto form = std::make_unique<TForm1>();
    Form1 = form.get();
    return form;
}
