#pragma once
// The main window's widgets seen through the marker inputs' interfaces: caption bars, lamps,
// labels, the window caption and the message boxes. (The slider and the numeric edit have their
// own adapters.)

#include "MarkerWidgets.h"

#include <QString>
#include <functional>

class QWidget;
class TCaptionPanel;
class TLED;

class TCaptionBarView : public TCaptionView
{
public:
    explicit TCaptionBarView(TCaptionPanel* panel) : FPanel(panel) {}
    void SetCaptionColor(TColorValue color) override;

private:
    TCaptionPanel* FPanel;
};

class TLampView : public TLedView
{
public:
    explicit TLampView(TLED* led) : FLed(led) {}
    void SetActive(bool active) override;
    void SetStatus(bool status) override;

private:
    TLED* FLed;
};

// Any text shown by a widget: the texts arrive in UTF-8 and are handed on as QString.
class TShownTextView : public TTextView
{
public:
    using TSetter = std::function<void(const QString&)>;
    explicit TShownTextView(TSetter setter) : FSetter(std::move(setter)) {}
    void SetText(const std::string& text) override;

private:
    TSetter FSetter;
};

// The message boxes of the program. Both are modal; their texts separate lines by a carriage
// return, which the boxes show as line breaks.
class TMessageBoxes : public TMessageView
{
public:
    explicit TMessageBoxes(QWidget* owner) : FOwner(owner) {}
    void ShowInformation(const std::string& text) override;
    void ShowMessageBox(const std::string& text, const std::string& title, int flags) override;

private:
    QWidget* FOwner;
};

// The title of the information dialog.
inline const QString kInformationTitle = QStringLiteral("Informations");

// The information dialog: title "Informations", information icon, one "OK" button, centred on the
// screen, modal to the application. Returns once it is closed.
void ShowInformationDialog(const QString& text);
// Lines separated by a single carriage return, as the box shows them.
QString MessageBoxText(const QString& text);
