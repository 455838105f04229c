#include "Calc.h"

#include "Application.h"
#include "FormatSettings.h"

#include <QApplication>
#include <QClipboard>
#include <QGuiApplication>
#include <QLabel>
#include <QLineEdit>
#include <QMouseEvent>
#include <QThread>
#include <algorithm>
#include <cfloat>
#include <cmath>

namespace {

constexpr char16_t kEnter = 13;
constexpr char16_t kEscape = 27;
constexpr char16_t kBackspace = 8;
constexpr char16_t kCtrlC = 3;
constexpr char16_t kCtrlV = 22;

// The keys' tags are their places in this string (the decimal key stands as ".").
constexpr char16_t kKeyChars[] = u"0123456789_./*-+Q%R=\bC";

constexpr int kKeySizePx = 21;
constexpr int kWideKeyPx = 31;
constexpr int kDoubleKeyPx = 44;
constexpr int kPopupPanelWidthPx = 131;
constexpr int kPopupPanelHeightPx = 124;
constexpr int kPopupWidthPx = 137;
constexpr int kPopupHeightPx = 127;

struct TKeyPlace {
    TCalcBtnKind kind;
    int x, y, width, height;
    const char16_t* caption; // nullptr: the locale's decimal separator
};

// The drop-down layout: columns at x = 6, 29, 52, 75, 98 and rows at y = 6, 29, 52, 75, 98.
constexpr TKeyPlace kPopupKeys[] = {
    {cbNum7, 6, 6, kKeySizePx, kKeySizePx, u"7"},
    {cbNum8, 29, 6, kKeySizePx, kKeySizePx, u"8"},
    {cbNum9, 52, 6, kKeySizePx, kKeySizePx, u"9"},
    {cbDiv, 75, 6, kKeySizePx, kKeySizePx, u"/"},
    {cbSqr, 98, 6, kWideKeyPx, kKeySizePx, u"sqrt"},
    {cbNum4, 6, 29, kKeySizePx, kKeySizePx, u"4"},
    {cbNum5, 29, 29, kKeySizePx, kKeySizePx, u"5"},
    {cbNum6, 52, 29, kKeySizePx, kKeySizePx, u"6"},
    {cbMul, 75, 29, kKeySizePx, kKeySizePx, u"*"},
    {cbPcnt, 98, 29, kWideKeyPx, kKeySizePx, u"%"},
    {cbNum1, 6, 52, kKeySizePx, kKeySizePx, u"1"},
    {cbNum2, 29, 52, kKeySizePx, kKeySizePx, u"2"},
    {cbNum3, 52, 52, kKeySizePx, kKeySizePx, u"3"},
    {cbSub, 75, 52, kKeySizePx, kKeySizePx, u"-"},
    {cbRev, 98, 52, kWideKeyPx, kKeySizePx, u"1/x"},
    {cbNum0, 6, 75, kKeySizePx, kKeySizePx, u"0"},
    {cbDcm, 29, 75, kKeySizePx, kKeySizePx, nullptr},
    {cbSgn, 52, 75, kKeySizePx, kKeySizePx, u""},
    {cbAdd, 75, 75, kKeySizePx, kDoubleKeyPx, u"+"},
    {cbEql, 98, 75, kWideKeyPx, kDoubleKeyPx, u"="},
    {cbClr, 6, 98, kKeySizePx, kKeySizePx, u"C"},
    {cbBck, 29, 98, kDoubleKeyPx, kKeySizePx, u"<-"},
};

const NumberText::TFormatSettings& Settings()
{
    return Locale::FormatSettings();
}

QString DecimalSeparator()
{
    return QString::fromStdU16String(Settings().DecimalSeparator);
}

char16_t Upper(char16_t c)
{
    return QChar(c).toUpper().unicode();
}

// A long double as a double, when it lies within the double range.
bool ToFiniteDouble(long double value, double& out)
{
    if (!std::isfinite(value) || std::fabs(value) > static_cast<long double>(DBL_MAX))
        return false;
    out = static_cast<double>(value);
    return true;
}

QString TrimBlanks(const QString& text)
{
    qsizetype first = 0, last = text.size();
    while (first < last && text[first] == u' ')
        ++first;
    while (last > first && text[last - 1] == u' ')
        --last;
    return text.mid(first, last - first);
}

} // namespace

// --- TCalcButton ---------------------------------------------------------------------------

TCalcButton::TCalcButton(QWidget* parent, TCalcBtnKind kind)
    : TSpeedButton(parent)
    , FKind(kind)
{
    SetTag(kind >= cbNum0 && kind <= cbClr ? static_cast<int>(kind) - 1 : -1);
    SetStyle(bsNew);
    SetCaptionColor(KeyButtonFontColor(kind));
}

TColor TCalcButton::KeyButtonFontColor(TCalcBtnKind kind)
{
    switch (kind) {
    case cbDiv:
    case cbMul:
    case cbSub:
    case cbAdd:
    case cbEql: return clPurple;
    case cbSqr:
    case cbPcnt:
    case cbRev:
    case cbMP:
    case cbMS:
    case cbMR:
    case cbMC: return clNavy;
    case cbBck:
    case cbClr: return clMaroon;
    default: return clBtnText;
    }
}

void TCalcButton::changeEvent(QEvent* event)
{
    // A font taken from the panel keeps the key's own caption colour.
    if (event->type() == QEvent::FontChange && !FFontChanging) {
        FFontChanging = true;
        SetCaptionColor(KeyButtonFontColor(FKind));
        FFontChanging = false;
    }
    TSpeedButton::changeEvent(event);
}

// --- TCalculatorPanel ----------------------------------------------------------------------

TCalculatorPanel::TCalculatorPanel(QWidget* parent, TCalcPanelLayout layout)
    : TExPanel(parent)
{
    SetBevelOuter(bvNone);
    SetBevelInner(bvNone);
    if (auto* p = qobject_cast<TExCustomPanel*>(parent))
        SetColor(p->Color());
    QFont bold = QApplication::font();
    bold.setBold(true);
    setFont(bold);
    resize(kPopupPanelWidthPx, kPopupPanelHeightPx);
    // Only the drop-down's keys are laid out; a dialog layout is never built here.
    if (layout == clPopup)
        CreateKeys();
}

void TCalculatorPanel::CreateKeys()
{
    for (const TKeyPlace& place : kPopupKeys) {
        auto* key = new TCalcButton(this, place.kind);
        key->setGeometry(place.x, place.y, place.width, place.height);
        key->SetCaption(place.caption ? QString::fromUtf16(place.caption) : DecimalSeparator());
        key->SetStyle(FCtl3D ? bsNew : bsWin31);
        key->OnClick = [this, kind = place.kind](TObject*) { KeyButtonClicked(kind); };
        FKeys.push_back(key);
    }
}

void TCalculatorPanel::SetPrecision(int precision)
{
    FPrecision = std::clamp(precision, 0, 255);
}

void TCalculatorPanel::SetCtl3D(bool on)
{
    FCtl3D = on;
    for (TCalcButton* key : FKeys)
        key->SetStyle(on ? bsNew : bsWin31);
}

TCalcButton* TCalculatorPanel::KeyButton(TCalcBtnKind kind) const
{
    for (TCalcButton* key : FKeys)
        if (key->Kind() == kind)
            return key;
    return nullptr;
}

TCalcButton* TCalculatorPanel::FindKeyButton(char16_t key) const
{
    const QString dec = DecimalSeparator();
    if (key == u',' || key == u'.' || (dec.size() == 1 && key == dec[0].unicode()))
        key = u'.';
    else if (key == kEnter)
        key = u'=';
    else if (key == kEscape)
        key = u'C';
    key = Upper(key);
    const std::u16string_view chars(kKeyChars);
    const std::size_t tag = chars.find(key);
    if (key == 0 || tag == std::u16string_view::npos)
        return nullptr;
    for (TCalcButton* button : FKeys)
        if (button->Tag() == static_cast<int>(tag))
            return button;
    return nullptr;
}

void TCalculatorPanel::CalcKeyPress(QObject*, char16_t& key)
{
    if (TCalcButton* button = FindKeyButton(key)) {
        // The key is seen pressed for a moment before its click runs.
        button->SetPressed(true);
        button->repaint();
        if (FKeyPressPauseMs > 0)
            QThread::msleep(static_cast<unsigned long>(FKeyPressPauseMs));
        button->Click();
        button->SetPressed(false);
        button->repaint();
        return;
    }
    ProcessKey(key);
}

void TCalculatorPanel::KeyButtonClicked(TCalcBtnKind kind)
{
    if (kind >= cbNum0 && kind <= cbNum9) {
        ProcessKey(static_cast<char16_t>(u'0' + (kind - cbNum0)));
        return;
    }
    switch (kind) {
    case cbSgn: ProcessKey(u'_'); break;
    case cbDcm: {
        const QString dec = DecimalSeparator();
        ProcessKey(dec.size() == 1 ? dec[0].unicode() : u'.');
        break;
    }
    case cbDiv: ProcessKey(u'/'); break;
    case cbMul: ProcessKey(u'*'); break;
    case cbSub: ProcessKey(u'-'); break;
    case cbAdd: ProcessKey(u'+'); break;
    case cbSqr: ProcessKey(u'Q'); break;
    case cbPcnt: ProcessKey(u'%'); break;
    case cbRev: ProcessKey(u'R'); break;
    case cbEql: ProcessKey(u'='); break;
    case cbBck: ProcessKey(kBackspace); break;
    case cbClr: ProcessKey(u'C'); break;
    case cbMP:
    case cbMS:
        if (FStatus != csError) {
            FStatus = csFirst;
            FMemory = kind == cbMP ? FMemory + DisplayValue() : DisplayValue();
            UpdateMemoryMark();
        }
        break;
    case cbMR:
        if (FStatus != csError) {
            FStatus = csFirst;
            StartEntry();
            SetDisplayValue(FMemory);
        }
        break;
    case cbMC:
        FMemory = 0;
        UpdateMemoryMark();
        break;
    case cbOk:
        if (FStatus == csError) {
            Beep();
        } else {
            SetDisplayValue(DisplayValue());
            Fire(OnOkClick, this);
        }
        break;
    case cbCancel: Fire(OnCancelClick, this); break;
    default: break;
    }
}

void TCalculatorPanel::ProcessKey(char16_t key)
{
    char16_t c = Upper(key);
    if (FStatus == csError && c != u'C')
        c = 0;
    if (OnCalcKey)
        OnCalcKey(this, c);

    const QString dec = DecimalSeparator();
    if (c == u',' || c == u'.' || (dec.size() == 1 && c == dec[0].unicode())) {
        StartEntry();
        // A number shown with an exponent takes no separator, as it takes no more digits: the
        // display would no longer read as a number.
        if (!FText.contains(dec) && !FText.contains(u'E'))
            ChangeText(FText + dec);
        return;
    }
    switch (c) {
    case kCtrlC: Copy(); break;
    case kCtrlV: Paste(); break;
    case kBackspace:
        StartEntry();
        if (FText.size() == 1 || (FText.size() == 2 && FText[0] == u'-'))
            ChangeText(QStringLiteral("0"));
        else
            ChangeText(FText.chopped(1));
        break;
    case u'0': case u'1': case u'2': case u'3': case u'4':
    case u'5': case u'6': case u'7': case u'8': case u'9': {
        StartEntry();
        const QString typed = FText == u"0" ? QString() : FText;
        if (typed.contains(u'E'))
            break;
        const qsizetype limit = std::max(2, FPrecision) + (typed.contains(u'-') ? 1 : 0);
        if (typed.size() < limit)
            ChangeText(typed + QChar(c));
        else
            Beep();
        break;
    }
    case kEnter: case u'%': case u'*': case u'+': case u'-': case u'/': case u'=':
        CalcOperator(c);
        break;
    case kEscape:
    case u'C': ClearAll(); break;
    case u'Q':
        if (FStatus != csError) {
            FStatus = csFirst;
            const double v = DisplayValue();
            if (v < 0)
                EnterError();
            else
                SetDisplayValue(std::sqrt(v));
        }
        break;
    case u'R':
        if (FStatus != csError) {
            FStatus = csFirst;
            const double v = DisplayValue();
            if (v == 0)
                EnterError();
            else
                SetDisplayValue(1 / v);
        }
        break;
    case u'_': SetDisplayValue(-DisplayValue()); break;
    default: break;
    }
}

void TCalculatorPanel::CalcOperator(char16_t c)
{
    if (FStatus == csValid) {
        FStatus = csFirst;
        double r = DisplayValue();
        if (c == u'%') {
            if (FOperator == u'*' || FOperator == u'/')
                r = r / 100;
            else if (FOperator == u'+' || FOperator == u'-')
                r = FOperand * r / 100;
        }
        switch (FOperator) {
        case u'*': SetDisplayValue(FOperand * r); break;
        case u'+': SetDisplayValue(FOperand + r); break;
        case u'-': SetDisplayValue(FOperand - r); break;
        case u'/':
            if (r == 0)
                EnterError();
            else
                SetDisplayValue(FOperand / r);
            break;
        default: break; // "=", "%", Enter or nothing pending: nothing to compute
        }
    }
    FOperator = c;
    FOperand = DisplayValue();
    if (c == kEnter || c == u'%' || c == u'=')
        Fire(OnResultClick, this);
}

void TCalculatorPanel::StartEntry()
{
    if (FStatus == csFirst) {
        FStatus = csValid;
        ChangeText(QStringLiteral("0"));
    }
}

void TCalculatorPanel::EnterError()
{
    FStatus = csError;
    ChangeText(QString::fromUtf16(kCalcErrorText));
    Beep();
    Fire(OnError, this);
}

void TCalculatorPanel::ClearAll()
{
    FStatus = csFirst;
    SetDisplayValue(0);
    FOperator = u'=';
}

void TCalculatorPanel::Beep() const
{
    if (FBeepOnError)
        Application::Beep();
}

void TCalculatorPanel::UpdateMemoryMark()
{
    if (auto* label = qobject_cast<QLabel*>(FMemoryLabel))
        label->setText(FMemory != 0 ? QStringLiteral("M") : QString());
}

double TCalculatorPanel::DisplayValue() const
{
    if (FStatus == csError)
        return 0;
    long double value = 0;
    double result = 0;
    if (!NumberText::TryConvert(TrimBlanks(FText).toStdU16String(), Settings(), value) || !ToFiniteDouble(value, result))
        return 0;
    return result;
}

void TCalculatorPanel::SetDisplayValue(double value)
{
    if (!std::isfinite(value)) {
        EnterError();
        return;
    }
    const QString shown = QString::fromStdU16String(NumberText::GeneralRendering(value, std::max(2, FPrecision), Settings()));
    if (shown != FText) {
        ChangeText(shown);
        Fire(OnDisplayChange, this);
    }
}

void TCalculatorPanel::ChangeText(const QString& text)
{
    if (text == FText)
        return;
    FText = text;
    NotifyTextChanged();
}

void TCalculatorPanel::NotifyTextChanged()
{
    if (auto* label = qobject_cast<QLabel*>(FControl))
        label->setText(FText);
    else if (auto* edit = qobject_cast<QLineEdit*>(FControl))
        edit->setText(FText);
    Fire(OnTextChange, this);
}

void TCalculatorPanel::Copy()
{
    if (QClipboard* clipboard = QGuiApplication::clipboard())
        clipboard->setText(FText);
}

void TCalculatorPanel::Paste()
{
    const QClipboard* clipboard = QGuiApplication::clipboard();
    if (!clipboard || clipboard->text().isEmpty())
        return;
    QString pasted = clipboard->text();
    const QString currency = QString::fromStdU16String(Settings().CurrencyString);
    if (!currency.isEmpty())
        pasted.remove(currency);
    long double value = 0;
    double number = 0;
    if (NumberText::TryConvert(TrimBlanks(pasted).toStdU16String(), Settings(), value) && ToFiniteDouble(value, number))
        SetDisplayValue(number);
    else
        ChangeText(QStringLiteral("0"));
}

void TCalculatorPanel::mousePressEvent(QMouseEvent* event)
{
    // The panel takes the presses between its keys; they do not reach the window behind it.
    event->accept();
}

void TCalculatorPanel::mouseReleaseEvent(QMouseEvent* event)
{
    event->accept();
}

// --- TLocCalculator ------------------------------------------------------------------------

TLocCalculator::TLocCalculator(QWidget* parent)
    : TCalculatorPanel(parent, clPopup)
{
    setFocusPolicy(Qt::NoFocus);
}

// --- TPopupCalculator ----------------------------------------------------------------------

TPopupCalculator::TPopupCalculator(TCustomComboEdit* editor)
    : TPopupWindow(editor)
    , FCalcPanel(nullptr)
{
    resize(kPopupWidthPx, kPopupHeightPx);
    FCalcPanel = new TLocCalculator(this);
    FCalcPanel->SetColor(clBtnFace);
    FCalcPanel->SetBevelOuter(bvRaised);
    FCalcPanel->setGeometry(ClientRect());
    FCalcPanel->SetPrecision(NumberText::kSignificantDigits);
    FCalcPanel->SetCtl3D(false);
    FCalcPanel->SetControl(editor);
    FCalcPanel->OnTextChange = [this](TObject*) { RepaintOnTextChange(); };
    FCalcPanel->OnResultClick = [this](TObject*) { AcceptResult(); };
}

DropDownValue TPopupCalculator::ReadDropDownValue()
{
    if (FCalcPanel->Status() == csError) {
        FCalcPanel->Beep();
        return 0.0;
    }
    FCalcPanel->SetDisplayValue(FCalcPanel->DisplayValue());
    return FCalcPanel->DisplayValue();
}

void TPopupCalculator::LoadDropDownValue(const DropDownValue& value)
{
    double number = 0;
    if (const auto* text = std::get_if<std::u16string>(&value)) {
        long double parsed = 0;
        if (!text->empty() && ParseLocaleNumber(*text, Settings(), parsed) && !ToFiniteDouble(parsed, number))
            number = 0;
    } else if (const auto* d = std::get_if<double>(&value)) {
        number = std::isfinite(*d) ? *d : 0;
    }
    FCalcPanel->SetDisplayValue(number);
    FCalcPanel->FStatus = csFirst;
    FCalcPanel->FOperator = u'=';
}

QString TPopupCalculator::GetPopupText() const
{
    return FCalcPanel->Text();
}

void TPopupCalculator::KeyPress(char16_t key)
{
    FCalcPanel->CalcKeyPress(this, key);
}

void TPopupCalculator::AcceptResult()
{
    if (FCalcPanel->Status() == csError)
        return;
    FCalcPanel->SetDisplayValue(FCalcPanel->DisplayValue());
    CloseUp(true);
}

void TPopupCalculator::RepaintOnTextChange()
{
    RepaintEditor();
}
