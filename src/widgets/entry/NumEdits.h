#pragma once
// The numeric edit: one real number, shown formatted in the locale's separators, typed through a
// character filter, and a drop-down calculator behind its button.

#include "ComboEdit.h"

class TPopupCalculator;

// Whether a number text stays a number with `c` typed over `selectionLength` characters at
// `selectionStart`: no more decimals than allowed (digits after an exponent mark do not count),
// only signs, digits, exponent marks and the decimal separator once the digit groups are
// dropped, a text that converts, and no negative number while the limits are both positive.
bool CharKeepsNumber(std::u16string_view text, std::size_t selectionStart, std::size_t selectionLength,
                     char16_t c, const NumberText::TNumberLimits& limits,
                     const NumberText::TFormatSettings& settings);

class TCustomNumEdit : public TCustomComboEdit
{
    Q_OBJECT

public:
    explicit TCustomNumEdit(QWidget* parent = nullptr);

    // Reading re-converts the current text; an unreadable text reads as MinValue.
    long double Value() const;
    void SetValue(long double value);
    // Value truncated toward zero, saturated to the int range.
    int AsInteger() const;
    void SetAsInteger(int value) { SetValue(value); }
    long double MinValue() const { return FMinValue; }
    void SetMinValue(long double value);
    long double MaxValue() const { return FMaxValue; }
    void SetMaxValue(long double value);
    unsigned DecimalPlaces() const { return FDecimalPlaces; }
    void SetDecimalPlaces(unsigned places);
    bool DecimalPlacesAlwaysShown() const { return FDecimalPlacesAlwaysShown; }
    void SetDecimalPlacesAlwaysShown(bool on);
    bool DecimalPlaceRound() const { return FDecimalPlaceRound; }
    void SetDecimalPlaceRound(bool on);
    QString DisplayFormat() const { return FDisplayFormat; }
    void SetDisplayFormat(const QString& format);
    bool ZeroEmpty() const { return FZeroEmpty; }
    void SetZeroEmpty(bool on);
    bool FormatOnEditing() const { return FFormatOnEditing; }
    void SetFormatOnEditing(bool on);
    bool CheckOnExit() const { return FCheckOnExit; }
    void SetCheckOnExit(bool on) { FCheckOnExit = on; }
    Qt::Alignment Alignment() const { return FAlignment; }
    void SetAlignment(Qt::Alignment alignment);
    void SetBeepOnError(bool on) override;

    // Assigning a text stores the number it reads as and shows it formatted; a text that does
    // not convert raises EConvertError.
    void SetText(const QString& text) override;
    void Clear() { SetText(QString()); }
    // The value as the display view paints it.
    virtual QString DisplayText() const;
    // In the editing view: focused, the text box shows the edit text.
    bool Editing() const { return FFocused; }

    void PasteFromClipboard(QClipboard::Mode mode = QClipboard::Clipboard) override;

    // The display pattern for DecimalPlaces and DecimalPlacesAlwaysShown.
    QString EditingFormat() const;

protected:
    virtual void RefreshEditText();
    virtual QString DefaultDisplayFormat() const { return QStringLiteral(",0.##"); }
    // Whether the text stays a number with `c` typed over the selection.
    virtual bool CharKeepsNumber(char16_t c) const;
    virtual void UpdateCalculatorOptions() {}
    int DefaultImageIndex() const override;
    void TakeDropDownValue(const DropDownValue& value) override;
    void RestoreEditText() override;
    void Change() override;
    bool KeyPress(char16_t& key) override;
    void DoEnter(Qt::FocusReason reason) override;
    void DoExit() override;

    // FValue from the edit text; conversion errors pass on.
    void ReadEditText() const;
    // Digit grouping put into the text being edited, the caret kept as far from the end.
    void RegroupEditText();
    void UpdateFocusState(bool focused);
    long double LimitValue(long double value, bool raiseOnError) const;
    // The character the calculator takes while it is open.
    bool IsCalculatorKey(char16_t key) const;
    void PaintValue(QPainter& painter);

    void paintEvent(QPaintEvent* event) override;

private:
    void WriteEditText(const QString& text);

    Qt::Alignment FAlignment = Qt::AlignRight;
    bool FFocused = false;
    mutable long double FValue = 0;
    long double FMinValue = 0;
    long double FMaxValue = 0;
    unsigned FDecimalPlaces = 2;
    bool FDecimalPlacesAlwaysShown = false;
    bool FCheckOnExit = false;
    bool FZeroEmpty = true;
    bool FFormatOnEditing = false;
    bool FFormatting = false;
    QString FDisplayFormat;
    bool FDecimalPlaceRound = false;
};

class TCustomCalcEdit : public TCustomNumEdit
{
    Q_OBJECT

public:
    explicit TCustomCalcEdit(QWidget* parent = nullptr);
    ~TCustomCalcEdit() override;

    // Changes made while the calculator is open also raise OnChange.
    bool EnablePopupChange() const { return FEnablePopupChange; }
    void SetEnablePopupChange(bool on) { FEnablePopupChange = on; }
    TPopupCalculator* Calculator() const;

protected:
    void ReportPopupChange() override;
    void UpdateCalculatorOptions() override;

private:
    bool FEnablePopupChange = false;
};

class TCalcEdit : public TCustomCalcEdit
{
    Q_OBJECT

public:
    using TCustomCalcEdit::TCustomCalcEdit;
};
