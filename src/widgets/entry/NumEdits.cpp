#include "NumEdits.h"

#include "Application.h"
#include "Calc.h"
#include "FormatSettings.h"

#include <QImage>
#include <QPainter>
#include <QPointer>
#include <QTimer>
#include <algorithm>
#include <climits>
#include <cmath>

namespace {

constexpr char16_t kEnter = 13;
constexpr char16_t kEscape = 27;
constexpr char16_t kBackspace = 8;
// Typed characters in this range go through the number test; others pass untested.
constexpr char16_t kFirstTestedChar = 0x20;
constexpr char16_t kLastTestedChar = 0xFF;
// The button picture: two 14x12 cells, magenta standing for transparent.
constexpr int kGlyphCellWidthPx = 14;
constexpr QRgb kGlyphTransparent = 0xFFFF00FF;

const NumberText::TFormatSettings& Settings()
{
    return Locale::FormatSettings();
}

// A separator as one character, 0 when it is not a single UTF-16 unit.
char16_t SingleChar(const std::u16string& separator)
{
    return separator.size() == 1 ? separator[0] : char16_t(0);
}

// Restores a flag on leaving a scope.
class TFlagGuard {
public:
    explicit TFlagGuard(bool& flag) : FFlag(flag), FOld(flag) { FFlag = true; }
    ~TFlagGuard() { FFlag = FOld; }
    TFlagGuard(const TFlagGuard&) = delete;
    TFlagGuard& operator=(const TFlagGuard&) = delete;

private:
    bool& FFlag;
    bool FOld;
};

// Digit grouping of a normalised number text: the integer digits after a leading sign, up to
// the decimal separator or an exponent mark, get the thousands separator every three digits.
std::u16string Grouped(const std::u16string& text, const NumberText::TFormatSettings& settings)
{
    std::size_t begin = 0;
    if (begin < text.size() && (text[begin] == u'+' || text[begin] == u'-'))
        ++begin;
    std::size_t end = begin;
    while (end < text.size() && text[end] >= u'0' && text[end] <= u'9')
        ++end;
    std::u16string out = text.substr(0, begin);
    const std::size_t digits = end - begin;
    for (std::size_t i = 0; i < digits; ++i) {
        if (i > 0 && (digits - i) % 3 == 0)
            out += settings.ThousandSeparator;
        out.push_back(text[begin + i]);
    }
    out += text.substr(end);
    return out;
}

} // namespace

bool CharKeepsNumber(std::u16string_view text, std::size_t selectionStart, std::size_t selectionLength,
                     char16_t c, const NumberText::TNumberLimits& limits,
                     const NumberText::TFormatSettings& settings)
{
    std::u16string typed(text);
    const std::size_t at = std::min(selectionStart, typed.size());
    typed.replace(at, std::min(selectionLength, typed.size() - at), 1, c);
    const std::u16string n = NumberText::NormaliseNumberText(typed, settings, NumberText::TNormalise::KeepAllCharacters);

    const std::u16string& dec = settings.DecimalSeparator;
    if (const std::size_t a = dec.empty() ? std::u16string::npos : n.find(dec); a != std::u16string::npos) {
        // Only the digits between the separator and an exponent mark count as decimals.
        const std::size_t e = n.find_first_of(u"Ee");
        const std::size_t decimals = (e != std::u16string::npos && e > a) ? e - a - dec.size()
                                                                          : n.size() - a - dec.size();
        if (decimals > limits.DecimalPlaces)
            return false;
    }
    for (std::size_t i = 0; i < n.size();) {
        if (!dec.empty() && n.compare(i, dec.size(), dec) == 0) {
            i += dec.size();
            continue;
        }
        const char16_t ch = n[i++];
        if (!(ch == u'+' || ch == u'-' || ch == u'E' || ch == u'e' || (ch >= u'0' && ch <= u'9')))
            return false;
    }
    long double value = 0;
    if (!NumberText::TryConvert(n, settings, value))
        return false;
    return !(limits.MinValue >= 0 && limits.MaxValue > 0 && value < 0);
}

// --- TCustomNumEdit ------------------------------------------------------------------------

TCustomNumEdit::TCustomNumEdit(QWidget* parent)
    : TCustomComboEdit(parent)
{
    FDisplayFormat = DefaultDisplayFormat();
    setMaxLength(INT_MAX);
    setAlignment(Qt::AlignLeft | Qt::AlignTop);
    RefreshEditText();
    SetImageKind(ikDefault);
    SetButtonWidth(21);
    if (const int index = DefaultImageIndex(); index >= 0)
        Button()->SetDisabledImageIndex(index + 1);
}

int TCustomNumEdit::DefaultImageIndex() const
{
    // Loaded once per process into the shared list: the calculator and its grey outline.
    static const int index = [] {
        QImage glyph(QStringLiteral(":/entry/CustomNumEditBUTTONGLYPH.png"));
        if (glyph.isNull())
            return -1;
        glyph = glyph.convertToFormat(QImage::Format_ARGB32);
        for (int y = 0; y < glyph.height(); ++y)
            for (int x = 0; x < glyph.width(); ++x)
                if (glyph.pixel(x, y) == kGlyphTransparent)
                    glyph.setPixel(x, y, qRgba(0, 0, 0, 0));
        int first = -1;
        for (int cell = 0; cell * kGlyphCellWidthPx < glyph.width(); ++cell) {
            const int added = DefaultImages().Add(
                QPixmap::fromImage(glyph.copy(cell * kGlyphCellWidthPx, 0, kGlyphCellWidthPx, glyph.height())));
            if (first < 0)
                first = added;
        }
        return first;
    }();
    return index;
}

long double TCustomNumEdit::LimitValue(long double value, bool raiseOnError) const
{
    const NumberText::TNumberLimits limits{FMinValue, FMaxValue, FDecimalPlaces, FDecimalPlaceRound};
    return NumberText::ApplyLimits(value, limits, raiseOnError, Settings());
}

QString TCustomNumEdit::EditingFormat() const
{
    return QString::fromStdU16String(NumberText::EditingFormat(FDecimalPlaces, FDecimalPlacesAlwaysShown));
}

long double TCustomNumEdit::Value() const
{
    try {
        ReadEditText();
    } catch (const std::exception&) {
        FValue = FMinValue;
    }
    return FValue;
}

void TCustomNumEdit::SetValue(long double value)
{
    FValue = LimitValue(value, false);
    RefreshEditText();
    update();
}

int TCustomNumEdit::AsInteger() const
{
    const long double v = std::trunc(Value());
    if (std::isnan(v))
        return 0;
    // Beyond the int range the nearest int is the only sound answer.
    if (v >= static_cast<long double>(INT_MAX))
        return INT_MAX;
    if (v <= static_cast<long double>(INT_MIN))
        return INT_MIN;
    return static_cast<int>(v);
}

void TCustomNumEdit::SetMinValue(long double value)
{
    if (value == FMinValue)
        return;
    FMinValue = value;
    SetValue(FValue);
}

void TCustomNumEdit::SetMaxValue(long double value)
{
    if (value == FMaxValue)
        return;
    FMaxValue = value;
    SetValue(FValue);
}

void TCustomNumEdit::SetDecimalPlaces(unsigned places)
{
    if (places == FDecimalPlaces)
        return;
    FDecimalPlaces = places;
    FDisplayFormat = EditingFormat();
    SetValue(LimitValue(FValue, false));
}

void TCustomNumEdit::SetDecimalPlacesAlwaysShown(bool on)
{
    if (on == FDecimalPlacesAlwaysShown)
        return;
    FDecimalPlacesAlwaysShown = on;
    FDisplayFormat = EditingFormat();
    SetValue(LimitValue(FValue, false));
}

void TCustomNumEdit::SetDecimalPlaceRound(bool on)
{
    if (on == FDecimalPlaceRound)
        return;
    FDecimalPlaceRound = on;
    SetValue(LimitValue(FValue, false));
    RegroupEditText();
}

void TCustomNumEdit::SetDisplayFormat(const QString& format)
{
    if (format == FDisplayFormat)
        return;
    FDisplayFormat = format;
    update();
    RefreshEditText();
}

void TCustomNumEdit::SetZeroEmpty(bool on)
{
    if (on == FZeroEmpty)
        return;
    FZeroEmpty = on;
    RefreshEditText();
}

void TCustomNumEdit::SetFormatOnEditing(bool on)
{
    if (on == FFormatOnEditing)
        return;
    FFormatOnEditing = on;
    setAlignment((on ? FAlignment : Qt::AlignLeft) | Qt::AlignTop);
    if (FFocused) {
        if (on) {
            RegroupEditText();
        } else {
            ReadEditText();
            RefreshEditText();
        }
    }
}

void TCustomNumEdit::SetAlignment(Qt::Alignment alignment)
{
    if (alignment == FAlignment)
        return;
    FAlignment = alignment;
    update();
}

void TCustomNumEdit::SetBeepOnError(bool on)
{
    if (on == BeepOnError())
        return;
    TCustomComboEdit::SetBeepOnError(on);
    UpdateCalculatorOptions();
}

void TCustomNumEdit::SetText(const QString& text)
{
    const auto& settings = Settings();
    FValue = LimitValue(NumberText::convert(NumberText::NormaliseNumberText(text.toStdU16String(), settings), settings),
                        false);
    RefreshEditText();
    update();
}

QString TCustomNumEdit::DisplayText() const
{
    const auto& settings = Settings();
    if (FDisplayFormat.isEmpty())
        return QString::fromStdU16String(NumberText::GeneralRendering(FValue, NumberText::kSignificantDigits, settings));
    return QString::fromStdU16String(NumberText::FormatFloat(FDisplayFormat.toStdU16String(), FValue, settings));
}

void TCustomNumEdit::WriteEditText(const QString& shown)
{
    if (shown == text())
        return;
    const bool modified = isModified();
    setText(shown);
    setModified(modified);
}

void TCustomNumEdit::RefreshEditText()
{
    if (FValue == 0 && FZeroEmpty) {
        WriteEditText(QString());
        return;
    }
    WriteEditText(QString::fromStdU16String(
        NumberText::FormatFloat(EditingFormat().toStdU16String(), LimitValue(FValue, false), Settings())));
}

void TCustomNumEdit::ReadEditText() const
{
    const auto& settings = Settings();
    FValue = LimitValue(NumberText::convert(NumberText::NormaliseNumberText(text().toStdU16String(), settings), settings),
                        false);
}

void TCustomNumEdit::RegroupEditText()
{
    TFlagGuard formatting(FFormatting);
    const QString old = text();
    const qsizetype fromEnd = old.size() - cursorPosition();
    std::u16string shown = old.toStdU16String();
    if (!shown.empty() && shown != u"-")
        shown = NumberText::NormaliseNumberText(shown, Settings());
    if (FDisplayFormat.contains(u',') && Settings().ThousandSeparator != Settings().DecimalSeparator)
        shown = Grouped(shown, Settings());
    const QString regrouped = QString::fromStdU16String(shown);
    WriteEditText(regrouped);
    setCursorPosition(static_cast<int>(std::max<qsizetype>(0, regrouped.size() - fromEnd)));
}

void TCustomNumEdit::UpdateFocusState(bool focused)
{
    if (focused == FFocused)
        return;
    FFocused = focused;
    update();
    TFlagGuard formatting(FFormatting);
    RefreshEditText();
}

bool TCustomNumEdit::CharKeepsNumber(char16_t c) const
{
    const int start = hasSelectedText() ? selectionStart() : cursorPosition();
    const int length = hasSelectedText() ? static_cast<int>(selectedText().size()) : 0;
    const NumberText::TNumberLimits limits{FMinValue, FMaxValue, FDecimalPlaces, FDecimalPlaceRound};
    return ::CharKeepsNumber(text().toStdU16String(), static_cast<std::size_t>(std::max(0, start)),
                             static_cast<std::size_t>(std::max(0, length)), c, limits, Settings());
}

bool TCustomNumEdit::IsCalculatorKey(char16_t key) const
{
    const char16_t group = SingleChar(Settings().ThousandSeparator);
    if (group != 0 && key == group)
        return false;
    const char16_t upper = (key >= u'a' && key <= u'z') ? static_cast<char16_t>(key - u'a' + u'A') : key;
    if ((upper >= u'0' && upper <= u'9') || upper == kBackspace || upper == kEnter)
        return true;
    if (std::u16string_view(u"%*+,-./=CQR_").find(upper) != std::u16string_view::npos)
        return true;
    const char16_t dec = SingleChar(Settings().DecimalSeparator);
    return dec != 0 && key == dec;
}

bool TCustomNumEdit::KeyPress(char16_t& key)
{
    if (PopupVisible() && IsCalculatorKey(key)) {
        Popup()->KeyPress(key);
        return true;
    }
    const char16_t group = SingleChar(Settings().ThousandSeparator);
    const char16_t dec = SingleChar(Settings().DecimalSeparator);
    if ((key == u',' || key == u'.') && key != group && dec != 0)
        key = dec;
    if (TCustomComboEdit::KeyPress(key))
        return true;
    if (key >= kFirstTestedChar && key <= kLastTestedChar && !CharKeepsNumber(key)) {
        ErrorBeep();
        return true;
    }
    if (key == kEscape) {
        RestoreEditText();
        return true;
    }
    return false;
}

void TCustomNumEdit::RestoreEditText()
{
    RefreshEditText();
    SelectAll();
}

void TCustomNumEdit::Change()
{
    // The edit's own reformatting is never reported.
    if (FFormatting)
        return;
    if (FFormatOnEditing && FFocused)
        RegroupEditText();
    TCustomComboEdit::Change();
}

void TCustomNumEdit::DoEnter(Qt::FocusReason reason)
{
    UpdateFocusState(true);
    if (FFormatOnEditing)
        RegroupEditText();
    TCustomComboEdit::DoEnter(reason);
}

void TCustomNumEdit::DoExit()
{
    try {
        // While the calculator is open the text is its display, not a number the user typed:
        // reading it here would keep the calculator's number although the close cancels it.
        if (PopupVisible()) {
            // Nothing to check.
        } else if (FCheckOnExit) {
            const auto& settings = Settings();
            LimitValue(NumberText::convert(NumberText::NormaliseNumberText(text().toStdU16String(), settings), settings),
                       true);
        }
        if (!PopupVisible())
            ReadEditText();
    } catch (const std::exception& error) {
        // The text stays as typed, selected, and the focus comes back once the move is over.
        selectAll();
        QTimer::singleShot(0, this, [this] {
            if (CanTakeFocus()) {
                setFocus(Qt::OtherFocusReason);
                selectAll();
            }
        });
        Application::HandleException(error);
        return;
    }
    UpdateFocusState(false);
    setCursorPosition(0);
    TCustomComboEdit::DoExit();
}

void TCustomNumEdit::PasteFromClipboard(QClipboard::Mode mode)
{
    // While the drop-down is open the text is its display and the text box is locked: nothing
    // is pasted, and reading the display would make it the number a cancel restores.
    if (PopupVisible())
        return;
    const QString old = text();
    const bool modified = isModified();
    try {
        TCustomComboEdit::PasteFromClipboard(mode);
        ReadEditText();
    } catch (const std::exception&) {
        setText(old);
        setModified(modified);
        selectAll();
        if (CanTakeFocus())
            setFocus(Qt::OtherFocusReason);
        ErrorBeep();
    }
}

void TCustomNumEdit::TakeDropDownValue(const DropDownValue& value)
{
    TCustomComboEdit::TakeDropDownValue(value);
    long double number = 0;
    if (const auto* d = std::get_if<double>(&value)) {
        number = *d;
    } else if (const auto* t = std::get_if<std::u16string>(&value)) {
        if (!ParseLocaleNumber(*t, Settings(), number))
            number = NumberText::convert(*t, Settings());
    }
    SetValue(LimitValue(number, false));
}

void TCustomNumEdit::paintEvent(QPaintEvent* event)
{
    if (FFocused && !PopupVisible()) {
        TCustomComboEdit::paintEvent(event);
        return;
    }
    QPainter painter(this);
    PaintValue(painter);
}

void TCustomNumEdit::PaintValue(QPainter& painter)
{
    const bool open = PopupVisible();
    const QString shown = open ? Popup()->GetPopupText() : DisplayText();
    const QRect r = FormattingRect();
    painter.fillRect(rect(), ToQColor(isEnabled() ? Color() : DisabledColor()));
    PaintBorder(painter);

    const QFontMetrics metrics(font());
    const int textWidth = metrics.horizontalAdvance(shown);
    const int left = r.left(), right = r.left() + r.width();
    int x = left;
    if (!open) {
        Qt::Alignment horizontal = FAlignment & Qt::AlignHorizontal_Mask;
        if (layoutDirection() == Qt::RightToLeft) {
            if (horizontal & Qt::AlignLeft)
                horizontal = Qt::AlignRight;
            else if (horizontal & Qt::AlignRight)
                horizontal = Qt::AlignLeft;
        }
        if (horizontal & Qt::AlignRight)
            x = right - textWidth;
        else if (horizontal & Qt::AlignHCenter)
            x = (left + right - textWidth) / 2;
    }
    painter.setClipRect(r);
    painter.setFont(font());
    painter.setPen(isEnabled() ? palette().color(QPalette::Active, QPalette::Text) : ToQColor(DisabledTextColor()));
    painter.drawText(x, r.top() + metrics.ascent(), shown);
}

// --- TCustomCalcEdit -----------------------------------------------------------------------

TCustomCalcEdit::TCustomCalcEdit(QWidget* parent)
    : TCustomNumEdit(parent)
{
    auto* calculator = new TPopupCalculator(this);
    calculator->setLayoutDirection(layoutDirection());
    calculator->FCloseUp = [this](QObject*, bool accept) { CloseDropDown(accept); };
    SetPopup(calculator);
    UpdateCalculatorOptions();
}

TCustomCalcEdit::~TCustomCalcEdit()
{
    if (TPopupWindow* popup = Popup())
        popup->FCloseUp = nullptr;
}

TPopupCalculator* TCustomCalcEdit::Calculator() const
{
    return qobject_cast<TPopupCalculator*>(Popup());
}

void TCustomCalcEdit::ReportPopupChange()
{
    TCustomNumEdit::ReportPopupChange();
    if (FEnablePopupChange)
        ReportChange();
}

void TCustomCalcEdit::UpdateCalculatorOptions()
{
    if (TPopupCalculator* calculator = Calculator()) {
        calculator->CalcPanel()->SetPrecision(std::max(2, NumberText::kSignificantDigits));
        calculator->CalcPanel()->SetBeepOnError(BeepOnError());
    }
}
