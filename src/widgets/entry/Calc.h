#pragma once
// The four-function calculator that drops down under a numeric edit. It has no display of its
// own: the edit shows its display text.

#include "ComboEdit.h"
#include "ExPanel.h"
#include "SpeedButton.h"

#include <QList>
#include <cstdint>
#include <functional>

enum TCalcBtnKind : std::uint8_t {
    cbNone,
    cbNum0, cbNum1, cbNum2, cbNum3, cbNum4, cbNum5, cbNum6, cbNum7, cbNum8, cbNum9,
    cbSgn, cbDcm, cbDiv, cbMul, cbSub, cbAdd, cbSqr, cbPcnt, cbRev, cbEql, cbBck, cbClr,
    cbMP, cbMS, cbMR, cbMC, cbOk, cbCancel,
};

// csFirst: the display shows a result or an operand and the next digit starts a new number;
// csValid: a number is being typed; csError: "Error" is shown.
enum TCalcState : std::uint8_t { csFirst, csValid, csError };

enum TCalcPanelLayout : std::uint8_t { clDialog, clPopup };

// The text the calculator shows after a failed operation.
inline constexpr char16_t kCalcErrorText[] = u"Error";

// One key of the calculator.
class TCalcButton : public TSpeedButton
{
    Q_OBJECT

public:
    TCalcButton(QWidget* parent, TCalcBtnKind kind);
    TCalcBtnKind Kind() const { return FKind; }
    // The caption colour of a key of this kind.
    static TColor KeyButtonFontColor(TCalcBtnKind kind);

protected:
    void changeEvent(QEvent* event) override;

private:
    TCalcBtnKind FKind;
    bool FFontChanging = false;
};

// The key panel and the calculator's state machine.
class TCalculatorPanel : public TExPanel
{
    Q_OBJECT

public:
    using TCalcKeyEvent = std::function<void(QObject* sender, char16_t& key)>;

    TCalculatorPanel(QWidget* parent, TCalcPanelLayout layout);

    // A key typed elsewhere: the matching key is pressed visibly, else the key is processed.
    void CalcKeyPress(QObject* sender, char16_t& key);
    void ProcessKey(char16_t key);
    // A key's click.
    void KeyButtonClicked(TCalcBtnKind kind);
    TCalcButton* FindKeyButton(char16_t key) const;
    TCalcButton* KeyButton(TCalcBtnKind kind) const;
    const QList<TCalcButton*>& Keys() const { return FKeys; }

    void Copy();
    void Paste();
    // 0 in csError; otherwise the display text as a number.
    double DisplayValue() const;
    // Shows the value with the precision's significant digits. A value beyond the double range
    // is not a number the display can show: it is an error.
    void SetDisplayValue(double value);
    QString Text() const { return FText; }

    TCalcState Status() const { return FStatus; }
    char16_t Operator() const { return FOperator; }
    double Operand() const { return FOperand; }
    double Memory() const { return FMemory; }
    int Precision() const { return FPrecision; }
    void SetPrecision(int precision);
    bool BeepOnError() const { return FBeepOnError; }
    void SetBeepOnError(bool on) { FBeepOnError = on; }
    // Off: keys drawn in the older, outlined style.
    bool Ctl3D() const { return FCtl3D; }
    void SetCtl3D(bool on);
    // A label or edit box that shows every display text.
    QWidget* Control() const { return FControl; }
    void SetControl(QWidget* control) { FControl = control; }
    // How long a key typed on the keyboard stays drawn pressed.
    int KeyPressPauseMs() const { return FKeyPressPauseMs; }
    void SetKeyPressPauseMs(int ms) { FKeyPressPauseMs = ms; }

    TNotifyEvent OnOkClick;
    TNotifyEvent OnCancelClick;
    TNotifyEvent OnResultClick;
    TNotifyEvent OnError;
    TNotifyEvent OnTextChange;
    TNotifyEvent OnDisplayChange;
    TCalcKeyEvent OnCalcKey;

protected:
    virtual void NotifyTextChanged();
    void ChangeText(const QString& text);
    void StartEntry();
    void EnterError();
    void ClearAll();
    void CalcOperator(char16_t key);
    void Beep() const;
    void UpdateMemoryMark();

    void mousePressEvent(QMouseEvent* event) override;
    void mouseReleaseEvent(QMouseEvent* event) override;

private:
    friend class TPopupCalculator;

    void CreateKeys();

    QString FText = QStringLiteral("0");
    TCalcState FStatus = csFirst;
    char16_t FOperator = 0;
    double FOperand = 0;
    double FMemory = 0;
    int FPrecision = 15;
    bool FBeepOnError = true;
    QWidget* FMemoryPanel = nullptr;
    QWidget* FMemoryLabel = nullptr;
    QWidget* FControl = nullptr;
    bool FCtl3D = true;
    int FKeyPressPauseMs = 20;
    QList<TCalcButton*> FKeys;
};

// The key panel used inside the drop-down.
class TLocCalculator : public TCalculatorPanel
{
    Q_OBJECT

public:
    explicit TLocCalculator(QWidget* parent);
};

// The drop-down window of the numeric edit.
class TPopupCalculator : public TPopupWindow
{
    Q_OBJECT

public:
    explicit TPopupCalculator(TCustomComboEdit* editor);

    TLocCalculator* CalcPanel() const { return FCalcPanel; }

    DropDownValue ReadDropDownValue() override;
    void LoadDropDownValue(const DropDownValue& value) override;
    QString GetPopupText() const override;
    void KeyPress(char16_t key) override;

private:
    void AcceptResult();
    void RepaintOnTextChange();

    TLocCalculator* FCalcPanel;
};
