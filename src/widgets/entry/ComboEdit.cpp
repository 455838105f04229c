#include "ComboEdit.h"

#include "Application.h"
#include "FormatSettings.h"
#include "PainterLines.h"

#include <QApplication>
#include <QContextMenuEvent>
#include <QDialog>
#include <QGuiApplication>
#include <QMenu>
#include <QPainter>
#include <QPushButton>
#include <QScreen>
#include <QStyle>
#include <algorithm>

namespace {

// The sunken edge around the client area.
constexpr int kBorderPx = 2;
// The button host's left edge lies this far plus the button width before the edit's right edge.
constexpr int kButtonHostInsetPx = 3;
// Gap between the formatting rectangle and the button host.
constexpr int kTextButtonGapPx = 2;
// Margins Qt's line edit keeps inside its contents rectangle.
constexpr int kLineEditHorizontalMarginPx = 2;
constexpr int kLineEditVerticalMarginPx = 1;
// The ellipsis picture: three 2x2 dots with 2 pixels between them.
constexpr int kEllipsisDotPx = 2;

// The private event that carries a deferred close request.
const QEvent::Type kCloseRequestEvent = static_cast<QEvent::Type>(QEvent::registerEventType());

class TCloseRequestEvent : public QEvent
{
public:
    explicit TCloseRequestEvent(bool accept) : QEvent(kCloseRequestEvent), Accept(accept) {}
    const bool Accept;
};

constexpr char16_t kEnter = 13;
constexpr char16_t kEscape = 27;
constexpr char16_t kLineFeed = 10;
constexpr char16_t kTab = 9;
constexpr char16_t kBackspace = 8;

// The character a key press types, as the platform's character message would carry it; 0 for
// keys that type nothing or more than one UTF-16 unit.
char16_t KeyChar(const QKeyEvent* event)
{
    const Qt::KeyboardModifiers mods = event->modifiers();
    switch (event->key()) {
    case Qt::Key_Return:
    case Qt::Key_Enter: return (mods & Qt::ControlModifier) ? kLineFeed : kEnter;
    case Qt::Key_Escape: return kEscape;
    case Qt::Key_Tab:
    case Qt::Key_Backtab: return kTab;
    case Qt::Key_Backspace: return kBackspace;
    // An editing key, not a character, although X11 sends DEL (U+007F) as its text.
    case Qt::Key_Delete: return 0;
    default: break;
    }
    const QString text = event->text();
    if (text.size() != 1)
        return 0;
    const char16_t c = text[0].unicode();
    // Ctrl with a letter types its control code (AltGr, which is Ctrl+Alt, types the letter).
    if ((mods & Qt::ControlModifier) && !(mods & Qt::AltModifier)) {
        if ((c >= u'a' && c <= u'z') || (c >= u'A' && c <= u'Z'))
            return static_cast<char16_t>(c & 0x1F);
    }
    return c;
}

QPixmap DropDownArrow()
{
    QPixmap picture(7, 4);
    picture.fill(Qt::transparent);
    QPainter painter(&picture);
    painter.setPen(Qt::black);
    for (int row = 0; row < 4; ++row)
        painter.drawLine(row, row, 6 - row, row);
    return picture;
}

QPixmap EllipsisDots()
{
    QPixmap picture(5 * kEllipsisDotPx + 2, kEllipsisDotPx);
    picture.fill(Qt::white);
    QPainter painter(&picture);
    for (int dot = 0; dot < 3; ++dot)
        painter.fillRect(dot * (kEllipsisDotPx + 2), 0, kEllipsisDotPx, kEllipsisDotPx, Qt::black);
    painter.end();
    picture.setMask(picture.createMaskFromColor(Qt::white));
    return picture;
}

} // namespace

TShortCut ShortCutOfKey(int key, Qt::KeyboardModifiers modifiers)
{
    int vk = 0;
    if (key >= Qt::Key_A && key <= Qt::Key_Z)
        vk = 'A' + (key - Qt::Key_A);
    else if (key >= Qt::Key_0 && key <= Qt::Key_9)
        vk = '0' + (key - Qt::Key_0);
    else if (key >= Qt::Key_F1 && key <= Qt::Key_F24)
        vk = 0x70 + (key - Qt::Key_F1);
    else {
        switch (key) {
        case Qt::Key_Backspace: vk = 0x08; break;
        case Qt::Key_Tab: vk = 0x09; break;
        case Qt::Key_Return:
        case Qt::Key_Enter: vk = 0x0D; break;
        case Qt::Key_Escape: vk = 0x1B; break;
        case Qt::Key_Space: vk = 0x20; break;
        case Qt::Key_PageUp: vk = 0x21; break;
        case Qt::Key_PageDown: vk = 0x22; break;
        case Qt::Key_End: vk = 0x23; break;
        case Qt::Key_Home: vk = 0x24; break;
        case Qt::Key_Left: vk = 0x25; break;
        case Qt::Key_Up: vk = 0x26; break;
        case Qt::Key_Right: vk = 0x27; break;
        case Qt::Key_Down: vk = 0x28; break;
        case Qt::Key_Insert: vk = 0x2D; break;
        case Qt::Key_Delete: vk = 0x2E; break;
        default: return 0;
        }
    }
    TShortCut shortcut = static_cast<TShortCut>(vk);
    if (modifiers & Qt::ShiftModifier)
        shortcut |= scShift;
    if (modifiers & Qt::ControlModifier)
        shortcut |= scCtrl;
    if (modifiers & Qt::AltModifier)
        shortcut |= scAlt;
    return shortcut;
}

// --- TExCustomMaskEdit ---------------------------------------------------------------------

TExCustomMaskEdit::TExCustomMaskEdit(QWidget* parent)
    : QLineEdit(parent)
{
}

void TExCustomMaskEdit::ErrorBeep() const
{
    if (FBeepOnError)
        Application::Beep();
}

// --- values --------------------------------------------------------------------------------

std::u16string DropDownValueText(const DropDownValue& value, const NumberText::TFormatSettings& settings)
{
    if (const auto* text = std::get_if<std::u16string>(&value))
        return *text;
    if (const auto* number = std::get_if<double>(&value))
        return NumberText::GeneralRendering(*number, NumberText::kSignificantDigits, settings);
    return {};
}

bool ParseLocaleNumber(std::u16string_view text, const NumberText::TFormatSettings& settings, long double& value)
{
    std::size_t first = 0, last = text.size();
    while (first < last && text[first] == u' ')
        ++first;
    while (last > first && text[last - 1] == u' ')
        --last;
    std::u16string ungrouped(text.substr(first, last - first));
    const std::u16string& group = settings.ThousandSeparator;
    if (!group.empty() && group != settings.DecimalSeparator) {
        for (std::size_t at = ungrouped.find(group); at != std::u16string::npos; at = ungrouped.find(group, at))
            ungrouped.erase(at, group.size());
    }
    return NumberText::TryConvert(ungrouped, settings, value) || NumberText::TryConvert(text, settings, value);
}

QPoint DropDownOrigin(QPoint editTopLeft, QSize editSize, QSize dropSize, const QRect& work, TPopupAlign align)
{
    // Right and bottom edges lie just outside the work area, as the platform gives them.
    const int workLeft = work.left(), workRight = work.left() + work.width();
    const int workBottom = work.top() + work.height();
    const QPoint p = editTopLeft;

    int y = p.y() + editSize.height();
    if (y + dropSize.height() > workBottom)
        y = p.y() - dropSize.height();

    int x = 0;
    if (align == epaRight) {
        x = p.x() + editSize.width() - dropSize.width();
        if (x < workLeft)
            x = p.x();
    } else {
        x = p.x();
        if (x + dropSize.width() > workRight)
            x = p.x() + editSize.width() - dropSize.width();
    }
    if (x < workLeft)
        x = workLeft;
    else if (x + dropSize.width() > workRight)
        x = workRight - dropSize.width();
    return {x, y};
}

// --- TEditButton ---------------------------------------------------------------------------

TEditButton::TEditButton(TCustomComboEdit* edit, QWidget* host)
    : TImageSpeedButton(host)
    , FEdit(edit)
{
}

void TEditButton::SetDrawThemedDropDownBtn(bool on)
{
    FDrawThemedDropDownBtn = on;
    update();
}

void TEditButton::Click()
{
    if (FNoAction) {
        FNoAction = false;
        return;
    }
    TImageSpeedButton::Click();
}

void TEditButton::Paint(QPainter& painter)
{
    TImageSpeedButton::Paint(painter);
    if (!Pressed()) {
        // The classic look, flat or not: a face-coloured line and a highlight along the left edge.
        painter.setPen(ToQColor(clBtnFace));
        DrawAxisLine(painter, 0, 0, 0, height() - 1);
        painter.setPen(ToQColor(clBtnHighlight));
        DrawAxisLine(painter, 1, 1, 1, height() - 2);
    }
}

void TEditButton::mousePressEvent(QMouseEvent* event)
{
    if (event->button() != Qt::LeftButton || !FEdit) {
        TImageSpeedButton::mousePressEvent(event);
        return;
    }
    TImageSpeedButton::mousePressEvent(event);
    FNoAction = FEdit->PopupVisible();
    if (FNoAction)
        FEdit->CloseDropDown(FStandard);
    else if ((FEdit->focusPolicy() & Qt::TabFocus) && FEdit->CanTakeFocus() && !FEdit->hasFocus())
        FEdit->setFocus(Qt::MouseFocusReason);
}

void TEditButton::contextMenuEvent(QContextMenuEvent* event)
{
    event->accept();
}

// --- TPopupWindow --------------------------------------------------------------------------

TPopupWindow::TPopupWindow(TCustomComboEdit* editor)
    : QWidget(editor, Qt::Tool | Qt::FramelessWindowHint | Qt::WindowDoesNotAcceptFocus
                          | Qt::BypassWindowManagerHint)
    , FEditor(editor)
{
    setAttribute(Qt::WA_ShowWithoutActivating);
    setAttribute(Qt::WA_X11DoNotAcceptFocus);
    setFocusPolicy(Qt::NoFocus);
    hide();
}

void TPopupWindow::CloseUp(bool accept)
{
    Fire(FCloseUp, this, accept);
}

void TPopupWindow::ShowAt(QPoint origin)
{
    move(origin);
    show();
    raise();
    FShown = true;
}

void TPopupWindow::Hide()
{
    hide();
    FShown = false;
}

void TPopupWindow::KeyPress(char16_t)
{
    // No child receives the edit's keys here.
    (void)FActiveControl;
    (void)FIsFocusable;
}

void TPopupWindow::RepaintEditor()
{
    if (!FEditor)
        return;
    const int hostWidth = FEditor->ButtonHost()->isVisible() ? FEditor->ButtonHost()->width() : 0;
    FEditor->repaint(QRect(0, 0, FEditor->width() - hostWidth, FEditor->height() + 1));
}

void TPopupWindow::paintEvent(QPaintEvent*)
{
    QPainter painter(this);
    painter.fillRect(rect(), ToQColor(clBtnFace));
    painter.setPen(ToQColor(clWindowFrame));
    painter.drawRect(rect().adjusted(0, 0, -1, -1));
}

void TPopupWindow::mouseReleaseEvent(QMouseEvent* event)
{
    if (event->button() != Qt::LeftButton) {
        QWidget::mouseReleaseEvent(event);
        return;
    }
    CloseUp(ClientRect().contains(event->position().toPoint()));
}

// --- TCustomComboEdit ----------------------------------------------------------------------

TCustomComboEdit::TCustomComboEdit(QWidget* parent)
    : TExCustomMaskEdit(parent)
    , FBtnControl(new QWidget(this))
    , FButton(new TEditButton(this, FBtnControl))
{
    setFrame(false);
    setAcceptDrops(false);
    setAlignment(Qt::AlignLeft | Qt::AlignTop);
    FBtnControl->setGeometry(0, 0, 21, 17);
    FBtnControl->setCursor(Qt::ArrowCursor);
    FBtnControl->show();
    FButton->setGeometry(FBtnControl->rect());
    FButton->OnClick = [this](TObject*) {
        if (ButtonEnabled())
            RunButtonAction();
    };
    connect(this, &QLineEdit::textChanged, this, [this] { Change(); });
    resize(121, 21);
    UpdatePalette();
    UpdateButtonGeometry();
}

TCustomComboEdit::~TCustomComboEdit()
{
    if (FPopup) {
        FPopup->FCloseUp = nullptr;
        if (FPopupVisible)
            FPopup->Hide();
        // Freed here, while this is still an edit: the base destructor would free it later and
        // report its destruction to an object that is no longer one.
        disconnect(FPopupDestroyed);
        delete FPopup;
        FPopup = nullptr;
    }
    FPopupVisible = false;
    qApp->removeEventFilter(this);
    FButton->OnClick = nullptr;
    FButton->FEdit = nullptr;
}

void TCustomComboEdit::SetPopup(TPopupWindow* popup)
{
    disconnect(FPopupDestroyed);
    FPopup = popup;
    if (FPopup)
        FPopupDestroyed = connect(FPopup, &QObject::destroyed, this, [this] {
            FPopup = nullptr;
            FPopupVisible = false;
        });
}

void TCustomComboEdit::SetButtonWidth(int width)
{
    if (width < 2) {
        if (FButtonShown) {
            FSavedButtonWidth = FButtonWidth;
            FButtonShown = false;
        }
    } else {
        FButtonWidth = width;
        FSavedButtonWidth = width;
        FButtonShown = true;
    }
    UpdateButtonGeometry();
}

void TCustomComboEdit::SetShowButton(bool show)
{
    if (show == FButtonShown)
        return;
    SetButtonWidth(show ? FSavedButtonWidth : 0);
}

bool TCustomComboEdit::ButtonFlat() const
{
    return FButton->Flat();
}

void TCustomComboEdit::SetButtonFlat(bool flat)
{
    FButton->SetFlat(flat);
}

QString TCustomComboEdit::ButtonHint() const
{
    return FButton->toolTip();
}

void TCustomComboEdit::SetButtonHint(const QString& hint)
{
    FButton->setToolTip(hint);
}

void TCustomComboEdit::SetImageKind(TImageKind kind)
{
    FImageKind = kind;
    UpdateButtonPicture();
}

void TCustomComboEdit::SetImageIndex(int index)
{
    FImageIndex = index;
    UpdateButtonPicture();
}

void TCustomComboEdit::SetNumGlyphs(int count)
{
    FNumGlyphs = std::clamp(count, 1, 5);
    UpdateButtonPicture();
}

void TCustomComboEdit::SetGlyph(const QPixmap& glyph)
{
    FGlyph = glyph;
    UpdateButtonPicture();
}

void TCustomComboEdit::SetImages(const TImageList* images)
{
    FImages = images;
    UpdateButtonPicture();
}

void TCustomComboEdit::UpdateButtonPicture()
{
    FButton->SetImages(nullptr);
    FButton->SetImageIndex(-1);
    FButton->SetGlyph({});
    switch (FImageKind) {
    case ikCustom:
        if (FImages) {
            FButton->SetImages(FImages);
            FButton->SetImageIndex(FImageIndex);
        } else if (!FGlyph.isNull()) {
            // A glyph of several cells shows its first one.
            FButton->SetGlyph(FGlyph.copy(0, 0, FGlyph.width() / FNumGlyphs, FGlyph.height()));
        }
        break;
    case ikDefault: {
        const int index = DefaultImageIndex();
        if (index >= 0 && !DefaultImages().Image(index).isNull()) {
            FButton->SetImages(&DefaultImages());
            FButton->SetImageIndex(index);
            SetButtonWidth(std::max(DefaultImages().Size().width() + 6, ButtonWidth()));
        }
        break;
    }
    case ikDropDown:
        FButton->SetGlyph(DropDownArrow());
        SetButtonWidth(style()->pixelMetric(QStyle::PM_ScrollBarExtent, nullptr, this));
        break;
    case ikEllipsis: FButton->SetGlyph(EllipsisDots()); break;
    }
}

TImageList& TCustomComboEdit::DefaultImages()
{
    static TImageList images(QSize(14, 12));
    return images;
}

void TCustomComboEdit::SetDirectInput(bool on)
{
    FDirectInput = on;
    UpdateReadOnlyState();
}

void TCustomComboEdit::SetReadOnly(bool on)
{
    FReadOnly = on;
    UpdateReadOnlyState();
}

void TCustomComboEdit::UpdateReadOnlyState()
{
    setReadOnly(FReadOnly || !FDirectInput || FLocked);
}

void TCustomComboEdit::SetColor(TColor color)
{
    FColor = color;
    UpdatePalette();
    update();
}

void TCustomComboEdit::SetDisabledColor(TColor color)
{
    FDisabledColor = color;
    UpdatePalette();
    update();
}

void TCustomComboEdit::SetDisabledTextColor(TColor color)
{
    FDisabledTextColor = color;
    UpdatePalette();
    update();
}

void TCustomComboEdit::UpdatePalette()
{
    QPalette pal = palette();
    pal.setColor(QPalette::Active, QPalette::Base, ToQColor(FColor));
    pal.setColor(QPalette::Inactive, QPalette::Base, ToQColor(FColor));
    pal.setColor(QPalette::Disabled, QPalette::Base, ToQColor(FDisabledColor));
    // Disabled, the text is drawn in DisabledTextColor on DisabledColor.
    pal.setColor(QPalette::Disabled, QPalette::Text, ToQColor(FDisabledTextColor));
    setPalette(pal);
}

void TCustomComboEdit::SetText(const QString& text)
{
    setText(text);
}

QRect TCustomComboEdit::FormattingRect() const
{
    const int buttonWidth = FButtonShown ? FButtonWidth : 0;
    const int left = kBorderPx + 1, top = kBorderPx + 1;
    const int right = width() - (kButtonHostInsetPx + buttonWidth + kTextButtonGapPx);
    const int bottom = height() - kBorderPx;
    return QRect(left, top, std::max(0, right - left), std::max(0, bottom - top));
}

void TCustomComboEdit::UpdateButtonGeometry()
{
    const int buttonWidth = FButtonShown ? FButtonWidth : 0;
    FBtnControl->setGeometry(width() - buttonWidth - kButtonHostInsetPx, kBorderPx, buttonWidth,
                             std::max(0, height() - 2 * kBorderPx));
    FBtnControl->setVisible(buttonWidth > 0);
    FButton->setGeometry(FBtnControl->rect());

    // Qt's line edit lays its text out inside its margins less its own inner margins; these
    // margins make that rectangle the formatting rectangle, with the text at its top.
    const QRect r = FormattingRect();
    setTextMargins(r.left() - kLineEditHorizontalMarginPx, r.top() - kLineEditVerticalMarginPx,
                   width() - (r.left() + r.width()) - kLineEditHorizontalMarginPx,
                   height() - (r.top() + r.height()) - kLineEditVerticalMarginPx);
    setMinimumHeight(fontMetrics().height() + 2 * kBorderPx);
    update();
}

bool TCustomComboEdit::CanTakeFocus() const
{
    return isEnabled() && isVisible() && focusPolicy() != Qt::NoFocus && window()->isVisible();
}

void TCustomComboEdit::DoClick()
{
    if (ButtonEnabled())
        RunButtonAction();
}

void TCustomComboEdit::SelectAll()
{
    if (FDirectInput)
        selectAll();
}

void TCustomComboEdit::RunButtonAction()
{
    Fire(OnButtonClick, this);
    if (PopupVisible())
        CloseDropDown(true);
    else
        OpenDropDown(true);
}

void TCustomComboEdit::OpenDropDown(bool lockEdit)
{
    if ((ReadOnly() && !FAlwaysShowPopup) || PopupVisible())
        return;
    BeforeDropDown();
    if (!FPopup)
        return;

    const QPoint topLeft = mapToGlobal(QPoint(0, 0));
    QScreen* nearest = QGuiApplication::screenAt(mapToGlobal(rect().center()));
    if (!nearest)
        nearest = screen();
    const QRect work = nearest ? nearest->availableGeometry() : QRect();
    const QPoint origin = DropDownOrigin(topLeft, size(), FPopup->size(), work, FPopupAlign);

    LoadPopupValue(text().isEmpty() ? DropDownValue{} : DropDownValue{text().toStdU16String()});
    if (CanTakeFocus())
        setFocus(Qt::OtherFocusReason);
    ShowPopup(origin);
    FPopupVisible = true;
    qApp->installEventFilter(this);
    if (lockEdit) {
        FLocked = true;
        UpdateReadOnlyState();
    }
}

void TCustomComboEdit::CloseDropDown(bool accept)
{
    if (!PopupVisible())
        return;
    if (QWidget* grabber = QWidget::mouseGrabber())
        grabber->releaseMouse();
    FButton->CancelMode();

    const DropDownValue value = ReadPopupValue();
    HidePopup();
    qApp->removeEventFilter(this);

    try {
        // The focus comes back unless it has moved on to another control (which is what
        // closed the drop-down).
        const QWidget* focus = QApplication::focusWidget();
        const bool movedOn = focus && focus != this && focus != FPopup && !(FPopup && FPopup->isAncestorOf(focus));
        if (CanTakeFocus() && !movedOn)
            setFocus(Qt::OtherFocusReason);
    } catch (...) {
        // Failing to take the focus back does not keep the drop-down open.
    }
    FLocked = false;
    UpdateReadOnlyState();
    update();

    try {
        if (accept && AcceptPopupValue(value) && !ReadOnly()) {
            TakeDropDownValue(value);
            if (hasFocus())
                selectAll();
        } else {
            RestoreEditText();
        }
    } catch (...) {
        RestoreEditText();
        FPopupVisible = false;
        throw;
    }
    // Only now the drop-down counts as closed: the accepted value was put in while it was open.
    FPopupVisible = false;
}

void TCustomComboEdit::PostCloseRequest(bool accept)
{
    QCoreApplication::postEvent(this, new TCloseRequestEvent(accept));
}

void TCustomComboEdit::HidePopup()
{
    if (FPopup)
        FPopup->Hide();
    Fire(OnPopupHidden, this);
}

void TCustomComboEdit::ShowPopup(QPoint origin)
{
    FPopup->ShowAt(origin);
    Fire(OnPopupShown, this);
}

DropDownValue TCustomComboEdit::ReadPopupValue()
{
    if (FPopup)
        return FPopup->ReadDropDownValue();
    return std::u16string();
}

void TCustomComboEdit::LoadPopupValue(const DropDownValue& value)
{
    if (FPopup)
        FPopup->LoadDropDownValue(value);
}

void TCustomComboEdit::TakeDropDownValue(const DropDownValue& value)
{
    const QString shown = QString::fromStdU16String(DropDownValueText(value, Locale::FormatSettings()));
    if (text() != shown) {
        setText(shown);
        setModified(true);
        FPopupVisible = FPopup && FPopup->isVisible();
    }
    Fire(FOnPopupValueAccepted, this);
}

void TCustomComboEdit::ReportChange()
{
    Fire(OnChange, this);
}

void TCustomComboEdit::ReportPopupChange()
{
    Fire(FOnPopupChange, this);
}

void TCustomComboEdit::RestoreEditText()
{
    SelectAll();
}

void TCustomComboEdit::Change()
{
    if (PopupVisible())
        ReportPopupChange();
    else
        ReportChange();
}

bool TCustomComboEdit::DialogKey(char16_t key)
{
    QWidget* form = window();
    if (key == kEnter) {
        for (QPushButton* button : form->findChildren<QPushButton*>())
            if (button->isDefault() && button->isVisible() && button->isEnabled()) {
                button->click();
                return true;
            }
        return false;
    }
    if (key == kEscape) {
        if (auto* dialog = qobject_cast<QDialog*>(form)) {
            dialog->reject();
            return true;
        }
    }
    return false;
}

bool TCustomComboEdit::KeyPress(char16_t& key)
{
    if ((key == kEnter || key == kEscape || key == kLineFeed) && PopupVisible()) {
        CloseDropDown(key != kEscape);
        return true;
    }
    if ((key == kEnter || key == kEscape) && DialogKey(key))
        return true;
    // A single-line text never receives these.
    return key == kTab || key == kLineFeed;
}

void TCustomComboEdit::HandleCharacter(QKeyEvent* event, char16_t key)
{
    char16_t c = key;
    if (KeyPress(c)) {
        event->accept();
        return;
    }
    if (c != key) {
        QKeyEvent replaced(event->type(), event->key(), event->modifiers(), QString(QChar(c)),
                           event->isAutoRepeat(), static_cast<quint16>(event->count()));
        QLineEdit::keyPressEvent(&replaced);
    } else {
        QLineEdit::keyPressEvent(event);
    }
    // Enter and Escape that nothing took stop here.
    event->accept();
}

void TCustomComboEdit::keyPressEvent(QKeyEvent* event)
{
    const Qt::KeyboardModifiers mods = event->modifiers();
    const int key = event->key();
    if ((mods & Qt::ControlModifier)
        && (key == Qt::Key_Tab || key == Qt::Key_Backtab || key == Qt::Key_Return || key == Qt::Key_Enter)) {
        // Never for the text box; Ctrl+Enter still types a line feed.
        if (key == Qt::Key_Return || key == Qt::Key_Enter) {
            char16_t lineFeed = kLineFeed;
            KeyPress(lineFeed);
        }
        event->accept();
        return;
    }
    if (FClickKey != 0 && ShortCutOfKey(key, mods) == FClickKey && ButtonWidth() > 0) {
        if (ButtonEnabled())
            RunButtonAction();
        event->accept();
        return;
    }
    if (event->matches(QKeySequence::Paste)) {
        PasteFromClipboard();
        event->accept();
        return;
    }
    if (event->matches(QKeySequence::Cut)) {
        CutToClipboard();
        event->accept();
        return;
    }
    if (event->matches(QKeySequence::Copy)) {
        CopyToClipboard();
        event->accept();
        return;
    }
    if (event->matches(QKeySequence::Undo)) {
        UndoEdit();
        event->accept();
        return;
    }

    if (const char16_t c = KeyChar(event)) {
        HandleCharacter(event, c);
        return;
    }
    const QString text = event->text();
    if (text.size() > 1 && !(text.size() == 2 && text[0].isHighSurrogate())) {
        // Several characters at once go through the same road one by one.
        for (QChar ch : text) {
            QKeyEvent single(QEvent::KeyPress, 0, mods, QString(ch));
            HandleCharacter(&single, ch.unicode());
        }
        event->accept();
        return;
    }
    QLineEdit::keyPressEvent(event);
}

void TCustomComboEdit::inputMethodEvent(QInputMethodEvent* event)
{
    if (!event->commitString().isEmpty() && event->preeditString().isEmpty() && event->replacementLength() == 0) {
        // Committed text is typed text: it passes the same key handling.
        const QString committed = event->commitString();
        for (QChar ch : committed) {
            QKeyEvent single(QEvent::KeyPress, 0, Qt::NoModifier, QString(ch));
            keyPressEvent(&single);
        }
        event->accept();
        return;
    }
    QLineEdit::inputMethodEvent(event);
}

void TCustomComboEdit::mousePressEvent(QMouseEvent* event)
{
    if (event->button() == Qt::LeftButton) {
        if (!hasFocus())
            setFocus(Qt::MouseFocusReason);
        if (!hasFocus()) {
            event->accept();
            return;
        }
        if (PopupVisible())
            CloseDropDown(false);
    }
    QLineEdit::mousePressEvent(event);
}

void TCustomComboEdit::mouseReleaseEvent(QMouseEvent* event)
{
    if (event->button() == Qt::MiddleButton) {
        // The selection paste follows the same rules as any other paste.
        PasteFromClipboard(QClipboard::Selection);
        event->accept();
        return;
    }
    QLineEdit::mouseReleaseEvent(event);
}

void TCustomComboEdit::focusInEvent(QFocusEvent* event)
{
    QLineEdit::focusInEvent(event);
    // Getting the focus back with the window's activation is no entry; the first focus of a
    // window that is being activated is.
    const bool windowOnly = event->reason() == Qt::ActiveWindowFocusReason || event->reason() == Qt::PopupFocusReason;
    if (windowOnly && FFocused)
        return;
    FFocused = true;
    DoEnter(event->reason());
}

void TCustomComboEdit::focusOutEvent(QFocusEvent* event)
{
    QLineEdit::focusOutEvent(event);
    const bool windowOnly = event->reason() == Qt::ActiveWindowFocusReason || event->reason() == Qt::PopupFocusReason;
    if (PopupVisible()) {
        QWidget* now = QApplication::focusWidget();
        const bool stays = !windowOnly && now
                           && (now == this || now == FPopup || (FPopup && FPopup->isAncestorOf(now)));
        if (!stays)
            PostCloseRequest(false);
    }
    // A window that merely loses the activation keeps the edit as its focused control.
    if (windowOnly)
        return;
    FFocused = false;
    DoExit();
}

void TCustomComboEdit::DoEnter(Qt::FocusReason reason)
{
    if (reason != Qt::MouseFocusReason && FAutoSelect && FDirectInput)
        selectAll();
    Fire(OnEnter, this);
}

void TCustomComboEdit::DoExit()
{
    Fire(OnExit, this);
}

void TCustomComboEdit::resizeEvent(QResizeEvent* event)
{
    QLineEdit::resizeEvent(event);
    UpdateButtonGeometry();
}

void TCustomComboEdit::changeEvent(QEvent* event)
{
    QLineEdit::changeEvent(event);
    if (event->type() == QEvent::EnabledChange) {
        Fire(FOnEnabledChanged, this);
        update();
    } else if (event->type() == QEvent::FontChange) {
        UpdateButtonGeometry();
    }
}

void TCustomComboEdit::PaintBorder(QPainter& painter) const
{
    const int l = 0, t = 0, r = width() - 1, b = height() - 1;
    painter.setPen(ToQColor(clBtnShadow));
    DrawAxisLine(painter, l, t, r - 1, t);
    DrawAxisLine(painter, l, t, l, b - 1);
    painter.setPen(ToQColor(clBtnHighlight));
    DrawAxisLine(painter, l, b, r, b);
    DrawAxisLine(painter, r, t, r, b);
    painter.setPen(ToQColor(cl3DDkShadow));
    DrawAxisLine(painter, l + 1, t + 1, r - 2, t + 1);
    DrawAxisLine(painter, l + 1, t + 1, l + 1, b - 2);
    painter.setPen(ToQColor(cl3DLight));
    DrawAxisLine(painter, l + 1, b - 1, r - 1, b - 1);
    DrawAxisLine(painter, r - 1, t + 1, r - 1, b - 1);
}

void TCustomComboEdit::paintEvent(QPaintEvent* event)
{
    QLineEdit::paintEvent(event);
    QPainter painter(this);
    PaintBorder(painter);
}

void TCustomComboEdit::contextMenuEvent(QContextMenuEvent* event)
{
    const bool writable = !isReadOnly();
    const bool selected = hasSelectedText();
    QMenu menu(this);
    menu.addAction(tr("&Undo"), this, &TCustomComboEdit::UndoEdit)->setEnabled(writable && isUndoAvailable());
    menu.addSeparator();
    menu.addAction(tr("Cu&t"), this, &TCustomComboEdit::CutToClipboard)->setEnabled(writable && selected);
    menu.addAction(tr("&Copy"), this, &TCustomComboEdit::CopyToClipboard)->setEnabled(selected);
    menu.addAction(tr("&Paste"), this, [this] { PasteFromClipboard(); })->setEnabled(writable);
    menu.addAction(tr("Delete"), this, &TCustomComboEdit::ClearText)->setEnabled(writable && !text().isEmpty());
    menu.addSeparator();
    menu.addAction(tr("Select All"), this, &TCustomComboEdit::SelectAll)->setEnabled(!text().isEmpty());
    menu.exec(event->globalPos());
    event->accept();
}

void TCustomComboEdit::CutToClipboard()
{
    if (!(ClipboardCommands() & caCut) || !FDirectInput || isReadOnly())
        return;
    cut();
}

void TCustomComboEdit::CopyToClipboard()
{
    if (!(ClipboardCommands() & caCopy))
        return;
    copy();
}

void TCustomComboEdit::PasteFromClipboard(QClipboard::Mode mode)
{
    if (!(ClipboardCommands() & caPaste) || !FDirectInput || isReadOnly())
        return;
    const QClipboard* clipboard = QGuiApplication::clipboard();
    if (!clipboard || (mode == QClipboard::Selection && !clipboard->supportsSelection()))
        return;
    QString pasted = clipboard->text(mode);
    // A clipboard without text pastes nothing; otherwise a single-line edit takes the text up
    // to its first line break, in place of the selection.
    if (pasted.isEmpty())
        return;
    const auto lineBreak = std::find_if(pasted.cbegin(), pasted.cend(),
                                        [](QChar c) { return c == u'\r' || c == u'\n'; });
    pasted.truncate(lineBreak - pasted.cbegin());
    insert(pasted);
}

void TCustomComboEdit::ClearText()
{
    if (!(ClipboardCommands() & caClear) || isReadOnly())
        return;
    selectAll();
    del();
}

void TCustomComboEdit::UndoEdit()
{
    if (!(ClipboardCommands() & caUndo) || isReadOnly())
        return;
    undo();
}

bool TCustomComboEdit::event(QEvent* event)
{
    if (event->type() == kCloseRequestEvent) {
        CloseDropDown(static_cast<TCloseRequestEvent*>(event)->Accept);
        return true;
    }
    return QLineEdit::event(event);
}

bool TCustomComboEdit::eventFilter(QObject* watched, QEvent* event)
{
    const QEvent::Type type = event->type();
    if ((type == QEvent::MouseButtonPress || type == QEvent::MouseButtonDblClick) && PopupVisible()) {
        // A press anywhere else cancels the drop-down before that control handles it.
        if (auto* widget = qobject_cast<QWidget*>(watched)) {
            const bool ours = widget == this || isAncestorOf(widget) || widget == FPopup
                              || (FPopup && FPopup->isAncestorOf(widget));
            if (!ours)
                CloseDropDown(false);
        }
    }
    return QLineEdit::eventFilter(watched, event);
}
