#pragma once
// What the marker inputs need of the window's widgets, as small widget-neutral interfaces.
//
// The main window implements them over its real widgets (slider, numeric edit, caption panel,
// LED, labels, message boxes, its own caption); the tests implement them with models. Events
// are not part of these interfaces: the owner binds each widget's change event to the handler
// of TMarkerInputs (EditChange, SliderChange, ...). Change events must be raised synchronously,
// from inside the assignment that caused them, so that the slider-edit coupling can nest.

#include "ProfileTypes.h"

#include <string>

// A slider. Positions are whole steps; the slider's range is its own business.
class TSliderView {
public:
    virtual ~TSliderView() = default;
    virtual int Position() const = 0;
    // Stores the position limited to the slider's range and raises the slider's change event
    // only when the stored position differs from the previous one.
    virtual void SetPosition(int position) = 0;
};

// A numeric edit holding one number shown as text.
class TNumberEditView {
public:
    virtual ~TNumberEditView() = default;
    // The number the edit's text reads as at this moment; never fails (an unreadable or empty
    // text reads as 0).
    virtual long double Value() const = 0;
    // Shows the number in the edit's format and raises the edit's change event exactly when
    // the shown text changes.
    virtual void SetValue(long double value) = 0;
    // The edit's text, as shown while editing (UTF-16, the edit box's own encoding).
    virtual std::u16string Text() const = 0;
};

// The caption bar of an input panel.
class TCaptionView {
public:
    virtual ~TCaptionView() = default;
    virtual void SetCaptionColor(TColorValue color) = 0;
};

// A blinking lamp.
class TLedView {
public:
    virtual ~TLedView() = default;
    virtual void SetActive(bool active) = 0; // blinking on or off
    virtual void SetStatus(bool status) = 0; // true shows the lit colour
};

// Anything that shows one text: a label, the window's caption. UTF-8.
class TTextView {
public:
    virtual ~TTextView() = default;
    virtual void SetText(const std::string& text) = 0;
};

// The message boxes. Both are modal and return once the user has closed them. Texts are UTF-8;
// their lines are separated by a single carriage return.
class TMessageView {
public:
    virtual ~TMessageView() = default;
    // The information dialog: title "Informations", information icon, one "OK" button.
    virtual void ShowInformation(const std::string& text) = 0;
    // The system message box with a caller-given title and flags (64: information icon, OK).
    virtual void ShowMessageBox(const std::string& text, const std::string& title, int flags) = 0;
};

// Message box flags.
inline constexpr int kMbOk = 0x00;
inline constexpr int kMbIconInformation = 0x40;

// The caption buttons reported by an input panel's button click, by ordinal.
inline constexpr int kCaptionButtonClose = 0; // capClose
inline constexpr int kCaptionButtonHelp = 4;  // capHelp
