#pragma once
// A single-line edit box with a push button fixed to its right end and an optional drop-down
// window. The edit opens and closes the drop-down, hands it the edit's text when it opens and
// takes a value back when the user accepts; what the drop-down holds is its own business.

#include "Colors.h"
#include "Events.h"
#include "NumberText.h"
#include "SpeedButton.h"

#include <QClipboard>
#include <QLineEdit>
#include <cstdint>
#include <functional>
#include <string>
#include <variant>

class TCustomComboEdit;

// A key combination: the virtual-key code in the low byte, plus the modifier bits.
using TShortCut = std::uint16_t;
inline constexpr TShortCut scShift = 0x2000;
inline constexpr TShortCut scCtrl = 0x4000;
inline constexpr TShortCut scAlt = 0x8000;
inline constexpr TShortCut kVkDown = 0x28;
inline constexpr TShortCut kAltDown = scAlt | kVkDown; // 32808
// The shortcut of a key press; 0 for keys that have no virtual-key code here.
TShortCut ShortCutOfKey(int qtKey, Qt::KeyboardModifiers modifiers);

enum TClipboardCommand : std::uint8_t { caCopy = 1, caCut = 2, caPaste = 4, caClear = 8, caUndo = 16 };
using TClipboardCommands = std::uint8_t;
inline constexpr TClipboardCommands kAllClipboardCommands = caCopy | caCut | caPaste | caClear | caUndo;

// The edit box of the toolkit plus an error beep that can be switched off and a choice of the
// clipboard commands it carries out.
class TExCustomMaskEdit : public QLineEdit
{
    Q_OBJECT

public:
    explicit TExCustomMaskEdit(QWidget* parent = nullptr);

    bool BeepOnError() const { return FBeepOnError; }
    virtual void SetBeepOnError(bool on) { FBeepOnError = on; }
    // A request for a command missing here is answered as handled and does nothing.
    TClipboardCommands ClipboardCommands() const { return FClipboardCommands; }
    void SetClipboardCommands(TClipboardCommands commands) { FClipboardCommands = commands; }

    // The platform's error beep, when BeepOnError is set.
    void ErrorBeep() const;

private:
    bool FBeepOnError = true;
    TClipboardCommands FClipboardCommands = kAllClipboardCommands;
};

// The value passed between an edit and its drop-down: null, a text or a number.
using DropDownValue = std::variant<std::monostate, std::u16string, double>;
// Null gives the empty text, a number its general rendering with 15 significant digits, a text
// itself.
std::u16string DropDownValueText(const DropDownValue& value, const NumberText::TFormatSettings& settings);
// Reads a number the way the platform's locale-aware parsing does: the locale's digit grouping
// is accepted; otherwise the toolkit's conversion decides. False when neither reads it.
bool ParseLocaleNumber(std::u16string_view text, const NumberText::TFormatSettings& settings, long double& value);

enum TImageKind : std::uint8_t { ikCustom, ikDefault, ikDropDown, ikEllipsis };
enum TPopupAlign : std::uint8_t { epaRight, epaLeft };

// Where a drop-down of `dropSize` opens for an edit at `editTopLeft` (screen coordinates) of
// `editSize`, within the work area `work`: below the edit, or above it when there is no room
// below; right or left edges aligned; then kept inside the work area horizontally.
QPoint DropDownOrigin(QPoint editTopLeft, QSize editSize, QSize dropSize, const QRect& work, TPopupAlign align);

// The edit's button: a press while the drop-down is open closes it (accepting when standard)
// and the click that ends that press does nothing.
class TEditButton : public TImageSpeedButton
{
    Q_OBJECT

public:
    TEditButton(TCustomComboEdit* edit, QWidget* host);

    bool Standard() const { return FStandard; }
    void SetStandard(bool standard) { FStandard = standard; }
    bool DrawThemedDropDownBtn() const { return FDrawThemedDropDownBtn; }
    void SetDrawThemedDropDownBtn(bool on);

    void Click() override;

protected:
    void Paint(QPainter& painter) override;
    void mousePressEvent(QMouseEvent* event) override;
    void contextMenuEvent(QContextMenuEvent* event) override;

private:
    friend class TCustomComboEdit;

    TCustomComboEdit* FEdit;
    bool FStandard = true;
    bool FNoAction = false;
    bool FDrawThemedDropDownBtn = false;
};

// The drop-down base: a framed pop-up tool window owned by the edit that never takes the
// keyboard focus and is shown at a screen point without activation.
class TPopupWindow : public QWidget
{
    Q_OBJECT

public:
    using TCloseUpEvent = std::function<void(QObject* sender, bool accept)>;

    explicit TPopupWindow(TCustomComboEdit* editor);

    TCustomComboEdit* Editor() const { return FEditor; }

    virtual DropDownValue ReadDropDownValue() = 0;
    virtual void LoadDropDownValue(const DropDownValue& value) = 0;
    // Asks to close: fires FCloseUp with the accept flag.
    virtual void CloseUp(bool accept);
    // The text the edit paints while the drop-down is open.
    virtual QString GetPopupText() const { return {}; }
    // Moves the window to the screen point (keeping its size) and shows it without activating it.
    virtual void ShowAt(QPoint origin);
    // Hides the window without moving or activating anything.
    void Hide();
    bool Shown() const { return FShown; }
    // A typed character forwarded by the edit while the drop-down is open.
    virtual void KeyPress(char16_t key);
    // Repaints the edit's text area (everything but its button) at once.
    void RepaintEditor();
    // Inside the one-pixel border.
    QRect ClientRect() const { return rect().adjusted(1, 1, -1, -1); }

    TCloseUpEvent FCloseUp;

protected:
    void paintEvent(QPaintEvent* event) override;
    void mouseReleaseEvent(QMouseEvent* event) override;

private:
    TCustomComboEdit* FEditor;
    QWidget* FActiveControl = nullptr;
    bool FIsFocusable = false;
    bool FShown = false;
};

class TCustomComboEdit : public TExCustomMaskEdit
{
    Q_OBJECT

public:
    explicit TCustomComboEdit(QWidget* parent = nullptr);
    ~TCustomComboEdit() override;

    // Width of the button; below 2 hides it (the width is remembered and still read).
    int ButtonWidth() const { return FButtonShown ? FButtonWidth : FSavedButtonWidth; }
    void SetButtonWidth(int width);
    bool ShowButton() const { return FButtonShown; }
    void SetShowButton(bool show);
    bool ButtonFlat() const;
    void SetButtonFlat(bool flat);
    QString ButtonHint() const;
    void SetButtonHint(const QString& hint);
    TImageKind ImageKind() const { return FImageKind; }
    void SetImageKind(TImageKind kind);
    int ImageIndex() const { return FImageIndex; }
    void SetImageIndex(int index);
    int NumGlyphs() const { return FNumGlyphs; }
    void SetNumGlyphs(int count);
    QPixmap Glyph() const { return FGlyph; }
    void SetGlyph(const QPixmap& glyph);
    const TImageList* Images() const { return FImages; }
    void SetImages(const TImageList* images);
    TShortCut ClickKey() const { return FClickKey; }
    void SetClickKey(TShortCut key) { FClickKey = key; }
    bool DirectInput() const { return FDirectInput; }
    void SetDirectInput(bool on);
    virtual bool ReadOnly() const { return FReadOnly; }
    virtual void SetReadOnly(bool on);
    TPopupAlign PopupAlign() const { return FPopupAlign; }
    void SetPopupAlign(TPopupAlign align) { FPopupAlign = align; }
    TColor Color() const { return FColor; }
    void SetColor(TColor color);
    TColor DisabledColor() const { return FDisabledColor; }
    virtual void SetDisabledColor(TColor color);
    TColor DisabledTextColor() const { return FDisabledTextColor; }
    virtual void SetDisabledTextColor(TColor color);
    bool AlwaysEnableButton() const { return FAlwaysEnableButton; }
    void SetAlwaysEnableButton(bool on) { FAlwaysEnableButton = on; }
    bool AlwaysShowPopup() const { return FAlwaysShowPopup; }
    void SetAlwaysShowPopup(bool on) { FAlwaysShowPopup = on; }
    bool AutoSelect() const { return FAutoSelect; }
    void SetAutoSelect(bool on) { FAutoSelect = on; }

    // The edit text. A descendant may read what is assigned (the numeric edit converts it).
    QString Text() const { return text(); }
    virtual void SetText(const QString& text);

    // The drop-down counts as open.
    bool PopupVisible() const { return FPopup != nullptr && FPopupVisible; }
    // The edit holds the keyboard focus (a change of its window's activation aside).
    bool Focused() const { return FFocused; }
    TPopupWindow* Popup() const { return FPopup; }
    TEditButton* Button() const { return FButton; }
    QWidget* ButtonHost() const { return FBtnControl; }
    // The rectangle the text is laid out in, in widget coordinates; typed text never runs under
    // the button.
    QRect FormattingRect() const;

    // Runs the button's action as if the button were clicked.
    void DoClick();
    // Selects the whole text, only with DirectInput.
    void SelectAll();
    virtual void OpenDropDown(bool lockEdit);
    virtual void CloseDropDown(bool accept);
    // Closes the drop-down later: a private event posted to the edit itself.
    virtual void PostCloseRequest(bool accept);

    // The clipboard commands, as the edit's keys and context menu run them.
    void CutToClipboard();
    void CopyToClipboard();
    virtual void PasteFromClipboard(QClipboard::Mode mode = QClipboard::Clipboard);
    // Empties the whole text, whatever is selected.
    void ClearText();
    void UndoEdit();

    // One list of 14x12 pictures shared by all edits, created on first use.
    static TImageList& DefaultImages();

    TNotifyEvent OnChange;
    TNotifyEvent OnButtonClick;
    TNotifyEvent OnPopupShown;
    TNotifyEvent OnPopupHidden;
    TNotifyEvent OnEnter;
    TNotifyEvent OnExit;
    // Internal: the text changed while the drop-down was open; a drop-down value was accepted;
    // the edit was enabled or disabled.
    TNotifyEvent FOnPopupChange;
    TNotifyEvent FOnPopupValueAccepted;
    TNotifyEvent FOnEnabledChanged;

protected:
    // The drop-down window, made by the descendant; owned by the edit.
    void SetPopup(TPopupWindow* popup);

    virtual void BeforeDropDown() {}
    virtual void HidePopup();
    virtual void ShowPopup(QPoint origin);
    virtual bool AcceptPopupValue(const DropDownValue&) { return true; }
    virtual DropDownValue ReadPopupValue();
    virtual void TakeDropDownValue(const DropDownValue& value);
    virtual void ReportChange();
    virtual void ReportPopupChange();
    virtual void LoadPopupValue(const DropDownValue& value);
    virtual int DefaultImageIndex() const { return -1; }
    // Puts the edit's text back after a cancelled drop-down or Escape; here it only selects.
    virtual void RestoreEditText();
    // Every change of the text box's text, typed or set.
    virtual void Change();
    // One typed character, after the key-down handling. Returns true when it is consumed; may
    // replace the character.
    virtual bool KeyPress(char16_t& key);
    // Offers Enter or Escape to the window's default or cancel button; true when taken.
    virtual bool DialogKey(char16_t key);
    // The focus entered or left the edit (not a mere activation change of its window).
    virtual void DoEnter(Qt::FocusReason reason);
    virtual void DoExit();
    // The button's action: OnButtonClick, then close or open the drop-down.
    void RunButtonAction();
    bool ButtonEnabled() const { return !ReadOnly() || FAlwaysEnableButton; }
    bool CanTakeFocus() const;
    // The two-pixel sunken edge around the client area.
    void PaintBorder(QPainter& painter) const;
    // The text box is writable unless ReadOnly, not DirectInput or locked by the drop-down.
    void UpdateReadOnlyState();

    void paintEvent(QPaintEvent* event) override;
    void keyPressEvent(QKeyEvent* event) override;
    void inputMethodEvent(QInputMethodEvent* event) override;
    void mousePressEvent(QMouseEvent* event) override;
    void mouseReleaseEvent(QMouseEvent* event) override;
    void focusInEvent(QFocusEvent* event) override;
    void focusOutEvent(QFocusEvent* event) override;
    void resizeEvent(QResizeEvent* event) override;
    void changeEvent(QEvent* event) override;
    void contextMenuEvent(QContextMenuEvent* event) override;
    bool event(QEvent* event) override;
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    friend class TEditButton;

    void UpdateButtonGeometry();
    void UpdateButtonPicture();
    void UpdatePalette();
    void HandleCharacter(QKeyEvent* event, char16_t key);

    QWidget* FBtnControl;
    TEditButton* FButton;
    TPopupWindow* FPopup = nullptr;
    QMetaObject::Connection FPopupDestroyed;
    bool FPopupVisible = false;
    bool FFocused = false;
    bool FReadOnly = false;
    bool FDirectInput = true;
    bool FLocked = false; // the open drop-down made the text box read-only
    bool FAlwaysEnableButton = false;
    bool FAlwaysShowPopup = false;
    bool FAutoSelect = true;
    bool FButtonShown = true;
    int FButtonWidth = 21;
    int FSavedButtonWidth = 21;
    TImageKind FImageKind = ikCustom;
    int FImageIndex = -1;
    int FNumGlyphs = 1;
    QPixmap FGlyph;
    const TImageList* FImages = nullptr;
    TShortCut FClickKey = kAltDown;
    TPopupAlign FPopupAlign = epaRight;
    TColor FColor = clWindow;
    TColor FDisabledColor = clWindow;
    TColor FDisabledTextColor = clGrayText;
};
