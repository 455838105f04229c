// A monkey in the main window: seeded random keys and text, clicks, slider drags, caption buttons,
// the calculator and the menu commands, with every modal box closed as it opens. After every
// event the input panels, the result panels, the window caption and the shell requests are
// compared with what the events the window handled must have left behind; every 1,000 events the
// open menus are closed and no other window may be left open.
//
// Replay one seed:       SEROLIS_MONKEY_SEED=3 test_monkey
// Events per seed:       SEROLIS_MONKEY_EVENTS=5000
// Look at the open windows after each event (the rest is checked after every event anyway):
//                        SEROLIS_MONKEY_CHECK_EVERY=1
// Print every event:     SEROLIS_MONKEY_TRACE=1

#include "Application.h"
#include "Calc.h"
#include "FormatSettings.h"
#include "ProfileRules.h"
#include "ReferenceDocuments.h"
#include "SerolisApplication.h"
#include "UrlRecorder.h"
#include "WindowProbe.h"

#include <QAction>
#include <QClipboard>
#include <QDir>
#include <QElapsedTimer>
#include <QFile>
#include <QMenu>
#include <QMenuBar>
#include <QTemporaryDir>
#include <QWheelEvent>
#include <QWindow>

#include <charconv>
#include <cstdio>
#include <cmath>
#include <deque>
#include <map>
#include <memory>
#include <random>

namespace {

// ---- Run settings ---------------------------------------------------------------------------------

constexpr unsigned kSeeds[] = {1, 2, 3, 4};
// The same count in the normal and the sanitizer build: 200,000 events over the four seeds (the
// valgrind run sets its own count through SEROLIS_MONKEY_EVENTS).
constexpr int kDefaultEventsPerSeed = 50000;
constexpr int kDefaultCheckEvery = 1000;
constexpr std::size_t kEventsShownOnFailure = 30;
constexpr int kStallSeconds = 60;
constexpr int kQuitGraceMs = 5000;

// Exit codes of the message loop that the monkey itself asks for.
constexpr int kLoopDone = 100;
constexpr int kLoopFailed = 101;
constexpr int kLoopDidNotQuit = 102;

int EnvInt(const char* name, int fallback)
{
    bool ok = false;
    const int value = qEnvironmentVariableIntValue(name, &ok);
    return ok ? value : fallback;
}

// Odd-one-out seeds run in the C locale (decimal point, comma between digit groups); the others
// in French (decimal comma, narrow no-break space between digit groups).
bool RunsInCLocale(unsigned seed)
{
    return seed % 4 == 3;
}

// Even seeds find the ideas file already there, so that "Boîte à Idées" opens it; odd seeds are
// asked whether to create it and answer no.
bool IdeasFileExists(unsigned seed)
{
    return seed % 2 == 0;
}

// ---- What the window must show ------------------------------------------------------------------------

constexpr TColor kCaptionAtStart = clBlue;
constexpr TColor kNormal = 0xFF000002u; // the active-title-bar colour
constexpr TColor kHigh = 0x0000FFu;     // red
constexpr TColor kLow = 0x0080FFu;      // orange
constexpr TColor kVeryLow = 0x000000u;  // black

const QString kFindingAtStart = QStringLiteral("Dgic");
const QString kActionAtStart = QStringLiteral("CAT");

struct TSeparators {
    QChar Decimal;
    QChar Thousands;
};

// The number an edit's text reads as. The text is cleaned up first: spaces trimmed at both ends,
// digit-group separators dropped, "." and "," standing for the decimal separator when neither
// separator is that character, and every character but signs, digits and separators dropped;
// what is left converts as an optional sign and digits with at most one decimal separator. A text
// that does not convert holds 0, and so does a text without a digit.
long double ReadsAs(const QString& text, TSeparators separators)
{
    qsizetype begin = 0;
    qsizetype end = text.size();
    while (begin < end && text[begin] == u' ')
        ++begin;
    while (end > begin && text[end - 1] == u' ')
        --end;
    QString s = text.mid(begin, end - begin);
    if (separators.Decimal != separators.Thousands)
        s.remove(separators.Thousands);
    for (const QChar point : {QChar(u'.'), QChar(u',')})
        if (separators.Decimal != point && separators.Thousands != point)
            s.replace(point, separators.Decimal);

    std::string number;
    bool negative = false;
    bool signAllowed = true;
    bool decimalSeen = false;
    int digits = 0;
    for (const QChar c : s) {
        const bool digit = c >= u'0' && c <= u'9';
        const bool sign = c == u'+' || c == u'-';
        if (!digit && !sign && c != separators.Decimal && c != separators.Thousands)
            continue; // dropped by the clean-up
        if (sign && signAllowed) {
            negative = c == u'-';
        } else if (digit) {
            number += static_cast<char>(c.unicode());
            ++digits;
        } else if (c == separators.Decimal && !decimalSeen) {
            number += '.';
            decimalSeen = true;
        } else {
            return 0; // a second sign or separator: the text does not convert
        }
        signAllowed = false;
    }
    if (digits == 0)
        return 0;
    long double value = 0;
    const auto [last, error] = std::from_chars(number.data(), number.data() + number.size(), value);
    if (error != std::errc() || last != number.data() + number.size())
        return 0;
    return negative ? -value : value;
}

// Where a value puts its slider: the value times the scale, to the nearest integer with halves to
// the even neighbour, limited to the slider's range.
int SliderPositionFor(long double value, int scale, int min, int max)
{
    const long double x = value * scale;
    if (!(x > min))
        return min;
    if (x >= max)
        return max;
    return std::clamp(static_cast<int>(std::nearbyint(x)), min, max);
}

// Whether an edit that was handled with v may now read as `shown` without a change having been
// reported: the same value, or the value rewritten with at most two decimals when the edit gains
// or loses the focus (a value typed with more decimals, "3,5E59" reading as 3.559, leaves it as
// "3,56"; a number of hundreds of digits comes back within its last digits).
bool ReformattedFrom(long double shown, long double v)
{
    if (shown == v)
        return true;
    const long double tolerance = std::max(0.005L, std::fabs(v) * 1e-15L) * (1 + 1e-9L);
    return std::fabs(shown - v) <= tolerance;
}

struct TAlertState {
    TColor Caption = kNormal;
    bool LowBlinks = false;
    bool HighBlinks = false;
};

// An input panel's caption and lamps for the value it was handled with. The thresholds include
// themselves; each test is applied in turn and a later one wins the caption.
TAlertState AlertFor(MarkerKind kind, long double v)
{
    TAlertState a;
    switch (kind) {
    case MarkerKind::triplo:
        if (v < 250.0L) {
            a.Caption = kLow;
            a.LowBlinks = true;
        }
        break;
    case MarkerKind::afp:
        if (v >= 2.5L) {
            a.Caption = kHigh;
            a.HighBlinks = true;
        }
        if (v <= 0.5L) {
            a.Caption = kLow;
            a.LowBlinks = true;
        }
        break;
    case MarkerKind::hcg:
        if (v >= 2.0L) {
            a.Caption = kHigh;
            a.HighBlinks = true;
        }
        if (v <= 0.5L) {
            a.Caption = kLow;
            a.LowBlinks = true;
        }
        if (v <= 0.2L)
            a.Caption = kVeryLow;
        break;
    case MarkerKind::e3:
        if (v >= 2.0L) {
            a.Caption = kHigh;
            a.HighBlinks = true;
        }
        if (v <= 0.2L) {
            a.Caption = kLow;
            a.LowBlinks = true;
        }
        break;
    }
    return a;
}

QString Number(long double v)
{
    return QString::number(static_cast<double>(v), 'g', 17);
}

QString Color(TColor c)
{
    return QStringLiteral("0x%1").arg(c, 8, 16, QLatin1Char('0'));
}

QString NameOf(const QObject* object)
{
    if (!object)
        return QStringLiteral("-");
    if (object->objectName().isEmpty())
        return QString::fromLatin1(object->metaObject()->className());
    return object->objectName();
}

QString CodePoints(const QString& text)
{
    QStringList points;
    for (const char32_t c : text.toUcs4())
        points << QStringLiteral("U+%1").arg(static_cast<uint>(c), 4, 16, QLatin1Char('0')).toUpper();
    return points.join(u' ');
}

// ---- The monkey -------------------------------------------------------------------------------------------

struct TInput {
    MarkerKind Kind;
    TCalcEdit* Edit;
    TTrackBar* Slider;
    TCaptionPanel* Panel;
    TLED* Low;
    TLED* High; // nullptr for the denominator
    int Scale;
    int StartPosition;
};

struct TResult {
    FindingCategory Category;
    QString Panel;
    std::function<QString()> Finding;
    TLinkLabel* Action;
    TLED* Led;
};

enum class TEventKind {
    Digit, Separator, Unicode, LongNumber, TypedValue, UnreadableText, Calculation, CalculatorChar, NavigationKey,
    AltDown, ControlKey, MenuKey,
    Click, Move, Wheel, SliderDrag, CaptionButton, EditButton, CalculatorKey, FocusEdit, MenuCommand, Settle,
};

const char* KindName(TEventKind kind)
{
    switch (kind) {
    case TEventKind::Digit: return "digit";
    case TEventKind::Separator: return "separator";
    case TEventKind::Unicode: return "unicode text";
    case TEventKind::LongNumber: return "long number";
    case TEventKind::TypedValue: return "typed value";
    case TEventKind::UnreadableText: return "unreadable text";
    case TEventKind::Calculation: return "calculation";
    case TEventKind::CalculatorChar: return "calculator character";
    case TEventKind::NavigationKey: return "navigation key";
    case TEventKind::AltDown: return "Alt+Down";
    case TEventKind::ControlKey: return "control key";
    case TEventKind::MenuKey: return "menu key";
    case TEventKind::Click: return "click";
    case TEventKind::Move: return "pointer move";
    case TEventKind::Wheel: return "wheel";
    case TEventKind::SliderDrag: return "slider drag";
    case TEventKind::CaptionButton: return "caption button";
    case TEventKind::EditButton: return "edit button";
    case TEventKind::CalculatorKey: return "calculator key";
    case TEventKind::FocusEdit: return "click into an edit";
    case TEventKind::MenuCommand: return "menu command";
    case TEventKind::Settle: return "closing key";
    }
    return "?";
}

// The share of each kind of event, per mille.
const std::pair<TEventKind, int> kEventMix[] = {
    {TEventKind::Digit, 230},        {TEventKind::Separator, 60},     {TEventKind::Unicode, 60},
    {TEventKind::LongNumber, 1},     {TEventKind::TypedValue, 8},     {TEventKind::UnreadableText, 1},
    {TEventKind::Calculation, 4},    {TEventKind::CalculatorChar, 40}, {TEventKind::NavigationKey, 150},
    {TEventKind::AltDown, 30},       {TEventKind::ControlKey, 20},    {TEventKind::MenuKey, 10},
    {TEventKind::Click, 100},        {TEventKind::Move, 40},          {TEventKind::Wheel, 10},
    {TEventKind::SliderDrag, 60},    {TEventKind::CaptionButton, 30}, {TEventKind::EditButton, 25},
    {TEventKind::CalculatorKey, 50}, {TEventKind::FocusEdit, 60},     {TEventKind::MenuCommand, 21},
};

class TMonkey : public QObject
{
public:
    TMonkey(TForm1& form, unsigned seed, int events, int checkEvery, bool trace, TSeparators separators,
            const QUrl& ideasFile);
    ~TMonkey() override;

    // Runs every event; returns the failure, or an empty text.
    QString Run();

    QString Summary() const;

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    // ---- Driving
    void Drive();
    void OneEvent();
    void Log(const QString& what);
    void Fail(const QString& why);
    // A number from 0 to count - 1.
    int Pick(std::size_t count) { return std::uniform_int_distribution<int>(0, static_cast<int>(count) - 1)(FRandom); }
    bool Chance(int perMille) { return Pick(1000) < perMille; }
    TEventKind PickKind();

    // ---- Events
    void TypeText(const QString& text, Qt::Key key = Qt::Key_unknown, Qt::KeyboardModifiers modifiers = {});
    void PressKey(Qt::Key key, Qt::KeyboardModifiers modifiers, const QString& text = QString());
    void ClickAt(QWindow* window, QPoint at, Qt::MouseButton button, bool twice);
    void ClickWidget(QWidget* widget, QPoint at);
    QString RandomUnicode();
    void NavigationKey();
    void ControlKey();
    void MenuKey();
    void RandomClick();
    void RandomMove();
    void RandomWheel();
    void SliderDrag();
    void CaptionButton();
    void EditButton();
    void CalculatorKey();
    void FocusEdit();
    void MenuCommand();
    void CloseMenus();
    TInput* OpenCalculator();
    // Sequences of events: each step is one event of its own, run before any new pick.
    void Plan(std::function<void()> step) { FPlanned.push_back(std::move(step)); }
    void Plan(const QString& keys);
    void PlanFocusEdit(std::size_t input);
    void TypedValue();
    void UnreadableText();
    void Calculation();

    // ---- Boxes and context menus
    void AnswerBox(QMessageBox* box);
    void UseContextMenu(QMenu* menu);

    // ---- What the window must show
    void Handled(MarkerKind kind);
    QString Check(bool menusClosed);
    QString CheckWindows(bool menusClosed);
    QString CheckInputs();
    QString CheckResults();
    QString CheckShellRequests();
    QString Explain(const QString& problems) const;

    TForm1& F;
    const unsigned FSeed;
    const int FEvents;
    const int FCheckEvery;
    const bool FTrace;
    const TSeparators FSeparators;
    const QUrl FIdeasFile;
    std::mt19937 FRandom;
    TUrlRecorder FUrls{{QStringLiteral("http"), QStringLiteral("https"), QStringLiteral("file"),
                        QStringLiteral("ftp"), QStringLiteral("mailto")}};
    std::vector<TInput> FInputs;
    std::vector<TResult> FResults;
    QStringList FMenuEntries; // sorted, so that a seed always picks the same entries

    int FIndex = 0;
    int FNextCheck = 0;
    QString FFailure;
    bool FQuitRequested = false;
    int FQuits = 0;
    std::deque<QString> FLastEvents;
    std::deque<std::function<void()>> FPlanned;
    std::map<QString, int> FKindCounts;
    std::map<QString, int> FBoxCounts;
    int FContextMenus = 0;
    int FHandlings = 0;
    int FShellRequests = 0;
    qint64 FElapsedMs = 0;

    // The oracle: the value each marker was last handled with, whether its calculator has been
    // open since then, the four values the last interpretation saw, and the window caption.
    std::array<std::optional<long double>, kMarkerCount> FHandledWith;
    std::array<bool, kMarkerCount> FCalculatorSince{};
    // Values with more than two decimals rewritten on a focus change, and how many of them then
    // read on the other side of an alert threshold.
    std::array<bool, kMarkerCount> FRoundedSince{};
    int FRounded = 0;
    int FRoundedAcrossThreshold = 0;
    std::optional<ProfileInputs> FInterpreted;
    QString FExpectedTitle = kFormCaption;
};

TMonkey::TMonkey(TForm1& form, unsigned seed, int events, int checkEvery, bool trace, TSeparators separators,
                 const QUrl& ideasFile)
    : F(form), FSeed(seed), FEvents(events), FCheckEvery(std::max(1, checkEvery)), FTrace(trace),
      FSeparators(separators), FIdeasFile(ideasFile), FRandom(seed), FNextCheck(FCheckEvery)
{
    FInputs = {
        {MarkerKind::triplo, F.edit_triplo, F.Track_triplo, F.panel_triplo, F.led_triplo, nullptr, 1, 500},
        {MarkerKind::afp, F.edit_afp, F.Track_afp, F.panel_afp, F.led_afp1, F.led_afp, 10, 10},
        {MarkerKind::hcg, F.edit_hcg, F.Track_hcg, F.panel_hcg, F.led_hcg1, F.led_hcg, 10, 10},
        {MarkerKind::e3, F.edit_E3, F.Track_E3, F.panel_E3, F.led_e31, F.led_e3, 10, 10},
    };
    FResults = {
        {FindingCategory::fauxpo, F.panel_fauxpo->objectName(), [this] { return F.label_fauxpo->Caption(); },
         F.cat_fauxpo, F.led_fauxpo},
        {FindingCategory::chromo, F.panel_chromo->objectName(), [this] { return F.label_chromo->Caption(); },
         F.cat_chromo, F.led_chromo},
        {FindingCategory::malfo, F.panel_malfo->objectName(), [this] { return F.label_malfo->Caption(); },
         F.cat_malfo, F.led_malfo},
        {FindingCategory::patho, F.panel_patho->objectName(), [this] { return F.label_patho->Caption(); },
         F.cat_patho, F.led_patho},
    };

    for (TInput& input : FInputs) {
        // Keys typed into the calculator show pressed for a moment; the monkey does not wait.
        input.Edit->Calculator()->CalcPanel()->SetKeyPressPauseMs(0);
        // The desktop never gives the keyboard to a window that asks not to take it, and the
        // drop-down is such a window: the edit keeps the focus while the calculator is open. The
        // offscreen platform activates every window it shows except tooltips, so the calculator's
        // platform window (not the widget) is declared a tooltip there. Run on xcb, the monkey
        // takes the same course event for event.
        if (QGuiApplication::platformName() == QLatin1String("offscreen")) {
            QWidget* calculator = input.Edit->Calculator();
            calculator->winId();
            QWindow* window = calculator->windowHandle();
            window->setFlags((window->flags() & ~Qt::WindowType_Mask) | Qt::ToolTip);
        }
        // Watch the edit's change event: after the window's handler has run (nested runs
        // included), the marker has been handled with the value its edit now reads as.
        TNotifyEvent handler = input.Edit->OnChange;
        const MarkerKind kind = input.Kind;
        input.Edit->OnChange = [this, handler, kind](TObject* sender) {
            Fire(handler, sender);
            Handled(kind);
        };
    }

    for (auto it = F.MenuEntries.cbegin(); it != F.MenuEntries.cend(); ++it)
        FMenuEntries << it.key();
    FMenuEntries.sort();
    // Observed after the window's own handlers, which were connected first.
    const QStringList profiles{"Spina1", "T21", "RCIUT18T131", "HTARCIU1", "MFIURCIUMAPTRIPLOIDIEGG1", "MFIU1",
                               "RCIUT18T13TRIPLOIDIE1", "SLO1"};
    for (const QString& name : profiles) {
        QAction* entry = F.MenuEntries.value(name);
        connect(entry, &QAction::triggered, this,
                [this, entry] { FExpectedTitle = QString(entry->text()).remove(u'&'); });
    }
    connect(F.MenuEntries.value(QStringLiteral("InitialiserlesMoM1")), &QAction::triggered, this,
            [this] { FExpectedTitle = QStringLiteral("MoM"); });
    connect(F.MenuEntries.value(QStringLiteral("Quitter1")), &QAction::triggered, this,
            [this] { FQuitRequested = true; });

    qApp->installEventFilter(this);
}

TMonkey::~TMonkey()
{
    qApp->removeEventFilter(this);
}

void TMonkey::Handled(MarkerKind kind)
{
    const TInput& input = FInputs[Index(kind)];
    ++FHandlings;
    FHandledWith[Index(kind)] = ReadsAs(input.Edit->text(), FSeparators);
    FRoundedSince[Index(kind)] = false;
    // A change while the calculator is closed puts the marker in step with its edit again.
    if (!input.Edit->PopupVisible() && !input.Edit->Calculator()->isVisible())
        FCalculatorSince[Index(kind)] = false;
    ProfileInputs seen;
    for (const TInput& each : FInputs)
        seen[each.Kind] = ReadsAs(each.Edit->text(), FSeparators);
    FInterpreted = seen;
}

// ---- Driving ------------------------------------------------------------------------------------------------

QString TMonkey::Run()
{
    QElapsedTimer clock;
    clock.start();

    // A monkey that stops making progress (a box nobody closes, a handler that never returns)
    // says where it was before the test's time-out ends it.
    int lastIndex = -1;
    QElapsedTimer stalled;
    stalled.start();
    QTimer watchdog;
    watchdog.setInterval(1000);
    connect(&watchdog, &QTimer::timeout, this, [&] {
        if (FIndex != lastIndex) {
            lastIndex = FIndex;
            stalled.restart();
        } else if (stalled.elapsed() > kStallSeconds * 1000) {
            qFatal("%s", qPrintable(Explain(QStringLiteral("no progress for %1 s").arg(kStallSeconds))));
        }
    });
    watchdog.start();

    // The monkey runs inside the message loop, so that "Quitter" can end it; after every quit the
    // loop is started again on the same window and the monkey goes on.
    QTimer quitGrace;
    quitGrace.setSingleShot(true);
    connect(&quitGrace, &QTimer::timeout, this, [] { QCoreApplication::exit(kLoopDidNotQuit); });
    while (FFailure.isEmpty() && FIndex < FEvents) {
        FQuitRequested = false;
        QTimer::singleShot(0, this, [this, &quitGrace] {
            Drive();
            if (FQuitRequested)
                quitGrace.start(kQuitGraceMs);
        });
        const int code = QCoreApplication::exec();
        quitGrace.stop();
        if (code == kLoopDone || code == kLoopFailed)
            break;
        if (code == kLoopDidNotQuit)
            Fail(QStringLiteral("\"Quitter\" was chosen but the message loop went on"));
        else if (code != 0)
            Fail(QStringLiteral("the message loop ended with code %1").arg(code));
        else if (!FQuitRequested)
            Fail(QStringLiteral("the message loop ended without \"Quitter\""));
        else
            ++FQuits;
    }
    FElapsedMs = clock.elapsed();
    return FFailure;
}

void TMonkey::Drive()
{
    while (FIndex < FEvents) {
        OneEvent();
        ++FIndex;
        // Everything is checked after every event; every so many events the open menus are
        // closed first, and then none may stay open either.
        if (FFailure.isEmpty()) {
            const bool closeMenus = FIndex >= FNextCheck || FIndex == FEvents;
            if (closeMenus) {
                FNextCheck = (FIndex / FCheckEvery + 1) * FCheckEvery;
                CloseMenus();
            }
            const QString problems = Check(closeMenus);
            if (!problems.isEmpty())
                Fail(problems);
        }
        if (!FFailure.isEmpty()) {
            QCoreApplication::exit(kLoopFailed);
            return;
        }
        if (FQuitRequested)
            return; // the program asked the loop to end: let it
    }
    QCoreApplication::exit(kLoopDone);
}

TEventKind TMonkey::PickKind()
{
    int total = 0;
    for (const auto& [kind, share] : kEventMix)
        total += share;
    int r = Pick(total);
    for (const auto& [kind, share] : kEventMix) {
        if (r < share)
            return kind;
        r -= share;
    }
    return TEventKind::Digit;
}

void TMonkey::OneEvent()
{
    // When a box closes, the desktop gives the keyboard back to the main window; the offscreen
    // platform leaves no window active.
    if (!QGuiApplication::focusWindow() && !QApplication::activeModalWidget()) {
        F.activateWindow();
        QCoreApplication::processEvents();
    }
    if (!FPlanned.empty()) {
        const std::function<void()> step = std::move(FPlanned.front());
        FPlanned.pop_front();
        ++FKindCounts[QStringLiteral("planned step")];
        step();
        return;
    }
    const TEventKind kind = PickKind();
    ++FKindCounts[QLatin1String(KindName(kind))];
    static const QString kSeparators = QStringLiteral(",. +-Ee") + QChar(0x202F) + QChar(0x00A0);
    static const QString kCalculatorChars = QStringLiteral("*/%=QRC_qrc\r");
    switch (kind) {
    case TEventKind::Digit: {
        const int d = Pick(10);
        TypeText(QString(QChar(u'0' + d)), static_cast<Qt::Key>(Qt::Key_0 + d));
        break;
    }
    case TEventKind::Separator:
        TypeText(QString(kSeparators[Pick(kSeparators.size())]));
        break;
    case TEventKind::Unicode:
        TypeText(RandomUnicode());
        break;
    case TEventKind::LongNumber: {
        // A run of digits long enough to leave the double range behind.
        const int length = Chance(200) ? 300 + Pick(100) : 17 + Pick(40);
        Log(QStringLiteral("long number of %1 digits follows").arg(length));
        QString digits;
        for (int i = 0; i < length; ++i)
            digits += QChar(u'0' + Pick(10));
        Plan(digits);
        break;
    }
    case TEventKind::TypedValue: TypedValue(); break;
    case TEventKind::UnreadableText: UnreadableText(); break;
    case TEventKind::Calculation: Calculation(); break;
    case TEventKind::CalculatorChar:
        TypeText(QString(kCalculatorChars[Pick(kCalculatorChars.size())]));
        break;
    case TEventKind::NavigationKey: NavigationKey(); break;
    case TEventKind::AltDown: PressKey(Qt::Key_Down, Qt::AltModifier); break;
    case TEventKind::ControlKey: ControlKey(); break;
    case TEventKind::MenuKey: MenuKey(); break;
    case TEventKind::Click: RandomClick(); break;
    case TEventKind::Move: RandomMove(); break;
    case TEventKind::Wheel: RandomWheel(); break;
    case TEventKind::SliderDrag: SliderDrag(); break;
    case TEventKind::CaptionButton: CaptionButton(); break;
    case TEventKind::EditButton: EditButton(); break;
    case TEventKind::CalculatorKey: CalculatorKey(); break;
    case TEventKind::FocusEdit: FocusEdit(); break;
    case TEventKind::MenuCommand: MenuCommand(); break;
    case TEventKind::Settle: break;
    }
}

void TMonkey::Log(const QString& what)
{
    const QString line = QStringLiteral("#%1 %2").arg(FIndex).arg(what);
    if (FTrace) // straight to the terminal: the test library keeps only the first messages
        std::fprintf(stderr, "%s\n", qPrintable(line));
    FLastEvents.push_back(line);
    if (FLastEvents.size() > kEventsShownOnFailure)
        FLastEvents.pop_front();
}

void TMonkey::Fail(const QString& why)
{
    if (FFailure.isEmpty())
        FFailure = Explain(why);
}

QString TMonkey::Explain(const QString& problems) const
{
    QString text = QStringLiteral("seed %1 (%2 locale), event #%3: %4\nlast events:\n")
                       .arg(FSeed)
                       .arg(FSeparators.Decimal == u'.' ? QStringLiteral("C") : QStringLiteral("French"))
                       .arg(FIndex)
                       .arg(problems);
    for (const QString& line : FLastEvents)
        text += QStringLiteral("  %1\n").arg(line);
    text += QStringLiteral("window: %1\n").arg(Describe(StateOf(F)));
    text += QStringLiteral("replay: SEROLIS_MONKEY_SEED=%1 (SEROLIS_MONKEY_TRACE=1 prints every event)").arg(FSeed);
    return text;
}

// ---- Events --------------------------------------------------------------------------------------------------

// A key press carrying text, delivered where the desktop would deliver it: to an open menu, else
// to the focus widget of the active window.
void TMonkey::TypeText(const QString& text, Qt::Key key, Qt::KeyboardModifiers modifiers)
{
    if (key == Qt::Key_unknown && text.size() == 1) {
        const QChar c = text[0];
        if (c >= u'a' && c <= u'z')
            key = static_cast<Qt::Key>(Qt::Key_A + (c.unicode() - u'a'));
        else if (c.unicode() >= 0x20 && !c.isSurrogate())
            key = static_cast<Qt::Key>(c.toUpper().unicode());
    }
    QWidget* focus = QApplication::focusWidget();
    Log(QStringLiteral("text %1 \"%2\" to %3").arg(CodePoints(text), text, NameOf(focus)));
    QTest::sendKeyEvent(QTest::Click, static_cast<QWidget*>(nullptr), key, text, modifiers);
}

void TMonkey::PressKey(Qt::Key key, Qt::KeyboardModifiers modifiers, const QString& text)
{
    QWidget* focus = QApplication::activePopupWidget();
    if (!focus)
        focus = QApplication::focusWidget();
    Log(QStringLiteral("key %1 to %2")
            .arg(QKeySequence(QKeyCombination(modifiers, key)).toString(), NameOf(focus)));
    QTest::sendKeyEvent(QTest::Click, static_cast<QWidget*>(nullptr), key, text, modifiers);
}

QString TMonkey::RandomUnicode()
{
    QString text;
    const int count = Chance(800) ? 1 : 2 + Pick(3);
    for (int i = 0; i < count; ++i) {
        char32_t c = 0;
        switch (Pick(6)) {
        case 0: c = 0x20 + Pick(0x60); break;            // ASCII
        case 1: c = 0xA0 + Pick(0x60); break;            // the rest of Latin-1
        case 2: c = 1 + Pick(0x1F); break;               // control characters
        case 3: c = 0x100 + Pick(0xD800 - 0x100); break; // the rest of the basic plane
        case 4: c = 0xE000 + Pick(0x10000 - 0xE000); break;
        default: c = 0x10000 + Pick(0x110000 - 0x10000); break; // astral: two UTF-16 units
        }
        text += QString::fromUcs4(&c, 1);
    }
    return text;
}

void TMonkey::NavigationKey()
{
    static const Qt::Key keys[] = {Qt::Key_Tab,    Qt::Key_Backtab, Qt::Key_Left,      Qt::Key_Right,
                                   Qt::Key_Up,     Qt::Key_Down,    Qt::Key_Home,      Qt::Key_End,
                                   Qt::Key_PageUp, Qt::Key_PageDown, Qt::Key_Escape,   Qt::Key_Return,
                                   Qt::Key_Enter,  Qt::Key_Backspace, Qt::Key_Delete, Qt::Key_Tab};
    const Qt::Key key = keys[Pick(std::size(keys))];
    Qt::KeyboardModifiers modifiers;
    if (Chance(150))
        modifiers |= Qt::ShiftModifier;
    if (Chance(40))
        modifiers |= Qt::ControlModifier;
    QString text;
    if (key == Qt::Key_Tab)
        text = QStringLiteral("\t");
    else if (key == Qt::Key_Return || key == Qt::Key_Enter)
        text = (modifiers & Qt::ControlModifier) ? QStringLiteral("\n") : QStringLiteral("\r");
    else if (key == Qt::Key_Escape)
        text = QString(QChar(0x1B));
    else if (key == Qt::Key_Backspace)
        text = QString(QChar(0x08));
    else if (key == Qt::Key_Delete)
        text = QString(QChar(0x7F));
    PressKey(key, modifiers, modifiers & Qt::ControlModifier ? QString() : text);
}

void TMonkey::ControlKey()
{
    // Select all, undo, redo, the clipboard, line feed, the ideas file and, rarely, quit.
    static const std::pair<Qt::Key, const char*> keys[] = {
        {Qt::Key_A, "a"}, {Qt::Key_Z, "z"}, {Qt::Key_Y, "y"}, {Qt::Key_C, "c"}, {Qt::Key_X, "x"},
        {Qt::Key_V, "v"}, {Qt::Key_Return, "\n"}, {Qt::Key_I, "i"}, {Qt::Key_Q, "q"},
    };
    int i = Pick(std::size(keys));
    if (keys[i].first == Qt::Key_Q && !Chance(250))
        i = 0;
    PressKey(keys[i].first, Qt::ControlModifier, QString::fromLatin1(keys[i].second));
}

void TMonkey::MenuKey()
{
    // The menu bar's accelerators, Alt alone (keyboard navigation of the bar) and F10.
    switch (Pick(3)) {
    case 0: {
        static const QString letters = QStringLiteral("FPBA?IQ");
        const QChar c = letters[Pick(letters.size())];
        PressKey(static_cast<Qt::Key>(c.unicode()), Qt::AltModifier, QString(c.toLower()));
        break;
    }
    case 1: {
        // Alt pressed and released alone puts the menu bar in keyboard navigation.
        QWindow* window = QGuiApplication::focusWindow();
        if (!window || QApplication::activePopupWidget())
            return;
        Log(QStringLiteral("Alt alone"));
        QTest::simulateEvent(window, true, Qt::Key_Alt, Qt::AltModifier, QString(), false);
        QTest::simulateEvent(window, false, Qt::Key_Alt, Qt::NoModifier, QString(), false);
        break;
    }
    default: PressKey(Qt::Key_F10, Qt::NoModifier); break;
    }
}

void TMonkey::ClickAt(QWindow* window, QPoint at, Qt::MouseButton button, bool twice)
{
    if (twice)
        QTest::mouseDClick(window, button, {}, at);
    else
        QTest::mouseClick(window, button, {}, at);
}

// A left click on a widget of the main window, at a point of it.
void TMonkey::ClickWidget(QWidget* widget, QPoint at)
{
    QWidget* top = widget->window();
    const QPoint p = widget->mapTo(top, at);
    Log(QStringLiteral("click %1 at (%2,%3)").arg(NameOf(widget)).arg(p.x()).arg(p.y()));
    QTest::mouseClick(top->windowHandle(), Qt::LeftButton, {}, p);
}

void TMonkey::RandomClick()
{
    // Where the pointer is: mostly the main window; an open menu or calculator now and then.
    QWidget* target = &F;
    if (QWidget* popup = QApplication::activePopupWidget(); popup && Chance(600))
        target = popup;
    else if (Chance(300))
        for (const TInput& input : FInputs)
            if (input.Edit->Calculator()->isVisible())
                target = input.Edit->Calculator();
    const QPoint at(Pick(target->width()), Pick(target->height()));
    const Qt::MouseButton button = Chance(100) ? Qt::RightButton : Chance(30) ? Qt::MiddleButton : Qt::LeftButton;
    const bool twice = Chance(50);
    QWidget* under = target->childAt(at);
    Log(QStringLiteral("%1click %2 at (%3,%4) of %5 on %6")
            .arg(twice ? QStringLiteral("double ") : QString())
            .arg(button == Qt::LeftButton    ? QStringLiteral("left")
                 : button == Qt::RightButton ? QStringLiteral("right")
                                             : QStringLiteral("middle"))
            .arg(at.x())
            .arg(at.y())
            .arg(NameOf(target), NameOf(under)));
    ClickAt(target->windowHandle(), at, button, twice);
}

void TMonkey::RandomMove()
{
    QPoint at(Pick(F.width()), Pick(F.height()));
    if (Chance(300)) // onto the malformations finding, which tracks the pointer
        at = F.label_malfo->mapTo(&F, QPoint(Pick(F.label_malfo->width()),
                                             F.label_malfo->height() / 2));
    Log(QStringLiteral("move to (%1,%2)").arg(at.x()).arg(at.y()));
    QTest::mouseMove(F.windowHandle(), at);
}

void TMonkey::RandomWheel()
{
    const TInput& input = FInputs[Pick(kMarkerCount)];
    QWidget* widget = Chance(700) ? static_cast<QWidget*>(input.Slider) : input.Edit;
    const QPointF at(widget->width() / 2.0, widget->height() / 2.0);
    const int delta = Chance(500) ? 120 : -120;
    Log(QStringLiteral("wheel %1 over %2").arg(delta).arg(widget->objectName()));
    QWheelEvent wheel(at, widget->mapToGlobal(at), QPoint(), QPoint(0, delta), Qt::NoButton, Qt::NoModifier,
                      Qt::NoScrollPhase, false);
    QApplication::sendEvent(widget, &wheel);
    QCoreApplication::processEvents();
}

void TMonkey::SliderDrag()
{
    const TInput& input = FInputs[Pick(kMarkerCount)];
    TTrackBar* slider = input.Slider;
    const int y = slider->height() / 2;
    // From the thumb most of the time, else from anywhere on the slider (a page step).
    const int fromX = Chance(750) ? slider->PositionToX(slider->value()) : Pick(slider->width());
    const QPoint from = slider->mapTo(&F, QPoint(fromX, y));
    QPoint to = from;
    const int moves = 1 + Pick(4);
    QWindow* window = F.windowHandle();
    QTest::mousePress(window, Qt::LeftButton, {}, from);
    for (int i = 0; i < moves; ++i) {
        to = slider->mapTo(&F, QPoint(Pick(slider->width() + 40) - 20, y + Pick(21) - 10));
        QTest::mouseMove(window, to);
    }
    QTest::mouseRelease(window, Qt::LeftButton, {}, to);
    Log(QStringLiteral("drag %1 from x=%2 to x=%3 in %4 moves: position %5")
            .arg(slider->objectName())
            .arg(from.x())
            .arg(to.x())
            .arg(moves)
            .arg(slider->value()));
}

void TMonkey::CaptionButton()
{
    const TInput& input = FInputs[Pick(kMarkerCount)];
    const TCapBtnStyle kind = Chance(500) ? capClose : capHelp;
    QWidget* button = input.Panel->Button(kind);
    if (!button || !button->isVisible()) {
        Log(QStringLiteral("caption button of %1 not shown").arg(input.Panel->objectName()));
        return;
    }
    Log(QStringLiteral("caption button %1 of %2").arg(kind == capClose ? QStringLiteral("close")
                                                                        : QStringLiteral("help"),
                                                      input.Panel->objectName()));
    ClickWidget(button, button->rect().center());
}

void TMonkey::EditButton()
{
    const TInput& input = FInputs[Pick(kMarkerCount)];
    Log(QStringLiteral("button of %1").arg(input.Edit->objectName()));
    ClickWidget(input.Edit->Button(), input.Edit->Button()->rect().center());
}

TInput* TMonkey::OpenCalculator()
{
    for (TInput& input : FInputs)
        if (input.Edit->PopupVisible() && input.Edit->Calculator()->isVisible())
            return &input;
    return nullptr;
}

void TMonkey::CalculatorKey()
{
    TInput* input = OpenCalculator();
    if (!input) {
        // None open: open one with its button first.
        EditButton();
        return;
    }
    TPopupCalculator* calculator = input->Edit->Calculator();
    const QList<TCalcButton*>& keys = calculator->CalcPanel()->Keys();
    TCalcButton* key = keys[Pick(keys.size())];
    const QPoint at = key->mapTo(calculator, key->rect().center());
    Log(QStringLiteral("calculator key \"%1\" (kind %2) of %3 at (%4,%5)")
            .arg(key->Caption())
            .arg(static_cast<int>(key->Kind()))
            .arg(input->Edit->objectName())
            .arg(at.x())
            .arg(at.y()));
    QTest::mouseClick(calculator->windowHandle(), Qt::LeftButton, {}, at);
}

void TMonkey::FocusEdit()
{
    TCalcEdit* edit = FInputs[Pick(kMarkerCount)].Edit;
    const int textWidth = std::max(1, edit->width() - edit->ButtonWidth() - 8);
    ClickWidget(edit, QPoint(3 + Pick(textWidth), edit->height() / 2));
}

void TMonkey::Plan(const QString& keys)
{
    for (const QChar c : keys) {
        if (c == u'\b')
            Plan([this] { PressKey(Qt::Key_Backspace, Qt::NoModifier, QString(QChar(0x08))); });
        else if (c == u'\t')
            Plan([this] { PressKey(Qt::Key_Tab, Qt::NoModifier, QStringLiteral("\t")); });
        else if (c == u'\r')
            Plan([this] { PressKey(Qt::Key_Return, Qt::NoModifier, QStringLiteral("\r")); });
        else if (c == u'\x1b')
            Plan([this] { PressKey(Qt::Key_Escape, Qt::NoModifier, QString(QChar(0x1B))); });
        else if (c == u'\x02') // Home
            Plan([this] { PressKey(Qt::Key_Home, Qt::NoModifier); });
        else if (c == u'\x03') // End
            Plan([this] { PressKey(Qt::Key_End, Qt::NoModifier); });
        else if (c == u'\x01') // select all
            Plan([this] { PressKey(Qt::Key_A, Qt::ControlModifier, QStringLiteral("a")); });
        else if (c == u'\x04') // the calculator
            Plan([this] { PressKey(Qt::Key_Down, Qt::AltModifier); });
        else
            Plan([this, c] { TypeText(QString(c)); });
    }
}

void TMonkey::PlanFocusEdit(std::size_t input)
{
    Plan([this, input] {
        TCalcEdit* edit = FInputs[input].Edit;
        ClickWidget(edit, QPoint(3 + Pick(std::max(1, edit->width() - 30)),
                                 edit->height() / 2));
    });
}

// A whole value typed over an edit's text: the thresholds and their neighbours, values off the
// slider's grid or beyond its range, an exponent, a sign; then, mostly, the focus moves on.
void TMonkey::TypedValue()
{
    static const QStringList values{
        "249", "250", "251", "0,2", "0,19", "0,21", "0,5", "0,49", "0,51", "2", "1,99", "2,01", "2,5", "2,49",
        "2,51", "0,14", "1,25", "1,26", "4", "3,5", "3,6", "5000", "5001", "1000", "1234,5", "0", "00", "-1",
        "-0,3", "1E3", "1,25E3", "0,2E9", ".5", "5.", "99999999999999999999", "700", "1",
        // Read without the exponent mark, these hold three decimals (1.999, 2.499, 0.201, 0.499),
        // which the edit rounds to two when the focus moves.
        "1,99E9", "2,49E9", "0,20E1", "0,49E9"};
    QString value = values[Pick(values.size())];
    if (Chance(700)) // mostly with the locale's decimal separator; else as written
        value.replace(u',', FSeparators.Decimal);
    Log(QStringLiteral("typed value \"%1\" follows").arg(value));
    PlanFocusEdit(Pick(kMarkerCount));
    Plan(QStringLiteral("\x01") + value);
    switch (Pick(4)) {
    case 0: Plan(QStringLiteral("\t")); break;
    case 1: Plan(QStringLiteral("\r")); break;
    case 2: PlanFocusEdit(Pick(kMarkerCount)); break;
    default: break;
    }
}

// A sign whose digits are deleted leaves a text that reads as no number, which holds 0; it stays
// when the slider already stands where 0 puts it (the denominator's 1, a MoM slider's 0).
// Leaving the edit then reports the conversion error and keeps the focus in the edit.
void TMonkey::UnreadableText()
{
    const std::size_t input = Pick(kMarkerCount);
    Log(QStringLiteral("unreadable text follows"));
    PlanFocusEdit(input);
    if (FInputs[input].Kind == MarkerKind::triplo)
        Plan(QStringLiteral("\x01" "1\x02+\x03\b\t"));
    else
        Plan(QStringLiteral("\x01" "00") + FSeparators.Decimal + QStringLiteral("01\x02+\x03\b\b\b\b\t"));
}

// The calculator opened from the keyboard and fed a short calculation.
void TMonkey::Calculation()
{
    static const QStringList calculations{"*4\r", "2+3*4=", "1/0=", "1/0=C", "200+10%", "5+=", "Q\r", "R\r", "_\r",
                                          "9999999999999999", "1/0\x1b", "12\b\b3=", "2,5*2\r", "3-5="};
    QString keys = calculations[Pick(calculations.size())];
    keys.replace(u',', FSeparators.Decimal);
    Log(QStringLiteral("calculation \"%1\" follows").arg(keys));
    PlanFocusEdit(Pick(kMarkerCount));
    Plan(QStringLiteral("\x04") + keys);
}

void TMonkey::MenuCommand()
{
    const QString name = FMenuEntries[Pick(FMenuEntries.size())];
    Log(QStringLiteral("menu command %1").arg(name));
    F.MenuEntries.value(name)->trigger();
}

// An open menu is a legitimate state between events; before the window is checked, Escape closes
// whatever menus are open, as a user would.
void TMonkey::CloseMenus()
{
    for (int i = 0; i < 6 && QApplication::activePopupWidget(); ++i) {
        ++FKindCounts[QLatin1String(KindName(TEventKind::Settle))];
        PressKey(Qt::Key_Escape, Qt::NoModifier, QString(QChar(0x1B)));
    }
}

// ---- Boxes and context menus ----------------------------------------------------------------------------

bool TMonkey::eventFilter(QObject* watched, QEvent* event)
{
    if (event->type() != QEvent::Show)
        return false;
    if (auto* box = qobject_cast<QMessageBox*>(watched)) {
        // Answered as soon as its own loop runs.
        QTimer::singleShot(0, box, [this, box] { AnswerBox(box); });
    } else if (auto* menu = qobject_cast<QMenu*>(watched)) {
        // The edits' context menus run a loop of their own: one of their commands is chosen (or
        // none) and the menu closes. The main menu's menus stay open for the next events.
        if (qobject_cast<QLineEdit*>(menu->parentWidget()))
            QTimer::singleShot(0, menu, [this, menu] { UseContextMenu(menu); });
    } else {
        for (const TInput& input : FInputs)
            if (watched == input.Edit->Calculator())
                FCalculatorSince[Index(input.Kind)] = true;
    }
    return false;
}

void TMonkey::AnswerBox(QMessageBox* box)
{
    if (!box->isVisible())
        return;
    static const QStringList helpTitles{"Triplo test", "AFP", "Bêta-HCG", "U-E3"};
    const QString title = box->windowTitle();
    const QString text = box->text();
    QString kind;
    QAbstractButton* answer = box->buttons().value(0);
    if (box->icon() == QMessageBox::Information && title == kInformationTitle
        && (text == QStringLiteral("Curseurs placés à leurs valeurs par défaut!")
            || text.startsWith(QStringLiteral("Aide à la mémorisation de profils sérologiques")))) {
        kind = text.startsWith(u'C') ? QStringLiteral("reset") : QStringLiteral("about");
    } else if (box->icon() == QMessageBox::Information && helpTitles.contains(title) && text.split(u'\n').size() == 9) {
        kind = QStringLiteral("help");
    } else if (box->icon() == QMessageBox::Critical && title == Application::Title()
               && text.startsWith(u'\'')
               && text.endsWith(QStringLiteral("' n'est pas une valeur en virgule flottante correcte."))) {
        kind = QStringLiteral("error report");
    } else if (box->icon() == QMessageBox::Question && text.startsWith(QStringLiteral("Le fichier "))) {
        kind = QStringLiteral("ideas file question");
        for (QAbstractButton* button : box->buttons())
            if (box->buttonRole(button) == QMessageBox::NoRole)
                answer = button;
    } else {
        Fail(QStringLiteral("an unexpected box: title \"%1\", icon %2, text \"%3\"")
                 .arg(title)
                 .arg(static_cast<int>(box->icon()))
                 .arg(text));
        kind = QStringLiteral("unexpected");
    }
    ++FBoxCounts[kind];
    Log(QStringLiteral("  box \"%1\" (%2) answered \"%3\"").arg(title, kind, answer ? answer->text() : QString()));
    if (answer)
        answer->click();
    else
        box->done(0);
}

void TMonkey::UseContextMenu(QMenu* menu)
{
    if (!menu->isVisible())
        return;
    ++FContextMenus;
    QList<QAction*> commands;
    for (QAction* action : menu->actions())
        if (!action->isSeparator() && action->isEnabled())
            commands << action;
    QAction* chosen = Chance(300) || commands.isEmpty() ? nullptr : commands[Pick(commands.size())];
    Log(QStringLiteral("  context menu: %1").arg(chosen ? chosen->text() : QStringLiteral("closed")));
    menu->close();
    if (chosen)
        chosen->trigger();
}

// ---- What the window must show ----------------------------------------------------------------------

QString TMonkey::Check(bool menusClosed)
{
    QStringList problems;
    const QString parts[] = {CheckWindows(menusClosed), CheckInputs(), CheckResults(), CheckShellRequests()};
    for (const QString& part : parts)
        if (!part.isEmpty())
            problems << part;
    if (F.windowTitle() != FExpectedTitle)
        problems << QStringLiteral("window caption \"%1\", expected \"%2\"").arg(F.windowTitle(), FExpectedTitle);
    return problems.join(QStringLiteral("; "));
}

// Between events the main window may show an open menu (with its open submenus) and the open
// calculator of an edit; every box must have been closed. Once Escape has closed the menus, no
// menu may be left either.
QString TMonkey::CheckWindows(bool menusClosed)
{
    QStringList problems;
    QWidget* popup = QApplication::activePopupWidget();
    if (popup && menusClosed)
        problems << QStringLiteral("a menu stays open after Escape: %1").arg(NameOf(popup));
    if (QWidget* modal = QApplication::activeModalWidget())
        problems << QStringLiteral("a modal window stays open: \"%1\"").arg(modal->windowTitle());
    if (!F.isVisible())
        problems << QStringLiteral("the main window is hidden");
    for (QWidget* window : QApplication::topLevelWidgets()) {
        if (window == &F || !window->isVisible())
            continue;
        auto* calculator = qobject_cast<TPopupWindow*>(window);
        if (calculator && calculator->Editor()->PopupVisible())
            continue;
        if (popup && !menusClosed && qobject_cast<QMenu*>(window))
            continue;
        problems << QStringLiteral("an extra window is open: %1 \"%2\" \"%3\"")
                        .arg(QString::fromLatin1(window->metaObject()->className()), window->objectName(),
                             window->windowTitle());
    }
    for (const TInput& input : FInputs)
        if (input.Edit->PopupVisible() != input.Edit->Calculator()->isVisible())
            problems << QStringLiteral("%1: the calculator %2 visible but the edit counts it as %3")
                            .arg(input.Edit->objectName(),
                                 input.Edit->Calculator()->isVisible() ? QStringLiteral("is")
                                                                       : QStringLiteral("is not"),
                                 input.Edit->PopupVisible() ? QStringLiteral("open") : QStringLiteral("closed"));
    return problems.join(QStringLiteral("; "));
}

QString LampProblem(const TLED* led, bool blinks)
{
    if (led->Active() != blinks)
        return QStringLiteral("%1 %2").arg(led->objectName(), blinks ? QStringLiteral("should blink")
                                                                     : QStringLiteral("should not blink"));
    if (!blinks && !led->Status())
        return QStringLiteral("%1 is steady but unlit").arg(led->objectName());
    return {};
}

QString TMonkey::CheckInputs()
{
    QStringList problems;
    for (const TInput& input : FInputs) {
        const std::size_t k = Index(input.Kind);
        const QString name = input.Panel->objectName();
        const long double shown = ReadsAs(input.Edit->text(), FSeparators);
        QStringList lamps;
        if (!FHandledWith[k]) {
            // Never handled: the panel keeps its start state.
            if (input.Panel->CaptionColor() != kCaptionAtStart)
                problems << QStringLiteral("%1 never handled but its caption is %2")
                                .arg(name, Color(input.Panel->CaptionColor()));
            lamps << LampProblem(input.Low, false) << (input.High ? LampProblem(input.High, false) : QString());
            if (!FCalculatorSince[k]) {
                // Its text can only have stayed empty; its slider can only have moved to a
                // position whose value shows as that same empty text (0 MoM).
                if (!input.Edit->text().isEmpty())
                    problems << QStringLiteral("%1 never handled but its edit reads \"%2\"")
                                    .arg(name, input.Edit->text());
                const int p = input.Slider->value();
                if (p != input.StartPosition && !(p == 0 && input.Slider->Min() == 0))
                    problems << QStringLiteral("%1 never handled but its slider is at %2").arg(name).arg(p);
            }
        } else {
            const long double v = *FHandledWith[k];
            const TAlertState expected = AlertFor(input.Kind, v);
            if (input.Panel->CaptionColor() != expected.Caption)
                problems << QStringLiteral("%1 handled with %2: caption %3, expected %4")
                                .arg(name, Number(v), Color(input.Panel->CaptionColor()), Color(expected.Caption));
            lamps << LampProblem(input.Low, expected.LowBlinks)
                  << (input.High ? LampProblem(input.High, expected.HighBlinks) : QString());
            if (!FCalculatorSince[k]) {
                // Every change of the text since then was handled, and the slider followed it.
                if (shown != v && ReformattedFrom(shown, v) && !FRoundedSince[k]) {
                    // Legitimate, but worth knowing how often the panel then shows another alert
                    // than the value the edit now holds.
                    FRoundedSince[k] = true;
                    ++FRounded;
                    if (AlertFor(input.Kind, shown).Caption != expected.Caption) {
                        ++FRoundedAcrossThreshold;
                        Log(QStringLiteral("  %1 rewritten from %2 to \"%3\" on a focus change: the panel keeps the "
                                           "alert of %2")
                                .arg(input.Edit->objectName(), Number(v), input.Edit->text()));
                    }
                }
                if (!ReformattedFrom(shown, v))
                    problems << QStringLiteral("%1 was handled with %2 but its edit reads \"%3\" (%4) and no "
                                               "change was reported")
                                    .arg(name, Number(v), input.Edit->text(), Number(shown));
                const int p = SliderPositionFor(v, input.Scale, input.Slider->Min(), input.Slider->Max());
                if (input.Slider->value() != p)
                    problems << QStringLiteral("%1 handled with %2: slider at %3, expected %4")
                                    .arg(name, Number(v))
                                    .arg(input.Slider->value())
                                    .arg(p);
            }
        }
        lamps.removeAll(QString());
        if (!lamps.isEmpty())
            problems << QStringLiteral("%1 (handled with %2): %3")
                            .arg(name, FHandledWith[k] ? Number(*FHandledWith[k]) : QStringLiteral("nothing"),
                                 lamps.join(QStringLiteral(", ")));
    }
    return problems.join(QStringLiteral("; "));
}

QString TMonkey::CheckResults()
{
    QStringList problems;
    std::optional<ProfileFindings> expected;
    if (FInterpreted)
        expected = AnalyserProfil(*FInterpreted);
    for (const TResult& result : FResults) {
        QString finding = kFindingAtStart;
        QString action = kActionAtStart;
        bool alert = false;
        if (expected) {
            const CategoryFinding& f = (*expected)[result.Category];
            finding = QString::fromStdString(f.finding);
            action = QString::fromStdString(f.action);
            alert = f.alert;
        }
        if (result.Finding() != finding || result.Action->Caption() != action)
            problems << QStringLiteral("%1 shows \"%2\" / \"%3\", expected \"%4\" / \"%5\"")
                            .arg(result.Panel, result.Finding(), result.Action->Caption(), finding, action);
        const QString lamp = LampProblem(result.Led, alert);
        if (!lamp.isEmpty())
            problems << lamp;
    }
    if (!problems.isEmpty() && FInterpreted)
        problems << QStringLiteral("(the last interpretation saw N=%1 A=%2 H=%3 E=%4)")
                        .arg(Number(FInterpreted->N), Number(FInterpreted->A), Number(FInterpreted->H),
                             Number(FInterpreted->E));
    return problems.join(QStringLiteral("; "));
}

QString TMonkey::CheckShellRequests()
{
    static const std::vector<QByteArray> addresses = ShellAddresses();
    QStringList problems;
    for (const QUrl& url : std::as_const(FUrls.Urls)) {
        ++FShellRequests;
        const QByteArray encoded = url.toEncoded();
        if (url != FIdeasFile && std::find(addresses.begin(), addresses.end(), encoded) == addresses.end())
            problems << QStringLiteral("the shell was handed an address outside the table: %1")
                            .arg(QString::fromUtf8(encoded));
        Log(QStringLiteral("  shell: %1").arg(QString::fromUtf8(encoded.left(90))));
    }
    FUrls.Urls.clear();
    return problems.join(QStringLiteral("; "));
}

QString TMonkey::Summary() const
{
    QStringList kinds;
    for (const auto& [kind, count] : FKindCounts)
        kinds << QStringLiteral("%1 %2").arg(kind).arg(count);
    QStringList boxes;
    for (const auto& [kind, count] : FBoxCounts)
        boxes << QStringLiteral("%1 %2").arg(kind).arg(count);
    const double seconds = std::max<qint64>(1, FElapsedMs) / 1000.0;
    return QStringLiteral("seed %1: %2 events in %3 s, %4 events/s; %5 markers handled, %6 quits, %7 shell "
                          "requests, %8 context menus, %9 values rounded by a focus change (%10 across an alert "
                          "threshold); boxes: %11; mix: %12")
        .arg(FSeed)
        .arg(FIndex)
        .arg(seconds, 0, 'f', 1)
        .arg(FIndex / seconds, 0, 'f', 0)
        .arg(FHandlings)
        .arg(FQuits)
        .arg(FShellRequests)
        .arg(FContextMenus)
        .arg(FRounded)
        .arg(FRoundedAcrossThreshold)
        .arg(boxes.join(QStringLiteral(", ")), kinds.join(QStringLiteral(", ")));
}

// Qt's test library warns about every key an open menu leaves unaccepted, and the offscreen
// platform about every calculator it shows; a monkey sends thousands of those.
QtMessageHandler gPreviousHandler = nullptr;
void QuietHandler(QtMsgType type, const QMessageLogContext& context, const QString& message)
{
    static const QStringList noise{
        QStringLiteral("Keyboard event not accepted by receiving widget"),
        // The offscreen platform cannot raise windows or pass size hints on.
        QStringLiteral("This plugin does not support raise()"),
        QStringLiteral("This plugin does not support propagateSizeHints()"),
        QStringLiteral("This plugin does not support grabbing the keyboard"),
    };
    if (type == QtWarningMsg && noise.contains(message))
        return;
    gPreviousHandler(type, context, message);
}

} // namespace

class TestMonkey : public QObject
{
    Q_OBJECT

private slots:
    void initTestCase();
    void cleanupTestCase();
    void randomEventsLeaveTheWindowConsistent_data();
    void randomEventsLeaveTheWindowConsistent();

private:
    QString FPreviousDirectory;
};

void TestMonkey::initTestCase()
{
    gPreviousHandler = qInstallMessageHandler(QuietHandler);
    FPreviousDirectory = QDir::currentPath();
}

void TestMonkey::cleanupTestCase()
{
    QDir::setCurrent(FPreviousDirectory);
    qInstallMessageHandler(gPreviousHandler);
}

void TestMonkey::randomEventsLeaveTheWindowConsistent_data()
{
    QTest::addColumn<unsigned>("seed");
    const int only = EnvInt("SEROLIS_MONKEY_SEED", -1);
    if (only >= 0) {
        QTest::newRow(qPrintable(QStringLiteral("seed %1").arg(only))) << static_cast<unsigned>(only);
        return;
    }
    for (const unsigned seed : kSeeds)
        QTest::newRow(qPrintable(QStringLiteral("seed %1").arg(seed))) << seed;
}

void TestMonkey::randomEventsLeaveTheWindowConsistent()
{
    QFETCH(unsigned, seed);
    const int events = EnvInt("SEROLIS_MONKEY_EVENTS", kDefaultEventsPerSeed);
    const int checkEvery = EnvInt("SEROLIS_MONKEY_CHECK_EVERY", kDefaultCheckEvery);
    const bool trace = EnvInt("SEROLIS_MONKEY_TRACE", 0) != 0;

    // Nothing the program writes (the ideas file) may land in the source tree.
    QTemporaryDir directory;
    QVERIFY(directory.isValid());
    QVERIFY(QDir::setCurrent(directory.path()));
    const QString ideasPath = QDir::current().absoluteFilePath(QStringLiteral("serolis.txt"));
    if (IdeasFileExists(seed)) {
        QFile ideas(ideasPath);
        QVERIFY(ideas.open(QIODevice::WriteOnly));
    }

    const NumberText::TFormatSettings settings =
        RunsInCLocale(seed) ? NumberText::CFormatSettings() : NumberText::FrenchFormatSettings();
    QLocale::setDefault(RunsInCLocale(seed) ? QLocale::c() : QLocale(QLocale::French, QLocale::France));
    Locale::SetFormatSettings(settings);
    const TSeparators separators{Locale::ToQString(settings.DecimalSeparator).at(0),
                                 Locale::ToQString(settings.ThousandSeparator).at(0)};

    // The clipboard lives as long as the process: each seed starts with an empty one, so that a
    // seed replayed alone takes the same course.
    QGuiApplication::clipboard()->clear();
    QString failure;
    QString summary;
    {
        std::unique_ptr<TForm1> form = CreateMainWindow();
        form->show();
        form->activateWindow();
        QVERIFY(QTest::qWaitForWindowActive(form.get()));
        TMonkey monkey(*form, seed, events, checkEvery, trace, separators, QUrl::fromLocalFile(ideasPath));
        failure = monkey.Run();
        summary = monkey.Summary();
    }
    qInfo().noquote() << summary;
    QDir::setCurrent(FPreviousDirectory);
    if (!IdeasFileExists(seed))
        QVERIFY2(!QFile::exists(ideasPath), "the ideas file was created although the question was answered no");
    if (!failure.isEmpty()) {
        // The test library cuts long messages: the whole account goes to the log first.
        qInfo().noquote() << failure;
        QFAIL(qPrintable(failure.section(u'\n', 0, 0)));
    }
}

int main(int argc, char* argv[])
{
    TSerolisApplication application(argc, argv);
    TestMonkey test;
    QTEST_SET_MAIN_SOURCE_PATH
    return QTest::qExec(&test, argc, argv);
}

#include "tst_monkey.moc"
